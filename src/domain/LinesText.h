#pragma once

#include "Recipe.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// A recipe's lines as a spreadsheet takes them from the clipboard and gives them back: rows of
// tab-separated cells, numbers with the locale's decimal separator.
namespace LinesText {

// The lines with a heading row (Item, Code, Material, Mass, Moles, Ea, Eb, Charge, Percent,
// Cost), each figure in full, so that the spreadsheet holds the very numbers the recipe does.
QString copied(const std::vector<Line>& lines, const MaterialLookup& library);

struct Pasted {
    int row = 0;  // its number in the text
    QString code; // as the library spells it
    double mass = 0;
};
struct Paste {
    std::vector<Pasted> rows;
    QStringList errors; // every bad row, by its number in the text and why; none when all is well
};
// Rows of a code and a mass, separated by tabs, semicolons or commas, with or without a heading
// row (a heading that names Code and Mass, as a copy has it, says where they stand). `spelled`
// gives the library's code for a typed one, or nothing when no material has it.
Paste parse(const QString& text, const std::function<std::optional<QString>(const QString&)>& spelled);

// One row's code and mass checked as a paste checks them: the row joins `paste`, or why it cannot
// joins its errors. `number` reads the mass as its source writes figures.
void take(Paste& paste, int row, const QString& code, const QString& mass,
          const std::function<std::optional<QString>(const QString&)>& spelled,
          const std::function<bool(const QString&, double*)>& number);

} // namespace LinesText
