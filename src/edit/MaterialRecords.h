#pragma once

#include "store/MaterialLibrary.h"

#include <QAbstractTableModel>
#include <vector>

// The library's materials as its window lists them, in the order of code and common name: code,
// common name and chemical class in three columns, read from the library at each reload.
class MaterialRecords : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Code, Name, ChemClass, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A row listed whatever type the list shows: the new material being added.
    static constexpr int AlwaysListed = -2;

    // Takes the materials as the library holds them now; a pending change shown goes.
    void reset(std::vector<StoredMaterial> materials);
    // Shows a pending change: a new material as the last row (`added`), or the parts of the
    // material at `editedRow` as being typed. The rows keep the types they are listed under.
    void showPending(bool added, int editedRow, const StoredMaterial& pending);
    void clearPending();
    bool hasAddedRow() const { return m_added; }
    // The material at `row` as stored again under its place in the order; false, and nothing
    // taken, when its code or name moved it.
    bool replace(int row, const StoredMaterial& material);
    // The row of the material of that id; -1 when none.
    int rowOf(qint64 id) const;
    const std::vector<StoredMaterial>& materials() const { return m_materials; }
    // The type `row` is listed under, as an int of MaterialType.
    int listedType(int row) const { return size_t(row) < m_types.size() ? m_types[size_t(row)] : AlwaysListed; }

private:
    std::vector<StoredMaterial> m_materials;
    std::vector<qint8> m_types; // read once per reading: a type button filters them all
    bool m_added = false;
    int m_editedRow = -1;
    StoredMaterial m_pending;

};
