#pragma once

#include "GridColumn.h"
#include "domain/LineColumns.h"

#include <QString>
#include <Qt>
#include <functional>
#include <optional>
#include <vector>

class RecipeLines;

// What the keys of the ingredient grid do to the lines it shows and to its cell editor: which
// cell is current, when typed text is written into its line, when a line is committed, appended,
// inserted, cancelled or deleted. The grid widget forwards its keys here and draws the result;
// these rules need no window and are tested without one.
class GridKeys {
public:
    // The cell editor, as the keys see it; the grid widget provides it.
    class CellEditor {
    public:
        virtual ~CellEditor() = default;
        virtual bool isOpen() const = 0;
        virtual bool typed() const = 0; // the open cell holds text the user typed
        virtual QString text() const = 0;
        virtual void open(int row, int column) = 0;
        virtual void close() = 0; // drops what it shows: the keys write it first when they must
        virtual void undoTyping() = 0;
    };

    GridKeys(const std::vector<GridColumn>& columns, CellEditor& editor);

    void setLines(RecipeLines* lines) { m_lines = lines; }
    // The columns' logical indexes in the order the user sees them (columns can be dragged).
    void setVisualOrder(std::vector<int> order) { m_order = std::move(order); }
    void setPageSize(int lines) { m_page = lines > 1 ? lines : 1; }

    int row() const; // the current line
    int column() const { return m_column; } // logical index of the current cell's column
    void setColumn(int logical) { m_column = logical; }
    bool editable(int logical) const;

    // A key the grid or its open editor received. False for the keys these rules leave to the
    // widget (typing, moving the caret in an open editor). Raises the lines' errors: the cell
    // and its editor then stay as they were.
    bool press(int key, Qt::KeyboardModifiers modifiers);
    // Writes what was typed in the open cell into its line.
    void writeCell();
    // Writes the open cell and closes its editor, as leaving the cell does; raises the field's
    // refusal, and the editor then stays open.
    void finishCell() { leaveCell(); }
    // Writes typed text into a column of the current line, through writeText when it is set.
    void write(int logical, const QString& text);

    // The window's key-down handler, seen before the grid's own handling once the open cell has
    // been written; true when it moved the line itself.
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> keyDown;
    // Writes text typed into a cell (the line is in edit or insert state); by default as the
    // lines take typed text. A derived column is written only through it.
    std::function<void(int logical, const QString& text)> writeText;
    // Asked before a new line is started; raises to refuse it.
    std::function<void()> beforeNewLine;
    // Asks "Delete record?"; true on OK.
    std::function<bool()> confirmDelete;
    // Deletes the focused line once the question was answered OK (by default the line alone);
    // the window's deletes the line as its Delete button does.
    std::function<void()> deleteLine;

private:
    // The line column a grid column shows; nullopt for none.
    std::optional<LineColumn> lineColumn(int logical) const;
    int visualOf(int logical) const;
    int logicalAt(int visual) const;
    // Writes and closes an open editor before the line is left.
    void leaveCell();
    // Moves to line `target`, dropping an appended or inserted line nobody typed into.
    void moveToLine(int target);
    void newLine(bool atEnd);
    void checkRoom();

    const std::vector<GridColumn>& m_columns;
    CellEditor& m_editor;
    RecipeLines* m_lines = nullptr;
    std::vector<int> m_order;
    int m_column = 0;
    int m_page = 10;
};
