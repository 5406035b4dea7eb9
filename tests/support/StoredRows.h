#pragma once

#include "TempData.h"

#include <string>

// Every row of the three table files, each figure to the last digit, so that two moments compare
// whole: what an action stored, and that a refusal stored nothing.
inline std::string storedRows(const TempData& data) {
    const auto rows = [&data](const char* file, const char* table, const char* columns) {
        QString expr;
        for (const QString& c : QString(columns).split(' ')) {
            const QString value = c.startsWith("quote(") ? c : QString("ifnull(printf('%.17g', %1), '-')").arg(c);
            expr += (expr.isEmpty() ? "" : "||'|'||") + value;
        }
        const QString sql = QString("SELECT group_concat(rowid||':'||%1, char(10)) FROM (SELECT rowid, * FROM %2 "
                                    "ORDER BY rowid)")
                                .arg(expr, table);
        return QString(table) + ":\n" + data.query(file, sql) + "\n";
    };
    return (rows("BatchInfo.ADT", "BatchInfo", "quote(BatchType) quote(BatchCode) quote(Description) AV Solids Size") +
            rows("Recipes.adt", "Recipes",
                 "quote(BatchType) quote(BatchCode) ItemNum quote(RMCode) Mass Moles Ea Eb Charge Percent Cost") +
            rows("RMLib.ADT", "RMLib",
                 "quote(RMCode) quote(RMCommonName) quote(RMChemClass) quote(RMType) RMMWt RMFa RMFan RMFb RMPrice"))
        .toStdString();
}
