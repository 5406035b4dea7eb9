// The recipe history at a long-serving user's scale: a recipe's history of 1,000 versions read
// with the figures of each, and what 10,000 versions of a 127-line recipe take on disk.
#include "components/Sqlite.h"
#include "domain/Totals.h"
#include "edit/DModUnit.h"
#include "store/HistoryFile.h"
#include "store/StoredRecipes.h"
#include "store/VersionCoding.h"
#include "ui/CompareForm.h"
#include "ui/RecipeHistoryForm.h"
#include "ui/Unit1.h"
#include "edit/VersionListModel.h"
#include "support/WindowFixture.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

const LargeData kTenThousand{10010, 10, 20, 5000};

// The recipe Alkyd/`code` made current, as choosing it in the main window's boxes does.
void makeCurrent(TDMod& dm, const QString& code) {
    dm.database().perform([&] { dm.ShowResultingRecipe(QStringLiteral("Alkyd"), code); });
    settle();
}

// `count` versions of the 127-line recipe Alkyd/`code`, each a mass typed into a line of its own
// (its moles and equivalents following), stored as the recorder stores them.
qint64 typedVersions(TDMod& dm, const QString& code, int count) {
    Database& db = dm.database();
    HistoryFile& history = dm.versions().file();
    qint64 row = 0;
    Recipe r = *StoredRecipes(db).loadKeyed(QStringLiteral("Alkyd"), code, &row);
    sqliteExec(db.handle(), QStringLiteral("BEGIN"));
    const qint64 lineage = history.newLineage(HistoryFile::Subject::Recipe, row, "Alkyd/" + code);
    Recipe previous;
    for (int i = 0; i < count; ++i) {
        Line& l = r.lines[size_t(i) % r.lines.size()];
        const double factor = 1 + 0.001 * (i % 7 + 1);
        l.mass = value(l.mass) * factor;
        l.moles = value(l.moles) * factor;
        if (l.ea)
            *l.ea *= factor;
        if (l.eb)
            *l.eb *= factor;
        HistoryFile::Version v;
        v.lineage = lineage;
        v.name = "Alkyd/" + code;
        v.stamp = QStringLiteral("2026-12-11T09:00:00");
        v.action = QStringLiteral("typing in Mass");
        v.login = QStringLiteral("chemist");
        v.chain = i % HistoryRecorder::kKeyEvery;
        history.append(v, VersionCoding::encode(r, v.chain ? &previous : nullptr));
        previous = r;
    }
    sqliteExec(db.handle(), QStringLiteral("COMMIT"));
    return lineage;
}

} // namespace

// The history window's reading: every version of a 1,000-version history with its recipe and
// the figures of each.
void BM_OpenHistory1000(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    TDMod& dm = *p.form().dmod();
    static qint64 lineage = 0;
    if (!lineage)
        lineage = typedVersions(dm, QStringLiteral("F05"), 1000);
    for (auto _ : state) {
        const auto all = dm.versions().recipesOf(lineage);
        for (const auto& version : all)
            benchmark::DoNotOptimize(figuresOf(version.second, dm.materials()));
        state.counters["versions"] = double(all.size());
    }
}
BENCHMARK(BM_OpenHistory1000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// What the history file grows by for 10,000 versions of a 127-line recipe.
void BM_HistorySize10000(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    TDMod& dm = *p.form().dmod();
    const QString file = dm.versions().file().path();
    for (auto _ : state) {
        const qint64 before = QFileInfo(file).size();
        typedVersions(dm, QStringLiteral("F06"), 10000);
        state.counters["grown_MB"] = double(QFileInfo(file).size() - before) / 1e6;
    }
}
BENCHMARK(BM_HistorySize10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// View > Recipe History... on a recipe of 1,000 versions of 127 lines: the window made, every
// version read with its figures, the newest selected with its lines, shown and painted.
void BM_HistoryWindow1000(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    TDMod& dm = *p.form().dmod();
    static qint64 lineage = 0;
    if (!lineage)
        lineage = typedVersions(dm, QStringLiteral("F05"), 1000);
    makeCurrent(dm, QStringLiteral("F05"));
    const auto act = [&](const std::function<void()>& a) { return dm.database().perform(a).done; };
    for (auto _ : state) {
        TFrmRecipeHistory window(dm, nullptr, act, [](const ImportedRecipe&) { return false; }, {}, &p.form());
        window.show();
        settle();
        state.counters["versions"] = double(window.versions().rowCount());
        state.PauseTiming();
        window.close();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HistoryWindow1000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Compare Recipes: another 127-line recipe chosen by name beside the current one, read from the
// tables, compared, listed and painted.
void BM_CompareWindow127(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    TDMod& dm = *p.form().dmod();
    makeCurrent(dm, QStringLiteral("F05"));
    const StoredHeaders& list = dm.headers().list();
    std::vector<RecipeName> names;
    for (int i = 0; i < list.count(); ++i)
        names.push_back(list.nameAt(i));
    TFrmCompare window(dm.library(), nullptr, &p.form());
    window.compareWithAny(dm.currentRecipe(), QStringLiteral("Alkyd F05"), names,
                          [&](const RecipeName& n) { return dm.storedRecipe(n.type, n.code); });
    window.show();
    settle();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QLineEdit* typed = window.CBCompareWith->lineEdit();
        typed->setFocus();
        typed->setText(QStringLiteral("Alkyd F0%1").arg(6 + n++ % 3));
        settle();
        state.ResumeTiming();
        typeKey(Qt::Key_Return);
        settle();
        state.counters["lines"] = double(window.comparison().lines.size());
    }
}
BENCHMARK(BM_CompareWindow127)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
