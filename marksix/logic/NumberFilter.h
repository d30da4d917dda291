// The calculator's filter: twelve attribute groups, each a row of numbered check boxes that
// tests some bytes of every number's signature against the list built from its ticked boxes.
#pragma once

#include <array>
#include <string>
#include <vector>

enum class GroupItems {
  Captions,         // the ticked captions joined
  OddEvenDigitSum,  // "HD" for the first box, "HS" for the second
  DottedTwoDigits,  // "." and the value as two digits, so only whole items match
};

struct NumberGroup {
  const char* Label;                  // caption of the group's label
  std::vector<int> Boxes;             // box numbers in value order
  std::vector<const char*> Captions;  // captions of those boxes
  int From;                           // signature bytes the group tests (1-based) ...
  int Length;                         // ... and how many
  const char* Default;                // list when none of the boxes is ticked
  GroupItems Items;
};

// 生肖 波色 尾数 头数 单双 大小 合数 五行 支数 合和 位数 支尾, in that order; boxes 1 .. 78.
const std::array<NumberGroup, 12>& NumberGroups();

// One item of a group's list for the ticked box at `index` of group.Boxes, whose caption is
// `caption`.
std::string GroupListItem(const NumberGroup& group, size_t index, const std::string& caption);

// Numbers 1 .. 49 whose signature bytes for every group occur in that group's list (searched
// character by character, so two-byte names never match across a seam), ascending.
std::vector<int> PassingNumbers(int year, const std::array<std::string, 12>& lists);

// "推算<c>码:" below 19 numbers, "特围<c>码:" from 19 on, then " " and each number.
std::string FilterResultText(const std::vector<int>& numbers);
