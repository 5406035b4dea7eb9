#pragma once

#include <QStyledItemDelegate>

class DBGrid;

// The grid's cells: painted as plain text on a plain ground, and edited in a line edit aligned
// as its cell, or in a drop-down for a look-up column. The keys that move between cells go from
// an open editor to the grid's key rules.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DBGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    DBGrid* m_grid;
};
