// Files that declare much and hold little: a frame's cost follows the data it has, a whole
// image holds a bounded number of decoded pixels, and an empty frame far off the screen
// writes back as it was read.
#include <gtest/gtest.h>

#include <algorithm>

#include "GifTestSupport.h"
#include "gifkit/GkGIF.h"
#include "tests/support/ResidentMemory.h"

namespace {

// Frames of width x height, each only a clear and an end code.
std::string EmptyFrames(int width, int height, int count) {
  std::string bytes = GifHeader("89a", width, height, 1);
  for (int i = 0; i < count; ++i)
    bytes += FrameBlock(0, 0, width, height, PackCodes(2, WithWidths(2, {4, 5})));
  return bytes + ";";
}

}  // namespace

TEST(GifHostile, AFrameWithLittleDataCostsLittleMemoryWhateverItsSize) {
  for (int width : {8192, 8191}) {  // rows packed as in the data, and padded rows
    TGIFImage image;
    image.ReadGifBytes(EmptyFrames(width, 8192, 1), false);
    const std::uint64_t before = Resident();
    TBitmap* bitmap = image.Frames(0).Bitmap();
    const std::uint64_t after = Resident();
    const std::uint64_t grown = after > before ? after - before : 0;
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), width);
    // Every pixel is index 0 (black in the file's table).
    EXPECT_EQ(bitmap->PixelColor(width - 1, 8191), clBlack);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clBlack);
    // A 64 Mpixel frame: its pixels are there, but nothing was written to them.
    EXPECT_LT(grown, 32u << 20) << width;
  }
}

// Frames that take the screen's size (0 in the file) and hold one pixel before the end code:
// valid, the rows after it stay 0. Decoding them as indices or as bitmaps writes only what the
// data reach, so a 15-byte frame of an 8192 x 8192 screen costs next to nothing.
TEST(GifHostile, AScreenSizedFrameOfOnePixelDecodesWithoutWritingTheRest) {
  std::string bytes = GifHeader("89a", 8192, 8192, 1);
  for (int i = 0; i < 3; ++i)
    bytes += FrameBlock(0, 0, 0, 0, PackCodes(2, WithWidths(2, {4, 1, 5})));
  bytes += ";";
  TGIFImageCore core;
  core.ReadGifBytes(bytes, false);
  ASSERT_EQ(core.Count(), 3);
  for (int i = 0; i < core.Count(); ++i) {
    EXPECT_FALSE(core.FrameAt(i)->DataMayFill());
    const std::uint64_t before = Resident();
    const TGIFIndexImage indices = core.FrameAt(i)->DecodeIndices();
    const std::uint64_t after = Resident();
    ASSERT_EQ(indices.Pixels.size(), 8192u * 8192u);
    EXPECT_EQ(indices.Pixels[0], 1);
    EXPECT_EQ(indices.Pixels[1], 0);
    EXPECT_EQ(indices.Pixels.back(), 0);
    EXPECT_LT(after > before ? after - before : 0, 8u << 20) << "frame " << i;
  }
  TGIFImage image;
  image.ReadGifBytes(bytes, false);
  const std::uint64_t before = Resident();
  for (int i = 0; i < image.Count(); ++i) {
    TBitmap* bitmap = image.Frames(i).Bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clWhite);
    EXPECT_EQ(bitmap->PixelColor(8191, 8191), clBlack);
  }
  const std::uint64_t after = Resident();
  EXPECT_LT(after > before ? after - before : 0, 8u << 20);
}

// Data that may fill their frame are decoded into memory as the heap hands it back, holding
// the pixels of the frame decoded before; where such data stop early (an end code before the
// last pixel), plainly or interlaced, the rest must still read 0.
TEST(GifHostile, PixelsTheDataLeaveOutAreZeroWhateverMemoryTheFrameGets) {
  std::vector<int> full{256}, part{256};
  for (int i = 0; i < 40000; ++i) full.push_back(7);
  for (int i = 0; i < 300; ++i) part.push_back(1);
  full.push_back(257);
  part.push_back(257);
  for (std::uint8_t packed : {0x00, 0x40}) {
    const std::string bytes =
        GifHeader("89a", 200, 200, 8) +
        FrameBlock(0, 0, 200, 200, PackCodes(8, WithWidths(8, full))) +
        FrameBlock(0, 0, 200, 200, PackCodes(8, WithWidths(8, part)), packed) + ";";
    TGIFImageCore core;
    core.ReadGifBytes(bytes, false);
    ASSERT_EQ(core.Count(), 2);
    ASSERT_TRUE(core.FrameAt(1)->DataMayFill());
    for (int round = 0; round < 3; ++round) {
      const TGifIndices sevens = core.FrameAt(0)->DecodeIndices().Pixels;
      ASSERT_EQ(std::count(sevens.begin(), sevens.end(), 7), 40000);
    }
    const TGifIndices pixels = core.FrameAt(1)->DecodeIndices().Pixels;
    ASSERT_EQ(pixels.size(), 40000u);
    // Interlaced, the 300 pixels are row 0 and the first 100 of row 8.
    const std::size_t second = packed ? 8 * 200 : 200;
    EXPECT_EQ(std::count(pixels.begin(), pixels.begin() + 200, 1), 200) << int(packed);
    EXPECT_EQ(std::count(pixels.begin() + second, pixels.begin() + second + 100, 1), 100)
        << int(packed);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 40000 - 300) << int(packed);
  }
}

TEST(GifHostile, AnImageHoldsABoundedNumberOfDecodedPixels) {
  TGIFImage image;
  image.ReadGifBytes(EmptyFrames(8192, 8192, 20), false);
  ASSERT_EQ(image.Count(), 20);
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < image.Count(); ++i) {
      TBitmap* bitmap = image.Frames(i).Bitmap();
      ASSERT_NE(bitmap, nullptr);
      EXPECT_EQ(bitmap->Height(), 8192);
      EXPECT_LE(image.HeldDecodedPixels(), kMaxHeldGifPixels + 8192ull * 8192);
    }
  }
  // Frames made from bitmaps are never dropped: they have nothing to be decoded from.
  TBitmap own(3, 3, pf24bit);
  image.AddFrame(own);
  for (int i = 0; i < 20; ++i) image.Frames(i).Bitmap();
  EXPECT_EQ(image.Frames(20).Bitmap()->Width(), 3);
  image.Frames(0).Bitmap();
  EXPECT_GT(image.HeldDecodedPixels(), 0u);
}

TEST(GifHostile, AnEmptyFrameFarBelowAnEmptyScreenWritesBackAsRead) {
  // Screen 257 x 0; a frame of 0 x 0 at top 57344 takes the screen's 257 x 0.
  std::string bytes = GifHeader("89a", 257, 0, 1) +
                      FrameBlock(0, 57344, 0, 0, PackCodes(2, WithWidths(2, {4, 5}))) + ";";
  TGIFImageCore first;
  first.ReadGifBytes(bytes, false);
  ASSERT_EQ(first.Count(), 1);
  const std::string written = first.WriteGifBytes();
  TGIFImageCore second;
  ASSERT_NO_THROW(second.ReadGifBytes(written, false));
  ASSERT_EQ(second.Count(), 1);
  EXPECT_EQ(second.ScreenWidth, first.ScreenWidth);
  EXPECT_EQ(second.ScreenHeight, first.ScreenHeight);
  for (TGIFImageCore* image : {&first, &second}) {
    const TGIFFrameCore& frame = *image->FrameAt(0);
    EXPECT_EQ(frame.Top, 57344);
    EXPECT_EQ(frame.Item->Width, 257);
    EXPECT_EQ(frame.Item->Height, 0);
  }
  EXPECT_NO_THROW(second.FrameAt(0)->DecodeIndices());
  EXPECT_EQ(second.WriteGifBytes(), written);
}

TEST(GifHostile, AFrameWithoutPixelsOnAScreenThatGrowsWritesBackAsOneSeeThroughPixel) {
  const std::string emptyData = PackCodes(2, WithWidths(2, {4, 5}));
  std::vector<int> ones(16, 1);
  ones.insert(ones.begin(), 4);
  ones.push_back(5);
  const std::string column = PackCodes(2, WithWidths(2, ones));
  struct Case {
    const char* what;
    std::string bytes;
    int transparent;  // the index the pixel is written in
  };
  const std::vector<Case> cases{
      // Screen 20 x 0: the 0 x 0 frame takes 20 x 0; the frame far below grows the screen,
      // whose height a written 0 would read back as.
      {"grown screen",
       GifHeader("89a", 20, 0, 2) + GraphicControl(2 << 2, 7, 0) +
           FrameBlock(0, 0, 0, 0, emptyData) + FrameBlock(3, 65280, 1, 16, column),
       0},
      {"its own transparent index",
       GifHeader("89a", 20, 0, 2) + GraphicControl((1 << 2) | 1, 7, 3) +
           FrameBlock(5, 0, 0, 0, emptyData) + FrameBlock(3, 65280, 1, 16, column),
       3},
      {"no colour table at all",
       GifHeader("87a", 20, 0, 0) + FrameBlock(0, 0, 0, 0, emptyData) +
           FrameBlock(3, 65280, 1, 16, column),
       0},
  };
  for (const Case& c : cases) {
    TGIFImageCore first;
    first.ReadGifBytes(c.bytes + ";", false);
    ASSERT_EQ(first.Count(), 2) << c.what;
    const TGIFFrameCore& empty = *first.FrameAt(0);
    EXPECT_EQ(empty.Item->Width, 20u) << c.what;
    EXPECT_EQ(empty.Item->Height, 0u) << c.what;
    const std::string written = first.WriteGifBytes();
    EXPECT_EQ(first.ScreenHeight, 65296) << c.what;

    TGIFImageCore second;
    second.ReadGifBytes(written, false);
    ASSERT_EQ(second.Count(), 2) << c.what;
    EXPECT_EQ(second.ScreenWidth, 20) << c.what;
    EXPECT_EQ(second.ScreenHeight, 65296) << c.what;
    TGIFFrameCore& pixel = *second.FrameAt(0);
    EXPECT_EQ(pixel.Left, empty.Left) << c.what;
    EXPECT_EQ(pixel.Top, 0) << c.what;
    const TGIFIndexImage indices = pixel.DecodeIndices();
    ASSERT_EQ(indices.Width * indices.Height, 1u) << c.what << ", not the whole screen";
    EXPECT_EQ(indices.Pixels[0], c.transparent) << c.what;
    EXPECT_EQ(pixel.TransparentIndex(), c.transparent) << c.what;
    EXPECT_EQ(pixel.Delay(), empty.Delay()) << c.what;
    EXPECT_EQ(pixel.Disposal, empty.Disposal) << c.what;
    // The other frame is untouched, and what was read back writes the same again.
    EXPECT_EQ(second.FrameAt(1)->DecodeIndices().Pixels, std::vector<std::uint8_t>(16, 1))
        << c.what;
    EXPECT_EQ(second.FrameAt(1)->Top, 65280) << c.what;
    EXPECT_EQ(second.WriteGifBytes(), written) << c.what;
    // giflib reads the same.
    const ReferenceGif ref = DecodeWithGiflib(written);
    ASSERT_TRUE(ref.Ok) << c.what << ": " << ref.Error;
    EXPECT_EQ(ref.Frames[0].Width * ref.Frames[0].Height, 1) << c.what;
    EXPECT_EQ(ref.Frames[0].TransparentIndex, c.transparent) << c.what;
  }

  // A frame made without pixels beside one that sets the screen.
  TGIFImageCore made;
  made.AppendFrame().EncodeIndices(TGIFIndexImage{0, 0, 8, std::vector<TGifColor>(256, 0), {}});
  made.AppendFrame().EncodeIndices(
      TGIFIndexImage{10, 10, 8, std::vector<TGifColor>(256, 0), TGifIndices(100, 9)});
  TGIFImageCore back;
  back.ReadGifBytes(made.WriteGifBytes(), false);
  ASSERT_EQ(back.Count(), 2);
  const TGIFIndexImage indices = back.FrameAt(0)->DecodeIndices();
  EXPECT_EQ(indices.Width * indices.Height, 1u);
  EXPECT_EQ(back.FrameAt(0)->TransparentIndex(), 0);
}
