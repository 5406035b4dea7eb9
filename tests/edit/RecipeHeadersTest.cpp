// The current recipe's header and an edit of it as values: what is refused, and where a failed
// action leaves them.
#include "components/Database.h"
#include "components/StoreError.h"
#include "edit/RecipeHeaders.h"
#include "support/Refusal.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

TEST(RecipeHeaders, AnEditWithoutARecipeIsRefusedSayingWhatToDo) {
    TempData data;
    data.create();
    Database db(data.folder());
    RecipeHeaders headers(db);
    headers.open();
    EXPECT_EQ(headers.current(), -1);
    EXPECT_EQ(refusal([&] { headers.edit(); }), "There is no recipe to change. Start one with New.");
    EXPECT_EQ(refusal([&] { headers.setText(HeaderPart::AV, "9"); }),
              "There is no recipe to change. Start one with New.");
    EXPECT_FALSE(headers.pending());
    EXPECT_EQ(headers.text(HeaderPart::AV, false), "");
}

class RecipeHeadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Alkyd", "A1", 8.25) + TempData::header("Polyester", "P1", 20));
        db = std::make_unique<Database>(data.folder());
        headers = std::make_unique<RecipeHeaders>(*db);
        headers->open();
    }
    TempData data;
    std::unique_ptr<Database> db;
    std::unique_ptr<RecipeHeaders> headers;
};

TEST_F(RecipeHeadersTest, ATypedPartIsCheckedAsTheStoreChecksItAndARefusalChangesNothing) {
    EXPECT_EQ(headers->text(HeaderPart::AV, false), "8.3") << "read in its picture";
    EXPECT_EQ(headers->text(HeaderPart::AV, true), "8.25") << "edited in full";
    EXPECT_EQ(refusal([&] { headers->setText(HeaderPart::AV, "abc"); }),
              "'abc' is not a valid floating point value for field 'AV'");
    EXPECT_EQ(refusal([&] { headers->setText(HeaderPart::Description, QString(61, u'x')); }),
              "'" + std::string(61, 'x') + "' is too long for field 'Description': it holds at most 60 characters");
    EXPECT_FALSE(headers->modified());
    EXPECT_EQ(headers->header().av, 8.25);
    headers->setText(HeaderPart::Size, " 1500 ");
    EXPECT_TRUE(headers->modified());
    EXPECT_EQ(headers->header().size, 1500);
    headers->setText(HeaderPart::Size, "");
    EXPECT_EQ(headers->header().size, std::nullopt) << "a blank figure is none";
    headers->cancel();
    EXPECT_EQ(headers->header().size, 1000);
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT Size FROM BatchInfo WHERE BatchCode='A1'").toStdString(), "1000.0");
}

TEST_F(RecipeHeadersTest, TheActionThatStoresAnEditIsNamedForAllThatWasTyped) {
    QString name;
    db->committed = [&](ChangeSet, const QString& n, bool) { name = n; };
    headers->setText(HeaderPart::AV, "12");
    headers->setText(HeaderPart::Size, "900");
    headers->setText(HeaderPart::AV, "12.5");
    db->run([&] { headers->post(); });
    EXPECT_EQ(name, "typing in Acid Value, Batch Size");
}

TEST(RecipeHeaders, AHeaderWithoutACodeIsNotStoredAgainUntilItHasOne) {
    TempData data;
    data.create("INSERT INTO BatchInfo VALUES ('Alkyd', NULL, 'Old', 8, 50, 1000, NULL);\n");
    Database db(data.folder());
    RecipeHeaders headers(db);
    headers.open();
    headers.setText(HeaderPart::AV, "9");
    EXPECT_EQ(refusal([&] { headers.post(); }), "Field 'BatchCode' must have a value");
    EXPECT_TRUE(headers.modified()) << "the edit stays for the user to drop";
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo").toStdString(), "8.0");
}

TEST_F(RecipeHeadersTest, AFailedMoveReturnsToTheHeaderAndTheEditAsTheyWere) {
    headers->setText(HeaderPart::AV, "12");
    db->beforeWrite = [](const QString&) { throw StoreError("disk refused"); };
    EXPECT_NE(refusal([&] { db->run([&] { headers->locate("Polyester", "P1"); }); }), "accepted");
    db->beforeWrite = nullptr;
    EXPECT_EQ(headers->name().code, "A1");
    EXPECT_TRUE(headers->modified()) << "the edit is pending again, for the user to store or drop";
    EXPECT_EQ(headers->header().av, 12);
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='A1'").toStdString(), "8.25");
    // Stored by the next move.
    db->run([&] { headers->locate("Polyester", "P1"); });
    EXPECT_EQ(headers->name().code, "P1");
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='A1'").toStdString(), "12.0");
}

} // namespace
