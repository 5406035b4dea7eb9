#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <vector>

class QHeaderView;

// How a footer cell's border is drawn.
enum class FooterBorder { bsNone, bsRaised, bsSunken, bsBump, bsEtched };

struct FooterCell {
    bool visible = true;
    QString text;
    Qt::Alignment alignment = Qt::AlignRight;
    QColor color;     // invalid: the grid's fixed-cell colour
    QFont font;       // default: the grid's footer font
    bool hasFont = false;
    FooterBorder border = FooterBorder::bsRaised;
};

// A grid's footer row: one cell under each shown column, following the columns' widths, order
// and horizontal scrolling as the header gives them.
class GridFooter : public QWidget {
public:
    GridFooter(QWidget* parent, const QHeaderView* header, int indent);

    std::vector<FooterCell>& cells() { return m_cells; }
    QFont font() const { return m_font; }
    void setFooterFont(const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QHeaderView* m_header;
    int m_indent; // the width of the indicator column, where no footer cell is drawn
    std::vector<FooterCell> m_cells;
    QFont m_font;
};
