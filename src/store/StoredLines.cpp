#include "StoredLines.h"

#include "components/TextKey.h"
#include "store/Tables.h"

#include <algorithm>

namespace {

enum Column { Type, Code, Item, RMCode, Mass, Moles, Ea, Eb, Charge, Percent, Cost };

using Figure = std::optional<double>;
constexpr std::pair<Figure Line::*, Column> Amounts[] = {
    {&Line::mass, Mass},       {&Line::moles, Moles},     {&Line::ea, Ea},     {&Line::eb, Eb},
    {&Line::charge, Charge}, {&Line::percent, Percent}, {&Line::cost, Cost}};

bool isNull(const QVariant& v) { return !v.isValid() || v.isNull(); }

} // namespace

StoredLines::StoredLines(Database& db) : m_file(db.table(Tables::recipes())) {}

Line StoredLines::lineOf(const RowValues& v) {
    Line l;
    if (!v.isNull(Item))
        l.item = int(v.number(Item));
    l.code = v.text(RMCode);
    for (const auto& [part, column] : Amounts)
        l.*part = v.amount(column);
    return l;
}

bool StoredLines::wholeItem(const Row& row) { return row.stored.isInteger(Item); }

bool StoredLines::before(const Row& a, const Row& b) {
    const bool an = a.stored.isNull(Item), bn = b.stored.isNull(Item);
    if (an != bn)
        return an;
    if (!an && a.stored.number(Item) != b.stored.number(Item))
        return a.stored.number(Item) < b.stored.number(Item);
    return a.rowid < b.rowid;
}

std::vector<StoredLines::Row> StoredLines::read(const QVariantList& key) const {
    QStringList where;
    QVariantList args;
    for (int i = 0; i < 2; ++i) {
        const QString column = i == 0 ? QStringLiteral("\"BatchType\"") : QStringLiteral("\"BatchCode\"");
        if (isNull(key[i])) {
            where << column + QStringLiteral(" IS NULL");
        } else {
            args << key[i];
            where << QStringLiteral("%1 = ?%2 COLLATE NOCASE").arg(column).arg(args.size());
        }
    }
    std::vector<Row> rows;
    for (const RowPtr& r : m_file.select(where.join(QStringLiteral(" AND ")), args, {Type, Code, Item}))
        rows.push_back(rowOf(r->rowid, r->values));
    // The file's index gives the lines in order already; sorting is for what it does not cover.
    if (!std::is_sorted(rows.begin(), rows.end(), before))
        std::stable_sort(rows.begin(), rows.end(), before);
    return rows;
}

bool StoredLines::belongs(const RowValues& row, const QVariantList& key) {
    for (int c : {Type, Code}) {
        const QVariant& k = key[c];
        if (isNull(k)) {
            if (!row.isNull(c) && !row.text(c).isEmpty())
                return false;
        } else if (!TextKey::same(row.text(c), k.toString())) {
            return false;
        }
    }
    return true;
}

StoredLines::Row StoredLines::insert(const QVariantList& key, const Line& line) {
    RowValues row(int(Tables::recipes().columns.size()));
    row.set(Type, key[0]);
    row.set(Code, key[1]);
    row.set(Item, line.item ? QVariant(*line.item) : QVariant());
    row.set(RMCode, RowValues::word(line.code));
    for (const auto& [part, column] : Amounts)
        row.set(column, RowValues::amount(line.*part));
    const qint64 rowid = m_file.insert(row);
    return {rowid, row, line};
}

StoredLines::Row StoredLines::update(const Row& row, const Line& line) {
    RowValues after = row.stored;
    if (line.item != row.line.item)
        after.set(Item, line.item ? QVariant(*line.item) : QVariant());
    if (line.code != row.line.code)
        after.set(RMCode, RowValues::word(line.code));
    for (const auto& [part, column] : Amounts)
        if (line.*part != row.line.*part)
            after.set(column, RowValues::amount(line.*part));
    if (after == row.stored)
        return row;
    m_file.update(row.rowid, row.stored, after);
    return {row.rowid, after, lineOf(after)};
}

void StoredLines::remove(const Row& row) { m_file.remove(row.rowid, row.stored); }
