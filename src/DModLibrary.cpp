// The data module's part in maintaining the raw-material library.
#include "DModUnit.h"
#include "Tables.h"
#include "components/StoreError.h"

#include <QSet>

void TDMod::CheckMaterial() {
    const auto text = [this](const char* field) { return LibTbl.fieldByName(field).asString().trimmed(); };
    // A line reaches its material by code: a material without one could never be used.
    if (text("RMCode").isEmpty())
        throw StoreError(QStringLiteral("Enter a Code for the raw material."));
    const struct { const char* field; const char* caption; } numbers[] = {
        {"RMMWt", "Mol. Mass"},
        {"RMFa", "Acid Functionality"},
        {"RMFan", "Anhydride Functionality"},
        {"RMFb", "Base Functionality"},
        {"RMPrice", "Cost Price"}};
    for (const auto& n : numbers)
        if (LibTbl.fieldByName(n.field).asFloat() < 0)
            throw StoreError(QStringLiteral("%1 cannot be negative.").arg(QString::fromLatin1(n.caption)));
}

TDMod::MaterialUse TDMod::UseOfMaterial(const QString& code) const {
    const TableSchema& recipes = Tables::recipes();
    const int type = recipes.columnIndex("BatchType"), batch = recipes.columnIndex("BatchCode");
    MaterialUse use;
    QSet<QString> seen;
    for (const RowPtr& row : m_db.table(recipes).select(QStringLiteral("RMCode = ?"), {code})) {
        ++use.lines;
        seen.insert(row->values.text(type).toCaseFolded() + QChar(0) + row->values.text(batch).toCaseFolded());
    }
    use.recipes = int(seen.size());
    return use;
}

void TDMod::LibraryChanged() {
    // The lines look their materials up in the library file itself, which a store renews: the
    // line view has only to show them again.
    TblRecipe.refresh();
}

void TDMod::LibraryClosed() {
    LibTbl.refresh();
    TblLibLookUp.refresh();
    CalcTotals();
}
