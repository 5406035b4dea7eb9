#include "Database.h"

#include "StoreError.h"
#include "Table.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QUrl>
#include <algorithm>

namespace {

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

[[noreturn]] void cannotOpen(const QString& path, const QString& why) {
    throw StoreError(QStringLiteral("Cannot open the table file \"%1\": %2.").arg(shown(path), why));
}

QString quoted(const QString& name) { return u'"' + QString(name).replace(u'"', "\"\"") + u'"'; }

} // namespace

// ---------------------------------------------------------------------------------------------
TableFile::TableFile(Database& db, const TableSchema& schema, QString schemaName, QString path)
    : m_db(db), m_schema(schema), m_schemaName(std::move(schemaName)), m_path(std::move(path)) {}

Statement& TableFile::statement(const QString& key, const std::function<QString()>& sql) {
    auto it = m_statements.find(key);
    if (it == m_statements.end())
        it = m_statements.emplace(key, std::make_unique<Statement>(m_db.handle(), sql())).first;
    it->second->reset();
    return *it->second;
}

std::vector<StoredRow> TableFile::select(const QString& where, const QVariantList& args) {
    Statement& st = statement(QStringLiteral("select:") + where, [&] {
        QStringList cols;
        for (const ColumnDef& c : m_schema.columns)
            cols << quoted(c.name);
        QString sql = QStringLiteral("SELECT rowid, %1 FROM %2.%3")
                          .arg(cols.join(", "), quoted(m_schemaName), quoted(m_schema.name));
        if (!where.isEmpty())
            sql += QStringLiteral(" WHERE ") + where;
        return sql + QStringLiteral(" ORDER BY rowid");
    });
    for (int i = 0; i < args.size(); ++i)
        st.bind(i + 1, args[i]);
    std::vector<StoredRow> rows;
    const int n = int(m_schema.columns.size());
    try {
        while (st.step()) {
            StoredRow row;
            row.rowid = st.columnInt64(0);
            row.values.reserve(n);
            for (int i = 0; i < n; ++i)
                row.values.append(st.column(i + 1, m_schema.columns[size_t(i)].type));
            rows.push_back(std::move(row));
        }
    } catch (const StoreError& e) {
        throw StoreError(QStringLiteral("Cannot read the table file \"%1\": %2.")
                             .arg(shown(m_path), e.message()));
    }
    st.reset();
    return rows;
}

const std::vector<StoredRow>& TableFile::snapshot() {
    if (m_snapshotGeneration != m_generation) {
        m_snapshot = select();
        m_keyIndexes.clear();
        m_snapshotGeneration = m_generation;
    }
    return m_snapshot;
}

const QHash<QString, int>& TableFile::keyIndex(int keyColumn) {
    const std::vector<StoredRow>& rows = snapshot();
    auto it = m_keyIndexes.find(keyColumn);
    if (it == m_keyIndexes.end()) {
        QHash<QString, int> index;
        for (size_t i = 0; i < rows.size(); ++i) {
            const QVariant& key = rows[i].values[keyColumn];
            if (!key.isNull() && !index.contains(key.toString()))
                index.insert(key.toString(), int(i));
        }
        it = m_keyIndexes.emplace(keyColumn, std::move(index)).first;
    }
    return it->second;
}

QVariant TableFile::lookupFirst(int keyColumn, const QString& key, int resultColumn) {
    const ColumnDef& k = m_schema.columns[size_t(keyColumn)];
    const ColumnDef& r = m_schema.columns[size_t(resultColumn)];
    // NOCASE finds the candidates through the index; the exact comparison picks among them.
    Statement& st = statement(QStringLiteral("lookup:%1:%2").arg(keyColumn).arg(resultColumn), [&] {
        return QStringLiteral("SELECT %1, %2 FROM %3.%4 WHERE %1 = ?1 COLLATE NOCASE ORDER BY rowid")
            .arg(quoted(k.name), quoted(r.name), quoted(m_schemaName), quoted(m_schema.name));
    });
    st.bind(1, key);
    QVariant result;
    while (st.step()) {
        if (st.columnText(0) == key) {
            result = st.column(1, r.type);
            break;
        }
    }
    st.reset();
    return result;
}

void TableFile::bindRow(Statement& st, const QList<QVariant>& values) {
    for (size_t i = 0; i < m_schema.columns.size(); ++i) {
        const ColumnDef& c = m_schema.columns[i];
        QVariant v = int(i) < values.size() ? values[int(i)] : QVariant();
        // Text is stored cut to its column, never spilling into another one.
        if (c.type == ColumnType::Text && v.isValid() && !v.isNull() && c.width > 0)
            v = v.toString().left(c.width);
        st.bind(int(i) + 1, v);
    }
}

void TableFile::beforeWrite() {
    if (m_db.beforeWrite)
        m_db.beforeWrite(m_schema.name);
}

void TableFile::writeFailed(const StoreError& e) {
    const int code = sqlite3_extended_errcode(m_db.handle());
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY) {
        QStringList fields;
        for (const IndexDef& ix : m_schema.indexes)
            if (ix.unique)
                fields = ix.columns;
        throw StoreError(QStringLiteral("Key violation: another row of %1 has the same %2.")
                             .arg(m_schema.name, fields.join(QStringLiteral(" and "))));
    }
    throw StoreError(QStringLiteral("Cannot write to the table file \"%1\": %2.")
                         .arg(shown(m_path), e.message()));
}

qint64 TableFile::insert(const QList<QVariant>& values) {
    beforeWrite();
    Statement& st = statement(QStringLiteral("insert"), [&] {
        QStringList cols, marks;
        for (size_t i = 0; i < m_schema.columns.size(); ++i) {
            cols << quoted(m_schema.columns[i].name);
            marks << QStringLiteral("?%1").arg(i + 1);
        }
        return QStringLiteral("INSERT INTO %1.%2 (%3) VALUES (%4)")
            .arg(quoted(m_schemaName), quoted(m_schema.name), cols.join(", "), marks.join(", "));
    });
    try {
        bindRow(st, values);
        st.step();
    } catch (const StoreError& e) {
        writeFailed(e);
    }
    ++m_generation;
    return sqlite3_last_insert_rowid(m_db.handle());
}

void TableFile::update(qint64 rowid, const QList<QVariant>& values) {
    beforeWrite();
    const int idx = int(m_schema.columns.size()) + 1;
    Statement& st = statement(QStringLiteral("update"), [&] {
        QStringList sets;
        for (size_t i = 0; i < m_schema.columns.size(); ++i)
            sets << QStringLiteral("%1 = ?%2").arg(quoted(m_schema.columns[i].name)).arg(i + 1);
        return QStringLiteral("UPDATE %1.%2 SET %3 WHERE rowid = ?%4")
            .arg(quoted(m_schemaName), quoted(m_schema.name), sets.join(", "))
            .arg(idx);
    });
    try {
        bindRow(st, values);
        st.bind(idx, QVariant(rowid));
        st.step();
    } catch (const StoreError& e) {
        writeFailed(e);
    }
    ++m_generation;
}

void TableFile::remove(qint64 rowid) {
    beforeWrite();
    Statement& st = statement(QStringLiteral("delete"), [&] {
        return QStringLiteral("DELETE FROM %1.%2 WHERE rowid = ?1").arg(quoted(m_schemaName), quoted(m_schema.name));
    });
    try {
        st.bind(1, QVariant(rowid));
        st.step();
    } catch (const StoreError& e) {
        writeFailed(e);
    }
    ++m_generation;
}

// ---------------------------------------------------------------------------------------------
Database::Database(const QString& folder) : m_folder(QDir(folder).absolutePath()) {
    const QFileInfo info(m_folder);
    if (!info.exists() || !info.isDir())
        throw StoreError(
            QStringLiteral("The table folder \"%1\" does not exist.").arg(shown(m_folder)));
    // The lock both keeps a second copy of the program away and proves the folder writable,
    // which SQLite needs for its journal, before the user's first edit.
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(QStringLiteral("Kalvora.lock")));
    m_lock->setStaleLockTime(0); // stale only when its owner process is gone
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            throw StoreError(QStringLiteral("The tables in \"%1\" are in use by another copy of "
                                            "Kalvora. Close that copy first.")
                                 .arg(shown(m_folder)));
        throw StoreError(QStringLiteral("The table folder \"%1\" cannot be written. Kalvora needs "
                                        "to write its tables there.")
                             .arg(shown(m_folder)));
    }
}

Database::~Database() {
    // Views are closed by their owners first; what is still pending is dropped, as at any end.
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
        const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        SqlitePtr db(raw);
        if (rc != SQLITE_OK)
            cannotOpen(path, QString::fromUtf8(sqlite3_errmsg(raw)));
        sqlite3_busy_timeout(db.get(), 2000);
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
            cannotOpen(path, e.message());
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
    try {
        Statement check(db, QStringLiteral("PRAGMA %1.quick_check(1)").arg(s));
        const QString result = check.step() ? check.columnText(0) : QString();
        if (result != QLatin1String("ok"))
            cannotOpen(path, QStringLiteral("the file is damaged (%1)").arg(result));
    } catch (const StoreError& e) {
        if (e.message().startsWith(QLatin1String("Cannot open")))
            throw;
        const int code = sqlite3_errcode(db);
        if (code == SQLITE_NOTADB)
            cannotOpen(path, QStringLiteral("it is not a table file"));
        if (code == SQLITE_CORRUPT)
            cannotOpen(path, QStringLiteral("the file is damaged"));
        cannotOpen(path, e.message());
    }

    std::vector<std::pair<QString, QString>> found;
    Statement info(db, QStringLiteral("PRAGMA %1.table_info(%2)").arg(s, quoted(schema.name)));
    while (info.step())
        found.emplace_back(info.columnText(1), info.columnText(2).toUpper());
    if (found.empty())
        cannotOpen(path, QStringLiteral("it holds no table %1").arg(schema.name));
    bool same = found.size() == schema.columns.size();
    for (size_t i = 0; same && i < found.size(); ++i)
        same = found[i].first.compare(schema.columns[i].name, Qt::CaseInsensitive) == 0 &&
               found[i].second == TableSchema::sqlType(schema.columns[i].type);
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

    // A posted row is on disk when the post returns: rollback journal, full sync.
    sqliteExec(db, QStringLiteral("PRAGMA %1.journal_mode = DELETE").arg(s));
    sqliteExec(db, QStringLiteral("PRAGMA %1.synchronous = FULL").arg(s));
}

void Database::begin() {
    if (m_depth == 0 && m_db)
        sqliteExec(m_db.get(), QStringLiteral("BEGIN IMMEDIATE")); // a refusal leaves no depth
    if (m_depth++ == 0 && m_db) {
        ++m_serial;
        m_generationAtBegin.clear();
        for (auto& [name, file] : m_tables)
            m_generationAtBegin[file.get()] = file->generation();
    }
}

void Database::commit() {
    if (m_depth == 0)
        return; // rolled back underneath by an inner failure
    if (--m_depth == 0 && m_db && !sqlite3_get_autocommit(m_db.get())) {
        try {
            sqliteExec(m_db.get(), QStringLiteral("COMMIT"));
        } catch (const StoreError& e) {
            ++m_depth;
            rollback();
            throw StoreError(QStringLiteral("Cannot store the changes: %1.").arg(e.message()));
        }
    }
}

void Database::rollback() {
    if (m_depth == 0)
        return;
    m_depth = 0;
    const quint64 undone = m_serial;
    if (m_db && !sqlite3_get_autocommit(m_db.get()))
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    // Views of the tables written meanwhile may be ahead of their files: they read them again,
    // and so do views holding a pending row begun by the undone work. Other views keep what
    // they hold, a pending edit of the user's included.
    std::vector<TableFile*> written;
    for (auto& [name, file] : m_tables) {
        const auto it = m_generationAtBegin.find(file.get());
        if (it == m_generationAtBegin.end() || it->second != file->generation()) {
            file->invalidate();
            written.push_back(file.get());
        }
    }
    const std::vector<Table*> views = m_views;
    for (Table* v : views)
        if (std::find(written.begin(), written.end(), v->file()) != written.end() ||
            v->pendingSince() == undone) {
            // The first error is the one the user reads; one raised while re-reading is dropped.
            try {
                v->resyncAfterRollback();
            } catch (...) {
            }
        }
}

void Database::registerView(Table* view) { m_views.push_back(view); }

void Database::unregisterView(Table* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void Database::rowDeleted(TableFile* file, qint64 rowid, Table* origin) {
    for (Table* v : m_views)
        if (v != origin)
            v->rowDeletedElsewhere(file, rowid);
}
