#pragma once

#include "DBGridModel.h"
#include "GridFooter.h"
#include "edit/GridKeys.h"
#include "domain/LineColumns.h"

#include <QMap>
#include <QPointer>
#include <QTableView>
#include <functional>

// The ingredient grid over the current recipe's lines: one column for each LineColumn, in that order, an
// indicator column and a footer row that follows the columns wherever they are dragged or
// scrolled. Its keys follow the rules of GridKeys; the widget forwards them there and shows the
// cell they leave current.
class DBGrid : public QTableView, private GridKeys::CellEditor {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    DBGridModel* gridModel() const { return m_model; }
    void setLines(RecipeLines* lines);
    // One column for each LineColumn, in its order.
    void setColumns(std::vector<GridColumn> columns);
    // Columns and footers are found by what they show, never by where the user dragged them.
    GridColumn* column(LineColumn column);
    FooterCell* footer(LineColumn column);
    void setFooterText(LineColumn column, const QString& text);
    void setReadOnly(LineColumn column, bool readOnly);
    QFont footerFont() const { return m_footer->font(); }
    void setFooterFont(const QFont& font) { m_footer->setFooterFont(font); }
    // Writes an open cell's typing into its line and closes the editor, as leaving the grid does;
    // false when the field refused it (said, and the cell stays open for correction).
    bool commitOpenCell();
    // Puts the cursor on the current line in `column`.
    void goToColumn(LineColumn column);

    // The column that takes the width the others leave as the grid grows (a maximised window);
    // the width the user gave it stays the least it takes.
    void setStretchColumn(LineColumn column);
    // The columns as the user left them, by field: in the order seen, and each one's width (the
    // stretching column's own width, not what it was stretched to).
    QStringList columnOrder() const;
    QMap<QString, int> columnWidths() const;
    void restoreColumns(const QStringList& order, const QMap<QString, int>& widths);
    // Runs after the user resized or moved a column.
    std::function<void()> onColumnsChanged;
    bool currentFieldIsNumeric() const;
    bool isEditing() const { return isOpen(); }
    // The key rules, with their hooks for the window (key-down, new line, delete question).
    GridKeys& keys() { return m_keys; }

    // Runs after the focused column changed.
    std::function<void()> onColEnter;
    // The drop-down values of a look-up column; none for an ordinary column.
    std::function<QStringList(LineColumn column)> lookupItems;
    // Why a read-only column of the current line takes no typing, in the user's words.
    std::function<QString(LineColumn column)> lockedReason;
    // What the grid last said about a cell that takes no typing (shown in a tool tip, with a beep).
    QString lastRefusal() const { return m_lastRefusal; }

    // From the delegate: an editor was made, a key pressed in it belongs to the grid.
    void editorCreated(QWidget* editor);
    void editorKey(QKeyEvent* event);

    QRect footerRect() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // GridKeys::CellEditor
    bool isOpen() const override;
    bool typed() const override;
    QString text() const override;
    void open(int row, int column) override;
    void close() override;
    void undoTyping() override;

    // Runs a key through the rules as one user action, then shows the cell they chose.
    bool runKey(int key, Qt::KeyboardModifiers modifiers);
    void showCell(int row, int column);
    void followTable(int row);
    void updateVisualOrder();
    // Typing or F2 on a cell that takes none: a beep, and a tool tip over the cell saying why.
    void refuseTyping(const QModelIndex& cell);
    // Widens the stretching column to the room the others leave, or back to its own width.
    void fitStretch();
    void sectionResized(int logical, int newSize);

    DBGridModel* m_model;
    GridKeys m_keys;
    GridFooter* m_footer;
    QPointer<QWidget> m_editor;
    bool m_following = false;
    bool m_followLater = false; // a key or a committed cell is moving the view
    int m_anchorRow = -1;       // where a selection made with Shift and the arrows began
    bool m_inOwnEditor = false; // the focus is in the grid's cell editor
    QString m_lastRefusal;
    int m_stretch = -1; // the column that takes the room the others leave
    int m_stretchWidth = 0; // the stretching column's own width
    bool m_fitting = false; // the grid, not the user, is resizing a column
};
