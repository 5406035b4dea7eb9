#pragma once

#include "domain/Recipe.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class Database;

// History.adt beside the tables: every stored version of every recipe and material, attached to
// the tables' connection so that a version is written in the transaction of its change. A
// lineage is one recipe (or material) through its renames, its deletion and its return.
//
// A file that cannot be opened, read or written leaves the history off, with the reason.
class HistoryFile {
public:
    enum class Subject { Recipe, Material };

    explicit HistoryFile(Database& db);
    ~HistoryFile();

    bool isOn() const { return m_problem.isEmpty(); }
    const QString& problem() const { return m_problem; }
    // Stops using the file: what it holds stays, nothing more is written.
    void turnOff(const QString& why);
    // Tries the file again after it was turned off; whether it is on again.
    bool tryAgain();
    QString path() const;

    struct Lineage {
        qint64 id = 0;
        QString name;    // as last named: "Alkyd/LO-SOY65", or a material's code
        bool deleted = false;
        QString deletedAt;
    };
    // The live lineage of the row of the header file (or library) under `rowKey`.
    std::optional<Lineage> lineageOfRow(Subject subject, qint64 rowKey);
    // The deleted lineage last held by that row: an undone deletion brings it back.
    std::optional<Lineage> deletedLineageOfRow(Subject subject, qint64 rowKey);
    qint64 newLineage(Subject subject, qint64 rowKey, const QString& name);
    void moveLineage(qint64 lineage, qint64 rowKey, const QString& name, bool deleted);
    // Every deleted recipe's lineage, the last deleted first.
    std::vector<Lineage> deletedRecipes();

    struct Version {
        qint64 id = 0;
        qint64 lineage = 0;
        QString name;
        QString stamp;  // local time, ISO 8601
        QString action;
        QString login;
        QString note;
        QString burst;  // what a burst of typing was typed into
        int chain = 0;  // differences since the last key version
        // A burst of typing still going on: the version is the recipe as the tables hold it,
        // and its content and date are written when the burst ends.
        bool open = false;
    };
    std::optional<Version> latest(qint64 lineage);
    qint64 append(const Version& version, const QByteArray& content);
    // The burst of an open version has ended: its content and date as they ended.
    void close(qint64 id, const QString& stamp, const QByteArray& content);
    std::vector<Version> openVersions();
    // The header row a live lineage stands on.
    std::optional<qint64> rowKeyOf(qint64 lineage);
    // The version before `id` of its lineage.
    std::optional<qint64> previous(qint64 id);
    void setNote(qint64 id, const QString& note);
    // The lineage's versions, the newest first.
    std::vector<Version> versions(qint64 lineage);
    // Every version of the lineage with its recipe, the newest first, read in one pass.
    std::vector<std::pair<Version, Recipe>> recipesOf(qint64 lineage);
    // The recipe of a version, read back from its key version.
    std::optional<Recipe> recipeAt(qint64 id);

private:
    void open();
    std::optional<Lineage> lineageOn(Subject subject, qint64 rowKey, bool deleted);

    Database& m_db;
    QString m_problem;
    bool m_attached = false;
};
