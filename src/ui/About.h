#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the product's picture, name and version on a black panel, the licence notice
// under it, and OK.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Licence;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;
};
