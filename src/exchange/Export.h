#pragma once

#include "domain/ReactionTotals.h"
#include "domain/Recipe.h"
#include "store/MaterialLibrary.h"

#include <QByteArray>
#include <QString>
#include <vector>

// A recipe and the library written for other programs and other machines. Figures are written in
// full with a decimal point, whatever the locale: a file travels between machines set up apart.
namespace Export {

// The recipe as a spreadsheet reads it: its header, its lines with every column, its figures.
QByteArray recipeCsv(const Recipe& recipe, const MaterialLookup& library, const TReactionTotals& totals);
// Every material of the library with every part, under the files' own column names.
QByteArray libraryCsv(const std::vector<StoredMaterial>& materials);
// The recipe exchange file: the header, the lines and the library record of every material the
// lines use, so that it opens where the library lacks them. JSON, with its format and version.
QByteArray recipeExchange(const Recipe& recipe, const std::vector<StoredMaterial>& used);
inline constexpr int ExchangeVersion = 1;
// The library record of every material the lines use, each once: of two of a code, the one
// stored first, which the lines use.
std::vector<StoredMaterial> materialsUsed(const Recipe& recipe, const std::vector<StoredMaterial>& library);

// Writes `bytes` to `path` whole or not at all; the reason it could not, or empty.
QString writeWhole(const QString& path, const QByteArray& bytes);

} // namespace Export
