#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

#include "store/ColumnText.h"

class Table;
class TableFile;
struct StoredRow;

enum class FieldType { String, Float, SmallInt, Currency };


// A field of a view: a stored column or a look-up into another table, with its display settings
// and checks. Reads and writes go through the view's current row (or its edit buffer).
class Field {
public:
    Field(Table* table, QString name, FieldType type, int column);

    const QString& name() const { return m_name; }
    FieldType type() const { return m_type; }
    bool isNumeric() const { return m_type != FieldType::String; }
    Table* table() const { return m_table; }
    int column() const { return m_column; } // index into the stored row, -1 for a look-up

    // Settings.
    int size = 0;         // characters a text field takes
    int displayWidth = 0; // default grid column width in characters, 0 for none
    QString displayFormat;
    bool required = false;
    bool readOnly = false;
    QVariant defaultValue;
    std::optional<double> minValue, maxValue;
    Qt::Alignment alignment = Qt::AlignLeft;
    // What the user calls the field, where an action is named after it; the name when empty.
    QString caption;
    // Runs after a new value has been stored in the field, whoever wrote it.
    std::function<void(Field&)> onChange;
    // Runs before a value that passed the field's own checks is stored, with that value; raises
    // a FieldError to refuse it, and nothing is written.
    std::function<void(const QVariant&)> check;

    // Reading.
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    double asFloat() const;
    int asInteger() const;
    QString displayText() const; // with the display format; empty for null
    QString formatValue(const QVariant& v) const;
    // What an edit shows while the value is being edited: the display text when it reads back as
    // the very value, else the value in full (15 digits), so that retyping what is shown never
    // loses what the display format rounds away.
    QString editText() const { return editTextOf(value()); }
    QString editTextOf(const QVariant& v) const;

    // Writing (the view must be in edit or insert state).
    void setValue(const QVariant& value);
    void setString(const QString& text) { setValue(text); }
    void setFloat(double v) { setValue(v); }
    void setInteger(int v) { setValue(v); }
    void clear() { setValue(QVariant()); }
    // Typed text: parsed for numeric fields, refused with the store's message when not a number.
    void setText(const QString& text);
    // Raises the FieldError setText would raise for `text` (its own checks and `check`), writing
    // nothing.
    void checkText(const QString& text) const;

    // Checks and converts a value for this field; raises the store's message when refused.
    QVariant validated(const QVariant& value) const;

private:
    friend class Table;
    Table* m_table;
    QString m_name;
    FieldType m_type;
    int m_column;
};
