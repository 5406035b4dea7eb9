#pragma once

#include <QString>

class CupsServer;

// The scheduler the print tests run against, or nullptr: then cupsd is not installed or
// `cupsProblem` says why it did not start.
CupsServer* testCupsServer();
QString cupsProblem();
bool cupsInstalled();
