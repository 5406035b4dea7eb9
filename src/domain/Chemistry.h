#pragma once

// The constants of the chemistry, each named once.
namespace Chemistry {

// mg of potassium hydroxide per mole: the scale of acid and hydroxyl values.
inline constexpr double KOH = 56100;
// Mass of the water one ester bond gives off.
inline constexpr double Water = 18;
// 17, the mass of a hydroxyl group, times 100: hydroxyl content in per cent of mass.
inline constexpr double HydroxylPercent = 1700;
// An oil is a triglyceride: one glycerol and three fatty acids, four molecules in all.
inline constexpr double OilFattyAcids = 3;
inline constexpr double OilMolecules = 4;
// The mass a mole of oil is reckoned to owe to its glycerol: taken off, the rest of the oil
// counts as fatty acid.
inline constexpr double GlycerolInOil = 93;
// What a fatty acid's equivalent gains as part of a triglyceride: a third of glycerol (92.09)
// less the water of its ester bond (18), i.e. 12.7 per acid equivalent.
inline constexpr double TriglycerideGain = 12.7;

} // namespace Chemistry
