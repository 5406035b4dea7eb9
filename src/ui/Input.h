#pragma once

#include <QDialog>

class MainWindowLink;
class QComboBox;
class QLabel;
class QPushButton;
class TDMod;

// The recipe name dialog for New, Save As and Rename. Its logic is the data module's
// (TDMod::NameRecipe); the dialog shows the names and the main window's lists.
class TFrmInput : public QDialog {
    Q_OBJECT
public:
    TFrmInput(QWidget* parent, MainWindowLink& form);
    void setDataModule(TDMod* dmod) { m_dmod = dmod; }

    // Each sets the dialog up for its mode and shows it modally.
    void OpenForNew();
    void OpenForSaveAs();
    void OpenForRename();
    // Sets the dialog up for NameDialogMode without showing it (the opening operations use it).
    void prepare();

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
    MainWindowLink& m_form;
    TDMod* m_dmod = nullptr;
};
