// Inserting and deleting the first line of a full-length recipe, renumbering included.
#include "edit/DModUnit.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <benchmark/benchmark.h>

namespace {

struct Recipe {
    explicit Recipe(int lines) {
        QString rows, lib;
        for (int i = 0; i < 10; ++i)
            lib += TempData::material(QString("M%1").arg(i), QString("Material %1").arg(i), "Base",
                                      100 + i, 0, 0, 2, 1.5);
        for (int i = 1; i <= lines; ++i)
            rows += TempData::line("Alkyd", "R1", i, QString("M%1").arg(i % 10),
                                   "50, 0.5, NULL, 1, NULL, NULL, NULL");
        data.create(TempData::header("Alkyd", "R1"), rows, lib);
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    void focusFirst() { dm->lines().first(); }
    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

void BM_InsertBlankLineAtLine1(benchmark::State& state) {
    Recipe r(126); // the insert makes it 127 lines
    for (auto _ : state) {
        r.focusFirst();
        r.dm->InsertBlankLine();
        state.PauseTiming();
        r.focusFirst();
        r.dm->DeleteLine();
        state.ResumeTiming();
    }
    state.counters["lines"] = 127;
}
BENCHMARK(BM_InsertBlankLineAtLine1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeleteLine1(benchmark::State& state) {
    Recipe r(127);
    for (auto _ : state) {
        r.focusFirst();
        r.dm->DeleteLine();
        state.PauseTiming();
        r.focusFirst();
        r.dm->InsertBlankLine();
        state.ResumeTiming();
    }
    state.counters["lines"] = 127;
}
BENCHMARK(BM_DeleteLine1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
