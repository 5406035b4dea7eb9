// Versions from the history made recipes again.
#include "edit/DModUnit.h"

#include "components/StoreError.h"

void TDMod::StoreVersion(const Recipe& version, const QString& type, const QString& code, const QString& action,
                         qint64 lineage) {
    // A line of a material the library no longer has would be a line no figure can be worked
    // out from: the version is refused until the material is back in the library.
    QStringList missing;
    for (const ::Line& line : version.lines)
        if (!line.code.isEmpty() && !m_library.find(line.code) && !missing.contains(line.code))
            missing << line.code;
    if (!missing.isEmpty())
        throw FieldError(missing.size() == 1
                             ? QStringLiteral("Nothing was stored: the library has no material %1. Add it to the "
                                              "library first.")
                                   .arg(missing.front())
                             : QStringLiteral("Nothing was stored: the library has no materials %1. Add them to the "
                                              "library first.")
                                   .arg(missing.join(QStringLiteral(", "))));
    m_db.nameAction(action);
    Database::Transaction tx(m_db);
    m_headers.settle();
    Recipe recipe = version;
    recipe.header.type = type;
    recipe.header.code = code;
    recipe.header.date = now();
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
