// Versions from the history made recipes again.
#include "edit/DModUnit.h"

#include "components/StoreError.h"

void TDMod::StoreVersion(const Recipe& version, const QString& type, const QString& code, const QString& action,
                         qint64 lineage) {
    m_db.nameAction(action);
    Database::Transaction tx(m_db);
    m_headers.settle();
    Recipe recipe = version;
    recipe.header.type = type;
    recipe.header.code = code;
    recipe.header.date = now();
    if (lineage)
        m_versions.continueLineage(lineage);
    storeAsCurrent(recipe);
    tx.commit();
}

void TDMod::RestoreVersion(const Recipe& version) {
    if (m_headers.isEmpty())
        throw StoreError(QStringLiteral("There is no recipe to restore a version over."));
    m_headers.settle();
    // The recipe keeps the name it has now, whatever it was called then.
    const RecipeName name = m_headers.name();
    StoreVersion(version, name.type, name.code, QStringLiteral("Restore Version"));
    ShowResultingRecipe(name.type, name.code);
}

std::optional<qint64> TDMod::currentLineage() {
    if (m_headers.isEmpty() || !m_versions.file().isOn())
        return std::nullopt;
    const RecipeName name = m_headers.name();
    return m_versions.lineageOf(name.type, name.code);
}
