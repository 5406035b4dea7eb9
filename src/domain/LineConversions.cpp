#include "LineConversions.h"

#include "Chemistry.h"

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

} // namespace LineConversions
