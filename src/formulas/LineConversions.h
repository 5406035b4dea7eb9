#pragma once

#include <QString>

// The conversions between a line's mass, moles and equivalents. `type` is the material type;
// only "Oil" (a triglyceride: one glycerol and three fatty acids) changes the arithmetic. Each
// gives 0 when its guard fails, and never divides by zero.
namespace LineConversions {

bool isOil(const QString& type);
double MolesFromMass(double mass, double mwt);
double MassFromMoles(double moles, double mwt);
double EaFromMoles(const QString& type, double moles, double fa, double fan);
double MolesFromEa(const QString& type, double ea, double fa, double fan);
double EbFromMoles(const QString& type, double moles, double fb);
double MolesFromEb(const QString& type, double eb, double fb);

} // namespace LineConversions
