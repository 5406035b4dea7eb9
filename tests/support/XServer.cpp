#include "XServer.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <functional>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t spawn(const QStringList& command) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<QByteArray> args;
        for (const QString& a : command)
            args.push_back(a.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        // Quiet: their chatter is not the tests'.
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        QThread::msleep(20);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Up to five seconds: a server that has not started by then is not coming.
bool until(const std::function<bool()>& ready) {
    for (int i = 0; i < 250; ++i) {
        if (ready())
            return true;
        QThread::msleep(20);
    }
    return false;
}

QString rootProperty(const QString& display, const QString& property) {
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), property});
    xprop.waitForFinished(5000);
    return QString::fromLocal8Bit(xprop.readAllStandardOutput());
}

} // namespace

bool XServer::installed() {
    for (const char* tool : {"Xvfb", "openbox", "xprop"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

bool XServer::start(QString* problem) {
    if (!installed()) {
        *problem = QStringLiteral("Xvfb, openbox and xprop are needed (packages xvfb, openbox, x11-utils)");
        return false;
    }
    // A display nobody uses: no socket and no lock. One another program took meanwhile ends
    // the new server at once; the next number is then tried.
    int number = 89;
    bool up = false;
    for (int attempt = 0; attempt < 3 && !up; ++attempt) {
        stop(m_server);
        ++number;
        while (number < 200 && (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
                                QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))))
            ++number;
        m_display = QStringLiteral(":%1").arg(number);
        m_server = spawn({QStringLiteral("Xvfb"), m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("3200x1800x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        up = until([&] {
            return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
                   waitpid(m_server, nullptr, WNOHANG) != 0;
        }) && waitpid(m_server, nullptr, WNOHANG) == 0;
        if (!up && waitpid(m_server, nullptr, WNOHANG) != 0)
            m_server = 0; // ended, and reaped
    }
    if (!up) {
        *problem = QStringLiteral("Xvfb did not start on %1").arg(m_display);
        return false;
    }
    setenv("DISPLAY", m_display.toLocal8Bit().constData(), 1);
    m_manager = spawn({QStringLiteral("openbox")});
    if (!until([&] { return rootProperty(m_display, QStringLiteral("_NET_SUPPORTING_WM_CHECK")).contains("window id"); })) {
        *problem = QStringLiteral("openbox did not start on %1").arg(m_display);
        return false;
    }
    return true;
}

XServer::~XServer() {
    stop(m_manager);
    stop(m_server);
}

QList<unsigned long> XServer::stacking() {
    QList<unsigned long> ids;
    const QString out = rootProperty(QString::fromLocal8Bit(qgetenv("DISPLAY")), QStringLiteral("_NET_CLIENT_LIST_STACKING"));
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const QRegularExpressionMatch& m : hex.globalMatch(out))
        ids << m.captured().toULong(nullptr, 16);
    return ids;
}
