#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/DBGrid.h"
#include "ui/LibraryList.h"
#include "ui/MessageBox.h"
#include "domain/ReactionTotals.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QApplication>
#include <QLineEdit>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kLibrary =
    TempData::material("AA", "Adipic Acid", "Acid", 146.14, 2, 0, 0, 1.7) +
    TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1) +
    TempData::material("LINFA", "Linseed Fatty Acid", "Fatty Acid", 279, 1, 0, 0, 1.8) +
    TempData::material("OILX", "Odd Oil", "oil", 800, 0, 0, 0, 1) +
    TempData::material("SOY", "Soya Oil", "Oil", 874, 0, 0, 0, 1.2) +
    TempData::material("TOFA", "Tall Oil Fatty Acid", "Fatty Acid", 290, 1, 0, 0, 1.4);

class GridTest : public MainWindowFixture<> {
protected:
    void open(const QString& lines) {
        MessageBox::clearHistory();
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::header("Alkyd", "A1"), lines, kLibrary));
        grid = form.findChild<DBGrid*>("DBGrid");
        ASSERT_NE(grid, nullptr);
        grid->setFocus();
    }
    void standard() {
        open(TempData::line("Alkyd", "A1", 1, "AA", "146.14, 1, 2, NULL, NULL, NULL, NULL") +
             TempData::line("Alkyd", "A1", 2, "GLY", "92.09, 1, NULL, 3, NULL, NULL, NULL") +
             TempData::line("Alkyd", "A1", 3, "SOY") + TempData::line("Alkyd", "A1", 4, "OILX") +
             TempData::line("Alkyd", "A1", 5, ""));
    }
    RecipeLines& lines() { return session->dmod->lines(); }
    std::string readOnly() {
        std::string out;
        const std::pair<LineColumn, const char*> amounts[] = {
            {LineColumn::Mass, "M"}, {LineColumn::Moles, "m"}, {LineColumn::Ea, "a"}, {LineColumn::Eb, "b"}};
        for (const auto& [c, open] : amounts)
            out += grid->column(c)->readOnly ? "-" : open;
        return out;
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(grid, Qt::Key(k), mods); }
    std::string stored() {
        return data.query("Recipes.adt", "SELECT ifnull(ItemNum, '-') || ':' || ifnull(RMCode, '') FROM Recipes ORDER BY rowid")
            .replace('\n', ' ')
            .toStdString();
    }

    DBGrid* grid = nullptr;
};

TEST_F(GridTest, EditableAmountsFollowTheFocusedLinesMaterial) {
    standard();
    EXPECT_EQ(readOnly(), "Mma-") << "an acid: Eb is locked";
    key(Qt::Key_Down);
    EXPECT_EQ(readOnly(), "Mm-b") << "a polyol: Ea is locked";
    key(Qt::Key_Down);
    EXPECT_EQ(readOnly(), "Mmab") << "an oil: all four";
    key(Qt::Key_Down);
    EXPECT_EQ(readOnly(), "----") << "'oil' in lower case is no oil";
    key(Qt::Key_Down);
    EXPECT_EQ(readOnly(), "----") << "a blank line";
    // A read-only cell takes no typing.
    const QModelIndex eb = grid->gridModel()->index(0, grid->gridModel()->columnOf("Eb"));
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(grid->gridModel()->flags(eb) & Qt::ItemIsEditable);
}

TEST_F(GridTest, TypingAMassInTheGridRecalculatesTheLine) {
    standard();
    grid->setCurrentIndex(grid->gridModel()->index(0, grid->gridModel()->columnOf("Mass")));
    QTest::keyClicks(grid, "2"); // the first key opens the cell editor
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid);
    QTest::keyClicks(editor, loc("92.28"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(LineCell(lines(), "ItemNum").asInteger(), 2) << "Enter moves to the next line";
    lines().first();
    EXPECT_EQ(LineCell(lines(), "Moles").displayText(), loc("2.0000"));
    EXPECT_EQ(LineCell(lines(), "Ea").displayText(), loc("4.0000"));
    EXPECT_NEAR(dm().editor().totals().TotalMass, 292.28 + 92.09, 1e-9);
}

TEST_F(GridTest, DownAppendsAndAnUntouchedLineIsDiscarded) {
    standard();
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Return);
    EXPECT_EQ(lines().rowCount(), 5) << "Enter on the last line adds nothing";
    key(Qt::Key_Down);
    EXPECT_EQ(lines().rowCount(), 6);
    EXPECT_EQ(lines().state(), RecipeLines::State::Insert);
    key(Qt::Key_Up);
    EXPECT_EQ(lines().rowCount(), 5);
    EXPECT_EQ(lines().recNo(), 4) << "back on the last line, not one above it";
    EXPECT_EQ(grid->currentIndex().row(), 4);
    EXPECT_EQ(stored(), "1:AA 2:GLY 3:SOY 4:OILX 5:");
}

TEST_F(GridTest, AnUntouchedNewLineGoesWhenTheFocusLeavesTheGrid) {
    standard();
    key(Qt::Key_Insert);
    EXPECT_EQ(lines().rowCount(), 6);
    form.CBResinCode->setFocus();
    QTRY_COMPARE(lines().rowCount(), 5);
    EXPECT_EQ(lines().state(), RecipeLines::State::Browse);
}

TEST_F(GridTest, InsertAndCtrlDeleteInTheGrid) {
    standard();
    key(Qt::Key_Down);
    key(Qt::Key_Insert);
    EXPECT_EQ(lines().state(), RecipeLines::State::Insert);
    EXPECT_EQ(lines().recNo(), 1);
    key(Qt::Key_Escape);
    EXPECT_EQ(lines().rowCount(), 5);
    MessageBox::setNextAnswer(QMessageBox::Cancel);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(MessageBox::history().last().text, "Delete record?");
    EXPECT_EQ(lines().rowCount(), 5);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(lines().rowCount(), 4);
    EXPECT_EQ(stored(), "1:AA 2:SOY 3:OILX 4:") << "Ctrl+Delete renumbers as the Delete button does";
    EXPECT_NEAR(dm().editor().totals().TotalMass, 146.14, 1e-9) << "and re-totals";
}

// A new recipe has no lines: the first one is begun with Down and typed into at once.
TEST_F(GridTest, TheFirstLineOfARecipeWithoutLinesIsTypedIntoAtOnce) {
    open({});
    grid->goToColumn(LineColumn::Code);
    key(Qt::Key_Down);
    ASSERT_EQ(lines().state(), RecipeLines::State::Insert);
    grid->setCurrentIndex(grid->gridModel()->index(0, grid->gridModel()->columnOf("RMCode")));
    QTest::keyClick(grid, Qt::Key_G);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "the first key opened the cell";
    QTest::keyClicks(editor, "ly");
    EXPECT_EQ(editor->text(), "gly");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(stored(), "1:GLY");
    EXPECT_TRUE(MessageBox::history().isEmpty());
}

TEST_F(GridTest, FootersAndEditabilityFollowTheFieldAfterAColumnDrag) {
    standard();
    QHeaderView* header = grid->horizontalHeader();
    const int mass = grid->gridModel()->columnOf("Mass");
    header->moveSection(header->visualIndex(mass), header->count() - 1);
    EXPECT_EQ(header->visualIndex(mass), header->count() - 1);
    EXPECT_EQ(grid->footer(LineColumn::Mass)->text, loc("238.230"));
    key(Qt::Key_Down);
    EXPECT_FALSE(grid->column(LineColumn::Mass)->readOnly);
    EXPECT_TRUE(grid->column(LineColumn::Ea)->readOnly);
}

TEST_F(GridTest, TheTypeButtonsFilterTheSelectionList) {
    standard();
    auto* list = form.findChild<DBLookupList*>("LkUpRM");
    EXPECT_EQ(list->model()->rowCount(), 6);
    QTest::mouseClick(form.findChild<QRadioButton*>("RadioButton3"), Qt::LeftButton);
    EXPECT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(form.chosenMaterial()->code, "LINFA");
    QTest::mouseClick(form.findChild<QPushButton*>("BtnAddIngredient"), Qt::LeftButton);
    EXPECT_EQ(stored(), "1:AA 2:GLY 3:SOY 4:OILX 5: 6:LINFA");
    QTest::mouseClick(form.findChild<QRadioButton*>("RadioButton5"), Qt::LeftButton);
    EXPECT_EQ(list->model()->rowCount(), 1);
    QTest::mouseClick(form.findChild<QRadioButton*>("RadioButton6"), Qt::LeftButton);
    EXPECT_EQ(list->model()->rowCount(), 6);
    EXPECT_EQ(form.chosenMaterial()->code, "AA");
    QTest::mouseClick(form.findChild<QRadioButton*>("RadioButton2"), Qt::LeftButton);
    EXPECT_EQ(list->model()->rowCount(), 2) << "the store's filters ignore letter case";
}

TEST_F(GridTest, ADoubleClickAddsOneLineAndShowsTheMaterial) {
    standard();
    auto* list = form.findChild<DBLookupList*>("LkUpRM");
    const QRect r = list->visualRect(list->model()->index(5, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(form.statusPanel(1), " Tall Oil Fatty Acid");
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(stored(), "1:AA 2:GLY 3:SOY 4:OILX 5: 6:TOFA");
    EXPECT_EQ(form.statusPanel(1), " Tall Oil Fatty Acid");
}

TEST_F(GridTest, TheListSearchesByTypedName) {
    standard();
    auto* list = form.findChild<DBLookupList*>("LkUpRM");
    list->setFocus();
    QTest::keyClicks(list, "so");
    EXPECT_EQ(form.chosenMaterial()->code, "SOY");
    EXPECT_EQ(form.statusPanel(1), " Soya Oil");
}

TEST_F(GridTest, TheGridRefusesAHundredAndTwentyEighthLine) {
    QString many;
    for (int i = 1; i <= 127; ++i)
        many += TempData::line("Alkyd", "A1", i, "GLY");
    open(many);
    key(Qt::Key_End, Qt::ControlModifier);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Down);
    EXPECT_EQ(lines().rowCount(), 127);
    EXPECT_EQ(MessageBox::history().last().text, "Range check error");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    key(Qt::Key_Insert);
    EXPECT_EQ(lines().rowCount(), 127);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes").toStdString(), "127");
}

TEST_F(GridTest, ChoosingANameInTheDropDownWritesTheCode) {
    standard();
    key(Qt::Key_End, Qt::ControlModifier); // the blank line
    RecipeLines& t = lines();
    t.edit();
    dm().TypeInto(LineColumn::Name, "Glycerol");
    EXPECT_EQ(LineCell(t, "RMCode").asString(), "GLY");
    QStringList names = grid->lookupItems(LineColumn::Name);
    EXPECT_EQ(names.first(), "Adipic Acid");
    EXPECT_EQ(names.size(), 6);
}

} // namespace
