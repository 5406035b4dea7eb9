// Where the tables are: the option, the environment and the configuration name a folder that must
// exist; else the working directory's Data folder; else the user's, filled once with the starter
// tables.
#include "app/DataLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DataLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(root.path()).mkpath("starter"));
        for (const char* t : {"BatchInfo.ADT", "Recipes.adt", "RMLib.ADT"}) {
            QFile f(QDir(root.path()).filePath(QString("starter/") + t));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(t);
        }
        places.starterTables = path("starter");
        places.userData = path("home/.local/share/Kalvora");
        places.workingDir = path("anywhere");
        QDir().mkpath(places.workingDir);
    }
    QString path(const QString& name) const { return QDir(root.path()).filePath(name); }
    QTemporaryDir root;
    DataPlaces places;
};

TEST_F(DataLocationTest, TheFirstStartFillsTheUsersFolderOnceAndSaysWhere) {
    const DataLocation first = locateData(places);
    EXPECT_TRUE(first.error.isEmpty()) << first.error.toStdString();
    EXPECT_EQ(first.folder, path("home/.local/share/Kalvora/Data"));
    EXPECT_EQ(first.seededNote, "Kalvora put the starter tables in " + QDir::toNativeSeparators(first.folder));
    QFile recipes(QDir(first.folder).filePath("Recipes.adt"));
    ASSERT_TRUE(recipes.open(QIODevice::ReadOnly));
    EXPECT_EQ(recipes.readAll(), "Recipes.adt");
    recipes.close();

    // The user's own tables are never replaced: the next start just opens them.
    ASSERT_TRUE(recipes.open(QIODevice::WriteOnly));
    recipes.write("a user's recipes");
    recipes.close();
    const DataLocation next = locateData(places);
    EXPECT_EQ(next.folder, first.folder);
    EXPECT_TRUE(next.seededNote.isEmpty());
    ASSERT_TRUE(recipes.open(QIODevice::ReadOnly));
    EXPECT_EQ(recipes.readAll(), "a user's recipes");
}

TEST_F(DataLocationTest, EachPlaceIsTakenInItsOrderAndANamedFolderMustExist) {
    // A Data folder in the working directory, as in the build folder, comes before the user's.
    QDir().mkpath(path("anywhere/Data"));
    EXPECT_EQ(locateData(places).folder, path("anywhere/Data"));
    QDir().mkpath(path("configured"));
    places.configured = path("configured");
    EXPECT_EQ(locateData(places).folder, path("configured"));
    QDir().mkpath(path("environment"));
    places.environment = path("environment");
    EXPECT_EQ(locateData(places).folder, path("environment"));
    QDir().mkpath(path("option"));
    places.option = path("option");
    EXPECT_EQ(locateData(places).folder, path("option"));

    // A folder named that does not exist is reported with its path, and never made.
    for (const auto& [place, where] : {std::pair{&DataPlaces::option, "--data"},
                                       std::pair{&DataPlaces::environment, "KALVORA_DATA"},
                                       std::pair{&DataPlaces::configured, "the configuration file"}}) {
        DataPlaces p = places;
        p.option.clear();
        p.environment.clear();
        p.*place = path("shared drive/Data");
        const DataLocation l = locateData(p);
        EXPECT_TRUE(l.folder.isEmpty()) << where;
        EXPECT_EQ(l.error, QString("The Data folder \"%1\" named by %2 does not exist.")
                               .arg(QDir::toNativeSeparators(path("shared drive/Data")), where));
        EXPECT_FALSE(QDir(path("shared drive")).exists()) << where;
    }
}

TEST_F(DataLocationTest, AUsersFolderThatCannotBeFilledIsReportedAndLeftEmpty) {
    // The last starter table is missing: the two copied before it are taken out again.
    QFile::remove(path("starter/RMLib.ADT"));
    const DataLocation l = locateData(places);
    EXPECT_TRUE(l.folder.isEmpty());
    EXPECT_TRUE(l.error.startsWith("The starter table")) << l.error.toStdString();
    EXPECT_TRUE(QDir(path("home/.local/share/Kalvora/Data")).entryList(QDir::Files).isEmpty());
}

} // namespace
