#pragma once

#include <QDialog>
#include <functional>

class QAction;
class QLabel;
class QPrinter;
class QPushButton;
class QTableView;
class TDMod;
class VersionListModel;
struct ImportedRecipe;

// The current recipe's stored versions, the newest first, with the key figures of each; the
// lines of the version selected. A version can be restored over the recipe (one action, undone
// with Ctrl+Z here or in the main window), saved under another name, given a note, and compared
// with another version or with the recipe as it is now.
class TFrmRecipeHistory : public QDialog {
    Q_OBJECT
public:
    // `act` runs a stored action as the main window does and tells whether it was stored;
    // `saveAs` names a version through the recipe name dialog and tells whether it was stored;
    // `undoKeys` are the main window's Undo and Redo, answered here too.
    TFrmRecipeHistory(TDMod& dm, QPrinter* printer, std::function<bool(const std::function<void()>&)> act,
                      std::function<bool(const ImportedRecipe&)> saveAs, const QList<QAction*>& undoKeys,
                      QWidget* parent = nullptr);

    // Reads the current recipe's versions afresh; the newest is selected.
    void reload();
    VersionListModel& versions() { return *m_model; }

    QLabel* LblHistoryState; // why there is nothing to list, when there is nothing
    QTableView* VersionList;
    QTableView* VersionLines;
    QPushButton* BtnRestore;
    QPushButton* BtnSaveVersionAs;
    QPushButton* BtnNote;
    QPushButton* BtnCompare;
    QPushButton* BtnClose;

    void restore();
    void saveVersionAs();
    void addNote();
    void compare();

private:
    // The rows selected, the newest first.
    std::vector<int> selectedRows() const;
    void selectionChanged();
    QString titleOf(int row) const;

    TDMod& m_dm;
    QPrinter* m_printer;
    std::function<bool(const std::function<void()>&)> m_act;
    std::function<bool(const ImportedRecipe&)> m_saveAs;
    VersionListModel* m_model;
};
