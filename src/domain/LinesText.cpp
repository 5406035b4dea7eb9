#include "LinesText.h"

#include "NumberFormat.h"

namespace LinesText {

namespace {

QString number(const std::optional<double>& v) { return v ? NumberFormat::general(*v) : QString(); }

// A row's cells: split at `separator`, a cell in double quotes taken whole with its doubled
// quotes made single, as spreadsheets quote a cell that holds a separator.
QStringList cells(const QString& row, QChar separator) {
    QStringList out;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row[i];
        if (quoted) {
            if (c == u'"' && i + 1 < row.size() && row[i + 1] == u'"')
                cell += c, ++i;
            else if (c == u'"')
                quoted = false;
            else
                cell += c;
        } else if (c == u'"' && cell.trimmed().isEmpty()) {
            quoted = true;
            cell.clear();
        } else if (c == separator) {
            out << cell.trimmed();
            cell.clear();
        } else {
            cell += c;
        }
    }
    out << cell.trimmed();
    return out;
}

QChar separatorOf(const QString& row) {
    if (row.contains(u'\t'))
        return u'\t';
    if (row.contains(u';'))
        return u';';
    return u',';
}

bool hasDigit(const QString& s) {
    for (QChar c : s)
        if (c.isDigit())
            return true;
    return false;
}

} // namespace

QString copied(const std::vector<Line>& lines, const MaterialLookup& library) {
    QString out = QStringLiteral("Item\tCode\tMaterial\tMass\tMoles\tEa\tEb\tCharge\tPercent\tCost\r\n");
    for (const Line& l : lines) {
        const Material* m = library.find(l.code);
        const QStringList row = {l.item ? QString::number(*l.item) : QString(), l.code, m ? m->name : QString(),
                                 number(l.mass), number(l.moles), number(l.ea), number(l.eb),
                                 number(l.charge), number(l.percent), number(l.cost)};
        out += row.join(u'\t') + QStringLiteral("\r\n");
    }
    return out;
}

Paste parse(const QString& text, const std::function<std::optional<QString>(const QString&)>& spelled) {
    Paste p;
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList rows = normal.split(u'\n');
    int codeAt = 0, massAt = 1;
    bool first = true;
    for (int n = 0; n < rows.size(); ++n) {
        if (rows[n].trimmed().isEmpty())
            continue;
        const QStringList c = cells(rows[n], separatorOf(rows[n]));
        if (first) {
            first = false;
            // A heading: no figure in it. One that names its columns says where code and mass are.
            if (!hasDigit(rows[n])) {
                const qsizetype code = c.indexOf(QStringLiteral("Code"), 0), mass = c.indexOf(QStringLiteral("Mass"), 0);
                if (code >= 0 && mass >= 0)
                    codeAt = int(code), massAt = int(mass);
                continue;
            }
        }
        const QString where = QStringLiteral("Row %1: ").arg(n + 1);
        // Under a decimal comma, "GLY,12,5" is no code and mass: its mass would be read as 12.
        if (separatorOf(rows[n]) == u',' && NumberFormat::decimalPoint() == u',' && c.size() > 2) {
            p.errors << where + QStringLiteral("'%1' has more cells than a code and a mass: with decimal commas, "
                                               "separate them with a tab or a semicolon.")
                                    .arg(rows[n].trimmed());
            continue;
        }
        const QString code = codeAt < c.size() ? c[codeAt] : QString();
        const QString mass = massAt < c.size() ? c[massAt] : QString();
        if (code.isEmpty()) {
            p.errors << where + QStringLiteral("no code.");
            continue;
        }
        const std::optional<QString> known = spelled(code);
        double value = 0;
        if (!known)
            p.errors << where + QStringLiteral("there is no material with the code '%1' in the library.").arg(code);
        else if (mass.isEmpty())
            p.errors << where + QStringLiteral("no mass for %1.").arg(code);
        else if (!NumberFormat::parse(mass, &value))
            p.errors << where + QStringLiteral("the mass '%1' is not a number.").arg(mass);
        else
            p.rows.push_back({n + 1, *known, value});
    }
    return p;
}

} // namespace LinesText
