#pragma once

// The recipe as a whole: sums over its lines and the batch it is scaled to.
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
    // Each side's equivalents weighted by the functionality f of the unit that carries them
    // (the sum of f squared times the units): divided by TotalEa and TotalEb they give the
    // weight-average functionalities that decide the statistical gel point. An oil is three
    // monoacids and one triol, its glycerol; a hydroxy acid counts on both sides.
    double WeightedEa = 0;
    double WeightedEb = 0;
    double TotalCost = 0;
    double OilMass = 0;
    double FattyAcidMass = 0;
    double TargetAV = 0;
    double BatchChargeTotal = 0;
    double BatchPercentTotal = 0;
    double BatchSize = 0;
    double SolidsPercent = 0;
};
