// The installed program's start, taken from its installed folder as a fresh user takes it: the
// starter tables found in the user's folder, the help beside the program, and a recipe file
// named on the command line. Run by InstalledProgram.sh from bin/ of an installed tree.
#include "app/Launch.h"
#include "edit/DModUnit.h"
#include "exchange/Export.h"
#include "ui/Help.h"
#include "ui/Input.h"
#include "ui/MessageBox.h"
#include "ui/StatusPanels.h"
#include "ui/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString installedShare() { return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../share/kalvora"); }

std::string shownName(const TForm1& form) {
    return (form.CBResinType->currentText() + "/" + form.CBResinCode->currentText()).toStdString();
}

// The recipe name dialog, once open, kept as the file names the recipe.
void keepNameWhenAsked(bool& asked, int tries = 100) {
    QTimer::singleShot(10, [&asked, tries] {
        auto* d = qobject_cast<TFrmInput*>(QApplication::activeModalWidget());
        if (!d) {
            if (tries > 0)
                keepNameWhenAsked(asked, tries - 1);
            return;
        }
        asked = true;
        QApplication::setActiveWindow(d);
        d->CBProductType->setFocus();
        QTest::keyClick(d->CBProductType, Qt::Key_Return);
        QTest::keyClick(d->CBProductCode, Qt::Key_Return);
        QTest::keyClick(d->OKBtn, Qt::Key_Return);
    });
}

} // namespace

TEST(InstalledProgram, AFreshUserMeetsTheStarterRecipeAndItsHelp) {
    ASSERT_TRUE(QFile::exists(installedShare() + "/Readme.RTF")) << "run from bin/ of an installed tree";
    const QString user = QDir::homePath() + "/.local/share/Kalvora/Data";
    ASSERT_FALSE(QFile::exists(user)) << "a fresh home";
    ASSERT_FALSE(QFile::exists(QDir::current().filePath("Data"))) << "started away from any Data folder";

    Launch launch;
    ASSERT_TRUE(launch.start({"kalvora"}));
    TForm1& form = launch.program().form();
    EXPECT_EQ(shownName(form), "Alkyd/LO-SOY65");
    EXPECT_EQ(form.StatusBar1->note(), "Kalvora put the starter tables in " + user);
    EXPECT_TRUE(QFile::exists(user + "/RMLib.ADT"));

    form.findChild<QAction*>("Help2")->trigger();
    EXPECT_TRUE(form.FrmHelp()->isVisible());
    EXPECT_TRUE(form.FrmHelp()->RTFHelp->toPlainText().contains("Where your data lives"));
    EXPECT_TRUE(MessageBox::history().isEmpty()) << MessageBox::history().constFirst().text.toStdString();
}

TEST(InstalledProgram, ImportsTheRecipeFileNamedOnTheCommandLine) {
    QTemporaryDir lab;
    for (const QString& table : QDir(installedShare() + "/Data").entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(installedShare() + "/Data/" + table, lab.filePath(table)));
    const QString path = lab.filePath("trial.kalvora-recipe");
    {
        // The starter recipe as trial 14, written as another machine would write it.
        Launch launch;
        ASSERT_TRUE(launch.start({"kalvora", "--data", lab.path()}));
        TDMod& dm = *launch.program().form().dmod();
        Recipe trial = dm.currentRecipe();
        trial.header.code = "TRIAL-14";
        ASSERT_EQ(Export::writeWhole(path, Export::recipeExchange(
                                               trial, Export::materialsUsed(trial, dm.materials().inListOrder()))),
                  "");
    }
    bool asked = false;
    keepNameWhenAsked(asked);
    Launch launch;
    ASSERT_TRUE(launch.start({"kalvora", "--data", lab.path(), path}));
    EXPECT_TRUE(asked);
    EXPECT_EQ(shownName(launch.program().form()), "Alkyd/TRIAL-14");
    // The window's first focus, after the name was asked, keeps the imported recipe shown.
    QApplication::setActiveWindow(&launch.program().form());
    QApplication::processEvents();
    EXPECT_EQ(shownName(launch.program().form()), "Alkyd/TRIAL-14");
    EXPECT_TRUE(launch.program().form().StatusBar1->note().contains("Imported Alkyd, TRIAL-14"));
    EXPECT_TRUE(MessageBox::history().isEmpty()) << MessageBox::history().constFirst().text.toStdString();
}
