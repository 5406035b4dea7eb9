#pragma once

#include <QString>
#include <optional>

// Number pictures as the tables and panels use them ("0.000", "0.0#", "#", "####.0"): 0 is a digit
// always shown, # a digit shown only when significant, no thousands separator, the locale's
// decimal separator. The decimal value the user sees (15 significant digits) is rounded half away
// from zero, so 2.675 with "0.00" shows 2.68.
namespace NumberFormat {

// Formats with a picture; "a;b;c" gives separate pictures for positive, negative and zero values.
QString format(double value, const QString& picture);
// A figure that may be empty: empty text for none, as a cleared cell shows it.
QString figure(const std::optional<double>& value, const char* picture);

// The general format: up to 15 significant digits, trailing zeros dropped, scientific notation
// for very large or very small magnitudes.
QString general(double value);

// Parses typed text with the locale's decimal separator, and no other, nor a thousands separator.
bool parse(const QString& text, double* value);

QChar decimalPoint();

} // namespace NumberFormat
