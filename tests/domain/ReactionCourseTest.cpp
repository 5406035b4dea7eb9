#include "domain/CourseTable.h"
#include "domain/GelSafety.h"
#include "domain/ReactionCourse.h"
#include "domain/ResinProperties.h"
#include "support/WorkedRecipe.h"

#include <gtest/gtest.h>

namespace {

// The worked recipe: 1 mol phthalic anhydride, 1.1 mol glycerol, 1 mol fatty acid.
TReactionTotals worked(double targetAV = 8) {
    TReactionTotals t = workedTotals();
    t.TargetAV = targetAV;
    return t;
}

// 3 acid equivalents, none monofunctional, against 3 hydroxyl equivalents in 2.7 molecules.
TReactionTotals branched() {
    TReactionTotals t;
    t.TotalMass = 400;
    t.TotalMoles = 2.7;
    t.TotalEa = 3;
    t.TotalEb = 3;
    t.WaterMass = 54;
    t.BranchEq = 3;
    t.WeightedEa = 2 * 3; // diacids
    t.WeightedEb = 3 * 3; // a triol
    t.TargetAV = 10;
    return t;
}

// Adipic acid (146.14 g/mol, two carboxyls) with diethylene glycol (106.12 g/mol, two hydroxyls):
// nothing branches.
TReactionTotals linear(double acidMoles, double glycolMoles, double targetAV = 10) {
    TReactionTotals t;
    t.TotalMass = 146.14 * acidMoles + 106.12 * glycolMoles;
    t.TotalMoles = acidMoles + glycolMoles;
    t.TotalEa = 2 * acidMoles;
    t.TotalEb = 2 * glycolMoles;
    t.WaterMass = 36 * acidMoles;
    t.WeightedEa = 2 * t.TotalEa;
    t.WeightedEb = 2 * t.TotalEb;
    t.TargetAV = targetAV;
    return t;
}

} // namespace

TEST(ReactionCourse, AtTheTargetItGivesTheYieldTheWaterAndTheMolecularMass) {
    for (const TReactionTotals& t : {worked(), worked(0), worked(40)}) {
        const CoursePoint c = CourseAt(t, ExtentAtTarget(t));
        EXPECT_NEAR(c.resinMass, Yield(t), 1e-9);
        EXPECT_NEAR(c.waterOff, WaterOff(t), 1e-9);
        EXPECT_NEAR(c.molMass, MolMass(t), 1e-6);
        EXPECT_NEAR(c.acidValue, t.TargetAV, 1e-9);
    }
    // Before any reaction: all the acid free, every molecule there, the charge's acid value
    // 56100 x 3 / 529.419, and no water off.
    const CoursePoint start = CourseAt(worked(), 0);
    EXPECT_NEAR(start.freeAcid, 3, 1e-12);
    EXPECT_NEAR(start.molecules, 3.1, 1e-12);
    EXPECT_EQ(start.waterOff, 0);
    EXPECT_EQ(start.resinMass, 529.419);
    EXPECT_NEAR(start.acidValue, 317.8957, 1e-4);
    // Opening the anhydride (the first equivalent of three) gives no water, the rest one each:
    // at half way 1.5 equivalents are free, 36 - 27 = 9 g of water are off.
    EXPECT_EQ(CourseAt(worked(), 1.0 / 3).waterOff, 0);
    EXPECT_NEAR(CourseAt(worked(), 0.5).waterOff, 9, 1e-12);
    EXPECT_NEAR(CourseAt(worked(), 0.5).resinMass, 520.419, 1e-9);
}

// Worked by hand: PGel = 100 sqrt(1.1 / (2 x 2/3)) = 90.8295 %; there 0.27512 equivalents are
// free in 493.419 + 4.9521 g of resin: acid value 30.969. The target (acid value 8) is reached at
// 1 - 494.6888 x 8 / (56100 x 3) = 97.649 %: the statistical gel point comes first.
TEST(ReactionCourse, AWorkedRecipeGelsBeforeItsTarget) {
    const TReactionTotals t = worked();
    const GelPoint stat = StatisticalGel(t);
    ASSERT_TRUE(stat.gels);
    EXPECT_NEAR(stat.extent, 0.908295, 1e-6);
    EXPECT_NEAR(stat.acidValue, 30.9688, 1e-4);
    EXPECT_NEAR(ExtentAtTarget(t), 0.976485, 1e-6);
    EXPECT_GT(ExtentAtTarget(t), stat.extent);
    EXPECT_FALSE(CarothersGel(t).gels) << "KValue 1.033: more molecules than acid equivalents";
    // Stopped at acid value 40 the batch stays short of both.
    EXPECT_LT(ExtentAtTarget(worked(40)), StatisticalGel(worked(40)).extent);
    // A chart runs to the later of the target and the first gel point.
    EXPECT_DOUBLE_EQ(CourseEnd(t), ExtentAtTarget(t));
    EXPECT_DOUBLE_EQ(CourseEnd(worked(40)), StatisticalGel(worked(40)).extent);
    EXPECT_EQ(CourseEnd(TReactionTotals()), 0);
}

// Worked by hand: KValue 0.9, so Carothers' gel point is at 90 %, acid value 47.894; the
// statistical one at 100 sqrt(1/2) = 70.711 %, acid value 136.24.
TEST(ReactionCourse, BothPredictionsWhereTheRecipeBranches) {
    const TReactionTotals t = branched();
    const GelPoint carothers = CarothersGel(t), stat = StatisticalGel(t);
    ASSERT_TRUE(carothers.gels);
    ASSERT_TRUE(stat.gels);
    EXPECT_NEAR(carothers.extent, 0.9, 1e-12);
    EXPECT_NEAR(carothers.acidValue, 47.8941, 1e-4);
    EXPECT_NEAR(stat.extent, 0.707107, 1e-6);
    EXPECT_NEAR(stat.acidValue, 136.2402, 1e-4);
    EXPECT_NEAR(ExtentAtTarget(t), 0.979375, 1e-6);
}

TEST(ReactionCourse, NoGelWhereTheModelsPredictNone) {
    TReactionTotals mono = worked();
    mono.MonoEa = mono.WeightedEa = mono.TotalEa; // only fatty acids and oils as acids: no branching
    EXPECT_FALSE(StatisticalGel(mono).gels);
    TReactionTotals rich = worked();
    rich.TotalEb = 30; // PGel above 100
    EXPECT_GE(PGel(rich), 100);
    EXPECT_FALSE(StatisticalGel(rich).gels);
    const TReactionTotals empty;
    EXPECT_FALSE(CarothersGel(empty).gels);
    EXPECT_FALSE(StatisticalGel(empty).gels);
    EXPECT_EQ(ExtentAtTarget(empty), 0);
    const CoursePoint c = CourseAt(empty, 0.5);
    EXPECT_EQ(c.acidValue, 0);
    EXPECT_EQ(c.molMass, 0);
}

TEST(GelSafety, SaysWhichPredictionIsPassedAndByHowMuch) {
    const GelSafety danger = AssessGel(branched());
    EXPECT_EQ(danger.level, GelSafety::Level::Danger);
    EXPECT_EQ(danger.text, "Gels before the target: both gel points are reached, the statistical one at acid value "
                           "136.2 and Carothers' at 47.9; the target is 10.0");
    const GelSafety warning = AssessGel(worked());
    EXPECT_EQ(warning.level, GelSafety::Level::Warning);
    EXPECT_EQ(warning.text, "Gels before the target: the statistical gel point is reached at acid value 31.0, the "
                            "target is 8.0. Carothers' prediction gels nowhere (alkyd constant 1.033); real batches "
                            "usually gel between the two predictions.");
    const GelSafety safe = AssessGel(worked(40));
    EXPECT_EQ(safe.level, GelSafety::Level::Safe);
    EXPECT_EQ(safe.text, "Short of gel: the statistical gel point would come at acid value 31.0, 9.0 below the "
                         "target of 40.0");
    TReactionTotals mono = worked();
    mono.MonoEa = mono.WeightedEa = mono.TotalEa;
    EXPECT_EQ(AssessGel(mono).level, GelSafety::Level::Safe);
    EXPECT_EQ(AssessGel(mono).text, "Neither prediction gels this recipe.");
    EXPECT_EQ(AssessGel(TReactionTotals()).text, "");
}

// A chain of difunctional units never gels, however far it reacts; and the acid groups react no
// further than there are hydroxyl groups for them.
TEST(ReactionCourse, WhatCannotBranchOrRunsOutOfHydroxylDoesNotGel) {
    const TReactionTotals equal = linear(1, 1);
    EXPECT_NEAR(PGel(equal), 70.7107, 1e-4) << "the formula alone would have it gel";
    EXPECT_FALSE(StatisticalGel(equal).gels);
    EXPECT_FALSE(CarothersGel(equal).gels);
    EXPECT_EQ(AssessGel(equal).text, "Neither prediction gels this recipe.");

    // 2 mol acid, 1.5 mol glycol: the hydroxyl is gone at extent 0.75, where 1 equivalent of
    // acid is left in 451.46 - 54 g of resin: acid value 141.1. Carothers' 0.875 is never reached.
    const TReactionTotals acidic = linear(2, 1.5);
    EXPECT_DOUBLE_EQ(ExtentLimit(acidic), 0.75);
    EXPECT_FALSE(CarothersGel(acidic).gels);
    EXPECT_DOUBLE_EQ(CourseEnd(acidic), 0.75);
    EXPECT_EQ(AssessGel(acidic).level, GelSafety::Level::Unreachable);
    EXPECT_EQ(AssessGel(acidic).text,
              "The target acid value of 10.0 cannot be reached: the hydroxyl groups run out at acid value 141.1.");
    const std::vector<CourseRow> marks = CourseMarks(acidic);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].mark, "Hydroxyl used up");
    EXPECT_NEAR(marks[0].point.acidValue, 141.1463, 1e-4);
    // The acid alone: nothing to react with, from its charge's acid value 56100 x 2 / 146.14.
    const TReactionTotals acid = linear(1, 0);
    EXPECT_FALSE(CarothersGel(acid).gels) << "KValue 0.5, but no hydroxyl to get there";
    EXPECT_EQ(CourseEnd(acid), 0);
    EXPECT_EQ(AssessGel(acid).text,
              "The target acid value of 10.0 cannot be reached: the hydroxyl groups run out at acid value 767.8.");
}

TEST(ReactionCourse, ATargetNearOrAboveTheChargesAcidValue) {
    // Before the anhydride has opened the resin weighs its charge: the target is where the
    // course reads the typed acid value.
    const TReactionTotals early = worked(250);
    EXPECT_NEAR(CourseAt(early, ExtentAtTarget(early)).acidValue, 250, 1e-9);
    EXPECT_NEAR(ExtentAtTarget(early), 1 - 529.419 * 250 / 56100 / 3, 1e-12);
    // Above the charge's 317.9: nothing to cook towards, the chart runs to the gel point.
    const TReactionTotals above = worked(400);
    EXPECT_LT(ExtentAtTarget(above), 0);
    EXPECT_EQ(AssessGel(above).level, GelSafety::Level::Safe);
    EXPECT_EQ(AssessGel(above).text, "The target acid value of 400.0 lies above the charge's acid value of 317.9.");
    EXPECT_DOUBLE_EQ(CourseEnd(above), StatisticalGel(above).extent);
    TReactionTotals mono = above;
    mono.MonoEa = mono.WeightedEa = mono.TotalEa;
    EXPECT_EQ(CourseEnd(mono), 1) << "nor a gel point: the whole possible course";
}
