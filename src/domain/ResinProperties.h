#pragma once

#include "ReactionTotals.h"

// The resin's properties as functions of the recipe totals. Each is 0 when one of its guards
// fails, and 0 instead of an infinity or a NaN where a divisor the guards leave open is zero.
// The overloads without arguments read the shared ReactionTotals.
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

inline double KValue() { return KValue(ReactionTotals); }
inline double FAv() { return FAv(ReactionTotals); }
inline double PGel() { return PGel(ReactionTotals); }
inline double AVAtGel() { return AVAtGel(ReactionTotals); }
inline double Yield() { return Yield(ReactionTotals); }
inline double WaterOff() { return WaterOff(ReactionTotals); }
inline double OilLength() { return OilLength(ReactionTotals); }
inline double PercFA() { return PercFA(ReactionTotals); }
inline double ExcessOH() { return ExcessOH(ReactionTotals); }
inline double OHN() { return OHN(ReactionTotals); }
inline double MolMass() { return MolMass(ReactionTotals); }
inline double CostPerMass() { return CostPerMass(ReactionTotals); }
inline double OHEqvMass() { return OHEqvMass(ReactionTotals); }
inline double PercOH() { return PercOH(ReactionTotals); }
inline double BatchWaterOff() { return BatchWaterOff(ReactionTotals); }
inline double PercentWaterOff() { return PercentWaterOff(ReactionTotals); }
