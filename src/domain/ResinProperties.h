#pragma once

#include "ReactionTotals.h"

// The resin's properties as functions of the recipe totals. Each is 0 when one of its guards
// fails, and 0 instead of an infinity or a NaN where a divisor the guards leave open is zero.
double KValue(const TReactionTotals& t);
double FAv(const TReactionTotals& t);
double PGel(const TReactionTotals& t);
double AVAtGel(const TReactionTotals& t);
double Yield(const TReactionTotals& t);
double WaterOff(const TReactionTotals& t);
double OilLength(const TReactionTotals& t);
double PercFA(const TReactionTotals& t);
double ExcessOH(const TReactionTotals& t);
double OHN(const TReactionTotals& t);
double MolMass(const TReactionTotals& t);
double CostPerMass(const TReactionTotals& t);
double OHEqvMass(const TReactionTotals& t);
double PercOH(const TReactionTotals& t);
double BatchWaterOff(const TReactionTotals& t);
double PercentWaterOff(const TReactionTotals& t);
