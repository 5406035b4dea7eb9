#include "paint/Report.h"
#include "paint/ReportPainter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace Report;

namespace {

class Rows : public Data {
public:
    explicit Rows(int n) : m_n(n) {}
    int rowCount() const override { return m_n; }
    QString text(int row, const QString& field) const override {
        return row < 0 ? QStringLiteral("head:") + field : QStringLiteral("%1:%2").arg(field).arg(row);
    }

private:
    int m_n;
};

// A page 100 mm high with 10 mm margins: 80 mm for bands.
Definition smallPage() {
    Definition d;
    d.paperSize = {100, 100};
    d.margins = {10, 10, 10, 10};
    Font f;
    d.bands.push_back({"Top", BandKind::EveryPage, 20, {Item::label("TOP", 0, 0, Anchor::Left, f)}});
    d.bands.push_back({"Titles", BandKind::BeforeFirstRow, 5, {Item::label("TITLES", 0, 0, Anchor::Left, f)}});
    d.bands.push_back({"Row", BandKind::Row, 10, {Item::dataField("F", 5, 1, Anchor::Right, f)}});
    d.bands.push_back({"Sum", BandKind::AfterLastRow, 15, {Item::dataField("S", 0, 0, Anchor::Left, f)}});
    return d;
}

QStringList texts(const Page& page) {
    QStringList out;
    for (const Placed& p : page.items)
        out << p.text;
    return out;
}

} // namespace

TEST(ReportLayout, BandsFlowOverPagesThatEachStartWithTheEveryPageBands) {
    const Definition d = smallPage();
    // Page 1: top 20, titles 5, five rows (50) = 75; a sixth row would end at 85 > 80.
    // Page 2: top 20, six rows (60) = 80 exactly; the sum moves on. Page 3: top, rows 11..12, sum.
    const auto pages = d.layout(Rows(13));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(texts(pages[0]), QStringList({"TOP", "TITLES", "F:0", "F:1", "F:2", "F:3", "F:4"}));
    EXPECT_EQ(texts(pages[1]), QStringList({"TOP", "F:5", "F:6", "F:7", "F:8", "F:9", "F:10"}));
    EXPECT_EQ(texts(pages[2]), QStringList({"TOP", "F:11", "F:12", "head:S"}));
    // Positions on paper: margin + band top + item offset; a right anchor stays the right edge.
    const Placed& lastOnFirst = pages[0].items.back();
    EXPECT_DOUBLE_EQ(lastOnFirst.top, 10 + 20 + 5 + 4 * 10 + 1);
    EXPECT_DOUBLE_EQ(lastOnFirst.x, 15);
    EXPECT_DOUBLE_EQ(pages[2].items.back().top, 10 + 20 + 2 * 10);
}

TEST(ReportLayout, WithoutRowsTheTitlesAreLeftOutAndTheRestStillPrints) {
    const auto pages = smallPage().layout(Rows(0));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(texts(pages[0]), QStringList({"TOP", "head:S"}));
}

TEST(ReportLayout, ABandTallerThanAPageGoesOnAPageOfItsOwnAndTheReportEnds) {
    Definition d = smallPage();
    d.band("Sum").height = 500;
    const auto pages = d.layout(Rows(1));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(texts(pages[1]), QStringList({"TOP", "head:S"}));
}

TEST(ReportLayout, FixedCellsArePlacedByTheirLeftEdge) {
    Definition d = smallPage();
    Font f;
    auto& items = d.band("Sum").items;
    items.push_back(Item::cell("R", 50, 10, 0, Anchor::Right, f, true));
    items.push_back(Item::cell("C", 50, 10, 0, Anchor::Centre, f, false));
    items.push_back(Item::cell("L", 50, 10, 0, Anchor::Left, f, false));
    const auto pages = d.layout(Rows(0));
    const auto& placed = pages[0].items;
    ASSERT_EQ(placed.size(), 5u);
    EXPECT_DOUBLE_EQ(placed[2].x, 10 + 40);
    EXPECT_DOUBLE_EQ(placed[3].x, 10 + 45);
    EXPECT_DOUBLE_EQ(placed[4].x, 10 + 50);
    EXPECT_THROW(d.band("Sum").item("missing"), std::out_of_range);
    EXPECT_THROW(d.band("missing"), std::out_of_range);
}

// Paints at 10 dots per millimetre, so that a position in mm reads off as a pixel.
QImage paint(const Definition& d, const Page& page) {
    QImage image(int(d.paperSize.width() * 10), int(d.paperSize.height() * 10), QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    QPainter p(&image);
    paintPage(p, page);
    return image;
}

bool inkIn(const QImage& image, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

TEST(ReportPainting, TextStandsAtItsAnchorAndRuledCellsCarryTwoLines) {
    Definition d;
    d.paperSize = {100, 60};
    d.margins = {10, 10, 10, 10};
    Font f;
    f.points = 12;
    Band band{"B", BandKind::AfterLastRow, 30, {}};
    band.items.push_back(Item::label("LEFT", 10, 0, Anchor::Left, f));
    band.items.push_back(Item::label("RIGHT", 70, 10, Anchor::Right, f));
    Item ruled = Item::cell("Cell", 60, 20, 20, Anchor::Right, f, true);
    ruled.text = "7.5";
    band.items.push_back(ruled);
    d.bands.push_back(band);
    const auto pages = d.layout(Rows(0));
    const QImage image = paint(d, pages[0]);

    // "LEFT" starts at x 20 mm, its line from y 10 mm; nothing to the left of its anchor.
    EXPECT_TRUE(inkIn(image, QRect(200, 100, 40, 50)));
    EXPECT_FALSE(inkIn(image, QRect(150, 100, 45, 50)));
    // "RIGHT" ends at x 80 mm, from y 20 mm; nothing to the right of its anchor.
    EXPECT_TRUE(inkIn(image, QRect(760, 200, 40, 50)));
    EXPECT_FALSE(inkIn(image, QRect(805, 200, 100, 50)));
    // The ruled cell spans x 50..70 mm from y 30 mm: lines along its top and bottom edges.
    for (int x : {505, 600, 695})
        EXPECT_TRUE(inkIn(image, QRect(x, 298, 1, 4))) << x;
    EXPECT_FALSE(inkIn(image, QRect(480, 298, 15, 4)));
    EXPECT_FALSE(inkIn(image, QRect(705, 298, 15, 4)));
}

TEST(ReportPainting, APictureStaysInsideItsFrame) {
    Definition d;
    d.paperSize = {100, 60};
    d.margins = {10, 10, 10, 10};
    Band band{"B", BandKind::EveryPage, 30, {}};
    band.items.push_back(Item::image(picture(":/reports/recipe-logo.svg"), 5, 5, 60, 20));
    d.bands.push_back(band);
    const auto pages = d.layout(Rows(0));
    const QImage image = paint(d, pages[0]);
    // The frame spans x 15..75 mm and y 15..35 mm.
    EXPECT_TRUE(inkIn(image, QRect(150, 150, 600, 200)));
    EXPECT_FALSE(inkIn(image, QRect(0, 0, 1000, 145)));
    EXPECT_FALSE(inkIn(image, QRect(0, 355, 1000, 245)));
    EXPECT_FALSE(inkIn(image, QRect(0, 0, 145, 600)));
    EXPECT_FALSE(inkIn(image, QRect(755, 0, 245, 600)));
}

TEST(ReportDates, AreTheShortDateAndTheLongTimeWithoutAZone) {
    const QDateTime when(QDate(2026, 12, 9), QTime(14, 5, 9));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(dateTimeText(when), "12/9/26 2:05:09 PM");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(dateTimeText(when), "09.12.26 14:05:09");
    QLocale::setDefault(QLocale::c());
}
