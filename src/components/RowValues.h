#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>
#include <cstring>

// The values of one stored row, packed into a single buffer: a column count, an offset per
// column, then each value as a tag byte and its bytes (a double, a 64-bit integer or UTF-8
// text). A long-serving user's tens of thousands of headers and library rows stay small, copies
// are shared until written, and keys compare without being decoded.
class RowValues {
public:
    RowValues() = default;
    explicit RowValues(int columns); // every value null
    static RowValues fromList(const QList<QVariant>& values);

    int size() const { return m_data.isEmpty() ? 0 : quint8(m_data[0]); }
    QVariant at(int column) const;
    QVariant operator[](int column) const { return at(column); }
    bool isNull(int column) const { return tag(column) == Null; }
    bool isText(int column) const { return tag(column) == Text; }
    bool isInteger(int column) const { return tag(column) == Integer; }
    // A number as the calculations read it: null and text read as 0.
    double number(int column) const;
    QString text(int column) const; // empty for null; numbers in the general format
    QByteArrayView utf8(int column) const; // the bytes of a text value, empty otherwise
    // An amount: none for null, a number stored as text read as one.
    std::optional<double> amount(int column) const {
        if (isNull(column))
            return std::nullopt;
        return isText(column) ? text(column).toDouble() : number(column);
    }
    // What a word and an amount are stored as: empty text and no amount as null.
    static QVariant word(const QString& text) { return text.isEmpty() ? QVariant() : QVariant(text); }
    static QVariant amount(const std::optional<double>& value) { return value ? QVariant(*value) : QVariant(); }

    void set(int column, const QVariant& value);
    QList<QVariant> toList() const;

    bool operator==(const RowValues& other) const { return m_data == other.m_data; }
    bool operator!=(const RowValues& other) const { return m_data != other.m_data; }
    bool sameAt(int column, const RowValues& other) const { return raw(column) == other.raw(column); }

    // Building a row from the columns of a query, in order.
    class Builder {
    public:
        explicit Builder(int columns);
        void addNull();
        void addDouble(double v);
        void addInteger(qint64 v);
        void addText(const char* utf8, int size);
        RowValues take();

    private:
        QByteArray m_data;
        int m_columns;
        int m_next = 0;
    };

private:
    enum Tag : char { Null = 0, Double = 1, Integer = 2, Text = 3 };
    static int headerSize(int columns) { return 1 + 4 * (columns + 1); }
    int offset(int i) const;
    Tag tag(int column) const;
    QByteArrayView raw(int column) const; // tag and bytes
    QByteArrayView payload(int column) const; // bytes after the tag
    template <typename T> T read(int column) const {
        T v;
        std::memcpy(&v, payload(column).data(), sizeof v);
        return v;
    }
    static QByteArray encode(const QVariant& value);

    QByteArray m_data;
};
