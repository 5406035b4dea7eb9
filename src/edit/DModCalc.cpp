// The line arithmetic and the totals and batch passes of the data module.
#include "edit/DModUnit.h"

#include "domain/NumberFormat.h"
#include "components/ScopeGuard.h"
#include "components/StoreError.h"
#include "domain/EditableAmounts.h"
#include "domain/LineConversions.h"
#include "domain/ReactionTotals.h"
#include "domain/ResinProperties.h"
#include "domain/Totals.h"
#include "store/ColumnText.h"

#include <QScopedValueRollback>
#include <cmath>

using namespace LineConversions;

namespace {

// The focused line's material, read once per recalculation; none: a material of no type and no
// figures.
struct LineMaterial {
    explicit LineMaterial(const Material* m)
        : type(m ? m->type : materialTypeOf(QString())), mwt(m ? m->mwt : 0), fa(m ? m->fa : 0),
          fan(m ? m->fan : 0), fb(m ? m->fb : 0) {}
    MaterialType type;
    double mwt, fa, fan, fb;
};

} // namespace

void TDMod::setAmount(LineColumn column, double value) {
    m_lines.setValue(column, value);
    if (!(m_lines.asFloat(column) > 0))
        m_lines.clear(column);
}

void TDMod::emptyLineKeepingPlace(const QVariant& itemNum) {
    m_lines.edit();
    m_lines.clearLine();
    m_lines.setValue(LineColumn::Item, itemNum);
}

void TDMod::recalcFrom(Amount typed, LineColumn source) {
    const QScopedValueRollback<bool> guard(m_recalculating, true);
    m_lines.edit();
    const LineMaterial m(lineMaterial());
    const LineAmounts a = AmountsFrom(typed, m_lines.asFloat(source), m.type, m.mwt, m.fa, m.fan, m.fb);
    // The other three in their fixed order: the moles first, or the mass where the moles were
    // typed. A refused figure ends the recalculation at its step.
    const std::pair<LineColumn, double> writes[] = {{LineColumn::Moles, a.moles},
                                                    {LineColumn::Mass, a.mass},
                                                    {LineColumn::Ea, a.ea},
                                                    {LineColumn::Eb, a.eb}};
    for (const auto& [column, value] : writes)
        if (column != source)
            setAmount(column, value);
}

void TDMod::RecalcFromMass() { recalcFrom(Amount::Mass, LineColumn::Mass); }

void TDMod::RecalcFromMoles() {
    if (!m_lines.isNull(LineColumn::Moles))
        recalcFrom(Amount::Moles, LineColumn::Moles);
}

void TDMod::RecalcFromEa() {
    if (!m_lines.isNull(LineColumn::Ea))
        recalcFrom(Amount::Ea, LineColumn::Ea);
}

void TDMod::RecalcFromEb() {
    if (!m_lines.isNull(LineColumn::Eb))
        recalcFrom(Amount::Eb, LineColumn::Eb);
}

void TDMod::checkAmount(LineColumn typed, const QVariant& value) {
    if (m_recalculating || value.isNull())
        return;
    const LineMaterial m(lineMaterial());
    const double v = value.toDouble();
    const Amount source = typed == LineColumn::Mass    ? Amount::Mass
                          : typed == LineColumn::Moles ? Amount::Moles
                          : typed == LineColumn::Ea    ? Amount::Ea
                                                       : Amount::Eb;
    // What the recalculation would write, before it writes any of it.
    const LineAmounts a = AmountsFrom(source, v, m.type, m.mwt, m.fa, m.fan, m.fb);
    // What the typed figure makes must be stored whole, or nothing is: the message names the
    // column the user typed in, not the one that would overflow.
    const struct { LineColumn column; double value; } made[] = {
        {LineColumn::Mass, a.mass}, {LineColumn::Moles, a.moles}, {LineColumn::Ea, a.ea}, {LineColumn::Eb, a.eb}};
    for (const auto& f : made) {
        if (f.column == typed)
            continue;
        const RecipeLines::Rule& rule = RecipeLines::rule(f.column);
        const bool overflows = !std::isfinite(f.value) || std::abs(f.value) >= MaxFigure;
        const bool outOfRange = rule.max && f.value > *rule.max;
        if (!overflows && !outOfRange)
            continue;
        const QString made = overflows ? QStringLiteral("too large to work with")
                                       : NumberFormat::general(f.value);
        throw FieldError(QStringLiteral("%1 is not a valid value for field '%2': it would make the line's %3 %4, "
                                        "and the allowed range of %3 is %5 to %6")
                             .arg(NumberFormat::general(v), QLatin1String(RecipeLines::rule(typed).name),
                                  QLatin1String(rule.name), made, NumberFormat::general(rule.min.value_or(0)),
                                  NumberFormat::general(rule.max.value_or(MaxFigure))));
    }
}

QString TDMod::lockedReason(LineColumn column) const {
    const Material* material = lineMaterial();
    const QString name = material ? material->name : QString();
    const QString code = m_lines.line().code;
    if (code.isEmpty())
        return QStringLiteral("This line has no material yet: type its code, or choose its name, first.");
    if (name.isEmpty())
        return QStringLiteral("There is no material with the code '%1' in the library: the line takes no "
                              "amounts until its code names one.")
            .arg(code);
    const EditableAmounts e = editableAmounts(material->type, material->fa, material->fan, material->fb);
    if (!e.mass)
        return QStringLiteral("%1 has no acid, anhydride or hydroxyl groups in the library: the line takes no "
                              "amounts.")
            .arg(name);
    if (column == LineColumn::Ea && !e.ea)
        return QStringLiteral("%1 has no acid groups: its Ea stays empty.").arg(name);
    if (column == LineColumn::Eb && !e.eb)
        return QStringLiteral("%1 has no hydroxyl groups: its Eb stays empty.").arg(name);
    return QString();
}

void TDMod::amountChanged(LineColumn column, void (TDMod::*recalc)()) {
    if (m_recalculating || m_lines.isNull(column))
        return;
    (this->*recalc)();
    if (!m_deferTotals)
        CalcTotals();
}

void TDMod::TblRecipeMassChange() { amountChanged(LineColumn::Mass, &TDMod::RecalcFromMass); }
void TDMod::TblRecipeMolesChange() { amountChanged(LineColumn::Moles, &TDMod::RecalcFromMoles); }
void TDMod::TblRecipeEaChange() { amountChanged(LineColumn::Ea, &TDMod::RecalcFromEa); }
void TDMod::TblRecipeEbChange() { amountChanged(LineColumn::Eb, &TDMod::RecalcFromEb); }

void TDMod::TblRecipeRMCodeChange() {
    if (m_lines.isNull(LineColumn::Code) && !m_recalculating) {
        emptyLineKeepingPlace(m_lines.value(LineColumn::Item));
        return;
    }
    RecalcFromMoles();
}

void TDMod::DesignMasses(const std::vector<std::pair<int, double>>& masses) {
    Database::Transaction tx(m_db);
    m_db.nameAction(QStringLiteral("Design from Targets"));
    m_lines.checkBrowseMode();
    const qint64 focused = m_lines.rowidAt(m_lines.recNo());
    {
        const QScopedValueRollback<bool> once(m_deferTotals, true);
        for (const auto& [pos, mass] : masses) {
            if (pos < 0 || pos >= m_lines.rowCount())
                throw StoreError(QStringLiteral("The recipe changed while its design was open: nothing was written."));
            m_lines.goTo(pos);
            m_lines.edit();
            m_lines.setValue(LineColumn::Mass, mass);
        }
        m_lines.checkBrowseMode();
    }
    m_lines.goToRow(focused);
    CalcTotals();
    tx.commit();
}

// ---------------------------------------------------------------------------------------------

Recipe TDMod::currentRecipe() const {
    Recipe r;
    r.header = m_headers.header();
    const int rows = m_lines.isOpen() ? m_lines.rowCount() : 0;
    r.lines.reserve(size_t(rows));
    for (int i = 0; i < rows; ++i)
        r.lines.push_back(m_lines.lineAt(i));
    return r;
}

void TDMod::CalcTotals() {
    // The line being edited is stored with the passes that follow from it: all or nothing.
    Database::Transaction tx(m_db);
    // The focused line is stored first: the recipe is totalled as it is stored.
    m_lines.checkBrowseMode();
    const Recipe recipe = currentRecipe();
    TReactionTotals t = totalsOf(recipe, m_library);
    // The target acid value is the header's as its change handler put it, and the batch figures
    // stay as the last batch pass left them.
    const TReactionTotals& was = m_editor.totals();
    t.TargetAV = was.TargetAV;
    t.BatchChargeTotal = was.BatchChargeTotal;
    t.BatchPercentTotal = was.BatchPercentTotal;
    t.BatchSize = was.BatchSize;
    t.SolidsPercent = was.SolidsPercent;
    m_editor.setTotals(t);
    if (m_editor.autoCalc())
        scaleBatch(recipe); // the lines as just totalled: stored, nothing pending
    tx.commit();
}

void TDMod::CalcBatch() {
    Database::Transaction tx(m_db);
    m_lines.checkBrowseMode();
    scaleBatch(currentRecipe());
    tx.commit();
}

void TDMod::scaleBatch(const Recipe& recipe) {
    {
        // One transaction: all lines or none.
        Database::Transaction tx(m_db);
        const BatchScale batch = batchOf(recipe, m_library, m_editor.totals());
        // The batch columns follow from the recipe: they are written where they stand, the
        // user's line and the recipe's date left alone, and the lines heard of once.
        m_lines.disableControls();
        ScopeGuard resume([&] { m_lines.enableControls(); });
        // Without a positive yield the lines keep what they had: no line is walked. An undo or
        // redo writes back the very figures the lines held then: the pass leaves them so.
        if (!batch.lines.empty() && !m_db.replaying()) {
            const size_t n = std::min(batch.lines.size(), size_t(m_lines.rowCount()));
            // A figure the lines cannot hold is refused, as a typed one would be. The batch columns
            // have no limits: only a figure that is no number is, and only then is the message made.
            const auto checked = [](LineColumn column, const std::optional<double>& v) {
                if (v && !std::isfinite(*v))
                    RecipeLines::validated(column, *v);
                return v;
            };
            for (size_t i = 0; i < n; ++i) {
                const LineBatch& b = batch.lines[i];
                ::Line line = m_lines.lineAt(int(i));
                line.charge = checked(LineColumn::Charge, b.charge);
                line.percent = checked(LineColumn::Percent, b.percent);
                line.cost = checked(LineColumn::Cost, b.cost);
                m_lines.storeAt(int(i), line);
            }
        }
        m_editor.setTotals(scaled(m_editor.totals(), recipe.header, batch));
        tx.commit();
    }
    m_editor.announce();
}
