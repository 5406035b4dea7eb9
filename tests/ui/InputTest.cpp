#include "edit/DModUnit.h"
#include "ui/Input.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/ValueEdit.h"
#include "ui/MessageBox.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class NameDialog : public MainWindowFixture<> {
protected:
    void SetUp() override {
        MessageBox::clearHistory();
        ASSERT_NO_FATAL_FAILURE(openWindow(
            TempData::header("Alkyd", "A7", 8, 50, 1000, "Base resin") +
                TempData::header("Alkyd", "B2") + TempData::header("Polyester", "P1"),
            TempData::line("Alkyd", "A7", 1, "GLY", "92.09, 1, NULL, 3, NULL, NULL, NULL") +
                TempData::line("Alkyd", "A7", 2, "PA", "148.12, 1, 2, NULL, NULL, NULL, NULL"),
            TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3) +
                TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0)));
        dialog = form.FrmInput();
    }
    // Sets the dialog up as its command would, types the names and presses OK.
    void run(int mode, const QString& type, const QString& code) {
        dialog->prepare(NameCommand(mode));
        dialog->setResult(0);
        dialog->CBProductType->setEditText(type);
        dialog->CBProductCode->setEditText(code);
        dialog->OKBtnClick();
    }
    bool closedWithOk() const { return dialog->result() == QDialog::Accepted; }
    std::string current() {
        TDMod& dm = *session->dmod;
        return (dm.headers().header().type + "/" + dm.headers().header().code)
            .toStdString();
    }
    std::string headers() {
        return data.query("BatchInfo.ADT", "SELECT BatchType || '/' || BatchCode FROM BatchInfo ORDER BY 1")
            .replace('\n', ' ')
            .toStdString();
    }
    QString lastMessage() const { return MessageBox::history().isEmpty() ? QString() : MessageBox::history().last().text; }

    TFrmInput* dialog = nullptr;
};

TEST_F(NameDialog, EachModeHasItsCaptionAndTexts) {
    dialog->prepare(NameCommand::New);
    EXPECT_EQ(dialog->windowTitle(), "Add New Recipe");
    EXPECT_EQ(dialog->LblType->text(), "Select a current resin type or enter a new resin type (maximum 25 Characters):");
    EXPECT_EQ(dialog->LblCode->text(), "Enter the new product code for the recipe (maximum 15 Characters):");
    EXPECT_EQ(dialog->CBProductType->currentText(), "");
    EXPECT_EQ(dialog->CBProductType->count(), 2);
    EXPECT_EQ(dialog->CBProductCode->count(), 2);
    dialog->prepare(NameCommand::SaveAs);
    EXPECT_EQ(dialog->windowTitle(), "Save Recipe AS");
    EXPECT_EQ(dialog->LblCode->text(),
              "Select a current resin code or enter a new code for the recipe (maximum 15 Characters):");
    EXPECT_EQ(dialog->CBProductType->currentText(), "Alkyd");
    dialog->prepare(NameCommand::Rename);
    EXPECT_EQ(dialog->windowTitle(), "Rename Recipe");
    EXPECT_EQ(dialog->LblCode->text(), "Enter a new code for the recipe (maximum 15 Characters):");
    EXPECT_EQ(dialog->source().type, "Alkyd");
    EXPECT_EQ(dialog->source().code, "A7");
    EXPECT_EQ(dialog->CBProductType->lineEdit()->maxLength(), 25);
    EXPECT_EQ(dialog->CBProductCode->lineEdit()->maxLength(), 15);
}

TEST_F(NameDialog, EmptyNamesAreRefused) {
    MessageBox::setNextAnswer(QMessageBox::Ok);
    run(1, "", "X1");
    EXPECT_EQ(lastMessage(), "A value must be entered for product type");
    EXPECT_EQ(MessageBox::history().last().title, "Error");
    EXPECT_FALSE(closedWithOk());
    MessageBox::setNextAnswer(QMessageBox::Ok);
    run(1, "Alkyd", "");
    EXPECT_EQ(lastMessage(), "A value must be entered for product code");
    EXPECT_FALSE(closedWithOk());
    run(1, " ", " ");
    EXPECT_TRUE(closedWithOk()) << "blanks are a name";
}

TEST_F(NameDialog, NewCreatesAnEmptyRecipeWithDefaults) {
    run(1, "Alkyd", "B7");
    EXPECT_TRUE(closedWithOk());
    EXPECT_EQ(current(), "Alkyd/B7");
    EXPECT_TRUE(session->dmod->lines().isEmpty());
    EXPECT_EQ(form.CBResinType->currentText(), "Alkyd");
    EXPECT_NE(form.CBResinCode->findText("B7"), -1);
    EXPECT_EQ(form.EdDBAV->text(), loc("8.0"));
    EXPECT_EQ(QApplication::focusWidget(), form.EdDBAV);
    // The user goes on typing the acid value: it replaces the default, not adds to it.
    QTest::keyClicks(form.EdDBAV, "12");
    QTest::keyClick(form.EdDBAV, Qt::Key_Return);
    EXPECT_EQ(session->dmod->headers().header().av, 12);
    run(1, "Polyol", "X1");
    EXPECT_EQ(form.CBResinType->itemText(1), "Polyester");
    EXPECT_EQ(form.CBResinType->itemText(2), "Polyol");
}

TEST_F(NameDialog, NewWithAnExistingNameAbortsOrShowsIt) {
    session->dmod->SelectRecipe("Alkyd", "B2");
    MessageBox::setNextAnswer(QMessageBox::Abort);
    run(1, "alkyd", "a7");
    EXPECT_EQ(lastMessage(), "A recipe by that name already exists");
    EXPECT_FALSE(closedWithOk());
    EXPECT_EQ(current(), "Alkyd/B2");
    MessageBox::setNextAnswer(QMessageBox::Retry);
    run(1, "alkyd", "a7");
    EXPECT_TRUE(closedWithOk());
    EXPECT_EQ(current(), "Alkyd/A7");
    EXPECT_EQ(form.CBResinType->currentText(), "Alkyd");
    EXPECT_EQ(form.CBResinCode->currentText(), "A7");
    EXPECT_EQ(headers(), "Alkyd/A7 Alkyd/B2 Polyester/P1");
}

TEST_F(NameDialog, SaveAsCopiesUnderANewNameOrAsksFirst) {
    run(2, "Polyester", "P5");
    EXPECT_TRUE(closedWithOk());
    EXPECT_EQ(current(), "Polyester/P5");
    EXPECT_EQ(form.CBResinType->currentText(), "Polyester");
    EXPECT_EQ(form.CBResinCode->count(), 2);
    EXPECT_EQ(session->dmod->lines().recordCount(), 2);

    session->dmod->SelectRecipe("Alkyd", "A7");
    MessageBox::setNextAnswer(QMessageBox::No);
    run(2, "Alkyd", "B2");
    EXPECT_EQ(lastMessage(), "A recipe by that name already exists, continue?");
    EXPECT_EQ(MessageBox::history().last().defaultButton, QMessageBox::No) << "a bare Enter replaces nothing";
    EXPECT_FALSE(closedWithOk());
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode='B2'").toStdString(), "0");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    run(2, "Alkyd", "B2");
    EXPECT_TRUE(closedWithOk());
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode='B2'").toStdString(), "2");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode='A7'").toStdString(), "2");
}

TEST_F(NameDialog, TheNewRecipeStaysCurrentWhenTheWindowIsActiveAgain) {
    form.CBResinType->setFocus();
    run(2, "Alkyd", "A9");
    ASSERT_TRUE(closedWithOk());
    // The window coming back to the front is no entering of the type box.
    QFocusEvent activated(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(form.CBResinType, &activated);
    EXPECT_EQ(current(), "Alkyd/A9");
    QFocusEvent tabbed(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(form.CBResinType, &tabbed);
    EXPECT_EQ(current(), "Alkyd/A7") << "entering the box still goes to the type's first recipe";
}

TEST_F(NameDialog, SaveAsUnderItsOwnNameLosesNothing) {
    MessageBox::setNextAnswer(QMessageBox::Yes);
    run(2, "Alkyd", "A7");
    EXPECT_TRUE(closedWithOk());
    EXPECT_EQ(headers(), "Alkyd/A7 Alkyd/B2 Polyester/P1");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode='A7'").toStdString(), "2");
}

TEST_F(NameDialog, RenameMovesTheRecipeOrRefusesAClash) {
    for (const char* clash : {"B2", "A7", "a7"}) {
        MessageBox::setNextAnswer(QMessageBox::NoButton); // the box closed with its close box
        run(3, "Alkyd", clash);
        EXPECT_EQ(lastMessage(), "A recipe by that name already exists! Cannot rename") << clash;
        EXPECT_FALSE(closedWithOk()) << clash;
    }
    run(3, "Alkyd", "A8");
    EXPECT_TRUE(closedWithOk());
    EXPECT_EQ(current(), "Alkyd/A8");
    EXPECT_EQ(headers(), "Alkyd/A8 Alkyd/B2 Polyester/P1");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode='A7'").toStdString(), "0");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT group_concat(ItemNum) FROM Recipes WHERE BatchCode='A8'").toStdString(), "1,2");
    EXPECT_EQ(form.CBResinCode->findText("A7"), -1);
}

TEST_F(NameDialog, EnterWalksToOkAndEscapeCancels) {
    dialog->prepare(NameCommand::New);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    dialog->CBProductType->setFocus();
    QTest::keyClicks(dialog->CBProductType, "Alkyd");
    QTest::keyClick(dialog->CBProductType, Qt::Key_Return);
    EXPECT_TRUE(dialog->CBProductCode->hasFocus());
    QTest::keyClicks(dialog->CBProductCode, "Z9");
    QTest::keyClick(dialog->CBProductCode, Qt::Key_Return);
    EXPECT_TRUE(dialog->OKBtn->hasFocus());
    QTest::keyClick(dialog->OKBtn, Qt::Key_Return);
    EXPECT_EQ(current(), "Alkyd/Z9");
    EXPECT_FALSE(dialog->isVisible());

    dialog->prepare(NameCommand::New);
    dialog->show();
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(current(), "Alkyd/Z9");
}

TEST_F(NameDialog, DeleteAsksWithCodeAndDescription) {
    MessageBox::setNextAnswer(QMessageBox::No);
    form.BtnDeleteRecipeClick();
    EXPECT_EQ(lastMessage(), "Delete batch A7, Base resin?");
    EXPECT_EQ(headers(), "Alkyd/A7 Alkyd/B2 Polyester/P1");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    form.BtnDeleteRecipeClick();
    EXPECT_EQ(headers(), "Alkyd/B2 Polyester/P1");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes").toStdString(), "0");
    EXPECT_EQ(current(), "Alkyd/B2");
}

TEST_F(NameDialog, ClosingAsksAboutAnUnsavedHeaderChange) {
    form.EdDBAV->setFocus();
    form.EdDBAV->selectAll();
    QTest::keyClicks(form.EdDBAV, "12");
    QTest::keyClick(form.EdDBAV, Qt::Key_Tab);
    MessageBox::setNextAnswer(QMessageBox::No);
    form.close();
    EXPECT_EQ(lastMessage(), "Data has been changed but not saved. Do you wish to save changes?");
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='A7'").toStdString(), "8.0");
}

TEST_F(NameDialog, ClosingWithYesStoresTheHeader) {
    form.EdDBAV->setFocus();
    form.EdDBAV->selectAll();
    QTest::keyClicks(form.EdDBAV, "12");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    form.close();
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='A7'").toStdString(), "12.0");
}

} // namespace
