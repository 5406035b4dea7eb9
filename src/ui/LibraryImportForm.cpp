#include "LibraryImportForm.h"

#include "Placement.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

using Import::LibraryChange;

LibraryPreviewModel::LibraryPreviewModel(const Import::LibraryPreview& preview, QObject* parent)
    : QAbstractTableModel(parent), m_preview(preview) {}

int LibraryPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_preview.rows.size());
}

int LibraryPreviewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LibraryPreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LibraryChange& c = m_preview.rows[size_t(index.row())];
    if (role == KindRole)
        return int(c.kind);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case ColRow:
            return c.row;
        case ColCode:
            return c.material.code;
        case ColName:
            return c.material.name;
        case ColStatus:
            return c.kind == LibraryChange::Kind::New       ? QStringLiteral("New")
                   : c.kind == LibraryChange::Kind::Changed ? QStringLiteral("Changed")
                                                            : QStringLiteral("Unchanged");
        case ColChanges:
            return c.changes.join(role == Qt::ToolTipRole ? QStringLiteral("\n") : QStringLiteral("; "));
        }
    }
    if (role == Qt::ForegroundRole && index.column() == ColStatus) {
        if (c.kind == LibraryChange::Kind::New)
            return QColor(0, 110, 0);
        if (c.kind == LibraryChange::Kind::Changed)
            return QColor(160, 80, 0);
    }
    if (role == Qt::TextAlignmentRole && index.column() == ColRow)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant LibraryPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const char* names[] = {"Row", "Code", "Common Name", "Import", "Changes"};
    return QString::fromLatin1(names[section]);
}

TFrmLibraryImport::TFrmLibraryImport(QWidget* parent, const QString& fileName, const Import::LibraryPreview& preview)
    : QDialog(parent), m_model(preview) {
    setObjectName(QStringLiteral("TFrmLibraryImport"));
    setWindowTitle(QStringLiteral("Import Library: %1").arg(fileName));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    resize(760, 520);

    const int fresh = preview.count(LibraryChange::Kind::New);
    const int changed = preview.count(LibraryChange::Kind::Changed);
    const int same = preview.count(LibraryChange::Kind::Unchanged);
    QString summary = QStringLiteral("%1 new, %2 changed, %3 unchanged").arg(fresh).arg(changed).arg(same);
    if (!preview.errors.isEmpty())
        summary += QStringLiteral("; %1 %2 left out").arg(preview.errors.size()).arg(preview.errors.size() == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
    summary += fresh + changed > 0 ? QStringLiteral(". Import stores the new and changed materials as one action.")
                                   : QStringLiteral(". There is nothing to import.");
    LblPreviewSummary = new QLabel(summary);
    LblPreviewSummary->setObjectName(QStringLiteral("LblPreviewSummary"));
    LblPreviewSummary->setWordWrap(true);

    // The rows that change something are what the chemist checks: the unchanged are a tick away.
    CBChangesOnly = new QCheckBox(QStringLiteral("&Show only new and changed rows"));
    CBChangesOnly->setObjectName(QStringLiteral("CBChangesOnly"));
    CBChangesOnly->setChecked(true);
    m_shown = new QSortFilterProxyModel(this);
    m_shown->setSourceModel(&m_model);
    m_shown->setFilterRole(LibraryPreviewModel::KindRole);
    m_shown->setFilterKeyColumn(LibraryPreviewModel::ColStatus);
    const auto filter = [this](bool changesOnly) {
        m_shown->setFilterRegularExpression(changesOnly ? QStringLiteral("^[%1%2]$")
                                                              .arg(int(LibraryChange::Kind::New))
                                                              .arg(int(LibraryChange::Kind::Changed))
                                                        : QString());
    };
    filter(true);
    connect(CBChangesOnly, &QCheckBox::toggled, this, filter);

    PreviewLines = new QTableView;
    PreviewLines->setObjectName(QStringLiteral("PreviewLines"));
    PreviewLines->setModel(m_shown);
    PreviewLines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PreviewLines->setSelectionBehavior(QAbstractItemView::SelectRows);
    PreviewLines->setWordWrap(false);
    PreviewLines->verticalHeader()->hide();
    PreviewLines->verticalHeader()->setDefaultSectionSize(PreviewLines->fontMetrics().height() + 4);
    QHeaderView* header = PreviewLines->horizontalHeader();
    header->setStretchLastSection(true);
    // Measured by their headings and a sample, not by every row of a long file.
    header->resizeSection(LibraryPreviewModel::ColRow, 56);
    header->resizeSection(LibraryPreviewModel::ColCode, 110);
    header->resizeSection(LibraryPreviewModel::ColName, 210);
    header->resizeSection(LibraryPreviewModel::ColStatus, 90);

    LblRefused = new QLabel(QStringLiteral("Rows left out, never stored:"));
    LblRefused->setObjectName(QStringLiteral("LblRefused"));
    RefusedRows = new QPlainTextEdit(preview.errors.join(u'\n'));
    RefusedRows->setObjectName(QStringLiteral("RefusedRows"));
    RefusedRows->setReadOnly(true);
    RefusedRows->setMaximumHeight(RefusedRows->fontMetrics().lineSpacing() * 5 + 12);

    BtnImport = new QPushButton(QStringLiteral("&Import"));
    BtnImport->setObjectName(QStringLiteral("BtnImport"));
    BtnImport->setEnabled(fresh + changed > 0);
    BtnImport->setDefault(fresh + changed > 0);
    BtnCancel = new QPushButton(QStringLiteral("Cancel"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(BtnImport, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CBChangesOnly);
    buttons->addStretch(1);
    buttons->addWidget(BtnImport);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblPreviewSummary);
    layout->addWidget(PreviewLines, 1);
    layout->addWidget(LblRefused);
    layout->addWidget(RefusedRows);
    layout->addLayout(buttons);
    // Hidden once in the layout: a widget shown before it has a parent would be a window of its own.
    LblRefused->setVisible(!preview.errors.isEmpty());
    RefusedRows->setVisible(!preview.errors.isEmpty());
}

void TFrmLibraryImport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}
