#pragma once

#include "domain/MaterialType.h"
#include "store/MaterialLibrary.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <optional>
#include <vector>

// The type a material is listed under, as an int of MaterialType; -1 for a row not read. The type
// buttons' filter reads it from any model of materials.
inline constexpr int ListedTypeRole = Qt::UserRole + 2;

// The library's materials by name, in code order: one row per stored material, read through the
// library as a list asks for it and read again when the library changes.
class MaterialListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { CodeRole = Qt::UserRole + 1 };

    explicit MaterialListModel(MaterialLibrary& library, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The type `row` is listed under, as ListedTypeRole gives it; -1 for a row that cannot be read.
    int listedType(int row) const;
    // Null once the library is gone.
    MaterialLibrary* library() const { return m_library; }

private:
    void reload();

    QPointer<MaterialLibrary> m_library;
    int m_rows = 0;
    // The rows' listed types, read at the first filtering after each reading of the library: a
    // type button then filters thousands of rows without going back to the store.
    mutable std::vector<qint8> m_types;
};

// The materials of one type, or of every type: the type buttons' filter, over a model that gives
// each row's ListedTypeRole.
class MaterialTypeFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit MaterialTypeFilter(QObject* parent = nullptr);
    // nullopt: every material, whatever its type word.
    void setType(std::optional<MaterialType> type);
    std::optional<MaterialType> type() const { return m_type; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::optional<MaterialType> m_type;
};
