#pragma once

#include "components/Database.h"
#include "domain/Recipe.h"

#include <QVariantList>
#include <vector>

// The lines file as lines: one recipe's lines read in item order, a line written over its stored
// row with only the parts that changed, added and removed. Each write joins the action under way.
class StoredLines {
public:
    // One stored line: its row in the file, what the file holds, and the line it makes.
    struct Row {
        qint64 rowid = 0;
        RowValues stored;
        Line line;
    };

    explicit StoredLines(Database& db);
    TableFile& file() const { return m_file; }

    // The lines whose name is `key` (type, code: a null word matches a line without one, a word
    // matches without letter case), in item order: a line without a number first, lines of one
    // number in the order stored.
    std::vector<Row> read(const QVariantList& key) const;
    // Whether a stored row belongs to the recipe `key` names, as read matches it.
    static bool belongs(const RowValues& row, const QVariantList& key);
    // Whether `a` comes before `b` in item order.
    static bool before(const Row& a, const Row& b);

    // A new line of the recipe `key`; returns it as stored.
    Row insert(const QVariantList& key, const Line& line);
    // `row` with what differs in `line` written over it; returns it as stored. A part the line
    // leaves as read stays as an older program stored it.
    Row update(const Row& row, const Line& line);
    void remove(const Row& row);

    static Line lineOf(const RowValues& row);
    // Whether the line's number is stored as a whole number, as this program stores it.
    static bool wholeItem(const Row& row);
    static Row rowOf(qint64 rowid, const RowValues& values) { return {rowid, values, lineOf(values)}; }

private:
    TableFile& m_file;
};
