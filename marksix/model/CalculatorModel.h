// What the calculator shows: which of its 78 filter boxes are ticked, and the result text.
#pragma once

#include <array>
#include <string>

struct CalculatorModel {
  // Filter box n (1 .. 78) ticked; index 0 is unused.
  std::array<bool, 79> Ticked{};
  std::string ResultText;

  // Every box unticked and the result empty.
  void Clear();
  // The list of group g (as NumberGroups orders them) from its ticked boxes, or its default.
  std::string GroupList(size_t g) const;
  // The numbers of lunar year `year` that pass every group, as the result text.
  void Calculate(int year);
};
