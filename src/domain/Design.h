#pragma once

#include "ReactionTotals.h"
#include "Recipe.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// Designing a recipe from its targets: the masses of its free lines worked out so that the
// recipe reaches the checked conditions. Every condition is linear in the masses once the
// header's acid value is fixed, so a set of them is one small linear system, built from the
// totals pass itself so that the design keeps the program's conventions exactly.
enum class DesignTarget { OilLength, ExcessOH, KValue, TotalCharge };
inline constexpr int DesignTargetCount = int(DesignTarget::TotalCharge) + 1;

// The condition's caption, as the dialog shows it and the messages name it.
QString designTargetCaption(DesignTarget target);
// The recipe's present figure for the condition.
double designTargetValue(DesignTarget target, const TReactionTotals& totals);

struct DesignRequest {
    std::vector<bool> fixed; // one per line; a line missing here is free
    // The checked conditions, with their target values; unchecked ones are empty.
    std::array<std::optional<double>, DesignTargetCount> targets;
    std::optional<double> maxMass = std::nullopt; // the most a line holds
};

// Whether a line's mass can be designed: its material carries groups that count, as a line
// whose mass can be typed does. Other lines count as they stand.
bool designable(const Line& line, const MaterialLookup& library);

struct Design {
    bool solved = false;
    QString message;                 // why there is no design, in words; empty when solved
    std::vector<int> freeLines;      // the positions of the lines whose masses are designed
    std::vector<double> masses;      // one per free line, when solved
    Recipe recipe;                   // the recipe as designed, each free line worked out from its mass
    TReactionTotals totals;          // its totals pass
};

// The line as a typed mass makes it: its moles, then its equivalents, from `mass`; an amount
// that is not positive is empty.
Line lineOfMass(const Line& line, const Material* material, double mass);

Design designRecipe(const Recipe& recipe, const MaterialLookup& library, const DesignRequest& request);
