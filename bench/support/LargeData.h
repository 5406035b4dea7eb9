#pragma once

#include <QString>

// The Data folder of a long-serving user: many recipes of a typical length, a few of the full
// 127 lines, and a large library.
struct LargeData {
    int recipes = 10010;
    int fullRecipes = 10; // the first recipes of type "Alkyd", codes F00..F09, 127 lines each
    int linesPerRecipe = 20;
    int materials = 5000;
};

// Writes the three table files into `folder` (which must exist and hold none of them yet).
void writeLargeData(const QString& folder, const LargeData& size);
