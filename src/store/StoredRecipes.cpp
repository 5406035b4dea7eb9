#include "StoredRecipes.h"

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

std::optional<double> amount(const RowValues& row, const TableSchema& schema, const char* column) {
    const int c = schema.columnIndex(QString::fromLatin1(column));
    if (row.isNull(c))
        return std::nullopt;
    return row.isText(c) ? row.text(c).toDouble() : row.number(c);
}

// A line as stored.
::Line lineOf(const RowValues& v) {
    const TableSchema& lines = Tables::recipes();
    const int item = lines.columnIndex(QStringLiteral("ItemNum"));
    ::Line l;
    if (!v.isNull(item))
        l.item = int(v.number(item));
    l.code = v.text(lines.columnIndex(QStringLiteral("RMCode")));
    l.mass = amount(v, lines, "Mass");
    l.moles = amount(v, lines, "Moles");
    l.ea = amount(v, lines, "Ea");
    l.eb = amount(v, lines, "Eb");
    l.charge = amount(v, lines, "Charge");
    l.percent = amount(v, lines, "Percent");
    l.cost = amount(v, lines, "Cost");
    return l;
}

} // namespace

std::optional<Recipe> StoredRecipes::load(const QString& type, const QString& code) const {
    const TableSchema& info = Tables::batchInfo();
    const ByName name = byName(type, code);
    const std::vector<RowPtr> headers = m_db.table(info).select(name.where, name.args);
    if (headers.empty())
        return std::nullopt;
    // Of two headers of one name, which the naming commands never make, the first stored.
    const RowValues& h = headers.front()->values;
    const auto text = [](const RowValues& row, const TableSchema& s, const char* column) {
        return row.text(s.columnIndex(QString::fromLatin1(column)));
    };
    Recipe r;
    r.header.type = text(h, info, "BatchType");
    r.header.code = text(h, info, "BatchCode");
    r.header.description = text(h, info, "Description");
    r.header.av = amount(h, info, "AV");
    r.header.solids = amount(h, info, "Solids");
    r.header.size = amount(h, info, "Size");
    r.header.date = text(h, info, "Date");

    const TableSchema& lines = Tables::recipes();
    const int item = lines.columnIndex(QStringLiteral("ItemNum"));
    std::vector<RowPtr> rows = m_db.table(lines).select(name.where, name.args);
    // In item order as the line view shows them: a line without a number first, and lines of
    // one number in the order they were stored.
    std::stable_sort(rows.begin(), rows.end(), [item](const RowPtr& a, const RowPtr& b) {
        if (a->values.isNull(item) || b->values.isNull(item))
            return a->values.isNull(item) && !b->values.isNull(item);
        return a->values.number(item) < b->values.number(item);
    });
    r.lines.reserve(rows.size());
    for (const RowPtr& row : rows)
        r.lines.push_back(lineOf(row->values));
    return r;
}

namespace {

QVariant text(const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); }
QVariant figure(const std::optional<double>& v) { return v ? QVariant(*v) : QVariant(); }

void put(RowValues& row, const TableSchema& schema, const char* column, const QVariant& value) {
    row.set(schema.columnIndex(QString::fromLatin1(column)), value);
}

} // namespace

void StoredRecipes::save(const Recipe& recipe) {
    const RecipeHeader& h = recipe.header;
    Database::Transaction tx(m_db);
    remove(h.type, h.code);
    const TableSchema& info = Tables::batchInfo();
    RowValues header(int(info.columns.size()));
    put(header, info, "BatchType", text(h.type));
    put(header, info, "BatchCode", text(h.code));
    put(header, info, "Description", text(h.description));
    put(header, info, "AV", figure(h.av));
    put(header, info, "Solids", figure(h.solids));
    put(header, info, "Size", figure(h.size));
    put(header, info, "Date", text(h.date));
    m_db.table(info).insert(header);

    const TableSchema& lines = Tables::recipes();
    TableFile& file = m_db.table(lines);
    for (const ::Line& l : recipe.lines) {
        RowValues row(int(lines.columns.size()));
        put(row, lines, "BatchType", text(h.type));
        put(row, lines, "BatchCode", text(h.code));
        put(row, lines, "ItemNum", l.item ? QVariant(*l.item) : QVariant());
        put(row, lines, "RMCode", text(l.code));
        put(row, lines, "Mass", figure(l.mass));
        put(row, lines, "Moles", figure(l.moles));
        put(row, lines, "Ea", figure(l.ea));
        put(row, lines, "Eb", figure(l.eb));
        put(row, lines, "Charge", figure(l.charge));
        put(row, lines, "Percent", figure(l.percent));
        put(row, lines, "Cost", figure(l.cost));
        file.insert(row);
    }
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
        put(after, s, "BatchType", text(type));
        put(after, s, "BatchCode", text(code));
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

void StoredRecipes::reworkLines(const QString& code, const std::function<void(Line&)>& rework) {
    const TableSchema& lines = Tables::recipes();
    TableFile& file = m_db.table(lines);
    const int rmCode = lines.columnIndex(QStringLiteral("RMCode"));
    using Figure = std::optional<double>;
    const std::pair<Figure Line::*, const char*> amounts[] = {
        {&::Line::mass, "Mass"},       {&::Line::moles, "Moles"},     {&::Line::ea, "Ea"},     {&::Line::eb, "Eb"},
        {&::Line::charge, "Charge"}, {&::Line::percent, "Percent"}, {&::Line::cost, "Cost"}};
    Database::Transaction tx(m_db);
    for (const RowPtr& row : file.select(QStringLiteral("RMCode = ?"), {code})) {
        if (row->values.text(rmCode) != code)
            continue;
        const ::Line before = lineOf(row->values);
        ::Line after = before;
        rework(after);
        // Only the amounts that changed: the others stay as they were stored.
        RowValues values = row->values;
        for (const auto& [part, column] : amounts)
            if (after.*part != before.*part)
                put(values, lines, column, figure(after.*part));
        file.update(row->rowid, row->values, values);
    }
    tx.commit();
}
