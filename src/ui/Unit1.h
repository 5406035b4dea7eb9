#pragma once

#include "edit/Questions.h"
#include "ComboRecipeBox.h"
#include "ImageList.h"
#include "domain/LineColumns.h"
#include "domain/ReactionTotals.h"

#include <QHash>
#include <array>
#include <optional>
#include <utility>
#include <vector>
#include <QMainWindow>
#include <functional>
#include <memory>

class ValueEdit;
enum class HeaderPart;
class History;
class DBGrid;
class DBLookupList;
class QRadioButton;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QToolBar;
class QToolButton;
class StatusPanels;
class TDMod;
class TFrmHelp;
class TFrmInput;
class TFrmReactionCourse;
struct ImportedRecipe;

// The recipe editor, the application's main window.
class TForm1 : public QMainWindow, public Questions {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Connects the window to the data module once that exists (nullptr disconnects).
    void attach(TDMod* dmod);
    TDMod* dmod() const { return m_dmod; }

    // The recipe boxes, which name the recipe shown.
    RecipeBox& resinTypeBox() { return m_typeBox; }
    RecipeBox& resinCodeBox() { return m_codeBox; }
    // Writes the result panels and the grid's footer row from the recipe's figures.
    void ShowResults();
    // The amount columns the focused line's material takes become editable.
    void UpdateEditableColumns();
    void setStatusPanel(int index, const QString& text);
    // What the data module asks on a command's way.
    bool confirm(const QString& question) override;
    int showBox(Icon icon, const QString& title, const QString& text, int buttons,
                int defaultButton) override;
    // The material highlighted in the selection list; nullopt when it lists none.
    std::optional<Material> chosenMaterial() const;

    void ShowRMinStatusBar();
    // After a refused recipe command: the boxes show the recipe that is current again.
    void showCurrentRecipe();
    // The footer text of a grid column ("Totals" under the material names).
    QString footerText(LineColumn column) const { return m_footers[size_t(column)]; }
    QString statusPanel(int index) const;
    const ImageList& buttonList() const { return m_buttonList; }
    QPrinter* printer() const { return m_printer.get(); }
    TFrmInput* FrmInput() const { return m_input; }
    TFrmHelp* FrmHelp() const { return m_help; }
    // The reaction course window, once it has been opened.
    TFrmReactionCourse* FrmReactionCourse() const { return m_course.get(); }
    // The current recipe by type and code, as reports and windows are titled ("Alkyd W1").
    QString recipeTitle() const;

    // Header.
    QComboBox* CBResinType = nullptr;
    QComboBox* CBResinCode = nullptr;
    ValueEdit* EdDBAV = nullptr;
    ValueEdit* EdDBSolids = nullptr;
    ValueEdit* EdDBDescription = nullptr;
    ValueEdit* EdDBBatchSize = nullptr;
    QPushButton* BtnMenu = nullptr;
    QFrame* PnlCalc = nullptr;
    QLabel* LblGelSafety = nullptr; // the gel warning in words
    QFrame* PnlSelection = nullptr;
    QWidget* GridArea = nullptr; // the ingredient grid with its button groups
    DBGrid* DBGrid1 = nullptr;   // objectName "DBGrid"
    DBLookupList* LkUpRM = nullptr;
    QRadioButton *RadioButton2 = nullptr, *RadioButton3 = nullptr, *RadioButton4 = nullptr,
                 *RadioButton5 = nullptr, *RadioButton6 = nullptr, *RadioButton7 = nullptr;
    QPushButton *BtnAddBlank = nullptr, *BtnInsertBlank = nullptr, *BtnAddIngredient = nullptr,
                *BtnInsertIngredient = nullptr, *BtnOverWriteIngredient = nullptr,
                *BtnDeleteIngredient = nullptr;

    // Toolbar and menu.
    StatusPanels* StatusBar1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton *BtnNewRecipe = nullptr, *BtnSave = nullptr, *BtnSaveAs = nullptr,
                *BtnRename = nullptr, *BtnDeleteRecipe = nullptr, *BtnPrint = nullptr,
                *BtnAutoCalc = nullptr, *BtnCalculate = nullptr, *BtnCalculator = nullptr,
                *BtnLibrary = nullptr, *BtnExit = nullptr;
    QAction *New = nullptr, *Open1 = nullptr, *Save = nullptr, *SaveAs = nullptr,
            *Print = nullptr, *PrintSetup = nullptr, *Exit = nullptr, *Library1 = nullptr,
            *AutoCalc1 = nullptr, *SelectionList1 = nullptr, *StayOnTop = nullptr,
            *About1 = nullptr, *Help2 = nullptr, *ReactionCourse1 = nullptr, *Undo1 = nullptr,
            *Redo1 = nullptr, *DesignFromTargets1 = nullptr, *AdjustMassToTarget1 = nullptr,
            *CopyLines1 = nullptr, *CopyAllLines1 = nullptr, *PasteLines1 = nullptr, *Export1 = nullptr,
            *RecipeHistory1 = nullptr, *CompareRecipes1 = nullptr, *DeletedRecipes1 = nullptr;
    // The session's stored actions, to take back and do again; none while detached.
    History* history() const { return m_history.get(); }

public slots:
    void CBResinTypeChange();
    void CBResinTypeEnter();
    void CBResinCodeChange();
    void BtnNewRecipeClick();
    void BtnSaveClick();
    void BtnSaveAsClick();
    void BtnRenameClick();
    void BtnDeleteRecipeClick();
    void BtnPrintClick();
    void BtnAutoCalcClick();
    void BtnCalculateClick();
    void BtnCalculatorClick();
    void BtnLibraryClick();
    void BtnExitClick();
    void AutoCalc1Click();
    void BtnMenuClick();
    void SelectionList1Click();
    void StayOnTopClick();
    void PrintSetupClick();
    void About1Click();
    void Help2Click();
    void ReactionCourse1Click();
    void DesignFromTargets1Click();
    // The current recipe's stored versions; the current recipe beside any other; the recipes
    // deleted, to bring one back.
    void RecipeHistory1Click();
    void CompareRecipes1Click();
    void DeletedRecipes1Click();
    void AdjustMassToTarget1Click();
    void CopyLines1Click();
    void Export1Click();
    void Open1Click();
    // Imports the file at `path` as File > Import.. does once the file is chosen: a recipe
    // exchange file, a library CSV or lines of a code and a mass.
    void importFile(const QString& path);
    void CopyAllLines1Click();
    void PasteLines1Click();
    void Undo1Click();
    void Redo1Click();
    // Grid and selection list.
    void DBGridColEnter();
    bool DBGridKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void LkUpRMClick();
    void LkUpRMDblClick();
    void BtnAddBlankClick();
    void BtnInsertBlankClick();
    void BtnAddIngredientClick();
    void BtnInsertIngredientClick();
    void btnOverwriteIngredientClick();
    void BtnDeleteIngredientClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The header edits and the part of the header each shows.
    std::vector<std::pair<ValueEdit*, HeaderPart>> headerEdits() const;
    void bindHeader(TDMod* dmod);
    void buildToolBar();
    void buildMenu();
    QWidget* buildHeaderRow1();
    QWidget* buildHeaderRow2();
    QWidget* buildCalcArea();
    QWidget* buildResultsArea();
    void buildStatusBar();
    void buildGridArea();
    void attachGrid();
    void detachGrid();
    void buildSelectionPanel();
    void filterLibrary(std::optional<MaterialType> type);
    // A line command; done, the cursor goes to `thenAt` on the focused line.
    void runLineCommand(const std::function<void()>& operation, std::optional<LineColumn> thenAt = std::nullopt);
    // Writes what is typed into an open cell of the grid before a command; false when refused.
    bool commitGrid();
    // Stores what is typed and pending in the header and the grid, as Save does; false when
    // refused.
    bool storePending();
    // Writes what is typed in the header boxes into the header; false when refused.
    bool takeTyping();
    // The recipe as the window shows it, for a command that reads it (print, design, export): the
    // header boxes' typing joins the header, and the line being edited is stored.
    bool takeShownRecipe();
    // The focused box or grid cell while it holds typing not yet taken from it, else none.
    QLineEdit* typingBox() const;
    // The Edit menu names what Undo and Redo would do; opened, it names the typing in a box.
    void showHistory();
    void showEditMenu();
    // Runs one user action on the tables, after what is typed into an open cell, and shows what
    // went wrong; false when it failed.
    bool act(const std::function<void()>& action);
    // Opens the design dialog over the recipe as the window shows it, with every line free or
    // (`focusedOnly`) the focused line alone, and writes the design the chemist applies.
    void designFromTargets(bool focusedOnly);
    // Runs a stored action from a window of the main window's; false when it failed.
    bool actFrom(QWidget* window, const std::function<void()>& action);
    // Names a stored version through the recipe name dialog; true when it was stored.
    bool saveVersionAs(const ImportedRecipe& version);
    // The lines at those places onto the clipboard, as a spreadsheet takes them.
    void copyLines(const std::vector<int>& rows);
    // The library's code for a typed one, or none when no material has it.
    std::optional<QString> knownCode(const QString& typed) const;
    // File > Import.. of each kind of file, read whole from `path`.
    void importExchange(const QString& path, const QByteArray& bytes);
    void importLibrary(const QString& path, const QByteArray& bytes);
    void importLines(const QString& path, const QByteArray& bytes);

    QLabel* valuePanel(QWidget* parent, const char* name, int x, int y);
    QLabel* caption(QWidget* parent, const QString& text, int x, int y, int width);
    void applyAutoCalc(bool on);
    void setSelectionVisible(bool visible);
    void setPanel(const char* name, const QString& text);
    void showGelSafety(const TReactionTotals& totals);

    TDMod* m_dmod = nullptr;
    std::unique_ptr<History> m_history;
    ComboRecipeBox m_typeBox;
    ComboRecipeBox m_codeBox;
    ImageList m_buttonList;
    std::unique_ptr<QPrinter> m_printer;
    QHash<QString, QLabel*> m_panels;
    std::array<QString, LineColumnCount> m_footers; // the footer row's texts
    bool m_centred = false;
    bool m_entered = false; // the type box has had its first focus
    TFrmInput* m_input = nullptr; // the recipe name dialog, made once
    TFrmHelp* m_help = nullptr;   // the help viewer, made once
    // Made when first opened; a window of its own, so that it can go behind the main window.
    std::unique_ptr<TFrmReactionCourse> m_course;
    int m_gelLevel = 0;           // the warning PnlAVAtGel is painted with
    // The recipe and figures the panels show: with AutoCalc off, those of the last Calculate.
    QString m_shownRecipe;
    TReactionTotals m_shownTotals;
};
