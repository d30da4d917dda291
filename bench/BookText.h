// A book's text of a given length in GBK, lines of a typical chart note ended by CR LF, for the
// benchmarks of the reader and the packer.
#pragma once

#include <cstddef>
#include <string>

inline std::string Book(std::size_t bytes) {
  std::string text;
  for (int line = 0; text.size() < bytes; ++line)
    text += "第" + std::to_string(line) + "条：世爻旺相，应爻休囚，动而化进。\r\n";
  text.resize(bytes);
  return text;
}
