#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// No figure a user types may reach this magnitude: 15 significant digits show it whole.
inline constexpr double MaxFigure = 1e15;

// How a stored column's value is typed and shown: the store's rules and messages, which every
// edit of a stored value shares.
namespace ColumnText {

// Typed text as a number of `column` (`kind`: "floating point" or "integer"); refuses text that
// is no number in the user's locale, naming what was typed.
double parse(const QString& typed, const QString& column, const char* kind = "floating point");
// Refuses a typed figure beyond what 15 digits show whole: what follows from it would overflow.
void checkDigits(double value, const QString& typed, const QString& column);
// A figure typed into `column`: none for blank text.
QVariant figure(const QString& typed, const QString& column);
// Words typed into `column`: none for empty text; longer than `size` is refused, never cut, since
// a shortened key could name another row.
QVariant words(const QString& typed, const QString& column, int size);

// A figure as read: in `picture` (the general format for none); empty for none.
QString shown(const std::optional<double>& value, const QString& picture);
// A figure being edited: as read when that reads back as the very value, else in full, so that
// retyping what is shown never loses what the picture rounds away.
QString editing(const std::optional<double>& value, const QString& picture);

} // namespace ColumnText
