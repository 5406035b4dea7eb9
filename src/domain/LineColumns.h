#pragma once

#include "Recipe.h"

#include <QString>
#include <optional>

// The columns of a recipe line as it is printed: its place, its material and its amounts. The
// files, the grid and the report name a column by its field.
enum class LineColumn { Item, Code, Name, Mass, Moles, Ea, Eb, Charge, Percent, Cost };
inline constexpr int LineColumnCount = int(LineColumn::Cost) + 1;

struct LineColumnFormat {
    const char* field;
    // The picture of a figure (see NumberFormat); nullptr for a text column.
    const char* picture;
};
const LineColumnFormat& lineColumnFormat(LineColumn column);
std::optional<LineColumn> lineColumnNamed(const QString& field);

// The member of a line an amount column holds; nullptr for Item, Code and Name.
std::optional<double> Line::*lineAmount(LineColumn column);

// A line's cell as shown: an amount in its column's picture, the material's name as the library
// holds it (`material` is the line's, nullptr when the library has none); empty for no value.
QString lineCellText(const Line& line, const Material* material, LineColumn column);

// The header's figures as shown.
inline constexpr const char* kAcidValuePicture = "0.0";
inline constexpr const char* kSolidsPicture = "0.00";
inline constexpr const char* kBatchSizePicture = "0.00";
