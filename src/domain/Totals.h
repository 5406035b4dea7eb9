#pragma once

#include "ReactionTotals.h"
#include "Recipe.h"

#include <vector>

// The two passes over a recipe's lines as pure functions of the recipe and the library: two
// recipes can be totalled side by side, and a candidate judged without being stored.

// The totals pass: the lines summed by material type, the target acid value from the header.
// The batch figures are 0: the batch pass gives them.
TReactionTotals totalsOf(const Recipe& recipe, const MaterialLookup& library);

// The batch pass: every line scaled to the batch size through the yield of `totals`.
struct LineBatch {
    // Empty where the figure is exactly 0.
    std::optional<double> charge, percent, cost;
};
struct BatchScale {
    // One per line; empty when the yield is not positive, and the lines keep what they had.
    std::vector<LineBatch> lines;
    double chargeTotal = 0;
    double percentTotal = 0;
    double cost = 0;
};
BatchScale batchOf(const Recipe& recipe, const MaterialLookup& library, const TReactionTotals& totals);

// The totals of a recipe once the batch pass has run over them: the batch figures, the sizes of
// the header, and the cost as the lines' costs sum it.
TReactionTotals scaled(TReactionTotals totals, const RecipeHeader& header, const BatchScale& batch);

// Every figure of a recipe as the main window shows it once both passes have run: a recipe held
// as a value (an earlier version, another recipe) judged beside the one shown.
TReactionTotals figuresOf(const Recipe& recipe, const MaterialLookup& library);
