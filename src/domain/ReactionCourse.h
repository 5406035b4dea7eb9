#pragma once

#include "ReactionTotals.h"

// The course of the cook as the recipe's totals predict it, for an extent p of the acid groups
// (0 <= p < 1): what is left of the acid, the resin and its molecules, and the water given off.
// At the extent reached at the target acid value these are Yield, WaterOff and MolMass.
struct CoursePoint {
    double extent = 0;
    double freeAcid = 0;  // acid equivalents still free
    double resinMass = 0;
    double acidValue = 0; // mg KOH/g
    double molecules = 0;
    double molMass = 0;   // 0 when no molecules are left
    double waterOff = 0;
};
CoursePoint CourseAt(const TReactionTotals& t, double extent);

// A prediction of the gel point: where it lies, or none.
struct GelPoint {
    bool gels = false;
    double extent = 0;
    double acidValue = 0; // the course's acid value there
};
// Carothers: the batch gels when as many acid groups have reacted as there were molecules, at the
// extent KValue; none at KValue 1 or above, nor past ExtentLimit.
GelPoint CarothersGel(const TReactionTotals& t);
// Statistical (Flory-Stockmayer) with the weight-average functionalities of both sides; none
// without a branching unit, at an extent of 1 or above, nor past ExtentLimit.
GelPoint StatisticalGel(const TReactionTotals& t);
// The extent of the acid groups at which a recipe gels by Flory and Stockmayer, where
// pA x pB x (fwA - 1) x (fwB - 1) = 1 and pB = pA x `ratio` (acid over hydroxyl equivalents);
// 0 where the product of the functionalities allows no gel. PGel is this with fwB 3.
double FloryStockmayerExtent(double ratio, double fwA, double fwB);
// The furthest the acid groups can react: all of them, or as many as there are hydroxyl groups.
double ExtentLimit(const TReactionTotals& t);
// The extent of reaction at the target acid value; 0 without acid. Negative when the target lies
// above the charge's acid value, beyond ExtentLimit when the hydroxyl runs out before it.
double ExtentAtTarget(const TReactionTotals& t);
// How far a chart of the course runs: to the later of the target and the first gel point, but
// not past ExtentLimit; the whole possible course when neither lies ahead.
double CourseEnd(const TReactionTotals& t);
