#pragma once

#include "ActionOutcome.h"
#include "RowValues.h"
#include "Sqlite.h"
#include "TableSchema.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class Database;
class StoreError;
class FolderLock;
class IntegrityCheck;
class QTimer;
class StoreView;
class TableFile;

// One stored row: its SQLite rowid and its values. Rows are never changed once made, so views
// can share them; a write makes a new row.
struct StoredRow {
    qint64 rowid = 0;
    RowValues values;
};
using RowPtr = std::shared_ptr<const StoredRow>;

// One table file, attached to the database's connection, with its prepared statements.
class TableFile {
public:
    TableFile(Database& db, const TableSchema& schema, QString schemaName, QString path);

    const TableSchema& schema() const { return m_schema; }
    const QString& schemaName() const { return m_schemaName; }
    const QString& path() const { return m_path; }
    Database& database() const { return m_db; }
    // Grows with every write, so that copies of the table's data know when they are stale.
    quint64 generation() const { return m_generation; }
    // After a rollback: what was read of the table may no longer be what it holds.
    void invalidate();

    // Rows in the order of `orderBy` (column indexes; rowid order when empty); `where` is an SQL
    // condition over the columns with ?1.. placeholders.
    std::vector<RowPtr> select(const QString& where = QString(), const QVariantList& args = {},
                               const std::vector<int>& orderBy = {});
    // Every row of the table, read once and again only after a write, in rowid order; the views
    // of a table without a master share these rows.
    const std::vector<RowPtr>& snapshot();
    // The same rows in the order of the given columns, as the file's index on them walks them.
    const std::vector<RowPtr>& snapshotInOrder(const std::vector<int>& columns);
    // The first row (in rowid order) of the snapshot whose `keyColumn` equals `key` exactly.
    const StoredRow* findFirst(int keyColumn, QByteArrayView key);

    qint64 insert(const RowValues& values);
    // Makes the row again under the rowid it had (an undone deletion).
    void insertAt(qint64 rowid, const RowValues& values);
    // Writes only the columns in which `after` differs from `before`; `whole`: every column, so
    // that the row is `after` whatever was written to it meanwhile.
    void update(qint64 rowid, const RowValues& before, const RowValues& after, bool whole = false);
    // `values`: what the row held, for the action's record of its changes.
    void remove(qint64 rowid, const RowValues& values);

private:
    // The prepared statement under `key`; its SQL is only built the first time.
    Statement& statement(const QString& key, const std::function<QString()>& sql);
    // Inserts under `rowid`, or the next rowid when 0; returns the row's rowid.
    qint64 insertRow(qint64 rowid, const RowValues& values);
    // Refuses text longer than its column in the columns of the mask.
    void checkWidths(const RowValues& values, quint32 columns = ~0u) const;
    QString orderClause(const std::vector<int>& columns) const;
    // A row was added (`added`: its values) or removed.
    void wroteRowAddedOrRemoved(qint64 rowid, const RowValues* added);
    void wroteRow(qint64 rowid, const RowValues& after, quint32 changed);
    [[noreturn]] void writeFailed(const StoreError& e);

    Database& m_db;
    TableSchema m_schema;
    QString m_schemaName;
    QString m_path;
    quint64 m_generation = 1;
    std::map<QString, std::unique_ptr<Statement>> m_statements;
    std::vector<RowPtr> m_snapshot;
    quint64 m_snapshotGeneration = 0;
    std::map<int, QHash<QByteArray, int>> m_keyIndexes;
    std::map<std::vector<int>, std::vector<RowPtr>> m_orders;
};

// One row an action wrote: no `before` for a row it made, no `after` for one it deleted.
struct RowChange {
    TableFile* file = nullptr;
    qint64 rowid = 0;
    std::optional<RowValues> before;
    std::optional<RowValues> after;
};
// Every row one action wrote, in the order written.
using ChangeSet = std::vector<RowChange>;

// The database `Data`: a folder of table files, one SQLite connection over all of them so that a
// transaction spanning two files commits atomically (rollback journal, full sync).
//
// Everything one user action writes is one transaction: actions nest, only the outermost one
// commits, and the write transaction itself begins with the first write. When the commit fails,
// the database finds out whether it reached the files and says so in the error it raises.
class Database {
public:
    // Takes the folder's lock; refuses a missing or unwritable folder and a folder in use.
    explicit Database(const QString& folder);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The folder a database name stands for: a folder of that name in the working directory.
    static QString folderFor(const QString& databaseName);

    const QString& folder() const { return m_folder; }
    // Opens the table file on first use: checks its header, its table, columns and indexes.
    TableFile& table(const TableSchema& schema);
    sqlite3* handle() const { return m_db.get(); }

    // Transactions nest; only the outermost commits. A rollback at any depth undoes all of it
    // and makes every view touched by the undone work read its rows again; the enclosing levels
    // can then neither write nor commit (ActionAbandoned) until they have ended.
    void begin();
    void commit();
    void rollback();
    // Ends the action under way from inside it (a part of it failed and was shown): nothing more
    // of it is written, and what it wrote is undone when it ends.
    void abandon();
    // The same, where the failure has been shown already: the action ends without another word.
    void abandonShown();
    // A write of the action under way failed: nothing more of it may be written, also not by
    // the clean-up that runs while the error is on its way out.
    void writeFailed(const StoreError& e);
    bool inTransaction() const { return m_depth > 0; }
    // A number for the transaction under way, 0 outside one.
    quint64 currentTransaction() const { return m_depth > 0 ? m_serial : 0; }
    // The number of the transaction under way, or of the last one, committing included.
    quint64 lastTransaction() const { return m_serial; }

    class Transaction {
    public:
        explicit Transaction(Database& db) : m_db(db) { m_db.begin(); }
        ~Transaction() {
            if (!m_done) {
                try {
                    m_db.rollback();
                } catch (...) {
                }
            }
        }
        void commit() {
            m_done = true;
            m_db.commit();
        }
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

    private:
        Database& m_db;
        bool m_done = false;
    };

    // Runs one user action in one transaction. An error ends it: what it wrote is undone, and
    // the error raised says whether the files hold the change or not.
    void run(const std::function<void()>& action);
    // Runs one thing the user does (a typed amount, a key in the grid, a command): in one
    // transaction, or as part of the action under way, from inside it or from a box it raised.
    // A failure inside an enclosing action ends that one too once shown, unless it was a refused
    // value, which wrote nothing.
    ActionOutcome perform(const std::function<void()>& action);

    // Called by table files before each write; opens the write transaction on the first one.
    void writing(TableFile& file);

    void registerView(StoreView* view);
    void unregisterView(StoreView* view);

    // Files an interrupted commit left behind: hot journals have been played back by the time
    // every table is open; what is left over is removed.
    void tidyJournals();

    // Checks every page of the open table files in the background. A fault found is passed to
    // `onFault` (on the thread that runs the event loop) and from then on every write is refused.
    void startIntegrityCheck(std::function<void(const QString& message)> onFault);
    // Waits for the background check and delivers its result now (for tests and at the end).
    void finishIntegrityCheck();
    // Why writing has stopped; empty while the tables may be written.
    const QString& writeRefusal() const { return m_writeRefusal; }

    // An action's record of its changes. `beginning` runs as an action begins, `committed` once
    // its changes are in the files (also when the disk reported an error after they got there),
    // with the rows it wrote and the name it was given. Neither runs for a replay.
    std::function<void()> beginning;
    // `joins`: the action is the end of the one recorded before it.
    std::function<void(ChangeSet changes, const QString& name, bool joins)> committed;
    // Runs as an action that wrote the files commits, inside its transaction, with the rows it
    // wrote, its name ("Undo" and "Redo" for a replay) and whether typing named it: what it
    // writes itself (not through table files) is committed with them or not at all. It must not
    // throw. It returns 0, or the SQLite code of a failure with which SQLite ended the
    // transaction itself.
    std::function<int(const ChangeSet& changes, const QString& name, bool typed)> finishing;
    // What `finishing` wrote could not be committed (the SQLite code why): the action was stored
    // without it.
    std::function<void(int code)> finishingFailed;
    // Names the action under way for its record ("Delete Line"): the first command's name holds,
    // over any name typing gave it.
    void nameAction(const QString& name);
    // Names it after what was typed ("typing in Mass"), unless a command named it; the last
    // such name holds, as it lists the most.
    void nameTyping(const QString& name);
    // What the action under way writes belongs to the action recorded before it.
    void joinPreviousAction();
    // Writes `changes` again, forwards or backwards, as part of the action under way, which is
    // not recorded; the views of the tables written read them again.
    void replay(const ChangeSet& changes, bool backwards);
    // How many actions have reached the files, so that a caller can tell whether one did
    // whatever error it ended with.
    quint64 commitCount() const { return m_commits; }
    // The transaction of the last action recorded, 0 before the first.
    quint64 lastRecorded() const { return m_lastRecorded; }
    // Whether the action under way writes a recorded one again.
    bool replaying() const { return m_depth > 0 && m_replaying; }
    // Whether the action committing (or committed last) wrote a recorded one again.
    bool replayed() const { return m_replaying; }
    // Called by table files for each row written.
    void recordChange(RowChange change);

    // Runs `listener` each time an action has ended that wrote the files, whether its changes
    // stayed or were undone; returns a number to stop it with.
    int whenFilesChange(std::function<void()> listener);
    void stopListening(int id);

    // Test hook: called before every row write with the table's name; may throw to refuse it.
    std::function<void(const QString& table)> beforeWrite;

private:
    QString resolveFile(const QString& fileName) const;
    void verify(const QString& schemaName, const TableSchema& schema, const QString& path);
    void openWriteTransaction();
    void endWriteTransaction();
    // After a failed COMMIT: whether the files hold the transaction that carried `token`.
    bool reachedFiles(const QString& schemaName, int token);
    void undoViews(quint64 undone);
    void undoAction();
    // Views that could not read their files after an undo read them now, before an action.
    void readStaleViews();
    // Runs `each` over the views (a copy: `each` may change the list given) with their display
    // suspended.
    void whileSuspended(std::vector<StoreView*> views, const std::function<void(StoreView*)>& each);
    void deliverCheck();
    // The action's changes reached the files: its record is handed on.
    void recordCommitted();
    // Tells the listeners that the files may hold other rows than before the action.
    void announceFilesChanged();
    [[noreturn]] void commitFailed(const StoreError& e);
    // Writes the token of the transaction into every file written, then commits.
    void finishFiles(int& token);
    // Whether a file other than the tables is written in the transaction.
    bool writingBesideTables() const;
    // The transaction ended without the tables' change: it is written and committed again, alone.
    bool writeAgainAlone(int code);

    QString m_folder;
    std::unique_ptr<FolderLock> m_lock;
    SqlitePtr m_db;
    std::map<QString, std::unique_ptr<TableFile>> m_tables;
    std::vector<StoreView*> m_views;
    std::vector<StoreView*> m_stale;
    int m_depth = 0;
    quint64 m_serial = 0;
    bool m_writing = false; // the write transaction of the current action has begun
    bool m_abandoned = false; // nothing more may be written in the action under way
    bool m_undoing = false;   // the views are going back to what the files hold
    QString m_failure;        // the first failed write of the action under way
    bool m_failureShown = false;
    int m_failureCode = 0;
    std::vector<TableFile*> m_written;
    std::map<TableFile*, quint64> m_generationAtBegin;
    QString m_writeRefusal;
    ChangeSet m_changes;     // the rows the action under way wrote
    QString m_actionName;    // what the action under way is called
    bool m_namedByTyping = false;
    bool m_replaying = false; // the action under way writes a recorded one again
    bool m_replayBackwards = false;
    bool m_joins = false;
    quint64 m_commits = 0;
    quint64 m_lastRecorded = 0;     // the action under way ends the one recorded before it
    std::vector<std::pair<int, std::function<void()>>> m_listeners;
    int m_lastListener = 0;
    std::unique_ptr<IntegrityCheck> m_check;
    std::unique_ptr<QTimer> m_checkTimer;
    std::function<void(const QString&)> m_onFault;
    bool m_checkDelivered = false;
};
