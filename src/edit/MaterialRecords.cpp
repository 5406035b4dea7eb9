#include "MaterialRecords.h"

#include "MaterialListModel.h"

#include <utility>

int MaterialRecords::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_materials.size()) + (m_added ? 1 : 0);
}

int MaterialRecords::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant MaterialRecords::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const bool pending = index.row() == m_editedRow || size_t(index.row()) == m_materials.size();
    const StoredMaterial& m = pending ? m_pending : m_materials[size_t(index.row())];
    if (role == ListedTypeRole)
        return listedType(index.row());
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(index.column())) {
    case Code:
        return m.code;
    case Name:
        return m.name;
    case ChemClass:
        return m.chemClass;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant MaterialRecords::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const captions[] = {"Code", "Common Name", "Chemical Class"};
    return QString::fromLatin1(captions[section]);
}

void MaterialRecords::reset(std::vector<StoredMaterial> materials) {
    beginResetModel();
    m_added = false;
    m_editedRow = -1;
    m_materials = std::move(materials);
    m_types.resize(m_materials.size());
    for (size_t r = 0; r < m_materials.size(); ++r)
        m_types[r] = qint8(listedMaterialTypeOf(m_materials[r].type));
    endResetModel();
}

bool MaterialRecords::replace(int row, const StoredMaterial& material) {
    StoredMaterial& held = m_materials[size_t(row)];
    if (held.code != material.code || held.name != material.name)
        return false;
    held = material;
    m_types[size_t(row)] = qint8(listedMaterialTypeOf(material.type));
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    return true;
}

int MaterialRecords::rowOf(qint64 id) const {
    for (size_t r = 0; r < m_materials.size(); ++r)
        if (m_materials[r].id == id)
            return int(r);
    return -1;
}

void MaterialRecords::showPending(bool added, int editedRow, const StoredMaterial& pending) {
    m_pending = pending;
    const int last = int(m_materials.size());
    if (added && !m_added) {
        beginInsertRows(QModelIndex(), last, last);
        m_added = true;
        endInsertRows();
    }
    const int previous = std::exchange(m_editedRow, added ? -1 : editedRow);
    for (int row : {previous, m_editedRow, added ? last : -1})
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void MaterialRecords::clearPending() {
    if (m_added) {
        const int last = int(m_materials.size());
        beginRemoveRows(QModelIndex(), last, last);
        m_added = false;
        endRemoveRows();
    }
    if (const int row = std::exchange(m_editedRow, -1); row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
