// File > Export... in the main window: the recipe shown, or the library, written in the format
// the chemist chooses, under both locales with the same decimal point.
#include "edit/DModUnit.h"
#include "ui/FileDialog.h"
#include "ui/StatusPanels.h"
#include "ui/Unit1.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Exporting : public MainWindowFixture<> {
protected:
    void SetUp() override {
        // Alkyd LO-SOY65 is current: soya bean oil 650, pentaerythritol 130, phthalic anhydride 220.
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
    }
    QByteArray exported(const QString& name, const QString& filter) {
        const QString path = dir.filePath(name);
        FileDialog::setNextAnswer(path, filter);
        form.Export1->trigger();
        EXPECT_EQ(FileDialog::lastProposed(), "LO-SOY65");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return f.readAll();
    }
    QTemporaryDir dir;
};

TEST_F(Exporting, TheRecipeGoesOutAsCsvOrAsAnExchangeFileAndTheLibraryAsCsv) {
    EXPECT_EQ(form.Export1->text(), "&Export...");
    const QStringList csv =
        QString::fromUtf8(exported("LO-SOY65.csv", "Recipe as CSV (*.csv)").mid(3)).split("\r\n");
    EXPECT_EQ(csv[1], "Batch Code,LO-SOY65");
    EXPECT_EQ(csv[3], "Acid Value,10") << "a decimal point under every locale";
    EXPECT_TRUE(csv[9].startsWith("1,SOYOIL,Soya Bean Oil,650,0.7437070938215103,")) << csv[9].toStdString();
    EXPECT_TRUE(form.StatusBar1->note().contains("LO-SOY65.csv")) << form.StatusBar1->note().toStdString();

    const QJsonObject exchange =
        QJsonDocument::fromJson(exported("LO-SOY65.kalvora-recipe", "Recipe exchange file (*.kalvora-recipe)")).object();
    EXPECT_EQ(exchange["header"]["code"].toString(), "LO-SOY65");
    EXPECT_EQ(exchange["lines"].toArray().size(), 3);
    QStringList codes;
    for (const QJsonValue& m : exchange["materials"].toArray())
        codes << m["code"].toString();
    codes.sort();
    EXPECT_EQ(codes, (QStringList{"PA", "PE", "SOYOIL"})) << "the materials the lines use, each once";

    // A workbook is a zip file of its sheets; a name typed with its extension is one, whatever
    // filter stood chosen.
    EXPECT_TRUE(exported("LO-SOY65.xlsx", "Recipe as workbook (*.xlsx)").startsWith("PK"));
    EXPECT_TRUE(exported("typed.xlsx", "Recipe as CSV (*.csv)").startsWith("PK"));

    const QStringList library = QString::fromUtf8(exported("library.csv", "Library as CSV (*.csv)")).split("\r\n");
    EXPECT_EQ(library.size() - 2, dm().materials().size()) << "a heading, every material, and the last line end";
}

} // namespace
