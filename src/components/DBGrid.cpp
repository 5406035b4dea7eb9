#include "DBGrid.h"

#include "DataSource.h"
#include "MessageBox.h"
#include "UserAction.h"
#include "Table.h"

#include <QApplication>
#include <QComboBox>
#include <QStyledItemDelegate>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <qdrawutil.h>

// The footer row: a strip under the viewport that paints one cell per shown column.
class GridFooter : public QWidget {
public:
    explicit GridFooter(DBGrid* grid) : QWidget(grid), m_grid(grid) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        m_grid->paintFooter(p);
    }

private:
    DBGrid* m_grid;
};

// Cell editors: a plain edit, or a drop-down for a look-up column. Enter in an open editor
// writes the cell and then goes to the grid's key handler, as the grid's own Enter would.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const QString field = m_grid->gridModel()->columns()[size_t(index.column())].fieldName;
        const QStringList items = m_grid->lookupItems ? m_grid->lookupItems(field) : QStringList();
        if (items.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("LookupEditor"));
        combo->addItems(items);
        return combo;
    }
    // Cells are plain text on a plain ground: painted directly, not through the style's general
    // item layout, which costs more than the whole recalculation behind a typed amount.
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        p->fillRect(option.rect, pal.brush(selected ? QPalette::Highlight : QPalette::Base));
        QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const QRect r = option.rect.adjusted(2, 0, -2, 0);
            const QFontMetrics& fm = option.fontMetrics;
            if (fm.horizontalAdvance(text) > r.width())
                text = fm.elidedText(text, Qt::ElideRight, r.width());
            const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
            p->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
            p->drawText(r, int(align | Qt::AlignVCenter), text);
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.rect = option.rect.adjusted(1, 1, -1, -1);
            focus.state = QStyle::State_KeyboardFocusChange;
            focus.backgroundColor = pal.color(selected ? QPalette::Highlight : QPalette::Base);
            m_grid->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, m_grid);
        }
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                auto* editor = qobject_cast<QWidget*>(object);
                emit const_cast<GridDelegate*>(this)->commitData(editor);
                emit const_cast<GridDelegate*>(this)->closeEditor(editor, NoHint);
                m_grid->editorKey(key);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    DBGrid* m_grid;
};

DBGrid::DBGrid(QWidget* parent)
    : QTableView(parent), m_model(new DBGridModel(this)), m_footer(new GridFooter(this)) {
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setTabKeyNavigation(true);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_footerFont = font();
    connect(m_model, &DBGridModel::currentRowChanged, this, &DBGrid::followTable);
    connect(m_model, &DBGridModel::indicatorChanged, this, [this](int first, int last) {
        verticalHeader()->headerDataChanged(Qt::Vertical, first, last);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { followTable(m_model->table() ? m_model->table()->recNo() : -1); });
    auto repaintFooter = [this] { m_footer->update(); };
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, repaintFooter);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, repaintFooter);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, repaintFooter);
}

void DBGrid::setColumns(std::vector<GridColumn> columns) {
    m_footers.assign(columns.size(), FooterCell{});
    std::vector<int> widths;
    for (const GridColumn& c : columns)
        widths.push_back(c.width);
    m_model->setColumns(std::move(columns));
    for (size_t i = 0; i < widths.size(); ++i)
        setColumnWidth(int(i), widths[i]);
    m_footer->update();
}

GridColumn* DBGrid::column(const QString& fieldName) {
    const int c = m_model->columnOf(fieldName);
    return c < 0 ? nullptr : &m_model->columns()[size_t(c)];
}

FooterCell* DBGrid::footer(const QString& fieldName) {
    const int c = m_model->columnOf(fieldName);
    return c < 0 ? nullptr : &m_footers[size_t(c)];
}

void DBGrid::setFooterText(const QString& fieldName, const QString& text) {
    if (FooterCell* f = footer(fieldName)) {
        f->text = text;
        m_footer->update();
    }
}

void DBGrid::setFooterFont(const QFont& font) {
    m_footerFont = font;
    m_footer->update();
}

void DBGrid::setReadOnly(const QString& fieldName, bool readOnly) {
    if (GridColumn* c = column(fieldName))
        c->readOnly = readOnly;
}

QString DBGrid::currentField() const {
    const int c = currentIndex().column();
    return c >= 0 && c < int(m_model->columns().size()) ? m_model->columns()[size_t(c)].fieldName : QString();
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

void DBGrid::paintFooter(QPainter& p) {
    p.fillRect(m_footer->rect(), palette().color(QPalette::Window));
    const QHeaderView* header = horizontalHeader();
    const int offset = verticalHeader()->width();
    const int h = m_footer->height();
    for (int logical = 0; logical < int(m_footers.size()); ++logical) {
        const FooterCell& cell = m_footers[size_t(logical)];
        if (!cell.visible || header->isSectionHidden(logical))
            continue;
        const QRect r(offset + header->sectionViewportPosition(logical), 0,
                      header->sectionSize(logical), h);
        p.fillRect(r, cell.color.isValid() ? cell.color : palette().color(QPalette::Button));
        switch (cell.border) {
        case FooterBorder::bsRaised:
            qDrawShadePanel(&p, r, palette(), false, 1);
            break;
        case FooterBorder::bsSunken:
            qDrawShadePanel(&p, r, palette(), true, 1);
            break;
        case FooterBorder::bsBump:
            qDrawShadeRect(&p, r, palette(), false, 1, 0);
            break;
        case FooterBorder::bsEtched:
            qDrawShadeRect(&p, r, palette(), true, 1, 0);
            break;
        case FooterBorder::bsNone:
            break;
        }
        p.setFont(cell.hasFont ? cell.font : m_footerFont);
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(r.adjusted(2, 0, -2, 0), int(cell.alignment | Qt::AlignVCenter), cell.text);
    }
}

void DBGrid::followTable(int row) {
    if (m_following || row < 0 || row >= m_model->rowCount())
        return;
    m_following = true;
    const int col = qMax(0, currentIndex().column());
    setCurrentIndex(m_model->index(row, col));
    m_following = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    Table* t = m_model->table();
    if (!m_following && t && current.isValid() && current.row() != t->recNo()) {
        m_following = true;
        UserAction::run(this, &t->database(), [&] { t->goTo(current.row()); });
        m_following = false;
        // Settling may have dropped or moved a line: show the line that is current now.
        followTable(t->recNo());
    }
    if (current.column() != previous.column() || current.row() != previous.row())
        if (onColEnter)
            onColEnter();
}

void DBGrid::commitEditor() {
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = QApplication::focusWidget(); editor && editor != this) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DBGrid::editorKey(QKeyEvent* event) {
    if (onKeyDown)
        onKeyDown(event);
}

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
    const bool ownEditor = now && isAncestorOf(now);
    if (ownEditor) {
        m_inOwnEditor = true;
        return;
    }
    m_inOwnEditor = false;
    QTableView::focusOutEvent(event);
    // Leaving the grid (not for its own cell editor) drops a new line nobody typed into.
    Table* t = m_model->table();
    if (t && state() != QAbstractItemView::EditingState &&
        t->state() == Table::State::Insert && !t->modified()) {
        UserAction::run(this, &t->database(), [t] { t->cancel(); });
        followTable(t->recNo());
    }
}

bool DBGrid::startNewLine(bool insert) {
    Table* t = m_model->table();
    if (!t)
        return false;
    return UserAction::run(this, &t->database(), [&] {
        if (t->state() == Table::State::Insert && !t->modified())
            return; // the untouched new line is the one to type into
        t->checkBrowseMode();
        if (beforeNewLine)
            beforeNewLine();
        if (insert)
            t->insert();
        else
            t->append();
    });
}

void DBGrid::moveLine(int delta) {
    Table* t = m_model->table();
    if (!t)
        return;
    UserAction::run(this, &t->database(), [&] {
        // Moving off a new line nobody typed into drops it; the cursor is then already on the
        // neighbouring line.
        if (t->state() == Table::State::Insert && !t->modified())
            t->cancel();
        else if (delta > 0)
            t->next();
        else
            t->prior();
    });
    followTable(t->recNo());
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        commitEditor(); // the typed text belongs to the line before it moves
    if (onKeyDown && onKeyDown(event))
        return;
    Table* t = m_model->table();
    const bool editing = state() == QAbstractItemView::EditingState;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (!t || editing) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int lastRow = m_model->rowCount() - 1;
    const int lastCol = m_model->columnCount() - 1;
    const QModelIndex cur = currentIndex();
    switch (event->key()) {
    case Qt::Key_Down:
        if (cur.row() >= lastRow) {
            if (startNewLine(false))
                followTable(t->recNo());
        } else {
            moveLine(+1);
        }
        return;
    case Qt::Key_Up:
        moveLine(-1);
        return;
    case Qt::Key_Tab:
        if (horizontalHeader()->visualIndex(cur.column()) >= lastCol) {
            const int first = horizontalHeader()->logicalIndex(0);
            if (cur.row() >= lastRow) {
                if (startNewLine(false))
                    setCurrentIndex(m_model->index(t->recNo(), first));
            } else {
                setCurrentIndex(m_model->index(cur.row() + 1, first));
            }
            return;
        }
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (ctrl) {
            UserAction::run(this, &t->database(), [&] {
                if (event->key() == Qt::Key_Home)
                    t->first();
                else
                    t->last();
            });
            followTable(t->recNo());
            return;
        }
        break;
    case Qt::Key_Escape:
        UserAction::run(this, &t->database(), [&] { t->cancel(); });
        followTable(t->recNo());
        return;
    case Qt::Key_Insert:
        if (startNewLine(true))
            followTable(t->recNo());
        return;
    case Qt::Key_Delete:
        if (ctrl) {
            if (t->isEmpty())
                return;
            if (MessageBox::show(this, QMessageBox::Question, QStringLiteral("Confirm"),
                                 QStringLiteral("Delete record?"),
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok) {
                UserAction::run(this, &t->database(), [&] { t->remove(); });
                followTable(t->recNo());
            }
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}
