#include "DBGrid.h"

#include "GridDelegate.h"
#include "MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

DBGrid::DBGrid(QWidget* parent)
    : QTableView(parent), m_model(new DBGridModel(this)), m_keys(m_model->columns(), *this),
      m_footer(new GridFooter(this, horizontalHeader(), 14)) {
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));
    // Shift and Ctrl with a click or the arrows select several lines, for Copy.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Typing and the key rules open the editor (keyPressEvent); Qt opens it for a double click.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Parts that fill their own background: a change in one of them repaints it alone, not the
    // frames and panels underneath it and every other part they cover.
    for (QWidget* w : {static_cast<QWidget*>(verticalScrollBar()), static_cast<QWidget*>(horizontalScrollBar()),
                       horizontalHeader()->viewport(), verticalHeader()->viewport()})
        w->setAutoFillBackground(true);
    m_keys.confirmDelete = [this] {
        return MessageBox::show(this, QMessageBox::Question, QStringLiteral("Confirm"),
                                QStringLiteral("Delete record?"), QMessageBox::Ok | QMessageBox::Cancel,
                                QMessageBox::Cancel) == QMessageBox::Ok;
    };
    // Text the item view commits as the focus leaves an open cell: written where it was typed,
    // and the cursor follows the view afterwards, once the item view has closed its editor.
    m_model->writeCell = [this](int row, int column, const QString& text) {
        RecipeLines* t = m_model->lines();
        bool ok = false;
        {
            const QScopedValueRollback<bool> later(m_followLater, true);
            ok = MessageBox::reported(this, t->database().perform([&] {
                if (t->recNo() != row)
                    t->goTo(row);
                t->edit();
                m_keys.write(column, text);
            }));
        }
        QTimer::singleShot(0, this, [this] {
            if (RecipeLines* t = m_model->lines())
                followTable(t->recNo());
        });
        return ok;
    };
    connect(m_model, &DBGridModel::currentRowChanged, this, &DBGrid::followTable);
    connect(m_model, &DBGridModel::indicatorChanged, this, [this](int first, int last) {
        verticalHeader()->headerDataChanged(Qt::Vertical, first, last);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        followTable(m_model->lines() ? m_model->lines()->recNo() : -1);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int newSize) { sectionResized(logical, newSize); });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this] {
        updateVisualOrder();
        m_footer->update();
        if (onColumnsChanged && !m_fitting)
            onColumnsChanged();
    });
    auto repaintFooter = [this] { m_footer->update(); };
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, repaintFooter);
}

void DBGrid::setLines(RecipeLines* lines) {
    m_model->setLines(lines);
    m_keys.setLines(lines);
}

void DBGrid::setColumns(std::vector<GridColumn> columns) {
    Q_ASSERT(columns.size() == size_t(LineColumnCount));
    m_footer->cells().assign(columns.size(), FooterCell{});
    std::vector<int> widths;
    for (const GridColumn& c : columns)
        widths.push_back(c.width);
    m_model->setColumns(std::move(columns));
    for (size_t i = 0; i < widths.size(); ++i)
        setColumnWidth(int(i), widths[i]);
    updateVisualOrder();
    m_footer->update();
}

void DBGrid::updateVisualOrder() {
    std::vector<int> order;
    for (int v = 0; v < horizontalHeader()->count(); ++v)
        order.push_back(horizontalHeader()->logicalIndex(v));
    m_keys.setVisualOrder(std::move(order));
}

GridColumn* DBGrid::column(LineColumn column) {
    const size_t c = size_t(column);
    return c < m_model->columns().size() ? &m_model->columns()[c] : nullptr;
}

FooterCell* DBGrid::footer(LineColumn column) {
    const size_t c = size_t(column);
    return c < m_footer->cells().size() ? &m_footer->cells()[c] : nullptr;
}

void DBGrid::setFooterText(LineColumn column, const QString& text) {
    if (FooterCell* f = footer(column)) {
        f->text = text;
        m_footer->update();
    }
}

void DBGrid::setReadOnly(LineColumn column, bool readOnly) {
    if (GridColumn* c = this->column(column))
        c->readOnly = readOnly;
}

void DBGrid::sectionResized(int logical, int newSize) {
    m_footer->update();
    if (m_fitting)
        return;
    if (logical == m_stretch)
        m_stretchWidth = newSize;
    fitStretch();
    if (onColumnsChanged)
        onColumnsChanged();
}

void DBGrid::setStretchColumn(LineColumn column) {
    m_stretch = int(column) < m_model->columnCount() ? int(column) : -1;
    m_stretchWidth = m_stretch < 0 ? 0 : columnWidth(m_stretch);
    fitStretch();
}

void DBGrid::fitStretch() {
    const int c = m_stretch;
    if (c < 0)
        return;
    int others = 0;
    for (int i = 0; i < horizontalHeader()->count(); ++i)
        if (i != c && !isColumnHidden(i))
            others += columnWidth(i);
    const int want = std::max(m_stretchWidth, viewport()->width() - others);
    if (columnWidth(c) == want)
        return;
    m_fitting = true;
    setColumnWidth(c, want);
    m_fitting = false;
}

void DBGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitStretch();
}

QStringList DBGrid::columnOrder() const {
    QStringList order;
    for (int v = 0; v < horizontalHeader()->count(); ++v)
        order << m_model->columns()[size_t(horizontalHeader()->logicalIndex(v))].fieldName;
    return order;
}

QMap<QString, int> DBGrid::columnWidths() const {
    QMap<QString, int> widths;
    for (size_t i = 0; i < m_model->columns().size(); ++i) {
        widths.insert(m_model->columns()[i].fieldName, int(i) == m_stretch ? m_stretchWidth : columnWidth(int(i)));
    }
    return widths;
}

void DBGrid::restoreColumns(const QStringList& order, const QMap<QString, int>& widths) {
    m_fitting = true;
    for (auto it = widths.begin(); it != widths.end(); ++it) {
        const int c = m_model->columnOf(it.key());
        if (c < 0 || it.value() < 8)
            continue; // a column too narrow to find again is left as it was
        setColumnWidth(c, it.value());
        if (c == m_stretch)
            m_stretchWidth = it.value();
    }
    QHeaderView* header = horizontalHeader();
    for (int v = 0; v < order.size() && v < header->count(); ++v) {
        const int c = m_model->columnOf(order[v]);
        if (c >= 0 && header->visualIndex(c) != v)
            header->moveSection(header->visualIndex(c), v);
    }
    m_fitting = false;
    updateVisualOrder();
    fitStretch();
    m_footer->update();
}

void DBGrid::goToColumn(LineColumn column) {
    const int c = int(column) < m_model->columnCount() ? int(column) : -1;
    RecipeLines* t = m_model->lines();
    if (c < 0 || !t || t->recNo() < 0)
        return;
    m_keys.setColumn(c);
    showCell(t->recNo(), c);
    if (onColEnter)
        onColEnter();
}

bool DBGrid::currentFieldIsNumeric() const {
    // A derived column (the material's name) is words.
    const std::optional<LineColumn> c = m_model->lineColumn(currentIndex().column());
    return c && RecipeLines::rule(*c).kind != RecipeLines::Rule::Words;
}

QRect DBGrid::footerRect() const { return m_footer->geometry(); }

void DBGrid::updateGeometries() {
    QTableView::updateGeometries();
    // The footer lies over the bottom line of the cells, so that the view's own layout is never
    // fought over; the grid then shows one line fewer than would fit, and its last line can
    // always be scrolled clear of the footer.
    const int h = verticalHeader()->defaultSectionSize();
    const QRect vp = viewport()->geometry();
    m_footer->setGeometry(frameWidth(), vp.bottom() + 1 - h, vp.right() + 1 - frameWidth(), h);
    m_footer->raise();
    const int fit = qMax(1, (vp.height() - h) / qMax(1, h));
    QScrollBar* bar = verticalScrollBar();
    const int max = qMax(0, m_model->rowCount() - fit);
    if (bar->maximum() != max)
        bar->setRange(0, max);
    bar->setPageStep(fit);
    m_keys.setPageSize(fit);
}

void DBGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    if (!index.isValid())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int limit = viewport()->height() - m_footer->height();
    while (visualRect(index).bottom() >= limit && bar->value() < bar->maximum())
        bar->setValue(bar->value() + 1);
}

// ---------------------------------------------------------------------------------------------
// Following the view and the user's moves

void DBGrid::showCell(int row, int column) {
    if (row < 0 || row >= m_model->rowCount() || column < 0 || column >= m_model->columnCount())
        return;
    m_following = true;
    // Lines selected with Shift stay selected as the cursor moves among them, and lines selected
    // with the mouse while the cursor stays where it is.
    const QModelIndex target = m_model->index(row, column);
    if (m_anchorRow >= 0 || target == currentIndex()) {
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
        scrollTo(target);
    } else {
        setCurrentIndex(target);
    }
    m_following = false;
}

void DBGrid::followTable(int row) {
    if (m_following || m_followLater || row < 0 || row >= m_model->rowCount())
        return;
    showCell(row, qMax(0, m_keys.column()));
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    RecipeLines* t = m_model->lines();
    // The line clicked, by what it is: committing the cell left may move lines about (a typed
    // item number moves its line), and its place with them.
    const qint64 clicked = t && current.isValid() && !m_following ? t->rowidAt(current.row()) : 0;
    if (!m_following)
        m_anchorRow = -1; // a click makes its own selection
    QTableView::currentChanged(current, previous);
    if (!m_following && current.isValid()) {
        // A click: the keys stand where the user put them.
        m_keys.setColumn(current.column());
        if (t && (current.row() != t->recNo() || (clicked != 0 && clicked != t->rowidAt(t->recNo())))) {
            m_following = true;
            MessageBox::reported(this, t->database().perform([&] {
                if (clicked == 0)
                    t->goTo(current.row());
                else
                    t->goToRow(clicked);
            }));
            m_following = false;
            // Settling may have dropped or moved a line: show the line that is current now.
            showCell(t->recNo(), current.column());
        }
    }
    if (current.column() != previous.column() || current.row() != previous.row())
        if (onColEnter)
            onColEnter();
}

// ---------------------------------------------------------------------------------------------
// Keys

bool DBGrid::runKey(int key, Qt::KeyboardModifiers modifiers) {
    RecipeLines* t = m_model->lines();
    if (!t)
        return false;
    bool handled = false;
    // The key moves the view; the cursor follows once it is done. Following it halfway, with the
    // cell editor open, would have the item view write the editor's text into whatever line then
    // stood under it, and close an editor it no longer knows.
    bool ok = false;
    {
        const QScopedValueRollback<bool> later(m_followLater, true);
        ok = MessageBox::reported(this, t->database().perform([&] { handled = m_keys.press(key, modifiers); }));
    }
    if (!m_editor) {
        // Shift with Up, Down, Page Up or Page Down selects the lines passed over, for Copy; the
        // line the selection began on stays its anchor.
        const int from = currentIndex().row();
        const bool extends = handled && from >= 0 && (modifiers & Qt::ShiftModifier) &&
                             (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown);
        // A key the grid leaves alone (Ctrl pressed for Ctrl+C) keeps the selection.
        if (extends && m_anchorRow < 0)
            m_anchorRow = from;
        else if (!extends && handled)
            m_anchorRow = -1;
        showCell(t->recNo(), m_keys.column());
        if (extends) {
            const int last = m_model->columnCount() - 1;
            selectionModel()->select(QItemSelection(m_model->index(qMin(m_anchorRow, t->recNo()), 0),
                                                    m_model->index(qMax(m_anchorRow, t->recNo()), last)),
                                     QItemSelectionModel::ClearAndSelect);
        }
    }
    return handled || !ok;
}

bool DBGrid::commitOpenCell() {
    RecipeLines* t = m_model->lines();
    if (!t || !isOpen())
        return true;
    bool ok = false;
    {
        const QScopedValueRollback<bool> later(m_followLater, true);
        ok = MessageBox::reported(this, t->database().perform([&] { m_keys.finishCell(); }));
    }
    if (!m_editor)
        showCell(t->recNo(), m_keys.column());
    return ok;
}

void DBGrid::refuseTyping(const QModelIndex& cell) {
    m_lastRefusal = lockedReason ? lockedReason(LineColumn(cell.column())) : QString();
    if (m_lastRefusal.isEmpty())
        m_lastRefusal = QStringLiteral("This column cannot be typed into on this line.");
    QApplication::beep();
    const QRect r = visualRect(cell);
    QToolTip::showText(viewport()->mapToGlobal(r.bottomLeft()), m_lastRefusal, viewport(), r, 6000);
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex here = currentIndex();
    const bool lines = m_model->lines() && !m_model->lines()->isEmpty();
    if (event->key() == Qt::Key_F2 && !isOpen() && lines && here.isValid() && !m_keys.editable(here.column())) {
        refuseTyping(here);
        return;
    }
    if (runKey(event->key(), event->modifiers()))
        return;
    // Typing into an editable cell opens its editor with the key typed.
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed[0].isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable) {
        if (!here.isValid() || !lines)
            return; // no line to type into
        if (m_keys.editable(here.column()))
            edit(here, AnyKeyPressed, event);
        else
            refuseTyping(here); // never a typed figure gone without a word
        return;
    }
    event->ignore();
}

void DBGrid::editorKey(QKeyEvent* event) { runKey(event->key(), event->modifiers()); }

// ---------------------------------------------------------------------------------------------
// The cell editor

void DBGrid::editorCreated(QWidget* editor) { m_editor = editor; }

bool DBGrid::isOpen() const { return m_editor && state() == QAbstractItemView::EditingState; }

bool DBGrid::typed() const {
    if (auto* line = qobject_cast<QLineEdit*>(m_editor.data()))
        return line->isModified();
    if (auto* combo = qobject_cast<QComboBox*>(m_editor.data()))
        return combo->currentText() != currentIndex().data(Qt::EditRole).toString();
    return false;
}

QString DBGrid::text() const {
    if (auto* line = qobject_cast<QLineEdit*>(m_editor.data()))
        return line->text();
    if (auto* combo = qobject_cast<QComboBox*>(m_editor.data()))
        return combo->currentText();
    return QString();
}

void DBGrid::open(int row, int column) {
    showCell(row, column);
    edit(m_model->index(row, column));
}

void DBGrid::close() {
    QWidget* editor = m_editor;
    m_editor = nullptr;
    if (editor)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::undoTyping() {
    if (m_editor)
        itemDelegate()->setEditorData(m_editor, currentIndex());
}

// ---------------------------------------------------------------------------------------------
// Focus and tool tips

void DBGrid::focusInEvent(QFocusEvent* event) {
    // Back from its own cell editor the grid never lost the focus as far as the user sees:
    // repainting its frame would repaint every part of it.
    if (m_inOwnEditor) {
        m_inOwnEditor = false;
        viewport()->update();
        return;
    }
    QTableView::focusInEvent(event);
}

void DBGrid::focusOutEvent(QFocusEvent* event) {
    QWidget* now = QApplication::focusWidget();
    if (now && isAncestorOf(now)) {
        m_inOwnEditor = true;
        return;
    }
    m_inOwnEditor = false;
    QTableView::focusOutEvent(event);
    // Leaving the grid (not for a box or its own cell editor) drops a new line nobody typed into.
    RecipeLines* t = m_model->lines();
    const bool away = event->reason() != Qt::ActiveWindowFocusReason &&
                      event->reason() != Qt::PopupFocusReason;
    if (t && away && state() != QAbstractItemView::EditingState &&
        t->state() == RecipeLines::State::Insert && !t->modified()) {
        MessageBox::reported(this, t->database().perform([t] { t->cancel(); }));
        followTable(t->recNo());
    }
}

bool DBGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // A cell too narrow for its text shows the whole text in a tool tip.
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
        const QRect cell = visualRect(index);
        if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) > cell.width() - 4)
            QToolTip::showText(help->globalPos(), text, viewport(), cell);
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(event);
}
