#pragma once

#include <QList>
#include <QString>
#include <sys/types.h>

// A real X display for the tests that need a window manager's stacking: Xvfb with openbox on a
// display of its own, stopped again with the object.
class XServer {
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    static bool installed();
    // Starts both; false with the reason in `problem` when they do not come up.
    bool start(QString* problem);
    QString display() const { return m_display; }

    // The client windows the window manager stacks, from bottom to top.
    static QList<unsigned long> stacking();

private:
    pid_t m_server = 0;
    pid_t m_manager = 0;
    QString m_display;
};
