// The two reports at the size a long-serving user reaches, through the real windows (offscreen
// platform): the 127-line recipe printed into a PDF, the 5,000-material library in its preview.
#include "edit/DModUnit.h"
#include "paint/LibReport.h"
#include "ui/Unit1.h"
#include "ui/MessageBox.h"
#include "ui/ReportPreview.h"
#include "support/WindowBenchMain.h"
#include "support/WindowFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>

namespace {

const LargeData kTenThousand{10010, 10, 20, 5000};

// The Print button on the shown 127-line recipe, with Print Setup pointed at a PDF file: from the
// click until the file is written and the progress window gone.
void BM_PrintRecipe127(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    QTemporaryDir out;
    const QString file = out.filePath("recipe.pdf");
    QPrinter* printer = p.form().printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    auto* print = p.form().findChild<QToolButton*>("BtnPrint");
    for (auto _ : state) {
        print->click();
        settle();
    }
    state.counters["lines"] = double(p.form().dmod()->lines().recordCount());
    state.counters["pdf_kB"] = double(QFile(file).size()) / 1024;
    failOnBoxes(state);
}
BENCHMARK(BM_PrintRecipe127)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// The library report opened in its preview, from the command until the first page is on screen.
void BM_LibraryPreview5000(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    int pages = 0;
    for (auto _ : state) {
        TFrmLibReport report(p.form().dmod()->materials());
        ReportPreview preview(report.Report1, report.prepare(), p.form().printer(), "Raw Material Library", &p.form());
        preview.show();
        settle();
        pages = preview.pageCount();
        state.PauseTiming();
        preview.close();
        settle();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    failOnBoxes(state);
}
BENCHMARK(BM_LibraryPreview5000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
