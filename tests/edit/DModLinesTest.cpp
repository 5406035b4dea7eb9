#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "components/StoreError.h"
#include "domain/ReactionTotals.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

const QString kLibrary = TempData::material("GLY", "glycerol", "Base", 92.09, 0, 0, 3, 1) +
                         TempData::material("PE", "pentaerythritol", "Base", 136.15, 0, 0, 4, 2) +
                         TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1) +
                         TempData::material("TOFA", "Tall Oil Fatty Acid", "Fatty Acid", 290, 1, 0, 0, 1);

class LinesTest : public ::testing::Test {
protected:
    void open(const QString& lines) {
        data.create(TempData::header("Alkyd", "A1"), lines, kLibrary);
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    void openNumbered(int n, const QString& code = "GLY") {
        QString lines;
        for (int i = 1; i <= n; ++i)
            lines += TempData::line("Alkyd", "A1", i, code, QString("%1, %2, NULL, %3, NULL, NULL, NULL").arg(92.09 * i).arg(i).arg(3 * i));
        open(lines);
    }
    // "item:code" for every line, in order, as the grid shows them.
    std::string listing() {
        RecipeLines& t = dm->lines();
        std::string out;
        for (int i = 0; i < t.rowCount(); ++i)
            out += (out.empty() ? "" : " ") + t.valueAt(i, LineColumn::Item).toString().toStdString() + ":" +
                   t.valueAt(i, LineColumn::Code).toString().toStdString();
        return out;
    }
    std::string stored() {
        return data.query("Recipes.adt", "SELECT ItemNum || ':' || ifnull(RMCode, '') FROM Recipes ORDER BY ItemNum, rowid")
            .replace('\n', ' ')
            .toStdString();
    }
    int focusedItem() { return LineCell(dm->lines(), "ItemNum").asInteger(); }
    void focus(int item) { ASSERT_TRUE(dm->lines().locateItem(item)); }
    void select(const QString& code) {
        const Material* m = dm->library().find(code);
        ASSERT_TRUE(m);
        form.chosen = *m;
    }
    // A command run with the selection list's material.
    using Command = std::function<void(TDMod&, const std::optional<Material>&)>;
    static Command blank(void (TDMod::*op)()) {
        return [op](TDMod& dm, const std::optional<Material>&) { (dm.*op)(); };
    }
    static Command chosen(void (TDMod::*op)(const std::optional<Material>&)) {
        return [op](TDMod& dm, const std::optional<Material>& m) { (dm.*op)(m); };
    }
    std::string refusal(const Command& op) {
        try {
            op(*dm, form.chosen);
        } catch (const StoreError& e) {
            return e.message().toStdString();
        }
        return "";
    }
    void SetUp() override {
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

TEST_F(LinesTest, InsertBlankMovesTheFocusedLineAndTheRestUp) {
    open(TempData::line("Alkyd", "A1", 1, "GLY") + TempData::line("Alkyd", "A1", 2, "PE") +
         TempData::line("Alkyd", "A1", 3, "PA"));
    focus(2);
    dm->InsertBlankLine();
    EXPECT_EQ(listing(), "1:GLY 2: 3:PE 4:PA");
    EXPECT_EQ(stored(), "1:GLY 2: 3:PE 4:PA");
    EXPECT_EQ(focusedItem(), 2);
    EXPECT_TRUE(LineCell(dm->lines(), "RMCode").isNull());
}

TEST_F(LinesTest, InsertIngredientPutsTheSelectedMaterialAtTheFocusedPlace) {
    open(TempData::line("Alkyd", "A1", 1, "GLY") + TempData::line("Alkyd", "A1", 2, "PE"));
    focus(1);
    select("PA");
    dm->InsertIngredient(form.chosen);
    EXPECT_EQ(listing(), "1:PA 2:GLY 3:PE");
    EXPECT_EQ(focusedItem(), 1);
    EXPECT_EQ(dm->lineMaterial()->name, "Phthalic Anhydride");
}

TEST_F(LinesTest, InsertingIntoAnEmptyRecipeGivesLineOne) {
    open({});
    dm->InsertBlankLine();
    EXPECT_EQ(stored(), "1:");
    dm->lines().first();
    select("GLY");
    dm->InsertIngredient(form.chosen);
    EXPECT_EQ(stored(), "1:GLY 2:");
}

TEST_F(LinesTest, DeleteRenumbersAndFocusesTheNeighbour) {
    openNumbered(3);
    focus(3);
    dm->DeleteLine();
    EXPECT_EQ(listing(), "1:GLY 2:GLY");
    EXPECT_EQ(focusedItem(), 2);
    EXPECT_NEAR(form.editor.totals().TotalMoles, 3, 1e-9) << "the totals are recomputed";
    focus(1);
    dm->DeleteLine();
    EXPECT_EQ(stored(), "1:GLY");
    EXPECT_EQ(focusedItem(), 1);
    EXPECT_NEAR(LineCell(dm->lines(), "Moles").asFloat(), 2, 1e-9) << "the old line 2 is now 1";
}

TEST_F(LinesTest, DeleteOnAnEmptyRecipeChangesNothing) {
    open({});
    EXPECT_EQ(refusal(blank(&TDMod::DeleteLine)), "");
    EXPECT_EQ(stored(), "");
    EXPECT_EQ(dm->lines().state(), RecipeLines::State::Browse);
}

TEST_F(LinesTest, AddNumbersFromTheLineCount) {
    open(TempData::line("Alkyd", "A1", 1, "GLY") + TempData::line("Alkyd", "A1", 2, "PE") +
         TempData::line("Alkyd", "A1", 4, "PA"));
    dm->AddBlankLine();
    EXPECT_EQ(stored(), "1:GLY 2:PE 4:PA 4:");
    select("TOFA");
    const double before = form.editor.totals().TotalMass;
    dm->AddIngredient(form.chosen);
    EXPECT_EQ(stored(), "1:GLY 2:PE 4:PA 4: 5:TOFA");
    EXPECT_EQ(dm->lineMaterial()->name, "Tall Oil Fatty Acid");
    EXPECT_TRUE(LineCell(dm->lines(), "Mass").isNull());
    EXPECT_EQ(form.editor.totals().TotalMass, before);
}

TEST_F(LinesTest, NoOperationTakesARecipePastItsLimit) {
    openNumbered(127);
    for (const Command& op : {blank(&TDMod::AddBlankLine), chosen(&TDMod::AddIngredient),
                              blank(&TDMod::InsertBlankLine), chosen(&TDMod::InsertIngredient)})
        EXPECT_EQ(refusal(op), "Range check error");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*), max(ItemNum) FROM Recipes").toStdString(), "127|127");
    focus(127);
    dm->DeleteLine();
    dm->AddBlankLine();
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*), max(ItemNum) FROM Recipes").toStdString(), "127|127");
}

TEST_F(LinesTest, AnItemNumberBeyondEightBitsIsRefused) {
    open(TempData::line("Alkyd", "A1", 200, "GLY"));
    select("PE");
    EXPECT_EQ(refusal(blank(&TDMod::InsertBlankLine)), "Range check error");
    EXPECT_EQ(refusal(chosen(&TDMod::OverwriteIngredient)), "Range check error");
    EXPECT_EQ(stored(), "200:GLY");
}

TEST_F(LinesTest, OverwriteAsksAndKeepsTheMoles) {
    openNumbered(1);
    select("PE");
    form.answer = false;
    dm->OverwriteIngredient(form.chosen);
    ASSERT_EQ(form.questions.size(), 1);
    EXPECT_EQ(form.questions[0], "Replace glycerol\rwith pentaerythritol?");
    EXPECT_EQ(stored(), "1:GLY");

    form.answer = true;
    dm->OverwriteIngredient(form.chosen);
    dm->lines().checkBrowseMode();
    EXPECT_EQ(stored(), "1:PE");
    RecipeLines& t = dm->lines();
    EXPECT_NEAR(LineCell(t, "Moles").asFloat(), 1, 1e-12);
    EXPECT_NEAR(LineCell(t, "Mass").asFloat(), 136.15, 1e-9);
    EXPECT_NEAR(LineCell(t, "Eb").asFloat(), 4, 1e-12);
    EXPECT_NEAR(form.editor.totals().TotalMass, 136.15, 1e-9);
    EXPECT_EQ(LineCell(t, "ItemNum").asInteger(), 1);

    // The same material again, or a blank line: nothing is asked.
    form.questions.clear();
    dm->OverwriteIngredient(form.chosen);
    EXPECT_TRUE(form.questions.isEmpty());
}

TEST_F(LinesTest, OverwriteOfALineWithoutMolesEmptiesItsAmounts) {
    open(TempData::line("Alkyd", "A1", 1, "GLY", "50, NULL, NULL, NULL, 5, 5, 5"));
    select("PA");
    dm->OverwriteIngredient(form.chosen);
    dm->lines().checkBrowseMode();
    RecipeLines& t = dm->lines();
    EXPECT_EQ(LineCell(t, "RMCode").asString(), "PA");
    EXPECT_TRUE(LineCell(t, "Mass").isNull());
    EXPECT_TRUE(LineCell(t, "Ea").isNull());
    EXPECT_TRUE(LineCell(t, "Cost").isNull() || LineCell(t, "Cost").asFloat() == 0);
}

TEST_F(LinesTest, OverwriteOfABlankLineAsksNothing) {
    open(TempData::line("Alkyd", "A1", 1, ""));
    select("TOFA");
    dm->OverwriteIngredient(form.chosen);
    dm->lines().checkBrowseMode();
    EXPECT_TRUE(form.questions.isEmpty());
    EXPECT_EQ(stored(), "1:TOFA");
}

TEST_F(LinesTest, AFailureInTheMiddleLeavesTheRecipeAsItWas) {
    openNumbered(5);
    focus(2);
    int writes = 0;
    db->beforeWrite = [&](const QString&) {
        if (++writes == 3)
            throw StoreError("Cannot write to the table file: disk full.");
    };
    EXPECT_THROW(dm->InsertBlankLine(), StoreError);
    db->beforeWrite = nullptr;
    EXPECT_EQ(stored(), "1:GLY 2:GLY 3:GLY 4:GLY 5:GLY");
    EXPECT_EQ(listing(), "1:GLY 2:GLY 3:GLY 4:GLY 5:GLY");
    EXPECT_FALSE(dm->lines().controlsDisabled());
}

TEST_F(LinesTest, AFilteredListWithoutMaterialsAddsABlankLine) {
    openNumbered(1);
    form.chosen.reset(); // the list shows no Amphoteric material
    dm->AddIngredient(form.chosen);
    EXPECT_EQ(stored(), "1:GLY 2:");
}

} // namespace

namespace {

TEST_F(LinesTest, RenumberingKeepsTheOrderWhenALineMovesInTheIndex) {
    // A line made in the grid carries no number and stands first.
    open(TempData::line("Alkyd", "A1", 1, "GLY") + TempData::line("Alkyd", "A1", 2, "PE") +
         "INSERT INTO Recipes VALUES ('Alkyd', 'A1', NULL, 'PA', NULL, NULL, NULL, NULL, NULL, NULL, NULL);\n");
    EXPECT_EQ(listing(), ":PA 1:GLY 2:PE");
    dm->RenumberLines();
    EXPECT_EQ(listing(), "1:PA 2:GLY 3:PE");
}

TEST_F(LinesTest, NoLineIsAddedWithoutARecipe) {
    data.create({}, {}, kLibrary);
    db = std::make_unique<Database>(data.folder());
    dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    EXPECT_THROW(dm->AddBlankLine(), StoreError);
    EXPECT_THROW(dm->InsertBlankLine(), StoreError);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes").toStdString(), "0");
}

} // namespace

// A line begun in the grid (inserted, or appended by Down or Tab) has no number until it is
// stored; then it takes its place's, and the lines after it move one on, as Blank Insert leaves
// them. Numbers that had gaps or repeats run 1 to n afterwards.
TEST_F(LinesTest, ALineBegunInTheGridIsNumberedAtItsPlaceWhenStored) {
    open(TempData::line("Alkyd", "A1", 1, "GLY") + TempData::line("Alkyd", "A1", 2, "PE") +
         TempData::line("Alkyd", "A1", 4, "PA"));
    RecipeLines& t = dm->lines();
    focus(4);
    t.insert();
    LineCell(t, "RMCode").setString("TOFA");
    t.post();
    EXPECT_EQ(listing(), "1:GLY 2:PE 3:TOFA 4:PA");
    EXPECT_EQ(stored(), "1:GLY 2:PE 3:TOFA 4:PA");
    EXPECT_EQ(focusedItem(), 3) << "the new line stays the focused one";
    t.append();
    LineCell(t, "RMCode").setString("GLY");
    t.post();
    EXPECT_EQ(stored(), "1:GLY 2:PE 3:TOFA 4:PA 5:GLY");
    EXPECT_EQ(focusedItem(), 5);
    // A number written by the program stays as it was written.
    dm->AddBlankLine();
    EXPECT_EQ(stored(), "1:GLY 2:PE 3:TOFA 4:PA 5:GLY 6:");
}

// An item number typed into a line moves the line there; the others close up around it.
TEST_F(LinesTest, ATypedItemNumberMovesTheLine) {
    openNumbered(4);
    RecipeLines& t = dm->lines();
    LineCell code(t, "RMCode");
    focus(3);
    t.edit();
    code.setString("PE");
    t.post();
    t.edit();
    dm->TypeInto(LineColumn::Item, "1");
    EXPECT_EQ(stored(), "1:PE 2:GLY 3:GLY 4:GLY");
    EXPECT_EQ(code.asString(), "PE") << "the moved line is the focused one";
    t.edit();
    dm->TypeInto(LineColumn::Item, "99");
    EXPECT_EQ(stored(), "1:GLY 2:GLY 3:GLY 4:PE") << "past the last place: the end";
    t.edit();
    EXPECT_THROW(dm->TypeInto(LineColumn::Item, "0"), FieldError);
    EXPECT_THROW(dm->TypeInto(LineColumn::Item, "x"), FieldError);
    t.cancel();
    EXPECT_EQ(stored(), "1:GLY 2:GLY 3:GLY 4:PE");
}

// A code typed into a line is the library's: in other letters it is spelled as the library
// spells it, and one no material has is refused with its name, writing nothing.
TEST_F(LinesTest, ATypedCodeIsTheLibrarysOrRefused) {
    open(TempData::line("Alkyd", "A1", 1, "GLY", "92.09, 1, NULL, 3, NULL, NULL, NULL"));
    RecipeLines& t = dm->lines();
    t.edit();
    try {
        dm->TypeInto(LineColumn::Code, "PX");
        ADD_FAILURE() << "an unknown code was taken";
    } catch (const FieldError& e) {
        EXPECT_EQ(e.message(), "There is no material with the code 'PX' in the library.");
    }
    EXPECT_EQ(LineCell(t, "RMCode").asString(), "GLY");
    dm->TypeInto(LineColumn::Code, "pe ");
    EXPECT_EQ(LineCell(t, "RMCode").asString(), "PE");
    EXPECT_EQ(dm->lineMaterial()->name, "pentaerythritol");
    EXPECT_NEAR(LineCell(t, "Mass").asFloat(), 136.15, 1e-9) << "worked out again from the line's moles";
}

// A typed amount that would take its line past what it can hold is refused by the column typed
// in, before anything is written; the line and the totals stay as they were.
TEST_F(LinesTest, AnAmountThatOverflowsItsLineIsRefusedByTheColumnTypedIn) {
    open(TempData::line("Alkyd", "A1", 1, "PE", "136.15, 1, NULL, 4, NULL, NULL, NULL"));
    RecipeLines& t = dm->lines();
    const auto refusedText = [&](const char* field, const QString& text) -> std::string {
        t.edit();
        try {
            LineCell(t, field).setText(text);
        } catch (const FieldError& e) {
            t.cancel();
            return e.message().toStdString();
        }
        t.cancel();
        return "";
    };
    EXPECT_EQ(refusedText("Moles", "1e308"),
              "'1e308' is out of range for field 'Moles': a figure must lie between -1E15 and 1E15");
    EXPECT_EQ(refusedText("Moles", "1e10"),
              "10000000000 is not a valid value for field 'Moles': it would make the line's Mass 1361500000000, and "
              "the allowed range of Mass is 0 to 100000");
    EXPECT_EQ(refusedText("Eb", "4000"),
              "4000 is not a valid value for field 'Eb': it would make the line's Mass 136150, and the allowed range "
              "of Mass is 0 to 100000");
    EXPECT_EQ(refusedText("Mass", "200000"),
              "200000 is not a valid value for field 'Mass'. The allowed range is 0 to 100000");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Moles FROM Recipes").toStdString(), "1.0");
    EXPECT_EQ(refusedText("Moles", "2"), "");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Moles || ' ' || Mass FROM Recipes").toStdString(), "2.0 272.3");
}
