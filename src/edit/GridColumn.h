#pragma once

#include <QString>
#include <Qt>

// One column of a data grid: the field it shows and how.
struct GridColumn {
    QString fieldName;
    QString title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool readOnly = false;
};
