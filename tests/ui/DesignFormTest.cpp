// Designing the recipe from its targets in the real window, by keyboard: the conditions checked
// with Space and typed, the preview read, Apply with Enter, the panels checked, then Ctrl+Z.
#include "edit/DModUnit.h"
#include "edit/History.h"
#include "ui/DesignForm.h"
#include "ui/Unit1.h"
#include "ui/MessageBox.h"
#include "domain/Design.h"
#include "domain/LineColumns.h"
#include "domain/NumberFormat.h"
#include "domain/ResinProperties.h"
#include "support/GridDriver.h"
#include "support/MainWindowFixture.h"
#include "support/ShownFigures.h"
#include "support/TempData.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

class DesignFromTargets : public MainWindowFixture<>, protected GridDriver {
protected:
    void SetUp() override {
        // Alkyd LO-SOY65 is current: soya bean oil 650, pentaerythritol 130, phthalic anhydride 220.
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
        grid = form.DBGrid1;
    }

    // The dialog the command opens, handled by `inside` while it is open.
    void withDialog(QAction* command, const std::function<void(TFrmDesign&)>& inside) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TFrmDesign*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            seen = true;
            QApplication::setActiveWindow(d);
            QAbstractItemModelTester tester(d->DesignLines->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
            inside(*d);
            if (d->isVisible())
                d->reject();
        });
        command->trigger();
        ASSERT_TRUE(seen);
        QApplication::setActiveWindow(&form);
    }
    static QCheckBox* check(TFrmDesign& d, const char* name) { return d.findChild<QCheckBox*>(name); }
    static QLineEdit* edit(TFrmDesign& d, const char* name) { return d.findChild<QLineEdit*>(name); }
    static QString label(TFrmDesign& d, const char* name) { return d.findChild<QLabel*>(name)->text(); }
    // The condition checked with Space and its target typed over what it showed.
    static void target(TFrmDesign& d, const char* name, const char* value) {
        QCheckBox* box = check(d, (QByteArray("CB") + name).constData());
        box->setFocus();
        if (!box->isChecked())
            QTest::keyClick(box, Qt::Key_Space);
        QTest::keyClick(box, Qt::Key_Tab);
        QLineEdit* e = edit(d, (QByteArray("Ed") + name).constData());
        EXPECT_EQ(QApplication::focusWidget(), e) << name;
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, loc(value));
    }
    std::string masses() {
        return data.query("Recipes.adt", "SELECT group_concat(ItemNum||':'||printf('%.17g', Mass)||'/'||"
                                         "printf('%.17g', Moles), ' ') FROM Recipes WHERE BatchCode = 'LO-SOY65'")
            .toStdString();
    }
    QString panel(const char* name) { return form.findChild<QLabel*>(name)->text(); }
};

TEST_F(DesignFromTargets, TypedTargetsArePreviewedAppliedAsOneActionAndTakenBack) {
    const std::string before = masses();
    const QStringList shownBefore = shownFigures(form);
    ASSERT_EQ(panel("PnlOilLength"), loc("66.6 %"));
    const int actions = form.history()->stack().count();
    // What the program's own solver makes of these targets, to compare the dialog with.
    // Paton's Constant is left as it opens: the recipe's own constant in full, not its rounding.
    const double k = KValue(dm().editor().totals());
    ASSERT_NE(k, 1.041);
    const Design expected = designRecipe(dm().currentRecipe(), dm().library(), {{}, {60.0, std::nullopt, k, 1000.0}});
    ASSERT_TRUE(expected.solved);
    withDialog(form.DesignFromTargets1, [&](TFrmDesign& d) {
        EXPECT_EQ(d.windowTitle(), "Design from Targets");
        EXPECT_EQ(d.DesignLines->rowCount(), 3);
        EXPECT_EQ(d.DesignLines->item(1, TFrmDesign::ColMaterial)->text(), "Pentaerythritol");
        EXPECT_EQ(d.DesignLines->item(1, TFrmDesign::ColMassNow)->text(), loc("130.000"));
        // It opens with the recipe's figures as the main window shows them, Total Charge checked.
        EXPECT_EQ(edit(d, "EdOilLength")->text(), loc("66.6"));
        EXPECT_EQ(edit(d, "EdKValue")->text(), loc("1.041"));
        EXPECT_EQ(edit(d, "EdTotalCharge")->text(), loc("1000.000"));
        EXPECT_EQ(d.EdDesignAV->text(), loc("10.0"));
        EXPECT_TRUE(d.EdDesignAV->isReadOnly());
        EXPECT_TRUE(check(d, "CBTotalCharge")->isChecked());
        EXPECT_FALSE(check(d, "CBOilLength")->isChecked());
        EXPECT_EQ(label(d, "LblDesignMessage"),
                  "3 free lines need 3 conditions; 1 is checked. Check another condition or fix a line.");
        EXPECT_FALSE(d.BtnApply->isEnabled());

        target(d, "OilLength", "60");
        EXPECT_EQ(label(d, "LblDesignMessage"),
                  "3 free lines need 3 conditions; 2 are checked. Check another condition or fix a line.");
        check(d, "CBKValue")->setFocus();
        QTest::keyClick(check(d, "CBKValue"), Qt::Key_Space);
        // Solved at once: the designed masses and the figures the recipe would have.
        // The verdict the main window would show after Apply is said before it.
        EXPECT_TRUE(label(d, "LblDesignMessage")
                        .startsWith("3 masses designed: Apply writes them into their lines. Mind the gel safety: "))
            << label(d, "LblDesignMessage").toStdString();
        EXPECT_EQ(d.LblDesignGelSafety->palette().color(QPalette::Window), QColor(0xFF, 0xC0, 0x00))
            << "amber, as the main window's panel";
        EXPECT_TRUE(d.BtnApply->isEnabled());
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(d.DesignLines->item(row, TFrmDesign::ColMassDesigned)->text(),
                      NumberFormat::format(expected.masses[size_t(row)], "0.000"))
                << row;
        EXPECT_EQ(label(d, "LblDesignOilLength"), loc("60.0 %"));
        EXPECT_EQ(label(d, "LblDesignKValue"), loc("1.041"));
        // The help file's worked example reads these very figures.
        EXPECT_EQ(d.DesignLines->item(0, TFrmDesign::ColMassDesigned)->text(), loc("583.741"));
        EXPECT_EQ(d.DesignLines->item(1, TFrmDesign::ColMassDesigned)->text(), loc("167.578"));
        EXPECT_EQ(d.DesignLines->item(2, TFrmDesign::ColMassDesigned)->text(), loc("248.682"));
        EXPECT_EQ(label(d, "LblDesignExcessOH"), loc("29.2 %"));
        EXPECT_EQ(label(d, "LblDesignOHN"), "100");
        EXPECT_EQ(label(d, "LblDesignYield"), loc("972.9"));
        EXPECT_FALSE(label(d, "LblDesignGelSafety").isEmpty());
        // Enter in a target is Apply.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    // The panels read what the preview said, and the files hold the designed masses exactly.
    EXPECT_EQ(panel("PnlOilLength"), loc("60.0 %"));
    EXPECT_EQ(panel("PnlKValue"), loc("1.041"));
    EXPECT_EQ(form.footerText(LineColumn::Mass), loc("1000.000"));
    for (size_t j = 0; j < 3; ++j)
        EXPECT_DOUBLE_EQ(value(dm().lines().lineAt(int(j)).mass), expected.masses[j]) << j;
    EXPECT_EQ(dm().lines().recNo(), 0) << "the cursor stays where it was";
    EXPECT_EQ(form.history()->stack().count(), actions + 1) << "one action";
    emit form.findChild<QMenu*>("Edit1")->aboutToShow();
    EXPECT_EQ(form.Undo1->text(), "&Undo Design from Targets");

    QApplication::setActiveWindow(&form);
    grid->setFocus();
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(masses(), before);
    EXPECT_EQ(shownFigures(form), shownBefore);
    const QStringList shownDesigned = [&] {
        key(Qt::Key_Y, Qt::ControlModifier);
        return shownFigures(form);
    }();
    EXPECT_EQ(panel("PnlOilLength"), loc("60.0 %")) << "Redo brings the design back";
    for (size_t j = 0; j < 3; ++j)
        EXPECT_DOUBLE_EQ(value(dm().lines().lineAt(int(j)).mass), expected.masses[j]) << j;
    EXPECT_NE(shownDesigned, shownBefore);
}

TEST_F(DesignFromTargets, EscapeAndCancelChangeNothing) {
    const std::string before = masses();
    const int actions = form.history()->stack().count();
    withDialog(form.DesignFromTargets1, [&](TFrmDesign& d) {
        target(d, "OilLength", "60");
        target(d, "KValue", "1.041");
        ASSERT_TRUE(d.BtnApply->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    withDialog(form.DesignFromTargets1, [&](TFrmDesign& d) {
        target(d, "OilLength", "60");
        target(d, "KValue", "1.041");
        d.BtnCancel->click();
    });
    EXPECT_EQ(masses(), before);
    EXPECT_EQ(form.history()->stack().count(), actions);
}

TEST_F(DesignFromTargets, WhatCannotBeSolvedIsSaidAndApplyStaysOff) {
    const std::string before = masses();
    withDialog(form.DesignFromTargets1, [&](TFrmDesign& d) {
        target(d, "OilLength", "60");
        target(d, "KValue", "1.041");
        target(d, "TotalCharge", "1O00");
        EXPECT_EQ(label(d, "LblDesignMessage"),
                  "'1O00' is not a number: type the target for Total Charge, or uncheck it.");
        EXPECT_FALSE(d.BtnApply->isEnabled());
        EXPECT_TRUE(d.DesignLines->item(0, TFrmDesign::ColMassDesigned)->text().isEmpty());
        target(d, "TotalCharge", "");
        EXPECT_EQ(label(d, "LblDesignMessage"), "Type the target for Total Charge, or uncheck it.");
        // An oil length no positive masses reach.
        target(d, "TotalCharge", "1000");
        target(d, "OilLength", "95");
        EXPECT_TRUE(label(d, "LblDesignMessage").endsWith("these targets cannot be reached with these materials."))
            << label(d, "LblDesignMessage").toStdString();
        EXPECT_TRUE(label(d, "LblDesignMessage").contains("would need a negative mass ("));
        EXPECT_FALSE(d.BtnApply->isEnabled());
        // A charge whose oil would be more than a line holds.
        target(d, "OilLength", "60");
        target(d, "TotalCharge", "200000");
        EXPECT_TRUE(label(d, "LblDesignMessage").contains(", more than a line holds (100000): "))
            << label(d, "LblDesignMessage").toStdString();
        EXPECT_FALSE(d.BtnApply->isEnabled());
        // Enter does not apply what has no design.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        // Fixing a line with Space in the table leaves more conditions than free lines.
        d.DesignLines->setFocus();
        d.DesignLines->setCurrentCell(2, TFrmDesign::ColCode);
        QTest::keyClick(d.DesignLines, Qt::Key_Space);
        EXPECT_EQ(d.DesignLines->item(2, TFrmDesign::ColFixed)->checkState(), Qt::Checked);
        EXPECT_EQ(label(d, "LblDesignMessage"),
                  "2 free lines need 2 conditions; 3 are checked. Uncheck a condition or free a line.");
    });
    EXPECT_EQ(masses(), before);
}

// The goal seek needs a line with a mass to work out: not a blank one, nor a new one nobody typed
// into (settling drops it, and the line before it is not what the chemist pointed at).
TEST_F(DesignFromTargets, AdjustMassToTargetNeedsALineWithAMaterial) {
    const std::string before = masses();
    ASSERT_NO_FATAL_FAILURE(click(2, "Mass"));
    key(Qt::Key_Down); // a new line past the last
    ASSERT_EQ(dm().lines().rowCount(), 4);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    form.AdjustMassToTarget1->trigger();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_EQ(MessageBox::history().last().text,
              "Put the cursor on a line of a material that carries acid, anhydride or hydroxyl groups: Adjust Mass "
              "to Target works out that line's mass.");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no dialog opened";
    EXPECT_EQ(masses(), before);
}

// The goal seek: the focused line alone free, the one target checked by the chemist.
TEST_F(DesignFromTargets, AdjustMassToTargetSolvesTheFocusedLineAlone) {
    ASSERT_TRUE(grid->actions().contains(form.AdjustMassToTarget1));
    EXPECT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(form.AdjustMassToTarget1->text(), "Adjust Mass to Target...");
    ASSERT_NO_FATAL_FAILURE(click(1, "Mass"));
    const ::Line oil = dm().lines().lineAt(0), pa = dm().lines().lineAt(2);
    withDialog(form.AdjustMassToTarget1, [&](TFrmDesign& d) {
        for (const char* c : {"CBOilLength", "CBExcessOH", "CBKValue", "CBTotalCharge"})
            EXPECT_FALSE(check(d, c)->isChecked()) << c;
        EXPECT_EQ(d.DesignLines->item(0, TFrmDesign::ColFixed)->checkState(), Qt::Checked);
        EXPECT_EQ(d.DesignLines->item(1, TFrmDesign::ColFixed)->checkState(), Qt::Unchecked);
        EXPECT_EQ(d.DesignLines->item(2, TFrmDesign::ColFixed)->checkState(), Qt::Checked);
        EXPECT_EQ(label(d, "LblDesignMessage"),
                  "1 free line needs 1 condition; none is checked. Check a condition.");
        // A condition left as it opened asks for the recipe's own figure, not its rounding: the
        // mass stays what it is.
        check(d, "CBExcessOH")->setFocus();
        QTest::keyClick(check(d, "CBExcessOH"), Qt::Key_Space);
        EXPECT_EQ(d.DesignLines->item(1, TFrmDesign::ColMassDesigned)->text(), loc("130.000"));
        EXPECT_EQ(d.DesignLines->item(0, TFrmDesign::ColMassDesigned)->text(), loc("650.000")) << "fixed";
        target(d, "ExcessOH", "10");
        ASSERT_TRUE(d.BtnApply->isEnabled()) << label(d, "LblDesignMessage").toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(panel("PnlExcessOH"), loc("10.0 %"));
    // Worked by hand: 4 Eb of pentaerythritol a mole against 1.1 x (3 oil + 2 PA) equivalents.
    const double eb = 1.1 * (value(oil.ea) + value(pa.ea)) - value(oil.eb);
    EXPECT_NEAR(value(dm().lines().lineAt(1).mass), eb / 4 * 136.15, 1e-6);
    EXPECT_EQ(NumberFormat::format(value(dm().lines().lineAt(1).mass), "0.000"), loc("118.816")) << "as the help says";
    EXPECT_EQ(value(dm().lines().lineAt(0).mass), value(oil.mass));
    EXPECT_EQ(value(dm().lines().lineAt(2).mass), value(pa.mass));
    EXPECT_EQ(cursor(), "1:Mass");
}

} // namespace
