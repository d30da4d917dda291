#include "marksix/logic/NumberFilter.h"

#include "marksix/logic/NumberRules.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

namespace {

std::vector<int> Range(int from, int to) {
  std::vector<int> boxes;
  for (int n = from; n <= to; ++n) boxes.push_back(n);
  return boxes;
}

}  // namespace

// clang-format off
const std::array<NumberGroup, 12>& NumberGroups() {
  static const std::array<NumberGroup, 12> groups = {{
      {"生肖:", Range(1, 12),
       {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"}, 3, 2,
       "鼠牛虎兔龙蛇马羊猴鸡狗猪", GroupItems::Captions},
      {"波色:", Range(13, 15), {"红", "绿", "兰"}, 1, 2, "红兰绿", GroupItems::Captions},
      {"尾数:", Range(16, 25), {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, 10, 1,
       "0123456789", GroupItems::Captions},
      {"头数:", Range(26, 30), {"0", "1", "2", "3", "4"}, 9, 1, "01234", GroupItems::Captions},
      {"单双:", Range(31, 32), {"单", "双"}, 7, 2, "单双", GroupItems::Captions},
      {"大小:", Range(33, 34), {"大", "小"}, 5, 2, "大小", GroupItems::Captions},
      {"合数:", Range(35, 36), {"单", "双"}, 11, 2, "HDHS", GroupItems::OddEvenDigitSum},
      {"五行:", Range(37, 41), {"金", "木", "水", "火", "土"}, 13, 2, "金木水火土",
       GroupItems::Captions},
      {"支数:", Range(42, 48), {"1", "2", "3", "4", "5", "6", "7"}, 15, 1, "1234567",
       GroupItems::Captions},
      {"合和:", Range(49, 61),
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}, 16, 2,
       "01.02.03.04.05.06.07.08.09.10.11.12.13", GroupItems::DottedTwoDigits},
      {"位数:", Range(62, 71), {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, 18, 2,
       "01020304050607080910", GroupItems::DottedTwoDigits},
      // Numbered downwards: CheckBox78 is 0, CheckBox72 is 6.
      {"支尾:", {78, 77, 76, 75, 74, 73, 72}, {"0", "1", "2", "3", "4", "5", "6"}, 20, 1, "0123456",
       GroupItems::Captions},
  }};
  return groups;
}
// clang-format on

std::string GroupListItem(const NumberGroup& group, size_t index, const std::string& caption) {
  switch (group.Items) {
    case GroupItems::OddEvenDigitSum:
      return index == 0 ? "HD" : "HS";
    case GroupItems::DottedTwoDigits:
      return (index < 9 ? ".0" : ".") + caption;
    default:
      return caption;
  }
}

std::vector<int> PassingNumbers(int year, const std::array<std::string, 12>& lists) {
  const auto& groups = NumberGroups();
  std::vector<int> passing;
  for (int n = 1; n <= 49; ++n) {
    const std::string signature = NumberSignature(n, year);
    bool passes = true;
    for (size_t g = 0; g < groups.size() && passes; ++g)
      passes = CharContains(lists[g], ByteCopy(signature, groups[g].From, groups[g].Length));
    if (passes) passing.push_back(n);
  }
  return passing;
}

std::string FilterResultText(const std::vector<int>& numbers) {
  const int count = static_cast<int>(numbers.size());
  std::string text = (count < 19 ? "推算" : "特围") + IntToStr(count) + "码:";
  for (int n : numbers) text += " " + IntToStr(n);
  return text;
}
