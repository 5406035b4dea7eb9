#include "ReportPainter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

static void loadReportResources() { Q_INIT_RESOURCE(reports); }

namespace Report {

std::shared_ptr<QSvgRenderer> picture(const QString& path) {
    static const bool loaded = (loadReportResources(), true);
    Q_UNUSED(loaded);
    return std::make_shared<QSvgRenderer>(path);
}

QFont qtFont(const Font& font) {
    QFont f(font.family);
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    // Positions are measured on paper: no hinting that would move glyphs to the device's pixels.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

namespace {

// The smallest a cell's text is drawn to fit its cell.
constexpr double MinPoints = 6;

void drawPicture(QPainter& p, const Placed& placed, double dotsPerMm) {
    const Item& i = *placed.item;
    const QRectF frame(placed.x * dotsPerMm, placed.top * dotsPerMm, i.width * dotsPerMm,
                       i.height * dotsPerMm);
    QSizeF size = i.picture->defaultSize();
    if (size.isEmpty())
        size = frame.size();
    size.scale(frame.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(frame.center());
    i.picture->render(&p, target);
}

} // namespace

void paintPage(QPainter& p, const Page& page) {
    const double dotsPerMm = p.device()->logicalDpiX() / 25.4;
    const double far = 1000 * dotsPerMm; // room for text growing away from its anchor
    p.save();
    p.setPen(Qt::black);
    for (const Placed& placed : page.items) {
        const Item& i = *placed.item;
        if (i.picture) {
            drawPicture(p, placed, dotsPerMm);
            continue;
        }
        QFont font = qtFont(i.font);
        const QFontMetricsF fm(font, p.device());
        const double x = placed.x * dotsPerMm;
        const double top = placed.top * dotsPerMm;
        const double height = fm.height();
        double textTop = top + i.textDrop * dotsPerMm;
        // A cell's text never runs into the next cell: too wide, it is drawn smaller on the same
        // baseline, and past the smallest size it is cut at the cell's edge.
        bool clip = false;
        if (i.width > 0 && !i.wrap && !placed.text.isEmpty()) {
            const double room = i.width * dotsPerMm;
            const double wide = fm.horizontalAdvance(placed.text);
            if (wide > room) {
                font.setPointSizeF(std::max(MinPoints, i.font.points * room / wide * 0.98));
                const QFontMetricsF smaller(font, p.device());
                textTop += fm.ascent() - smaller.ascent();
                clip = smaller.horizontalAdvance(placed.text) > room;
            }
        }
        p.setFont(font);
        QRectF box;
        int align = Qt::AlignTop | Qt::TextSingleLine | (clip ? 0 : Qt::TextDontClip);
        if (i.width > 0 && i.wrap) {
            box = QRectF(x, top, i.width * dotsPerMm, far);
            align = Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip |
                    (i.anchor == Anchor::Left ? Qt::AlignLeft : i.anchor == Anchor::Right ? Qt::AlignRight : Qt::AlignHCenter);
        } else if (i.width > 0) {
            box = QRectF(x, top, i.width * dotsPerMm, height);
            align |= i.anchor == Anchor::Left ? Qt::AlignLeft : i.anchor == Anchor::Right ? Qt::AlignRight : Qt::AlignHCenter;
        } else if (i.anchor == Anchor::Left) {
            box = QRectF(x, top, far, height);
            align |= Qt::AlignLeft;
        } else if (i.anchor == Anchor::Right) {
            box = QRectF(x - far, top, far, height);
            align |= Qt::AlignRight;
        } else {
            box = QRectF(x - far / 2, top, far, height);
            align |= Qt::AlignHCenter;
        }
        if (!placed.text.isEmpty()) {
            QRectF textBox = box;
            textBox.moveTop(textTop);
            if (i.width > 0 && !i.wrap)
                textBox.setHeight(std::max(height, QFontMetricsF(font, p.device()).height()));
            p.drawText(textBox, align, placed.text);
        }
        if (i.ruled) {
            p.save();
            p.setPen(QPen(Qt::black, qMax(1.0, 0.2 * dotsPerMm)));
            p.drawLine(box.topLeft(), box.topRight());
            p.drawLine(box.bottomLeft(), box.bottomRight());
            p.restore();
        }
    }
    p.restore();
}

bool print(QPagedPaintDevice& device, const Definition& definition, const std::vector<Page>& pages,
           const std::function<bool(int)>& pageDone) {
    device.setPageLayout(QPageLayout(QPageSize(definition.paperSize, QPageSize::Millimeter),
                                     QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (size_t n = 0; n < pages.size(); ++n) {
        if (n > 0 && !device.newPage())
            return false;
        paintPage(painter, pages[n]);
        if (pageDone && !pageDone(int(n) + 1))
            return false;
    }
    return painter.end();
}

} // namespace Report
