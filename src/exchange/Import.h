#pragma once

#include "domain/LinesText.h"
#include "domain/Recipe.h"
#include "store/MaterialLibrary.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

// Files from spreadsheets and other machines read back as values, every fault named with its row,
// before anything is stored. Figures have a decimal point, as the export writes them, or a decimal
// comma in a file whose cells a semicolon or a tab separates.
namespace Import {

// What a file holds, told by its content rather than its name.
enum class FileKind { Exchange, LibraryCsv, RecipeCsv, NotText };
FileKind kindOf(const QByteArray& bytes);

// A file's text as it was written: UTF-8 with or without a byte-order mark, else Windows-1252,
// which older spreadsheets write.
QString decoded(const QByteArray& bytes);

// RFC 4180 rows: fields in double quotes may hold the separator, doubled quotes and line breaks;
// rows end in CRLF or LF. The separator is the one the first row has most of outside quotes: a
// comma, a semicolon or a tab. A blank row is an empty list.
// A row of empty cells is blank too. A quote opens a field only as its first character; one never
// closed swallows the rest of the file, and `unclosed` (when given) receives its row, else 0.
std::vector<QStringList> csvRows(const QString& text, int* unclosed = nullptr);

// The recipe exchange file: the recipe and the library records of the materials it uses.
struct Exchange {
    Recipe recipe;
    std::vector<StoredMaterial> materials;
};
// The file read back, or why it cannot be: not an exchange file, cut short, or of a newer
// version than this program reads.
std::variant<Exchange, QString> exchangeFile(const QByteArray& bytes);

// A library CSV under the files' column names (RMCode, RMCommonName, RMChemClass, RMType, RMMWt,
// RMFa, RMFan, RMFb, RMPrice), in any order. A row with a figure that is no number, an empty or
// over-long code, a type word no type has, or a code an earlier row has, is listed with its row
// number and reason, and left out. Figures are read as a recipe CSV's masses are.
struct LibraryRow {
    int row = 0; // its number in the file, the heading being row 1
    StoredMaterial material;
};
struct LibraryFile {
    std::vector<LibraryRow> rows;
    QStringList errors;
    QStringList columns; // those of the nine the file has: a part it has no column for is not its to change
};
LibraryFile libraryCsv(const QByteArray& bytes);

// A recipe CSV: rows of a code and a mass, checked as a paste is. A heading that names Code and
// Mass says where they stand, and the lines under it end at a blank row, so that a recipe
// exported as CSV reads back. Figures have a decimal point, or a decimal comma in a file whose
// cells a semicolon or a tab separates.
LinesText::Paste recipeCsv(const QByteArray& bytes,
                           const std::function<std::optional<QString>(const QString&)>& spelled);

} // namespace Import
