#include "platform/ZeroedMemory.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// From this size on, zeroed blocks are mapped: the allocator's heap zeroes a reused block by
// writing it, which for a large picture read again and again would be the whole cost.
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

struct Header {
  std::size_t total;
  bool mapped;
};
// The block's size and whether it is mapped are kept in front of it, as far in front as keeps
// the block aligned as the heap's blocks are.
constexpr std::size_t kHeader = (sizeof(Header) + alignof(std::max_align_t) - 1) /
                                alignof(std::max_align_t) * alignof(std::max_align_t);

void* Finish(void* base, std::size_t total, bool mapped) {
  *static_cast<Header*>(base) = Header{total, mapped};
  return static_cast<unsigned char*>(base) + kHeader;
}

void* FromHeap(std::size_t total, bool zeroed) {
  void* base = zeroed ? std::calloc(1, total) : std::malloc(total);
  return base ? Finish(base, total, false) : nullptr;
}

}  // namespace

void* AllocateZeroed(std::size_t bytes) {
  if (bytes > SIZE_MAX - 2 * kHeader) return nullptr;
  const std::size_t total = bytes + kHeader;
  if (total < kMappedFrom) return FromHeap(total, true);
  void* base = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return nullptr;
  return Finish(base, total, true);
}

void* AllocateForOverwrite(std::size_t bytes) {
  if (bytes > SIZE_MAX - 2 * kHeader) return nullptr;
  return FromHeap(bytes + kHeader, false);
}

void FreeBlock(void* block) {
  if (!block) return;
  void* base = static_cast<unsigned char*>(block) - kHeader;
  const Header header = *static_cast<Header*>(base);
  if (header.mapped) {
    ::munmap(base, header.total);
  } else {
    std::free(base);
  }
}
