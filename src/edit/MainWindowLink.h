#pragma once

#include "domain/Recipe.h"

#include <QString>
#include <optional>

class RecipeBox;

// What the data module writes into the main window. The window implements it; tests of the data
// module use a stand-in without widgets.
class MainWindowLink {
public:
    // The buttons of a message box, and the one that closed it (0: closed otherwise).
    enum Button { Ok = 1, Yes = 2, No = 4, Abort = 8, Retry = 16 };
    enum class Icon { Error, Question };

    virtual ~MainWindowLink() = default;
    virtual RecipeBox& resinTypeBox() = 0;
    virtual RecipeBox& resinCodeBox() = 0;
    // Sets which amount columns of the ingredient grid may be edited for the focused line.
    virtual void UpdateEditableColumns() = 0;
    // Writes panel `index` (1 to 8) of the status bar.
    virtual void setStatusPanel(int index, const QString& text) = 0;
    // Asks a Yes/No question in the "Confirm" box; true only on an explicit Yes.
    virtual bool confirm(const QString& question) = 0;
    // Shows a message box over the window the user is in; returns the button that closed it.
    virtual int showBox(Icon icon, const QString& title, const QString& text, int buttons,
                        int defaultButton) = 0;
    // The material highlighted in the selection list; nullopt when it lists none.
    virtual std::optional<Material> chosenMaterial() const = 0;
    // The acid value edit becomes the focused control (the user goes on there after New).
    virtual void focusAcidValue() = 0;
};
