#pragma once

#include "GelSafety.h"
#include "ReactionTotals.h"
#include "Recipe.h"

#include <QString>
#include <vector>

// Two recipes side by side, as a chemist reads them: the lines matched by material code with the
// mass each takes, every figure of both with its difference, and the gel safety of each. Texts
// are as the main window writes them; a difference is that of the figures as shown, so that it
// agrees with the two figures beside it to the last digit.
struct Comparison {
    enum class Change { Same, Changed, OnlyFirst, OnlySecond };

    struct LineRow {
        QString code;
        QString name;          // as the library names it; empty for a code it lacks
        QString first, second; // the masses; empty where the recipe has no such line
        QString difference;    // the second less the first, signed; empty when the same
        Change change = Change::Same;
    };
    struct FigureRow {
        QString name;    // the figure, as the figures table names it
        QString caption; // as a chemist reads it beside no other heading
        QString first, second;
        QString difference;
        Change change = Change::Same;
    };

    std::vector<LineRow> lines;
    // What the two headers hold (description, target acid value, solids, batch size): the figures
    // follow from them, so a difference there explains the rest.
    std::vector<FigureRow> header;
    std::vector<FigureRow> figures;
    GelSafety firstGel, secondGel;
    TReactionTotals firstTotals, secondTotals;
};

// Compares `first` with `second`, each totalled and batched against `library`. A material on
// several lines of a recipe is matched line for line in order.
Comparison compareRecipes(const Recipe& first, const Recipe& second, const MaterialLookup& library);
