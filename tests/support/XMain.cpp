#include "GuiTests.h"
#include "XServer.h"

#include <QByteArray>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {
QString problem;
} // namespace

QString xServerProblem() { return problem; }

// The window tests that need a window manager: on a display of their own, started before the
// application so that Qt connects to it.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing |= QByteArray(argv[i]).startsWith("--gtest_list_tests");
    XServer x;
    if (listing || !x.start(&problem)) {
        if (listing)
            problem = QStringLiteral("listing tests");
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    return runGuiTests(argc, argv);
}
