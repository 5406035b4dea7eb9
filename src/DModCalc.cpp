// The line arithmetic and the totals and batch passes of the data module.
#include "DModUnit.h"

#include "MainWindowLink.h"
#include "components/ScanGuard.h"
#include "components/NumberFormat.h"
#include "components/ScopeGuard.h"
#include "components/StoreError.h"
#include "formulas/EditableAmounts.h"
#include "formulas/LineConversions.h"
#include "formulas/ReactionTotals.h"
#include "formulas/ResinProperties.h"

using namespace LineConversions;

namespace {

// Holds the guard for the length of one recalculation, however it ends.
struct RecalculatingScope {
    RecalculatingScope() { Recalculating = true; }
    ~RecalculatingScope() { Recalculating = false; }
};

// The focused line's material, read once per recalculation.
struct Material {
    explicit Material(const TDMod::LineFields& l)
        : type(l.RMType->asString()), mwt(l.RMMWt->asFloat()), fa(l.RMFa->asFloat()),
          fan(l.RMFan->asFloat()), fb(l.RMFb->asFloat()) {}
    QString type;
    double mwt, fa, fan, fb;
};

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

void TDMod::RecalcFromMass() {
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(Line);
    setAmount(*Line.Moles, MolesFromMass(Line.Mass->asFloat(), m.mwt));
    setAmount(*Line.Ea, EaFromMoles(m.type, Line.Moles->asFloat(), m.fa, m.fan));
    setAmount(*Line.Eb, EbFromMoles(m.type, Line.Moles->asFloat(), m.fb));
}

void TDMod::RecalcFromMoles() {
    if (Line.Moles->isNull())
        return;
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(Line);
    const double moles = Line.Moles->asFloat();
    setAmount(*Line.Mass, MassFromMoles(moles, m.mwt));
    setAmount(*Line.Ea, EaFromMoles(m.type, moles, m.fa, m.fan));
    setAmount(*Line.Eb, EbFromMoles(m.type, moles, m.fb));
}

void TDMod::RecalcFromEa() {
    if (Line.Ea->isNull())
        return;
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(Line);
    setAmount(*Line.Moles, MolesFromEa(m.type, Line.Ea->asFloat(), m.fa, m.fan));
    setAmount(*Line.Mass, MassFromMoles(Line.Moles->asFloat(), m.mwt));
    setAmount(*Line.Eb, EbFromMoles(m.type, Line.Moles->asFloat(), m.fb));
}

void TDMod::RecalcFromEb() {
    if (Line.Eb->isNull())
        return;
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(Line);
    setAmount(*Line.Moles, MolesFromEb(m.type, Line.Eb->asFloat(), m.fb));
    setAmount(*Line.Mass, MassFromMoles(Line.Moles->asFloat(), m.mwt));
    setAmount(*Line.Ea, EaFromMoles(m.type, Line.Moles->asFloat(), m.fa, m.fan));
}

void TDMod::checkAmount(const Field& typed, const QVariant& value) {
    if (Recalculating || value.isNull())
        return;
    const Material m(Line);
    const double v = value.toDouble();
    double mass = 0, moles = 0, ea = 0, eb = 0;
    if (&typed == Line.Mass) {
        mass = v;
        moles = MolesFromMass(v, m.mwt);
    } else if (&typed == Line.Moles) {
        moles = v;
    } else if (&typed == Line.Ea) {
        moles = MolesFromEa(m.type, v, m.fa, m.fan);
    } else {
        moles = MolesFromEb(m.type, v, m.fb);
    }
    if (&typed != Line.Mass)
        mass = MassFromMoles(moles, m.mwt);
    if (&typed != Line.Ea)
        ea = EaFromMoles(m.type, moles, m.fa, m.fan);
    if (&typed != Line.Eb)
        eb = EbFromMoles(m.type, moles, m.fb);
    // What the typed figure makes must be stored whole, or nothing is: the message names the
    // column the user typed in, not the one that would overflow.
    const struct { const Field* field; double value; } made[] = {
        {Line.Mass, mass}, {Line.Moles, moles}, {Line.Ea, ea}, {Line.Eb, eb}};
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

QString TDMod::lockedReason(const QString& fieldName) const {
    const QString name = Line.RMName->asString();
    const QString code = Line.RMCode->asString();
    if (code.isEmpty())
        return QStringLiteral("This line has no material yet: type its code, or choose its name, first.");
    if (name.isEmpty())
        return QStringLiteral("There is no material with the code '%1' in the library: the line takes no "
                              "amounts until its code names one.")
            .arg(code);
    const EditableAmounts e = editableAmounts(Line.RMType->asString(), Line.RMFa->asFloat(),
                                              Line.RMFan->asFloat(), Line.RMFb->asFloat());
    if (!e.mass)
        return QStringLiteral("%1 has no acid, anhydride or hydroxyl groups in the library: the line takes no "
                              "amounts.")
            .arg(name);
    if (fieldName == QLatin1String("Ea") && !e.ea)
        return QStringLiteral("%1 has no acid groups: its Ea stays empty.").arg(name);
    if (fieldName == QLatin1String("Eb") && !e.eb)
        return QStringLiteral("%1 has no hydroxyl groups: its Eb stays empty.").arg(name);
    return QString();
}

void TDMod::amountChanged(Field& field, void (TDMod::*recalc)()) {
    if (Recalculating || field.isNull())
        return;
    (this->*recalc)();
    CalcTotals();
}

void TDMod::TblRecipeMassChange(Field& f) { amountChanged(f, &TDMod::RecalcFromMass); }
void TDMod::TblRecipeMolesChange(Field& f) { amountChanged(f, &TDMod::RecalcFromMoles); }
void TDMod::TblRecipeEaChange(Field& f) { amountChanged(f, &TDMod::RecalcFromEa); }
void TDMod::TblRecipeEbChange(Field& f) { amountChanged(f, &TDMod::RecalcFromEb); }

void TDMod::TblRecipeRMCodeChange(Field& code) {
    if (code.isNull() && !Recalculating) {
        emptyLineKeepingPlace(Line.ItemNum->value());
        return;
    }
    RecalcFromMoles();
}

// ---------------------------------------------------------------------------------------------

void TDMod::CalcTotals() {
    // The line being edited is stored with the passes that follow from it: all or nothing.
    Database::Transaction tx(m_db);
    TReactionTotals& t = ReactionTotals;
    t.TotalMass = t.TotalMoles = t.TotalEa = t.MonoEa = t.TotalEb = 0;
    t.WaterMass = t.TotalCost = t.OilMass = t.FattyAcidMass = t.BranchEq = 0;
    t.WeightedEa = t.WeightedEb = 0;
    {
        // The focused line is stored first, so that it can be returned to after the walk.
        TblRecipe.checkBrowseMode();
        ScanGuard scan(TblRecipe);
        for (TblRecipe.first(); !TblRecipe.eof(); TblRecipe.next()) {
            const double mass = Line.Mass->asFloat(), moles = Line.Moles->asFloat();
            const double ea = Line.Ea->asFloat(), eb = Line.Eb->asFloat();
            const double fa = Line.RMFa->asFloat(), fan = Line.RMFan->asFloat(), fb = Line.RMFb->asFloat();
            const QString type = Line.RMType->asString();
            t.TotalMass += mass;
            t.TotalCost += mass * Line.RMCost->asFloat();
            if (type == QLatin1String("Oil")) {
                t.TotalMoles += 4 * moles;
                t.OilMass += mass;
                t.FattyAcidMass += mass - 93 * moles;
                t.MonoEa += ea;
            } else if (type == QLatin1String("Fatty Acid")) {
                t.TotalMoles += moles;
                t.OilMass += mass + 12.7 * ea;
                t.FattyAcidMass += mass;
            } else {
                t.TotalMoles += moles;
            }
            t.TotalEa += ea;
            t.TotalEb += eb;
            if (type == QLatin1String("Oil") || fa + 2 * fan + fb > 2)
                t.BranchEq += ea + eb;
            if (type == QLatin1String("Oil")) {
                // Three fatty acids of one group each, any further acid groups on one unit, and
                // the glycerol's three hydroxyls with any further ones on another.
                t.WeightedEa += moles * (3 + (fa + 2 * fan) * (fa + 2 * fan));
                t.WeightedEb += moles * (9 + fb * fb);
            } else {
                t.WeightedEa += (fa + 2 * fan) * ea;
                t.WeightedEb += fb * eb;
            }
            if (type != QLatin1String("Oil") && moles != 0)
                t.WaterMass += 18 * (fa * moles + fan * moles);
            if (fa == 1)
                t.MonoEa += ea;
        }
    }
    if (AutoCalcOn)
        CalcBatch();
    tx.commit();
}

void TDMod::CalcBatch() {
    TReactionTotals& t = ReactionTotals;
    t.BatchChargeTotal = t.BatchPercentTotal = t.TotalCost = 0;
    t.BatchSize = Info.Size->asFloat();
    t.SolidsPercent = Info.Solids->asFloat();
    {
        // One transaction: all lines or none.
        Database::Transaction tx(m_db);
        TblRecipe.checkBrowseMode();
        // The batch columns follow from the recipe: writing them changes no recipe, and merely
        // showing one whose figures were stale must not date it.
        const bool keep = m_keepDate;
        m_keepDate = true;
        ScopeGuard restoreKeep([&] { m_keepDate = keep; });
        ScanGuard scan(TblRecipe);
        const double yield = Yield();
        // A pass ended by an error leaves no half-written line behind to be stored later.
        const int errorsBefore = std::uncaught_exceptions();
        ScopeGuard dropPending([&] {
            if (std::uncaught_exceptions() > errorsBefore)
                TblRecipe.cancel();
        });
        if (yield > 0) {
            TblRecipe.first();
            while (!TblRecipe.eof()) {
                TblRecipe.edit();
                const double mass = Line.Mass->asFloat();
                const double charge = mass * t.BatchSize / yield;
                Line.Charge->setFloat(charge);
                t.BatchChargeTotal += charge;
                if (charge == 0)
                    Line.Charge->clear();
                const double percent = mass * t.SolidsPercent / yield;
                Line.Percent->setFloat(percent);
                t.BatchPercentTotal += percent;
                if (percent == 0)
                    Line.Percent->clear();
                const double cost = Line.RMCost->asFloat() * mass;
                Line.Cost->setFloat(cost);
                if (cost == 0)
                    Line.Cost->clear();
                t.TotalCost += Line.Cost->asFloat();
                TblRecipe.next();
            }
        }
        tx.commit();
    }
    m_form.ShowResults();
}

void TDMod::DSInfoDataChange(Field* field) {
    // The date a post stamps changes no figure.
    if (field == Info.Date)
        return;
    ReactionTotals.TargetAV = Info.AV->asFloat();
    CalcTotals();
}
