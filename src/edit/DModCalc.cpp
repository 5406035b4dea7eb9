// The line arithmetic and the totals and batch passes of the data module.
#include "edit/DModUnit.h"

#include "edit/MainWindowLink.h"
#include "components/ScanGuard.h"
#include "domain/NumberFormat.h"
#include "components/ScopeGuard.h"
#include "components/StoreError.h"
#include "domain/EditableAmounts.h"
#include "domain/LineConversions.h"
#include "domain/ReactionTotals.h"
#include "domain/ResinProperties.h"
#include "domain/Totals.h"

#include <QScopedValueRollback>

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

std::optional<double> amount(const QVariant& v) {
    return v.isValid() && !v.isNull() ? std::optional<double>(v.toDouble()) : std::nullopt;
}

} // namespace

void TDMod::setAmount(Field& field, double value) {
    field.setFloat(value);
    if (!(field.asFloat() > 0))
        field.clear();
}

void TDMod::emptyLineKeepingPlace(const QVariant& itemNum) {
    const QVariant type = Line.BatchType->value();
    const QVariant batch = Line.BatchCode->value();
    TblRecipe.edit();
    TblRecipe.clearFields();
    Line.BatchType->setValue(type);
    Line.BatchCode->setValue(batch);
    Line.ItemNum->setValue(itemNum);
}

void TDMod::recalcFrom(Amount typed, Field& source) {
    const QScopedValueRollback<bool> guard(m_recalculating, true);
    TblRecipe.edit();
    const LineMaterial m(lineMaterial());
    const LineAmounts a = AmountsFrom(typed, source.asFloat(), m.type, m.mwt, m.fa, m.fan, m.fb);
    // The other three in the Parts' order: the moles first, or the mass where the moles were
    // typed. A refused figure ends the recalculation at its step.
    const std::pair<Field*, double> writes[] = {
        {Line.Moles, a.moles}, {Line.Mass, a.mass}, {Line.Ea, a.ea}, {Line.Eb, a.eb}};
    for (const auto& [field, value] : writes)
        if (field != &source)
            setAmount(*field, value);
}

void TDMod::RecalcFromMass() { recalcFrom(Amount::Mass, *Line.Mass); }

void TDMod::RecalcFromMoles() {
    if (!Line.Moles->isNull())
        recalcFrom(Amount::Moles, *Line.Moles);
}

void TDMod::RecalcFromEa() {
    if (!Line.Ea->isNull())
        recalcFrom(Amount::Ea, *Line.Ea);
}

void TDMod::RecalcFromEb() {
    if (!Line.Eb->isNull())
        recalcFrom(Amount::Eb, *Line.Eb);
}

void TDMod::checkAmount(const Field& typed, const QVariant& value) {
    if (m_recalculating || value.isNull())
        return;
    const LineMaterial m(lineMaterial());
    const double v = value.toDouble();
    const Amount source = &typed == Line.Mass ? Amount::Mass
                          : &typed == Line.Moles ? Amount::Moles
                          : &typed == Line.Ea ? Amount::Ea
                                              : Amount::Eb;
    // What the recalculation would write, before it writes any of it.
    const LineAmounts a = AmountsFrom(source, v, m.type, m.mwt, m.fa, m.fan, m.fb);
    // What the typed figure makes must be stored whole, or nothing is: the message names the
    // column the user typed in, not the one that would overflow.
    const struct { const Field* field; double value; } made[] = {
        {Line.Mass, a.mass}, {Line.Moles, a.moles}, {Line.Ea, a.ea}, {Line.Eb, a.eb}};
    for (const auto& f : made) {
        if (f.field == &typed)
            continue;
        const bool overflows = !std::isfinite(f.value) || std::abs(f.value) >= MaxFigure;
        const bool outOfRange = f.field->maxValue && f.value > *f.field->maxValue;
        if (!overflows && !outOfRange)
            continue;
        const QString made = overflows ? QStringLiteral("too large to work with")
                                       : NumberFormat::general(f.value);
        throw FieldError(QStringLiteral("%1 is not a valid value for field '%2': it would make the line's %3 %4, "
                                        "and the allowed range of %3 is %5 to %6")
                             .arg(NumberFormat::general(v), typed.name(), f.field->name(), made,
                                  NumberFormat::general(f.field->minValue.value_or(0)),
                                  NumberFormat::general(f.field->maxValue.value_or(MaxFigure))));
    }
}

QString TDMod::lockedReason(LineColumn column) const {
    const Material* material = lineMaterial();
    const QString name = material ? material->name : QString();
    const QString code = Line.RMCode->asString();
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

void TDMod::amountChanged(Field& field, void (TDMod::*recalc)()) {
    if (m_recalculating || field.isNull())
        return;
    (this->*recalc)();
    CalcTotals();
}

void TDMod::TblRecipeMassChange(Field& f) { amountChanged(f, &TDMod::RecalcFromMass); }
void TDMod::TblRecipeMolesChange(Field& f) { amountChanged(f, &TDMod::RecalcFromMoles); }
void TDMod::TblRecipeEaChange(Field& f) { amountChanged(f, &TDMod::RecalcFromEa); }
void TDMod::TblRecipeEbChange(Field& f) { amountChanged(f, &TDMod::RecalcFromEb); }

void TDMod::TblRecipeRMCodeChange(Field& code) {
    if (code.isNull() && !m_recalculating) {
        emptyLineKeepingPlace(Line.ItemNum->value());
        return;
    }
    RecalcFromMoles();
}

// ---------------------------------------------------------------------------------------------

Recipe TDMod::currentRecipe() const {
    Recipe r;
    r.header = m_headers.header();
    const int rows = TblRecipe.isOpen() ? TblRecipe.rowCount() : 0;
    r.lines.reserve(size_t(rows));
    for (int i = 0; i < rows; ++i) {
        const auto at = [&](const Field* f) { return TblRecipe.valueAt(i, *f); };
        ::Line l;
        const QVariant item = at(Line.ItemNum);
        if (item.isValid() && !item.isNull())
            l.item = item.toInt();
        l.code = at(Line.RMCode).toString();
        l.mass = amount(at(Line.Mass));
        l.moles = amount(at(Line.Moles));
        l.ea = amount(at(Line.Ea));
        l.eb = amount(at(Line.Eb));
        l.charge = amount(at(Line.Charge));
        l.percent = amount(at(Line.Percent));
        l.cost = amount(at(Line.Cost));
        r.lines.push_back(std::move(l));
    }
    return r;
}

void TDMod::CalcTotals() {
    // The line being edited is stored with the passes that follow from it: all or nothing.
    Database::Transaction tx(m_db);
    // The focused line is stored first: the recipe is totalled as it is stored.
    TblRecipe.checkBrowseMode();
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
    TblRecipe.checkBrowseMode();
    scaleBatch(currentRecipe());
    tx.commit();
}

void TDMod::scaleBatch(const Recipe& recipe) {
    {
        // One transaction: all lines or none.
        Database::Transaction tx(m_db);
        const BatchScale batch = batchOf(recipe, m_library, m_editor.totals());
        // The batch columns follow from the recipe: writing them changes no recipe, and merely
        // showing one whose figures were stale must not date it.
        const bool keep = m_keepDate;
        m_keepDate = true;
        ScopeGuard restoreKeep([&] { m_keepDate = keep; });
        ScanGuard scan(TblRecipe);
        // A pass ended by an error leaves no half-written line behind to be stored later.
        const int errorsBefore = std::uncaught_exceptions();
        ScopeGuard dropPending([&] {
            if (std::uncaught_exceptions() > errorsBefore)
                TblRecipe.cancel();
        });
        // Without a positive yield the lines keep what they had: no line is walked. An undo or
        // redo writes back the very figures the lines held then: the pass leaves them so.
        if (!batch.lines.empty() && !m_db.replaying()) {
            size_t i = 0;
            for (TblRecipe.first(); !TblRecipe.eof() && i < batch.lines.size(); TblRecipe.next(), ++i) {
                const LineBatch& line = batch.lines[i];
                TblRecipe.edit();
                Line.Charge->setValue(line.charge ? QVariant(*line.charge) : QVariant());
                Line.Percent->setValue(line.percent ? QVariant(*line.percent) : QVariant());
                Line.Cost->setValue(line.cost ? QVariant(*line.cost) : QVariant());
            }
        }
        m_editor.setTotals(scaled(m_editor.totals(), recipe.header, batch));
        tx.commit();
    }
    m_editor.announce();
}
