#pragma once

#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <vector>

// A status bar of fixed panels, each with its own width and text alignment, painted by the bar
// itself: a new text repaints its panel alone, and the panels sit exactly at their widths.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    struct Panel {
        int width;
        Qt::Alignment alignment;
    };
    explicit StatusPanels(std::vector<Panel> panels, QWidget* parent = nullptr);

    int count() const { return int(m_panels.size()); }
    QString text(int index) const; // 0-based
    void setText(int index, const QString& text);
    // Where panel `index` lies, and the point its text is drawn from (left end of the baseline).
    QRect panelRect(int index) const;
    QPoint textOrigin(int index) const { return origin(index); }

    // A note across the material panels for `msecs`, such as a file just written; the panels
    // show their texts again afterwards.
    void showNote(const QString& text, int msecs = NoteTime);
    QString note() const { return m_note; }
    static constexpr int NoteTime = 6000;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect innerRect(int index) const;
    QPoint origin(int index) const;

    QRect noteRect() const;

    std::vector<Panel> m_panels;
    QStringList m_texts;
    QString m_note;
    QTimer* m_noteTimer;
};
