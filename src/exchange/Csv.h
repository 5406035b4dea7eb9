#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Comma-separated text as RFC 4180 writes it: a field holding a comma, a quote or a line break is
// quoted, its quotes doubled; rows end in CRLF. Files begin with the UTF-8 byte-order mark, by
// which spreadsheets know the encoding.
namespace Csv {

QString field(const QString& text);
QString row(const QStringList& fields);
QByteArray file(const QString& rows);

} // namespace Csv
