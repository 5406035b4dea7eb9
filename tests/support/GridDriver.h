#pragma once

#include "ui/DBGrid.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

// The main window's grid driven as the user drives it: a click on a cell, keys sent to whatever
// has the focus, and where the cursor stands afterwards.
struct GridDriver {
    DBGrid* grid = nullptr;

    // The cell of `field` on line `row`, clicked; call it under ASSERT_NO_FATAL_FAILURE.
    void click(int row, const char* field) const {
        const QModelIndex index = grid->gridModel()->index(row, grid->gridModel()->columnOf(field));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        ASSERT_EQ(grid->currentIndex(), index);
    }
    static void type(const QString& text) {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
    }
    // "row:field" of the grid's current cell.
    std::string cursor() const {
        const QModelIndex i = grid->currentIndex();
        return std::to_string(i.row()) + ":" + grid->gridModel()->columns()[size_t(i.column())].fieldName.toStdString();
    }
};
