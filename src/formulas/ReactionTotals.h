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
    // Acid and hydroxyl equivalents on units of more than two groups (and on oils, whose glycerol
    // is one): without them the recipe cannot branch, and so cannot gel.
    double BranchEq = 0;
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
