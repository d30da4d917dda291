// A formula file for tests: twelve records, record k with the run count 100 + k and the
// coefficients k, k + 1, ... k + 5 (two digits each), then a line break.
#pragma once

#include <string>

inline std::string SampleFormulaFile() {
  std::string bytes;
  for (int k = 1; k <= 12; ++k) {
    bytes += std::to_string(100 + k);
    for (int c = 0; c < 6; ++c) bytes += (k + c < 10 ? "0" : "") + std::to_string(k + c);
  }
  return bytes + "\r\n";
}
