#pragma once

// A file layer for SQLite that passes everything to the system's own and fails the n-th write,
// sync, truncate or delete it sees: once, or that one and every later one, as a failing or
// full disk does. Installed as SQLite's default, so that every connection opened afterwards
// goes through it.
namespace FaultVfs {

enum class Mode { Once, FromThenOn };
enum class Failure { IoError, DiskFull };

void install();
// Only files whose name holds `part` count and fail from now on; empty: every file.
void onlyFiles(const char* part);
// Files whose name holds `part` open read-only, as a file the user may not write does; empty:
// none.
void readOnlyFiles(const char* part);
// Counts operations from now on; the n-th (1-based) fails. n = 0 fails nothing.
void arm(int n, Mode mode = Mode::Once, Failure failure = Failure::IoError);
void disarm();
// Operations seen since the last arm() or disarm().
int operations();
// Whether a failure was handed out since the last arm(), and the first one handed out.
bool fired();
int firstFailure();

} // namespace FaultVfs
