#include "TempData.h"

#include "store/Tables.h"
#include "components/Sqlite.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TempData::TempData() {
    m_folder = QDir(m_dir.path()).filePath("Data");
    QDir().mkpath(m_folder);
}

QString TempData::file(const QString& name) const { return QDir(m_folder).filePath(name); }

void TempData::create(const QString& batchInfo, const QString& recipes, const QString& rmLib) {
    createTableFile(file("BatchInfo.ADT"), Tables::batchInfo(), batchInfo);
    createTableFile(file("Recipes.adt"), Tables::recipes(), recipes);
    createTableFile(file("RMLib.ADT"), Tables::rmLib(), rmLib);
}

static QString quoted(const QString& s) { return "'" + QString(s).replace("'", "''") + "'"; }

QString TempData::header(const QString& type, const QString& code, double av, double solids,
                         double size, const QString& description) {
    return QString("INSERT INTO BatchInfo VALUES (%1, %2, %3, %4, %5, %6, NULL);\n")
        .arg(quoted(type), quoted(code), quoted(description))
        .arg(av)
        .arg(solids)
        .arg(size);
}

QString TempData::line(const QString& type, const QString& code, int item, const QString& rmCode,
                       const QString& amounts) {
    return QString("INSERT INTO Recipes VALUES (%1, %2, %3, %4, %5);\n")
        .arg(quoted(type), quoted(code))
        .arg(item)
        .arg(quoted(rmCode), amounts);
}

QString TempData::material(const QString& code, const QString& name, const QString& type,
                           double mwt, double fa, double fan, double fb, double price) {
    return QString("INSERT INTO RMLib VALUES (%1, %2, 'Class', %3, %4, %5, %6, %7, %8);\n")
        .arg(quoted(code), quoted(name), quoted(type))
        .arg(mwt, 0, 'g', 17)
        .arg(fa, 0, 'g', 17)
        .arg(fan, 0, 'g', 17)
        .arg(fb, 0, 'g', 17)
        .arg(price, 0, 'g', 17);
}

QString TempData::starter(const QString& table) {
    QFile file(QStringLiteral(KALVORA_SOURCE_DIR "/data/%1.sql").arg(table));
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "no starter table " << file.fileName().toStdString();
    return QString::fromUtf8(file.readAll());
}

QString TempData::query(const QString& fileName, const QString& sql) const {
    sqlite3* raw = nullptr;
    // Read-write, so that a journal an interrupted commit left is played back as any reader would.
    sqlite3_open_v2(file(fileName).toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    SqlitePtr db(raw);
    Statement st(db.get(), sql);
    QStringList out;
    while (st.step()) {
        QStringList row;
        for (int i = 0; i < st.columnCount(); ++i)
            row << st.columnText(i);
        out << row.join("|");
    }
    return out.join("\n");
}
