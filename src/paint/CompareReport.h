#pragma once

#include "Report.h"

#include "domain/Comparison.h"

#include <QDateTime>

// Two recipes or versions side by side on paper: the lines matched by material with the masses
// and their differences, every figure of both with its difference, and the gel safety of each.
// A difference prints in bold, as the window colours it.
class TFrmCompareReport {
public:
    // `first` and `second` title the two sides ("Alkyd LO-SOY65, 11/12/2026 10:02").
    TFrmCompareReport(Comparison comparison, const QString& first, const QString& second);

    std::vector<Report::Page> prepare(const QDateTime& printed = QDateTime::currentDateTime());

    Report::Definition Report1;

private:
    Comparison m_comparison;
};
