#pragma once

#include "components/Database.h"
#include "domain/Recipe.h"

#include <QStringList>
#include <vector>

// Every stored recipe's header in the order of its name (type, then code, letter case aside), as
// the header file holds it. Shares the file's rows; an undo or redo is taken in row by row, so
// that thousands of recipes are not read again for one.
class StoredHeaders {
public:
    explicit StoredHeaders(Database& db);

    TableFile& file() const { return m_file; }
    // Every header read again from the file.
    void read();
    // Rows of the file an undo or redo wrote (`toBefore`: back to what they were).
    void take(const ChangeSet& changes, bool toBefore);

    int count() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    RecipeHeader at(int index) const;
    RecipeName nameAt(int index) const;
    // The name at `index` as stored (type, code), a missing word as a null value.
    QVariantList keyAt(int index) const;
    qint64 rowidAt(int index) const { return m_rows[size_t(index)]->rowid; }
    // Where the header stored as `rowid` stands; -1 when it is gone.
    int indexOfRow(qint64 rowid, int near = -1) const;
    // The first header of that name as the file's keys match it: without letter case, and a
    // missing word as an empty one; -1 when none has it.
    int find(const QString& type, const QString& code) const;
    // The types, and the codes of the headers of one type (`first`: where the first of them
    // stands, -1 for none), each once as the first header in order spells it, sorted as a user
    // reads.
    QStringList types() const;
    QStringList codesOf(const QString& type, int* first) const;

    // Writes over the header at `index` what differs in `header`, its name left as stored.
    void write(int index, const RecipeHeader& header);

    // A header as stored, and the stored row of one.
    static RecipeHeader headerOf(const RowValues& row);
    static RowValues rowOf(const RecipeHeader& header);

private:
    bool lessThan(const StoredRow& a, const StoredRow& b) const;
    void place(const RowPtr& old, const RowPtr& row);

    TableFile& m_file;
    std::vector<RowPtr> m_rows;
};
