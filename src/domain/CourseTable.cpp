#include "CourseTable.h"

#include "domain/NumberFormat.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

std::vector<CourseRow> CourseMarks(const TReactionTotals& t) {
    std::vector<CourseRow> marks;
    if (!(t.TotalEa > 0))
        return marks;
    const GelPoint stat = StatisticalGel(t), carothers = CarothersGel(t);
    if (stat.gels)
        marks.push_back({CourseAt(t, stat.extent), QStringLiteral("Statistical gel")});
    if (carothers.gels)
        marks.push_back({CourseAt(t, carothers.extent), QStringLiteral("Carothers gel")});
    const double target = ExtentAtTarget(t), limit = ExtentLimit(t);
    if (target >= 0 && target <= limit)
        marks.push_back({CourseAt(t, target), QStringLiteral("Target")});
    else if (target > limit)
        marks.push_back({CourseAt(t, limit), QStringLiteral("Hydroxyl used up")});
    std::stable_sort(marks.begin(), marks.end(),
                     [](const CourseRow& a, const CourseRow& b) { return a.point.extent < b.point.extent; });
    return marks;
}

std::vector<CourseRow> CourseRows(const TReactionTotals& t, double step) {
    std::vector<CourseRow> rows;
    if (!(t.TotalEa > 0) || !(step > 0))
        return rows;
    const double end = CourseEnd(t);
    const std::vector<CourseRow> marks = CourseMarks(t);
    auto mark = marks.begin();
    // Whole steps, counted rather than summed so that 0.05 x 20 is 1 and not 0.99999.
    const int steps = int(std::floor(end / step + 1e-9));
    for (int i = 0; i <= steps; ++i) {
        const double p = i * step;
        for (; mark != marks.end() && mark->point.extent <= p + 1e-12; ++mark)
            rows.push_back(*mark);
        if (!rows.empty() && std::abs(rows.back().point.extent - p) < 1e-12)
            continue; // a mark standing on the step says it already
        rows.push_back({CourseAt(t, p), QString()});
    }
    for (; mark != marks.end(); ++mark)
        if (mark->point.extent <= end + 1e-12)
            rows.push_back(*mark);
    return rows;
}

std::vector<CoursePoint> CourseSamples(const TReactionTotals& t, int count) {
    std::vector<CoursePoint> points;
    if (!(t.TotalEa > 0) || count < 1)
        return points;
    const double end = CourseEnd(t);
    points.reserve(count + 1);
    for (int i = 0; i <= count; ++i)
        points.push_back(CourseAt(t, end * i / count));
    return points;
}

QStringList CourseHeadings() {
    return {QStringLiteral("Extent"), QStringLiteral("Acid Value"), QStringLiteral("Mn"),
            QStringLiteral("Water Off"), QStringLiteral("Point")};
}

QStringList CourseRowTexts(const CourseRow& row) {
    using NumberFormat::format;
    const CoursePoint& c = row.point;
    return {format(c.extent, QStringLiteral("0.000")), format(c.acidValue, QStringLiteral("0.0")),
            c.molecules > 0 ? format(c.molMass, QStringLiteral("0")) : QString(),
            format(c.waterOff, QStringLiteral("0.00")), row.mark};
}

QString CourseRowsAsText(const std::vector<CourseRow>& rows) {
    QString text = CourseHeadings().join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const CourseRow& row : rows)
        text += CourseRowTexts(row).join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}
