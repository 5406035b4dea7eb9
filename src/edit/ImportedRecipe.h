#pragma once

#include "domain/Recipe.h"
#include "store/MaterialLibrary.h"

#include <QHash>
#include <vector>

// A recipe from another machine's file, with what the chemist chose for its materials, ready to
// be stored under a name of this library.
struct ImportedRecipe {
    Recipe recipe; // as the file has it
    // Materials the library lacks, a material imported beside the library's under its new code.
    std::vector<StoredMaterial> added;
    // A file's code and the code its lines take here: a new one, or the library's letters.
    QHash<QString, QString> recoded;
};
