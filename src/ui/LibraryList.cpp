#include "LibraryList.h"

#include "components/Database.h"
#include "edit/MaterialListModel.h"
#include "edit/MaterialEditor.h"
#include "store/MaterialLibrary.h"
#include "MessageBox.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

DBLookupList::DBLookupList(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

void DBLookupList::setLibrary(MaterialLibrary* library) {
    setModel(nullptr);
    delete std::exchange(m_filter, nullptr);
    delete std::exchange(m_materials, nullptr);
    if (!library)
        return;
    m_materials = new MaterialListModel(*library, this);
    m_filter = new MaterialTypeFilter(this);
    m_filter->setSourceModel(m_materials);
    m_filter->setType(m_type);
    setModel(m_filter);
    // The library read again keeps the material highlighted where it is still listed; one that
    // went hands the highlight to the material that took its place, as a deleted row does.
    connect(m_filter, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_row = currentIndex().row(); });
    connect(m_filter, &QAbstractItemModel::modelReset, this, [this] {
        // Where it stood first: of two materials an old library gives one code, the one the user
        // chose stays chosen.
        const QModelIndex there = m_filter->index(m_row, 0);
        if (there.isValid() && there.data(MaterialListModel::CodeRole).toString() == m_code)
            highlight(m_row);
        else if (!highlightCode(m_code))
            highlight(qMax(0, qMin(m_row, m_filter->rowCount() - 1)));
    });
    highlight(0);
}

void DBLookupList::setType(std::optional<MaterialType> type) {
    m_type = type;
    if (!m_filter)
        return;
    // The rows going move the current one on their own: that is no pick of the user's.
    m_quiet = true;
    m_filter->setType(type);
    m_quiet = false;
    highlight(0);
}

std::optional<Material> DBLookupList::currentMaterial() const {
    const QModelIndex at = currentIndex();
    if (!m_filter || !at.isValid() || !m_materials->library())
        return std::nullopt;
    return m_materials->library()->at(m_filter->mapToSource(at).row());
}

bool DBLookupList::highlightCode(const QString& code) {
    if (!m_filter || code.isEmpty())
        return false;
    const QModelIndexList found =
        m_filter->match(m_filter->index(0, 0), MaterialListModel::CodeRole, code, 1, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    highlight(found.first().row());
    return true;
}

void DBLookupList::highlight(int row) {
    m_quiet = true;
    setCurrentIndex(m_filter->index(row, 0)); // an invalid index for an empty list
    m_quiet = false;
    m_code = currentIndex().data(MaterialListModel::CodeRole).toString();
}

void DBLookupList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    if (m_quiet || !current.isValid())
        return;
    m_code = current.data(MaterialListModel::CodeRole).toString();
    if (onSelect)
        onSelect();
}

void DBLookupList::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid())
        setCurrentIndex(at);
    QListView::mouseDoubleClickEvent(event);
    if (at.isValid() && onDoubleClick)
        onDoubleClick();
}

void DBLookupList::keyPressEvent(QKeyEvent* event) {
    // Enter picks the highlighted material as a double-click does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        if (onDoubleClick)
            onDoubleClick();
        return;
    }
    QListView::keyPressEvent(event);
}

MaterialRecordList::MaterialRecordList(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTabKeyNavigation(false); // Tab leaves the list; the arrows pick the records
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setHighlightSections(false);
}

void MaterialRecordList::setEditor(MaterialEditor* editor, Database* db) {
    m_editor = editor;
    m_db = db;
    setModel(editor->list());
    connect(editor, &MaterialEditor::recordChanged, this, &MaterialRecordList::follow);
    connect(editor, &MaterialEditor::stateChanged, this, &MaterialRecordList::follow);
    follow();
}

void MaterialRecordList::follow() {
    if (m_following || !m_editor)
        return;
    m_following = true;
    const int row = m_editor->current();
    setCurrentIndex(row < 0 ? QModelIndex() : model()->index(row, 0));
    m_following = false;
}

void MaterialRecordList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_following || !m_editor || m_editor->changingList() || !current.isValid())
        return;
    if (current.row() == m_editor->current() && m_editor->saved())
        return;
    m_following = true;
    MessageBox::reported(this, m_db->perform([&] { m_editor->goTo(current.row()); }));
    m_following = false;
    // Settling may have read the list again meanwhile, and a refused move leaves the material
    // shown as it was: the list shows the editor's row either way.
    follow();
}
