#include "WindowBenchMain.h"

#include "app/Look.h"
#include "components/MessageBox.h"

#include <QApplication>
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
