#include "LibraryPreview.h"

#include "components/TextKey.h"
#include "domain/NumberFormat.h"

#include <QHash>
#include <QSet>

namespace Import {

namespace {

struct Part {
    const char* column;
    const char* caption;
    QString StoredMaterial::*text;
    std::optional<double> StoredMaterial::*figure;
};
// The parts a row may change, as the library window names them. The code matches, never changes.
const Part kParts[] = {
    {"RMCommonName", "Common Name", &StoredMaterial::name, nullptr},
    {"RMChemClass", "Chemical Class", &StoredMaterial::chemClass, nullptr},
    {"RMType", "Type", &StoredMaterial::type, nullptr},
    {"RMMWt", "Mol. Mass", nullptr, &StoredMaterial::mwt},
    {"RMFa", "Acid Functionality", nullptr, &StoredMaterial::fa},
    {"RMFan", "Anhydride Functionality", nullptr, &StoredMaterial::fan},
    {"RMFb", "Base Functionality", nullptr, &StoredMaterial::fb},
    {"RMPrice", "Cost Price", nullptr, &StoredMaterial::price},
};

QString shown(const QString& text) { return text.isEmpty() ? QStringLiteral("(empty)") : text; }
QString shown(const std::optional<double>& v) { return v ? NumberFormat::general(*v) : QStringLiteral("(empty)"); }

// The first stored material of each folded code.
QHash<QString, const StoredMaterial*> byFoldedCode(const std::vector<StoredMaterial>& library) {
    QHash<QString, const StoredMaterial*> byCode;
    byCode.reserve(qsizetype(library.size()));
    for (const StoredMaterial& m : library) {
        const QString key = TextKey::fold(m.code.trimmed());
        auto it = byCode.find(key);
        if (it == byCode.end())
            byCode.insert(key, &m);
        else if (m.id < (*it)->id)
            *it = &m;
    }
    return byCode;
}

} // namespace

ExchangeMaterials againstLibrary(const Exchange& exchange, const std::vector<StoredMaterial>& library) {
    ExchangeMaterials out;
    const QHash<QString, const StoredMaterial*> byCode = byFoldedCode(library);
    QSet<QString> carried;
    for (const StoredMaterial& m : exchange.materials) {
        const QString key = TextKey::fold(m.code.trimmed());
        if (m.code.trimmed().isEmpty() || carried.contains(key))
            continue;
        carried.insert(key);
        const StoredMaterial* stored = byCode.value(key, nullptr);
        if (!stored) {
            StoredMaterial added = m;
            added.id = 0;
            out.missing.push_back(added);
            continue;
        }
        StoredMaterial same = m;
        same.code = stored->code;
        if (!same.sameParts(*stored))
            out.differing.push_back({m, *stored});
    }
    for (const Line& l : exchange.recipe.lines) {
        const QString key = TextKey::fold(l.code.trimmed());
        if (!l.code.trimmed().isEmpty() && !carried.contains(key) && !byCode.contains(key) && !out.unknown.contains(l.code))
            out.unknown << l.code;
    }
    return out;
}

QString freeCode(const QString& code, const std::function<bool(const QString&)>& taken, int width) {
    for (int n = 2;; ++n) {
        const QString suffix = QStringLiteral("-%1").arg(n);
        const QString candidate = code.left(qMax(0, width - int(suffix.size()))) + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

int LibraryPreview::count(LibraryChange::Kind kind) const {
    return int(std::count_if(rows.begin(), rows.end(), [kind](const LibraryChange& c) { return c.kind == kind; }));
}

std::vector<StoredMaterial> LibraryPreview::toStore() const {
    std::vector<StoredMaterial> out;
    for (const LibraryChange& c : rows)
        if (c.kind != LibraryChange::Kind::Unchanged)
            out.push_back(c.material);
    return out;
}

QStringList partColumns() {
    QStringList out{QStringLiteral("RMCode")};
    for (const Part& p : kParts)
        out << QLatin1String(p.column);
    return out;
}

QString partShown(const StoredMaterial& m, const QString& column) {
    if (column == QLatin1String("RMCode"))
        return shown(m.code);
    for (const Part& p : kParts)
        if (column == QLatin1String(p.column))
            return p.text ? shown(m.*p.text) : shown(m.*p.figure);
    return QString();
}

QString partCaption(const QString& column) {
    for (const Part& p : kParts)
        if (column == QLatin1String(p.column))
            return QString::fromLatin1(p.caption);
    return column == QLatin1String("RMCode") ? QStringLiteral("Code") : column;
}

LibraryPreview libraryPreview(const LibraryFile& file, const std::vector<StoredMaterial>& library) {
    LibraryPreview preview;
    preview.errors = file.errors;
    const QHash<QString, const StoredMaterial*> byCode = byFoldedCode(library);
    preview.rows.reserve(file.rows.size());
    for (const LibraryRow& row : file.rows) {
        LibraryChange c;
        c.row = row.row;
        const StoredMaterial* stored = byCode.value(TextKey::fold(row.material.code), nullptr);
        if (!stored) {
            c.material = row.material;
            c.material.id = 0;
            preview.rows.push_back(std::move(c));
            continue;
        }
        c.material = *stored;
        for (const Part& p : kParts) {
            if (!file.columns.contains(QLatin1String(p.column)))
                continue;
            if (p.text) {
                // Spaces around a word are no change: a spreadsheet's cell may add them.
                const QString& now = row.material.*p.text;
                if (now.trimmed() != (stored->*p.text).trimmed()) {
                    c.changes << QStringLiteral("%1: %2 to %3").arg(QLatin1String(p.caption), shown(stored->*p.text), shown(now));
                    c.material.*p.text = now;
                }
            } else {
                const std::optional<double>& now = row.material.*p.figure;
                if (now != stored->*p.figure) {
                    c.changes << QStringLiteral("%1: %2 to %3").arg(QLatin1String(p.caption), shown(stored->*p.figure), shown(now));
                    c.material.*p.figure = now;
                }
            }
        }
        c.kind = c.changes.isEmpty() ? LibraryChange::Kind::Unchanged : LibraryChange::Kind::Changed;
        preview.rows.push_back(std::move(c));
    }
    return preview;
}

} // namespace Import
