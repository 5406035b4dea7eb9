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

std::optional<double> Line::*lineAmount(LineColumn column) {
    switch (column) {
    case LineColumn::Mass:
        return &Line::mass;
    case LineColumn::Moles:
        return &Line::moles;
    case LineColumn::Ea:
        return &Line::ea;
    case LineColumn::Eb:
        return &Line::eb;
    case LineColumn::Charge:
        return &Line::charge;
    case LineColumn::Percent:
        return &Line::percent;
    case LineColumn::Cost:
        return &Line::cost;
    default:
        return nullptr;
    }
}

QString lineCellText(const Line& line, const Material* m, LineColumn column) {
    switch (column) {
    case LineColumn::Item:
        return line.item ? figure(double(*line.item), column) : QString();
    case LineColumn::Code:
        return line.code;
    case LineColumn::Name:
        return m ? m->name : QString();
    default:
        return figure(line.*lineAmount(column), column);
    }
}
