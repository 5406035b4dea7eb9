#include "StoredRecipes.h"

#include "store/StoredHeaders.h"
#include "store/StoredLines.h"
#include "store/Tables.h"
#include "components/Database.h"

#include <QSet>
#include <algorithm>

namespace {

// A recipe's name as the views' keys match it: without letter case, and a missing word as an
// empty one. Written so that the files' indexes on the name find the rows.
struct ByName {
    QString where;
    QVariantList args;
};
ByName byName(const QString& type, const QString& code) {
    ByName n;
    QStringList parts;
    for (const auto& [column, word] : {std::pair{"BatchType", type}, std::pair{"BatchCode", code}}) {
        if (word.isEmpty()) {
            parts << QStringLiteral("(%1 IS NULL OR %1 = '')").arg(QLatin1String(column));
        } else {
            n.args << word;
            parts << QStringLiteral("%1 = ?%2 COLLATE NOCASE").arg(QLatin1String(column)).arg(n.args.size());
        }
    }
    n.where = parts.join(QStringLiteral(" AND "));
    return n;
}

} // namespace

std::optional<Recipe> StoredRecipes::load(const QString& type, const QString& code) const {
    return loadKeyed(type, code, nullptr);
}

std::optional<Recipe> StoredRecipes::loadKeyed(const QString& type, const QString& code, qint64* headerRow,
                                               std::vector<qint64>* lineRows) const {
    const ByName name = byName(type, code);
    const std::vector<RowPtr> headers = m_db.table(Tables::batchInfo()).select(name.where, name.args);
    if (headers.empty())
        return std::nullopt;
    // Of two headers of one name, which the naming commands never make, the first stored.
    Recipe r;
    r.header = StoredHeaders::headerOf(headers.front()->values);
    if (headerRow)
        *headerRow = headers.front()->rowid;
    std::vector<StoredLines::Row> rows;
    for (const RowPtr& row : m_db.table(Tables::recipes()).select(name.where, name.args))
        rows.push_back(StoredLines::rowOf(row->rowid, row->values));
    // In item order as the grid shows them: a line without a number first, and lines of one
    // number in the order they were stored.
    std::stable_sort(rows.begin(), rows.end(), StoredLines::before);
    r.lines.reserve(rows.size());
    for (const StoredLines::Row& row : rows) {
        r.lines.push_back(row.line);
        if (lineRows)
            lineRows->push_back(row.rowid);
    }
    return r;
}

namespace {

void put(RowValues& row, const TableSchema& schema, const char* column, const QVariant& value) {
    row.set(schema.columnIndex(QString::fromLatin1(column)), value);
}

} // namespace

void StoredRecipes::save(const Recipe& recipe) {
    const RecipeHeader& h = recipe.header;
    Database::Transaction tx(m_db);
    remove(h.type, h.code);
    m_db.table(Tables::batchInfo()).insert(StoredHeaders::rowOf(h));
    StoredLines lines(m_db);
    const QVariantList key{RowValues::word(h.type), RowValues::word(h.code)};
    for (const ::Line& l : recipe.lines)
        lines.insert(key, l);
    tx.commit();
}

void StoredRecipes::remove(const QString& type, const QString& code) {
    Database::Transaction tx(m_db);
    TableFile& info = m_db.table(Tables::batchInfo());
    const ByName name = byName(type, code);
    // Names that differ only in letter case are one recipe: every header of the name goes, with
    // every line the views show under it.
    for (const RowPtr& row : info.select(name.where, name.args))
        info.remove(row->rowid, row->values);
    TableFile& lines = m_db.table(Tables::recipes());
    for (const RowPtr& row : lines.select(name.where, name.args))
        lines.remove(row->rowid, row->values);
    tx.commit();
}

void StoredRecipes::rename(const QString& fromType, const QString& fromCode, const QString& type,
                           const QString& code) {
    Database::Transaction tx(m_db);
    const auto renamed = [&](TableFile& file, const RowPtr& row) {
        const TableSchema& s = file.schema();
        RowValues after = row->values;
        put(after, s, "BatchType", RowValues::word(type));
        put(after, s, "BatchCode", RowValues::word(code));
        file.update(row->rowid, row->values, after);
    };
    TableFile& info = m_db.table(Tables::batchInfo());
    const ByName name = byName(fromType, fromCode);
    // Every header of the name moves, as its lines do: none is left behind without them.
    TableFile& lines = m_db.table(Tables::recipes());
    for (const RowPtr& row : lines.select(name.where, name.args))
        renamed(lines, row);
    for (const RowPtr& row : info.select(name.where, name.args))
        renamed(info, row);
    tx.commit();
}

RecipeStore::MaterialUse StoredRecipes::useOf(const QString& code) const {
    const TableSchema& recipes = Tables::recipes();
    const int type = recipes.columnIndex(QStringLiteral("BatchType")), batch = recipes.columnIndex(QStringLiteral("BatchCode")),
              rmCode = recipes.columnIndex(QStringLiteral("RMCode"));
    MaterialUse use;
    QSet<QString> seen;
    // The index finds the code in any letters; a line names its material in the letters stored.
    for (const RowPtr& row : m_db.table(recipes).select(QStringLiteral("RMCode = ?"), {code})) {
        if (row->values.text(rmCode) != code)
            continue;
        ++use.lines;
        seen.insert(row->values.text(type).toCaseFolded() + QChar(0) + row->values.text(batch).toCaseFolded());
    }
    use.recipes = int(seen.size());
    return use;
}

void StoredRecipes::reworkLines(const QSet<QString>& codes, const std::function<void(Line&)>& rework) {
    StoredLines lines(m_db);
    const int rmCode = Tables::recipes().columnIndex(QStringLiteral("RMCode"));
    Database::Transaction tx(m_db);
    // The file has no index on codes: the lines of many materials are found in one pass over it
    // for each few hundred, not in one for each material.
    const QStringList all(codes.begin(), codes.end());
    constexpr int kPerPass = 500;
    for (qsizetype at = 0; at < all.size(); at += kPerPass) {
        const QStringList some = all.mid(at, kPerPass);
        QStringList marks;
        QVariantList args;
        for (const QString& code : some) {
            marks << QStringLiteral("?");
            args << code;
        }
        for (const RowPtr& row : lines.file().select(QStringLiteral("RMCode IN (%1)").arg(marks.join(u',')), args)) {
            // Letters as stored: the comparison in SQL may fold them.
            if (!codes.contains(row->values.text(rmCode)))
                continue;
            const StoredLines::Row stored = StoredLines::rowOf(row->rowid, row->values);
            ::Line after = stored.line;
            rework(after);
            // Only what changed is written: the rest stays as it was stored.
            lines.update(stored, after);
        }
    }
    tx.commit();
}
