// LZW coding: interlace order, the encoder's code sizes and table resets, and the decoder's
// handling of every kind of malformed code stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "GifTestSupport.h"
#include "gifkit/LzwDecoder.h"
#include "gifkit/LzwEncoder.h"
#include "platform/Exceptions.h"

namespace {

std::vector<std::uint8_t> Decode(const std::string& data, int w, int h, int bits = 8,
                                 bool interlaced = false, bool lenient = false,
                                 bool* corrupt = nullptr) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h, 0xEE);
  const bool c = DecodeLzwImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), w,
                                h, bits, interlaced, lenient, {}, pixels.data(), w);
  if (corrupt) *corrupt = c;
  return pixels;
}

std::string DecodeError(const std::string& data, int w, int h, bool lenient = false) {
  try {
    Decode(data, w, h, 8, false, lenient);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "no error";
}

std::vector<std::uint8_t> RandomPixels(std::size_t n, int depth, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> pixels(n);
  for (auto& p : pixels) p = static_cast<std::uint8_t>(rng() & ((1u << depth) - 1));
  return pixels;
}

// The codes of encoded data read back with a decoder's width rule, for looking at what the
// encoder emitted.
struct CodeTrace {
  std::vector<int> Codes;
  std::vector<int> FreeAtClear;  // free code the decoder had when each later clear came
  int MaxWidth = 0;
};
CodeTrace TraceCodes(const std::string& data) {
  CodeTrace trace;
  const int codeSize = static_cast<std::uint8_t>(data[0]);
  std::string bytes;
  for (std::size_t at = 1; at < data.size() && data[at] != 0;) {
    const std::size_t n = static_cast<std::uint8_t>(data[at]);
    bytes.append(data, at + 1, n);
    at += n + 1;
  }
  const int clear = 1 << codeSize;
  LzwWidthRule rule(codeSize);
  std::size_t bit = 0;
  while (bit + rule.Width() <= bytes.size() * 8) {
    const int width = rule.Width();
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) {
      code |= ((static_cast<std::uint8_t>(bytes[bit / 8]) >> (bit % 8)) & 1) << i;
    }
    trace.MaxWidth = std::max(trace.MaxWidth, width);
    trace.Codes.push_back(code);
    if (code == clear && trace.Codes.size() > 1) trace.FreeAtClear.push_back(rule.FreeCode());
    if (code == clear + 1) break;
    rule.Take(code);
  }
  return trace;
}

}  // namespace

TEST(LzwInterlace, RowOrderOfSmallAndLargePictures) {
  auto order = [](std::uint32_t height) {
    std::vector<std::uint32_t> rows;
    for (std::uint32_t r = 0; r < height; r = NextInterlacedRow(r, height)) rows.push_back(r);
    return rows;
  };
  EXPECT_EQ(order(1), (std::vector<std::uint32_t>{0}));
  EXPECT_EQ(order(2), (std::vector<std::uint32_t>{0, 1}));
  EXPECT_EQ(order(3), (std::vector<std::uint32_t>{0, 2, 1}));
  EXPECT_EQ(order(4), (std::vector<std::uint32_t>{0, 2, 1, 3}));
  EXPECT_EQ(order(10), (std::vector<std::uint32_t>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
  EXPECT_EQ(order(17).size(), 17u);
}

TEST(LzwEncoder, CodeSizeFollowsBitmapDepthNotColoursUsed) {
  const std::vector<std::uint8_t> zeros(64, 0);
  for (auto [depth, size] : {std::pair{1, 2}, {4, 4}, {8, 8}}) {
    std::string out;
    EncodeLzwImage(out, 8, 8, depth, false, {}, zeros.data(), 8);
    EXPECT_EQ(static_cast<int>(out[0]), size) << "depth " << depth;
    EXPECT_EQ(out.back(), '\0');
    EXPECT_EQ(Decode(out, 8, 8, depth), zeros);
  }
}

TEST(LzwEncoder, RoundTripsThroughOwnDecoderAndGiflib) {
  struct Case {
    int w, h, depth;
    bool interlaced;
  };
  for (const Case& c :
       {Case{1, 1, 1, false}, Case{7, 5, 1, true}, Case{33, 17, 4, false}, Case{64, 64, 8, true},
        Case{300, 200, 8, false}, Case{65535, 1, 8, false}, Case{1, 300, 4, true}}) {
    const auto pixels = RandomPixels(static_cast<std::size_t>(c.w) * c.h, c.depth, c.w * 31 + c.h);
    std::string data;
    EncodeLzwImage(data, c.w, c.h, c.depth, c.interlaced, {}, pixels.data(), c.w);
    // Every sub-block but the last is full, and the data end with the terminator.
    std::size_t at = 1;
    while (static_cast<std::uint8_t>(data[at]) == 255) at += 256;
    ASSERT_LT(at, data.size());
    EXPECT_EQ(at + 1 + static_cast<std::uint8_t>(data[at]) + 1, data.size());

    EXPECT_EQ(Decode(data, c.w, c.h, c.depth, c.interlaced), pixels) << c.w << "x" << c.h;

    const int bits = c.depth;
    std::string gif = GifHeader("87a", c.w, c.h, bits) +
                      FrameBlock(0, 0, c.w, c.h, data, c.interlaced ? 0x40 : 0) + ";";
    const ReferenceGif ref = DecodeWithGiflib(gif);
    ASSERT_TRUE(ref.Ok) << ref.Error;
    ASSERT_EQ(ref.Frames.size(), 1u);
    EXPECT_EQ(ref.Frames[0].Pixels, pixels) << c.w << "x" << c.h;
  }
}

TEST(LzwEncoder, ClearsWhenCode4094IsAssignedAndNeverExceeds12Bits) {
  const auto pixels = RandomPixels(256 * 256, 8, 7);
  std::string data;
  EncodeLzwImage(data, 256, 256, 8, false, {}, pixels.data(), 256);
  const CodeTrace trace = TraceCodes(data);
  EXPECT_EQ(trace.Codes.front(), 256);
  EXPECT_EQ(trace.Codes.back(), 257);
  EXPECT_EQ(trace.MaxWidth, 12);
  ASSERT_GE(trace.FreeAtClear.size(), 2u);
  for (int freeCode : trace.FreeAtClear) EXPECT_EQ(freeCode, 4095);
  EXPECT_EQ(Decode(data, 256, 256), pixels);
}

TEST(LzwDecoder, LongStringsAndSelfReferencesUpToThePicturesLastPixel) {
  // Flat runs make ever longer strings, each naming the entry being defined; where the copies
  // are cut by the end of the picture, and how near it they start, moves with the size.
  for (int n = 4050; n <= 4300; n += 3) {
    for (int kind = 0; kind < 3; ++kind) {
      std::vector<std::uint8_t> pixels(n);
      for (int i = 0; i < n; ++i) {
        pixels[i] = kind == 0   ? 9
                    : kind == 1 ? static_cast<std::uint8_t>((i / 37) % 3)
                                : static_cast<std::uint8_t>(i < n - 40 ? 1 : i % 5);
      }
      std::string data;
      EncodeLzwImage(data, n, 1, 8, false, {}, pixels.data(), n);
      ASSERT_EQ(Decode(data, n, 1), pixels) << n << " kind " << kind;
    }
  }
  // The same picture cut short: the last string stops at the picture's end.
  std::vector<std::uint8_t> flat(5000, 4);
  std::string data;
  EncodeLzwImage(data, 5000, 1, 8, false, {}, flat.data(), 5000);
  for (int n : {4999, 4990, 4100, 17, 1}) {
    EXPECT_EQ(Decode(data, n, 1), std::vector<std::uint8_t>(n, 4)) << n;
  }
}

TEST(LzwDecoder, AZeroedTargetStaysZeroPastWhereTheDataEnd) {
  // Strings are copied in whole chunks; the bytes a chunk writes past the last string, where
  // the end code comes early, must not stay behind in memory the caller has zeroed.
  for (int rows : {1, 10, 37, 50}) {
    const auto pixels = RandomPixels(100 * rows, 4, rows);
    std::vector<std::uint8_t> shown(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) shown[i] = 1 + pixels[i] % 15;
    std::string data;
    EncodeLzwImage(data, 100, rows, 4, false, {}, shown.data(), 100);
    std::vector<std::uint8_t> out(100 * 100, 0);
    std::uint64_t reached = 0;
    DecodeLzwImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), 100, 100, 4,
                   false, false, {}, out.data(), 100, true, &reached);
    ASSERT_EQ(reached, shown.size());
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), out.begin())) << rows;
    EXPECT_EQ(std::count(out.begin() + reached, out.end(), 0), 100 * (100 - rows)) << rows;
  }
}

TEST(LzwDecoder, NoDataGiveMorePixelsThanTheirBound) {
  // The longest strings there are: after the first literal each code names the entry being
  // made (2, 3, ... pixels) until the table is full, then the longest entry again and again.
  for (int codeSize : {2, 8}) {
    const int clear = 1 << codeSize;
    std::vector<int> codes{clear, 0};
    std::uint64_t total = 1;
    for (int code = clear + 2; code < 4096; ++code) {
      codes.push_back(code);
      total += code - clear;
    }
    for (int i = 0; i < 40; ++i) {
      codes.push_back(4095);
      total += 4095 - clear;
    }
    codes.push_back(clear + 1);
    const std::string data = PackCodes(codeSize, WithWidths(codeSize, codes));
    std::vector<std::uint8_t> out(total);
    std::uint64_t reached = 0;
    DecodeLzwImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(),
                   static_cast<std::uint32_t>(total), 1, 8, false, false, {}, out.data(), total,
                   false, &reached);
    ASSERT_EQ(reached, total) << codeSize;
    EXPECT_GE(LzwPixelBound(data.size()), total) << codeSize;
  }
  // Random streams, each decoded into one pixel more than its bound: they never fill it.
  std::mt19937 rng(31);
  for (int round = 0; round < 300; ++round) {
    const int codeSize = 2 + static_cast<int>(rng() % 7);
    const int clear = 1 << codeSize;
    LzwWidthRule rule(codeSize);
    std::vector<int> codes{clear};
    rule.Take(clear);
    const int count = 1 + static_cast<int>(rng() % 400);
    for (int i = 0; i < count; ++i) {
      // Mostly the entry being made (the longest string), sometimes a literal or a clear.
      const unsigned pick = rng() % 16;
      int code = static_cast<int>(rng() % clear);
      if (i > 0 && pick < 12) code = std::min(rule.FreeCode(), 4095);
      if (pick == 15) code = clear;
      codes.push_back(code);
      rule.Take(code);
    }
    codes.push_back(clear + 1);
    const std::string data = PackCodes(codeSize, WithWidths(codeSize, codes));
    const std::uint64_t room = LzwPixelBound(data.size()) + 1;
    ASSERT_LE(room, kMaxGifPixels);
    std::vector<std::uint8_t> out(room);
    std::uint64_t reached = 0;
    DecodeLzwImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(),
                   static_cast<std::uint32_t>(room), 1, 8, false, true, {}, out.data(), room, false,
                   &reached);
    EXPECT_LT(reached, room) << "round " << round;
  }
  // A frame of one pixel (clear, literal, end) on a screen-sized picture cannot fill it.
  EXPECT_LT(LzwPixelBound(PackCodes(2, WithWidths(2, {4, 1, 5})).size()), 8192u * 8192u);
  EXPECT_EQ(LzwPixelBound(0), 0u);
}

TEST(LzwDecoder, WellFormedSpecialCases) {
  // Code size 2: clear 4, end 5, first free 6.
  // The free code itself repeats the previous string plus its first pixel.
  EXPECT_EQ(Decode(PackCodes(2, WithWidths(2, {4, 1, 6, 5})), 3, 1),
            (std::vector<std::uint8_t>{1, 1, 1}));
  // No end code is needed once every row is filled, and nothing after that is read.
  EXPECT_EQ(Decode(PackCodes(2, WithWidths(2, {4, 2, 3, 0, 1})), 2, 2),
            (std::vector<std::uint8_t>{2, 3, 0, 1}));
  EXPECT_EQ(Decode(PackCodes(2, WithWidths(2, {4, 2, 3, 0, 1})) + "garbage", 2, 2),
            (std::vector<std::uint8_t>{2, 3, 0, 1}));
  // An end code straight after the clear stops decoding; the picture stays 0.
  bool corrupt = true;
  EXPECT_EQ(Decode(PackCodes(2, WithWidths(2, {4, 5})), 2, 2, 8, false, false, &corrupt),
            std::vector<std::uint8_t>(4, 0));
  EXPECT_FALSE(corrupt);
  // A stream need not begin with a clear code, and clear codes may repeat.
  EXPECT_EQ(Decode(PackCodes(2, WithWidths(2, {3, 4, 4, 2, 5})), 2, 1),
            (std::vector<std::uint8_t>{3, 2}));
  // Pixels are masked to the colour table's width; extra pixels past the last row are dropped.
  EXPECT_EQ(Decode(PackCodes(2, WithWidths(2, {4, 3, 2, 6, 5})), 3, 1, 1),
            (std::vector<std::uint8_t>{1, 0, 1}));
}

TEST(LzwDecoder, KeepsReadingAtTwelveBitsWhenTheTableIsFull) {
  // 3839 literals fill codes 258..4095 without a clear; literals then come at 12 bits.
  std::vector<int> codes{256};
  std::vector<std::uint8_t> expected;
  std::mt19937 rng(3);
  for (int i = 0; i < 5000; ++i) {
    const int v = static_cast<int>(rng() % 256);
    codes.push_back(v);
    expected.push_back(static_cast<std::uint8_t>(v));
  }
  codes.push_back(257);
  const auto coded = WithWidths(8, codes);
  EXPECT_EQ(coded[4000].second, 12);
  const std::string data = PackCodes(8, coded);
  EXPECT_EQ(Decode(data, 100, 50), expected);
  const ReferenceGif ref =
      DecodeWithGiflib(GifHeader("87a", 100, 50, 8) + FrameBlock(0, 0, 100, 50, data) + ";");
  ASSERT_TRUE(ref.Ok) << ref.Error;
  EXPECT_EQ(ref.Frames[0].Pixels, expected);
}

TEST(LzwDecoder, RejectsCorruptCodesStrictlyAndStopsLeniently) {
  struct Case {
    const char* what;
    std::string data;
  };
  const std::vector<Case> cases{
      {"first code after clear is the end+1 code", PackCodes(2, WithWidths(2, {4, 6, 5}))},
      {"first code of the stream above the clear code", PackCodes(2, WithWidths(2, {7, 5}))},
      {"code above the free code", PackCodes(2, WithWidths(2, {4, 1, 7, 5}))},
      {"code above the free code later on",
       PackCodes(2, WithWidths(2, {4, 1, 2, 3, 1, 2, 3, 15, 5}))},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeError(c.data, 4, 2), "GIF encoded data is corrupt") << c.what;
    bool corrupt = false;
    std::vector<std::uint8_t> pixels;
    ASSERT_NO_THROW(pixels = Decode(c.data, 4, 2, 8, false, true, &corrupt)) << c.what;
    EXPECT_TRUE(corrupt) << c.what;
    EXPECT_EQ(pixels.back(), 0) << c.what;
  }
  // Code sizes outside 2..9 fail strictly; leniently they are clamped and the frame is corrupt.
  for (int size : {0, 1, 10, 255}) {
    std::string data = PackCodes(2, WithWidths(2, {4, 1, 1, 5}));
    data[0] = static_cast<char>(size);
    EXPECT_EQ(DecodeError(data, 2, 1), "GIF code size not in range 2 to 9") << size;
    bool corrupt = false;
    EXPECT_NO_THROW(Decode(data, 2, 1, 8, false, true, &corrupt)) << size;
    EXPECT_TRUE(corrupt) << size;
  }
}

TEST(LzwDecoder, DataEndingBeforeTheLastRowIsAReadError) {
  // Fails however lenient: the picture cannot be completed.
  const std::string shortData = PackCodes(2, WithWidths(2, {4, 1, 2}));
  EXPECT_EQ(DecodeError(shortData, 4, 4), "Stream read error");
  EXPECT_EQ(DecodeError(shortData, 4, 4, true), "Stream read error");
  EXPECT_EQ(DecodeError(PackCodes(2, WithWidths(2, {4, 1, 2}), false), 4, 4), "Stream read error");
  EXPECT_EQ(DecodeError(std::string(), 2, 2), "Stream read error");
  EXPECT_EQ(DecodeError(std::string(1, '\2'), 2, 2), "Stream read error");
  // A sub-block whose length runs past the data gives what there is.
  std::string cut = PackCodes(2, WithWidths(2, {4, 1, 2, 3, 0, 5}));
  cut[1] = 100;
  EXPECT_EQ(Decode(cut, 2, 2), (std::vector<std::uint8_t>{1, 2, 3, 0}));
}

TEST(LzwDecoder, RefusesPicturesBeyondTheAreaCap) {
  const std::string data = PackCodes(2, WithWidths(2, {4, 5}));
  std::uint8_t pixel = 0;  // never written: the size is refused first
  try {
    DecodeLzwImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), 65535, 65535, 8,
                   false, true, {}, &pixel, 65535);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "GIF image too large (65535 x 65535)");
  }
}

TEST(LzwCoding, ProgressRunsFromStartToEnd) {
  std::vector<std::pair<TGifProgressStage, int>> seen;
  std::string lastMessage;
  TGifProgress progress = [&](TGifProgressStage s, int p, const std::string& m) {
    seen.emplace_back(s, p);
    lastMessage = m;
  };
  const auto pixels = RandomPixels(100 * 100, 8, 1);
  std::string data;
  EncodeLzwImage(data, 100, 100, 8, false, progress, pixels.data(), 100);
  ASSERT_EQ(seen.size(), 102u);
  EXPECT_EQ(seen.front(), std::pair(TGifProgressStage::psStarting, 0));
  EXPECT_EQ(seen[50], std::pair(TGifProgressStage::psRunning, 50));
  EXPECT_EQ(seen.back(), std::pair(TGifProgressStage::psEnding, 100));

  seen.clear();
  std::vector<std::uint8_t> out(100 * 100);
  DecodeLzwImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), 100, 100, 8,
                 false, false, progress, out.data(), 100);
  EXPECT_EQ(seen.front().first, TGifProgressStage::psStarting);
  EXPECT_EQ(seen.back(), std::pair(TGifProgressStage::psEnding, 100));
  int last = 0;
  for (std::size_t i = 1; i + 1 < seen.size(); ++i) {
    EXPECT_EQ(seen[i].first, TGifProgressStage::psRunning);
    EXPECT_GT(seen[i].second, last);
    last = seen[i].second;
  }
  EXPECT_GE(last, 95);

  seen.clear();
  const std::string bad = PackCodes(2, WithWidths(2, {4, 7}));
  EXPECT_THROW(DecodeLzwImage(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size(), 2, 2,
                              8, false, false, progress, out.data(), 2),
               EInvalidGraphicOperation);
  EXPECT_EQ(seen.back(), std::pair(TGifProgressStage::psEnding, 0));
  EXPECT_EQ(lastMessage, "GIF encoded data is corrupt");
}
