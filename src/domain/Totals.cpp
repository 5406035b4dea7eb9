#include "Totals.h"

#include "Chemistry.h"
#include "ResinProperties.h"

using namespace Chemistry;

TReactionTotals totalsOf(const Recipe& recipe, const MaterialLookup& library) {
    TReactionTotals t;
    t.TargetAV = value(recipe.header.av);
    for (const Line& line : recipe.lines) {
        const Material* m = library.find(line.code);
        const MaterialType type = m ? m->type : MaterialType::Other;
        const double fa = m ? m->fa : 0, fan = m ? m->fan : 0, fb = m ? m->fb : 0;
        const double price = m ? m->price : 0;
        const double mass = value(line.mass), moles = value(line.moles);
        const double ea = value(line.ea), eb = value(line.eb);
        t.TotalMass += mass;
        t.TotalCost += mass * price;
        if (type == MaterialType::Oil) {
            t.TotalMoles += OilMolecules * moles;
            t.OilMass += mass;
            t.FattyAcidMass += mass - GlycerolInOil * moles;
            t.MonoEa += ea;
        } else if (type == MaterialType::FattyAcid) {
            t.TotalMoles += moles;
            t.OilMass += mass + TriglycerideGain * ea;
            t.FattyAcidMass += mass;
        } else {
            t.TotalMoles += moles;
        }
        t.TotalEa += ea;
        t.TotalEb += eb;
        // A unit of more than two groups, or an oil's glycerol, can branch.
        if (type == MaterialType::Oil || fa + 2 * fan + fb > 2)
            t.BranchEq += ea + eb;
        if (type == MaterialType::Oil) {
            // Three fatty acids of one group each, any further acid groups on one unit, and the
            // glycerol's three hydroxyls with any further ones on another.
            t.WeightedEa += moles * (OilFattyAcids + (fa + 2 * fan) * (fa + 2 * fan));
            t.WeightedEb += moles * (OilFattyAcids * OilFattyAcids + fb * fb);
        } else {
            t.WeightedEa += (fa + 2 * fan) * ea;
            t.WeightedEb += fb * eb;
        }
        // An oil's ester bonds are made already: it gives off no water.
        if (type != MaterialType::Oil && moles != 0)
            t.WaterMass += Water * (fa * moles + fan * moles);
        if (fa == 1)
            t.MonoEa += ea;
    }
    return t;
}

BatchScale batchOf(const Recipe& recipe, const MaterialLookup& library, const TReactionTotals& totals) {
    BatchScale b;
    const double yield = Yield(totals);
    if (!(yield > 0))
        return b;
    const double size = value(recipe.header.size), solids = value(recipe.header.solids);
    b.lines.reserve(recipe.lines.size());
    for (const Line& line : recipe.lines) {
        const Material* m = library.find(line.code);
        const double mass = value(line.mass);
        LineBatch l;
        const double charge = mass * size / yield;
        b.chargeTotal += charge;
        if (charge != 0)
            l.charge = charge;
        const double percent = mass * solids / yield;
        b.percentTotal += percent;
        if (percent != 0)
            l.percent = percent;
        const double cost = (m ? m->price : 0) * mass;
        if (cost != 0)
            l.cost = cost;
        b.cost += value(l.cost);
        b.lines.push_back(l);
    }
    return b;
}

TReactionTotals scaled(TReactionTotals totals, const RecipeHeader& header, const BatchScale& batch) {
    totals.BatchSize = value(header.size);
    totals.SolidsPercent = value(header.solids);
    totals.BatchChargeTotal = batch.chargeTotal;
    totals.BatchPercentTotal = batch.percentTotal;
    totals.TotalCost = batch.cost;
    return totals;
}

TReactionTotals figuresOf(const Recipe& recipe, const MaterialLookup& library) {
    const TReactionTotals totals = totalsOf(recipe, library);
    return scaled(totals, recipe.header, batchOf(recipe, library, totals));
}
