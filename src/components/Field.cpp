#include "Field.h"

#include "Database.h"
#include "domain/NumberFormat.h"
#include "StoreError.h"
#include "Table.h"
#include "store/ColumnText.h"

#include <cmath>

Field::Field(Table* table, QString name, FieldType type, int column)
    : m_table(table), m_name(std::move(name)), m_type(type), m_column(column) {
    if (isNumeric())
        alignment = Qt::AlignRight;
}

QVariant Field::value() const { return m_table->currentValue(*this); }

bool Field::isNull() const {
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}

QString Field::asString() const {
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return QString();
    if (isNumeric())
        return NumberFormat::general(v.toDouble());
    return v.toString();
}

double Field::asFloat() const {
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        return NumberFormat::parse(v.toString(), &d) ? d : 0;
    }
    return v.toDouble();
}

int Field::asInteger() const { return int(std::lround(asFloat())); }

QString Field::formatValue(const QVariant& v) const {
    if (!v.isValid() || v.isNull())
        return QString();
    if (!isNumeric())
        return v.toString();
    return ColumnText::shown(v.toDouble(), displayFormat);
}

QString Field::displayText() const { return formatValue(value()); }

QString Field::editTextOf(const QVariant& v) const {
    if (!isNumeric() || !v.isValid() || v.isNull())
        return formatValue(v);
    return ColumnText::editing(v.toDouble(), displayFormat);
}

QVariant Field::validated(const QVariant& value) const {
    if (!value.isValid() || value.isNull())
        return QVariant();
    if (!isNumeric()) {
        // Empty text is no value, as a cleared cell is.
        return ColumnText::words(value.toString(), m_name, size);
    }
    double d = 0;
    if (value.typeId() == QMetaType::QString) {
        d = ColumnText::parse(value.toString(), m_name, m_type == FieldType::SmallInt ? "integer" : "floating point");
    } else {
        d = value.toDouble();
    }
    if (!std::isfinite(d))
        throw FieldError(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                             .arg(NumberFormat::general(d), m_name));
    if (m_type == FieldType::SmallInt) {
        const long long lo = minValue ? std::llround(*minValue) : -32768;
        const long long hi = maxValue ? std::llround(*maxValue) : 32767;
        // Far out of range, the figure is not rounded at all: it would not fit a whole number.
        const long long i = std::abs(d) < MaxFigure ? std::llround(d) : (d < 0 ? lo - 1 : hi + 1);
        if (i < lo || i > hi)
            throw FieldError(
                QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                    .arg(std::abs(d) < MaxFigure ? QString::number(i) : NumberFormat::general(d))
                    .arg(m_name)
                    .arg(lo)
                    .arg(hi));
        return QVariant(int(i));
    }
    if ((minValue && d < *minValue) || (maxValue && d > *maxValue))
        throw FieldError(
            QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                .arg(NumberFormat::general(d), m_name,
                     NumberFormat::general(minValue.value_or(-HUGE_VAL)),
                     NumberFormat::general(maxValue.value_or(HUGE_VAL))));
    // A typed figure beyond what 15 digits can show would overflow what follows from it, or be
    // shown as hundreds of digits.
    if (value.typeId() == QMetaType::QString)
        ColumnText::checkDigits(d, value.toString(), m_name);
    return QVariant(d);
}

void Field::setValue(const QVariant& value) { m_table->writeValue(*this, value); }

void Field::checkText(const QString& text) const {
    const QVariant v = isNumeric() && text.trimmed().isEmpty()
                           ? QVariant()
                           : validated(isNumeric() ? QVariant(text.trimmed()) : QVariant(text));
    if (check)
        check(v);
}

void Field::setText(const QString& text) {
    // Noted first: the passes a typed value starts may store the row at once. A refused value
    // names nothing.
    const bool noted = m_table->noteTyped(*this);
    try {
        if (isNumeric() && text.trimmed().isEmpty())
            clear();
        else
            setValue(isNumeric() ? QVariant(text.trimmed()) : QVariant(text));
    } catch (...) {
        if (noted)
            m_table->forgetTyped(*this);
        throw;
    }
}
