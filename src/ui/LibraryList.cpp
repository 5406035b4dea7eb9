#include "LibraryList.h"

#include "components/DataSource.h"
#include "MaterialListModel.h"
#include "components/Table.h"
#include "store/MaterialLibrary.h"
#include "UserAction.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

LibraryListModel::LibraryListModel(DataSource* source, QStringList fields, QObject* parent)
    : QAbstractTableModel(parent), m_source(source), m_fields(std::move(fields)) {
    m_rows = source->table()->isOpen() ? source->table()->rowCount() : 0;
    connect(source, &DataSource::dataEvent, this, [this](DataEvent e, Field*) {
        Table* t = m_source->table();
        if (e == DataEvent::DataSetChange) {
            beginResetModel();
            m_rows = t->isOpen() ? t->rowCount() : 0;
            endResetModel();
            emit currentRowChanged(t->recNo());
        } else if (e == DataEvent::DataSetScroll) {
            emit currentRowChanged(t->recNo());
        } else if (e == DataEvent::FieldChange || e == DataEvent::RecordChange) {
            const int row = t->recNo();
            if (row >= 0 && row < m_rows)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        }
    });
}

int LibraryListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }
int LibraryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant LibraryListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !m_source || index.row() >= m_rows)
        return {};
    Table* t = m_source->table();
    const Field& f = t->fieldByName(m_fields.value(index.column()));
    return f.formatValue(t->valueAt(index.row(), f));
}

QVariant LibraryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return m_headers.value(section, m_fields.value(section));
}

RowLink::RowLink(QAbstractItemView* view, LibraryListModel* model) : QObject(view), m_view(view), m_model(model) {
    connect(model, &LibraryListModel::currentRowChanged, this, &RowLink::follow);
    connect(model, &QAbstractItemModel::modelReset, this, [this] { follow(m_model->dataSource()->table()->recNo()); });
    follow(model->dataSource()->table()->recNo());
}

void RowLink::follow(int row) {
    if (m_following || row < 0)
        return;
    m_following = true;
    m_view->setCurrentIndex(m_model->index(row, 0));
    m_following = false;
}

bool RowLink::picked(const QModelIndex& current) {
    if (m_following || !current.isValid())
        return false;
    Table* t = m_model->dataSource()->table();
    if (current.row() == t->recNo() && t->state() == Table::State::Browse)
        return false;
    m_following = true;
    UserAction::run(m_view, &t->database(), [&] { t->goTo(current.row()); });
    m_following = false;
    // Settling may have reset the list meanwhile, and a refused move leaves the view where it
    // was: the item view shows the view's row either way.
    if (m_view->currentIndex().row() != t->recNo())
        follow(t->recNo());
    return true;
}

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

DBRecordList::DBRecordList(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTabKeyNavigation(false); // Tab leaves the list; the arrows pick the records
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setHighlightSections(false);
}

void DBRecordList::setDataSource(DataSource* source, const QStringList& fields, const QStringList& headers) {
    m_model = new LibraryListModel(source, fields, this);
    m_model->setHeaders(headers);
    setModel(m_model);
    m_link = new RowLink(this, m_model);
}

void DBRecordList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_link)
        m_link->picked(current);
}
