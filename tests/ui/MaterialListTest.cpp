// The selection list over the library: the model and its type filter, read again as the stored
// library changes, and the list's highlighted material.
#include "store/Tables.h"
#include "components/Database.h"
#include "ui/LibraryList.h"
#include "edit/MaterialListModel.h"
#include "components/StoreError.h"
#include "store/StoredLibrary.h"
#include "support/TempData.h"

#include <QAbstractItemModelTester>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MaterialList : public ::testing::Test {
protected:
    void SetUp() override {
        // Stored out of code order, with type words in other letter cases and one unknown word.
        data.create({}, {},
                    TempData::material("SOY", "Soya Oil", "Oil", 872.5, 0, 0, 0, 1.6) +
                        TempData::material("AA", "Adipic Acid", "Acid", 146.14, 2, 0, 0, 1.1) +
                        TempData::material("OILX", "Odd Oil", "oil", 800, 0, 0, 0, 1) +
                        TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
                        TempData::material("LIN", "Linseed Oil", "OIL", 875, 0, 0, 0, 1.3) +
                        TempData::material("WAX", "Wax", "Oily", 500, 0, 0, 0, 2));
        db = std::make_unique<Database>(data.folder());
        library = std::make_unique<StoredLibrary>(*db);
        model = std::make_unique<MaterialListModel>(*library);
        filter.setSourceModel(model.get());
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal));
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            &filter, QAbstractItemModelTester::FailureReportingMode::Fatal));
    }

    static QStringList names(const QAbstractItemModel& m) {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.index(r, 0).data().toString();
        return out;
    }
    static RowValues row(const QString& code, const QString& name, const QString& type) {
        return RowValues::fromList({code, name, "Class", type, 100.0, 0.0, 0.0, 1.0, 1.0});
    }
    // Stores a material as one action, as the library window does.
    void store(const QString& code, const QString& name, const QString& type) {
        db->run([&] { db->table(Tables::rmLib()).insert(row(code, name, type)); });
    }
    void remove(const QString& code) {
        db->run([&] {
            TableFile& file = db->table(Tables::rmLib());
            for (const RowPtr& row : file.select("RMCode = ?1", {code}))
                file.remove(row->rowid, row->values);
        });
    }

    TempData data;
    std::unique_ptr<Database> db;
    std::unique_ptr<StoredLibrary> library;
    std::unique_ptr<MaterialListModel> model;
    MaterialTypeFilter filter;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};

TEST_F(MaterialList, ListsTheNamesInCodeOrderAndFiltersByTheWordWithoutLetterCase) {
    EXPECT_EQ(names(*model), QStringList({"Adipic Acid", "Glycerol", "Linseed Oil", "Odd Oil", "Soya Oil", "Wax"}));
    EXPECT_EQ(model->index(3, 0).data(MaterialListModel::CodeRole).toString(), "OILX");
    filter.setType(MaterialType::Oil);
    EXPECT_EQ(names(filter), QStringList({"Linseed Oil", "Odd Oil", "Soya Oil"}))
        << "listed as the store's filter matched, though only \"Oil\" is an oil to the arithmetic";
    filter.setType(MaterialType::Amphoteric);
    EXPECT_EQ(filter.rowCount(), 0);
    filter.setType(std::nullopt);
    EXPECT_EQ(names(filter).size(), 6) << "All lists the unknown type word too";
    EXPECT_EQ(library->at(0).type, MaterialType::Acid);
    EXPECT_EQ(library->at(2).type, MaterialType::Other) << "\"OIL\" is no oil to the arithmetic";
    EXPECT_EQ(library->at(99).code, "");
}

TEST_F(MaterialList, FollowsTheStoredLibraryButNotAnActionUndone) {
    filter.setType(MaterialType::Oil);
    store("CASTOR", "Castor Oil", "Oil");
    EXPECT_EQ(names(filter), QStringList({"Castor Oil", "Linseed Oil", "Odd Oil", "Soya Oil"}));
    remove("SOY");
    EXPECT_EQ(names(filter), QStringList({"Castor Oil", "Linseed Oil", "Odd Oil"}));

    // The second row of an action refused: the first, written, is taken back with it.
    int writes = 0;
    db->beforeWrite = [&](const QString&) {
        if (++writes == 2)
            throw StoreError("refused");
    };
    EXPECT_THROW(db->run([&] {
        db->table(Tables::rmLib()).insert(row("TUNG", "Tung Oil", "Oil"));
        db->table(Tables::rmLib()).insert(row("OITI", "Oiticica Oil", "Oil"));
    }),
                 StoreError);
    db->beforeWrite = nullptr;
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(names(filter), QStringList({"Castor Oil", "Linseed Oil", "Odd Oil"}));
    EXPECT_EQ(library->size(), 6);
}

TEST_F(MaterialList, TheListKeepsItsMaterialAndRunsItsHandlersOnlyForTheUser) {
    DBLookupList list;
    int selected = 0, chosen = 0;
    list.onSelect = [&] { ++selected; };
    list.onDoubleClick = [&] { ++chosen; };
    list.setLibrary(library.get());
    ASSERT_TRUE(list.currentMaterial());
    EXPECT_EQ(list.currentMaterial()->code, "AA") << "the first in code order, as the list opens";

    list.setType(MaterialType::Base);
    EXPECT_EQ(list.currentMaterial()->name, "Glycerol");
    EXPECT_DOUBLE_EQ(list.currentMaterial()->fb, 3) << "the whole material, not only its name";
    list.setType(MaterialType::Amphoteric);
    EXPECT_FALSE(list.currentMaterial()) << "an empty list offers no material";
    list.setType(std::nullopt);
    EXPECT_EQ(selected, 0) << "the buttons' filter is no pick of the user's";

    ASSERT_TRUE(list.highlightCode("OILX"));
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.currentMaterial()->code, "SOY");
    EXPECT_EQ(selected, 1);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(chosen, 1);

    store("ZINC", "Zinc Oxide", "Base");
    EXPECT_EQ(list.currentMaterial()->code, "SOY") << "a material stored elsewhere moves no highlight";
    remove("SOY");
    EXPECT_EQ(list.currentMaterial()->code, "WAX") << "a deleted material hands the highlight to the next";
    ASSERT_TRUE(list.highlightCode("ZINC"));
    remove("ZINC");
    EXPECT_EQ(list.currentMaterial()->code, "WAX") << "and the last to the one before it";
    EXPECT_EQ(selected, 1);

    list.setType(MaterialType::Oil);
    list.setLibrary(nullptr);
    EXPECT_FALSE(list.currentMaterial());
    list.setLibrary(library.get());
    EXPECT_EQ(list.model()->rowCount(), 2) << "the type chosen holds for the library listed again";
    model.reset();
    library.reset();
    EXPECT_EQ(list.model()->rowCount(), 0) << "a library gone lists nothing";
    EXPECT_FALSE(list.currentMaterial());
}

// Of two materials an old library stored under one code, the one the user chose stays chosen
// when the library is read again.
TEST_F(MaterialList, OfTwoMaterialsOfOneCodeTheChosenOneStays) {
    store("GLY", "Glycerine 99", "Base");
    DBLookupList list;
    list.setLibrary(library.get());
    list.setType(MaterialType::Base);
    ASSERT_EQ(list.model()->rowCount(), 2);
    list.setCurrentIndex(list.model()->index(1, 0));
    const QString chosen = list.currentMaterial()->name;
    store("ZINC", "Zinc Oxide", "Base");
    EXPECT_EQ(list.currentMaterial()->name, chosen);
}

} // namespace
