// What the strength window shows: the strengths of the five attribute groups against the four
// pillars, as shown (rounded), which members are ticked, and the ranking of the 49 numbers.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "marksix/logic/SpecialStrength.h"

struct StrengthGroup {
  AttributeKind Kind;
  std::vector<std::string> Members;  // 鼠 .. 猪; 金 木 水 火 土; 红 绿 兰; 0 .. 9; 0 .. 4
  std::vector<int> CalculatorBoxes;  // the calculator box that follows each member's tick
  int Strongest;                     // how many a heading double click ticks, ties aside
  std::vector<double> Values;        // each member's strength as shown
  std::vector<bool> Ticked;
};

class NumberStrengthModel {
 public:
  NumberStrengthModel();

  // Animals, elements, colours, tails, heads: the order the ranking adds them up.
  std::array<StrengthGroup, 5> Groups;
  // False while the pillars are not known: no strength shows.
  bool Known = false;
  std::string RankingText;

  // The strengths of a four-pillars text; unknown for one without four stem-branch pairs.
  void ComputeStrengths(const std::string& fourPillars);
  // The ranking of the numbers of lunar year `year` by the strengths shown. Raises, changing
  // nothing, while the strengths are unknown.
  void Rank(int year);
  // Ticks or unticks member i of group g; whether that changed anything.
  bool SetTicked(size_t g, size_t i, bool ticked);
  // The members a double click on the heading of group g ticks: every one at least as strong
  // as its Strongest-th (ties at that place all count). Raises while the strengths are unknown.
  std::vector<bool> StrongMembers(size_t g) const;

 private:
  void RequireStrengths() const;
};
