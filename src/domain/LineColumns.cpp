#include "LineColumns.h"

#include "NumberFormat.h"

#include <array>

namespace {

constexpr std::array<LineColumnFormat, LineColumnCount> kColumns{{
    {"ItemNum", "#"},     {"RMCode", nullptr}, {"RMName", nullptr}, {"Mass", "0.000"},
    {"Moles", "0.0000"},  {"Ea", "0.0000"},    {"Eb", "0.0000"},    {"Charge", "0.00"},
    {"Percent", "0.000"}, {"Cost", "0.00"},
}};

QString figure(const std::optional<double>& value, LineColumn column) {
    return NumberFormat::figure(value, lineColumnFormat(column).picture);
}

} // namespace

const LineColumnFormat& lineColumnFormat(LineColumn column) { return kColumns[size_t(column)]; }

std::optional<LineColumn> lineColumnNamed(const QString& field) {
    for (int c = 0; c < LineColumnCount; ++c)
        if (field.compare(QLatin1String(kColumns[size_t(c)].field), Qt::CaseInsensitive) == 0)
            return LineColumn(c);
    return std::nullopt;
}

QString lineCellText(const Line& line, const Material* m, LineColumn column) {
    switch (column) {
    case LineColumn::Item:
        return line.item ? figure(double(*line.item), column) : QString();
    case LineColumn::Code:
        return line.code;
    case LineColumn::Mass:
        return figure(line.mass, column);
    case LineColumn::Moles:
        return figure(line.moles, column);
    case LineColumn::Ea:
        return figure(line.ea, column);
    case LineColumn::Eb:
        return figure(line.eb, column);
    case LineColumn::Charge:
        return figure(line.charge, column);
    case LineColumn::Percent:
        return figure(line.percent, column);
    case LineColumn::Cost:
        return figure(line.cost, column);
    case LineColumn::Name:
        return m ? m->name : QString();
    }
    return QString();
}
