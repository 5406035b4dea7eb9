#include "HistoryRecorder.h"

#include "components/Sqlite.h"
#include "components/StoreError.h"
#include "components/TextKey.h"
#include "store/StoredHeaders.h"
#include "store/StoredLines.h"
#include "store/StoredRecipes.h"
#include "store/Tables.h"
#include "store/VersionCoding.h"

#include <QDateTime>
#include <QDir>
#include <algorithm>
#include <set>

namespace {

QString nameOf(const RowValues& row, int typeColumn, int codeColumn) {
    return row.text(typeColumn) + u'/' + row.text(codeColumn);
}
QString folded(const QString& name) { return TextKey::fold(name); }

// The batch pass's columns of a line: written over every line by any change, no one's typing.
quint32 batchColumns() {
    const TableSchema& s = Tables::recipes();
    quint32 mask = 0;
    for (const char* c : {"Charge", "Percent", "Cost"})
        mask |= 1u << s.columnIndex(QLatin1String(c));
    return mask;
}

// A recipe whose header and lines an action removed, as they were.
Recipe recipeOf(const RowValues& header, std::vector<StoredLines::Row> lines) {
    Recipe r;
    r.header = StoredHeaders::headerOf(header);
    std::stable_sort(lines.begin(), lines.end(), StoredLines::before);
    for (const StoredLines::Row& l : lines)
        r.lines.push_back(l.line);
    return r;
}

// The recipe now stored as `row` with lines on `lineRows` (in order), as it stood before
// `changes`: what the action wrote to its header and its lines taken back.
Recipe recipeBefore(const Recipe& now, qint64 row, const std::vector<qint64>& lineRows, const ChangeSet& changes) {
    const TableSchema& info = Tables::batchInfo();
    const TableSchema& lines = Tables::recipes();
    const int hType = info.columnIndex(QStringLiteral("BatchType")), hCode = info.columnIndex(QStringLiteral("BatchCode"));
    const int lType = lines.columnIndex(QStringLiteral("BatchType")), lCode = lines.columnIndex(QStringLiteral("BatchCode"));
    Recipe before;
    before.header = now.header;
    std::set<QString> names{folded(now.header.type + u'/' + now.header.code)};
    // A row written several times in the action was, before it, as its first change found it.
    for (const RowChange& c : changes)
        if (c.file->schema().name == info.name && c.rowid == row) {
            if (c.before) {
                before.header = StoredHeaders::headerOf(*c.before);
                names.insert(folded(nameOf(*c.before, hType, hCode)));
            }
            break;
        }
    std::map<qint64, Line> byRow;
    for (size_t i = 0; i < now.lines.size() && i < lineRows.size(); ++i)
        byRow[lineRows[i]] = now.lines[i];
    std::set<qint64> seen;
    for (const RowChange& c : changes) {
        if (c.file->schema().name != lines.name || !seen.insert(c.rowid).second)
            continue;
        const bool was = c.before && names.count(folded(nameOf(*c.before, lType, lCode)));
        const bool is = c.after && names.count(folded(nameOf(*c.after, lType, lCode)));
        if (was)
            byRow[c.rowid] = StoredLines::lineOf(*c.before);
        else if (is)
            byRow.erase(c.rowid);
    }
    // In the order the lines are read: unnumbered first, then by number, then as stored.
    std::vector<std::pair<qint64, Line>> ordered(byRow.begin(), byRow.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        if (a.second.item.has_value() != b.second.item.has_value())
            return !a.second.item.has_value();
        if (a.second.item != b.second.item)
            return *a.second.item < *b.second.item;
        return a.first < b.first;
    });
    for (auto& [rowid, line] : ordered)
        before.lines.push_back(std::move(line));
    return before;
}

} // namespace

HistoryRecorder::HistoryRecorder(Database& db, StoredRecipes& recipes, QObject* parent)
    : QObject(parent), m_db(db), m_recipes(recipes), m_file(db) {
    m_db.finishing = [this](const ChangeSet& changes, const QString& name, bool typed) {
        return record(changes, name, typed);
    };
    m_db.finishingFailed = [this](int code) {
        m_last.clear();
        fail(sqliteProblem(code));
    };
    // Between actions, where a file may be attached: a history that failed is tried again a while
    // later.
    if (!m_file.isOn())
        m_offAt = QDateTime::currentDateTime(); // a file refused at the start is tried again too
    closeLeftOpen();
    m_listener = m_db.whenFilesChange([this] {
        settle();
        const QDateTime at = clock ? clock() : QDateTime::currentDateTime();
        if (!m_file.isOn() && m_offAt.isValid() && m_offAt.secsTo(at) >= kRetrySeconds && !m_db.inTransaction()) {
            m_offAt = at;
            if (m_file.tryAgain()) {
                m_told = false;
                closeLeftOpen();
            }
        }
    });
}

std::vector<HistoryFile::Version> HistoryRecorder::versions(qint64 lineage) {
    std::vector<HistoryFile::Version> all = m_file.versions(lineage);
    if (m_burst && !all.empty() && all.front().id == m_burst->version)
        all.front().stamp = m_burst->last.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    return all;
}

std::optional<Recipe> HistoryRecorder::recipeAt(qint64 version) {
    if (m_burst && version == m_burst->version)
        return m_burst->recipe;
    return m_file.recipeAt(version);
}

std::vector<std::pair<HistoryFile::Version, Recipe>> HistoryRecorder::recipesOf(qint64 lineage) {
    std::vector<std::pair<HistoryFile::Version, Recipe>> all = m_file.recipesOf(lineage);
    if (m_burst && !all.empty() && all.front().first.id == m_burst->version) {
        all.front().first.stamp = m_burst->last.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        all.front().second = m_burst->recipe;
    }
    return all;
}

std::optional<qint64> HistoryRecorder::lineageOf(const QString& type, const QString& code) {
    qint64 row = 0;
    if (!m_file.isOn() || !m_recipes.loadKeyed(type, code, &row, nullptr))
        return std::nullopt;
    const std::optional<HistoryFile::Lineage> lineage = m_file.lineageOfRow(HistoryFile::Subject::Recipe, row);
    return lineage ? std::optional<qint64>(lineage->id) : std::nullopt;
}

void HistoryRecorder::settle() {
    m_continue = 0;
    if (!m_before)
        return;
    if (m_db.commitCount() == m_before->commits) {
        // Not stored: neither are the versions it wrote, whose ids the next may take again.
        m_burst = std::move(m_before->burst);
        m_last.clear();
    }
    m_before.reset();
}

HistoryRecorder::~HistoryRecorder() {
    m_db.finishing = nullptr;
    m_db.finishingFailed = nullptr;
    m_db.stopListening(m_listener);
}

QString HistoryRecorder::login() {
    for (const char* var : {"USER", "LOGNAME", "USERNAME"})
        if (const QString name = qEnvironmentVariable(var); !name.isEmpty())
            return name;
    // A session started without them (a service, a bare terminal): the home folder's name.
    if (const QString home = QDir::home().dirName(); !home.isEmpty())
        return home;
    return QStringLiteral("unknown");
}

QString HistoryRecorder::now() const {
    return (clock ? clock() : QDateTime::currentDateTime()).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

int HistoryRecorder::record(const ChangeSet& changes, const QString& name, bool typed) {
    if (!m_file.isOn())
        return SQLITE_OK;
    const QString action = name.isEmpty() ? QStringLiteral("Change") : name;
    m_before = Before{m_db.commitCount(), m_burst};
    // The commonest action writes nothing here: typing on in the line of the open burst.
    if (continuesBurst(changes, action, typed))
        return SQLITE_OK;
    sqlite3* db = m_db.handle();
    try {
        sqliteExec(db, QStringLiteral("SAVEPOINT history"));
    } catch (const StoreError& e) {
        fail(sqliteProblem(e.sqliteCode()));
        return sqlite3_get_autocommit(db) ? e.sqliteCode() : SQLITE_OK;
    }
    try {
        recordAll(changes, action, typed);
        sqliteExec(db, QStringLiteral("RELEASE history"));
        return SQLITE_OK;
    } catch (const StoreError& e) {
        // What the history wrote goes; the tables' change stays and is committed without it.
        m_last.clear();
        m_burst = m_before->burst;
        if (!sqlite3_get_autocommit(db)) {
            sqlite3_exec(db, "ROLLBACK TO history", nullptr, nullptr, nullptr);
            sqlite3_exec(db, "RELEASE history", nullptr, nullptr, nullptr);
        }
        fail(e.sqliteCode() ? sqliteProblem(e.sqliteCode()) : e.message());
        return sqlite3_get_autocommit(db) ? std::max(e.sqliteCode(), int(SQLITE_IOERR)) : SQLITE_OK;
    }
}

bool HistoryRecorder::continuesBurst(const ChangeSet& changes, const QString& action, bool typed) {
    if (!m_burst || !typed || action != m_burst->action)
        return false;
    const QDateTime at = clock ? clock() : QDateTime::currentDateTime();
    if (m_burst->last.secsTo(at) >= kBurstSeconds)
        return false;
    const TableSchema& info = Tables::batchInfo();
    const TableSchema& lines = Tables::recipes();
    const int date = info.columnIndex(QStringLiteral("Date"));
    const quint32 batch = batchColumns();
    const RowValues* typedRow = nullptr;
    for (const RowChange& c : changes) {
        if (!c.before || !c.after)
            return false;
        const QString& table = c.file->schema().name;
        if (table == info.name) {
            for (int col = 0; col < int(info.columns.size()); ++col)
                if (col != date && !c.before->sameAt(col, *c.after))
                    return false;
        } else if (table == lines.name) {
            bool own = false;
            for (int col = 0; col < int(lines.columns.size()) && !own; ++col)
                own = !(batch & (1u << col)) && !c.before->sameAt(col, *c.after);
            if (!own)
                continue; // the batch pass's upkeep
            if (c.rowid != m_burst->line)
                return false;
            typedRow = &*c.after;
        } else {
            return false;
        }
    }
    const auto at_ = std::find(m_burst->rows.begin(), m_burst->rows.end(), m_burst->line);
    if (!typedRow || at_ == m_burst->rows.end())
        return false;
    Line& line = m_burst->recipe.lines[size_t(at_ - m_burst->rows.begin())];
    const Line typedLine = StoredLines::lineOf(*typedRow);
    if (typedLine.item != line.item || typedLine.code != line.code)
        return false; // a line moved or another material: not the same typing
    line = typedLine;
    m_burst->last = at;
    return true;
}

void HistoryRecorder::closeBurst() {
    if (!m_burst)
        return;
    const Burst& b = *m_burst;
    m_file.close(b.version, b.last.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
                 VersionCoding::encode(b.recipe, b.base ? &*b.base : nullptr));
    m_last[b.lineage] = Last{b.version, b.recipe, b.base};
    m_burst.reset();
}

void HistoryRecorder::closeLeftOpen() {
    if (!m_file.isOn())
        return;
    sqlite3* db = m_db.handle();
    try {
        const std::vector<HistoryFile::Version> open = m_file.openVersions();
        if (open.empty())
            return;
        sqliteExec(db, QStringLiteral("BEGIN"));
        TableFile& headers = m_db.table(Tables::batchInfo());
        for (const HistoryFile::Version& v : open) {
            // Nothing changed the recipe after its burst but what would have closed it: the
            // tables hold the burst's end.
            std::optional<Recipe> now;
            if (const std::optional<qint64> row = m_file.rowKeyOf(v.lineage)) {
                const std::vector<RowPtr> header = headers.select(QStringLiteral("rowid = ?1"), {*row});
                if (!header.empty()) {
                    const RecipeHeader h = StoredHeaders::headerOf(header.front()->values);
                    now = m_recipes.load(h.type, h.code);
                }
            }
            std::optional<Recipe> base;
            if (v.chain > 0)
                if (const std::optional<qint64> before = m_file.previous(v.id))
                    base = m_file.recipeAt(*before);
            if (!now)
                now = m_file.recipeAt(v.id); // as the burst began
            if (!now || (v.chain > 0 && !base))
                continue;
            m_file.close(v.id, v.stamp, VersionCoding::encode(*now, base ? &*base : nullptr));
        }
        sqliteExec(db, QStringLiteral("COMMIT"));
    } catch (const StoreError& e) {
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        fail(e.sqliteCode() ? sqliteProblem(e.sqliteCode()) : e.message());
    }
}

void HistoryRecorder::fail(const QString& why) {
    m_file.turnOff(QStringLiteral("The recipe history \"%1\" cannot be written: %2. Kalvora goes on without "
                                  "recording versions, and tries again in a few minutes.")
                       .arg(QDir::toNativeSeparators(m_file.path()), why));
    if (!m_told) {
        m_told = true;
        emit problem(m_file.problem());
    }
    m_offAt = clock ? clock() : QDateTime::currentDateTime();
    // Whatever is typed while the history is off is not followed: an open version is closed
    // from the tables once the history works again.
    m_burst.reset();
}

void HistoryRecorder::recordAll(const ChangeSet& changes, const QString& action, bool typed) {
    closeBurst();
    const TableSchema& info = Tables::batchInfo();
    const TableSchema& lines = Tables::recipes();
    const int hType = info.columnIndex(QStringLiteral("BatchType")), hCode = info.columnIndex(QStringLiteral("BatchCode")),
              hDate = info.columnIndex(QStringLiteral("Date"));
    const int lType = lines.columnIndex(QStringLiteral("BatchType")), lCode = lines.columnIndex(QStringLiteral("BatchCode"));
    const quint32 batch = batchColumns();

    struct Gone {
        qint64 rowid = 0;
        RowValues header;
        std::vector<StoredLines::Row> lines;
    };
    std::map<QString, Gone> removed;            // by folded name: headers deleted
    std::map<QString, qint64> inserted;         // by folded name: headers made
    std::set<QString> touched;                  // folded names of recipes written
    std::map<QString, QString> spelled;         // folded name: as written
    std::map<QString, std::set<qint64>> typedLines; // folded name: lines whose own parts changed
    std::vector<const RowChange*> materials;

    for (const RowChange& c : changes) {
        const QString table = c.file->schema().name;
        if (table == info.name) {
            if (c.before && c.after) {
                // Renamed or not, the lineage follows the header row. A new date alone is no
                // new version.
                bool kept = false;
                for (int col = 0; col < int(info.columns.size()) && !kept; ++col)
                    kept = col != hDate && !c.before->sameAt(col, *c.after);
                if (!kept)
                    continue;
                const QString to = nameOf(*c.after, hType, hCode);
                touched.insert(folded(to));
                spelled[folded(to)] = to;
            } else if (c.after) {
                const QString to = nameOf(*c.after, hType, hCode);
                inserted[folded(to)] = c.rowid;
                touched.insert(folded(to));
                spelled[folded(to)] = to;
            } else {
                const QString from = nameOf(*c.before, hType, hCode);
                removed[folded(from)] = Gone{c.rowid, *c.before, {}};
                spelled.try_emplace(folded(from), from);
            }
        } else if (table == lines.name) {
            // The batch pass's columns alone: the program's upkeep, no new version.
            bool own = !c.before || !c.after;
            for (int col = 0; col < int(lines.columns.size()) && !own; ++col)
                own = !(batch & (1u << col)) && !c.before->sameAt(col, *c.after);
            if (!own)
                continue;
            if (typed && c.before && c.after)
                typedLines[folded(nameOf(*c.after, lType, lCode))].insert(c.rowid);
            for (const std::optional<RowValues>* v : {&c.before, &c.after})
                if (*v) {
                    const QString n = nameOf(**v, lType, lCode);
                    touched.insert(folded(n));
                    spelled.try_emplace(folded(n), n);
                }
        } else if (table == Tables::rmLib().name) {
            materials.push_back(&c);
        }
    }
    // A deleted recipe's lines, gathered once every deleted header is known.
    for (auto& [key, gone] : removed) {
        for (const RowChange& c : changes)
            if (c.file->schema().name == lines.name && c.before && !c.after &&
                folded(nameOf(*c.before, lType, lCode)) == key)
                gone.lines.push_back(StoredLines::rowOf(c.rowid, *c.before));
    }

    for (const QString& key : touched) {
        const QString& name = spelled[key];
        const int slash = name.indexOf(u'/');
        qint64 row = 0;
        std::vector<qint64> rows;
        const std::optional<Recipe> recipe = m_recipes.loadKeyed(name.left(slash), name.mid(slash + 1), &row, &rows);
        if (!recipe)
            continue; // deleted: recorded below
        std::optional<HistoryFile::Lineage> lineage;
        std::optional<Recipe> replaced; // the recipe a save in place stored over
        if (m_continue && m_continueIn == m_db.lastTransaction() && inserted.count(key)) {
            // A deleted recipe stored again from its history: the history goes on.
            lineage = HistoryFile::Lineage{m_continue, QString(), true, QString()};
            m_continue = 0;
        } else if (auto gone = removed.find(key); gone != removed.end()) {
            // Stored again in place under its name (a save over it): the same recipe, on a new row.
            lineage = m_file.lineageOfRow(HistoryFile::Subject::Recipe, gone->second.rowid);
            replaced = recipeOf(gone->second.header, gone->second.lines);
            removed.erase(gone);
        } else if (inserted.count(key) && m_db.replayed()) {
            // An undone deletion: the recipe comes back on its row, with its history.
            lineage = m_file.deletedLineageOfRow(HistoryFile::Subject::Recipe, row);
        } else if (!inserted.count(key)) {
            lineage = m_file.lineageOfRow(HistoryFile::Subject::Recipe, row);
        }
        const QString shownName = recipe->header.type + u'/' + recipe->header.code;
        qint64 id = lineage ? lineage->id : m_file.newLineage(HistoryFile::Subject::Recipe, row, shownName);
        if (!lineage && (replaced || !inserted.count(key))) {
            // A recipe stored before its history began: its first version is what it was.
            const Recipe original = replaced ? *replaced : recipeBefore(*recipe, row, rows, changes);
            recordRecipe(id, original, QStringLiteral("Original"), 0, true, {}, original.header.date);
        }
        if (lineage && (lineage->deleted || lineage->name != shownName || inserted.count(key)))
            m_file.moveLineage(id, row, shownName, false);
        const std::set<qint64>& typedRows = typedLines[key];
        const qint64 burst = typed && typedRows.size() == 1 ? *typedRows.begin() : 0;
        // A return is a version too.
        recordRecipe(id, *recipe, action, burst, lineage && lineage->deleted, std::move(rows));
    }

    // Deleted recipes keep their history: their last version is the recipe as it went.
    for (auto& [key, gone] : removed) {
        std::optional<HistoryFile::Lineage> lineage = m_file.lineageOfRow(HistoryFile::Subject::Recipe, gone.rowid);
        const Recipe r = recipeOf(gone.header, gone.lines);
        const QString shownName = r.header.type + u'/' + r.header.code;
        const qint64 id = lineage ? lineage->id : m_file.newLineage(HistoryFile::Subject::Recipe, gone.rowid, shownName);
        recordRecipe(id, r, action, 0, true);
        m_file.moveLineage(id, gone.rowid, shownName, true);
    }

    for (const RowChange* c : materials) {
        const RowValues& row = c->after ? *c->after : *c->before;
        recordMaterial(c->rowid, row, action, !c->after);
    }
    m_continue = 0;
}

void HistoryRecorder::recordRecipe(qint64 lineage, const Recipe& recipe, const QString& action, qint64 burstRow,
                                   bool always, std::vector<qint64> lineRows, const QString& stamp) {
    const std::optional<HistoryFile::Version> latest = m_file.latest(lineage);
    auto cached = m_last.find(lineage);
    if (cached != m_last.end() && (!latest || cached->second.id != latest->id)) {
        m_last.erase(cached);
        cached = m_last.end();
    }
    if (latest && cached == m_last.end()) {
        // First written this session: the last version read back once.
        if (std::optional<Recipe> last = m_file.recipeAt(latest->id))
            cached = m_last.emplace(lineage, Last{latest->id, std::move(*last), std::nullopt}).first;
    }
    // The batch pass or a date alone: the last version holds it already.
    if (!always && latest && cached != m_last.end() && VersionCoding::sameKept(cached->second.recipe, recipe) &&
        latest->name == recipe.header.type + u'/' + recipe.header.code)
        return;
    HistoryFile::Version v;
    v.lineage = lineage;
    v.name = recipe.header.type + u'/' + recipe.header.code;
    v.stamp = stamp.isEmpty() ? now() : stamp;
    v.action = action;
    v.login = login();
    if (burstRow)
        v.burst = QStringLiteral("line %1").arg(burstRow);
    v.open = burstRow != 0;
    const bool key = !latest || cached == m_last.end() || latest->chain + 1 >= kKeyEvery;
    v.chain = key ? 0 : latest->chain + 1;
    const QByteArray content = VersionCoding::encode(recipe, key ? nullptr : &cached->second.recipe);
    const qint64 id = m_file.append(v, content);
    std::optional<Recipe> before;
    if (!key)
        before = std::move(cached->second.recipe);
    if (m_last.size() > 16)
        m_last.clear();
    if (burstRow)
        m_burst = Burst{lineage, id, burstRow, action, clock ? clock() : QDateTime::currentDateTime(), recipe,
                        std::move(lineRows), before};
    m_last[lineage] = Last{id, recipe, std::move(before)};
}

void HistoryRecorder::recordMaterial(qint64 rowKey, const RowValues& row, const QString& action, bool deletion) {
    const std::optional<HistoryFile::Lineage> lineage = m_file.lineageOfRow(HistoryFile::Subject::Material, rowKey);
    const QString code = row.text(Tables::rmLib().columnIndex(QStringLiteral("RMCode")));
    const qint64 id = lineage ? lineage->id : m_file.newLineage(HistoryFile::Subject::Material, rowKey, code);
    HistoryFile::Version v;
    v.lineage = id;
    v.name = code;
    v.stamp = now();
    v.action = action;
    v.login = login();
    m_file.append(v, VersionCoding::encodeRow(row));
    if (deletion || (lineage && lineage->name != code))
        m_file.moveLineage(id, rowKey, code, deletion);
}
