#pragma once

#include "ReactionTotals.h"

#include <QString>

// Whether the cook reaches a predicted gel point before its target acid value, in words a
// chemist reads: a sentence or two for a tooltip or the report, and a few words for a label.
// Extents are compared, not acid values.
struct GelSafety {
    enum class Level {
        Safe,        // past no gel point
        Warning,     // past the earlier gel point
        Danger,      // past both
        Unreachable, // gels nowhere on the way, but the hydroxyl runs out before the target
    };
    Level level = Level::Safe;
    QString text;  // empty when no prediction and no target apply
    QString brief; // the verdict with the acid value it turns on, in a few words
};
GelSafety AssessGel(const TReactionTotals& t);
