#pragma once

#include "domain/Recipe.h"

class QStandardItemModel;
class QTableView;
class QWidget;

// The lines of a recipe held as a value, read-only, as the grid shows them: a stored version or
// a deleted recipe looked at before it is brought back.
namespace VersionLines {

QTableView* makeTable(QWidget* parent, const char* name);
void show(QTableView* table, const Recipe& recipe, const MaterialLookup& library);
void clear(QTableView* table);

} // namespace VersionLines
