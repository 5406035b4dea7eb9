#pragma once

#include "TempData.h"
#include "domain/ReactionTotals.h"

// The worked recipe the tests figure by hand: 1 mol phthalic anhydride, 1.1 mol glycerol and
// 1 mol soya fatty acid, as recipe Alkyd/W1.
inline QString workedLibrary() {
    return TempData::material("ANH", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
           TempData::material("TRIOL", "Glycerol", "Base", 92.09, 0, 0, 3, 1.0) +
           TempData::material("FA", "Soya Fatty Acid", "Fatty Acid", 280, 1, 0, 0, 1.6);
}

// Its three lines with their amounts as typed.
inline QString workedLines() {
    return TempData::line("Alkyd", "W1", 1, "ANH", "148.12, 1, 2, NULL, NULL, NULL, NULL") +
           TempData::line("Alkyd", "W1", 2, "TRIOL", "101.299, 1.1, NULL, 3.3, NULL, NULL, NULL") +
           TempData::line("Alkyd", "W1", 3, "FA", "280, 1, 1, NULL, NULL, NULL, NULL");
}

// Its totals, with the target acid value 8.
inline TReactionTotals workedTotals() {
    TReactionTotals t;
    t.TotalMass = 529.419;
    t.TotalMoles = 3.1;
    t.TotalEa = 3;
    t.MonoEa = 1;
    t.TotalEb = 3.3;
    t.WaterMass = 36;
    t.BranchEq = 3.3; // the glycerol's
    t.WeightedEa = 2 * 2 + 1 * 1; // the anhydride's two carboxyls on one unit, the fatty acid's one
    t.WeightedEb = 3 * 3.3;       // a triol's
    t.OilMass = 292.7;
    t.FattyAcidMass = 280;
    t.TargetAV = 8;
    return t;
}
