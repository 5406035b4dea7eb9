#include "GridDelegate.h"

#include "DBGrid.h"
#include "domain/NumberFormat.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace {

// The keys that move between cells or lines, end or undo the edit: the grid's, not the editor's.
// Left and Right are the grid's at the ends of the text, where the caret can go no further.
bool gridKey(const QKeyEvent* key, QWidget* editor) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return true; // whatever the Shift, Ctrl and Alt state
    if (key->modifiers() & Qt::AltModifier)
        return false; // Alt+Down opens a drop-down
    if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line || line->hasSelectedText() || key->modifiers() != Qt::NoModifier)
            return false;
        return key->key() == Qt::Key_Left ? line->cursorPosition() == 0
                                          : line->cursorPosition() == line->text().size();
    }
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        return key->modifiers() & Qt::ControlModifier;
    default:
        return false;
    }
}

} // namespace

GridDelegate::GridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const GridColumn& column = m_grid->gridModel()->columns()[size_t(index.column())];
    const QStringList items = m_grid->lookupItems ? m_grid->lookupItems(LineColumn(index.column())) : QStringList();
    QWidget* editor;
    if (items.isEmpty()) {
        editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setAlignment(column.alignment | Qt::AlignVCenter);
            line->setFrame(false);
        }
    } else {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("LookupEditor"));
        combo->addItems(items);
        editor = combo;
    }
    m_grid->editorCreated(editor);
    return editor;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setModified(false);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

// A number is never wider than as many digits: measuring it (shaping the whole text) would
// cost as much again as drawing it, on every cell of every repaint.
static bool surelyFits(const QString& text, const QFontMetrics& fm, int width) {
    for (QChar c : text)
        if (!c.isDigit() && c != u'.' && c != u',' && c != u'-')
            return false;
    return text.size() * fm.horizontalAdvance(u'0') <= width;
}

// Cells are plain text on a plain ground: painted directly, not through the style's general
// item layout, which costs more than the whole recalculation behind a typed amount.
void GridDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    p->fillRect(option.rect, selected ? pal.brush(QPalette::Highlight) : QBrush(Qt::white));
    QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QRect r = option.rect.adjusted(2, 0, -2, 0);
        const QFontMetrics& fm = option.fontMetrics;
        if (!surelyFits(text, fm, r.width()) && fm.horizontalAdvance(text) > r.width())
            text = fm.elidedText(text, Qt::ElideRight, r.width());
        const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        p->setPen(selected ? pal.color(QPalette::HighlightedText) : QColor(Qt::black));
        p->drawText(r, int(align | Qt::AlignVCenter), text);
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = option.rect.adjusted(1, 1, -1, -1);
        focus.state = QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = selected ? pal.color(QPalette::Highlight) : QColor(Qt::white);
        m_grid->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, m_grid);
    }
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (gridKey(key, editor)) {
            m_grid->editorKey(key);
            return true;
        }
        // The keypad's decimal key types the separator of the user's locale.
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && (key->modifiers() & Qt::KeypadModifier) &&
            (key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma) &&
            m_grid->currentFieldIsNumeric()) {
            line->insert(QString(NumberFormat::decimalPoint()));
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // A box or another window coming up is not the user leaving the cell: it stays open.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
