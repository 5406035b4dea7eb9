#pragma once

#include "domain/Recipe.h"

// A material of the library as a value, for recipes totalled without files.
inline Material material(const QString& code, MaterialType type, double mwt, double fa, double fan, double fb,
                         double price = 0, const QString& name = {}) {
    Material m;
    m.code = code;
    m.name = name;
    m.type = type;
    m.mwt = mwt;
    m.fa = fa;
    m.fan = fan;
    m.fb = fb;
    m.price = price;
    return m;
}
