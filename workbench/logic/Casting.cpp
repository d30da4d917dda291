#include "workbench/logic/Casting.h"

#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/CalendarLabels.h"
#include "workbench/logic/StrengthModels.h"

std::array<bool, 3> TrigramLines(int n) {
  // Lines of the trigrams 0 (坤) to 7 (艮), top line first.
  static constexpr std::array<bool, 3> kLines[8] = {
      {false, false, false}, {true, true, true},  {false, true, true},  {true, false, true},
      {false, false, true},  {true, true, false}, {false, true, false}, {true, false, false}};
  return kLines[FloorMod(n, 8)];
}

int MovingLineIndex(int n) { return (6 - FloorMod(n, 6)) % 6; }

CastLines TrigramCast(int upper, int lower, int moving) {
  CastLines lines;
  const auto top = TrigramLines(upper);
  const auto bottom = TrigramLines(lower);
  for (int i = 0; i < 3; ++i) {
    lines.Yang[i] = top[i];
    lines.Yang[i + 3] = bottom[i];
  }
  lines.Moving[MovingLineIndex(moving)] = true;
  return lines;
}

int PillarBranchNumber(const std::string& fourPillars, int position, int fallback) {
  const int number = BranchNumber(ByteCopy(fourPillars, position, 2));
  return number != 0 ? number : fallback;
}

CastLines TimeCast(int y, int month, int day, int h) {
  const int sum = y + month + day;
  return TrigramCast(sum, sum + h, sum + h);
}

DigitSums NumberDigitSums(const std::string& digits) {
  DigitSums sums;
  const size_t half = digits.size() / 2;
  // Character by character, so that the error of a double-byte character (a full-width digit)
  // names the whole character rather than half of it.
  for (size_t i = 0; i < digits.size();) {
    const size_t length = static_cast<size_t>(GbkCharLength(digits, i));
    const int digit = StrToInt(digits.substr(i, length));
    (i < half ? sums.A : sums.B) += digit;
    i += length;
  }
  return sums;
}

CastLines NumberCast(const DigitSums& sums, int h) {
  return TrigramCast(sums.A, sums.B, sums.A + sums.B + h);
}

uint32_t CastRandom::Next() {
  state_ = state_ * 134775813u + 1u;
  return state_;
}

int CastRandom::Random(int n) {
  const uint64_t draw = Next();
  return static_cast<int>((draw * static_cast<uint32_t>(n)) >> 32);
}

double CastRandom::RandomReal() { return Next() * (1.0 / 4294967296.0); }

CastLines ClockCast(int hour, int minute, int second, int millisecond, CastRandom& random) {
  auto draw = [&] {
    // Four separate statements keep the draws in the order hour, minute, second, millisecond.
    int sum = random.Random(hour);
    sum += random.Random(minute);
    sum += random.Random(second);
    sum += random.Random(millisecond);
    return sum;
  };
  const int upper = draw();
  const int lower = draw();
  CastLines lines = TrigramCast(upper, lower, 0);
  for (int i = 0; i < 6; ++i) lines.Moving[i] = random.RandomReal() >= 0.5;
  return lines;
}

bool SplitMatch(const std::string& text, std::string& name1, std::string& name2) {
  static const std::string kWideBlank = "　";
  size_t firstStart = std::string::npos;
  size_t lastEnd = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t length = static_cast<size_t>(GbkCharLength(text, at));
    const bool separator = text[at] == ' ' || (length == 2 && text.compare(at, 2, kWideBlank) == 0);
    if (separator) {
      if (firstStart == std::string::npos) firstStart = at;
      lastEnd = at + length;
    }
    at += length;
  }
  if (firstStart == std::string::npos || firstStart == 0) return false;
  name1 = text.substr(0, firstStart);
  name2 = text.substr(lastEnd);
  return true;
}

CastLines MatchCast(int strokes1, int strokes2, int base, int offset) {
  const int upper = strokes1 + base + offset;
  const int lower = strokes2 + base + offset;
  return TrigramCast(upper, lower, upper + lower);
}

int LotteryQuarter(int hour, int minute) {
  // Checked before the sums below, which a typed number could overflow.
  if (hour < 0 || hour > 23) RaiseMomentError("时「" + IntToStr(hour) + "」不在0-23之间");
  if (minute < 0 || minute > 59) RaiseMomentError("分「" + IntToStr(minute) + "」不在0-59之间");
  int quarter = (minute + 15) / 15;
  if (hour % 2 == 0) quarter += 4;
  return quarter;
}

CastLines LotteryCast(int strokes, int base, int quarter) {
  const int sum = strokes + base;
  return TrigramCast(sum, sum + quarter, sum + quarter);
}
