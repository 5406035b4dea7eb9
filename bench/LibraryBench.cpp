// The library window on 5,000 materials, through the real windows (offscreen platform), over the
// Data folder of a long-serving user.
#include "edit/DModUnit.h"
#include "ui/LibForm.h"
#include "ui/Unit1.h"
#include "ui/ValueEdit.h"
#include "ui/MessageBox.h"
#include "support/WindowBenchMain.h"
#include "support/WindowFixture.h"

#include <QRadioButton>
#include <QToolButton>
#include <benchmark/benchmark.h>

namespace {

const LargeData kTenThousand{10010, 10, 20, 5000};

// From the Library command until the window is on screen.
void BM_OpenLibrary(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TForm1& form = p.form();
    for (auto _ : state) {
        TFormLib lib(*form.dmod(), form.buttonList(), form.printer(), &form);
        lib.show();
        settle();
        state.PauseTiming();
        lib.close();
        settle();
        state.ResumeTiming();
    }
    state.counters["materials"] = double(form.dmod()->materials().size());
    failOnBoxes(state);
}
BENCHMARK(BM_OpenLibrary)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// A click on a type button, until the list and the panel show that type.
void BM_SwitchTypeFilter(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TForm1& form = p.form();
    TFormLib lib(*form.dmod(), form.buttonList(), form.printer(), &form);
    lib.show();
    settle();
    int n = 0;
    for (auto _ : state) {
        (n++ % 2 ? lib.RBAll : lib.RBBase)->click();
        settle();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_SwitchTypeFilter)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// A new price typed for the first material and saved, until the recipe lines show the library
// as stored.
void BM_StoreEditedMaterial(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TForm1& form = p.form();
    TFormLib lib(*form.dmod(), form.buttonList(), form.printer(), &form);
    lib.setWindowModality(Qt::ApplicationModal);
    lib.show();
    settle();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        lib.EdDBRMPrice->setFocus();
        lib.EdDBRMPrice->selectAll();
        settle();
        state.ResumeTiming();
        typeText(QString::number(1 + (n++ % 2)));
        lib.BtnSave->click();
        settle();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_StoreEditedMaterial)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
