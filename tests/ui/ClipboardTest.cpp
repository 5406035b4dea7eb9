// Lines to and from a spreadsheet in the main window's grid: Ctrl+C copies the focused line as
// LibreOffice Calc takes it, Ctrl+V pastes codes and masses as Calc and a German spreadsheet put
// them on the clipboard, as one action that Ctrl+Z takes back.
#include "edit/DModUnit.h"
#include "edit/History.h"
#include "ui/Unit1.h"
#include "ui/MessageBox.h"
#include "domain/NumberFormat.h"
#include "support/GridDriver.h"
#include "support/MainWindowFixture.h"
#include "support/ShownFigures.h"
#include "support/TempData.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

class GridClipboard : public MainWindowFixture<>, protected GridDriver {
protected:
    void SetUp() override {
        // Alkyd LO-SOY65 is current: soya bean oil 650, pentaerythritol 130, phthalic anhydride 220.
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
        grid = form.DBGrid1;
    }
    // The recipe's lines in the file, in item order: each line's code and mass, and (`whole`)
    // every amount to the last digit.
    std::string lines(bool whole = false) {
        const char* amounts = whole ? "||'/'||quote(Moles)||'/'||quote(Ea)||'/'||quote(Eb)||'/'||quote(Charge)" : "";
        return data.query("Recipes.adt", QString("SELECT group_concat(ItemNum||':'||RMCode||'='||quote(Mass)%1, ' ') "
                                                 "FROM (SELECT * FROM Recipes WHERE BatchCode = 'LO-SOY65' "
                                                 "ORDER BY ItemNum)")
                                             .arg(amounts))
            .toStdString();
    }
    static void clipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

TEST_F(GridClipboard, CtrlCCopiesTheFocusedLineAsASpreadsheetTakesIt) {
    ASSERT_NO_FATAL_FAILURE(click(1, "Mass"));
    key(Qt::Key_C, Qt::ControlModifier);
    const ::Line pe = dm().lines().lineAt(1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Item\tCode\tMaterial\tMass\tMoles\tEa\tEb\tCharge\tPercent\tCost\r\n2\tPE\tPentaerythritol\t" +
                  NumberFormat::general(130) + "\t" + NumberFormat::general(*pe.moles) + "\t\t" +
                  NumberFormat::general(*pe.eb) + "\t" + NumberFormat::general(*pe.charge) + "\t" +
                  NumberFormat::general(*pe.percent) + "\t" + NumberFormat::general(*pe.cost) + "\r\n");
    EXPECT_EQ(cursor(), "1:Mass") << "copying moves nothing";
    // Lines selected with Shift and the arrows, or with Ctrl and a click in the column the cursor is in.
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    QStringList copied = QGuiApplication::clipboard()->text().split("\r\n");
    ASSERT_EQ(copied.size(), 4) << copied.join(" | ").toStdString();
    EXPECT_TRUE(copied[1].startsWith("2\tPE\t"));
    EXPECT_TRUE(copied[2].startsWith("3\tPA\t"));
    ASSERT_NO_FATAL_FAILURE(click(0, "Mass"));
    const QModelIndex pa = grid->gridModel()->index(2, grid->gridModel()->columnOf("Mass"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, grid->visualRect(pa).center());
    key(Qt::Key_C, Qt::ControlModifier);
    copied = QGuiApplication::clipboard()->text().split("\r\n");
    ASSERT_EQ(copied.size(), 4);
    EXPECT_TRUE(copied[1].startsWith("1\tSOYOIL\t"));
    EXPECT_TRUE(copied[2].startsWith("3\tPA\t")) << "the lines in their order, the one between left out";
    // All lines, from the context menu.
    form.CopyAllLines1->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().count("\r\n"), 4);
}

TEST_F(GridClipboard, CtrlVPastesCodesAndMassesBeforeTheFocusedLineAsOneAction) {
    const std::string before = lines(true);
    const QStringList shownBefore = shownFigures(form);
    const int actions = form.history()->stack().count();
    ASSERT_NO_FATAL_FAILURE(click(1, "Mass"));
    // As Calc copies a range with its heading, under the test's locale, in other letters than
    // the library's.
    clipboard(loc("Code\tMass\r\ngly\t12.5\r\nPA\t30\r\n"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(lines(), "1:SOYOIL=650.0 2:GLY=12.5 3:PA=30.0 4:PE=130.0 5:PA=220.0");
    // Each mass worked out as a typed one.
    EXPECT_DOUBLE_EQ(value(dm().lines().lineAt(1).moles), 12.5 / 92.09);
    EXPECT_DOUBLE_EQ(value(dm().lines().lineAt(1).eb), 3 * 12.5 / 92.09);
    EXPECT_DOUBLE_EQ(value(dm().lines().lineAt(2).ea), 2 * 30 / 148.12);
    EXPECT_EQ(form.footerText(LineColumn::Mass), loc("1042.500"));
    EXPECT_EQ(form.history()->stack().count(), actions + 1);
    emit form.findChild<QMenu*>("Edit1")->aboutToShow();
    EXPECT_EQ(form.Undo1->text(), "&Undo Paste");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(lines(true), before);
    EXPECT_EQ(shownFigures(form), shownBefore);
}

TEST_F(GridClipboard, ABadPasteListsEveryBadRowAndStoresNothing) {
    const std::string before = lines(true);
    ASSERT_NO_FATAL_FAILURE(click(0, "Mass"));
    clipboard(loc("GLY\t10\r\nXYZ\t5\r\nPA\t3x\r\n"));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history().last().text,
              "Nothing was pasted:\nRow 2: there is no material with the code 'XYZ' in the library.\n"
              "Row 3: the mass '3x' is not a number.");
    // A mass the lines refuse, checked before any line is written.
    clipboard(loc("GLY\t10\r\nPA\t200000\r\n"));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(MessageBox::history().size(), 2);
    EXPECT_TRUE(MessageBox::history().last().text.startsWith("Nothing was pasted:\nRow 2: "))
        << MessageBox::history().last().text.toStdString();
    // The lines' limit holds: 3 and 125 are more than 127.
    QString many;
    for (int i = 0; i < 125; ++i)
        many += "GLY\t1\r\n";
    clipboard(many);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(MessageBox::history().size(), 3);
    EXPECT_EQ(MessageBox::history().last().text,
              "The recipe has 3 lines and the paste 125: a recipe holds at most 127 lines.");
    EXPECT_EQ(lines(true), before);
    EXPECT_EQ(dm().lines().rowCount(), 3);
}

// In a cell being typed in, the keys are the cell's, as in any text box.
TEST_F(GridClipboard, InAnOpenCellTheKeysCopyAndPasteText) {
    const std::string before = lines(true);
    ASSERT_NO_FATAL_FAILURE(click(1, "Mass"));
    type("1");
    ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr) << "the cell is open";
    clipboard("45");
    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Return);
    EXPECT_EQ(value(dm().lines().lineAt(1).mass), 145);
    EXPECT_EQ(dm().lines().rowCount(), 3) << "no line was pasted";
    EXPECT_NE(lines(true), before);
}

} // namespace
