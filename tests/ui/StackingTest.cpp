// Windows opened from the main window, under a real window manager: with Stay On Top, each comes
// up in front of the main window, not hidden behind it; the course window opens beside it.
#include "ui/About.h"
#include "ui/Calculator.h"
#include "ui/CourseForm.h"
#include "edit/DModUnit.h"
#include "ui/Help.h"
#include "ui/LibForm.h"
#include "ui/Unit1.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"
#include "support/XServer.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QToolButton>
#include <gtest/gtest.h>

QString xServerProblem();

namespace {

class Stacking : public MainWindowFixture<> {
protected:
    void SetUp() override {
        if (!xServerProblem().isEmpty())
            GTEST_SKIP() << xServerProblem().toStdString();
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
        QTest::qWait(200); // openbox maps and stacks the window
    }
    void TearDown() override {
        if (xServerProblem().isEmpty())
            MainWindowFixture::TearDown();
    }
    // Whether the window manager stacks `window` above the main window, once it has settled.
    bool inFront(QWidget* window) {
        QTest::qWait(400);
        return QTest::qWaitFor([&] {
            const QList<unsigned long> order = XServer::stacking();
            // The native window of the moment: changing a window's flags makes it anew.
            const qsizetype above = order.indexOf(window->windowHandle()->winId()),
                            below = order.indexOf(form.windowHandle()->winId());
            return above >= 0 && below >= 0 && above > below;
        }, 3000);
    }
    // Runs `check` on the modal window of that name once it is shown, then closes it.
    void whileOpen(const char* name, const std::function<void(QWidget*)>& check) {
        QTimer::singleShot(0, [=, this] { poll(name, check, 0); });
    }
    void poll(const char* name, const std::function<void(QWidget*)>& check, int tries) {
        QWidget* w = form.findChild<QWidget*>(name);
        if (w && w->isVisible() && QTest::qWaitForWindowExposed(w)) {
            check(w);
            w->close();
            return;
        }
        if (tries < 200)
            QTimer::singleShot(20, [=, this] { poll(name, check, tries + 1); });
    }
};

} // namespace

TEST_F(Stacking, WithStayOnTopEveryWindowOpenedComesUpInFront) {
    form.StayOnTop->trigger();
    ASSERT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    form.Help2->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.FrmHelp()));
    EXPECT_TRUE(inFront(form.FrmHelp())) << "the help";
    form.FrmHelp()->close();

    bool seen = false;
    whileOpen("AboutBox", [&](QWidget* w) { seen = true; EXPECT_TRUE(inFront(w)) << "the about box"; });
    form.About1->trigger();
    EXPECT_TRUE(seen);
    seen = false;
    whileOpen("FrmCalculator", [&](QWidget* w) { seen = true; EXPECT_TRUE(inFront(w)) << "the calculator"; });
    QTest::mouseClick(form.BtnCalculator, Qt::LeftButton);
    EXPECT_TRUE(seen);
    seen = false;
    whileOpen("FormLib", [&](QWidget* w) { seen = true; EXPECT_TRUE(inFront(w)) << "the library"; });
    QTest::mouseClick(form.BtnLibrary, Qt::LeftButton);
    EXPECT_TRUE(seen);

    form.ReactionCourse1->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.FrmReactionCourse()));
    EXPECT_TRUE(inFront(form.FrmReactionCourse())) << "the course";
    form.FrmReactionCourse()->close();
}

// Where the screen has room, the course window stands beside the main window, not over it.
TEST_F(Stacking, TheCourseWindowOpensBesideTheMainWindow) {
    form.ReactionCourse1->trigger();
    TFrmReactionCourse* course = form.FrmReactionCourse();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(course));
    QTest::qWait(200);
    EXPECT_FALSE(course->frameGeometry().intersects(form.frameGeometry()))
        << "course " << course->frameGeometry().x() << "," << course->frameGeometry().width() << " main "
        << form.frameGeometry().x() << "," << form.frameGeometry().width();
    EXPECT_TRUE(course->screen()->availableGeometry().contains(course->frameGeometry()));
    course->close();
}
