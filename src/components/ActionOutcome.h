#pragma once

#include <QString>

// What became of one user action, for the window to show.
struct ActionOutcome {
    QString error;        // what the user reads; empty when it succeeded or was shown already
    bool done = true;     // it ran to its end and the files hold it
    bool stored = false;  // the files hold it, although the disk reported an error as it finished
    bool rolledBack = false; // it failed on its own and nothing of it is in the files
};
