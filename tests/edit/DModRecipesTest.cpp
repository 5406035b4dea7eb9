#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "components/StoreError.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

// The recipe current when the name dialog opens in these tests.
const RecipeName kA7{"Alkyd", "A7"};

class RecipesTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.editor.setAutoCalc(false); // the stored batch values stay as the test wrote them
        data.create(TempData::header("Alkyd", "A7", 9, 55, 1200, "Base resin") +
                        TempData::header("Alkyd", "B2") + TempData::header("Polyester", "P1"),
                    TempData::line("Alkyd", "A7", 1, "GLY", "92.09, 1, NULL, 3, 0, 10, 1") +
                        TempData::line("Alkyd", "A7", 2, "PA", "148.12, 1, 2, NULL, 50, 20, 2") +
                        TempData::line("alkyd", "a7", 3, "", "NULL, NULL, NULL, NULL, NULL, NULL, NULL") +
                        TempData::line("Alkyd", "B2", 1, "PA") + TempData::line("Polyester", "P1", 1, "NPG"),
                    TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3) +
                        TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0));
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
        form.watch(*dm);
    }
    void TearDown() override {
        dm.reset();
    }
    std::string q(const char* file, const QString& sql) { return data.query(file, sql).replace('\n', ' ').toStdString(); }
    std::string linesOf(const char* type, const char* code) {
        return q("Recipes.adt", QString("SELECT ItemNum || ':' || ifnull(RMCode,'') || ':' || ifnull(Mass,'') || ':' || "
                                        "ifnull(Charge,'') || ':' || ifnull(Percent,'') FROM Recipes WHERE BatchType='%1' COLLATE NOCASE AND "
                                        "BatchCode='%2' COLLATE NOCASE ORDER BY ItemNum").arg(type, code));
    }
    std::string headers() {
        return q("BatchInfo.ADT", "SELECT BatchType || '/' || BatchCode FROM BatchInfo ORDER BY 1");
    }
    std::string current() {
        return (dm->headers().header().type + "/" + dm->headers().header().code)
            .toStdString();
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

TEST_F(RecipesTest, DeleteRemovesTheHeaderAndEveryLine) {
    dm->DeleteRecipe("Alkyd", "A7");
    EXPECT_EQ(headers(), "Alkyd/B2 Polyester/P1");
    EXPECT_EQ(linesOf("Alkyd", "A7"), "") << "no line is left behind, whatever its letter case";
    EXPECT_EQ(current(), "Alkyd/B2");
    EXPECT_EQ(form.code.text().toStdString(), "B2");
}

TEST_F(RecipesTest, DeletingTheLastRecipeOfATypeRemovesTheType) {
    dm->SelectRecipe("Polyester", "P1");
    form.type.setText("Polyester");
    dm->DeleteRecipe("Polyester", "P1");
    EXPECT_EQ(form.type.items().join(",").toStdString(), "Alkyd");
    EXPECT_EQ(current(), "Alkyd/A7");
    EXPECT_EQ(q("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchType='Polyester'"), "0");
}

TEST_F(RecipesTest, SaveAsCopiesLinesAndHeaderAndKeepsTheSource) {
    dm->CopyRecipe(kA7, "Alkyd", "A9");
    EXPECT_EQ(linesOf("Alkyd", "A9"), "1:GLY:92.09::10.0 2:PA:148.12:50.0:20.0 3::::") << "a Charge of 0 is empty in the copy";
    EXPECT_EQ(linesOf("Alkyd", "A7"), "1:GLY:92.09:0.0:10.0 2:PA:148.12:50.0:20.0 3::::");
    EXPECT_EQ(q("BatchInfo.ADT", "SELECT Description, AV, Solids, Size FROM BatchInfo WHERE BatchCode='A9'"),
              "Base resin|9.0|55.0|1200.0");
    EXPECT_FALSE(dm->recalculating());
    EXPECT_EQ(current(), "Alkyd/A9") << "the copy is the recipe shown";
    EXPECT_EQ(dm->lines().recordCount(), 3);
    EXPECT_EQ(form.code.items().join(",").toStdString(), "A7,A9,B2") << "among the others of its type";
}

TEST_F(RecipesTest, SaveAsOntoAnotherRecipeReplacesIt) {
    dm->CopyRecipe(kA7, "Alkyd", "B2");
    EXPECT_EQ(headers(), "Alkyd/A7 Alkyd/B2 Polyester/P1");
    EXPECT_EQ(linesOf("Alkyd", "B2"), "1:GLY:92.09::10.0 2:PA:148.12:50.0:20.0 3::::");
}

TEST_F(RecipesTest, SaveAsUnderItsOwnNameStoresTheRecipe) {
    dm->headers().edit();
    dm->headers().setText(HeaderPart::AV, "11");
    dm->CopyRecipe(kA7, "ALKYD", "a7");
    EXPECT_EQ(headers(), "Alkyd/A7 Alkyd/B2 Polyester/P1");
    EXPECT_EQ(linesOf("Alkyd", "A7"), "1:GLY:92.09:0.0:10.0 2:PA:148.12:50.0:20.0 3::::");
    EXPECT_EQ(q("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='A7'"), "11.0");
}

TEST_F(RecipesTest, RenameMovesEveryLineAndTheHeader) {
    dm->RenameRecipe("Alkyd", "A8");
    EXPECT_EQ(headers(), "Alkyd/A8 Alkyd/B2 Polyester/P1");
    EXPECT_EQ(linesOf("Alkyd", "A7"), "");
    EXPECT_EQ(linesOf("Alkyd", "A8"), "1:GLY:92.09:0.0:10.0 2:PA:148.12:50.0:20.0 3::::");
    EXPECT_EQ(current(), "Alkyd/A8");
    EXPECT_EQ(dm->lines().recordCount(), 3);
}

TEST_F(RecipesTest, AddCreatesAHeaderWithDefaults) {
    dm->AddRecipe("Alkyd", "B7");
    EXPECT_EQ(current(), "Alkyd/B7");
    EXPECT_TRUE(dm->lines().isEmpty());
    EXPECT_EQ(q("BatchInfo.ADT", "SELECT Description, AV, Solids, Size FROM BatchInfo WHERE BatchCode='B7'"),
              "[Enter Recipe Description here]|8.0|50.0|1000.0");
}

TEST_F(RecipesTest, NameChecksIgnoreLetterCase) {
    EXPECT_TRUE(dm->RecipeExists("alkyd", "a7"));
    EXPECT_FALSE(dm->RecipeExists("Alkyd", "A"));
    EXPECT_EQ(current(), "Alkyd/A7");
}

TEST_F(RecipesTest, AFailureInTheMiddleLeavesNoHalfRecipe) {
    const std::string before = q("Recipes.adt", "SELECT BatchType || BatchCode || ItemNum FROM Recipes ORDER BY rowid");
    struct Case {
        const char* what;
        std::function<void()> run;
    };
    const std::vector<Case> cases = {
        {"copy", [&] { dm->CopyRecipe(kA7, "Alkyd", "A9"); }},
        {"copy onto another", [&] { dm->CopyRecipe(kA7, "Alkyd", "B2"); }},
        {"rename", [&] { dm->RenameRecipe("Alkyd", "A8"); }},
        {"delete", [&] { dm->DeleteRecipe("Alkyd", "A7"); }},
    };
    for (const Case& c : cases) {
        dm->SelectRecipe("Alkyd", "A7");
        int writes = 0;
        db->beforeWrite = [&](const QString&) {
            if (++writes == 2)
                throw StoreError("Cannot write to the table file: disk full.");
        };
        EXPECT_THROW(c.run(), StoreError) << c.what;
        db->beforeWrite = nullptr;
        EXPECT_EQ(headers(), "Alkyd/A7 Alkyd/B2 Polyester/P1") << c.what;
        EXPECT_EQ(q("Recipes.adt", "SELECT BatchType || BatchCode || ItemNum FROM Recipes ORDER BY rowid"), before) << c.what;
        EXPECT_FALSE(dm->recalculating()) << c.what;
        EXPECT_FALSE(dm->lines().controlsDisabled()) << c.what;
        EXPECT_FALSE(dm->headers().controlsDisabled()) << c.what;
    }
}

TEST_F(RecipesTest, SaveStoresThePendingHeaderAndLine) {
    dm->SaveRecipe(); // nothing pending: nothing happens
    dm->headers().edit();
    dm->headers().setText(HeaderPart::Description, "changed");
    dm->lines().edit();
    LineCell(dm->lines(), "Charge").setFloat(7);
    EXPECT_TRUE(dm->HeaderChanged());
    dm->SaveRecipe();
    EXPECT_FALSE(dm->HeaderChanged());
    EXPECT_EQ(q("BatchInfo.ADT", "SELECT Description FROM BatchInfo WHERE BatchCode='A7'"), "changed");
    EXPECT_EQ(q("Recipes.adt", "SELECT Charge FROM Recipes WHERE BatchCode='A7' AND ItemNum=1"), "7.0");
    dm->headers().edit();
    dm->headers().setText(HeaderPart::AV, "");
    try {
        dm->SaveRecipe();
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_EQ(e.message(), "Field 'AV' must have a value");
    }
}

} // namespace

namespace {

TEST_F(RecipesTest, ARefusedHeaderPostLeavesNothingSuspended) {
    dm->headers().edit();
    dm->headers().setText(HeaderPart::AV, "");
    EXPECT_THROW(dm->FillResinTypeList(), StoreError);
    EXPECT_THROW(dm->FillResinCodeList(), StoreError);
    EXPECT_FALSE(dm->headers().controlsDisabled());
    dm->headers().setText(HeaderPart::AV, "8");
    dm->SelectRecipe("Polyester", "P1");
    EXPECT_EQ(LineCell(dm->lines(), "RMCode").asString(), "NPG") << "the lines follow the header again";
}

TEST_F(RecipesTest, RenamingRescalesNoOtherRecipe) {
    const std::string before = q("Recipes.adt", "SELECT ifnull(Charge,'') FROM Recipes WHERE BatchType='Polyester'");
    dm->RenameRecipe("Polyester", "A8"); // passes through the name Polyester/A7 on the way
    EXPECT_EQ(q("Recipes.adt", "SELECT ifnull(Charge,'') FROM Recipes WHERE BatchType='Polyester' AND BatchCode='P1'"),
              before);
}

} // namespace

namespace {

// The name dialog's OK, case by case: the boxes it shows, the answer given, what it leaves.
struct NameCase {
    const char* what;
    int mode;
    const char* type;
    const char* code;
    QList<int> answers;
    TDMod::NameOutcome outcome;
    const char* boxes;   // the boxes shown, in order, joined by " | "
    const char* headers; // BatchInfo afterwards
    const char* current; // the current recipe afterwards
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.what; }

class NameRecipeTest : public RecipesTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NameRecipeTest, ChecksTheNameAndRunsItsCommand) {
    const NameCase& c = GetParam();
    form.boxAnswers = c.answers;
    TDMod::NameOutcome outcome{};
    db->run([&] { outcome = dm->NameRecipe(NameCommand(c.mode), kA7, c.type, c.code); });
    EXPECT_EQ(int(outcome), int(c.outcome));
    EXPECT_EQ(form.boxes.join(" | ").toStdString(), c.boxes);
    EXPECT_EQ(headers(), c.headers);
    EXPECT_EQ(current(), c.current);
    EXPECT_TRUE(form.boxAnswers.isEmpty()) << "an answer was given for a box never shown";
    EXPECT_EQ(form.acidValueFocused, c.mode == 1 && outcome == TDMod::NameOutcome::Done &&
                                         QString(c.boxes).isEmpty() ? 1 : 0);
}

using O = TDMod::NameOutcome;
using B = Questions;
const char* const kAll = "Alkyd/A7 Alkyd/B2 Polyester/P1";

INSTANTIATE_TEST_SUITE_P(
    Cases, NameRecipeTest,
    ::testing::Values(
        NameCase{"no type", 1, "", "X1", {}, O::TypeMissing,
                 "error Error: A value must be entered for product type", kAll, "Alkyd/A7"},
        NameCase{"no code", 1, "Alkyd", "", {}, O::CodeMissing,
                 "error Error: A value must be entered for product code", kAll, "Alkyd/A7"},
        NameCase{"blanks are a name", 1, " ", " ", {}, O::Done, "", " /  Alkyd/A7 Alkyd/B2 Polyester/P1", " / "},
        NameCase{"new", 1, "Alkyd", "B7", {}, O::Done, "", "Alkyd/A7 Alkyd/B2 Alkyd/B7 Polyester/P1", "Alkyd/B7"},
        NameCase{"new, the name exists, Abort", 1, "alkyd", "a7", {B::Abort}, O::Stay,
                 "error Error: A recipe by that name already exists", kAll, "Alkyd/A7"},
        NameCase{"new, the name exists, Retry shows it", 1, "alkyd", "b2", {B::Retry}, O::Done,
                 "error Error: A recipe by that name already exists", kAll, "Alkyd/B2"},
        NameCase{"save as", 2, "Polyester", "P5", {}, O::Done, "",
                 "Alkyd/A7 Alkyd/B2 Polyester/P1 Polyester/P5", "Polyester/P5"},
        NameCase{"save as over a recipe, No", 2, "Alkyd", "B2", {B::No}, O::Stay,
                 "question Confirm: A recipe by that name already exists, continue?", kAll, "Alkyd/A7"},
        NameCase{"save as over a recipe, closed", 2, "Alkyd", "B2", {0}, O::Stay,
                 "question Confirm: A recipe by that name already exists, continue?", kAll, "Alkyd/A7"},
        NameCase{"save as over a recipe, Yes", 2, "Alkyd", "B2", {B::Yes}, O::Done,
                 "question Confirm: A recipe by that name already exists, continue?", kAll, "Alkyd/B2"},
        NameCase{"rename", 3, "Alkyd", "A8", {}, O::Done, "", "Alkyd/A8 Alkyd/B2 Polyester/P1", "Alkyd/A8"},
        NameCase{"rename onto a recipe", 3, "Alkyd", "B2", {}, O::Stay,
                 "error Error: A recipe by that name already exists! Cannot rename", kAll, "Alkyd/A7"},
        NameCase{"rename to its own name in other letters", 3, "ALKYD", "a7", {}, O::Stay,
                 "error Error: A recipe by that name already exists! Cannot rename", kAll, "Alkyd/A7"}),
    [](const ::testing::TestParamInfo<NameCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// A name longer than its column is refused, never cut into another recipe's name.
TEST_F(RecipesTest, ANameLongerThanItsColumnIsRefused) {
    try {
        db->run([&] { dm->NameRecipe(NameCommand::New, kA7, "Alkyd", "A7-and-more-1234"); });
        FAIL() << "a 16-character code was stored";
    } catch (const FieldError& e) {
        EXPECT_NE(e.message().indexOf("it holds at most 15 characters"), -1) << e.message().toStdString();
    }
    EXPECT_EQ(headers(), kAll);
}

} // namespace
