// Casting the chart: from the six line buttons, the moving-line boxes, the two odds and the
// calendar labels to the chart text and the chart fields of the main window. Pure: the window
// hands in its texts and writes back what comes out, so a refused cast changes nothing.
#pragma once

#include <array>
#include <string>

#include "platform/Exceptions.h"
#include "workbench/logic/StrengthModels.h"

// Captions of a line button.
inline const std::string YangLineCaption = "▅▅▅▅▅";
inline const std::string YinLineCaption = "▅▅　▅▅";

// Everything a cast reads from the workbench.
struct ChartInput {
  std::array<bool, 6> Yang{};     // the six lines, top line first
  std::array<bool, 6> Moving{};   // their moving marks, top line first
  std::string ShiOdds = "2.00";   // Edit3
  std::string YingOdds = "2.00";  // Edit4
  std::string FourPillarsText;
  std::string LunarDateText;
  std::string XunVoidText;
  std::array<std::string, 5> DateTexts;  // the date boxes: year .. minute
};

// The chart fields of the main window, as the cast leaves them.
struct ChartFields {
  std::string ShiBranch;       // branch of the 世 line
  std::string YingBranch;      // branch of the 应 line
  std::string PillarBranches;  // year, month, day, hour branch (8 bytes)
  std::string RecommendationText;
  std::string MovingBranch;  // empty when no line moves; else of the lowest moving line
  std::string ChangedBranch;
  std::string MovingMark;    // "○→" or "※→"
  std::string GoalTimeText;  // goal-time minutes, each after a blank
  double ShiHitCount = 0, YingHitCount = 0;
  double MovingStrength = 0, ChangedStrength = 0;
  double ShiOddsFactor = 0, YingOddsFactor = 0;
  double ShiStrength = 0, YingStrength = 0;
  // [0] threshold, [1..12] 子 .. 亥, [13..17] 金, 木, 水, 火, 土.
  std::array<double, 18> BranchElementStrengths{};
  bool ShiMoving = false, YingMoving = false;
  std::string LineBranchText;  // three branches of each hexagram; empty in a static chart
  std::array<double, 12> BranchHitCounts{};  // 子水 .. 亥水
};

struct ChartCast {
  std::string Text;  // the chart box's text, every line ended by CR LF
  ChartFields Fields;
};

// Year, month, day and hour branch of the four-pillars text (bytes 3, 9, 15, 21): 8 bytes.
std::string PillarBranchesOf(const std::string& fourPillars);

// The banner line of the chart for the entry point of each model.
std::string ChartBanner(StrengthModel model);

// Line code ('1' yang, '0' yin, top line first). With `flipMoving`, the moving lines are
// flipped.
std::string LineCodeOf(const ChartInput& input, bool flipMoving);

// The whole cast: chart text, chart fields, strengths, goal times and recommendation. Raises
// EConvertError for odds that are not numbers, and Exception with a message for odds whose
// factors cannot be computed (a negative odd, a zero sum, a result out of range); nothing is
// produced then.
ChartCast CastChart(const ChartInput& input, StrengthModel model);
