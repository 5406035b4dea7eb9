#include "MaterialRecords.h"

#include "MaterialListModel.h"

int MaterialRecords::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_materials.size());
}

int MaterialRecords::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant MaterialRecords::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const StoredMaterial& m = m_materials[size_t(index.row())];
    if (role == ListedTypeRole)
        return int(listedMaterialTypeOf(m.type));
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
    m_materials = std::move(materials);
    endResetModel();
}
