#include "DModUnit.h"
#include "components/StoreError.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

class RecipesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Recalculating = false;
        AutoCalcOn = false; // the stored batch values stay as the test wrote them
        data.create(TempData::header("Alkyd", "A7", 9, 55, 1200, "Base resin") +
                        TempData::header("Alkyd", "B2") + TempData::header("Polyester", "P1"),
                    TempData::line("Alkyd", "A7", 1, "GLY", "92.09, 1, NULL, 3, 0, 10, 1") +
                        TempData::line("Alkyd", "A7", 2, "PA", "148.12, 1, 2, NULL, 50, 20, 2") +
                        TempData::line("alkyd", "a7", 3, "", "NULL, NULL, NULL, NULL, NULL, NULL, NULL") +
                        TempData::line("Alkyd", "B2", 1, "PA") + TempData::line("Polyester", "P1", 1, "NPG"),
                    TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3) +
                        TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0));
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form);
        SourceBatchType = "Alkyd";
        SourceBatchCode = "A7";
    }
    void TearDown() override {
        dm.reset();
        AutoCalcOn = true;
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
        return (dm->TblInfo.fieldByName("BatchType").asString() + "/" + dm->TblInfo.fieldByName("BatchCode").asString())
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
    dm->CopyRecipe("Alkyd", "A9");
    EXPECT_EQ(linesOf("Alkyd", "A9"), "1:GLY:92.09::10.0 2:PA:148.12:50.0:20.0 3::::") << "a Charge of 0 is empty in the copy";
    EXPECT_EQ(linesOf("Alkyd", "A7"), "1:GLY:92.09:0.0:10.0 2:PA:148.12:50.0:20.0 3::::");
    EXPECT_EQ(q("BatchInfo.ADT", "SELECT Description, AV, Solids, Size FROM BatchInfo WHERE BatchCode='A9'"),
              "Base resin|9.0|55.0|1200.0");
    EXPECT_FALSE(Recalculating);
}

TEST_F(RecipesTest, SaveAsOntoAnotherRecipeReplacesIt) {
    dm->CopyRecipe("Alkyd", "B2");
    EXPECT_EQ(headers(), "Alkyd/A7 Alkyd/B2 Polyester/P1");
    EXPECT_EQ(linesOf("Alkyd", "B2"), "1:GLY:92.09::10.0 2:PA:148.12:50.0:20.0 3::::");
}

TEST_F(RecipesTest, SaveAsUnderItsOwnNameStoresTheRecipe) {
    dm->TblInfo.edit();
    dm->TblInfo.fieldByName("AV").setFloat(11);
    dm->CopyRecipe("ALKYD", "a7");
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
    EXPECT_EQ(dm->TblRecipe.recordCount(), 3);
}

TEST_F(RecipesTest, AddCreatesAHeaderWithDefaults) {
    dm->AddRecipe("Alkyd", "B7");
    EXPECT_EQ(current(), "Alkyd/B7");
    EXPECT_TRUE(dm->TblRecipe.isEmpty());
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
        {"copy", [&] { dm->CopyRecipe("Alkyd", "A9"); }},
        {"copy onto another", [&] { dm->CopyRecipe("Alkyd", "B2"); }},
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
        EXPECT_FALSE(Recalculating) << c.what;
        EXPECT_FALSE(dm->TblRecipe.controlsDisabled()) << c.what;
        EXPECT_FALSE(dm->TblInfo.controlsDisabled()) << c.what;
    }
}

TEST_F(RecipesTest, SaveStoresThePendingHeaderAndLine) {
    dm->SaveRecipe(); // nothing pending: nothing happens
    dm->TblInfo.edit();
    dm->TblInfo.fieldByName("Description").setString("changed");
    dm->TblRecipe.edit();
    dm->TblRecipe.fieldByName("Charge").setFloat(7);
    EXPECT_TRUE(dm->HeaderChanged());
    dm->SaveRecipe();
    EXPECT_FALSE(dm->HeaderChanged());
    EXPECT_EQ(q("BatchInfo.ADT", "SELECT Description FROM BatchInfo WHERE BatchCode='A7'"), "changed");
    EXPECT_EQ(q("Recipes.adt", "SELECT Charge FROM Recipes WHERE BatchCode='A7' AND ItemNum=1"), "7.0");
    dm->TblInfo.edit();
    dm->TblInfo.fieldByName("AV").clear();
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
    dm->TblInfo.edit();
    dm->TblInfo.fieldByName("AV").clear();
    EXPECT_THROW(dm->FillResinTypeList(), StoreError);
    EXPECT_THROW(dm->FillResinCodeList(), StoreError);
    EXPECT_FALSE(dm->TblInfo.controlsDisabled());
    dm->TblInfo.fieldByName("AV").setFloat(8);
    dm->SelectRecipe("Polyester", "P1");
    EXPECT_EQ(dm->TblRecipe.fieldByName("RMCode").asString(), "NPG") << "the lines follow the header again";
}

TEST_F(RecipesTest, RenamingRescalesNoOtherRecipe) {
    AutoCalcOn = true;
    const std::string before = q("Recipes.adt", "SELECT ifnull(Charge,'') FROM Recipes WHERE BatchType='Polyester'");
    dm->RenameRecipe("Polyester", "A8"); // passes through the name Polyester/A7 on the way
    EXPECT_EQ(q("Recipes.adt", "SELECT ifnull(Charge,'') FROM Recipes WHERE BatchType='Polyester' AND BatchCode='P1'"),
              before);
}

} // namespace
