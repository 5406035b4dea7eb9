#pragma once

#include <QByteArray>

class QTextDocument;

// Reads rich text (RTF) into a text document: character formatting (bold, italic, underline,
// size, face, colour), paragraph formatting (alignment, indents, spacing), breaks, tabs, the
// document's code page and Unicode escapes. Tables come out as rows of tab-separated cells,
// pictures as a "[picture]" placeholder; headers, footers, style sheets, document information
// and unknown optional destinations are left out. Anything that is not RTF is read as plain
// text. Any input is read without failing, in time linear in its length.
namespace Rtf {

// Replaces the document's content. Returns false when the input was not RTF (read as text).
bool read(const QByteArray& data, QTextDocument& document);

} // namespace Rtf
