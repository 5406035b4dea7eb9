#include "LargeData.h"

#include "store/Tables.h"
#include "components/Sqlite.h"

#include <QDir>
#include <QStringList>
#include <cmath>
#include <functional>

namespace {

struct Material {
    const char* type;
    double mwt, fa, fan, fb;
};

// A handful of real materials, repeated with small variations over the whole library.
const Material kKinds[] = {
    {"Oil", 872.5, 0, 0, 0},      {"Fatty Acid", 280, 1, 0, 0}, {"Acid", 148.12, 0, 1, 0},
    {"Acid", 146.14, 2, 0, 0},    {"Base", 136.15, 0, 0, 4},    {"Base", 92.09, 0, 0, 3},
    {"Base", 104.15, 0, 0, 2},    {"Amphoteric", 134.13, 1, 0, 2},
};

void fill(const QString& path, const QString& sql, int rows,
          const std::function<void(Statement&, int)>& bind) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    SqlitePtr db(raw);
    sqliteExec(db.get(), "BEGIN");
    {
        Statement st(db.get(), sql);
        for (int i = 0; i < rows; ++i) {
            st.reset();
            bind(st, i);
            st.step();
        }
    }
    sqliteExec(db.get(), "COMMIT");
}

QString materialCode(int i) { return QStringLiteral("M%1").arg(i, 5, 10, QChar('0')); }

} // namespace

void writeLargeData(const QString& folder, const LargeData& size) {
    const QDir dir(folder);
    createTableFile(dir.filePath("BatchInfo.ADT"), Tables::batchInfo());
    createTableFile(dir.filePath("Recipes.adt"), Tables::recipes());
    createTableFile(dir.filePath("RMLib.ADT"), Tables::rmLib());

    fill(dir.filePath("RMLib.ADT"), "INSERT INTO RMLib VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
         size.materials, [](Statement& st, int i) {
             const Material& k = kKinds[i % 8];
             st.bind(1, materialCode(i));
             st.bind(2, QStringLiteral("%1 grade %2").arg(k.type).arg(i));
             st.bind(3, QStringLiteral("Class %1").arg(i % 40));
             st.bind(4, QString::fromLatin1(k.type));
             st.bind(5, k.mwt + (i % 13) * 0.5);
             st.bind(6, k.fa);
             st.bind(7, k.fan);
             st.bind(8, k.fb);
             st.bind(9, 0.8 + (i % 17) * 0.1);
         });

    auto typeOf = [&](int r) {
        return r < size.fullRecipes ? QStringLiteral("Alkyd")
                                    : QStringLiteral("Type %1").arg(r % 40, 2, 10, QChar('0'));
    };
    auto codeOf = [&](int r) {
        return r < size.fullRecipes ? QStringLiteral("F%1").arg(r, 2, 10, QChar('0'))
                                    : QStringLiteral("C%1").arg(r, 6, 10, QChar('0'));
    };
    fill(dir.filePath("BatchInfo.ADT"), "INSERT INTO BatchInfo VALUES (?1, ?2, ?3, ?4, ?5, ?6, NULL)",
         size.recipes, [&](Statement& st, int r) {
             st.bind(1, typeOf(r));
             st.bind(2, codeOf(r));
             st.bind(3, QStringLiteral("Recipe %1 of a long-serving user").arg(r));
             st.bind(4, 8.0 + r % 5);
             st.bind(5, 50.0 + r % 20);
             st.bind(6, 1000.0);
         });

    // Lines in recipe order, as a user enters them.
    std::vector<std::pair<int, int>> lines; // recipe, item
    for (int r = 0; r < size.recipes; ++r) {
        const int n = r < size.fullRecipes ? 127 : size.linesPerRecipe;
        for (int item = 1; item <= n; ++item)
            lines.emplace_back(r, item);
    }
    fill(dir.filePath("Recipes.adt"),
         "INSERT INTO Recipes VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, NULL, NULL, NULL)",
         int(lines.size()), [&](Statement& st, int i) {
             const auto [r, item] = lines[size_t(i)];
             const int m = (r * 7 + item * 3) % size.materials;
             const Material& k = kKinds[m % 8];
             const double mwt = k.mwt + (m % 13) * 0.5;
             const double mass = 20 + (item * 37 % 200);
             const double moles = mass / mwt;
             const bool oil = QLatin1String(k.type) == QLatin1String("Oil");
             const double ea = moles * ((oil ? 3 : 0) + k.fa + 2 * k.fan);
             const double eb = moles * ((oil ? 3 : 0) + k.fb);
             st.bind(1, typeOf(r));
             st.bind(2, codeOf(r));
             st.bind(3, item);
             st.bind(4, materialCode(m));
             st.bind(5, mass);
             st.bind(6, moles);
             st.bind(7, ea > 0 ? QVariant(ea) : QVariant());
             st.bind(8, eb > 0 ? QVariant(eb) : QVariant());
         });
}
