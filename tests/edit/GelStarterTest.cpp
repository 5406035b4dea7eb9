// The gel predictions of recipes worked by hand, from the totals the data module forms of the
// starter tables as the program ships them.
#include "edit/DModUnit.h"
#include "domain/GelSafety.h"
#include "domain/ReactionCourse.h"
#include "domain/ResinProperties.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

class StarterGel : public ::testing::Test {
protected:
    void SetUp() override {
        // Beside the starter recipes, 2 mol glycerol with 3 mol phthalic anhydride.
        data.create(TempData::starter("BatchInfo") + TempData::header("Polyester", "GP23", 8),
                    TempData::starter("Recipes") +
                        TempData::line("Polyester", "GP23", 1, "GLY", "184.18, 2, NULL, 6, NULL, NULL, NULL") +
                        TempData::line("Polyester", "GP23", 2, "PA", "444.36, 3, 6, NULL, NULL, NULL, NULL"),
                    TempData::starter("RMLib"));
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    void TearDown() override {
        dm.reset();
    }
    // The recipe made current, its totals formed as the window forms them.
    const TReactionTotals& recipe(const QString& type, const QString& code) {
        EXPECT_TRUE(dm->headers().locate(type, code)) << code.toStdString();
        return form.editor.totals();
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

} // namespace

// Acid side: the oil's three fatty acids (2.2311 equivalents, one group each) and the anhydride's
// two carboxyls (2.9706): fwA = (2.2311 + 2 x 2.9706) / 5.2017 = 1.5711. Hydroxyl side: the oil's
// glycerol (2.2311, three groups) and pentaerythritol (3.8193, four): fwB = (3 x 2.2311 + 4 x
// 3.8193) / 6.0504 = 3.6313. With r = 5.2017 / 6.0504 = 0.8597 the statistical gel point lies at
// 1 / sqrt(0.8597 x 0.5711 x 2.6313) = 0.880; the target (acid value 10) at 0.967 lies past it.
// Carothers': 5.4149 molecules over 5.2017 equivalents, K 1.041, above 1: no gel.
TEST_F(StarterGel, TheLongOilSoyaAlkydIsAmberByTheStatisticalPredictionAndClearByCarothers) {
    const TReactionTotals& t = recipe("Alkyd", "LO-SOY65");
    EXPECT_NEAR(t.WeightedEa / t.TotalEa, 1.5711, 1e-4);
    EXPECT_NEAR(t.WeightedEb / t.TotalEb, 3.6313, 1e-4);
    const GelPoint stat = StatisticalGel(t);
    ASSERT_TRUE(stat.gels);
    EXPECT_NEAR(stat.extent, 0.8798, 1e-4);
    EXPECT_GT(ExtentAtTarget(t), stat.extent);
    EXPECT_NEAR(KValue(t), 1.041, 5e-4);
    EXPECT_FALSE(CarothersGel(t).gels);
    const GelSafety safety = AssessGel(t);
    EXPECT_EQ(safety.level, GelSafety::Level::Warning);
    EXPECT_TRUE(safety.text.startsWith("Gels before the target: the statistical gel point is reached"));
    EXPECT_TRUE(safety.text.contains("Carothers' prediction gels nowhere (alkyd constant 1.041)"));
    EXPECT_TRUE(safety.text.endsWith("real batches usually gel between the two predictions."));
    // The old count of every hydroxyl on a triol had PGel above 100 % and no warning at all.
    EXPECT_GT(PGel(t), 100);
}

// Neopentyl glycol (6.5290 equivalents, two groups) with a little trimethylolpropane (0.8944,
// three) against diacids only: fwA = 2, fwB = (2 x 6.5290 + 3 x 0.8944) / 7.4234 = 2.1205,
// r = 5.9052 / 7.4234 = 0.7955: the gel point would lie at 1 / sqrt(0.7955 x 1 x 1.1205) = 1.059,
// past all the acid. Carothers': K = 6.5152 / 5.9052 = 1.103. The recipe clears.
TEST_F(StarterGel, TheSaturatedPolyesterWithALittleTriolClears) {
    const TReactionTotals& t = recipe("Polyester", "SP-NPG01");
    EXPECT_NEAR(t.WeightedEa / t.TotalEa, 2, 1e-12);
    EXPECT_NEAR(t.WeightedEb / t.TotalEb, 2.1205, 1e-4);
    EXPECT_NEAR(FloryStockmayerExtent(t.TotalEa / t.TotalEb, 2, t.WeightedEb / t.TotalEb), 1.0592, 1e-4);
    EXPECT_FALSE(StatisticalGel(t).gels);
    EXPECT_FALSE(CarothersGel(t).gels);
    const GelSafety safety = AssessGel(t);
    EXPECT_EQ(safety.level, GelSafety::Level::Safe);
    EXPECT_EQ(safety.text, "Neither prediction gels this recipe.");
}

// 6 acid equivalents on diacid units against 6 hydroxyl equivalents on triols: r = 1, and
// p^2 x (2 - 1) x (3 - 1) = 1 at p = 1 / sqrt(2) = 0.7071. Carothers': 5 molecules over 6
// equivalents, at 0.8333. Both lie short of acid value 8: red.
TEST_F(StarterGel, GlycerolAndPhthalicAnhydrideTwoToThreeGelAtSeventyPerCent) {
    const TReactionTotals& t = recipe("Polyester", "GP23");
    const GelPoint stat = StatisticalGel(t);
    ASSERT_TRUE(stat.gels);
    EXPECT_NEAR(stat.extent, 0.70711, 1e-5);
    EXPECT_NEAR(CarothersGel(t).extent, 5.0 / 6, 1e-12);
    EXPECT_EQ(AssessGel(t).level, GelSafety::Level::Danger);
}

// Only the two sides' functionalities decide: with the hydroxyl on triols alone, the weighted
// formula is the PGel of old, for any mix of diacids and monoacids and any excess.
TEST(FloryStockmayer, WithTheHydroxylOnTriolsItIsPGel) {
    for (double mono : {0.0, 0.5, 1.0, 2.0})
        for (double eb : {2.0, 3.0, 3.3, 5.0}) {
            TReactionTotals t;
            t.TotalMoles = 1;
            t.TotalEa = 3;
            t.MonoEa = mono;
            t.TotalEb = eb;
            const double fwA = (2 * (t.TotalEa - mono) + mono) / t.TotalEa; // diacids and monoacids
            EXPECT_NEAR(FloryStockmayerExtent(t.TotalEa / t.TotalEb, fwA, 3), PGel(t) / 100, 1e-12)
                << "mono " << mono << ", Eb " << eb;
        }
    // No branching on either side: no gel point at all.
    EXPECT_EQ(FloryStockmayerExtent(1, 2, 1), 0);
    EXPECT_EQ(FloryStockmayerExtent(1, 1, 3), 0);
}
