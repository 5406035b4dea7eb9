#include "Database.h"

#include "FolderLock.h"
#include "IntegrityCheck.h"
#include "StoreError.h"
#include "ScopeGuard.h"
#include "StoreView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <thread>

namespace {

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// What the user reads when a write or a commit failed: what happened, and that nothing of the
// change was stored.
QString notStored(int code, const QString& where) {
    if ((code & 0xff) == SQLITE_FULL)
        return QStringLiteral("The disk that holds %1 is full. The change was not stored. Free some "
                              "space on the disk and try again.")
            .arg(where);
    return QStringLiteral("Cannot store the change in %1: %2. The change was not stored.")
        .arg(where, sqliteProblem(code));
}

[[noreturn]] void cannotOpen(const QString& path, const QString& why) {
    throw StoreError(QStringLiteral("Cannot open the table file \"%1\": %2.").arg(shown(path), why));
}

QString quoted(const QString& name) { return u'"' + QString(name).replace(u'"', "\"\"") + u'"'; }

// Waits briefly for the background check to let go of a file, instead of SQLite's coarser
// default steps.
int busyWait(void*, int count) {
    if (count >= 20000)
        return 0; // about five seconds
    std::this_thread::sleep_for(std::chrono::microseconds(250));
    return 1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
TableFile::TableFile(Database& db, const TableSchema& schema, QString schemaName, QString path)
    : m_db(db), m_schema(schema), m_schemaName(std::move(schemaName)), m_path(std::move(path)) {
    // Changed columns are a bit mask, and a packed row counts its columns in a byte.
    Q_ASSERT(m_schema.columns.size() < 32);
}

void TableFile::invalidate() {
    ++m_generation;
    m_snapshot.clear();
    m_keyIndexes.clear();
    m_orders.clear();
}

QString TableFile::orderClause(const std::vector<int>& columns) const {
    // Text keys in the order NOCASE gives them, which is the order the views keep in memory.
    QStringList keys;
    for (int c : columns) {
        const ColumnDef& col = m_schema.columns[size_t(c)];
        keys << quoted(col.name) + (col.type == ColumnType::Text ? QStringLiteral(" COLLATE NOCASE") : QString());
    }
    keys << QStringLiteral("rowid");
    return QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
}

void TableFile::wroteRowAddedOrRemoved(qint64 rowid, const RowValues* added) {
    // A row added or removed: a snapshot in memory is patched rather than read again whole (a
    // recipe deleted among thousands). The orders that would have to place a new row are found
    // again; a removed row just leaves them.
    const bool current = m_snapshotGeneration == m_generation;
    ++m_generation;
    const auto byRowid = [](const RowPtr& r, qint64 id) { return r->rowid < id; };
    const auto at = current ? std::lower_bound(m_snapshot.begin(), m_snapshot.end(), rowid, byRowid)
                            : m_snapshot.end();
    const bool there = at != m_snapshot.end() && (*at)->rowid == rowid;
    if (!current || there == (added != nullptr)) {
        invalidate();
        return;
    }
    m_keyIndexes.clear(); // they hold places in the snapshot
    if (added) {
        m_snapshot.insert(at, std::make_shared<StoredRow>(StoredRow{rowid, *added}));
        m_orders.clear();
    } else {
        const RowPtr old = *at;
        m_snapshot.erase(at);
        for (auto& [columns, rows] : m_orders)
            rows.erase(std::remove(rows.begin(), rows.end(), old), rows.end());
    }
    m_snapshotGeneration = m_generation;
}

void TableFile::wroteRow(qint64 rowid, const RowValues& after, quint32 changed) {
    // One row changed: a snapshot in memory is patched rather than read again whole (a price
    // corrected in a library of thousands). An action undone later invalidates the file anyway.
    const bool current = m_snapshotGeneration == m_generation;
    ++m_generation;
    const auto byRowid = [](const RowPtr& r, qint64 id) { return r->rowid < id; };
    const auto at = current ? std::lower_bound(m_snapshot.begin(), m_snapshot.end(), rowid, byRowid)
                            : m_snapshot.end();
    if (at == m_snapshot.end() || (*at)->rowid != rowid) {
        invalidate();
        return;
    }
    const RowPtr old = *at;
    *at = std::make_shared<StoredRow>(StoredRow{rowid, after});
    m_snapshotGeneration = m_generation;
    for (auto it = m_keyIndexes.begin(); it != m_keyIndexes.end();)
        it = (changed & (1u << it->first)) ? m_keyIndexes.erase(it) : std::next(it);
    for (auto it = m_orders.begin(); it != m_orders.end();) {
        bool reorders = false;
        for (int c : it->first)
            reorders |= (changed & (1u << c)) != 0;
        if (reorders) {
            it = m_orders.erase(it);
        } else {
            std::replace(it->second.begin(), it->second.end(), old, *at);
            ++it;
        }
    }
}

Statement& TableFile::statement(const QString& key, const std::function<QString()>& sql) {
    auto it = m_statements.find(key);
    if (it == m_statements.end())
        it = m_statements.emplace(key, std::make_unique<Statement>(m_db.handle(), sql())).first;
    it->second->reset();
    return *it->second;
}

std::vector<RowPtr> TableFile::select(const QString& where, const QVariantList& args,
                                      const std::vector<int>& orderBy) {
    const QString order = orderBy.empty() ? QStringLiteral(" ORDER BY rowid") : orderClause(orderBy);
    Statement& st = statement(QStringLiteral("select:") + where + order, [&] {
        QStringList cols;
        for (const ColumnDef& c : m_schema.columns)
            cols << quoted(c.name);
        QString sql = QStringLiteral("SELECT rowid, %1 FROM %2.%3")
                          .arg(cols.join(", "), quoted(m_schemaName), quoted(m_schema.name));
        if (!where.isEmpty())
            sql += QStringLiteral(" WHERE ") + where;
        return sql + order;
    });
    for (int i = 0; i < args.size(); ++i)
        st.bind(i + 1, args[i]);
    std::vector<RowPtr> rows;
    try {
        while (st.step()) {
            auto row = std::make_shared<StoredRow>();
            row->rowid = st.columnInt64(0);
            row->values = st.row(1, m_schema.columns);
            rows.push_back(std::move(row));
        }
    } catch (const StoreError& e) {
        throw StoreError(QStringLiteral("Cannot read the table file \"%1\": %2.")
                             .arg(shown(m_path), sqliteProblem(e.sqliteCode())),
                         e.sqliteCode());
    }
    st.reset();
    return rows;
}

const std::vector<RowPtr>& TableFile::snapshot() {
    if (m_snapshotGeneration != m_generation) {
        m_snapshot = select();
        m_keyIndexes.clear();
        m_snapshotGeneration = m_generation;
    }
    return m_snapshot;
}

const std::vector<RowPtr>& TableFile::snapshotInOrder(const std::vector<int>& columns) {
    const std::vector<RowPtr>& rows = snapshot();
    auto it = m_orders.find(columns);
    if (it != m_orders.end())
        return it->second;
    // The file's index walks the rows in order; each rowid is found in the snapshot, which is in
    // rowid order.
    std::vector<RowPtr> ordered;
    ordered.reserve(rows.size());
    Statement st(m_db.handle(), QStringLiteral("SELECT rowid FROM %1.%2").arg(quoted(m_schemaName), quoted(m_schema.name)) +
                                    orderClause(columns));
    const auto byRowid = [](const RowPtr& r, qint64 id) { return r->rowid < id; };
    while (st.step()) {
        const qint64 id = st.columnInt64(0);
        const auto at = std::lower_bound(rows.begin(), rows.end(), id, byRowid);
        if (at != rows.end() && (*at)->rowid == id)
            ordered.push_back(*at);
    }
    if (ordered.size() != rows.size())
        ordered = rows; // the views sort what they get
    return m_orders.emplace(columns, std::move(ordered)).first->second;
}

const StoredRow* TableFile::findFirst(int keyColumn, QByteArrayView key) {
    const std::vector<RowPtr>& rows = snapshot();
    auto it = m_keyIndexes.find(keyColumn);
    if (it == m_keyIndexes.end()) {
        QHash<QByteArray, int> index;
        for (size_t i = 0; i < rows.size(); ++i) {
            const RowValues& v = rows[i]->values;
            if (v.isNull(keyColumn))
                continue;
            const QByteArray k = v.isText(keyColumn) ? v.utf8(keyColumn).toByteArray()
                                                     : v.text(keyColumn).toUtf8();
            if (!index.contains(k))
                index.insert(k, int(i));
        }
        it = m_keyIndexes.emplace(keyColumn, std::move(index)).first;
    }
    const auto found = it->second.constFind(QByteArray::fromRawData(key.data(), key.size()));
    return found == it->second.constEnd() ? nullptr : rows[size_t(*found)].get();
}

void TableFile::checkWidths(const RowValues& values, quint32 columns) const {
    // Text is never cut to its column: a cut key could become another row's key.
    for (size_t i = 0; i < m_schema.columns.size(); ++i) {
        const ColumnDef& c = m_schema.columns[i];
        if (!(columns & (1u << i)) || c.type != ColumnType::Text || c.width <= 0 ||
            !values.isText(int(i)))
            continue;
        const QString text = values.text(int(i));
        if (text.size() > c.width)
            throw FieldError(QStringLiteral("'%1' is too long for field '%2': it holds at most %3 "
                                            "characters")
                                 .arg(text, c.name)
                                 .arg(c.width));
    }
}

void TableFile::writeFailed(const StoreError& e) {
    const int code = e.sqliteCode();
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY) {
        // A refused row: nothing was written, and the row stays pending for correction.
        QStringList fields;
        for (const IndexDef& ix : m_schema.indexes)
            if (ix.unique)
                fields = ix.columns;
        throw StoreError(QStringLiteral("Key violation: another row of %1 has the same %2.")
                             .arg(m_schema.name, fields.join(QStringLiteral(" and "))),
                         code);
    }
    const StoreError error(notStored(code, QStringLiteral("the table file \"%1\"").arg(shown(m_path))), code);
    m_db.writeFailed(error);
    throw error;
}

qint64 TableFile::insert(const RowValues& values) { return insertRow(0, values); }

void TableFile::insertAt(qint64 rowid, const RowValues& values) { insertRow(rowid, values); }

qint64 TableFile::insertRow(qint64 rowid, const RowValues& values) {
    checkWidths(values);
    Database::Transaction tx(m_db);
    m_db.writing(*this);
    // A rowid given is the row's own again; otherwise SQLite gives the next.
    const int first = rowid ? 2 : 1;
    Statement& st = statement(rowid ? QStringLiteral("insertAt") : QStringLiteral("insert"), [&] {
        QStringList cols, marks;
        if (rowid) {
            cols << QStringLiteral("rowid");
            marks << QStringLiteral("?1");
        }
        for (size_t i = 0; i < m_schema.columns.size(); ++i) {
            cols << quoted(m_schema.columns[i].name);
            marks << QStringLiteral("?%1").arg(int(i) + first);
        }
        return QStringLiteral("INSERT INTO %1.%2 (%3) VALUES (%4)")
            .arg(quoted(m_schemaName), quoted(m_schema.name), cols.join(", "), marks.join(", "));
    });
    try {
        if (rowid)
            st.bind(1, QVariant(rowid));
        for (size_t i = 0; i < m_schema.columns.size(); ++i)
            st.bind(int(i) + first, values, int(i));
        st.step();
    } catch (const StoreError& e) {
        writeFailed(e);
    }
    if (!rowid)
        rowid = sqlite3_last_insert_rowid(m_db.handle());
    m_db.recordChange({this, rowid, std::nullopt, values});
    wroteRowAddedOrRemoved(rowid, &values);
    tx.commit();
    return rowid;
}

void TableFile::update(qint64 rowid, const RowValues& before, const RowValues& after, bool whole) {
    quint32 changed = 0;
    for (size_t i = 0; i < m_schema.columns.size(); ++i)
        if (whole || !before.sameAt(int(i), after))
            changed |= 1u << i;
    if (changed == 0)
        return;
    checkWidths(after, changed);
    Database::Transaction tx(m_db);
    m_db.writing(*this);
    // One statement per set of columns: the batch pass writes three, a line edit four.
    Statement& st = statement(QStringLiteral("update:%1").arg(changed), [&] {
        QStringList sets;
        int n = 0;
        for (size_t i = 0; i < m_schema.columns.size(); ++i)
            if (changed & (1u << i))
                sets << QStringLiteral("%1 = ?%2").arg(quoted(m_schema.columns[i].name)).arg(++n);
        return QStringLiteral("UPDATE %1.%2 SET %3 WHERE rowid = ?%4")
            .arg(quoted(m_schemaName), quoted(m_schema.name), sets.join(", "))
            .arg(n + 1);
    });
    try {
        int n = 0;
        for (size_t i = 0; i < m_schema.columns.size(); ++i)
            if (changed & (1u << i))
                st.bind(++n, after, int(i));
        st.bind(n + 1, QVariant(rowid));
        st.step();
    } catch (const StoreError& e) {
        writeFailed(e);
    }
    // Recorded first: `before` may be the row in memory that the write replaces.
    m_db.recordChange({this, rowid, before, after});
    wroteRow(rowid, after, changed);
    tx.commit();
}

void TableFile::remove(qint64 rowid, const RowValues& values) {
    Database::Transaction tx(m_db);
    m_db.writing(*this);
    Statement& st = statement(QStringLiteral("delete"), [&] {
        return QStringLiteral("DELETE FROM %1.%2 WHERE rowid = ?1").arg(quoted(m_schemaName), quoted(m_schema.name));
    });
    try {
        st.bind(1, QVariant(rowid));
        st.step();
    } catch (const StoreError& e) {
        writeFailed(e);
    }
    // Recorded first: `values` may be the row in memory that the removal drops.
    m_db.recordChange({this, rowid, values, std::nullopt});
    wroteRowAddedOrRemoved(rowid, nullptr);
    tx.commit();
}

// ---------------------------------------------------------------------------------------------
Database::Database(const QString& folder) : m_folder(QDir(folder).absolutePath()) {
    const QFileInfo info(m_folder);
    if (!info.exists() || !info.isDir())
        throw StoreError(
            QStringLiteral("The table folder \"%1\" does not exist.").arg(shown(m_folder)));
    m_lock = std::make_unique<FolderLock>(m_folder);
}

Database::~Database() {
    m_checkTimer.reset();
    m_check.reset(); // stops a check still running
    // Views are closed by their owners first; what is still pending is dropped, as at any end.
    if (m_db && !sqlite3_get_autocommit(m_db.get()))
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    m_tables.clear();
    m_db.reset();
}

QString Database::folderFor(const QString& databaseName) {
    return QDir::current().absoluteFilePath(databaseName);
}

QString Database::resolveFile(const QString& fileName) const {
    QDir dir(m_folder);
    if (dir.exists(fileName))
        return dir.filePath(fileName);
    // Files copied from another system may differ in the letter case of their names.
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& e : entries)
        if (e.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    return dir.filePath(fileName);
}

TableFile& Database::table(const TableSchema& schema) {
    auto it = m_tables.find(schema.name);
    if (it != m_tables.end())
        return *it->second;

    const QString path = resolveFile(schema.fileName);
    const QFileInfo info(path);
    if (!info.exists())
        cannotOpen(path, QStringLiteral("the file does not exist"));
    if (!info.isFile() || !info.isReadable())
        cannotOpen(path, QStringLiteral("the file cannot be read"));

    QString schemaName;
    if (!m_db) {
        // The first table file is the connection's main database: SQLite's atomic commit over
        // several files needs a main database that is a real file.
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                       SQLITE_OPEN_READWRITE, nullptr);
        SqlitePtr db(raw);
        if (rc != SQLITE_OK)
            cannotOpen(path, sqliteProblem(rc));
        sqlite3_busy_handler(db.get(), busyWait, nullptr);
        m_db = std::move(db);
        schemaName = QStringLiteral("main");
    } else {
        schemaName = schema.name;
        // mode=rw: attaching must never create a missing file.
        const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + "?mode=rw";
        Statement attach(m_db.get(), QStringLiteral("ATTACH DATABASE ?1 AS ") + quoted(schemaName));
        attach.bind(1, uri);
        try {
            attach.step();
        } catch (const StoreError& e) {
            cannotOpen(path, sqliteProblem(e.sqliteCode()));
        }
    }
    try {
        verify(schemaName, schema, path);
    } catch (...) {
        if (schemaName == QLatin1String("main"))
            m_db.reset();
        else
            sqlite3_exec(m_db.get(), ("DETACH DATABASE " + quoted(schemaName)).toUtf8().constData(),
                         nullptr, nullptr, nullptr);
        throw;
    }
    auto file = std::make_unique<TableFile>(*this, schema, schemaName, path);
    return *m_tables.emplace(schema.name, std::move(file)).first->second;
}

void Database::verify(const QString& schemaName, const TableSchema& schema, const QString& path) {
    sqlite3* db = m_db.get();
    const QString s = quoted(schemaName);
    // Reading the schema reads the file's header and first pages, and plays back a journal an
    // interrupted commit left. Every other page is checked in the background once the window
    // is up.
    std::vector<std::pair<QString, QString>> found;
    try {
        Statement info(db, QStringLiteral("PRAGMA %1.table_info(%2)").arg(s, quoted(schema.name)));
        while (info.step())
            found.emplace_back(info.columnText(1), info.columnText(2).toUpper());
    } catch (const StoreError& e) {
        cannotOpen(path, sqliteProblem(e.sqliteCode()));
    }
    if (found.empty())
        cannotOpen(path, QStringLiteral("it holds no table %1").arg(schema.name));
    // Every column in its place; only columns added later may be missing, at the end.
    bool same = found.size() <= schema.columns.size();
    for (size_t i = 0; same && i < found.size(); ++i)
        same = found[i].first.compare(schema.columns[i].name, Qt::CaseInsensitive) == 0 &&
               found[i].second == TableSchema::sqlType(schema.columns[i].type);
    for (size_t i = found.size(); same && i < schema.columns.size(); ++i)
        same = schema.columns[i].addedLater;
    if (!same)
        cannotOpen(path, QStringLiteral("the table %1 does not have the columns this program "
                                        "expects")
                             .arg(schema.name));

    std::map<QString, bool> indexes;
    Statement list(db, QStringLiteral("PRAGMA %1.index_list(%2)").arg(s, quoted(schema.name)));
    while (list.step())
        indexes[list.columnText(1).toUpper()] = list.columnInt64(2) != 0;
    for (const IndexDef& ix : schema.indexes) {
        auto it = indexes.find(ix.name.toUpper());
        if (it == indexes.end() || it->second != ix.unique)
            cannotOpen(path, QStringLiteral("the index %1 of table %2 is missing")
                                 .arg(ix.name, schema.name));
    }

    if (sqlite3_db_readonly(db, schemaName.toUtf8().constData()) == 1)
        cannotOpen(path, QStringLiteral("the file is read-only"));
    for (size_t i = found.size(); i < schema.columns.size(); ++i) {
        const ColumnDef& c = schema.columns[i];
        try {
            sqliteExec(db, QStringLiteral("ALTER TABLE %1.%2 ADD COLUMN %3 %4")
                               .arg(s, quoted(schema.name), quoted(c.name), TableSchema::sqlType(c.type)));
        } catch (const StoreError& e) {
            cannotOpen(path, sqliteProblem(e.sqliteCode()));
        }
    }

    // A committed action is on disk when the commit returns: rollback journal, full sync.
    try {
        sqliteExec(db, QStringLiteral("PRAGMA %1.journal_mode = DELETE").arg(s));
        sqliteExec(db, QStringLiteral("PRAGMA %1.synchronous = FULL").arg(s));
    } catch (const StoreError& e) {
        cannotOpen(path, sqliteProblem(e.sqliteCode()));
    }
}

// ---------------------------------------------------------------------------------------------
// Transactions

void Database::begin() {
    if (m_depth++ == 0) {
        ++m_serial;
        m_failure.clear();
        m_failureShown = false;
        // What the views return to if the action is undone; the passes that run while the views
        // return do not move that.
        if (!m_undoing)
            for (StoreView* v : m_views)
                v->rememberPlace();
        m_written.clear();
        m_changes.clear();
        m_actionName.clear();
        m_namedByTyping = false;
        m_replaying = false;
        m_joins = false;
        if (beginning && !m_undoing)
            beginning();
        m_generationAtBegin.clear();
        for (auto& [name, file] : m_tables)
            m_generationAtBegin[file.get()] = file->generation();
    }
}

void Database::writing(TableFile& file) {
    // After a failed write SQLite may have ended the transaction itself: a write now would be
    // stored on its own, outside the action.
    if (m_writing && sqlite3_get_autocommit(m_db.get()))
        m_abandoned = true;
    if (m_abandoned || m_undoing)
        throw ActionAbandoned();
    if (!m_writeRefusal.isEmpty())
        throw StoreError(m_writeRefusal);
    if (beforeWrite)
        beforeWrite(file.schema().name);
    if (!m_writing)
        openWriteTransaction();
    if (std::find(m_written.begin(), m_written.end(), &file) == m_written.end())
        m_written.push_back(&file);
}

void Database::openWriteTransaction() {
    if (m_check)
        m_check->writerBegins();
    try {
        // Deferred: each file joins the transaction when it is first written, so that a commit
        // that wrote one file needs no journal over all three.
        sqliteExec(m_db.get(), QStringLiteral("BEGIN"));
    } catch (const StoreError& e) {
        if (m_check)
            m_check->writerEnds();
        throw StoreError(QStringLiteral("Cannot write to the tables in \"%1\": %2.")
                             .arg(shown(m_folder), sqliteProblem(e.sqliteCode())),
                         e.sqliteCode());
    }
    m_writing = true;
}

void Database::endWriteTransaction() {
    m_writing = false;
    if (m_check)
        m_check->writerEnds();
}

void Database::commit() {
    if (m_depth == 0)
        return;
    if (m_abandoned) {
        if (--m_depth == 0)
            undoAction();
        throw ActionAbandoned();
    }
    if (--m_depth > 0 || !m_writing)
        return;
    // What the hook writes beside the tables (the history) must never cost the tables' change:
    // when it ends the transaction, or the commit fails with it, the change is written again alone.
    bool beside = false;
    if (finishing && !m_changes.empty()) {
        const QString name = m_replaying ? QString::fromLatin1(m_replayBackwards ? "Undo" : "Redo") : m_actionName;
        if (const int code = finishing(m_changes, name, m_namedByTyping && !m_replaying)) {
            endWriteTransaction();
            if (!writeAgainAlone(code)) {
                m_undoing = true;
                undoViews(m_serial);
                m_undoing = false;
                announceFilesChanged();
                commitFailed(StoreError(QString(), code));
            }
            endWriteTransaction();
            recordCommitted();
            announceFilesChanged();
            return;
        }
        beside = writingBesideTables();
    }
    int token = 0;
    try {
        finishFiles(token);
    } catch (const StoreError& e) {
        const QString checkFile = m_written.front()->schemaName();
        if (!sqlite3_get_autocommit(m_db.get()))
            sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        endWriteTransaction();
        if (token != 0 && reachedFiles(checkFile, token)) {
            recordCommitted();
            announceFilesChanged();
            throw StoredWithError(QStringLiteral("The change was stored, but the disk reported an error "
                                            "as the tables in \"%1\" were being finished: %2. "
                                            "Check the disk before you go on.")
                                 .arg(shown(m_folder), sqliteProblem(e.sqliteCode())),
                             e.sqliteCode());
        }
        if (beside && writeAgainAlone(e.sqliteCode())) {
            endWriteTransaction();
            recordCommitted();
            announceFilesChanged();
            return;
        }
        m_undoing = true;
        undoViews(m_serial);
        m_undoing = false;
        announceFilesChanged();
        commitFailed(e);
    }
    endWriteTransaction();
    recordCommitted();
    announceFilesChanged();
}

void Database::finishFiles(int& token) {
    // Every file written carries the transaction's token in its header, so that after a failed
    // COMMIT the files themselves tell whether it reached them.
    Statement current(m_db.get(), QStringLiteral("PRAGMA %1.user_version").arg(quoted(m_written.front()->schemaName())));
    if (!current.step())
        throw StoreError(QStringLiteral("the header of a table file cannot be read"));
    token = int((current.columnInt64(0) + 1) & 0x7fffffff);
    if (token == 0)
        token = 1;
    for (TableFile* f : m_written)
        sqliteExec(m_db.get(), QStringLiteral("PRAGMA %1.user_version = %2").arg(quoted(f->schemaName())).arg(token));
    sqliteExec(m_db.get(), QStringLiteral("COMMIT"));
}

bool Database::writingBesideTables() const {
    try {
        Statement list(m_db.get(), QStringLiteral("PRAGMA database_list"));
        while (list.step()) {
            const QString name = list.columnText(1);
            bool table = false;
            for (const auto& [key, file] : m_tables)
                table |= file->schemaName() == name;
            if (!table && sqlite3_txn_state(m_db.get(), name.toUtf8().constData()) == SQLITE_TXN_WRITE)
                return true;
        }
    } catch (const StoreError&) {
    }
    return false;
}

bool Database::writeAgainAlone(int code) {
    if (finishingFailed)
        finishingFailed(code);
    const ChangeSet changes = m_changes;
    // Inside the action again, so that the writes join one transaction and are not actions of
    // their own.
    ++m_depth;
    try {
        for (const RowChange& c : changes) {
            if (c.before && c.after)
                c.file->update(c.rowid, *c.before, *c.after, true);
            else if (c.after)
                c.file->insertAt(c.rowid, *c.after);
            else
                c.file->remove(c.rowid, *c.before);
        }
        --m_depth;
        m_changes = changes;
        int token = 0;
        finishFiles(token);
        return true;
    } catch (const std::exception&) {
        m_depth = 0;
        m_abandoned = false;
        m_changes = changes;
        if (!sqlite3_get_autocommit(m_db.get()))
            sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        endWriteTransaction();
        return false;
    }
}

int Database::whenFilesChange(std::function<void()> listener) {
    m_listeners.emplace_back(++m_lastListener, std::move(listener));
    return m_lastListener;
}

void Database::stopListening(int id) {
    std::erase_if(m_listeners, [id](const auto& l) { return l.first == id; });
}

void Database::announceFilesChanged() {
    // The action is over, stored or not: what a listener does with the news cannot change that,
    // nor what the user is told of it.
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners) {
        try {
            listener();
        } catch (...) {
        }
    }
}

void Database::recordCommitted() {
    ++m_commits;
    ChangeSet changes = std::move(m_changes);
    m_changes.clear();
    if (m_replaying || changes.empty())
        return;
    m_lastRecorded = m_serial;
    for (StoreView* v : m_views)
        if (v->touchedIn(m_serial))
            v->recordedWhilePending(m_serial);
    if (committed)
        committed(std::move(changes), m_actionName, m_joins);
}

void Database::joinPreviousAction() {
    if (m_depth > 0)
        m_joins = true;
}

void Database::recordChange(RowChange change) {
    if (m_depth > 0)
        m_changes.push_back(std::move(change));
}

void Database::nameAction(const QString& name) {
    if (m_depth > 0 && (m_actionName.isEmpty() || m_namedByTyping)) {
        m_actionName = name;
        m_namedByTyping = false;
    }
}

void Database::nameTyping(const QString& name) {
    if (m_depth > 0 && (m_actionName.isEmpty() || m_namedByTyping)) {
        m_actionName = name;
        m_namedByTyping = true;
    }
}

void Database::replay(const ChangeSet& changes, bool backwards) {
    Transaction tx(*this);
    m_replaying = true;
    m_replayBackwards = backwards;
    const auto write = [](const RowChange& c, bool undo) {
        const std::optional<RowValues>& from = undo ? c.after : c.before;
        const std::optional<RowValues>& to = undo ? c.before : c.after;
        if (from && to)
            c.file->update(c.rowid, *from, *to, true); // the row as recorded, a date stamped since too
        else if (to)
            c.file->insertAt(c.rowid, *to);
        else
            c.file->remove(c.rowid, *from);
    };
    if (backwards)
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            write(*it, true);
    else
        for (const RowChange& c : changes)
            write(c, false);
    // The views of what was written take the rows as they now are (or read them again), masters
    // first, each on its row if it is still there.
    std::vector<StoreView*> views;
    for (StoreView* v : m_views)
        for (const RowChange& c : changes)
            if (v->file() == c.file) {
                views.push_back(v);
                break;
            }
    whileSuspended(views, [&](StoreView* v) {
        if (!v->takeChanges(changes, backwards))
            v->resyncAfterRollback();
    });
    tx.commit();
}

bool Database::reachedFiles(const QString& schemaName, int token) {
    // A journal SQLite could not play back yet is played back by whoever opens the file next,
    // so a file that cannot be read now holds the state from before the transaction.
    try {
        Statement st(m_db.get(), QStringLiteral("PRAGMA %1.user_version").arg(quoted(schemaName)));
        return st.step() && st.columnInt64(0) == token;
    } catch (const StoreError&) {
        return false;
    }
}

void Database::commitFailed(const StoreError& e) {
    throw StoreError(notStored(e.sqliteCode(), QStringLiteral("the tables in \"%1\"").arg(shown(m_folder))),
                     e.sqliteCode());
}

void Database::rollback() {
    if (m_depth == 0)
        return;
    m_abandoned = true;
    if (--m_depth == 0)
        undoAction();
}

void Database::writeFailed(const StoreError& e) {
    if (m_depth > 0 && m_failure.isEmpty()) {
        m_failure = e.message();
        m_failureCode = e.sqliteCode();
    }
    abandon();
}

void Database::abandon() {
    if (m_depth > 0)
        m_abandoned = true;
}

void Database::abandonShown() {
    if (m_depth > 0)
        m_abandoned = m_failureShown = true;
}

void Database::undoAction() {
    // Undone once the action has ended, after whatever ran while its error was on the way out.
    // An action refused before it wrote anything leaves the views as they are: a pending edit
    // keeps what was accepted of it.
    m_abandoned = false;
    if (!m_writing)
        return;
    if (m_db && !sqlite3_get_autocommit(m_db.get()))
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    endWriteTransaction();
    m_undoing = true;
    undoViews(m_serial);
    m_undoing = false;
    announceFilesChanged();
}

void Database::undoViews(quint64 undone) {
    // Views of the tables written meanwhile may be ahead of their files: they read them again,
    // and so do views holding a pending row begun or changed by the undone work, so that
    // nothing refused is stored later. Other views keep what they hold, a pending edit of the
    // user's included.
    // A write that failed changed nothing: the row it carried stays pending for correction.
    std::vector<TableFile*> written;
    for (auto& [name, file] : m_tables) {
        const auto it = m_generationAtBegin.find(file.get());
        if (it == m_generationAtBegin.end() || it->second != file->generation())
            written.push_back(file.get());
    }
    for (TableFile* f : written)
        f->invalidate();
    // Masters first: their details then read the lines of the row they return to. The views
    // tell their controls and handlers once, when all of them are back.
    std::vector<StoreView*> views;
    for (StoreView* v : m_views)
        if (std::find(written.begin(), written.end(), v->file()) != written.end() ||
            v->touchedIn(undone) || v->movedSincePlace())
            views.push_back(v);
    std::stable_partition(views.begin(), views.end(), [](StoreView* v) { return !v->isDetail(); });
    for (StoreView* v : views)
        v->disableControls();
    for (StoreView* v : views) {
        // The first error is the one the user reads. A view that cannot read its file now (the
        // disk still fails) reads it before the next action.
        try {
            v->resyncAfterRollback();
        } catch (...) {
            if (std::find(m_stale.begin(), m_stale.end(), v) == m_stale.end())
                m_stale.push_back(v);
        }
    }
    for (StoreView* v : views) {
        try {
            v->enableControls();
        } catch (...) {
        }
    }
}

void Database::readStaleViews() {
    if (m_stale.empty())
        return;
    whileSuspended(m_stale, [this](StoreView* v) {
        try {
            v->resyncAfterRollback();
        } catch (const StoreError& e) {
            throw StoreError(QStringLiteral("Kalvora cannot read the tables in \"%1\" again after a "
                                            "failed change: %2. Nothing was done.")
                                 .arg(shown(m_folder), sqliteProblem(e.sqliteCode())),
                             e.sqliteCode());
        }
        m_stale.erase(std::remove(m_stale.begin(), m_stale.end(), v), m_stale.end());
    });
}

void Database::whileSuspended(std::vector<StoreView*> views, const std::function<void(StoreView*)>& each) {
    // Masters first, so that their details read the lines of the row they stand on; the views
    // tell their controls and handlers once, when all of them are done.
    std::stable_partition(views.begin(), views.end(), [](StoreView* v) { return !v->isDetail(); });
    for (StoreView* v : views)
        v->disableControls();
    ScopeGuard resume([&] {
        for (StoreView* v : views)
            v->enableControls();
    });
    for (StoreView* v : views)
        each(v);
}

void Database::run(const std::function<void()>& action) {
    if (m_depth == 0)
        readStaleViews();
    Transaction tx(*this);
    try {
        action();
    } catch (const ActionAbandoned&) {
        // Clean-up that ran after a failed write may have replaced its error: the user reads
        // the failure itself, once.
        if (m_failure.isEmpty() || m_failureShown)
            throw;
        throw StoreError(m_failure, m_failureCode);
    }
    tx.commit();
}

ActionOutcome Database::perform(const std::function<void()>& action) {
    const bool nested = inTransaction();
    ActionOutcome outcome;
    outcome.done = false;
    try {
        if (nested)
            action();
        else
            run(action);
        outcome.done = true;
        return outcome;
    } catch (const ActionAbandoned&) {
        return outcome; // shown where it failed
    } catch (const FieldError& e) {
        outcome.error = e.message();
        return outcome;
    } catch (const StoredWithError& e) {
        outcome.error = e.message();
        outcome.stored = true;
    } catch (const StoreError& e) {
        outcome.error = e.message();
    } catch (const std::exception& e) {
        outcome.error = QString::fromLocal8Bit(e.what());
    }
    if (nested)
        abandonShown();
    outcome.rolledBack = !nested && !outcome.stored;
    return outcome;
}

// ---------------------------------------------------------------------------------------------

void Database::registerView(StoreView* view) { m_views.push_back(view); }

void Database::unregisterView(StoreView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    m_stale.erase(std::remove(m_stale.begin(), m_stale.end(), view), m_stale.end());
}

void Database::tidyJournals() {
    const QDir dir(m_folder);
    // Every file of the connection: the tables and whatever else is attached (the history).
    QStringList paths;
    if (m_db) {
        try {
            Statement list(m_db.get(), QStringLiteral("PRAGMA database_list"));
            while (list.step())
                if (const QString path = list.columnText(2); !path.isEmpty())
                    paths << path;
        } catch (const StoreError&) {
        }
    }
    bool hot = false;
    for (const QString& path : paths) {
        const QString journal = path + QStringLiteral("-journal");
        QFile f(journal);
        if (!f.exists())
            continue;
        // SQLite ignores a journal that is empty or whose header was never written; one it
        // could not play back stays where it is, for the next opening.
        char first = 0;
        const bool readable = f.open(QIODevice::ReadOnly);
        const bool empty = readable && (f.size() == 0 || (f.getChar(&first) && first == 0));
        f.close();
        if (empty)
            QFile::remove(journal);
        else
            hot = true;
    }
    if (hot)
        return;
    // With no journal left to name it, a super-journal of an interrupted commit over several
    // files is an orphan.
    for (const QString& path : paths) {
        const QString base = QFileInfo(path).fileName() + QStringLiteral("-mj");
        for (const QString& e : dir.entryList({base + u'*'}, QDir::Files | QDir::Hidden))
            QFile::remove(dir.filePath(e));
    }
}

void Database::startIntegrityCheck(std::function<void(const QString&)> onFault) {
    QStringList paths;
    for (auto& [name, file] : m_tables)
        paths << file->path();
    m_onFault = std::move(onFault);
    m_check = std::make_unique<IntegrityCheck>(paths);
    if (m_writing)
        m_check->writerBegins(); // its end is counted too
    m_check->start();
    // Polled from the event loop, so that a fault is reported on the user-interface thread.
    if (QCoreApplication::instance()) {
        m_checkTimer = std::make_unique<QTimer>();
        QObject::connect(m_checkTimer.get(), &QTimer::timeout, m_checkTimer.get(), [this] {
            if (m_check && m_check->done())
                deliverCheck();
        });
        m_checkTimer->start(100);
    }
}

void Database::deliverCheck() {
    if (m_checkTimer)
        m_checkTimer->stop();
    if (!m_check || m_checkDelivered)
        return;
    m_checkDelivered = true;
    const QString fault = m_check->fault();
    if (fault.isEmpty())
        return;
    m_writeRefusal = QStringLiteral("The table file %1 is damaged. Kalvora stores nothing more in "
                                    "the tables; restore them from a backup.")
                         .arg(fault);
    if (m_onFault)
        m_onFault(m_writeRefusal);
}

void Database::finishIntegrityCheck() {
    if (!m_check)
        return;
    m_check->wait();
    deliverCheck();
}
