#include "FaultVfs.h"

#include <sqlite3.h>

#include <cstring>
#include <string>

namespace FaultVfs {

namespace {

sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
int g_count = 0;
int g_failAt = 0;
Mode g_mode = Mode::Once;
Failure g_failure = Failure::IoError;
bool g_fired = false;
int g_first = 0;
std::string g_only;
std::string g_readOnly;

bool named(const char* name, const std::string& part) { return name && std::strstr(name, part.c_str()); }

// The next counted operation: whether it fails, and with what.
int next(int ioError) {
    ++g_count;
    const bool fail = g_failAt > 0 && (g_count == g_failAt || (g_mode == Mode::FromThenOn && g_count > g_failAt));
    if (!fail)
        return SQLITE_OK;
    const int rc = g_failure == Failure::DiskFull && ioError == SQLITE_IOERR_WRITE ? SQLITE_FULL : ioError;
    if (!g_fired)
        g_first = rc;
    g_fired = true;
    return rc;
}

struct File {
    sqlite3_file base;
    sqlite3_file* real; // follows this struct in the same allocation
    bool counted;
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

int xClose(sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); }
int xRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
    return real(f)->pMethods->xRead(real(f), buf, n, off);
}
int xWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
    if (const int rc = reinterpret_cast<File*>(f)->counted ? next(SQLITE_IOERR_WRITE) : SQLITE_OK)
        return rc;
    return real(f)->pMethods->xWrite(real(f), buf, n, off);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    if (const int rc = reinterpret_cast<File*>(f)->counted ? next(SQLITE_IOERR_TRUNCATE) : SQLITE_OK)
        return rc;
    return real(f)->pMethods->xTruncate(real(f), size);
}
int xSync(sqlite3_file* f, int flags) {
    if (const int rc = reinterpret_cast<File*>(f)->counted ? next(SQLITE_IOERR_FSYNC) : SQLITE_OK)
        return rc;
    return real(f)->pMethods->xSync(real(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return real(f)->pMethods->xFileSize(real(f), size); }
int xLock(sqlite3_file* f, int l) { return real(f)->pMethods->xLock(real(f), l); }
int xUnlock(sqlite3_file* f, int l) { return real(f)->pMethods->xUnlock(real(f), l); }
int xCheckReservedLock(sqlite3_file* f, int* out) {
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int xShmMap(sqlite3_file* f, int pg, int sz, int extend, void volatile** p) {
    return real(f)->pMethods->xShmMap(real(f), pg, sz, extend, p);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
int xShmUnmap(sqlite3_file* f, int del) { return real(f)->pMethods->xShmUnmap(real(f), del); }
int xFetch(sqlite3_file* f, sqlite3_int64 off, int amt, void** p) {
    return real(f)->pMethods->xFetch(real(f), off, amt, p);
}
int xUnfetch(sqlite3_file* f, sqlite3_int64 off, void* p) {
    return real(f)->pMethods->xUnfetch(real(f), off, p);
}

const sqlite3_io_methods kMethods = {
    3,           xClose,     xRead,       xWrite,       xTruncate,   xSync,
    xFileSize,   xLock,      xUnlock,     xCheckReservedLock,        xFileControl,
    xSectorSize, xDeviceCharacteristics,  xShmMap,      xShmLock,    xShmBarrier,
    xShmUnmap,   xFetch,     xUnfetch,
};

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<File*>(f);
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->counted = g_only.empty() || named(name, g_only);
    if (!g_readOnly.empty() && named(name, g_readOnly) && (flags & SQLITE_OPEN_READWRITE))
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    const int rc = g_real->xOpen(g_real, name, file->real, flags, outFlags);
    // Without real methods SQLite will not call xClose: neither may this layer.
    file->base.pMethods = file->real->pMethods ? &kMethods : nullptr;
    return rc;
}

int xDelete(sqlite3_vfs*, const char* name, int syncDir) {
    if (const int rc = g_only.empty() || named(name, g_only) ? next(SQLITE_IOERR_DELETE) : SQLITE_OK)
        return rc;
    return g_real->xDelete(g_real, name, syncDir);
}

} // namespace

void install() {
    if (g_real)
        return;
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = *g_real;
    g_vfs.zName = "fault";
    g_vfs.szOsFile = int(sizeof(File)) + g_real->szOsFile;
    g_vfs.pNext = nullptr;
    g_vfs.xOpen = xOpen;
    g_vfs.xDelete = xDelete;
    sqlite3_vfs_register(&g_vfs, 1);
}

void arm(int n, Mode mode, Failure failure) {
    g_count = 0;
    g_failAt = n;
    g_mode = mode;
    g_failure = failure;
    g_fired = false;
    g_first = 0;
}

void disarm() { arm(0); }
int operations() { return g_count; }
void onlyFiles(const char* part) { g_only = part ? part : ""; }
void readOnlyFiles(const char* part) { g_readOnly = part ? part : ""; }
bool fired() { return g_fired; }
int firstFailure() { return g_first; }

} // namespace FaultVfs
