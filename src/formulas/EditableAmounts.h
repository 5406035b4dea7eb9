#pragma once

#include <QString>

// Which of a line's four amounts the user may type, from the material's characteristics: mass
// and moles whenever the material carries acid, anhydride or hydroxyl groups or is an oil, the
// acid equivalents when it has acid or anhydride groups, the hydroxyl equivalents when it has
// hydroxyl groups, all four for an oil ("Oil" exactly), none for a blank line.
struct EditableAmounts {
    bool mass = false, moles = false, ea = false, eb = false;
};

EditableAmounts editableAmounts(const QString& type, double fa, double fan, double fb);
