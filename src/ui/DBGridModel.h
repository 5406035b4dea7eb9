#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include "edit/GridColumn.h"
#include "edit/RecipeLines.h"

#include <functional>
#include <optional>
#include <vector>

// A table model over the current recipe's lines: a row for each line, a pending new one
// included, and a column for each grid column. It turns what the lines announce into model
// signals, and hands edits to its writer.
class DBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DBGridModel(QObject* parent = nullptr);
    void setLines(RecipeLines* lines);
    RecipeLines* lines() const { return m_lines; }
    // The line column a grid column shows; nullopt for none or a derived one.
    std::optional<LineColumn> lineColumn(int column) const;

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
    // The current line moved (the grid follows it).
    void currentRowChanged(int row);
    // The indicator column of these lines changes. Not headerDataChanged, which makes an item
    // view lay out all its items again.
    void indicatorChanged(int first, int last);

private:
    void rowsChanged();
    void indicatorMoved(int row);

    QPointer<RecipeLines> m_lines;
    std::vector<GridColumn> m_columns;
    std::vector<std::optional<LineColumn>> m_lineColumns; // of each column, found once
    int m_rows = 0;
    int m_indicatorRow = -1; // the line the indicator column marks
};
