#pragma once

#include "domain/MaterialType.h"

#include <QDialog>
#include <optional>
#include <vector>

class DBComboBox;
class DBEdit;
class DBRecordList;
class ImageList;
class MaterialTypeButtons;
class QPrinter;
class QRadioButton;
class QScrollBar;
class QToolButton;
class TDMod;

// The raw-material library window: one material at a time in a form panel, the materials (of
// one type, or all) in a list beside it, and the commands that add, edit, delete, cancel, save
// and print. It edits RMLib through the data module's LibTbl, which outlives it.
class TFormLib : public QDialog {
    Q_OBJECT
public:
    // `buttonList` gives the toolbar its pictures; `printer` is the main window's.
    TFormLib(TDMod& dm, const ImageList& buttonList, QPrinter* printer, QWidget* parent = nullptr);
    ~TFormLib() override;

    QToolButton *ToolButton3 = nullptr, *ToolButton1 = nullptr, *ToolButton5 = nullptr,
                *ToolButton7 = nullptr, *BtnSave = nullptr, *BtnPrint = nullptr, *BtnClose = nullptr;
    DBEdit *EdDBRMCode = nullptr, *EdDBRMCommonName = nullptr, *EdDBRMChemClass = nullptr,
           *EdDBRMMWt = nullptr, *EdDBRMPrice = nullptr, *EdDBRMFa = nullptr, *EdDBRMFan = nullptr,
           *EdDBRMFb = nullptr;
    DBComboBox* EdDBRMType = nullptr;
    QScrollBar* LibScroll = nullptr;
    MaterialTypeButtons* RawMaterialType = nullptr;
    QRadioButton *RBOil = nullptr, *RBFattyAcid = nullptr, *RBAcid = nullptr, *RBBase = nullptr,
                 *RBAll = nullptr, *RBAmphoteric = nullptr;
    DBRecordList* LibList = nullptr;

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

    TDMod& m_dm;
    QPrinter* m_printer;
    std::vector<DBEdit*> m_edits;
    bool m_scrolling = false;
};
