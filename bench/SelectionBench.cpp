// Recipe list filling over many headers, and one scan of a full-length recipe.
#include "edit/DModUnit.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <benchmark/benchmark.h>

namespace {

// `headers` recipes over 50 types, the first one with 127 lines.
struct Fixture {
    explicit Fixture(int headers) {
        QString h, l, m;
        for (int i = 0; i < headers; ++i)
            h += TempData::header(QString("Type %1").arg(i % 50, 2, 10, QChar('0')),
                                  QString("C%1").arg(i, 5, 10, QChar('0')));
        for (int i = 1; i <= 127; ++i)
            l += TempData::line("Type 00", "C00000", i, QString("M%1").arg(i % 30),
                                "100, 1, 1, 1, NULL, NULL, NULL");
        for (int i = 0; i < 30; ++i)
            m += TempData::material(QString("M%1").arg(i), QString("Material %1").arg(i), "Base", 100, 0, 0, 2);
        data.create(h, l, m);
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

void BM_FillResinTypeList(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    for (auto _ : state)
        f.dm->FillResinTypeList();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FillResinTypeList)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_FillResinCodeList(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    f.form.type.setText("Type 07");
    for (auto _ : state)
        f.dm->FillResinCodeList();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FillResinCodeList)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_ScanRecipe127Lines(benchmark::State& state) {
    Fixture f(10);
    RecipeLines& t = f.dm->lines();
    double sum = 0;
    for (auto _ : state)
        for (int i = 0; i < t.rowCount(); ++i) {
            const Line& line = t.lineAt(i);
            sum += line.mass.value_or(0) + line.code.size();
        }
    benchmark::DoNotOptimize(sum);
    state.counters["lines"] = t.recordCount();
}
BENCHMARK(BM_ScanRecipe127Lines)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
