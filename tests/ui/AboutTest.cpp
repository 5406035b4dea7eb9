#include "ui/About.h"
#include "ui/Unit1.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(AboutBox, OpensModalWithTheProductAndClosesOnEnter) {
    TForm1 form;
    form.show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = form.findChild<TAboutBox*>("AboutBox");
        ASSERT_NE(about, nullptr);
        seen = true;
        EXPECT_TRUE(about->isModal());
        EXPECT_EQ(about->windowTitle(), "About");
        EXPECT_EQ(about->ProductName->text(), "Kalvora Lite Version");
        EXPECT_EQ(about->Version->text(), "Version: 1.0 Beta");
        // The notice an interactive program under the GPL shows.
        const QString licence = about->Licence->text();
        for (const char* words : {"Copyright", "This program comes with ABSOLUTELY NO WARRANTY", "GPL-3.0-or-later",
                                  "Qt and Qt Charts"})
            EXPECT_TRUE(licence.contains(words)) << words;
        EXPECT_TRUE(about->Licence->isVisible());
        EXPECT_FALSE(about->ProgramIcon->pixmap().isNull());
        EXPECT_TRUE(about->OKButton->isDefault());
        QTest::keyClick(about, Qt::Key_Return);
    });
    form.findChild<QAction*>("About1")->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(form.findChild<TAboutBox*>("AboutBox"), nullptr) << "destroyed on closing";
}
