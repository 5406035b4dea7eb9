#include "VersionLines.h"

#include "ReadOnlyTable.h"
#include "domain/LineColumns.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

namespace {

constexpr LineColumn kColumns[] = {LineColumn::Item, LineColumn::Code, LineColumn::Name, LineColumn::Mass,
                                   LineColumn::Moles,   LineColumn::Ea,     LineColumn::Eb};

} // namespace

namespace VersionLines {

QTableView* makeTable(QWidget* parent, const char* name) {
    auto* model = new QStandardItemModel(0, int(std::size(kColumns)), parent);
    model->setHorizontalHeaderLabels({"Item", "Code", "Name", "Mass", "Moles", "Eq. A", "Eq. B"});
    QTableView* table = readOnlyTable(parent, name, model);
    model->setParent(table);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table->setColumnWidth(0, 44);
    table->setColumnWidth(1, 90);
    for (int c = 3; c < int(std::size(kColumns)); ++c)
        table->setColumnWidth(c, 84);
    return table;
}

void show(QTableView* table, const Recipe& recipe, const MaterialLookup& library) {
    auto* model = static_cast<QStandardItemModel*>(table->model());
    model->setRowCount(0);
    for (const Line& line : recipe.lines) {
        const Material* m = library.find(line.code);
        QList<QStandardItem*> row;
        for (LineColumn c : kColumns) {
            auto* item = new QStandardItem(lineCellText(line, m, c));
            const bool number = c != LineColumn::Code && c != LineColumn::Name;
            item->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
            row << item;
        }
        model->appendRow(row);
    }
}

void clear(QTableView* table) { static_cast<QStandardItemModel*>(table->model())->setRowCount(0); }

} // namespace VersionLines
