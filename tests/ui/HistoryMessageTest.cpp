// The main window over a recipe history it cannot use: one message at the start, and editing goes
// on without another.
#include "edit/DModUnit.h"
#include "ui/MessageBox.h"
#include "ui/RecipeHistoryForm.h"
#include "ui/Unit1.h"
#include "support/GridDriver.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DamagedHistory : public MainWindowFixture<>, protected GridDriver {};

TEST_F(DamagedHistory, IsSaidOnceAtTheStartAndTheTypedMassIsStored) {
    data.create(TempData::starter("BatchInfo"), TempData::starter("Recipes"), TempData::starter("RMLib"));
    {
        QFile f(data.file("History.adt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    MessageBox::setNextAnswer(QMessageBox::Ok);
    session = openSession(form, data.folder());
    ASSERT_NE(session, nullptr);
    checkModels(form);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(10);
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_TRUE(MessageBox::history()[0].text.contains("History.adt")) << MessageBox::history()[0].text.toStdString();
    EXPECT_TRUE(MessageBox::history()[0].text.contains("without recording versions"));

    // Soya bean oil's mass typed over, as a chemist types it: no other box.
    grid = form.DBGrid1;
    click(0, "Mass");
    type("640");
    key(Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Mass FROM Recipes WHERE BatchCode = 'LO-SOY65' AND ItemNum = 1"),
              "640.0");
    EXPECT_EQ(MessageBox::history().size(), 1);

    // The history window says why it lists nothing, and offers nothing to restore.
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* h = qobject_cast<TFrmRecipeHistory*>(QApplication::activeModalWidget());
        ASSERT_NE(h, nullptr);
        seen = true;
        EXPECT_TRUE(h->LblHistoryState->isVisible());
        EXPECT_TRUE(h->LblHistoryState->text().contains("History.adt")) << h->LblHistoryState->text().toStdString();
        EXPECT_EQ(h->VersionList->model()->rowCount(), 0);
        EXPECT_FALSE(h->BtnRestore->isEnabled());
        EXPECT_FALSE(h->BtnCompare->isEnabled());
        h->reject();
    });
    form.RecipeHistory1->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(MessageBox::history().size(), 1);
}

} // namespace
