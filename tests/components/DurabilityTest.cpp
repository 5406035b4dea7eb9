#include "Tables.h"
#include "components/Database.h"
#include "components/Table.h"
#include "components/StoreError.h"
#include "support/TempData.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            try {
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
                    if (write(fds[1], &n, sizeof n) != sizeof n)
                        break;
                }
            } catch (const StoreError& e) {
                fprintf(stderr, "child: %s\n", qPrintable(e.message()));
            }
            _exit(0);
        }
        close(fds[1]);
        int last = 0, v = 0;
        const int target = 5 + round * 7;
        while (last < target && read(fds[0], &v, sizeof v) == sizeof v)
            last = v;
        usleep(1000 * (round + 1)); // let it be somewhere in the middle of a write
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        while (read(fds[0], &v, sizeof v) == sizeof v)
            last = v;
        close(fds[0]);

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
