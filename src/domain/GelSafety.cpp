#include "GelSafety.h"

#include "ReactionCourse.h"
#include "ResinProperties.h"
#include "domain/NumberFormat.h"

#include <algorithm>

namespace {

QString av(double value) { return NumberFormat::format(value, QStringLiteral("0.0")); }

const QString Between = QStringLiteral("real batches usually gel between the two predictions.");

// What the prediction that was not passed says, to set beside the one that was.
QString otherPrediction(const QString& name, const GelPoint& other, const TReactionTotals& t) {
    if (other.gels)
        return QStringLiteral("%1 gel point would come only at acid value %2, past the target; ")
                   .arg(name, av(other.acidValue)) + Between;
    if (name.startsWith(QLatin1String("Carothers")) && KValue(t) >= 1)
        return QStringLiteral("%1 prediction gels nowhere (alkyd constant %2); ")
                   .arg(name, NumberFormat::format(KValue(t), QStringLiteral("0.000"))) + Between;
    return QStringLiteral("%1 prediction gels nowhere on the way; ").arg(name) + Between;
}

} // namespace

GelSafety AssessGel(const TReactionTotals& t) {
    GelSafety s;
    if (!(t.TotalEa > 0))
        return s;
    const GelPoint stat = StatisticalGel(t), carothers = CarothersGel(t);
    const double target = ExtentAtTarget(t), limit = ExtentLimit(t);
    // A target the hydroxyl cannot reach is cooked until the hydroxyl runs out.
    const double reached = std::min(target, limit);
    const bool pastStat = stat.gels && reached >= stat.extent;
    const bool pastCarothers = carothers.gels && reached >= carothers.extent;
    const QString targetText = av(t.TargetAV);
    if (pastStat && pastCarothers) {
        s.level = GelSafety::Level::Danger;
        s.text = QStringLiteral("Gels before the target: both gel points are reached, the statistical one at acid "
                                "value %1 and Carothers' at %2; the target is %3")
                     .arg(av(stat.acidValue), av(carothers.acidValue), targetText);
        s.brief = QStringLiteral("Gels by both predictions, first at AV %1")
                      .arg(av(std::max(stat.acidValue, carothers.acidValue)));
        return s;
    }
    if (pastStat || pastCarothers) {
        const GelPoint& passed = pastStat ? stat : carothers;
        s.level = GelSafety::Level::Warning;
        s.text = QStringLiteral("Gels before the target: the %1 gel point is reached at acid value %2, the target "
                                "is %3. ")
                     .arg(pastStat ? QStringLiteral("statistical") : QStringLiteral("Carothers"),
                          av(passed.acidValue), targetText) +
                 (pastStat ? otherPrediction(QStringLiteral("Carothers'"), carothers, t)
                           : otherPrediction(QStringLiteral("The statistical"), stat, t));
        s.brief = QStringLiteral("Gels by the %1 prediction at AV %2")
                      .arg(pastStat ? QStringLiteral("statistical") : QStringLiteral("Carothers"),
                           av(passed.acidValue));
        return s;
    }
    if (target < 0) {
        s.text = QStringLiteral("The target acid value of %1 lies above the charge's acid value of %2.")
                     .arg(targetText, av(CourseAt(t, 0).acidValue));
        s.brief = QStringLiteral("Target above the charge's AV %1").arg(av(CourseAt(t, 0).acidValue));
        return s;
    }
    if (target > limit) {
        s.level = GelSafety::Level::Unreachable;
        s.text = QStringLiteral("The target acid value of %1 cannot be reached: the hydroxyl groups run out at "
                                "acid value %2.")
                     .arg(targetText, av(CourseAt(t, limit).acidValue));
        s.brief = QStringLiteral("Target out of reach: OH runs out at AV %1").arg(av(CourseAt(t, limit).acidValue));
        return s;
    }
    if (!stat.gels && !carothers.gels) {
        s.text = QStringLiteral("Neither prediction gels this recipe.");
        s.brief = QStringLiteral("No gel predicted");
        return s;
    }
    // Short of both: the margin to the nearer one.
    const GelPoint& nearer = !stat.gels ? carothers : !carothers.gels ? stat
                             : (stat.extent <= carothers.extent ? stat : carothers);
    s.text = QStringLiteral("Short of gel: the %1 gel point would come at acid value %2, %3 below the target of %4")
                 .arg(&nearer == &stat ? QStringLiteral("statistical") : QStringLiteral("Carothers"),
                      av(nearer.acidValue), av(t.TargetAV - nearer.acidValue), targetText);
    s.brief = QStringLiteral("Clear of gel: the nearer gel point at AV %1").arg(av(nearer.acidValue));
    return s;
}
