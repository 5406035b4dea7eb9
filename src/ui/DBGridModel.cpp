#include "DBGridModel.h"

#include "components/DataSource.h"
#include "MessageBox.h"
#include "components/Table.h"

DBGridModel::DBGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DBGridModel::setDataSource(DataSource* source) {
    beginResetModel();
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_fields.clear();
    if (source)
        connect(source, &DataSource::dataEvent, this,
                [this](DataEvent e, Field* f) { onDataEvent(int(e), f); });
    m_rows = table() && table()->isOpen() ? table()->rowCount() : 0;
    endResetModel();
}

Table* DBGridModel::table() const { return m_source ? m_source->table() : nullptr; }

Field* DBGridModel::field(int column) const {
    if (!table() || column < 0 || column >= int(m_columns.size()))
        return nullptr;
    if (m_fields.size() != m_columns.size() || m_fieldsOf != table()) {
        m_fields.clear();
        for (const GridColumn& c : m_columns)
            m_fields.push_back(table()->findField(c.fieldName));
        m_fieldsOf = table();
    }
    return m_fields[size_t(column)];
}

void DBGridModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    m_fields.clear();
    endResetModel();
}

int DBGridModel::columnOf(const QString& fieldName) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int DBGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int DBGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DBGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const GridColumn& column = m_columns[size_t(index.column())];
    if (column.derived) {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(column.alignment | Qt::AlignVCenter);
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && derivedText)
            return derivedText(index.row(), index.column());
        return {};
    }
    Field* f = field(index.column());
    if (!f)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return f->formatValue(table()->valueAt(index.row(), *f));
    case Qt::EditRole:
        return f->editTextOf(table()->valueAt(index.row(), *f));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[size_t(index.column())].alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool DBGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || m_columns[size_t(index.column())].readOnly || !writeCell)
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString())
        return true; // nothing typed
    return writeCell(index.row(), index.column(), text);
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_columns[size_t(index.column())].readOnly)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= int(m_columns.size()))
            return {};
        if (role == Qt::DisplayRole)
            return m_columns[size_t(section)].title;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    // The indicator column: the current line and its edit state. Other roles have no value
    // (an empty text would be read as a font, a colour...).
    if (role != Qt::DisplayRole)
        return {};
    if (!table() || section != table()->recNo())
        return QString();
    switch (table()->state()) {
    case Table::State::Insert:
        return QStringLiteral("*");
    case Table::State::Edit:
        return QStringLiteral("I");
    default:
        return QStringLiteral("\u25B6");
    }
}

void DBGridModel::indicatorMoved(int row) {
    // Only the lines whose indicator changes are repainted.
    for (int r : {m_indicatorRow, row})
        if (r >= 0 && r < m_rows)
            emit indicatorChanged(r, r);
    m_indicatorRow = row;
}

void DBGridModel::onDataEvent(int event, Field*) {
    Table* t = table();
    switch (DataEvent(event)) {
    case DataEvent::DataSetChange: {
        // Rows are told apart by position only, so a change keeps the grid's current cell and
        // open editor where they are: no reset, which would lose both and redo the layout.
        const int rows = t && t->isOpen() ? t->rowCount() : 0;
        if (rows > m_rows) {
            beginInsertRows(QModelIndex(), m_rows, rows - 1);
            m_rows = rows;
            endInsertRows();
        } else if (rows < m_rows) {
            beginRemoveRows(QModelIndex(), rows, m_rows - 1);
            m_rows = rows;
            endRemoveRows();
        }
        if (m_rows > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
        emit indicatorChanged(0, qMax(0, m_rows - 1));
        m_indicatorRow = t ? t->recNo() : -1;
        emit currentRowChanged(m_indicatorRow);
        break;
    }
    case DataEvent::DataSetScroll:
        indicatorMoved(t->recNo());
        emit currentRowChanged(t->recNo());
        break;
    case DataEvent::FieldChange:
    case DataEvent::RecordChange:
        if (t->recNo() >= 0 && t->recNo() < m_rows)
            emit dataChanged(index(t->recNo(), 0), index(t->recNo(), columnCount() - 1));
        break;
    case DataEvent::UpdateState:
        indicatorMoved(t->recNo());
        break;
    case DataEvent::UpdateRecord:
        break;
    }
}
