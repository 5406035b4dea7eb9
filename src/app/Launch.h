#pragma once

#include "Startup.h"

#include <QStringList>
#include <memory>

// The program as its command line starts it: the one road from main() to a window, which the
// installed program's own test takes too.
class Launch {
public:
    // Names the application, reads the command line (--help and --version answer and end the
    // process), finds the Data folder and opens the main window over it, then imports a file
    // named on the line. False when the program must end: the reason was printed and shown.
    bool start(const QStringList& arguments);
    Program& program() const { return *m_program; }

private:
    std::unique_ptr<Program> m_program;
};
