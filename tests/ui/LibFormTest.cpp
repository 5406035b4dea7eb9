#include "edit/DModUnit.h"
#include "ui/LibForm.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/ValueEdit.h"

#include <QComboBox>
#include "ui/LibraryList.h"
#include "ui/MessageBox.h"
#include "domain/ReactionTotals.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"
#include "support/WorkedRecipe.h"

#include <QApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kLibrary = workedLibrary();
const QString kLines = workedLines();

// The library window over the main window, driven by keyboard and buttons.
class LibraryWindow : public MainWindowFixture<> {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(
            openWindow(TempData::header("Alkyd", "W1") + TempData::header("Alkyd", "W2"),
                       kLines + TempData::line("Alkyd", "W2", 1, "TRIOL",
                                               "92.09, 1, NULL, 3, NULL, NULL, NULL"),
                       kLibrary));
        open();
    }
    void open() {
        lib = std::make_unique<TFormLib>(dm(), form.buttonList(), form.printer(), &form);
        // Its list's model is checked as the test drives it, with the main window's.
        new QAbstractItemModelTester(lib->LibList->model(), QAbstractItemModelTester::FailureReportingMode::Warning,
                                     lib.get());
        // Modal, as the Library command shows it: the main window's shortcuts are out of reach.
        lib->setWindowModality(Qt::ApplicationModal);
        lib->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(lib.get()));
    }
    void TearDown() override {
        lib.reset();
        MainWindowFixture::TearDown();
    }
    void click(QToolButton* b) { b->click(); }
    void type(QWidget* w, const QString& text) {
        w->setFocus();
        QTest::keyClicks(w, text);
    }
    QString stored(const QString& sql) { return data.query("RMLib.ADT", sql); }
    QStringList listed() {
        QStringList codes;
        auto* model = lib->LibList->model();
        for (int r = 0; r < model->rowCount(); ++r)
            codes << model->index(r, 0).data().toString();
        return codes;
    }
    QStringList selectionList() {
        QStringList names;
        auto* model = form.LkUpRM->model();
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, 0).data().toString();
        return names;
    }

    std::unique_ptr<TFormLib> lib;
};

} // namespace

TEST_F(LibraryWindow, AddTypeAndSaveStoresAMaterialTheMainWindowLists) {
    EXPECT_EQ(lib->windowTitle(), "Raw Material Library");
    EXPECT_TRUE(lib->RBAll->isChecked());
    EXPECT_EQ(listed(), QStringList({"ANH", "FA", "TRIOL"}));
    // Each button answers to Alt and its underlined letter.
    const std::pair<QToolButton*, Qt::Key> mnemonics[] = {
        {lib->ToolButton3, Qt::Key_A}, {lib->ToolButton1, Qt::Key_E}, {lib->ToolButton5, Qt::Key_D},
        {lib->ToolButton7, Qt::Key_C}, {lib->BtnSave, Qt::Key_S},     {lib->BtnPrint, Qt::Key_P},
        {lib->BtnClose, Qt::Key_O}};
    for (const auto& [button, key] : mnemonics)
        EXPECT_EQ(button->shortcut(), QKeySequence(Qt::ALT | key)) << button->objectName().toStdString();
    // Add puts the cursor in the code edit; the record is typed across with Tab.
    QTest::keyClick(lib.get(), Qt::Key_A, Qt::AltModifier);
    ASSERT_TRUE(lib->EdDBRMCode->hasFocus());
    QTest::keyClicks(lib->EdDBRMCode, "NPG");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "Neopentyl Glycol");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), loc("104.15"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "Diol");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), lib->EdDBRMType);
    QTest::keyClicks(lib->EdDBRMType, "B"); // the list finds Base by its first letter
    for (const char* text : {"1.8", "0", "0", "2"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), loc(text));
    }
    EXPECT_EQ(QApplication::focusWidget(), lib->EdDBRMFb);
    EXPECT_FALSE(dm().libSaved());
    click(lib->BtnSave);
    EXPECT_TRUE(dm().libSaved());
    EXPECT_EQ(stored("SELECT RMCode, RMCommonName, RMChemClass, RMType, RMMWt, RMFa, RMFan, RMFb, RMPrice "
                     "FROM RMLib WHERE RMCode = 'NPG'"),
              "NPG|Neopentyl Glycol|Diol|Base|104.15|0.0|0.0|2.0|1.8");
    // Closing asks nothing; the main window's selection list shows the new material.
    click(lib->BtnClose);
    EXPECT_FALSE(lib->isVisible());
    EXPECT_TRUE(selectionList().contains("Neopentyl Glycol"));
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(LibraryWindow, AddAndCloseWithoutTypingAsksNothingAndStoresNothing) {
    const QString before = stored("SELECT count(*) FROM RMLib");
    click(lib->ToolButton3);
    lib->close();
    EXPECT_TRUE(MessageBox::history().isEmpty()) << "nothing differs from what is stored";
    EXPECT_FALSE(lib->isVisible());
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib"), before);
    EXPECT_TRUE(dm().libSaved());
}

TEST_F(LibraryWindow, ClosingWithAChangeAsksYesNoOrCancel) {
    const QString before = stored("SELECT count(*) FROM RMLib");
    click(lib->ToolButton3);
    type(lib->EdDBRMCode, "NEW1");
    // Cancel (Escape) keeps the window open with the new material pending.
    MessageBox::setNextAnswer(QMessageBox::Cancel);
    lib->close();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].title, "Confirm");
    EXPECT_EQ(MessageBox::history()[0].text, "Data has been changed but not saved. Do you wish to save changes?");
    EXPECT_TRUE(lib->isVisible());
    EXPECT_FALSE(dm().libSaved());
    EXPECT_EQ(lib->EdDBRMCode->text(), "NEW1");
    // No drops it.
    MessageBox::setNextAnswer(QMessageBox::No);
    lib->close();
    EXPECT_FALSE(lib->isVisible());
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib"), before);
    EXPECT_TRUE(dm().libSaved());
}

TEST_F(LibraryWindow, AnEditUndoneWithEscapeIsNotAskedAbout) {
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(2, 0));
    lib->EdDBRMMWt->setFocus();
    lib->EdDBRMMWt->selectAll();
    QTest::keyClicks(lib->EdDBRMMWt, loc("99"));
    EXPECT_FALSE(dm().libSaved());
    QTest::keyClick(lib->EdDBRMMWt, Qt::Key_Escape);
    lib->close();
    EXPECT_TRUE(MessageBox::history().isEmpty());
    EXPECT_FALSE(lib->isVisible());
    EXPECT_TRUE(dm().libSaved());
}

TEST_F(LibraryWindow, AnEditIsStoredByPickingAnotherRowAndReachesTheRecipeLines) {
    // Glycerol is line 2 of the recipe shown.
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(2, 0));
    ASSERT_EQ(lib->EdDBRMCode->text(), "TRIOL");
    type(lib->EdDBRMCommonName, "Glycerine");
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(0, 0));
    EXPECT_TRUE(dm().libSaved());
    EXPECT_EQ(stored("SELECT RMCommonName FROM RMLib WHERE RMCode = 'TRIOL'"), "Glycerine");
    EXPECT_EQ(dm().lineMaterialAt(1)->name, "Glycerine");
    // The scroll bar steps through the records as well.
    EXPECT_EQ(lib->LibScroll->value(), 0);
    lib->LibScroll->setValue(1);
    EXPECT_EQ(lib->EdDBRMCode->text(), "FA");
    lib->close();
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(LibraryWindow, ACorrectedPriceReTotalsTheRecipeOnClosing) {
    const double before = dm().editor().totals().TotalCost;
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(2, 0)); // TRIOL, 101.299 g in the recipe
    type(lib->EdDBRMPrice, loc("2"));
    click(lib->BtnSave);
    lib->close();
    EXPECT_NEAR(dm().editor().totals().TotalCost, before + 101.299, 1e-9);
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(LibraryWindow, AnEmptyTypeShowsNothingRefusesDeleteAndEditStartsANewRecord) {
    lib->RBAmphoteric->click();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(lib->EdDBRMCode->text(), "");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click(lib->ToolButton5);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text, "LibTbl: Cannot perform this operation on an empty dataset");
    click(lib->ToolButton1);
    EXPECT_EQ(dm().materialEditor().state(), MaterialEditor::State::Insert);
    click(lib->ToolButton7);
    lib->close();
    // Opened again, the window shows the filter in force.
    open();
    EXPECT_TRUE(lib->RBAmphoteric->isChecked());
    lib->RBAll->click();
    EXPECT_EQ(listed().size(), 3);
    lib->close();
}

TEST_F(LibraryWindow, WhatTheArithmeticCannotUseIsRefusedAndStaysPending) {
    click(lib->ToolButton1); // ANH
    const auto refused = [&](ValueEdit* edit, const QString& text, const QString& message) {
        const QString old = edit->text();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        type(edit, text);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        click(lib->BtnSave);
        ASSERT_EQ(MessageBox::history().size(), 1) << message.toStdString();
        EXPECT_EQ(MessageBox::history()[0].text, message);
        EXPECT_FALSE(dm().libSaved());
        MessageBox::clearHistory();
        edit->selectAll();
        type(edit, old);
    };
    refused(lib->EdDBRMMWt, loc("-1"), "Mol. Mass cannot be negative.");
    refused(lib->EdDBRMFb, loc("-2"), "Base Functionality cannot be negative.");
    refused(lib->EdDBRMPrice, loc("-0.5"), "Cost Price cannot be negative.");
    refused(lib->EdDBRMCode, "", "Enter a Code for the raw material.");
    // A code another material has, in any letters: refused as the edit is left, naming it, and
    // closing keeps the window open with the change pending.
    lib->EdDBRMCode->selectAll();
    type(lib->EdDBRMCode, "fa");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click(lib->BtnSave);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    lib->close();
    ASSERT_EQ(MessageBox::history().size(), 2);
    EXPECT_EQ(MessageBox::history()[1].text, MessageBox::history()[0].text);
    EXPECT_EQ(MessageBox::history()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(MessageBox::history()[0].text, "There is already a material with the code 'FA' in the library: Soya Fatty Acid.");
    EXPECT_TRUE(lib->isVisible());
    EXPECT_FALSE(dm().libSaved());
    EXPECT_EQ(lib->EdDBRMCode->text(), "fa") << "the refused code stays for correction";
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'FA' COLLATE NOCASE"), "1");
    click(lib->ToolButton7);
    lib->close();
}

TEST_F(LibraryWindow, DeletingAMaterialInUseAsksFirst) {
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(2, 0)); // TRIOL: W1 line 2, W2 line 1
    MessageBox::setNextAnswer(QMessageBox::No);
    click(lib->ToolButton5);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].text, "TRIOL is used by 2 lines of 2 recipes. Delete it all the same?");
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'TRIOL'"), "1");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(lib->ToolButton5);
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'TRIOL'"), "0");
    // A material no line uses goes at once.
    MessageBox::clearHistory();
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(0, 0));
    click(lib->ToolButton3);
    type(lib->EdDBRMCode, "TMP");
    click(lib->BtnSave);
    click(lib->ToolButton5);
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'TMP'"), "0");
    EXPECT_TRUE(MessageBox::history().isEmpty());
    lib->close();
}

TEST_F(LibraryWindow, ACorrectedMolecularMassKeepsTheMassesAndReworksTheMoles) {
    // Glycerol: W1 line 2 (101.299 g, 1.1 mol) and W2 line 1 (92.09 g, 1 mol).
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(2, 0));
    lib->EdDBRMMWt->setFocus();
    lib->EdDBRMMWt->selectAll();
    QTest::keyClicks(lib->EdDBRMMWt, loc("101.299"));
    click(lib->BtnSave);
    QTest::keyClick(lib->LibList, Qt::Key_Escape); // Escape closes as the close box does
    EXPECT_FALSE(lib->isVisible());
    const auto line = [&](const char* code, int item) {
        return data.query("Recipes.adt", QString("SELECT printf('%.4f|%.4f|%s', Mass, Moles, ifnull(Eb, '-')) "
                                                 "FROM Recipes WHERE BatchCode = '%1' AND ItemNum = %2")
                                             .arg(code)
                                             .arg(item));
    };
    EXPECT_EQ(line("W1", 2), "101.2990|1.0000|3.0");
    EXPECT_EQ(line("W2", 1), "92.0900|0.9091|2.72727272727273");
    EXPECT_EQ(line("W1", 1), "148.1200|1.0000|-") << "other materials' lines are left alone";
    // The recipe shown is re-totalled: 1 + 1 + 1 moles, 3 hydroxyl equivalents.
    EXPECT_NEAR(dm().editor().totals().TotalMoles, 3.0, 1e-9);
    EXPECT_NEAR(dm().editor().totals().TotalEb, 3.0, 1e-9);
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(LibraryWindow, EscapeAfterAddAsksAsClosingDoes) {
    click(lib->ToolButton3);
    type(lib->EdDBRMCommonName, "Something");
    MessageBox::setNextAnswer(QMessageBox::No);
    QTest::keyClick(lib->LibList, Qt::Key_Escape);
    EXPECT_EQ(MessageBox::history().size(), 1);
    EXPECT_FALSE(lib->isVisible());
    EXPECT_TRUE(dm().libSaved());
}

TEST_F(LibraryWindow, DeleteAsksAboutTheStoredCodeWhileItsEditIsPending) {
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(2, 0)); // TRIOL, used by two lines
    type(lib->EdDBRMCode, "X");
    QTest::keyClick(lib->EdDBRMCode, Qt::Key_Tab);
    MessageBox::setNextAnswer(QMessageBox::No);
    click(lib->ToolButton5);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_TRUE(MessageBox::history()[0].text.startsWith("TRIOL is used by 2 lines"));
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'TRIOL'"), "1");
    click(lib->ToolButton7);
    lib->close();
}

TEST_F(LibraryWindow, ARefusedTextKeepsTheWindowOpenAndARefusedChangeTheFilter) {
    // "x" is no molecular mass: closing says so once and stays open.
    lib->EdDBRMMWt->setFocus();
    lib->EdDBRMMWt->selectAll();
    QTest::keyClicks(lib->EdDBRMMWt, "x");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    lib->close();
    EXPECT_EQ(MessageBox::history().size(), 1);
    EXPECT_TRUE(lib->isVisible());
    lib->EdDBRMMWt->selectAll();
    QTest::keyClicks(lib->EdDBRMMWt, loc("-1"));
    // A negative mass refuses the move to another type: the list and the buttons stay on All.
    MessageBox::clearHistory();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    lib->RBBase->click();
    EXPECT_EQ(MessageBox::history().size(), 1);
    EXPECT_TRUE(lib->RBAll->isChecked());
    EXPECT_EQ(dm().materialEditor().type(), std::nullopt);
    EXPECT_EQ(listed().size(), 3);
    click(lib->ToolButton7);
    // The code edit takes ten characters, what its column holds.
    click(lib->ToolButton3);
    type(lib->EdDBRMCode, "ABCDEFGHIJKL");
    EXPECT_EQ(lib->EdDBRMCode->text(), "ABCDEFGHIJ");
    click(lib->ToolButton7);
    lib->close();
}

// Adipic acid's 146.14 reads 146.1 in the display format; being edited, the edit shows all of
// it, so that retyping what is shown stores what was there.
TEST_F(LibraryWindow, AFigureBeingEditedShowsInFullAndRetypedKeepsItsPrecision) {
    click(lib->ToolButton3);
    type(lib->EdDBRMCode, "AA");
    type(lib->EdDBRMMWt, loc("146.14"));
    click(lib->BtnSave);
    ASSERT_EQ(stored("SELECT RMMWt FROM RMLib WHERE RMCode = 'AA'"), "146.14");
    lib->EdDBRMCommonName->setFocus();
    EXPECT_EQ(lib->EdDBRMMWt->text(), loc("146.1")) << "read in the display format";
    QTest::keyClick(lib->EdDBRMCommonName, Qt::Key_Tab);
    ASSERT_TRUE(lib->EdDBRMMWt->hasFocus());
    EXPECT_EQ(lib->EdDBRMMWt->text(), loc("146.14"));
    const QString shown = lib->EdDBRMMWt->text();
    lib->EdDBRMMWt->selectAll();
    QTest::keyClicks(lib->EdDBRMMWt, shown);
    click(lib->BtnSave);
    EXPECT_EQ(stored("SELECT RMMWt FROM RMLib WHERE RMCode = 'AA'"), "146.14");
    lib->EdDBRMCommonName->setFocus();
    EXPECT_EQ(lib->EdDBRMMWt->text(), loc("146.1"));
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

// Clicking a row stores the new material first, which takes a place above the row clicked: the
// material clicked is the one shown, and the list marks it.
TEST_F(LibraryWindow, ARowClickedAfterAddShowsTheMaterialClicked) {
    click(lib->ToolButton3);
    type(lib->EdDBRMCode, "B");
    EXPECT_EQ(listed(), QStringList({"ANH", "FA", "TRIOL", ""})) << "the new material, listed last";
    EXPECT_EQ(lib->LibList->currentIndex().row(), 3);
    lib->LibList->setCurrentIndex(lib->LibList->model()->index(2, 0)); // TRIOL
    EXPECT_EQ(lib->EdDBRMCode->text(), "TRIOL");
    EXPECT_EQ(listed(), QStringList({"ANH", "B", "FA", "TRIOL"}));
    EXPECT_EQ(lib->LibList->currentIndex().row(), 3);
    EXPECT_EQ(lib->LibScroll->value(), 3);
    EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'B'"), "1");
    lib->close();
    EXPECT_TRUE(MessageBox::history().isEmpty());
}
