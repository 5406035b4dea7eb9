#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// What one table file holds: the table's columns in order, with their widths, and its indexes.
enum class ColumnType { Text, Double, SmallInt, Currency };

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0; // characters, for text columns
    // A column later versions added at the end: a file without it gets it when opened, empty.
    bool addedLater = false;
};

struct IndexDef {
    QString name;
    QStringList columns;
    bool unique = false;
};

struct TableSchema {
    QString name;
    QString fileName;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;

    int columnIndex(const QString& column) const; // -1 when absent; letter case ignored
    const IndexDef* index(const QString& indexName) const;
    // SQL that creates the table and its indexes in an empty database file.
    QString createSql() const;
    static QString sqlType(ColumnType type);
};
