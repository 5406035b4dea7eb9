#include "ReportOutput.h"

#include "../app/Title.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "PrintJob.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace ReportOutput {

QString proposedFile(const QString& title, const QString& suffix) {
    QString name = title.trimmed() + QLatin1Char('.') + suffix;
    name.replace(QRegularExpression(QStringLiteral(R"([\\/:*?"<>|])")), QStringLiteral("_"));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(name);
}

namespace {

void run(QWidget* parent, QPrinter& printer, const Report::Definition& definition,
         const std::vector<Report::Page>& pages, const QString& title) {
    QString error;
    if (printReport(parent, printer, definition, pages, title, &error) == PrintResult::Failed)
        MessageBox::commandError(parent, error);
}

} // namespace

QString withPdfSuffix(const QString& file) {
    return QFileInfo(file).suffix().isEmpty() ? file + QStringLiteral(".pdf") : file;
}

bool printsNowhere(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat ? QPrinterInfo::availablePrinterNames().isEmpty()
                                                            : printer.outputFileName().isEmpty();
}

void saveAsPdf(QWidget* parent, const Report::Definition& definition, const std::vector<Report::Page>& pages,
               const QString& title) {
    const QString file = FileDialog::saveFileName(parent, QStringLiteral("Save Report as PDF"), proposedFile(title, QStringLiteral("pdf")),
                                                  QStringLiteral("PDF files (*.pdf)"));
    if (file.isEmpty())
        return;
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(withPdfSuffix(file));
    run(parent, pdf, definition, pages, title);
}

void print(QWidget* parent, QPrinter& printer, const Report::Definition& definition,
           const std::vector<Report::Page>& pages, const QString& title) {
    if (printsNowhere(printer)) {
        if (MessageBox::show(parent, QMessageBox::Question, QString::fromUtf8(ApplicationTitle),
                             QStringLiteral("No printer is installed. Do you want to save the report as a PDF file instead?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes)
            saveAsPdf(parent, definition, pages, title);
        return;
    }
    run(parent, printer, definition, pages, title);
}

} // namespace ReportOutput
