#pragma once

#include "domain/ReactionTotals.h"
#include "domain/Recipe.h"

#include <QString>

namespace Export {

// The recipe as a workbook: a "Recipe" sheet with its header and lines, a "Figures" sheet with
// its figures; numbers as numbers, shown in the program's own formats. Written whole or not at
// all; the reason it could not be, or empty.
QString recipeXlsx(const QString& path, const Recipe& recipe, const MaterialLookup& library,
                   const TReactionTotals& totals);

} // namespace Export
