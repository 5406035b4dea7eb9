#pragma once

#include "domain/Recipe.h"

#include <QString>
#include <optional>

// The recipes as values, read from wherever they are stored: two recipes side by side, or a
// stored one beside the one being edited, without either being shown. A store implements it.
class RecipeStore {
public:
    virtual ~RecipeStore() = default;
    // The recipe of that name, its letters matched as the store's keys match them; nullopt when
    // none is stored under it. Its lines are in item order, a line without an item first.
    virtual std::optional<Recipe> load(const QString& type, const QString& code) const = 0;
};
