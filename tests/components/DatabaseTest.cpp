#include "store/Tables.h"
#include "components/Database.h"
#include "components/Sqlite.h"
#include "components/StoreError.h"
#include "edit/RecipeHeaders.h"
#include "edit/RecipeLines.h"
#include "store/StoredHeaders.h"
#include "store/StoredRecipes.h"
#include "support/KilledChild.h"
#include "support/TempData.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string openError(const QString& folder, const TableSchema& schema) {
    try {
        Database db(folder);
        db.table(schema);
    } catch (const StoreError& e) {
        return e.message().toStdString();
    }
    return "";
}

TEST(DatabaseOpening, ReportsEachKindOfBadTableFile) {
    struct Bad {
        const char* what;
        std::function<void(TempData&)> spoil;
        const char* message;
    };
    const std::vector<Bad> cases = {
        {"missing", [](TempData& d) { QFile::remove(d.file("RMLib.ADT")); }, "the file does not exist"},
        {"empty",
         [](TempData& d) {
             QFile f(d.file("RMLib.ADT"));
             f.open(QIODevice::WriteOnly | QIODevice::Truncate);
         },
         "it holds no table RMLib"},
        {"foreign",
         [](TempData& d) {
             QFile f(d.file("RMLib.ADT"));
             f.open(QIODevice::WriteOnly | QIODevice::Truncate);
             f.write(QByteArray(4096, 'x'));
         },
         "it is not a table file"},
        {"other table",
         [](TempData& d) {
             QFile::remove(d.file("RMLib.ADT"));
             createTableFile(d.file("RMLib.ADT"), Tables::batchInfo());
         },
         "it holds no table RMLib"},
        {"wrong columns",
         [](TempData& d) {
             QFile::remove(d.file("RMLib.ADT"));
             TableSchema s = Tables::rmLib();
             s.columns.pop_back();
             createTableFile(d.file("RMLib.ADT"), s);
         },
         "does not have the columns"},
        {"missing index",
         [](TempData& d) {
             QFile::remove(d.file("RMLib.ADT"));
             TableSchema s = Tables::rmLib();
             s.indexes.pop_back();
             createTableFile(d.file("RMLib.ADT"), s);
         },
         "the index RMLIBBYCODE of table RMLib is missing"},
        {"damaged",
         [](TempData& d) {
             QString rows;
             for (int i = 0; i < 300; ++i)
                 rows += TempData::material(QString("C%1").arg(i), QString("Name %1").arg(i), "Base", 1, 0, 0, 2);
             QFile::remove(d.file("RMLib.ADT"));
             createTableFile(d.file("RMLib.ADT"), Tables::rmLib(), rows);
             QFile f(d.file("RMLib.ADT"));
             f.open(QIODevice::ReadWrite);
             f.seek(512 * 3);
             f.write(QByteArray(512 * 4, '\x7f'));
         },
         "damaged"},
    };
    for (const Bad& c : cases) {
        TempData data;
        data.create();
        c.spoil(data);
        const std::string msg = openError(data.folder(), Tables::rmLib());
        EXPECT_NE(msg.find("Cannot open the table file"), std::string::npos) << c.what << ": " << msg;
        EXPECT_NE(msg.find(c.message), std::string::npos) << c.what << ": " << msg;
        EXPECT_NE(msg.find("RMLib.ADT"), std::string::npos) << c.what << ": " << msg;
    }
}

TEST(DatabaseOpening, NeverCreatesAMissingTable) {
    TempData data;
    data.create();
    QFile::remove(data.file("Recipes.adt"));
    {
        Database db(data.folder());
        db.table(Tables::batchInfo());
        EXPECT_THROW(db.table(Tables::recipes()), StoreError);
    }
    EXPECT_FALSE(QFile::exists(data.file("Recipes.adt")));
}

TEST(DatabaseOpening, FindsFilesWhoseNameDiffersInLetterCase) {
    TempData data;
    data.create();
    QFile::rename(data.file("Recipes.adt"), data.file("RECIPES.ADT"));
    Database db(data.folder());
    EXPECT_NO_THROW(db.table(Tables::recipes()));
}

TEST(DatabaseOpening, RefusesAMissingFolderAndASecondCopy) {
    EXPECT_THROW(Database("/nonexistent/Kalvora/Data"), StoreError);
    TempData data;
    data.create();
    Database first(data.folder());
    try {
        Database second(data.folder());
        FAIL() << "a second copy opened the same tables";
    } catch (const StoreError& e) {
        EXPECT_NE(e.message().indexOf("in use by another copy of Kalvora"), -1);
    }
}

TEST(DatabaseOpening, RefusesAFolderItCannotWrite) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    TempData data;
    data.create();
    QFile::setPermissions(data.folder(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_THROW(Database db(data.folder()), StoreError);
    QFile::setPermissions(data.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The lock dies with the process that holds it: nothing a killed copy leaves behind, nor a file
// or folder that happens to bear the lock's old name, keeps the user out.
TEST(DatabaseOpening, OnlyALiveCopyHoldsTheTables) {
    TempData data;
    data.create();
    QFile(data.file("Kalvora.lock")).open(QIODevice::WriteOnly); // empty, as a kill left it
    EXPECT_NO_THROW(Database db(data.folder())) << "an empty lock file";
    QFile::remove(data.file("Kalvora.lock"));
    QDir(data.folder()).mkdir("Kalvora.lock");
    EXPECT_NO_THROW(Database db(data.folder())) << "a folder named like the lock";

    const auto outcome = KilledChild::run(
        [&](const KilledChild::Report& report) {
            Database held(data.folder());
            if (report(1))
                pause();
        },
        1, 0, [&] {
            try {
                Database second(data.folder());
                ADD_FAILURE() << "opened the tables another copy holds";
            } catch (const StoreError& e) {
                EXPECT_NE(e.message().indexOf("in use by another copy of Kalvora"), -1) << e.message().toStdString();
            }
        });
    ASSERT_EQ(outcome.last, 1);
    EXPECT_NO_THROW(Database db(data.folder())) << "the killed copy's lock is gone with it";
}

TEST(DatabaseWriting, AStoredRecipeIsInTheFileWhenSaveReturns) {
    TempData data;
    data.create();
    Database db(data.folder());
    StoredRecipes(db).save(newRecipe("Alkyd", "B1"));
    // Read by another connection while the program still holds its own.
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT BatchType, BatchCode FROM BatchInfo").toStdString(),
              "Alkyd|B1");
}

// Cutting "Alkyd resins for exterior enamels" to its column would make it another recipe's type.
TEST(DatabaseWriting, TextLongerThanItsColumnIsRefusedNeverCut) {
    TempData data;
    data.create(TempData::header(QString(25, 'T'), "CODE"));
    Database db(data.folder());
    StoredRecipes recipes(db);
    try {
        recipes.save(newRecipe(QString(26, 'T'), "CODE"));
        FAIL() << "a type of 26 characters was stored";
    } catch (const FieldError& e) {
        EXPECT_EQ(e.message(), "'" + QString(26, 'T') +
                                   "' is too long for field 'BatchType': it holds at most 25 characters");
    }
    EXPECT_THROW(recipes.save(newRecipe("Alkyd", "CODE-1234567890-X")), FieldError)
        << "a code of 17 characters is refused";
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo").toStdString(), "1");
}

TEST(DatabaseWriting, ATransactionOverTwoFilesIsUndoneInBoth) {
    TempData data;
    data.create(TempData::header("Alkyd", "B1"), TempData::line("Alkyd", "B1", 1, "PA"));
    Database db(data.folder());
    RecipeHeaders info(db);
    RecipeLines lines(db, [&] { return info.key(); });
    info.open();
    lines.open();
    try {
        Database::Transaction tx(db);
        info.setText(HeaderPart::Description, "changed");
        info.post();
        lines.edit();
        lines.setText(LineColumn::Code, "GLY");
        lines.post();
        throw StoreError("stop in the middle");
    } catch (const StoreError&) {
    }
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT Description FROM BatchInfo").toStdString(), "Test recipe");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT RMCode FROM Recipes").toStdString(), "PA");
    // The views read the files again: nothing of the undone work is shown.
    EXPECT_EQ(info.header().description, "Test recipe");
    EXPECT_EQ(lines.line().code, "PA");
}

TEST(DatabaseWriting, ARefusedWriteLeavesTheEditPending) {
    TempData data;
    data.create(TempData::header("Alkyd", "B1"));
    Database db(data.folder());
    RecipeHeaders info(db);
    info.open();
    db.beforeWrite = [](const QString&) { throw StoreError("disk refused"); };
    info.setText(HeaderPart::Description, "changed");
    EXPECT_THROW(info.post(), StoreError);
    EXPECT_TRUE(info.pending());
    EXPECT_EQ(info.header().description, "changed");
    db.beforeWrite = nullptr;
    info.post();
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT Description FROM BatchInfo").toStdString(), "changed");
}

// What the window shows of an action comes from what became of it: stored, a value to correct,
// refused by the disk, or ended by a part of it that failed and was shown.
TEST(DatabaseWriting, EachUserActionSaysWhatBecameOfIt) {
    TempData data;
    data.create(TempData::header("Alkyd", "B1"));
    Database db(data.folder());
    RecipeHeaders info(db);
    info.open();
    const auto description = [&] {
        return data.query("BatchInfo.ADT", "SELECT Description FROM BatchInfo").toStdString();
    };
    const auto store = [&](const char* text) {
        info.setText(HeaderPart::Description, text);
        info.post();
    };

    ActionOutcome done = db.perform([&] { store("first"); });
    EXPECT_TRUE(done.done);
    EXPECT_TRUE(done.error.isEmpty());
    EXPECT_EQ(description(), "first");

    // A refused value inside an action is shown, and the action goes on without it.
    ActionOutcome inner;
    ActionOutcome outer = db.perform([&] {
        inner = db.perform([] { throw FieldError("'x' is not a valid number"); });
        store("second");
    });
    EXPECT_FALSE(inner.done);
    EXPECT_EQ(inner.error, "'x' is not a valid number");
    EXPECT_FALSE(inner.rolledBack);
    EXPECT_TRUE(outer.done);
    EXPECT_EQ(description(), "second");

    // A refused write ends the action; nothing of it is stored, and the views read the files.
    db.beforeWrite = [](const QString&) { throw StoreError("disk refused"); };
    ActionOutcome refused = db.perform([&] { store("third"); });
    db.beforeWrite = nullptr;
    EXPECT_FALSE(refused.done);
    EXPECT_FALSE(refused.stored);
    EXPECT_TRUE(refused.rolledBack);
    EXPECT_TRUE(refused.error.contains("disk refused")) << refused.error.toStdString();
    EXPECT_EQ(description(), "second");
    EXPECT_TRUE(info.pending()) << "the typed value waits for the user";
    info.cancel();

    // A part that failed inside an action is shown there, and ends the whole of it without a
    // second message: what the action wrote before is undone.
    outer = db.perform([&] {
        store("fourth");
        inner = db.perform([] { throw StoreError("the part failed"); });
        store("fifth");
    });
    EXPECT_EQ(inner.error, "the part failed");
    EXPECT_FALSE(outer.done);
    EXPECT_TRUE(outer.error.isEmpty()) << outer.error.toStdString();
    EXPECT_EQ(description(), "second");
    EXPECT_EQ(info.header().description, "second");
}

TEST(DatabaseWriting, AKeyViolationIsReportedAndNothingIsStored) {
    TempData data;
    data.create({}, {}, TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0));
    Database db(data.folder());
    TableFile& lib = db.table(Tables::rmLib());
    RowValues row(int(Tables::rmLib().columns.size()));
    row.set(Tables::rmLib().columnIndex("RMCode"), QString("pa"));
    row.set(Tables::rmLib().columnIndex("RMCommonName"), QString("phthalic anhydride"));
    try {
        lib.insert(row);
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_NE(e.message().indexOf("Key violation"), -1) << e.message().toStdString();
    }
    EXPECT_EQ(data.query("RMLib.ADT", "SELECT count(*) FROM RMLib").toStdString(), "1");
}

} // namespace

namespace {

// A damaged page deep in a file is not read at opening; the check behind the window finds it,
// says so once, and from then on nothing more is written.
TEST(DatabaseChecking, ADamagedPageFoundInTheBackgroundStopsWriting) {
    TempData data;
    QString rows;
    for (int i = 0; i < 2000; ++i)
        rows += TempData::material(QString("C%1").arg(i), QString("Name %1").arg(i), "Base", 1, 0, 0, 2);
    data.create({}, {}, rows);
    {
        QFile f(data.file("RMLib.ADT"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 pages = f.size() / 512;
        f.seek(512 * (pages - 40));
        f.write(QByteArray(512 * 8, '\x55'));
    }
    Database db(data.folder());
    ASSERT_NO_THROW(StoredHeaders(db).read());
    ASSERT_NO_THROW(db.table(Tables::rmLib())) << "opening reads only the header and the schema";
    QStringList faults;
    db.startIntegrityCheck([&](const QString& message) { faults << message; });
    db.finishIntegrityCheck();
    ASSERT_EQ(faults.size(), 1);
    EXPECT_NE(faults[0].indexOf("RMLib.ADT"), -1) << faults[0].toStdString();
    EXPECT_NE(faults[0].indexOf("is damaged"), -1) << faults[0].toStdString();
    EXPECT_THROW(StoredRecipes(db).save(newRecipe("", "X1")), StoreError) << "a write after the fault was found";
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo").toStdString(), "0");
}

TEST(DatabaseChecking, SoundTablesPassTheCheckAndStayWritable) {
    TempData data;
    data.create(TempData::header("Alkyd", "A1"));
    Database db(data.folder());
    StoredHeaders(db).read();
    bool called = false;
    db.startIntegrityCheck([&](const QString&) { called = true; });
    db.finishIntegrityCheck();
    EXPECT_FALSE(called);
    EXPECT_NO_THROW(StoredRecipes(db).save(newRecipe("", "X1")));
}

} // namespace

// A changed row is patched into what the file keeps in memory for look-ups; an action undone
// afterwards leaves memory as the file is.
TEST(DatabaseWriting, LookUpsSeeAnUpdatedRowAndNotAnUndoneOne) {
    TempData data;
    data.create({}, {}, TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3) +
                            TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0));
    Database db(data.folder());
    TableFile& lib = db.table(Tables::rmLib());
    const int code = Tables::rmLib().columnIndex("RMCode"), name = Tables::rmLib().columnIndex("RMCommonName");
    const auto nameOf = [&](const char* c) {
        const StoredRow* row = lib.findFirst(code, QByteArray(c));
        return row ? row->values.text(name) : QString("-");
    };
    ASSERT_EQ(nameOf("GLY"), "Glycerol");
    const auto rename = [&](const char* c, const QString& to) {
        const StoredRow* row = lib.findFirst(code, QByteArray(c));
        RowValues after = row->values;
        after.set(name, to);
        lib.update(row->rowid, row->values, after);
    };
    rename("GLY", "Glycerine");
    EXPECT_EQ(nameOf("GLY"), "Glycerine");
    EXPECT_EQ(nameOf("PA"), "Phthalic Anhydride");
    // The code itself changes: the old code finds nothing, the new one its row.
    {
        const StoredRow* row = lib.findFirst(code, QByteArray("PA"));
        RowValues after = row->values;
        after.set(code, QString("PAN"));
        lib.update(row->rowid, row->values, after);
    }
    EXPECT_EQ(nameOf("PA"), "-");
    EXPECT_EQ(nameOf("PAN"), "Phthalic Anhydride");
    try {
        db.run([&] {
            rename("GLY", "Never stored");
            EXPECT_EQ(nameOf("GLY"), "Never stored");
            throw StoreError("refused");
        });
    } catch (const StoreError&) {
    }
    EXPECT_EQ(nameOf("GLY"), "Glycerine");
    EXPECT_EQ(data.query("RMLib.ADT", "SELECT RMCommonName FROM RMLib WHERE RMCode = 'GLY'"), "Glycerine");
}

// Rows added and removed are patched into what the file keeps in memory, in rowid order and in
// the order of an index, as a fresh read gives them; an undone action leaves memory as the file.
TEST(DatabaseWriting, RowsAddedAndRemovedAreSeenInMemoryAsAFreshReadGivesThem) {
    TempData data;
    data.create(TempData::header("Alkyd", "B2") + TempData::header("Alkyd", "A1") + TempData::header("Resin", "R1"));
    const auto names = [](const std::vector<RowPtr>& rows) {
        QStringList out;
        for (const RowPtr& r : rows)
            out << r->values.text(1);
        return out.join(",").toStdString();
    };
    const std::vector<int> byName{0, 1};
    Database db(data.folder());
    TableFile& info = db.table(Tables::batchInfo());
    ASSERT_EQ(names(info.snapshotInOrder(byName)), "A1,B2,R1");
    const auto header = [](const char* type, const char* code) {
        RowValues row(int(Tables::batchInfo().columns.size()));
        row.set(0, QString(type));
        row.set(1, QString(code));
        return row;
    };
    const auto fresh = [&] {
        Database::Transaction tx(db); // the same connection, read again from the file
        std::vector<RowPtr> rows = info.select({}, {}, byName);
        tx.commit();
        return names(rows);
    };
    db.run([&] { info.insert(header("alkyd", "A5")); });
    EXPECT_EQ(names(info.snapshotInOrder(byName)), fresh());
    EXPECT_EQ(names(info.snapshot()), "B2,A1,R1,A5");
    db.run([&] {
        const RowPtr b2 = info.snapshot().front();
        info.remove(b2->rowid, b2->values);
    });
    EXPECT_EQ(names(info.snapshotInOrder(byName)), "A1,A5,R1");
    EXPECT_EQ(names(info.snapshot()), "A1,R1,A5");
    try {
        db.run([&] {
            info.insert(header("Zed", "Z1"));
            const RowPtr a1 = info.snapshot().front();
            info.remove(a1->rowid, a1->values);
            EXPECT_EQ(names(info.snapshotInOrder(byName)), "A5,R1,Z1");
            throw StoreError("refused");
        });
    } catch (const StoreError&) {
    }
    EXPECT_EQ(names(info.snapshotInOrder(byName)), "A1,A5,R1");
    EXPECT_EQ(fresh(), "A1,A5,R1");
}
