#include "CompareReport.h"

using Report::Anchor;
using Report::Band;
using Report::BandKind;
using Report::Font;
using Report::Item;

namespace {

Font font(double points, bool bold = false, bool underline = false) {
    return Font::arial(points, bold, false, underline);
}

// Column edges in millimetres: the name, the two sides (right-aligned) and the difference.
constexpr double kCode = 2.0, kName = 26.0, kFirst = 118.0, kSecond = 148.0, kDiff = 180.0;

class LinesData : public Report::Data {
public:
    explicit LinesData(const Comparison& c) : m_c(c) {}
    int rowCount() const override { return int(m_c.lines.size()); }
    QString text(int row, const QString& field) const override {
        if (row < 0)
            return QString();
        const Comparison::LineRow& l = m_c.lines[size_t(row)];
        if (field == QLatin1String("Code"))
            return l.code;
        if (field == QLatin1String("Name"))
            return l.name;
        if (field == QLatin1String("First"))
            return l.first;
        if (field == QLatin1String("Second"))
            return l.second;
        if (field == QLatin1String("Difference"))
            return l.change == Comparison::Change::OnlyFirst    ? QStringLiteral("removed")
                   : l.change == Comparison::Change::OnlySecond ? QStringLiteral("added")
                                                                 : l.difference;
        return QString();
    }

private:
    const Comparison& m_c;
};

Item text(const QString& name, const QString& value, double x, double top, Anchor anchor, const Font& f) {
    Item i = Item::label(value, x, top, anchor, f);
    i.name = name;
    return i;
}

} // namespace

TFrmCompareReport::TFrmCompareReport(Comparison comparison, const QString& first, const QString& second)
    : m_comparison(std::move(comparison)) {
    Band header{QStringLiteral("PageHeader"), BandKind::EveryPage, 24, {}};
    header.items.push_back(Item::caption(QStringLiteral("Recipe Comparison"), 92.0, 1.0, Anchor::Centre, font(16, true, true)));
    header.items.push_back(Item::caption(QStringLiteral("Print Date:"), 2.0, 10.0, Anchor::Left, font(10, true)));
    header.items.push_back(Item::cell(QStringLiteral("PrintDate"), 24.0, 0, 10.0, Anchor::Left, font(10), false));
    header.items.push_back(Item::caption(QStringLiteral("First:"), 2.0, 14.5, Anchor::Left, font(10, true)));
    header.items.push_back(text(QStringLiteral("FirstName"), first, 24.0, 14.5, Anchor::Left, font(10)));
    header.items.push_back(Item::caption(QStringLiteral("Second:"), 2.0, 19.0, Anchor::Left, font(10, true)));
    header.items.push_back(text(QStringLiteral("SecondName"), second, 24.0, 19.0, Anchor::Left, font(10)));
    Report1.bands.push_back(std::move(header));

    Band titles{QStringLiteral("LineTitles"), BandKind::BeforeFirstRow, 7, {}};
    titles.items.push_back(Item::caption(QStringLiteral("Code"), kCode, 1.0, Anchor::Left, font(10, true, true)));
    titles.items.push_back(Item::caption(QStringLiteral("Name"), kName, 1.0, Anchor::Left, font(10, true, true)));
    titles.items.push_back(Item::caption(QStringLiteral("First Mass"), kFirst, 1.0, Anchor::Right, font(10, true, true)));
    titles.items.push_back(Item::caption(QStringLiteral("Second Mass"), kSecond, 1.0, Anchor::Right, font(10, true, true)));
    titles.items.push_back(Item::caption(QStringLiteral("Difference"), kDiff, 1.0, Anchor::Right, font(10, true, true)));
    Report1.bands.push_back(std::move(titles));

    Band row{QStringLiteral("Line"), BandKind::Row, 5, {}};
    row.items.push_back(Item::dataField(QStringLiteral("Code"), kCode, 0.5, Anchor::Left, font(9)));
    row.items.push_back(Item::dataField(QStringLiteral("Name"), kName, 0.5, Anchor::Left, font(9)));
    row.items.push_back(Item::dataField(QStringLiteral("First"), kFirst, 0.5, Anchor::Right, font(9)));
    row.items.push_back(Item::dataField(QStringLiteral("Second"), kSecond, 0.5, Anchor::Right, font(9)));
    row.items.push_back(Item::dataField(QStringLiteral("Difference"), kDiff, 0.5, Anchor::Right, font(9, true)));
    Report1.bands.push_back(std::move(row));

    Band figureTitles{QStringLiteral("FigureTitles"), BandKind::AfterLastRow, 11, {}};
    figureTitles.items.push_back(Item::caption(QStringLiteral("Figure"), kCode, 5.0, Anchor::Left, font(10, true, true)));
    figureTitles.items.push_back(Item::caption(QStringLiteral("First"), kFirst, 5.0, Anchor::Right, font(10, true, true)));
    figureTitles.items.push_back(Item::caption(QStringLiteral("Second"), kSecond, 5.0, Anchor::Right, font(10, true, true)));
    figureTitles.items.push_back(Item::caption(QStringLiteral("Difference"), kDiff, 5.0, Anchor::Right, font(10, true, true)));
    Report1.bands.push_back(std::move(figureTitles));
    std::vector<Comparison::FigureRow> rows;
    for (const Comparison::FigureRow& f : m_comparison.header)
        if (f.name != QLatin1String("Description")) // too long for a column: printed whole below
            rows.push_back(f);
    rows.insert(rows.end(), m_comparison.figures.begin(), m_comparison.figures.end());
    for (const Comparison::FigureRow& f : rows) {
        Band b{QStringLiteral("Figure") + f.name, BandKind::AfterLastRow, 5, {}};
        b.items.push_back(text(f.name + QStringLiteral("Caption"), f.caption, kCode, 0.5, Anchor::Left, font(9)));
        b.items.push_back(text(f.name + QStringLiteral("First"), f.first, kFirst, 0.5, Anchor::Right, font(9)));
        b.items.push_back(text(f.name + QStringLiteral("Second"), f.second, kSecond, 0.5, Anchor::Right, font(9)));
        b.items.push_back(text(f.name + QStringLiteral("Difference"), f.difference, kDiff, 0.5, Anchor::Right, font(9, true)));
        Report1.bands.push_back(std::move(b));
    }

    // Each side's description, whole.
    for (const Comparison::FigureRow& f : m_comparison.header)
        if (f.name == QLatin1String("Description")) {
            const std::pair<const char*, const QString*> texts[] = {{"First", &f.first}, {"Second", &f.second}};
            for (const auto& [side, text] : texts) {
                Band b{QStringLiteral("Description") + QLatin1String(side), BandKind::AfterLastRow, 11, {}};
                b.items.push_back(Item::caption(QStringLiteral("Description, %1:").arg(QString::fromLatin1(side).toLower()),
                                                kCode, 3.0, Anchor::Left, font(10, true)));
                Item words = Item::cell(QStringLiteral("Description") + QLatin1String(side), kName + 14,
                                        180 - kName - 14, 3.0, Anchor::Left, font(9), false);
                words.text = *text;
                words.wrap = true;
                b.items.push_back(std::move(words));
                Report1.bands.push_back(std::move(b));
            }
        }

    // Gel safety of each side, in the words the main window's tooltip uses.
    const std::pair<const char*, const GelSafety*> sides[] = {{"First", &m_comparison.firstGel},
                                                              {"Second", &m_comparison.secondGel}};
    for (const auto& [side, gel] : sides) {
        Band b{QStringLiteral("Gel") + QLatin1String(side), BandKind::AfterLastRow, 17, {}};
        b.items.push_back(Item::caption(QStringLiteral("Gel safety, %1:").arg(QString::fromLatin1(side).toLower()), kCode,
                                        3.0, Anchor::Left, font(10, true)));
        Item words = Item::cell(QStringLiteral("Gel") + QLatin1String(side), kName + 14, 180 - kName - 14, 3.0,
                                Anchor::Left, font(9), false);
        words.text = gel->text.isEmpty() ? QStringLiteral("No gel point is predicted.") : gel->text;
        words.wrap = true;
        b.items.push_back(std::move(words));
        Report1.bands.push_back(std::move(b));
    }
}

std::vector<Report::Page> TFrmCompareReport::prepare(const QDateTime& printed) {
    Report1.band(QStringLiteral("PageHeader")).item(QStringLiteral("PrintDate")).text = Report::dateTimeText(printed);
    return Report1.layout(LinesData(m_comparison));
}
