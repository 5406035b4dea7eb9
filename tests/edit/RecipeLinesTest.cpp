// The current recipe's lines as values: their order, moving and editing, what a typed value is
// checked against, and what the windows hear of it.
#include "components/Database.h"
#include "components/StoreError.h"
#include "edit/RecipeHeaders.h"
#include "edit/RecipeLines.h"
#include "support/LineCell.h"
#include "support/Refusal.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

// What a value was refused with; empty when it was taken.
std::string refused(const std::function<void()>& f) { return refusal(f, ""); }

class RecipeLinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Polyester", "P1") + TempData::header("Alkyd", "B2") +
                        TempData::header("alkyd", "A7") + TempData::header("Al'kyd", "Q1"),
                    TempData::line("Alkyd", "B2", 2, "GLY") + TempData::line("Alkyd", "B2", 1, "PA") +
                        "INSERT INTO Recipes VALUES ('ALKYD', 'b2', NULL, 'TOFA', NULL, NULL, NULL, NULL, NULL, "
                        "NULL, NULL);\n" +
                        TempData::line("Alkyd", "A7", 1, "PE") + TempData::line("Polyester", "P1", 1, "NPG"));
        db = std::make_unique<Database>(data.folder());
        headers = std::make_unique<RecipeHeaders>(*db);
        lines = std::make_unique<RecipeLines>(*db, [this] { return headers->key(); });
        headers->beforeMove = [this] { lines->checkBrowseMode(); };
        QObject::connect(headers.get(), &RecipeHeaders::shown, [this] { lines->followRange(); });
        lines->open();
        headers->open();
        ASSERT_TRUE(headers->locate("alkyd", "B2"));
    }
    std::string codes() const {
        std::string out;
        for (int i = 0; i < lines->rowCount(); ++i)
            out += (out.empty() ? "" : ",") + lines->lineAt(i).code.toStdString();
        return out;
    }
    LineCell cell(const char* field) { return LineCell(*lines, field); }

    TempData data;
    std::unique_ptr<Database> db;
    std::unique_ptr<RecipeHeaders> headers;
    std::unique_ptr<RecipeLines> lines;
};

TEST_F(RecipeLinesTest, LinesComeInItemOrderAndFollowTheCurrentRecipe) {
    // A line without a number first; the name matched without letter case.
    EXPECT_EQ(codes(), "TOFA,PA,GLY");
    EXPECT_EQ(lines->recordCount(), 3);
    EXPECT_EQ(lines->recNo(), 0);
    ASSERT_TRUE(headers->locate("Polyester", "P1"));
    EXPECT_EQ(codes(), "NPG");
    EXPECT_EQ(cell("RMCode").asString(), "NPG");
    headers->goTo(headers->list().find("Al'kyd", "Q1"));
    EXPECT_TRUE(lines->isEmpty());
    EXPECT_EQ(lines->recNo(), -1);
}

TEST_F(RecipeLinesTest, MovingReachesTheEndAndTheStartAndALineIsFoundByItsNumber) {
    lines->last();
    EXPECT_EQ(cell("RMCode").asString(), "GLY");
    lines->next();
    EXPECT_TRUE(lines->eof());
    EXPECT_EQ(cell("RMCode").asString(), "GLY");
    lines->first();
    EXPECT_FALSE(lines->eof());
    lines->prior();
    EXPECT_EQ(cell("RMCode").asString(), "TOFA");
    EXPECT_TRUE(lines->locateItem(2));
    EXPECT_EQ(cell("RMCode").asString(), "GLY");
    EXPECT_FALSE(lines->locateItem(7));
    EXPECT_EQ(cell("RMCode").asString(), "GLY") << "not found: the line stays";
    const qint64 gly = lines->rowidAt(lines->recNo());
    lines->first();
    EXPECT_TRUE(lines->goToRow(gly));
    EXPECT_EQ(lines->recNo(), 2);
    EXPECT_FALSE(lines->goToRow(0));
}

TEST_F(RecipeLinesTest, RefusalsNameTheLines) {
    EXPECT_EQ(refused([&] { lines->post(); }), "TblRecipe: Dataset not in edit or insert mode");
    EXPECT_EQ(refused([&] { cell("Mass").setFloat(3); }), "TblRecipe: Dataset not in edit or insert mode");
    headers->goTo(headers->list().find("Al'kyd", "Q1"));
    EXPECT_EQ(refused([&] { lines->remove(); }), "TblRecipe: Cannot perform this operation on an empty dataset");
}

TEST_F(RecipeLinesTest, MovingStoresAChangedLineAndDropsAnUntouchedNewOne) {
    lines->locateItem(1);
    lines->edit();
    cell("Mass").setFloat(12);
    EXPECT_TRUE(lines->modified());
    lines->next();
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Mass FROM Recipes WHERE RMCode='PA'").toStdString(), "12.0");

    const int before = lines->recordCount();
    lines->append();
    EXPECT_EQ(lines->rowCount(), before + 1);
    EXPECT_FALSE(lines->modified());
    lines->first();
    EXPECT_EQ(lines->recordCount(), before);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes").toStdString(), "5");
}

TEST_F(RecipeLinesTest, ANewLineBelongsToTheCurrentRecipe) {
    headers->locate("Polyester", "P1");
    lines->append();
    cell("ItemNum").setInteger(2);
    cell("RMCode").setString("TMP");
    lines->post();
    EXPECT_EQ(lines->recordCount(), 2);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT BatchType || '/' || BatchCode || '/' || RMCode FROM Recipes WHERE "
                                        "BatchCode='P1' ORDER BY ItemNum")
                  .toStdString(),
              "Polyester/P1/NPG\nPolyester/P1/TMP");
}

TEST_F(RecipeLinesTest, InsertGoesBeforeTheCurrentLineAndCancelReturns) {
    lines->last();
    lines->insert();
    EXPECT_EQ(lines->recNo(), 2);
    EXPECT_TRUE(lines->isPendingRow(2));
    EXPECT_EQ(lines->rowidAt(2), 0);
    lines->cancel();
    EXPECT_EQ(lines->recNo(), 2);
    EXPECT_EQ(cell("RMCode").asString(), "GLY");
    lines->insert();
    lines->remove(); // a new line is dropped, not deleted
    EXPECT_EQ(lines->recordCount(), 3);
}

TEST_F(RecipeLinesTest, ALineBegunInARecipeWithoutLinesIsALineToTypeInto) {
    headers->goTo(headers->list().find("Al'kyd", "Q1"));
    ASSERT_TRUE(lines->isEmpty());
    lines->append();
    EXPECT_FALSE(lines->isEmpty()) << "the grid types into it, and Ctrl+Delete drops it";
    EXPECT_EQ(lines->recordCount(), 0);
    lines->remove();
    EXPECT_TRUE(lines->isEmpty());
}

TEST_F(RecipeLinesTest, DeleteMakesTheFollowingLineCurrent) {
    lines->locateItem(1);
    lines->remove();
    EXPECT_EQ(cell("RMCode").asString(), "GLY");
    lines->remove();
    EXPECT_EQ(cell("RMCode").asString(), "TOFA") << "the last line gone: the one before it";
    lines->remove();
    EXPECT_TRUE(lines->isEmpty());
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode LIKE 'B2'").toStdString(), "0");
}

TEST_F(RecipeLinesTest, SuspendedLinesTellTheWindowsOnceOnResumption) {
    int rows = 0, moves = 0;
    QObject::connect(lines.get(), &RecipeLines::rowsChanged, [&] { ++rows; });
    QObject::connect(lines.get(), &RecipeLines::moved, [&] { ++moves; });
    lines->disableControls();
    lines->disableControls();
    for (lines->first(); !lines->eof(); lines->next()) {
    }
    Line l = lines->lineAt(0);
    l.mass = 5;
    lines->storeAt(0, l);
    lines->enableControls();
    EXPECT_EQ(rows + moves, 0);
    lines->enableControls();
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(moves, 0);
}

TEST_F(RecipeLinesTest, TheWindowsHearOfChangesAndStates) {
    int states = 0;
    QList<std::optional<LineColumn>> changed;
    QObject::connect(lines.get(), &RecipeLines::stateChanged, [&] { ++states; });
    QObject::connect(lines.get(), &RecipeLines::lineChanged, [&](std::optional<LineColumn> c) { changed << c; });
    lines->edit();
    EXPECT_EQ(states, 1);
    cell("Mass").setFloat(9);
    EXPECT_EQ(changed, QList<std::optional<LineColumn>>{LineColumn::Mass});
    int handled = 0;
    lines->changed = [&](LineColumn c) {
        ++handled;
        EXPECT_EQ(c, LineColumn::Moles);
        EXPECT_DOUBLE_EQ(cell("Moles").asFloat(), 55); // the value is held when the handler runs
    };
    cell("Moles").setFloat(55);
    EXPECT_EQ(handled, 1);
    lines->post();
    EXPECT_EQ(states, 2);
}

TEST_F(RecipeLinesTest, RefreshReadsLinesWrittenElsewhere) {
    lines->locateItem(2);
    StoredLines other(*db);
    Line l;
    l.item = 3;
    l.code = QStringLiteral("PE");
    db->run([&] { other.insert({QStringLiteral("Alkyd"), QStringLiteral("B2")}, l); });
    lines->refresh();
    EXPECT_EQ(cell("RMCode").asString(), "GLY");
    EXPECT_EQ(codes(), "TOFA,PA,GLY,PE");
}

// What a typed value is checked against, and how it reads.
TEST_F(RecipeLinesTest, ARangeRefusalKeepsThePreviousValue) {
    lines->edit();
    cell("Mass").setFloat(12.5);
    EXPECT_EQ(refused([&] { cell("Mass").setFloat(-5); }),
              "-5 is not a valid value for field 'Mass'. The allowed range is 0 to 100000");
    EXPECT_EQ(refused([&] { cell("Mass").setText("100000.5"); }),
              "100000.5 is not a valid value for field 'Mass'. The allowed range is 0 to 100000");
    EXPECT_DOUBLE_EQ(cell("Mass").asFloat(), 12.5);
    EXPECT_EQ(refused([&] { cell("Mass").setFloat(100000); }), "");
    EXPECT_EQ(refused([&] { cell("Mass").setFloat(0); }), "");
    EXPECT_EQ(refused([&] { cell("ItemNum").setText("40000"); }),
              "40000 is not a valid value for field 'ItemNum'. The allowed range is -32768 to 32767");
    EXPECT_EQ(refused([&] { cell("RMCode").setText("ELEVENCHARS"); }),
              "'ELEVENCHARS' is too long for field 'RMCode': it holds at most 10 characters");
}

TEST_F(RecipeLinesTest, TextThatIsNotANumberIsRefused) {
    lines->edit();
    cell("Mass").setFloat(3);
    EXPECT_EQ(refused([&] { cell("Mass").setText("12x"); }), "'12x' is not a valid floating point value for field 'Mass'");
    EXPECT_EQ(refused([&] { cell("ItemNum").setText("two"); }), "'two' is not a valid integer value for field 'ItemNum'");
    EXPECT_EQ(refused([&] { lines->checkText(LineColumn::Moles, "1e400"); }),
              "'1e400' is not a valid floating point value for field 'Moles'") << "named as typed";
    EXPECT_DOUBLE_EQ(cell("Mass").asFloat(), 3);
    cell("Mass").setText("  ");
    EXPECT_TRUE(cell("Mass").isNull()) << "a blank figure is none";
}

TEST_F(RecipeLinesTest, ACellReadsInItsPictureAndIsEditedInFull) {
    lines->edit();
    cell("Mass").setText("296.24");
    EXPECT_EQ(cell("Mass").displayText(), "296.240");
    EXPECT_EQ(RecipeLines::editText(lines->line(), LineColumn::Mass), "296.240");
    cell("Mass").setText("2.12345");
    EXPECT_EQ(cell("Mass").displayText(), "2.123");
    EXPECT_EQ(RecipeLines::editText(lines->line(), LineColumn::Mass), "2.12345") << "nothing the picture rounds is lost";
    cell("ItemNum").setInteger(0);
    EXPECT_EQ(cell("ItemNum").displayText(), "");
    cell("ItemNum").setInteger(12);
    EXPECT_EQ(cell("ItemNum").displayText(), "12");
}

TEST_F(RecipeLinesTest, NoneReadsAsZeroAndEmptyText) {
    lines->edit();
    cell("Mass").clear();
    EXPECT_DOUBLE_EQ(cell("Mass").asFloat(), 0);
    EXPECT_EQ(cell("Mass").asString(), "");
    cell("RMCode").clear();
    EXPECT_EQ(cell("RMCode").asString(), "");
}

// A line left alone by an edit stays as an older program stored it: only what changed is written.
TEST_F(RecipeLinesTest, StoringALineWritesOnlyWhatChanged) {
    ChangeSet last;
    db->committed = [&](ChangeSet changes, const QString&, bool) { last = std::move(changes); };
    lines->locateItem(1);
    lines->edit();
    cell("Mass").setText("12");
    cell("Moles").setText("");
    db->run([&] { lines->post(); });
    ASSERT_EQ(last.size(), 1u);
    int changed = 0;
    for (int col = 0; col < 11; ++col)
        changed += last[0].before->sameAt(col, *last[0].after) ? 0 : 1;
    EXPECT_EQ(changed, 1) << "the mass alone: the moles were none and stay so";
    last.clear();
    lines->edit();
    cell("Mass").setText("12");
    db->run([&] { lines->post(); });
    EXPECT_TRUE(last.empty()) << "nothing changed, nothing written";
}

} // namespace
