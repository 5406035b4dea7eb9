#include "LibraryList.h"

#include "DataSource.h"
#include "MessageBox.h"
#include "UserAction.h"
#include "Table.h"

#include <QMouseEvent>

LibraryListModel::LibraryListModel(DataSource* source, QString displayField, QObject* parent)
    : QAbstractListModel(parent), m_source(source), m_displayField(std::move(displayField)) {
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
        }
    });
}

int LibraryListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

QVariant LibraryListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !m_source || index.row() >= m_rows)
        return {};
    Table* t = m_source->table();
    return t->fieldByName(m_displayField).formatValue(t->valueAt(index.row(), t->fieldByName(m_displayField)));
}

DBLookupList::DBLookupList(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

void DBLookupList::setDataSource(DataSource* source, const QString& displayField) {
    m_model = new LibraryListModel(source, displayField, this);
    setModel(m_model);
    connect(m_model, &LibraryListModel::currentRowChanged, this, &DBLookupList::follow);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { follow(m_model->dataSource()->table()->recNo()); });
    follow(source->table()->recNo());
}

void DBLookupList::follow(int row) {
    if (m_following || row < 0)
        return;
    m_following = true;
    setCurrentIndex(m_model->index(row, 0));
    m_following = false;
}

void DBLookupList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    if (m_following || !current.isValid() || !m_model)
        return;
    Table* t = m_model->dataSource()->table();
    m_following = true;
    UserAction::run(this, &t->database(), [&] { t->goTo(current.row()); });
    m_following = false;
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
