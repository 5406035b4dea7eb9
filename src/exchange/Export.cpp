#include "Export.h"

#include "Csv.h"
#include "domain/Figures.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <cmath>

namespace Export {

namespace {

// The shortest text that reads back as the very same number, without an exponent where a
// spreadsheet's reader would show one.
QString number(double v) {
    const double size = std::abs(v);
    const bool plain = v == 0 || (size >= 1e-4 && size < 1e15);
    return QString::number(v, plain ? 'f' : 'g', QLocale::FloatingPointShortest);
}
QString figure(const std::optional<double>& v) { return v ? number(*v) : QString(); }
QJsonValue json(const std::optional<double>& v) { return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null); }

} // namespace

QByteArray recipeCsv(const Recipe& recipe, const MaterialLookup& library, const TReactionTotals& totals) {
    const RecipeHeader& h = recipe.header;
    QString out = Csv::row({QStringLiteral("Resin Type"), h.type}) + Csv::row({QStringLiteral("Batch Code"), h.code}) +
                  Csv::row({QStringLiteral("Description"), h.description}) +
                  Csv::row({QStringLiteral("Acid Value"), figure(h.av)}) +
                  Csv::row({QStringLiteral("Percent Solids"), figure(h.solids)}) +
                  Csv::row({QStringLiteral("Batch Size"), figure(h.size)}) + Csv::row({QStringLiteral("Date"), h.date}) +
                  QStringLiteral("\r\n");
    out += Csv::row({QStringLiteral("Item"), QStringLiteral("Code"), QStringLiteral("Material"), QStringLiteral("Mass"),
                     QStringLiteral("Moles"), QStringLiteral("Ea"), QStringLiteral("Eb"), QStringLiteral("Charge"),
                     QStringLiteral("Percent"), QStringLiteral("Cost")});
    for (const Line& l : recipe.lines) {
        const Material* m = library.find(l.code);
        out += Csv::row({l.item ? QString::number(*l.item) : QString(), l.code, m ? m->name : QString(), figure(l.mass),
                         figure(l.moles), figure(l.ea), figure(l.eb), figure(l.charge), figure(l.percent),
                         figure(l.cost)});
    }
    out += QStringLiteral("\r\n") + Csv::row({QStringLiteral("Figure"), QStringLiteral("Name"), QStringLiteral("Value")});
    for (const Figure& f : figures())
        out += Csv::row({f.caption(), QString::fromLatin1(f.name), number(f.value(totals))});
    return Csv::file(out);
}

QByteArray libraryCsv(const std::vector<StoredMaterial>& materials) {
    QString out = Csv::row({QStringLiteral("RMCode"), QStringLiteral("RMCommonName"), QStringLiteral("RMChemClass"),
                            QStringLiteral("RMType"), QStringLiteral("RMMWt"), QStringLiteral("RMFa"),
                            QStringLiteral("RMFan"), QStringLiteral("RMFb"), QStringLiteral("RMPrice")});
    for (const StoredMaterial& m : materials)
        out += Csv::row({m.code, m.name, m.chemClass, m.type, figure(m.mwt), figure(m.fa), figure(m.fan), figure(m.fb),
                         figure(m.price)});
    return Csv::file(out);
}

QByteArray recipeExchange(const Recipe& recipe, const std::vector<StoredMaterial>& used) {
    const RecipeHeader& h = recipe.header;
    QJsonArray lines;
    for (const Line& l : recipe.lines)
        lines.append(QJsonObject{{"item", l.item ? QJsonValue(*l.item) : QJsonValue(QJsonValue::Null)},
                                 {"code", l.code},
                                 {"mass", json(l.mass)},
                                 {"moles", json(l.moles)},
                                 {"ea", json(l.ea)},
                                 {"eb", json(l.eb)},
                                 {"charge", json(l.charge)},
                                 {"percent", json(l.percent)},
                                 {"cost", json(l.cost)}});
    QJsonArray materials;
    for (const StoredMaterial& m : used)
        materials.append(QJsonObject{{"code", m.code},
                                     {"name", m.name},
                                     {"chemClass", m.chemClass},
                                     {"type", m.type},
                                     {"mwt", json(m.mwt)},
                                     {"fa", json(m.fa)},
                                     {"fan", json(m.fan)},
                                     {"fb", json(m.fb)},
                                     {"price", json(m.price)}});
    const QJsonObject root{{"format", QStringLiteral("Kalvora recipe")},
                           {"version", ExchangeVersion},
                           {"header", QJsonObject{{"type", h.type},
                                                  {"code", h.code},
                                                  {"description", h.description},
                                                  {"acidValue", json(h.av)},
                                                  {"solids", json(h.solids)},
                                                  {"batchSize", json(h.size)},
                                                  {"date", h.date}}},
                           {"lines", lines},
                           {"materials", materials}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::vector<StoredMaterial> materialsUsed(const Recipe& recipe, const std::vector<StoredMaterial>& library) {
    QSet<QString> codes;
    for (const Line& l : recipe.lines)
        codes.insert(l.code);
    // Of two materials of a code (a library stored before codes were kept apart), the lines use
    // the one stored first.
    std::vector<StoredMaterial> used;
    for (const StoredMaterial& m : library) {
        if (!codes.contains(m.code))
            continue;
        const auto same = std::find_if(used.begin(), used.end(), [&](const StoredMaterial& u) { return u.code == m.code; });
        if (same == used.end())
            used.push_back(m);
        else if (m.id < same->id)
            *same = m;
    }
    return used;
}

QString writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2. The file was not written.").arg(QFileInfo(path).fileName(),
                                                                                      file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Cannot write %1: %2. The file was not written.").arg(QFileInfo(path).fileName(),
                                                                                      file.errorString());
    return QString();
}

} // namespace Export
