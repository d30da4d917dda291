#include "marksix/model/NumberStrengthModel.h"

#include "platform/Exceptions.h"
#include "platform/Numbers.h"

namespace {

// `count` numbers from `from` on.
std::vector<int> Consecutive(int from, int count) {
  std::vector<int> numbers;
  for (int i = 0; i < count; ++i) numbers.push_back(from + i);
  return numbers;
}

// A strength as its label shows it: the ranking weighs and the ticks compare the shown values,
// so that strengths that show alike tie (the colour, tail and head sums are not rounded).
double ShownValue(double value) { return StrToFloat(FloatToStr(value)); }

}  // namespace

NumberStrengthModel::NumberStrengthModel()
    : Groups{{
          {AttributeKind::Animal,
           {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"},
           Consecutive(1, 12),
           9,
           {},
           {}},
          {AttributeKind::Element, {"金", "木", "水", "火", "土"}, Consecutive(37, 5), 4, {}, {}},
          {AttributeKind::Colour, {"红", "绿", "兰"}, Consecutive(13, 3), 2, {}, {}},
          {AttributeKind::Tail,
           {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
           Consecutive(16, 10),
           8,
           {},
           {}},
          {AttributeKind::Head, {"0", "1", "2", "3", "4"}, Consecutive(26, 5), 4, {}, {}},
      }} {
  for (StrengthGroup& group : Groups) {
    group.Values.assign(group.Members.size(), 0);
    group.Ticked.assign(group.Members.size(), false);
  }
}

void NumberStrengthModel::ComputeStrengths(const std::string& fourPillars) {
  PillarStrengths s;
  Known = ComputePillarStrengths(fourPillars, s);
  const double* values[] = {s.Animals.data(), s.Elements.data(), s.Colours.data(), s.Tails.data(),
                            s.Heads.data()};
  for (size_t g = 0; g < Groups.size(); ++g)
    for (size_t i = 0; i < Groups[g].Values.size(); ++i)
      Groups[g].Values[i] = Known ? ShownValue(values[g][i]) : 0;
}

// An unknown strength shows empty, and an empty text is no number.
void NumberStrengthModel::RequireStrengths() const {
  if (!Known) StrToFloat("");
}

void NumberStrengthModel::Rank(int year) {
  RequireStrengths();
  std::vector<AttributeGroup> attributes;
  for (const StrengthGroup& group : Groups)
    attributes.push_back({group.Kind, group.Members, group.Values});
  const auto ranking = RankNumbers(year, attributes);
  std::string text;
  for (size_t r = 0; r < ranking.size(); ++r)
    text += (r ? "\r\n" : "") + RankingLine(static_cast<int>(r) + 1, ranking[r]);
  RankingText = text;
}

bool NumberStrengthModel::SetTicked(size_t g, size_t i, bool ticked) {
  if (Groups[g].Ticked[i] == ticked) return false;
  Groups[g].Ticked[i] = ticked;
  return true;
}

std::vector<bool> NumberStrengthModel::StrongMembers(size_t g) const {
  RequireStrengths();
  const StrengthGroup& group = Groups[g];
  const double threshold = TickThreshold(group.Values, group.Strongest);
  std::vector<bool> strong;
  for (double value : group.Values) strong.push_back(value >= threshold);
  return strong;
}
