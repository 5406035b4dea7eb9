#include "Report.h"

#include <QLocale>
#include <QRegularExpression>
#include <stdexcept>

namespace Report {

Item Item::label(const QString& text, double x, double top, Anchor anchor, const Font& font) {
    Item i;
    i.text = text;
    i.x = x;
    i.top = top;
    i.anchor = anchor;
    i.font = font;
    return i;
}

Font Font::arial(double points, bool bold, bool italic, bool underline) {
    Font f;
    f.points = points;
    f.bold = bold;
    f.italic = italic;
    f.underline = underline;
    return f;
}

Item Item::caption(const QString& text, double x, double top, Anchor anchor, const Font& font) {
    Item i = label(text, x, top, anchor, font);
    i.name = text;
    return i;
}

Item Item::dataField(const QString& field, double x, double top, Anchor anchor, const Font& font) {
    Item i = label(field, x, top, anchor, font);
    i.name = field;
    i.isField = true;
    return i;
}

Item Item::cell(const QString& name, double x, double width, double top, Anchor anchor,
                const Font& font, bool ruled) {
    Item i = label(QString(), x, top, anchor, font);
    i.name = name;
    i.width = width;
    i.ruled = ruled;
    return i;
}

Item Item::image(std::shared_ptr<QSvgRenderer> picture, double x, double top, double width,
                 double height) {
    Item i;
    i.picture = std::move(picture);
    i.x = x;
    i.top = top;
    i.width = width;
    i.height = height;
    return i;
}

Item& Band::item(const QString& itemName) {
    for (Item& i : items)
        if (i.name == itemName)
            return i;
    throw std::out_of_range("no report item " + itemName.toStdString());
}

Definition::Definition() = default;

Band& Definition::band(const QString& name) {
    for (Band& b : bands)
        if (b.name == name)
            return b;
    throw std::out_of_range("no report band " + name.toStdString());
}

namespace {

// Fills pages band by band, starting a page whenever the next band would cross the bottom margin.
class Pager {
public:
    Pager(const Definition& def, const Data& data) : m_def(def), m_data(data) {}

    std::vector<Page> run() {
        newPage();
        const int rows = m_data.rowCount();
        for (int row = 0; row < rows; ++row) {
            if (row == 0)
                placeAll(BandKind::BeforeFirstRow, -1);
            placeAll(BandKind::Row, row);
        }
        placeAll(BandKind::AfterLastRow, -1);
        return std::move(m_pages);
    }

private:
    double bottom() const { return m_def.paperSize.height() - m_def.margins.bottom(); }

    void newPage() {
        m_pages.emplace_back();
        m_y = m_def.margins.top();
        for (const Band& b : m_def.bands)
            if (b.kind == BandKind::EveryPage)
                place(b, -1);
    }

    void placeAll(BandKind kind, int row) {
        for (const Band& b : m_def.bands) {
            if (b.kind != kind)
                continue;
            // A band taller than a fresh page still goes on one, rather than on endless new pages.
            const bool freshPage = m_pages.back().items.size() == m_everyPageItems;
            if (m_y + b.height > bottom() + 1e-9 && !freshPage)
                newPage();
            place(b, row);
        }
    }

    void place(const Band& b, int row) {
        Page& page = m_pages.back();
        for (const Item& i : b.items) {
            Placed p;
            p.item = &i;
            p.x = m_def.margins.left() + i.x;
            if (i.width > 0 && !i.picture) {
                // A fixed cell is placed by its left edge.
                if (i.anchor == Anchor::Right)
                    p.x -= i.width;
                else if (i.anchor == Anchor::Centre)
                    p.x -= i.width / 2;
            }
            p.top = m_y + i.top;
            p.text = i.isField ? m_data.text(row, i.text) : i.text;
            page.items.push_back(std::move(p));
        }
        m_y += b.height;
        if (b.kind == BandKind::EveryPage)
            m_everyPageItems = page.items.size();
    }

    const Definition& m_def;
    const Data& m_data;
    std::vector<Page> m_pages;
    double m_y = 0;
    size_t m_everyPageItems = 0;
};

} // namespace

QString dateTimeText(const QDateTime& when) {
    const QLocale locale;
    // Qt's long time format carries the zone ("t"); a chemist's clock does not.
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), time.trimmed());
}

std::vector<Page> Definition::layout(const Data& data) const { return Pager(*this, data).run(); }

} // namespace Report
