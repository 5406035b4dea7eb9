#include "PrintJob.h"

#include "Placement.h"

#include "PrintQueue.h"
#include "paint/ReportPainter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

PrintProgress::PrintProgress(int pages, QWidget* parent) : QDialog(parent) {
    setObjectName("PrintProgress");
    setWindowTitle(QStringLiteral("Printing progress"));
    setWindowModality(Qt::ApplicationModal);
    m_text = new QLabel;
    m_text->setObjectName("Pages");
    Progress = new QProgressBar;
    Progress->setObjectName("Progress");
    Progress->setRange(0, pages);
    Progress->setValue(0);
    Progress->setMinimumWidth(260);
    Cancel = new QPushButton(QStringLiteral("Cancel"));
    Cancel->setObjectName("Cancel");
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(Cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrintProgress::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_text);
    column->setSizeConstraint(QLayout::SetFixedSize);
    m_pages = pages;
    column->addWidget(Progress);
    column->addWidget(buttons);
}

void PrintProgress::pageDone(int done) {
    Progress->setValue(done);
    m_text->setText(QStringLiteral("Printing page %1 of %2").arg(qMin(done + 1, m_pages)).arg(m_pages));
    // The job runs on this thread: let the bar paint and a click on Cancel arrive.
    QApplication::processEvents();
}

void PrintProgress::sending(const QString& printer) {
    m_text->setText(QStringLiteral("Sending the report to %1").arg(printer));
    Cancel->setEnabled(false);
    QApplication::processEvents();
}

void PrintProgress::reject() {
    if (Cancel->isEnabled())
        m_cancelled = true;
}

PrintResult printReport(QWidget* parent, QPrinter& printer, const Report::Definition& definition,
                        const std::vector<Report::Page>& pages, const QString& title, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return PrintResult::Failed;
    };
    // The document is composed whole before anything leaves the program: a file appears complete
    // or is left as it was, a printer gets one job or none.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const QString file = QDir::toNativeSeparators(printer.outputFileName());
    std::unique_ptr<QFileDevice> out;
    if (toFile)
        out = std::make_unique<QSaveFile>(printer.outputFileName());
    else
        out = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("kalvora-XXXXXX.pdf")));
    if (!out->open(QIODevice::WriteOnly)) {
        return fail(toFile ? QStringLiteral("The report could not be written to \"%1\": %2").arg(file, out->errorString())
                           : QStringLiteral("The report could not be prepared for printing: %1").arg(out->errorString()));
    }
    PrintProgress progress(int(pages.size()), parent);
    stayAboveOpener(&progress);
    progress.show();
    progress.pageDone(0);
    bool composed = false;
    {
        QPdfWriter pdf(out.get());
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Kalvora"));
        composed = !progress.cancelled() &&
                   Report::print(pdf, definition, pages, [&](int page) {
                       progress.pageDone(page);
                       return !progress.cancelled();
                   });
    }
    if (progress.cancelled()) {
        if (auto* save = qobject_cast<QSaveFile*>(out.get()))
            save->cancelWriting();
        return PrintResult::Cancelled;
    }
    if (toFile) {
        auto* save = static_cast<QSaveFile*>(out.get());
        if (!composed)
            return fail(QStringLiteral("The report could not be written to \"%1\".").arg(file));
        if (!save->commit())
            return fail(QStringLiteral("The report could not be written to \"%1\": %2").arg(file, save->errorString()));
        return PrintResult::Printed;
    }
    if (!composed)
        return fail(QStringLiteral("The report could not be prepared for printing."));
    if (!out->flush())
        return fail(QStringLiteral("The report could not be prepared for printing: %1").arg(out->errorString()));
    // Handing the job over cannot be cancelled: the window says so while it waits.
    progress.sending(printer.printerName());
    QString why;
    if (PrintQueue::submit(printer.printerName(), out->fileName(), title, &why) == 0)
        return fail(QStringLiteral("The report could not be sent to the printer %1: %2").arg(printer.printerName(), why));
    return PrintResult::Printed;
}
