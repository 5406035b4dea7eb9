#include "ReactionCourse.h"

#include "Chemistry.h"
#include "ResinProperties.h"

#include <algorithm>
#include <cmath>

namespace {

using Chemistry::KOH;
using Chemistry::Water;

GelPoint gelAt(const TReactionTotals& t, double extent) {
    GelPoint g;
    g.gels = true;
    g.extent = extent;
    g.acidValue = CourseAt(t, extent).acidValue;
    return g;
}

} // namespace

CoursePoint CourseAt(const TReactionTotals& t, double extent) {
    CoursePoint c;
    c.extent = extent;
    c.freeAcid = (1 - extent) * t.TotalEa;
    // WaterMass counts one water per anhydride group, yet opening the ring gives none: until the
    // anhydride has opened nothing leaves the kettle, rather than a resin heavier than its charge.
    c.waterOff = std::max(0.0, t.WaterMass - Water * c.freeAcid);
    c.resinMass = t.TotalMass - c.waterOff;
    c.acidValue = c.resinMass > 0 ? KOH * c.freeAcid / c.resinMass : 0;
    c.molecules = t.TotalMoles - extent * t.TotalEa;
    c.molMass = c.molecules > 0 && c.resinMass > 0 ? c.resinMass / c.molecules : 0;
    return c;
}

double ExtentLimit(const TReactionTotals& t) {
    if (!(t.TotalEa > 0))
        return 0;
    return std::clamp(t.TotalEb / t.TotalEa, 0.0, 1.0);
}

GelPoint CarothersGel(const TReactionTotals& t) {
    const double k = KValue(t);
    if (!(k > 0) || !(k < 1) || k > ExtentLimit(t))
        return {};
    return gelAt(t, k);
}

double FloryStockmayerExtent(double ratio, double fwA, double fwB) {
    // Each side must carry more than one group a unit: two factors below zero make no network.
    if (!(fwA > 1) || !(fwB > 1))
        return 0;
    const double branching = ratio * (fwA - 1) * (fwB - 1);
    if (!(branching > 0) || !std::isfinite(branching))
        return 0;
    return 1 / std::sqrt(branching);
}

GelPoint StatisticalGel(const TReactionTotals& t) {
    if (!(t.BranchEq > 0) || !(t.TotalEa > 0) || !(t.TotalEb > 0))
        return {};
    const double p = FloryStockmayerExtent(t.TotalEa / t.TotalEb, t.WeightedEa / t.TotalEa,
                                           t.WeightedEb / t.TotalEb);
    if (!(p > 0) || !(p < 1) || p > ExtentLimit(t))
        return {};
    return gelAt(t, p);
}

double ExtentAtTarget(const TReactionTotals& t) {
    if (!(t.TotalEa > 0))
        return 0;
    double freeAcid = Yield(t) * t.TargetAV / KOH;
    // Before the anhydride has opened no water is off and the resin weighs its charge.
    if (Water * freeAcid > t.WaterMass)
        freeAcid = t.TotalMass * t.TargetAV / KOH;
    const double p = 1 - freeAcid / t.TotalEa;
    return std::isfinite(p) ? p : 0;
}

double CourseEnd(const TReactionTotals& t) {
    const double limit = ExtentLimit(t);
    double end = ExtentAtTarget(t);
    const GelPoint stat = StatisticalGel(t), carothers = CarothersGel(t);
    if (stat.gels || carothers.gels) {
        const double firstGel = !stat.gels ? carothers.extent
                                : !carothers.gels ? stat.extent
                                                  : std::min(stat.extent, carothers.extent);
        end = std::max(end, firstGel);
    }
    if (!(end > 0))
        end = limit;
    return std::clamp(end, 0.0, limit);
}
