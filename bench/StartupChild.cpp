// Starts the program on the Data folder given, and once its window is shown prints the time since
// the moment the parent gave in KALVORA_BENCH_T0 (CLOCK_MONOTONIC ns, taken just before it
// started this process) and the resident memory (kB); then it ends.
#include "app/Look.h"
#include "app/Startup.h"
#include "ui/Unit1.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <ctime>

namespace {

double nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpLook();
    Program program(QString::fromLocal8Bit(argv[1]));
    if (!program.start() || !QTest::qWaitForWindowExposed(&program.form()))
        return 1;
    const double elapsed = nowNs() - qEnvironmentVariable("KALVORA_BENCH_T0").toDouble();
    std::printf("%.0f %ld\n", elapsed, residentKb());
    return 0;
}
