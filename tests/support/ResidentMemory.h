// The process's resident memory, for tests that show a hostile input costs only what its own
// size pays for.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <fstream>

// Resident memory of the process, in bytes.
inline std::uint64_t Resident() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}
