#include "Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void installFontSubstitutes() {
    const QStringList families = QFontDatabase::families();
    auto substitute = [&](const QString& face, const QStringList& candidates) {
        if (families.contains(face))
            return;
        for (const QString& c : candidates)
            if (families.contains(c)) {
                QFont::insertSubstitution(face, c);
                return;
            }
    };
    substitute(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    substitute(QStringLiteral("Bookman Old Style"),
               {QStringLiteral("URW Bookman"), QStringLiteral("URW Bookman L"),
                QStringLiteral("Bookman"), QStringLiteral("TeX Gyre Bonum")});
}

QFont arialFont(int pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}
