#include "ColumnText.h"

#include "components/StoreError.h"
#include "domain/NumberFormat.h"

#include <cmath>

namespace ColumnText {

double parse(const QString& typed, const QString& column, const char* kind) {
    double d = 0;
    if (!NumberFormat::parse(typed, &d))
        throw FieldError(QStringLiteral("'%1' is not a valid %2 value for field '%3'")
                             .arg(typed, QString::fromLatin1(kind), column));
    return d;
}

void checkDigits(double value, const QString& typed, const QString& column) {
    if (std::abs(value) >= MaxFigure)
        throw FieldError(QStringLiteral("'%1' is out of range for field '%2': a figure must lie between -%3 and %3")
                             .arg(typed, column, NumberFormat::general(MaxFigure)));
}

QVariant figure(const QString& typed, const QString& column) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    const double d = parse(text, column);
    if (!std::isfinite(d))
        throw FieldError(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                             .arg(NumberFormat::general(d), column));
    checkDigits(d, text, column);
    return d;
}

QVariant words(const QString& typed, const QString& column, int size) {
    if (typed.isEmpty())
        return {};
    if (size > 0 && typed.size() > size)
        throw FieldError(QStringLiteral("'%1' is too long for field '%2': it holds at most %3 characters")
                             .arg(typed, column)
                             .arg(size));
    return typed;
}

QString shown(const std::optional<double>& value, const QString& picture) {
    if (!value)
        return {};
    return picture.isEmpty() ? NumberFormat::general(*value) : NumberFormat::format(*value, picture);
}

QString editing(const std::optional<double>& value, const QString& picture) {
    const QString text = shown(value, picture);
    if (picture.isEmpty() || !value)
        return text;
    double back = 0;
    if (NumberFormat::parse(text, &back) && back == *value)
        return text;
    return NumberFormat::general(*value);
}

} // namespace ColumnText
