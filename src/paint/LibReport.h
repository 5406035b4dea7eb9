#pragma once

#include "Report.h"

#include <QDateTime>

class Table;

// The library report: every stored raw material, one per row, in the order of type, chemical
// class and code, on A4 pages that each repeat the page header and the column titles.
class TFrmLibReport {
public:
    // `library` is a view of the library in that order, with the display formats of the report.
    explicit TFrmLibReport(Table& library);

    // Reads the library as stored now and lays the report out, prepared at `prepared`.
    std::vector<Report::Page> prepare(const QDateTime& prepared = QDateTime::currentDateTime());

    Report::Definition Report1;

private:
    Table& m_library;
};
