// The history file: a version for every stored action on a recipe or a material, in the action's
// own transaction; typing in one line within a minute as one version; a recipe's history through
// its rename, deletion and return; and a history file that cannot be used leaving editing alone.
#include "edit/DModUnit.h"
#include "edit/History.h"
#include "store/HistoryFile.h"
#include "store/StoredRecipes.h"
#include "store/VersionCoding.h"
#include "domain/Figures.h"
#include "domain/Totals.h"
#include "support/LineCell.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class RecipeHistory : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Alkyd", "A7", 9, 55, 1200, "Base resin") + TempData::header("Alkyd", "B2"),
                    TempData::line("Alkyd", "A7", 1, "GLY", "92.09, 1, NULL, 3, 0, 10, 1") +
                        TempData::line("Alkyd", "A7", 2, "PA", "148.12, 1, 2, NULL, 50, 20, 2") +
                        TempData::line("Alkyd", "B2", 1, "PA"),
                    TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3) +
                        TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0));
    }
    void open() {
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
        form.watch(*dm);
        dm->versions().clock = [this] { return clock; };
        QObject::connect(&dm->versions(), &HistoryRecorder::problem, [this](const QString& m) { problems << m; });
    }
    void TearDown() override { dm.reset(); }

    HistoryFile& history() { return dm->versions().file(); }
    std::optional<HistoryFile::Lineage> lineageOf(const QString& type, const QString& code) {
        qint64 row = 0;
        if (!StoredRecipes(*db).loadKeyed(type, code, &row))
            return std::nullopt;
        return history().lineageOfRow(HistoryFile::Subject::Recipe, row);
    }
    // "action" of each version, the newest first.
    std::string actionsOf(qint64 lineage) {
        std::string out;
        for (const HistoryFile::Version& v : dm->versions().versions(lineage))
            out += (out.empty() ? "" : " | ") + v.action.toStdString();
        return out;
    }
    double massAt(qint64 version, int line) { return value(dm->versions().recipeAt(version)->lines[size_t(line)].mass); }
    void typeMass(int line, const QString& text) {
        db->run([&] {
            dm->lines().goTo(line);
            dm->lines().edit();
            LineCell(dm->lines(), "Mass").setText(text);
            dm->lines().checkBrowseMode();
        });
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
    QDateTime clock{QDate(2026, 12, 11), QTime(9, 0)};
    QStringList problems;
};

TEST_F(RecipeHistory, EveryActionKindOnARecipeIsAVersionWithItsNameAndTheRecipe) {
    open();
    ASSERT_TRUE(history().isOn()) << history().problem().toStdString();
    EXPECT_TRUE(QFile::exists(data.file("History.adt"))) << "made when missing";
    typeMass(0, "100");
    const auto a7 = lineageOf("Alkyd", "A7");
    ASSERT_TRUE(a7);
    auto versions = dm->versions().versions(a7->id);
    ASSERT_EQ(versions.size(), 2u);
    // A recipe from before the history: its first version is what it was.
    EXPECT_EQ(versions[1].action, "Original");
    EXPECT_EQ(massAt(versions[1].id, 0), 92.09);
    EXPECT_EQ(massAt(versions[1].id, 1), 148.12);
    EXPECT_EQ(value(dm->versions().recipeAt(versions[1].id)->header.av), 9);
    EXPECT_EQ(versions[0].action, "typing in Mass");
    EXPECT_EQ(versions[0].stamp, "2026-12-11T09:00:00");
    EXPECT_EQ(versions[0].login, HistoryRecorder::login());
    EXPECT_EQ(massAt(versions[0].id, 0), 100);
    EXPECT_EQ(massAt(versions[0].id, 1), 148.12);

    db->run([&] { dm->DeleteLine(); });
    clock = clock.addSecs(5);
    db->run([&] {
        dm->headers().edit();
        dm->headers().setText(HeaderPart::Size, "1500");
        dm->SaveRecipe();
    });
    db->run([&] { dm->RenameRecipe("Alkyd", "A8"); });
    versions = dm->versions().versions(a7->id);
    ASSERT_EQ(versions.size(), 5u) << actionsOf(a7->id);
    EXPECT_EQ(versions[4].action, "Original");
    EXPECT_EQ(versions[3].action, "typing in Mass");
    EXPECT_EQ(versions[2].action, "Delete Line");
    EXPECT_EQ(dm->versions().recipeAt(versions[2].id)->lines.size(), 1u);
    EXPECT_EQ(value(dm->versions().recipeAt(versions[1].id)->header.size), 1500);
    EXPECT_EQ(versions[0].action, "Rename");
    EXPECT_EQ(versions[0].name, "Alkyd/A8");
    EXPECT_EQ(lineageOf("Alkyd", "A8")->id, a7->id) << "a renamed recipe keeps its history";

    // Deleted, the recipe's history stays with its last version; undone, it is the recipe's again.
    History undo(*dm);
    db->run([&] { dm->DeleteRecipe("Alkyd", "A8"); });
    const std::vector<HistoryFile::Lineage> deleted = history().deletedRecipes();
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].id, a7->id);
    EXPECT_EQ(deleted[0].name, "Alkyd/A8");
    EXPECT_EQ(history().latest(a7->id)->action, "Delete Recipe");
    EXPECT_EQ(dm->versions().recipeAt(history().latest(a7->id)->id)->lines.size(), 1u);
    ASSERT_TRUE(undo.undo().done);
    EXPECT_TRUE(history().deletedRecipes().empty());
    EXPECT_EQ(lineageOf("Alkyd", "A8")->id, a7->id);
    EXPECT_EQ(history().latest(a7->id)->action, "Undo");

    // The library's stored edits, per material.
    db->run([&] {
        StoredMaterial pa = dm->materials().inListOrder()[1];
        pa.price = 2.5;
        dm->materials().store(pa);
    });
    EXPECT_EQ(data.query("History.adt", "SELECT l.Name || ':' || count(*) FROM Versions v JOIN Lineages l USING "
                                        "(Lineage) WHERE l.Subject = 'Material' GROUP BY l.Lineage"),
              "PA:1");
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(RecipeHistory, TypingInOneLineWithinAMinuteIsOneVersion) {
    open();
    typeMass(0, "100");
    clock = clock.addSecs(20);
    typeMass(0, "110");
    clock = clock.addSecs(30);
    typeMass(0, "120");
    const qint64 a7 = lineageOf("Alkyd", "A7")->id;
    auto versions = dm->versions().versions(a7);
    ASSERT_EQ(versions.size(), 2u) << "the original, and the typing";
    EXPECT_EQ(massAt(versions[0].id, 0), 120);
    EXPECT_EQ(versions[0].stamp, "2026-12-11T09:00:50");
    EXPECT_TRUE(versions[0].open) << "typing on writes nothing to the history";

    // The session ends in the middle of the burst (a kill would do the same): the next one
    // writes the version as the tables hold it.
    dm.reset();
    db.reset();
    open();
    versions = dm->versions().versions(a7);
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_FALSE(versions[0].open);
    EXPECT_EQ(value(history().recipeAt(versions[0].id)->lines[0].mass), 120) << "read from the file";

    typeMass(1, "150"); // another line
    clock = clock.addSecs(90);
    typeMass(1, "160"); // past the minute
    versions = dm->versions().versions(a7);
    ASSERT_EQ(versions.size(), 4u);
    EXPECT_EQ(massAt(versions[0].id, 1), 160);
    EXPECT_EQ(massAt(versions[1].id, 1), 150);
    EXPECT_EQ(massAt(versions[1].id, 0), 120) << "a version that differs from the one before reads back whole";

    // Read in one pass, each version is the recipe it was, and its figures are those the window
    // showed for it.
    const auto all = dm->versions().recipesOf(a7);
    ASSERT_EQ(all.size(), 4u);
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].first.id, versions[i].id);
        EXPECT_TRUE(VersionCoding::sameKept(all[i].second, *dm->versions().recipeAt(versions[i].id))) << i;
    }
    const TReactionTotals shown = dm->editor().totals();
    const TReactionTotals kept = figuresOf(all[0].second, dm->materials());
    for (const char* figure : {"KValue", "OilLength", "ExcessOH", "AVAtGel", "CostPerMass"}) {
        for (const Figure& f : figures()) {
            if (QLatin1String(f.name) == QLatin1String(figure)) {
                EXPECT_EQ(f.value(kept), f.value(shown)) << figure;
            }
        }
    }
}

TEST_F(RecipeHistory, ADamagedHistoryFileLeavesEditingWorkingAndSaysSoOnce) {
    {
        QFile f(data.file("History.adt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    open();
    EXPECT_FALSE(history().isOn());
    EXPECT_TRUE(history().problem().contains("History.adt")) << history().problem().toStdString();
    typeMass(0, "100");
    typeMass(1, "200");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT group_concat(Mass) FROM (SELECT Mass FROM Recipes WHERE BatchCode = "
                                        "'A7' ORDER BY ItemNum)"),
              "100.0,200.0");
    QFile f(data.file("History.adt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(8192, 'x')) << "a damaged history is left for rescue";
}

} // namespace

namespace {

TEST_F(RecipeHistory, ARestoredVersionIsOneActionRecordedAndTakenBackWholeAndNeedsItsMaterials) {
    open();
    History undo(*dm);
    typeMass(0, "100");
    clock = clock.addSecs(120);
    typeMass(1, "160");
    const std::optional<HistoryFile::Lineage> a7 = lineageOf("Alkyd", "A7");
    ASSERT_TRUE(a7);
    std::vector<HistoryFile::Version> versions = dm->versions().versions(a7->id);
    ASSERT_EQ(versions.size(), 3u) << actionsOf(a7->id);
    const Recipe older = *dm->versions().recipeAt(versions[1].id);

    // Restored over the recipe, under the name it has now, even from a version of another name.
    Recipe renamed = older;
    renamed.header.code = "OLD";
    clock = clock.addSecs(120);
    ASSERT_TRUE(db->perform([&] { dm->RestoreVersion(renamed); }).done);
    EXPECT_EQ(dm->headers().header().code, "A7");
    EXPECT_EQ(value(dm->currentRecipe().lines[1].mass), 148.12);
    EXPECT_EQ(value(dm->currentRecipe().lines[0].mass), 100);
    EXPECT_FALSE(StoredRecipes(*db).load("Alkyd", "OLD"));
    EXPECT_EQ(actionsOf(a7->id), "Restore Version | typing in Mass | typing in Mass | Original");
    EXPECT_EQ(undo.stack().undoText(), "Restore Version");

    // Undone whole: the recipe as typed last, and the undo is itself a version.
    ASSERT_TRUE(undo.undo().done);
    EXPECT_EQ(value(StoredRecipes(*db).load("Alkyd", "A7")->lines[1].mass), 160);
    EXPECT_EQ(actionsOf(a7->id), "Undo | Restore Version | typing in Mass | typing in Mass | Original");

    // A version of a material the library lacks is refused, naming it; nothing changes.
    Recipe foreign = older;
    foreign.lines[1].code = "TMP";
    const ActionOutcome refused = db->perform([&] { dm->RestoreVersion(foreign); });
    EXPECT_FALSE(refused.done);
    EXPECT_TRUE(refused.error.contains("no material TMP")) << refused.error.toStdString();
    EXPECT_EQ(value(StoredRecipes(*db).load("Alkyd", "A7")->lines[1].mass), 160);
    EXPECT_EQ(dm->versions().versions(a7->id).size(), 5u);
    EXPECT_TRUE(problems.isEmpty());
}

} // namespace
