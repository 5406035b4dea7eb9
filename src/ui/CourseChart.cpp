#include "CourseChart.h"

#include "domain/NumberFormat.h"
#include "domain/CourseTable.h"

#include <QChart>
#include <QCursor>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamples = 120;

QString fixed(double value, const char* picture) { return NumberFormat::format(value, QString::fromLatin1(picture)); }

// Widths in the chart's own pixels, so that a saved picture or page keeps the curves' weight.
QPen pen(const QColor& colour, qreal width, Qt::PenStyle style = Qt::SolidLine) {
    return QPen(colour, width, style);
}

QValueAxis* axis(const QString& title, const char* format) {
    auto* a = new QValueAxis;
    a->setTitleText(title);
    a->setLabelFormat(QString::fromLatin1(format));
    return a;
}

// The Mn axis stops where the curve has shown its rise: near Carothers' gel point Mn runs to
// infinity and would flatten everything before it. It reaches four times the largest Mn of the
// charge and the marked points that still have molecules.
double molMassTop(const TReactionTotals& t, double sampledTop) {
    double reference = CourseAt(t, 0).molMass;
    const double end = CourseEnd(t);
    for (const CourseRow& mark : CourseMarks(t))
        if (mark.point.extent <= end && mark.point.molecules > 0)
            reference = std::max(reference, mark.point.molMass);
    return std::min(sampledTop, 4 * reference);
}

// Zero to a round top in round steps: four of them on the acid value axis, whose grid lines the
// plot shows; on the Mn axis as many as bring the top closest to the curve.
void setRoundRange(QValueAxis* a, double top, bool fourSteps) {
    const double raw = std::max(top, 1e-9) / (fourSteps ? 4 : 5);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * magnitude >= raw * (1 - 1e-12)) {
            step = m * magnitude;
            break;
        }
    const int steps = fourSteps ? 4 : std::max(1, int(std::ceil(top / step - 1e-9)));
    a->setRange(0, steps * step);
    a->setTickCount(steps + 1);
    // As many decimals as the step needs, so that every label names its own tick.
    int decimals = 0;
    while (decimals < 4 && std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-9)
        ++decimals;
    a->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

} // namespace

TCourseChart::TCourseChart(QWidget* parent) : QChartView(parent) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    // Axis labels in the locale's decimals and without thousands separators, as the panels.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(locale);
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    viewport()->setMouseTracking(true);

    m_x = axis(QStringLiteral("Extent of reaction"), "%.1f");
    m_x->setTickType(QValueAxis::TicksDynamic);
    m_x->setTickAnchor(0);
    m_x->setTickInterval(0.1);
    m_avAxis = axis(QStringLiteral("Acid value (mg KOH/g)"), "%.0f");
    m_mnAxis = axis(QStringLiteral("Mn (g/mol)"), "%.0f");
    m_mnAxis->setGridLineVisible(false); // its ticks need not meet the acid value's grid
    chart->addAxis(m_x, Qt::AlignBottom);
    chart->addAxis(m_avAxis, Qt::AlignLeft);
    chart->addAxis(m_mnAxis, Qt::AlignRight);

    auto series = [&](const QString& name, const QPen& p, QValueAxis* y) {
        auto* s = new QLineSeries;
        s->setName(name);
        s->setPen(p);
        chart->addSeries(s);
        s->attachAxis(m_x);
        s->attachAxis(y);
        return s;
    };
    m_av = series(QStringLiteral("Acid value"), pen(QColor(0x00, 0x00, 0x80), 2), m_avAxis);
    m_mn = series(QStringLiteral("Mn"), pen(QColor(0x00, 0x80, 0x80), 2), m_mnAxis);
    m_avAxis->setLinePenColor(m_av->color());
    m_mnAxis->setLinePenColor(m_mn->color());

    const QColor colours[] = {QColor(0xE0, 0x80, 0x00), QColor(0xC0, 0x00, 0x00), QColor(0x00, 0x60, 0x00),
                              QColor(0x60, 0x60, 0x60)};
    for (const QColor& c : colours) {
        Marker m;
        m.line = series(QString(), pen(c, 1.5, Qt::DashLine), m_avAxis);
        chart->legend()->markers(m.line).first()->setVisible(false);
        m.label = new QGraphicsRectItem(chart);
        m.label->setPen(pen(c, 1));
        m.label->setBrush(QColor(255, 255, 255, 220));
        m.label->setZValue(10);
        m.text = new QGraphicsSimpleTextItem(m.label);
        m.text->setBrush(c.darker(130));
        m_markers.push_back(m);
    }
    connect(chart, &QChart::plotAreaChanged, this, &TCourseChart::placeLabels);
}

void TCourseChart::setCourse(const TReactionTotals& t, const QString& title) {
    m_totals = t;
    chart()->setTitle(title);
    const std::vector<CoursePoint> samples = CourseSamples(t, kSamples);
    QList<QPointF> av, mn;
    av.reserve(kSamples + 1);
    mn.reserve(kSamples + 1);
    double mnTop = 0;
    for (const CoursePoint& c : samples) {
        av.append(QPointF(c.extent, c.acidValue));
        if (c.molecules > 0 && c.molMass > 0) { // none left past Carothers' gel point
            mn.append(QPointF(c.extent, c.molMass));
            mnTop = std::max(mnTop, c.molMass);
        }
    }
    m_av->replace(av);
    m_mn->replace(mn);

    const double end = samples.empty() ? 1 : std::max(CourseEnd(t), 0.05);
    // A little past the end, to the next twentieth, so that a marker standing at the end is not
    // drawn under the right-hand axis.
    m_x->setRange(0, std::ceil((end + 0.01) / 0.05 - 1e-9) * 0.05);
    setRoundRange(m_avAxis, samples.empty() ? 100 : samples.front().acidValue, true);
    setRoundRange(m_mnAxis, mn.isEmpty() ? 1000 : molMassTop(t, mnTop), false);

    // Markers in the order of the kinds' colours, each shown only when it lies on the chart.
    const QString kinds[] = {QStringLiteral("Statistical gel"), QStringLiteral("Carothers gel"),
                             QStringLiteral("Target"), QStringLiteral("Hydroxyl used up")};
    for (Marker& m : m_markers) {
        m.line->setVisible(false);
        m.label->setVisible(false);
    }
    for (const CourseRow& mark : CourseMarks(t)) {
        if (samples.empty() || mark.point.extent > end + 1e-12)
            continue;
        Marker& m = m_markers[int(std::find(std::begin(kinds), std::end(kinds), mark.mark) - std::begin(kinds))];
        m.extent = mark.point.extent;
        m.line->replace({QPointF(m.extent, m_avAxis->min()), QPointF(m.extent, m_avAxis->max())});
        m.line->setVisible(true);
        m.text->setText(QStringLiteral("%1\n%2, AV %3")
                            .arg(mark.mark, fixed(mark.point.extent, "0.000"), fixed(mark.point.acidValue, "0.0")));
        m.label->setVisible(true);
    }
    // The legend names the curves; the markers carry their own labels. It makes a new entry
    // whenever a series is shown again.
    for (const Marker& m : m_markers)
        for (QLegendMarker* entry : chart()->legend()->markers(m.line))
            entry->setVisible(false);
    placeLabels();
}

QList<const TCourseChart::Marker*> TCourseChart::shownMarkers() const {
    QList<const Marker*> shown;
    for (const Marker& m : m_markers)
        if (m.label->isVisible())
            shown.append(&m);
    std::sort(shown.begin(), shown.end(), [](const Marker* a, const Marker* b) { return a->extent < b->extent; });
    return shown;
}

void TCourseChart::placeLabels() {
    const QRectF plot = chart()->plotArea();
    qreal top = plot.top() + 4;
    for (const Marker* m : shownMarkers()) {
        const QRectF text = m->text->boundingRect();
        const QSizeF size(text.width() + 8, text.height() + 4);
        const qreal x = chart()->mapToPosition(QPointF(m->extent, m_avAxis->max()), m_av).x();
        // Right of its line, or left of it where the plot ends.
        const qreal left = x + 3 + size.width() <= plot.right() ? x + 3 : x - 3 - size.width();
        m->label->setRect(QRectF(QPointF(left, top), size));
        m->text->setPos(left + 4, top + 2);
        top += size.height() + 4; // stacked, so that close markers keep readable labels
    }
}

QStringList TCourseChart::markerLabels() const {
    QStringList labels;
    for (const Marker* m : shownMarkers())
        labels << m->text->text();
    return labels;
}

QString TCourseChart::pointToolTip(double extent) const {
    const CoursePoint c = CourseAt(m_totals, extent);
    QString tip = QStringLiteral("Extent %1\nAcid value %2").arg(fixed(c.extent, "0.000"), fixed(c.acidValue, "0.0"));
    if (c.molecules > 0)
        tip += QStringLiteral("\nMn %1").arg(fixed(c.molMass, "0"));
    return tip + QStringLiteral("\nWater off %1 g").arg(fixed(c.waterOff, "0.00"));
}

void TCourseChart::showFiguresAt(const QPointF& at, const QPoint& global) {
    if (m_av->count() == 0 || !chart()->plotArea().contains(at)) {
        QToolTip::hideText();
        return;
    }
    const double extent = std::clamp(chart()->mapToValue(at, m_av).x(), m_x->min(), m_x->max());
    QToolTip::showText(global, pointToolTip(extent), viewport());
}

bool TCourseChart::viewportEvent(QEvent* event) {
    // The scene would hide the tip again, having no item with a tooltip of its own.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        showFiguresAt(help->pos(), help->globalPos());
        return true;
    }
    return QChartView::viewportEvent(event);
}

void TCourseChart::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    // A tip already shown follows the cursor along the course.
    if (QToolTip::isVisible())
        showFiguresAt(event->position(), event->globalPosition().toPoint());
}

bool TCourseChart::savePng(const QString& file, QString* error) const {
    // Twice the screen's pixels, for a sharp picture in a document.
    QImage image(size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const_cast<TCourseChart*>(this)->render(&painter, QRectF(image.rect()), rect());
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

bool TCourseChart::savePdf(const QString& file, QString* error) const {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(chart()->title());
        pdf.setCreator(QStringLiteral("Kalvora"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter));
        QPainter painter(&pdf);
        const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        // Laid out afresh in the page's shape, so that it fills the page rather than the part of
        // it the window's shape would take; as tall as it stands on screen, so that its type
        // keeps its weight, and at least as tall as a window would show it.
        QChart* c = chart();
        const QSizeF shown = c->size();
        const double height = std::max(shown.height(), 560.0);
        const QSizeF shape(height * page.width() / page.height(), height);
        const auto layOut = [&](const QSizeF& size) {
            c->resize(size);
            if (c->layout())
                c->layout()->activate();
            const_cast<TCourseChart*>(this)->placeLabels();
        };
        layOut(shape);
        scene()->render(&painter, QRectF(QPointF(0, 0), page.size()), QRectF(c->pos(), shape));
        layOut(shown);
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}
