#include "marksix/logic/SpecialStrength.h"

#include <algorithm>
#include <functional>

#include "calendar/engine/LunarTables.h"
#include "marksix/logic/NumberRules.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/CalendarLabels.h"
#include "workbench/logic/StrengthModels.h"

// A pillar's branch weighs on a target branch exactly as in the chart's factor model.
const double (&BranchStrengthTable)[12][12] = StrengthFactorTable;

// clang-format off
const double ElementTable[5][5] = {
    //  木    火    土    金    水   (nayin of the pillar)
    {    2,  1.6,  1.2,  0.8,  1.8},  // 木
    {  1.8,    2,  1.6,  1.2,  0.8},  // 火
    {  0.8,  1.8,    2,  1.6,  1.2},  // 土
    {  1.2,  0.8,  1.8,    2,  1.6},  // 金
    {  1.6,  1.2,  0.8,  1.8,    2},  // 水
};

const double ColourStemTable[3][10] = {
    //  甲    乙    丙    丁    戊    己    庚    辛    壬    癸
    { 1.85, 1.75, 2.05, 1.95, 1.65, 1.55, 1.25, 1.15, 0.85, 0.75},  // 红
    { 1.65, 1.55, 1.25, 1.15, 0.85, 0.75, 1.85, 1.75, 2.05, 1.95},  // 兰
    { 2.05, 1.95, 1.65, 1.55, 1.25, 1.15, 0.85, 0.75, 1.85, 1.75},  // 绿
};

const double TailBranchTable[10][12] = {
    //  子    丑    寅    卯    辰    巳    午    未    申    酉    戌    亥
    {  1.2, 2.05,  0.8,  0.8, 1.95,  1.8,  1.8, 2.05,  1.6,  1.6, 1.95,  1.2},  // 0
    { 2.05,  0.8,  1.6,  1.6,  0.8,  1.2,  1.2,  0.8,  1.8,  1.8,  0.8, 1.95},  // 1
    {  0.8,  1.6,  1.8,  1.8,  1.6, 2.05, 1.95,  1.6,  1.2,  1.2,  1.6,  0.8},  // 2
    {  1.8,  1.2, 2.05, 1.95,  1.2,  1.6,  1.6,  1.2,  0.8,  0.8,  1.2,  1.8},  // 3
    {  1.6,  1.8,  1.2,  1.2,  1.8,  0.8,  0.8,  1.8, 1.95, 2.05,  1.8,  1.6},  // 4
    {  1.2, 1.95,  0.8,  0.8, 1.95,  1.8,  1.8, 2.05,  1.6,  1.6, 2.05,  1.2},  // 5
    { 1.95,  0.8,  1.6,  1.6,  0.8,  1.2,  1.2,  0.8,  1.8,  1.8,  0.8, 2.05},  // 6
    {  0.8,  1.6,  1.8,  1.8,  1.6, 1.95, 2.05,  1.6,  1.2,  1.2,  1.6,  0.8},  // 7
    {  1.8,  1.2, 1.95, 2.05,  1.2,  1.6,  1.6,  1.2,  0.8,  0.8,  1.2,  1.8},  // 8
    {  1.6,  1.8,  1.2,  1.2,  1.8,  0.8,  0.8,  1.8, 2.05, 1.95,  1.8,  1.6},  // 9
};

const double HeadStemTable[5][10] = {
    //  甲    乙    丙    丁    戊    己    庚    辛    壬    癸
    {  0.9,  0.9,  1.9,  1.9,  2.1,  2.1,  1.7,  1.7,  1.3,  1.3},  // 0
    {  1.7,  1.7,  1.3,  1.3,  0.9,  0.9,  1.9,  1.9,  2.1,  2.1},  // 1
    {  1.9,  1.9,  2.1,  2.1,  1.7,  1.7,  1.3,  1.3,  0.9,  0.9},  // 2
    {  2.1,  2.1,  1.7,  1.7,  1.3,  1.3,  0.9,  0.9,  1.9,  1.9},  // 3
    {  1.3,  1.3,  0.9,  0.9,  1.9,  1.9,  2.1,  2.1,  1.7,  1.7},  // 4
};
// clang-format on

namespace {

// Element rows of ElementTable, in the order 木 火 土 金 水.
constexpr std::array<const char*, 5> kElementOrder = {"木", "火", "土", "金", "水"};
// The window lists the elements 金 木 水 火 土 and the colours 红 绿 兰.
constexpr int kElementBoxRows[5] = {3, 0, 4, 1, 2};
constexpr int kColourBoxRows[3] = {0, 2, 1};

struct Pillar {
  int Stem;    // 0 .. 9
  int Branch;  // 0 .. 11
  int Nayin;   // row of ElementTable
};

template <size_t N>
int IndexOf(const std::array<const char*, N>& names, const std::string& name) {
  for (size_t i = 0; i < N; ++i)
    if (name == names[i]) return static_cast<int>(i);
  return -1;
}

// Pillar k of the four-pillars text; false for anything but one of the sixty pairs.
bool ReadPillar(const std::string& text, int k, Pillar& pillar) {
  const std::string pair = ByteCopy(text, 1 + 6 * k, 4);
  std::string nayin;
  NayinOf(pair, nayin);
  if (nayin.empty()) return false;
  const std::string element = ByteCopy(nayin, 5, 2);  // "海中金" ends with its element
  pillar.Stem = IndexOf(StemNames, ByteCopy(pair, 1, 2));
  pillar.Branch = IndexOf(BranchNames, ByteCopy(pair, 3, 2));
  pillar.Nayin = IndexOf(kElementOrder, element);
  return true;
}

// Sum over the four pillars, year first.
double SumOver(const std::array<Pillar, 4>& pillars,
               const std::function<double(const Pillar&)>& f) {
  double sum = 0;
  for (const Pillar& p : pillars) sum += f(p);
  return sum;
}

}  // namespace

bool ComputePillarStrengths(const std::string& fourPillars, PillarStrengths& strengths) {
  std::array<Pillar, 4> pillars;
  for (int k = 0; k < 4; ++k)
    if (!ReadPillar(fourPillars, k, pillars[k])) return false;
  PillarStrengths s;
  for (int b = 0; b < 12; ++b)
    s.Animals[b] = RoundTo(
        SumOver(pillars, [b](const Pillar& p) { return BranchStrengthTable[p.Branch][b]; }), -2);
  for (int i = 0; i < 5; ++i) {
    const int row = kElementBoxRows[i];
    s.Elements[i] = RoundTo(
        SumOver(pillars, [row](const Pillar& p) { return ElementTable[row][p.Nayin]; }), -2);
  }
  for (int i = 0; i < 3; ++i) {
    const int row = kColourBoxRows[i];
    s.Colours[i] =
        SumOver(pillars, [row](const Pillar& p) { return ColourStemTable[row][p.Stem]; });
  }
  for (int d = 0; d < 10; ++d)
    s.Tails[d] = SumOver(pillars, [d](const Pillar& p) { return TailBranchTable[d][p.Branch]; });
  for (int d = 0; d < 5; ++d)
    s.Heads[d] = SumOver(pillars, [d](const Pillar& p) { return HeadStemTable[d][p.Stem]; });
  strengths = s;
  return true;
}

double GroupWeight(AttributeKind kind) {
  switch (kind) {
    case AttributeKind::Animal:
      return 4;
    case AttributeKind::Element:
      return 10;
    case AttributeKind::Colour:
      return 16;
    case AttributeKind::Tail:
      return 5;
    default:
      return 10;
  }
}

bool HasAttribute(AttributeKind kind, const std::string& caption, int n, int year) {
  switch (kind) {
    case AttributeKind::Animal:
      return ZodiacOfNumber(n, year) == caption;
    case AttributeKind::Element:
      return NayinElementOfNumber(n, year) == caption;
    case AttributeKind::Colour:
      return ColourOfNumber(n) == caption;
    case AttributeKind::Tail:
      return IntToStr(TailDigit(n)) == caption;
    default:
      return IntToStr(HeadDigit(n)) == caption;
  }
}

std::array<RankEntry, 49> RankNumbers(int year, const std::vector<AttributeGroup>& groups) {
  std::array<RankEntry, 49> entries;
  for (int n = 1; n <= 49; ++n) entries[n - 1] = {n, 0.0};
  for (const AttributeGroup& group : groups) {
    double total = 0;
    for (double v : group.Values) total += v;
    const double divisor = total * GroupWeight(group.Kind);
    for (size_t i = 0; i < group.Captions.size() && i < group.Values.size(); ++i)
      for (RankEntry& e : entries)
        if (HasAttribute(group.Kind, group.Captions[i], e.Number, year))
          e.Score += group.Values[i] / divisor;
  }
  for (size_t i = 0; i < entries.size(); ++i)
    for (size_t j = i; j < entries.size(); ++j)
      if (entries[i].Score < entries[j].Score) std::swap(entries[i], entries[j]);
  return entries;
}

std::string ScoreText(double score) {
  std::string text = FloatToStr(RoundTo(score * 100, -2));
  if (text.find('.') == std::string::npos) text += ".0";
  return LeftChars(text + "00", 5);
}

std::string RankingLine(int place, const RankEntry& entry) {
  return "特码" + IntToStrPadded(entry.Number, 2) + ":力量" + ScoreText(entry.Score) + "......第" +
         IntToStrPadded(place, 2) + "个号码";
}

double TickThreshold(std::vector<double> values, int k) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end(), std::greater<double>());
  const size_t at = std::min(values.size(), static_cast<size_t>(std::max(k, 1))) - 1;
  return values[at] - 0.0001;
}
