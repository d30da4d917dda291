// The three day tables of the calculator's menu: for each day of the sexagenary cycle the
// animals, tail digits or elements to strike out. Each is the whole text of one message box.
#pragma once

#include <string>

std::string ZodiacKillDayTable();   // "杀肖:"
std::string TailKillDayTable();     // "杀尾:"
std::string ElementKillDayTable();  // "杀五行:"
