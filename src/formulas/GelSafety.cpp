#include "GelSafety.h"

#include "ReactionCourse.h"
#include "components/NumberFormat.h"

namespace {

QString av(double value) { return NumberFormat::format(value, QStringLiteral("0.0")); }

} // namespace

GelSafety AssessGel(const TReactionTotals& t) {
    GelSafety s;
    const GelPoint stat = StatisticalGel(t), carothers = CarothersGel(t);
    const double target = ExtentAtTarget(t);
    if (!(t.TotalEa > 0) || (!stat.gels && !carothers.gels)) {
        if (t.TotalEa > 0)
            s.text = QStringLiteral("Neither prediction gels this recipe.");
        return s;
    }
    const bool pastStat = stat.gels && target >= stat.extent;
    const bool pastCarothers = carothers.gels && target >= carothers.extent;
    const QString targetText = av(t.TargetAV);
    if (pastStat && pastCarothers) {
        s.level = GelSafety::Level::Danger;
        s.text = QStringLiteral("Gels before the target: both gel points are reached, the statistical one at acid "
                                "value %1 and Carothers' at %2; the target is %3")
                     .arg(av(stat.acidValue), av(carothers.acidValue), targetText);
        return s;
    }
    if (pastStat || pastCarothers) {
        const GelPoint& passed = pastStat ? stat : carothers;
        s.level = GelSafety::Level::Warning;
        s.text = QStringLiteral("Gels before the target: the %1 gel point is reached at acid value %2, the target "
                                "is %3")
                     .arg(pastStat ? QStringLiteral("statistical") : QStringLiteral("Carothers"),
                          av(passed.acidValue), targetText);
        return s;
    }
    // Short of both: the margin to the nearer one.
    const GelPoint& nearer = !stat.gels ? carothers : !carothers.gels ? stat
                             : (stat.extent <= carothers.extent ? stat : carothers);
    s.text = QStringLiteral("Short of gel: the %1 gel point would come at acid value %2, %3 below the target of %4")
                 .arg(&nearer == &stat ? QStringLiteral("statistical") : QStringLiteral("Carothers"),
                      av(nearer.acidValue), av(t.TargetAV - nearer.acidValue), targetText);
    return s;
}
