#include "GridFooter.h"

#include <QHeaderView>
#include <QPainter>
#include <qdrawutil.h>

GridFooter::GridFooter(QWidget* parent, const QHeaderView* header, int indent)
    : QWidget(parent), m_header(header), m_indent(indent), m_font(parent->font()) {
    setAttribute(Qt::WA_OpaquePaintEvent); // it paints every pixel of itself
}

void GridFooter::setFooterFont(const QFont& font) {
    m_font = font;
    update();
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    const int h = height();
    for (int logical = 0; logical < int(m_cells.size()); ++logical) {
        const FooterCell& cell = m_cells[size_t(logical)];
        if (!cell.visible || logical >= m_header->count() || m_header->isSectionHidden(logical))
            continue;
        const QRect r(m_indent + m_header->sectionViewportPosition(logical), 0,
                      m_header->sectionSize(logical), h);
        if (r.right() < m_indent)
            continue;
        p.save();
        p.setClipRect(QRect(m_indent, 0, width() - m_indent, h));
        p.fillRect(r, cell.color.isValid() ? cell.color : pal.color(QPalette::Button));
        switch (cell.border) {
        case FooterBorder::bsRaised:
            qDrawShadePanel(&p, r, pal, false, 1);
            break;
        case FooterBorder::bsSunken:
            qDrawShadePanel(&p, r, pal, true, 1);
            break;
        case FooterBorder::bsBump:
            qDrawShadeRect(&p, r, pal, false, 1, 0);
            break;
        case FooterBorder::bsEtched:
            qDrawShadeRect(&p, r, pal, true, 1, 0);
            break;
        case FooterBorder::bsNone:
            break;
        }
        p.setFont(cell.hasFont ? cell.font : m_font);
        p.setPen(pal.color(QPalette::ButtonText));
        p.drawText(r.adjusted(2, 0, -2, 0), int(cell.alignment | Qt::AlignVCenter), cell.text);
        p.restore();
    }
}
