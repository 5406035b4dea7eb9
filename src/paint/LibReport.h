#pragma once

#include "Report.h"

#include <QDateTime>

class MaterialLibrary;

// The library report: every stored raw material, one per row, in the order of type, chemical
// class and code, on A4 pages that each repeat the page header and the column titles.
class TFrmLibReport {
public:
    // `library` must outlive the report.
    explicit TFrmLibReport(const MaterialLibrary& library);

    // Reads the library as stored now and lays the report out, prepared at `prepared`.
    std::vector<Report::Page> prepare(const QDateTime& prepared = QDateTime::currentDateTime());

    Report::Definition Report1;

private:
    const MaterialLibrary& m_library;
};
