#pragma once

#include "RecipeStore.h"

class Database;

// The recipes of the header and line files, read and written as they are stored: what is pending
// in a window is not part of them. The views over the files read them again afterwards.
class StoredRecipes : public RecipeStore {
public:
    explicit StoredRecipes(Database& db) : m_db(db) {}
    std::optional<Recipe> load(const QString& type, const QString& code) const override;
    // The same, with the row of the header file that names it and the rows of its lines.
    std::optional<Recipe> loadKeyed(const QString& type, const QString& code, qint64* headerRow,
                                    std::vector<qint64>* lineRows = nullptr) const;
    void save(const Recipe& recipe) override;
    void remove(const QString& type, const QString& code) override;
    void rename(const QString& fromType, const QString& fromCode, const QString& type,
                const QString& code) override;
    MaterialUse useOf(const QString& code) const override;
    void reworkLines(const QSet<QString>& codes, const std::function<void(Line&)>& rework) override;

private:
    Database& m_db;
};
