// Plum-blossom weighing of the trigrams of the primary and the changed hexagram against the
// four pillar branches. Trigram numbers: 1 乾, 2 兑, 3 离, 4 震, 5 巽, 6 坎, 7 艮, 8 坤.
#pragma once

#include <string>

// Strength of a branch (子 .. 亥) for a trigram: 5 same element, 4 the branch generates the
// trigram, 3 the trigram generates the branch, 2 the trigram overcomes it, 1 it overcomes the
// trigram.
extern const int TrigramBranchTable[8][12];
// Relation of trigram a (row) to b (column): 5 same element, 4 a overcomes b, 3 b generates a,
// 2 a generates b, 1 b overcomes a.
extern const int TrigramRelationTable[8][8];

// Number of the trigram with these lines (top first, true for yang); 坤 is 8.
int TrigramNumber(bool top, bool middle, bool bottom);
// The counterpart trigram 8 - t (乾/艮, 兑/坎, 离/巽 exchange; 震 and 坤 stay).
int ExchangedTrigram(int trigram);

// Sum over the four branches of the eight-byte pillars text; 4 to 20. A piece that is no branch
// adds nothing.
int TrigramBranchStrength(int trigram, const std::string& pillarBranches);
// TrigramRelationTable[a][b] + 10; 11 to 15.
int TrigramRelation(int a, int b);

// Ratios of the two sides. With exactly one moving trigram the first ratio is the unmoved one
// (体), the second the moving one (用); otherwise upper and lower.
struct TrigramRatioPair {
  std::string Label;
  double R0 = 0;
  double R1 = 0;
};
TrigramRatioPair JudgeTrigrams(int upper, int lower, int changedUpper, int changedLower,
                               const std::string& pillarBranches);
// "," + label + r0 + "---" + r1, appended to the result line.
std::string TrigramRatioText(const TrigramRatioPair& ratios);
