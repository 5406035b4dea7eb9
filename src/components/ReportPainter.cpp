#include "ReportPainter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

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
        const QFont font = qtFont(i.font);
        p.setFont(font);
        const QFontMetricsF fm(font, p.device());
        const double x = placed.x * dotsPerMm;
        const double top = placed.top * dotsPerMm;
        const double height = fm.height();
        QRectF box;
        int align = Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
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
        if (!placed.text.isEmpty())
            p.drawText(box, align, placed.text);
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
