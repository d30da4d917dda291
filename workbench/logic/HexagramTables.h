// The 64 hexagrams of the chart in palace order (乾, 兑, 离, 震, 巽, 坎, 艮, 坤; in each the pure
// hexagram, the five changed ones, the wandering and the returning soul), their ready-made line
// texts and the six-spirit orders. All texts are GBK; a Chinese character takes two bytes.
#pragma once

#include <string>
#include <string_view>

constexpr int HexagramCount = 64;

// Line code (six '1' yang / '0' yin, top line first), the header "伏　　神　" when the hexagram
// has a hidden spirit, the name padded with "　" to 8 bytes, the palace and "宫": 18 or 28 bytes.
extern const std::string_view HexagramTable[HexagramCount];
// Line code, padded name, palace and "宫", never the hidden-spirit header: always 18 bytes.
extern const std::string_view HexagramNames18[HexagramCount];
// Six lines of hexagram k at 6k .. 6k + 5, top line first: an optional 10-byte hidden-spirit
// column, then relative (4), branch (2), element (2), "／" or "∥" (2), "世", "应" or "　" (2).
extern const std::string_view HexagramLines[HexagramCount * 6];
// The same lines without the hidden-spirit column: always 12 bytes.
extern const std::string_view HexagramLinesShort[HexagramCount * 6];

struct SixSpiritOrderRow {
  std::string_view Stem;   // one day stem
  std::string_view Order;  // six spirits of 4 bytes, the first for the bottom line
};
extern const SixSpiritOrderRow SixSpiritOrders[10];

// Order used when the day text is not a stem; only its first six spirits are read.
inline constexpr std::string_view DefaultSixSpiritOrder =
    "玄武青龙朱雀勾陈腾蛇白虎玄武青龙朱雀勾陈腾蛇白虎";

// Index k of the entry of `table` (HexagramTable or HexagramNames18) whose first six
// characters are `lineCode`; 0 (乾为天) when none is.
int FindHexagram(const std::string& lineCode, const std::string_view (&table)[HexagramCount]);

// The spirit order for a day stem (2 bytes), or DefaultSixSpiritOrder.
std::string SixSpiritOrderOf(const std::string& dayStem);
// Spirit (4 bytes) of line n, 1 = bottom line, in `order`.
std::string SpiritOfLine(const std::string& order, int line);

// Palace character of a HexagramTable entry: the two bytes before "宫".
std::string PalaceOf(std::string_view tableEntry);

// Re-labels a 12-byte line body with the relative its element has against the palace's element;
// branch, element and marks stay. Empty when the palace or the element is not one of the known.
std::string SixRelativeOf(const std::string& Palace, const std::string& Line);
