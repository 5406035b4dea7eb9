#pragma once

#include <QString>

// What a command asks the user on its way (replace a line's material? a recipe of that name
// exists: try again?). The main window asks in its boxes; tests answer in advance.
class Questions {
public:
    // The buttons of a message box, and the one that closed it (0: closed otherwise).
    enum Button { Ok = 1, Yes = 2, No = 4, Abort = 8, Retry = 16 };
    enum class Icon { Error, Question };

    virtual ~Questions() = default;
    // Asks a Yes/No question in the "Confirm" box; true only on an explicit Yes.
    virtual bool confirm(const QString& question) = 0;
    // Shows a message box over the window the user is in; returns the button that closed it.
    virtual int showBox(Icon icon, const QString& title, const QString& text, int buttons, int defaultButton) = 0;
};
