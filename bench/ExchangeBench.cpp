// Designing from targets, pasting lines and exporting, timed through the real window over the
// folder of a long-serving user: one keystroke in a target until the design is painted, Apply, a
// paste, and a workbook written.
#include "edit/DModUnit.h"
#include "ui/DesignForm.h"
#include "ui/DBGrid.h"
#include "ui/FileDialog.h"
#include "ui/Input.h"
#include "ui/LibraryImportForm.h"
#include "exchange/Export.h"
#include "edit/History.h"
#include "ui/Unit1.h"
#include "ui/MessageBox.h"
#include "domain/NumberFormat.h"
#include "support/WindowBenchMain.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

const LargeData kTenThousand{10010, 10, 20, 5000};

// The dialog open over the recipe shown, `free` lines free and every condition checked at the
// recipe's present figures in full, the Paton's constant edit focused with its last digit to type.
void designKeystroke(benchmark::State& state, const std::vector<int>& free) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TDMod& dm = *p.form().dmod();
    TFrmDesign dialog(&p.form());
    dialog.start(dm.currentRecipe(), dm.library());
    for (int row = 0; row < dialog.DesignLines->rowCount(); ++row)
        dialog.DesignLines->item(row, TFrmDesign::ColFixed)
            ->setCheckState(std::find(free.begin(), free.end(), row) == free.end() ? Qt::Checked : Qt::Unchecked);
    // The targets the recipe has now, in full: the design is the recipe as it stands.
    const TReactionTotals now = dm.editor().totals();
    for (int t = 0; t < DesignTargetCount; ++t) {
        dialog.conditionEdits[size_t(t)]->setText(NumberFormat::general(designTargetValue(DesignTarget(t), now)));
        dialog.conditionChecks[size_t(t)]->setChecked(true);
    }
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QLineEdit* k = dialog.findChild<QLineEdit*>("EdKValue");
    k->setFocus();
    settle();
    const QString present = k->text();
    const QString stem = present.chopped(1);
    const QString digits[] = {present.right(1), present.right(1) == "9" ? QStringLiteral("8") : QStringLiteral("9")};
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        k->setText(stem);
        settle();
        const QString digit = digits[n++ % 2];
        state.ResumeTiming();
        typeText(digit);
        settle();
    }
    state.counters["free"] = double(free.size());
    state.counters["lines"] = dialog.DesignLines->rowCount();
    state.counters["solved"] = dialog.design().solved ? 1 : 0;
    if (!dialog.design().solved && free.size() == 4)
        state.SkipWithError(dialog.design().message.toUtf8().constData());
    failOnBoxes(state);
}

// Four lines free, one of each kind the conditions turn on: the oil (item 8), a fatty acid
// (item 3), the anhydride (item 6) and pentaerythritol (item 4). Solved on every keystroke.
void BM_DesignKeystroke4Free(benchmark::State& state) { designKeystroke(state, {7, 2, 5, 3}); }
BENCHMARK(BM_DesignKeystroke4Free)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Twenty lines free: four conditions cannot fix them, and the dialog says so on every keystroke.
void BM_DesignKeystroke20Free(benchmark::State& state) {
    std::vector<int> free;
    for (int row = 0; row < 127; row += 6)
        free.push_back(row);
    free.resize(20);
    designKeystroke(state, free);
}
BENCHMARK(BM_DesignKeystroke20Free)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

} // namespace

namespace {

// Apply: four designed masses written into the 127-line recipe as typed masses, each line worked
// out again and the recipe re-totalled and scaled, in one action; taken back untimed.
void BM_DesignApply4Free(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TDMod& dm = *p.form().dmod();
    const std::vector<int> free = {7, 2, 5, 3};
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::pair<int, double>> masses;
        for (int pos : free)
            masses.emplace_back(pos, 50.0 + (n % 2) * 10 + pos);
        ++n;
        state.ResumeTiming();
        dm.database().perform([&] { dm.DesignMasses(masses); });
        settle();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_DesignApply4Free)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

} // namespace

namespace {

// Ctrl+V of 127 lines of a code and a mass, as a spreadsheet puts them on the clipboard, into a
// new recipe of none, until the grid and the panels are painted; taken back untimed.
void BM_Paste127Lines(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TFrmInput* dialog = p.form().FrmInput();
    dialog->prepare(NameCommand::New);
    dialog->CBProductType->setEditText(QStringLiteral("Alkyd"));
    // The folder serves the whole run: each run of this benchmark pastes into a recipe of its own.
    static int run = 0;
    dialog->CBProductCode->setEditText(QStringLiteral("PASTED%1").arg(++run));
    dialog->OKBtnClick();
    settle();
    QString text = QStringLiteral("Code\tMass\r\n");
    for (int i = 0; i < 127; ++i)
        text += QStringLiteral("M%1\t%2\r\n").arg(i * 7, 5, 10, QChar('0')).arg(NumberFormat::general(20 + i * 1.25));
    QGuiApplication::clipboard()->setText(text);
    for (auto _ : state) {
        p.form().DBGrid1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        settle();
        state.PauseTiming();
        if (p.form().dmod()->lines().recordCount() != 127)
            state.SkipWithError("the lines were not pasted");
        p.form().history()->undo();
        settle();
        state.ResumeTiming();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_Paste127Lines)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// File > Export... of the 127-line recipe as a workbook, answered in advance, until the file is
// in place.
void BM_ExportXlsx127Lines(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    QTemporaryDir dir;
    for (auto _ : state) {
        FileDialog::setNextAnswer(dir.filePath(QStringLiteral("F00.xlsx")), QStringLiteral("Recipe as workbook (*.xlsx)"));
        p.form().Export1->trigger();
    }
    state.counters["lines"] = double(p.form().dmod()->lines().recordCount());
    if (!QFileInfo::exists(dir.filePath(QStringLiteral("F00.xlsx"))))
        state.SkipWithError("no workbook was written");
    failOnBoxes(state);
}
BENCHMARK(BM_ExportXlsx127Lines)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

} // namespace

namespace {

// File > Import.. of a library CSV of all 5,000 materials into the library of 5,000, answered in
// advance: the file read, every row held against the library, the preview shown and Import pressed,
// until the rows are stored and the window painted; taken back untimed. `change` makes the file's
// material of a row from the stored one.
void importLibrary(benchmark::State& state, const std::function<void(StoredMaterial&, int)>& change) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TDMod& dm = *p.form().dmod();
    std::vector<StoredMaterial> materials = dm.materials().inListOrder();
    for (size_t i = 0; i < materials.size(); ++i)
        change(materials[i], int(i));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("library.csv"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(Export::libraryCsv(materials));
    f.close();
    bool shown = false;
    int rows = 0;
    for (auto _ : state) {
        FileDialog::setNextAnswer(path);
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<TFrmLibraryImport*>(QApplication::activeModalWidget());
            shown = preview != nullptr;
            if (!preview)
                return;
            rows = preview->PreviewLines->model()->rowCount();
            preview->BtnImport->isEnabled() ? preview->BtnImport->click() : preview->reject();
        });
        p.form().Open1->trigger();
        settle();
        state.PauseTiming();
        if (!shown)
            state.SkipWithError("no preview was shown");
        if (p.form().history()->stack().canUndo() && p.form().Undo1->text().contains(QLatin1String("Import")))
            p.form().history()->undo();
        settle();
        state.ResumeTiming();
    }
    state.counters["materials"] = double(materials.size());
    state.counters["listed"] = rows;
    failOnBoxes(state);
}

// A price list: every material's price changed.
void BM_ImportLibraryCsvPrices5000(benchmark::State& state) {
    importLibrary(state, [](StoredMaterial& m, int) { m.price = m.price.value_or(1) + 0.01; });
}
BENCHMARK(BM_ImportLibraryCsvPrices5000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The library as it is: every row unchanged, the preview alone.
void BM_ImportLibraryCsvUnchanged5000(benchmark::State& state) {
    importLibrary(state, [](StoredMaterial&, int) {});
}
BENCHMARK(BM_ImportLibraryCsvUnchanged5000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// Every tenth material's molecular mass corrected: the lines of those 500 in every recipe are
// worked out again.
void BM_ImportLibraryCsvMasses500(benchmark::State& state) {
    importLibrary(state, [](StoredMaterial& m, int i) {
        if (i % 10 == 0)
            m.mwt = m.mwt.value_or(100) + 1;
    });
}
BENCHMARK(BM_ImportLibraryCsvMasses500)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace
