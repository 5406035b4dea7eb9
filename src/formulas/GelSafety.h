#pragma once

#include "ReactionTotals.h"

#include <QString>

// Whether the cook reaches a predicted gel point before its target acid value, in words a
// chemist reads in a tooltip. Extents are compared, not acid values.
struct GelSafety {
    enum class Level { Safe, Warning, Danger }; // past neither, the earlier, or both
    Level level = Level::Safe;
    QString text; // empty when no prediction and no target apply
};
GelSafety AssessGel(const TReactionTotals& t);
