#pragma once

#include "domain/ReactionTotals.h"
#include "domain/Recipe.h"
#include "store/HistoryFile.h"

#include <QAbstractTableModel>
#include <vector>

class HistoryRecorder;

// A recipe's stored versions, the newest first: when, what and by whom, the note, and the key
// figures of each as the main window would show the version, worked out from it as a value
// against the library as it is now.
class VersionListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Date, Action, By, Note, KValue, OilLength, ExcessOH, AVAtGel, CostPerMass, ColumnCount };

    explicit VersionListModel(QObject* parent = nullptr);

    // Reads the versions of `lineage` afresh (none for 0).
    void load(HistoryRecorder& history, qint64 lineage, const MaterialLookup& library);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const HistoryFile::Version& version(int row) const { return m_rows[size_t(row)].version; }
    const Recipe& recipe(int row) const { return m_rows[size_t(row)].recipe; }
    // A note written to the file is shown.
    void setNote(int row, const QString& note);

    // A version's date and time as the list writes it: the user's short date and time.
    static QString dateText(const QString& stamp);

private:
    struct Row {
        HistoryFile::Version version;
        Recipe recipe;
        TReactionTotals figures;
    };
    std::vector<Row> m_rows;
};
