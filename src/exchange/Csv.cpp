#include "Csv.h"

namespace Csv {

QString field(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString row(const QStringList& fields) {
    QStringList out;
    out.reserve(fields.size());
    for (const QString& f : fields)
        out << field(f);
    return out.join(u',') + QStringLiteral("\r\n");
}

QByteArray file(const QString& rows) { return QByteArray("\xEF\xBB\xBF") + rows.toUtf8(); }

} // namespace Csv
