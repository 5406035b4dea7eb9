#include "ui/Help.h"
#include "ui/Unit1.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

// The help file is looked up in the working directory: each test works in a folder of its own.
class HelpViewer : public ::testing::Test {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        form.show();
    }
    void TearDown() override { QDir::setCurrent(previous); }
    void write(const QByteArray& rtf) {
        QFile f(dir.filePath("Readme.RTF"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(rtf);
    }
    void help() { form.findChild<QAction*>("Help2")->trigger(); }
    QString shown() { return form.FrmHelp()->RTFHelp->toPlainText(); }

    QString previous;
    QTemporaryDir dir;
    TForm1 form;
};

} // namespace

TEST_F(HelpViewer, ShowsTheFileAfreshAtEveryShowingWithoutBlocking) {
    write("{\\rtf1 {\\b Getting started}\\par Choose a recipe.}");
    help(); // returns at once: the viewer does not block
    TFrmHelp* viewer = form.FrmHelp();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->windowTitle(), "Help File");
    EXPECT_EQ(shown(), "Getting started\nChoose a recipe.");
    // Typed text stays while shown; showing again only brings the viewer forward.
    viewer->RTFHelp->moveCursor(QTextCursor::End);
    QTest::keyClicks(viewer->RTFHelp, " Typed.");
    help();
    EXPECT_TRUE(shown().endsWith("Typed."));
    // Closed and shown again: the file is read again, and a replaced file shows.
    viewer->close();
    write("{\\rtf1 New text}");
    help();
    EXPECT_EQ(shown(), "New text");
    QFile file(dir.filePath("Readme.RTF"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "{\\rtf1 New text}") << "nothing is saved";
}

TEST_F(HelpViewer, AMissingFileIsReportedAndTheViewerStillShows) {
    write("Plain words");
    help();
    EXPECT_EQ(shown(), "Plain words") << "a file that is not rich text shows as text";
    form.FrmHelp()->close();
    QFile::remove(dir.filePath("Readme.RTF"));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    help();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text, "Cannot open file Readme.RTF");
    EXPECT_TRUE(form.FrmHelp()->isVisible());
    EXPECT_EQ(shown(), "Plain words") << "the text it had";
}

// The help file the program ships explains the design dialog with a worked example; its figures
// are checked against the dialog by the design tests.
TEST_F(HelpViewer, TheShippedFileExplainsDesigningFromTargets) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(KALVORA_SOURCE_DIR "/resources/Readme.RTF"), dir.filePath("Readme.RTF")));
    help();
    const QString text = shown();
    EXPECT_TRUE(text.contains("\nDesigning a recipe from targets\n"));
    EXPECT_TRUE(text.contains("583.741 soya bean oil, 167.578 pentaerythritol and 248.682 phthalic anhydride"));
    EXPECT_TRUE(text.contains("pentaerythritol for an excess OH of 10.0 % is 118.816"));
    // The exchange with spreadsheets, with the names the menus and the files use.
    EXPECT_TRUE(text.contains("\nExchanging recipes with spreadsheets and colleagues\n"));
    for (const char* words : {"File > Export...", "File > Import..", "RMCode, RMCommonName, RMChemClass, RMType",
                              "Ctrl+C, Ctrl+V"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words;
}
