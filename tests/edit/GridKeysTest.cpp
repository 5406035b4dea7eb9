// The grid's keys without a window: which cell they leave current, what they write and commit,
// and how often they open and close the cell editor.
#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "edit/GridKeys.h"
#include "components/StoreError.h"
#include "domain/ReactionTotals.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

// The cell editor as a record of what the keys asked of it.
struct FakeEditor : GridKeys::CellEditor {
    bool isOpen() const override { return open_; }
    bool typed() const override { return typed_; }
    QString text() const override { return text_; }
    void open(int, int) override {
        open_ = true;
        typed_ = false;
        ++opened;
    }
    void close() override {
        open_ = false;
        typed_ = false;
        ++closed;
    }
    void undoTyping() override { typed_ = false; }
    // The user types into the cell: the first key opens the editor, as the grid does.
    void type(const QString& t) {
        if (!open_)
            open(0, 0);
        text_ = t;
        typed_ = true;
    }
    bool open_ = false, typed_ = false;
    QString text_;
    int opened = 0, closed = 0;
};

class GridKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Alkyd", "A1"),
                    TempData::line("Alkyd", "A1", 1, "PA", "148.12, 1, 2, NULL, NULL, NULL, NULL") +
                        TempData::line("Alkyd", "A1", 2, "GLY", "92.09, 1, NULL, 3, NULL, NULL, NULL") +
                        TempData::line("Alkyd", "A1", 3, "SOY", "872.5, 1, 3, 3, NULL, NULL, NULL"),
                    TempData::material("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
                        TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
                        TempData::material("SOY", "Soya Oil", "Oil", 872.5, 0, 0, 0, 1.6));
        db = std::make_unique<Database>(data.folder());
        dm = std::make_unique<TDMod>(*db, form.type, form.code, form, form.editor);
        for (const char* f : {"ItemNum", "RMCode", "RMName", "Mass", "Moles", "Ea", "Eb", "Charge", "Percent", "Cost"})
            columns.push_back({f, f, 64, Qt::AlignLeft, false, QLatin1String(f) == QLatin1String("RMName")});
        keys = std::make_unique<GridKeys>(columns, editor);
        // As the window writes them: the name through the line's code.
        keys->writeText = [this](int column, const QString& text) { dm->TypeInto(LineColumn(column), text); };
        keys->setLines(&dm->lines());
        keys->setVisualOrder({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        keys->keyDown = [this](int key, Qt::KeyboardModifiers) {
            // The main window's Enter: the line is committed as the next one becomes current.
            if (key != Qt::Key_Return)
                return false;
            dm->lines().next();
            return true;
        };
        keys->confirmDelete = [this] { return deleteAnswer; };
        keys->beforeNewLine = [this] { dm->checkRoomForLine(); };
        keys->setColumn(3);
    }
    bool press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        bool handled = false;
        db->run([&] { handled = keys->press(key, mods); });
        return handled;
    }
    std::string at() const { return std::to_string(keys->row()) + ":" + columns[size_t(keys->column())].fieldName.toStdString(); }
    std::string stored(const char* column) const {
        return data.query("Recipes.adt", QString("SELECT group_concat(ifnull(%1, '-'), ' ') FROM "
                                                 "(SELECT %1 FROM Recipes ORDER BY ItemNum, rowid)").arg(column))
            .toStdString();
    }

    TempData data;
    StandInForm form;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dm;
    std::vector<GridColumn> columns;
    FakeEditor editor;
    std::unique_ptr<GridKeys> keys;
    bool deleteAnswer = true;
};

TEST_F(GridKeysTest, AColumnOfChargesTypedWithEnter) {
    editor.type("200");
    press(Qt::Key_Return);
    EXPECT_EQ(at(), "1:Mass") << "the next line, the same column";
    editor.type("100");
    press(Qt::Key_Return);
    EXPECT_EQ(at(), "2:Mass");
    editor.type("900");
    press(Qt::Key_Return);
    EXPECT_EQ(at(), "2:Mass") << "on the last line Enter only commits";
    EXPECT_EQ(stored("Mass"), "200.0 100.0 900.0");
    EXPECT_EQ(dm->lines().rowCount(), 3) << "Enter never adds a line";
    EXPECT_FALSE(editor.isOpen());
    EXPECT_EQ(editor.opened, 3);
    EXPECT_EQ(editor.closed, 3) << "each cell's editor closes once";
    EXPECT_NE(stored("Charge"), "- - -") << "every line rescaled";
    EXPECT_NEAR(form.editor.totals().TotalMass, 1200, 1e-9);
}

TEST_F(GridKeysTest, EnterWithoutAnOpenEditorMovesAndOpensOne) {
    press(Qt::Key_Return);
    EXPECT_EQ(at(), "1:Mass");
    EXPECT_TRUE(editor.isOpen());
    press(Qt::Key_Return);
    EXPECT_EQ(at(), "2:Mass");
    EXPECT_FALSE(editor.isOpen()) << "Enter closes the editor it finds open";
}

TEST_F(GridKeysTest, ALineTypedAcrossWithTab) {
    keys->setColumn(3);
    dm->lines().goTo(1); // glycerol: mass, moles and hydroxyl equivalents
    editor.type("100");
    press(Qt::Key_Tab);
    EXPECT_EQ(at(), "1:Moles");
    editor.type("2");
    press(Qt::Key_Tab);
    EXPECT_EQ(at(), "1:Ea");
    press(Qt::Key_Tab);
    editor.type("9");
    press(Qt::Key_Tab);
    EXPECT_EQ(at(), "1:Charge");
    EXPECT_EQ(stored("Eb"), "- 9.0 3.0");
    EXPECT_EQ(stored("Moles"), "1.0 3.0 1.0");
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Tab);
    EXPECT_EQ(at(), "2:ItemNum") << "past the last cell: the first cell of the next line";
    for (int i = 0; i < 10; ++i)
        press(Qt::Key_Tab);
    EXPECT_EQ(at(), "3:ItemNum") << "past the last line's last cell: a new line";
    EXPECT_EQ(dm->lines().state(), RecipeLines::State::Insert);
    press(Qt::Key_Backtab);
    EXPECT_EQ(at(), "2:Cost") << "Shift+Tab drops the untouched new line and goes back";
    EXPECT_EQ(dm->lines().rowCount(), 3);
}

TEST_F(GridKeysTest, TabFollowsTheColumnsWhereTheUserDraggedThem) {
    keys->setVisualOrder({0, 1, 2, 4, 5, 6, 7, 8, 9, 3}); // Charge dragged to the far right
    keys->setColumn(9);
    press(Qt::Key_Tab);
    EXPECT_EQ(at(), "0:Mass");
    press(Qt::Key_Tab);
    EXPECT_EQ(at(), "1:ItemNum");
}

TEST_F(GridKeysTest, DownAppendsAndMovingOffAnUntouchedLineDropsIt) {
    press(Qt::Key_End, Qt::ControlModifier);
    press(Qt::Key_Down);
    EXPECT_EQ(dm->lines().rowCount(), 4);
    EXPECT_EQ(at(), "3:Mass");
    press(Qt::Key_Up);
    EXPECT_EQ(dm->lines().rowCount(), 3);
    EXPECT_EQ(at(), "2:Mass") << "back on the last line";
    press(Qt::Key_Up);
    press(Qt::Key_Insert);
    EXPECT_EQ(at(), "1:Mass");
    press(Qt::Key_Down);
    EXPECT_EQ(at(), "1:Mass") << "the line the new one stood before";
    EXPECT_EQ(dm->lines().rowCount(), 3);
    EXPECT_EQ(LineCell(dm->lines(), "RMCode").asString().toStdString(), "GLY");
}

TEST_F(GridKeysTest, EscapeUndoesTheTypingThenTheLine) {
    editor.type("500");
    press(Qt::Key_Escape);
    EXPECT_FALSE(editor.isOpen());
    EXPECT_EQ(stored("Mass"), "148.12 92.09 872.5");
    press(Qt::Key_Insert);
    EXPECT_EQ(dm->lines().rowCount(), 4);
    press(Qt::Key_Escape);
    EXPECT_EQ(dm->lines().rowCount(), 3) << "an inserted line goes with the second Escape";
}

TEST_F(GridKeysTest, CtrlDeleteAsksFirst) {
    deleteAnswer = false;
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dm->lines().rowCount(), 3);
    deleteAnswer = true;
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(stored("ItemNum"), "2 3") << "the grid's delete renumbers nothing";
    EXPECT_FALSE(press(Qt::Key_Delete)) << "Delete alone is the editor's";
}

TEST_F(GridKeysTest, ARefusedValueKeepsTheCellAndItsEditor) {
    dm->lines().goTo(1);
    editor.type("12x");
    EXPECT_THROW(press(Qt::Key_Return), FieldError);
    EXPECT_EQ(at(), "1:Mass");
    EXPECT_TRUE(editor.isOpen()) << "open for correction";
    EXPECT_EQ(editor.text().toStdString(), "12x");
    editor.type("12");
    press(Qt::Key_Return);
    EXPECT_EQ(at(), "2:Mass");
    EXPECT_EQ(stored("Mass"), "148.12 12.0 872.5");
}

// A new line refused (a recipe at its limit of lines) leaves the typed cell as it was, open.
TEST_F(GridKeysTest, ARefusedNewLineKeepsTheTypedCell) {
    keys->beforeNewLine = [] { throw StoreError("Range check error"); };
    press(Qt::Key_End, Qt::ControlModifier);
    for (int key : {int(Qt::Key_Down), int(Qt::Key_Insert)}) {
        editor.type("150");
        EXPECT_THROW(press(key), StoreError);
        EXPECT_TRUE(editor.isOpen());
        EXPECT_EQ(editor.text().toStdString(), "150");
        EXPECT_EQ(stored("Mass"), "148.12 92.09 872.5");
    }
    keys->setColumn(9);
    EXPECT_THROW(press(Qt::Key_Tab), StoreError) << "Tab past the last line's last cell";
    EXPECT_TRUE(editor.isOpen());
}

TEST_F(GridKeysTest, ReadOnlyCellsTakeNoEditor) {
    columns[5].readOnly = true; // Ea
    keys->setColumn(5);
    press(Qt::Key_F2);
    EXPECT_FALSE(editor.isOpen());
    keys->setColumn(4);
    press(Qt::Key_F2);
    EXPECT_TRUE(editor.isOpen());
    EXPECT_FALSE(press(Qt::Key_Home)) << "with the editor open Home moves the caret";
    EXPECT_TRUE(press(Qt::Key_Home, Qt::ControlModifier));
    keys->setColumn(4);
    press(Qt::Key_F2);
    EXPECT_TRUE(press(Qt::Key_Left)) << "the editor hands Left on at the start of its text";
    EXPECT_FALSE(editor.isOpen());
    EXPECT_EQ(at(), "0:Mass");
}

} // namespace
