#pragma once

// The recipe as a whole: sums over its lines and the batch it is scaled to. One instance, always
// describing the current recipe.
struct TReactionTotals {
    double TotalMass = 0;
    double TotalMoles = 0; // an oil line counts four molecules
    double TotalEa = 0;
    double MonoEa = 0; // acid equivalents of oils and of monoacids
    double TotalEb = 0;
    double WaterMass = 0; // water if every carboxyl and anhydride group esterifies
    double TotalCost = 0;
    double OilMass = 0;
    double FattyAcidMass = 0;
    double TargetAV = 0;
    double BatchChargeTotal = 0;
    double BatchPercentTotal = 0;
    double BatchSize = 0;
    double SolidsPercent = 0;
};

inline TReactionTotals ReactionTotals;
