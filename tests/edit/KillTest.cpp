// A copy of the program doing a chemist's work (typing masses, inserting and deleting lines,
// header edits, new, copied, renamed and deleted recipes) is killed at random moments. Each time
// the tables must open again, sound, with every action whole: no line with a new mass and an old
// batch charge, no lines without their header, item numbers 1 to n, and no journal left over.
#include "edit/DModUnit.h"
#include "store/HistoryFile.h"
#include "store/StoredRecipes.h"
#include "store/VersionCoding.h"
#include "support/LineCell.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <QDir>
#include <QRandomGenerator>
#include "support/KilledChild.h"

#include <gtest/gtest.h>
#include <map>

namespace {

const QString kLibrary = TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
                         TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
                         TempData::material("SOY", "Soya Oil", "Oil", 872.5, 0, 0, 0, 1.6) +
                         TempData::material("TOFA", "Tall Oil Fatty Acid", "Fatty Acid", 290, 1, 0, 0, 1.4);

QString recipeLines(const QString& type, const QString& code) {
    return TempData::line(type, code, 1, "SOY", "600, 0.6876790830945558, 2.0630372492836675, 2.0630372492836675, NULL, NULL, NULL") +
           TempData::line(type, code, 2, "GLY", "120, 1.3030730806819416, NULL, 3.909219242045825, NULL, NULL, NULL") +
           TempData::line(type, code, 3, "PA", "280, 1.8903591682419658, 3.7807183364839316, NULL, NULL, NULL, NULL");
}

// One action of the chemist's, chosen by `pick`.
void act(TDMod& dm, StandInForm& form, quint32 pick, int step) {
    Database& db = dm.database();
    const int lines = dm.lines().recordCount();
    switch (pick % 9) {
    case 0:
    case 1:
    case 2: // the commonest: a typed mass
        db.run([&] {
            if (lines == 0) {
                dm.AddIngredient(form.chosen);
            } else {
                dm.lines().goTo(int(pick / 9 % quint32(lines)));
                dm.lines().edit();
                LineCell(dm.lines(), "Mass").setText(QString::number(50 + pick % 400));
            }
        });
        break;
    case 3:
        db.run([&] {
            dm.headers().edit();
            dm.headers().setText(HeaderPart::Size, QString::number(500 + pick % 2000));
            dm.SaveRecipe();
        });
        break;
    case 4:
        if (lines < 12)
            db.run([&] {
                form.chosen = dm.materials().at(int(pick % 4));
                dm.InsertIngredient(form.chosen);
            });
        break;
    case 5:
        if (lines > 1)
            db.run([&] { dm.DeleteLine(); });
        break;
    case 6:
        db.run([&] {
            const QString code = QStringLiteral("N%1").arg(step);
            dm.AddRecipe("Alkyd", code);
            dm.ShowResultingRecipe("Alkyd", code);
        });
        break;
    case 7:
        db.run([&] {
            const RecipeName source = dm.headers().name();
            const QString code = QStringLiteral("C%1").arg(step);
            if (pick % 2)
                dm.CopyRecipe(source, "Alkyd", code);
            else
                dm.RenameRecipe("Alkyd", code);
            dm.ShowResultingRecipe("Alkyd", code);
        });
        break;
    default:
        if (dm.headers().list().count() > 3)
            db.run([&] {
                dm.DeleteRecipe(dm.headers().name().type, dm.headers().name().code);
            });
        break;
    }
}

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({"*-journal", "*-mj*", "*-wal"}, QDir::Files | QDir::Hidden);
}

TEST(KilledWhileWorking, EveryActionIsStoredWholeOrNotAtAll) {
    TempData data;
    data.create(TempData::header("Alkyd", "A1") + TempData::header("Alkyd", "B1") +
                    TempData::header("Polyester", "P1"),
                recipeLines("Alkyd", "A1") + recipeLines("Alkyd", "B1") + recipeLines("Polyester", "P1"),
                kLibrary);
    // Every recipe scaled once, so that the tables start consistent.
    {
        Database db(data.folder());
        StandInForm form;
        TDMod dm(db, form.type, form.code, form, form.editor);
        for (const auto& [type, code] : {std::pair{"Alkyd", "A1"}, {"Alkyd", "B1"}, {"Polyester", "P1"}})
            db.run([&] { dm.headers().locate(type, code); });
    }

    QRandomGenerator random(20261209);
    int actions = 0;
    qsizetype hotJournals = 0; // kills that fell inside a commit
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const quint32 seed = random.generate();
        const int target = 3 + int(seed % 8);
        const auto outcome = KilledChild::run(
            [&](const KilledChild::Report& report) {
                Database db(data.folder());
                StandInForm form;
                TDMod dm(db, form.type, form.code, form, form.editor);
                QRandomGenerator picks(seed);
                for (int step = 0;; ++step) {
                    act(dm, form, picks.generate(), round * 100000 + step);
                    if (!report(step))
                        return;
                }
            },
            target, seed % 3000); // somewhere in the middle of an action
        ASSERT_TRUE(outcome.killed) << "the child ended by itself";
        const int step = outcome.last;
        ASSERT_GE(step, target);
        actions += step;

        hotJournals += leftovers(data.folder()).size();
        // What each recipe's lines hold, read before the program opens the tables and scales
        // the first recipe again.
        auto batch = [&](const QString& type, const QString& code) {
            return data.query("Recipes.adt",
                              QString("SELECT group_concat(ItemNum || ':' || quote(Mass) || quote(Charge) || "
                                      "quote(Percent) || quote(Cost), ' ') FROM (SELECT * FROM Recipes WHERE "
                                      "BatchType = '%1' AND BatchCode = '%2' ORDER BY ItemNum)")
                                  .arg(type, code));
        };
        std::map<QString, QString> stored;
        for (const QString& name : data.query("BatchInfo.ADT", "SELECT BatchType || '/' || BatchCode FROM BatchInfo").split('\n'))
            if (!name.isEmpty())
                stored[name] = batch(name.section('/', 0, 0), name.section('/', 1));

        // The tables open again, and what an interrupted commit left is dealt with.
        Database db(data.folder());
        StandInForm form;
        TDMod dm(db, form.type, form.code, form, form.editor);
        db.tidyJournals();
        EXPECT_TRUE(leftovers(data.folder()).isEmpty()) << leftovers(data.folder()).join(", ").toStdString();
        for (const char* file : {"BatchInfo.ADT", "Recipes.adt", "RMLib.ADT"})
            EXPECT_EQ(data.query(file, "PRAGMA quick_check").toStdString(), "ok") << file;
        for (const QString& owner :
             data.query("Recipes.adt", "SELECT DISTINCT BatchType || '/' || BatchCode FROM Recipes").split('\n'))
            EXPECT_TRUE(owner.isEmpty() || stored.count(owner)) << owner.toStdString() << ": lines without their header";

        // Every recipe: numbered 1 to n, and its batch columns what its masses make of them. A
        // batch pass over stored, consistent lines writes nothing.
        for (int i = 0; i < dm.headers().list().count(); ++i) {
            const QString type = dm.headers().list().nameAt(i).type;
            const QString code = dm.headers().list().nameAt(i).code;
            const QString lines = data.query(
                "Recipes.adt", QString("SELECT group_concat(ItemNum) FROM (SELECT ItemNum FROM Recipes WHERE "
                                       "BatchType = '%1' AND BatchCode = '%2' ORDER BY ItemNum)")
                                   .arg(type, code));
            QStringList expected;
            for (int n = 1; n <= lines.count(',') + (lines.isEmpty() ? 0 : 1); ++n)
                expected << QString::number(n);
            EXPECT_EQ(lines.toStdString(), expected.join(',').toStdString()) << type.toStdString() << "/" << code.toStdString();
            db.run([&] { dm.headers().locate(type, code); });
            EXPECT_EQ(batch(type, code).toStdString(), stored[type + '/' + code].toStdString())
                << type.toStdString() << "/" << code.toStdString() << ": new masses with old batch charges";
            // The history agrees with the tables: the last version of a recipe that has one is
            // the recipe as stored, never a change without its version nor the reverse.
            HistoryFile& history = dm.versions().file();
            ASSERT_TRUE(history.isOn()) << history.problem().toStdString();
            qint64 row = 0;
            const std::optional<Recipe> now = StoredRecipes(db).loadKeyed(type, code, &row);
            ASSERT_TRUE(now);
            if (const auto lineage = history.lineageOfRow(HistoryFile::Subject::Recipe, row)) {
                const auto latest = history.latest(lineage->id);
                ASSERT_TRUE(latest);
                const std::optional<Recipe> kept = history.recipeAt(latest->id);
                ASSERT_TRUE(kept);
                EXPECT_TRUE(VersionCoding::sameKept(*kept, *now)) << type.toStdString() << "/" << code.toStdString()
                                                                  << ": the history's last version is not the recipe";
            }
        }
    }
    EXPECT_GT(actions, 100);
    RecordProperty("journals_left_by_kills", int(hotJournals));
}

} // namespace
