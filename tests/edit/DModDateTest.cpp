#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "store/Tables.h"
#include "components/Sqlite.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

const QString kLibrary = TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3) +
                         TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0);

// When a recipe was last stored: the header's Date column, written by the program's clock.
class LastModified : public ::testing::Test {
protected:
    void SetUp() override {
        TDMod::Clock = [this] { return now; };
    }
    void TearDown() override {
        dm.reset();
        TDMod::Clock = [] { return QDateTime::currentDateTime(); };
    }
    void open() {
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    void create(const QString& date = "'2026-01-05T08:00:00'") {
        data.create(QString("INSERT INTO BatchInfo VALUES ('Alkyd', 'A7', 'Base resin', 9, 55, 1200, %1);\n"
                            "INSERT INTO BatchInfo VALUES ('Alkyd', 'B2', 'Other', 8, 50, 1000, %1);\n")
                        .arg(date),
                    TempData::line("Alkyd", "A7", 1, "GLY", "92.09, 1, NULL, 3, NULL, NULL, NULL") +
                        TempData::line("Alkyd", "A7", 2, "PA", "148.12, 1, 2, NULL, NULL, NULL, NULL"),
                    kLibrary);
        open();
    }
    QString dateOf(const QString& code) {
        return data.query("BatchInfo.ADT", "SELECT ifnull(Date, '-') FROM BatchInfo WHERE BatchCode = '" + code + "'");
    }
    void select(const QString& code) { dm->SelectRecipe("Alkyd", code); }

    QDateTime now{QDate(2026, 12, 9), QTime(10, 30, 0)};
    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

} // namespace

TEST_F(LastModified, AFileWithoutTheColumnGetsItEmptyAndKeepsEveryOtherColumn) {
    // A header table as earlier versions wrote it: six columns.
    TableSchema old = Tables::batchInfo();
    old.columns.pop_back();
    data.create({}, {}, kLibrary);
    QFile::remove(data.file("BatchInfo.ADT"));
    createTableFile(data.file("BatchInfo.ADT"), old,
                    "INSERT INTO BatchInfo VALUES ('Alkyd', 'A7', 'Base resin', 9, 55, 1200);\n");
    open();
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT name || ' ' || type FROM pragma_table_info('BatchInfo')")
                  .split('\n'),
              QStringList({"BatchType TEXT", "BatchCode TEXT", "Description TEXT", "AV REAL", "Solids REAL",
                           "Size REAL", "Date TEXT"}));
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT BatchType, BatchCode, Description, AV, Solids, Size, "
                                          "ifnull(Date, 'empty') FROM BatchInfo"),
              "Alkyd|A7|Base resin|9.0|55.0|1200.0|empty");
    // Opening again finds the column in place.
    dm.reset();
    db.reset();
    open();
    EXPECT_EQ(dm->headers().header().date, "");
}

TEST_F(LastModified, EveryStoredChangeOfARecipeStampsIt) {
    create();
    select("A7");
    // A typed amount.
    ASSERT_TRUE(dm->lines().locateItem(1));
    dm->lines().edit();
    LineCell(dm->lines(), "Mass").setText("184.18");
    dm->lines().checkBrowseMode();
    EXPECT_EQ(dateOf("A7"), "2026-12-09T10:30:00");
    EXPECT_EQ(dateOf("B2"), "2026-01-05T08:00:00") << "another recipe is left alone";
    // A header edit.
    now = now.addSecs(60);
    dm->headers().edit();
    dm->headers().setText(HeaderPart::AV, "7");
    dm->headers().post();
    EXPECT_EQ(dateOf("A7"), "2026-12-09T10:31:00");
    EXPECT_EQ(dm->headers().header().date, "2026-12-09T10:31:00");
    // A deleted line.
    now = now.addSecs(60);
    ASSERT_TRUE(dm->lines().locateItem(2));
    dm->DeleteLine();
    EXPECT_EQ(dateOf("A7"), "2026-12-09T10:32:00");
    EXPECT_EQ(dm->headers().header().date, "2026-12-09T10:32:00");
}

TEST_F(LastModified, RenameKeepsTheStampAndCopyStampsTheCopy) {
    create();
    select("A7");
    now = now.addDays(1);
    dm->RenameRecipe("Alkyd", "A8");
    EXPECT_EQ(dateOf("A8"), "2026-01-05T08:00:00");
    dm->CopyRecipe({"Alkyd", "A8"}, "Alkyd", "C1");
    EXPECT_EQ(dateOf("C1"), "2026-12-10T10:30:00");
    EXPECT_EQ(dateOf("A8"), "2026-01-05T08:00:00");
}

TEST_F(LastModified, ANewRecipeIsStampedWhenItIsStored) {
    create("NULL");
    dm->AddRecipe("Alkyd", "N1");
    EXPECT_EQ(dateOf("N1"), "2026-12-09T10:30:00");
    EXPECT_EQ(dateOf("A7"), "-");
}

// A line still being edited when the user moves to another recipe or starts a new one is stored
// as part of the recipe it belongs to, and dates that recipe.
TEST_F(LastModified, ALineStoredOnLeavingItsRecipeDatesThatRecipe) {
    create();
    for (const bool newRecipe : {false, true}) {
        select("A7");
        now = now.addSecs(60);
        ASSERT_TRUE(dm->lines().locateItem(1));
        dm->lines().edit();
        LineCell(dm->lines(), "RMCode").setText(newRecipe ? "GLY" : "PA");
        ASSERT_EQ(dm->lines().state(), RecipeLines::State::Edit);
        const QString before = dateOf("B2");
        db->run([&] {
            if (newRecipe)
                dm->AddRecipe("Alkyd", "N1");
            else
                select("B2");
        });
        EXPECT_EQ(data.query("Recipes.adt", "SELECT RMCode FROM Recipes WHERE BatchCode = 'A7' AND ItemNum = 1"),
                  newRecipe ? "GLY" : "PA");
        EXPECT_EQ(dateOf("A7"), now.toString(Qt::ISODate)) << newRecipe;
        EXPECT_EQ(dateOf("B2"), before) << newRecipe;
    }
}

TEST_F(LastModified, ShowingOrRecalculatingARecipeDoesNotDateIt) {
    create();
    select("A7");
    select("B2");
    dm->CalcBatch();
    select("A7");
    dm->CalcTotals();
    dm->CalcBatch();
    EXPECT_EQ(dateOf("A7"), "2026-01-05T08:00:00");
    EXPECT_EQ(dateOf("B2"), "2026-01-05T08:00:00");
}
