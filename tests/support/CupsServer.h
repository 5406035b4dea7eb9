#pragma once

#include <QString>
#include <QTemporaryDir>
#include <sys/types.h>

// A CUPS scheduler of the test's own: its configuration, spool and socket in a temporary folder,
// and two queues that write each job into a file of that folder unchanged: "kalvora-test"
// (the default) and "kalvora-refusing", which accepts no jobs.
class CupsServer {
public:
    CupsServer() = default;
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    static bool installed();
    // Starts the scheduler and waits until it answers. False, with `error` set, when it cannot.
    bool start(QString* error);
    void stop();

    QString socket() const;
    // Where the queue "kalvora-test" writes its jobs.
    QString outputFile() const;
    // Waits until every job of the queue has ended; the number of jobs that completed.
    int waitForJobs(int timeoutMs = 15000) const;

private:
    bool writeConfiguration(QString* error);

    QTemporaryDir m_dir;
    pid_t m_pid = 0;
};
