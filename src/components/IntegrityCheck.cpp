#include "IntegrityCheck.h"

#include "Sqlite.h"

#include <QDir>
#include <QFile>
#include <chrono>

using namespace std::chrono_literals;

namespace {
// How long the program must have written nothing before a check starts (again).
constexpr auto kQuiet = 300ms;
} // namespace

IntegrityCheck::IntegrityCheck(QStringList paths) : m_paths(std::move(paths)) {}

IntegrityCheck::~IntegrityCheck() {
    m_stop = true;
    m_quiet.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void IntegrityCheck::start() {
    m_lastWrite = std::chrono::steady_clock::now() - kQuiet;
    m_thread = std::thread([this] { runAll(); });
}

void IntegrityCheck::writerBegins() { ++m_writers; }

void IntegrityCheck::writerEnds() {
    {
        std::lock_guard lock(m_mutex);
        m_lastWrite = std::chrono::steady_clock::now();
    }
    --m_writers;
    m_quiet.notify_all();
}

void IntegrityCheck::wait() {
    if (m_thread.joinable())
        m_thread.join();
}

QString IntegrityCheck::fault() const {
    std::lock_guard lock(const_cast<std::mutex&>(m_mutex));
    return m_fault;
}

void IntegrityCheck::waitForQuiet() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        const auto since = std::chrono::steady_clock::now() - m_lastWrite;
        if (m_writers == 0 && since >= kQuiet)
            return;
        m_quiet.wait_for(lock, m_writers > 0 ? 50ms : kQuiet - since);
    }
}

void IntegrityCheck::runAll() {
    for (const QString& path : m_paths) {
        while (!m_stop) {
            waitForQuiet();
            if (m_stop || check(path))
                break;
        }
        if (m_stop)
            break;
        std::lock_guard lock(m_mutex);
        if (!m_fault.isEmpty())
            break;
    }
    m_done = true;
}

bool IntegrityCheck::check(const QString& path) {
    const auto busy = [](int code) { return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED; };
    const auto fail = [&](const QString& what) {
        std::lock_guard lock(m_mutex);
        if (m_fault.isEmpty())
            m_fault = QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(path), what);
        return true;
    };
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    SqlitePtr db(raw);
    if (rc != SQLITE_OK)
        return busy(rc) ? false : fail(sqliteProblem(rc));
    // Give way at once when the program begins to write.
    sqlite3_progress_handler(
        db.get(), 1000,
        [](void* self) {
            auto* check = static_cast<IntegrityCheck*>(self);
            return check->m_writers > 0 || check->m_stop ? 1 : 0;
        },
        this);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check(1)", -1, &st, nullptr) != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(db.get());
        return busy(code) || (code & 0xff) == SQLITE_INTERRUPT ? false : fail(sqliteProblem(code));
    }
    const int step = sqlite3_step(st);
    QString result;
    if (step == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    const int code = sqlite3_extended_errcode(db.get());
    sqlite3_finalize(st);
    if (step != SQLITE_ROW && ((code & 0xff) == SQLITE_INTERRUPT || busy(code)))
        return false; // given way to the program, or it holds the file for a commit: again later
    if (step != SQLITE_ROW)
        return fail(sqliteProblem(code));
    if (result != QLatin1String("ok"))
        return fail(result);
    return true;
}
