// The report of the last cast's branch and element strengths, as the main window shows it.
#pragma once

#include <array>
#include <string>

// [0] the branches' average, [1..12] 子 .. 亥, [13..17] 金, 木, 水, 火, 土 (earth summed over its
// four branches, so it is halved here). Lines are separated by LF; the last has none.
std::string StrengthReportText(const std::array<double, 18>& strengths);
