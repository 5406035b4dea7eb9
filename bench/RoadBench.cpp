// The road of one typed amount: a Mass written through its field recalculates the line, totals
// the recipe and scales the batch, storing every line's Charge, Percent and Cost.
#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TypedMassRoad(benchmark::State& state) {
    const int n = int(state.range(0));
    QString lines, lib;
    for (int i = 0; i < 10; ++i)
        lib += TempData::material(QString("M%1").arg(i), QString("Material %1").arg(i),
                                  i % 3 == 0 ? "Oil" : (i % 3 == 1 ? "Acid" : "Base"), 100 + i,
                                  i % 3 == 1 ? 2 : 0, 0, i % 3 == 2 ? 2 : 0, 1.5);
    for (int i = 1; i <= n; ++i)
        lines += TempData::line("Alkyd", "R1", i, QString("M%1").arg(i % 10), "50, 0.5, 1, 1, NULL, NULL, NULL");
    TempData data;
    data.create(TempData::header("Alkyd", "R1"), lines, lib);
    Database db(data.folder());
    StandInForm form;
    TDMod dm(db, form.type, form.code, form, form.editor);
    RecipeLines& t = dm.lines();
    t.locateItem(n / 2);
    LineCell mass(t, "Mass");
    double m = 40;
    for (auto _ : state) {
        t.edit();
        mass.setFloat(m);
        m = m == 40 ? 60 : 40;
    }
    state.SetComplexityN(n);
    state.counters["lines"] = t.recordCount();
}
BENCHMARK(BM_TypedMassRoad)->Arg(10)->Arg(50)->Arg(127)->Unit(benchmark::kMillisecond)->Complexity()->UseRealTime();

} // namespace

BENCHMARK_MAIN();
