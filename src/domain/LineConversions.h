#pragma once

#include "MaterialType.h"

// The conversions between a line's mass, moles and equivalents. Of the material's type only an
// oil (a triglyceride: one glycerol and three fatty acids) changes the arithmetic. Each gives 0
// when its guard fails, and never divides by zero.
namespace LineConversions {

bool isOil(MaterialType type);
double MolesFromMass(double mass, double mwt);
double MassFromMoles(double moles, double mwt);
double EaFromMoles(MaterialType type, double moles, double fa, double fan);
double MolesFromEa(MaterialType type, double ea, double fa, double fan);
double EbFromMoles(MaterialType type, double moles, double fb);
double MolesFromEb(MaterialType type, double eb, double fb);

} // namespace LineConversions
