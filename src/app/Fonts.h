#pragma once

// Maps the faces the windows name to the installed metric-compatible ones: Arial to Liberation
// Sans, Bookman Old Style to URW Bookman.
void installFontSubstitutes();

#include <QFont>

// Arial of the given pixel height, as the windows use it.
QFont arialFont(int pixels, bool bold = false);
