#include "GridKeys.h"

#include "RecipeLines.h"

#include <algorithm>

GridKeys::GridKeys(const std::vector<GridColumn>& columns, CellEditor& editor)
    : m_columns(columns), m_editor(editor) {}

int GridKeys::row() const { return m_lines ? m_lines->recNo() : -1; }

std::optional<LineColumn> GridKeys::lineColumn(int logical) const {
    if (!m_lines || logical < 0 || logical >= int(m_columns.size()))
        return std::nullopt;
    return lineColumnNamed(m_columns[size_t(logical)].fieldName);
}

bool GridKeys::editable(int logical) const {
    if (logical < 0 || logical >= int(m_columns.size()) || m_columns[size_t(logical)].readOnly)
        return false;
    return m_columns[size_t(logical)].derived ? writeText != nullptr : lineColumn(logical).has_value();
}

int GridKeys::visualOf(int logical) const {
    const auto it = std::find(m_order.begin(), m_order.end(), logical);
    return it == m_order.end() ? logical : int(it - m_order.begin());
}

int GridKeys::logicalAt(int visual) const {
    return visual >= 0 && visual < int(m_order.size()) ? m_order[size_t(visual)] : visual;
}

void GridKeys::writeCell() {
    if (!m_editor.isOpen() || !m_editor.typed() || !editable(m_column))
        return;
    m_lines->edit();
    write(m_column, m_editor.text());
}

void GridKeys::write(int logical, const QString& text) {
    if (writeText)
        writeText(logical, text);
    else if (const std::optional<LineColumn> column = lineColumn(logical))
        m_lines->setText(*column, text);
}

void GridKeys::leaveCell() {
    if (!m_editor.isOpen())
        return;
    writeCell();
    m_editor.close();
}

void GridKeys::moveToLine(int target) {
    RecipeLines& t = *m_lines;
    const int here = t.recNo();
    if (t.state() == RecipeLines::State::Insert && !t.modified()) {
        // The new line nobody typed into goes; the lines below it move up one place.
        t.cancel();
        if (target > here)
            --target;
    }
    target = std::clamp(target, 0, std::max(0, t.rowCount() - 1));
    if (t.rowCount() > 0 && target != t.recNo())
        t.goTo(target);
    else
        t.checkBrowseMode();
}

void GridKeys::checkRoom() {
    // Before anything is written: a refused new line leaves the cell as it was.
    RecipeLines& t = *m_lines;
    if (beforeNewLine && !(t.state() == RecipeLines::State::Insert && !t.modified()))
        beforeNewLine();
}

void GridKeys::newLine(bool atEnd) {
    RecipeLines& t = *m_lines;
    if (t.state() == RecipeLines::State::Insert && !t.modified())
        return; // the untouched new line is the one to type into
    t.checkBrowseMode();
    if (atEnd)
        t.append();
    else
        t.insert();
}

bool GridKeys::press(int key, Qt::KeyboardModifiers modifiers) {
    if (!m_lines || !m_lines->isOpen())
        return false;
    RecipeLines& t = *m_lines;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const int columns = int(m_columns.size());
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The cell is written and the line committed before the next line becomes current;
        // then the grid closes an open editor, or opens one on the new current cell.
        const bool wasOpen = m_editor.isOpen();
        leaveCell();
        if (!(keyDown && keyDown(key, modifiers)))
            t.next();
        if (!wasOpen && editable(m_column) && !t.isEmpty())
            m_editor.open(t.recNo(), m_column);
        return true;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool back = key == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier);
        const int visual = visualOf(m_column) + (back ? -1 : 1);
        const bool appends = !back && visual >= columns && t.recNo() + 1 >= t.rowCount();
        if (appends)
            checkRoom();
        leaveCell();
        if (keyDown && keyDown(key, modifiers))
            return true;
        if (visual >= 0 && visual < columns) {
            m_column = logicalAt(visual);
        } else if (back) {
            if (t.recNo() > 0) {
                moveToLine(t.recNo() - 1);
                m_column = logicalAt(columns - 1);
            }
        } else if (t.recNo() + 1 < t.rowCount()) {
            moveToLine(t.recNo() + 1);
            m_column = logicalAt(0);
        } else {
            newLine(true);
            m_column = logicalAt(0);
        }
        return true;
    }
    default:
        break;
    }
    if (keyDown && keyDown(key, modifiers))
        return true;
    switch (key) {
    case Qt::Key_Up:
        leaveCell();
        moveToLine(t.recNo() - 1);
        return true;
    case Qt::Key_Down:
        if (t.recNo() + 1 >= t.rowCount())
            checkRoom();
        leaveCell();
        if (t.recNo() + 1 >= t.rowCount())
            newLine(true);
        else
            moveToLine(t.recNo() + 1);
        return true;
    case Qt::Key_PageUp:
        leaveCell();
        moveToLine(t.recNo() - m_page);
        return true;
    case Qt::Key_PageDown:
        leaveCell();
        moveToLine(t.recNo() + m_page);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (m_editor.isOpen() && !ctrl)
            return false; // the caret's
        leaveCell();
        if (ctrl)
            moveToLine(key == Qt::Key_Home ? 0 : t.rowCount() - 1);
        else
            m_column = logicalAt(key == Qt::Key_Home ? 0 : columns - 1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // An open editor hands these on only at the ends of its text: the cell is left.
        leaveCell();
        const int visual = visualOf(m_column) + (key == Qt::Key_Left ? -1 : 1);
        if (visual >= 0 && visual < columns)
            m_column = logicalAt(visual);
        return true;
    }
    case Qt::Key_F2:
        if (!m_editor.isOpen() && editable(m_column) && t.rowCount() > 0)
            m_editor.open(t.recNo(), m_column);
        return true;
    case Qt::Key_Escape:
        // Typing in the open cell is undone first; without typing, the line's changes go (an
        // inserted line with them).
        if (m_editor.isOpen() && m_editor.typed())
            m_editor.undoTyping();
        else
            t.cancel();
        m_editor.close();
        return true;
    case Qt::Key_Insert:
        checkRoom();
        leaveCell();
        newLine(false);
        return true;
    case Qt::Key_Delete:
        if (!ctrl || m_editor.isOpen())
            return false;
        if (t.isEmpty())
            return true;
        if (confirmDelete && !confirmDelete())
            return true;
        if (deleteLine)
            deleteLine();
        else
            t.remove();
        return true;
    default:
        return false;
    }
}
