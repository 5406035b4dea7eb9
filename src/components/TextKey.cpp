#include "TextKey.h"

namespace TextKey {

static inline char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }
static inline uchar lower(uchar c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

QString fold(const QString& text) {
    QString out(text);
    for (QChar& c : out)
        c = QChar(lower(c.unicode()));
    return out;
}

int compare(const QString& a, const QString& b) {
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = lower(a[i].unicode()), y = lower(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool same(const QString& a, const QString& b) { return a.size() == b.size() && compare(a, b) == 0; }

// Bytes of UTF-8 compare in code point order, and only ASCII bytes are letters to fold.
int compare(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = qMin(a.size(), b.size());
    const auto* x = reinterpret_cast<const uchar*>(a.data());
    const auto* y = reinterpret_cast<const uchar*>(b.data());
    for (qsizetype i = 0; i < n; ++i) {
        const uchar p = lower(x[i]), q = lower(y[i]);
        if (p != q)
            return p < q ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool same(QByteArrayView a, QByteArrayView b) { return a.size() == b.size() && compare(a, b) == 0; }

} // namespace TextKey
