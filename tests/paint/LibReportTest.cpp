#include "edit/DModUnit.h"
#include "paint/LibReport.h"
#include "paint/ReportPainter.h"
#include "support/ReportPdf.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

QString material(const QString& code, const QString& name, const QString& chemClass, const QString& type,
                 const QString& numbers) {
    return QString("INSERT INTO RMLib VALUES ('%1', '%2', '%3', '%4', %5);\n").arg(code, name, chemClass, type, numbers);
}

class LibraryReport : public ::testing::Test {
protected:
    void open(const QString& library) {
        data.create({}, {}, library);
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    static QStringList printed(const std::vector<Report::Page>& pages, const QString& name, int page = -1) {
        QStringList out;
        for (int n = 0; n < int(pages.size()); ++n)
            if (page < 0 || n == page)
                for (const Report::Placed& p : pages[n].items)
                    if (p.item->name == name)
                        out << p.text;
        return out;
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

} // namespace

TEST_F(LibraryReport, RowsComeInTheOrderOfTypeClassAndCodeWithThePrintFormats) {
    open(material("PA", "Phthalic Anhydride", "Anhydride", "Acid", "148.12, 0, 1, 0, 1.1") +
         material("GLY", "Glycerol", "Triol", "Base", "92.09, 0, 0, 3, 0.95") +
         material("AA", "Adipic Acid", "Diacid", "Acid", "146.14, 2, 0, 0, 1.5") +
         material("IPA", "Isophthalic Acid", "Diacid", "Acid", "166.13, 2, 0, 0, 1.25") +
         material("NPG", "Neopentyl Glycol", "Diol", "Base", "104.15, 0, 0, 2, 1.8") +
         material("ZZ", "Unpriced", "Diol", "Base", "NULL, NULL, NULL, NULL, NULL"));
    TFrmLibReport report(dm->materials());
    const auto pages = report.prepare();
    ASSERT_EQ(pages.size(), 1u);
    // Acid before Base; within Acid, Anhydride before Diacid; within Diacid, by code.
    EXPECT_EQ(printed(pages, "RMCode"), QStringList({"PA", "AA", "IPA", "NPG", "ZZ", "GLY"}));
    EXPECT_EQ(printed(pages, "RMType"), QStringList({"Acid", "Acid", "Acid", "Base", "Base", "Base"}));
    EXPECT_EQ(printed(pages, "RMFan"), QStringList({loc("1.0"), loc("0.0"), loc("0.0"), loc("0.0"), "", loc("0.0")}));
    EXPECT_EQ(printed(pages, "RMMWt"), QStringList({loc("148.1"), loc("146.1"), loc("166.1"), loc("104.2"), "", loc("92.1")}));
    // Functionalities with one decimal, the price with two.
    EXPECT_EQ(printed(pages, "RMFa"), QStringList({loc("0.0"), loc("2.0"), loc("2.0"), loc("0.0"), "", loc("0.0")}));
    EXPECT_EQ(printed(pages, "RMFb"), QStringList({loc("0.0"), loc("0.0"), loc("0.0"), loc("2.0"), "", loc("3.0")}));
    EXPECT_EQ(printed(pages, "RMPrice"), QStringList({loc("1.10"), loc("1.50"), loc("1.25"), loc("1.80"), "", loc("0.95")}));
    EXPECT_TRUE(printed(pages, "RMChemClass").isEmpty()) << "the class orders the rows but is not printed";
    EXPECT_EQ(printed(pages, "PrintDate").size(), 1);
}

TEST_F(LibraryReport, EveryPageRepeatsTheHeaderAndTheTitles) {
    QString library;
    for (int i = 0; i < 300; ++i)
        library += TempData::material(QString("M%1").arg(i, 3, 10, QChar('0')), "Material", "Base", 100, 0, 0, 2);
    open(library);
    TFrmLibReport report(dm->materials());
    const auto pages = report.prepare();
    // 271.6 mm between the margins, 29.8 of them for the header and titles: 45 rows of 5.3 a page.
    ASSERT_EQ(pages.size(), 7u);
    int total = 0;
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(printed(pages, "Raw Material Library Print Out", n).size(), 1) << n;
        EXPECT_EQ(printed(pages, "Mol. Mass", n).size(), 1) << n;
        const int rows = printed(pages, "RMCode", n).size();
        EXPECT_EQ(rows, n < 6 ? 45 : 30) << n;
        total += rows;
    }
    EXPECT_EQ(total, 300);
    EXPECT_EQ(printed(pages, "RMCode", 1).first(), "M045");
}

TEST_F(LibraryReport, AnEmptyLibraryGivesOnePageOfHeaderAndTitles) {
    open({});
    TFrmLibReport report(dm->materials());
    const auto pages = report.prepare();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(printed(pages, "Raw Material Library Print Out").size(), 1);
    EXPECT_EQ(printed(pages, "Code").size(), 1);
    EXPECT_TRUE(printed(pages, "RMCode").isEmpty());
}

TEST_F(LibraryReport, AChangeStoredMeanwhileIsPrintedAtTheNextPreparation) {
    open(TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3));
    TFrmLibReport report(dm->materials());
    EXPECT_EQ(printed(report.prepare(), "RMCode"), QStringList({"GLY"}));
    MaterialEditor& lib = dm->materialEditor();
    lib.append();
    lib.setText(MaterialPart::Code, "NPG");
    lib.setText(MaterialPart::Name, "Neopentyl Glycol");
    lib.setText(MaterialPart::ChemClass, "Class");
    lib.setText(MaterialPart::Type, "Base");
    EXPECT_EQ(printed(report.prepare(), "RMCode"), QStringList({"GLY"})) << "a pending record is not printed";
    lib.post();
    EXPECT_EQ(printed(report.prepare(), "RMCode"), QStringList({"GLY", "NPG"}));
}

TEST_F(LibraryReport, OnPaperTitlesAndValuesStandAtTheirPositions) {
    open(TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 0.95));
    TFrmLibReport report(dm->materials());
    const auto pages = report.prepare();
    QString error;
    const auto words = printedWords(report.Report1, pages, data.file("library.pdf"), &error);
    if (words.empty())
        GTEST_SKIP() << error.toStdString();
    const double margin = 12.7, titles = margin + 23.5, row = titles + 6.3;
    const auto at = [&](const QString& text) { return expectWord(words, text); };
    EXPECT_NEAR(at("Date:").top, margin + 11.1, 0.5);
    EXPECT_NEAR(at("Name").left, margin + 23.0, 0.5);
    EXPECT_NEAR(at("Name").top, titles + 0.3, 0.5);
    EXPECT_NEAR(at("Glycerol").left, margin + 22.0, 0.5);
    EXPECT_NEAR(at("Glycerol").top, row + 0.8, 0.5);
    EXPECT_NEAR(at(loc("92.1")).right, margin + 110.6, 0.5);
    const PdfWord fb = at(loc("3.0"));
    EXPECT_NEAR((fb.left + fb.right) / 2, margin + 159.7, 0.5);
    EXPECT_NEAR(at(loc("0.95")).left, margin + 168.3, 0.5);
    const PdfWord library = at("Library");
    EXPECT_GT(library.left, margin + 100);
}
