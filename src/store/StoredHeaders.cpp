#include "StoredHeaders.h"

#include "components/TextKey.h"
#include "store/Tables.h"

#include <QSet>
#include <algorithm>

namespace {

enum Column { Type, Code, Description, AV, Solids, Size, Date };

// Whether a stored word is `word` as the file's keys match: without letter case, none as empty.
bool holds(const RowValues& row, int column, const QByteArray& word) {
    return TextKey::same(row.utf8(column), QByteArrayView(word));
}

// Lists show each value once, as the first header in order writes it, sorted as a user reads.
class DistinctList {
public:
    void add(const QString& value) {
        // In order a value mostly repeats the one before: no need to fold it again.
        if (!m_items.isEmpty() && value == m_last)
            return;
        m_last = value;
        const QString key = TextKey::fold(value);
        if (!m_seen.contains(key)) {
            m_seen.insert(key);
            m_items << value;
        }
    }
    QStringList sorted() const {
        QStringList items = m_items;
        std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        return items;
    }

private:
    QSet<QString> m_seen;
    QStringList m_items;
    QString m_last;
};

} // namespace

StoredHeaders::StoredHeaders(Database& db) : m_file(db.table(Tables::batchInfo())) {}

RecipeHeader StoredHeaders::headerOf(const RowValues& row) {
    return {row.text(Type),      row.text(Code),    row.text(Description), row.amount(AV),
            row.amount(Solids), row.amount(Size), row.text(Date)};
}

RowValues StoredHeaders::rowOf(const RecipeHeader& h) {
    RowValues row(int(Tables::batchInfo().columns.size()));
    row.set(Type, RowValues::word(h.type));
    row.set(Code, RowValues::word(h.code));
    row.set(Description, RowValues::word(h.description));
    row.set(AV, RowValues::amount(h.av));
    row.set(Solids, RowValues::amount(h.solids));
    row.set(Size, RowValues::amount(h.size));
    row.set(Date, RowValues::word(h.date));
    return row;
}

bool StoredHeaders::lessThan(const StoredRow& a, const StoredRow& b) const {
    for (int c : {Type, Code}) {
        const bool xn = a.values.isNull(c), yn = b.values.isNull(c);
        if (xn || yn) {
            if (xn != yn)
                return xn;
            continue;
        }
        const int r = TextKey::compare(a.values.utf8(c), b.values.utf8(c));
        if (r != 0)
            return r < 0;
    }
    return a.rowid < b.rowid;
}

void StoredHeaders::read() {
    // The file's index gives the rows in order already; sorting is for what it does not cover.
    m_rows = m_file.snapshotInOrder({Type, Code});
    const auto less = [this](const RowPtr& a, const RowPtr& b) { return lessThan(*a, *b); };
    if (!std::is_sorted(m_rows.begin(), m_rows.end(), less))
        std::sort(m_rows.begin(), m_rows.end(), less);
}

void StoredHeaders::place(const RowPtr& old, const RowPtr& row) {
    const auto less = [this](const RowPtr& a, const RowPtr& b) { return lessThan(*a, *b); };
    if (old) {
        auto at = std::lower_bound(m_rows.begin(), m_rows.end(), old, less);
        if (at == m_rows.end() || *at != old)
            at = std::find(m_rows.begin(), m_rows.end(), old);
        if (at != m_rows.end() && row) {
            // Most writes leave the name as it was: the header stays where it stands.
            const bool afterPrev = at == m_rows.begin() || lessThan(**(at - 1), *row);
            const bool beforeNext = at + 1 == m_rows.end() || lessThan(*row, **(at + 1));
            if (afterPrev && beforeNext) {
                *at = row;
                return;
            }
        }
        if (at != m_rows.end())
            m_rows.erase(at);
    }
    if (row)
        m_rows.insert(std::upper_bound(m_rows.begin(), m_rows.end(), row, less), row);
}

void StoredHeaders::take(const ChangeSet& changes, bool toBefore) {
    const auto takeOne = [this](const RowChange& c, bool back) {
        const std::optional<RowValues>& to = back ? c.before : c.after;
        const int at = indexOfRow(c.rowid);
        place(at >= 0 ? m_rows[size_t(at)] : RowPtr(),
              to ? std::make_shared<StoredRow>(StoredRow{c.rowid, *to}) : RowPtr());
    };
    if (toBefore) {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->file == &m_file)
                takeOne(*it, true);
    } else {
        for (const RowChange& c : changes)
            if (c.file == &m_file)
                takeOne(c, false);
    }
}

RecipeHeader StoredHeaders::at(int index) const { return headerOf(m_rows[size_t(index)]->values); }

RecipeName StoredHeaders::nameAt(int index) const {
    const RowValues& row = m_rows[size_t(index)]->values;
    return {row.text(Type), row.text(Code)};
}

QVariantList StoredHeaders::keyAt(int index) const {
    const RowValues& row = m_rows[size_t(index)]->values;
    return {row.at(Type), row.at(Code)};
}

int StoredHeaders::indexOfRow(qint64 rowid, int near) const {
    // Walks and returns mostly stay near the current header.
    for (int i = near - 1; near >= 0 && i <= near + 1; ++i)
        if (i >= 0 && i < count() && m_rows[size_t(i)]->rowid == rowid)
            return i;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i]->rowid == rowid)
            return int(i);
    return -1;
}

int StoredHeaders::find(const QString& type, const QString& code) const {
    const QByteArray t = type.toUtf8(), c = code.toUtf8();
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (holds(m_rows[i]->values, Type, t) && holds(m_rows[i]->values, Code, c))
            return int(i);
    return -1;
}

QStringList StoredHeaders::types() const {
    DistinctList types;
    // In order a type mostly repeats the one before: compared as stored, it is made into a
    // string only where it changes.
    QByteArrayView last;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QByteArrayView type = m_rows[i]->values.utf8(Type);
        if (i > 0 && type == last)
            continue;
        last = type;
        types.add(QString::fromUtf8(type));
    }
    return types.sorted();
}

QStringList StoredHeaders::codesOf(const QString& type, int* first) const {
    const QByteArray word = type.toUtf8();
    DistinctList codes;
    *first = -1;
    // A type stored as the one before it matches as that one did: it is compared once per run.
    QByteArrayView last;
    bool lastMatched = false;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const RowValues& row = m_rows[i]->values;
        const QByteArrayView stored = row.utf8(Type);
        if (i == 0 || stored != last) {
            last = stored;
            lastMatched = holds(row, Type, word);
        }
        if (!lastMatched)
            continue;
        if (*first < 0)
            *first = int(i);
        codes.add(row.text(Code));
    }
    return codes.sorted();
}

void StoredHeaders::write(int index, const RecipeHeader& header) {
    const RowPtr old = m_rows[size_t(index)];
    // Only the parts that changed: one the user left alone stays as an older program stored it.
    const RecipeHeader was = headerOf(old->values);
    RowValues after = old->values;
    if (header.description != was.description)
        after.set(Description, RowValues::word(header.description));
    if (header.av != was.av)
        after.set(AV, RowValues::amount(header.av));
    if (header.solids != was.solids)
        after.set(Solids, RowValues::amount(header.solids));
    if (header.size != was.size)
        after.set(Size, RowValues::amount(header.size));
    if (header.date != was.date)
        after.set(Date, RowValues::word(header.date));
    if (after == old->values)
        return;
    m_file.update(old->rowid, old->values, after);
    m_rows[size_t(index)] = std::make_shared<StoredRow>(StoredRow{old->rowid, std::move(after)});
}
