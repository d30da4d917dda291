// Which libraries this process has mapped: the layer loads some only on first use.
#pragma once

#include <fstream>
#include <string>

// Whether a library whose file name holds `name` is mapped into this process.
inline bool LibraryMapped(const std::string& name) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find(name) != std::string::npos) return true;
  return false;
}
