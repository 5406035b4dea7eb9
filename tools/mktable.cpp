// Builds one starter table file: mktable <Table> <output file> <insert statements.sql>
#include "store/Tables.h"
#include "components/Sqlite.h"
#include "components/StoreError.h"

#include <QFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: mktable BatchInfo|Recipes|RMLib OUTPUT DATA.sql\n");
        return 2;
    }
    const QString table = QString::fromLocal8Bit(argv[1]);
    const TableSchema* schema = table == "BatchInfo" ? &Tables::batchInfo()
                                : table == "Recipes" ? &Tables::recipes()
                                : table == "RMLib"   ? &Tables::rmLib()
                                                     : nullptr;
    if (!schema) {
        std::fprintf(stderr, "mktable: unknown table %s\n", argv[1]);
        return 2;
    }
    QFile sql(QString::fromLocal8Bit(argv[3]));
    if (!sql.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mktable: cannot read %s\n", argv[3]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile::remove(output);
    try {
        createTableFile(output, *schema, QString::fromUtf8(sql.readAll()));
    } catch (const StoreError& e) {
        std::fprintf(stderr, "mktable: %s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
