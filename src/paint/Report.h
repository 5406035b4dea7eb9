#pragma once

#include <QDateTime>
#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QSvgRenderer;

// A banded report: bands of fixed height in millimetres on a page with margins, laid out once into
// pages of placed items that a painter then draws on any device. It knows nothing of recipes: its
// rows come from a ReportData.
namespace Report {

enum class Anchor { Left, Right, Centre };

struct Font {
    QString family = QStringLiteral("Arial");
    double points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    // Arial of that size and style, the reports' face.
    static Font arial(double points, bool bold = false, bool italic = false, bool underline = false);
};

// One thing printed in a band. Positions are millimetres from the band's left edge and top; the
// anchor is the left edge, the right edge or the centre, and text grows away from it. A cell of
// fixed width spans `width` millimetres ending at a right anchor, starting at a left one or
// centred on a centre one; a ruled cell has a thin line along its top and bottom edges.
struct Item {
    QString name;
    double x = 0;
    double top = 0;
    Anchor anchor = Anchor::Left;
    Font font;
    QString text;  // the text, or the field whose value a data band prints
    bool isField = false;
    double width = 0; // 0: as wide as the text
    bool ruled = false;
    bool wrap = false; // a cell's text breaks between words onto further lines below
    // How far below the cell's top its text stands: a cell placed a little higher than its row
    // still writes on the row's line.
    double textDrop = 0;
    // A picture, drawn centred and whole in a frame of `width` x `height` mm at (x, top).
    std::shared_ptr<QSvgRenderer> picture;
    double height = 0;

    static Item label(const QString& text, double x, double top, Anchor anchor, const Font& font);
    // A label named by its own text.
    static Item caption(const QString& text, double x, double top, Anchor anchor, const Font& font);
    static Item dataField(const QString& field, double x, double top, Anchor anchor, const Font& font);
    static Item cell(const QString& name, double x, double width, double top, Anchor anchor,
                     const Font& font, bool ruled);
    static Item image(std::shared_ptr<QSvgRenderer> picture, double x, double top, double width,
                      double height);
};

enum class BandKind {
    EveryPage,      // at the top of every page, in the order given
    BeforeFirstRow, // once, just before the first row (not at all without rows)
    Row,            // once per row of the data
    AfterLastRow,   // once each, after the last row
};

struct Band {
    QString name;
    BandKind kind = BandKind::Row;
    double height = 0; // mm
    std::vector<Item> items;

    // The item of that name; raises std::out_of_range when there is none.
    Item& item(const QString& itemName);
};

// The rows a report prints: values as the user reads them, already formatted.
class Data {
public:
    virtual ~Data() = default;
    virtual int rowCount() const = 0;
    // The text of `field` on `row`; row -1 asks for the value outside the rows (a header field).
    virtual QString text(int row, const QString& field) const = 0;
};

// An item where the layout put it: page coordinates in millimetres from the paper's top-left
// corner, the text resolved.
struct Placed {
    const Item* item = nullptr;
    double x = 0;   // the anchor, or the cell's left edge
    double top = 0;
    QString text;
};

struct Page {
    std::vector<Placed> items;
};

class Definition {
public:
    Definition();

    QSizeF paperSize = {210, 297}; // A4 portrait
    QMarginsF margins = {12.7, 12.7, 12.7, 12.7};
    std::vector<Band> bands;

    Band& band(const QString& name);
    double bandWidth() const { return paperSize.width() - margins.left() - margins.right(); }

    // Lays every band out over as many pages as it needs. A band that does not fit on the rest of
    // the page moves to a new one, which starts again with the every-page bands. There is always
    // at least one page. The placed items point into the bands: keep the definition alive.
    std::vector<Page> layout(const Data& data) const;
};

// A date and time as reports print them: the user's short date format, a blank and the user's
// long time format (without a time zone, as a desktop's clock shows it).
QString dateTimeText(const QDateTime& when);

// A picture of the program's resources (an SVG path such as ":/reports/recipe-logo.svg").
std::shared_ptr<QSvgRenderer> picture(const QString& path);

} // namespace Report
