#include "ResinProperties.h"

#include "Chemistry.h"

#include <cmath>

namespace {

constexpr long double KOH = Chemistry::KOH;
constexpr long double Water = Chemistry::Water;

// Intermediate arithmetic in the wider type; a zero divisor or a result that is not a number
// gives 0, so that nothing but a number ever reaches the display.
double finite(long double v) {
    const double d = double(v);
    return std::isfinite(d) ? d : 0;
}
long double over(long double a, long double b) { return b == 0 ? 0 : a / b; }

} // namespace

double KValue(const TReactionTotals& t) {
    return t.TotalEa > 0 ? finite((long double)t.TotalMoles / t.TotalEa) : 0;
}

double FAv(const TReactionTotals& t) {
    return t.TotalMoles > 0 ? finite(2 * (long double)t.TotalEa / t.TotalMoles) : 0;
}

double PGel(const TReactionTotals& t) {
    if (!(FAv(t) > 0) || !(t.TotalEa > 0) || !(t.TotalEa > t.MonoEa))
        return 0;
    const long double ratio = (long double)t.TotalEb / t.TotalEa;
    const long double branching = 2 * (1 - (long double)t.MonoEa / t.TotalEa);
    // A negative hydroxyl total (typed by hand) has no gel point.
    return finite(100 * std::sqrt(over(ratio, branching)));
}

double AVAtGel(const TReactionTotals& t) {
    if (!(Yield(t) > 0) || !(t.TotalEa > 0) || !(t.TotalMoles > 0))
        return 0;
    const long double d = (long double)t.TotalEa - t.TotalMoles;
    return finite(over(KOH * d, Yield(t) + Water * d));
}

double Yield(const TReactionTotals& t) {
    if (!(t.TotalMass > 0))
        return 0;
    const long double retained = 1 - Water * t.TargetAV / KOH;
    // At an acid value of 56100/18 and above no resin is left to weigh; the tolerance takes in
    // the rounding of an acid value typed as that very figure.
    if (!(retained > 1e-12L))
        return 0;
    return finite(((long double)t.TotalMass - t.WaterMass) / retained);
}

double WaterOff(const TReactionTotals& t) {
    return t.TotalMass > 0 ? finite((long double)t.TotalMass - Yield(t)) : 0;
}

double OilLength(const TReactionTotals& t) {
    return Yield(t) > 0 ? finite(100 * (long double)t.OilMass / Yield(t)) : 0;
}

double PercFA(const TReactionTotals& t) {
    return Yield(t) > 0 ? finite((long double)t.FattyAcidMass / Yield(t) * 100) : 0;
}

double ExcessOH(const TReactionTotals& t) {
    return t.TotalEa > 0 ? finite(((long double)t.TotalEb / t.TotalEa - 1) * 100) : 0;
}

double OHN(const TReactionTotals& t) {
    if (!(Yield(t) > 0))
        return 0;
    return finite(KOH * ((long double)t.TotalEb - t.TotalEa) / Yield(t) + t.TargetAV);
}

double MolMass(const TReactionTotals& t) {
    if (!(t.TotalMoles > t.TotalEa))
        return 0;
    const long double y = Yield(t);
    return finite(over(y, y * t.TargetAV / KOH + t.TotalMoles - t.TotalEa));
}

double CostPerMass(const TReactionTotals& t) {
    if (!(t.TotalMass > 0) || !(t.TotalCost > 0))
        return 0;
    return finite(over(t.TotalCost, Yield(t)));
}

double OHEqvMass(const TReactionTotals& t) { return OHN(t) > 0 ? finite(KOH / OHN(t)) : 0; }

double PercOH(const TReactionTotals& t) {
    return OHEqvMass(t) > 0 ? finite((long double)Chemistry::HydroxylPercent / OHEqvMass(t)) : 0;
}

double BatchWaterOff(const TReactionTotals& t) {
    return t.BatchChargeTotal > 0 ? finite((long double)t.BatchChargeTotal - t.BatchSize) : 0;
}

double PercentWaterOff(const TReactionTotals& t) {
    return t.BatchPercentTotal > 0 ? finite((long double)t.BatchPercentTotal - t.SolidsPercent) : 0;
}
