#include "Import.h"

#include "Export.h"
#include "domain/MaterialType.h"
#include "store/Tables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringDecoder>

namespace Import {

namespace {

// Windows-1252 where it differs from Latin-1: 0x80 to 0x9F (0 where the code page has no
// character, read as the replacement character).
constexpr char16_t kCp1252High[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
                                      0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

QChar separatorOf(const QString& text) {
    // The first row's most frequent separator outside quotes; on a tie a tab, then a semicolon, so
    // that "GLY;12,5" is a code and a mass with a decimal comma.
    bool quoted = false;
    int commas = 0, semicolons = 0, tabs = 0;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted)
            commas += c == u',', semicolons += c == u';', tabs += c == u'\t';
    }
    if (tabs > 0 && tabs >= commas && tabs >= semicolons)
        return u'\t';
    return semicolons > 0 && semicolons >= commas ? u';' : u',';
}

bool figure(const QString& text, std::optional<double>* out) {
    if (text.trimmed().isEmpty()) {
        *out = std::nullopt;
        return true;
    }
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok); // a decimal point, whatever the locale
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

std::optional<double> jsonFigure(const QJsonValue& v) { return v.isDouble() ? std::optional<double>(v.toDouble()) : std::nullopt; }

// A mass as a file writes it: with a decimal point, or where a comma separates no cells, with a
// decimal comma. Never a thousands separator.
bool fileNumber(const QString& text, QChar separator, double* value) {
    QString t = text.trimmed();
    if (separator != u',' && !t.contains(u'.'))
        t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool namesCodeAndMass(const QStringList& cells, int* codeAt, int* massAt) {
    *codeAt = *massAt = -1;
    for (int k = 0; k < cells.size(); ++k) {
        if (*codeAt < 0 && cells[k].trimmed().compare(QLatin1String("Code"), Qt::CaseInsensitive) == 0)
            *codeAt = k;
        if (*massAt < 0 && cells[k].trimmed().compare(QLatin1String("Mass"), Qt::CaseInsensitive) == 0)
            *massAt = k;
    }
    return *codeAt >= 0 && *massAt >= 0;
}

} // namespace

FileKind kindOf(const QByteArray& bytes) {
    // Text never holds a NUL byte; a workbook, a picture or a zip file does.
    if (bytes.contains('\0'))
        return FileKind::NotText;
    const QString text = decoded(bytes).trimmed();
    if (text.startsWith(u'{') || text.startsWith(u'['))
        return FileKind::Exchange;
    const std::vector<QStringList> rows = csvRows(text.section(u'\n', 0, 0));
    if (!rows.empty() && rows.front().contains(QStringLiteral("RMCode")))
        return FileKind::LibraryCsv;
    return FileKind::RecipeCsv;
}

QString decoded(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QString out;
    out.reserve(bytes.size());
    for (char byte : bytes) {
        const uchar b = uchar(byte);
        const char16_t high = b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : 0;
        out += b >= 0x80 && b < 0xA0 ? QChar(high ? high : char16_t(0xFFFD)) : QChar(b);
    }
    return out;
}

std::vector<QStringList> csvRows(const QString& text) {
    const QChar separator = separatorOf(text);
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, any = false;
    const auto endField = [&] {
        row << field;
        field.clear();
    };
    const auto endRow = [&] {
        endField();
        rows.push_back(row.size() == 1 && row[0].isEmpty() && !any ? QStringList{} : row);
        row.clear();
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += c, ++i;
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = any = true;
        } else if (c == separator) {
            endField();
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty() || any)
        endRow();
    return rows;
}

std::variant<Exchange, QString> exchangeFile(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        // A file that begins as an exchange file and breaks off was cut short.
        if (bytes.contains("\"Kalvora recipe\""))
            return QStringLiteral("The file is cut short or damaged: %1 at character %2.")
                .arg(error.errorString())
                .arg(error.offset);
        return QStringLiteral("The file is not a recipe exchange file.");
    }
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != QLatin1String("Kalvora recipe"))
        return QStringLiteral("The file is not a recipe exchange file.");
    const int version = root.value("version").toInt();
    if (version > Export::ExchangeVersion)
        return QStringLiteral("The file was written by a newer Kalvora (exchange file version %1; this one reads "
                              "version %2 and older).")
            .arg(version)
            .arg(Export::ExchangeVersion);
    if (version < 1 || !root.value("header").isObject() || !root.value("lines").isArray())
        return QStringLiteral("The file is not a recipe exchange file.");
    Exchange e;
    const QJsonObject h = root.value("header").toObject();
    e.recipe.header = {h.value("type").toString(),          h.value("code").toString(),
                       h.value("description").toString(),   jsonFigure(h.value("acidValue")),
                       jsonFigure(h.value("solids")),       jsonFigure(h.value("batchSize")),
                       h.value("date").toString()};
    for (const QJsonValue& v : root.value("lines").toArray()) {
        const QJsonObject o = v.toObject();
        Line l;
        if (o.value("item").isDouble())
            l.item = o.value("item").toInt();
        l.code = o.value("code").toString();
        l.mass = jsonFigure(o.value("mass"));
        l.moles = jsonFigure(o.value("moles"));
        l.ea = jsonFigure(o.value("ea"));
        l.eb = jsonFigure(o.value("eb"));
        l.charge = jsonFigure(o.value("charge"));
        l.percent = jsonFigure(o.value("percent"));
        l.cost = jsonFigure(o.value("cost"));
        e.recipe.lines.push_back(l);
    }
    for (const QJsonValue& v : root.value("materials").toArray()) {
        const QJsonObject o = v.toObject();
        StoredMaterial m;
        m.code = o.value("code").toString();
        m.name = o.value("name").toString();
        m.chemClass = o.value("chemClass").toString();
        m.type = o.value("type").toString();
        m.mwt = jsonFigure(o.value("mwt"));
        m.fa = jsonFigure(o.value("fa"));
        m.fan = jsonFigure(o.value("fan"));
        m.fb = jsonFigure(o.value("fb"));
        m.price = jsonFigure(o.value("price"));
        e.materials.push_back(m);
    }
    return e;
}

LibraryFile libraryCsv(const QByteArray& bytes) {
    LibraryFile f;
    const std::vector<QStringList> rows = csvRows(decoded(bytes));
    const TableSchema& schema = Tables::rmLib();
    const char* names[] = {"RMCode", "RMCommonName", "RMChemClass", "RMType", "RMMWt", "RMFa", "RMFan", "RMFb", "RMPrice"};
    int at[9];
    const QStringList heading = rows.empty() ? QStringList{} : rows.front();
    for (int k = 0; k < 9; ++k) {
        at[k] = int(heading.indexOf(QLatin1String(names[k])));
        if (at[k] >= 0)
            f.columns << QLatin1String(names[k]);
    }
    if (at[0] < 0) {
        f.errors << QStringLiteral("The file is not a library CSV: its first row names no RMCode column.");
        return f;
    }
    QHash<QString, int> seen; // code, its row
    for (size_t r = 1; r < rows.size(); ++r) {
        const QStringList& cells = rows[r];
        if (cells.isEmpty())
            continue;
        const int n = int(r) + 1;
        const QString where = QStringLiteral("Row %1: ").arg(n);
        const auto cell = [&](int k) { return at[k] >= 0 ? cells.value(at[k]).trimmed() : QString(); };
        StoredMaterial m;
        m.code = cell(0);
        m.name = cell(1);
        m.chemClass = cell(2);
        m.type = cell(3);
        QStringList why;
        if (m.code.isEmpty())
            why << QStringLiteral("no code");
        for (int k = 0; k < 4; ++k) {
            const int width = schema.columns[size_t(schema.columnIndex(QLatin1String(names[k])))].width;
            if (cell(k).size() > width)
                why << QStringLiteral("%1 '%2' is longer than %3 characters").arg(QLatin1String(names[k]), cell(k)).arg(width);
        }
        if (!m.type.isEmpty() && materialTypeOf(m.type) == MaterialType::Other)
            why << QStringLiteral("'%1' is no material type").arg(m.type);
        std::optional<double>* figures[] = {&m.mwt, &m.fa, &m.fan, &m.fb, &m.price};
        for (int k = 4; k < 9; ++k)
            if (!figure(cell(k), figures[k - 4]))
                why << QStringLiteral("%1 '%2' is not a number").arg(QLatin1String(names[k]), cell(k));
        const QString key = m.code.toUpper();
        if (!m.code.isEmpty() && seen.contains(key))
            why << QStringLiteral("the code %1 is on row %2 already").arg(m.code).arg(seen.value(key));
        else if (!m.code.isEmpty())
            seen.insert(key, n);
        if (why.isEmpty())
            f.rows.push_back({n, m});
        else
            f.errors << where + why.join(QStringLiteral("; ")) + u'.';
    }
    return f;
}

LinesText::Paste recipeCsv(const QByteArray& bytes,
                           const std::function<std::optional<QString>(const QString&)>& spelled) {
    const QString text = decoded(bytes);
    const QChar separator = separatorOf(text);
    const std::vector<QStringList> rows = csvRows(text);
    // A heading naming Code and Mass, wherever it stands: the lines are the rows under it, to the
    // first blank one (an exported recipe's header is above, its figures below).
    int codeAt = 0, massAt = 1;
    size_t first = 0, heading = rows.size();
    for (size_t r = 0; r < rows.size() && heading == rows.size(); ++r)
        if (namesCodeAndMass(rows[r], &codeAt, &massAt))
            heading = r;
    if (heading < rows.size()) {
        first = heading + 1;
    } else {
        codeAt = 0, massAt = 1;
        // Else a first row with no figure that names no material is a heading of other words.
        while (first < rows.size() && rows[first].isEmpty())
            ++first;
        if (first < rows.size()) {
            const QString row = rows[first].join(u' ');
            const bool figure = std::any_of(row.begin(), row.end(), [](QChar c) { return c.isDigit(); });
            if (!figure && !spelled(rows[first].value(0).trimmed()))
                ++first;
        }
    }
    LinesText::Paste p;
    const auto number = [separator](const QString& t, double* v) { return fileNumber(t, separator, v); };
    bool begun = false;
    for (size_t r = first; r < rows.size(); ++r) {
        if (rows[r].isEmpty()) {
            if (begun && heading < rows.size())
                break;
            continue;
        }
        begun = true;
        LinesText::take(p, int(r) + 1, rows[r].value(codeAt).trimmed(), rows[r].value(massAt).trimmed(), spelled, number);
    }
    return p;
}

} // namespace Import
