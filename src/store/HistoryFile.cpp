#include "HistoryFile.h"

#include "VersionCoding.h"
#include "components/Database.h"
#include "components/Sqlite.h"
#include "components/StoreError.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <algorithm>

namespace {

const char* const kFileName = "History.adt";

// Readable by any SQLite client: the lineages, and each version with its date, action, user and
// note in columns; only the recipe itself is packed (see VersionCoding).
const char* const kSchema[] = {
    "CREATE TABLE Lineages(Lineage INTEGER PRIMARY KEY, Subject TEXT NOT NULL, RowKey INTEGER, "
    "Name TEXT NOT NULL, Deleted INTEGER NOT NULL DEFAULT 0, DeletedAt TEXT)",
    "CREATE INDEX LineagesByRow ON Lineages(Subject, RowKey, Deleted)",
    "CREATE TABLE Versions(Id INTEGER PRIMARY KEY, Lineage INTEGER NOT NULL, Name TEXT NOT NULL, "
    "Stamp TEXT NOT NULL, Action TEXT NOT NULL, Login TEXT NOT NULL, Note TEXT NOT NULL DEFAULT '', "
    "Burst TEXT, Chain INTEGER NOT NULL DEFAULT 0, Content BLOB NOT NULL, Open INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX VersionsByLineage ON Versions(Lineage, Id)",
};

QString subjectWord(HistoryFile::Subject s) {
    return s == HistoryFile::Subject::Recipe ? QStringLiteral("Recipe") : QStringLiteral("Material");
}

// A new history file, whole or not at all: written under another name, then moved in place.
void create(const QString& path) {
    const QString part = path + QStringLiteral(".new");
    QFile::remove(part);
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(part).constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    SqlitePtr db(raw);
    if (rc != SQLITE_OK)
        throw StoreError(sqliteProblem(rc), rc);
    sqliteExec(db.get(), QStringLiteral("BEGIN"));
    for (const char* sql : kSchema)
        sqliteExec(db.get(), QString::fromLatin1(sql));
    sqliteExec(db.get(), QStringLiteral("COMMIT"));
    db.reset();
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        throw StoreError(QStringLiteral("it cannot be put in place"));
    }
}

} // namespace

HistoryFile::HistoryFile(Database& db) : m_db(db) { open(); }

HistoryFile::~HistoryFile() {
    if (m_attached && !m_db.inTransaction())
        sqlite3_exec(m_db.handle(), "DETACH DATABASE History", nullptr, nullptr, nullptr);
}

QString HistoryFile::path() const { return QDir(m_db.folder()).filePath(QString::fromLatin1(kFileName)); }

void HistoryFile::open() {
    const QString file = path();
    try {
        if (!QFile::exists(file))
            create(file);
        if (!m_attached) {
            Statement attach(m_db.handle(), QStringLiteral("ATTACH DATABASE ?1 AS History"));
            attach.bind(1, QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + "?mode=rw");
            attach.step();
            m_attached = true;
        }
        Statement tables(m_db.handle(),
                         QStringLiteral("SELECT count(*) FROM History.sqlite_master WHERE type = 'table' AND "
                                        "name IN ('Lineages', 'Versions')"));
        if (!tables.step() || tables.columnInt64(0) != 2)
            throw StoreError(QStringLiteral("it holds no recipe history"));
        bool hasOpen = false;
        Statement columns(m_db.handle(), QStringLiteral("PRAGMA History.table_info(Versions)"));
        while (columns.step())
            hasOpen |= columns.columnText(1) == QLatin1String("Open");
        if (sqlite3_db_readonly(m_db.handle(), "History") == 1)
            throw StoreError(QStringLiteral("the file is read-only"));
        sqliteExec(m_db.handle(), QStringLiteral("PRAGMA History.journal_mode = DELETE"));
        sqliteExec(m_db.handle(), QStringLiteral("PRAGMA History.synchronous = FULL"));
        if (!hasOpen)
            sqliteExec(m_db.handle(),
                       QStringLiteral("ALTER TABLE History.Versions ADD COLUMN Open INTEGER NOT NULL DEFAULT 0"));
        m_problem.clear();
    } catch (const StoreError& e) {
        const QString why = e.sqliteCode() ? sqliteProblem(e.sqliteCode()) : e.message();
        turnOff(QStringLiteral("The recipe history \"%1\" cannot be used: %2. Kalvora goes on without "
                               "recording versions.")
                    .arg(QDir::toNativeSeparators(file), why));
    }
}

void HistoryFile::turnOff(const QString& why) {
    m_problem = why.isEmpty() ? QStringLiteral("The recipe history is off.") : why;
}

bool HistoryFile::tryAgain() {
    if (m_attached && !m_db.inTransaction()) {
        sqlite3_exec(m_db.handle(), "DETACH DATABASE History", nullptr, nullptr, nullptr);
        m_attached = false;
    }
    open();
    return isOn();
}

namespace {
HistoryFile::Lineage lineageFrom(const Statement& st) {
    return {st.columnInt64(0), st.columnText(1), st.columnInt64(2) != 0, st.columnText(3)};
}
} // namespace

std::optional<HistoryFile::Lineage> HistoryFile::lineageOfRow(Subject subject, qint64 rowKey) {
    return lineageOn(subject, rowKey, false);
}

std::optional<HistoryFile::Lineage> HistoryFile::deletedLineageOfRow(Subject subject, qint64 rowKey) {
    return lineageOn(subject, rowKey, true);
}

std::optional<HistoryFile::Lineage> HistoryFile::lineageOn(Subject subject, qint64 rowKey, bool deleted) {
    // Of two deleted on one row, the last deleted; of two live (never made so), the last made.
    Statement st(m_db.handle(), QStringLiteral("SELECT Lineage, Name, Deleted, DeletedAt FROM History.Lineages "
                                               "WHERE Subject = ?1 AND RowKey = ?2 AND Deleted = ?3 "
                                               "ORDER BY DeletedAt DESC, Lineage DESC LIMIT 1"));
    st.bind(1, subjectWord(subject));
    st.bind(2, rowKey);
    st.bind(3, deleted ? 1 : 0);
    if (!st.step())
        return std::nullopt;
    return lineageFrom(st);
}

qint64 HistoryFile::newLineage(Subject subject, qint64 rowKey, const QString& name) {
    Statement st(m_db.handle(), QStringLiteral("INSERT INTO History.Lineages(Subject, RowKey, Name) "
                                                    "VALUES (?1, ?2, ?3)"));
    st.bind(1, subjectWord(subject));
    st.bind(2, rowKey);
    st.bind(3, name);
    st.step();
    return sqlite3_last_insert_rowid(m_db.handle());
}

void HistoryFile::moveLineage(qint64 lineage, qint64 rowKey, const QString& name, bool deleted) {
    Statement st(m_db.handle(), QStringLiteral("UPDATE History.Lineages SET RowKey = ?2, Name = ?3, Deleted = ?4, "
                                                     "DeletedAt = CASE WHEN ?4 THEN datetime('now', 'localtime') END "
                                                     "WHERE Lineage = ?1"));
    st.bind(1, lineage);
    st.bind(2, rowKey);
    st.bind(3, name);
    st.bind(4, deleted ? 1 : 0);
    st.step();
}

std::vector<HistoryFile::Lineage> HistoryFile::deletedRecipes() {
    std::vector<Lineage> out;
    Statement st(m_db.handle(), QStringLiteral("SELECT Lineage, Name, Deleted, DeletedAt FROM History.Lineages "
                                                        "WHERE Subject = 'Recipe' AND Deleted = 1 "
                                                        "ORDER BY DeletedAt DESC, Lineage DESC"));
    while (st.step())
        out.push_back(lineageFrom(st));
    return out;
}

namespace {
const char* const kVersionColumns = "Id, Lineage, Name, Stamp, Action, Login, Note, ifnull(Burst, ''), Chain, Open";
HistoryFile::Version versionFrom(const Statement& st) {
    return {st.columnInt64(0), st.columnInt64(1), st.columnText(2), st.columnText(3), st.columnText(4),
            st.columnText(5),  st.columnText(6),  st.columnText(7), int(st.columnInt64(8)), st.columnInt64(9) != 0};
}
} // namespace

std::optional<HistoryFile::Version> HistoryFile::latest(qint64 lineage) {
    Statement st(m_db.handle(), QStringLiteral("SELECT %1 FROM History.Versions WHERE Lineage = ?1 "
                                                       "ORDER BY Id DESC LIMIT 1")
                                            .arg(QLatin1String(kVersionColumns)));
    st.bind(1, lineage);
    if (!st.step())
        return std::nullopt;
    return versionFrom(st);
}

qint64 HistoryFile::append(const Version& v, const QByteArray& content) {
    Statement st(m_db.handle(), QStringLiteral("INSERT INTO History.Versions(Lineage, Name, Stamp, Action, "
                                                       "Login, Note, Burst, Chain, Content, Open) "
                                                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"));
    st.bind(1, v.lineage);
    st.bind(2, v.name);
    st.bind(3, v.stamp);
    st.bind(4, v.action);
    st.bind(5, v.login);
    st.bind(6, v.note);
    st.bind(7, v.burst.isEmpty() ? QVariant() : QVariant(v.burst));
    st.bind(8, v.chain);
    st.bind(9, content);
    st.bind(10, v.open ? 1 : 0);
    st.step();
    return sqlite3_last_insert_rowid(m_db.handle());
}

void HistoryFile::close(qint64 id, const QString& stamp, const QByteArray& content) {
    Statement st(m_db.handle(), QStringLiteral("UPDATE History.Versions SET Stamp = ?2, Content = ?3, Open = 0 WHERE Id = ?1"));
    st.bind(1, id);
    st.bind(2, stamp);
    st.bind(3, content);
    st.step();
}

std::vector<HistoryFile::Version> HistoryFile::openVersions() {
    std::vector<Version> out;
    Statement st(m_db.handle(), QStringLiteral("SELECT %1 FROM History.Versions WHERE Open = 1 ORDER BY Id")
                                    .arg(QLatin1String(kVersionColumns)));
    while (st.step())
        out.push_back(versionFrom(st));
    return out;
}

std::optional<qint64> HistoryFile::rowKeyOf(qint64 lineage) {
    Statement st(m_db.handle(), QStringLiteral("SELECT RowKey FROM History.Lineages WHERE Lineage = ?1 AND Deleted = 0"));
    st.bind(1, lineage);
    if (!st.step())
        return std::nullopt;
    return st.columnInt64(0);
}

std::optional<qint64> HistoryFile::previous(qint64 id) {
    Statement st(m_db.handle(), QStringLiteral("SELECT max(Id) FROM History.Versions WHERE Id < ?1 AND Lineage = "
                                               "(SELECT Lineage FROM History.Versions WHERE Id = ?1)"));
    st.bind(1, id);
    if (!st.step() || st.columnInt64(0) == 0)
        return std::nullopt;
    return st.columnInt64(0);
}

void HistoryFile::setNote(qint64 id, const QString& note) {
    Statement st(m_db.handle(), QStringLiteral("UPDATE History.Versions SET Note = ?2 WHERE Id = ?1"));
    st.bind(1, id);
    st.bind(2, note);
    st.step();
}

std::vector<HistoryFile::Version> HistoryFile::versions(qint64 lineage) {
    std::vector<Version> out;
    Statement st(m_db.handle(), QStringLiteral("SELECT %1 FROM History.Versions WHERE Lineage = ?1 "
                                                         "ORDER BY Id DESC")
                                              .arg(QLatin1String(kVersionColumns)));
    st.bind(1, lineage);
    while (st.step())
        out.push_back(versionFrom(st));
    return out;
}

std::optional<Recipe> HistoryFile::recipeAt(qint64 id) {
    // Back to the key version, then forwards through the differences.
    std::vector<QByteArray> chain;
    Statement st(m_db.handle(), QStringLiteral("SELECT Content, Chain FROM History.Versions WHERE "
                                                      "Lineage = (SELECT Lineage FROM History.Versions WHERE Id = ?1) "
                                                      "AND Id <= ?1 ORDER BY Id DESC"));
    st.bind(1, id);
    while (st.step()) {
        chain.push_back(st.columnBlob(0));
        if (st.columnInt64(1) == 0)
            break;
    }
    std::optional<Recipe> r;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        r = VersionCoding::decode(*it, r ? &*r : nullptr);
        if (!r)
            return std::nullopt;
    }
    return r;
}

std::vector<std::pair<HistoryFile::Version, Recipe>> HistoryFile::recipesOf(qint64 lineage) {
    std::vector<std::pair<Version, Recipe>> out;
    Statement st(m_db.handle(), QStringLiteral("SELECT %1, Content FROM History.Versions WHERE Lineage = ?1 ORDER BY Id")
                                    .arg(QLatin1String(kVersionColumns)));
    st.bind(1, lineage);
    const Recipe* previous = nullptr;
    while (st.step()) {
        Version v = versionFrom(st);
        // A version that cannot be read is left out; the ones after it that differ from it too.
        std::optional<Recipe> r = VersionCoding::decode(st.columnBlob(10), v.chain > 0 ? previous : nullptr);
        if (!r) {
            previous = nullptr;
            continue;
        }
        out.emplace_back(std::move(v), std::move(*r));
        previous = &out.back().second;
    }
    std::reverse(out.begin(), out.end());
    return out;
}
