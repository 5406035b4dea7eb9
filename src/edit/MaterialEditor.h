#pragma once

#include "MaterialListModel.h"
#include "MaterialRecords.h"
#include "domain/MaterialType.h"
#include "store/MaterialLibrary.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class Database;

// The parts of a material the library window edits, in its tab order.
enum class MaterialPart { Code, Name, MWt, ChemClass, Type, Price, Fa, Fan, Fb };

// The library window's editing of the library: the materials of the chosen type in a list, the
// one shown, and at most one pending change to it (an edit of the material shown, or a new
// material). Storing the pending change is posting; dropping it, cancelling. The list, its type
// and the material shown outlive the window.
class MaterialEditor : public QObject {
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    MaterialEditor(Database& db, MaterialLibrary& library, QObject* parent = nullptr);
    ~MaterialEditor() override;

    // The materials listed, read from the library at the first use after `close`.
    QAbstractItemModel* list();
    int count();
    // The row of the list shown (a new material is the last); -1 when the list is empty.
    int current();
    // The editor itself is changing the list: a current row the list view moves meanwhile is
    // none the user picked.
    bool changingList() const { return m_changingList; }
    State state() const { return m_state; }
    // Whether no change is pending.
    bool saved() const { return m_state == State::Browse; }
    std::optional<MaterialType> type() const { return m_filter.type(); }

    // Each of these settles a pending change first: one typed into is posted, one untouched
    // dropped. A post refused leaves everything as it was.
    void goTo(int row);
    void setType(std::optional<MaterialType> type);
    void append();
    void settle();
    // Starts editing the material shown; on an empty list, a new one. Nothing while pending.
    void edit();
    void cancel();
    // Stores the pending change, refusing a material the arithmetic cannot use, naming the part.
    void post();
    // Deletes the material shown from the library at once; while a new one is pending, drops it.
    void remove();
    // The window closed: the list is read again at the next opening.
    void close();

    // Whether the pending change holds anything not stored: an edit that changed a part, or a
    // new material given a part.
    bool differsFromStored();
    // A part of the material shown, pending or stored, as read or (`editing`) as edited.
    QString text(MaterialPart part, bool editing);
    // Raises the message the store gives for `typed` in `part`, writing nothing.
    void checkText(MaterialPart part, const QString& typed);
    // Typed text written into the pending change, which begins here if none is pending.
    void setText(MaterialPart part, const QString& typed);
    // The code of the material shown as stored; empty for a new one or none.
    QString storedCode();
    // The column that holds `part`, as the store's messages name it, and the characters it takes
    // (0: a figure).
    static QString columnOf(MaterialPart part);
    static int widthOf(MaterialPart part);

    // Before a post: the window writes what is still being typed into the pending change.
    std::function<void()> takeTyping;
    // After a material was stored (with its code) or deleted.
    std::function<void(const QString& code)> stored;
    std::function<void()> removed;

signals:
    // Another material is shown, or the one shown was read again.
    void recordChanged();
    // A part of the pending change was written.
    void partChanged(MaterialPart part);
    void stateChanged();

private:
    void ensureLoaded();
    void reload();
    // Shows the material shown before where the list now holds it, or what took its place.
    void showAgain();
    // The stored material at `row` of the list.
    const StoredMaterial& at(int row) const;
    // The material shown: the pending change, or the stored one, or an empty one.
    const StoredMaterial& shown();
    int rowOf(qint64 id) const;
    void showRow(int row);
    void setState(State state);
    // The list shows the pending change as it stands.
    void syncPending();
    void check();
    // The value `typed` gives `part`, or the store's message refusing it.
    QVariant checked(MaterialPart part, const QString& typed);
    void checkCodeIsFree(const QString& code) const;
    // An action that stored a change ended; if it was undone, the change is pending again.
    void actionEnded();

    Database& m_db;
    MaterialLibrary& m_library;
    MaterialRecords m_records;
    MaterialTypeFilter m_filter;
    bool m_loaded = false;
    quint64 m_version = 0;    // the library's, when the list was read
    int m_row = -1;           // the row shown
    qint64 m_shownId = 0;     // and its material, found again after a reading
    State m_state = State::Browse;
    StoredMaterial m_pending;
    bool m_modified = false;  // a part was written since the change began
    struct Posted {
        State state;
        StoredMaterial pending;
        quint64 commits;
        qint64 shownId; // the material shown, and its row, as the change began to be stored
        int row;
    };
    std::optional<Posted> m_posted; // a change stored in an action still under way
    int m_listener = 0;
    bool m_changingList = false;
    StoredMaterial m_none;
};
