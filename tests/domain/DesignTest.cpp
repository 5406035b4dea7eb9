// Designing a recipe from its targets, on recipes worked by hand in the program's conventions:
// an oil is four molecules of three acid and three hydroxyl equivalents a mole, a fatty acid's
// oil mass is its mass plus 12.7 per acid equivalent, and a non-oil gives off 18 of water per
// carboxyl and per anhydride group.
#include "domain/Design.h"
#include "domain/ResinProperties.h"
#include "domain/Totals.h"
#include "support/Materials.h"

#include <gtest/gtest.h>

namespace {

const MaterialList& library() {
    static const MaterialList list({
        material("LSO", MaterialType::Oil, 879, 0, 0, 0, 0, "Linseed Oil"),
        material("SOY", MaterialType::Oil, 874, 0, 0, 0, 0, "Soya Oil"),
        material("PA", MaterialType::Acid, 148.12, 0, 1, 0, 0, "Phthalic Anhydride"),
        material("GLY", MaterialType::Base, 92.09, 0, 0, 3, 0, "Glycerol"),
        material("PE", MaterialType::Base, 136.15, 0, 0, 4, 0, "Pentaerythritol"),
        material("TOFA", MaterialType::FattyAcid, 280, 1, 0, 0, 0, "Tall Oil Fatty Acid"),
        material("BA", MaterialType::Acid, 122.12, 1, 0, 0, 0, "Benzoic Acid"),
        material("NOMW", MaterialType::Base, 0, 0, 0, 2, 0, "Unweighed Polyol"),
        material("XYL", MaterialType::Other, 106.17, 0, 0, 0, 0, "Xylene"),
    });
    return list;
}

Recipe recipeOf(std::initializer_list<std::pair<const char*, double>> lines, double av = 0) {
    Recipe r = newRecipe("Alkyd", "D1");
    r.header.av = av;
    int item = 0;
    for (const auto& [code, mass] : lines) {
        const QString c = QString::fromLatin1(code);
        Line l;
        l.item = ++item;
        l.code = c;
        if (mass > 0)
            l = lineOfMass(l, library().find(c), mass);
        r.lines.push_back(l);
    }
    return r;
}

DesignRequest request(std::optional<double> oilLength, std::optional<double> excessOH, std::optional<double> k,
                      std::optional<double> charge, std::vector<bool> fixed = {}) {
    return {std::move(fixed), {oilLength, excessOH, k, charge}};
}

double moles(const Design& d, int pos) { return value(d.recipe.lines[size_t(pos)].moles); }

// The classic hand calculation of the alkyd textbooks: per equivalent of phthalic anhydride, an
// oil alkyd of 55 % oil length at an alkyd constant of 1 takes 0.137 mol oil and 0.363 mol
// glycerol.
TEST(Design, AnOilAlkydMatchesTheTextbooksHandCalculation) {
    const Recipe recipe = recipeOf({{"LSO", 0}, {"PA", 0}, {"GLY", 0}});
    const Design d = designRecipe(recipe, library(), request(55, std::nullopt, 1.0, 1000));
    ASSERT_TRUE(d.solved) << d.message.toStdString();
    const double paEquivalents = value(d.recipe.lines[1].ea);
    EXPECT_NEAR(moles(d, 0) / paEquivalents, 0.137, 0.0005);
    EXPECT_NEAR(moles(d, 1) / paEquivalents, 0.5, 1e-12);
    EXPECT_NEAR(moles(d, 2) / paEquivalents, 0.363, 0.0005);
    // The targets are reached by the totals pass itself, to the last digit shown and beyond.
    EXPECT_NEAR(OilLength(d.totals), 55, 1e-9);
    EXPECT_NEAR(KValue(d.totals), 1, 1e-12);
    EXPECT_NEAR(d.totals.TotalMass, 1000, 1e-9);
    // Worked by hand from the solved moles: K = (4 oil + PA + glycerol) / (3 oil + 2 PA).
    const double oil = moles(d, 0), pa = moles(d, 1), gly = moles(d, 2);
    EXPECT_NEAR((4 * oil + pa + gly) / (3 * oil + 2 * pa), 1, 1e-12);
    EXPECT_NEAR(100 * 879 * oil / (879 * oil + 148.12 * pa + 92.09 * gly - 18 * pa), 55, 1e-9);
    // Designing totals a candidate: the recipe given is as it was.
    EXPECT_FALSE(recipe.lines[0].mass.has_value());
}

TEST(Design, AFattyAcidAlkydOfFourFreeLinesMeetsAllFourConditions) {
    const Recipe recipe = recipeOf({{"TOFA", 400}, {"PA", 250}, {"PE", 150}, {"BA", 30}}, 10);
    const Design d = designRecipe(recipe, library(), request(45, 8, 1.05, 1200));
    ASSERT_TRUE(d.solved) << d.message.toStdString();
    EXPECT_NEAR(OilLength(d.totals), 45, 1e-9);
    EXPECT_NEAR(ExcessOH(d.totals), 8, 1e-9);
    EXPECT_NEAR(KValue(d.totals), 1.05, 1e-12);
    EXPECT_NEAR(d.totals.TotalMass, 1200, 1e-9);
    // The fatty acid's oil mass counts its triglyceride's glycerol, at the header's acid value.
    const Line& fa = d.recipe.lines[0];
    const double yield = (d.totals.TotalMass - d.totals.WaterMass) / (1 - 18 * 10 / 56100.0);
    EXPECT_NEAR(100 * (value(fa.mass) + 12.7 * value(fa.ea)) / yield, 45, 1e-9);
    ASSERT_EQ(d.masses.size(), 4u);
    for (double m : d.masses)
        EXPECT_GT(m, 0);
    // The designed recipe totals as one typed by hand with the same masses.
    Recipe typed = recipe;
    for (size_t i = 0; i < typed.lines.size(); ++i)
        typed.lines[i] = lineOfMass(typed.lines[i], library().find(typed.lines[i].code), d.masses[i]);
    EXPECT_EQ(OilLength(totalsOf(typed, library())), OilLength(d.totals));
}

TEST(Design, AFixedLineKeepsItsMassAndTheOthersAreWorkedOutAroundIt) {
    const Recipe recipe = recipeOf({{"LSO", 100}, {"BA", 20}, {"PA", 100}, {"GLY", 50}});
    const Design d = designRecipe(recipe, library(), request(50, std::nullopt, 1.0, 500, {false, true}));
    ASSERT_TRUE(d.solved) << d.message.toStdString();
    EXPECT_EQ((std::vector<int>{0, 2, 3}), d.freeLines);
    EXPECT_EQ(value(d.recipe.lines[1].mass), 20);
    EXPECT_EQ(value(d.recipe.lines[1].moles), value(recipe.lines[1].moles));
    EXPECT_NEAR(OilLength(d.totals), 50, 1e-9);
    EXPECT_NEAR(KValue(d.totals), 1, 1e-12);
    EXPECT_NEAR(d.totals.TotalMass, 500, 1e-9);
}

// Goal seek: one line free, one condition. Glycerol for 10 % excess hydroxyl over a fixed oil and
// anhydride: 3 g = 1.1 (3 oil + 2 PA) - 3 oil, in moles.
TEST(Design, OneFreeLineReachesOneTargetAsAGoalSeekWould) {
    const Recipe recipe = recipeOf({{"LSO", 300}, {"PA", 150}, {"GLY", 60}});
    const Design d = designRecipe(recipe, library(), request(std::nullopt, 10, std::nullopt, std::nullopt,
                                                             {true, true, false}));
    ASSERT_TRUE(d.solved) << d.message.toStdString();
    const double oil = 300 / 879.0, pa = 150 / 148.12;
    EXPECT_NEAR(d.masses.at(0), (1.1 * (3 * oil + 2 * pa) - 3 * oil) / 3 * 92.09, 1e-9);
    EXPECT_NEAR(ExcessOH(d.totals), 10, 1e-9);
}

TEST(Design, ConditionsThatCannotFixTheMassesAreSaidInWords) {
    // No line carries oil: an oil length has nothing to be made of.
    Design d = designRecipe(recipeOf({{"PA", 100}, {"GLY", 60}}), library(), request(50, std::nullopt, std::nullopt, 500));
    EXPECT_FALSE(d.solved);
    EXPECT_EQ(d.message, "Oil Length and Total Charge cannot both be set with these lines: no line carries oil.");
    // Two oils: each adds to the oil length exactly as to the charge.
    d = designRecipe(recipeOf({{"LSO", 100}, {"SOY", 100}}), library(), request(60, std::nullopt, std::nullopt, 500));
    EXPECT_FALSE(d.solved);
    EXPECT_EQ(d.message, "Oil Length and Total Charge cannot both be set with these lines: with these materials, "
                         "one follows from the other. Uncheck one of them and fix a line.");
    // No acid groups anywhere for a constant to count.
    d = designRecipe(recipeOf({{"GLY", 100}, {"PE", 60}}), library(), request(std::nullopt, std::nullopt, 1.0, 500));
    EXPECT_EQ(d.message, "Paton's Constant cannot be set with these lines: no line carries acid groups.");
    // Nothing sets the batch's size.
    d = designRecipe(recipeOf({{"LSO", 0}, {"PA", 0}, {"GLY", 0}}), library(), request(55, 10, 1.0, std::nullopt));
    EXPECT_EQ(d.message, "Nothing sets the size of the batch: check Total Charge, or fix a line that has its mass.");
    EXPECT_TRUE(d.masses.empty());
}

// A line whose material carries no groups (a solvent) has no mass to design, as the grid takes
// none typed: it counts as it stands.
TEST(Design, ALineOfNoGroupsCountsAsItStands) {
    const Recipe recipe = recipeOf({{"LSO", 0}, {"XYL", 40}, {"PA", 0}, {"GLY", 0}});
    const Design d = designRecipe(recipe, library(), request(55, std::nullopt, 1.0, 1000));
    ASSERT_TRUE(d.solved) << d.message.toStdString();
    EXPECT_EQ((std::vector<int>{0, 2, 3}), d.freeLines);
    EXPECT_EQ(value(d.recipe.lines[1].mass), 40);
    EXPECT_NEAR(d.totals.TotalMass, 1000, 1e-9) << "the solvent's mass is part of the charge";
    EXPECT_NEAR(OilLength(d.totals), 55, 1e-9);
}

// Three conditions of which no two are alike, yet together they leave the masses open: at an
// alkyd constant of 4/3 an oil adds nothing to the constant's balance, and two oils differ in
// nothing else the conditions see.
TEST(Design, ConditionsThatTogetherLeaveTheMassesOpenAreSaidToDependOnOneAnother) {
    const Design d = designRecipe(recipeOf({{"LSO", 0}, {"SOY", 0}, {"PA", 0}}), library(),
                                  request(50, std::nullopt, 4.0 / 3, 1000));
    EXPECT_FALSE(d.solved);
    EXPECT_EQ(d.message, "These conditions do not fix the masses of these lines: with these materials, they depend "
                         "on one another. Check other conditions or fix other lines.");
}

TEST(Design, TargetsNoPositiveMassesReachAreRefusedNamingTheLine) {
    // 95 % oil at an alkyd constant of 1 would take the glycerol below nothing.
    const Design d = designRecipe(recipeOf({{"LSO", 0}, {"PA", 0}, {"PE", 0}}), library(),
                                  request(95, std::nullopt, 1.0, 1000));
    EXPECT_FALSE(d.solved);
    EXPECT_TRUE(d.message.startsWith("Line 3, PE (Pentaerythritol), would need a negative mass (-"))
        << d.message.toStdString();
    EXPECT_TRUE(d.message.endsWith("): these targets cannot be reached with these materials."));
    EXPECT_TRUE(d.masses.empty());
    EXPECT_FALSE(d.recipe.lines[2].mass.has_value()) << "the recipe is given back as it was";
    // A mass beyond what a line holds is as far out of reach.
    DesignRequest big = request(55, std::nullopt, 1.0, 400000);
    big.maxMass = 100000;
    const Design over = designRecipe(recipeOf({{"LSO", 0}, {"PA", 0}, {"GLY", 0}}), library(), big);
    EXPECT_FALSE(over.solved);
    EXPECT_TRUE(over.message.startsWith("Line 1, LSO (Linseed Oil), would need a mass of 2"))
        << over.message.toStdString();
    EXPECT_TRUE(over.message.endsWith(", more than a line holds (100000): these targets cannot be reached with "
                                      "these materials."));
}

// A target no recipe can have is said of the target, not blamed on the line it would drive
// below nothing.
TEST(Design, TargetsNoRecipeHasAreNamed) {
    const Recipe recipe = recipeOf({{"LSO", 0}, {"PA", 0}, {"GLY", 0}});
    EXPECT_EQ(designRecipe(recipe, library(), request(55, std::nullopt, 0, 1000)).message,
              "Paton's Constant must be more than 0.");
    EXPECT_EQ(designRecipe(recipe, library(), request(55, std::nullopt, 1.0, -500)).message,
              "Total Charge must be more than 0.");
    EXPECT_EQ(designRecipe(recipe, library(), request(100, std::nullopt, 1.0, 1000)).message,
              "Oil Length (%) must be at least 0 and less than 100.");
    EXPECT_EQ(designRecipe(recipe, library(), request(std::nullopt, -100, 1.0, 1000)).message,
              "Excess OH (%) must be more than -100.");
}

TEST(Design, TheCountOfConditionsAndWhatFreeLinesNeedAreChecked) {
    const Recipe recipe = recipeOf({{"LSO", 0}, {"PA", 0}, {"GLY", 0}, {"PE", 0}, {"", 0}});
    Design d = designRecipe(recipe, library(), request(55, std::nullopt, 1.0, 1000));
    EXPECT_EQ(d.message, "4 free lines need 4 conditions; 3 are checked. Check another condition or fix a line.");
    EXPECT_EQ(d.freeLines.size(), 4u) << "the line without a material is ignored";
    d = designRecipe(recipe, library(), request(55, 10, 1.0, 1000, {true, true, true}));
    EXPECT_EQ(d.message, "1 free line needs 1 condition; 4 are checked. Uncheck a condition or free a line.");
    d = designRecipe(recipeOf({{"LSO", 0}, {"PA", 0}}), library(), request(55, 10, 1.0, 1000));
    EXPECT_EQ(d.message, "2 free lines need 2 conditions; 4 are checked. Uncheck a condition.")
        << "no line is fixed to free";
    d = designRecipe(recipe, library(), request(std::nullopt, std::nullopt, std::nullopt, std::nullopt));
    EXPECT_EQ(d.message, "4 free lines need 4 conditions; none is checked. Check a condition or fix a line.");
    d = designRecipe(recipe, library(), request(std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                                {true, true, false, true}));
    EXPECT_EQ(d.message, "1 free line needs 1 condition; none is checked. Check a condition.");
    d = designRecipe(recipe, library(), request(55, 10, 1.0, 1000, {true, true, true, true}));
    EXPECT_EQ(d.message, "No line is free: clear Fixed on the lines whose masses are to be designed.");
    d = designRecipe(recipeOf({{"", 0}}), library(), request(55, 10, 1.0, 1000));
    EXPECT_EQ(d.message, "The recipe has no line with a material: put the materials into the recipe first.");
    d = designRecipe(recipeOf({{"PA", 100}, {"NOMW", 0}}), library(), request(std::nullopt, 10, std::nullopt, 500));
    EXPECT_EQ(d.message, "Line 2, NOMW (Unweighed Polyol), has no molecular mass in the library: its mass cannot "
                         "be designed. Mark the line Fixed, or give the material its molecular mass.");
}

} // namespace
