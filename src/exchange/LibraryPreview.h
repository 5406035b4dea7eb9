#pragma once

#include "Import.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <vector>

// Materials from files held against the library before anything is stored, matched by code
// whatever its letter case.
namespace Import {

// An exchange file's materials: those the library lacks, those whose code it has with other
// data (the same material in other letters is the library's), and the codes its lines use that
// neither has.
struct ExchangeMaterials {
    struct Differing {
        StoredMaterial file, library;
    };
    std::vector<StoredMaterial> missing;
    std::vector<Differing> differing;
    QStringList unknown;
};
ExchangeMaterials againstLibrary(const Exchange& exchange, const std::vector<StoredMaterial>& library);

// A code no material has, for a material imported beside the library's of `code`: "PA-2", else
// "PA-3" and so on, shortened to fit `width` characters.
QString freeCode(const QString& code, const std::function<bool(const QString&)>& taken, int width);

// A library CSV's rows: each new, changed (with what changed) or unchanged.

struct LibraryChange {
    enum class Kind { New, Changed, Unchanged };
    Kind kind = Kind::New;
    int row = 0; // its number in the file
    // As it would be stored: a matched one with the stored id and code, and as stored in every
    // part the file has no column for.
    StoredMaterial material;
    QStringList changes; // a changed row's parts, each "Cost Price: 1.2 to 1.35"
};

struct LibraryPreview {
    std::vector<LibraryChange> rows;
    QStringList errors; // the rows left out, each with its number and why
    int count(LibraryChange::Kind kind) const;
    // The new and the changed materials, in the file's order.
    std::vector<StoredMaterial> toStore() const;
};

// `library` as it is stored; where an older library holds two materials of one code, the first
// stored is the one matched.
LibraryPreview libraryPreview(const LibraryFile& file, const std::vector<StoredMaterial>& library);

// The parts of a material by their columns, the code first, and the library window's caption for
// each ("RMMWt": "Mol. Mass").
QStringList partColumns();
QString partCaption(const QString& column);
// A part as the windows show it, a figure with the locale's decimal separator; "(empty)" for none.
QString partShown(const StoredMaterial& material, const QString& column);

} // namespace Import
