#include "MaterialType.h"

namespace {

struct Word {
    MaterialType type;
    const char* word;
};
// Sorted as the library's drop-down offers them.
constexpr Word kWords[] = {{MaterialType::Acid, "Acid"},
                           {MaterialType::Amphoteric, "Amphoteric"},
                           {MaterialType::Base, "Base"},
                           {MaterialType::FattyAcid, "Fatty Acid"},
                           {MaterialType::Oil, "Oil"}};

} // namespace

MaterialType materialTypeOf(const QString& word) {
    for (const Word& w : kWords)
        if (word == QLatin1String(w.word))
            return w.type;
    return MaterialType::Other;
}

MaterialType listedMaterialTypeOf(const QString& word) {
    const auto fold = [](QChar c) { return c.unicode() < 128 ? c.toLower() : c; };
    for (const Word& w : kWords) {
        const QLatin1String known(w.word);
        if (word.size() != known.size())
            continue;
        bool same = true;
        for (qsizetype i = 0; same && i < word.size(); ++i)
            same = fold(word[i]) == fold(QChar(known[i]));
        if (same)
            return w.type;
    }
    return MaterialType::Other;
}

QString materialTypeWord(MaterialType type) {
    for (const Word& w : kWords)
        if (w.type == type)
            return QString::fromLatin1(w.word);
    return QString();
}

const QList<MaterialType>& materialTypes() {
    static const QList<MaterialType> all = [] {
        QList<MaterialType> types;
        for (const Word& w : kWords)
            types << w.type;
        return types;
    }();
    return all;
}
