#pragma once

#include "edit/DModUnit.h"

#include <QDialog>

class RecipeBox;
class QComboBox;
class QLabel;
class QPushButton;

// The recipe name dialog for New, Save As and Rename. Its logic is the data module's
// (TDMod::NameRecipe); the dialog shows the names and the main window's lists.
class TFrmInput : public QDialog {
    Q_OBJECT
public:
    // `typeBox` and `codeBox` are the main window's: the dialog offers their lists.
    TFrmInput(QWidget* parent, RecipeBox& typeBox, RecipeBox& codeBox);
    void setDataModule(TDMod* dmod) { m_dmod = dmod; }

    // Each sets the dialog up for its mode and shows it modally.
    void OpenForNew();
    void OpenForSaveAs();
    void OpenForRename();
    // Names a recipe from a file, proposing the file's name; true when it was stored.
    bool OpenForImport(const ImportedRecipe& imported);
    // Names a stored version (Save As from the history, a deleted recipe brought back) as Save As
    // names a recipe, proposing its type; true when it was stored.
    bool OpenForVersion(const ImportedRecipe& version);
    // Sets the dialog up for `command` without showing it (the opening operations use it).
    void prepare(NameCommand command);
    // The recipe current when the dialog became active: the one Save As copies.
    const RecipeName& source() const { return m_source; }

    void FormActivate();
    void OKBtnClick();
    void CancelBtnClick() {}

    QLabel* LblType;
    QComboBox* CBProductType;
    QLabel* LblCode;
    QComboBox* CBProductCode;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    RecipeBox& m_typeBox;
    RecipeBox& m_codeBox;
    TDMod* m_dmod = nullptr;
    NameCommand m_command = NameCommand::New;
    RecipeName m_source;
    const ImportedRecipe* m_imported = nullptr; // while an import is named
};
