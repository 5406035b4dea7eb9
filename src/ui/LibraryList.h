#pragma once

#include <QAbstractTableModel>
#include <QListView>
#include <QPointer>
#include <QStringList>
#include <QTableView>

#include "components/DataSource.h"
#include "domain/Recipe.h"

#include <functional>
#include <optional>

class Field;
class MaterialLibrary;
class MaterialListModel;
class MaterialTypeFilter;

// A data-aware list: one row per row of a view, showing some of its fields; its current row is
// the view's current row.
class LibraryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    LibraryListModel(DataSource* source, QStringList fields, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    DataSource* dataSource() const { return m_source; }
    void setHeaders(const QStringList& headers) { m_headers = headers; }

signals:
    void currentRowChanged(int row);

private:
    QPointer<DataSource> m_source;
    QStringList m_fields;
    QStringList m_headers;
    int m_rows = 0;
};

// Keeps an item view on the view's current row, and moves the view when the user picks a row.
class RowLink : public QObject {
    Q_OBJECT
public:
    RowLink(QAbstractItemView* view, LibraryListModel* model);
    // From the item view's currentChanged: true when the user picked `row` and the view went there.
    bool picked(const QModelIndex& current);
    void follow(int row);

private:
    QAbstractItemView* m_view;
    LibraryListModel* m_model;
    bool m_following = false;
};

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

// A list of a view's records in columns, read-only: picking a row makes it current.
class DBRecordList : public QTableView {
    Q_OBJECT
public:
    explicit DBRecordList(QWidget* parent = nullptr);
    // The fields shown, under their headers.
    void setDataSource(DataSource* source, const QStringList& fields, const QStringList& headers);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    LibraryListModel* m_model = nullptr;
    RowLink* m_link = nullptr;
};
