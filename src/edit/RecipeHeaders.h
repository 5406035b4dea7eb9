#pragma once

#include "components/StoreView.h"
#include "domain/Recipe.h"
#include "store/StoredHeaders.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

// The parts of the recipe's header the main window's edits show and take.
enum class HeaderPart { AV, Solids, Description, Size };

// The stored recipes' headers as the main window goes through them: the current one, and an edit
// of it the user has begun, kept as a value until it is settled (stored when it changed, dropped
// when not). Settling, moving and storing first settle what `beforeMove` names (the lines).
class RecipeHeaders : public QObject, public StoreView {
    Q_OBJECT
public:
    explicit RecipeHeaders(Database& db, QObject* parent = nullptr);
    ~RecipeHeaders() override;

    // Reads every header; the first becomes current. Closing drops a pending edit unstored.
    void open();
    void close();
    bool isOpen() const { return m_open; }

    const StoredHeaders& list() const { return m_list; }
    bool isEmpty() const { return m_list.isEmpty(); }
    // Where the current header stands in the list; -1 when there is none.
    int current() const { return m_cur; }
    // The current header as the user edits it, or as stored; empty when there is none.
    const RecipeHeader& header() const { return m_pending ? *m_pending : m_shown; }
    RecipeName name() const { return {header().type, header().code}; }
    // The current name as stored, for the lines' range; nullopt when there is none.
    std::optional<QVariantList> key() const;

    // Moving: a pending edit is settled first.
    void goTo(int index);
    // The first header of that name, letter case aside; false, and no move, when none has it.
    bool locate(const QString& type, const QString& code);
    // Reads the headers again; the current one stays current where it still is.
    void refresh();

    // Editing: an edit begins with the first value written.
    bool pending() const { return m_pending.has_value(); }
    // An edit is pending and a part of it was written.
    bool modified() const { return m_pending && m_modified; }
    // The name of the action that will store the edit ("typing in Acid Value, Batch Size").
    QString typing() const;
    void edit();
    // Typed text for a part, checked as the store checks it; the typing names the action that
    // stores the edit ("typing in Batch Size").
    void setText(HeaderPart part, const QString& typed);
    // Raises the store's message for `typed` in `part`, writing nothing.
    void checkText(HeaderPart part, const QString& typed) const;
    void post();
    void cancel();
    // Stores a changed edit and drops an untouched one.
    void settle();
    // Writes the date into the stored header at once, beside a pending edit, which takes it too.
    void writeDate(const QString& date);

    // How a part is shown and typed.
    QString text(HeaderPart part, bool editing) const;
    static int width(HeaderPart part); // characters; 0 for a figure
    static Qt::Alignment alignment(HeaderPart part);

    std::function<void()> beforeMove;
    // Before an edit is stored: the header may still be changed (its date).
    std::function<void(RecipeHeader&)> beforePost;

    // StoreView.
    TableFile* file() const override { return &m_list.file(); }
    bool isDetail() const override { return false; }
    void rememberPlace() override;
    bool movedSincePlace() const override;
    bool touchedIn(quint64 serial) const override;
    void recordedWhilePending(quint64 serial) override { m_pendingRecorded = serial; }
    bool takeChanges(const std::vector<RowChange>& changes, bool toBefore) override;
    void resyncAfterRollback() override;
    void disableControls() override { ++m_disableCount; }
    bool controlsDisabled() const { return m_disableCount > 0; }
    void enableControls() override;

signals:
    // An edit is about to be stored: the edits write what they hold into it.
    void storing();
    // A part of the pending edit was written (all of them for nullopt).
    void partChanged(std::optional<HeaderPart> part);
    // Another header is current, or it was read or stored again.
    void shown();

private:
    void set(HeaderPart part, const QVariant& value);
    void moveTo(int index);
    qint64 currentRowid() const { return m_cur >= 0 ? m_list.rowidAt(m_cur) : 0; }
    // Reads the current header from the list.
    void readCurrent();
    // The header stored as `rowid` becomes current; where it is gone, the one at `index`.
    void returnTo(qint64 rowid, int index);
    void notifyShown();

    Database& m_db;
    StoredHeaders m_list;
    bool m_open = false;
    int m_cur = -1;
    RecipeHeader m_shown; // the current header as stored
    std::optional<RecipeHeader> m_pending;
    bool m_modified = false;
    quint64 m_pendingTx = 0, m_modifiedTx = 0; // transactions that began and last changed it
    quint64 m_pendingRecorded = 0; // the last recorded action that touched it
    QStringList m_typed; // the captions typed into it

    struct Place {
        qint64 rowid = 0;
        int index = -1;
        std::optional<RecipeHeader> pending;
        bool modified = false;
        quint64 pendingTx = 0, modifiedTx = 0;
    } m_place;
    int m_disableCount = 0;
    bool m_eventPending = false;
};
