#include "LineConversions.h"

#include "Chemistry.h"
#include "Recipe.h"

namespace LineConversions {

namespace {
// Negative functionalities can make a divisor sum to zero; such a material gives no moles.
double divided(double a, double b) { return b == 0 ? 0 : a / b; }
} // namespace

bool isOil(MaterialType type) { return type == MaterialType::Oil; }

double MolesFromMass(double mass, double mwt) { return mwt > 0 ? mass / mwt : 0; }

double MassFromMoles(double moles, double mwt) { return mwt > 0 ? moles * mwt : 0; }

double EaFromMoles(MaterialType type, double moles, double fa, double fan) {
    if (!(moles > 0))
        return 0;
    return moles * ((isOil(type) ? Chemistry::OilFattyAcids : 0) + fa + 2 * fan);
}

double MolesFromEa(MaterialType type, double ea, double fa, double fan) {
    if (isOil(type))
        return divided(ea, Chemistry::OilFattyAcids + fa + 2 * fan);
    if (!(fa > 0 || fan > 0))
        return 0;
    return divided(ea, fa + 2 * fan);
}

double EbFromMoles(MaterialType type, double moles, double fb) {
    if (!(moles > 0))
        return 0;
    return moles * ((isOil(type) ? Chemistry::OilFattyAcids : 0) + fb);
}

double MolesFromEb(MaterialType type, double eb, double fb) {
    if (isOil(type))
        return divided(eb, Chemistry::OilFattyAcids + fb);
    return fb > 0 ? eb / fb : 0;
}

LineAmounts AmountsFrom(Amount typed, double value, MaterialType type, double mwt, double fa, double fan,
                        double fb) {
    const auto stored = [](double v) { return v > 0 ? v : 0; };
    LineAmounts a;
    switch (typed) {
    case Amount::Mass:
        a.mass = value;
        a.moles = MolesFromMass(value, mwt);
        break;
    case Amount::Moles:
        a.moles = value;
        break;
    case Amount::Ea:
        a.ea = value;
        a.moles = MolesFromEa(type, value, fa, fan);
        break;
    case Amount::Eb:
        a.eb = value;
        a.moles = MolesFromEb(type, value, fb);
        break;
    }
    // A typed amount is read as typed; a computed one as it is stored.
    const double moles = typed == Amount::Moles ? value : stored(a.moles);
    if (typed != Amount::Mass)
        a.mass = MassFromMoles(moles, mwt);
    if (typed != Amount::Ea)
        a.ea = EaFromMoles(type, moles, fa, fan);
    if (typed != Amount::Eb)
        a.eb = EbFromMoles(type, moles, fb);
    return a;
}

void reworkFromMass(Line& line, const Material& m) {
    if (!(line.mass.value_or(0) > 0))
        return;
    const auto amount = [](double v) { return v > 0 ? std::optional<double>(v) : std::nullopt; };
    const double n = MolesFromMass(*line.mass, m.mwt);
    line.moles = amount(n);
    line.ea = amount(EaFromMoles(m.type, n, m.fa, m.fan));
    line.eb = amount(EbFromMoles(m.type, n, m.fb));
}

} // namespace LineConversions
