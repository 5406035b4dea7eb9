#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Checks the integrity of a set of SQLite files (every page, every index against its table) on a
// thread of its own, with a connection of its own, and records the first fault found. It gives way to the program's writes: a check under
// way is interrupted as soon as a write transaction begins and started again once the program
// has been quiet for a moment, so that a commit never waits for it.
class IntegrityCheck {
public:
    explicit IntegrityCheck(QStringList paths);
    ~IntegrityCheck(); // stops the check if it still runs

    void start();
    // The program begins and ends its write transactions.
    void writerBegins();
    void writerEnds();
    // Blocks until the check has ended.
    void wait();
    bool done() const { return m_done; }
    // The first fault found, as "file: what is wrong"; empty when every file is sound.
    QString fault() const;

private:
    void runAll();
    // One file: true when it ran to its end (sound or not), false when interrupted or stopped.
    bool check(const QString& path);
    void waitForQuiet();

    QStringList m_paths;
    std::thread m_thread;
    std::atomic<int> m_writers{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::mutex m_mutex;
    std::condition_variable m_quiet;
    std::chrono::steady_clock::time_point m_lastWrite;
    QString m_fault;
};
