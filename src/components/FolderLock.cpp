#include "FolderLock.h"

#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const QString& folder) {
    const QString shown = QDir::toNativeSeparators(folder);
    const QByteArray path = QFile::encodeName(folder);
    if (access(path.constData(), W_OK) != 0)
        throw StoreError(QStringLiteral("The table folder \"%1\" cannot be written. Kalvora needs "
                                        "to write its tables there.")
                             .arg(shown));
    m_fd = open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        throw StoreError(QStringLiteral("The table folder \"%1\" cannot be opened.").arg(shown));
    if (flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return;
    const int error = errno;
    if (error == EWOULDBLOCK) {
        close(m_fd);
        m_fd = -1;
        throw StoreError(QStringLiteral("The tables in \"%1\" are in use by another copy of "
                                        "Kalvora. Close that copy first.")
                             .arg(shown));
    }
    // A file system without locks: nothing can hold the folder, so go on without one.
}

FolderLock::~FolderLock() {
    if (m_fd >= 0)
        close(m_fd); // releases the lock
}
