#pragma once

#include "domain/Recipe.h"
#include "store/MaterialLibrary.h"

#include <QHash>
#include <optional>
#include <vector>

// A recipe from another machine's file, with what the chemist chose for its materials, ready to
// be stored under a name of this library.
struct ImportedRecipe {
    Recipe recipe; // as the file has it
    // Materials the library lacks, a material imported beside the library's under its new code.
    std::vector<StoredMaterial> added;
    // A file's material imported beside the library's: its code as TextKey folds it, and the new
    // code its lines take. Every other line takes the library's spelling of its code.
    QHash<QString, QString> recoded;
    // Not from a file but a stored version named anew (Save As from the history, a deleted recipe
    // brought back): its lines go in as they were stored, under `action`, and its history goes on
    // in `lineage` when that is not 0.
    struct Version {
        QString action;
        qint64 lineage = 0;
    };
    std::optional<Version> version;
};
