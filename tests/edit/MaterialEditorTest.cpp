// The library window's editing without the window: the list it shows, the material shown and its
// one pending change, what a store writes, and a change the files refuse staying pending.
#include "edit/DModUnit.h"
#include "components/StoreError.h"
#include "support/FaultVfs.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace {

class MaterialEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        FaultVfs::install();
        FaultVfs::disarm();
    }
    void start(const QString& library = TempData::material("SOY", "Soya Oil", "Oil", 872.5, 0, 0, 0, 1.6) +
                                        TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
                                        TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
                                        TempData::material("PE", "Pentaerythritol", "Base", 136.15, 0, 0, 4, 2) +
                                        TempData::material("TMP", "Trimethylolpropane", "Base", 134.17, 0, 0, 3, 2.2)) {
        data.create({}, {}, library);
        open();
    }
    void open() {
        tester.reset();
        dm.reset();
        db.reset();
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
        tester = std::make_unique<QAbstractItemModelTester>(lib().list(),
                                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    MaterialEditor& lib() { return dm->materialEditor(); }
    QStringList listed() {
        QStringList codes;
        for (int r = 0; r < lib().count(); ++r)
            codes << lib().list()->index(r, MaterialRecords::Code).data().toString();
        return codes;
    }
    QString shownCode() { return lib().text(MaterialPart::Code, false); }
    QString stored(const QString& sql) { return data.query("RMLib.ADT", sql); }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST_F(MaterialEditorTest, TheListFollowsTheTypeAndTheMaterialShownItsPlace) {
    start();
    EXPECT_EQ(listed(), QStringList({"GLY", "PA", "PE", "SOY", "TMP"}));
    lib().goTo(2);
    EXPECT_EQ(shownCode(), "PE");
    // Each type, all of them too, shows its first material.
    lib().setType(MaterialType::Base);
    EXPECT_EQ(listed(), QStringList({"GLY", "PE", "TMP"}));
    EXPECT_EQ(shownCode(), "GLY");
    lib().goTo(1);
    lib().setType(std::nullopt);
    EXPECT_EQ(shownCode(), "GLY");
    EXPECT_EQ(lib().current(), 0);
    // A new material is listed last, and current, whatever the type; dropped, the one shown
    // before is back.
    lib().goTo(2);
    lib().setType(MaterialType::Oil);
    lib().append();
    EXPECT_EQ(listed(), QStringList({"SOY", ""}));
    EXPECT_EQ(lib().current(), 1);
    EXPECT_EQ(shownCode(), "");
    lib().setText(MaterialPart::Code, "LIN");
    EXPECT_EQ(listed(), QStringList({"SOY", "LIN"})) << "the list shows what is typed";
    lib().cancel();
    EXPECT_EQ(listed(), QStringList({"SOY"}));
    EXPECT_EQ(shownCode(), "SOY");
    // Deleted, a material leaves its place to the next; the last to the one before it.
    lib().setType(std::nullopt);
    lib().goTo(2);
    lib().remove();
    EXPECT_EQ(shownCode(), "SOY");
    lib().goTo(3);
    lib().remove();
    EXPECT_EQ(shownCode(), "SOY");
    EXPECT_EQ(stored("SELECT group_concat(RMCode) FROM (SELECT RMCode FROM RMLib ORDER BY RMCode)"), "GLY,PA,SOY");
    // The type outlives the list, which is read again at the next opening.
    lib().setType(MaterialType::Amphoteric);
    lib().close();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_THROW(lib().remove(), StoreError);
    lib().edit();
    EXPECT_EQ(lib().state(), MaterialEditor::State::Insert) << "on an empty list, Edit begins a new material";
}

// Storing the pending change before a move may add, move or drop rows: the material picked is
// the one shown, wherever it now stands.
TEST_F(MaterialEditorTest, APickFindsItsMaterialWhereverTheStoreMovedIt) {
    start();
    lib().append();
    lib().setText(MaterialPart::Code, "BA");
    lib().goTo(3); // SOY, as listed when picked
    EXPECT_EQ(shownCode(), "SOY");
    EXPECT_EQ(listed(), QStringList({"BA", "GLY", "PA", "PE", "SOY", "TMP"}));
    lib().goTo(0);
    lib().setText(MaterialPart::Code, "ZZ");
    lib().goTo(1); // GLY
    EXPECT_EQ(shownCode(), "GLY");
    // A type the list does not show takes the material stored out of it; the next takes its place.
    lib().setType(MaterialType::Base);
    lib().goTo(1);
    lib().setText(MaterialPart::Type, "Acid");
    lib().post();
    EXPECT_EQ(listed(), QStringList({"GLY", "TMP"}));
    EXPECT_EQ(shownCode(), "TMP");
    EXPECT_EQ(lib().current(), 1);
}

TEST_F(MaterialEditorTest, MovingStoresATypedChangeAndDropsAnUntouchedOne) {
    start();
    lib().goTo(0);
    lib().edit();
    lib().goTo(1);
    EXPECT_TRUE(lib().saved());
    EXPECT_EQ(db->commitCount(), 0u) << "nothing to store";
    lib().setText(MaterialPart::Price, "1.4");
    EXPECT_EQ(lib().state(), MaterialEditor::State::Edit) << "typing begins the change";
    lib().goTo(3);
    EXPECT_EQ(stored("SELECT RMPrice FROM RMLib WHERE RMCode = 'PA'"), "1.4");
    // What the window still holds typed is taken before the move decides.
    lib().edit();
    lib().takeTyping = [&] { lib().setText(MaterialPart::Name, "Soya Bean Oil"); };
    lib().goTo(0);
    lib().takeTyping = nullptr;
    EXPECT_EQ(stored("SELECT RMCommonName FROM RMLib WHERE RMCode = 'SOY'"), "Soya Bean Oil");
    // A change the arithmetic cannot use stays pending and the list stays where it was.
    lib().setText(MaterialPart::MWt, "-5");
    EXPECT_THROW(lib().setType(MaterialType::Acid), StoreError);
    EXPECT_EQ(lib().type(), std::nullopt);
    EXPECT_EQ(lib().text(MaterialPart::MWt, true), "-5.0");
    EXPECT_EQ(stored("SELECT RMMWt FROM RMLib WHERE RMCode = 'GLY'"), "92.09");
}

// Only the parts the user changed are written: a type word in other letters, and a part never
// given, stay as they were; a figure retyped as it was is no change.
TEST_F(MaterialEditorTest, AStoreWritesOnlyThePartsThatDiffer) {
    start("INSERT INTO RMLib VALUES ('TOF', 'Tall Oil', NULL, 'oil', 880, 0, 0, 0, NULL);\n");
    lib().goTo(0);
    EXPECT_EQ(lib().text(MaterialPart::MWt, false), "880.0");
    lib().setText(MaterialPart::Name, "Tall Oil Fatty Acid");
    lib().setText(MaterialPart::MWt, "880");
    lib().post();
    EXPECT_EQ(stored("SELECT RMCommonName || '|' || RMType || '|' || quote(RMMWt) || '|' || typeof(RMChemClass) "
                     "FROM RMLib"),
              "Tall Oil Fatty Acid|oil|880.0|null");
    // A type word of other letters is listed under its type.
    lib().setType(MaterialType::Oil);
    EXPECT_EQ(listed(), QStringList({"TOF"}));
}

// Stored in an action that the files then refuse, at any point: the library holds the material
// exactly when the action says it was stored, and otherwise the change is pending as typed,
// over the material it was begun on.
TEST_F(MaterialEditorTest, AnEditTheFilesRefuseStaysPendingOnItsMaterial) {
    start();
    for (int n = 1;; ++n) {
        SCOPED_TRACE(n);
        open();
        lib().setType(MaterialType::Base);
        lib().goTo(1); // PE, between GLY and TMP
        lib().setText(MaterialPart::Type, "Acid");
        const quint64 commits = db->commitCount();
        FaultVfs::arm(n);
        try {
            db->run([&] { lib().post(); });
        } catch (const StoreError&) {
        }
        const bool fired = FaultVfs::fired();
        FaultVfs::disarm();
        const bool reached = db->commitCount() != commits;
        EXPECT_EQ(stored("SELECT RMType FROM RMLib WHERE RMCode = 'PE'"), reached ? "Acid" : "Base");
        if (!reached) {
            EXPECT_EQ(lib().state(), MaterialEditor::State::Edit);
            EXPECT_EQ(lib().storedCode(), "PE");
            EXPECT_EQ(lib().current(), 1);
            EXPECT_EQ(lib().text(MaterialPart::Type, false), "Acid");
            lib().post();
            EXPECT_EQ(stored("SELECT RMType FROM RMLib WHERE RMCode = 'PE'"), "Acid");
        }
        EXPECT_EQ(shownCode(), "TMP");
        // Back to the starting library for the next fault point.
        lib().setType(std::nullopt);
        lib().goTo(2);
        ASSERT_EQ(shownCode(), "PE");
        lib().setText(MaterialPart::Type, "Base");
        lib().post();
        ASSERT_EQ(stored("SELECT RMType FROM RMLib WHERE RMCode = 'PE'"), "Base");
        if (!fired)
            break;
    }
}

// A store that wrote nothing (the parts typed again as they were) is nothing a later action,
// failing at any point, could bring back as pending.
TEST_F(MaterialEditorTest, AStoreThatWroteNothingIsNotPendingAgainAfterAFailure) {
    start();
    for (int n = 1;; ++n) {
        SCOPED_TRACE(n);
        open();
        lib().goTo(0);
        db->run([&] {
            lib().setText(MaterialPart::Name, "Glycerol");
            lib().post();
        });
        ASSERT_TRUE(lib().saved());
        FaultVfs::arm(n);
        try {
            db->run([&] { lib().remove(); });
        } catch (const StoreError&) {
        }
        const bool fired = FaultVfs::fired();
        FaultVfs::disarm();
        EXPECT_TRUE(lib().saved());
        if (stored("SELECT count(*) FROM RMLib WHERE RMCode = 'GLY'") == "0") {
            lib().append();
            lib().setText(MaterialPart::Code, "GLY");
            lib().setText(MaterialPart::Name, "Glycerol");
            lib().post();
        }
        if (!fired)
            break;
    }
}

TEST_F(MaterialEditorTest, AChangeTheFilesRefuseStaysPending) {
    start();
    const QString before = stored("SELECT group_concat(RMCode || RMCommonName, ',') FROM RMLib");
    for (int n = 1;; ++n) {
        SCOPED_TRACE(n);
        open();
        lib().append();
        lib().setText(MaterialPart::Code, "NPG");
        lib().setText(MaterialPart::Name, "Neopentyl Glycol");
        const quint64 commits = db->commitCount();
        FaultVfs::arm(n);
        bool failed = false;
        try {
            db->run([&] { lib().post(); });
        } catch (const StoreError&) {
            failed = true;
        }
        const bool fired = FaultVfs::fired();
        FaultVfs::disarm();
        const bool reached = db->commitCount() != commits;
        EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'NPG'"), reached ? "1" : "0");
        if (reached) {
            EXPECT_TRUE(lib().saved());
            EXPECT_EQ(shownCode(), "NPG");
        } else {
            EXPECT_TRUE(failed);
            EXPECT_EQ(lib().state(), MaterialEditor::State::Insert);
            EXPECT_EQ(lib().text(MaterialPart::Name, false), "Neopentyl Glycol");
            EXPECT_TRUE(lib().differsFromStored());
            EXPECT_EQ(lib().current(), lib().count() - 1) << "pending, listed last";
            // Stored again once the disk is well.
            lib().post();
            EXPECT_EQ(stored("SELECT count(*) FROM RMLib WHERE RMCode = 'NPG'"), "1");
        }
        // Back to the starting library for the next fault point.
        db->run([&] {
            lib().remove();
        });
        ASSERT_EQ(stored("SELECT group_concat(RMCode || RMCommonName, ',') FROM RMLib"), before);
        if (!fired)
            break;
    }
}
