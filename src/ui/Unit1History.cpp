// The main window's commands over the recipe history: the versions of the recipe, two recipes
// side by side, and the recipes deleted.
#include "edit/DModUnit.h"
#include "CompareForm.h"
#include "DeletedRecipesForm.h"
#include "Input.h"
#include "MessageBox.h"
#include "Placement.h"
#include "RecipeHistoryForm.h"
#include "StatusPanels.h"
#include "Unit1.h"

bool TForm1::actFrom(QWidget* window, const std::function<void()>& action) {
    return m_dmod && commitGrid() && MessageBox::reported(window, m_dmod->database().perform(action));
}

bool TForm1::saveVersionAs(const ImportedRecipe& version) {
    return m_input->OpenForVersion(version);
}

void TForm1::RecipeHistory1Click() {
    // The history lists what is stored: typing still in a box or a cell, and a header change not
    // yet saved, are stored first, as a version of their own.
    if (!m_dmod || !storePending())
        return;
    if (m_dmod->headers().isEmpty()) {
        MessageBox::commandError(this, QStringLiteral("There is no recipe to show the history of: make one with File > "
                                                      "New first."));
        return;
    }
    TFrmRecipeHistory* form = nullptr;
    TFrmRecipeHistory history(
        *m_dmod, m_printer.get(), [&](const std::function<void()>& action) { return actFrom(form, action); },
        [this](const ImportedRecipe& version) { return saveVersionAs(version); }, {Undo1, Redo1}, this);
    form = &history;
    stayAboveOpener(&history);
    history.exec();
}

void TForm1::CompareRecipes1Click() {
    if (!m_dmod || !storePending())
        return;
    if (m_dmod->headers().isEmpty()) {
        MessageBox::commandError(this, QStringLiteral("There is no recipe to compare: make one with File > New first."));
        return;
    }
    const StoredHeaders& list = m_dmod->headers().list();
    std::vector<RecipeName> names;
    names.reserve(size_t(list.count()));
    for (int i = 0; i < list.count(); ++i)
        names.push_back(list.nameAt(i));
    TFrmCompare form(m_dmod->library(), m_printer.get(), this);
    form.compareWithAny(m_dmod->currentRecipe(), recipeTitle(), names,
                        [this](const RecipeName& n) { return m_dmod->storedRecipe(n.type, n.code); });
    stayAboveOpener(&form);
    form.exec();
}

void TForm1::DeletedRecipes1Click() {
    if (!m_dmod || !storePending())
        return;
    TFrmDeletedRecipes* form = nullptr;
    TFrmDeletedRecipes deleted(
        *m_dmod, [&](const std::function<void()>& action) { return actFrom(form, action); },
        [this](const ImportedRecipe& version) { return saveVersionAs(version); }, this);
    form = &deleted;
    stayAboveOpener(&deleted);
    if (deleted.exec() == QDialog::Accepted)
        StatusBar1->showNote(QStringLiteral("Restored %1").arg(recipeTitle()));
}
