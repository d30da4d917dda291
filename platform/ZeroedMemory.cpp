#include "platform/ZeroedMemory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// From this size on, blocks are mapped: the allocator's heap zeroes a reused block by writing
// it, which for a large picture read again and again would be the whole cost.
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;
// The block's size is kept in front of it.
constexpr std::size_t kHeader = 64;

}  // namespace

void* AllocateZeroed(std::size_t bytes) {
  if (bytes > SIZE_MAX - kHeader) return nullptr;
  const std::size_t total = bytes + kHeader;
  void* base;
  if (total >= kMappedFrom) {
    base = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
  } else {
    const std::size_t rounded = (total + kHeader - 1) / kHeader * kHeader;
    base = std::aligned_alloc(kHeader, rounded);
    if (!base) return nullptr;
    std::memset(base, 0, rounded);
  }
  *static_cast<std::size_t*>(base) = total;
  return static_cast<unsigned char*>(base) + kHeader;
}

void FreeZeroed(void* block) {
  if (!block) return;
  void* base = static_cast<unsigned char*>(block) - kHeader;
  const std::size_t total = *static_cast<std::size_t*>(base);
  if (total >= kMappedFrom) {
    ::munmap(base, total);
  } else {
    std::free(base);
  }
}
