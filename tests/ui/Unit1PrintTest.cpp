#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/PrintJob.h"
#include "domain/ReactionTotals.h"
#include "support/MainWindowFixture.h"
#include "support/PdfWords.h"
#include "support/TempData.h"
#include "support/WorkedRecipe.h"

#include <QFile>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kLibrary = workedLibrary();

QString manyLines(int n) {
    QString lines;
    for (int i = 1; i <= n; ++i)
        lines += TempData::line("Alkyd", "W1", i, i % 2 ? "ANH" : "TRIOL", "148.12, 1, 2, NULL, NULL, NULL, NULL");
    return lines;
}

class Printing : public MainWindowFixture<> {
protected:
    void open(int lines = 3) {
        ASSERT_NO_FATAL_FAILURE(
            openWindow(TempData::header("Alkyd", "W1", 8, 50, 1000, "Long oil alkyd"),
                       manyLines(lines), kLibrary));
    }
    void SetUp() override {
    }
    // Points the shared printer at a PDF file, as Print Setup does.
    QString printToPdf() {
        const QString file = data.file("printed.pdf");
        form.printer()->setOutputFormat(QPrinter::PdfFormat);
        form.printer()->setOutputFileName(file);
        return file;
    }
    void clickPrint() { form.findChild<QToolButton*>("BtnPrint")->click(); }
    // Clicks Cancel in the progress window as soon as it shows the page count reaching `page`.
    void cancelAt(int page) {
        QTimer::singleShot(0, [this, page] { pollCancel(page); });
    }
    void pollCancel(int page) {
        auto* progress = form.findChild<PrintProgress*>("PrintProgress");
        if (progress && progress->isVisible() && progress->Progress->value() >= page) {
            EXPECT_EQ(progress->windowTitle(), "Printing progress");
            progress->Cancel->click();
            cancelled = true;
            return;
        }
        QTimer::singleShot(0, [this, page] { pollCancel(page); });
    }

    bool cancelled = false;
};

} // namespace

TEST_F(Printing, PrintPutsTheRecipeOnA4WhateverThePrinterHadAndLeavesItsSetUpAlone) {
    open();
    const QString file = printToPdf();
    form.printer()->setPageSize(QPageSize(QPageSize::Letter));
    form.printer()->setPageOrientation(QPageLayout::Landscape);
    clickPrint();

    const auto words = pdfWords(file);
    ASSERT_FALSE(words.empty());
    EXPECT_NE(findWord(words, "W1"), nullptr);
    EXPECT_NE(findWord(words, "Glycerol"), nullptr);
    EXPECT_NE(findWord(words, "Printout"), nullptr);
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 595")) << "A4 portrait";
    // The printer is set up as it was, and the progress window is gone.
    EXPECT_EQ(form.printer()->pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(form.printer()->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(form.findChild<PrintProgress*>("PrintProgress"), nullptr);
    EXPECT_TRUE(form.printer()->docName().isEmpty());
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(Printing, AHeaderValueStillBeingTypedPrintsWithoutBeingStored) {
    open();
    const QString file = printToPdf();
    auto* av = form.findChild<QLineEdit*>("EdDBAV");
    av->setFocus();
    av->selectAll();
    QTest::keyClicks(av, loc("12.5"));
    clickPrint();
    const auto words = pdfWords(file);
    EXPECT_NE(findWord(words, loc("12.5")), nullptr) << pageText(words, 1).toStdString();
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo"), "8.0") << "printing stores no header";
    EXPECT_TRUE(dm().HeaderChanged());
}

TEST_F(Printing, TheMenusPrintDoesTheSame) {
    open();
    const QString file = printToPdf();
    form.findChild<QAction*>("Print")->trigger();
    EXPECT_NE(findWord(pdfWords(file), "Glycerol"), nullptr);
}

TEST_F(Printing, ALineBeingEditedIsStoredBeforeItPrints) {
    open();
    const QString file = printToPdf();
    ASSERT_TRUE(dm().lines().locateItem(2));
    dm().lines().edit();
    LineCell(dm().lines(), "RMCode").setText("FA");
    clickPrint();
    EXPECT_NE(findWord(pdfWords(file), "Soya"), nullptr);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT RMCode FROM Recipes WHERE ItemNum = 2"), "FA");
}

TEST_F(Printing, CancelStopsTheJobAndSaysNothing) {
    open(127);
    const QString file = printToPdf();
    cancelAt(1);
    clickPrint();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(form.findChild<PrintProgress*>("PrintProgress"), nullptr);
    EXPECT_TRUE(MessageBox::history().isEmpty());
    // Nothing of the stopped job is written.
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(Printing, AFileThatCannotBeWrittenIsSaidSo) {
    open();
    form.printer()->setOutputFormat(QPrinter::PdfFormat);
    form.printer()->setOutputFileName(data.file("no such folder/printed.pdf"));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    clickPrint();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_TRUE(MessageBox::history()[0].text.startsWith("The report could not be written to"))
        << MessageBox::history()[0].text.toStdString();
    EXPECT_EQ(MessageBox::history()[0].icon, QMessageBox::Critical);
}

// The window tests see no printer: the CUPS server they are pointed at does not exist.
TEST_F(Printing, WithoutAPrinterTheReportIsOfferedAsAPdfNamedAfterTheRecipe) {
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    open();
    form.printer()->setOutputFormat(QPrinter::NativeFormat);
    const QString file = data.file("Alkyd W1.pdf");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    FileDialog::setNextAnswer(file);
    clickPrint();
    EXPECT_TRUE(FileDialog::lastProposed().endsWith("/Alkyd W1.pdf")) << FileDialog::lastProposed().toStdString();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text,
              "No printer is installed. Do you want to save the report as a PDF file instead?");
    EXPECT_NE(findWord(pdfWords(file), "Glycerol"), nullptr);
    // The shared printer is still the one set up.
    EXPECT_TRUE(form.printer()->outputFileName().isEmpty());

    // No: nothing is asked further and nothing is written.
    MessageBox::clearHistory();
    QFile::remove(file);
    MessageBox::setNextAnswer(QMessageBox::No);
    clickPrint();
    EXPECT_FALSE(QFile::exists(file));
}
