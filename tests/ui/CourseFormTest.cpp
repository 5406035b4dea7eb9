#include "ui/CourseChart.h"
#include "ui/CourseForm.h"
#include "edit/DModUnit.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/ValueEdit.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "domain/ReactionTotals.h"
#include "support/MainWindowFixture.h"
#include "support/PdfWords.h"
#include "support/TempData.h"
#include "support/WorkedRecipe.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace {

// The worked recipe (Alkyd W1), which passes the statistical gel point at acid value 31.0, and
// Polyester G1: 2 mol diacid with 1.35 mol glycerol, whose gel points come at acid values 149.5
// (statistical) and 86.0 (Carothers); at acid value 8 it yields 413.383 g.
class GelSafetyWindows : public MainWindowFixture<> {
protected:
    void SetUp() override {
        MessageBox::clearHistory();
        ASSERT_NO_FATAL_FAILURE(openWindow(
            TempData::header("Alkyd", "W1") + TempData::header("Polyester", "G1"),
            workedLines() +
                TempData::line("Polyester", "G1", 1, "DIACID",
                               "360, 2, 4, NULL, NULL, NULL, NULL") +
                TempData::line("Polyester", "G1", 2, "TRIOL",
                               "124.3215, 1.35, NULL, 4.05, NULL, NULL, NULL"),
            workedLibrary() + TempData::material("DIACID", "Diacid", "Acid", 180, 2, 0, 0, 2)));
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
    }
    QLabel* gelPanel() { return form.findChild<QLabel*>("PnlAVAtGel"); }
    QColor gelColour() { return gelPanel()->palette().color(QPalette::Window); }
    QLabel* gelWords() { return form.findChild<QLabel*>("LblGelSafety"); }
    QColor background() { return gelPanel()->parentWidget()->palette().color(QPalette::Window); }
    void chooseType(const QString& type) {
        auto* box = form.CBResinType;
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, type);
    }
    // The acid value typed over and entered, as the chemist does.
    void typeAcidValue(const QString& av) {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ValueEdit* edit = form.EdDBAV;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, loc(av));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    TFrmReactionCourse* openCourse() {
        form.findChild<QAction*>("ReactionCourse1")->trigger();
        TFrmReactionCourse* course = form.FrmReactionCourse();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(course));
        return course;
    }

    // Waits for the course window's redraw after a pause in the typing.
    static bool redrawn(TFrmReactionCourse* course, const QString& heading) {
        return QTest::qWaitFor([&] { return course->LblRecipe->text() == heading; },
                               10 * TFrmReactionCourse::RedrawPause);
    }
};

const QColor kAmber(0xFF, 0xC0, 0x00), kRed(0xD0, 0x00, 0x00);

} // namespace

TEST_F(GelSafetyWindows, ThePanelWarnsAsTheTargetPassesEachGelPoint) {
    chooseType("Polyester");
    typeAcidValue("160");
    EXPECT_EQ(gelColour(), background());
    EXPECT_EQ(gelPanel()->toolTip(),
              loc("Short of gel: the statistical gel point would come at acid value 149.5, 10.5 below the target of 160.0"));
    EXPECT_EQ(gelWords()->text(), loc("Clear of gel: the nearer gel point at AV 149.5"));
    typeAcidValue("100");
    EXPECT_EQ(gelColour(), kAmber);
    EXPECT_EQ(gelPanel()->toolTip(),
              loc("Gels before the target: the statistical gel point is reached at acid value 149.5, the target is "
                  "100.0") + ". Carothers' gel point would come only at acid value " + loc("86.0") +
                  ", past the target; real batches usually gel between the two predictions.");
    EXPECT_EQ(gelWords()->text(), loc("Gels by the statistical prediction at AV 149.5"))
        << "the words beside the panel say which, without hovering";
    EXPECT_EQ(gelWords()->palette().color(QPalette::Window), kAmber);
    typeAcidValue("50");
    EXPECT_EQ(gelColour(), kRed);
    EXPECT_EQ(gelPanel()->toolTip(), loc("Gels before the target: both gel points are reached, the statistical one at "
                                         "acid value 149.5 and Carothers' at 86.0; the target is 50.0"));
    EXPECT_EQ(gelPanel()->text(), loc("84.7")) << "the panel's figure stays the one it always showed";
    EXPECT_EQ(gelWords()->text(), loc("Gels by both predictions, first at AV 149.5"));

    // With AutoCalc off the warning waits for Calculate, as every panel does.
    form.findChild<QAction*>("AutoCalc1")->trigger();
    typeAcidValue("160");
    EXPECT_EQ(gelColour(), kRed);
    QTest::mouseClick(form.BtnCalculate, Qt::LeftButton);
    EXPECT_EQ(gelColour(), background());
    typeAcidValue("100");
    EXPECT_EQ(gelColour(), background());
    QTest::mouseClick(form.BtnCalculate, Qt::LeftButton);
    EXPECT_EQ(gelColour(), kAmber);
    EXPECT_EQ(MessageBox::history().size(), 0);
}

TEST_F(GelSafetyWindows, TheCourseWindowFollowsTheRecipeAndLeavesTheMainWindowFree) {
    TFrmReactionCourse* course = openCourse();
    EXPECT_FALSE(course->isModal());
    EXPECT_EQ(course->LblRecipe->text(), loc("Alkyd W1, target acid value 8.0"));
    EXPECT_EQ(course->ChartCourse->markerLabels(),
              QStringList({loc("Statistical gel\n0.908, AV 31.0"), loc("Target\n0.976, AV 8.0")}));

    chooseType("Polyester");
    EXPECT_TRUE(redrawn(course, loc("Polyester G1, target acid value 8.0")));
    EXPECT_TRUE(course->LblGelSafety->text().startsWith("Gels before the target: both gel points"));
    EXPECT_EQ(course->ChartCourse->markerLabels(),
              QStringList({loc("Statistical gel\n0.712, AV 149.5"), loc("Carothers gel\n0.838, AV 86.0"),
                           loc("Target\n0.985, AV 8.0")}));
    // The chart runs to the target, its axis a little past it so that the target's marker is not
    // drawn under the right-hand axis; Mn stops where the molecules run out, at Carothers' extent.
    EXPECT_NEAR(course->ChartCourse->acidValueSeries()->points().constLast().x(), 1 - 413.383 * 8 / (56100 * 4), 1e-6);
    EXPECT_NEAR(course->ChartCourse->extentAxis()->max(), 1.0, 1e-12);
    EXPECT_LT(course->ChartCourse->molMassSeries()->points().constLast().x(), 0.8375);

    // A typed acid value reaches the window when the typing pauses, and the main window keeps
    // the keyboard.
    typeAcidValue("160");
    EXPECT_TRUE(form.EdDBSolids->hasFocus());
    EXPECT_EQ(course->LblRecipe->text(), loc("Polyester G1, target acid value 8.0"));
    EXPECT_TRUE(redrawn(course, loc("Polyester G1, target acid value 160.0")));
    EXPECT_TRUE(course->LblGelSafety->text().startsWith("Short of gel"));

    // Kept on top with the main window, it is not hidden behind it.
    form.StayOnTop->trigger();
    EXPECT_TRUE(course->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(course->isVisible());
    form.StayOnTop->trigger();
    EXPECT_FALSE(course->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// The copy pastes into a spreadsheet as the figures: the panels' yield, water off and molecular
// mass at the target, and the hand-worked statistical gel point.
TEST_F(GelSafetyWindows, TheTableCopiesAsTabSeparatedFigures) {
    TFrmReactionCourse* course = openCourse();
    QTest::mouseClick(course->BtnCopy, Qt::LeftButton);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), course->GridCourse->rowCount() + 1);
    EXPECT_EQ(lines.first(), "Extent\tAcid Value\tMn\tWater Off\tPoint");
    EXPECT_EQ(lines[1], loc("0.000\t317.9\t171\t0.00\t"));
    EXPECT_TRUE(lines.contains(loc("0.908\t31.0\t1329\t31.05\tStatistical gel")));
    EXPECT_EQ(lines.last(), loc("0.976\t8.0\t2901\t34.73\tTarget"));
    EXPECT_EQ(form.findChild<QLabel*>("PnlWaterOff")->text(), loc("34.73"));
    // Ctrl+C in the table copies the same.
    QApplication::clipboard()->clear();
    course->GridCourse->setFocus();
    QTest::keyClick(course->GridCourse, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts), lines);

    // The tip over the plot tells the figures at its extent, water off among them.
    TCourseChart* chart = course->ChartCourse;
    const QPointF at = chart->chart()->mapToPosition(QPointF(0.5, 100), chart->acidValueSeries());
    QHelpEvent tip(QEvent::ToolTip, at.toPoint(), chart->viewport()->mapToGlobal(at.toPoint()));
    QApplication::sendEvent(chart->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(),
              chart->pointToolTip(chart->chart()->mapToValue(at.toPoint(), chart->acidValueSeries()).x()));
    EXPECT_EQ(chart->pointToolTip(0.5), loc("Extent 0.500\nAcid value 161.7\nMn 325\nWater off 9.00 g"));
}

TEST_F(GelSafetyWindows, TheChartSavesAsAPictureAndAsAPage) {
    TFrmReactionCourse* course = openCourse();
    const QString png = data.file("course"), pdf = data.file("course.pdf");
    FileDialog::setNextAnswer(png);
    QTest::mouseClick(course->BtnSaveChart, Qt::LeftButton);
    EXPECT_TRUE(FileDialog::lastProposed().endsWith("Reaction Course Alkyd W1.png"));
    QImage picture(png + ".png");
    ASSERT_FALSE(picture.isNull()) << "a name without an extension is saved as a PNG";
    EXPECT_EQ(picture.size(), course->ChartCourse->size() * 2);

    FileDialog::setNextAnswer(pdf);
    QTest::mouseClick(course->BtnSaveChart, Qt::LeftButton);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    QString error;
    const auto words = pdfWords(pdf, &error);
    if (words.empty())
        GTEST_SKIP() << error.toStdString();
    EXPECT_NE(findWord(words, "Extent"), nullptr);
    EXPECT_NE(findWord(words, "Statistical"), nullptr);
    // The page is filled, not the part of it the window's shape would take: the Mn axis stands
    // near the right margin of the landscape A4 page, and the window's chart is as it was.
    double right = 0;
    for (const PdfWord& w : words)
        right = std::max(right, w.right);
    EXPECT_GT(right, 297 - 12.7 - 25);
    EXPECT_LE(right, 297 - 12.7 + 0.5);
    EXPECT_EQ(course->ChartCourse->chart()->size(), QSizeF(course->ChartCourse->size()));

    EXPECT_EQ(FileDialog::filterSuffix("PNG picture (*.png);;PDF document (*.pdf)"), "png");

    // Another kind of file, or a folder that is not there: said, and nothing written.
    MessageBox::setNextAnswer(QMessageBox::Ok);
    FileDialog::setNextAnswer(data.file("course.jpg"));
    QTest::mouseClick(course->BtnSaveChart, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(data.file("course.jpg")));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    FileDialog::setNextAnswer(data.file("missing/course.png"));
    QTest::mouseClick(course->BtnSaveChart, Qt::LeftButton);
    ASSERT_EQ(MessageBox::history().size(), 2);
    EXPECT_TRUE(MessageBox::history()[0].text.contains(".png or .pdf"));
    EXPECT_TRUE(MessageBox::history()[1].text.startsWith("The chart could not be saved to"));
}

// Every axis label names its own grid line, also where the steps are not whole numbers: a
// charge of acid value 9.0 gives steps of 2.5.
TEST(CourseChart, AxisLabelsCarryTheDecimalsOfTheirSteps) {
    TReactionTotals t;
    t.TotalMass = 1000;
    t.TotalMoles = 5;
    t.TotalEa = 9.0 * 1000 / 56100;
    t.TotalEb = 1;
    t.TargetAV = 2;
    TCourseChart chart;
    chart.setCourse(t, "Low acid");
    EXPECT_EQ(chart.acidValueAxis()->max(), 10);
    EXPECT_EQ(chart.acidValueAxis()->labelFormat(), "%.1f");
    EXPECT_EQ(chart.molMassAxis()->labelFormat(), "%.0f");
}
