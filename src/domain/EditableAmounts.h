#pragma once

#include "MaterialType.h"

// Which of a line's four amounts the user may type, from the material's characteristics: mass
// and moles whenever the material carries acid, anhydride or hydroxyl groups or is an oil, the
// acid equivalents when it has acid or anhydride groups, the hydroxyl equivalents when it has
// hydroxyl groups, all four for an oil, none for a blank line.
struct EditableAmounts {
    bool mass = false, moles = false, ea = false, eb = false;
};

EditableAmounts editableAmounts(MaterialType type, double fa, double fan, double fb);
