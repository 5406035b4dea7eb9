#pragma once

// Runs the window tests of this executable: the application, the look, the locale given by
// --locale=, and strictness about boxes, file dialogs and Qt's warnings.
int runGuiTests(int argc, char** argv);
