#include "WindowBenchMain.h"

#include "app/Look.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

void failOnBoxes(benchmark::State& state) {
    if (!MessageBox::history().isEmpty())
        state.SkipWithError(MessageBox::history().last().text.toUtf8().constData());
}

int runWindowBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpLook();
    MessageBox::setAutoAnswer(true);
    // The grid's columns as they stand at first, whatever this machine's user left them as.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
