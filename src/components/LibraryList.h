#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QPointer>

#include "DataSource.h"
#include <functional>

class Field;

// A data-aware list: one row per row of a view, showing one field; its current row is the
// view's current row.
class LibraryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    LibraryListModel(DataSource* source, QString displayField, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    DataSource* dataSource() const { return m_source; }

signals:
    void currentRowChanged(int row);

private:
    QPointer<DataSource> m_source;
    QString m_displayField;
    int m_rows = 0;
};

class DBLookupList : public QListView {
    Q_OBJECT
public:
    explicit DBLookupList(QWidget* parent = nullptr);
    void setDataSource(DataSource* source, const QString& displayField);
    // Runs after the user selected a row, by mouse or keyboard.
    std::function<void()> onSelect;
    // Runs on a double-click, after the row under the pointer was selected.
    std::function<void()> onDoubleClick;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void follow(int row);
    LibraryListModel* m_model = nullptr;
    bool m_following = false;
};
