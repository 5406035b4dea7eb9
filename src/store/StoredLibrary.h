#pragma once

#include "MaterialLibrary.h"

#include <QHash>
#include <vector>

class Database;
class RowValues;
class TableFile;
struct StoredRow;

// The library file as the recipe lines and the lists see it: a material found by code through
// the file's index, made into a value once for each stored row and made afresh when the file
// changes; the code order is the file's own index on codes.
class StoredLibrary : public MaterialLibrary {
    Q_OBJECT
public:
    explicit StoredLibrary(Database& db);
    ~StoredLibrary() override;

    const Material* find(const QString& code) const override;
    int size() const override;
    Material at(int index) const override;
    QString nameAt(int index) const override;
    QString codeAt(int index) const override;
    MaterialType listedTypeAt(int index) const override;
    std::vector<StoredMaterial> inPrintOrder() const override;
    std::vector<StoredMaterial> inListOrder() const override;
    qint64 store(const StoredMaterial& material) override;
    void remove(qint64 id) override;
    quint64 version() const override;
    QString spelled(const QString& typed) const override;
    int countOf(const QString& code) const override;
    QVariant codeNamed(const QString& name) const override;

    // A material as the library file stores it; its type word is read here, at the store's edge.
    static Material materialOf(const RowValues& row);

private:
    TableFile& file() const;
    const StoredRow* rowAt(int index) const;
    std::vector<StoredMaterial> inOrder(const std::vector<int>& columns) const;
    // The stored row of that id; the store's error when there is none.
    const StoredRow& rowOf(qint64 id) const;
    // After every action that reached or left the files: `changed` if the library's rows moved.
    void filesChanged();

    Database& m_db;
    int m_listener = 0;
    quint64 m_announced = 0; // the generation the lists were last told of
    mutable quint64 m_generation = 0;
    mutable QHash<const void*, Material> m_made;
};
