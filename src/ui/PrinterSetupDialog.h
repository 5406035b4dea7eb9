#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

// The printer set-up: which printer (or a PDF file), the paper and the orientation that later
// Print commands use. It never prints; Cancel changes nothing.
class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(QPrinter* printer, QWidget* parent = nullptr);

    // The choice "Print to PDF file" in the printer list.
    static QString pdfChoice();

    QComboBox* Printer;
    QLineEdit* FileName;
    QComboBox* Paper;
    QRadioButton* Portrait;
    QRadioButton* Landscape;

    void accept() override;

private:
    void printerChosen();

    QPrinter* m_printer;
    QPushButton* m_ok = nullptr;
};
