#include "MaterialListModel.h"

#include "MaterialRecords.h"
#include "store/MaterialLibrary.h"

MaterialListModel::MaterialListModel(MaterialLibrary& library, QObject* parent)
    : QAbstractListModel(parent), m_library(&library) {
    connect(&library, &MaterialLibrary::changed, this, &MaterialListModel::reload);
    connect(&library, &QObject::destroyed, this, &MaterialListModel::reload);
    try {
        m_rows = library.size();
    } catch (...) {
        m_rows = 0; // an unreadable library lists nothing; the store says why when it is used
    }
}

void MaterialListModel::reload() {
    beginResetModel();
    m_types.clear();
    try {
        m_rows = m_library ? m_library->size() : 0;
    } catch (...) {
        m_rows = 0;
    }
    endResetModel();
}

int MaterialListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

QVariant MaterialListModel::data(const QModelIndex& index, int role) const {
    if (!m_library || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    // Painting must not fail: a row that cannot be read shows empty until the library is read
    // again.
    try {
        switch (role) {
        case Qt::DisplayRole:
            return m_library->nameAt(index.row());
        case CodeRole:
            return m_library->codeAt(index.row());
        case ListedTypeRole:
            return listedType(index.row());
        default:
            return {};
        }
    } catch (...) {
        return {};
    }
}

int MaterialListModel::listedType(int row) const {
    if (row < 0 || row >= m_rows || !m_library)
        return -1;
    if (m_types.empty()) {
        m_types.resize(size_t(m_rows), -1);
        try {
            for (int r = 0; r < m_rows; ++r)
                m_types[size_t(r)] = qint8(m_library->listedTypeAt(r));
        } catch (...) {
            // The rows not read are of no type until the library is read again.
        }
    }
    return m_types[size_t(row)];
}

MaterialTypeFilter::MaterialTypeFilter(QObject* parent) : QSortFilterProxyModel(parent) {}

void MaterialTypeFilter::setType(std::optional<MaterialType> type) {
    if (type == m_type)
        return;
    // One reset rather than thousands of rows removed and inserted, which a list with a header
    // lays out row by row: the reset drops the proxy's mapping, made again for the new type.
    beginResetModel();
    m_type = type;
    endResetModel();
}

bool MaterialTypeFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (!m_type)
        return true;
    // Straight from the selection list's own model, without a value per row, for thousands of
    // rows at a click.
    if (const auto* list = qobject_cast<const MaterialListModel*>(sourceModel()))
        return list->listedType(sourceRow) == int(*m_type);
    if (const auto* records = qobject_cast<const MaterialRecords*>(sourceModel())) {
        const int type = records->listedType(sourceRow);
        return type == int(*m_type) || type == MaterialRecords::AlwaysListed;
    }
    const QVariant type = sourceModel()->index(sourceRow, 0).data(ListedTypeRole);
    return type.isValid() && type.toInt() == int(*m_type);
}
