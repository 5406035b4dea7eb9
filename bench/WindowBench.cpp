// What a chemist does every second, timed through the real main window (offscreen platform) on
// the Data folder of a long-serving user.
#include "edit/DModUnit.h"
#include "ui/Unit1.h"
#include "ui/CourseChart.h"
#include "ui/CourseForm.h"
#include "ui/DBGrid.h"
#include "ui/Input.h"
#include "ui/MessageBox.h"
#include "edit/History.h"
#include "support/WindowBenchMain.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QUndoStack>
#include <QTest>
#include <benchmark/benchmark.h>
#include <functional>
#include <time.h>

namespace {

const LargeData kTenThousand{10010, 10, 20, 5000};
const LargeData kTwentyThousand{20000, 10, 20, 10000};

// Focuses the `field` cell of line `row` of the grid, outside the timing.
void focusCell(TForm1& form, int row, const char* field) {
    DBGrid* grid = form.DBGrid1;
    grid->setFocus();
    grid->setCurrentIndex(grid->gridModel()->index(row, grid->gridModel()->columnOf(field)));
    settle();
}

// One typed Mass on the middle line of a 127-line recipe: the digits, then Enter; with the
// reaction course window open beside the main window or not. `column`: each on the next line, as
// a column of charges is typed, each line a version of its own in the history; `history`: with
// the recipe history written or turned off, to show what it adds.
void typedMass(benchmark::State& state, bool courseOpen, bool history = true, bool column = false) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    if (!history)
        p.form().dmod()->versions().file().turnOff(QStringLiteral("off for the benchmark"));
    if (courseOpen) {
        p.form().findChild<QAction*>("ReactionCourse1")->trigger();
        settle();
        // The chemist goes back to the recipe; the course stays in view beside it.
        p.form().activateWindow();
        QApplication::setActiveWindow(&p.form());
        settle();
    }
    int n = 0;
    qint64 typing = 0, painting = 0;
    for (auto _ : state) {
        state.PauseTiming();
        focusCell(p.form(), column ? n % 127 : 63, "Mass");
        const QString mass = QString::number(100 + (column ? n / 127 % 2 : n % 2) * 50);
        ++n;
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        typeText(mass);
        typeKey(Qt::Key_Return);
        typing += timer.nsecsElapsed();
        settle();
        painting += timer.nsecsElapsed();
    }
    state.counters["keys_ms"] = double(typing) / 1e6 / double(state.iterations());
    state.counters["with_paint_ms"] = double(painting) / 1e6 / double(state.iterations());
    failOnBoxes(state);
}

void BM_TypedMass(benchmark::State& state) { typedMass(state, false); }
BENCHMARK(BM_TypedMass)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_TypedMassHistoryOff(benchmark::State& state) { typedMass(state, false, false); }
BENCHMARK(BM_TypedMassHistoryOff)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
void BM_TypedMassColumn(benchmark::State& state) { typedMass(state, false, true, true); }
BENCHMARK(BM_TypedMassColumn)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
void BM_TypedMassColumnHistoryOff(benchmark::State& state) { typedMass(state, false, false, true); }
BENCHMARK(BM_TypedMassColumnHistoryOff)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// The same with the reaction course window open: it is redrawn when the typing pauses.
void BM_TypedMassCourseOpen(benchmark::State& state) { typedMass(state, true); }
BENCHMARK(BM_TypedMassCourseOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// That redraw itself, when it comes: the course worked out for the 127-line recipe, the chart
// and the table filled and painted.
void BM_CourseRedraw(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    p.form().findChild<QAction*>("ReactionCourse1")->trigger();
    settle();
    TFrmReactionCourse* course = p.form().FrmReactionCourse();
    TReactionTotals t = p.form().dmod()->editor().totals();
    const double mass = t.TotalMass;
    int n = 0;
    for (auto _ : state) {
        t.TotalMass = mass + (n++ % 2) * 50; // a changed amount: every figure moves
        course->follow(p.form().recipeTitle(), t);
        course->ChartCourse->viewport()->repaint();
        course->GridCourse->viewport()->repaint();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_CourseRedraw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// The same, a second or more after the last change: the recipe's date is written as well, so
// the commit spans the line file and the header file.
void BM_TypedMassNewSecond(benchmark::State& state) {
    QDateTime clock(QDate(2026, 12, 9), QTime(8, 0));
    TDMod::Clock = [&clock] { return clock = clock.addSecs(1); };
    BM_TypedMass(state);
    TDMod::Clock = [] { return QDateTime::currentDateTime(); };
}
BENCHMARK(BM_TypedMassNewSecond)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Delete line 1 of 127 with the Ingredient Delete button; the line is put back untimed.
void BM_DeleteLine1(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    for (auto _ : state) {
        state.PauseTiming();
        focusCell(p.form(), 0, "Mass");
        state.ResumeTiming();
        p.form().BtnDeleteIngredient->click();
        settle();
        state.PauseTiming();
        p.form().BtnInsertIngredient->click();
        settle();
        state.ResumeTiming();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_DeleteLine1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Insert the selected material at line 1 of a recipe of 126 lines, making it 127 again.
void BM_InsertLine1(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    for (auto _ : state) {
        state.PauseTiming();
        focusCell(p.form(), 0, "Mass");
        p.form().BtnDeleteIngredient->click();
        focusCell(p.form(), 0, "Mass");
        state.ResumeTiming();
        p.form().BtnInsertIngredient->click();
        settle();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_InsertLine1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Ctrl+Delete on line 1 of 127 in the grid, answered OK; the line is put back untimed.
void BM_CtrlDeleteLine1(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    for (auto _ : state) {
        state.PauseTiming();
        focusCell(p.form(), 0, "Mass");
        MessageBox::setNextAnswer(QMessageBox::Ok);
        state.ResumeTiming();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);
        settle();
        state.PauseTiming();
        p.form().BtnInsertIngredient->click();
        settle();
        state.ResumeTiming();
    }
    state.counters["lines"] = double(p.form().dmod()->lines().recordCount());
}
BENCHMARK(BM_CtrlDeleteLine1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// A line begun with Insert at line 1 of 126 in the grid, its code typed and Enter: the line is
// stored with its number and the 126 below it move one on. It is deleted again untimed.
void BM_GridInsertLine1(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    const QString code = p.form().dmod()->lines().line().code;
    for (auto _ : state) {
        state.PauseTiming();
        focusCell(p.form(), 0, "Mass");
        p.form().BtnDeleteIngredient->click();
        focusCell(p.form(), 0, "RMCode");
        state.ResumeTiming();
        typeKey(Qt::Key_Insert);
        typeText(code);
        typeKey(Qt::Key_Return);
        settle();
    }
    state.counters["lines"] = double(p.form().dmod()->lines().recordCount());
    failOnBoxes(state);
}
BENCHMARK(BM_GridInsertLine1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Choosing the other 127-line recipe in the batch code box, among 20,000 recipes.
void BM_ChooseCode(benchmark::State& state) {
    RunningProgram p(largeFolder(kTwentyThousand));
    MessageBox::clearHistory();
    QComboBox* code = p.form().CBResinCode;
    code->setFocus();
    settle();
    int n = 0;
    for (auto _ : state) {
        typeKey(n++ % 2 == 0 ? Qt::Key_Down : Qt::Key_Up);
        settle();
    }
    state.counters["lines"] = double(p.form().dmod()->lines().recordCount());
    failOnBoxes(state);
}
BENCHMARK(BM_ChooseCode)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// A type button of the main window clicked, until the selection list of 5,000 materials shows
// that type's.
void BM_MaterialTypeButton(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    QRadioButton* base = p.form().findChild<QRadioButton*>("RadioButton5");
    QRadioButton* all = p.form().findChild<QRadioButton*>("RadioButton6");
    int n = 0;
    for (auto _ : state) {
        (n++ % 2 ? all : base)->click();
        settle();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_MaterialTypeButton)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Ctrl+Z in the grid, as the chemist takes an action back.
void undoByKey(TForm1& form) {
    form.DBGrid1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    settle();
}

// Ctrl+Z after an action on the 127-line recipe: the action is done untimed, its undo timed
// until the window has painted what the files hold again.
void undoAfter(benchmark::State& state, const std::function<void(TForm1&)>& action) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    int undone = 0;
    for (auto _ : state) {
        state.PauseTiming();
        action(p.form());
        settle();
        p.form().DBGrid1->setFocus();
        const int index = p.form().history()->stack().index();
        state.ResumeTiming();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        settle();
        undone += p.form().history()->stack().index() < index;
    }
    if (undone != int(state.iterations()))
        state.SkipWithError("an action was not undone");
    state.counters["lines"] = double(p.form().dmod()->lines().recordCount());
    failOnBoxes(state);
}

void BM_UndoTypedMass(benchmark::State& state) {
    int n = 0;
    undoAfter(state, [&n](TForm1& form) {
        focusCell(form, 63, "Mass");
        // Never what the typed-Mass benchmarks leave in the line: a figure typed that changes
        // nothing is no action to take back.
        typeText(QString::number(123 + (n++ % 2) * 50));
        typeKey(Qt::Key_Return);
    });
}
BENCHMARK(BM_UndoTypedMass)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_UndoDeleteLine1(benchmark::State& state) {
    undoAfter(state, [](TForm1& form) {
        focusCell(form, 0, "Mass");
        form.BtnDeleteIngredient->click();
    });
}
BENCHMARK(BM_UndoDeleteLine1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Delete recipe on the 127-line recipe, answered Yes; its undo brings all of it back and shows it.
void BM_UndoDeleteRecipe(benchmark::State& state) {
    undoAfter(state, [](TForm1& form) {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        form.BtnDeleteRecipe->click();
        MessageBox::clearHistory();
    });
}
BENCHMARK(BM_UndoDeleteRecipe)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Delete recipe on the 127-line recipe, answered Yes, until the window shows the recipe after it;
// the undo that brings it back is not timed.
void BM_DeleteRecipe(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    for (auto _ : state) {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        p.form().BtnDeleteRecipe->click();
        settle();
        state.PauseTiming();
        MessageBox::clearHistory();
        undoByKey(p.form());
        state.ResumeTiming();
    }
    failOnBoxes(state);
}
BENCHMARK(BM_DeleteRecipe)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Save As of the 127-line recipe under a new name, through the name dialog's OK, until the window
// shows the copy; the undo is not timed.
void BM_SaveAsRecipe(benchmark::State& state) {
    RunningProgram p(largeFolder(kTenThousand));
    MessageBox::clearHistory();
    TFrmInput* dialog = p.form().FrmInput();
    for (auto _ : state) {
        dialog->prepare(NameCommand::SaveAs);
        dialog->CBProductCode->setEditText(QStringLiteral("COPY"));
        dialog->OKBtnClick();
        settle();
        state.PauseTiming();
        undoByKey(p.form());
        state.ResumeTiming();
    }
    state.counters["lines"] = double(p.form().dmod()->lines().recordCount());
    failOnBoxes(state);
}
BENCHMARK(BM_SaveAsRecipe)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// A new process of the program, from its start until its window is shown, and the memory it
// then holds.
void startUp(benchmark::State& state, const LargeData& size) {
    const QString child = QCoreApplication::applicationDirPath() + "/bench_startup_child";
    const QString folder = largeFolder(size);
    double rss = 0;
    for (auto _ : state) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KALVORA_BENCH_T0", QString::number(double(ts.tv_sec) * 1e9 + double(ts.tv_nsec), 'f', 0));
        p.setProcessEnvironment(env);
        p.start(child, {folder});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            state.SkipWithError("the program did not start");
            return;
        }
        const QList<QByteArray> out = p.readAllStandardOutput().trimmed().split(' ');
        state.SetIterationTime(out.value(0).toDouble() / 1e9);
        rss = out.value(1).toDouble();
    }
    state.counters["rss_MB"] = rss / 1024;
}
void BM_StartUp10k(benchmark::State& state) { startUp(state, kTenThousand); }
void BM_StartUp20k(benchmark::State& state) { startUp(state, kTwentyThousand); }
BENCHMARK(BM_StartUp10k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartUp20k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
