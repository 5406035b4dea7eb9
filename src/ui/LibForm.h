#pragma once

#include "domain/MaterialType.h"

#include <QDialog>
#include <optional>
#include <vector>

class ImageList;
class MaterialEditor;
class MaterialRecordList;
class QComboBox;
class MaterialTypeButtons;
class QPrinter;
class QRadioButton;
class QScrollBar;
class QToolButton;
class TDMod;
class ValueEdit;
enum class MaterialPart;

// The raw-material library window: one material at a time in a form panel, the materials (of
// one type, or all) in a list beside it, and the commands that add, edit, delete, cancel, save
// and print. It edits the library through the data module's material editor, which outlives it.
class TFormLib : public QDialog {
    Q_OBJECT
public:
    // `buttonList` gives the toolbar its pictures; `printer` is the main window's.
    TFormLib(TDMod& dm, const ImageList& buttonList, QPrinter* printer, QWidget* parent = nullptr);
    ~TFormLib() override;

    QToolButton *ToolButton3 = nullptr, *ToolButton1 = nullptr, *ToolButton5 = nullptr,
                *ToolButton7 = nullptr, *BtnSave = nullptr, *BtnPrint = nullptr, *BtnClose = nullptr;
    ValueEdit *EdDBRMCode = nullptr, *EdDBRMCommonName = nullptr, *EdDBRMChemClass = nullptr,
           *EdDBRMMWt = nullptr, *EdDBRMPrice = nullptr, *EdDBRMFa = nullptr, *EdDBRMFan = nullptr,
           *EdDBRMFb = nullptr;
    QComboBox* EdDBRMType = nullptr;
    QScrollBar* LibScroll = nullptr;
    MaterialTypeButtons* RawMaterialType = nullptr;
    QRadioButton *RBOil = nullptr, *RBFattyAcid = nullptr, *RBAcid = nullptr, *RBBase = nullptr,
                 *RBAll = nullptr, *RBAmphoteric = nullptr;
    MaterialRecordList* LibList = nullptr;

    void ToolButton3Click(); // Add
    void ToolButton1Click(); // Edit
    void ToolButton5Click(); // Delete
    void ToolButton7Click(); // Cancel
    void BtnSaveClick();
    void BtnPrintClick();
    void BtnCloseClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes as the close box does: with the question, the refresh and the re-total.
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildToolBar(const ImageList& buttonList);
    QWidget* buildFormPanel();
    QWidget* buildSelection();
    bool act(const std::function<void()>& action);
    void chooseType(std::optional<MaterialType> type);
    // Writes what is typed in the edits into the pending record.
    bool commitEdits();
    void followView();
    // Shows the material's type in the drop-down list.
    void showType();
    ValueEdit* edit(MaterialPart part);

    TDMod& m_dm;
    MaterialEditor& m_editor;
    QPrinter* m_printer;
    std::vector<std::pair<MaterialPart, ValueEdit*>> m_edits;
    bool m_scrolling = false;
};
