#include "PrinterSetupDialog.h"

#include "FileDialog.h"
#include "ReportOutput.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QComboBox>
#include <QVBoxLayout>

namespace {

const QPageSize::PageSizeId kPapers[] = {QPageSize::A4,     QPageSize::Letter, QPageSize::Legal,
                                         QPageSize::A3,     QPageSize::A5,     QPageSize::B5,
                                         QPageSize::Executive};

} // namespace

QString PrinterSetupDialog::pdfChoice() { return QStringLiteral("Print to PDF file"); }

PrinterSetupDialog::PrinterSetupDialog(QPrinter* printer, QWidget* parent)
    : QDialog(parent), m_printer(printer) {
    setObjectName("PrinterSetupDialog");
    setWindowTitle(QStringLiteral("Print Setup"));

    auto* printerBox = new QGroupBox(QStringLiteral("Printer"));
    auto* printerForm = new QFormLayout(printerBox);
    Printer = new QComboBox;
    Printer->setObjectName("Printer");
    Printer->addItems(QPrinterInfo::availablePrinterNames());
    Printer->addItem(pdfChoice());
    auto* fileRow = new QHBoxLayout;
    FileName = new QLineEdit;
    FileName->setObjectName("FileName");
    auto* browse = new QPushButton(QStringLiteral("&Browse..."));
    browse->setObjectName("Browse");
    fileRow->addWidget(FileName, 1);
    fileRow->addWidget(browse);
    printerForm->addRow(QStringLiteral("&Name:"), Printer);
    auto* fileLabel = new QLabel(QStringLiteral("&File:"));
    fileLabel->setBuddy(FileName);
    printerForm->addRow(fileLabel, fileRow);

    auto* paperBox = new QGroupBox(QStringLiteral("Paper"));
    auto* paperForm = new QFormLayout(paperBox);
    Paper = new QComboBox;
    Paper->setObjectName("Paper");
    for (QPageSize::PageSizeId id : kPapers)
        Paper->addItem(QPageSize::name(id), int(id));
    paperForm->addRow(QStringLiteral("Si&ze:"), Paper);

    auto* orientationBox = new QGroupBox(QStringLiteral("Orientation"));
    auto* orientationRow = new QVBoxLayout(orientationBox);
    Portrait = new QRadioButton(QStringLiteral("P&ortrait"));
    Portrait->setObjectName("Portrait");
    Landscape = new QRadioButton(QStringLiteral("L&andscape"));
    Landscape->setObjectName("Landscape");
    orientationRow->addWidget(Portrait);
    orientationRow->addWidget(Landscape);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperBox, 1);
    lower->addWidget(orientationBox);
    auto* column = new QVBoxLayout(this);
    column->addWidget(printerBox);
    column->addLayout(lower);
    column->addWidget(buttons);

    // What the printer is set to now.
    const bool pdf = m_printer->outputFormat() == QPrinter::PdfFormat;
    const int at = pdf ? Printer->findText(pdfChoice()) : Printer->findText(m_printer->printerName());
    Printer->setCurrentIndex(at >= 0 ? at : 0);
    FileName->setText(m_printer->outputFileName());
    const int paper = Paper->findData(int(m_printer->pageLayout().pageSize().id()));
    Paper->setCurrentIndex(paper >= 0 ? paper : 0);
    (m_printer->pageLayout().orientation() == QPageLayout::Landscape ? Landscape : Portrait)->setChecked(true);
    printerChosen();

    connect(Printer, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::printerChosen);
    connect(FileName, &QLineEdit::textChanged, this, &PrinterSetupDialog::printerChosen);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = FileDialog::saveFileName(this, QStringLiteral("Print to File"), FileName->text(),
                                                         QStringLiteral("PDF files (*.pdf)"));
        if (!file.isEmpty())
            FileName->setText(file);
    });
}

void PrinterSetupDialog::printerChosen() {
    const bool pdf = Printer->currentText() == pdfChoice();
    FileName->setEnabled(pdf);
    findChild<QPushButton*>("Browse")->setEnabled(pdf);
    // A PDF file must be named before OK.
    if (m_ok)
        m_ok->setEnabled(!pdf || !FileName->text().trimmed().isEmpty());
}

void PrinterSetupDialog::accept() {
    if (Printer->currentText() == pdfChoice()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(ReportOutput::withPdfSuffix(FileName->text().trimmed()));
    } else {
        m_printer->setOutputFormat(QPrinter::NativeFormat);
        m_printer->setPrinterName(Printer->currentText());
    }
    m_printer->setPageSize(QPageSize(QPageSize::PageSizeId(Paper->currentData().toInt())));
    m_printer->setPageOrientation(Landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QDialog::accept();
}
