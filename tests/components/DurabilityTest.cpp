#include "store/Tables.h"
#include "components/Database.h"
#include "store/StoredHeaders.h"
#include "components/StoreError.h"
#include "support/TempData.h"

#include "support/KilledChild.h"

#include <gtest/gtest.h>

namespace {

// A header row of that type and code.
RowValues header(const QString& type, const QString& code) {
    RowValues row(int(Tables::batchInfo().columns.size()));
    row.set(0, type);
    row.set(1, code);
    return row;
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
                TableFile& t = db.table(Tables::batchInfo());
                for (int n = 1;; ++n) {
                    db.run([&] { t.insert(header("Single", QString::number(n))); });
                    Database::Transaction tx(db);
                    for (int i = 0; i < 10; ++i)
                        t.insert(header("Batch", QString("%1-%2").arg(n).arg(i)));
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
        StoredHeaders t(db);
        ASSERT_NO_THROW(t.read());
        int singles = 0, batch = 0;
        for (int i = 0; i < t.count(); ++i)
            (t.nameAt(i).type == "Single" ? singles : batch)++;
        EXPECT_GE(singles, last) << "round " << round;
        EXPECT_GE(batch, last * 10) << "round " << round;
        EXPECT_EQ(batch % 10, 0) << "a batch was stored in part, round " << round;
    }
}

} // namespace
