#pragma once

#include "edit/RecipeLines.h"

// One column of the focused line, read and written by the column's name in the files.
class LineCell {
public:
    LineCell(RecipeLines& lines, const QString& field) : m_lines(lines), m_column(lineColumnNamed(field).value()) {}

    QVariant value() const { return m_lines.value(m_column); }
    bool isNull() const { return m_lines.isNull(m_column); }
    QString asString() const { return value().toString(); }
    double asFloat() const { return m_lines.asFloat(m_column); }
    int asInteger() const { return m_lines.asInteger(m_column); }
    QString displayText() const { return RecipeLines::displayText(m_lines.line(), m_column); }

    void setText(const QString& text) { m_lines.setText(m_column, text); }
    void setValue(const QVariant& value) { m_lines.setValue(m_column, value); }
    void setString(const QString& text) { setValue(text); }
    void setFloat(double value) { setValue(value); }
    void setInteger(int value) { setValue(value); }
    void clear() { m_lines.clear(m_column); }

private:
    RecipeLines& m_lines;
    LineColumn m_column;
};
