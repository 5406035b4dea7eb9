#pragma once

#include "domain/ReactionTotals.h"

#include <QChartView>
#include <QList>

class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

// Acid value and number-average molecular mass against the extent of reaction, with the gel
// points and the target as labelled vertical markers. The cursor over the plot tells the figures
// of the course at its extent, water off among them.
class TCourseChart : public QChartView {
    Q_OBJECT
public:
    explicit TCourseChart(QWidget* parent = nullptr);

    // Draws the course of `t`; `title` heads the chart.
    void setCourse(const TReactionTotals& t, const QString& title);

    // What the tooltip at `extent` says.
    QString pointToolTip(double extent) const;
    // The label texts of the markers shown, in order of extent.
    QStringList markerLabels() const;

    QLineSeries* acidValueSeries() const { return m_av; }
    QLineSeries* molMassSeries() const { return m_mn; }
    QValueAxis* extentAxis() const { return m_x; }
    QValueAxis* acidValueAxis() const { return m_avAxis; }
    QValueAxis* molMassAxis() const { return m_mnAxis; }

    // Writes the chart as a picture or a page; on failure false with the reason in `error`. The
    // file is written whole or left as it was.
    bool savePng(const QString& file, QString* error) const;
    bool savePdf(const QString& file, QString* error) const;

protected:
    bool viewportEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void showFiguresAt(const QPointF& at, const QPoint& global);
    void placeLabels();

    TReactionTotals m_totals;
    QLineSeries* m_av = nullptr;
    QLineSeries* m_mn = nullptr;
    QValueAxis* m_x = nullptr;
    QValueAxis* m_avAxis = nullptr;
    QValueAxis* m_mnAxis = nullptr;
    struct Marker {
        QLineSeries* line = nullptr;
        QGraphicsRectItem* label = nullptr;
        QGraphicsSimpleTextItem* text = nullptr;
        double extent = 0;
    };
    QList<Marker> m_markers; // statistical gel, Carothers gel, target, hydroxyl used up
    // The markers on the chart, in order of extent.
    QList<const Marker*> shownMarkers() const;
};
