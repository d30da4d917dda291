// The process's resident memory as the kernel counts it, for benchmarks that report what a
// piece of work costs at its peak.
#pragma once

#include <fstream>
#include <string>

// A field of /proc/self/status in bytes: "VmRSS" the resident memory now, "VmHWM" its
// high-water mark since the last ResetPeak.
inline long long StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  const std::string key = field + ":";
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key, 0) == 0) return std::stoll(line.substr(key.size())) * 1024;
  return 0;
}

// The high-water mark starts again from what is resident now.
inline void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
