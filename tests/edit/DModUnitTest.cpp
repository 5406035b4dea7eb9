#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "support/StandInForm.h"
#include "components/StoreError.h"
#include "domain/LineColumns.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

class DModTest : public ::testing::Test {
protected:
    void open(const QString& headers, const QString& lines = {}, const QString& lib = {}) {
        data.create(headers, lines, lib);
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    std::string current() {
        return (dm->headers().header().type + "/" + dm->headers().header().code)
            .toStdString();
    }
    std::string list(RecipeBox& box) { return box.items().join(",").toStdString(); }
    // Shows the first material listed with `text` in `column`, as a pick in the library window does.
    bool showMaterial(MaterialRecords::Column column, const QString& text) {
        MaterialEditor& lib = dm->materialEditor();
        for (int r = 0; r < lib.count(); ++r)
            if (lib.list()->index(r, column).data().toString() == text) {
                lib.goTo(r);
                return true;
            }
        return false;
    }
    void threeRecipes() {
        open(TempData::header("Alkyd", "B2") + TempData::header("Alkyd", "A7") +
             TempData::header("Polyester", "P1"));
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

// The report writes a line from its value; the grid from the lines it shows. Both must write every
// figure alike, empty, zero, negative, rounded or beyond the pattern's digits.
TEST_F(DModTest, ALineWritesAsTheLineViewShowsIt) {
    threeRecipes();
    const std::optional<double> values[] = {std::nullopt, 0.0, -1.5, 2.675, 0.00005, 123456.789, 1e15};
    for (int c = 0; c < LineColumnCount; ++c) {
        const LineColumn column = LineColumn(c);
        if (column == LineColumn::Code || column == LineColumn::Name)
            continue;
        for (const std::optional<double>& v : values) {
            ::Line line;
            if (column == LineColumn::Item)
                line.item = v ? std::optional<int>(int(*v)) : std::nullopt;
            std::optional<double>* amounts[] = {&line.mass,   &line.moles,   &line.ea,  &line.eb,
                                                &line.charge, &line.percent, &line.cost};
            if (column >= LineColumn::Mass)
                *amounts[c - int(LineColumn::Mass)] = v;
            EXPECT_EQ(lineCellText(line, nullptr, column), RecipeLines::displayText(line, column))
                << lineColumnFormat(column).field << " " << (v ? *v : -999);
        }
    }
}

TEST_F(DModTest, StartsOnTheFirstRecipeInIndexOrder) {
    threeRecipes();
    EXPECT_EQ(current(), "Alkyd/A7");
    EXPECT_EQ(form.type.text().toStdString(), "Alkyd");
    EXPECT_EQ(form.code.text().toStdString(), "A7");
    EXPECT_EQ(list(form.type), "Alkyd,Polyester");
    EXPECT_EQ(list(form.code), "A7,B2");
}

TEST_F(DModTest, EnteringTheTypeBoxMakesTheFirstRecipeOfTheTypeCurrent) {
    threeRecipes();
    dm->SelectRecipe("Alkyd", "B2");
    EXPECT_EQ(current(), "Alkyd/B2");
    dm->CBResinTypeEnter();
    EXPECT_EQ(current(), "Alkyd/A7");
    EXPECT_EQ(form.code.text().toStdString(), "A7");
}

TEST_F(DModTest, ChoosingATypeFillsItsCodes) {
    threeRecipes();
    form.type.setText("Polyester");
    dm->CBResinTypeChange();
    EXPECT_EQ(current(), "Polyester/P1");
    EXPECT_EQ(list(form.code), "P1");
    EXPECT_EQ(form.code.text().toStdString(), "P1");
}

TEST_F(DModTest, ATypeNoRecipeHasEmptiesTheCodes) {
    threeRecipes();
    form.type.setText("Pol");
    dm->CBResinTypeChange();
    EXPECT_EQ(current(), "Alkyd/A7");
    EXPECT_EQ(list(form.code), "");
    EXPECT_EQ(form.code.text().toStdString(), "");
    EXPECT_EQ(form.type.text().toStdString(), "Pol");
}

TEST_F(DModTest, TypingACodeSelectsOnlyACompleteOne) {
    threeRecipes();
    form.code.setText("B");
    dm->CBResinCodeChange();
    EXPECT_EQ(current(), "Alkyd/A7");
    form.code.setText("B2");
    dm->CBResinCodeChange();
    EXPECT_EQ(current(), "Alkyd/B2");
}

TEST_F(DModTest, TypesDifferingInLetterCaseAreOneEntry) {
    open(TempData::header("alkyd", "A1") + TempData::header("ALKYD", "A2") +
         TempData::header("Alkyd", "A3") + TempData::header("epoxy ester", "E1") +
         TempData::header("Polyester", "P1"));
    // Index order ignores case; the first row in that order gives the spelling.
    EXPECT_EQ(list(form.type), "alkyd,epoxy ester,Polyester");
    EXPECT_EQ(list(form.code), "A1,A2,A3");
    dm->SelectRecipe("ALKYD", "a3");
    EXPECT_EQ(form.type.text().toStdString(), "alkyd");
    EXPECT_EQ(form.code.text().toStdString(), "A3");
    EXPECT_EQ(current(), "Alkyd/A3");
}

TEST_F(DModTest, AQuoteInTheTypeIsFilteredSafely) {
    open(TempData::header("O'Brien", "X1") + TempData::header("Alkyd", "A1"));
    form.type.setText("O'Brien");
    dm->CBResinTypeChange();
    EXPECT_EQ(current(), "O'Brien/X1");
    EXPECT_EQ(list(form.code), "X1");
}

TEST_F(DModTest, NoRecipesAtAllLeavesEverythingEmpty) {
    open({});
    EXPECT_TRUE(dm->headers().isEmpty());
    EXPECT_TRUE(dm->lines().isEmpty());
    EXPECT_EQ(form.type.text().toStdString(), "");
    EXPECT_EQ(list(form.type), "");
    EXPECT_EQ(list(form.code), "");
}

TEST_F(DModTest, APendingHeaderEditIsPostedWhenAnotherRecipeIsChosen) {
    threeRecipes();
    dm->headers().edit();
    dm->headers().setText(HeaderPart::AV, "12.5");
    form.type.setText("Polyester");
    dm->CBResinTypeChange();
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='A7'").toStdString(),
              "12.5");
}

TEST_F(DModTest, ANewHeaderShowsTheDefaults) {
    threeRecipes();
    dm->AddRecipe("Alkyd", "NEW");
    EXPECT_EQ(dm->headerText(HeaderPart::Description, false), "[Enter Recipe Description here]");
    EXPECT_EQ(dm->headerText(HeaderPart::AV, false), "8.0");
    EXPECT_EQ(dm->headerText(HeaderPart::Solids, false), "50.00");
    EXPECT_EQ(dm->headerText(HeaderPart::Size, false), "1000.00");
    // Being edited, a figure the picture shows whole reads as it is shown.
    EXPECT_EQ(dm->headerText(HeaderPart::AV, true), "8.0");
    EXPECT_EQ(dm->headers().header().code, "NEW");
}

TEST_F(DModTest, LinesShowTheirMaterialThroughLookups) {
    open(TempData::header("Alkyd", "A1"),
         TempData::line("Alkyd", "A1", 1, "PA") + TempData::line("Alkyd", "A1", 2, "NOPE") +
             TempData::line("Alkyd", "A1", 0, ""),
         TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 12.5));
    RecipeLines& t = dm->lines();
    t.first(); // item 0: no code at all
    EXPECT_EQ(LineCell(t, "ItemNum").displayText(), "");
    EXPECT_EQ(dm->lineMaterial(), nullptr);
    t.next();
    ASSERT_NE(dm->lineMaterial(), nullptr);
    EXPECT_EQ(dm->lineMaterial()->name, "Phthalic Anhydride");
    EXPECT_EQ(dm->lineMaterial()->type, MaterialType::Acid);
    EXPECT_DOUBLE_EQ(dm->lineMaterial()->mwt, 148.12);
    EXPECT_EQ(dm->lineMaterial()->fan, 1.0);
    EXPECT_EQ(dm->lineMaterial()->price, 12.5);
    EXPECT_EQ(dm->lineMaterialAt(1), dm->lineMaterial());
    t.next(); // a code the library does not have
    EXPECT_EQ(dm->lineMaterial(), nullptr);
    EXPECT_EQ(dm->lineMaterialAt(2), nullptr);
    MaterialEditor& lib = dm->materialEditor();
    lib.goTo(0);
    EXPECT_EQ(lib.text(MaterialPart::Price, false), "12.50");
    EXPECT_EQ(lib.text(MaterialPart::MWt, false), "148.1");
}

TEST_F(DModTest, LookupsFollowTheCodeAsItIsTyped) {
    open(TempData::header("Alkyd", "A1"), TempData::line("Alkyd", "A1", 1, "PA"),
         TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0) +
             TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3));
    RecipeLines& t = dm->lines();
    QString nameSeen;
    const auto handler = t.changed;
    t.changed = [&](LineColumn column) {
        if (column == LineColumn::Code)
            nameSeen = dm->lineMaterial()->name;
    };
    t.edit();
    LineCell(t, "RMCode").setString("GLY");
    EXPECT_EQ(nameSeen, "Glycerol");
    EXPECT_DOUBLE_EQ(dm->lineMaterial()->fb, 3);
    // Choosing a name writes the material's code; a name no material has leaves none.
    dm->TypeInto(LineColumn::Name, "Phthalic Anhydride");
    EXPECT_EQ(LineCell(t, "RMCode").asString(), "PA");
    t.changed = handler;
    dm->TypeInto(LineColumn::Name, "Nothing");
    EXPECT_EQ(LineCell(t, "RMCode").asString(), "");
}

TEST_F(DModTest, LibrarySavedFollowsTheLibraryViewsState) {
    open({}, {}, TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0));
    EXPECT_TRUE(dm->libSaved());
    dm->materialEditor().edit();
    EXPECT_FALSE(dm->libSaved());
    dm->materialEditor().cancel();
    EXPECT_TRUE(dm->libSaved());
}

TEST_F(DModTest, AMissingTableStopsTheDataModule) {
    data.create();
    QFile::remove(data.file("BatchInfo.ADT"));
    db = std::make_unique<Database>(data.folder());
    EXPECT_THROW(TDMod(*db, form.type, form.code, form, form.editor), StoreError);
}

} // namespace

// Lines name their material by code alone: a code another material has, in any letters, is
// refused as the library stores a material, naming it. A library stored before that, holding a
// code twice, still serves the lines from the other material when one of the two is deleted.
TEST_F(DModTest, ACodeAnotherMaterialHasIsRefusedByTheStore) {
    open(TempData::header("Alkyd", "A1"), TempData::line("Alkyd", "A1", 1, "SOY"),
         TempData::material("SOY", "Soya Oil", "Oil", 874, 0, 0, 0) +
             TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3));
    MaterialEditor& lib = dm->materialEditor();
    lib.append();
    lib.setText(MaterialPart::Name, "Soya Oil, refined");
    try {
        lib.setText(MaterialPart::Code, "soy");
        ADD_FAILURE() << "a repeated code was written";
    } catch (const FieldError& e) {
        EXPECT_EQ(e.message(), "There is already a material with the code 'SOY' in the library: Soya Oil.");
    }
    EXPECT_THROW(lib.setText(MaterialPart::Code, " SOY "), FieldError) << "blanks make no other code";
    lib.setText(MaterialPart::Code, "SOYR");
    lib.post();
    // Renaming a material's own code in other letters is no clash with itself.
    ASSERT_TRUE(showMaterial(MaterialRecords::Code, "GLY"));
    lib.edit();
    lib.setText(MaterialPart::Code, "Gly");
    lib.post();
    EXPECT_EQ(data.query("RMLib.ADT", "SELECT group_concat(RMCode, ' ') FROM (SELECT RMCode FROM RMLib ORDER BY rowid)"),
              "SOY Gly SOYR");
    EXPECT_EQ(dm->UseOfMaterial("SOY").lines, 1);
}

TEST_F(DModTest, DeletingOneOfTwoMaterialsOfACodeTakesNothingFromTheLines) {
    open(TempData::header("Alkyd", "A1"),
         TempData::line("Alkyd", "A1", 1, "SOYOIL") + TempData::line("Alkyd", "A1", 2, "SOYOIL"),
         TempData::material("SOYOIL", "Soya Bean Oil", "Oil", 874, 0, 0, 0) +
             TempData::material("SOYOIL", "Soya Oil (second)", "Oil", 874, 0, 0, 0));
    ASSERT_TRUE(showMaterial(MaterialRecords::Name, "Soya Oil (second)"));
    EXPECT_EQ(dm->UseOfMaterial("SOYOIL").lines, 0) << "the other SOYOIL still serves them";
    dm->materialEditor().remove();
    ASSERT_TRUE(showMaterial(MaterialRecords::Code, "SOYOIL"));
    EXPECT_EQ(dm->UseOfMaterial("SOYOIL").lines, 2) << "the last of them is in use";
}
