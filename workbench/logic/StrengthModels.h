// How strong an earthly branch is at the chart's moment, weighed against the four pillar
// branches and the chart's moving line: the factor model and the cosine model share one formula
// and differ in their 12 x 12 table. Branches are 2-byte GBK characters, numbered 1 (子) to
// 12 (亥).
#pragma once

#include <string>

// Row: the acting branch (a pillar, the moving or the changed branch); column: the branch acted on.
extern const double StrengthFactorTable[12][12];
// cos(30° x (r - c)) to two decimals.
extern const double BranchCosineTable[12][12];

enum class StrengthModel { Factor, Cosine };

// What the strength of a line reads from the chart besides the pillars.
struct StrengthChart {
  std::string MovingBranch;  // empty when no line moves
  std::string ChangedBranch;
  std::string XunVoidText;  // empty branches of the day at bytes 7 and 9, of the hour at 17, 19
};

// 1 .. 12 for 子 .. 亥, 0 for any other text.
int BranchNumber(const std::string& branch);
// The branch character of number 1 .. 12.
std::string BranchName(int number);

// Strength of Branch against Pillars (8 bytes: year, month, day, hour branch), rounded to two
// decimals. Mode 4 weighs the pillars alone, mode 5 adds the changed branch (the target's line
// moves), mode 6 half of the moving and the changed branch (another line moves); any other mode
// counts as 4. A text that is not a branch acts on nothing and is acted on by nothing.
double LineStrength(const std::string& Branch, const std::string& Pillars, int Mode, double Weight,
                    const StrengthChart& chart);
// The same over the cosine table, plus 3.
double CosineLineStrength(const std::string& Branch, const std::string& Pillars, int Mode,
                          double Weight, const StrengthChart& chart);
double ModelStrength(StrengthModel model, const std::string& Branch, const std::string& Pillars,
                     int Mode, double Weight, const StrengthChart& chart);

// Steps from B forward to A, B itself counting 1: 1 .. 12 (0 when either is not a branch).
int BranchDistance(const std::string& A, const std::string& B);
