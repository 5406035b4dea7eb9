#include "MainReport.h"

#include "domain/LineColumns.h"
#include "domain/NumberFormat.h"
#include "domain/GelSafety.h"
#include "domain/Figures.h"
#include "domain/ResinProperties.h"

using Report::Anchor;
using Report::Band;
using Report::BandKind;
using Report::Font;
using Report::Item;

namespace {

Font font(double points, bool bold = false, bool italic = false, bool underline = false) {
    return Font::arial(points, bold, italic, underline);
}

Item caption(const QString& text, double x, double top, const Font& f, Anchor anchor = Anchor::Left) {
    return Item::caption(text, x, top, anchor, f);
}

// The header and the lines of the recipe as values, each in its column's picture.
class RecipeData : public Report::Data {
public:
    RecipeData(const Recipe& recipe, const MaterialLookup& library) : m_recipe(recipe), m_library(library) {}

    int rowCount() const override { return int(m_recipe.lines.size()); }

    QString text(int row, const QString& field) const override {
        if (row < 0)
            return headerText(field);
        const Line& line = m_recipe.lines[size_t(row)];
        const std::optional<LineColumn> column = lineColumnNamed(field);
        return column ? lineCellText(line, m_library.find(line.code), *column) : QString();
    }

private:
    QString headerText(const QString& field) const {
        const RecipeHeader& h = m_recipe.header;
        if (field == QLatin1String("BatchType"))
            return h.type;
        if (field == QLatin1String("BatchCode"))
            return h.code;
        if (field == QLatin1String("Description"))
            return h.description;
        if (field == QLatin1String("AV"))
            return NumberFormat::figure(h.av, kAcidValuePicture);
        if (field == QLatin1String("Solids"))
            return NumberFormat::figure(h.solids, kSolidsPicture);
        if (field == QLatin1String("Size"))
            return NumberFormat::figure(h.size, kBatchSizePicture);
        if (field == QLatin1String("Date")) {
            const QDateTime stored = QDateTime::fromString(h.date, Qt::ISODate);
            return stored.isValid() ? Report::dateTimeText(stored) : QString();
        }
        return QString();
    }

    const Recipe& m_recipe;
    const MaterialLookup& m_library;
};

} // namespace

TFrmMainReport::TFrmMainReport(Recipe recipe, const MaterialLookup& library, const TReactionTotals& totals)
    : m_recipe(std::move(recipe)), m_library(library), m_totals(totals) {
    addPageHeader();
    addRecipeHeader();
    addColumnTitles();
    addLine();
    addTotals();
    addCalculatedValues();
    FillReportLabels();
}

void TFrmMainReport::addPageHeader() {
    Band b{QStringLiteral("PageHeader"), BandKind::EveryPage, 33.1, {}};
    b.items.push_back(Item::image(Report::picture(QStringLiteral(":/reports/recipe-logo.svg")), 0.3, 0.3, 79.1, 18.8));
    b.items.back().name = QStringLiteral("Logo");
    b.items.push_back(caption(QStringLiteral("Kalvora Printout"), 127.8, 2.6, font(16, true, false, true), Anchor::Centre));
    b.items.push_back(caption(QStringLiteral("Print Date:"), 95.0, 11.1, font(12, true)));
    b.items.push_back(Item::cell(QStringLiteral("PrintDate"), 119.9, 0, 11.1, Anchor::Left, font(12, true), false));
    Report1.bands.push_back(std::move(b));
}

void TFrmMainReport::addRecipeHeader() {
    Band b{QStringLiteral("RecipeHeader"), BandKind::EveryPage, 65.6, {}};
    auto pair = [&](const QString& text, double x, double top, double points) {
        b.items.push_back(caption(text, x, top, font(points, true, true, true)));
    };
    auto value = [&](const QString& field, double x, double top, double points) {
        b.items.push_back(Item::dataField(field, x, top, Anchor::Left, font(points)));
    };
    pair(QStringLiteral("Resin Type:"), 2.1, 3.2, 14);
    value(QStringLiteral("BatchType"), 36.8, 3.2, 14);
    pair(QStringLiteral("Batch Code:"), 2.1, 13.5, 14);
    value(QStringLiteral("BatchCode"), 36.8, 13.5, 14);
    pair(QStringLiteral("Description:"), 2.1, 23.5, 14);
    value(QStringLiteral("Description"), 36.8, 23.5, 14);
    pair(QStringLiteral("Date last modified:"), 2.1, 34.7, 12);
    value(QStringLiteral("Date"), 40.7, 34.7, 12);
    pair(QStringLiteral("Target Batch Size:"), 100.3, 34.7, 12);
    value(QStringLiteral("Size"), 138.6, 34.7, 12);
    pair(QStringLiteral("Target Acid Value:"), 2.1, 44.2, 12);
    value(QStringLiteral("AV"), 41.0, 44.2, 12);
    b.items.push_back(caption(QStringLiteral("mg KOH/g"), 51.1, 44.2, font(12)));
    pair(QStringLiteral("Target Solids:"), 100.3, 44.2, 12);
    value(QStringLiteral("Solids"), 130.4, 44.2, 12);
    b.items.push_back(caption(QStringLiteral("%"), 143.4, 44.2, font(12)));
    pair(QStringLiteral("Resin Recipe"), 74.1, 54.0, 14);
    Report1.bands.push_back(std::move(b));
}

void TFrmMainReport::addColumnTitles() {
    Band b{QStringLiteral("ColumnTitles"), BandKind::BeforeFirstRow, 7.4, {}};
    const Font f = font(10, true, false, true);
    const struct { const char* text; double x; Anchor anchor; } titles[] = {
        {"Item", 6.0, Anchor::Centre},    {"Code", 13.2, Anchor::Left},    {"Name", 31.8, Anchor::Left},
        {"Mass", 83.6, Anchor::Centre},   {"Moles", 99.5, Anchor::Centre}, {"Ea", 113.4, Anchor::Centre},
        {"Eb", 127.9, Anchor::Centre},    {"Amount", 143.4, Anchor::Centre},
        {"Percent", 160.6, Anchor::Centre}, {"Cost", 176.7, Anchor::Centre}};
    for (const auto& t : titles)
        b.items.push_back(caption(QString::fromLatin1(t.text), t.x, 1.1, f, t.anchor));
    Report1.bands.push_back(std::move(b));
}

void TFrmMainReport::addLine() {
    Band b{QStringLiteral("Line"), BandKind::Row, 6.6, {}};
    const Font f = font(10);
    Item item = Item::dataField(QStringLiteral("ItemNum"), 2.1, 1.3, Anchor::Centre, f);
    item.width = 10.6;
    item.x = 2.1 + 10.6 / 2; // a fixed cell starting at 2.1, the number centred in it
    b.items.push_back(item);
    // Each value has the room up to its neighbour and no more, so that a long name or a large
    // figure is drawn smaller rather than into the next column. The percent stands 0.2 higher
    // than the rest, but writes on the row's line.
    const struct { const char* field; double x; Anchor anchor; double top; double room; } fields[] = {
        {"RMCode", 13.2, Anchor::Left, 1.3, 18.0},   {"RMName", 31.8, Anchor::Left, 1.3, 42.5},
        {"Mass", 88.1, Anchor::Right, 1.3, 13.2},    {"Moles", 104.2, Anchor::Right, 1.3, 15.5},
        {"Ea", 113.1, Anchor::Centre, 1.3, 14.2},    {"Eb", 127.9, Anchor::Centre, 1.3, 14.8},
        {"Charge", 150.0, Anchor::Right, 1.3, 14.1}, {"Percent", 167.0, Anchor::Right, 1.1, 16.4},
        {"Cost", 180.7, Anchor::Right, 1.3, 13.1}};
    for (const auto& d : fields) {
        Item value = Item::dataField(QString::fromLatin1(d.field), d.x, d.top, d.anchor, f);
        value.width = d.room;
        value.textDrop = 1.3 - d.top;
        b.items.push_back(value);
    }
    Report1.bands.push_back(std::move(b));
}

void TFrmMainReport::addTotals() {
    Band b{QStringLiteral("Totals"), BandKind::AfterLastRow, 26.2, {}};
    const Font bold = font(10, true);
    const Font plain = font(10);
    b.items.push_back(caption(QStringLiteral("Totals:"), 2.1, 1.1, bold));
    b.items.push_back(caption(QStringLiteral("Water of Reaction:"), 2.1, 6.3, bold));
    b.items.push_back(caption(QStringLiteral("Yield:"), 2.1, 11.6, bold));
    const struct { const char* name; double x; double width; double top; Anchor anchor; bool isBold; bool ruled; } cells[] = {
        {"LblTMass", 88.4, 13.2, 1.1, Anchor::Right, false, true},
        {"LblTMoles", 104.0, 11.9, 1.1, Anchor::Right, false, true},
        {"LblTEa", 113.1, 11.9, 1.1, Anchor::Centre, false, true},
        {"LblTEb", 128.2, 11.9, 1.1, Anchor::Centre, false, true},
        {"LblTAmt", 150.5, 13.2, 1.1, Anchor::Right, false, true},
        {"LblTPerc", 167.0, 11.9, 1.1, Anchor::Right, false, true},
        {"LblTCost", 180.4, 10.6, 1.1, Anchor::Right, false, true},
        {"LblMassWaterOff", 88.4, 13.2, 6.3, Anchor::Right, false, false},
        {"LblChargeWaterOff", 150.5, 13.2, 7.4, Anchor::Right, false, false},
        {"LblPercentWaterOff", 167.0, 11.9, 7.1, Anchor::Right, false, false},
        {"LblMassYield", 88.4, 13.2, 11.6, Anchor::Right, true, true},
        {"LblChargeYield", 150.5, 13.2, 12.7, Anchor::Right, true, true},
        {"LblPercentYield", 167.0, 11.9, 12.7, Anchor::Right, true, true}};
    for (const auto& c : cells)
        b.items.push_back(Item::cell(QString::fromLatin1(c.name), c.x, c.width, c.top, c.anchor,
                                     c.isBold ? bold : plain, c.ruled));
    // The percent of the water stands 0.3 higher than the batch's beside it, but writes on its line.
    b.item(QStringLiteral("LblPercentWaterOff")).textDrop = 0.3;
    Report1.bands.push_back(std::move(b));
}

void TFrmMainReport::addCalculatedValues() {
    Band b{QStringLiteral("CalculatedValues"), BandKind::AfterLastRow, 52.1, {}};
    b.items.push_back(caption(QStringLiteral("Calculated Values"), 69.8, 4.5, font(14, true, true, true)));
    const Font heading = font(12, true, false, true);
    b.items.push_back(caption(QStringLiteral("Design Constants"), 2.1, 13.8, heading));
    b.items.push_back(caption(QStringLiteral("Calculated Parameters"), 69.6, 14.8, heading));
    b.items.push_back(caption(QStringLiteral("Hydroxyl"), 131.2, 14.8, heading));
    const Font bold = font(11, true);
    const Font plain = font(11);
    // Caption at its left edge, as the table of figures words it; the value right-aligned in a
    // cell ending at `valueRight`.
    auto pair = [&](double captionX, double top, const char* label, double valueRight, double width,
                    double percentX = 0) {
        b.items.push_back(caption(QString::fromLatin1(figureOfReportLabel(QString::fromLatin1(label))->reportCaption),
                                  captionX, top, bold));
        b.items.push_back(Item::cell(QString::fromLatin1(label), valueRight, width, top, Anchor::Right, plain, false));
        if (percentX > 0)
            b.items.push_back(caption(QStringLiteral("%"), percentX, top, plain));
    };
    pair(2.1, 22.5, "LblKValue", 44.5, 11.9);
    pair(2.1, 29.6, "LblAVAtGel", 44.5, 11.9);
    pair(2.1, 36.5, "LblPGel", 44.5, 11.9);
    pair(2.1, 43.7, "LblFav", 44.5, 11.9);
    pair(69.6, 22.5, "LblOilLength", 106.9, 11.9, 107.4);
    pair(69.8, 29.6, "LblMolMass", 106.9, 11.9);
    pair(69.6, 36.5, "LblCost", 106.9, 11.9);
    pair(131.0, 22.5, "LblExcessOH", 171.7, 13.2, 172.2);
    pair(131.0, 29.6, "LblOHN", 171.7, 13.2);
    pair(131.0, 36.5, "LblOHEqvMass", 171.7, 13.2);
    pair(131.0, 43.7, "LblPercOH", 171.7, 13.2, 172.5);
    Report1.bands.push_back(std::move(b));
}

void TFrmMainReport::FillReportLabels() {
    // Every figure the report prints, from the one table.
    for (const Figure& f : figures())
        if (f.reportLabel)
            for (Band& band : Report1.bands)
                for (Item& item : band.items)
                    if (item.name == QLatin1String(f.reportLabel))
                        item.text = f.reportText(m_totals);
    addGelWarning();
}

// One line under the calculated values, and only when the target lies past a gel point.
void TFrmMainReport::addGelWarning() {
    const QString name = QStringLiteral("GelWarning");
    std::erase_if(Report1.bands, [&](const Band& b) { return b.name == name; });
    const GelSafety safety = AssessGel(m_totals);
    if (safety.level == GelSafety::Level::Safe)
        return;
    // Room for three lines: the words of one gel point passed run to two sentences.
    Band b{name, BandKind::AfterLastRow, 16, {}};
    Item line = Item::cell(QStringLiteral("LblGelSafety"), 2.1, 180, 1.5, Anchor::Left, font(10, true), false);
    line.text = safety.text;
    line.wrap = true;
    b.items.push_back(std::move(line));
    Report1.bands.push_back(std::move(b));
}

std::vector<Report::Page> TFrmMainReport::prepare(const QDateTime& printed) {
    Report1.band(QStringLiteral("PageHeader")).item(QStringLiteral("PrintDate")).text = Report::dateTimeText(printed);
    return Report1.layout(RecipeData(m_recipe, m_library));
}

QString TFrmMainReport::labelText(const QString& name) {
    for (Band& b : Report1.bands)
        for (const Item& i : b.items)
            if (i.name == name)
                return i.text;
    return QString();
}
