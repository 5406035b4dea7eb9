#include "store/Tables.h"
#include "components/Database.h"
#include "components/StoreError.h"
#include "components/Table.h"
#include "support/TempData.h"

#include <gtest/gtest.h>

namespace {

void defineAll(Table& t, const TableSchema& schema, const QString& index) {
    t.setTable(schema, index);
    for (const ColumnDef& c : schema.columns)
        t.addField(c.name, c.type == ColumnType::Text       ? FieldType::String
                           : c.type == ColumnType::SmallInt ? FieldType::SmallInt
                                                            : FieldType::Float);
}

std::string codes(Table& t) {
    std::string out;
    const QString bm = t.bookmark();
    for (t.first(); !t.eof(); t.next())
        out += (out.empty() ? "" : ",") + t.fieldByName("BatchCode").asString().toStdString();
    t.gotoBookmark(bm);
    return out;
}

// Counts what a data source passes on.
struct Recorder {
    explicit Recorder(DataSource& ds) {
        QObject::connect(&ds, &DataSource::dataChange, [this](Field* f) {
            ++changes;
            if (f)
                fields << f->name();
        });
        QObject::connect(&ds, &DataSource::stateChange, [this] { ++states; });
    }
    int changes = 0;
    int states = 0;
    QStringList fields;
};

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.create(TempData::header("Polyester", "P1") + TempData::header("Alkyd", "B2") +
                        TempData::header("alkyd", "A7") + TempData::header("Al'kyd", "Q1"),
                    TempData::line("Alkyd", "B2", 1, "PA") + TempData::line("Alkyd", "B2", 2, "GLY") +
                        TempData::line("Alkyd", "A7", 1, "PE") + TempData::line("Polyester", "P1", 1, "NPG"));
        db = std::make_unique<Database>(data.folder());
        info = std::make_unique<Table>(*db, "TblInfo");
        lines = std::make_unique<Table>(*db, "TblRecipe");
        defineAll(*info, Tables::batchInfo(), "PRIMARY");
        defineAll(*lines, Tables::recipes(), "PRIMARY");
        // The lines of the header view's current row, followed as it moves.
        lines->setRange({"BatchType", "BatchCode"}, [this]() -> std::optional<QVariantList> {
            if (!info->isOpen() || info->isEmpty())
                return std::nullopt;
            return QVariantList{info->fieldByName("BatchType").value(), info->fieldByName("BatchCode").value()};
        });
        follow = std::make_unique<DataSource>(info.get());
        follow->onDataChange = [this](Field*) { lines->followRange(); };
        lines->open();
        info->open();
    }
    QString field(Table& t, const char* name) { return t.fieldByName(name).asString(); }

    TempData data;
    std::unique_ptr<Database> db;
    std::unique_ptr<Table> info, lines;
    std::unique_ptr<DataSource> follow;
};

TEST_F(TableTest, RowsComeInIndexOrderIgnoringLetterCase) {
    EXPECT_EQ(codes(*info), "Q1,A7,B2,P1");
    EXPECT_EQ(info->recordCount(), 4);
    EXPECT_EQ(field(*info, "BatchCode"), "Q1");
}

TEST_F(TableTest, MovingReachesTheEndAndTheStart) {
    info->last();
    EXPECT_EQ(field(*info, "BatchCode"), "P1");
    info->next();
    EXPECT_TRUE(info->eof());
    EXPECT_EQ(field(*info, "BatchCode"), "P1");
    info->first();
    EXPECT_FALSE(info->eof());
    info->prior();
    EXPECT_TRUE(info->bof());
    EXPECT_EQ(field(*info, "BatchCode"), "Q1");
}

TEST_F(TableTest, DetailFollowsMasterAndCountsItsLines) {
    EXPECT_TRUE(info->locate("BatchType; BatchCode", {"ALKYD", "b2"}));
    EXPECT_EQ(field(*info, "BatchType"), "Alkyd");
    EXPECT_EQ(lines->recordCount(), 2);
    EXPECT_EQ(field(*lines, "RMCode"), "PA");
    lines->next();
    EXPECT_EQ(field(*lines, "RMCode"), "GLY");
    EXPECT_TRUE(info->locate("BatchType; BatchCode", {"Polyester", "P1"}));
    EXPECT_EQ(lines->recordCount(), 1);
    EXPECT_EQ(field(*lines, "RMCode"), "NPG");
}

TEST_F(TableTest, LocateNotFoundKeepsTheCurrentRow) {
    info->locate("BatchType; BatchCode", {"Alkyd", "B2"});
    EXPECT_FALSE(info->locate("BatchType; BatchCode", {"Alkyd", "B"}));
    EXPECT_EQ(field(*info, "BatchCode"), "B2");
    EXPECT_FALSE(info->findKey({"Alkyd", "B"}));
    EXPECT_EQ(field(*info, "BatchCode"), "B2");
    EXPECT_TRUE(info->findKey({"Polyester", "P1"}));
    EXPECT_EQ(field(*info, "BatchCode"), "P1");
}

TEST_F(TableTest, FilterKeepsMatchingRowsAndMakesTheFirstCurrent) {
    info->last();
    info->setFilter("BatchType ='Alkyd'");
    info->setFiltered(true);
    EXPECT_EQ(codes(*info), "A7,B2");
    EXPECT_EQ(field(*info, "BatchCode"), "A7");
    info->setFilter("BatchType ='Al''kyd'");
    EXPECT_EQ(codes(*info), "Q1");
    info->setFiltered(false);
    EXPECT_EQ(codes(*info), "Q1,A7,B2,P1");
    EXPECT_EQ(field(*info, "BatchCode"), "Q1");
    EXPECT_THROW(info->setFilter("BatchType = Alkyd"), StoreError);
}

TEST_F(TableTest, BookmarksReturnToTheirRow) {
    info->findKey({"Alkyd", "B2"});
    const QString bm = info->bookmark();
    info->first();
    info->gotoBookmark(bm);
    EXPECT_EQ(field(*info, "BatchCode"), "B2");
    info->gotoBookmark("");
    EXPECT_EQ(field(*info, "BatchCode"), "B2");
    // An empty view's bookmark is empty and restoring it does nothing.
    info->setFilter("BatchType ='None'");
    info->setFiltered(true);
    EXPECT_TRUE(info->isEmpty());
    EXPECT_EQ(info->bookmark(), "");
    EXPECT_TRUE(lines->isEmpty());
}

TEST_F(TableTest, RefusalsNameTheView) {
    auto message = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const StoreError& e) {
            return e.message().toStdString();
        }
        return std::string();
    };
    EXPECT_EQ(message([&] { info->post(); }), "TblInfo: Dataset not in edit or insert mode");
    EXPECT_EQ(message([&] { info->fieldByName("AV").setFloat(3); }),
              "TblInfo: Dataset not in edit or insert mode");
    info->setFilter("BatchType ='None'");
    info->setFiltered(true);
    lines->setFilter("RMCode ='none'");
    lines->setFiltered(true);
    EXPECT_EQ(message([&] { lines->remove(); }),
              "TblRecipe: Cannot perform this operation on an empty dataset");
    EXPECT_EQ(message([&] { info->fieldByName("Nothing"); }), "TblInfo: Field 'Nothing' not found");
}

TEST_F(TableTest, MovingPostsAModifiedRowAndDropsAnUntouchedOne) {
    info->findKey({"Alkyd", "A7"});
    info->edit();
    info->fieldByName("AV").setFloat(12);
    EXPECT_TRUE(info->modified());
    info->next();
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='A7'").toStdString(), "12.0");

    const int before = lines->recordCount();
    lines->append();
    EXPECT_EQ(lines->rowCount(), before + 1);
    EXPECT_FALSE(lines->modified());
    lines->first();
    EXPECT_EQ(lines->recordCount(), before);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes").toStdString(), "4");
}

TEST_F(TableTest, NewDetailRowsBelongToTheCurrentMasterRow) {
    info->findKey({"Polyester", "P1"});
    lines->append();
    EXPECT_EQ(field(*lines, "BatchType"), "Polyester");
    EXPECT_EQ(field(*lines, "BatchCode"), "P1");
    lines->fieldByName("ItemNum").setInteger(2);
    lines->fieldByName("RMCode").setString("TMP");
    lines->post();
    EXPECT_EQ(lines->recordCount(), 2);
    EXPECT_EQ(data.query("Recipes.adt", "SELECT RMCode FROM Recipes WHERE BatchCode='P1' ORDER BY ItemNum")
                  .toStdString(),
              "NPG\nTMP");
}

TEST_F(TableTest, InsertGoesBeforeTheCurrentRowAndCancelReturns) {
    info->findKey({"Alkyd", "B2"});
    lines->last();
    lines->insert();
    EXPECT_EQ(lines->recNo(), 1);
    EXPECT_TRUE(lines->isPendingRow(1));
    lines->cancel();
    EXPECT_EQ(lines->recNo(), 1);
    EXPECT_EQ(field(*lines, "RMCode"), "GLY");
    lines->insert();
    lines->remove(); // in insert state delete drops the new row
    EXPECT_EQ(lines->recordCount(), 2);
}

TEST_F(TableTest, DeleteMakesTheFollowingRowCurrent) {
    info->findKey({"Alkyd", "B2"});
    lines->first();
    lines->remove();
    EXPECT_EQ(field(*lines, "RMCode"), "GLY");
    lines->remove();
    EXPECT_TRUE(lines->isEmpty());
    EXPECT_EQ(data.query("Recipes.adt", "SELECT count(*) FROM Recipes WHERE BatchCode='B2'").toStdString(), "0");
}

TEST_F(TableTest, ADeletedRowIsNotSeenInAnotherView) {
    Table other(*db, "Other");
    defineAll(other, Tables::batchInfo(), "PRIMARY");
    other.open();
    other.findKey({"Alkyd", "B2"});
    info->findKey({"Alkyd", "B2"});
    info->remove();
    EXPECT_EQ(codes(other), "Q1,A7,P1");
}

TEST_F(TableTest, AppendWithValuesStoresAtOnce) {
    info->appendRecord({"Urethane", "U1", "desc", 5.0, 40.0});
    EXPECT_EQ(info->state(), Table::State::Browse);
    EXPECT_EQ(field(*info, "BatchCode"), "U1");
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV, Solids, Size FROM BatchInfo WHERE BatchCode='U1'")
                  .toStdString(),
              "5.0|40.0|");
}

TEST_F(TableTest, SuspendedDisplayNestsAndSendsOneChangeOnResumption) {
    info->findKey({"Alkyd", "B2"});
    DataSource ds(info.get());
    DataSource lineSource(lines.get());
    Recorder rec(ds), lineRec(lineSource);
    info->disableControls();
    info->disableControls();
    for (info->first(); !info->eof(); info->next()) {
    }
    info->findKey({"Polyester", "P1"});
    info->enableControls();
    EXPECT_EQ(rec.changes, 0);
    EXPECT_EQ(lineRec.changes, 0);
    EXPECT_EQ(field(*lines, "RMCode"), "PA") << "the detail must not follow while suspended";
    info->enableControls();
    EXPECT_EQ(rec.changes, 1);
    EXPECT_EQ(lineRec.changes, 1);
    EXPECT_EQ(field(*lines, "RMCode"), "NPG");
}

TEST_F(TableTest, NotificationsReportFieldChangesAndStates) {
    DataSource ds(info.get());
    Recorder rec(ds);
    info->edit();
    EXPECT_EQ(rec.states, 1);
    info->fieldByName("AV").setFloat(9);
    EXPECT_EQ(rec.fields, QStringList{"AV"});
    int handled = 0;
    info->fieldByName("Solids").onChange = [&](Field& f) {
        ++handled;
        EXPECT_DOUBLE_EQ(f.asFloat(), 55); // the value is stored when the handler runs
    };
    info->fieldByName("Solids").setFloat(55);
    EXPECT_EQ(handled, 1);
    info->post();
    EXPECT_EQ(rec.states, 2);
}

TEST_F(TableTest, RefreshReadsRowsWrittenElsewhere) {
    Table other(*db, "Other");
    defineAll(other, Tables::batchInfo(), "PRIMARY");
    other.open();
    other.appendRecord({"Alkyd", "A1"});
    info->findKey({"Alkyd", "B2"});
    info->refresh();
    EXPECT_EQ(field(*info, "BatchCode"), "B2");
    EXPECT_EQ(codes(*info), "Q1,A1,A7,B2,P1");
}

} // namespace
