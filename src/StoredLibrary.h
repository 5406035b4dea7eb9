#pragma once

#include "domain/Recipe.h"

#include <QHash>

class Database;
class RowValues;

// The library file as the recipe lines see it: a material found by code through the file's
// index, made into a value once for each stored row and made afresh when the file changes.
class StoredLibrary : public MaterialLookup {
public:
    explicit StoredLibrary(Database& db) : m_db(db) {}
    const Material* find(const QString& code) const override;

    // A material as the library file stores it; its type word is read here, at the store's edge.
    static Material materialOf(const RowValues& row);

private:
    Database& m_db;
    mutable quint64 m_generation = 0;
    mutable QHash<const void*, Material> m_made;
};
