#include "ReportOutput.h"

#include "app/Title.h"
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

// The PDF file the pages went into, if they did.
QString run(QWidget* parent, QPrinter& printer, const Report::Definition& definition,
            const std::vector<Report::Page>& pages, const QString& title) {
    QString error;
    const PrintResult result = printReport(parent, printer, definition, pages, title, &error);
    if (result == PrintResult::Failed)
        MessageBox::commandError(parent, error);
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    return result == PrintResult::Printed && toFile ? printer.outputFileName() : QString();
}

} // namespace

QString withPdfSuffix(const QString& file) {
    return QFileInfo(file).suffix().isEmpty() ? file + QStringLiteral(".pdf") : file;
}

bool printsNowhere(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat ? QPrinterInfo::availablePrinterNames().isEmpty()
                                                            : printer.outputFileName().isEmpty();
}

QString writtenNote(const QString& file) {
    return QStringLiteral("The report was saved as %1").arg(QDir::toNativeSeparators(file));
}

QString saveAsPdf(QWidget* parent, const Report::Definition& definition, const std::vector<Report::Page>& pages,
                  const QString& title) {
    const QString file = FileDialog::saveFileName(parent, QStringLiteral("Save Report as PDF"), proposedFile(title, QStringLiteral("pdf")),
                                                  QStringLiteral("PDF files (*.pdf)"));
    if (file.isEmpty())
        return QString();
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(withPdfSuffix(file));
    return run(parent, pdf, definition, pages, title);
}

QString print(QWidget* parent, QPrinter& printer, const Report::Definition& definition,
              const std::vector<Report::Page>& pages, const QString& title) {
    if (printsNowhere(printer)) {
        if (MessageBox::show(parent, QMessageBox::Question, QString::fromUtf8(ApplicationTitle),
                             QStringLiteral("No printer is installed. Do you want to save the report as a PDF file instead?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes)
            return saveAsPdf(parent, definition, pages, title);
        return QString();
    }
    return run(parent, printer, definition, pages, title);
}

} // namespace ReportOutput
