// Strength of the zodiac animals, elements, colours, tail and head digits against the four
// pillars, and the ranking of the 49 numbers by the strengths of their attributes.
#pragma once

#include <array>
#include <string>
#include <vector>

// Factor of one pillar on one target. Rows and columns: branches 子 .. 亥, elements 木 火 土 金
// 水, colours 红 兰 绿, stems 甲 .. 癸, digits from 0.
extern const double (&BranchStrengthTable)[12][12];  // [pillar branch][target branch]
extern const double ElementTable[5][5];              // [target element][nayin of the pillar]
extern const double ColourStemTable[3][10];          // [colour][pillar stem]
extern const double TailBranchTable[10][12];         // [tail digit][pillar branch]
extern const double HeadStemTable[5][10];            // [head digit][pillar stem]

// Strengths in the order of the window's boxes: animals 鼠 .. 猪, elements 金 木 水 火 土,
// colours 红 绿 兰, tails 0 .. 9, heads 0 .. 4. Animals and elements are rounded to two
// decimals, the sums of colours, tails and heads are not.
struct PillarStrengths {
  std::array<double, 12> Animals{};
  std::array<double, 5> Elements{};
  std::array<double, 3> Colours{};
  std::array<double, 10> Tails{};
  std::array<double, 5> Heads{};
};

// False, leaving `strengths` alone, when the four-pillars text (stems at bytes 1, 7, 13, 19,
// branches at 3, 9, 15, 21) holds anything but four stem-branch pairs.
bool ComputePillarStrengths(const std::string& fourPillars, PillarStrengths& strengths);

// The attribute groups of the ranking, each weighing its members' strengths by 1 / (total x w).
enum class AttributeKind { Animal, Element, Colour, Tail, Head };
struct AttributeGroup {
  AttributeKind Kind;
  std::vector<std::string> Captions;  // what each member is ("鼠", "金", "红", "0" ...)
  std::vector<double> Values;         // its strength
};
// Divisor w of a group: 4 animals, 10 elements, 16 colours, 5 tails, 10 heads.
double GroupWeight(AttributeKind kind);
// Whether number n (of the lunar year) has the attribute named by `caption` in that group:
// its zodiac, nayin element or colour is it, or its tail or head digit is that digit.
bool HasAttribute(AttributeKind kind, const std::string& caption, int n, int year);

struct RankEntry {
  int Number = 0;
  double Score = 0;
};
// Scores of 1 .. 49, then ordered by exchanges: for each place i and each later place j (i
// itself included) the two entries swap when i scores less than j. Equal scores stay where
// those exchanges leave them.
std::array<RankEntry, 49> RankNumbers(int year, const std::vector<AttributeGroup>& groups);
// Score x 100 rounded to two decimals in its shortest form, given a decimal point when it has
// none (10 -> "10.0"), "00" appended, the first five characters kept.
std::string ScoreText(double score);
// "特码07:力量23.45......第01个号码" for place 1.
std::string RankingLine(int place, const RankEntry& entry);

// What a double click on a heading ticks: every value at least the k-th largest minus 0.0001
// (ties at the k-th all count).
double TickThreshold(std::vector<double> values, int k);
