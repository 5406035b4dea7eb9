#pragma once

#include "edit/DModUnit.h"
#include "edit/Questions.h"
#include "edit/RecipeBox.h"
#include "edit/RecipeEditor.h"

#include <QMap>

// The main window as the data module sees it, without widgets: boxes that hold what they are
// given, answers given in advance, and a record of what it was told.
struct StandInForm : Questions {
    StandInForm() { QObject::connect(&editor, &RecipeEditor::figuresChanged, [this] { ++resultsShown; }); }
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
    // Hears what the data module shows, as the window does once it is attached.
    void watch(TDMod& dm) {
        QObject::connect(&dm, &TDMod::lineShown, [this] { ++editableUpdates; });
        QObject::connect(&dm, &TDMod::statusText, [this](int panel, const QString& text) { status[panel] = text; });
        QObject::connect(&dm, &TDMod::acidValueWanted, [this] { ++acidValueFocused; });
    }

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
