// The line arithmetic and the totals and batch passes of the data module.
#include "DModUnit.h"

#include "MainWindowLink.h"
#include "components/ScopeGuard.h"
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

// The focused line's material, read once per recalculation step as the fields stand.
struct Material {
    explicit Material(const Table& t)
        : type(t.fieldByName("RMType").asString()), mwt(t.fieldByName("RMMWt").asFloat()),
          fa(t.fieldByName("RMFa").asFloat()), fan(t.fieldByName("RMFan").asFloat()),
          fb(t.fieldByName("RMFb").asFloat()) {}
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
    const QVariant type = TblRecipe.fieldByName("BatchType").value();
    const QVariant batch = TblRecipe.fieldByName("BatchCode").value();
    TblRecipe.edit();
    TblRecipe.clearFields();
    TblRecipe.fieldByName("BatchType").setValue(type);
    TblRecipe.fieldByName("BatchCode").setValue(batch);
    TblRecipe.fieldByName("ItemNum").setValue(itemNum);
}

void TDMod::RecalcFromMass() {
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(TblRecipe);
    Field& mass = TblRecipe.fieldByName("Mass");
    Field& moles = TblRecipe.fieldByName("Moles");
    setAmount(moles, MolesFromMass(mass.asFloat(), m.mwt));
    setAmount(TblRecipe.fieldByName("Ea"), EaFromMoles(m.type, moles.asFloat(), m.fa, m.fan));
    setAmount(TblRecipe.fieldByName("Eb"), EbFromMoles(m.type, moles.asFloat(), m.fb));
}

void TDMod::RecalcFromMoles() {
    Field& moles = TblRecipe.fieldByName("Moles");
    if (moles.isNull())
        return;
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(TblRecipe);
    setAmount(TblRecipe.fieldByName("Mass"), MassFromMoles(moles.asFloat(), m.mwt));
    setAmount(TblRecipe.fieldByName("Ea"), EaFromMoles(m.type, moles.asFloat(), m.fa, m.fan));
    setAmount(TblRecipe.fieldByName("Eb"), EbFromMoles(m.type, moles.asFloat(), m.fb));
}

void TDMod::RecalcFromEa() {
    Field& ea = TblRecipe.fieldByName("Ea");
    if (ea.isNull())
        return;
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(TblRecipe);
    Field& moles = TblRecipe.fieldByName("Moles");
    setAmount(moles, MolesFromEa(m.type, ea.asFloat(), m.fa, m.fan));
    setAmount(TblRecipe.fieldByName("Mass"), MassFromMoles(moles.asFloat(), m.mwt));
    setAmount(TblRecipe.fieldByName("Eb"), EbFromMoles(m.type, moles.asFloat(), m.fb));
}

void TDMod::RecalcFromEb() {
    Field& eb = TblRecipe.fieldByName("Eb");
    if (eb.isNull())
        return;
    RecalculatingScope guard;
    TblRecipe.edit();
    const Material m(TblRecipe);
    Field& moles = TblRecipe.fieldByName("Moles");
    setAmount(moles, MolesFromEb(m.type, eb.asFloat(), m.fb));
    setAmount(TblRecipe.fieldByName("Mass"), MassFromMoles(moles.asFloat(), m.mwt));
    setAmount(TblRecipe.fieldByName("Ea"), EaFromMoles(m.type, moles.asFloat(), m.fa, m.fan));
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
        emptyLineKeepingPlace(TblRecipe.fieldByName("ItemNum").value());
        return;
    }
    RecalcFromMoles();
}

// ---------------------------------------------------------------------------------------------

void TDMod::CalcTotals() {
    TReactionTotals& t = ReactionTotals;
    t.TotalMass = t.TotalMoles = t.TotalEa = t.MonoEa = t.TotalEb = 0;
    t.WaterMass = t.TotalCost = t.OilMass = t.FattyAcidMass = 0;
    {
        // The focused line is stored first, so that it can be returned to after the walk.
        TblRecipe.checkBrowseMode();
        const QString focused = TblRecipe.bookmark();
        TblRecipe.disableControls();
        ScopeGuard restore([&] {
            TblRecipe.gotoBookmark(focused);
            TblRecipe.enableControls();
        });
        const Field& massF = TblRecipe.fieldByName("Mass");
        const Field& molesF = TblRecipe.fieldByName("Moles");
        const Field& eaF = TblRecipe.fieldByName("Ea");
        const Field& ebF = TblRecipe.fieldByName("Eb");
        const Field& typeF = TblRecipe.fieldByName("RMType");
        const Field& faF = TblRecipe.fieldByName("RMFa");
        const Field& fanF = TblRecipe.fieldByName("RMFan");
        const Field& costF = TblRecipe.fieldByName("RMCost");
        for (TblRecipe.first(); !TblRecipe.eof(); TblRecipe.next()) {
            const double mass = massF.asFloat(), moles = molesF.asFloat();
            const double ea = eaF.asFloat(), eb = ebF.asFloat(), fa = faF.asFloat();
            const QString type = typeF.asString();
            t.TotalMass += mass;
            t.TotalCost += mass * costF.asFloat();
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
            if (type != QLatin1String("Oil") && moles != 0)
                t.WaterMass += 18 * (fa * moles + fanF.asFloat() * moles);
            if (fa == 1)
                t.MonoEa += ea;
        }
    }
    if (AutoCalcOn)
        CalcBatch();
}

void TDMod::CalcBatch() {
    TReactionTotals& t = ReactionTotals;
    t.BatchChargeTotal = t.BatchPercentTotal = t.TotalCost = 0;
    t.BatchSize = TblInfo.fieldByName("Size").asFloat();
    t.SolidsPercent = TblInfo.fieldByName("Solids").asFloat();
    {
        TblRecipe.checkBrowseMode();
        const QString focused = TblRecipe.bookmark();
        TblRecipe.disableControls();
        ScopeGuard restore([&] {
            TblRecipe.gotoBookmark(focused);
            TblRecipe.enableControls();
        });
        const double yield = Yield();
        if (yield > 0) {
            // One transaction: one disk sync for the whole recipe, and all lines or none.
            Database::Transaction tx(m_db);
            Field& chargeF = TblRecipe.fieldByName("Charge");
            Field& percentF = TblRecipe.fieldByName("Percent");
            Field& costF = TblRecipe.fieldByName("Cost");
            const Field& massF = TblRecipe.fieldByName("Mass");
            const Field& priceF = TblRecipe.fieldByName("RMCost");
            TblRecipe.first();
            while (!TblRecipe.eof()) {
                TblRecipe.edit();
                const double mass = massF.asFloat();
                const double charge = mass * t.BatchSize / yield;
                chargeF.setFloat(charge);
                t.BatchChargeTotal += charge;
                if (charge == 0)
                    chargeF.clear();
                const double percent = mass * t.SolidsPercent / yield;
                percentF.setFloat(percent);
                t.BatchPercentTotal += percent;
                if (percent == 0)
                    percentF.clear();
                const double cost = priceF.asFloat() * mass;
                costF.setFloat(cost);
                if (cost == 0)
                    costF.clear();
                t.TotalCost += costF.asFloat();
                TblRecipe.next();
            }
            tx.commit();
        }
    }
    m_form.ShowResults();
}

void TDMod::DSInfoDataChange(Field*) {
    ReactionTotals.TargetAV = TblInfo.fieldByName("AV").asFloat();
    CalcTotals();
}
