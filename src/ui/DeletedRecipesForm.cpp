#include "DeletedRecipesForm.h"

#include "MessageBox.h"
#include "ReadOnlyTable.h"
#include "VersionLines.h"
#include "components/StoreError.h"
#include "edit/DModUnit.h"
#include "edit/VersionListModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

TFrmDeletedRecipes::TFrmDeletedRecipes(TDMod& dm, std::function<bool(const std::function<void()>&)> act,
                                       std::function<bool(const ImportedRecipe&)> saveAs, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_act(std::move(act)), m_saveAs(std::move(saveAs)),
      m_model(new QStandardItemModel(0, 4, this)) {
    setObjectName("FrmDeletedRecipes");
    setWindowTitle("Deleted Recipes");
    resize(760, 560);
    m_model->setHorizontalHeaderLabels({"Type", "Code", "Description", "Deleted"});
    auto* layout = new QVBoxLayout(this);
    LblDeletedState = new QLabel(this);
    LblDeletedState->setObjectName("LblDeletedState");
    LblDeletedState->setWordWrap(true);
    layout->addWidget(LblDeletedState);
    auto* split = new QSplitter(Qt::Vertical, this);
    DeletedList = readOnlyTable(split, "DeletedList", m_model);
    DeletedList->setSelectionMode(QAbstractItemView::SingleSelection);
    DeletedList->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    DeletedList->setColumnWidth(0, 110);
    DeletedList->setColumnWidth(1, 120);
    DeletedList->setColumnWidth(3, 150);
    DeletedLines = VersionLines::makeTable(split, "DeletedLines");
    layout->addWidget(split, 1);

    auto* buttons = new QHBoxLayout;
    BtnRestoreDeleted = new QPushButton("&Restore", this);
    BtnRestoreDeleted->setObjectName("BtnRestoreDeleted");
    BtnRestoreDeleted->setToolTip("The selected recipe is stored again, with its history; Ctrl+Z takes it back");
    BtnClose = new QPushButton("Close", this);
    BtnClose->setObjectName("BtnClose");
    buttons->addStretch(1);
    for (QPushButton* b : {BtnRestoreDeleted, BtnClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(BtnRestoreDeleted, &QPushButton::clicked, this, &TFrmDeletedRecipes::restore);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(DeletedList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrmDeletedRecipes::selectionChanged);
    reload();
}

void TFrmDeletedRecipes::reload() {
    m_entries.clear();
    m_model->setRowCount(0);
    HistoryFile& file = m_dm.versions().file();
    QString state;
    if (!file.isOn()) {
        state = file.problem();
    } else {
        try {
            for (const HistoryFile::Lineage& l : file.deletedRecipes()) {
                const std::optional<HistoryFile::Version> last = file.latest(l.id);
                std::optional<Recipe> recipe = last ? m_dm.versions().recipeAt(last->id) : std::nullopt;
                if (recipe)
                    m_entries.push_back({l, std::move(*recipe)});
            }
        } catch (const StoreError& e) {
            state = e.message();
        }
        if (state.isEmpty() && m_entries.empty())
            state = QStringLiteral("No deleted recipe is kept in the history.");
    }
    for (const Entry& e : m_entries) {
        auto* date = new QStandardItem(VersionListModel::dateText(e.lineage.deletedAt));
        m_model->appendRow({new QStandardItem(e.recipe.header.type), new QStandardItem(e.recipe.header.code),
                            new QStandardItem(e.recipe.header.description), date});
    }
    LblDeletedState->setText(state);
    LblDeletedState->setVisible(!state.isEmpty());
    if (!m_entries.empty())
        DeletedList->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::ClearAndSelect |
                                                                                 QItemSelectionModel::Rows);
    selectionChanged();
    DeletedList->setFocus();
}

void TFrmDeletedRecipes::selectionChanged() {
    const QModelIndexList rows = DeletedList->selectionModel()->selectedRows();
    BtnRestoreDeleted->setEnabled(!rows.isEmpty());
    if (rows.isEmpty())
        VersionLines::clear(DeletedLines);
    else
        VersionLines::show(DeletedLines, m_entries[size_t(rows.front().row())].recipe, m_dm.library());
}

void TFrmDeletedRecipes::restore() {
    const QModelIndexList rows = DeletedList->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const Entry entry = m_entries[size_t(rows.front().row())];
    const QString type = entry.recipe.header.type, code = entry.recipe.header.code;
    const QString action = QStringLiteral("Restore Deleted Recipe");
    bool taken = false;
    if (!m_act([&] { taken = m_dm.RecipeExists(type, code); }))
        return;
    bool stored = false;
    if (!taken) {
        stored = m_act([&] {
            m_dm.StoreVersion(entry.recipe, type, code, action, entry.lineage.id);
            m_dm.ShowResultingRecipe(type, code);
        });
    } else {
        // Another recipe has the name now: the chemist names this one.
        ImportedRecipe named;
        named.recipe = entry.recipe;
        named.version = ImportedRecipe::Version{action, entry.lineage.id};
        stored = m_saveAs(named);
    }
    if (stored)
        accept();
}
