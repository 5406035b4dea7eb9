// The data module's part in maintaining the raw-material library.
#include "edit/DModUnit.h"
#include "components/StoreError.h"
#include "domain/LineConversions.h"

#include <QSet>
#include <utility>

QString TDMod::materialCode(const QString& typed) const { return m_library.spelled(typed); }

void TDMod::checkLineCode(const QVariant& code) const {
    // What the recalculation writes is the library's or the recipe's own.
    if (m_recalculating || code.isNull())
        return;
    if (!m_library.find(code.toString()))
        throw FieldError(QStringLiteral("There is no material with the code '%1' in the library.").arg(code.toString()));
}

TDMod::MaterialUse TDMod::UseOfMaterial(const QString& code) const {
    // Where another material of that code remains (a library stored before codes were kept
    // apart), it serves the lines still: deleting this one takes nothing from them.
    if (m_library.countOf(code) > 1)
        return {};
    return m_recipes.useOf(code);
}

void TDMod::LibraryChanged() {
    // The lines look their materials up in the library itself, which a store renews: the lines
    // have only to be shown again.
    m_lines.refresh();
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
        m_lines.refresh();
    }
    CalcTotals();
}

void TDMod::recalcLinesOf(const QSet<QString>& codes) {
    // A line whose code no longer finds a material keeps its figures. Derived figures change no
    // recipe: nothing is dated.
    m_recipes.reworkLines(codes, [this](::Line& line) {
        if (const Material* m = m_library.find(line.code))
            LineConversions::reworkFromMass(line, *m);
    });
}
