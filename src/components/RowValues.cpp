#include "RowValues.h"

#include "domain/NumberFormat.h"

#include <cstring>

namespace {

void putOffset(QByteArray& data, int i, int value) {
    const quint32 v = quint32(value);
    std::memcpy(data.data() + 1 + 4 * i, &v, sizeof v);
}

} // namespace

RowValues::RowValues(int columns) {
    m_data = QByteArray(headerSize(columns) + columns, Null);
    m_data[0] = char(columns);
    for (int i = 0; i <= columns; ++i)
        putOffset(m_data, i, i);
}

RowValues RowValues::fromList(const QList<QVariant>& values) {
    RowValues row(int(values.size()));
    for (int i = 0; i < values.size(); ++i)
        row.set(i, values[i]);
    return row;
}

int RowValues::offset(int i) const {
    quint32 v;
    std::memcpy(&v, m_data.constData() + 1 + 4 * i, sizeof v);
    return headerSize(size()) + int(v);
}

RowValues::Tag RowValues::tag(int column) const {
    if (column < 0 || column >= size())
        return Null;
    return Tag(m_data[offset(column)]);
}

QByteArrayView RowValues::raw(int column) const {
    if (column < 0 || column >= size())
        return {};
    const int from = offset(column);
    return QByteArrayView(m_data.constData() + from, offset(column + 1) - from);
}

QByteArrayView RowValues::payload(int column) const {
    const QByteArrayView r = raw(column);
    return r.isEmpty() ? r : r.sliced(1);
}

QVariant RowValues::at(int column) const {
    switch (tag(column)) {
    case Double:
        return read<double>(column);
    case Integer:
        return int(read<qint64>(column));
    case Text:
        return QString::fromUtf8(payload(column));
    case Null:
        break;
    }
    return QVariant();
}

double RowValues::number(int column) const {
    switch (tag(column)) {
    case Double:
        return read<double>(column);
    case Integer:
        return double(read<qint64>(column));
    default:
        return 0;
    }
}

QString RowValues::text(int column) const {
    switch (tag(column)) {
    case Text:
        return QString::fromUtf8(payload(column));
    case Double:
    case Integer:
        return NumberFormat::general(number(column));
    case Null:
        break;
    }
    return QString();
}

QByteArrayView RowValues::utf8(int column) const {
    return tag(column) == Text ? payload(column) : QByteArrayView();
}

QByteArray RowValues::encode(const QVariant& value) {
    QByteArray out;
    if (!value.isValid() || value.isNull()) {
        out.append(char(Null));
        return out;
    }
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double v = value.toDouble();
        out.append(char(Double));
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
        return out;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Bool: {
        const qint64 v = value.toLongLong();
        out.append(char(Integer));
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
        return out;
    }
    default:
        out.append(char(Text));
        out.append(value.toString().toUtf8());
        return out;
    }
}

void RowValues::set(int column, const QVariant& value) {
    if (column < 0 || column >= size())
        return;
    const QByteArray bytes = encode(value);
    const int from = offset(column), to = offset(column + 1);
    const int delta = int(bytes.size()) - (to - from);
    m_data.replace(from, to - from, bytes);
    if (delta != 0) {
        const int n = size();
        const int base = headerSize(n);
        for (int i = column + 1; i <= n; ++i)
            putOffset(m_data, i, offset(i) - base + delta);
    }
}

QList<QVariant> RowValues::toList() const {
    QList<QVariant> out;
    out.reserve(size());
    for (int i = 0; i < size(); ++i)
        out.append(at(i));
    return out;
}

// ---------------------------------------------------------------------------------------------

RowValues::Builder::Builder(int columns) : m_columns(columns) {
    m_data = QByteArray(headerSize(columns), '\0');
    m_data[0] = char(columns);
    m_data.reserve(headerSize(columns) + 16 * columns);
}

void RowValues::Builder::addNull() {
    putOffset(m_data, m_next++, int(m_data.size()) - headerSize(m_columns));
    m_data.append(char(Null));
}

void RowValues::Builder::addDouble(double v) {
    putOffset(m_data, m_next++, int(m_data.size()) - headerSize(m_columns));
    m_data.append(char(Double));
    m_data.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void RowValues::Builder::addInteger(qint64 v) {
    putOffset(m_data, m_next++, int(m_data.size()) - headerSize(m_columns));
    m_data.append(char(Integer));
    m_data.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void RowValues::Builder::addText(const char* utf8, int size) {
    putOffset(m_data, m_next++, int(m_data.size()) - headerSize(m_columns));
    m_data.append(char(Text));
    m_data.append(utf8, size);
}

RowValues RowValues::Builder::take() {
    while (m_next < m_columns)
        addNull();
    putOffset(m_data, m_columns, int(m_data.size()) - headerSize(m_columns));
    m_data.squeeze();
    RowValues row;
    row.m_data = std::move(m_data);
    return row;
}
