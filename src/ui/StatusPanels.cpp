#include "StatusPanels.h"

#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

StatusPanels::StatusPanels(std::vector<Panel> panels, QWidget* parent)
    : QStatusBar(parent), m_panels(std::move(panels)) {
    for (size_t i = 0; i < m_panels.size(); ++i)
        m_texts << QString();
    setSizeGripEnabled(false);
    setAutoFillBackground(true); // a new text repaints the bar alone, not the window under it
    m_noteTimer = new QTimer(this);
    m_noteTimer->setSingleShot(true);
    connect(m_noteTimer, &QTimer::timeout, this, [this] {
        m_note.clear();
        update(noteRect());
    });
}

QRect StatusPanels::noteRect() const {
    // Every panel but the last, which keeps the AutoCalc state in view.
    return panelRect(0).united(panelRect(count() - 2));
}

void StatusPanels::showNote(const QString& text, int msecs) {
    m_note = text;
    m_noteTimer->start(msecs);
    update(noteRect());
}

QSize StatusPanels::sizeHint() const { return QSize(QStatusBar::sizeHint().width(), 20); }

QString StatusPanels::text(int index) const { return m_texts.value(index); }

void StatusPanels::setText(int index, const QString& text) {
    if (index < 0 || index >= count() || m_texts[index] == text)
        return;
    m_texts[index] = text;
    update(panelRect(index));
}

QRect StatusPanels::panelRect(int index) const {
    int x = 0;
    for (int i = 0; i < index; ++i)
        x += m_panels[size_t(i)].width;
    return QRect(x, 1, m_panels[size_t(index)].width, height() - 1);
}

QRect StatusPanels::innerRect(int index) const { return panelRect(index).adjusted(1, 1, -1, -1); }

QPoint StatusPanels::origin(int index) const {
    const QRect inner = innerRect(index);
    const QString& text = m_texts[index];
    const QFontMetrics fm = fontMetrics();
    const int y = inner.top() + (inner.height() + fm.ascent() - fm.descent()) / 2;
    const Qt::Alignment align = m_panels[size_t(index)].alignment;
    if (align & Qt::AlignHCenter)
        return QPoint(inner.left() + (inner.width() - fm.horizontalAdvance(text)) / 2, y);
    if (align & Qt::AlignRight)
        return QPoint(inner.right() + 1 - fm.horizontalAdvance(text), y);
    // A text that starts with its blank has the blank for its margin: all of it but a pixel
    // lies under the bevel, which leaves room for " Molecular Mass: 104.15" in 120 pixels.
    if (text.startsWith(u' '))
        return QPoint(inner.left() + 1 - fm.horizontalAdvance(u' '), y);
    return QPoint(inner.left() + 1, y);
}

void StatusPanels::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().brush(QPalette::Window));
    if (!m_note.isEmpty()) {
        const QRect r = noteRect();
        qDrawShadePanel(&p, r, palette(), true, 1);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r.adjusted(4, 1, -4, -1), Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(m_note, Qt::ElideMiddle, r.width() - 8));
    }
    for (int i = 0; i < count(); ++i) {
        const QRect r = panelRect(i);
        if (!r.intersects(event->rect()) || (!m_note.isEmpty() && i < count() - 1))
            continue;
        qDrawShadePanel(&p, r, palette(), true, 1);
        const QRect inner = innerRect(i);
        p.save();
        p.setClipRect(inner);
        p.setPen(palette().color(QPalette::WindowText));
        // A text still too wide for its panel ends in an ellipsis rather than a cut letter.
        QString text = m_texts[i];
        const QPoint at = origin(i);
        if (at.x() + fontMetrics().horizontalAdvance(text) > inner.right() + 2)
            text = fontMetrics().elidedText(text, Qt::ElideRight, inner.right() + 1 - at.x());
        p.drawText(at, text);
        p.restore();
    }
}
