#pragma once

#include <QListView>
#include <QTableView>

#include "domain/Recipe.h"

#include <functional>
#include <optional>

class Database;
class MaterialEditor;
class MaterialLibrary;
class MaterialListModel;
class MaterialTypeFilter;

// The main window's list of materials to choose from, by name and in code order, filtered by the
// type buttons.
class DBLookupList : public QListView {
    Q_OBJECT
public:
    explicit DBLookupList(QWidget* parent = nullptr);
    // Lists `library`; nullptr lists nothing. The type chosen stays.
    void setLibrary(MaterialLibrary* library);
    // Lists the materials of `type` (all of them for nullopt) and highlights the first.
    void setType(std::optional<MaterialType> type);
    // The material highlighted; nullopt when the list is empty.
    std::optional<Material> currentMaterial() const;
    // Highlights the first listed material of that code, as a user's pick would but without
    // running onSelect; false when none is listed.
    bool highlightCode(const QString& code);
    // Runs after the user selected a row, by mouse or keyboard.
    std::function<void()> onSelect;
    // Runs on a double-click, after the row under the pointer was selected, and on Enter.
    std::function<void()> onDoubleClick;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Highlights a row without it counting as the user's pick.
    void highlight(int row);

    MaterialListModel* m_materials = nullptr;
    MaterialTypeFilter* m_filter = nullptr;
    std::optional<MaterialType> m_type;
    QString m_code; // the highlighted material's, kept across a reading of the library
    int m_row = 0;  // and its place, for when it is no longer there
    bool m_quiet = false;
};

// The library window's list of materials in columns, read-only: picking a row shows that
// material, storing or dropping a pending change first.
class MaterialRecordList : public QTableView {
    Q_OBJECT
public:
    explicit MaterialRecordList(QWidget* parent = nullptr);
    // Lists what `editor` lists; a pick is an action stored in `db`.
    void setEditor(MaterialEditor* editor, Database* db);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // Shows the editor's row as the current one.
    void follow();

    MaterialEditor* m_editor = nullptr;
    Database* m_db = nullptr;
    bool m_following = false;
};
