#include "EditableAmounts.h"

EditableAmounts editableAmounts(MaterialType type, double fa, double fan, double fb) {
    EditableAmounts e;
    if (fa > 0 || fan > 0)
        e.mass = e.moles = e.ea = true;
    if (fb > 0)
        e.mass = e.moles = e.eb = true;
    if (type == MaterialType::Oil)
        e.mass = e.moles = e.ea = e.eb = true;
    return e;
}
