#include "StoredRecipes.h"

#include "store/Tables.h"
#include "components/Database.h"

#include <algorithm>

namespace {

// A recipe's name as the views' keys match it: without letter case, and a missing word as
// an empty one.
const QString kByName = QStringLiteral("ifnull(BatchType, '') = ?1 COLLATE NOCASE AND "
                                       "ifnull(BatchCode, '') = ?2 COLLATE NOCASE");

std::optional<double> amount(const RowValues& row, const TableSchema& schema, const char* column) {
    const int c = schema.columnIndex(QString::fromLatin1(column));
    if (row.isNull(c))
        return std::nullopt;
    return row.isText(c) ? row.text(c).toDouble() : row.number(c);
}

} // namespace

std::optional<Recipe> StoredRecipes::load(const QString& type, const QString& code) const {
    const TableSchema& info = Tables::batchInfo();
    const std::vector<RowPtr> headers = m_db.table(info).select(kByName, {type, code});
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
    std::vector<RowPtr> rows = m_db.table(lines).select(kByName, {type, code});
    // In item order as the line view shows them: a line without a number first, and lines of
    // one number in the order they were stored.
    std::stable_sort(rows.begin(), rows.end(), [item](const RowPtr& a, const RowPtr& b) {
        if (a->values.isNull(item) || b->values.isNull(item))
            return a->values.isNull(item) && !b->values.isNull(item);
        return a->values.number(item) < b->values.number(item);
    });
    r.lines.reserve(rows.size());
    for (const RowPtr& row : rows) {
        const RowValues& v = row->values;
        ::Line l;
        if (!v.isNull(item))
            l.item = int(v.number(item));
        l.code = text(v, lines, "RMCode");
        l.mass = amount(v, lines, "Mass");
        l.moles = amount(v, lines, "Moles");
        l.ea = amount(v, lines, "Ea");
        l.eb = amount(v, lines, "Eb");
        l.charge = amount(v, lines, "Charge");
        l.percent = amount(v, lines, "Percent");
        l.cost = amount(v, lines, "Cost");
        r.lines.push_back(std::move(l));
    }
    return r;
}
