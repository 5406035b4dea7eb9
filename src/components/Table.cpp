#include "Table.h"

#include "StoreError.h"
#include "TextKey.h"
#include "ValueProbe.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

bool isNullValue(const QVariant& v) { return !v.isValid() || v.isNull(); }

// Equality as locate, find key and filters see it: text ignores letter case, null equals empty.
bool sameValue(const QVariant& a, const QVariant& b) {
    const bool an = isNullValue(a), bn = isNullValue(b);
    const bool text = a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString;
    if (text)
        return TextKey::same(an ? QString() : a.toString(), bn ? QString() : b.toString());
    if (an || bn)
        return an == bn;
    return a.toDouble() == b.toDouble();
}

} // namespace

Table::Table(Database& db, QString name) : m_db(db), m_name(std::move(name)) {}

Table::~Table() {
    close();
    for (DataSource* ds : m_sources)
        ds->m_table = nullptr;
}

void Table::raise(const QString& text) const { throw StoreError(m_name + QStringLiteral(": ") + text); }

void Table::checkActive() const {
    if (m_state == State::Inactive)
        raise(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

// ---------------------------------------------------------------------------------------------
// Set-up

void Table::setTable(const TableSchema& schema, const QString& indexName) {
    m_schema = schema;
    m_indexName = indexName;
    m_indexColumns.clear();
    const IndexDef* ix = schema.index(indexName);
    if (!ix)
        raise(QStringLiteral("Index '%1' not found").arg(indexName));
    for (const QString& c : ix->columns)
        m_indexColumns.push_back(schema.columnIndex(c));
}

Field& Table::addField(const QString& name, FieldType type) {
    const int column = m_schema.columnIndex(name);
    if (column < 0)
        raise(QStringLiteral("Field '%1' not found").arg(name));
    auto f = std::make_unique<Field>(this, name, type, column);
    f->size = m_schema.columns[size_t(column)].width;
    m_fields.push_back(std::move(f));
    return *m_fields.back();
}

void Table::setRange(const QStringList& columns, RangeKey key) {
    m_rangeKeyOf = std::move(key);
    m_detailFields = columns;
    m_detailColumns.clear();
    for (const QString& f : columns)
        m_detailColumns.push_back(m_schema.columnIndex(f));
}

void Table::followRange() {
    if (isOpen())
        followMaster(false);
}

Field* Table::findField(const QString& name) const {
    for (const auto& f : m_fields)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field& Table::fieldByName(const QString& name) const {
    Field* f = findField(name);
    if (!f)
        raise(QStringLiteral("Field '%1' not found").arg(name));
    return *f;
}

void Table::addDataSource(DataSource* ds) { m_sources.push_back(ds); }

void Table::removeDataSource(DataSource* ds) {
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), ds), m_sources.end());
}

// ---------------------------------------------------------------------------------------------
// Opening and reading rows

void Table::open() {
    if (isOpen())
        return;
    m_file = &m_db.table(m_schema);
    m_db.registerView(this);
    m_state = State::Browse;
    m_modified = false;
    m_rangeLoaded = false;
    load(0, 0);
    event(DataEvent::UpdateState);
    event(DataEvent::DataSetChange);
}

void Table::close() {
    if (!isOpen())
        return;
    // Closing stores nothing: a pending row nobody posted is dropped.
    m_db.unregisterView(this);
    m_state = State::Inactive;
    m_all.clear();
    m_rows.clear();
    m_editing.reset();
    m_cur = -1;
    m_eof = m_bof = true;
    m_modified = false;
    m_rangeLoaded = false;
}

void Table::load(qint64 keepRowid, int keepPos) {
    const std::optional<QVariantList> key = m_rangeKeyOf ? m_rangeKeyOf() : std::nullopt;
    if (!m_rangeKeyOf) {
        // Views of a whole table share its rows, read once.
        m_all = m_file->snapshotInOrder(m_indexColumns);
    } else if (key) {
        m_rangeKey = *key;
        QStringList where;
        QVariantList args;
        for (int i = 0; i < m_detailFields.size(); ++i) {
            const QString col = u'"' + m_detailFields[i] + u'"';
            if (isNullValue(m_rangeKey[i])) {
                where << col + QStringLiteral(" IS NULL");
            } else {
                args << m_rangeKey[i];
                where << QStringLiteral("%1 = ?%2 COLLATE NOCASE").arg(col).arg(args.size());
            }
        }
        m_all = m_file->select(where.join(QStringLiteral(" AND ")), args, m_indexColumns);
        m_rangeLoaded = true;
    } else {
        m_all.clear();
        m_rangeKey.clear();
        m_rangeLoaded = true;
    }
    // The file's index gives the rows in order already; sorting is for what it does not cover.
    const auto less = [this](const RowPtr& a, const RowPtr& b) { return lessThan(*a, *b); };
    if (!std::is_sorted(m_all.begin(), m_all.end(), less))
        std::sort(m_all.begin(), m_all.end(), less);
    rebuildVisible();
    int pos = keepRowid ? positionOf(keepRowid) : -1;
    if (pos < 0)
        pos = m_rows.empty() ? -1 : std::clamp(keepPos, 0, int(m_rows.size()) - 1);
    m_cur = m_rows.empty() ? -1 : pos;
    m_bof = m_cur <= 0;
    m_eof = m_rows.empty();
}

void Table::rebuildVisible() {
    if (!m_filtered || m_filterColumn < 0) {
        m_rows = m_all;
        return;
    }
    m_rows.clear();
    for (const RowPtr& r : m_all)
        if (passesFilter(*r))
            m_rows.push_back(r);
}

bool Table::lessThan(const StoredRow& a, const StoredRow& b) const {
    for (int c : m_indexColumns) {
        const bool xn = a.values.isNull(c), yn = b.values.isNull(c);
        if (xn || yn) {
            if (xn != yn)
                return xn;
            continue;
        }
        if (a.values.isText(c) && b.values.isText(c)) {
            const int r = TextKey::compare(a.values.utf8(c), b.values.utf8(c));
            if (r != 0)
                return r < 0;
        } else {
            const double dx = a.values.number(c), dy = b.values.number(c);
            if (dx != dy)
                return dx < dy;
        }
    }
    return a.rowid < b.rowid;
}

bool Table::sameKey(const StoredRow& a, const StoredRow& b) const {
    for (int c : m_indexColumns)
        if (!a.values.sameAt(c, b.values))
            return false;
    for (int c : m_detailColumns)
        if (!a.values.sameAt(c, b.values))
            return false;
    return m_filterColumn < 0 || a.values.sameAt(m_filterColumn, b.values);
}

int Table::place(std::vector<RowPtr>& rows, const RowPtr& old, const RowPtr& row) {
    const auto less = [this](const RowPtr& a, const RowPtr& b) { return lessThan(*a, *b); };
    if (old) {
        auto at = std::lower_bound(rows.begin(), rows.end(), old, less);
        if (at == rows.end() || *at != old)
            at = std::find(rows.begin(), rows.end(), old);
        if (at != rows.end()) {
            // Most writes leave the key as it was: the row stays where it stands.
            const bool afterPrev = at == rows.begin() || lessThan(**(at - 1), *row);
            const bool beforeNext = at + 1 == rows.end() || lessThan(*row, **(at + 1));
            if (afterPrev && beforeNext) {
                *at = row;
                return int(at - rows.begin());
            }
            rows.erase(at);
        }
    }
    const auto pos = std::upper_bound(rows.begin(), rows.end(), row, less);
    return int(rows.insert(pos, row) - rows.begin());
}

int Table::positionOf(qint64 rowid) const {
    // Walks and returns mostly stay near the current row.
    for (int i = m_cur - 1; i <= m_cur + 1; ++i)
        if (i >= 0 && i < int(m_rows.size()) && m_rows[size_t(i)]->rowid == rowid)
            return i;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i]->rowid == rowid)
            return int(i);
    return -1;
}

const StoredRow* Table::currentRow() const {
    if (m_state == State::Edit || m_state == State::Insert)
        return &m_buffer;
    if (m_cur < 0 || m_cur >= int(m_rows.size()))
        return nullptr;
    return m_rows[size_t(m_cur)].get();
}

const StoredRow* Table::rowAt(int pos) const {
    if (pos < 0 || pos >= int(m_rows.size()))
        return nullptr;
    return (pos == m_cur && m_state != State::Browse) ? &m_buffer : m_rows[size_t(pos)].get();
}

QVariant Table::storedValue(const Field& field) const {
    if (m_state == State::Insert || m_cur < 0 || m_cur >= int(m_rows.size()))
        return QVariant();
    const StoredRow& row = *m_rows[size_t(m_cur)];
    return row.values.at(field.column());
}

QVariant Table::currentValue(const Field& field) const {
    const StoredRow* row = currentRow();
    if (!row)
        return QVariant();
    return row->values.at(field.column());
}

QVariant Table::valueAt(int pos, const Field& field) const {
    const StoredRow* row = rowAt(pos);
    if (!row)
        return QVariant();
    return row->values.at(field.column());
}

QByteArrayView Table::utf8At(int pos, const Field& field) const {
    const StoredRow* row = rowAt(pos);
    return row ? row->values.utf8(field.column()) : QByteArrayView();
}

bool Table::holdsAt(int pos, const Field& field, const ValueProbe& value) const {
    const StoredRow* row = rowAt(pos);
    return row && value.matches(row->values, field.column());
}

bool Table::isPendingRow(int pos) const { return m_state == State::Insert && pos == m_cur; }

// ---------------------------------------------------------------------------------------------
// Moving

void Table::settle() {
    if (m_state == State::Edit || m_state == State::Insert) {
        // The controls write what they hold first: text typed but not yet left is a change.
        event(DataEvent::UpdateRecord);
        if (m_modified)
            post();
        else
            cancel();
    }
}

void Table::checkBrowseMode() {
    checkActive();
    settle();
}

void Table::moveTo(int pos) {
    m_eof = false;
    m_bof = pos <= 0;
    if (pos != m_cur) {
        m_cur = pos;
        event(DataEvent::DataSetScroll);
    }
}

void Table::first() {
    checkActive();
    settle();
    if (m_rows.empty()) {
        m_eof = m_bof = true;
        return;
    }
    moveTo(0);
}

void Table::next() {
    checkActive();
    settle();
    if (m_cur + 1 < int(m_rows.size())) {
        moveTo(m_cur + 1);
    } else {
        m_eof = true;
    }
}

void Table::prior() {
    checkActive();
    settle();
    if (m_cur > 0) {
        moveTo(m_cur - 1);
    } else {
        m_bof = true;
    }
}

void Table::last() {
    checkActive();
    settle();
    if (m_rows.empty()) {
        m_eof = m_bof = true;
        return;
    }
    moveTo(int(m_rows.size()) - 1);
    m_eof = true;
}

void Table::goTo(int pos) {
    checkActive();
    if (pos == m_cur)
        return;
    // Settling may drop a pending row above `pos` or move a posted one: find the row again.
    const RowPtr target = pos >= 0 && pos < int(m_rows.size()) ? m_rows[size_t(pos)] : nullptr;
    const qint64 rowid = target ? target->rowid : 0;
    settle();
    if (!target)
        return;
    const int now = positionOf(rowid);
    if (now >= 0)
        moveTo(now);
}

QString Table::bookmark() const {
    if (m_state == State::Insert || m_cur < 0 || m_cur >= int(m_rows.size()))
        return QString();
    return QString::number(m_rows[size_t(m_cur)]->rowid);
}

QString Table::bookmarkAt(int pos) const {
    if (pos < 0 || pos >= int(m_rows.size()) || isPendingRow(pos))
        return QString();
    return QString::number(m_rows[size_t(pos)]->rowid);
}

void Table::gotoBookmark(const QString& bookmark) {
    if (bookmark.isEmpty() || !isOpen())
        return;
    bool ok = false;
    const qint64 rowid = bookmark.toLongLong(&ok);
    if (!ok)
        return;
    settle();
    const int pos = positionOf(rowid);
    // A row deleted meanwhile cannot be returned to; the view stays where it is.
    if (pos >= 0)
        moveTo(pos);
}

bool Table::locate(const QString& fieldList, const QVariantList& values) {
    checkActive();
    const QStringList names = fieldList.split(u';');
    std::vector<const Field*> fields;
    for (const QString& n : names)
        fields.push_back(&fieldByName(n.trimmed()));
    if (int(fields.size()) != values.size())
        raise(QStringLiteral("Locate needs one value for each field"));
    settle();
    std::vector<ValueProbe> probes;
    for (const QVariant& v : values)
        probes.emplace_back(v);
    for (size_t pos = 0; pos < m_rows.size(); ++pos) {
        bool match = true;
        for (size_t i = 0; match && i < fields.size(); ++i)
            match = probes[i].matches(m_rows[pos]->values, fields[i]->column());
        if (match) {
            moveTo(int(pos));
            return true;
        }
    }
    return false;
}

bool Table::findKey(const QVariantList& values) {
    checkActive();
    if (values.size() > int(m_indexColumns.size()))
        raise(QStringLiteral("Too many key values for index '%1'").arg(m_indexName));
    settle();
    std::vector<ValueProbe> probes;
    for (const QVariant& v : values)
        probes.emplace_back(v);
    for (size_t pos = 0; pos < m_rows.size(); ++pos) {
        bool match = true;
        for (int i = 0; match && i < values.size(); ++i)
            match = probes[size_t(i)].matches(m_rows[pos]->values, m_indexColumns[size_t(i)]);
        if (match) {
            moveTo(int(pos));
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Filtering

void Table::setFilter(const QString& filter) {
    m_filterText = filter;
    m_filterColumn = -1;
    m_filterValue.reset();
    if (!filter.trimmed().isEmpty()) {
        static const QRegularExpression re(QStringLiteral("^\\s*(\\w+)\\s*=\\s*'((?:[^']|'')*)'\\s*$"));
        const QRegularExpressionMatch m = re.match(filter);
        m_filterColumn = m.hasMatch() ? m_schema.columnIndex(m.captured(1)) : -1;
        if (m_filterColumn < 0)
            raise(QStringLiteral("Invalid filter: %1").arg(filter));
        m_filterValue.emplace(m.captured(2).replace(QStringLiteral("''"), QStringLiteral("'")));
    }
    if (m_filtered && isOpen()) {
        m_filtered = false; // so that setFiltered rebuilds
        setFiltered(true);
    }
}

bool Table::inRange(const StoredRow& row) const {
    if (!m_rangeKeyOf || !m_rangeLoaded)
        return true;
    if (m_rangeKey.isEmpty())
        return false; // no key: no row belongs
    for (size_t i = 0; i < m_detailColumns.size(); ++i)
        if (!sameValue(row.values.at(m_detailColumns[i]), m_rangeKey[int(i)]))
            return false;
    return true;
}

bool Table::passesFilter(const StoredRow& row) const {
    if (!m_filtered || m_filterColumn < 0)
        return true;
    return m_filterValue && m_filterValue->matches(row.values, m_filterColumn);
}

void Table::setFiltered(bool on) {
    if (!isOpen()) {
        m_filtered = on;
        return;
    }
    settle();
    m_filtered = on;
    rebuildVisible();
    m_cur = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    event(DataEvent::DataSetChange);
}

// ---------------------------------------------------------------------------------------------
// Editing

RowValues Table::defaultsRow() const {
    RowValues values(int(m_schema.columns.size()));
    for (const auto& f : m_fields)
        if (f->defaultValue.isValid())
            values.set(f->column(), f->defaultValue);
    return values;
}

RowValues Table::newRowValues() const {
    RowValues values = defaultsRow();
    // A new row belongs to its range from the moment it exists.
    if (m_rangeKeyOf) {
        if (const std::optional<QVariantList> key = m_rangeKeyOf())
            for (size_t i = 0; i < m_detailColumns.size(); ++i)
                values.set(m_detailColumns[i], (*key)[int(i)]);
    }
    return values;
}

bool Table::differsFromStored() const {
    if (m_state == State::Edit)
        return !m_editing || !(m_buffer.values == m_editing->values);
    if (m_state == State::Insert)
        return !(m_buffer.values == newRowValues());
    return false;
}

void Table::newRow(bool atEnd) {
    m_insertReturn = m_cur;
    m_buffer = StoredRow{0, newRowValues()};
    const int pos = (atEnd || m_cur < 0) ? int(m_rows.size()) : m_cur;
    m_rows.insert(m_rows.begin() + pos, std::make_shared<StoredRow>(m_buffer));
    m_editing.reset();
    m_cur = pos;
    m_eof = m_bof = false;
    m_state = State::Insert;
    m_typed.clear();
    m_editName.clear();
    m_pendingRecorded = 0;
    m_pendingTx = m_modifiedTx = m_db.currentTransaction();
    m_modified = false;
    event(DataEvent::UpdateState);
    event(DataEvent::DataSetChange);
}

void Table::edit() {
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_rows.empty()) {
        append();
        return;
    }
    m_editing = m_rows[size_t(m_cur)];
    m_buffer = *m_editing;
    m_state = State::Edit;
    m_typed.clear();
    m_editName.clear();
    m_pendingRecorded = 0;
    m_pendingTx = m_modifiedTx = m_db.currentTransaction();
    m_modified = false;
    event(DataEvent::UpdateState);
}

void Table::append() {
    checkActive();
    settle();
    newRow(true);
}

void Table::insert() {
    checkActive();
    settle();
    newRow(false);
}

void Table::appendRecord(const QVariantList& values) {
    checkActive();
    settle();
    newRow(true);
    try {
        int i = 0;
        for (const auto& f : m_fields) {
            if (i >= values.size())
                break;
            m_buffer.values.set(f->column(), f->validated(values[i]));
            ++i;
        }
        m_modified = true;
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

void Table::clearFields() {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    m_buffer.values = defaultsRow();
    m_modified = true;
    m_modifiedTx = m_db.currentTransaction();
    event(DataEvent::RecordChange);
}

void Table::writeValue(Field& field, const QVariant& value) {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    const QVariant v = field.validated(value);
    if (field.check)
        field.check(v);
    m_buffer.values.set(field.column(), v);
    m_modified = true;
    m_modifiedTx = m_db.currentTransaction();
    event(DataEvent::FieldChange, &field);
    if (field.onChange)
        field.onChange(field);
}

void Table::post() {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    event(DataEvent::UpdateRecord);
    // The row typed in an action that stored what followed from it (the lines scaled to a
    // typed batch size) completes that action, when nothing was recorded since.
    if (m_pendingRecorded != 0 && m_pendingRecorded != m_db.currentTransaction() &&
        m_pendingRecorded == m_db.lastRecorded())
        m_db.joinPreviousAction();
    if (!m_editName.isEmpty())
        m_db.nameAction(m_editName);
    const quint64 before = m_file->generation();
    if (beforePost)
        beforePost();
    if (!m_typed.isEmpty())
        m_db.nameTyping(QStringLiteral("typing in ") + m_typed.join(QStringLiteral(", ")));
    RowPtr row;
    RowPtr old;
    try {
        for (const auto& f : m_fields)
            if (f->required && m_buffer.values.isNull(f->column()))
                throw FieldError(QStringLiteral("Field '%1' must have a value").arg(f->name()));
        if (m_state == State::Insert) {
            const qint64 rowid = m_file->insert(m_buffer.values);
            row = std::make_shared<StoredRow>(StoredRow{rowid, m_buffer.values});
            m_rows.erase(m_rows.begin() + m_cur); // the pending row's place holder
        } else {
            old = m_editing;
            m_file->update(old->rowid, old->values, m_buffer.values);
            row = old->values == m_buffer.values
                      ? old
                      : std::make_shared<StoredRow>(StoredRow{old->rowid, m_buffer.values});
        }
    } catch (const FieldError& e) {
        // Refused after the view stored other rows for this one (their new numbers): no longer a
        // value refused before anything was written, but a failed action to be undone whole.
        if (m_file->generation() != before)
            throw StoreError(e.message());
        throw;
    }
    int pos = -1;
    if (old && row != old && sameKey(*old, *row) && m_rows[size_t(m_cur)] == old) {
        // The batch pass and most edits leave the key alone: the row keeps its place.
        m_rows[size_t(m_cur)] = row;
        if (size_t(m_cur) < m_all.size() && m_all[size_t(m_cur)] == old)
            m_all[size_t(m_cur)] = row;
        else
            place(m_all, old, row);
        pos = m_cur;
    } else if (row != old) {
        const bool belongs = inRange(*row);
        if (belongs)
            place(m_all, old, row);
        else if (old)
            m_all.erase(std::remove(m_all.begin(), m_all.end(), old), m_all.end());
        if (belongs && passesFilter(*row))
            pos = place(m_rows, old, row);
        else if (old)
            m_rows.erase(std::remove(m_rows.begin(), m_rows.end(), old), m_rows.end());
    } else {
        pos = m_cur;
    }
    m_state = State::Browse;
    m_modified = false;
    m_editing.reset();
    m_cur = pos >= 0 ? pos : std::min(m_cur, int(m_rows.size()) - 1);
    m_eof = m_rows.empty();
    event(DataEvent::UpdateState);
    event(DataEvent::DataSetChange);
    if (afterPost)
        afterPost();
}

static QString captionOf(const Field& field) { return field.caption.isEmpty() ? field.name() : field.caption; }

bool Table::noteTyped(const Field& field) { return noteTyped(captionOf(field)); }

bool Table::noteTyped(const QString& caption) {
    // What the typed value itself writes (the batch pass after a typed size) is named after it.
    m_db.nameTyping(QStringLiteral("typing in ") + caption);
    if (m_typed.contains(caption))
        return false;
    m_typed << caption;
    return true;
}

void Table::forgetTyped(const Field& field) { forgetTyped(captionOf(field)); }

void Table::forgetTyped(const QString& caption) { m_typed.removeAll(caption); }

void Table::numberRows(Field& field, int at) {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    const int col = field.column();
    const int count = int(m_rows.size());
    at = std::clamp(at, 1, std::max(1, count));
    int number = 1;
    for (int pos = 0; pos < count; ++pos) {
        if (pos == m_cur)
            continue;
        if (number == at)
            ++number; // the pending row's place
        const RowPtr old = m_rows[size_t(pos)];
        if (!(old->values.isInteger(col) && old->values.number(col) == number)) {
            RowValues after = old->values;
            after.set(col, field.validated(number));
            m_file->update(old->rowid, old->values, after);
            const RowPtr row = std::make_shared<StoredRow>(StoredRow{old->rowid, after});
            std::replace(m_all.begin(), m_all.end(), old, row);
            m_rows[size_t(pos)] = row;
        }
        ++number;
    }
    m_buffer.values.set(col, field.validated(at));
    m_modified = true;
    m_modifiedTx = m_db.currentTransaction();
    // Rows the view does not show keep their numbers: the order of all of them is found again.
    const auto less = [this](const RowPtr& a, const RowPtr& b) { return lessThan(*a, *b); };
    if (!std::is_sorted(m_all.begin(), m_all.end(), less))
        std::stable_sort(m_all.begin(), m_all.end(), less);
}

void Table::writeStored(Field& field, const QVariant& value) {
    checkActive();
    const RowPtr old = m_state == State::Edit ? m_editing
                       : m_state == State::Browse && m_cur >= 0 ? m_rows[size_t(m_cur)]
                                                                : RowPtr();
    if (!old)
        return;
    const QVariant v = field.validated(value);
    RowValues after = old->values;
    after.set(field.column(), v);
    if (after == old->values)
        return;
    m_file->update(old->rowid, old->values, after);
    const RowPtr row = std::make_shared<StoredRow>(StoredRow{old->rowid, after});
    std::replace(m_all.begin(), m_all.end(), old, row);
    std::replace(m_rows.begin(), m_rows.end(), old, row);
    if (m_state == State::Edit) {
        m_editing = row;
        m_buffer.values.set(field.column(), v);
    }
}

void Table::cancel() {
    checkActive();
    if (m_state == State::Browse)
        return;
    if (m_state == State::Insert) {
        m_rows.erase(m_rows.begin() + m_cur);
        m_cur = m_insertReturn;
        if (m_cur >= int(m_rows.size()))
            m_cur = int(m_rows.size()) - 1;
        if (m_rows.empty())
            m_cur = -1;
        m_eof = m_rows.empty();
    }
    m_state = State::Browse;
    m_modified = false;
    m_editing.reset();
    event(DataEvent::UpdateState);
    event(DataEvent::DataSetChange);
}

void Table::remove() {
    checkActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_rows.empty())
        raise(QStringLiteral("Cannot perform this operation on an empty dataset"));
    const RowPtr row = m_rows[size_t(m_cur)];
    m_file->remove(row->rowid, row->values); // a refusal leaves a pending edit as it was
    m_state = State::Browse;
    m_modified = false;
    m_editing.reset();
    m_rows.erase(m_rows.begin() + m_cur);
    m_all.erase(std::remove(m_all.begin(), m_all.end(), row), m_all.end());
    if (m_cur >= int(m_rows.size()))
        m_cur = int(m_rows.size()) - 1;
    m_eof = m_rows.empty();
    m_db.rowDeleted(m_file, row->rowid, this);
    event(DataEvent::UpdateState);
    event(DataEvent::DataSetChange);
    if (afterDelete)
        afterDelete();
}

void Table::refresh() {
    checkActive();
    settle();
    const QString bm = bookmark();
    load(bm.toLongLong(), m_cur);
    event(DataEvent::DataSetChange);
}

// ---------------------------------------------------------------------------------------------
// Notifications

void Table::disableControls() { ++m_disableCount; }

void Table::enableControls() {
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_pendingEvent) {
        m_pendingEvent = false;
        event(DataEvent::UpdateState);
        event(DataEvent::DataSetChange);
    }
}

void Table::event(DataEvent e, Field* f) {
    if (m_disableCount > 0) {
        m_pendingEvent = true;
        return;
    }
    const std::vector<DataSource*> sources = m_sources;
    for (DataSource* ds : sources)
        ds->notify(e, f);
}

void Table::followMaster(bool force) {
    if (!isOpen())
        return;
    if (!force && m_rangeLoaded) {
        const QVariantList key = m_rangeKeyOf().value_or(QVariantList());
        bool same = key.size() == m_rangeKey.size();
        for (int i = 0; same && i < key.size(); ++i)
            same = sameValue(key[i], m_rangeKey[i]);
        if (same)
            return;
    }
    settle();
    load(0, 0);
    event(DataEvent::DataSetChange);
}

bool Table::touchedIn(quint64 serial) const {
    if (serial == 0 || (m_state != State::Edit && m_state != State::Insert))
        return false;
    return m_pendingTx == serial || m_modifiedTx == serial;
}

void Table::rememberPlace() {
    const bool onRow = isOpen() && m_state != State::Insert && m_cur >= 0 && m_cur < int(m_rows.size());
    m_placeRowid = onRow ? m_rows[size_t(m_cur)]->rowid : 0;
    m_placePos = m_cur;
    m_placeState = isOpen() ? m_state : State::Browse;
    if (m_placeState == State::Edit || m_placeState == State::Insert) {
        m_placeBuffer = m_buffer;
        m_placeEditing = m_editing ? m_editing->rowid : 0;
        m_placeModified = m_modified;
        m_placePendingTx = m_pendingTx;
        m_placeModifiedTx = m_modifiedTx;
        m_placeInsertReturn = m_insertReturn;
    }
}

bool Table::movedSincePlace() const {
    const bool onRow = isOpen() && m_state != State::Insert && m_cur >= 0 && m_cur < int(m_rows.size());
    return (onRow ? m_rows[size_t(m_cur)]->rowid : 0) != m_placeRowid;
}

bool Table::takeChanges(const ChangeSet& changes, bool toBefore) {
    if (!isOpen() || m_state != State::Browse)
        return false;
    const qint64 current = m_cur >= 0 && m_cur < int(m_rows.size()) ? m_rows[size_t(m_cur)]->rowid : 0;
    // Each row written goes where the view's order, range and filter put it, or out of it: the
    // view need not read its table again.
    const auto take = [this](const RowChange& c, bool back) {
        const std::optional<RowValues>& to = back ? c.before : c.after;
        const RowPtr row = to ? std::make_shared<StoredRow>(StoredRow{c.rowid, *to}) : RowPtr();
        const bool belongs = row && inRange(*row);
        for (std::vector<RowPtr>* rows : {&m_all, &m_rows}) {
            const auto at = std::find_if(rows->begin(), rows->end(), [&](const RowPtr& r) { return r->rowid == c.rowid; });
            const RowPtr old = at != rows->end() ? *at : RowPtr();
            if (belongs && (rows == &m_all || passesFilter(*row)))
                place(*rows, old, row);
            else if (old)
                rows->erase(at);
        }
    };
    if (toBefore) {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->file == m_file)
                take(*it, true);
    } else {
        for (const RowChange& c : changes)
            if (c.file == m_file)
                take(c, false);
    }
    const int pos = current ? positionOf(current) : -1;
    m_cur = pos >= 0 ? pos : std::min(std::max(m_cur, 0), int(m_rows.size()) - 1);
    m_eof = m_rows.empty();
    if (m_rows.empty())
        m_bof = true;
    event(DataEvent::DataSetChange);
    return true;
}

void Table::resyncAfterRollback() {
    if (!isOpen())
        return;
    // Back to the row the user was on before the undone action.
    if (m_state == State::Insert)
        m_rows.erase(m_rows.begin() + m_cur);
    m_state = State::Browse;
    m_modified = false;
    m_editing.reset();
    if (m_rangeKeyOf)
        m_rangeLoaded = false; // the key may be another now
    load(m_placeRowid, m_placePos);
    // A row the user was editing before the action is pending again, as it was then.
    if (m_placeState == State::Edit) {
        const int pos = positionOf(m_placeEditing);
        if (pos >= 0) {
            m_cur = pos;
            m_editing = m_rows[size_t(pos)];
            m_buffer = m_placeBuffer;
            m_state = State::Edit;
        }
    } else if (m_placeState == State::Insert) {
        const int pos = std::clamp(m_placePos, 0, int(m_rows.size()));
        m_rows.insert(m_rows.begin() + pos, std::make_shared<StoredRow>(m_placeBuffer));
        m_buffer = m_placeBuffer;
        m_cur = pos;
        m_insertReturn = m_placeInsertReturn;
        m_state = State::Insert;
        m_eof = m_bof = false;
    }
    if (m_state != State::Browse) {
        m_modified = m_placeModified;
        m_pendingTx = m_placePendingTx;
        m_modifiedTx = m_placeModifiedTx;
    }
    event(DataEvent::UpdateState);
    event(DataEvent::DataSetChange);
}

void Table::rowDeletedElsewhere(TableFile* file, qint64 rowid) {
    if (file != m_file || !isOpen())
        return;
    const auto it = std::find_if(m_all.begin(), m_all.end(),
                                 [rowid](const RowPtr& r) { return r->rowid == rowid; });
    if (it == m_all.end())
        return;
    const RowPtr row = *it;
    m_all.erase(it);
    const auto vis = std::find(m_rows.begin(), m_rows.end(), row);
    if (vis != m_rows.end()) {
        const int pos = int(vis - m_rows.begin());
        if (pos == m_cur && m_state == State::Edit) {
            m_state = State::Browse;
            m_modified = false;
            m_editing.reset();
        }
        m_rows.erase(vis);
        if (pos < m_cur || m_cur >= int(m_rows.size()))
            --m_cur;
        if (m_rows.empty())
            m_cur = -1;
    }
    event(DataEvent::DataSetChange);
}
