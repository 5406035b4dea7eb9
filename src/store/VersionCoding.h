#pragma once

#include "components/RowValues.h"
#include "domain/Recipe.h"

#include <QByteArray>

// A recipe's version as the history file keeps it: compressed, and its lines either whole (a
// key version) or as what differs from the version before, line by line. A typed amount thus
// costs a few bytes, not the whole recipe.
//
// The batch pass's columns (charge, per cent, cost) are not kept: they follow from the rest, and
// are worked out again when a version is shown or restored.
namespace VersionCoding {

// `base`: the version before, or nullptr for a key version.
QByteArray encode(const Recipe& recipe, const Recipe* base);
// The recipe; `base` must be the version `encode` was given. Empty lines and header when the
// bytes are not a version this program wrote.
std::optional<Recipe> decode(const QByteArray& bytes, const Recipe* base);

// Whether two versions hold the same in every part a version keeps, the date aside: a change of
// the batch pass's columns or of the date alone is no new version.
bool sameKept(const Recipe& a, const Recipe& b);

// A material's record as one version: its row as the library file holds it.
QByteArray encodeRow(const RowValues& row);
std::optional<RowValues> decodeRow(const QByteArray& bytes);

} // namespace VersionCoding
