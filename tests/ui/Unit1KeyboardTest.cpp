// A recipe typed into the real main window as a chemist types it: whole key sequences, each key
// sent to whatever has the focus. Every sequence checks what the files hold, where the cursor
// stands and what the panels read, on the first, a middle and the last line, with AutoCalc on
// and off, and under the locale the tests run in (a second run uses German decimal commas).
#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/DBGrid.h"
#include "ui/LibraryList.h"
#include "ui/MessageBox.h"
#include "domain/NumberFormat.h"
#include "domain/ReactionTotals.h"
#include "support/GridDriver.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kLibrary = TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
                         TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
                         TempData::material("SOY", "Soya Oil", "Oil", 872.5, 0, 0, 0, 1.6) +
                         TempData::material("PE", "Pentaerythritol", "Base", 136.15, 0, 0, 4, 2.1);

// Five lines: soya oil, glycerol, pentaerythritol, phthalic anhydride, glycerol.
const QString kLines = TempData::line("Alkyd", "K1", 1, "SOY", "600, 0.6876790830945558, 2.0630372492836675, 2.0630372492836675, NULL, NULL, NULL") +
                       TempData::line("Alkyd", "K1", 2, "GLY", "50, 0.5429473341296557, NULL, 1.628842002388967, NULL, NULL, NULL") +
                       TempData::line("Alkyd", "K1", 3, "PE", "80, 0.5875872199779655, NULL, 2.350348879911862, NULL, NULL, NULL") +
                       TempData::line("Alkyd", "K1", 4, "PA", "250, 1.6878206859303268, 3.3756413718606537, NULL, NULL, NULL, NULL") +
                       TempData::line("Alkyd", "K1", 5, "GLY", "20, 0.2171789336518623, NULL, 0.6515368009555868, NULL, NULL, NULL");

struct Sequence {
    int line;      // where the typing starts
    bool autoCalc;
};

std::string name(const Sequence& s) {
    const std::string where = s.line == 0 ? "FirstLine" : s.line == 4 ? "LastLine" : "MiddleLine";
    return where + (s.autoCalc ? "AutoCalcOn" : "AutoCalcOff");
}

// Keys go where the keyboard sends them: to whatever has the focus.
class Keyboard : public MainWindowFixture<::testing::TestWithParam<Sequence>>, protected GridDriver {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(
            openWindow(TempData::header("Alkyd", "K1", 8, 50, 1000), kLines, kLibrary));
        grid = form.DBGrid1;
        if (!GetParam().autoCalc)
            QTest::mouseClick(form.BtnAutoCalc, Qt::LeftButton);
        ASSERT_EQ(dm().editor().autoCalc(), GetParam().autoCalc);
        chargesBefore = stored("Charge");
        totalBefore = panel("PnlTotalMass");
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
    }
    std::string stored(const char* column) {
        return data.query("Recipes.adt", QString("SELECT group_concat(ifnull(round(%1, 4), '-'), ' ') FROM "
                                                 "(SELECT %1 FROM Recipes ORDER BY ItemNum)").arg(column))
            .toStdString();
    }
    QString panel(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    bool editorOpen() { return grid->isEditing(); }

    std::string chargesBefore;
    QString totalBefore;
};

TEST_P(Keyboard, AColumnOfChargesTypedWithEnter) {
    const int first = GetParam().line;
    click(first, "Mass");
    const char* masses[] = {"100.5", "200", "300.25", "400", "500"};
    for (int row = first; row < 5; ++row) {
        type(loc(masses[row - first]));
        key(Qt::Key_Return);
        EXPECT_EQ(cursor(), std::to_string(std::min(row + 1, 4)) + ":Mass")
            << "Enter goes down one line in the same column, and stays on the last";
        EXPECT_FALSE(editorOpen());
    }
    const char* before[] = {"600.0", "50.0", "80.0", "250.0", "20.0"};
    std::string expected;
    for (int row = 0; row < 5; ++row)
        expected += std::string(row ? " " : "") + (row < first ? before[row] : QString(masses[row - first]).contains('.') ? masses[row - first] : std::string(masses[row - first]) + ".0");
    EXPECT_EQ(stored("Mass"), expected);
    EXPECT_EQ(session->dmod->lines().rowCount(), 5) << "Enter adds no line";
    if (GetParam().autoCalc) {
        EXPECT_EQ(panel("PnlTotalMass"), NumberFormat::format(dm().editor().totals().TotalMass, "0.00"));
        EXPECT_NE(stored("Charge"), chargesBefore);
    } else {
        EXPECT_EQ(panel("PnlTotalMass"), totalBefore) << "the panels wait for Calculate";
        EXPECT_EQ(stored("Charge"), chargesBefore);
        QTest::mouseClick(form.BtnCalculate, Qt::LeftButton);
        EXPECT_EQ(panel("PnlTotalMass"), NumberFormat::format(dm().editor().totals().TotalMass, "0.00"));
    }
    EXPECT_EQ(form.statusPanel(1), session->dmod->lines().recNo() == 4 ? " Glycerol" : form.statusPanel(1));
}

TEST_P(Keyboard, ALineTypedAcrossWithTab) {
    // Every line is one kind of material; the amounts it takes differ.
    const int row = GetParam().line;
    click(row, "Mass");
    type("90");
    key(Qt::Key_Tab);
    EXPECT_EQ(cursor(), std::to_string(row) + ":Moles");
    type(loc("0.5"));
    key(Qt::Key_Tab);
    EXPECT_EQ(cursor(), std::to_string(row) + ":Ea");
    type("7"); // an oil takes it; for a polyol the cell is read-only and nothing happens
    key(Qt::Key_Tab);
    EXPECT_EQ(cursor(), std::to_string(row) + ":Eb");
    key(Qt::Key_Tab);
    EXPECT_EQ(cursor(), std::to_string(row) + ":Charge");
    EXPECT_FALSE(editorOpen());
    const TDMod& dm = *session->dmod;
    EXPECT_EQ(dm.lines().recNo(), row) << "the line the keys chose";
    const bool oil = row == 0;
    const QString moles = data.query("Recipes.adt", QString("SELECT round(Moles, 4) FROM Recipes WHERE ItemNum = %1").arg(row + 1));
    EXPECT_EQ(moles.toStdString(), oil ? "2.3333" : "0.5") << "an oil carries 3 acid equivalents a mole";
    const QString ea = data.query("Recipes.adt", QString("SELECT ifnull(round(Ea, 4), '-') FROM Recipes WHERE ItemNum = %1").arg(row + 1));
    EXPECT_EQ(ea.toStdString(), oil ? "7.0" : "-");
    if (GetParam().autoCalc)
        EXPECT_EQ(panel("PnlTotalMass"), NumberFormat::format(dm.editor().totals().TotalMass, "0.00"));
    else
        EXPECT_EQ(panel("PnlTotalMass"), totalBefore);
    // On past the last cell: the first cell of the next line, or a new line after the last.
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Tab);
    EXPECT_EQ(cursor(), std::to_string(row + 1) + ":ItemNum");
    EXPECT_EQ(dm.lines().rowCount(), row == 4 ? 6 : 5);
    key(Qt::Key_Escape); // an untouched new line goes
    EXPECT_EQ(dm.lines().rowCount(), 5);
}

INSTANTIATE_TEST_SUITE_P(Lines, Keyboard,
                         ::testing::Values(Sequence{0, true}, Sequence{2, true}, Sequence{4, true},
                                           Sequence{0, false}, Sequence{2, false}, Sequence{4, false}),
                         [](const ::testing::TestParamInfo<Sequence>& info) { return name(info.param); });

class KeyboardOnce : public Keyboard {};

// Enter on the last line with nothing pending moves nowhere and changes nothing: the material
// chosen in the list stays in the status bar.
TEST_P(KeyboardOnce, EnterOnTheLastLineKeepsTheListMaterialInTheStatusBar) {
    click(4, "Mass");
    auto* list = form.findChild<DBLookupList*>("LkUpRM");
    const QRect pe = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, pe.center());
    ASSERT_EQ(form.statusPanel(1), " Pentaerythritol");
    grid->setFocus();
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), "4:Mass");
    EXPECT_EQ(form.statusPanel(1), " Pentaerythritol");
    EXPECT_TRUE(editorOpen()) << "Enter opens the editor it did not find open";
    key(Qt::Key_Escape);
}

// A number under the wrong separator is refused with its message and leaves the cell open for
// correction; nothing is stored.
TEST_P(KeyboardOnce, ANumberWithTheOtherSeparatorIsRefused) {
    click(1, "Mass");
    const QString wrong = QLocale().decimalPoint() == "," ? "1.234" : "1,234";
    type(wrong);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Return);
    EXPECT_EQ(MessageBox::history().last().text,
              "'" + wrong + "' is not a valid floating point value for field 'Mass'");
    EXPECT_EQ(cursor(), "1:Mass");
    EXPECT_TRUE(editorOpen());
    EXPECT_EQ(stored("Mass"), "600.0 50.0 80.0 250.0 20.0");
    // The keypad's decimal key types the locale's separator.
    key(Qt::Key_A, Qt::ControlModifier);
    type("12");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Period, Qt::KeypadModifier);
    type("5");
    key(Qt::Key_Return);
    EXPECT_EQ(stored("Mass"), "600.0 12.5 80.0 250.0 20.0");
}

// Right at the end of the typed text leaves the cell for the next one, writing it into the line;
// the line itself is stored by the next move or recalculation.
TEST_P(KeyboardOnce, RightAtTheEndOfTheTextMovesOn) {
    click(1, "RMCode");
    type("PE");
    key(Qt::Key_Right);
    EXPECT_EQ(cursor(), "1:RMName");
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(LineCell(session->dmod->lines(), "RMCode").asString(), "PE") << "written into the line";
    EXPECT_EQ(form.statusPanel(1), " Pentaerythritol");
    click(1, "Mass");
    type("45");
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_TRUE(editorOpen()) << "inside the text the arrows move the caret";
    key(Qt::Key_Left);
    EXPECT_EQ(cursor(), "1:RMName");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT RMCode || ' ' || Mass FROM Recipes WHERE ItemNum = 2").toStdString(), "PE 45.0");
}

INSTANTIATE_TEST_SUITE_P(Once, KeyboardOnce, ::testing::Values(Sequence{0, true}),
                         [](const ::testing::TestParamInfo<Sequence>&) { return std::string("AutoCalcOn"); });

} // namespace
