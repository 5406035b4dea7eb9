#include "ui/Calculator.h"
#include "ui/Unit1.h"
#include "ui/PocketCalculator.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class Calculator : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        calc()->setFocus();
    }
    TPocketCalculator* calc() { return window.PocketCalculator1; }
    std::string shown() { return calc()->property("displayText").toString().toStdString(); }
    void keys(const QString& text) { QTest::keyClicks(calc(), text); }
    void click(const QString& caption) {
        const QRect r = calc()->buttonRect(caption);
        ASSERT_TRUE(r.isValid()) << caption.toStdString();
        QTest::mouseClick(calc(), Qt::LeftButton, {}, r.center());
    }
    QString separator() { return QString(QLocale().decimalPoint()); }

    TFrmCalculator window;
};

} // namespace

TEST_F(Calculator, IsAToolWindowOnTopShowingZero) {
    EXPECT_EQ(window.windowTitle(), "Parameter Calculator");
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(calc()->objectName(), "PocketCalculator1");
    EXPECT_EQ(shown(), "0 ");
    // The separator button carries the user's separator.
    EXPECT_TRUE(calc()->buttonRect(separator()).isValid());
}

TEST_F(Calculator, TheKeyboardTable) {
    keys("12" + separator() + "5*2=");
    EXPECT_EQ(shown(), "25 ");
    QTest::keyClick(calc(), Qt::Key_Escape);
    EXPECT_EQ(shown(), "0 ");
    keys("9@");
    EXPECT_EQ(shown(), "3 ");
    keys("4r");
    EXPECT_EQ(shown(), "0" + separator().toStdString() + "25 ");
    QTest::keyClick(calc(), Qt::Key_Escape);
    keys("5");
    QTest::keyClick(calc(), Qt::Key_F9);
    keys("3");
    EXPECT_EQ(shown(), "-53 ");
    QTest::keyClick(calc(), Qt::Key_Backspace);
    EXPECT_EQ(shown(), "-5 ");
    QTest::keyClick(calc(), Qt::Key_Delete);
    EXPECT_EQ(shown(), "0 ");
    keys("8");
    QTest::keyClick(calc(), Qt::Key_M, Qt::ControlModifier); // MS
    QTest::keyClick(calc(), Qt::Key_P, Qt::ControlModifier); // M+
    QTest::keyClick(calc(), Qt::Key_Escape);
    QTest::keyClick(calc(), Qt::Key_R, Qt::ControlModifier); // MR
    EXPECT_EQ(shown(), "16 ");
    QTest::keyClick(calc(), Qt::Key_L, Qt::ControlModifier); // MC
    EXPECT_TRUE(calc()->engine().memoryIsZero());
    keys("50+10%");
    EXPECT_EQ(shown(), "55 ");
    keys("7/0");
    QTest::keyClick(calc(), Qt::Key_Return);
    EXPECT_EQ(shown(), "****** ");
    keys("5");
    EXPECT_EQ(shown(), "****** ") << "refused until C";
}

TEST_F(Calculator, TheMouseActsOnReleaseOverTheSameButton) {
    click("7");
    click("+");
    click("8");
    click("=");
    EXPECT_EQ(shown(), "15 ");
    // Released elsewhere: nothing.
    QTest::mousePress(calc(), Qt::LeftButton, {}, calc()->buttonRect("5").center());
    QTest::mouseRelease(calc(), Qt::LeftButton, {}, calc()->buttonRect("6").center());
    EXPECT_EQ(shown(), "15 ");
    // MR cannot be clicked while the memory is empty.
    click("C");
    click("MR");
    click("MS");
    EXPECT_TRUE(calc()->engine().memoryIsZero());
    click("4");
    click("MS");
    click("C");
    click("MR");
    EXPECT_EQ(shown(), "4 ");
}

TEST_F(Calculator, CopyAndPaste) {
    keys("42");
    QTest::keyClick(calc(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "42 ");
    QGuiApplication::clipboard()->setText("2*(3+4)=");
    QTest::keyClick(calc(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shown(), "10 ") << "2 * 3 + 4: the brackets are skipped";
}

TEST(CalculatorCommand, EachOpeningStartsAtZeroWithAnEmptyMemory) {
    TForm1 form;
    form.show();
    for (int opening = 0; opening < 2; ++opening) {
        std::string display;
        bool memoryEmpty = false;
        QTimer::singleShot(0, [&] {
            auto* window = form.findChild<TFrmCalculator*>();
            ASSERT_NE(window, nullptr);
            EXPECT_TRUE(window->isModal());
            display = window->PocketCalculator1->property("displayText").toString().toStdString();
            memoryEmpty = window->PocketCalculator1->engine().memoryIsZero();
            QTest::keyClicks(window->PocketCalculator1, "7");
            QTest::keyClick(window->PocketCalculator1, Qt::Key_M, Qt::ControlModifier);
            window->close();
        });
        form.findChild<QToolButton*>("BtnCalculator")->click();
        EXPECT_EQ(display, "0 ") << opening;
        EXPECT_TRUE(memoryEmpty) << opening;
        EXPECT_EQ(form.findChild<TFrmCalculator*>(), nullptr) << "destroyed on closing";
    }
}
