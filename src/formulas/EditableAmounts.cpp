#include "EditableAmounts.h"

EditableAmounts editableAmounts(const QString& type, double fa, double fan, double fb) {
    EditableAmounts e;
    if (fa > 0 || fan > 0)
        e.mass = e.moles = e.ea = true;
    if (fb > 0)
        e.mass = e.moles = e.eb = true;
    if (type == QLatin1String("Oil"))
        e.mass = e.moles = e.ea = e.eb = true;
    return e;
}
