#include "Comparison.h"

#include "Figures.h"
#include "LineColumns.h"
#include "NumberFormat.h"
#include "Totals.h"

#include <QHash>

namespace {

// The shown figure read back, so that a difference is that of what the user reads.
double shown(const QString& text) {
    double v = 0;
    return NumberFormat::parse(text, &v) ? v : 0;
}

// `second` less `first` in the picture they are shown in, with its sign; empty when the two
// read the same.
QString difference(const QString& first, const QString& second, const QString& picture) {
    if (first == second)
        return QString();
    const double d = shown(second) - shown(first);
    const QString text = NumberFormat::format(d, picture);
    if (shown(text) == 0)
        return NumberFormat::format(0, picture);
    return d > 0 ? u'+' + text : text;
}

const char* pictureOf(const Figure& f) {
    return f.panelFormat ? f.panelFormat : f.reportFormat ? f.reportFormat : f.footerFormat;
}

} // namespace

Comparison compareRecipes(const Recipe& first, const Recipe& second, const MaterialLookup& library) {
    Comparison c;
    c.firstTotals = figuresOf(first, library);
    c.secondTotals = figuresOf(second, library);
    c.firstGel = AssessGel(c.firstTotals);
    c.secondGel = AssessGel(c.secondTotals);

    const QString massPicture = QString::fromLatin1(lineColumnFormat(LineColumn::Mass).picture);
    const auto massText = [&](const Line& l) { return NumberFormat::figure(l.mass, lineColumnFormat(LineColumn::Mass).picture); };
    const auto nameOf = [&](const QString& code) {
        const Material* m = library.find(code);
        return m ? m->name : QString();
    };
    // The second recipe's lines of each code, in order, not yet matched.
    QHash<QString, std::vector<size_t>> waiting;
    for (size_t j = 0; j < second.lines.size(); ++j)
        if (!second.lines[j].code.isEmpty())
            waiting[second.lines[j].code].push_back(j);
    std::vector<bool> matched(second.lines.size(), false);
    for (const Line& l : first.lines) {
        if (l.code.isEmpty())
            continue;
        Comparison::LineRow row{l.code, nameOf(l.code), massText(l), {}, {}, Comparison::Change::OnlyFirst};
        auto w = waiting.find(l.code);
        if (w != waiting.end() && !w->empty()) {
            const size_t j = w->front();
            w->erase(w->begin());
            matched[j] = true;
            row.second = massText(second.lines[j]);
            row.difference = difference(row.first, row.second, massPicture);
            row.change = row.difference.isEmpty() ? Comparison::Change::Same : Comparison::Change::Changed;
        }
        c.lines.push_back(std::move(row));
    }
    for (size_t j = 0; j < second.lines.size(); ++j) {
        const Line& l = second.lines[j];
        if (!matched[j] && !l.code.isEmpty())
            c.lines.push_back({l.code, nameOf(l.code), {}, massText(l), {}, Comparison::Change::OnlySecond});
    }

    const auto headerRow = [&](const char* name, const char* caption, const std::optional<double>& a,
                               const std::optional<double>& b, const char* picture) {
        Comparison::FigureRow row;
        row.name = QString::fromLatin1(name);
        row.caption = QString::fromLatin1(caption);
        row.first = NumberFormat::figure(a, picture);
        row.second = NumberFormat::figure(b, picture);
        row.difference = row.first.isEmpty() || row.second.isEmpty()
                             ? (row.first == row.second ? QString() : QStringLiteral("changed"))
                             : difference(row.first, row.second, QString::fromLatin1(picture));
        row.change = row.difference.isEmpty() ? Comparison::Change::Same : Comparison::Change::Changed;
        c.header.push_back(std::move(row));
    };
    {
        Comparison::FigureRow d{QStringLiteral("Description"), QStringLiteral("Description"), first.header.description,
                                second.header.description, {}, Comparison::Change::Same};
        if (d.first != d.second) {
            d.difference = QStringLiteral("changed");
            d.change = Comparison::Change::Changed;
        }
        c.header.push_back(std::move(d));
    }
    headerRow("AV", "Target Acid Value", first.header.av, second.header.av, kAcidValuePicture);
    headerRow("Solids", "Percent Solids", first.header.solids, second.header.solids, kSolidsPicture);
    headerRow("BatchSize", "Batch Size", first.header.size, second.header.size, kBatchSizePicture);

    for (const Figure& f : figures()) {
        const char* picture = pictureOf(f);
        if (!picture)
            continue;
        const QString p = QString::fromLatin1(picture);
        const QString suffix = f.panelFormat ? QString::fromLatin1(f.panelSuffix) : QString();
        Comparison::FigureRow row;
        row.name = QString::fromLatin1(f.name);
        row.caption = standaloneCaption(row.name);
        const QString a = NumberFormat::format(f.value(c.firstTotals), p);
        const QString b = NumberFormat::format(f.value(c.secondTotals), p);
        row.first = a + suffix;
        row.second = b + suffix;
        row.difference = difference(a, b, p);
        if (!row.difference.isEmpty())
            row.difference += suffix;
        row.change = row.difference.isEmpty() ? Comparison::Change::Same : Comparison::Change::Changed;
        c.figures.push_back(std::move(row));
    }
    return c;
}
