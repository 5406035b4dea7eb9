#pragma once

#include "RecipeStore.h"

class Database;

// The recipes of the header and line files, read as they are stored: what is pending in a
// window is not part of them.
class StoredRecipes : public RecipeStore {
public:
    explicit StoredRecipes(Database& db) : m_db(db) {}
    std::optional<Recipe> load(const QString& type, const QString& code) const override;

private:
    Database& m_db;
};
