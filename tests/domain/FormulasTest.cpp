#include "domain/NumberFormat.h"
#include "domain/LineConversions.h"
#include "domain/EditableAmounts.h"
#include "domain/ResinProperties.h"
#include "support/WorkedRecipe.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace LineConversions;

namespace {
// A type as the library file writes it, read at the store's edge.
MaterialType word(const char* stored) { return materialTypeOf(QString::fromLatin1(stored)); }
} // namespace

namespace {

TEST(LineConversions, FollowTheOilRuleAndTheirOwnGuards) {
    EXPECT_DOUBLE_EQ(MolesFromMass(296.24, 148.12), 2);
    EXPECT_EQ(MolesFromMass(100, 0), 0);
    EXPECT_EQ(MolesFromMass(100, -5), 0);
    EXPECT_DOUBLE_EQ(MassFromMoles(0.5, 92.09), 46.045);
    EXPECT_EQ(MassFromMoles(2, 0), 0);
    EXPECT_DOUBLE_EQ(MassFromMoles(-1, 10), -10); // mass conversions test only the molecular mass

    EXPECT_DOUBLE_EQ(EaFromMoles(word("Acid"), 2, 0, 1), 4);
    EXPECT_DOUBLE_EQ(EaFromMoles(word("Oil"), 0.5, 0, 0), 1.5);
    EXPECT_EQ(EaFromMoles(word("Oil"), 0, 0, 0), 0);
    EXPECT_EQ(EaFromMoles(word("Acid"), -1, 2, 0), 0); // moles to equivalents test the moles
    EXPECT_DOUBLE_EQ(EbFromMoles(word("Base"), 0.5, 3), 1.5);
    EXPECT_DOUBLE_EQ(EbFromMoles(word("Oil"), 0.5, 0), 1.5);
    EXPECT_DOUBLE_EQ(EbFromMoles(word("oil"), 0.5, 0), 0) << "only the exact type Oil is an oil";

    EXPECT_DOUBLE_EQ(MolesFromEa(word("Oil"), 3, 0, 0), 1);
    EXPECT_DOUBLE_EQ(MolesFromEa(word("Acid"), -4, 0, 1), -2); // no test of the sign of the source
    EXPECT_EQ(MolesFromEa(word("Base"), 3, 0, 0), 0);
    EXPECT_DOUBLE_EQ(MolesFromEb(word("Oil"), 3, 0), 1);
    EXPECT_EQ(MolesFromEb(word("Acid"), 3, 0), 0);
}

TEST(LineConversions, ZeroSumFunctionalitiesGiveNoMolesInsteadOfDividingByZero) {
    EXPECT_EQ(MolesFromEa(word("Acid"), 3, 2, -1), 0);  // 2 + 2 x (-1) = 0
    EXPECT_EQ(MolesFromEa(word("Oil"), 3, -1, -1), 0);  // 3 - 1 - 2 = 0
    EXPECT_EQ(MolesFromEb(word("Oil"), 3, -3), 0);      // 3 - 3 = 0
    EXPECT_DOUBLE_EQ(MolesFromEa(word("Acid"), 3, 1, -1), -3); // a negative sum still divides
}

// Anhydride 148.12 g (1 mol, Ea 2), triol 101.299 g (1.1 mol, Eb 3.3), fatty acid 280 g
// (1 mol, Ea 1), target acid value 8.
TReactionTotals workedExample() { return workedTotals(); }

std::string three(double v) { return NumberFormat::format(v, "0.000").toStdString(); }

TEST(ResinProperties, ReproduceTheWorkedExample) {
    const TReactionTotals t = workedExample();
    EXPECT_EQ(three(Yield(t)), "494.689");
    EXPECT_EQ(three(KValue(t)), "1.033");
    EXPECT_EQ(three(FAv(t)), "1.935");
    EXPECT_EQ(three(PGel(t)), "90.830");
    EXPECT_EQ(three(AVAtGel(t)), "-11.382");
    EXPECT_EQ(three(WaterOff(t)), "34.730");
    EXPECT_EQ(three(OilLength(t)), "59.169");
    EXPECT_EQ(three(PercFA(t)), "56.601");
    EXPECT_EQ(three(ExcessOH(t)), "10.000");
    EXPECT_EQ(three(OHN(t)), "42.021");
    EXPECT_EQ(three(PercOH(t)), "1.273");
    // Independently worked: 494.689 / (494.689 x 8 / 56100 + 0.1) and 56100 / 42.021.
    EXPECT_NEAR(MolMass(t), 494.6890 / (494.6890 * 8 / 56100 + 0.1), 0.01);
    EXPECT_NEAR(OHEqvMass(t), 56100 / 42.0214, 0.01);
}

TEST(ResinProperties, AllZeroTotalsGiveZeroEverywhere) {
    const TReactionTotals t;
    for (double v : {KValue(t), FAv(t), PGel(t), AVAtGel(t), Yield(t), WaterOff(t), OilLength(t),
                     PercFA(t), ExcessOH(t), OHN(t), MolMass(t), CostPerMass(t), OHEqvMass(t),
                     PercOH(t), BatchWaterOff(t), PercentWaterOff(t)})
        EXPECT_EQ(v, 0);
}

TEST(ResinProperties, GuardsGiveZero) {
    TReactionTotals t = workedExample();
    t.MonoEa = t.TotalEa; // only monofunctional acids: no gel point
    EXPECT_EQ(PGel(t), 0);

    t = workedExample();
    t.TotalMoles = t.TotalEa; // KValue 1
    EXPECT_EQ(MolMass(t), 0);
    EXPECT_EQ(AVAtGel(t), 0);

    t = workedExample();
    t.TotalEb = 2; // hydroxyl deficit
    EXPECT_LT(ExcessOH(t), 0);
    EXPECT_LE(OHN(t), 0);
    EXPECT_EQ(OHEqvMass(t), 0);
    EXPECT_EQ(PercOH(t), 0);

    t = workedExample();
    t.TargetAV = 0;
    EXPECT_DOUBLE_EQ(Yield(t), t.TotalMass - t.WaterMass);
    EXPECT_DOUBLE_EQ(OHN(t), 56100 * 0.3 / Yield(t));

    t.BatchChargeTotal = 0;
    t.BatchSize = 1000;
    EXPECT_EQ(BatchWaterOff(t), 0);
    t.BatchChargeTotal = 1070.5;
    EXPECT_DOUBLE_EQ(BatchWaterOff(t), 70.5);
    t.BatchPercentTotal = 0;
    EXPECT_EQ(PercentWaterOff(t), 0);
}

TEST(ResinProperties, OpenDivisorsGiveZeroNotInfinity) {
    TReactionTotals t = workedExample();
    t.TargetAV = 56100.0 / 18; // no resin left at this acid value
    EXPECT_EQ(Yield(t), 0);
    t.TargetAV = 5000;
    EXPECT_EQ(Yield(t), 0);
    for (double v : {AVAtGel(t), WaterOff(t), OilLength(t), PercFA(t), OHN(t), MolMass(t),
                     CostPerMass(t), OHEqvMass(t), PercOH(t)})
        EXPECT_TRUE(std::isfinite(v));

    t = workedExample();
    t.WaterMass = t.TotalMass; // Yield exactly 0
    t.TotalCost = 100;
    EXPECT_EQ(CostPerMass(t), 0);

    t = workedExample();
    t.TotalEb = -3; // typed by hand: the square root of a negative ratio
    EXPECT_EQ(PGel(t), 0);

    t = workedExample();
    t.TargetAV = -56100.0 * 0.1 / Yield(t) / 1.0; // makes MolMass's divisor 0
    EXPECT_TRUE(std::isfinite(MolMass(t)));
}

// Which amounts a line's material lets the user type: "M" mass, "m" moles, "a" acid and "b"
// hydroxyl equivalents, "-" a locked one.
TEST(EditableAmounts, FollowTheMaterialsGroups) {
    struct Case {
        const char* type;
        double fa, fan, fb;
        const char* open;
    };
    const Case cases[] = {
        {"Acid", 2, 0, 0, "Mma-"},       {"Acid", 0, 1, 0, "Mma-"},  {"Base", 0, 0, 3, "Mm-b"},
        {"Amphoteric", 1, 0, 2, "Mmab"}, {"Oil", 0, 0, 0, "Mmab"},   {"oil", 0, 0, 0, "----"},
        {"", 0, 0, 0, "----"},           {"Base", 0, 0, -1, "----"}, {"Acid", 1e-9, 0, 0, "Mma-"},
    };
    for (const Case& c : cases) {
        const EditableAmounts e = editableAmounts(word(c.type), c.fa, c.fan, c.fb);
        const std::string open = std::string(e.mass ? "M" : "-") + (e.moles ? "m" : "-") +
                                 (e.ea ? "a" : "-") + (e.eb ? "b" : "-");
        EXPECT_EQ(open, c.open) << c.type << " " << c.fa << "/" << c.fan << "/" << c.fb;
    }
}

} // namespace
