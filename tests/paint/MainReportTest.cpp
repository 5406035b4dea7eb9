#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "paint/MainReport.h"
#include "paint/ReportPainter.h"
#include "domain/ReactionTotals.h"
#include "support/ReportPdf.h"
#include "support/StandInForm.h"
#include "support/TempData.h"
#include "support/WorkedRecipe.h"

#include <gtest/gtest.h>

namespace {

const QString kLibrary = workedLibrary() +
    TempData::material("DIACID", "Diacid", "Acid", 180, 2, 0, 0, 2) +
    TempData::material("DIOL", "Diol", "Base", 100, 0, 0, 2, 0);

class RecipeReport : public ::testing::Test {
protected:
    // Recipe Alkyd/W1 with lines of the given codes, numbered from 1, and no amounts yet.
    void open(const QStringList& codes, const QString& date = {}, const QString& extraLines = {}) {
        QString lines;
        for (int i = 0; i < codes.size(); ++i)
            lines += TempData::line("Alkyd", "W1", i + 1, codes[i]);
        QString header = TempData::header("Alkyd", "W1", 8, 50, 1000, "Long oil alkyd");
        if (!date.isEmpty())
            header.replace("NULL);", "'" + date + "');");
        data.create(header, lines + extraLines, kLibrary);
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    // The report of the recipe as the window would print it now.
    TFrmMainReport reportNow() const { return TFrmMainReport(dm->currentRecipe(), dm->library(), form.editor.totals()); }
    // Types a mass into a line as the grid does and stores it.
    void typeMass(int item, const QString& mass) {
        ASSERT_TRUE(dm->lines().locateItem(item));
        dm->lines().edit();
        LineCell(dm->lines(), "Mass").setText(loc(mass));
        dm->lines().checkBrowseMode();
    }
    void workedExample() {
        open({"ANH", "TRIOL", "FA"});
        typeMass(1, "148.12");
        typeMass(2, "101.299");
        typeMass(3, "280");
    }
    // The printed text of every item of that name, page by page; a caption is named by its text.
    static QStringList printed(const std::vector<Report::Page>& pages, const QString& name, int page = -1,
                               bool fieldsOnly = false) {
        QStringList out;
        for (int n = 0; n < int(pages.size()); ++n)
            if (page < 0 || n == page)
                for (const Report::Placed& p : pages[n].items)
                    if (p.item->name == name && (p.item->isField || !fieldsOnly))
                        out << p.text;
        return out;
    }
    // The printed values of a data field, whose name a column title may share.
    static QStringList field(const std::vector<Report::Page>& pages, const QString& name) {
        return printed(pages, name, -1, true);
    }

    void SetUp() override {
    }
    void TearDown() override {
        dm.reset();
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

} // namespace

// The figures are worked out by hand from the recipe: 1 mol anhydride (148.12 g), 1.1 mol
// glycerol (101.299 g) and 1 mol fatty acid (280 g) at acid value 8, solids 50 %, batch 1000;
// yield (529.419 - 36) / (1 - 18 * 8 / 56100) = 494.68879.
TEST_F(RecipeReport, EveryValueLabelReadsTheRecipesFigures) {
    workedExample();
    TFrmMainReport report = reportNow();
    const std::pair<const char*, const char*> expected[] = {
        {"LblTMass", "529.419"},         {"LblTMoles", "3.1000"},          {"LblTEa", "3.0000"},
        {"LblTEb", "3.3000"},            {"LblTAmt", "1070.21"},           {"LblTPerc", "53.510"},
        {"LblTCost", "712.23"},          {"LblMassWaterOff", "34.730"},    {"LblChargeWaterOff", "70.21"},
        {"LblPercentWaterOff", "3.510"}, {"LblMassYield", "494.689"},      {"LblChargeYield", "1000.00"},
        {"LblPercentYield", "50.000"},   {"LblKValue", "1.033"},           {"LblAVAtGel", "-11.4"},
        {"LblPGel", "90.830"},           {"LblFav", "1.935"},              {"LblOilLength", "59.2"},
        {"LblMolMass", "2901"},          {"LblCost", "1.44"},              {"LblExcessOH", "10.0"},
        {"LblOHN", "42"},                {"LblOHEqvMass", "1335"},         {"LblPercOH", "1.3"}};
    for (const auto& [label, text] : expected)
        EXPECT_EQ(report.labelText(label), loc(text)) << label;

    // The lines print in their display formats, the header fields too.
    const auto pages = report.prepare(QDateTime(QDate(2026, 12, 9), QTime(9, 15)));
    EXPECT_EQ(printed(pages, "ItemNum"), QStringList({"1", "2", "3"}));
    EXPECT_EQ(printed(pages, "RMName"), QStringList({"Phthalic Anhydride", "Glycerol", "Soya Fatty Acid"}));
    EXPECT_EQ(field(pages, "Mass"), QStringList({loc("148.120"), loc("101.299"), loc("280.000")}));
    EXPECT_EQ(field(pages, "Moles"), QStringList({loc("1.0000"), loc("1.1000"), loc("1.0000")}));
    EXPECT_EQ(field(pages, "Charge"), QStringList({loc("299.42"), loc("204.77"), loc("566.01")}));
    EXPECT_EQ(field(pages, "Cost"), QStringList({loc("162.93"), loc("101.30"), loc("448.00")}));
    EXPECT_EQ(printed(pages, "AV"), QStringList({loc("8.0")}));
    EXPECT_EQ(printed(pages, "Size"), QStringList({loc("1000.00")}));
    EXPECT_EQ(printed(pages, "Description"), QStringList({"Long oil alkyd"}));
    EXPECT_EQ(printed(pages, "PrintDate"), QStringList({Report::dateTimeText(QDateTime(QDate(2026, 12, 9), QTime(9, 15)))}));
}

TEST_F(RecipeReport, AnAcidExcessPrintsMinusSignsAndNoMolecularMass) {
    // 1 mol diacid (2 acid equivalents) and 0.5 mol diol (1 hydroxyl equivalent): fewer moles than
    // acid equivalents, so no molecular mass; yield (230 - 36) / (1 - 144 / 56100) = 194.49925.
    open({"DIACID", "DIOL"});
    typeMass(1, "180");
    typeMass(2, "50");
    TFrmMainReport report = reportNow();
    EXPECT_EQ(report.labelText("LblMolMass"), "");
    EXPECT_EQ(report.labelText("LblExcessOH"), loc("-50.0"));
    EXPECT_EQ(report.labelText("LblOHN"), "-280");       // -56100 / 194.49925 + 8
    EXPECT_EQ(report.labelText("LblAVAtGel"), loc("137.8")); // 56100 * 0.5 / (194.49925 + 9)
    EXPECT_EQ(report.labelText("LblOHEqvMass"), "0");
    EXPECT_EQ(report.labelText("LblPercOH"), loc("0.0"));
}

TEST_F(RecipeReport, WithAutoCalcOffTheBatchFiguresAreThoseOfTheLastCalculate) {
    workedExample();
    form.editor.setAutoCalc(false);
    typeMass(3, "300");
    TFrmMainReport report = reportNow();
    EXPECT_EQ(report.labelText("LblTMass"), loc("549.419"));
    EXPECT_EQ(report.labelText("LblTAmt"), loc("1070.21"));
    EXPECT_EQ(report.labelText("LblTPerc"), loc("53.510"));
    EXPECT_EQ(report.labelText("LblChargeWaterOff"), loc("70.21"));
    const auto pages = report.prepare();
    EXPECT_EQ(field(pages, "Charge"), QStringList({loc("299.42"), loc("204.77"), loc("566.01")}));
}

TEST_F(RecipeReport, ALongRecipeContinuesOnPagesThatRepeatBothHeaders) {
    QStringList codes;
    for (int i = 0; i < 127; ++i)
        codes << (i % 2 ? "TRIOL" : "ANH");
    open(codes);
    TFrmMainReport report = reportNow();
    const auto pages = report.prepare();
    // 271.6 mm of A4 between the margins. Page 1: headers 98.7 and titles 7.4 leave room for 25
    // lines; later pages 26 each, so 25 + 3 * 26 = 103 and 24 on page 5, where the totals (26.2)
    // no longer fit: page 6 holds the totals and the calculated values.
    ASSERT_EQ(pages.size(), 6u);
    const int perPage[] = {25, 26, 26, 26, 24, 0};
    int item = 1;
    for (int n = 0; n < 6; ++n) {
        const QStringList items = printed(pages, "ItemNum", n);
        EXPECT_EQ(items.size(), perPage[n]) << "page " << n + 1;
        if (!items.isEmpty()) {
            EXPECT_EQ(items.first(), QString::number(item)) << "page " << n + 1;
        }
        item += items.size();
        EXPECT_EQ(printed(pages, "Kalvora Printout", n).size(), 1) << "page " << n + 1;
        EXPECT_EQ(printed(pages, "Resin Type:", n).size(), 1) << "page " << n + 1;
        EXPECT_EQ(printed(pages, "BatchCode", n), QStringList({"W1"})) << "page " << n + 1;
        EXPECT_EQ(printed(pages, "Item", n).size(), n == 0 ? 1 : 0) << "page " << n + 1;
        EXPECT_EQ(printed(pages, "LblTMass", n).size(), n == 5 ? 1 : 0) << "page " << n + 1;
        EXPECT_EQ(printed(pages, "LblKValue", n).size(), n == 5 ? 1 : 0) << "page " << n + 1;
    }
    // Nothing crosses the bottom margin.
    for (const auto& page : pages)
        for (const auto& p : page.items)
            EXPECT_LT(p.top, 297 - 12.7);
}

TEST_F(RecipeReport, AnEmptyRecipePrintsItsHeaderTotalsAndValues) {
    open({});
    dm->CalcBatch();
    TFrmMainReport report = reportNow();
    const auto pages = report.prepare();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(printed(pages, "Item").isEmpty());
    EXPECT_TRUE(printed(pages, "ItemNum").isEmpty());
    EXPECT_EQ(printed(pages, "BatchCode"), QStringList({"W1"}));
    EXPECT_EQ(printed(pages, "LblTMass"), QStringList({loc("0.000")}));
    EXPECT_EQ(printed(pages, "LblKValue"), QStringList({loc("0.000")}));
    EXPECT_EQ(printed(pages, "LblOHN"), QStringList({"0"}));
    EXPECT_EQ(printed(pages, "LblMolMass"), QStringList({""}));
    // The yield row shows the target batch and solids.
    EXPECT_EQ(printed(pages, "LblChargeYield"), QStringList({loc("1000.00")}));
    EXPECT_EQ(printed(pages, "LblPercentYield"), QStringList({loc("50.000")}));
}

TEST_F(RecipeReport, ItemNumberZeroAndEmptyAmountsPrintEmptyCells) {
    open({"ANH"}, {}, TempData::line("Alkyd", "W1", 0, "TRIOL"));
    TFrmMainReport report = reportNow();
    const auto pages = report.prepare();
    EXPECT_EQ(printed(pages, "ItemNum"), QStringList({"", "1"}));
    EXPECT_EQ(field(pages, "Mass"), QStringList({"", ""}));
}

TEST_F(RecipeReport, TheDateLastModifiedPrintsAsThePrintDateDoes) {
    open({"ANH"}, "2026-11-30T16:45:12");
    TFrmMainReport report = reportNow();
    EXPECT_EQ(printed(report.prepare(), "Date"),
              QStringList({Report::dateTimeText(QDateTime(QDate(2026, 11, 30), QTime(16, 45, 12)))}));
}

TEST_F(RecipeReport, ARecipeWithoutADatePrintsAnEmptyCell) {
    open({"ANH"});
    TFrmMainReport report = reportNow();
    EXPECT_EQ(printed(report.prepare(), "Date"), QStringList({""}));
}

// The words on the PDF stand where the layout puts them: read back with their boxes.
TEST_F(RecipeReport, OnPaperCaptionsAndValuesStandAtTheirPositions) {
    workedExample();
    TFrmMainReport report = reportNow();
    const auto pages = report.prepare(QDateTime(QDate(2026, 12, 9), QTime(9, 15)));
    QString error;
    const auto words = printedWords(report.Report1, pages, data.file("report.pdf"), &error);
    if (words.empty())
        GTEST_SKIP() << error.toStdString();

    const double margin = 12.7, header = margin + 33.1, titles = header + 65.6, lines = titles + 7.4;
    const double totals = lines + 3 * 6.6, values = totals + 26.2;
    const auto at = [&](const QString& text) { return expectWord(words, text); };
    // Left anchors: the word's left edge. Tops: the top of the line of text.
    EXPECT_NEAR(at("Print").left, margin + 95.0, 0.5);
    EXPECT_NEAR(at("Print").top, margin + 11.1, 0.5);
    EXPECT_NEAR(at("Resin").left, margin + 2.1, 0.5);
    EXPECT_NEAR(at("Resin").top, header + 3.2, 0.5);
    EXPECT_NEAR(at("W1").left, margin + 36.8, 0.5);
    EXPECT_NEAR(at("Target").top, header + 34.7, 0.5);
    EXPECT_NEAR(at("Code").left, margin + 13.2, 0.5);
    EXPECT_NEAR(at("Code").top, titles + 1.1, 0.5);
    EXPECT_NEAR(at("Glycerol").left, margin + 31.8, 0.5);
    EXPECT_NEAR(at("Glycerol").top, lines + 6.6 + 1.3, 0.5);
    EXPECT_NEAR(at("Totals:").top, totals + 1.1, 0.5);
    EXPECT_NEAR(at("Calculated").left, margin + 69.8, 0.5);
    EXPECT_NEAR(at("Calculated").top, values + 4.5, 0.5);
    EXPECT_NEAR(at("Hydroxyl").left, margin + 131.2, 0.5);
    // Right anchors: the word's right edge.
    EXPECT_NEAR(at(loc("101.299")).right, margin + 88.1, 0.5);
    EXPECT_NEAR(at(loc("529.419")).right, margin + 88.4, 0.5);
    EXPECT_NEAR(at(loc("1070.21")).right, margin + 150.5, 0.5);
    EXPECT_NEAR(at(loc("1.033")).right, margin + 44.5, 0.5);
    EXPECT_NEAR(at(loc("1.033")).top, values + 22.5, 0.5);
    // Sizes: a line of 16 pt text is 1.6 times as tall as one of 10 pt, one of 14 pt 1.4 times.
    const double line = at("Glycerol").bottom - at("Glycerol").top;
    EXPECT_NEAR((at("Printout").bottom - at("Printout").top) / line, 1.6, 0.05);
    EXPECT_NEAR((at("Resin").bottom - at("Resin").top) / line, 1.4, 0.05);
    EXPECT_NEAR((at(loc("1.033")).bottom - at(loc("1.033")).top) / line, 1.1, 0.05);
    // Centre anchors: the middle of the word.
    const PdfWord amount = at("Amount");
    EXPECT_NEAR((amount.left + amount.right) / 2, margin + 143.4, 0.5);
    const PdfWord ea = at(loc("3.0000"));
    EXPECT_NEAR((ea.left + ea.right) / 2, margin + 113.1, 0.5);
}

// One line under the calculated values, in the panel's words, only when the target lies past a
// gel point: the worked recipe cooked to acid value 8 passes the statistical one, to 40 neither.
TEST_F(RecipeReport, ATargetPastAGelPointPrintsTheWarningUnderTheValues) {
    workedExample();
    EXPECT_EQ(reportNow().labelText("LblGelSafety"),
              loc("Gels before the target: the statistical gel point is reached at acid value 31.0, the target is "
                  "8.0") + ". Carothers' prediction gels nowhere (alkyd constant " + loc("1.033") +
                  "); real batches usually gel between the two predictions.");
    dm->headers().edit();
    dm->headers().setText(HeaderPart::AV, "40");
    dm->headers().post();
    TFrmMainReport safe = reportNow();
    EXPECT_EQ(safe.labelText("LblGelSafety"), "");
    EXPECT_EQ(safe.Report1.bands.back().name, "CalculatedValues");
    EXPECT_EQ(safe.prepare().size(), 1u);
}

// Past both gel points the line is longest; it still stands whole within the margins, under the
// values. 2 mol diacid, 1.35 mol glycerol: Carothers' gel point at 3.35 / 4 = 0.8375.
TEST_F(RecipeReport, TheLongestGelWarningFitsOnThePaper) {
    open({"DIACID", "TRIOL"});
    typeMass(1, "360");
    typeMass(2, "124.3215");
    TFrmMainReport report = reportNow();
    ASSERT_TRUE(report.labelText("LblGelSafety").startsWith("Gels before the target: both gel points"));
    const auto pages = report.prepare();
    QString error;
    const auto words = printedWords(report.Report1, pages, data.file("gel.pdf"), &error);
    if (words.empty())
        GTEST_SKIP() << error.toStdString();
    const double margin = 12.7, values = margin + 33.1 + 65.6 + 7.4 + 2 * 6.6 + 26.2;
    const PdfWord gels = expectWord(words, "Gels");
    EXPECT_NEAR(gels.left, margin + 2.1, 0.5);
    EXPECT_NEAR(gels.top, values + 52.1 + 1.5, 0.5);
    EXPECT_TRUE(pageText(words, 1).contains(report.labelText("LblGelSafety")));
    for (const PdfWord& w : words)
        EXPECT_LE(w.right, 210 - margin) << w.text.toStdString();
}

// Large figures drawn where the Part puts them: each cell's text is drawn smaller when it is too
// wide, so that no two figures run into each other and every total stands between its rules.
TEST_F(RecipeReport, NoFigureRunsIntoTheNextCell) {
    open({"DIACID", "DIOL", "TRIOL"});
    typeMass(1, "99999.999");
    typeMass(2, "88888.888");
    typeMass(3, "77777.777");
    TFrmMainReport report = reportNow();
    const auto pages = report.prepare();
    QString error;
    const auto words = printedWords(report.Report1, pages, data.file("large.pdf"), &error);
    if (words.empty())
        GTEST_SKIP() << error.toStdString();
    ASSERT_EQ(pages.size(), 1u);
    for (size_t a = 0; a < words.size(); ++a)
        for (size_t b = a + 1; b < words.size(); ++b) {
            const PdfWord &x = words[a], &y = words[b];
            const double high = std::min(x.bottom, y.bottom) - std::max(x.top, y.top);
            if (high < 0.5 * std::min(x.bottom - x.top, y.bottom - y.top))
                continue; // not on one line
            const double wide = std::min(x.right, y.right) - std::max(x.left, y.left);
            EXPECT_LT(wide, 0.05) << x.text.toStdString() << " runs into " << y.text.toStdString();
        }
    // The totals row: each figure within its cell, whose rules span it.
    const double margin = 12.7;
    const struct { const char* label; double right, width; } cells[] = {
        {"LblTMass", 88.4, 13.2}, {"LblTAmt", 150.5, 13.2}, {"LblTPerc", 167.0, 11.9}, {"LblTCost", 180.4, 10.6}};
    for (const auto& c : cells) {
        const PdfWord w = expectWord(words, report.labelText(c.label));
        EXPECT_LE(w.right, margin + c.right + 0.2) << c.label;
        EXPECT_GE(w.left, margin + c.right - c.width - 0.2) << c.label;
    }
    EXPECT_EQ(report.labelText("LblTMass"), loc("266666.664"));
}
