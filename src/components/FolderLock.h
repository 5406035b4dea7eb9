#pragma once

#include <QString>

// Keeps a second copy of the program away from a folder of tables: an operating-system lock on
// the folder itself, which the system releases when the process ends however it ends, so no
// file left behind by a killed copy can lock the user out.
class FolderLock {
public:
    // Raises StoreError when another process holds the folder, or when the folder cannot be
    // written (SQLite needs to write its journals beside the tables).
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};
