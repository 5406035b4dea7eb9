// Undo and redo in the main window, typed as a chemist types them: Ctrl+Z, Ctrl+Y and
// Ctrl+Shift+Z after a charge, a line command, a header edit, a recipe command and a library
// edit. Each time the three files must hold exactly what they held (the dates aside), the window
// must show the recipe the action was made on, and the Edit menu must name what comes next.
#include "edit/DModUnit.h"
#include "ui/Input.h"
#include "ui/LibForm.h"
#include "ui/Unit1.h"
#include "ui/LibraryList.h"
#include "ui/ValueEdit.h"
#include "ui/DBGrid.h"
#include "ui/MessageBox.h"
#include "edit/History.h"
#include "support/FaultVfs.h"
#include "support/GridDriver.h"
#include "support/ShownFigures.h"
#include "support/StoredRows.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <tuple>

namespace {

class Undo : public MainWindowFixture<>, protected GridDriver {
protected:
    void SetUp() override {
        FaultVfs::install(); // before the tables open; it fails nothing until armed
        // Alkyd LO-SOY65 is current: soya bean oil, pentaerythritol, phthalic anhydride.
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
        grid = form.DBGrid1;
    }

    // The three files row by row, every value to the last bit, the dates aside.
    std::string files() { return storedRows(data); }
    QString panel(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    QStringList figures() { return shownFigures(form); }
    // Materials edited in the library window, the edits of one material stored together with
    // Save, and the window closed.
    void storeInLibrary(const std::vector<std::tuple<const char*, const char*, const char*>>& edits) {
        bool stored = false;
        QTimer::singleShot(0, [&] {
            auto* lib = qobject_cast<TFormLib*>(QApplication::activeModalWidget());
            ASSERT_NE(lib, nullptr);
            for (size_t i = 0; i < edits.size(); ++i) {
                const auto [code, edit, value] = edits[i];
                if (i == 0 || QString(code) != std::get<0>(edits[i - 1])) {
                    QAbstractItemModel* listed = lib->LibList->model();
                    int row = 0;
                    while (row < listed->rowCount() && listed->index(row, 0).data().toString() != code)
                        ++row;
                    ASSERT_LT(row, listed->rowCount()) << code;
                    lib->LibList->setCurrentIndex(listed->index(row, 0));
                    lib->ToolButton1->click();
                }
                auto* e = lib->findChild<ValueEdit*>(edit);
                e->setFocus();
                e->selectAll();
                QTest::keyClicks(e, loc(value));
                if (i + 1 == edits.size() || QString(code) != std::get<0>(edits[i + 1]))
                    lib->BtnSave->click();
            }
            stored = true;
            lib->BtnClose->click();
        });
        form.BtnLibrary->click();
        ASSERT_TRUE(stored);
    }
    std::string shown() { return (form.CBResinType->currentText() + "/" + form.CBResinCode->currentText()).toStdString(); }
    std::string undoText() { return form.Undo1->text().toStdString(); }
    std::string redoText() { return form.Redo1->text().toStdString(); }
    void undoKey() { key(Qt::Key_Z, Qt::ControlModifier); }
    // Back in the grid once a dialog has closed: the main window is the active one again.
    void backInTheGrid() {
        // Offscreen, no window manager gives the activation back as the dialog closes.
        QApplication::setActiveWindow(&form);
        grid->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), grid);
    }
    void redoKey() { key(Qt::Key_Y, Qt::ControlModifier); }
    // A charge typed into line `row` and stored with Enter.
    void typeCharge(int row, const char* mass) {
        QApplication::setActiveWindow(&form); // a dialog may have closed before
        ASSERT_NO_FATAL_FAILURE(click(row, "Mass"));
        type(mass);
        key(Qt::Key_Return);
    }
    // The recipe name dialog, filled in from the keyboard once the command has opened it.
    void nameInDialog(const QString& type, const QString& code) {
        QTimer::singleShot(0, [type, code] {
            auto* d = qobject_cast<TFrmInput*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->CBProductType->setFocus();
            QTest::keyClick(d->CBProductType, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(d->CBProductType, type);
            QTest::keyClick(d->CBProductType, Qt::Key_Return);
            QTest::keyClick(d->CBProductCode, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(d->CBProductCode, code);
            QTest::keyClick(d->CBProductCode, Qt::Key_Return);
            QTest::keyClick(d->OKBtn, Qt::Key_Return);
        });
    }
    // The recipe of that name is brought up by typing it into the two boxes.
    void choose(const QString& type, const QString& code) {
        form.CBResinType->setFocus();
        form.CBResinType->lineEdit()->selectAll();
        QTest::keyClicks(form.CBResinType, type);
        QTest::keyClick(form.CBResinType, Qt::Key_Tab);
        form.CBResinCode->lineEdit()->selectAll();
        QTest::keyClicks(form.CBResinCode, code);
        QTest::keyClick(form.CBResinCode, Qt::Key_Tab);
    }
};

} // namespace

// The Edit menu stands between File and View, and names what Undo and Redo would do.
TEST_F(Undo, TheEditMenuStandsBetweenFileAndViewAndNamesTheAction) {
    QStringList menus;
    for (QAction* a : form.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus.join(' '), "&File &Edit View Options Help");
    EXPECT_EQ(undoText(), "&Undo");
    EXPECT_FALSE(form.Undo1->isEnabled()) << "nothing done yet";
    EXPECT_FALSE(form.Redo1->isEnabled());
    EXPECT_EQ(form.Undo1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(form.Redo1->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
}

// A charge typed into the wrong line goes back with Ctrl+Z, figures and all, and comes again with
// Ctrl+Y or Ctrl+Shift+Z.
TEST_F(Undo, ATypedChargeGoesBackAndComesAgain) {
    const std::string before = files();
    const QStringList figuresBefore = figures();
    ASSERT_NO_FATAL_FAILURE(typeCharge(1, "200"));
    const std::string after = files();
    const QStringList figuresAfter = figures();
    ASSERT_NE(after, before);
    EXPECT_EQ(undoText(), "&Undo typing in Mass");

    undoKey();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(figures(), figuresBefore);
    EXPECT_EQ(grid->gridModel()->index(1, grid->gridModel()->columnOf("Mass")).data().toString(), loc("130.000"));
    EXPECT_EQ(grid->currentIndex().row(), 1) << "on the line that changed";
    EXPECT_EQ(undoText(), "&Undo");
    EXPECT_EQ(redoText(), "&Redo typing in Mass");

    redoKey();
    EXPECT_EQ(files(), after);
    EXPECT_EQ(figures(), figuresAfter);
    undoKey();
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(files(), after);
    EXPECT_EQ(MessageBox::history().size(), 0);
}

// Each line command is taken back whole (the line, the numbers of the others, the figures) and
// done again.
TEST_F(Undo, EachLineCommandIsTakenBackWholeAndDoneAgain) {
    struct Command {
        const char* name;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"Add Blank Line", [] { key(Qt::Key_B, Qt::AltModifier); }},
        {"Insert Blank Line", [] { key(Qt::Key_K, Qt::AltModifier); }},
        {"Add Ingredient", [] { key(Qt::Key_G, Qt::AltModifier); }},
        {"Insert Ingredient", [] { key(Qt::Key_I, Qt::AltModifier); }},
        {"OverWrite Ingredient",
         [] {
             MessageBox::setNextAnswer(QMessageBox::Yes); // "Replace ... with ...?"
             key(Qt::Key_W, Qt::AltModifier);
         }},
        {"Delete Line", [] { key(Qt::Key_T, Qt::AltModifier); }},
        {"Delete Line",
         [] {
             MessageBox::setNextAnswer(QMessageBox::Ok); // "Delete record?"
             key(Qt::Key_Delete, Qt::ControlModifier);
         }},
    };
    const std::string before = files();
    const QStringList figuresBefore = figures();
    int boxes = 0;
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(click(1, "RMCode"));
        c.run();
        boxes = int(MessageBox::history().size());
        const std::string after = files();
        const QStringList figuresAfter = figures();
        ASSERT_NE(after, before);
        EXPECT_EQ(undoText(), std::string("&Undo ") + c.name);
        undoKey();
        EXPECT_EQ(files(), before);
        EXPECT_EQ(figures(), figuresBefore);
        redoKey();
        EXPECT_EQ(files(), after);
        EXPECT_EQ(figures(), figuresAfter);
        undoKey();
        EXPECT_EQ(files(), before);
        EXPECT_EQ(int(MessageBox::history().size()), boxes) << "no box but the command's own";
    }
    EXPECT_EQ(boxes, 2);
}

// A header value typed and left with Enter is taken back with the batch it scaled.
TEST_F(Undo, AHeaderEditIsTakenBackWithWhatFollowedFromIt) {
    const std::string before = files();
    const QStringList figuresBefore = figures();
    form.EdDBBatchSize->setFocus();
    form.EdDBBatchSize->selectAll();
    type("2000");
    key(Qt::Key_Return); // on to the next box: the batch is scaled, the header still pending
    ASSERT_NE(figures(), figuresBefore);
    undoKey();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(figures(), figuresBefore);
    EXPECT_EQ(form.EdDBBatchSize->text(), loc("1000.00"));
    EXPECT_EQ(redoText(), "&Redo typing in Batch Size");
    redoKey();
    EXPECT_EQ(form.EdDBBatchSize->text(), loc("2000.00"));
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT Size FROM BatchInfo WHERE BatchCode = 'LO-SOY65'"), "2000.0");

    // In the edit itself, Ctrl+Z first takes back what is typed there, as in any text box.
    form.EdDBDescription->setFocus();
    form.EdDBDescription->selectAll();
    type("Mistyped");
    undoKey();
    EXPECT_TRUE(form.EdDBDescription->text().startsWith("Long-oil soya alkyd"));
    EXPECT_EQ(redoText(), "&Redo") << "the stack is not touched while the box takes the keys";
}

// A header edit of a recipe without lines writes nothing until it is stored: the menu names it,
// and Undo takes it back, not the command before it.
TEST_F(Undo, AHeaderEditNotYetStoredIsWhatUndoNamesAndTakesBack) {
    nameInDialog("Alkyd", "N1");
    key(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(shown(), "Alkyd/N1");
    // Offscreen, no window manager gives the activation back as the dialog closes.
    QApplication::setActiveWindow(&form);
    form.EdDBAV->setFocus();
    form.EdDBAV->selectAll();
    type("12");
    key(Qt::Key_Return); // on to the next box
    ASSERT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode = 'N1'"), "8.0")
        << "pending: the recipe has no lines whose batch it would scale";
    // As the menu opens.
    emit form.findChild<QMenu*>("Edit1")->aboutToShow();
    EXPECT_EQ(undoText(), "&Undo typing in Acid Value");
    EXPECT_EQ(redoText(), "&Redo");
    undoKey();
    EXPECT_EQ(shown(), "Alkyd/N1") << "the new recipe stays";
    EXPECT_EQ(form.EdDBAV->text(), loc("8.0"));
    EXPECT_EQ(undoText(), "&Undo New Recipe");
    EXPECT_EQ(redoText(), "&Redo typing in Acid Value");
}

// New, Save As, Rename and Delete recipe: each taken back shows the recipe it was made on, and
// Delete recipe comes back whole.
TEST_F(Undo, EachRecipeCommandIsTakenBackAndDoneAgain) {
    const std::string start = files();
    struct Step {
        const char* name;
        std::function<void()> run;
        std::string shownAfter;
    };
    const Step steps[] = {
        {"New Recipe",
         [this] {
             nameInDialog("Alkyd", "N1");
             key(Qt::Key_N, Qt::ControlModifier);
         },
         "Alkyd/N1"},
        {"Save As",
         [this] {
             nameInDialog("Polyester", "P9");
             form.BtnSaveAs->click();
         },
         "Polyester/P9"},
        {"Rename",
         [this] {
             nameInDialog("Alkyd", "LO-SOY66");
             form.BtnRename->click();
         },
         "Alkyd/LO-SOY66"},
        {"Delete Recipe",
         [this] {
             MessageBox::setNextAnswer(QMessageBox::Yes); // "Delete batch ...?"
             form.BtnDeleteRecipe->click();
         },
         ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        choose("Alkyd", "LO-SOY65");
        ASSERT_EQ(shown(), "Alkyd/LO-SOY65");
        const std::string before = files();
        const QStringList figuresBefore = figures();
        s.run();
        const std::string after = files();
        ASSERT_NE(after, before);
        if (!s.shownAfter.empty()) {
            EXPECT_EQ(shown(), s.shownAfter);
        }
        const std::string shownAfter = shown();
        EXPECT_EQ(undoText(), std::string("&Undo ") + s.name);
        ASSERT_NO_FATAL_FAILURE(backInTheGrid());
        undoKey();
        EXPECT_EQ(files(), before);
        EXPECT_EQ(shown(), "Alkyd/LO-SOY65") << "the recipe the command was made on";
        EXPECT_EQ(figures(), figuresBefore);
        EXPECT_EQ(grid->gridModel()->rowCount(), 3);
        redoKey();
        EXPECT_EQ(files(), after);
        EXPECT_EQ(shown(), shownAfter);
        undoKey();
        EXPECT_EQ(files(), before);
    }
    EXPECT_EQ(files(), start);
    EXPECT_EQ(form.CBResinCode->findText("N1"), -1) << "the lists show the recipes there are";
    EXPECT_EQ(MessageBox::history().size(), 1u) << "the question of Delete recipe, and no other box";
}

// A material corrected in the library window is taken back from the main window after it closed,
// with the lines that were worked out again for it.
TEST_F(Undo, ALibraryEditIsTakenBackFromTheMainWindow) {
    const std::string before = files();
    const QStringList figuresBefore = figures();
    // Pentaerythritol, given a molecular mass of 140 and a price of 3.
    ASSERT_NO_FATAL_FAILURE(storeInLibrary({{"PE", "EdDBRMMWt", "140"}, {"PE", "EdDBRMPrice", "3"}}));
    const std::string after = files();
    const QStringList figuresAfter = figures();
    ASSERT_NE(figuresAfter, figuresBefore) << "the pentaerythritol line was worked out again";
    EXPECT_EQ(undoText(), "&Undo Edit Material PE");
    ASSERT_NO_FATAL_FAILURE(backInTheGrid());
    undoKey();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(figures(), figuresBefore);
    redoKey();
    EXPECT_EQ(files(), after);
    EXPECT_EQ(figures(), figuresAfter);
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// A material added, then deleted, in the library window: each is an action of its own, taken
// back in turn from the main window and done again, the files as they were at each step.
TEST_F(Undo, AMaterialAddedAndDeletedInTheLibraryComeBackInTurn) {
    const std::string start = files();
    std::string added;
    bool done = false;
    QTimer::singleShot(0, [&] {
        auto* lib = qobject_cast<TFormLib*>(QApplication::activeModalWidget());
        ASSERT_NE(lib, nullptr);
        lib->ToolButton3->click();
        for (const auto& [edit, text] : {std::pair{"EdDBRMCode", "MPD"}, {"EdDBRMCommonName", "Methylpropanediol"}}) {
            auto* e = lib->findChild<ValueEdit*>(edit);
            e->setFocus();
            QTest::keyClicks(e, text);
        }
        lib->BtnSave->click();
        added = files();
        lib->ToolButton5->click(); // no line uses it: deleted without a question
        done = true;
        lib->BtnClose->click();
    });
    form.BtnLibrary->click();
    ASSERT_TRUE(done);
    const std::string deleted = files();
    EXPECT_NE(added, start);
    EXPECT_EQ(deleted, start) << "the deleted material is gone again";
    EXPECT_EQ(undoText(), "&Undo Delete Material MPD");
    ASSERT_NO_FATAL_FAILURE(backInTheGrid());
    undoKey();
    EXPECT_EQ(files(), added);
    EXPECT_EQ(undoText(), "&Undo Add Material MPD");
    undoKey();
    EXPECT_EQ(files(), start);
    redoKey();
    redoKey();
    EXPECT_EQ(files(), deleted);
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// A material renamed in the library window is listed under its name again after the undo, and
// the list keeps the material it had highlighted.
TEST_F(Undo, TheSelectionListFollowsAnUndoneLibraryEdit) {
    const auto listed = [&] {
        QStringList names;
        for (int r = 0; r < form.LkUpRM->model()->rowCount(); ++r)
            names << form.LkUpRM->model()->index(r, 0).data().toString();
        return names;
    };
    ASSERT_TRUE(form.LkUpRM->highlightCode("PE"));
    const QStringList before = listed();
    ASSERT_NO_FATAL_FAILURE(storeInLibrary({{"PE", "EdDBRMCommonName", "Penta"}}));
    EXPECT_TRUE(listed().contains("Penta"));
    ASSERT_NO_FATAL_FAILURE(backInTheGrid());
    QSignalSpy readAgain(form.LkUpRM->model(), &QAbstractItemModel::modelReset);
    undoKey();
    EXPECT_EQ(readAgain.count(), 1) << "the list reads the library the undo wrote";
    EXPECT_EQ(listed(), before);
    ASSERT_TRUE(form.chosenMaterial());
    EXPECT_EQ(form.chosenMaterial()->name, "Pentaerythritol");
    redoKey();
    EXPECT_EQ(readAgain.count(), 2);
    ASSERT_TRUE(form.chosenMaterial());
    EXPECT_EQ(form.chosenMaterial()->name, "Penta");
    // An action on a recipe alone leaves the list as it was.
    form.BtnAddBlank->click();
    EXPECT_EQ(readAgain.count(), 2);
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// An action on another recipe is taken back there: the window first brings that recipe back.
TEST_F(Undo, UndoAcrossARecipeSwitchBringsTheRecipeBack) {
    const std::string before = files();
    ASSERT_NO_FATAL_FAILURE(typeCharge(2, "250"));
    choose("Polyester", "SP-NPG01");
    ASSERT_EQ(shown(), "Polyester/SP-NPG01");
    const std::string switched = files(); // a recipe shown has its batch worked out, no action
    ASSERT_NO_FATAL_FAILURE(backInTheGrid());
    undoKey();
    EXPECT_EQ(shown(), "Alkyd/LO-SOY65");
    EXPECT_EQ(grid->gridModel()->index(2, grid->gridModel()->columnOf("Mass")).data().toString(), loc("220.000"));
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT Mass FROM Recipes WHERE BatchCode = 'LO-SOY65' AND ItemNum = 3"),
              "220.0");
    (void)before;
    (void)switched;
}

// Ten actions of every kind, ten undos and ten redos: the files are exactly what they were at
// each end.
TEST_F(Undo, TenUndosThenTenRedosGiveTheFilesExactly) {
    const std::string start = files();
    const std::function<void()> actions[] = {
        [this] { typeCharge(0, "600"); },
        [this] { typeCharge(2, "230"); },
        [] { key(Qt::Key_B, Qt::AltModifier); },
        [] {
            type("gly"); // the blank line's code
            key(Qt::Key_Tab);
            type("40");
            key(Qt::Key_Return);
        },
        [this] {
            ASSERT_NO_FATAL_FAILURE(click(1, "RMCode"));
            key(Qt::Key_I, Qt::AltModifier);
        },
        [this] {
            ASSERT_NO_FATAL_FAILURE(click(0, "RMCode"));
            key(Qt::Key_T, Qt::AltModifier);
        },
        [this] {
            form.EdDBAV->setFocus();
            form.EdDBAV->selectAll();
            type(loc("12.5"));
            key(Qt::Key_Return);
            form.BtnSave->click();
        },
        [this] {
            nameInDialog("Alkyd", "COPY1");
            form.BtnSaveAs->click();
        },
        [this] { typeCharge(1, "99"); },
        [this] {
            MessageBox::setNextAnswer(QMessageBox::Yes);
            form.BtnDeleteRecipe->click();
        },
    };
    std::vector<std::string> states{start};
    for (const auto& a : actions) {
        a();
        states.push_back(files());
        ASSERT_NE(states.back(), states[states.size() - 2]) << "action " << states.size() - 1 << " changed nothing";
    }
    ASSERT_EQ(form.history()->stack().count(), 10);
    for (int i = 10; i > 0; --i) {
        ASSERT_NO_FATAL_FAILURE(backInTheGrid());
        undoKey();
        EXPECT_EQ(files(), states[size_t(i - 1)]) << "after undo back to " << i - 1;
    }
    EXPECT_FALSE(form.Undo1->isEnabled());
    for (int i = 1; i <= 10; ++i) {
        ASSERT_NO_FATAL_FAILURE(backInTheGrid());
        redoKey();
        EXPECT_EQ(files(), states[size_t(i)]) << "after redo to " << i;
    }
    EXPECT_FALSE(form.Redo1->isEnabled());
}

// A refused action writes nothing and never reaches the stack; an undo the files refuse says so
// and leaves the stack where it was.
TEST_F(Undo, ARefusedActionOrUndoLeavesTheStackAsItWas) {
    ASSERT_NO_FATAL_FAILURE(typeCharge(1, "150"));
    const std::string typed = files();
    ASSERT_NO_FATAL_FAILURE(click(2, "RMCode"));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    type("PX");
    key(Qt::Key_Return);
    ASSERT_EQ(MessageBox::history().size(), 1u);
    EXPECT_EQ(MessageBox::history()[0].text, "There is no material with the code 'PX' in the library.");
    key(Qt::Key_Escape);
    EXPECT_EQ(form.history()->stack().count(), 1);
    EXPECT_EQ(undoText(), "&Undo typing in Mass");

    MessageBox::setNextAnswer(QMessageBox::Ok);
    ASSERT_NO_FATAL_FAILURE(backInTheGrid());
    FaultVfs::arm(1, FaultVfs::Mode::FromThenOn, FaultVfs::Failure::DiskFull);
    undoKey();
    FaultVfs::disarm();
    ASSERT_EQ(MessageBox::history().size(), 2u);
    EXPECT_TRUE(MessageBox::history()[1].text.contains("not stored")) << MessageBox::history()[1].text.toStdString();
    EXPECT_EQ(files(), typed);
    EXPECT_EQ(undoText(), "&Undo typing in Mass");
    EXPECT_EQ(form.history()->stack().index(), 1);
    undoKey();
    EXPECT_EQ(grid->gridModel()->index(1, grid->gridModel()->columnOf("Mass")).data().toString(), loc("130.000"));
    EXPECT_EQ(redoText(), "&Redo typing in Mass");
}

// A batch size typed, then a description, then Save: one action, taken back whole with the
// lines it scaled. Ctrl+Z in a box whose text the program has taken, or in the recipe boxes, is
// the window's.
TEST_F(Undo, AHeaderTypedOverSeveralBoxesIsOneActionAndTheBoxesPassTheKeys) {
    const std::string before = files();
    const QStringList figuresBefore = figures();
    form.EdDBBatchSize->setFocus();
    form.EdDBBatchSize->selectAll();
    type("2000");
    key(Qt::Key_Tab);
    form.EdDBDescription->setFocus();
    form.EdDBDescription->selectAll();
    type("Soya alkyd, batch of two tonnes");
    form.BtnSave->click(); // takes no focus: the description box keeps it
    ASSERT_TRUE(form.EdDBDescription->hasFocus());
    EXPECT_EQ(form.history()->stack().count(), 1);
    EXPECT_EQ(undoText(), "&Undo typing in Batch Size, Description");
    undoKey();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(figures(), figuresBefore);
    EXPECT_TRUE(form.EdDBDescription->text().startsWith("Long-oil soya alkyd"));
    form.CBResinCode->setFocus();
    redoKey();
    EXPECT_EQ(form.EdDBDescription->text(), "Soya alkyd, batch of two tonnes");
    EXPECT_EQ(form.EdDBBatchSize->text(), loc("2000.00"));
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// OverWrite on a blank line stores the material as the user leaves the line: that is the
// OverWrite, taken back before the blank line it went on.
TEST_F(Undo, OverWriteOnABlankLineIsAnActionOfItsOwn) {
    const std::string before = files();
    const auto fourth = [this] {
        return data.query("Recipes.adt", "SELECT ifnull(RMCode, '-') FROM Recipes WHERE BatchCode = 'LO-SOY65' "
                                         "AND ItemNum = 4");
    };
    ASSERT_NO_FATAL_FAILURE(click(0, "RMCode"));
    key(Qt::Key_B, Qt::AltModifier);
    const std::string blank = files();
    EXPECT_EQ(fourth(), "-");
    key(Qt::Key_W, Qt::AltModifier); // the material chosen in the list, onto the blank line
    undoKey();
    EXPECT_EQ(files(), blank);
    EXPECT_EQ(redoText(), "&Redo OverWrite Ingredient");
    redoKey();
    const std::string overwritten = files();
    EXPECT_NE(fourth(), "-") << "the material is on the line";
    undoKey();
    undoKey();
    EXPECT_EQ(files(), before);
    redoKey();
    redoKey();
    EXPECT_EQ(files(), overwritten);
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// Two materials corrected in one visit of the library: the lines worked out again on closing
// are an action of their own, and the three undos give the files back exactly.
TEST_F(Undo, TwoLibraryEditsAndTheLinesWorkedOutAgainComeBackInTurn) {
    const std::string before = files();
    const QStringList figuresBefore = figures();
    ASSERT_NO_FATAL_FAILURE(storeInLibrary({{"PE", "EdDBRMMWt", "140"}, {"PA", "EdDBRMPrice", "2"}}));
    ASSERT_NE(figures(), figuresBefore);
    EXPECT_EQ(form.history()->stack().count(), 3);
    EXPECT_EQ(undoText(), "&Undo Recalculate Lines");
    ASSERT_NO_FATAL_FAILURE(backInTheGrid());
    undoKey();
    EXPECT_EQ(undoText(), "&Undo Edit Material PA");
    undoKey();
    undoKey();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(figures(), figuresBefore);
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// A line begun with Insert and left untouched is dropped by Ctrl+Z, not stored as a blank line
// that Undo would then take back instead of the charge.
TEST_F(Undo, ALineBegunAndUntouchedIsDroppedBeforeTheUndo) {
    const std::string before = files();
    ASSERT_NO_FATAL_FAILURE(typeCharge(1, "140"));
    const std::string after = files();
    key(Qt::Key_Insert);
    ASSERT_EQ(grid->gridModel()->rowCount(), 4);
    undoKey();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(grid->gridModel()->rowCount(), 3);
    redoKey();
    EXPECT_EQ(files(), after);
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// While a cell or a box holds typing not yet taken, the Edit menu's items are that typing's:
// Undo takes it back there, and Redo never stores it (which would end what there is to redo).
TEST_F(Undo, WhileACellIsBeingTypedInTheMenuItemsAreItsOwn) {
    ASSERT_NO_FATAL_FAILURE(typeCharge(1, "140"));
    const std::string typed = files();
    undoKey();
    ASSERT_EQ(redoText(), "&Redo typing in Mass");
    const std::string before = files();
    ASSERT_NO_FATAL_FAILURE(click(2, "Mass"));
    type("55"); // the cell is open, nothing taken yet
    auto* edit = form.findChild<QMenu*>("Edit1");
    emit edit->aboutToShow();
    EXPECT_EQ(undoText(), "&Undo typing");
    EXPECT_EQ(redoText(), "&Redo");
    form.Undo1->trigger();
    emit edit->aboutToHide();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(redoText(), "&Redo typing in Mass") << "the menu closed, the items are the recipe's again";
    EXPECT_EQ(QApplication::focusWidget()->property("text").toString(), loc("220.000")) << "the cell as it was";
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
    EXPECT_EQ(form.history()->stack().count(), 1) << "the redo is still there";

    form.EdDBAV->setFocus();
    form.EdDBAV->selectAll();
    type("9");
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(files(), before) << "the acid value typed is not stored by a redo";
    EXPECT_EQ(form.history()->stack().count(), 1);
    form.EdDBAV->undo();
    form.EdDBAV->undo();
    ASSERT_NO_FATAL_FAILURE(backInTheGrid());
    redoKey();
    EXPECT_EQ(files(), typed);
    EXPECT_EQ(MessageBox::history().size(), 0u);
}

// A code refused in a blank line leaves no empty steps behind: the undo after it takes back
// the blank line itself.
TEST_F(Undo, ARefusedCodeLeavesNoEmptyStep) {
    const std::string before = files();
    ASSERT_NO_FATAL_FAILURE(click(0, "RMCode"));
    key(Qt::Key_B, Qt::AltModifier);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    type("zzz");
    key(Qt::Key_Tab);
    ASSERT_EQ(MessageBox::history().size(), 1u);
    undoKey(); // the cell's own typing
    undoKey();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(redoText(), "&Redo Add Blank Line");
    EXPECT_EQ(form.history()->stack().count(), 1);
}
