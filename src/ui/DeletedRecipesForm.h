#pragma once

#include "domain/Recipe.h"
#include "store/HistoryFile.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
class TDMod;
struct ImportedRecipe;

// The recipes deleted, the last deleted first, each as it was when it went. One can be brought
// back under its name, its history going on; when another recipe has taken the name, the recipe
// name dialog asks for one.
class TFrmDeletedRecipes : public QDialog {
    Q_OBJECT
public:
    // `act` runs a stored action as the main window does; `saveAs` names a recipe through the
    // recipe name dialog; each tells whether it was stored.
    TFrmDeletedRecipes(TDMod& dm, std::function<bool(const std::function<void()>&)> act,
                       std::function<bool(const ImportedRecipe&)> saveAs, QWidget* parent = nullptr);

    void reload();

    QLabel* LblDeletedState;
    QTableView* DeletedList;
    QTableView* DeletedLines;
    QPushButton* BtnRestoreDeleted;
    QPushButton* BtnClose;

    void restore();

private:
    void selectionChanged();

    TDMod& m_dm;
    std::function<bool(const std::function<void()>&)> m_act;
    std::function<bool(const ImportedRecipe&)> m_saveAs;
    QStandardItemModel* m_model;
    struct Entry {
        HistoryFile::Lineage lineage;
        Recipe recipe; // its last version
    };
    std::vector<Entry> m_entries;
};
