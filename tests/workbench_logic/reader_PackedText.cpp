// Book files as the reader decodes them: what a good file gives, and what a file from the
// network that lies or is damaged gives (an error, never a crash, never an allocation that its
// own size does not pay for).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>

#include "tests/workbench_logic/GbkExpect.h"
#include "tools/packtext/PackText.h"
#include "workbench/logic/PackedText.h"

// The largest single allocation made while watching, so the hostile cases can show that a size
// is refused before its buffer exists. zlib's own working memory (about 40 KiB) goes through
// malloc and is not counted.
// The compiler cannot see that this delete pairs with the new beside it.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<bool> watching{false};
std::atomic<size_t> largest{0};
}  // namespace

void* operator new(size_t size) {
  if (watching && size > largest) largest = size;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

struct Watched {
  PackedText result;
  size_t largestAllocation;
};

Watched DecodeWatched(const std::string& file) {
  largest = 0;
  watching = true;
  PackedText result = DecodePackedText(file);
  watching = false;
  return {std::move(result), largest};
}

std::string WithLength(uint32_t length, const std::string& rest) {
  return LengthField(length) + rest;
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
  return bytes;
}

}  // namespace

TEST(PackedText, GoodFilesDecodeToTheirText) {
  const std::string text = "易经\r\n乾：元亨利贞。\r\n";
  PackedText r = DecodePackedText(PackText(text));
  EXPECT_EQ(r.Error, PackedTextError::None);
  EXPECT_GBK_EQ(r.Text, text);

  // A book larger than one piece of output comes out whole.
  std::string big;
  for (int i = 0; big.size() < 300000; ++i) big += "第" + std::to_string(i) + "行\r\n";
  r = DecodePackedText(PackText(big));
  EXPECT_EQ(r.Error, PackedTextError::None);
  EXPECT_EQ(r.Text, big);

  // An empty file is an empty text; so is a length of 0, whatever follows it.
  EXPECT_EQ(DecodePackedText("").Error, PackedTextError::None);
  EXPECT_EQ(DecodePackedText(WithLength(0, "")).Error, PackedTextError::None);
  EXPECT_EQ(DecodePackedText(WithLength(0, "garbage")).Text, "");
}

TEST(PackedText, OnlyTheFirstLBytesAreUsed) {
  const std::string text = "ABCDEFGHIJ";
  PackedText r = DecodePackedText(PackTextDeclaring(text, 4));
  EXPECT_EQ(r.Error, PackedTextError::None);
  EXPECT_EQ(r.Text, "ABCD");
  // Whatever follows the point where L bytes are out is not looked at.
  r = DecodePackedText(PackTextDeclaring(text, 4) + RandomBytes(50, 1));
  EXPECT_EQ(r.Text, "ABCD");
  std::string cut = PackText(text);
  cut.resize(cut.size() - 4);  // no checksum: the text is already complete
  EXPECT_EQ(DecodePackedText(cut).Text, text);
}

TEST(PackedText, DamagedFilesGiveAnErrorAndNoText) {
  for (size_t n = 1; n <= 3; ++n)
    EXPECT_EQ(DecodePackedText(std::string(n, '\x01')).Error, PackedTextError::TooShort) << n;

  const std::string text(5000, 'x');
  const std::string good = PackText(text + "yz");
  // Stream cut short, stream ending before L, stream damaged in its header and in its data.
  const PackedText cut = DecodePackedText(good.substr(0, good.size() / 2));
  EXPECT_EQ(cut.Error, PackedTextError::Truncated);
  EXPECT_EQ(cut.Text, "");
  EXPECT_EQ(DecodePackedText(PackTextDeclaring(text, 6000)).Error, PackedTextError::Truncated);
  EXPECT_EQ(DecodePackedText(WithLength(4, "")).Error, PackedTextError::LengthTooLarge);
  std::string header = good;
  header[4] = '\x00';
  EXPECT_EQ(DecodePackedText(header).Error, PackedTextError::Corrupt);
  std::string data = PackText(RandomBytes(4000, 7));
  for (size_t i = 10; i < data.size(); i += 7) data[i] = static_cast<char>(~data[i]);
  const PackedTextError e = DecodePackedText(data).Error;
  EXPECT_TRUE(e == PackedTextError::Corrupt || e == PackedTextError::Truncated);
}

TEST(PackedText, LengthIsRefusedBeforeItsBufferExists) {
  // 0x7FFFFFFF claimed by a 20-byte stream: refused, nothing of that size allocated.
  const std::string stream = PackText("twenty bytes of text").substr(4);
  Watched w = DecodeWatched(WithLength(0x7FFFFFFF, stream));
  EXPECT_EQ(w.result.Error, PackedTextError::LengthTooLarge);
  EXPECT_LT(w.largestAllocation, 4096u);

  // The cap on L: 64 MiB and 1032 times the stream, each exactly allowed and one more refused.
  const std::string bytes = RandomBytes(70000, 3);
  EXPECT_EQ(DecodePackedText(WithLength(kPackedTextMaxLength + 1, bytes)).Error,
            PackedTextError::LengthTooLarge);
  EXPECT_EQ(DecodePackedText(WithLength(kPackedTextMaxLength, bytes)).Error,
            PackedTextError::Corrupt);
  const std::string small = RandomBytes(100, 4);
  EXPECT_EQ(DecodePackedText(WithLength(100 * 1032 + 1, small)).Error,
            PackedTextError::LengthTooLarge);
  EXPECT_NE(DecodePackedText(WithLength(100 * 1032, small)).Error, PackedTextError::LengthTooLarge);

  // A real stream that claims far more than it holds allocates for what it holds, not for L.
  const std::string packed = PackText(std::string(100000, 'a'));
  w = DecodeWatched(WithLength(kPackedTextMaxLength, packed.substr(4) + std::string(70000, '\0')));
  EXPECT_EQ(w.result.Error, PackedTextError::Truncated);
  EXPECT_GT(w.largestAllocation, 100000u);  // the watch does see the text grow
  EXPECT_LT(w.largestAllocation, 1u << 20);
}

TEST(PackedText, RandomBytesNeverCrash) {
  for (unsigned seed = 0; seed < 400; ++seed) {
    std::string file = RandomBytes(seed % 97 + 1, seed);
    if (seed % 2 && file.size() > 6) {
      // A plausible zlib header and a small length, so inflate itself gets to run.
      file[0] = static_cast<char>(seed % 200 + 1);
      file[1] = file[2] = file[3] = 0;
      file[4] = '\x78';
      file[5] = '\x9c';
    }
    Watched w = DecodeWatched(file);
    if (w.result.Error != PackedTextError::None) {
      EXPECT_EQ(w.result.Text, "") << seed;
    }
    EXPECT_LE(w.largestAllocation, std::max<size_t>(4096, 1032 * file.size())) << seed;
  }
}
