#include "WindowFixture.h"

#include "ui/Unit1.h"
#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <map>
#include <stdexcept>

const QString& largeFolder(const LargeData& size) {
    static std::map<std::tuple<int, int, int, int>, std::unique_ptr<QTemporaryDir>> made;
    static std::map<std::tuple<int, int, int, int>, QString> folders;
    const auto key = std::make_tuple(size.recipes, size.fullRecipes, size.linesPerRecipe, size.materials);
    auto it = folders.find(key);
    if (it == folders.end()) {
        auto dir = std::make_unique<QTemporaryDir>();
        const QString folder = QDir(dir->path()).filePath("Data");
        QDir().mkpath(folder);
        writeLargeData(folder, size);
        made[key] = std::move(dir);
        it = folders.emplace(key, folder).first;
    }
    return it->second;
}

RunningProgram::RunningProgram(const QString& folder) : m_program(std::make_unique<Program>(folder)) {
    if (!m_program->start())
        throw std::runtime_error("the tables were refused");
    if (!QTest::qWaitForWindowExposed(&m_program->form()))
        throw std::runtime_error("the window never showed");
    settle();
}

RunningProgram::~RunningProgram() = default;

TForm1& RunningProgram::form() const { return m_program->form(); }

void typeKey(int key) {
    QWidget* w = QApplication::focusWidget();
    if (!w)
        throw std::runtime_error("nothing has the focus");
    QTest::keyClick(w, Qt::Key(key));
}

void typeText(const QString& text) {
    for (QChar c : text) {
        QWidget* w = QApplication::focusWidget();
        if (!w)
            throw std::runtime_error("nothing has the focus");
        QTest::keyClick(w, c.toLatin1());
    }
}

void settle() { QCoreApplication::processEvents(); }

long residentKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
