#include "store/Tables.h"
#include "components/Database.h"
#include "components/Table.h"
#include "components/StoreError.h"
#include "support/TempData.h"

#include "support/KilledChild.h"

#include <gtest/gtest.h>

namespace {

void defineHeaders(Table& t) {
    t.setTable(Tables::batchInfo(), "PRIMARY");
    for (const char* f : {"BatchType", "BatchCode", "Description"})
        t.addField(f, FieldType::String);
    for (const char* f : {"AV", "Solids", "Size"})
        t.addField(f, FieldType::Float);
}

// A child process posts rows, single ones and batches of ten in one transaction, and reports
// each stored count through a pipe until it is killed. Whatever it reported must be in the file,
// the file must be sound, and no batch may be there in part.
TEST(Durability, PostedRowsSurviveAKillAtAnyMoment) {
    for (int round = 0; round < 3; ++round) {
        TempData data;
        data.create();
        const int target = 5 + round * 7;
        const auto outcome = KilledChild::run(
            [&](const KilledChild::Report& report) {
                Database db(data.folder());
                Table t(db, "TblInfo");
                defineHeaders(t);
                t.open();
                for (int n = 1;; ++n) {
                    t.appendRecord({"Single", QString::number(n)});
                    Database::Transaction tx(db);
                    for (int i = 0; i < 10; ++i)
                        t.appendRecord({"Batch", QString("%1-%2").arg(n).arg(i)});
                    tx.commit();
                    if (!report(n))
                        return;
                }
            },
            target, 1000 * (round + 1));
        const int last = outcome.last;

        ASSERT_GE(last, target);
        // Opening checks the file's integrity and claims the lock the dead process left.
        Database db(data.folder());
        Table t(db, "TblInfo");
        defineHeaders(t);
        ASSERT_NO_THROW(t.open());
        int singles = 0, batch = 0;
        for (t.first(); !t.eof(); t.next())
            (t.fieldByName("BatchType").asString() == "Single" ? singles : batch)++;
        EXPECT_GE(singles, last) << "round " << round;
        EXPECT_GE(batch, last * 10) << "round " << round;
        EXPECT_EQ(batch % 10, 0) << "a batch was stored in part, round " << round;
    }
}

} // namespace
