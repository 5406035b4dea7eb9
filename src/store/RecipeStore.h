#pragma once

#include "domain/Recipe.h"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>

// The recipes as values, read from wherever they are stored: two recipes side by side, or a
// stored one beside the one being edited, without either being shown. A store implements it.
class RecipeStore {
public:
    virtual ~RecipeStore() = default;
    // The recipe of that name, its letters matched as the store's keys match them; nullopt when
    // none is stored under it. Its lines are in item order, a line without an item first.
    virtual std::optional<Recipe> load(const QString& type, const QString& code) const = 0;

    // Each of these is one transaction: done whole or not at all, joining the transaction of the
    // user action when one is open. A name too long for the store is refused, naming it.
    //
    // Names are matched as load matches them, so that two headers differing only in letter case
    // are one recipe.
    //
    // Stores `recipe` in place of the recipe of its name: the header as given, its date
    // included, and the lines in their order.
    virtual void save(const Recipe& recipe) = 0;
    // Removes the recipe of that name with its lines; nothing when none is stored under it.
    virtual void remove(const QString& type, const QString& code) = 0;
    // Gives the recipe named `fromType`, `fromCode` the name `type`, `code`, its lines with it.
    // Its date stays: a new name is not a new recipe.
    virtual void rename(const QString& fromType, const QString& fromCode, const QString& type,
                        const QString& code) = 0;

    // How many lines, of how many recipes, name the material of `code`, its letters as stored.
    struct MaterialUse {
        int lines = 0;
        int recipes = 0;
    };
    virtual MaterialUse useOf(const QString& code) const = 0;
    // Each line that names the material of one of `codes`, its letters as stored, as `rework`
    // changes it; only what changed is written.
    virtual void reworkLines(const QSet<QString>& codes, const std::function<void(Line&)>& rework) = 0;
};
