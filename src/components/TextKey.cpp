#include "TextKey.h"

namespace TextKey {

static inline char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

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

} // namespace TextKey
