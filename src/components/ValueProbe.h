#pragma once

#include "RowValues.h"
#include "TextKey.h"

#include <QByteArray>
#include <QVariant>

// A value searched for (by locate, find key or a filter), prepared once for comparing with many
// stored rows: text ignores letter case and null equals empty text.
class ValueProbe {
public:
    explicit ValueProbe(const QVariant& v)
        : m_null(!v.isValid() || v.isNull()), m_text(v.typeId() == QMetaType::QString),
          m_utf8(m_null ? QByteArray() : v.toString().toUtf8()), m_number(v.toDouble()) {}
    bool matches(const RowValues& row, int column) const {
        if (m_text || row.isText(column)) {
            if (row.isText(column) || row.isNull(column))
                return TextKey::same(row.utf8(column), QByteArrayView(m_utf8));
            return TextKey::same(row.text(column).toUtf8(), QByteArrayView(m_utf8));
        }
        if (m_null || row.isNull(column))
            return m_null == row.isNull(column);
        return row.number(column) == m_number;
    }

private:
    bool m_null, m_text;
    QByteArray m_utf8;
    double m_number;
};

