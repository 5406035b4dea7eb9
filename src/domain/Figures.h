#pragma once

#include "LineColumns.h"
#include "ReactionTotals.h"

#include <QString>
#include <optional>
#include <vector>

// The one table of a recipe's figures: each with what it is called, how it is worked out from
// the totals, and how the main window's panels, the grid's footer row and the recipe report
// write it. Where the screen and the paper write a figure differently, the row says both.
struct Figure {
    const char* name;                        // the figure, as the formulas name it
    double (*value)(const TReactionTotals&); // from the totals
    // The main window: the panel that shows it, its number pattern and the text after it, and
    // the caption beside the panel (none where a table's row and column headings say it).
    const char* panel;
    const char* panelFormat;
    const char* panelSuffix;
    const char* panelCaption;
    // The grid's footer row: the column that shows it there, and the pattern.
    std::optional<LineColumn> footer;
    const char* footerFormat;
    // The recipe report: the label that prints it, the pattern and the caption before it.
    const char* reportLabel;
    const char* reportFormat;
    const char* reportCaption;

    // What a table of figures calls it: the panel's caption, else the report's, else its name.
    QString caption() const;
    QString panelText(const TReactionTotals& t) const;
    QString footerText(const TReactionTotals& t) const;
    QString reportText(const TReactionTotals& t) const;
};

// Every figure, the panels' in the order the main window writes them, then those of the
// footer row and the report alone.
const std::vector<Figure>& figures();
// The figure a panel, footer column or report label shows; nullptr for none.
const Figure* figureOfPanel(const QString& panel);
// The figure the formulas name so ("KValue"); nullptr for none.
const Figure* figureNamed(const QString& name);
const Figure* figureOfFooter(LineColumn column);
const Figure* figureOfReportLabel(const QString& label);
// What a figure (by its name) is called where no heading stands beside it: two recipes compared,
// a list of versions.
QString standaloneCaption(const QString& figure);
