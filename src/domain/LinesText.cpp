#include "LinesText.h"

#include "NumberFormat.h"

#include <algorithm>

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
    if (normal.startsWith(QChar(0xFEFF))) // the byte-order mark of a file's text
        normal.remove(0, 1);
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList rows = normal.split(u'\n');
    int codeAt = 0, massAt = 1;
    bool first = true, named = false;
    QChar separator;
    for (int n = 0; n < rows.size(); ++n) {
        if (rows[n].trimmed().isEmpty())
            continue;
        // The text's separator is its first row's: a semicolon in a later row's cell splits nothing.
        if (separator.isNull())
            separator = separatorOf(rows[n]);
        const QStringList c = cells(rows[n], separator);
        if (first) {
            first = false;
            // A heading: no figure in it, and it names its columns or no material. One that names
            // Code and Mass says where they stand.
            const auto at = [&](const char* name) {
                for (qsizetype k = 0; k < c.size(); ++k)
                    if (c[k].compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                        return int(k);
                return -1;
            };
            named = at("Code") >= 0 && at("Mass") >= 0;
            if (!hasDigit(rows[n]) && (named || !spelled(c.value(0)))) {
                if (named)
                    codeAt = at("Code"), massAt = at("Mass");
                continue;
            }
            named = false;
        }
        const QString where = QStringLiteral("Row %1: ").arg(n + 1);
        // Without a heading to say where the mass is, "GLY,12,5" is no code and mass: under a
        // decimal comma its mass would be read as 12, and under a point the 5 is no column of
        // the paste's.
        if (!named && separator == u',' && std::count_if(c.begin(), c.end(), [](const QString& x) { return !x.isEmpty(); }) > 2) {
            p.errors << where + QStringLiteral("'%1' has more cells than a code and a mass: separate a code from its "
                                               "mass with a tab or a semicolon when the mass has a decimal comma.")
                                    .arg(rows[n].trimmed());
            continue;
        }
        take(p, n + 1, codeAt < c.size() ? c[codeAt] : QString(), massAt < c.size() ? c[massAt] : QString(), spelled,
             NumberFormat::parse);
    }
    return p;
}

void take(Paste& p, int row, const QString& code, const QString& mass,
          const std::function<std::optional<QString>(const QString&)>& spelled,
          const std::function<bool(const QString&, double*)>& number) {
    const QString where = QStringLiteral("Row %1: ").arg(row);
    if (code.isEmpty()) {
        p.errors << where + QStringLiteral("no code.");
        return;
    }
    const std::optional<QString> known = spelled(code);
    double value = 0;
    if (!known)
        p.errors << where + QStringLiteral("there is no material with the code '%1' in the library.").arg(code);
    else if (mass.isEmpty())
        p.errors << where + QStringLiteral("no mass for %1.").arg(code);
    else if (!number(mass, &value))
        p.errors << where + QStringLiteral("the mass '%1' is not a number.").arg(mass);
    else
        p.rows.push_back({row, *known, value});
}

} // namespace LinesText
