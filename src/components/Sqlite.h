#pragma once

#include "RowValues.h"
#include "TableSchema.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <sqlite3.h>

// Owned SQLite handles and a small prepared-statement wrapper that raises StoreError.
struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using SqlitePtr = std::unique_ptr<sqlite3, SqliteCloser>;

class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    void bind(int index, const QVariant& value); // 1-based, as SQLite counts
    void bind(int index, const RowValues& row, int column);
    bool step(); // true while a row is ready
    void reset();
    QVariant column(int index, ColumnType type) const; // 0-based
    qint64 columnInt64(int index) const { return sqlite3_column_int64(m_stmt.get(), index); }
    QString columnText(int index) const;
    QByteArray columnBlob(int index) const {
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt.get(), index)),
                          sqlite3_column_bytes(m_stmt.get(), index));
    }
    // Columns first.. of the current result row, read as the table's columns.
    RowValues row(int first, const std::vector<ColumnDef>& columns) const;
    int columnCount() const { return sqlite3_column_count(m_stmt.get()); }

private:
    sqlite3* m_db;
    std::unique_ptr<sqlite3_stmt, SqliteFinalizer> m_stmt;
};

// Runs one statement that returns nothing.
void sqliteExec(sqlite3* db, const QString& sql);

// What an SQLite result code means for the user's files, in words a chemist understands
// ("the disk is full").
QString sqliteProblem(int code);

// Writes a new table file holding the table, its indexes and the rows that `insertSql` adds, in
// one transaction (for the build's starter tables and for tests). Refuses an existing file.
void createTableFile(const QString& path, const TableSchema& schema, const QString& insertSql = {});
