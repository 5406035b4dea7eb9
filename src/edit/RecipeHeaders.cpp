#include "RecipeHeaders.h"

#include "components/StoreError.h"
#include "domain/LineColumns.h"
#include "store/ColumnText.h"

#include <algorithm>

namespace {

struct PartFormat {
    const char* column;  // as the store's messages name it
    const char* caption; // as the undo names its typing
    const char* picture; // how a figure reads; none for words
    std::optional<double> RecipeHeader::*figure;
};

PartFormat formatOf(HeaderPart part) {
    switch (part) {
    case HeaderPart::AV:
        return {"AV", "Acid Value", kAcidValuePicture, &RecipeHeader::av};
    case HeaderPart::Solids:
        return {"Solids", "Percent Solids", kSolidsPicture, &RecipeHeader::solids};
    case HeaderPart::Description:
        return {"Description", "Description", nullptr, nullptr};
    case HeaderPart::Size:
        break;
    }
    return {"Size", "Batch Size", kBatchSizePicture, &RecipeHeader::size};
}

constexpr int DescriptionWidth = 60;

// The value typed text stands for, or the store's message for it.
QVariant valueOf(HeaderPart part, const QString& typed) {
    const PartFormat f = formatOf(part);
    const QString column = QString::fromLatin1(f.column);
    return f.figure ? ColumnText::figure(typed, column) : ColumnText::words(typed, column, DescriptionWidth);
}

} // namespace

RecipeHeaders::RecipeHeaders(Database& db, QObject* parent) : QObject(parent), m_db(db), m_list(db) {}

RecipeHeaders::~RecipeHeaders() { close(); }

void RecipeHeaders::open() {
    if (m_open)
        return;
    m_list.read();
    m_db.registerView(this);
    m_open = true;
    m_cur = m_list.isEmpty() ? -1 : 0;
    readCurrent();
    notifyShown();
}

void RecipeHeaders::close() {
    if (!m_open)
        return;
    // Closing stores nothing: an edit nobody stored is dropped.
    m_db.unregisterView(this);
    m_open = false;
    m_pending.reset();
    m_cur = -1;
    m_shown = {};
}

std::optional<QVariantList> RecipeHeaders::key() const {
    if (m_cur < 0)
        return std::nullopt;
    // As stored: a word stored empty finds the lines stored so, a missing one those without one.
    return m_list.keyAt(m_cur);
}

void RecipeHeaders::readCurrent() { m_shown = m_cur >= 0 ? m_list.at(m_cur) : RecipeHeader{}; }

void RecipeHeaders::notifyShown() {
    if (m_disableCount > 0) {
        m_eventPending = true;
        return;
    }
    emit shown();
}

void RecipeHeaders::enableControls() {
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_eventPending) {
        m_eventPending = false;
        emit shown();
    }
}

// ---------------------------------------------------------------------------------------------
// Moving

void RecipeHeaders::moveTo(int index) {
    if (index == m_cur)
        return;
    m_cur = index;
    readCurrent();
    notifyShown();
}

void RecipeHeaders::goTo(int index) {
    if (index == m_cur || index < 0 || index >= m_list.count())
        return;
    // Settling may move the header list: the header is found again.
    const qint64 rowid = m_list.rowidAt(index);
    settle();
    const int now = m_list.indexOfRow(rowid, index);
    if (now >= 0)
        moveTo(now);
}

bool RecipeHeaders::locate(const QString& type, const QString& code) {
    settle();
    const int at = m_list.find(type, code);
    if (at < 0)
        return false;
    moveTo(at);
    return true;
}

void RecipeHeaders::returnTo(qint64 rowid, int index) {
    int at = rowid ? m_list.indexOfRow(rowid, index) : -1;
    if (at < 0)
        at = m_list.isEmpty() ? -1 : std::clamp(index, 0, m_list.count() - 1);
    m_cur = at;
    readCurrent();
}

void RecipeHeaders::refresh() {
    settle();
    const qint64 rowid = currentRowid();
    m_list.read();
    returnTo(rowid, m_cur);
    notifyShown();
}

// ---------------------------------------------------------------------------------------------
// Editing

void RecipeHeaders::edit() {
    if (m_pending)
        return;
    // Without a recipe an edit would belong to none and could never be stored.
    if (m_cur < 0)
        throw StoreError(QStringLiteral("There is no recipe to change. Start one with New."));
    m_pending = m_shown;
    m_modified = false;
    m_typed.clear();
    m_pendingRecorded = 0;
    m_pendingTx = m_modifiedTx = m_db.currentTransaction();
}

void RecipeHeaders::set(HeaderPart part, const QVariant& value) {
    edit();
    const PartFormat f = formatOf(part);
    if (f.figure)
        (*m_pending).*f.figure = value.isValid() ? std::optional<double>(value.toDouble()) : std::nullopt;
    else
        m_pending->description = value.toString();
    m_modified = true;
    m_modifiedTx = m_db.currentTransaction();
    if (m_disableCount > 0)
        m_eventPending = true;
    else
        emit partChanged(part);
}

void RecipeHeaders::checkText(HeaderPart part, const QString& typed) const { valueOf(part, typed); }

void RecipeHeaders::setText(HeaderPart part, const QString& typed) {
    const QVariant value = valueOf(part, typed);
    // Begun first: beginning forgets what an earlier edit noted as typed.
    edit();
    // Named first: the passes a typed value starts store what follows from it at once, under the
    // typing's name. A refused value names nothing.
    const QString caption = QString::fromLatin1(formatOf(part).caption);
    m_db.nameTyping(QStringLiteral("typing in ") + caption);
    const bool noted = !m_typed.contains(caption);
    if (noted)
        m_typed << caption;
    try {
        set(part, value);
    } catch (...) {
        if (noted)
            m_typed.removeAll(caption);
        throw;
    }
}

QString RecipeHeaders::typing() const {
    return m_typed.isEmpty() ? QStringLiteral("Change") : QStringLiteral("typing in ") + m_typed.join(QStringLiteral(", "));
}

void RecipeHeaders::post() {
    if (!m_pending)
        return;
    // The edits write what they hold first: text typed but not yet left is a change.
    emit storing();
    // The edit typed in an action that stored what followed from it (the lines scaled to a
    // typed batch size) completes that action, when nothing was recorded since.
    if (m_pendingRecorded != 0 && m_pendingRecorded != m_db.currentTransaction() &&
        m_pendingRecorded == m_db.lastRecorded())
        m_db.joinPreviousAction();
    RecipeHeader header = *m_pending;
    if (beforePost)
        beforePost(header);
    if (!m_typed.isEmpty())
        m_db.nameTyping(QStringLiteral("typing in ") + m_typed.join(QStringLiteral(", ")));
    // An older file may hold a header without a code: it is not stored again until it has one.
    if (header.code.isEmpty())
        throw FieldError(QStringLiteral("Field 'BatchCode' must have a value"));
    for (HeaderPart part : {HeaderPart::AV, HeaderPart::Solids})
        if (!(header.*formatOf(part).figure))
            throw FieldError(QStringLiteral("Field '%1' must have a value").arg(QLatin1String(formatOf(part).column)));
    m_list.write(m_cur, header);
    m_pending.reset();
    m_modified = false;
    readCurrent();
    notifyShown();
}

void RecipeHeaders::cancel() {
    if (!m_pending)
        return;
    m_pending.reset();
    m_modified = false;
    notifyShown();
}

void RecipeHeaders::settle() {
    // The lines belong to the current header: they are stored before it moves or is stored.
    if (beforeMove)
        beforeMove();
    if (!m_pending)
        return;
    // The edits write what they hold first: text typed but not yet left is a change.
    emit storing();
    if (m_modified)
        post();
    else
        cancel();
}

void RecipeHeaders::writeDate(const QString& date) {
    if (m_cur < 0)
        return;
    if (m_shown.date == date)
        return;
    RecipeHeader stored = m_shown;
    stored.date = date;
    m_list.write(m_cur, stored);
    m_shown.date = date;
    if (m_pending)
        m_pending->date = date;
}

QString RecipeHeaders::text(HeaderPart part, bool editing) const {
    if (m_cur < 0)
        return {};
    const PartFormat f = formatOf(part);
    if (!f.figure)
        return header().description;
    const QString picture = QString::fromLatin1(f.picture);
    const std::optional<double>& value = header().*f.figure;
    return editing ? ColumnText::editing(value, picture) : ColumnText::shown(value, picture);
}

int RecipeHeaders::width(HeaderPart part) { return part == HeaderPart::Description ? DescriptionWidth : 0; }

Qt::Alignment RecipeHeaders::alignment(HeaderPart part) {
    return part == HeaderPart::Description ? Qt::AlignLeft : Qt::AlignRight;
}

// ---------------------------------------------------------------------------------------------
// What the database tells of each action

void RecipeHeaders::rememberPlace() {
    m_place = {currentRowid(), m_cur, m_pending, m_modified, m_pendingTx, m_modifiedTx};
}

bool RecipeHeaders::movedSincePlace() const { return currentRowid() != m_place.rowid; }

bool RecipeHeaders::touchedIn(quint64 serial) const {
    return serial != 0 && m_pending && (m_pendingTx == serial || m_modifiedTx == serial);
}

bool RecipeHeaders::takeChanges(const std::vector<RowChange>& changes, bool toBefore) {
    if (!m_open || m_pending)
        return false;
    const qint64 rowid = currentRowid();
    m_list.take(changes, toBefore);
    returnTo(rowid, m_cur);
    notifyShown();
    return true;
}

void RecipeHeaders::resyncAfterRollback() {
    if (!m_open)
        return;
    // Back to the header the user was on before the undone action, with an edit begun before it
    // pending again as it was then. The place is taken among the headers held first, so that
    // the lines follow it even while the file cannot be read again.
    m_pending.reset();
    m_modified = false;
    returnTo(m_place.rowid, m_place.index);
    m_list.read();
    returnTo(m_place.rowid, m_place.index);
    if (m_place.pending && m_cur >= 0 && m_list.rowidAt(m_cur) == m_place.rowid) {
        m_pending = m_place.pending;
        m_modified = m_place.modified;
        m_pendingTx = m_place.pendingTx;
        m_modifiedTx = m_place.modifiedTx;
    }
    notifyShown();
}
