// The coin cast: each of the six throws turns the milliseconds of the clock into one of four
// line kinds through a table of its own.
#pragma once

// 0 moving yin, 1 yang, 2 yin, 3 moving yang.
enum TCoinLineKind { clkMovingYin = 0, clkYang = 1, clkYin = 2, clkMovingYang = 3 };

// The kind thrown at throw 1..6 (line 1 at the bottom up to line 6) when the clock's
// millisecond part is `milliseconds` (0..999).
TCoinLineKind CoinThrowKind(int throwNumber, int milliseconds);
inline bool IsYangKind(TCoinLineKind kind) { return kind == clkYang || kind == clkMovingYang; }
inline bool IsMovingKind(TCoinLineKind kind) {
  return kind == clkMovingYin || kind == clkMovingYang;
}
