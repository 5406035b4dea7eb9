#pragma once

#include "Sqlite.h"
#include "TableSchema.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QLockFile;
class StoreError;
class Database;
class Table;

// One stored row: its SQLite rowid and its column values in table order (null = invalid QVariant).
struct StoredRow {
    qint64 rowid = 0;
    QList<QVariant> values;
};

// One table file, attached to the database's connection, with its prepared statements.
class TableFile {
public:
    TableFile(Database& db, const TableSchema& schema, QString schemaName, QString path);

    const TableSchema& schema() const { return m_schema; }
    const QString& path() const { return m_path; }
    Database& database() const { return m_db; }
    // Grows with every write, so that copies of the table's data know when they are stale.
    quint64 generation() const { return m_generation; }
    // After a rollback: what was read of the table may no longer be what it holds.
    void invalidate() { ++m_generation; }

    // Rows in rowid order; `where` is an SQL condition over the columns with ?1.. placeholders.
    std::vector<StoredRow> select(const QString& where = QString(), const QVariantList& args = {});
    qint64 insert(const QList<QVariant>& values);
    // For look-ups: the table's rows, read once and again only after a write, and the first row
    // (by rowid) of each exact key text.
    const std::vector<StoredRow>& snapshot();
    const QHash<QString, int>& keyIndex(int keyColumn);
    // A fresh read of one value: `resultColumn` of the first row whose key equals `key`.
    QVariant lookupFirst(int keyColumn, const QString& key, int resultColumn);
    void update(qint64 rowid, const QList<QVariant>& values);
    void remove(qint64 rowid);

private:
    // The prepared statement under `key`; its SQL is only built the first time.
    Statement& statement(const QString& key, const std::function<QString()>& sql);
    void bindRow(Statement& st, const QList<QVariant>& values);
    void beforeWrite();
    [[noreturn]] void writeFailed(const StoreError& e);

    Database& m_db;
    TableSchema m_schema;
    QString m_schemaName;
    QString m_path;
    quint64 m_generation = 0;
    std::map<QString, std::unique_ptr<Statement>> m_statements;
    std::vector<StoredRow> m_snapshot;
    quint64 m_snapshotGeneration = ~quint64(0);
    std::map<int, QHash<QString, int>> m_keyIndexes;
};

// The database `Data`: a folder of table files, one SQLite connection over all of them so that a
// transaction spanning two files commits atomically (rollback journal, full sync).
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
    // Opens the table file on first use: checks that it holds the table, its columns and indexes.
    TableFile& table(const TableSchema& schema);
    sqlite3* handle() const { return m_db.get(); }

    // Transactions nest; only the outermost commits. A rollback at any depth undoes all of it
    // and makes every open view re-read its rows.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_depth > 0; }
    // A number for the transaction under way, 0 outside one.
    quint64 currentTransaction() const { return m_depth > 0 ? m_serial : 0; }

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

    void registerView(Table* view);
    void unregisterView(Table* view);
    // A row deleted through one view disappears from every other view of the same table.
    void rowDeleted(TableFile* file, qint64 rowid, Table* origin);

    // Test hook: called before every row write with the table's name; may throw to refuse it.
    std::function<void(const QString& table)> beforeWrite;

private:
    QString resolveFile(const QString& fileName) const;
    void verify(const QString& schemaName, const TableSchema& schema, const QString& path);

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    SqlitePtr m_db;
    std::map<QString, std::unique_ptr<TableFile>> m_tables;
    std::vector<Table*> m_views;
    int m_depth = 0;
    quint64 m_serial = 0;
    std::map<TableFile*, quint64> m_generationAtBegin;
};
