#pragma once

#include "Report.h"

#include "domain/ReactionTotals.h"
#include "domain/Recipe.h"

#include <QDateTime>

// The recipe report: the printed record of the recipe shown in the main window, its header, its
// lines, totals, water of reaction, yield and the calculated resin properties, on A4 pages.
class TFrmMainReport {
public:
    // Builds the bands and fills the value labels with the recipe's figures; `library` names the
    // lines' materials and must outlive the report.
    TFrmMainReport(Recipe recipe, const MaterialLookup& library, const TReactionTotals& totals);

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

    Recipe m_recipe;
    const MaterialLookup& m_library;
    TReactionTotals m_totals;
};
