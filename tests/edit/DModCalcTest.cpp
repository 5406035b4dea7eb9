#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "domain/NumberFormat.h"
#include "components/StoreError.h"
#include "domain/ResinProperties.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

const QString kLibrary =
    TempData::material("ANH", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
    TempData::material("TRIOL", "Glycerol", "Base", 92.09, 0, 0, 3, 1.0) +
    TempData::material("FA", "Soya Fatty Acid", "Fatty Acid", 280, 1, 0, 0, 1.6) +
    TempData::material("OIL", "Soya Oil", "Oil", 878, 0, 0, 0, 1.2) +
    TempData::material("NOMW", "Unknown Diol", "Base", 0, 0, 0, 2, 1) +
    TempData::material("INERT", "Inert Base", "Base", 100, 0, 0, 0, 0) +
    TempData::material("NEARMONO", "Near Monoacid", "Acid", 100, 1.0000001, 0, 0, 1) +
    TempData::material("DIACID", "Diacid", "Acid", 180, 2, 0, 0, 2) +
    TempData::material("DIOL", "Diol", "Base", 100, 0, 0, 2, 0) +
    TempData::material("HEAVY", "Ten-acid", "Acid", 100, 10, 0, 0, 1);

class CalcTest : public ::testing::Test {
protected:
    // A recipe Alkyd/W1 whose lines carry the given codes and no amounts yet.
    void open(const QStringList& codes, double av = 8, double solids = 50, double size = 1000,
              const QString& extraLines = {}) {
        QString lines;
        for (int i = 0; i < codes.size(); ++i)
            lines += TempData::line("Alkyd", "W1", i + 1, codes[i]);
        data.create(TempData::header("Alkyd", "W1", av, solids, size), lines + extraLines, kLibrary);
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    RecipeLines& lines() { return dm->lines(); }
    LineCell f(const char* name) { return LineCell(lines(), name); }
    void go(int item) { ASSERT_TRUE(lines().locateItem(item)) << item; }
    // Types text into a line's field as the grid does.
    void type(int item, const char* field, const QString& text) {
        go(item);
        lines().edit();
        f(field).setText(text);
    }
    std::string shown(const char* field) { return f(field).displayText().toStdString(); }
    std::string stored(const QString& sql) { return data.query("Recipes.adt", sql).toStdString(); }

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

std::string three(double v) { return NumberFormat::format(v, "0.000").toStdString(); }

TEST_F(CalcTest, TheWorkedExampleComesOutOfTypedMasses) {
    open({"ANH", "TRIOL", "FA"});
    type(1, "Mass", "148.12");
    type(2, "Mass", "101.299");
    type(3, "Mass", "280");
    lines().checkBrowseMode();
    const TReactionTotals& t = form.editor.totals();
    EXPECT_EQ(three(t.TotalMass), "529.419");
    EXPECT_EQ(three(t.TotalMoles), "3.100");
    EXPECT_EQ(three(t.TotalEa), "3.000");
    EXPECT_EQ(three(t.MonoEa), "1.000");
    EXPECT_EQ(three(t.TotalEb), "3.300");
    EXPECT_EQ(three(t.WaterMass), "36.000");
    EXPECT_EQ(three(t.OilMass), "292.700");
    EXPECT_EQ(three(t.FattyAcidMass), "280.000");
    EXPECT_EQ(three(t.BranchEq), "3.300") << "the glycerol alone branches";
    EXPECT_EQ(three(t.TargetAV), "8.000");
    EXPECT_EQ(three(Yield(form.editor.totals())), "494.689");
    EXPECT_EQ(three(KValue(form.editor.totals())), "1.033");
    EXPECT_EQ(three(FAv(form.editor.totals())), "1.935");
    EXPECT_EQ(three(PGel(form.editor.totals())), "90.830");
    EXPECT_EQ(three(AVAtGel(form.editor.totals())), "-11.382");
    EXPECT_EQ(three(WaterOff(form.editor.totals())), "34.730");
    EXPECT_EQ(three(OilLength(form.editor.totals())), "59.169");
    EXPECT_EQ(three(PercFA(form.editor.totals())), "56.601");
    EXPECT_EQ(three(ExcessOH(form.editor.totals())), "10.000");
    EXPECT_EQ(three(OHN(form.editor.totals())), "42.021");
    EXPECT_EQ(three(PercOH(form.editor.totals())), "1.273");

    // The batch pass stored every line's charge, percent and cost.
    const double y = Yield(form.editor.totals());
    EXPECT_EQ(stored("SELECT printf('%.6f|%.6f|%.6f', Charge, Percent, Cost) FROM Recipes ORDER BY ItemNum"),
              QString("%1|%2|%3\n%4|%5|%6\n%7|%8|%9")
                  .arg(148.12 * 1000 / y, 0, 'f', 6).arg(148.12 * 50 / y, 0, 'f', 6).arg(148.12 * 1.1, 0, 'f', 6)
                  .arg(101.299 * 1000 / y, 0, 'f', 6).arg(101.299 * 50 / y, 0, 'f', 6).arg(101.299, 0, 'f', 6)
                  .arg(280 * 1000 / y, 0, 'f', 6).arg(280 * 50 / y, 0, 'f', 6).arg(280 * 1.6, 0, 'f', 6)
                  .toStdString());
    EXPECT_NEAR(t.BatchChargeTotal, 529.419 * 1000 / y, 1e-9);
    EXPECT_GT(form.resultsShown, 0);
}

TEST_F(CalcTest, TypedAmountsFillTheOtherThree) {
    open({"ANH", "TRIOL", "OIL", "OIL"});
    type(1, "Mass", "296.24");
    EXPECT_EQ(shown("Moles"), "2.0000");
    EXPECT_EQ(shown("Ea"), "4.0000");
    EXPECT_TRUE(f("Eb").isNull());
    type(2, "Mass", "46.045");
    EXPECT_EQ(shown("Moles"), "0.5000");
    EXPECT_TRUE(f("Ea").isNull());
    EXPECT_EQ(shown("Eb"), "1.5000");
    type(3, "Mass", "439");
    EXPECT_EQ(shown("Moles"), "0.5000");
    EXPECT_EQ(shown("Ea"), "1.5000");
    EXPECT_EQ(shown("Eb"), "1.5000");
    type(4, "Ea", "3");
    EXPECT_EQ(shown("Moles"), "1.0000");
    EXPECT_EQ(shown("Mass"), "878.000");
    EXPECT_EQ(shown("Eb"), "3.0000");
    type(4, "Eb", "1.5");
    EXPECT_EQ(shown("Moles"), "0.5000");
    EXPECT_EQ(shown("Mass"), "439.000");
    EXPECT_EQ(shown("Ea"), "1.5000");
    type(1, "Moles", "0.5");
    EXPECT_EQ(shown("Mass"), "74.060");
    EXPECT_EQ(shown("Ea"), "1.0000");
}

TEST_F(CalcTest, AmountsThatAreNotPositiveAreEmptied) {
    open({"TRIOL", "NOMW", "ANH"});
    type(1, "Ea", "3"); // a non-oil without acid groups
    EXPECT_EQ(shown("Ea"), "3.0000");
    EXPECT_TRUE(f("Moles").isNull());
    EXPECT_TRUE(f("Mass").isNull());
    EXPECT_TRUE(f("Eb").isNull());
    type(2, "Mass", "50"); // no molecular mass
    EXPECT_TRUE(f("Moles").isNull());
    EXPECT_TRUE(f("Ea").isNull());
    EXPECT_TRUE(f("Eb").isNull());
    type(2, "Moles", "2");
    EXPECT_TRUE(f("Mass").isNull());
    EXPECT_EQ(shown("Eb"), "4.0000");
    type(3, "Ea", "-2"); // the negative source stays, the rest is emptied
    EXPECT_EQ(shown("Ea"), "-2.0000");
    EXPECT_TRUE(f("Moles").isNull());
    EXPECT_TRUE(f("Mass").isNull());
    EXPECT_TRUE(f("Eb").isNull());
    const int before = form.resultsShown;
    type(3, "Mass", "0");
    EXPECT_EQ(shown("Mass"), "0.000");
    EXPECT_TRUE(f("Moles").isNull());
    EXPECT_GT(form.resultsShown, before) << "typing 0 re-totals";
}

TEST_F(CalcTest, EmptyingAnAmountChangesNothingElse) {
    open({"ANH"});
    type(1, "Mass", "148.12");
    lines().checkBrowseMode();
    const int before = form.resultsShown;
    const double total = form.editor.totals().TotalMass;
    type(1, "Mass", "");
    EXPECT_TRUE(f("Mass").isNull());
    EXPECT_EQ(shown("Moles"), "1.0000");
    EXPECT_EQ(shown("Ea"), "2.0000");
    EXPECT_EQ(form.resultsShown, before);
    EXPECT_EQ(form.editor.totals().TotalMass, total);
}

TEST_F(CalcTest, AComputedMassOutOfRangeStopsTheRecalculation) {
    open({"ANH"});
    type(1, "Mass", "148.12");
    const int before = form.resultsShown;
    go(1);
    lines().edit();
    try {
        f("Moles").setText("-1");
        FAIL() << "a negative mass was accepted";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.message(),
                  "-148.12 is not a valid value for field 'Mass'. The allowed range is 0 to 100000");
    }
    EXPECT_FALSE(dm->recalculating());
    EXPECT_EQ(shown("Moles"), "-1.0000");
    EXPECT_EQ(shown("Mass"), "148.120"); // kept: the step that would write it was refused
    EXPECT_EQ(shown("Ea"), "2.0000");    // later steps did not run
    EXPECT_EQ(form.resultsShown, before);
    EXPECT_THROW(f("Moles").setText("1000"), StoreError); // 148120 is too much
    EXPECT_FALSE(dm->recalculating());
}

TEST_F(CalcTest, ChangingTheCodeRecalculatesForTheNewMaterialWithoutReTotalling) {
    open({"ANH", "FA"});
    type(1, "Moles", "2");
    lines().checkBrowseMode();
    const double total = form.editor.totals().TotalMass;
    type(1, "RMCode", "TRIOL");
    EXPECT_EQ(shown("Moles"), "2.0000");
    EXPECT_EQ(shown("Mass"), "184.180");
    EXPECT_TRUE(f("Ea").isNull());
    EXPECT_EQ(shown("Eb"), "6.0000");
    EXPECT_EQ(form.editor.totals().TotalMass, total);

    type(1, "RMCode", "");
    for (const char* n : {"Mass", "Moles", "Ea", "Eb", "Charge", "Percent", "Cost"})
        EXPECT_TRUE(f(n).isNull() || f(n).asString().isEmpty()) << n;
    EXPECT_EQ(dm->lineMaterial(), nullptr);
    EXPECT_EQ(f("ItemNum").asInteger(), 1);
    lines().checkBrowseMode();
    EXPECT_EQ(stored("SELECT count(*) FROM Recipes WHERE BatchCode='W1'"), "2");
    EXPECT_EQ(stored("SELECT BatchCode FROM Recipes WHERE ItemNum=1 AND RMCode IS NULL"), "W1")
        << "the emptied line stays in its recipe";
}

TEST_F(CalcTest, TotalsCountOilsFattyAcidsAndMonoacidsByTheirRules) {
    open({"OIL", "FA", "ANH", "NEARMONO"});
    type(1, "Mass", "439");
    lines().checkBrowseMode();
    EXPECT_NEAR(form.editor.totals().TotalMoles, 2, 1e-12);
    EXPECT_NEAR(form.editor.totals().OilMass, 439, 1e-12);
    EXPECT_NEAR(form.editor.totals().FattyAcidMass, 392.5, 1e-12);
    EXPECT_NEAR(form.editor.totals().MonoEa, 1.5, 1e-12);
    EXPECT_EQ(form.editor.totals().WaterMass, 0);
    EXPECT_NEAR(form.editor.totals().BranchEq, 3, 1e-12) << "an oil's glycerol is a branch point";
    type(2, "Mass", "280");
    lines().checkBrowseMode();
    EXPECT_NEAR(form.editor.totals().TotalMoles, 3, 1e-12);
    EXPECT_NEAR(form.editor.totals().OilMass, 439 + 292.7, 1e-9);
    EXPECT_NEAR(form.editor.totals().WaterMass, 18, 1e-12);
    EXPECT_NEAR(form.editor.totals().MonoEa, 2.5, 1e-12);
    type(3, "Moles", "2");
    lines().checkBrowseMode();
    EXPECT_NEAR(form.editor.totals().TotalEa, 1.5 + 1 + 4, 1e-12);
    EXPECT_NEAR(form.editor.totals().WaterMass, 18 + 36, 1e-12);
    EXPECT_NEAR(form.editor.totals().MonoEa, 2.5, 1e-12);
    EXPECT_NEAR(form.editor.totals().BranchEq, 3, 1e-12) << "a fatty acid and an anhydride are chain units";
    type(4, "Moles", "1");
    lines().checkBrowseMode();
    EXPECT_NEAR(form.editor.totals().MonoEa, 2.5, 1e-12) << "RMFa 1.0000001 is not a monoacid";
}

TEST_F(CalcTest, TheBatchScalesToTheYield) {
    open({"DIACID", "DIOL"}, 0, 60, 1800);
    type(1, "Mass", "500");
    type(2, "Mass", "500");
    lines().checkBrowseMode();
    EXPECT_NEAR(Yield(form.editor.totals()), 900, 1e-9);
    go(1);
    EXPECT_NEAR(f("Charge").asFloat(), 1000, 1e-9);
    EXPECT_NEAR(f("Percent").asFloat(), 500 * 60 / 900.0, 1e-9);
    EXPECT_NEAR(f("Cost").asFloat(), 1000, 1e-9);
    go(2);
    EXPECT_TRUE(f("Cost").isNull()) << "a material without price costs nothing";
    EXPECT_NEAR(form.editor.totals().BatchChargeTotal, 2000, 1e-9);
    EXPECT_NEAR(BatchWaterOff(form.editor.totals()), 200, 1e-9);
    EXPECT_NEAR(form.editor.totals().TotalCost, 1000, 1e-9);
}

TEST_F(CalcTest, NoYieldLeavesTheLinesBatchValuesAlone) {
    open({"HEAVY"}, 8, 50, 1000);
    lines().first();
    lines().edit();
    f("Charge").setFloat(5);
    lines().checkBrowseMode();
    type(1, "Mass", "100"); // water 180 > mass 100
    lines().checkBrowseMode();
    EXPECT_LE(Yield(form.editor.totals()), 0);
    EXPECT_EQ(shown("Charge"), "5.00");
    EXPECT_EQ(form.editor.totals().BatchChargeTotal, 0);
    EXPECT_EQ(form.editor.totals().TotalCost, 0);
}

TEST_F(CalcTest, WithAutoCalcOffOnlyTheTotalsFollow) {
    open({"DIACID", "DIOL"}, 0, 60, 1800);
    type(1, "Mass", "500");
    type(2, "Mass", "500");
    lines().checkBrowseMode();
    form.editor.setAutoCalc(false);
    const int before = form.resultsShown;
    type(2, "Mass", "1400");
    lines().checkBrowseMode();
    EXPECT_NEAR(form.editor.totals().TotalMass, 1900, 1e-9);
    EXPECT_EQ(form.resultsShown, before);
    go(2);
    EXPECT_NEAR(f("Charge").asFloat(), 1000, 1e-9);
    dm->CalcBatch(); // Calculate
    EXPECT_EQ(form.resultsShown, before + 1);
    go(2);
    EXPECT_NEAR(f("Charge").asFloat(), 1400 * 1800 / 1800.0, 1e-9);
}

TEST_F(CalcTest, HeaderEditsReTotalAndRescale) {
    open({"DIACID", "DIOL"}, 0, 60, 1800);
    type(1, "Mass", "500");
    type(2, "Mass", "500");
    lines().checkBrowseMode();
    dm->headers().edit();
    dm->headers().setText(HeaderPart::Size, "900");
    go(1);
    EXPECT_NEAR(f("Charge").asFloat(), 500, 1e-9);
    dm->headers().setText(HeaderPart::AV, "10");
    EXPECT_EQ(form.editor.totals().TargetAV, 10);
    EXPECT_GT(Yield(form.editor.totals()), 900);
}

TEST_F(CalcTest, ARefusedWriteEndsTheBatchPassAndUndoesIt) {
    open({"DIACID", "DIOL"}, 0, 60, 1800);
    type(1, "Mass", "500");
    type(2, "Mass", "500");
    lines().checkBrowseMode();
    const std::string before = stored("SELECT Charge FROM Recipes ORDER BY ItemNum");
    go(2);
    const int shownBefore = form.resultsShown;
    int writes = 0;
    db->beforeWrite = [&](const QString& table) {
        if (table == "Recipes" && ++writes == 2)
            throw StoreError("Cannot write to the table file: disk full.");
    };
    dm->headers().edit();
    EXPECT_THROW(dm->headers().setText(HeaderPart::Size, "900"), StoreError);
    db->beforeWrite = nullptr;
    EXPECT_EQ(form.resultsShown, shownBefore);
    EXPECT_EQ(stored("SELECT Charge FROM Recipes ORDER BY ItemNum"), before);
    EXPECT_EQ(f("ItemNum").asInteger(), 2) << "the focused line is restored";
    EXPECT_FALSE(lines().controlsDisabled());
    // What the user typed into the header is still there, pending.
    EXPECT_TRUE(dm->headers().pending());
    EXPECT_EQ(dm->headers().header().size, 900);
}

TEST_F(CalcTest, ARecipeWithoutLinesTotalsToZero) {
    open({});
    EXPECT_EQ(form.editor.totals().TotalMass, 0);
    EXPECT_EQ(Yield(form.editor.totals()), 0);
    EXPECT_EQ(form.editor.totals().BatchChargeTotal, 0);
    EXPECT_EQ(form.editor.totals().TotalCost, 0);
    EXPECT_GT(form.resultsShown, 0);
}

} // namespace
