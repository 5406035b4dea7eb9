// Creating, saving, copying, renaming and deleting recipes.
#include "edit/DModUnit.h"

#include "edit/RecipeBox.h"
#include "components/ScopeGuard.h"
#include "components/StoreError.h"
#include "components/TextKey.h"

TDMod::NameOutcome TDMod::NameRecipe(NameCommand command, const RecipeName& source, const QString& type,
                                     const QString& code, const ImportedRecipe* imported) {
    using B = Questions;
    const auto error = [this](const QString& text, int buttons, int defaultButton) {
        return m_questions.showBox(B::Icon::Error, QStringLiteral("Error"), text, buttons, defaultButton);
    };
    if (type.isEmpty()) {
        error(QStringLiteral("A value must be entered for product type"), B::Ok, B::Ok);
        return NameOutcome::TypeMissing;
    }
    if (code.isEmpty()) {
        error(QStringLiteral("A value must be entered for product code"), B::Ok, B::Ok);
        return NameOutcome::CodeMissing;
    }
    // Named before a pending header edit is stored with it.
    const char* const names[] = {"", "New Recipe", "Save As", "Rename", "Import"};
    m_db.nameAction(imported && imported->version ? imported->version->action
                                                  : QString::fromLatin1(names[int(command)]));
    const bool exists = RecipeExists(type, code);
    switch (command) {
    case NameCommand::New:
        if (!exists) {
            AddRecipe(type, code);
            emit acidValueWanted();
        } else if (error(QStringLiteral("A recipe by that name already exists"), B::Abort | B::Retry,
                         B::Retry) == B::Abort) {
            return NameOutcome::Stay;
        }
        break;
    case NameCommand::SaveAs:
    case NameCommand::Import:
        // A deleted recipe brought back never replaces another: both histories stay apart.
        if (exists && imported && imported->version && imported->version->lineage) {
            error(QStringLiteral("A recipe by that name already exists: give the recipe brought back a name of its own"),
                  B::Ok, B::Ok);
            return NameOutcome::Stay;
        }
        if (exists && m_questions.showBox(B::Icon::Question, QStringLiteral("Confirm"),
                                     QStringLiteral("A recipe by that name already exists, continue?"),
                                     B::Yes | B::No, B::No) != B::Yes) // replacing is never the default
            return NameOutcome::Stay;
        if (imported)
            ImportRecipe(*imported, type, code);
        else
            CopyRecipe(source, type, code);
        break;
    case NameCommand::Rename:
        if (exists) {
            error(QStringLiteral("A recipe by that name already exists! Cannot rename"), B::Ok, B::Ok);
            return NameOutcome::Stay;
        }
        RenameRecipe(type, code);
        break;
    }
    ShowResultingRecipe(type, code);
    return NameOutcome::Done;
}

void TDMod::ShowResultingRecipe(const QString& type, const QString& code) {
    m_headers.locate(type, code);
    m_typeBox.setText(m_headers.header().type);
    m_codeBox.setText(m_headers.header().code);
    FillResinTypeList();
    FillResinCodeList();
    SelectRecipe(type, code);
}

void TDMod::SaveRecipe() {
    m_headers.post();
    if (m_lines.state() != RecipeLines::State::Browse)
        m_lines.post();
}

bool TDMod::RecipeExists(const QString& type, const QString& code) {
    m_headers.settle();
    return m_headers.list().find(type, code) >= 0;
}

void TDMod::AddRecipe(const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("New Recipe"));
    Database::Transaction tx(m_db);
    // Whatever is pending is settled first, as moving to another recipe settles it.
    m_headers.settle();
    if (code.isEmpty())
        throw FieldError(QStringLiteral("Field 'BatchCode' must have a value"));
    Recipe recipe = newRecipe(type, code);
    recipe.header.date = now();
    m_recipes.save(recipe);
    m_lines.refresh();
    m_headers.refresh();
    m_headers.locate(type, code);
    tx.commit();
}

void TDMod::DeleteRecipe(const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("Delete Recipe"));
    Database::Transaction tx(m_db);
    {
        ScopeGuard showCurrent([&] {
            m_typeBox.setText(m_headers.header().type);
            m_codeBox.setText(m_headers.header().code);
        });
        // Names that differ only in letter case are one recipe. A pending change is settled as
        // the header is found; the header after it becomes current.
        if (m_headers.locate(type, code))
            m_recipes.remove(m_headers.header().type, m_headers.header().code);
        m_lines.refresh();
        m_headers.refresh();
        FillResinTypeList();
        FillResinCodeList();
    }
    tx.commit();
}

void TDMod::CopyRecipe(const RecipeName& source, const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("Save As"));
    if (TextKey::same(type, source.type) && TextKey::same(code, source.code)) {
        // Copying a recipe onto itself would remove it first: it is stored as Save does.
        SaveRecipe();
        return;
    }
    Database::Transaction tx(m_db);
    if (!m_headers.locate(source.type, source.code))
        throw StoreError(QStringLiteral("Recipe %1, %2 not found").arg(source.type, source.code));
    m_headers.settle();
    Recipe copy = currentRecipe();
    copy.header.type = type;
    copy.header.code = code;
    copy.header.date = now();
    for (::Line& line : copy.lines) {
        if (line.item.value_or(0) < -128 || line.item.value_or(0) > 127)
            throw StoreError(QStringLiteral("Range check error"));
        line.item = line.item.value_or(0);
    }
    storeAsCurrent(copy);
    tx.commit();
}

void TDMod::storeAsCurrent(Recipe recipe) {
    // Amounts are stored as they stand, a 0 empty; a line without a material keeps none.
    for (::Line& line : recipe.lines)
        for (std::optional<double>* a : {&line.mass, &line.moles, &line.ea, &line.eb, &line.charge,
                                         &line.percent, &line.cost})
            if (line.code.isEmpty() || (*a && **a == 0))
                a->reset();
    m_recipes.save(recipe);
    m_lines.refresh();
    m_headers.refresh();
    // The lists show the recipe's name among the others; it is current.
    FillResinTypeList();
    FillResinCodeList();
    m_headers.locate(recipe.header.type, recipe.header.code);
}

void TDMod::RenameRecipe(const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("Rename"));
    Database::Transaction tx(m_db);
    m_headers.settle();
    const RecipeName from = m_headers.name();
    m_recipes.rename(from.type, from.code, type, code);
    m_lines.refresh();
    m_headers.refresh();
    m_headers.locate(type, code);
    tx.commit();
}
