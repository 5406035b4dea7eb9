#pragma once

#include "Report.h"

#include <QDateTime>

class TDMod;

// The recipe report: the printed record of the recipe shown in the main window, its header, its
// lines, totals, water of reaction, yield and the calculated resin properties, on A4 pages.
class TFrmMainReport {
public:
    // Builds the bands and fills the value labels with the figures held now.
    explicit TFrmMainReport(TDMod& dm);

    // Turns the totals and the resin properties into the texts of the 24 value labels.
    void FillReportLabels();

    // Lays the report out for printing at `printed` (the print date of the page header).
    std::vector<Report::Page> prepare(const QDateTime& printed = QDateTime::currentDateTime());

    // A value label's text, as it will print.
    QString labelText(const QString& name);

    Report::Definition Report1;

private:
    void addPageHeader();
    void addRecipeHeader();
    void addColumnTitles();
    void addLine();
    void addTotals();
    void addCalculatedValues();
    void addGelWarning();

    TDMod& m_dm;
};
