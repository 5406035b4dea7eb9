#include "TableSchema.h"

int TableSchema::columnIndex(const QString& column) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

const IndexDef* TableSchema::index(const QString& indexName) const {
    for (const IndexDef& ix : indexes)
        if (ix.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

QString TableSchema::sqlType(ColumnType type) {
    switch (type) {
    case ColumnType::Text:
        return QStringLiteral("TEXT");
    case ColumnType::SmallInt:
        return QStringLiteral("INTEGER");
    case ColumnType::Double:
    case ColumnType::Currency:
        break;
    }
    return QStringLiteral("REAL");
}

QString TableSchema::createSql() const {
    QStringList cols;
    for (const ColumnDef& c : columns)
        cols << QStringLiteral("\"%1\" %2").arg(c.name, sqlType(c.type));
    QString sql = QStringLiteral("CREATE TABLE \"%1\" (%2);\n").arg(name, cols.join(", "));
    for (const IndexDef& ix : indexes) {
        QStringList parts;
        for (const QString& c : ix.columns) {
            const int i = columnIndex(c);
            const bool text = i >= 0 && columns[size_t(i)].type == ColumnType::Text;
            // Text keys ignore letter case, as the program's lists and look-ups do.
            parts << QStringLiteral("\"%1\"%2").arg(c, text ? " COLLATE NOCASE" : "");
        }
        sql += QStringLiteral("CREATE %1INDEX \"%2\" ON \"%3\" (%4);\n")
                   .arg(ix.unique ? "UNIQUE " : "", ix.name, name, parts.join(", "));
    }
    return sql;
}
