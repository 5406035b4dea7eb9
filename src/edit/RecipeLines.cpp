#include "RecipeLines.h"

#include "components/StoreError.h"
#include "components/TextKey.h"
#include "domain/NumberFormat.h"
#include "store/ColumnText.h"

#include <algorithm>
#include <cmath>

namespace {

using Figure = std::optional<double>;

const Line& emptyLine() {
    static const Line none;
    return none;
}

} // namespace

const RecipeLines::Rule& RecipeLines::rule(LineColumn column) {
    static const Rule rules[LineColumnCount] = {
        {"ItemNum", "Item", Rule::Integer, 0, std::nullopt, std::nullopt},
        {"RMCode", "Code", Rule::Words, 10, std::nullopt, std::nullopt},
        {"RMName", "Name", Rule::Words, 0, std::nullopt, std::nullopt},
        {"Mass", "Mass", Rule::Figure, 0, 0.0, 100000.0},
        {"Moles", "Moles", Rule::Figure, 0, std::nullopt, std::nullopt},
        {"Ea", "Ea", Rule::Figure, 0, std::nullopt, std::nullopt},
        {"Eb", "Eb", Rule::Figure, 0, std::nullopt, std::nullopt},
        {"Charge", "Charge", Rule::Figure, 0, std::nullopt, std::nullopt},
        {"Percent", "Percent", Rule::Figure, 0, std::nullopt, std::nullopt},
        {"Cost", "Cost", Rule::Figure, 0, std::nullopt, std::nullopt},
    };
    return rules[int(column)];
}

QVariant RecipeLines::validated(LineColumn column, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    const Rule& r = rule(column);
    const QString name = QString::fromLatin1(r.name);
    // Empty text is no value, as a cleared cell is.
    if (r.kind == Rule::Words)
        return ColumnText::words(value.toString(), name, r.width);
    const bool typed = value.typeId() == QMetaType::QString;
    const double d = typed ? ColumnText::parse(value.toString(), name, r.kind == Rule::Integer ? "integer" : "floating point")
                           : value.toDouble();
    if (!std::isfinite(d))
        throw FieldError(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                             .arg(NumberFormat::general(d), name));
    if (r.kind == Rule::Integer) {
        // Item numbers are small integers; far out of range, a figure is not rounded at all.
        const long long lo = -32768, hi = 32767;
        const long long i = std::abs(d) < MaxFigure ? std::llround(d) : (d < 0 ? lo - 1 : hi + 1);
        if (i < lo || i > hi)
            throw FieldError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                                 .arg(std::abs(d) < MaxFigure ? QString::number(i) : NumberFormat::general(d))
                                 .arg(name)
                                 .arg(lo)
                                 .arg(hi));
        return QVariant(int(i));
    }
    if ((r.min && d < *r.min) || (r.max && d > *r.max))
        throw FieldError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                             .arg(NumberFormat::general(d), name, NumberFormat::general(r.min.value_or(-HUGE_VAL)),
                                  NumberFormat::general(r.max.value_or(HUGE_VAL))));
    // A typed figure beyond what 15 digits can show would overflow what follows from it.
    if (typed)
        ColumnText::checkDigits(d, value.toString(), name);
    return QVariant(d);
}

QVariant RecipeLines::valueOf(const Line& line, LineColumn column) {
    switch (column) {
    case LineColumn::Item:
        return line.item ? QVariant(*line.item) : QVariant();
    case LineColumn::Code:
        return line.code.isEmpty() ? QVariant() : QVariant(line.code);
    case LineColumn::Name:
        return QVariant();
    default: {
        const Figure& f = line.*lineAmount(column);
        return f ? QVariant(*f) : QVariant();
    }
    }
}

QString RecipeLines::displayText(const Line& line, LineColumn column) {
    if (column == LineColumn::Code)
        return line.code;
    const QVariant v = valueOf(line, column);
    if (v.isNull())
        return {};
    return ColumnText::shown(v.toDouble(), QString::fromLatin1(lineColumnFormat(column).picture));
}

QString RecipeLines::editText(const Line& line, LineColumn column) {
    if (column == LineColumn::Code)
        return line.code;
    const QVariant v = valueOf(line, column);
    if (v.isNull())
        return {};
    return ColumnText::editing(v.toDouble(), QString::fromLatin1(lineColumnFormat(column).picture));
}

RecipeLines::RecipeLines(Database& db, RangeKey key, QObject* parent)
    : QObject(parent), m_db(db), m_store(db), m_keyOf(std::move(key)) {}

RecipeLines::~RecipeLines() { close(); }

// Named as the line view was, so that the messages a user may have noted read as before.
void RecipeLines::raise(const QString& text) const { throw StoreError(QStringLiteral("TblRecipe: ") + text); }

void RecipeLines::checkActive() const {
    if (m_state == State::Inactive)
        raise(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void RecipeLines::open() {
    if (isOpen())
        return;
    m_db.registerView(this);
    m_state = State::Browse;
    m_modified = false;
    m_loaded = false;
    load(0, 0);
    notifyRows();
}

void RecipeLines::close() {
    if (!isOpen())
        return;
    // Closing stores nothing: a pending line nobody stored is dropped.
    m_db.unregisterView(this);
    m_state = State::Inactive;
    m_rows.clear();
    m_cur = -1;
    m_eof = true;
    m_modified = false;
    m_loaded = false;
}

void RecipeLines::load(qint64 keepRowid, int keepPos) {
    const std::optional<QVariantList> key = m_keyOf ? m_keyOf() : std::nullopt;
    m_key = key.value_or(QVariantList());
    m_rows = key ? m_store.read(*key) : std::vector<StoredLines::Row>();
    m_loaded = true;
    int pos = keepRowid ? positionOf(keepRowid) : -1;
    if (pos < 0)
        pos = m_rows.empty() ? -1 : std::clamp(keepPos, 0, int(m_rows.size()) - 1);
    m_cur = m_rows.empty() ? -1 : pos;
    m_eof = m_rows.empty();
}

void RecipeLines::followRange() {
    if (!isOpen())
        return;
    if (m_loaded) {
        const QVariantList key = m_keyOf ? m_keyOf().value_or(QVariantList()) : QVariantList();
        // Names are matched as the file's keys match them: without letter case, none as empty.
        bool same = key.size() == m_key.size();
        for (int i = 0; same && i < key.size(); ++i)
            same = TextKey::same(key[i].toString(), m_key[i].toString());
        if (same)
            return;
    }
    settle();
    load(0, 0);
    notifyRows();
}

void RecipeLines::refresh() {
    checkActive();
    settle();
    load(rowidAt(m_cur), m_cur);
    notifyRows();
}

const Line& RecipeLines::line() const {
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer;
    return m_cur >= 0 && m_cur < rowCount() ? m_rows[size_t(m_cur)].line : emptyLine();
}

const Line& RecipeLines::lineAt(int pos) const {
    if (pos < 0 || pos >= rowCount())
        return emptyLine();
    return pos == m_cur && m_state != State::Browse ? m_buffer : m_rows[size_t(pos)].line;
}

qint64 RecipeLines::rowidAt(int pos) const { return pos >= 0 && pos < rowCount() ? m_rows[size_t(pos)].rowid : 0; }

int RecipeLines::positionOf(qint64 rowid) const {
    // Walks and returns mostly stay near the current line.
    for (int i = m_cur - 1; i <= m_cur + 1; ++i)
        if (i >= 0 && i < rowCount() && m_rows[size_t(i)].rowid == rowid)
            return i;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].rowid == rowid)
            return int(i);
    return -1;
}

int RecipeLines::place(int old, StoredLines::Row row) {
    if (old >= 0) {
        // Most writes leave the number alone: the line keeps its place.
        const bool afterPrev = old == 0 || StoredLines::before(m_rows[size_t(old - 1)], row);
        const bool beforeNext = old + 1 >= rowCount() || StoredLines::before(row, m_rows[size_t(old + 1)]);
        if (afterPrev && beforeNext) {
            m_rows[size_t(old)] = std::move(row);
            return old;
        }
        m_rows.erase(m_rows.begin() + old);
    }
    const auto at = std::upper_bound(m_rows.begin(), m_rows.end(), row, StoredLines::before);
    return int(m_rows.insert(at, std::move(row)) - m_rows.begin());
}

// ---------------------------------------------------------------------------------------------
// Telling

void RecipeLines::notify(void (RecipeLines::*signal)()) {
    if (m_disableCount > 0) {
        m_eventPending = true;
        return;
    }
    emit(this->*signal)();
}

void RecipeLines::notifyRows() {
    notify(&RecipeLines::stateChanged);
    notify(&RecipeLines::rowsChanged);
}

void RecipeLines::enableControls() {
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_eventPending) {
        m_eventPending = false;
        emit stateChanged();
        emit rowsChanged();
    }
}

// ---------------------------------------------------------------------------------------------
// Moving

void RecipeLines::settle() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void RecipeLines::checkBrowseMode() {
    checkActive();
    settle();
}

void RecipeLines::moveTo(int pos) {
    m_eof = false;
    if (pos != m_cur) {
        m_cur = pos;
        notify(&RecipeLines::moved);
    }
}

void RecipeLines::first() {
    checkActive();
    settle();
    if (m_rows.empty()) {
        m_eof = true;
        return;
    }
    moveTo(0);
}

void RecipeLines::next() {
    checkActive();
    settle();
    if (m_cur + 1 < rowCount())
        moveTo(m_cur + 1);
    else
        m_eof = true;
}

void RecipeLines::prior() {
    checkActive();
    settle();
    if (m_cur > 0)
        moveTo(m_cur - 1);
}

void RecipeLines::last() {
    checkActive();
    settle();
    if (m_rows.empty()) {
        m_eof = true;
        return;
    }
    moveTo(rowCount() - 1);
    m_eof = true;
}

void RecipeLines::goTo(int pos) {
    checkActive();
    if (pos == m_cur)
        return;
    // Settling may drop a pending line above `pos` or move a stored one: find the line again.
    const qint64 rowid = rowidAt(pos);
    const bool target = pos >= 0 && pos < rowCount();
    settle();
    if (!target)
        return;
    const int now = positionOf(rowid);
    if (now >= 0)
        moveTo(now);
}

bool RecipeLines::goToRow(qint64 rowid) {
    if (!isOpen() || rowid == 0)
        return false;
    settle();
    const int pos = positionOf(rowid);
    // A line deleted meanwhile cannot be returned to; the lines stay where they are.
    if (pos < 0)
        return false;
    moveTo(pos);
    return true;
}

bool RecipeLines::locateItem(int item) {
    checkActive();
    settle();
    for (int pos = 0; pos < rowCount(); ++pos)
        if (m_rows[size_t(pos)].line.item == item) {
            moveTo(pos);
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Editing

void RecipeLines::newRow(bool atEnd) {
    m_insertReturn = m_cur;
    m_buffer = Line{};
    const int pos = (atEnd || m_cur < 0) ? rowCount() : m_cur;
    m_rows.insert(m_rows.begin() + pos, StoredLines::Row{});
    m_cur = pos;
    m_eof = false;
    m_state = State::Insert;
    m_typed.clear();
    m_editName.clear();
    m_pendingRecorded = 0;
    m_pendingTx = m_modifiedTx = m_db.currentTransaction();
    m_modified = false;
    notifyRows();
}

void RecipeLines::edit() {
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_rows.empty()) {
        append();
        return;
    }
    m_buffer = m_rows[size_t(m_cur)].line;
    m_state = State::Edit;
    m_typed.clear();
    m_editName.clear();
    m_pendingRecorded = 0;
    m_pendingTx = m_modifiedTx = m_db.currentTransaction();
    m_modified = false;
    notify(&RecipeLines::stateChanged);
}

void RecipeLines::append() {
    checkActive();
    settle();
    newRow(true);
}

void RecipeLines::insert() {
    checkActive();
    settle();
    newRow(false);
}

void RecipeLines::clearLine() {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    m_buffer = Line{};
    m_modified = true;
    m_modifiedTx = m_db.currentTransaction();
    if (m_disableCount > 0)
        m_eventPending = true;
    else
        emit lineChanged(std::nullopt);
}

void RecipeLines::setValue(LineColumn column, const QVariant& value) {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    const QVariant v = validated(column, value);
    if (check)
        check(column, v);
    switch (column) {
    case LineColumn::Item:
        m_buffer.item = v.isNull() ? std::nullopt : std::optional<int>(v.toInt());
        break;
    case LineColumn::Code:
        m_buffer.code = v.toString();
        break;
    case LineColumn::Name:
        return;
    default:
        m_buffer.*lineAmount(column) = v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
    }
    m_modified = true;
    m_modifiedTx = m_db.currentTransaction();
    if (m_disableCount > 0)
        m_eventPending = true;
    else
        emit lineChanged(column);
    if (changed)
        changed(column);
}

bool RecipeLines::noteTyped(const QString& caption) {
    // What the typed value itself writes (the passes after a typed amount) is named after it.
    m_db.nameTyping(QStringLiteral("typing in ") + caption);
    if (m_typed.contains(caption))
        return false;
    m_typed << caption;
    return true;
}

void RecipeLines::checkText(LineColumn column, const QString& text) const {
    const bool words = rule(column).kind == Rule::Words;
    const QVariant v = !words && text.trimmed().isEmpty() ? QVariant() : validated(column, words ? text : text.trimmed());
    if (check)
        check(column, v);
}

void RecipeLines::setText(LineColumn column, const QString& text) {
    // Noted first: the passes a typed value starts may store the line at once. A refused value
    // names nothing.
    const bool noted = noteTyped(captionOf(column));
    try {
        const bool words = rule(column).kind == Rule::Words;
        if (!words && text.trimmed().isEmpty())
            clear(column);
        else
            setValue(column, words ? text : text.trimmed());
    } catch (...) {
        if (noted)
            forgetTyped(captionOf(column));
        throw;
    }
}

void RecipeLines::post() {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    // The line typed in an action that stored what followed from it completes that action, when
    // nothing was recorded since.
    if (m_pendingRecorded != 0 && m_pendingRecorded != m_db.currentTransaction() &&
        m_pendingRecorded == m_db.lastRecorded())
        m_db.joinPreviousAction();
    if (!m_editName.isEmpty())
        m_db.nameAction(m_editName);
    const quint64 before = m_store.file().generation();
    if (beforePost)
        beforePost();
    if (!m_typed.isEmpty())
        m_db.nameTyping(QStringLiteral("typing in ") + m_typed.join(QStringLiteral(", ")));
    if (m_key.isEmpty())
        raise(QStringLiteral("There is no recipe to store the line in"));
    StoredLines::Row row;
    try {
        row = m_state == State::Insert ? m_store.insert(m_key, m_buffer) : m_store.update(m_rows[size_t(m_cur)], m_buffer);
    } catch (const FieldError& e) {
        // Refused after other lines were stored for this one (their new numbers): no longer a
        // value refused before anything was written, but a failed action to be undone whole.
        if (m_store.file().generation() != before)
            throw StoreError(e.message());
        throw;
    }
    if (m_state == State::Insert) {
        m_rows.erase(m_rows.begin() + m_cur); // the new line's place holder
        m_cur = place(-1, std::move(row));
    } else {
        m_cur = place(m_cur, std::move(row));
    }
    m_state = State::Browse;
    m_modified = false;
    m_eof = m_rows.empty();
    notifyRows();
    if (afterPost)
        afterPost();
}

void RecipeLines::cancel() {
    checkActive();
    if (m_state == State::Browse)
        return;
    if (m_state == State::Insert) {
        m_rows.erase(m_rows.begin() + m_cur);
        m_cur = std::min(m_insertReturn, rowCount() - 1);
        if (m_rows.empty())
            m_cur = -1;
        m_eof = m_rows.empty();
    }
    m_state = State::Browse;
    m_modified = false;
    notifyRows();
}

void RecipeLines::remove() {
    checkActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_rows.empty())
        raise(QStringLiteral("Cannot perform this operation on an empty dataset"));
    m_store.remove(m_rows[size_t(m_cur)]); // a refusal leaves a pending edit as it was
    m_state = State::Browse;
    m_modified = false;
    m_rows.erase(m_rows.begin() + m_cur);
    if (m_cur >= rowCount())
        m_cur = rowCount() - 1;
    m_eof = m_rows.empty();
    notifyRows();
    if (afterDelete)
        afterDelete();
}

void RecipeLines::numberRows(int at) {
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    at = std::clamp(at, 1, std::max(1, rowCount()));
    int number = 1;
    for (int pos = 0; pos < rowCount(); ++pos) {
        if (pos == m_cur)
            continue;
        if (number == at)
            ++number; // the pending line's place
        StoredLines::Row& row = m_rows[size_t(pos)];
        if (!(StoredLines::wholeItem(row) && row.line.item == number)) {
            Line renumbered = row.line;
            renumbered.item = number;
            // Written as a whole number, as the file's numbers are, also where one was stored
            // otherwise.
            StoredLines::Row was = row;
            was.line.item.reset();
            row = m_store.update(was, renumbered);
        }
        ++number;
    }
    m_buffer.item = at;
    m_modified = true;
    m_modifiedTx = m_db.currentTransaction();
}

void RecipeLines::storeAt(int pos, const Line& line) {
    checkActive();
    if (pos < 0 || pos >= rowCount() || (pos == m_cur && m_state != State::Browse))
        raise(QStringLiteral("Dataset not in browse mode"));
    StoredLines::Row& row = m_rows[size_t(pos)];
    row = m_store.update(row, line);
    if (m_disableCount > 0)
        m_eventPending = true;
    else
        emit rowsChanged();
}

// ---------------------------------------------------------------------------------------------
// What the database tells of each action

void RecipeLines::rememberPlace() {
    const bool onRow = isOpen() && m_state != State::Insert && m_cur >= 0 && m_cur < rowCount();
    m_place.rowid = onRow ? m_rows[size_t(m_cur)].rowid : 0;
    m_place.pos = m_cur;
    m_place.state = isOpen() ? m_state : State::Browse;
    if (m_place.state == State::Edit || m_place.state == State::Insert) {
        m_place.buffer = m_buffer;
        m_place.modified = m_modified;
        m_place.pendingTx = m_pendingTx;
        m_place.modifiedTx = m_modifiedTx;
        m_place.insertReturn = m_insertReturn;
    }
}

bool RecipeLines::movedSincePlace() const {
    const bool onRow = isOpen() && m_state != State::Insert && m_cur >= 0 && m_cur < rowCount();
    return (onRow ? m_rows[size_t(m_cur)].rowid : 0) != m_place.rowid;
}

bool RecipeLines::touchedIn(quint64 serial) const {
    if (serial == 0 || (m_state != State::Edit && m_state != State::Insert))
        return false;
    return m_pendingTx == serial || m_modifiedTx == serial;
}

bool RecipeLines::takeChanges(const std::vector<RowChange>& changes, bool toBefore) {
    if (!isOpen() || m_state != State::Browse)
        return false;
    const qint64 current = rowidAt(m_cur);
    // Each line written goes where item order puts it, or out of the recipe: the lines need not
    // be read again.
    const auto take = [this](const RowChange& c, bool back) {
        const std::optional<RowValues>& to = back ? c.before : c.after;
        const int old = positionOf(c.rowid);
        if (to && !m_key.isEmpty() && StoredLines::belongs(*to, m_key))
            place(old, StoredLines::rowOf(c.rowid, *to));
        else if (old >= 0)
            m_rows.erase(m_rows.begin() + old);
    };
    if (toBefore) {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->file == file())
                take(*it, true);
    } else {
        for (const RowChange& c : changes)
            if (c.file == file())
                take(c, false);
    }
    const int pos = current ? positionOf(current) : -1;
    m_cur = pos >= 0 ? pos : std::min(std::max(m_cur, 0), rowCount() - 1);
    m_eof = m_rows.empty();
    notify(&RecipeLines::rowsChanged);
    return true;
}

void RecipeLines::resyncAfterRollback() {
    if (!isOpen())
        return;
    // Back to the line the user was on before the undone action.
    if (m_state == State::Insert)
        m_rows.erase(m_rows.begin() + m_cur);
    m_state = State::Browse;
    m_modified = false;
    m_loaded = false; // the key may be another now
    load(m_place.rowid, m_place.pos);
    // A line the user was editing before the action is pending again, as it was then.
    if (m_place.state == State::Edit) {
        const int pos = positionOf(m_place.rowid);
        if (pos >= 0) {
            m_cur = pos;
            m_buffer = m_place.buffer;
            m_state = State::Edit;
        }
    } else if (m_place.state == State::Insert) {
        const int pos = std::clamp(m_place.pos, 0, rowCount());
        m_rows.insert(m_rows.begin() + pos, StoredLines::Row{});
        m_buffer = m_place.buffer;
        m_cur = pos;
        m_insertReturn = m_place.insertReturn;
        m_state = State::Insert;
        m_eof = false;
    }
    if (m_state != State::Browse) {
        m_modified = m_place.modified;
        m_pendingTx = m_place.pendingTx;
        m_modifiedTx = m_place.modifiedTx;
    }
    notifyRows();
}
