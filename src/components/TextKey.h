#pragma once

#include <QByteArrayView>
#include <QString>

// Letter case is folded the way SQLite's NOCASE collation folds it (ASCII letters only), so that
// what the indexes on disk treat as one key is one key in memory too.
namespace TextKey {

QString fold(const QString& text);
bool same(const QString& a, const QString& b);
int compare(const QString& a, const QString& b);
// The same comparisons on UTF-8 text, as the rows keep it.
bool same(QByteArrayView a, QByteArrayView b);
int compare(QByteArrayView a, QByteArrayView b);

} // namespace TextKey
