#pragma once

#include <QString>
#include <Qt>

// One column of a data grid: the field it shows and how. A derived column shows what the grid's
// owner makes of the line (its material's name), and takes text through the grid's writer.
struct GridColumn {
    QString fieldName;
    QString title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool readOnly = false;
    bool derived = false;
};
