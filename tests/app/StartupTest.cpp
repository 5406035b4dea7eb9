#include "edit/DModUnit.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/MessageBox.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString current(TDMod& dm) {
    return dm.headers().header().type + "/" + dm.headers().header().code;
}

TEST(Startup, AMissingTableIsAnApplicationError) {
    TempData data;
    data.create();
    QFile::remove(data.file("RMLib.ADT"));
    MessageBox::clearHistory();
    TForm1 form;
    MessageBox::setNextAnswer(QMessageBox::Ok);
    EXPECT_EQ(openSession(form, data.folder()), nullptr);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history()[0].title, "Application Error");
    EXPECT_EQ(MessageBox::history()[0].icon, QMessageBox::Critical);
    EXPECT_NE(MessageBox::history()[0].text.indexOf("RMLib.ADT"), -1);
    EXPECT_EQ(form.dmod(), nullptr);
}

class MainWindowSelection : public MainWindowFixture<> {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::header("Alkyd", "B2") +
                                           TempData::header("Alkyd", "A7") +
                                           TempData::header("Polyester", "P1")));
    }
};

TEST_F(MainWindowSelection, ShowsTheFirstRecipeAndFollowsTyping) {
    auto* type = form.findChild<QComboBox*>("CBResinType");
    auto* code = form.findChild<QComboBox*>("CBResinCode");
    ASSERT_TRUE(type && code);
    EXPECT_EQ(type->currentText(), "Alkyd");
    EXPECT_EQ(code->currentText(), "A7");
    EXPECT_EQ(type->count(), 2);

    code->setFocus();
    code->lineEdit()->selectAll();
    QTest::keyClicks(code, "B");
    EXPECT_EQ(current(*session->dmod), "Alkyd/A7");
    QTest::keyClicks(code, "2");
    EXPECT_EQ(current(*session->dmod), "Alkyd/B2");

    // Entering the type box goes back to the first recipe of its type.
    type->setFocus();
    QTRY_COMPARE(current(*session->dmod), QString("Alkyd/A7"));
    EXPECT_EQ(code->currentText(), "A7");

    type->lineEdit()->selectAll();
    QTest::keyClicks(type, "Poly");
    EXPECT_EQ(type->currentText(), "Poly");
    EXPECT_EQ(code->count(), 0);
    EXPECT_EQ(code->currentText(), "");
    QTest::keyClicks(type, "ester");
    EXPECT_EQ(current(*session->dmod), "Polyester/P1");
    EXPECT_EQ(code->currentText(), "P1");
}

// The arrow keys step through a box's list from the entry it shows, and entering a box selects
// its text, so that typing replaces it.
TEST_F(MainWindowSelection, ArrowsStepOnFromTheRecipeShown) {
    auto* type = form.findChild<QComboBox*>("CBResinType");
    auto* code = form.findChild<QComboBox*>("CBResinCode");
    type->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(type->lineEdit()->selectedText(), QString("Alkyd"));
    EXPECT_EQ(type->currentIndex(), 0);
    QTest::keyClick(type, Qt::Key_Down);
    EXPECT_EQ(type->currentText(), "Polyester");
    EXPECT_EQ(current(*session->dmod), "Polyester/P1");
    QTest::keyClick(type, Qt::Key_Up);
    EXPECT_EQ(current(*session->dmod), "Alkyd/A7");
    code->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(code->currentIndex(), 0);
    QTest::keyClick(code, Qt::Key_Down);
    EXPECT_EQ(current(*session->dmod), "Alkyd/B2") << "the next code, not the first again";
}

TEST_F(MainWindowSelection, BoxesLimitWhatCanBeTyped) {
    auto* type = form.findChild<QComboBox*>("CBResinType");
    auto* code = form.findChild<QComboBox*>("CBResinCode");
    EXPECT_EQ(type->lineEdit()->maxLength(), 25);
    EXPECT_EQ(code->lineEdit()->maxLength(), 15);
}

} // namespace
