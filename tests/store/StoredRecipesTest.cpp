// Recipes read from the files as values: the same value the window's views make of a shown
// recipe, two recipes side by side, and nothing that is only pending.
#include "edit/DModUnit.h"
#include "domain/ReactionTotals.h"
#include "domain/Totals.h"
#include "components/StoreError.h"
#include "store/StoredRecipes.h"
#include "store/Tables.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

// Every part of a recipe, numbers to the last bit, "-" for an empty amount.
std::string described(const Recipe& r) {
    const auto n = [](const std::optional<double>& v) {
        return v ? QString::number(*v, 'g', 17).toStdString() : std::string("-");
    };
    std::string out = (r.header.type + "/" + r.header.code + "/" + r.header.description).toStdString() + " " +
                      n(r.header.av) + " " + n(r.header.solids) + " " + n(r.header.size) + "\n";
    for (const Line& l : r.lines)
        out += (l.item ? std::to_string(*l.item) : std::string("-")) + ":" + l.code.toStdString() + " " + n(l.mass) +
               " " + n(l.moles) + " " + n(l.ea) + " " + n(l.eb) + " " + n(l.charge) + " " + n(l.percent) + " " +
               n(l.cost) + "\n";
    return out;
}

// The totals pass's sums, to the last bit.
std::string sums(const TReactionTotals& t) {
    std::string out;
    for (double v : {t.TotalMass, t.TotalMoles, t.TotalEa, t.MonoEa, t.TotalEb, t.WaterMass, t.BranchEq, t.TotalCost,
                     t.OilMass, t.FattyAcidMass, t.TargetAV})
        out += QString::number(v, 'g', 17).toStdString() + " ";
    return out;
}

class StoredRecipesTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Alkyd", "A1", 8, 60, 1000, "Long oil") + TempData::header("Polyester", "G1", 20),
                    // Stored out of order, one line without a number, two lines of one number.
                    TempData::line("Alkyd", "A1", 2, "GLY", "92.09, 1, NULL, 3, NULL, NULL, NULL") +
                        TempData::line("Alkyd", "A1", 1, "SOY", "872.5, 1, 3, 3, NULL, NULL, NULL") +
                        "INSERT INTO Recipes VALUES ('Alkyd', 'A1', NULL, 'PA', NULL, NULL, NULL, NULL, NULL, NULL, NULL);\n" +
                        TempData::line("Alkyd", "A1", 2, "PA", "148.12, 1, 2, NULL, NULL, NULL, NULL") +
                        TempData::line("Polyester", "G1", 1, "DIACID", "360, 2, 4, NULL, NULL, NULL, NULL") +
                        TempData::line("Polyester", "G1", 2, "TRIOL", "124.3215, 1.35, NULL, 4.05, NULL, NULL, NULL"),
                    TempData::material("SOY", "Soya Oil", "Oil", 872.5, 0, 0, 0, 1.6) +
                        TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
                        TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
                        TempData::material("DIACID", "Diacid", "Acid", 180, 2, 0, 0, 2) +
                        TempData::material("TRIOL", "Triol", "Base", 92.09, 0, 0, 3, 1));
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
    }
    void show(const QString& type, const QString& code) {
        dm->SelectRecipe(type, code);
        dm->CalcTotals();
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
};

TEST_F(StoredRecipesTest, ARecipeLoadedIsTheRecipeTheWindowShows) {
    StoredRecipes store(*db);
    for (const auto& [type, code] : {std::pair{"Alkyd", "A1"}, std::pair{"Polyester", "G1"}}) {
        show(type, code);
        const std::optional<Recipe> loaded = store.load(type, code);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(described(*loaded), described(dm->currentRecipe())) << type;
    }
    ASSERT_TRUE(store.load("alkyd", "a1")) << "matched as the keys match, without letter case";
    EXPECT_EQ(store.load("alkyd", "a1")->header.code, "A1") << "and given as stored";
    EXPECT_FALSE(store.load("Alkyd", "A2"));
    EXPECT_FALSE(store.load("", ""));
}

// Both recipes totalled at once, each as the window totals it when it is shown.
TEST_F(StoredRecipesTest, TwoRecipesAreTotalledSideBySide) {
    StoredRecipes store(*db);
    const std::optional<Recipe> alkyd = store.load("Alkyd", "A1"), polyester = store.load("Polyester", "G1");
    ASSERT_TRUE(alkyd && polyester);
    const TReactionTotals a = totalsOf(*alkyd, dm->library()), p = totalsOf(*polyester, dm->library());
    show("Alkyd", "A1");
    EXPECT_EQ(sums(a), sums(form.editor.totals()));
    show("Polyester", "G1");
    EXPECT_EQ(sums(p), sums(form.editor.totals()));
    EXPECT_NE(sums(a), sums(p));
    EXPECT_GT(a.OilMass, 0) << "the soya oil counts as oil";
}

TEST_F(StoredRecipesTest, WhatIsPendingIsNotStored) {
    show("Alkyd", "A1");
    StoredRecipes store(*db);
    const std::string before = described(*store.load("Alkyd", "A1"));
    // A header typed and not yet saved.
    dm->headers().edit();
    dm->headers().setText(HeaderPart::Description, "Changed");
    EXPECT_EQ(described(*store.load("Alkyd", "A1")), before);
    EXPECT_EQ(dm->currentRecipe().header.description, "Changed");
    dm->headers().cancel();
}

TEST_F(StoredRecipesTest, ASavedRecipeLoadsAsItWasSavedAndReplacesTheOneOfItsName) {
    StoredRecipes store(*db);
    Recipe r = *store.load("Alkyd", "A1");
    r.header.type = "Polyester";
    r.header.code = "G1";
    r.header.date = "2026-12-10T08:00:00";
    r.lines[1].mass.reset();
    db->run([&] { store.save(r); });
    // One recipe of that name, whatever the letters it was stored under.
    EXPECT_EQ(described(*store.load("POLYESTER", "g1")), described(r));
    EXPECT_EQ(store.load("Polyester", "G1")->header.date, "2026-12-10T08:00:00");
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo WHERE BatchCode = 'G1'"), "1");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode = 'G1'"), "4");
    EXPECT_EQ(described(*store.load("Alkyd", "A1")).substr(0, 5), "Alkyd") << "the source stays";
}

TEST_F(StoredRecipesTest, RemovingAndRenamingTakeTheLinesWithTheHeader) {
    StoredRecipes store(*db);
    const std::string a1 = described(*store.load("Alkyd", "A1"));
    db->run([&] { store.rename("alkyd", "a1", "Alkyd", "A2"); });
    EXPECT_FALSE(store.load("Alkyd", "A1"));
    std::string a2 = a1;
    a2.replace(a2.find("A1"), 2, "A2");
    EXPECT_EQ(described(*store.load("Alkyd", "A2")), a2);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode = 'A1'"), "0");

    db->run([&] { store.remove("ALKYD", "a2"); });
    EXPECT_FALSE(store.load("Alkyd", "A2"));
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchType = 'Alkyd'"), "0");
    EXPECT_TRUE(store.load("Polyester", "G1")) << "another recipe stays";
    EXPECT_NO_THROW(db->run([&] { store.remove("Alkyd", "A2"); })) << "nothing to remove";
}

// Headers differing only in letter case, which older files may hold, are one recipe: none is left
// behind without its lines, nor found again in place of what was saved.
TEST_F(StoredRecipesTest, TwoHeadersOfOneNameAreOneRecipe) {
    StoredRecipes store(*db);
    const auto headers = [&](const char* code) {
        return data.query("BatchInfo.ADT", QString("SELECT count(*) FROM BatchInfo WHERE BatchCode = '%1' COLLATE NOCASE").arg(code));
    };
    const auto twin = [&] {
        db->run([&] {
            db->table(Tables::batchInfo()).insert(RowValues::fromList({"ALKYD", "a1", "Twin", 1.0, 2.0, 3.0, QVariant()}));
        });
    };
    twin();
    Recipe r = *store.load("Alkyd", "A1");
    r.header.description = "Saved";
    db->run([&] { store.save(r); });
    EXPECT_EQ(headers("A1"), "1");
    EXPECT_EQ(store.load("Alkyd", "A1")->header.description, "Saved");

    twin();
    db->run([&] { store.rename("Alkyd", "A1", "Alkyd", "A2"); });
    EXPECT_EQ(headers("A1"), "0");
    EXPECT_EQ(headers("A2"), "2");
    db->run([&] { store.remove("Alkyd", "A2"); });
    EXPECT_EQ(headers("A2"), "0");
}

TEST_F(StoredRecipesTest, ANameTooLongIsRefusedAndNothingIsWritten) {
    StoredRecipes store(*db);
    Recipe r = *store.load("Alkyd", "A1");
    const QString before = data.query("Recipes.adt", "SELECT * FROM Recipes") +
                           data.query("BatchInfo.ADT", "SELECT * FROM BatchInfo");
    r.header.code = "A1-and-more-1234";
    try {
        db->run([&] { store.save(r); });
        FAIL() << "a 16-character code was stored";
    } catch (const FieldError& e) {
        EXPECT_EQ(e.message(), "'A1-and-more-1234' is too long for field 'BatchCode': it holds at most 15 characters");
    }
    EXPECT_THROW(db->run([&] { store.rename("Alkyd", "A1", "Alkyd", "A1-and-more-1234"); }), FieldError);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT * FROM Recipes") + data.query("BatchInfo.ADT", "SELECT * FROM BatchInfo"),
              before);
}

} // namespace

// What uses a material, and its lines worked out again: a line names its material in the
// letters stored, only the amounts that changed are written, and a refused write leaves every
// line as it was.
TEST_F(StoredRecipesTest, AMaterialsLinesAreCountedAndReworkedByTheirCodeAsStored) {
    StoredRecipes store(*db);
    db->run([&] {
        Recipe r = *store.load("Polyester", "G1");
        r.lines.push_back({3, "pa", 10.0, 0.1, 0.2, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
        store.save(r);
    });
    EXPECT_EQ(store.useOf("PA").lines, 2);
    EXPECT_EQ(store.useOf("PA").recipes, 1);
    EXPECT_EQ(store.useOf("pa").lines, 1);
    EXPECT_EQ(store.useOf("TRIOL").recipes, 1);
    EXPECT_EQ(store.useOf("NONE").lines, 0);

    const auto lines = [&] {
        return data.query("Recipes.adt", "SELECT group_concat(BatchCode || ':' || RMCode || ':' || ifnull(Mass, '-') || ':' || "
                                         "ifnull(Moles, '-') || ':' || ifnull(Ea, '-'), ' ') FROM "
                                         "(SELECT * FROM Recipes WHERE RMCode = 'PA' COLLATE NOCASE ORDER BY rowid)");
    };
    const QString before = lines();
    db->beforeWrite = [](const QString&) { throw StoreError(QStringLiteral("refused")); };
    EXPECT_THROW(db->run([&] { store.reworkLines({"PA"}, [](::Line& l) { l.moles = 9.0; }); }), StoreError);
    db->beforeWrite = nullptr;
    EXPECT_EQ(lines(), before);
    db->run([&] { store.reworkLines({"PA"}, [](::Line& l) { l.moles = 9.0; }); });
    EXPECT_EQ(lines(), "A1:PA:-:9.0:- A1:PA:148.12:9.0:2.0 G1:pa:10.0:0.1:0.2");
}
