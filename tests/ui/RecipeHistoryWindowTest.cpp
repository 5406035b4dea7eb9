// The recipe history, the comparison and the deleted recipes, driven from the main window by
// keyboard: versions listed with the figures the main window showed, a version restored and taken
// back with Ctrl+Z, a note, Save As, two recipes compared and printed, a deleted recipe brought
// back with its history.
#include "edit/DModUnit.h"
#include "edit/VersionListModel.h"
#include "ui/CompareForm.h"
#include "ui/DeletedRecipesForm.h"
#include "ui/FileDialog.h"
#include "ui/Input.h"
#include "ui/MessageBox.h"
#include "ui/RecipeHistoryForm.h"
#include "ui/Unit1.h"
#include "ui/ValueEdit.h"
#include "domain/Figures.h"
#include "domain/GelSafety.h"
#include "domain/NumberFormat.h"
#include "domain/Totals.h"
#include "support/GridDriver.h"
#include "support/MainWindowFixture.h"
#include "support/PdfWords.h"
#include "support/ShownFigures.h"
#include "support/TempData.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class RecipeHistoryWindow : public MainWindowFixture<>, protected GridDriver {
protected:
    void SetUp() override {
        // Alkyd LO-SOY65 is current: soya bean oil 650, pentaerythritol 130, phthalic anhydride 220.
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
        grid = form.DBGrid1;
    }

    // Two masses typed down the Mass column: two versions, the newest soya 640 and PE 140.
    void typeTwoVersions() {
        ASSERT_NO_FATAL_FAILURE(click(0, "Mass"));
        type(loc("640"));
        key(Qt::Key_Return);
        ASSERT_NO_FATAL_FAILURE(click(1, "Mass"));
        type(loc("140"));
        key(Qt::Key_Return);
        QTest::qWait(5);
    }

    // The modal window `open` brings up, handled by `inside` while it is open; every model in it
    // checked as it is driven.
    template <class Window>
    void withWindow(const std::function<void()>& open, const std::function<void(Window&)>& inside) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<Window*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            seen = true;
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
            QApplication::setActiveWindow(w);
            ASSERT_TRUE(QTest::qWaitForWindowActive(w));
            std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
            for (QTableView* t : w->template findChildren<QTableView*>())
                testers.push_back(std::make_unique<QAbstractItemModelTester>(
                    t->model(), QAbstractItemModelTester::FailureReportingMode::Warning));
            inside(*w);
            if (w->isVisible())
                w->reject();
        });
        open();
        ASSERT_TRUE(seen);
        QApplication::setActiveWindow(&form);
    }
    void openHistory(const std::function<void(TFrmRecipeHistory&)>& inside) {
        withWindow<TFrmRecipeHistory>([&] { QTest::keyClick(&form, Qt::Key_H, Qt::ControlModifier); }, inside);
    }
    static QString cell(QTableView* t, int row, int column) {
        return t->model()->index(row, column).data().toString();
    }
    // A button of a window pressed from the keyboard: it answers to Alt and its underlined letter,
    // and takes Space once the focus is on it.
    static void press(QPushButton* button, Qt::Key mnemonic) {
        EXPECT_EQ(button->shortcut(), QKeySequence(Qt::ALT | mnemonic)) << button->objectName().toStdString();
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
    }
    QString panel(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    QString storedMass(int item, const char* code = "LO-SOY65") {
        return data.query("Recipes.adt",
                          QStringLiteral("SELECT Mass FROM Recipes WHERE BatchCode = '%1' AND ItemNum = %2").arg(code).arg(item));
    }
};

TEST_F(RecipeHistoryWindow, ListsVersionsWithTheShownFiguresAndRestoresOneThatCtrlZTakesBack) {
    ASSERT_NO_FATAL_FAILURE(typeTwoVersions());
    const QStringList typed = shownFigures(form);
    const QString cost = figureOfReportLabel("LblCost")->reportText(dm().editor().totals());
    openHistory([&](TFrmRecipeHistory& h) {
        EXPECT_EQ(h.windowTitle(), "Recipe History - Alkyd LO-SOY65");
        EXPECT_FALSE(h.LblHistoryState->isVisible());
        QTableView* list = h.VersionList;
        ASSERT_EQ(list->model()->rowCount(), 3) << "the recipe as it came, and the two masses";
        EXPECT_EQ(QApplication::focusWidget(), list);
        EXPECT_EQ(cell(list, 2, VersionListModel::Action), "Original");
        EXPECT_EQ(cell(list, 2, VersionListModel::KValue), loc("1.041"));
        EXPECT_EQ(cell(list, 2, VersionListModel::OilLength), loc("66.6 %"));
        EXPECT_EQ(cell(list, 0, VersionListModel::Action), "typing in Mass");
        // The newest version is the recipe the main window shows: the same figures, to the digit.
        EXPECT_EQ(cell(list, 0, VersionListModel::KValue), panel("PnlKValue"));
        EXPECT_EQ(cell(list, 0, VersionListModel::OilLength), panel("PnlOilLength"));
        EXPECT_EQ(cell(list, 0, VersionListModel::ExcessOH), panel("PnlExcessOH"));
        EXPECT_EQ(cell(list, 0, VersionListModel::AVAtGel), panel("PnlAVAtGel"));
        EXPECT_EQ(cell(list, 0, VersionListModel::CostPerMass), cost);
        EXPECT_EQ(list->model()->headerData(VersionListModel::KValue, Qt::Horizontal).toString(), "Paton's Constant");
        EXPECT_EQ(cell(h.VersionLines, 1, 3), loc("140.000"));

        // Down to the older version: its lines, and Restore with its key.
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(cell(h.VersionLines, 0, 3), loc("640.000"));
        EXPECT_EQ(cell(h.VersionLines, 1, 3), loc("130.000"));
        press(h.BtnRestore, Qt::Key_R);
        EXPECT_EQ(storedMass(2), "130.0");
        ASSERT_EQ(list->model()->rowCount(), 4);
        EXPECT_EQ(cell(list, 0, VersionListModel::Action), "Restore Version");
        EXPECT_EQ(cell(list, 0, VersionListModel::KValue), cell(list, 2, VersionListModel::KValue));
        EXPECT_EQ(panel("PnlKValue"), cell(list, 0, VersionListModel::KValue)) << "the main window shows it";

        // Ctrl+Z here takes the restore back, and the list follows.
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(storedMass(2), "140.0");
        ASSERT_EQ(list->model()->rowCount(), 5);
        EXPECT_EQ(cell(list, 0, VersionListModel::KValue), cell(list, 2, VersionListModel::KValue));
        QTest::keyClick(list, Qt::Key_Escape);
        EXPECT_FALSE(h.isVisible());
    });
    EXPECT_EQ(shownFigures(form), typed);
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(RecipeHistoryWindow, AHeaderChangeNotYetSavedIsAVersionBeforeTheHistoryOpensAndSurvivesARestoreUndone) {
    ValueEdit* av = form.EdDBAV;
    av->setFocus();
    QTest::keyClick(av, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(av, loc("12.0"));
    openHistory([&](TFrmRecipeHistory& h) {
        QTableView* list = h.VersionList;
        ASSERT_EQ(list->model()->rowCount(), 2);
        EXPECT_EQ(cell(list, 1, VersionListModel::Action), "Original");
        EXPECT_EQ(cell(list, 0, VersionListModel::AVAtGel), panel("PnlAVAtGel"));
        // The recipe as it came back over it, and taken back: the typed acid value stays.
        QTest::keyClick(list, Qt::Key_Down);
        press(h.BtnRestore, Qt::Key_R);
        EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode = 'LO-SOY65'"), "10.0");
        QTest::keyClick(h.VersionList, Qt::Key_Z, Qt::ControlModifier);
    });
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode = 'LO-SOY65'"), "12.0");
    EXPECT_EQ(av->text(), loc("12.0"));
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(RecipeHistoryWindow, ANoteIsKeptAndAVersionIsSavedUnderANewName) {
    ASSERT_NO_FATAL_FAILURE(typeTwoVersions());
    openHistory([&](TFrmRecipeHistory& h) {
        QTest::keyClick(h.VersionList, Qt::Key_Down);
        // The note asked for, typed and taken with Enter.
        QTimer::singleShot(0, [&] {
            auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(ask, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(ask));
            QLineEdit* note = ask->findChild<QLineEdit*>();
            QTest::keyClicks(note, "trial 14, cooked");
            QTest::keyClick(note, Qt::Key_Return);
        });
        press(h.BtnNote, Qt::Key_N);
        EXPECT_EQ(cell(h.VersionList, 1, VersionListModel::Note), "trial 14, cooked");
        EXPECT_EQ(data.query("History.adt", "SELECT group_concat(Note, '|') FROM Versions WHERE Note <> ''"),
                  "trial 14, cooked");

        // Save As: the name dialog proposes the type; the code typed, Enter to OK.
        QTimer::singleShot(0, [&] {
            auto* input = qobject_cast<TFrmInput*>(QApplication::activeModalWidget());
            ASSERT_NE(input, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(input));
            EXPECT_EQ(input->windowTitle(), "Save Recipe AS");
            EXPECT_EQ(input->CBProductType->currentText(), "Alkyd");
            QTest::keyClick(input->CBProductType, Qt::Key_Return);
            QTest::keyClicks(input->CBProductCode, "T14");
            QTest::keyClick(input->CBProductCode, Qt::Key_Return);
            QTest::keyClick(input->OKBtn, Qt::Key_Return);
        });
        press(h.BtnSaveVersionAs, Qt::Key_A);
    });
    EXPECT_EQ(form.CBResinCode->currentText(), "T14");
    EXPECT_EQ(storedMass(1, "T14"), "640.0");
    EXPECT_EQ(storedMass(2, "T14"), "130.0");
    EXPECT_EQ(storedMass(2), "140.0") << "the recipe the version came from stays";
    // The new recipe's history begins with the Save As.
    openHistory([&](TFrmRecipeHistory& h) {
        EXPECT_EQ(h.windowTitle(), "Recipe History - Alkyd T14");
        ASSERT_EQ(h.VersionList->model()->rowCount(), 1);
        EXPECT_EQ(cell(h.VersionList, 0, VersionListModel::Action), "Save As");
    });
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(RecipeHistoryWindow, TwoRecipesOfDifferentMaterialsCompareLineByLineAndFigureByFigure) {
    // LO-SOY65 beside SO-COC35 (coconut oil, glycerol, phthalic anhydride).
    const Recipe soy = dm().currentRecipe();
    const Recipe coconut = *dm().storedRecipe("Alkyd", "SO-COC35");
    withWindow<TFrmCompare>([&] { form.CompareRecipes1->trigger(); }, [&](TFrmCompare& c) {
        EXPECT_EQ(c.LblFirst->text(), "Alkyd LO-SOY65");
        EXPECT_EQ(QApplication::focusWidget(), c.CBCompareWith);
        // Beside itself until another is chosen: nothing differs.
        for (const Comparison::FigureRow& f : c.comparison().figures)
            EXPECT_TRUE(f.difference.isEmpty()) << f.name.toStdString();
        QLineEdit* typed = c.CBCompareWith->lineEdit();
        typed->selectAll();
        QTest::keyClicks(typed, "Alkyd SO-COC35");
        QTest::keyClick(typed, Qt::Key_Return);
        ASSERT_EQ(c.CBCompareWith->currentText(), "Alkyd SO-COC35");

        QTableView* lines = c.CompareLines;
        const int n = lines->model()->rowCount();
        ASSERT_EQ(n, int(soy.lines.size() + coconut.lines.size()) - 1) << "phthalic anhydride is on both";
        int both = 0;
        for (int r = 0; r < n; ++r) {
            const QString code = cell(lines, r, 0);
            const QModelIndex diff = lines->model()->index(r, 4);
            const QColor ground = diff.data(Qt::BackgroundRole).value<QBrush>().color();
            if (cell(lines, r, 2).isEmpty()) {
                EXPECT_EQ(cell(lines, r, 4), "added") << code.toStdString();
                EXPECT_EQ(ground, TFrmCompare::addedColour());
            } else if (cell(lines, r, 3).isEmpty()) {
                EXPECT_EQ(cell(lines, r, 4), "removed") << code.toStdString();
                EXPECT_EQ(ground, TFrmCompare::removedColour());
            } else {
                ++both;
                EXPECT_EQ(code, "PA");
                double a = 0, b = 0, d = 0;
                ASSERT_TRUE(NumberFormat::parse(cell(lines, r, 2), &a) && NumberFormat::parse(cell(lines, r, 3), &b));
                if (a != b) {
                    ASSERT_TRUE(NumberFormat::parse(cell(lines, r, 4).remove(u'+'), &d));
                    EXPECT_NEAR(d, b - a, 1e-9);
                    EXPECT_EQ(ground, TFrmCompare::changedColour());
                }
            }
        }
        EXPECT_EQ(both, 1);

        // Every figure, each side as the main window writes it, and their difference as read.
        const TReactionTotals first = figuresOf(soy, dm().library()), second = figuresOf(coconut, dm().library());
        QTableView* figs = c.CompareFigures;
        // The headers first, then the figures.
        const int k = int(c.comparison().header.size());
        ASSERT_EQ(figs->model()->rowCount(), k + int(c.comparison().figures.size()));
        EXPECT_EQ(cell(figs, 0, 0), "Description");
        EXPECT_EQ(cell(figs, 0, 2), coconut.header.description);
        EXPECT_EQ(cell(figs, k, 0), "Paton's Constant");
        EXPECT_EQ(cell(figs, k, 1), panel("PnlKValue"));
        EXPECT_EQ(cell(figs, k, 2), figureOfPanel("PnlKValue")->panelText(second));
        const Figure* oil = figureOfPanel("PnlOilLength");
        for (int r = 0; r < figs->model()->rowCount(); ++r)
            if (cell(figs, r, 0) == "Oil Length") {
                EXPECT_EQ(cell(figs, r, 1), oil->panelText(first));
                EXPECT_EQ(cell(figs, r, 2), oil->panelText(second));
                double a = 0, b = 0, d = 0;
                NumberFormat::parse(oil->panelText(first).chopped(2), &a);
                NumberFormat::parse(oil->panelText(second).chopped(2), &b);
                NumberFormat::parse(cell(figs, r, 3).chopped(2).remove(u'+'), &d);
                EXPECT_NEAR(d, b - a, 1e-9);
            }
        EXPECT_EQ(c.LblFirstGel->text(), AssessGel(first).brief);
        EXPECT_EQ(c.LblSecondGel->text(), AssessGel(second).brief.isEmpty() ? "No gel point is predicted."
                                                                              : AssessGel(second).brief);

        // Saved as PDF: the paper carries both names and the differences.
        const QString pdf = data.file("compare.pdf");
        FileDialog::setNextAnswer(pdf);
        press(c.BtnPdf, Qt::Key_D);
        EXPECT_TRUE(FileDialog::lastProposed().endsWith("/Alkyd LO-SOY65 vs Alkyd SO-COC35.pdf"))
            << FileDialog::lastProposed().toStdString();
        QString error;
        const std::vector<PdfWord> words = pdfWords(pdf, &error);
        ASSERT_FALSE(words.empty()) << error.toStdString();
        const QString page = pageText(words, 1);
        EXPECT_TRUE(page.contains("Recipe Comparison"));
        EXPECT_TRUE(page.contains("SO-COC35"));
        EXPECT_TRUE(page.contains("removed"));
        EXPECT_TRUE(page.contains("added"));
        EXPECT_TRUE(page.contains(cell(figs, k, 3))) << page.toStdString();
        EXPECT_TRUE(page.contains(coconut.header.description.left(20))) << page.toStdString();
    });
    EXPECT_EQ(FileDialog::takeUnusedAnswers(), 0);
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(RecipeHistoryWindow, ADeletedRecipeComesBackWithItsHistoryAndUnderANewNameWhenItsOwnIsTaken) {
    ASSERT_NO_FATAL_FAILURE(typeTwoVersions());
    MessageBox::setNextAnswer(QMessageBox::Yes);
    form.BtnDeleteRecipe->click();
    ASSERT_EQ(data.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo WHERE BatchCode = 'LO-SOY65'"), "0");

    withWindow<TFrmDeletedRecipes>([&] { form.DeletedRecipes1->trigger(); }, [&](TFrmDeletedRecipes& d) {
        ASSERT_EQ(d.DeletedList->model()->rowCount(), 1);
        EXPECT_EQ(cell(d.DeletedList, 0, 1), "LO-SOY65");
        EXPECT_EQ(cell(d.DeletedLines, 1, 3), loc("140.000")) << "as it went";
        press(d.BtnRestoreDeleted, Qt::Key_R);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(form.CBResinCode->currentText(), "LO-SOY65");
    EXPECT_EQ(storedMass(2), "140.0");
    openHistory([&](TFrmRecipeHistory& h) {
        QStringList actions;
        for (int r = 0; r < h.VersionList->model()->rowCount(); ++r)
            actions << cell(h.VersionList, r, VersionListModel::Action);
        EXPECT_EQ(actions.join('|'), "Restore Deleted Recipe|Delete Recipe|typing in Mass|typing in Mass|Original");
    });
    // Taken back and done again from the main window: the recipe goes and comes back, its
    // history going on through both.
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo WHERE BatchCode = 'LO-SOY65'"), "0");
    QTest::keyClick(&form, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(storedMass(2), "140.0");
    openHistory([&](TFrmRecipeHistory& h) {
        ASSERT_EQ(h.VersionList->model()->rowCount(), 7);
        EXPECT_EQ(cell(h.VersionList, 0, VersionListModel::Action), "Redo");
        EXPECT_EQ(cell(h.VersionList, 1, VersionListModel::Action), "Undo");
    });

    // Deleted again, and a new recipe takes its name: the name dialog asks for another, and will
    // not let the one brought back replace the new one.
    MessageBox::setNextAnswer(QMessageBox::Yes);
    form.BtnDeleteRecipe->click();
    ASSERT_TRUE(MessageBox::reported(&form, dm().database().perform([&] { dm().AddRecipe("Alkyd", "LO-SOY65"); })));
    withWindow<TFrmDeletedRecipes>([&] { form.DeletedRecipes1->trigger(); }, [&](TFrmDeletedRecipes& d) {
        ASSERT_EQ(d.DeletedList->model()->rowCount(), 1);
        QTimer::singleShot(0, [&] {
            auto* input = qobject_cast<TFrmInput*>(QApplication::activeModalWidget());
            ASSERT_NE(input, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(input));
            QTest::keyClick(input->CBProductType, Qt::Key_Return);
            QTest::keyClicks(input->CBProductCode, "LO-SOY65");
            QTest::keyClick(input->CBProductCode, Qt::Key_Return);
            MessageBox::setNextAnswer(QMessageBox::Ok);
            QTest::keyClick(input->OKBtn, Qt::Key_Return);
            ASSERT_TRUE(input->isVisible());
            ASSERT_FALSE(MessageBox::history().isEmpty());
            EXPECT_EQ(MessageBox::history().back().text,
                      "A recipe by that name already exists: give the recipe brought back a name of its own");
            QTest::keyClick(input->CBProductType, Qt::Key_Return);
            QTest::keyClick(input->CBProductCode, Qt::Key_End);
            QTest::keyClicks(input->CBProductCode, "B");
            QTest::keyClick(input->CBProductCode, Qt::Key_Return);
            QTest::keyClick(input->OKBtn, Qt::Key_Return);
        });
        press(d.BtnRestoreDeleted, Qt::Key_R);
    });
    EXPECT_EQ(form.CBResinCode->currentText(), "LO-SOY65B");
    EXPECT_EQ(storedMass(2, "LO-SOY65B"), "140.0");
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo WHERE BatchCode = 'LO-SOY65'"), "1");
    openHistory([&](TFrmRecipeHistory& h) {
        ASSERT_EQ(h.VersionList->model()->rowCount(), 9) << "the history goes on under the new name";
        EXPECT_EQ(cell(h.VersionList, 0, VersionListModel::Action), "Restore Deleted Recipe");
    });
    // Ctrl+Z in the main window takes the return back.
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo WHERE BatchCode = 'LO-SOY65B'"), "0");
    EXPECT_EQ(MessageBox::history().size(), 3) << "the two deletions' questions and the taken name";
}

} // namespace
