#pragma once

#include "MainWindowLink.h"
#include "components/RecipeBox.h"

// The main window as the data module sees it, without widgets: it records what it is told.
struct StandInForm : MainWindowLink {
    RecipeBox& resinTypeBox() override { return type; }
    RecipeBox& resinCodeBox() override { return code; }
    void ShowResults() override { ++resultsShown; }

    MemoryRecipeBox type, code;
    int resultsShown = 0;
};
