#include "DBGridModel.h"

DBGridModel::DBGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DBGridModel::setLines(RecipeLines* lines) {
    beginResetModel();
    if (m_lines)
        disconnect(m_lines, nullptr, this, nullptr);
    m_lines = lines;
    if (lines) {
        connect(lines, &RecipeLines::rowsChanged, this, &DBGridModel::rowsChanged);
        connect(lines, &RecipeLines::moved, this, [this] {
            indicatorMoved(m_lines->recNo());
            emit currentRowChanged(m_lines->recNo());
        });
        connect(lines, &RecipeLines::lineChanged, this, [this] {
            const int row = m_lines->recNo();
            if (row >= 0 && row < m_rows)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        connect(lines, &RecipeLines::stateChanged, this, [this] { indicatorMoved(m_lines->recNo()); });
    }
    m_rows = lines && lines->isOpen() ? lines->rowCount() : 0;
    endResetModel();
}

std::optional<LineColumn> DBGridModel::lineColumn(int column) const {
    if (column < 0 || column >= int(m_lineColumns.size()))
        return std::nullopt;
    return m_lineColumns[size_t(column)];
}

void DBGridModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    m_lineColumns.clear();
    for (const GridColumn& c : m_columns)
        m_lineColumns.push_back(c.derived ? std::nullopt : lineColumnNamed(c.fieldName));
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
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.alignment | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (column.derived)
        return derivedText ? derivedText(index.row(), index.column()) : QVariant();
    const std::optional<LineColumn> c = lineColumn(index.column());
    if (!c || !m_lines)
        return {};
    const Line& line = m_lines->lineAt(index.row());
    return role == Qt::DisplayRole ? RecipeLines::displayText(line, *c) : RecipeLines::editText(line, *c);
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
    if (!m_lines || section != m_lines->recNo())
        return QString();
    switch (m_lines->state()) {
    case RecipeLines::State::Insert:
        return QStringLiteral("*");
    case RecipeLines::State::Edit:
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

void DBGridModel::rowsChanged() {
    // Rows are told apart by position only, so a change keeps the grid's current cell and open
    // editor where they are: no reset, which would lose both and redo the layout.
    const int rows = m_lines && m_lines->isOpen() ? m_lines->rowCount() : 0;
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
    m_indicatorRow = m_lines ? m_lines->recNo() : -1;
    emit currentRowChanged(m_indicatorRow);
}
