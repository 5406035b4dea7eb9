#include "StoredLibrary.h"

#include "Tables.h"
#include "components/Database.h"

Material StoredLibrary::materialOf(const RowValues& row) {
    const TableSchema& lib = Tables::rmLib();
    const auto text = [&](const char* column) { return row.text(lib.columnIndex(QString::fromLatin1(column))); };
    const auto number = [&](const char* column) { return row.number(lib.columnIndex(QString::fromLatin1(column))); };
    Material m;
    m.code = text("RMCode");
    m.name = text("RMCommonName");
    m.chemClass = text("RMChemClass");
    m.type = materialTypeOf(text("RMType"));
    m.mwt = number("RMMWt");
    m.fa = number("RMFa");
    m.fan = number("RMFan");
    m.fb = number("RMFb");
    m.price = number("RMPrice");
    return m;
}

const Material* StoredLibrary::find(const QString& code) const {
    if (code.isEmpty())
        return nullptr;
    const TableSchema& lib = Tables::rmLib();
    TableFile& file = m_db.table(lib);
    if (file.generation() != m_generation) {
        m_made.clear();
        m_generation = file.generation();
    }
    const StoredRow* row = file.findFirst(lib.columnIndex(QStringLiteral("RMCode")), code.toUtf8());
    if (!row)
        return nullptr;
    auto it = m_made.find(row);
    if (it == m_made.end())
        it = m_made.insert(row, materialOf(row->values));
    return &*it;
}
