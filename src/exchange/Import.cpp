#include "Import.h"

#include "Export.h"
#include "domain/MaterialType.h"
#include "components/TextKey.h"
#include "store/Tables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringDecoder>
#include <cmath>

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
    QChar before = u'\n';
    for (QChar c : text) {
        const bool start = before == u'\n' || before == u',' || before == u';' || before == u'\t';
        before = c;
        if (c == u'"' && (quoted || start))
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

// A library figure as the file writes it: an empty cell is none.
bool figure(const QString& text, QChar separator, std::optional<double>* out) {
    double v = 0;
    if (text.trimmed().isEmpty())
        *out = std::nullopt;
    else if (fileNumber(text, separator, &v))
        *out = v;
    else
        return false;
    return true;
}

const char* const kColumns[] = {"RMCode", "RMCommonName", "RMChemClass", "RMType", "RMMWt",
                                "RMFa",   "RMFan",        "RMFb",        "RMPrice"};

// What keeps a material from the library, as the library window would refuse it: no code, a part
// longer than its column, a type word no type has.
QStringList materialFaults(const StoredMaterial& m) {
    QStringList why;
    if (m.code.trimmed().isEmpty())
        why << QStringLiteral("no code");
    const TableSchema& schema = Tables::rmLib();
    const QString* texts[] = {&m.code, &m.name, &m.chemClass, &m.type};
    for (int k = 0; k < 4; ++k) {
        const int width = schema.columns[size_t(schema.columnIndex(QLatin1String(kColumns[k])))].width;
        if (texts[k]->size() > width)
            why << QStringLiteral("%1 '%2' is longer than %3 characters").arg(QLatin1String(kColumns[k]), *texts[k]).arg(width);
    }
    if (!m.type.isEmpty() && materialTypeOf(m.type) == MaterialType::Other)
        why << QStringLiteral("'%1' is no material type").arg(m.type);
    return why;
}

int columnOf(const QStringList& heading, const char* name) {
    for (int k = 0; k < heading.size(); ++k)
        if (heading[k].trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return k;
    return -1;
}

QString unclosedQuote(int row) {
    return QStringLiteral("Row %1: a cell opened with a quote is never closed, so the rest of the file cannot be "
                          "read. Is the file cut short?")
        .arg(row);
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
    // The beginning tells: a JSON object, or a first row that names the library's code column.
    const QString text = decoded(bytes.left(64 * 1024)).trimmed();
    // Nor does text hold control characters but tabs and line ends.
    if (std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        }))
        return FileKind::NotText;
    if (text.startsWith(u'{') || text.startsWith(u'['))
        return FileKind::Exchange;
    const std::vector<QStringList> rows = csvRows(text.section(u'\n', 0, 0));
    if (!rows.empty() && columnOf(rows.front(), "RMCode") >= 0)
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

std::vector<QStringList> csvRows(const QString& text, int* unclosed) {
    const QChar separator = separatorOf(text);
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, atStart = true;
    int quoteRow = 0;
    const auto endField = [&] {
        row << field;
        field.clear();
        atStart = true;
    };
    const auto endRow = [&] {
        endField();
        // A row of empty cells (",,,", as spreadsheets write one) is a blank row.
        const bool blank = std::all_of(row.begin(), row.end(), [](const QString& f) { return f.trimmed().isEmpty(); });
        rows.push_back(blank ? QStringList{} : row);
        row.clear();
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
        } else if (c == u'"' && atStart) {
            // Only a cell's first character opens a quote: one within a cell (5" pipe) is text.
            quoted = true;
            atStart = false;
            quoteRow = int(rows.size()) + 1;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            field += c;
            atStart = false;
        }
    }
    if (!field.isEmpty() || !row.isEmpty() || quoted)
        endRow();
    if (unclosed)
        *unclosed = quoted ? quoteRow : 0;
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
    QStringList faults;
    const QJsonArray lines = root.value("lines").toArray();
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (!lines[n].isObject()) {
            faults << QStringLiteral("line %1 is no line").arg(n + 1);
            continue;
        }
        const QJsonObject o = lines[n].toObject();
        Line l;
        // A number of no line (2.5, or past what a line holds) is left out: the lines are numbered again.
        const double item = o.value("item").toDouble(-1);
        if (item == std::floor(item) && item >= 1 && item <= 32767)
            l.item = int(item);
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
    QHash<QString, size_t> carried; // the folded code, its place in the materials
    const QJsonArray materials = root.value("materials").toArray();
    for (qsizetype n = 0; n < materials.size(); ++n) {
        if (!materials[n].isObject()) {
            faults << QStringLiteral("material %1 is no material").arg(n + 1);
            continue;
        }
        const QJsonObject o = materials[n].toObject();
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
        const QStringList why = materialFaults(m);
        const QString key = TextKey::fold(m.code.trimmed());
        if (!why.isEmpty()) {
            faults << QStringLiteral("material %1 (%2): %3").arg(n + 1).arg(m.code, why.join(QStringLiteral("; ")));
        } else if (carried.contains(key)) {
            // The same material twice is once; two materials of one code cannot both be the lines'.
            if (!e.materials[carried.value(key)].sameParts(m))
                faults << QStringLiteral("the material %1 is in it twice, with different data").arg(m.code);
        } else {
            carried.insert(key, e.materials.size());
            e.materials.push_back(m);
        }
    }
    if (!faults.isEmpty())
        return QStringLiteral("The file is damaged: ") + faults.join(QStringLiteral("; ")) + u'.';
    return e;
}

LibraryFile libraryCsv(const QByteArray& bytes) {
    LibraryFile f;
    int unclosed = 0;
    const QString text = decoded(bytes);
    const QChar separator = separatorOf(text);
    const std::vector<QStringList> rows = csvRows(text, &unclosed);
    int at[9];
    const QStringList heading = rows.empty() ? QStringList{} : rows.front();
    for (int k = 0; k < 9; ++k) {
        at[k] = columnOf(heading, kColumns[k]);
        if (at[k] >= 0)
            f.columns << QLatin1String(kColumns[k]);
    }
    if (at[0] < 0) {
        f.errors << QStringLiteral("The file is not a library CSV: its first row names no RMCode column.");
        return f;
    }
    if (unclosed) {
        f.errors << unclosedQuote(unclosed);
        return f;
    }
    QHash<QString, int> seen; // the folded code, its row
    for (size_t r = 1; r < rows.size(); ++r) {
        const QStringList& cells = rows[r];
        if (cells.isEmpty())
            continue;
        const int n = int(r) + 1;
        // A row cut short would empty the parts it lacks.
        if (cells.size() < heading.size()) {
            f.errors << QStringLiteral("Row %1: %2 cells where the heading has %3.").arg(n).arg(cells.size()).arg(heading.size());
            continue;
        }
        const auto cell = [&](int k) { return at[k] >= 0 ? cells.value(at[k]).trimmed() : QString(); };
        StoredMaterial m;
        m.code = cell(0);
        m.name = cell(1);
        m.chemClass = cell(2);
        m.type = cell(3);
        QStringList why = materialFaults(m);
        std::optional<double>* figures[] = {&m.mwt, &m.fa, &m.fan, &m.fb, &m.price};
        for (int k = 4; k < 9; ++k)
            if (!figure(cell(k), separator, figures[k - 4]))
                why << QStringLiteral("%1 '%2' is not a number").arg(QLatin1String(kColumns[k]), cell(k));
        const QString key = TextKey::fold(m.code);
        if (!m.code.isEmpty() && seen.contains(key))
            why << QStringLiteral("the code %1 is on row %2 already").arg(m.code).arg(seen.value(key));
        else if (!m.code.isEmpty())
            seen.insert(key, n);
        if (why.isEmpty())
            f.rows.push_back({n, m});
        else
            f.errors << QStringLiteral("Row %1: ").arg(n) + why.join(QStringLiteral("; ")) + u'.';
    }
    return f;
}

LinesText::Paste recipeCsv(const QByteArray& bytes,
                           const std::function<std::optional<QString>(const QString&)>& spelled) {
    const QString text = decoded(bytes);
    const QChar separator = separatorOf(text);
    int unclosed = 0;
    const std::vector<QStringList> rows = csvRows(text, &unclosed);
    if (unclosed) {
        LinesText::Paste refused;
        refused.errors << unclosedQuote(unclosed);
        return refused;
    }
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
