#include "edit/DModUnit.h"
#include "paint/LibReport.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/ReportPreview.h"
#include "support/PdfWords.h"
#include "support/TempData.h"

#include <QAction>
#include <QDir>
#include <QStatusBar>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The library report in its preview, opened over the main window as the library window does.
class LibraryPreview : public ::testing::Test {
protected:
    void SetUp() override {
        QString library;
        for (int i = 0; i < 100; ++i)
            library += TempData::material(QString("M%1").arg(i, 3, 10, QChar('0')), "Material", "Base", 100, 0, 0, 2);
        data.create(TempData::header("Alkyd", "W1"), {}, library);
        session = openSession(form, data.folder());
        ASSERT_NE(session, nullptr);
        report = std::make_unique<TFrmLibReport>(session->dmod->materials());
        preview = std::make_unique<ReportPreview>(report->Report1, report->prepare(), form.printer(),
                                                  "Raw Material Library", &form);
        preview->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(preview.get()));
    }
    void TearDown() override {
        preview.reset();
        report.reset();
        form.attach(nullptr);
        session.reset();
    }
    QString pageLabel() { return preview->findChild<QLabel*>("PageNumber")->text(); }
    QAction* action(const char* name) { return preview->findChild<QAction*>(name); }
    static int pagesOf(const QString& pdf) {
        const auto words = pdfWords(pdf);
        return words.empty() ? 0 : words.back().page;
    }

    TempData data;
    TForm1 form;
    std::unique_ptr<Session> session;
    std::unique_ptr<TFrmLibReport> report;
    std::unique_ptr<ReportPreview> preview;
};

} // namespace

TEST_F(LibraryPreview, PagesThroughTheReportByButtonAndKey) {
    EXPECT_EQ(preview->windowTitle(), "Print Preview");
    // 100 materials at 45 a page.
    ASSERT_EQ(preview->pageCount(), 3);
    EXPECT_EQ(pageLabel(), "Page 1 of 3");
    EXPECT_FALSE(action("FirstPage")->isEnabled());
    EXPECT_FALSE(action("PriorPage")->isEnabled());
    action("NextPage")->trigger();
    EXPECT_EQ(preview->currentPage(), 2);
    EXPECT_TRUE(action("PriorPage")->isEnabled());
    action("LastPage")->trigger();
    EXPECT_EQ(pageLabel(), "Page 3 of 3");
    EXPECT_FALSE(action("NextPage")->isEnabled());
    action("FirstPage")->trigger();
    EXPECT_EQ(preview->currentPage(), 1);
    // The keyboard: Page Down, End, Page Up, Home.
    QTest::keyClick(preview.get(), Qt::Key_PageDown);
    EXPECT_EQ(preview->currentPage(), 2);
    QTest::keyClick(preview.get(), Qt::Key_End);
    EXPECT_EQ(preview->currentPage(), 3);
    QTest::keyClick(preview.get(), Qt::Key_PageUp);
    EXPECT_EQ(preview->currentPage(), 2);
    QTest::keyClick(preview.get(), Qt::Key_Home);
    EXPECT_EQ(preview->currentPage(), 1);
}

TEST_F(LibraryPreview, ZoomsToTheWholePageTheWidthOrFullSize) {
    EXPECT_EQ(preview->Preview->zoomMode(), QPrintPreviewWidget::FitInView);
    action("ZoomFull")->trigger();
    EXPECT_EQ(preview->Preview->zoomMode(), QPrintPreviewWidget::CustomZoom);
    EXPECT_DOUBLE_EQ(preview->Preview->zoomFactor(), 1.0);
    action("ZoomWidth")->trigger();
    EXPECT_EQ(preview->Preview->zoomMode(), QPrintPreviewWidget::FitToWidth);
    action("ZoomFit")->trigger();
    EXPECT_EQ(preview->Preview->zoomMode(), QPrintPreviewWidget::FitInView);
}

TEST_F(LibraryPreview, PrintSendsEveryPage) {
    const QString file = data.file("library.pdf");
    form.printer()->setOutputFormat(QPrinter::PdfFormat);
    form.printer()->setOutputFileName(file);
    action("LastPage")->trigger();
    action("Print")->trigger();
    EXPECT_EQ(pagesOf(file), 3);
    EXPECT_TRUE(MessageBox::history().isEmpty());
    EXPECT_TRUE(preview->isVisible()) << "the preview stays open after printing";
}

TEST_F(LibraryPreview, SaveAsPdfWritesEveryPageIntoTheChosenFile) {
    const QString file = data.file("saved.pdf");
    FileDialog::setNextAnswer(file);
    action("SaveAsPdf")->trigger();
    EXPECT_TRUE(FileDialog::lastProposed().endsWith("/Raw Material Library.pdf"));
    EXPECT_EQ(pagesOf(file), 3);
    EXPECT_EQ(preview->Status->currentMessage(), "The report was saved as " + QDir::toNativeSeparators(file))
        << "the status area names the file written";
    // Cancelled: nothing written.
    QFile::remove(file);
    FileDialog::setNextAnswer(QString());
    action("SaveAsPdf")->trigger();
    EXPECT_FALSE(QFile::exists(file));
    // A name typed without its extension gets one.
    FileDialog::setNextAnswer(data.file("typed"));
    action("SaveAsPdf")->trigger();
    EXPECT_EQ(pagesOf(data.file("typed.pdf")), 3);
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(LibraryPreview, WithoutAPrinterPrintOffersAPdf) {
    form.printer()->setOutputFormat(QPrinter::NativeFormat);
    MessageBox::setNextAnswer(QMessageBox::No);
    action("Print")->trigger();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text,
              "No printer is installed. Do you want to save the report as a PDF file instead?");
}

TEST_F(LibraryPreview, CloseEndsThePreview) {
    action("ClosePreview")->trigger();
    EXPECT_FALSE(preview->isVisible());
}
