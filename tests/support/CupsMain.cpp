#include "CupsMain.h"

#include "CupsServer.h"
#include "GuiTests.h"

#include <QByteArray>
#include <cups/cups.h>
#include <cstdlib>

namespace {
CupsServer* server = nullptr;
QString problem;
} // namespace

CupsServer* testCupsServer() { return server; }
QString cupsProblem() { return problem; }
bool cupsInstalled() { return CupsServer::installed(); }

// The window tests that print through a real scheduler: it starts before the application, so
// that Qt and the print queue find it from the first call.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing |= QByteArray(argv[i]).startsWith("--gtest_list_tests");
    CupsServer cups;
    if (listing)
        problem = QStringLiteral("listing tests");
    else if (cups.start(&problem))
        server = &cups;
    // libcups keeps the server it first used: name it outright as well as for Qt's plugin.
    const QByteArray socket = server ? cups.socket().toLocal8Bit() : QByteArray("/nonexistent/kalvora-test-cups.sock");
    setenv("CUPS_SERVER", socket.constData(), 1);
    cupsSetServer(socket.constData());
    return runGuiTests(argc, argv);
}
