#include "MaterialEditor.h"

#include "components/Database.h"
#include "components/StoreError.h"
#include "components/TextKey.h"
#include "store/ColumnText.h"

#include <QScopedValueRollback>

namespace {

struct PartRule {
    const char* column;
    int width;                                   // 0: a figure
    QString StoredMaterial::*text;               // the part, when words
    std::optional<double> StoredMaterial::*figure; // the part, when a figure
    const char* picture;
    const char* caption;                         // in the messages that name a figure
};

const PartRule& ruleOf(MaterialPart part) {
    static const PartRule rules[] = {
        {"RMCode", 10, &StoredMaterial::code, nullptr, "", "Code"},
        {"RMCommonName", 35, &StoredMaterial::name, nullptr, "", "Common Name"},
        {"RMMWt", 0, nullptr, &StoredMaterial::mwt, "####.0", "Mol. Mass"},
        {"RMChemClass", 35, &StoredMaterial::chemClass, nullptr, "", "Chemical Class"},
        {"RMType", 10, &StoredMaterial::type, nullptr, "", "Type"},
        {"RMPrice", 0, nullptr, &StoredMaterial::price, "0.00", "Cost Price"},
        {"RMFa", 0, nullptr, &StoredMaterial::fa, "0.00", "Acid Functionality"},
        {"RMFan", 0, nullptr, &StoredMaterial::fan, "0.00", "Anhydride Functionality"},
        {"RMFb", 0, nullptr, &StoredMaterial::fb, "0.00", "Base Functionality"},
    };
    return rules[int(part)];
}

} // namespace

MaterialEditor::MaterialEditor(Database& db, MaterialLibrary& library, QObject* parent)
    : QObject(parent), m_db(db), m_library(library) {
    m_filter.setSourceModel(&m_records);
    // A list read after the change it is told of (a material stored here) is not read again.
    connect(&m_library, &MaterialLibrary::changed, this, [this] {
        if (m_loaded && m_library.version() != m_version)
            reload();
    });
    m_listener = m_db.whenFilesChange([this] { actionEnded(); });
}

MaterialEditor::~MaterialEditor() { m_db.stopListening(m_listener); }

QString MaterialEditor::columnOf(MaterialPart part) { return QString::fromLatin1(ruleOf(part).column); }

int MaterialEditor::widthOf(MaterialPart part) { return ruleOf(part).width; }

QAbstractItemModel* MaterialEditor::list() {
    ensureLoaded();
    return &m_filter;
}

int MaterialEditor::count() {
    ensureLoaded();
    return m_filter.rowCount();
}

int MaterialEditor::current() {
    ensureLoaded();
    return m_state == State::Insert ? count() - 1 : m_row;
}

void MaterialEditor::ensureLoaded() {
    if (m_loaded)
        return;
    m_loaded = true;
    reload();
}

void MaterialEditor::close() {
    m_loaded = false;
    m_records.reset({});
}

void MaterialEditor::reload() {
    std::vector<StoredMaterial> materials;
    m_version = m_library.version();
    try {
        materials = m_library.inListOrder();
    } catch (const StoreError&) {
        // An unreadable library lists nothing; the store says why when it is written.
    }
    {
        const QScopedValueRollback<bool> changing(m_changingList, true);
        m_records.reset(std::move(materials));
    }
    syncPending();
    showAgain();
}

void MaterialEditor::showAgain() {
    int row = rowOf(m_shownId);
    // A material no longer there leaves its place to the next.
    const int stored = count() - (m_records.hasAddedRow() ? 1 : 0);
    if (row < 0)
        row = stored == 0 ? -1 : qBound(0, m_row, stored - 1);
    showRow(row);
}

const StoredMaterial& MaterialEditor::at(int row) const {
    const QModelIndex source = m_filter.mapToSource(m_filter.index(row, 0));
    return m_records.materials()[size_t(source.row())];
}

int MaterialEditor::rowOf(qint64 id) const {
    const int source = id == 0 ? -1 : m_records.rowOf(id);
    return source < 0 ? -1 : m_filter.mapFromSource(m_records.index(source, 0)).row();
}

void MaterialEditor::showRow(int row) {
    m_row = row;
    m_shownId = row >= 0 ? at(row).id : 0;
    emit recordChanged();
}

const StoredMaterial& MaterialEditor::shown() {
    ensureLoaded();
    if (m_state != State::Browse)
        return m_pending;
    return m_row >= 0 ? at(m_row) : m_none;
}

void MaterialEditor::setState(State state) {
    if (state == m_state)
        return;
    m_state = state;
    syncPending();
    emit stateChanged();
}

void MaterialEditor::syncPending() {
    const QScopedValueRollback<bool> changing(m_changingList, true);
    if (m_state == State::Browse)
        m_records.clearPending();
    else
        m_records.showPending(m_state == State::Insert, m_records.rowOf(m_shownId), m_pending);
}

void MaterialEditor::goTo(int row) {
    ensureLoaded();
    if (row == current())
        return;
    // Storing the pending change may add, move or drop rows: the material picked is found again,
    // and a pick of the new material's row, or of one gone meanwhile, stays where it is.
    const bool storedRow = row >= 0 && row < count() && !(m_state == State::Insert && row == count() - 1);
    const qint64 target = storedRow ? at(row).id : 0;
    settle();
    if (const int now = rowOf(target); now >= 0)
        showRow(now);
    else
        emit recordChanged();
}

void MaterialEditor::setType(std::optional<MaterialType> type) {
    ensureLoaded();
    settle(); // a refused change leaves the list as it was
    {
        const QScopedValueRollback<bool> changing(m_changingList, true);
        m_filter.setType(type);
    }
    // The list's first material is shown.
    showRow(count() > 0 ? 0 : -1);
}

void MaterialEditor::settle() {
    if (m_state == State::Browse)
        return;
    // What is typed but not yet left is a change.
    if (takeTyping)
        takeTyping();
    if (m_modified)
        post();
    else
        cancel();
}

void MaterialEditor::edit() {
    ensureLoaded();
    if (m_state != State::Browse)
        return;
    if (count() == 0) {
        append();
        return;
    }
    m_pending = at(m_row);
    m_modified = false;
    setState(State::Edit);
}

void MaterialEditor::append() {
    ensureLoaded();
    settle();
    m_pending = {};
    m_modified = false;
    setState(State::Insert);
    emit recordChanged();
}

void MaterialEditor::cancel() {
    if (m_state == State::Browse)
        return;
    m_modified = false;
    setState(State::Browse);
    emit recordChanged();
}

void MaterialEditor::post() {
    if (m_state == State::Browse)
        return;
    if (takeTyping)
        takeTyping();
    check();
    const Posted before{m_state, m_pending, m_db.commitCount(), m_shownId, m_row};
    const quint64 version = m_library.version();
    const qint64 id = m_library.store(m_pending);
    const QString code = m_pending.code;
    m_shownId = id;
    m_modified = false;
    // Stored in an action still under way: the change is pending again if the action is undone.
    // A store that wrote nothing (the parts typed again as they were) has nothing to undo.
    if (m_db.inTransaction() && m_library.version() != version)
        m_posted = before;
    setState(State::Browse);
    // A material kept at its place in the order is taken as stored; one that moved, or a new
    // one, is shown where the library's order puts it.
    StoredMaterial taken = before.pending;
    taken.id = id;
    const int source = before.state == State::Edit ? m_records.rowOf(id) : -1;
    bool replaced = false;
    if (source >= 0) {
        const QScopedValueRollback<bool> changing(m_changingList, true);
        replaced = m_records.replace(source, taken);
    }
    if (replaced) {
        m_version = m_library.version();
        showAgain(); // a type the list does not show takes the material out of it
    } else {
        reload();
    }
    if (stored)
        stored(code);
}

void MaterialEditor::remove() {
    ensureLoaded();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (count() == 0)
        throw StoreError(QStringLiteral("LibTbl: Cannot perform this operation on an empty dataset"));
    const StoredMaterial victim = at(m_row);
    m_db.nameAction(QStringLiteral("Delete Material %1").arg(victim.code));
    m_library.remove(victim.id); // a refusal leaves a pending edit as it was
    m_modified = false;
    m_shownId = 0;
    setState(State::Browse);
    reload();
    if (removed)
        removed();
}

void MaterialEditor::actionEnded() {
    const std::optional<Posted> posted = std::exchange(m_posted, std::nullopt);
    if (!posted || m_db.commitCount() != posted->commits)
        return;
    // The action that stored the change did not reach the files: the change is pending again,
    // over the material it was begun on.
    m_pending = posted->pending;
    m_modified = true;
    m_shownId = posted->shownId;
    const int row = rowOf(m_shownId);
    m_row = row >= 0 ? row : posted->row;
    setState(posted->state);
    syncPending();
    emit recordChanged();
}

bool MaterialEditor::differsFromStored() {
    switch (m_state) {
    case State::Browse:
        return false;
    case State::Insert:
        return !m_pending.sameParts(StoredMaterial{});
    case State::Edit:
        return !m_pending.sameParts(at(m_row));
    }
    return false;
}

QString MaterialEditor::text(MaterialPart part, bool editing) {
    const PartRule& rule = ruleOf(part);
    const StoredMaterial& m = shown();
    if (rule.text)
        return m.*rule.text;
    const QString picture = QString::fromLatin1(rule.picture);
    return editing ? ColumnText::editing(m.*rule.figure, picture) : ColumnText::shown(m.*rule.figure, picture);
}

QString MaterialEditor::storedCode() {
    ensureLoaded();
    return m_state == State::Insert || m_row < 0 ? QString() : at(m_row).code;
}

void MaterialEditor::checkText(MaterialPart part, const QString& typed) { checked(part, typed); }

QVariant MaterialEditor::checked(MaterialPart part, const QString& typed) {
    ensureLoaded();
    const PartRule& rule = ruleOf(part);
    if (rule.figure)
        return ColumnText::figure(typed, columnOf(part));
    const QVariant words = ColumnText::words(typed, columnOf(part), rule.width);
    if (part == MaterialPart::Code)
        checkCodeIsFree(typed);
    return words;
}

void MaterialEditor::setText(MaterialPart part, const QString& typed) {
    const QVariant value = checked(part, typed);
    if (m_state == State::Browse)
        edit();
    const PartRule& rule = ruleOf(part);
    if (rule.figure) {
        m_pending.*rule.figure = value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
    } else {
        m_pending.*rule.text = typed;
    }
    m_modified = true;
    syncPending();
    emit partChanged(part);
}

void MaterialEditor::check() {
    // A line reaches its material by code: a material without one could never be used.
    if (m_pending.code.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Enter a Code for the raw material."));
    for (MaterialPart part : {MaterialPart::MWt, MaterialPart::Fa, MaterialPart::Fan, MaterialPart::Fb,
                              MaterialPart::Price})
        if ((m_pending.*ruleOf(part).figure).value_or(0) < 0)
            throw StoreError(QStringLiteral("%1 cannot be negative.").arg(QString::fromLatin1(ruleOf(part).caption)));
    checkCodeIsFree(m_pending.code);
    m_db.nameAction(QStringLiteral("%1 Material %2")
                        .arg(m_state == State::Insert ? QStringLiteral("Add") : QStringLiteral("Edit"),
                             m_pending.code.trimmed()));
}

void MaterialEditor::checkCodeIsFree(const QString& code) const {
    // Lines name their material by code alone: a second material of that code would leave them
    // unable to tell which they mean. Blanks around a code make no other code: " SOYOIL" would
    // read as SOYOIL everywhere.
    const QString wanted = code.trimmed();
    if (wanted.isEmpty())
        return;
    const qint64 self = m_state == State::Insert ? 0 : m_shownId;
    for (const StoredMaterial& m : m_records.materials())
        if (m.id != self && TextKey::same(m.code.trimmed(), wanted))
            throw FieldError(QStringLiteral("There is already a material with the code '%1' in the library: %2.")
                                 .arg(m.code, m.name));
}
