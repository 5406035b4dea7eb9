// Recipes and the library written for spreadsheets and other machines: what each file holds, read
// back as a reader of that format would, and files written whole or not at all.
#include "exchange/Csv.h"
#include "exchange/Export.h"
#include "exchange/Workbook.h"
#include "domain/Figures.h"
#include "support/Materials.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

Recipe recipe() {
    Recipe r = newRecipe("Alkyd", "EX-1");
    r.header.description = "Short oil, \"quick\" dry, PE/PA";
    r.header.av = 8;
    Line l;
    l.item = 1;
    l.code = "PA";
    l.mass = 220;
    l.moles = 220 / 148.12;
    l.ea = 2 * 220 / 148.12;
    l.charge = 0.1 + 0.2; // a figure whose shortest text has all 17 digits
    r.lines.push_back(l);
    Line blank;
    blank.item = 2;
    r.lines.push_back(blank);
    return r;
}

const MaterialList& library() {
    static const MaterialList list({material("PA", MaterialType::Acid, 148.12, 0, 1, 0, 1.1, "Phthalic Anhydride")});
    return list;
}

TEST(Csv, FieldsAreQuotedAsRfc4180Says) {
    EXPECT_EQ(Csv::field("plain"), "plain");
    EXPECT_EQ(Csv::field("a,b"), "\"a,b\"");
    EXPECT_EQ(Csv::field("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(Csv::field("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(Csv::row({"a", "", "b,c"}), "a,,\"b,c\"\r\n");
    EXPECT_TRUE(Csv::file("x").startsWith("\xEF\xBB\xBF")) << "UTF-8 with its byte-order mark";
}

TEST(Export, ARecipeCsvHoldsItsHeaderLinesAndFiguresInFull) {
    TReactionTotals t;
    t.TotalMass = 220;
    t.TotalEa = 2.9705;
    t.TotalMoles = 1.4852;
    const QByteArray bytes = Export::recipeCsv(recipe(), library(), t);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    const QStringList rows = text.split("\r\n");
    EXPECT_EQ(rows[0], "Resin Type,Alkyd");
    EXPECT_EQ(rows[2], "Description,\"Short oil, \"\"quick\"\" dry, PE/PA\"");
    EXPECT_EQ(rows[3], "Acid Value,8");
    EXPECT_EQ(rows[8], "Item,Code,Material,Mass,Moles,Ea,Eb,Charge,Percent,Cost");
    EXPECT_EQ(rows[9], "1,PA,Phthalic Anhydride,220,1.4852822036186875,2.970564407237375,,0.30000000000000004,,");
    EXPECT_EQ(rows[10], "2,,,,,,,,,");
    EXPECT_EQ(rows[12], "Figure,Name,Value");
    EXPECT_EQ(rows[13], "Paton's Constant,KValue," + QString::number(1.4852 / 2.9705, 'g', QLocale::FloatingPointShortest));
    EXPECT_EQ(rows.size(), 13 + int(figures().size()) + 1);
}

TEST(Export, TheLibraryCsvHoldsEveryPartAsStored) {
    StoredMaterial m;
    m.code = "XYL";
    m.name = "Xylene, mixed";
    m.type = "Solvent"; // a word no type has is written as stored
    m.mwt = 106.17;
    m.price = 100000; // plain, not 1e+05
    m.fb = 0.00001;   // an exponent where a plain figure would be long
    const QByteArray text = Export::libraryCsv({m});
    EXPECT_EQ(text, "\xEF\xBB\xBF" "RMCode,RMCommonName,RMChemClass,RMType,RMMWt,RMFa,RMFan,RMFb,RMPrice\r\n"
                    "XYL,\"Xylene, mixed\",,Solvent,106.17,,,1e-05,100000\r\n");
}

TEST(Export, TheExchangeFileHoldsTheRecipeAndTheMaterialsItUses) {
    StoredMaterial pa;
    pa.code = "PA";
    pa.name = "Phthalic Anhydride";
    pa.type = "Acid";
    pa.mwt = 148.12;
    pa.fan = 1;
    const QJsonObject root = QJsonDocument::fromJson(Export::recipeExchange(recipe(), {pa})).object();
    EXPECT_EQ(root["format"].toString(), "Kalvora recipe");
    EXPECT_EQ(root["version"].toInt(), Export::ExchangeVersion);
    EXPECT_EQ(root["header"]["code"].toString(), "EX-1");
    EXPECT_EQ(root["header"]["acidValue"].toDouble(), 8);
    const QJsonArray lines = root["lines"].toArray();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0]["moles"].toDouble(), 220 / 148.12) << "to the last bit";
    EXPECT_EQ(lines[0]["charge"].toDouble(), 0.1 + 0.2);
    EXPECT_TRUE(lines[0]["eb"].isNull());
    EXPECT_TRUE(lines[1]["code"].toString().isEmpty());
    const QJsonArray materials = root["materials"].toArray();
    ASSERT_EQ(materials.size(), 1);
    EXPECT_EQ(materials[0]["fan"].toDouble(), 1);
    EXPECT_TRUE(materials[0]["fb"].isNull());
}

// A file is written whole or not at all: what was there stays until the new one is complete, and
// a file that cannot be written says why.
TEST(Export, AFileIsWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath("recipe.csv");
    EXPECT_EQ(Export::writeWhole(path, "first"), "");
    EXPECT_EQ(Export::writeWhole(path, "second"), "");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"recipe.csv"}) << "no temporary file is left";
    const QString refused = Export::writeWhole(dir.filePath("gone/recipe.csv"), "third");
    EXPECT_TRUE(refused.startsWith("Cannot write recipe.csv: ")) << refused.toStdString();
}

} // namespace

namespace {

QByteArray unzipped(const QString& zip, const QString& member) {
    QProcess p;
    p.start("unzip", {"-p", zip, member});
    p.waitForFinished(10000);
    return p.readAllStandardOutput();
}

// The workbook read back as a reader of the format reads it: its sheets, its cells as numbers,
// and the program's formats on them.
TEST(Export, TheWorkbookHoldsNumbersAsNumbersInTheProgramsFormats) {
    QTemporaryDir dir;
    const QString path = dir.filePath("EX-1.xlsx");
    ASSERT_TRUE(Export::writeWhole(path, "an older file").isEmpty());
    TReactionTotals t;
    t.TotalMass = 220;
    t.TotalEa = 2.9705;
    t.TotalMoles = 1.4852;
    ASSERT_EQ(Export::recipeXlsx(path, recipe(), library(), t), "");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"EX-1.xlsx"}) << "no part left";
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadOther) << "readable as the file it replaced";
    const QByteArray book = unzipped(path, "xl/workbook.xml");
    ASSERT_FALSE(book.isEmpty()) << "unzip reads the workbook";
    EXPECT_TRUE(book.contains("name=\"Recipe\"") && book.contains("name=\"Figures\"")) << book.constData();
    const QByteArray recipeSheet = unzipped(path, "xl/worksheets/sheet1.xml");
    // Row 10 holds the first line under the header and the headings: its mass a number with the
    // Mass column's format, its moles to the 16 digits the library writes every number with.
    EXPECT_TRUE(recipeSheet.contains("<c r=\"D10\" s=\"")) << recipeSheet.constData();
    EXPECT_TRUE(recipeSheet.contains("<v>220</v>"));
    EXPECT_TRUE(recipeSheet.contains("<v>1.485282203618687</v>")) << recipeSheet.constData();
    EXPECT_TRUE(recipeSheet.contains("<c r=\"B2\" s=\"0\" t=\"s\">") || recipeSheet.contains("<c r=\"B2\" t=\"s\">"))
        << "the code as text";
    const QByteArray styles = unzipped(path, "xl/styles.xml");
    for (const char* f : {"0.000", "0.0000", "0.00"})
        EXPECT_TRUE(styles.contains(QByteArray("formatCode=\"") + f + "\"")) << f;
    const QByteArray figuresSheet = unzipped(path, "xl/worksheets/sheet2.xml");
    EXPECT_TRUE(figuresSheet.contains("<c r=\"C2\" s=\"")) << "Paton's Constant, formatted";
}

TEST(Export, AWorkbookThatCannotBeWrittenLeavesTheFileThere) {
    QTemporaryDir dir;
    const QString refused = Export::recipeXlsx(dir.filePath("gone/EX-1.xlsx"), recipe(), library(), {});
    EXPECT_TRUE(refused.startsWith("Cannot write EX-1.xlsx: ")) << refused.toStdString();
    const QStringList used = [] {
        StoredMaterial a, b, c;
        a.code = "GLY";
        b.code = "PA";
        b.id = 7;
        c.code = "PA"; // a second of a code, as an older library may hold: stored first
        c.id = 3;
        QStringList names;
        for (const StoredMaterial& m : Export::materialsUsed(recipe(), {a, b, c}))
            names << m.code + QString::number(m.id);
        return names;
    }();
    EXPECT_EQ(used, QStringList{"PA3"}) << "the materials the lines use, each once, as the lines find them";
}

} // namespace
