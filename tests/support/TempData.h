#pragma once

#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// A Data folder of its own for one test: the three table files, filled with the rows the test
// gives as SQL values lists.
class TempData {
public:
    TempData();
    const QString& folder() const { return m_folder; }
    QString file(const QString& name) const;

    // Creates the three table files; each argument holds INSERT statements for its table.
    void create(const QString& batchInfo = {}, const QString& recipes = {}, const QString& rmLib = {});

    // Convenience INSERT builders.
    static QString header(const QString& type, const QString& code, double av = 8, double solids = 50,
                          double size = 1000, const QString& description = "Test recipe");
    static QString line(const QString& type, const QString& code, int item, const QString& rmCode,
                        const QString& amounts = "NULL, NULL, NULL, NULL, NULL, NULL, NULL");
    static QString material(const QString& code, const QString& name, const QString& type, double mwt,
                            double fa, double fan, double fb, double price = 1);

    // The SQL of a starter table ("BatchInfo", "Recipes" or "RMLib") as the program ships it.
    static QString starter(const QString& table);

    // Reads one value straight from a table file, bypassing the program.
    QString query(const QString& fileName, const QString& sql) const;

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

// A number as the user's locale writes it: "1.5" is "1,5" under a decimal comma.
inline QString loc(QString text) { return text.replace(u'.', QLocale().decimalPoint()); }

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
