// The main window on the starter tables, as a chemist meets it on the first day: deleting and
// inserting lines from the keyboard, leaving with edits pending, a mistyped code, a figure too
// large, a locked cell, the gel warning. Every sequence is typed to whatever has the focus, and
// checks what the files hold, where the cursor stands and what the panels read.
#include "edit/DModUnit.h"
#include "ui/Help.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/ValueEdit.h"
#include "ui/DBGrid.h"
#include "ui/LibraryList.h"
#include "ui/MessageBox.h"
#include "domain/NumberFormat.h"
#include "ui/StatusPanels.h"
#include "domain/ReactionTotals.h"
#include "domain/ResinProperties.h"
#include "support/GridDriver.h"
#include "support/MainWindowFixture.h"
#include "support/PdfWords.h"
#include "support/ShownFigures.h"
#include "support/TempData.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

class Starter : public MainWindowFixture<>, protected GridDriver {
protected:
    void SetUp() override {
        // Alkyd LO-SOY65 is current: soya bean oil, pentaerythritol, phthalic anhydride.
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
        grid = form.DBGrid1;
    }
    // "item:code" of the current recipe's stored lines, in order.
    std::string lines() {
        return data.query("Recipes.adt", "SELECT group_concat(ItemNum || ':' || ifnull(RMCode, ''), ' ') FROM "
                                         "(SELECT * FROM Recipes WHERE BatchCode = 'LO-SOY65' ORDER BY ItemNum)")
            .toStdString();
    }
    // The item numbers the grid shows, top to bottom.
    std::string shownNumbers() {
        std::string out;
        const int column = grid->gridModel()->columnOf("ItemNum");
        for (int r = 0; r < grid->gridModel()->rowCount(); ++r)
            out += (r ? " " : "") + grid->gridModel()->index(r, column).data().toString().toStdString();
        return out;
    }
    QString panel(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    QStringList figures() { return shownFigures(form); }
};

} // namespace

// Ctrl+Delete on the pentaerythritol line: the lines left are numbered 1 and 2, and every figure
// on screen and on paper counts them alone, as the Delete button leaves them.
TEST_F(Starter, CtrlDeleteRenumbersAndRetotalsAsTheDeleteButtonDoes) {
    click(1, "RMCode");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text, "Delete record?");
    EXPECT_EQ(MessageBox::history()[0].defaultButton, QMessageBox::Cancel) << "a bare Enter deletes nothing";
    EXPECT_EQ(lines(), "1:SOYOIL 2:PA");
    EXPECT_EQ(shownNumbers(), "1 2");
    EXPECT_EQ(cursor(), "1:RMCode") << "on the line that followed the deleted one";
    EXPECT_EQ(form.footerText(LineColumn::Mass), loc("870.000"));
    EXPECT_EQ(panel("PnlTotalMass"), loc("870.00"));
    EXPECT_EQ(form.footerText(LineColumn::Eb), loc("2.2311")) << "the oil's glycerol alone";
    EXPECT_EQ(panel("PnlExcessOH"), loc("-57.1") + " %");
    // Nothing stale: the recipe totalled afresh shows the very same figures.
    const QStringList shown = figures();
    form.findChild<QAction*>("AutoCalc1")->trigger();
    form.findChild<QAction*>("AutoCalc1")->trigger();
    QTest::mouseClick(form.CBResinCode, Qt::LeftButton); // nothing moves: the same recipe
    dm().CalcTotals();
    EXPECT_EQ(figures(), shown);

    // On paper too.
    const QString pdf = data.file("deleted.pdf");
    form.printer()->setOutputFormat(QPrinter::PdfFormat);
    form.printer()->setOutputFileName(pdf);
    form.findChild<QToolButton*>("BtnPrint")->click();
    QString error;
    const auto words = pdfWords(pdf, &error);
    if (words.empty())
        GTEST_SKIP() << error.toStdString();
    const QString page = pageText(words, 1);
    EXPECT_TRUE(page.contains(loc("870.000"))) << page.toStdString();
    EXPECT_FALSE(page.contains("Pentaerythritol"));
    EXPECT_FALSE(page.contains(loc("1000.000")));
    EXPECT_EQ(form.StatusBar1->note(), "The report was saved as " + QDir::toNativeSeparators(pdf))
        << "the status area names the file written";
}

// Insert on the phthalic anhydride line, then GLY, Tab, Tab, 100, Enter: the new line is line 3
// where it was typed, the anhydride line 4, and Enter goes on to it. Down past the last line and
// Tab past the last cell number their lines too.
TEST_F(Starter, ALineMadeInTheGridKeepsItsPlaceAndTakesItsNumber) {
    click(2, "RMCode");
    key(Qt::Key_Insert);
    type("GLY");
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    type("100");
    key(Qt::Key_Return);
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:GLY 4:PA");
    EXPECT_EQ(shownNumbers(), "1 2 3 4");
    EXPECT_EQ(cursor(), "3:Mass") << "Enter went down from the new line to the next";
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Mass FROM Recipes WHERE RMCode = 'GLY' AND BatchCode = 'LO-SOY65'"),
              "100.0");
    EXPECT_EQ(form.footerText(LineColumn::Mass), loc("1100.000"));

    // Down past the last line, a code and Tab across to the end and past it.
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Down);
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    type("AA");
    for (int i = 0; i < 9; ++i)
        key(Qt::Key_Tab);
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:GLY 4:PA 5:AA");
    EXPECT_EQ(shownNumbers(), "1 2 3 4 5 ") << "Tab past the last cell began a line, numbered once stored";
    EXPECT_EQ(cursor(), "5:ItemNum");
    key(Qt::Key_Up);
    EXPECT_EQ(shownNumbers(), "1 2 3 4 5") << "the untouched new line went again";

    // A number typed into the Item cell moves the line there.
    click(3, "ItemNum");
    type("1");
    key(Qt::Key_Return);
    EXPECT_EQ(lines(), "1:PA 2:SOYOIL 3:PE 4:GLY 5:AA");
    EXPECT_EQ(cursor(), "1:ItemNum");
}

// Exit with the acid value and the description changed, then Escape at the question: the
// program stays open with both edits pending; nothing is stored until the user says so.
TEST_F(Starter, ExitThenEscapeKeepsTheProgramOpenWithTheEditsPending) {
    form.EdDBAV->setFocus();
    form.EdDBAV->selectAll();
    type(loc("12.5"));
    key(Qt::Key_Return);
    form.EdDBDescription->setFocus();
    form.EdDBDescription->selectAll();
    type("Trial two");
    MessageBox::setNextAnswer(QMessageBox::Cancel);
    QTest::mouseClick(form.BtnExit, Qt::LeftButton);
    ASSERT_EQ(MessageBox::history().size(), 1);
    const MessageBox::Shown& asked = MessageBox::history()[0];
    EXPECT_EQ(asked.text, "Data has been changed but not saved. Do you wish to save changes?");
    EXPECT_EQ(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
        << "Escape means Cancel";
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.EdDBAV->text(), loc("12.5"));
    EXPECT_EQ(form.EdDBDescription->text(), "Trial two");
    EXPECT_TRUE(dm().HeaderChanged());
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV || ' ' || Description FROM BatchInfo WHERE BatchCode = 'LO-SOY65'")
                  .toStdString(),
              "10.0 Long-oil soya alkyd, PE / PA, for air-drying gloss paints");
    // Ctrl+S stores them; leaving then asks nothing.
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV || ' ' || Description FROM BatchInfo WHERE BatchCode = 'LO-SOY65'"),
              "12.5 Trial two");
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(MessageBox::history().size(), 1);
}

// "PX" is no material: the cell says so and stays open with what was typed; retyped in other
// letters, a code is the library's.
TEST_F(Starter, AnUnknownCodeIsRefusedAndTheCellStaysOpen) {
    click(2, "RMCode");
    type("PX");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Tab);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text, "There is no material with the code 'PX' in the library.");
    EXPECT_EQ(cursor(), "2:RMCode");
    ASSERT_TRUE(grid->isEditing());
    EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), "PX");
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:PA");
    key(Qt::Key_A, Qt::ControlModifier);
    type("gly");
    key(Qt::Key_Return);
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:GLY");
    EXPECT_EQ(form.statusPanel(1), " Glycerol");
}

// A cell locked for its line's material takes no typing, and says why with a beep and a tip;
// nothing typed vanishes without a word.
TEST_F(Starter, TypingIntoALockedCellSaysWhy) {
    click(1, "Ea");
    type("5");
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->lastRefusal(), "Pentaerythritol has no acid groups: its Ea stays empty.");
    EXPECT_EQ(QToolTip::text(), grid->lastRefusal());
    click(0, "Moles");
    key(Qt::Key_F2);
    EXPECT_TRUE(grid->isEditing()) << "an oil takes all four";
    key(Qt::Key_Escape);
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Down); // a new line, no material yet
    key(Qt::Key_Home);
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Right);
    type("7");
    EXPECT_EQ(grid->lastRefusal(), "This line has no material yet: type its code, or choose its name, first.");
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:PA");
}

// 1e308 typed into Moles is refused naming Moles, and the cell keeps what it showed; so is a
// figure whose mass would pass the limit.
TEST_F(Starter, AFigureTooLargeIsRefusedNamingTheColumnTypedIn) {
    click(1, "Moles");
    type("1e308");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Return);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text,
              "'1e308' is out of range for field 'Moles': a figure must lie between -1E15 and 1E15");
    EXPECT_TRUE(grid->isEditing());
    key(Qt::Key_A, Qt::ControlModifier);
    type("1000");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Return);
    EXPECT_EQ(MessageBox::history()[1].text,
              "1000 is not a valid value for field 'Moles': it would make the line's Mass 136150, and the allowed "
              "range of Mass is 0 to 100000");
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
    EXPECT_EQ(grid->gridModel()->index(1, grid->gridModel()->columnOf("Moles")).data().toString(), loc("0.9548"));
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Mass FROM Recipes WHERE RMCode = 'PE' AND BatchCode = 'LO-SOY65'"),
              "130.0");
}

// While a figure is edited it shows in full, so that what is retyped is what is stored.
TEST_F(Starter, AFigureBeingEditedShowsInFull) {
    click(0, "Moles");
    EXPECT_EQ(grid->currentIndex().data().toString(), loc("0.7437"));
    key(Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    double shown = 0;
    ASSERT_TRUE(NumberFormat::parse(editor->text(), &shown));
    EXPECT_NEAR(shown, 0.7437070938215103, 1e-15);
    key(Qt::Key_Return);
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:PA");
    EXPECT_EQ(MessageBox::history().size(), 0);
    // A header figure that reads back whole shows as it always did.
    form.EdDBAV->setFocus();
    EXPECT_EQ(form.EdDBAV->text(), loc("10.0"));
}

// Enter in the selection list adds the material, and the cursor waits in the new line's charge.
TEST_F(Starter, EnterInTheListAddsTheMaterialReadyForItsCharge) {
    form.LkUpRM->setFocus();
    QTest::keyClicks(form.LkUpRM, "glyc");
    ASSERT_EQ(form.chosenMaterial()->code, "GLY");
    key(Qt::Key_Return);
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:PA 4:GLY");
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(cursor(), "3:Mass");
    type("50");
    key(Qt::Key_Return);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Mass FROM Recipes WHERE ItemNum = 4 AND BatchCode = 'LO-SOY65'"),
              "50.0");
    // Alt and its letter press a line button: Alt+I inserts the list's material before line 1.
    click(0, "RMCode");
    QTest::keyClick(&form, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(lines(), "1:GLY 2:SOYOIL 3:PE 4:PA 5:GLY");
    EXPECT_EQ(cursor(), "0:Mass");
    QTest::keyClick(&form, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(lines(), "1:GLY 2:SOYOIL 3:PE 4:PA 5:GLY 6:");
    EXPECT_EQ(cursor(), "5:RMCode") << "a blank line waits for its code";
}

// Questions that destroy something on Yes have No as their default, and Enter alone keeps it.
TEST_F(Starter, QuestionsThatDestroyDefaultToNo) {
    MessageBox::setNextAnswer(QMessageBox::No);
    QTest::mouseClick(form.BtnDeleteRecipe, Qt::LeftButton);
    MessageBox::setNextAnswer(QMessageBox::No);
    click(1, "RMCode");
    QTest::keyClick(&form, Qt::Key_W, Qt::AltModifier); // OverWrite PE with the list's Adipic Acid
    ASSERT_EQ(MessageBox::history().size(), 2);
    EXPECT_TRUE(MessageBox::history()[0].text.startsWith("Delete batch LO-SOY65"));
    EXPECT_EQ(MessageBox::history()[1].text, "Replace Pentaerythritol\rwith Adipic Acid?");
    for (const MessageBox::Shown& box : MessageBox::history())
        EXPECT_EQ(box.defaultButton, QMessageBox::No) << box.text.toStdString();
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:PA");
}

// The gel warning in words beside the panels, in the colour of the panel: the long-oil alkyd is
// amber by the statistical prediction; the polyester clears.
TEST_F(Starter, TheGelWarningReadsWithoutHovering) {
    auto* words = form.findChild<QLabel*>("LblGelSafety");
    EXPECT_EQ(words->text(), loc("Gels by the statistical prediction at AV 35.6"));
    EXPECT_EQ(words->palette().color(QPalette::Window), QColor(0xFF, 0xC0, 0x00));
    EXPECT_TRUE(form.findChild<QLabel*>("PnlAVAtGel")->toolTip().contains(
        "Carothers' prediction gels nowhere (alkyd constant " + loc("1.041") + ")"));
    form.CBResinType->setFocus();
    form.CBResinType->lineEdit()->selectAll();
    QTest::keyClicks(form.CBResinType, "Polyester");
    EXPECT_EQ(words->text(), "No gel predicted");
    EXPECT_EQ(words->palette().color(QPalette::Window), words->parentWidget()->palette().color(QPalette::Window));
}

// A target the hydroxyl cannot reach has its own colour and words.
TEST_F(Starter, ATargetOutOfReachHasItsOwnColour) {
    click(1, "Mass"); // pentaerythritol, cut to a deficit of hydroxyl
    type("10");
    key(Qt::Key_Return);
    auto* words = form.findChild<QLabel*>("LblGelSafety");
    EXPECT_TRUE(words->text().startsWith("Target out of reach: OH runs out at AV")) << words->text().toStdString();
    EXPECT_EQ(words->palette().color(QPalette::Window), QColor(0x70, 0x30, 0xA0));
    EXPECT_EQ(form.findChild<QLabel*>("PnlAVAtGel")->palette().color(QPalette::Window), QColor(0x70, 0x30, 0xA0));
}

// A wider window widens the names; columns resized or moved are as the user left them when the
// program starts again.
TEST_F(Starter, TheNamesTakeTheRoomAndTheColumnsAreRemembered) {
    const int name = grid->gridModel()->columnOf("RMName"), moles = grid->gridModel()->columnOf("Moles");
    const int narrow = grid->columnWidth(name);
    form.resize(1400, form.height());
    QTRY_VERIFY(grid->columnWidth(name) > narrow + 400);
    int total = 0;
    for (int c = 0; c < grid->gridModel()->columnCount(); ++c)
        total += grid->columnWidth(c);
    EXPECT_EQ(total, grid->viewport()->width()) << "the columns fill the grid";
    form.resize(792, form.height());
    QTRY_COMPARE(grid->columnWidth(name), narrow);

    grid->horizontalHeader()->resizeSection(moles, 90);
    grid->horizontalHeader()->moveSection(grid->horizontalHeader()->visualIndex(moles), 1);
    form.attach(nullptr);
    session.reset();
    TForm1 again;
    const auto second = openSession(again, data.folder());
    ASSERT_NE(second, nullptr);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_EQ(again.DBGrid1->columnWidth(moles), 90);
    EXPECT_EQ(again.DBGrid1->horizontalHeader()->visualIndex(moles), 1);
    EXPECT_EQ(again.DBGrid1->columnWidth(name), narrow);
    again.attach(nullptr);
}

// A line command pressed with a cell still open (its button takes no focus, its Alt key none
// either) comes after the typing: the figure is stored first, or, refused, keeps the command
// from running and stays in its cell.
TEST_F(Starter, ALineCommandComesAfterWhatIsTypedInAnOpenCell) {
    click(1, "Mass");
    type("140");
    ASSERT_TRUE(grid->isEditing());
    QTest::keyClick(&form, Qt::Key_G, Qt::AltModifier); // Ingredient Add: the list's Adipic Acid
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Mass FROM Recipes WHERE RMCode = 'PE' AND BatchCode = 'LO-SOY65'"),
              "140.0");
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:PA 4:AA");
    EXPECT_EQ(cursor(), "3:Mass");
    type("x1");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    QTest::mouseClick(form.BtnAddBlank, Qt::LeftButton);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text, "'x1' is not a valid floating point value for field 'Mass'");
    EXPECT_EQ(lines(), "1:SOYOIL 2:PE 3:PA 4:AA") << "the refused typing kept the command from running";
    EXPECT_TRUE(grid->isEditing());
    key(Qt::Key_Escape);
}

// With Stay On Top, the windows the commands open are kept on top as well; without, they are
// not (the stacking itself is checked under a real window manager).
TEST_F(Starter, WindowsOpenedFromAWindowOnTopStayOnTopToo) {
    form.StayOnTop->trigger();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* about = form.findChild<QWidget*>("AboutBox");
        ASSERT_NE(about, nullptr);
        seen = true;
        EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        about->close();
    });
    form.About1->trigger();
    EXPECT_TRUE(seen);
    // The help file, from the working directory.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(data.folder()));
    QFile help("Readme.RTF");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("{\\rtf1 Help.}");
    help.close();
    form.Help2->trigger();
    EXPECT_TRUE(form.FrmHelp()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form.StayOnTop->trigger();
    EXPECT_FALSE(form.FrmHelp()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.FrmHelp()->isVisible());
    form.FrmHelp()->close();
    QDir::setCurrent(previous);
}
