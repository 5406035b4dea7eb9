// A real full disk: the tables on a small file system of their own, filled up to the last byte.
// Needs the right to mount one (root); skipped otherwise.
#include "edit/DModUnit.h"
#include "components/StoreError.h"
#include "support/StandInForm.h"
#include "support/TempData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

class SmallDisk {
public:
    SmallDisk() {
        m_path = m_dir.path() + "/disk";
        QDir().mkpath(m_path);
        m_mounted = geteuid() == 0 &&
                    mount("tmpfs", m_path.toUtf8().constData(), "tmpfs", 0, "size=320k") == 0;
    }
    ~SmallDisk() {
        if (m_mounted)
            umount2(m_path.toUtf8().constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    const QString& path() const { return m_path; }
    // Writes a file until the disk refuses another byte.
    void fill() {
        const int fd = open((m_path + "/filler").toUtf8().constData(), O_WRONLY | O_CREAT, 0644);
        const QByteArray block(512, 'x');
        while (write(fd, block.constData(), block.size()) > 0) {
        }
        while (write(fd, block.constData(), 1) > 0) {
        }
        close(fd);
    }
    void free() { QFile::remove(m_path + "/filler"); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_mounted = false;
};

TEST(DiskFull, AFullDiskIsSaidSoAndNothingIsStored) {
    SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "a small file system cannot be mounted here (it needs root)";
    const QString folder = disk.path() + "/Data";
    QDir().mkpath(folder);
    QString lines;
    for (int i = 1; i <= 40; ++i)
        lines += TempData::line("Alkyd", "A1", i, "GLY", "92.09, 1, NULL, 3, NULL, NULL, NULL");
    TempData template_;
    template_.create(TempData::header("Alkyd", "A1"), lines,
                     TempData::material("GLY", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25));
    for (const char* f : {"BatchInfo.ADT", "Recipes.adt", "RMLib.ADT"})
        ASSERT_TRUE(QFile::copy(template_.file(f), folder + "/" + f));

    StandInForm form;
    Database db(folder);
    TDMod dm(db, form.type, form.code, form, form.editor);
    const auto count = [&] {
        int n = 0;
        dm.headers().refresh();
        n = dm.headers().list().count();
        return n;
    };
    disk.fill();
    try {
        db.run([&] { dm.CopyRecipe({"Alkyd", "A1"}, "Alkyd", "A2"); });
        FAIL() << "a copy of 40 lines was stored on a full disk";
    } catch (const StoreError& e) {
        EXPECT_NE(e.message().indexOf("is full"), -1) << e.message().toStdString();
        EXPECT_NE(e.message().indexOf("not stored"), -1) << e.message().toStdString();
    }
    EXPECT_EQ(count(), 1) << "nothing of the copy";
    disk.free();
    EXPECT_NO_THROW(db.run([&] { dm.CopyRecipe({"Alkyd", "A1"}, "Alkyd", "A2"); })) << "once there is room again";
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(QDir(folder).entryList({"*-journal", "*-mj*"}, QDir::Files).size(), 0);
}

} // namespace
