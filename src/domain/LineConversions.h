#pragma once

#include "MaterialType.h"

struct Line;
struct Material;

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

// Which of a line's four amounts was typed.
enum class Amount { Mass, Moles, Ea, Eb };
// What one typed amount makes of a line, as the line recalculation writes it: the moles first
// (but from a typed mass), then the others from the moles as they then stand, where an amount
// that is not positive is stored empty and reads as 0. Each figure is as computed, before it
// is emptied; the typed amount is as typed.
struct LineAmounts {
    double mass = 0, moles = 0, ea = 0, eb = 0;
};
LineAmounts AmountsFrom(Amount typed, double value, MaterialType type, double mwt, double fa, double fan,
                        double fb);

// A line worked out again from its mass after its material changed: the mass, which was weighed,
// stays, and the moles and equivalents follow from it, a figure that is not positive empty. A line
// without a mass keeps its figures.
void reworkFromMass(Line& line, const Material& material);

} // namespace LineConversions
