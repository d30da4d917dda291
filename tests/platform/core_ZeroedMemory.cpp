// Zeroed blocks and the array on them: what reads zero, where the memory comes from, and an
// array's values through growing, shrinking, copying and moving.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <list>
#include <numeric>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ZeroedMemory.h"
#include "tests/support/ResidentMemory.h"

namespace {

bool AllZero(const void* block, std::size_t bytes) {
  const auto* p = static_cast<const unsigned char*>(block);
  return std::all_of(p, p + bytes, [](unsigned char c) { return c == 0; });
}

enum class Shade : std::uint8_t { None, Light, Dark };
struct Sample {
  std::int32_t Count;
  double Weight;
  const char* Name;
  Shade Tone;
  friend bool operator==(const Sample&, const Sample&) = default;
};
struct Unvouched {
  int Value;
};
struct alignas(64) Line {
  unsigned char Bytes[64];
};
struct WithMemberPointer {
  int Unvouched::*Field;
};

// Whether the array can be had for T at all, and from a pair of It.
template <class T>
concept HasZeroedArray = requires {
  typename TZeroedArray<T>;
};
template <class T, class It>
concept AssignsFrom = requires(TZeroedArray<T>& a, It i) {
  a.assign(i, i);
};

}  // namespace

template <>
inline constexpr bool kZeroBytesAreZeroValue<Sample> = true;
template <>
inline constexpr bool kZeroBytesAreZeroValue<Line> = true;
template <>
inline constexpr bool kZeroBytesAreZeroValue<WithMemberPointer> = true;

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

TEST(ZeroedMemory, AnArrayHoldsOnlyValuesWhoseZeroBytesAreZero) {
  // Zero bytes as the zero of each kind admitted: numbers, enumerations, pointers, and a
  // class that vouches for its members.
  static_assert(HasZeroedArray<std::uint8_t> && HasZeroedArray<double> && HasZeroedArray<Shade> &&
                HasZeroedArray<const char*> && HasZeroedArray<void (*)()> &&
                HasZeroedArray<Sample>);
  TZeroedArray<Sample> samples(3);
  samples.resize(5000);  // grown onto a new block: zeros again past what it held
  samples[1] = Sample{7, 0.5, "seven", Shade::Dark};
  EXPECT_EQ(std::count(samples.begin(), samples.end(), Sample{}), 4999);
  EXPECT_EQ(samples[1].Name, std::string_view("seven"));
  TZeroedArray<const char*> names(4);
  EXPECT_EQ(std::count(names.begin(), names.end(), nullptr), 4);
  TZeroedArray<double> weights(2);
  EXPECT_EQ(weights[1], 0.0);
  EXPECT_FALSE(std::signbit(weights[1]));

  // A pointer to member is null at -1, not at zero bytes; a type aligned beyond the heap's
  // blocks would sit misaligned on them; a class is taken only on its word; a const array
  // could never be written.
  static_assert(!HasZeroedArray<int Unvouched::*>);
  static_assert(!HasZeroedArray<void (Unvouched::*)()>);
  static_assert(!HasZeroedArray<Line>);
  static_assert(!HasZeroedArray<Unvouched>);
  static_assert(!HasZeroedArray<const int>);
  EXPECT_GT(alignof(Line), alignof(std::max_align_t));
}

TEST(ZeroedMemory, AnArrayIsMadeOnlyFromRangesItCanReadTwice) {
  // A range is measured, then copied: a stream's iterators would be used up by the measuring.
  using Bytes = std::istreambuf_iterator<char>;
  static_assert(!AssignsFrom<char, Bytes>);
  static_assert(!std::constructible_from<TZeroedArray<char>, Bytes, Bytes>);
  static_assert(!std::constructible_from<TZeroedArray<int>, std::istream_iterator<int>,
                                         std::istream_iterator<int>>);
  static_assert(AssignsFrom<char, std::list<char>::iterator>);
  static_assert(AssignsFrom<char, const char*>);

  // Read into a forward range first, a stream's bytes arrive whole.
  std::istringstream text("abcdef");
  const std::string read{Bytes(text), Bytes()};
  const TZeroedArray<char> chars(read.begin(), read.end());
  EXPECT_EQ(std::string(chars.begin(), chars.end()), "abcdef");
  const std::list<std::uint16_t> linked{500, 600, 700};
  TZeroedArray<std::uint16_t> values(linked.begin(), linked.end());
  EXPECT_EQ(std::vector<std::uint16_t>(values.begin(), values.end()),
            std::vector<std::uint16_t>({500, 600, 700}));
}

TEST(ZeroedMemory, AssigningOneOfItsOwnValuesCopiesItBeforeTheBlockGoes) {
  // A block of more than a megabyte is mapped, and unmapped when it goes: a value read from it
  // afterwards is not there to read.
  TZeroedArray<std::uint64_t> values(std::size_t{200} << 10);
  values[7] = 0x0123456789ABCDEFull;
  values.assign(std::size_t{300} << 10, values[7]);  // a new, larger block
  EXPECT_EQ(values.size(), std::size_t{300} << 10);
  EXPECT_EQ(std::count(values.begin(), values.end(), 0x0123456789ABCDEFull),
            static_cast<std::ptrdiff_t>(values.size()));
  values.assign(3, values[2]);  // the same block, shorter
  EXPECT_EQ(values, (TZeroedArray<std::uint64_t>{0x0123456789ABCDEFull, 0x0123456789ABCDEFull,
                                                 0x0123456789ABCDEFull}));
  // A range of its own elements is copied whole before the block changes.
  values = {1, 2, 3, 4};
  values.assign(values.begin() + 1, values.end());
  EXPECT_EQ(values, (TZeroedArray<std::uint64_t>{2, 3, 4}));
}
