#include "edit/DModUnit.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/MessageBox.h"
#include "ui/PrintJob.h"
#include "domain/ReactionTotals.h"
#include "support/CupsMain.h"
#include "support/CupsServer.h"
#include "support/MainWindowFixture.h"
#include "support/PdfWords.h"
#include "support/TempData.h"
#include "support/WorkedRecipe.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kLibrary = workedLibrary();
const QString kLines = workedLines();

class RealQueue : public MainWindowFixture<> {
protected:
    void SetUp() override {
        cups = testCupsServer();
        if (!cups) {
            if (cupsInstalled())
                FAIL() << "the test's CUPS scheduler did not start: " << cupsProblem().toStdString();
            GTEST_SKIP() << cupsProblem().toStdString();
        }
        // The scheduler serves every test of this run: count from what it did before.
        jobsBefore = cups->waitForJobs();
        QFile::remove(cups->outputFile());
    }
    // Jobs completed since the test began, once the queue is idle.
    int newJobs() const { return cups->waitForJobs() - jobsBefore; }
    void open(const QString& lines) {
        ASSERT_NO_FATAL_FAILURE(openWindow(
            TempData::header("Alkyd", "W1", 8, 50, 1000, "Long oil alkyd"), lines, kLibrary));
    }
    void clickPrint() { form.findChild<QToolButton*>("BtnPrint")->click(); }

    CupsServer* cups = nullptr;
    int jobsBefore = 0;
};

} // namespace

TEST_F(RealQueue, PrintSendsTheRecipeToThePrinterAsOneJob) {
    EXPECT_EQ(QPrinterInfo::availablePrinterNames(), QStringList({"kalvora-refusing", "kalvora-test"}));
    open(kLines);
    // The shared printer starts on the machine's default printer.
    EXPECT_EQ(form.printer()->outputFormat(), QPrinter::NativeFormat);
    EXPECT_EQ(form.printer()->printerName(), "kalvora-test");
    dm().CalcBatch();
    clickPrint();
    EXPECT_TRUE(MessageBox::history().isEmpty());
    ASSERT_EQ(newJobs(), 1);

    const auto words = pdfWords(cups->outputFile());
    ASSERT_FALSE(words.empty()) << "the queue wrote no readable PDF";
    for (const char* figure : {"529.419", "1070.21", "494.689", "1.033", "90.830", "2901", "1335"})
        EXPECT_NE(findWord(words, loc(figure)), nullptr) << figure;
    EXPECT_NE(findWord(words, "Glycerol"), nullptr);
    QFile pdf(cups->outputFile());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().contains("/MediaBox [0 0 595")) << "A4 portrait";
}

TEST_F(RealQueue, CancelSendsNoJob) {
    QString lines;
    for (int i = 1; i <= 127; ++i)
        lines += TempData::line("Alkyd", "W1", i, "ANH", "148.12, 1, 2, NULL, NULL, NULL, NULL");
    open(lines);
    bool cancelled = false;
    std::function<void()> poll = [&] {
        auto* progress = form.findChild<PrintProgress*>("PrintProgress");
        if (progress && progress->isVisible()) {
            progress->Cancel->click();
            cancelled = true;
        } else {
            QTimer::singleShot(0, poll);
        }
    };
    QTimer::singleShot(0, poll);
    clickPrint();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(MessageBox::history().isEmpty());
    EXPECT_EQ(newJobs(), 0);
    EXPECT_FALSE(QFile::exists(cups->outputFile()));
}

TEST_F(RealQueue, AQueueThatRefusesTheJobIsSaidSo) {
    open(kLines);
    form.printer()->setPrinterName("kalvora-refusing");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    clickPrint();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_TRUE(MessageBox::history()[0].text.startsWith("The report could not be sent to the printer kalvora-refusing: "))
        << MessageBox::history()[0].text.toStdString();
}
