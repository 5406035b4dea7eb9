#pragma once

#include "ui/Unit1.h"

#include <QLabel>
#include <QStringList>

// Every figure the main window shows of the recipe: the panels, the gel words and the footers,
// sorted, so that two moments compare whole.
inline QStringList shownFigures(const TForm1& form) {
    QStringList out;
    for (QLabel* l : form.findChildren<QLabel*>())
        if (l->objectName().startsWith("Pnl") || l->objectName() == "LblGelSafety")
            out << l->objectName() + "=" + l->text();
    for (LineColumn c : {LineColumn::Mass, LineColumn::Moles, LineColumn::Ea, LineColumn::Eb, LineColumn::Charge,
                         LineColumn::Percent, LineColumn::Cost})
        out << QString::fromLatin1(lineColumnFormat(c).field) + "=" + form.footerText(c);
    out.sort();
    return out;
}
