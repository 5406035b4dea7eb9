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
                                        TempData::material("PE", "Pentaerythritol", "Base", 136.15, 0, 0, 4, 2)) {
        data.create({}, {}, library);
        open();
    }
    void open() {
        tester.reset();
        dm.reset();
        db.reset();
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form, form.editor);
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
    EXPECT_EQ(listed(), QStringList({"GLY", "PA", "PE", "SOY"}));
    lib().goTo(2);
    EXPECT_EQ(shownCode(), "PE");
    // A type shows its first material; all of them again keep the one shown.
    lib().setType(MaterialType::Base);
    EXPECT_EQ(listed(), QStringList({"GLY", "PE"}));
    EXPECT_EQ(shownCode(), "GLY");
    lib().goTo(1);
    lib().setType(std::nullopt);
    EXPECT_EQ(shownCode(), "PE");
    EXPECT_EQ(lib().current(), 2);
    // A new material is none of those listed; dropped, the one shown before is back.
    lib().append();
    EXPECT_EQ(shownCode(), "");
    lib().cancel();
    EXPECT_EQ(shownCode(), "PE");
    // Deleted, a material leaves its place to the next; the last to the one before it.
    lib().remove();
    EXPECT_EQ(shownCode(), "SOY");
    lib().remove();
    EXPECT_EQ(shownCode(), "PA");
    EXPECT_EQ(stored("SELECT group_concat(RMCode) FROM RMLib"), "GLY,PA");
    // The type outlives the list, which is read again at the next opening.
    lib().setType(MaterialType::Oil);
    lib().close();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_THROW(lib().remove(), StoreError);
    lib().edit();
    EXPECT_EQ(lib().state(), MaterialEditor::State::Insert) << "on an empty list, Edit begins a new material";
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
    // A type the list does not show takes the material stored out of it.
    lib().setType(MaterialType::Base);
    lib().setText(MaterialPart::Type, "Acid");
    lib().post();
    EXPECT_EQ(listed(), QStringList({"PE"}));
    EXPECT_EQ(shownCode(), "PE");
    EXPECT_EQ(stored("SELECT RMType FROM RMLib WHERE RMCode = 'GLY'"), "Acid");
    lib().setType(std::nullopt);
    lib().goTo(0);
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
// exactly when the action says it was stored, and otherwise the change is pending as typed.
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
            EXPECT_FALSE(listed().contains("NPG"));
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
