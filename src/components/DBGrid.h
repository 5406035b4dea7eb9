#pragma once

#include "DBGridModel.h"

#include <QTableView>
#include <functional>

class GridFooter;

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

// A data grid over a data source: columns bound to fields, an indicator column, a footer row
// fixed under the lines that follows the columns wherever they are dragged or scrolled.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    DBGridModel* gridModel() const { return m_model; }
    void setDataSource(DataSource* source) { m_model->setDataSource(source); }
    void setColumns(std::vector<GridColumn> columns);
    // Columns and footers are found by their field, never by their position.
    GridColumn* column(const QString& fieldName);
    FooterCell* footer(const QString& fieldName);
    void setFooterText(const QString& fieldName, const QString& text);
    void setReadOnly(const QString& fieldName, bool readOnly);
    QFont footerFont() const { return m_footerFont; }
    void setFooterFont(const QFont& font);
    // The field of the focused column.
    QString currentField() const;

    // Seen before the grid's own key handling; returning true consumes the key.
    std::function<bool(QKeyEvent*)> onKeyDown;
    // Runs after the focused column changed.
    std::function<void()> onColEnter;
    // Asked before a new line is started in the grid; an error refuses it.
    std::function<void()> beforeNewLine;
    // The drop-down values of a look-up column, by field; none for an ordinary column.
    std::function<QStringList(const QString& fieldName)> lookupItems;

    // A key pressed in an open cell editor: Enter reaches onKeyDown after the cell is written.
    void editorKey(QKeyEvent* event);

    // The geometry of the footer row (for painting and for tests).
    QRect footerRect() const;
    void paintFooter(QPainter& painter);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void updateGeometries() override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void followTable(int row);
    void commitEditor();
    bool startNewLine(bool insert);
    void moveLine(int delta);

    DBGridModel* m_model;
    GridFooter* m_footer;
    std::vector<FooterCell> m_footers;
    QFont m_footerFont;
    bool m_following = false;
    bool m_inOwnEditor = false; // the focus is in the grid's cell editor
};
