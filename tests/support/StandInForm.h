#pragma once

#include "edit/MainWindowLink.h"
#include "edit/RecipeEditor.h"
#include "edit/RecipeBox.h"

#include <QMap>

// The main window as the data module sees it, without widgets: it records what it is told.
struct StandInForm : MainWindowLink {
    StandInForm() { QObject::connect(&editor, &RecipeEditor::figuresChanged, [this] { ++resultsShown; }); }
    RecipeBox& resinTypeBox() override { return type; }
    RecipeBox& resinCodeBox() override { return code; }
    void UpdateEditableColumns() override { ++editableUpdates; }
    void setStatusPanel(int index, const QString& text) override { status[index] = text; }
    bool confirm(const QString& question) override {
        questions << question;
        return answer;
    }
    int showBox(Icon icon, const QString& title, const QString& text, int, int defaultButton) override {
        boxes << (icon == Icon::Error ? "error " : "question ") + title + ": " + text;
        if (boxAnswers.isEmpty())
            return defaultButton;
        return boxAnswers.takeFirst();
    }
    void focusAcidValue() override { ++acidValueFocused; }
    std::optional<Material> chosenMaterial() const override { return chosen; }

    MemoryRecipeBox type, code;
    RecipeEditor editor; // what the window would observe
    int resultsShown = 0; // how often the figures were announced whole
    int editableUpdates = 0;
    bool answer = true;
    QStringList questions;
    QStringList boxes;      // every box shown, as "error Title: text"
    QList<int> boxAnswers;  // answers given in advance, in order; the default button otherwise
    int acidValueFocused = 0;
    std::optional<Material> chosen; // the selection list's highlighted material
    QMap<int, QString> status;
};
