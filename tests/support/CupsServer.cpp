#include "CupsServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QByteArray& text, QFile::Permissions permissions) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size() && f.setPermissions(permissions);
}

constexpr QFile::Permissions kReadable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions kRunnable = kReadable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

// A printer that takes PDF and passes it on unchanged: the file the queue writes is the job.
const char kPpd[] = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KALVORA.PPD"
*Manufacturer: "Kalvora"
*Product: "(Test queue)"
*ModelName: "Kalvora test queue"
*ShortNickName: "Kalvora test queue"
*NickName: "Kalvora test queue"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/pdf 0 kalvora-copy"
*OpenUI *PageSize/Page Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

const char kCopyFilter[] = "#!/bin/sh\nif [ -n \"$6\" ]; then exec cat \"$6\"; else exec cat; fi\n";

} // namespace

CupsServer::~CupsServer() { stop(); }

QString CupsServer::socket() const { return m_dir.filePath("cups.sock"); }
QString CupsServer::outputFile() const { return m_dir.filePath("out/job.pdf"); }

bool CupsServer::writeConfiguration(QString* error) {
    const QDir dir(m_dir.path());
    // The scheduler runs its filter as an unprivileged user, who must reach it; and it refuses
    // a filter in a folder others may write to.
    chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    for (const char* sub : {"root/ppd", "bin/filter", "spool", "cache", "state", "log", "tmp", "out"})
        dir.mkpath(sub);
    for (const char* sub : {"root", "root/ppd", "bin", "bin/filter"})
        chmod(QFile::encodeName(dir.filePath(sub)).constData(), 0755);
    chmod(QFile::encodeName(dir.filePath("out")).constData(), 0777);
    for (const char* sub : {"daemon", "cgi-bin", "notifier", "monitor", "backend", "driver"})
        QFile::link(QStringLiteral("/usr/lib/cups/") + sub, dir.filePath(QStringLiteral("bin/") + sub));

    const QString path = m_dir.path();
    QByteArray cupsd = "Listen " + QFile::encodeName(socket()) + "\n"
                       "LogLevel warn\nBrowsing No\nWebInterface No\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    QByteArray files = "FileDevice Yes\n"
                       "ServerRoot " + QFile::encodeName(path) + "/root\n"
                       "RequestRoot " + QFile::encodeName(path) + "/spool\n"
                       "CacheDir " + QFile::encodeName(path) + "/cache\n"
                       "StateDir " + QFile::encodeName(path) + "/state\n"
                       "TempDir " + QFile::encodeName(path) + "/tmp\n"
                       "ServerBin " + QFile::encodeName(path) + "/bin\n"
                       "DataDir /usr/share/cups\n"
                       "AccessLog " + QFile::encodeName(path) + "/log/access_log\n"
                       "ErrorLog " + QFile::encodeName(path) + "/log/error_log\n"
                       "PageLog " + QFile::encodeName(path) + "/log/page_log\n";
    if (getuid() == 0)
        files += "User nobody\nGroup nogroup\n";
    QByteArray printers = "<DefaultPrinter kalvora-test>\nInfo Kalvora test queue\n"
                          "DeviceURI file://" + QFile::encodeName(outputFile()) + "\n"
                          "State Idle\nAccepting Yes\nShared No\n</DefaultPrinter>\n"
                          "<Printer kalvora-refusing>\nInfo A queue that accepts no jobs\n"
                          "DeviceURI file:///dev/null\nState Idle\nAccepting No\nShared No\n</Printer>\n";
    const bool written =
        writeFile(dir.filePath("root/cupsd.conf"), cupsd, kReadable) &&
        writeFile(dir.filePath("root/cups-files.conf"), files, kReadable) &&
        writeFile(dir.filePath("root/printers.conf"), printers, kReadable) &&
        writeFile(dir.filePath("root/ppd/kalvora-test.ppd"), kPpd, kReadable) &&
        writeFile(dir.filePath("root/ppd/kalvora-refusing.ppd"), kPpd, kReadable) &&
        writeFile(dir.filePath("bin/filter/kalvora-copy"), kCopyFilter, kRunnable);
    if (!written && error)
        *error = QStringLiteral("could not write the scheduler's configuration in ") + path;
    return written;
}

static const char kCupsd[] = "/usr/sbin/cupsd";

bool CupsServer::installed() { return access(kCupsd, X_OK) == 0; }

bool CupsServer::start(QString* error) {
    const char* cupsd = kCupsd;
    if (!installed()) {
        *error = QStringLiteral("cupsd is not installed");
        return false;
    }
    if (!m_dir.isValid() || !writeConfiguration(error))
        return false;
    const QByteArray conf = QFile::encodeName(m_dir.filePath("root/cupsd.conf"));
    const QByteArray files = QFile::encodeName(m_dir.filePath("root/cups-files.conf"));
    m_pid = fork();
    if (m_pid == 0) {
        // The scheduler goes with the test, however the test ends, and keeps none of its pipes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = ::open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(cupsd, cupsd, "-f", "-c", conf.constData(), "-s", files.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (m_pid < 0) {
        m_pid = 0;
        *error = QStringLiteral("could not start cupsd");
        return false;
    }
    // Answers once its socket takes connections and the queue is known.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = 0;
            QFile log(m_dir.filePath("log/error_log"));
            log.open(QIODevice::ReadOnly);
            *error = QStringLiteral("cupsd stopped at once: ") + QString::fromLocal8Bit(log.readAll());
            return false;
        }
        if (QFile::exists(socket())) {
            http_t* http = httpConnect2(QFile::encodeName(socket()).constData(), 0, nullptr, AF_LOCAL,
                                        HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr);
            if (http) {
                cups_dest_t* dest = cupsGetNamedDest(http, "kalvora-test", nullptr);
                httpClose(http);
                if (dest) {
                    cupsFreeDests(1, dest);
                    return true;
                }
            }
        }
        QThread::msleep(20);
    }
    *error = QStringLiteral("cupsd did not answer within 10 s");
    return false;
}

int CupsServer::waitForJobs(int timeoutMs) const {
    http_t* http = httpConnect2(QFile::encodeName(socket()).constData(), 0, nullptr, AF_LOCAL,
                                HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr);
    if (!http)
        return -1;
    QElapsedTimer waited;
    waited.start();
    int completed = -1;
    while (waited.elapsed() < timeoutMs) {
        cups_job_t* jobs = nullptr;
        const int active = cupsGetJobs2(http, &jobs, "kalvora-test", 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active, jobs);
        if (active == 0) {
            completed = cupsGetJobs2(http, &jobs, "kalvora-test", 0, CUPS_WHICHJOBS_COMPLETED);
            cupsFreeJobs(completed, jobs);
            break;
        }
        QThread::msleep(20);
    }
    httpClose(http);
    return completed;
}

void CupsServer::stop() {
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = 0;
}
