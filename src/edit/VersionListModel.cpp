#include "VersionListModel.h"

#include "HistoryRecorder.h"
#include "domain/Figures.h"
#include "domain/Totals.h"

#include <QDateTime>
#include <QLocale>

namespace {

const char* const kFigureOf[] = {"KValue", "OilLength", "ExcessOH", "AVAtGel", "CostPerMass"};

} // namespace

VersionListModel::VersionListModel(QObject* parent) : QAbstractTableModel(parent) {}

void VersionListModel::load(HistoryRecorder& history, qint64 lineage, const MaterialLookup& library) {
    // Read whole before the reset: a history that fails to read leaves the list as it was.
    std::vector<Row> rows;
    if (lineage)
        for (auto& [version, recipe] : history.recipesOf(lineage)) {
            TReactionTotals t = figuresOf(recipe, library);
            rows.push_back({std::move(version), std::move(recipe), t});
        }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int VersionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int VersionListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString VersionListModel::dateText(const QString& stamp) {
    // SQLite's own clock writes a blank where ISO 8601 has a T.
    const QDateTime at = QDateTime::fromString(QString(stamp).replace(u' ', u'T'), Qt::ISODate);
    return at.isValid() ? QLocale().toString(at, QLocale::ShortFormat) : stamp;
}

QVariant VersionListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Row& r = m_rows[size_t(index.row())];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return column >= KValue ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == Note && !r.version.note.isEmpty())
        return r.version.note; // whole, where the column cuts it short
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case Date:
        return dateText(r.version.stamp);
    case Action:
        return r.version.action;
    case By:
        return r.version.login;
    case Note:
        return r.version.note;
    default: {
        const Figure& f = *figureNamed(QString::fromLatin1(kFigureOf[column - KValue]));
        return f.panelFormat ? f.panelText(r.figures) : f.reportText(r.figures);
    }
    }
}

QVariant VersionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Date:
        return QStringLiteral("Date");
    case Action:
        return QStringLiteral("Action");
    case By:
        return QStringLiteral("By");
    case Note:
        return QStringLiteral("Note");
    default:
        return standaloneCaption(QString::fromLatin1(kFigureOf[section - KValue]));
    }
}

void VersionListModel::setNote(int row, const QString& note) {
    m_rows[size_t(row)].version.note = note;
    emit dataChanged(index(row, Note), index(row, Note));
}
