// Zeroed blocks and the array on them: what reads zero, where the memory comes from, and an
// array's values through growing, shrinking, copying and moving.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

#include "platform/ZeroedMemory.h"
#include "tests/support/ResidentMemory.h"

namespace {

bool AllZero(const void* block, std::size_t bytes) {
  const auto* p = static_cast<const unsigned char*>(block);
  return std::all_of(p, p + bytes, [](unsigned char c) { return c == 0; });
}

}  // namespace

TEST(ZeroedMemory, BlocksAreAlignedAndZeroedOnlyWhenAskedFor) {
  // Small blocks come from the heap, large ones are mapped: both read zero, again after the
  // heap took back a block full of other bytes.
  for (std::size_t bytes : {std::size_t{1}, std::size_t{1000}, std::size_t{3} << 20}) {
    for (int round = 0; round < 2; ++round) {
      void* used = AllocateForOverwrite(bytes);
      ASSERT_NE(used, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(used) % alignof(std::max_align_t), 0u);
      std::memset(used, 0xA5, bytes);
      FreeBlock(used);
      void* zeroed = AllocateZeroed(bytes);
      ASSERT_NE(zeroed, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(zeroed) % alignof(std::max_align_t), 0u);
      EXPECT_TRUE(AllZero(zeroed, bytes)) << bytes;
      FreeBlock(zeroed);
    }
  }
  FreeBlock(nullptr);
  // A size no memory holds is refused, not wrapped around.
  EXPECT_EQ(AllocateZeroed(SIZE_MAX), nullptr);
  EXPECT_EQ(AllocateForOverwrite(SIZE_MAX - 8), nullptr);
}

TEST(ZeroedMemory, AnArrayGrowsWithZerosAndCostsOnlyWhatIsWritten) {
  TZeroedArray<std::uint32_t> a;
  EXPECT_TRUE(a.empty());
  a.resize(5);
  EXPECT_EQ(std::vector<std::uint32_t>(a.begin(), a.end()), std::vector<std::uint32_t>(5, 0));
  std::iota(a.begin(), a.end(), 1u);
  a.resize(2000);  // a new block: the first values move along
  EXPECT_EQ(a[4], 5u);
  EXPECT_EQ(a[5], 0u);
  EXPECT_EQ(a.back(), 0u);
  std::fill(a.begin(), a.end(), 0xFFFFFFFFu);
  a.resize(3);     // the same block, shorter ...
  a.resize(1500);  // ... and longer again: what it held past 3 reads 0
  EXPECT_EQ(a[2], 0xFFFFFFFFu);
  EXPECT_EQ(std::count(a.begin(), a.end(), 0u), 1497);

  // 256 MB of zeros, of which a few pages are touched.
  const std::uint64_t before = Resident();
  TZeroedArray<std::uint8_t> large(std::size_t{256} << 20);
  large[0] = large[large.size() / 2] = large.back() = 1;
  EXPECT_EQ(large[1], 0);
  EXPECT_EQ(large[large.size() - 2], 0);
  const std::uint64_t after = Resident();
  EXPECT_LT(after > before ? after - before : 0, 16u << 20);

  EXPECT_THROW(large.resize(SIZE_MAX), std::bad_alloc);
  EXPECT_EQ(large.size(), std::size_t{256} << 20);
}

TEST(ZeroedMemory, AnArrayMadeFromValuesCopiesAndMovesThem) {
  const TZeroedArray<std::uint8_t> filled(4, 9);
  EXPECT_EQ(filled, (TZeroedArray<std::uint8_t>{9, 9, 9, 9}));
  const std::vector<std::uint8_t> source{3, 1, 4, 1, 5};
  TZeroedArray<std::uint8_t> a(source.begin(), source.end());
  EXPECT_EQ(std::vector<std::uint8_t>(a.begin(), a.end()), source);
  EXPECT_EQ(a.front(), 3);

  TZeroedArray<std::uint8_t> copy = a;
  copy[0] = 2;
  EXPECT_EQ(a[0], 3);  // its own block
  copy = a;
  EXPECT_EQ(copy, a);
  const TZeroedArray<std::uint8_t>& same = copy;
  copy = same;  // assigning itself keeps the values
  EXPECT_EQ(copy, a);

  TZeroedArray<std::uint8_t> moved = std::move(copy);
  EXPECT_EQ(moved, a);
  // A moved-from array is empty.
  EXPECT_TRUE(copy.empty());        // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(copy.data(), nullptr);  // NOLINT(bugprone-use-after-move)
  moved = TZeroedArray<std::uint8_t>(2, 8);
  EXPECT_EQ(moved, (TZeroedArray<std::uint8_t>{8, 8}));

  moved.assign(3, 6);
  EXPECT_EQ(moved, (TZeroedArray<std::uint8_t>{6, 6, 6}));
  moved.assign(source.begin() + 1, source.begin() + 3);
  EXPECT_EQ(moved, (TZeroedArray<std::uint8_t>{1, 4}));
  moved.SizeForOverwrite(1000);
  EXPECT_EQ(moved.size(), 1000u);
  std::fill(moved.begin(), moved.end(), 2);
  EXPECT_EQ(std::count(moved.begin(), moved.end(), 2), 1000);
}
