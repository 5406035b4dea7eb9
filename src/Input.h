#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class TDMod;
class TForm1;

// The recipe name dialog for New, Save As and Rename.
class TFrmInput : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInput(TForm1* form);

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
    // Shows a box raised from the dialog; the dialog is active again when it closes.
    int box(int icon, const QString& title, const QString& text, int buttons, int defaultButton);

    TForm1* m_form;
};
