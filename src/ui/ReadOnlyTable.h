#pragma once

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableView>

// A table the user reads and moves through but does not type into: whole rows selected, no row
// numbers, rows as tall as a line of text.
inline QTableView* readOnlyTable(QWidget* parent, const char* name, QAbstractItemModel* model) {
    auto* table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setHighlightSections(false);
    return table;
}
