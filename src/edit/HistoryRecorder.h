#pragma once

#include "components/Database.h"
#include "domain/Recipe.h"
#include "store/HistoryFile.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

class StoredRecipes;

// Writes each stored action's versions into the history file, in the action's own transaction:
// the new version of every recipe it changed, the last version of one it deleted, and the record
// of every material it changed. A burst of typing in one line within a minute is one version.
//
// A history that cannot be written is turned off, said once, and tried again a while later;
// the tables' own change is stored all the same.
class HistoryRecorder : public QObject {
    Q_OBJECT
public:
    HistoryRecorder(Database& db, StoredRecipes& recipes, QObject* parent = nullptr);
    ~HistoryRecorder() override;

    HistoryFile& file() { return m_file; }
    // A lineage's versions, the newest first, and the recipe of one: an open burst's as its
    // typing left it.
    std::vector<HistoryFile::Version> versions(qint64 lineage);
    std::optional<Recipe> recipeAt(qint64 version);
    std::vector<std::pair<HistoryFile::Version, Recipe>> recipesOf(qint64 lineage);
    // The key version comes back every this many versions of a lineage.
    static constexpr int kKeyEvery = 32;
    // Typing into one line within this many seconds of its last version is that version.
    static constexpr int kBurstSeconds = 60;
    // When the history cannot be written, it is tried again after this many seconds.
    static constexpr int kRetrySeconds = 300;
    // The lineage of the recipe of that name as stored; none when it has no history yet.
    std::optional<qint64> lineageOf(const QString& type, const QString& code);
    // The action under way stores a deleted recipe again: its history goes on in `lineage` (0: none).
    void continueLineage(qint64 lineage) {
        m_continue = lineage;
        m_continueIn = m_db.currentTransaction();
    }
    // The user's login name, as versions carry it.
    static QString login();
    // For tests: the clock versions are dated, and a failed history tried again, by.
    std::function<QDateTime()> clock;

signals:
    // The history stopped being written, and why; once until it works again.
    void problem(const QString& message);

private:
    // Runs inside the committing transaction; the failure with which SQLite ended the
    // transaction itself, or 0.
    int record(const ChangeSet& changes, const QString& name, bool typed);
    void recordAll(const ChangeSet& changes, const QString& name, bool typed);
    // `always`: also when the recipe is the last version's (its deletion). `burstRow`: the line
    // typed into, which opens a burst; `lineRows`: the rows of the recipe's lines then.
    // `stamp`: when the version was stored, when not now.
    void recordRecipe(qint64 lineage, const Recipe& recipe, const QString& action, qint64 burstRow, bool always,
                      std::vector<qint64> lineRows = {}, const QString& stamp = {});
    // Whether the action only typed on into the line of the open burst; it is then taken in.
    bool continuesBurst(const ChangeSet& changes, const QString& action, bool typed);
    // Writes the open burst's version as it ended.
    void closeBurst();
    // Versions a session ended while their burst went on: the recipe as the tables hold it.
    void closeLeftOpen();
    // After the action: its versions stand if it was stored, else what was known before it.
    void settle();
    void recordMaterial(qint64 rowKey, const RowValues& row, const QString& action, bool deletion);
    void fail(const QString& why);
    QString now() const;

    struct Last {
        qint64 id = 0;
        Recipe recipe;
        std::optional<Recipe> before; // the version `id` differs from, when it is a difference
    };
    // Typing going on in one line: its version is open, and followed here without writing.
    struct Burst {
        qint64 lineage = 0;
        qint64 version = 0;
        qint64 line = 0;          // the row typed into
        QString action;
        QDateTime last;           // the last typing
        Recipe recipe;            // as the typing left it
        std::vector<qint64> rows; // of the recipe's lines
        std::optional<Recipe> base; // the version before, when the open one differs from it
    };
    // What was known as the action under way began, and the commits then.
    struct Before {
        quint64 commits = 0;
        std::optional<Burst> burst;
    };
    Database& m_db;
    StoredRecipes& m_recipes;
    HistoryFile m_file;
    std::optional<Burst> m_burst;
    std::optional<Before> m_before;
    std::map<qint64, Last> m_last; // by lineage: what the last version holds, so that the next
                                   // is written as what differs
    qint64 m_continue = 0;    // a deleted lineage the action under way brings back
    quint64 m_continueIn = 0; // that action: no later one, should this one fail before writing
    bool m_told = false;
    QDateTime m_offAt; // when the history was turned off for a fault
    int m_listener = 0;
};
