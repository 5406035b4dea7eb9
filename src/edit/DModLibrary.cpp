// The data module's part in maintaining the raw-material library.
#include "edit/DModUnit.h"
#include "store/Tables.h"
#include "components/StoreError.h"
#include "components/TextKey.h"
#include "domain/LineConversions.h"

#include <QSet>
#include <utility>

QString TDMod::materialCode(const QString& typed) const {
    const QString code = typed.trimmed();
    if (code.isEmpty())
        return code;
    const TableSchema& lib = Tables::rmLib();
    const int column = lib.columnIndex("RMCode");
    TableFile& file = m_db.table(lib);
    if (file.findFirst(column, code.toUtf8()))
        return code;
    for (const RowPtr& row : file.snapshot())
        if (TextKey::same(row->values.text(column).trimmed(), code))
            return row->values.text(column);
    return code;
}

void TDMod::checkLineCode(const QVariant& code) const {
    // What the recalculation writes is the library's or the recipe's own.
    if (m_recalculating || code.isNull())
        return;
    const TableSchema& lib = Tables::rmLib();
    if (!m_db.table(lib).findFirst(lib.columnIndex("RMCode"), code.toString().toUtf8()))
        throw FieldError(QStringLiteral("There is no material with the code '%1' in the library.").arg(code.toString()));
}

TDMod::MaterialUse TDMod::UseOfMaterial(const QString& code) const {
    // Where another material of that code remains (a library stored before codes were kept
    // apart), it serves the lines still: deleting this one takes nothing from them.
    const TableSchema& lib = Tables::rmLib();
    const int codeColumn = lib.columnIndex("RMCode");
    int materials = 0;
    for (const RowPtr& row : m_db.table(lib).snapshot())
        if (row->values.text(codeColumn) == code && ++materials > 1)
            return {};
    const TableSchema& recipes = Tables::recipes();
    const int type = recipes.columnIndex("BatchType"), batch = recipes.columnIndex("BatchCode");
    MaterialUse use;
    QSet<QString> seen;
    for (const RowPtr& row : m_db.table(recipes).select(QStringLiteral("RMCode = ?"), {code})) {
        ++use.lines;
        seen.insert(row->values.text(type).toCaseFolded() + QChar(0) + row->values.text(batch).toCaseFolded());
    }
    use.recipes = int(seen.size());
    return use;
}

void TDMod::LibraryChanged() {
    // The lines look their materials up in the library file itself, which a store renews: the
    // line view has only to show them again.
    TblRecipe.refresh();
}

void TDMod::LibraryClosed() {
    m_materialEditor.close();
    const QSet<QString> codes = std::exchange(m_materialsStored, {});
    if (!codes.isEmpty()) {
        // The lines worked out again for one material stored belong to storing it, when that was
        // the last action; for several they are an action of their own.
        if (codes.size() == 1 && m_db.lastRecorded() == m_lastMaterialStore)
            m_db.joinPreviousAction();
        else
            m_db.nameAction(QStringLiteral("Recalculate Lines"));
        recalcLinesOf(codes);
        TblRecipe.refresh();
    }
    CalcTotals();
}

void TDMod::recalcLinesOf(const QSet<QString>& codes) {
    // The mass is what was weighed: it stays, and what follows from the material is worked out
    // again. A line whose code no longer finds a material keeps its figures. Derived figures
    // change no recipe: nothing is dated.
    using namespace LineConversions;
    const TableSchema& lines = Tables::recipes();
    const TableSchema& library = Tables::rmLib();
    TableFile& file = m_db.table(lines);
    TableFile& lib = m_db.table(library);
    const auto col = [](const TableSchema& s, const char* name) { return s.columnIndex(QString::fromLatin1(name)); };
    const int code = col(lines, "RMCode"), mass = col(lines, "Mass"), moles = col(lines, "Moles"),
              ea = col(lines, "Ea"), eb = col(lines, "Eb");
    const int libCode = col(library, "RMCode"), type = col(library, "RMType"), mwt = col(library, "RMMWt"),
              fa = col(library, "RMFa"), fan = col(library, "RMFan"), fb = col(library, "RMFb");
    const auto amount = [](double v) { return v > 0 ? QVariant(v) : QVariant(); };
    Database::Transaction tx(m_db);
    for (const QString& c : codes) {
        const QByteArray key = c.toUtf8();
        for (const RowPtr& row : file.select(QStringLiteral("RMCode = ?"), {c})) {
            const StoredRow* m = lib.findFirst(libCode, key);
            const double weighed = row->values.number(mass);
            if (!m || !(weighed > 0) || row->values.text(code) != c)
                continue;
            const MaterialType t = materialTypeOf(m->values.text(type));
            const double n = MolesFromMass(weighed, m->values.number(mwt));
            RowValues after = row->values;
            after.set(moles, amount(n));
            after.set(ea, amount(EaFromMoles(t, n, m->values.number(fa), m->values.number(fan))));
            after.set(eb, amount(EbFromMoles(t, n, m->values.number(fb))));
            file.update(row->rowid, row->values, after);
        }
    }
    tx.commit();
}
