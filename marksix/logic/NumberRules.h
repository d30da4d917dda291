// Attributes of the Mark Six numbers 1 to 49 for a lunar year: zodiac, nayin element, colour
// wave and the digit groups, and the 20-byte signature that holds them all at fixed byte
// positions. The calculator, the strength window and the formula window share these rules.
// Every remainder here is taken with FloorMod (0 .. b - 1, also for negative a): the year
// arithmetic goes below zero for early years, where C++ % would give a negative index.
#pragma once

#include <string>

// The lunar year in a lunar-date text: the decimal number in the 4 bytes from byte 6.
// Raises EConvertError when they are not one.
int LunarYearOf(const std::string& lunarDateText);

// Position 1 .. 12 of the year's animal in 鼠 .. 猪.
int YearAnimal(int year);
// Two-byte animal of number n: 1, 13, 25, 37 and 49 carry the year's animal, each next number
// the animal before it.
std::string ZodiacOfNumber(int n, int year);
// Sexagenary pair 1 (甲子) .. 60 (癸亥) that number n carries: number 1 the year's own pair,
// number n that of the year n - 1 years earlier.
int NayinPairOfNumber(int n, int year);
// Two-byte nayin element ("金", "木", "水", "火", "土") of sexagenary pair 1 .. 60.
std::string NayinElementOfPair(int pair);
std::string NayinElementOfNumber(int n, int year);
// "红", "兰" or "绿" from the fixed colour chart; "" outside 1 .. 49.
std::string ColourOfNumber(int n);

inline int HeadDigit(int n) { return n / 10; }
int TailDigit(int n);
inline int DigitSum(int n) { return HeadDigit(n) + TailDigit(n); }
// Blocks of seven and of five consecutive numbers (支数 1 .. 7, 位数 1 .. 10), and 支尾.
inline int BlockOfSeven(int n) { return (n + 6) / 7; }
inline int BlockOfFive(int n) { return (n + 4) / 5; }
int SevenTail(int n);

// Colour, zodiac, 大/小, 单/双, head, tail, HD/HS, element, block of seven, digit sum (two
// digits), block of five (two digits), n mod 7: 20 bytes.
std::string NumberSignature(int n, int year);
