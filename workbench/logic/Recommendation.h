// The second half of a cast: the twelve branch strengths and their threshold, the 世 and 应
// strengths weighted by the odds factors, the goal-time minutes of the moving line and the
// recommendation text.
#pragma once

#include <array>
#include <string>

#include "workbench/logic/Chart.h"
#include "workbench/logic/StrengthModels.h"

// The eight goal-time candidates of the distances a (moving branch) and b (changed branch)
// from the day branch, sorted ascending with every repeat pushed out past 1000.
std::array<int, 8> GoalTimeCandidates(int a, int b);
// " 14 41" ..: the candidates from 10 to 95, each after a blank.
std::string GoalTimeTextOf(const std::string& movingBranch, const std::string& changedBranch,
                           const std::string& dayBranch);

// The average of strengths [1..12] cut (not rounded) to two decimals. Summed in whole
// hundredths, so that twelve strengths summing to 36 give exactly 3.
double StrengthThreshold(const std::array<double, 18>& strengths);

// Fills BranchElementStrengths, MovingStrength, ChangedStrength, ShiStrength, YingStrength,
// GoalTimeText and RecommendationText from the chart fields.
void Recommend(ChartFields& fields, const std::string& xunVoidText, StrengthModel model);
