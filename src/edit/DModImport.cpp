// Recipes and materials from files, each import one action.
#include "edit/DModUnit.h"

#include "components/StoreError.h"
#include "domain/LineConversions.h"

void TDMod::ImportRecipe(const ImportedRecipe& imported, const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("Import"));
    Database::Transaction tx(m_db);
    m_headers.settle();
    for (const StoredMaterial& m : imported.added)
        m_library.store(m);
    Recipe recipe = imported.recipe;
    recipe.header.type = type;
    recipe.header.code = code;
    recipe.header.date = now();
    int item = 0;
    for (::Line& line : recipe.lines) {
        ++item;
        line.code = imported.recoded.value(line.code, line.code);
        // Stored as Save As stores a copy: numbered, a 0 amount empty, a line without a material none.
        if (!line.item || *line.item < -128 || *line.item > 127)
            line.item = item;
        for (std::optional<double>* a : {&line.mass, &line.moles, &line.ea, &line.eb, &line.charge, &line.percent,
                                         &line.cost})
            if (line.code.isEmpty() || (*a && (**a == 0 || !std::isfinite(**a))))
                a->reset();
        // Worked out from its mass with the material it takes here, as if typed: a file may carry
        // masses alone, and a material may be the library's rather than the file's.
        if (const Material* m = m_library.find(line.code))
            LineConversions::reworkFromMass(line, *m);
    }
    if (int(recipe.lines.size()) > MaxLines)
        throw StoreError(QStringLiteral("The file's recipe has %1 lines: a recipe holds at most %2 lines.")
                             .arg(recipe.lines.size())
                             .arg(MaxLines));
    m_recipes.save(recipe);
    m_lines.refresh();
    m_headers.refresh();
    FillResinTypeList();
    FillResinCodeList();
    m_headers.locate(type, code);
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
