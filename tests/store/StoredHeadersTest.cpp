// The headers of every stored recipe as the main window lists them: their order, how a name is
// found, and an undo taken in row by row giving what a fresh read gives.
#include "components/Database.h"
#include "store/StoredHeaders.h"
#include "store/StoredRecipes.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

std::string names(const StoredHeaders& h) {
    std::string out;
    for (int i = 0; i < h.count(); ++i)
        out += (out.empty() ? "" : ",") + (h.nameAt(i).type + "/" + h.nameAt(i).code).toStdString();
    return out;
}

class StoredHeadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Polyester", "P1") + TempData::header("Alkyd", "B2", 9, 55, 800, "Short oil") +
                        TempData::header("alkyd", "A7") +
                        "INSERT INTO BatchInfo VALUES (NULL, 'N1', NULL, 8, 50, 1000, NULL);\n",
                    TempData::line("Alkyd", "B2", 1, "PA") + TempData::line("Polyester", "P1", 1, "NPG"));
        db = std::make_unique<Database>(data.folder());
        db->committed = [this](ChangeSet changes, const QString&, bool) { last = std::move(changes); };
        headers = std::make_unique<StoredHeaders>(*db);
        headers->read();
    }

    TempData data;
    std::unique_ptr<Database> db;
    std::unique_ptr<StoredHeaders> headers;
    ChangeSet last;
};

TEST_F(StoredHeadersTest, HeadersComeInNameOrderAndAreFoundWithoutLetterCase) {
    EXPECT_EQ(names(*headers), "/N1,alkyd/A7,Alkyd/B2,Polyester/P1");
    EXPECT_EQ(headers->find("ALKYD", "b2"), 2);
    EXPECT_EQ(headers->find("", "n1"), 0) << "a missing type is an empty one";
    EXPECT_EQ(headers->find("Alkyd", "P1"), -1);
    const RecipeHeader b2 = headers->at(2);
    EXPECT_EQ(b2.description, "Short oil");
    EXPECT_EQ(b2.av, 9);
    EXPECT_EQ(b2.size, 800);
    EXPECT_EQ(headers->at(0).description, "");

    // Each word once, as the first header in order spells it, sorted as a user reads.
    EXPECT_EQ(headers->types().join(",").toStdString(), ",alkyd,Polyester");
    int first = -1;
    EXPECT_EQ(headers->codesOf("ALKYD", &first).join(",").toStdString(), "A7,B2");
    EXPECT_EQ(first, 1);
    EXPECT_TRUE(headers->codesOf("Resin", &first).isEmpty());
    EXPECT_EQ(first, -1);
}

TEST_F(StoredHeadersTest, AnUndoOrRedoTakenInRowByRowGivesWhatAFreshReadGives) {
    StoredRecipes recipes(*db);
    const std::vector<std::function<void()>> actions = {
        [&] { recipes.save(newRecipe("Alkyd", "A0")); },
        [&] { recipes.remove("polyester", "p1"); },
        [&] { recipes.rename("Alkyd", "B2", "Zed", "Z1"); },
        [&] { recipes.rename("alkyd", "A7", "Aaa", "A7"); },
    };
    for (const auto& action : actions) {
        db->run(action);
        headers->read();
        const std::string done = names(*headers);
        for (bool back : {true, false}) {
            const ChangeSet changes = last;
            db->run([&] { db->replay(changes, back); });
            headers->take(changes, back);
            const std::string taken = names(*headers);
            StoredHeaders fresh(*db);
            fresh.read();
            EXPECT_EQ(taken, names(fresh)) << done;
        }
        EXPECT_EQ(names(*headers), done);
    }
}

TEST_F(StoredHeadersTest, WritingAHeaderWritesOnlyThePartsThatChanged) {
    RecipeHeader h = headers->at(2);
    h.description = "Medium oil";
    h.type = "Other"; // the name is not the header's to change
    db->run([&] { headers->write(2, h); });
    ASSERT_EQ(last.size(), 1u);
    const RowChange& c = last.front();
    int changed = 0;
    for (int col = 0; col < 7; ++col)
        changed += c.before->sameAt(col, *c.after) ? 0 : 1;
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT BatchType || '/' || Description FROM BatchInfo WHERE BatchCode='B2'")
                  .toStdString(),
              "Alkyd/Medium oil");
    EXPECT_EQ(headers->at(2).description, "Medium oil");
    last.clear();
    db->run([&] { headers->write(2, headers->at(2)); });
    EXPECT_TRUE(last.empty()) << "nothing changed, nothing written";
}

} // namespace
