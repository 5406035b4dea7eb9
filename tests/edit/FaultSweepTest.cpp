// Every write, sync, truncate and delete of a command is made to fail in turn, once or from then
// on. Whatever the moment, the files must hold the command whole or not at all, the message
// must say which, and the next ordinary command must store nothing of a refused one.
#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "components/StoreError.h"
#include "edit/History.h"
#include "support/FaultVfs.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kLibrary = TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
                         TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
                         TempData::material("SOY", "Soya Oil", "Oil", 872.5, 0, 0, 0, 1.6) +
                         TempData::material("PE", "Pentaerythritol", "Base", 136.15, 0, 0, 4, 2.1);

const QString kHeaders = TempData::header("Alkyd", "A1", 8, 60, 1500) +
                         TempData::header("Alkyd", "B1") + TempData::header("Other", "Z1");

const QString kLines =
    TempData::line("Alkyd", "A1", 1, "SOY", "600, 0.6876790830945558, 2.0630372492836675, 2.0630372492836675, 640, 31, 960") +
    TempData::line("Alkyd", "A1", 2, "GLY", "120, 1.3030730806819416, NULL, 3.909219242045825, 128, 6.2, 150") +
    TempData::line("Alkyd", "A1", 3, "PA", "280, 1.8903591682419658, 3.7807183364839316, NULL, 298, 14.5, 308") +
    TempData::line("Alkyd", "B1", 1, "PE", "100, 0.7344840249724568, NULL, 2.937936099889827, NULL, NULL, NULL") +
    TempData::line("Alkyd", "B1", 2, "PA", "150, 1.0126924115581961, 2.0253848231163922, NULL, NULL, NULL, NULL") +
    TempData::line("Other", "Z1", 1, "GLY", "50, NULL, NULL, NULL, NULL, NULL, NULL");

// What the three table files hold, row by row, every value exactly.
// How many versions the history file holds; -1 when it cannot be read.
int versionCount(const QString& folder) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(QDir(folder).filePath("History.adt").toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    SqlitePtr db(raw);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM Versions", -1, &st, nullptr);
    const int n = st && sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    return n;
}

QString dump(const QString& folder) {
    QString out;
    for (const auto& [file, table] : {std::pair{"BatchInfo.ADT", "BatchInfo"},
                                      std::pair{"Recipes.adt", "Recipes"},
                                      std::pair{"RMLib.ADT", "RMLib"}}) {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(QDir(folder).filePath(file).toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE,
                        nullptr);
        SqlitePtr db(raw);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db.get(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table).toUtf8().constData(),
                           -1, &st, nullptr);
        out += QString(table) + ":\n";
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_NULL:
                    row << "-";
                    break;
                case SQLITE_FLOAT:
                    row << QString::number(sqlite3_column_double(st, i), 'g', 17);
                    break;
                default:
                    row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
                }
            }
            out += row.join('|') + "\n";
        }
        sqlite3_finalize(st);
    }
    return out;
}

struct Session {
    explicit Session(const QString& folder) : db(folder), dm(db, form.type, form.code, form, form.editor) {}
    StandInForm form;
    Database db;
    TDMod dm;
};

using Command = std::function<void(TDMod&)>;

struct Case {
    const char* name;
    Command command;
    Command before = nullptr; // what the user did before the command, outside it
};

// What the user did before the command.
void prepare(Session& s, const Case& c) {
    if (c.before)
        c.before(s.dm);
}

void typeMass(TDMod& dm) {
    dm.lines().goTo(1);
    dm.lines().edit();
    LineCell(dm.lines(), "Mass").setText("150");
}

// An ordinary command after the one that failed: a mass on a recipe no command touches, then
// Save. A refused edit still pending anywhere would be stored by it.
void ordinary(TDMod& dm) {
    dm.database().run([&] {
        dm.headers().locate("Other", "Z1");
        dm.lines().first();
        dm.lines().edit();
        LineCell(dm.lines(), "Mass").setText("77");
    });
    dm.database().run([&] { dm.SaveRecipe(); });
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"typing a mass", typeMass},
        {"a header edit",
         [](TDMod& dm) {
             dm.headers().edit();
             dm.headers().setText(HeaderPart::Size, "2000");
         }},
        {"Delete Line",
         [](TDMod& dm) {
             dm.lines().goTo(0);
             dm.DeleteLine();
         }},
        {"Insert",
         [](TDMod& dm) {
             dm.lines().goTo(1);
             dm.InsertIngredient(std::nullopt);
         }},
        {"a line begun in the grid and numbered as it is stored",
         [](TDMod& dm) {
             dm.lines().goTo(1);
             dm.lines().insert();
             dm.TypeInto(LineColumn::Code, "pe");
             dm.lines().checkBrowseMode();
         }},
        {"an item number typed to move the line",
         [](TDMod& dm) {
             dm.lines().goTo(2);
             dm.lines().edit();
             dm.TypeInto(LineColumn::Item, "1");
         }},
        {"OverWrite",
         [](TDMod& dm) {
             dm.lines().goTo(1);
             // The selection list highlights Pentaerythritol.
             dm.OverwriteIngredient(*dm.library().find("PE"));
         }},
        {"New",
         [](TDMod& dm) {
             dm.AddRecipe("Alkyd", "N1");
             dm.ShowResultingRecipe("Alkyd", "N1");
         }},
        {"Save As",
         [](TDMod& dm) {
             dm.CopyRecipe({"Alkyd", "A1"}, "Polyester", "P9");
             dm.ShowResultingRecipe("Polyester", "P9");
         }},
        {"Save As over a recipe",
         [](TDMod& dm) {
             dm.CopyRecipe({"Alkyd", "A1"}, "Alkyd", "B1");
             dm.ShowResultingRecipe("Alkyd", "B1");
         }},
        {"Rename",
         [](TDMod& dm) {
             dm.RenameRecipe("Alkyd", "A9");
             dm.ShowResultingRecipe("Alkyd", "A9");
         }},
        {"Delete recipe", [](TDMod& dm) { dm.DeleteRecipe("Alkyd", "A1"); }},
        {"Paste",
         [](TDMod& dm) {
             dm.lines().goTo(1);
             dm.PasteLines({{1, "PE", 40}, {2, "GLY", 12.5}});
         }},
        {"a recipe imported with a material added and another in other letters over a recipe of its name",
         [](TDMod& dm) {
             ImportedRecipe imported;
             imported.recipe = dm.currentRecipe();
             imported.recipe.lines[1].code = "GLY2";
             imported.recipe.lines[2].code = "pa";
             StoredMaterial gly;
             gly.code = "GLY2";
             gly.name = "Glycerol 99%";
             gly.type = "Base";
             gly.mwt = 92.09;
             gly.fb = 3;
             imported.added = {gly};
             dm.ImportRecipe(imported, "Alkyd", "B1");
             dm.ShowResultingRecipe("Alkyd", "B1");
         }},
        {"library rows imported with a molecular mass the lines follow",
         [](TDMod& dm) {
             std::vector<StoredMaterial> rows = dm.materials().inListOrder();
             for (StoredMaterial& m : rows)
                 m.price = m.price.value_or(0) + 1;
             rows[1].mwt = 150; // PA: every recipe's phthalic lines worked out again
             StoredMaterial npg;
             npg.code = "NPG";
             npg.type = "Base";
             npg.mwt = 104.15;
             npg.fb = 2;
             rows.push_back(npg);
             dm.ImportMaterials(rows);
         }},
        {"choosing another recipe with a header edit pending",
         [](TDMod& dm) { dm.SelectRecipe("Alkyd", "B1"); },
         [](TDMod& dm) {
             dm.lines().goTo(2);
             dm.database().run([&] {
                 dm.headers().edit();
                 dm.headers().setText(HeaderPart::AV, "12");
             });
         }},
    };
    return all;
}

class FaultSweep : public ::testing::TestWithParam<size_t> {
protected:
    static void SetUpTestSuite() {
        FaultVfs::install();
        s_template = std::make_unique<TempData>();
        s_template->create(kHeaders, kLines, kLibrary);
    }
    static void TearDownTestSuite() { s_template.reset(); }

    // A fresh copy of the starting tables.
    static std::unique_ptr<TempData> copy() {
        auto data = std::make_unique<TempData>();
        for (const char* f : {"BatchInfo.ADT", "Recipes.adt", "RMLib.ADT"})
            QFile::copy(s_template->file(f), data->file(f));
        return data;
    }
    void SetUp() override {
        FaultVfs::disarm();
        // The files are compared whole: the date a recipe was stored must not tick meanwhile.
        TDMod::Clock = [] { return QDateTime(QDate(2026, 12, 9), QTime(10, 30)); };
    }
    void TearDown() override { TDMod::Clock = [] { return QDateTime::currentDateTime(); }; }

    static std::unique_ptr<TempData> s_template;
};
std::unique_ptr<TempData> FaultSweep::s_template;

TEST_P(FaultSweep, EveryFaultLeavesTheCommandWholeOrUndoneAndSaysWhich) {
    const Case& c = cases()[GetParam()];
    SCOPED_TRACE(c.name);

    // The two outcomes, and each followed by the ordinary command, without faults.
    QString before, after, beforeThenOrdinary, afterThenOrdinary;
    int versionsBefore = 0, versionsAfter = 0;
    int points = 0;
    {
        // Opening the tables totals and scales the first recipe: "before" is after that.
        auto data = copy();
        {
            Session s(data->folder());
            prepare(s, c);
            before = dump(data->folder());
            versionsBefore = versionCount(data->folder());
            ordinary(s.dm);
        }
        beforeThenOrdinary = dump(data->folder());
    }
    {
        auto data = copy();
        {
            Session s(data->folder());
            prepare(s, c);
            FaultVfs::arm(0);
            s.db.run([&] { c.command(s.dm); });
            points = FaultVfs::operations();
            FaultVfs::disarm();
            after = dump(data->folder());
            versionsAfter = versionCount(data->folder());
            ordinary(s.dm);
        }
        afterThenOrdinary = dump(data->folder());
    }
    ASSERT_NE(before, after) << "the command changed nothing";
    ASSERT_GT(points, 3);
    // A header edit still pending stores only the batch its typed size makes: no version yet.
    if (std::string(c.name) != "a header edit") {
        EXPECT_GT(versionsAfter, versionsBefore) << "the command left no version in the history";
    }

    struct Fault {
        FaultVfs::Mode mode;
        FaultVfs::Failure failure;
        const char* name;
    };
    const Fault faults[] = {{FaultVfs::Mode::Once, FaultVfs::Failure::IoError, "once"},
                            {FaultVfs::Mode::FromThenOn, FaultVfs::Failure::IoError, "from then on"},
                            {FaultVfs::Mode::FromThenOn, FaultVfs::Failure::DiskFull, "a full disk"}};
    for (const Fault& fault : faults) {
        for (int n = 1; n <= points; ++n) {
            const std::string where = std::string(fault.name) + " at operation " + std::to_string(n);
            auto data = copy();
            QString message;
            bool threw = false;
            {
                Session s(data->folder());
                prepare(s, c);
                const int headerAt = s.dm.headers().current(), lineAt = s.dm.lines().recNo();
                FaultVfs::arm(n, fault.mode, fault.failure);
                try {
                    s.db.run([&] { c.command(s.dm); });
                } catch (const StoreError& e) {
                    threw = true;
                    message = e.message();
                }
                const bool fired = FaultVfs::fired();
                const bool full = FaultVfs::firstFailure() == SQLITE_FULL;
                FaultVfs::disarm();
                ASSERT_TRUE(fired) << where;
                const QString now = dump(data->folder());
                ASSERT_TRUE(now == before || now == after) << where << ": the files hold part of it\n"
                                                           << now.toStdString() << "\nbefore:\n" << before.toStdString()
                                                           << "\nafter:\n" << after.toStdString() << message.toStdString();
                // The history is where the tables are: a version with its change, none without; or
                // it was turned off, and said so.
                const int versions = versionCount(data->folder());
                if (now == after && s.dm.versions().file().isOn()) {
                    EXPECT_EQ(versions, versionsAfter) << where << ": a change without its version";
                } else {
                    EXPECT_EQ(versions, versionsBefore) << where << ": a version without its change";
                }
                if (now == after) {
                    EXPECT_TRUE(!threw || message.contains("was stored")) << where << ": " << message.toStdString();
                } else {
                    EXPECT_TRUE(threw) << where << ": no error, yet nothing was stored";
                    EXPECT_TRUE(message.contains("not stored")) << where << ": " << message.toStdString();
                    s.db.run([] {}); // the user's next action: views read what the files hold
                    EXPECT_EQ(s.dm.headers().current(), headerAt) << where << ": the user is back where they stood";
                    EXPECT_EQ(s.dm.lines().recNo(), lineAt) << where << ": the user is back on their line";
                    if (full) {
                        EXPECT_TRUE(message.contains("is full")) << where << ": " << message.toStdString();
                    }
                }
                EXPECT_FALSE(message.contains("disk I/O error")) << where << ": a bare SQLite text";
                ordinary(s.dm);
                const QString then = dump(data->folder());
                EXPECT_EQ((now == after ? afterThenOrdinary : beforeThenOrdinary).toStdString(),
                          then.toStdString())
                    << where << ": the next command stored something of the refused one";
            }
        }
    }
}

// Undo and redo are actions of their own: every fault leaves the files with the command or
// without it, never part of it, and the history where the files are, so that undo and redo then
// bring back exactly what was there.
TEST_P(FaultSweep, EveryFaultLeavesAnUndoOrARedoWholeOrNotAtAll) {
    const Case& c = cases()[GetParam()];
    SCOPED_TRACE(c.name);

    struct Run {
        std::unique_ptr<TempData> data = copy();
        Session s{data->folder()};
        History history{s.dm};
        QString before, after;
        // What the user typed before the command is stored with it, and what it left pending
        // is stored as the user goes on: one action on the stack.
        explicit Run(const Case& c) {
            before = dump(data->folder());
            prepare(s, c);
            s.db.run([&] { c.command(s.dm); });
            s.db.run([&] { s.dm.SaveRecipe(); });
            after = dump(data->folder());
        }
    };
    int points[2] = {0, 0};
    {
        Run r(c);
        ASSERT_EQ(r.history.stack().count(), 1) << "the command is one action on the stack";
        for (int way = 0; way < 2; ++way) {
            FaultVfs::arm(0);
            ASSERT_TRUE((way == 0 ? r.history.undo() : r.history.redo()).done);
            points[way] = FaultVfs::operations();
            FaultVfs::disarm();
            ASSERT_EQ(dump(r.data->folder()).toStdString(), (way == 0 ? r.before : r.after).toStdString());
        }
    }
    const FaultVfs::Failure failures[] = {FaultVfs::Failure::IoError, FaultVfs::Failure::DiskFull};
    for (int way = 0; way < 2; ++way) {
        for (FaultVfs::Failure failure : failures) {
            for (int n = 1; n <= points[way]; ++n) {
                const std::string where = std::string(way == 0 ? "undo" : "redo") + " failing at operation " +
                                          std::to_string(n) +
                                          (failure == FaultVfs::Failure::DiskFull ? " (full)" : "");
                Run r(c);
                if (way == 1) {
                    ASSERT_TRUE(r.history.undo().done);
                }
                const QString from = way == 0 ? r.after : r.before, to = way == 0 ? r.before : r.after;
                FaultVfs::arm(n, FaultVfs::Mode::FromThenOn, failure);
                const ActionOutcome outcome = way == 0 ? r.history.undo() : r.history.redo();
                // Moved with the files: done, or in the files although the disk then reported
                // an error.
                const bool done = outcome.done || outcome.stored;
                const QString& message = outcome.error;
                ASSERT_TRUE(FaultVfs::fired()) << where;
                FaultVfs::disarm();
                const QString now = dump(r.data->folder());
                ASSERT_TRUE(now == from || now == to) << where << ": the files hold part of it";
                EXPECT_EQ(done, now == to) << where << ": the history moved without the files, or stayed";
                if (now == from)
                    EXPECT_TRUE(message.contains("not stored")) << where << ": " << message.toStdString();
                else
                    EXPECT_TRUE(message.isEmpty() || message.contains("was stored")) << where;
                // The user goes on: undo and redo, without faults, give the two states exactly.
                if (r.history.stack().canUndo()) {
                    ASSERT_TRUE(r.history.undo().done) << where;
                    EXPECT_EQ(dump(r.data->folder()).toStdString(), r.before.toStdString()) << where;
                }
                ASSERT_TRUE(r.history.redo().done) << where;
                EXPECT_EQ(dump(r.data->folder()).toStdString(), r.after.toStdString()) << where;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultSweep, ::testing::Range(size_t(0), cases().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             QString name = QString::fromLatin1(cases()[info.param].name);
                             name.replace(' ', '_');
                             return name.toStdString();
                         });

} // namespace
