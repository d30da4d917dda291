#include "marksix/logic/NumberRules.h"

#include <cstddef>

#include "calendar/engine/LunarTables.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/CalendarLabels.h"

namespace {

// The colour chart, one list per colour, the same for every year.
constexpr int kRed[] = {1, 2, 7, 8, 12, 13, 18, 19, 23, 24, 29, 30, 34, 35, 40, 45, 46};
constexpr int kBlue[] = {3, 4, 9, 10, 14, 15, 20, 25, 26, 31, 36, 37, 41, 42, 47, 48};
constexpr int kGreen[] = {5, 6, 11, 16, 17, 21, 22, 27, 28, 32, 33, 38, 39, 43, 44, 49};

template <size_t N>
bool Holds(const int (&list)[N], int n) {
  for (int m : list)
    if (m == n) return true;
  return false;
}

}  // namespace

int LunarYearOf(const std::string& lunarDateText) {
  return StrToInt(ByteCopy(lunarDateText, 6, 4));
}

int YearAnimal(int year) {
  const int z = FloorMod(year - 3, 12);
  return z == 0 ? 12 : z;
}

std::string ZodiacOfNumber(int n, int year) {
  const int z = YearAnimal(year);
  std::string rotated;
  for (int i = 0; i < 12; ++i) rotated += AnimalNames[FloorMod(z - 1 + i, 12)];
  int k = FloorMod(n, 12);
  if (k == 0) k = 12;
  if (k == 1) k = 13;
  return ByteCopy(rotated, 27 - 2 * k, 2);
}

int NayinPairOfNumber(int n, int year) {
  const int v = FloorMod(year - 1923, 60);
  const int i = FloorMod(v + 61 - n, 60);
  return i == 0 ? 60 : i;
}

// The element closes the pair's nayin name ("海中金" for 甲子).
std::string NayinElementOfPair(int pair) {
  if (pair < 1 || pair > 60) return "";
  std::string nayin;
  NayinOf(std::string(StemNames[FloorMod(pair - 1, 10)]) + BranchNames[FloorMod(pair - 1, 12)],
          nayin);
  return ByteCopy(nayin, 5, 2);
}

std::string NayinElementOfNumber(int n, int year) {
  return NayinElementOfPair(NayinPairOfNumber(n, year));
}

std::string ColourOfNumber(int n) {
  if (Holds(kRed, n)) return "红";
  if (Holds(kBlue, n)) return "兰";
  if (Holds(kGreen, n)) return "绿";
  return "";
}

int TailDigit(int n) { return FloorMod(n, 10); }
int SevenTail(int n) { return FloorMod(n, 7); }

std::string NumberSignature(int n, int year) {
  return ColourOfNumber(n) + ZodiacOfNumber(n, year) + (n < 25 ? "小" : "大") +
         (FloorMod(n, 2) == 1 ? "单" : "双") + IntToStr(HeadDigit(n)) + IntToStr(TailDigit(n)) +
         (FloorMod(DigitSum(n), 2) == 1 ? "HD" : "HS") + NayinElementOfNumber(n, year) +
         IntToStr(BlockOfSeven(n)) + IntToStrPadded(DigitSum(n), 2) +
         IntToStrPadded(BlockOfFive(n), 2) + IntToStr(SevenTail(n));
}
