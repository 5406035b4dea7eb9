#include "store/Tables.h"
#include "components/Database.h"
#include "components/StoreError.h"
#include "components/Table.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

std::string refusal(const std::function<void()>& f) {
    try {
        f();
    } catch (const StoreError& e) {
        return e.message().toStdString();
    }
    return "";
}

class FieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Alkyd", "B1"), TempData::line("Alkyd", "B1", 1, "PA"));
        db = std::make_unique<Database>(data.folder());
        lines = std::make_unique<Table>(*db, "TblRecipe");
        lines->setTable(Tables::recipes(), "PRIMARY");
        for (const char* n : {"BatchType", "BatchCode", "RMCode"})
            lines->addField(n, FieldType::String);
        lines->addField("ItemNum", FieldType::SmallInt).displayFormat = "#";
        Field& mass = lines->addField("Mass", FieldType::Float);
        mass.minValue = 0;
        mass.maxValue = 100000;
        mass.displayFormat = "0.000";
        lines->addField("Moles", FieldType::Float).required = true;
        lines->open();
        lines->edit();
    }
    Field& mass() { return lines->fieldByName("Mass"); }

    TempData data;
    std::unique_ptr<Database> db;
    std::unique_ptr<Table> lines;
};

TEST_F(FieldTest, RangeRefusalKeepsThePreviousValue) {
    mass().setFloat(12.5);
    EXPECT_EQ(refusal([&] { mass().setFloat(-5); }),
              "-5 is not a valid value for field 'Mass'. The allowed range is 0 to 100000");
    EXPECT_EQ(refusal([&] { mass().setText("100000.5"); }),
              "100000.5 is not a valid value for field 'Mass'. The allowed range is 0 to 100000");
    EXPECT_DOUBLE_EQ(mass().asFloat(), 12.5);
    EXPECT_EQ(refusal([&] { mass().setFloat(100000); }), "");
    EXPECT_EQ(refusal([&] { mass().setFloat(0); }), "");
}

TEST_F(FieldTest, TextThatIsNotANumberIsRefused) {
    mass().setFloat(3);
    EXPECT_EQ(refusal([&] { mass().setText("12x"); }),
              "'12x' is not a valid floating point value for field 'Mass'");
    EXPECT_EQ(refusal([&] { lines->fieldByName("ItemNum").setText("two"); }),
              "'two' is not a valid integer value for field 'ItemNum'");
    EXPECT_DOUBLE_EQ(mass().asFloat(), 3);
    mass().setText("");
    EXPECT_TRUE(mass().isNull());
}

TEST_F(FieldTest, EditTextUsesTheDisplayFormat) {
    mass().setText("296.24");
    EXPECT_EQ(mass().displayText(), "296.240");
    EXPECT_EQ(mass().editText(), "296.240");
    lines->fieldByName("ItemNum").setInteger(0);
    EXPECT_EQ(lines->fieldByName("ItemNum").displayText(), "");
    lines->fieldByName("ItemNum").setInteger(12);
    EXPECT_EQ(lines->fieldByName("ItemNum").displayText(), "12");
}

TEST_F(FieldTest, PostRefusesAnEmptyRequiredField) {
    lines->fieldByName("Moles").clear();
    EXPECT_EQ(refusal([&] { lines->post(); }), "Field 'Moles' must have a value");
    EXPECT_EQ(lines->state(), Table::State::Edit);
}

TEST_F(FieldTest, NullReadsAsZeroAndEmptyText) {
    mass().clear();
    EXPECT_DOUBLE_EQ(mass().asFloat(), 0);
    EXPECT_EQ(mass().asString(), "");
    lines->fieldByName("RMCode").clear();
    EXPECT_EQ(lines->fieldByName("RMCode").asString(), "");
}

} // namespace
