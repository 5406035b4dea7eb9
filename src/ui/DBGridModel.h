#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include "components/DataSource.h"
#include "edit/GridColumn.h"
#include <functional>
#include <vector>

class Field;
class Table;


// A thin table model over a view: rows are the view's shown rows, columns are fields. It turns
// the data source's notifications into model signals and writes edits through the fields.
class DBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DBGridModel(QObject* parent = nullptr);
    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_source; }
    Table* table() const;
    Field* field(int column) const;

    std::vector<GridColumn>& columns() { return m_columns; }
    void setColumns(std::vector<GridColumn> columns);
    int columnOf(const QString& fieldName) const; // -1 when no column shows the field

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Writes text an item view commits into `column` of line `row`, as one user action; false
    // when it was refused.
    std::function<bool(int row, int column, const QString& text)> writeCell;
    // What a derived column shows on line `row`.
    std::function<QString(int row, int column)> derivedText;

signals:
    // The view's current row moved (the grid follows it).
    void currentRowChanged(int row);
    // The indicator column of these lines changes. Not headerDataChanged, which makes an item
    // view lay out all its items again.
    void indicatorChanged(int first, int last);

private:
    void onDataEvent(int event, Field* field);
    void indicatorMoved(int row);

    QPointer<DataSource> m_source;
    std::vector<GridColumn> m_columns;
    mutable std::vector<Field*> m_fields; // the field of each column, found once
    mutable Table* m_fieldsOf = nullptr;
    int m_rows = 0;
    int m_indicatorRow = -1; // the line the indicator column marks
};
