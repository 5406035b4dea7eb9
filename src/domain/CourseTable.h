#pragma once

#include "ReactionCourse.h"

#include <QString>
#include <vector>

// The course of the cook as rows a chemist reads or pastes into a spreadsheet: steps of extent
// from 0 to the end of the chart, with the gel points and the target in their places.
struct CourseRow {
    CoursePoint point;
    // "Statistical gel", "Carothers gel", "Target" (or "Hydroxyl used up" before a target out of
    // reach), or empty for a step
    QString mark;
};
std::vector<CourseRow> CourseRows(const TReactionTotals& t, double step = 0.05);

// `count` + 1 points evenly from 0 to the end of the chart, for drawing; none without acid.
std::vector<CoursePoint> CourseSamples(const TReactionTotals& t, int count);

// The marked points alone, in order of extent: the gel points that the models predict and, with
// acid to react, the target or where the hydroxyl runs out before it.
std::vector<CourseRow> CourseMarks(const TReactionTotals& t);

// The figures of a row as the table shows them: extent, acid value, Mn (empty without molecules),
// water off, mark.
QStringList CourseRowTexts(const CourseRow& row);
QStringList CourseHeadings();

// The rows as tab-separated lines under a heading line, in the locale's decimal separator.
QString CourseRowsAsText(const std::vector<CourseRow>& rows);
