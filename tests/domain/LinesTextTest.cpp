// Lines to and from a spreadsheet through the clipboard: what a copy holds, and what a paste of
// codes and masses makes of text as spreadsheets put it there.
#include "domain/LinesText.h"
#include "support/Materials.h"
#include "support/TempData.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const MaterialList& library() {
    static const MaterialList list({material("GLY", MaterialType::Base, 92.09, 0, 0, 3, 1.0, "Glycerol"),
                                    material("PA", MaterialType::Acid, 148.12, 0, 1, 0, 1.1, "Phthalic Anhydride")});
    return list;
}

std::optional<QString> spelled(const QString& typed) {
    for (const char* code : {"GLY", "PA"})
        if (typed.compare(QLatin1String(code), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(code);
    return std::nullopt;
}

std::string rows(const LinesText::Paste& p) {
    std::string out;
    for (const LinesText::Pasted& r : p.rows)
        out += std::to_string(r.row) + ":" + r.code.toStdString() + "=" + QString::number(r.mass, 'g', 17).toStdString() + " ";
    return out;
}

TEST(LinesText, ACopyHoldsEveryColumnInFullUnderAHeading) {
    Line l;
    l.item = 2;
    l.code = "GLY";
    l.mass = 12.5;
    l.moles = 12.5 / 92.09;
    l.eb = 3 * 12.5 / 92.09;
    Line blank;
    blank.item = 3;
    const QString text = LinesText::copied({l, blank}, library());
    const QStringList lines = text.split("\r\n");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Item\tCode\tMaterial\tMass\tMoles\tEa\tEb\tCharge\tPercent\tCost");
    EXPECT_EQ(lines[1], loc("2\tGLY\tGlycerol\t12.5\t0.135736779237702\t\t0.407210337713107\t\t\t"));
    EXPECT_EQ(lines[2], "3\t\t\t\t\t\t\t\t\t");
    EXPECT_EQ(lines[3], "");
}

// As LibreOffice Calc puts a range on the clipboard (tabs, CRLF, the locale's decimal separator,
// a heading row), and as files and other programs write it (semicolons, commas, quotes).
TEST(LinesText, APasteReadsCodesAndMassesAsSpreadsheetsWriteThem) {
    EXPECT_EQ(rows(LinesText::parse(loc("Code\tMass\r\ngly\t12.5\r\nPA\t30\r\n"), spelled)), "2:GLY=12.5 3:PA=30 ");
    EXPECT_EQ(rows(LinesText::parse(loc("GLY;12.5\nPA;30"), spelled)), "1:GLY=12.5 2:PA=30 ");
    EXPECT_EQ(rows(LinesText::parse("GLY,12\r\n\r\n\"PA\",\"30\"\r\n", spelled)), "1:GLY=12 3:PA=30 ");
    // A copy of the program's own lines: the heading says where code and mass stand.
    EXPECT_EQ(rows(LinesText::parse(loc("Item\tCode\tMaterial\tMass\tMoles\r\n1\tPA\tPhthalic Anhydride\t30.25\t0.2\r\n"),
                                    spelled)),
              "2:PA=30.25 ");
    // A cell in quotes may hold the separator.
    EXPECT_EQ(rows(LinesText::parse("\"Code, as typed\",Mass\nGLY,7\n", spelled)), "2:GLY=7 ");
    EXPECT_TRUE(LinesText::parse("\r\n\r\n", spelled).rows.empty());
}

TEST(LinesText, EveryBadRowIsListedByNumberAndReason) {
    const LinesText::Paste p =
        LinesText::parse(loc("Code\tMass\nGLY\t10\nXYZ\t5\nPA\t1.2.3\n\t4\nPA\n"), spelled);
    EXPECT_EQ(p.errors.join(" | ").toStdString(),
              "Row 3: there is no material with the code 'XYZ' in the library. | "
              "Row 4: the mass '" + loc("1.2.3").toStdString() + "' is not a number. | "
              "Row 5: no code. | Row 6: no mass for PA.");
    EXPECT_EQ(rows(p), "2:GLY=10 ");
    // Under a decimal comma a point is no decimal separator, nor under a point a comma.
    const QString other = QLocale().decimalPoint() == "," ? "GLY\t12.5" : "GLY\t12,5";
    EXPECT_EQ(LinesText::parse(other, spelled).errors.size(), 1);
    // A first row with no figure is a heading only when it names its columns or no material: a
    // code without its mass is a bad row, never dropped.
    EXPECT_EQ(LinesText::parse("PA\t\r\nGLY\t10\r\n", spelled).errors, QStringList{"Row 1: no mass for PA."});
    // Without a heading, a third cell is no part of a code and a mass, whatever the locale.
    EXPECT_EQ(LinesText::parse("GLY,12,5\r\n", spelled).errors.size(), 1);
}

// Text from a file or another program: a byte-order mark, headings in other letters or order, and
// a separator inside a quoted cell.
TEST(LinesText, ThePasteReadsWhatFilesAndOtherProgramsAddToTheText) {
    EXPECT_EQ(rows(LinesText::parse(QString(QChar(0xFEFF)) + "GLY\t10\r\n", spelled)), "1:GLY=10 ");
    EXPECT_EQ(rows(LinesText::parse(QString(QChar(0xFEFF)) + "mass;CODE\r\n10;GLY\r\n", spelled)), "2:GLY=10 ");
    EXPECT_EQ(rows(LinesText::parse("\"GLY\",\"7\"\r\n\"PA; the flakes\",3\r\n", [](const QString& c) {
                  return c.startsWith("PA") ? std::optional<QString>("PA") : spelled(c);
              })),
              "1:GLY=7 2:PA=3 ");
}

// A German spreadsheet writes decimal commas, and then separates cells with semicolons; commas
// as separators would cut a mass in two.
TEST(LinesText, UnderADecimalCommaACommaSeparatedMassIsNeverCutInTwo) {
    const QLocale was;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(rows(LinesText::parse("Code;Mass\r\nGLY;12,5\r\n", spelled)), "2:GLY=12.5 ");
    EXPECT_EQ(rows(LinesText::parse("GLY\t12,5\r\n", spelled)), "1:GLY=12.5 ");
    const LinesText::Paste cut = LinesText::parse("GLY,12,5\r\nPA,30\r\n", spelled);
    EXPECT_EQ(cut.errors.join(" | ").toStdString(),
              "Row 1: 'GLY,12,5' has more cells than a code and a mass: separate a code from its mass with a tab or "
              "a semicolon when the mass has a decimal comma.");
    EXPECT_EQ(rows(cut), "2:PA=30 ");
    QLocale::setDefault(was);
}

} // namespace
