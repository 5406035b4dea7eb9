// A history file the disk refuses (full, locked by another program, read-only) never stops
// editing: the change is stored without its version, the user is told once, and the history is
// tried again a while later.
#include "edit/DModUnit.h"
#include "support/FaultVfs.h"
#include "support/LineCell.h"
#include "support/StandInForm.h"
#include "support/TempData.h"
#include "components/Sqlite.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class BadHistory : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FaultVfs::install(); }
    void SetUp() override {
        data.create(TempData::header("Alkyd", "A7", 9, 55, 1200, "Base resin"),
                    TempData::line("Alkyd", "A7", 1, "GLY", "92.09, 1, NULL, 3, 0, 10, 1") +
                        TempData::line("Alkyd", "A7", 2, "PA", "148.12, 1, 2, NULL, 50, 20, 2"),
                    TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3) +
                        TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0));
    }
    void TearDown() override {
        dm.reset();
        db.reset();
        FaultVfs::disarm();
        FaultVfs::onlyFiles("");
        FaultVfs::readOnlyFiles("");
    }
    void open() {
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
        form.watch(*dm);
        dm->versions().clock = [this] { return clock; };
        QObject::connect(&dm->versions(), &HistoryRecorder::problem, [this](const QString& m) { told << m; });
    }
    // A mass typed into a line of its own, each a version; true when the files hold it.
    bool typeMass(int line, int mass) {
        clock = clock.addSecs(1);
        const ActionOutcome done = db->perform([&] {
            dm->lines().goTo(line);
            dm->lines().edit();
            LineCell(dm->lines(), "Mass").setText(QString::number(mass));
            dm->lines().checkBrowseMode();
        });
        if (!done.error.isEmpty())
            ADD_FAILURE() << done.error.toStdString();
        return done.done && data.query("Recipes.adt", QString("SELECT count(*) FROM Recipes WHERE Mass = %1").arg(mass)) == "1";
    }
    int versions() { return data.query("History.adt", "SELECT count(*) FROM Versions").toInt(); }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
    QDateTime clock{QDate(2026, 12, 11), QTime(9, 0)};
    QStringList told;
};

TEST_F(BadHistory, AFullDiskForTheHistoryStoresTheChangeWithoutItAndSaysSoOnce) {
    FaultVfs::onlyFiles("History.adt");
    open();
    ASSERT_TRUE(typeMass(0, 101));
    ASSERT_EQ(versions(), 2) << "the recipe as it was, and the typing";
    FaultVfs::arm(1, FaultVfs::Mode::FromThenOn, FaultVfs::Failure::DiskFull);
    EXPECT_TRUE(typeMass(1, 102)) << "the change is stored all the same";
    EXPECT_TRUE(typeMass(0, 103));
    EXPECT_TRUE(typeMass(1, 104));
    FaultVfs::disarm();
    ASSERT_EQ(told.size(), 1) << told.join('\n').toStdString();
    EXPECT_TRUE(told[0].contains("History.adt")) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains("is full")) << told[0].toStdString();
    EXPECT_FALSE(dm->versions().file().isOn());
    EXPECT_EQ(versions(), 2) << "no version without its change, none written half";

    // Some minutes later the disk has room again: the history is written again.
    clock = clock.addSecs(HistoryRecorder::kRetrySeconds);
    EXPECT_TRUE(typeMass(0, 105));
    EXPECT_TRUE(typeMass(1, 106));
    EXPECT_TRUE(dm->versions().file().isOn()) << dm->versions().file().problem().toStdString();
    EXPECT_GT(versions(), 2);
    EXPECT_EQ(told.size(), 1);
}

TEST_F(BadHistory, AHistoryLockedByAnotherProgramLeavesEditingWorking) {
    open();
    ASSERT_TRUE(typeMass(0, 101));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QDir(data.folder()).filePath("History.adt").toUtf8().constData(), &raw,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    SqlitePtr other(raw);
    sqliteExec(other.get(), "BEGIN EXCLUSIVE");
    EXPECT_TRUE(typeMass(1, 102));
    EXPECT_TRUE(typeMass(0, 103)) << "said once, then no more waiting";
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("History.adt")) << told[0].toStdString();
    sqliteExec(other.get(), "ROLLBACK");
    other.reset();
    EXPECT_EQ(versions(), 2);
}

TEST_F(BadHistory, AReadOnlyHistoryIsSaidAtTheStartAndEditingGoesOn) {
    open();
    ASSERT_TRUE(typeMass(0, 101));
    dm.reset();
    db.reset();
    FaultVfs::readOnlyFiles("History.adt");
    open();
    EXPECT_FALSE(dm->versions().file().isOn());
    EXPECT_TRUE(dm->versions().file().problem().contains("read-only")) << dm->versions().file().problem().toStdString();
    EXPECT_TRUE(typeMass(1, 102));
    EXPECT_TRUE(typeMass(0, 103));
    EXPECT_TRUE(told.isEmpty()) << "the start's one message is the window's to show";
    FaultVfs::readOnlyFiles("");
    EXPECT_EQ(versions(), 2);
}

} // namespace
