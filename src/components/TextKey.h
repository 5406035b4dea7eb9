#pragma once

#include <QString>

// Letter case is folded the way SQLite's NOCASE collation folds it (ASCII letters only), so that
// what the indexes on disk treat as one key is one key in memory too.
namespace TextKey {

QString fold(const QString& text);
bool same(const QString& a, const QString& b);
int compare(const QString& a, const QString& b);

} // namespace TextKey
