// Recipes and materials from files, each import one action.
#include "edit/DModUnit.h"

#include "components/StoreError.h"
#include "components/TextKey.h"
#include "domain/LineConversions.h"

QStringList TDMod::ImportFaults(const Recipe& recipe) {
    QStringList faults;
    if (int(recipe.lines.size()) > MaxLines)
        faults << QStringLiteral("The file's recipe has %1 lines: a recipe holds at most %2 lines.")
                      .arg(recipe.lines.size())
                      .arg(MaxLines);
    int n = 0;
    for (const ::Line& line : recipe.lines) {
        ++n;
        const std::pair<LineColumn, std::optional<double>> amounts[] = {
            {LineColumn::Mass, line.mass}, {LineColumn::Moles, line.moles}, {LineColumn::Ea, line.ea},
            {LineColumn::Eb, line.eb}};
        for (const auto& [column, amount] : amounts) {
            try {
                if (amount)
                    RecipeLines::validated(column, *amount);
            } catch (const FieldError& e) {
                faults << QStringLiteral("Line %1: %2").arg(n).arg(e.message());
            }
        }
    }
    return faults;
}

void TDMod::ImportRecipe(const ImportedRecipe& imported, const QString& type, const QString& code) {
    if (const QStringList faults = ImportFaults(imported.recipe); !faults.isEmpty())
        throw FieldError(QStringLiteral("Nothing was imported:\n") + faults.join(u'\n'));
    if (imported.version) {
        StoreVersion(imported.recipe, type, code, imported.version->action, imported.version->lineage);
        return;
    }
    m_db.nameAction(QStringLiteral("Import"));
    Database::Transaction tx(m_db);
    m_headers.settle();
    for (const StoredMaterial& m : imported.added)
        m_library.store(m);
    Recipe recipe = imported.recipe;
    recipe.header.type = type;
    recipe.header.code = code;
    recipe.header.date = now();
    // The file's numbers where each line has its own; else the lines are numbered 1 to n in order.
    QSet<int> items;
    for (const ::Line& line : recipe.lines)
        if (line.item && *line.item >= 1 && *line.item <= MaxLines)
            items.insert(*line.item);
    const bool renumber = items.size() != qsizetype(recipe.lines.size());
    int item = 0;
    for (::Line& line : recipe.lines) {
        ++item;
        if (renumber)
            line.item = item;
        line.code = m_library.spelled(imported.recoded.value(TextKey::fold(line.code.trimmed()), line.code));
        // Worked out from its mass with the material it takes here, as if typed: a file may carry
        // masses alone, and a material may be the library's rather than the file's.
        if (const Material* m = m_library.find(line.code))
            LineConversions::reworkFromMass(line, *m);
    }
    storeAsCurrent(recipe);
    tx.commit();
}

void TDMod::ImportMaterials(const std::vector<StoredMaterial>& materials) {
    if (materials.empty())
        return;
    m_db.nameAction(QStringLiteral("Import Library"));
    Database::Transaction tx(m_db);
    m_lines.checkBrowseMode();
    // The lines of a material whose arithmetic changed are worked out again from their masses, in
    // every recipe, as after the library window; a new name or price changes no line.
    QSet<QString> reworked;
    for (const StoredMaterial& m : materials) {
        const Material* before = m.id ? m_library.find(m.code) : nullptr;
        const MaterialType type = materialTypeOf(m.type);
        if (before && (before->type != type || before->mwt != m.mwt.value_or(0) || before->fa != m.fa.value_or(0) ||
                       before->fan != m.fan.value_or(0) || before->fb != m.fb.value_or(0)))
            reworked.insert(m.code);
        m_library.store(m);
    }
    recalcLinesOf(reworked);
    m_lines.refresh();
    CalcTotals();
    tx.commit();
}
