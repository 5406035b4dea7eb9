// Recipes totalled as values: no files, no window. The worked recipe of the formula tests, two
// recipes side by side, a candidate judged without being stored, the batch pass, and the one
// table of figures as the panels, the footers and the report write it.
#include "domain/Figures.h"
#include "domain/NumberFormat.h"
#include "domain/ResinProperties.h"
#include "domain/Totals.h"
#include "support/Materials.h"
#include "support/TempData.h"
#include "support/WorkedRecipe.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const MaterialList& library() {
    static const MaterialList list({material("ANH", MaterialType::Acid, 148.12, 0, 1, 0, 1.1),
                                    material("TRIOL", MaterialType::Base, 92.09, 0, 0, 3, 1.0),
                                    material("FA", MaterialType::FattyAcid, 280, 1, 0, 0, 1.6),
                                    material("SOY", MaterialType::Oil, 874, 0, 0, 0, 1.2),
                                    material("PE", MaterialType::Base, 136.15, 0, 0, 4, 1.75)});
    return list;
}

Line line(int item, const QString& code, double mass, double moles, std::optional<double> ea,
          std::optional<double> eb) {
    Line l;
    l.item = item;
    l.code = code;
    l.mass = mass;
    l.moles = moles;
    l.ea = ea;
    l.eb = eb;
    return l;
}

// The worked recipe: 1 mol anhydride, 1.1 mol glycerol, 1 mol fatty acid, to acid value 8.
Recipe worked() {
    Recipe r;
    r.header = {"Alkyd", "W1", "Worked", 8.0, 50.0, 1000.0, {}};
    r.lines = {line(1, "ANH", 148.12, 1, 2, std::nullopt), line(2, "TRIOL", 101.299, 1.1, std::nullopt, 3.3),
               line(3, "FA", 280, 1, 1, std::nullopt)};
    return r;
}

// A long-oil soya alkyd: 0.7437 mol soya oil, 0.9548 mol pentaerythritol, 1.4853 mol anhydride.
Recipe soya() {
    Recipe r;
    r.header = {"Alkyd", "LO", "Soya", 10.0, 60.0, 1000.0, {}};
    r.lines = {line(1, "SOY", 650, 0.7437070938215103, 2.231121281464531, 2.231121281464531),
               line(2, "PE", 130, 0.9548292324641938, std::nullopt, 3.8193169298567753),
               line(3, "ANH", 220, 1.4852822036186875, 2.970564407237375, std::nullopt)};
    return r;
}

std::string three(double v) { return NumberFormat::format(v, "0.000").toStdString(); }

} // namespace

TEST(Totals, TheWorkedRecipeAsAValueGivesTheFiguresWorkedByHand) {
    QLocale::setDefault(QLocale::c());
    const TReactionTotals t = totalsOf(worked(), library());
    const TReactionTotals hand = workedTotals();
    EXPECT_NEAR(t.TotalMass, hand.TotalMass, 1e-9);
    EXPECT_NEAR(t.TotalMoles, hand.TotalMoles, 1e-12);
    EXPECT_NEAR(t.TotalEa, hand.TotalEa, 1e-12);
    EXPECT_NEAR(t.MonoEa, hand.MonoEa, 1e-12);
    EXPECT_NEAR(t.TotalEb, hand.TotalEb, 1e-12);
    EXPECT_NEAR(t.WaterMass, hand.WaterMass, 1e-12);
    EXPECT_NEAR(t.BranchEq, hand.BranchEq, 1e-12);
    EXPECT_NEAR(t.WeightedEa, hand.WeightedEa, 1e-12);
    EXPECT_NEAR(t.WeightedEb, hand.WeightedEb, 1e-12);
    EXPECT_NEAR(t.OilMass, hand.OilMass, 1e-9);
    EXPECT_NEAR(t.FattyAcidMass, hand.FattyAcidMass, 1e-9);
    EXPECT_EQ(t.TargetAV, 8);
    EXPECT_EQ(three(Yield(t)), "494.689");
    EXPECT_EQ(three(KValue(t)), "1.033");
    EXPECT_EQ(three(PGel(t)), "90.830");
    EXPECT_EQ(three(OHN(t)), "42.021");
    EXPECT_NEAR(t.TotalCost, 148.12 * 1.1 + 101.299 * 1.0 + 280 * 1.6, 1e-9);
    // An oil: four molecules a mole, its mass less 93 g a mole as fatty acid, no water.
    const TReactionTotals o = totalsOf(soya(), library());
    EXPECT_NEAR(o.TotalMoles, 4 * 0.7437070938215103 + 0.9548292324641938 + 1.4852822036186875, 1e-12);
    EXPECT_NEAR(o.FattyAcidMass, 650 - 93 * 0.7437070938215103, 1e-9);
    EXPECT_NEAR(o.WaterMass, 18 * 1.4852822036186875, 1e-12) << "the anhydride's, not the oil's";
}

// Two recipes totalled side by side: neither disturbs the other, in whichever order.
TEST(Totals, TwoRecipesSideBySide) {
    const TReactionTotals a1 = totalsOf(worked(), library());
    const TReactionTotals b1 = totalsOf(soya(), library());
    const TReactionTotals a2 = totalsOf(worked(), library());
    EXPECT_EQ(a1.TotalMass, a2.TotalMass);
    EXPECT_EQ(a1.TotalMoles, a2.TotalMoles);
    EXPECT_EQ(KValue(a1), KValue(a2));
    EXPECT_NE(KValue(a1), KValue(b1));
    EXPECT_NEAR(KValue(b1), 1.041, 5e-4);
}

// A candidate is judged before anything is stored: more polyol raises the alkyd constant, and
// the recipe it came from keeps its own figures.
TEST(Totals, ACandidateIsJudgedWithoutBeingStored) {
    const Recipe recipe = worked();
    Recipe candidate = recipe;
    candidate.lines[1] = line(2, "TRIOL", 110.508, 1.2, std::nullopt, 3.6);
    const TReactionTotals before = totalsOf(recipe, library()), after = totalsOf(candidate, library());
    EXPECT_GT(KValue(after), KValue(before));
    EXPECT_NEAR(ExcessOH(after), 20, 1e-9);
    EXPECT_NEAR(ExcessOH(totalsOf(recipe, library())), 10, 1e-9);
    // A code the library has not: its line counts its amounts but no material.
    candidate.lines.push_back(line(4, "PX", 50, 0.5, 1, std::nullopt));
    const TReactionTotals unknown = totalsOf(candidate, library());
    EXPECT_NEAR(unknown.TotalMass, after.TotalMass + 50, 1e-9);
    EXPECT_NEAR(unknown.WaterMass, after.WaterMass, 1e-12) << "no functionality, no water";
}

// The batch pass: every line scaled through the yield, an empty figure where it is exactly 0,
// and nothing at all without a positive yield.
TEST(Totals, TheBatchScalesThroughTheYield) {
    Recipe r = worked();
    r.lines.push_back(line(4, "", 0, 0, std::nullopt, std::nullopt)); // a blank line
    const TReactionTotals t = totalsOf(r, library());
    const BatchScale b = batchOf(r, library(), t);
    ASSERT_EQ(b.lines.size(), 4u);
    const double y = Yield(t);
    EXPECT_NEAR(*b.lines[0].charge, 148.12 * 1000 / y, 1e-9);
    EXPECT_NEAR(*b.lines[2].percent, 280 * 50 / y, 1e-9);
    EXPECT_NEAR(*b.lines[1].cost, 101.299, 1e-12);
    EXPECT_FALSE(b.lines[3].charge.has_value());
    EXPECT_FALSE(b.lines[3].cost.has_value());
    EXPECT_NEAR(b.chargeTotal, 529.419 * 1000 / y, 1e-9);
    const TReactionTotals s = scaled(t, r.header, b);
    EXPECT_EQ(s.BatchSize, 1000);
    EXPECT_EQ(s.SolidsPercent, 50);
    EXPECT_NEAR(BatchWaterOff(s), 529.419 * 1000 / y - 1000, 1e-9);
    EXPECT_TRUE(batchOf(Recipe(), library(), totalsOf(Recipe(), library())).lines.empty());
}

// The one table of figures, as the main window and the report write it: the worked recipe, and
// a recipe without lines after a batch pass.
TEST(Figures, EveryPlaceWritesAFigureFromTheOneTable) {
    QLocale::setDefault(QLocale::c());
    const Recipe r = worked();
    const TReactionTotals t = scaled(totalsOf(r, library()), r.header, batchOf(r, library(), totalsOf(r, library())));
    EXPECT_EQ(figureOfPanel("PnlYield")->panelText(t), "494.69");
    EXPECT_EQ(figureOfPanel("PnlAVAtGel")->panelText(t), "-11.4");
    EXPECT_EQ(figureOfPanel("PnlPGel")->panelText(t), "90.8 %");
    EXPECT_EQ(figureOfPanel("PnlOHN")->panelText(t), "42");
    EXPECT_EQ(figureOfReportLabel("LblPGel")->reportText(t), "90.830");
    // One figure, three patterns: the panel's coarser than the footer's.
    const Figure* mass = figureOfPanel("PnlTotalMass");
    EXPECT_EQ(mass, figureOfFooter(LineColumn::Mass));
    EXPECT_EQ(mass, figureOfReportLabel("LblTMass"));
    EXPECT_EQ(mass->panelText(t), "529.42");
    EXPECT_EQ(mass->footerText(t), "529.419");
    EXPECT_EQ(mass->reportText(t), "529.419");

    const Recipe none{{"Alkyd", "E1", "", 8.0, 60.0, 1500.0, {}}, {}};
    const TReactionTotals e = scaled(totalsOf(none, library()), none.header, batchOf(none, library(), totalsOf(none, library())));
    int panels = 0;
    for (const Figure& f : figures()) {
        if (!f.panel)
            continue;
        ++panels;
        const QString shown = f.panelText(e);
        if (QString(f.panel) == "PnlMolMass")
            EXPECT_EQ(shown, "");
        else if (QString(f.panel) == "PnlBatchYield")
            EXPECT_EQ(shown, "1500.0");
        else if (QString(f.panel) == "PnlPercYield")
            EXPECT_EQ(shown, "60.00");
        else
            EXPECT_EQ(shown, NumberFormat::format(0, f.panelFormat) + f.panelSuffix) << f.panel;
    }
    EXPECT_EQ(panels, 20);
    QStringList footers;
    for (LineColumn c : {LineColumn::Mass, LineColumn::Moles, LineColumn::Ea, LineColumn::Eb, LineColumn::Charge,
                         LineColumn::Percent, LineColumn::Cost})
        footers << figureOfFooter(c)->footerText(e);
    EXPECT_EQ(footers.join(' '), "0.000 0.0000 0.0000 0.0000 0.00 0.000 0.00");
    EXPECT_EQ(figureOfPanel("PnlNothing"), nullptr);
}

TEST(MaterialTypes, TheStoredWordsAndNoOthers) {
    for (MaterialType type : materialTypes())
        EXPECT_EQ(materialTypeOf(materialTypeWord(type)), type);
    EXPECT_EQ(materialTypeOf("oil"), MaterialType::Other) << "the words are exact, letter case and all";
    EXPECT_EQ(materialTypeOf(""), MaterialType::Other);
    EXPECT_EQ(materialTypeWord(MaterialType::FattyAcid), "Fatty Acid");
    EXPECT_EQ(materialTypes().size(), 5);
}
