#include "RecipeHistoryForm.h"

#include "CompareForm.h"
#include "MessageBox.h"
#include "Placement.h"
#include "ReadOnlyTable.h"
#include "VersionLines.h"
#include "components/StoreError.h"
#include "edit/DModUnit.h"
#include "edit/VersionListModel.h"

#include <QAction>
#include <QFontMetrics>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A note is a line or two beside a version, not a report.
constexpr int kNoteLength = 200;

} // namespace

TFrmRecipeHistory::TFrmRecipeHistory(TDMod& dm, QPrinter* printer, std::function<bool(const std::function<void()>&)> act,
                                     std::function<bool(const ImportedRecipe&)> saveAs, const QList<QAction*>& undoKeys,
                                     QWidget* parent)
    : QDialog(parent), m_dm(dm), m_printer(printer), m_act(std::move(act)), m_saveAs(std::move(saveAs)),
      m_model(new VersionListModel(this)) {
    setObjectName("FrmRecipeHistory");
    resize(1180, 640);
    auto* layout = new QVBoxLayout(this);
    LblHistoryState = new QLabel(this);
    LblHistoryState->setObjectName("LblHistoryState");
    LblHistoryState->setWordWrap(true);
    layout->addWidget(LblHistoryState);

    auto* split = new QSplitter(Qt::Vertical, this);
    VersionList = readOnlyTable(split, "VersionList", m_model);
    VersionList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    VersionList->horizontalHeader()->setSectionResizeMode(VersionListModel::Note, QHeaderView::Stretch);
    // Wide enough for their headings and figures, measured on the headings alone: a thousand
    // versions are not measured.
    QFont bold = VersionList->horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics heading(bold), text(VersionList->font());
    const QString sampleDate = VersionListModel::dateText(QStringLiteral("2026-12-28T23:58:58"));
    VersionList->setColumnWidth(VersionListModel::Date, text.horizontalAdvance(sampleDate) + 14);
    VersionList->setColumnWidth(VersionListModel::Action, text.horizontalAdvance(QStringLiteral("Restore Deleted Recipe")) + 14);
    VersionList->setColumnWidth(VersionListModel::By, text.horizontalAdvance(QStringLiteral("chemist")) + 14);
    for (int c = VersionListModel::KValue; c < VersionListModel::ColumnCount; ++c)
        VersionList->setColumnWidth(c, heading.horizontalAdvance(m_model->headerData(c, Qt::Horizontal).toString()) + 14);
    VersionLines = VersionLines::makeTable(split, "VersionLines");
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);

    auto* buttons = new QHBoxLayout;
    BtnRestore = new QPushButton("&Restore", this);
    BtnRestore->setObjectName("BtnRestore");
    BtnRestore->setToolTip("The selected version becomes the recipe again; Ctrl+Z takes it back");
    BtnSaveVersionAs = new QPushButton("Save &As...", this);
    BtnSaveVersionAs->setObjectName("BtnSaveVersionAs");
    BtnNote = new QPushButton("Add &Note...", this);
    BtnNote->setObjectName("BtnNote");
    BtnCompare = new QPushButton("&Compare", this);
    BtnCompare->setObjectName("BtnCompare");
    BtnCompare->setToolTip("Two versions selected: the one with the other. One: that version with the recipe as it is now");
    BtnClose = new QPushButton("Close", this);
    BtnClose->setObjectName("BtnClose");
    for (QPushButton* b : {BtnRestore, BtnSaveVersionAs, BtnNote, BtnCompare, BtnClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(4, 1);
    layout->addLayout(buttons);

    connect(BtnRestore, &QPushButton::clicked, this, &TFrmRecipeHistory::restore);
    connect(BtnSaveVersionAs, &QPushButton::clicked, this, &TFrmRecipeHistory::saveVersionAs);
    connect(BtnNote, &QPushButton::clicked, this, &TFrmRecipeHistory::addNote);
    connect(BtnCompare, &QPushButton::clicked, this, &TFrmRecipeHistory::compare);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(VersionList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrmRecipeHistory::selectionChanged);
    // Undo and Redo answered here as in the main window: a restore is taken back where it was
    // made, and the list follows.
    for (QAction* a : undoKeys) {
        addAction(a);
        connect(a, &QAction::triggered, this, [this] {
            if (isVisible())
                reload();
        });
    }
    reload();
}

void TFrmRecipeHistory::reload() {
    const Recipe current = m_dm.currentRecipe();
    setWindowTitle(QStringLiteral("Recipe History - %1 %2").arg(current.header.type, current.header.code));
    std::optional<qint64> lineage;
    QString state;
    try {
        lineage = m_dm.currentLineage();
        if (!m_dm.versions().file().isOn())
            state = m_dm.versions().file().problem();
        else if (!lineage)
            state = QStringLiteral("No version of this recipe is stored yet: every change stored from now on is kept.");
        m_model->load(m_dm.versions(), lineage.value_or(0), m_dm.library());
    } catch (const StoreError& e) {
        state = e.message();
    }
    LblHistoryState->setText(state);
    LblHistoryState->setVisible(!state.isEmpty());
    if (m_model->rowCount() > 0)
        VersionList->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::ClearAndSelect |
                                                                                 QItemSelectionModel::Rows);
    selectionChanged();
    VersionList->setFocus();
}

std::vector<int> TFrmRecipeHistory::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : VersionList->selectionModel()->selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TFrmRecipeHistory::selectionChanged() {
    const std::vector<int> rows = selectedRows();
    const bool one = rows.size() == 1;
    BtnRestore->setEnabled(one);
    BtnSaveVersionAs->setEnabled(one);
    BtnNote->setEnabled(one);
    BtnCompare->setEnabled(one || rows.size() == 2);
    if (rows.empty()) {
        VersionLines::clear(VersionLines);
        return;
    }
    // The lines of the version the cursor is on, else of the newest selected.
    const int current = VersionList->currentIndex().row();
    const bool onSelected = current >= 0 && VersionList->selectionModel()->isRowSelected(current);
    VersionLines::show(VersionLines, m_model->recipe(onSelected ? current : rows.front()), m_dm.library());
}

QString TFrmRecipeHistory::titleOf(int row) const {
    const HistoryFile::Version& v = m_model->version(row);
    QString name = v.name;
    name.replace(u'/', u' ');
    return QStringLiteral("%1, %2 (%3)").arg(name, VersionListModel::dateText(v.stamp), v.action);
}

void TFrmRecipeHistory::restore() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const Recipe version = m_model->recipe(rows.front());
    if (m_act([&] { m_dm.RestoreVersion(version); }))
        reload();
}

void TFrmRecipeHistory::saveVersionAs() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    ImportedRecipe named;
    named.recipe = m_model->recipe(rows.front());
    named.version = ImportedRecipe::Version{QStringLiteral("Save As"), 0};
    // The copy is the recipe shown now, with a history of its own: this one is done with.
    if (m_saveAs(named))
        accept();
}

void TFrmRecipeHistory::addNote() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const int row = rows.front();
    bool ok = false;
    QString note = QInputDialog::getText(this, QStringLiteral("Note"),
                                         QStringLiteral("A note for the version of %1:").arg(titleOf(row)),
                                         QLineEdit::Normal, m_model->version(row).note, &ok)
                       .trimmed();
    if (!ok)
        return;
    if (note.size() > kNoteLength) {
        MessageBox::commandError(this, QStringLiteral("A note holds at most %1 characters; the one typed has %2.")
                                           .arg(kNoteLength)
                                           .arg(note.size()));
        return;
    }
    if (!m_dm.versions().file().isOn()) {
        MessageBox::commandError(this, m_dm.versions().file().problem());
        return;
    }
    try {
        m_dm.versions().file().setNote(m_model->version(row).id, note);
    } catch (const StoreError& e) {
        MessageBox::commandError(this, QStringLiteral("The note was not stored: %1").arg(e.message()));
        return;
    }
    m_model->setNote(row, note);
}

void TFrmRecipeHistory::compare() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || rows.size() > 2)
        return;
    TFrmCompare form(m_dm.library(), m_printer, this);
    if (rows.size() == 2) {
        // The older first: what changed since.
        form.compare(m_model->recipe(rows[1]), titleOf(rows[1]), m_model->recipe(rows[0]), titleOf(rows[0]));
    } else {
        const Recipe now = m_dm.currentRecipe();
        form.compare(m_model->recipe(rows[0]), titleOf(rows[0]), now,
                     QStringLiteral("%1 %2 as it is now").arg(now.header.type, now.header.code));
    }
    stayAboveOpener(&form);
    form.exec();
}
