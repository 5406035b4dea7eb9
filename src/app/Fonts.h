#pragma once

// Maps the faces the windows name to the installed metric-compatible ones: Arial to Liberation
// Sans, Bookman Old Style to URW Bookman.
void installFontSubstitutes();
