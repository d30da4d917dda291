// The numeric rules of the casting commands: which lines a cast sets and which line moves.
// Pure functions; the window writes their result into its line buttons and moving-line boxes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Six lines and their moving marks, top line first: index 0 is the top line (Button3 and
// CheckBox1), index 5 the bottom line (Button8 and CheckBox6).
struct CastLines {
  std::array<bool, 6> Yang{};
  std::array<bool, 6> Moving{};
};

// Trigram rule: t = n mod 8 (1 乾, 2 兑, 3 离, 4 震, 5 巽, 6 坎, 7 艮, 0 坤) gives its three
// lines, top line first, true for yang.
std::array<bool, 3> TrigramLines(int n);
// Moving-line rule: m = n mod 6 counts from the bottom line, 0 meaning the top line. Returns the
// index of that line, top line first (m = 1 gives 5, m = 0 gives 0).
int MovingLineIndex(int n);
// Upper and lower trigram by the trigram rule, exactly one moving line by the moving-line rule.
CastLines TrigramCast(int upper, int lower, int moving);

// Branch number of the two bytes at 1-based `position` of the four-pillars text (3 for the
// year, 21 for the hour); `fallback` when they are no branch.
int PillarBranchNumber(const std::string& fourPillars, int position, int fallback);

// From the year branch y, the lunar month and day and the hour branch h.
CastLines TimeCast(int y, int month, int day, int h);

// A typed number split in halves by bytes (the lower half takes the odd digit); every character
// is read as a decimal digit of its own, so anything else raises EConvertError naming it.
struct DigitSums {
  int A = 0;
  int B = 0;
};
DigitSums NumberDigitSums(const std::string& digits);
CastLines NumberCast(const DigitSums& sums, int h);

// The clock cast's generator: one 32-bit state from 0, never seeded, so runs repeat the same
// sequence and only the clock makes casts differ.
class CastRandom {
 public:
  // Uniform integer 0 .. n - 1 (0 when n is 0; the draw is still made).
  int Random(int n);
  // Uniform real in [0, 1).
  double RandomReal();
  uint32_t State() const { return state_; }

 private:
  uint32_t Next();
  uint32_t state_ = 0;
};

// From the time of day: each trigram sums four draws bounded by hour, minute, second and
// millisecond; then one draw per box, top box first, moves the line when it is at least 0.5.
CastLines ClockCast(int hour, int minute, int second, int millisecond, CastRandom& random);

// A match text split into its two names. Separators are the blank and the full-width blank
// "　", found at character boundaries only. The first name ends before the first separator,
// the second begins after the last one. False when there is no separator or the first name
// would be empty.
bool SplitMatch(const std::string& text, std::string& name1, std::string& name2);

// Stroke casts: `base` is y + lunar month + lunar day + h.
CastLines MatchCast(int strokes1, int strokes2, int base, int offset);
// Quarter of the hour 1 .. 4, plus 4 in an even hour: 1 .. 8 over a double hour. An hour or
// minute out of range raises the date error.
int LotteryQuarter(int hour, int minute);
CastLines LotteryCast(int strokes, int base, int quarter);
