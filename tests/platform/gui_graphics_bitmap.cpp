// Bitmaps: sizes, pixel formats and palettes, raw rows, transparency, BMP streams, drawing
// one bitmap on another, and image lists.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/GbkText.h"
#include "platform/gui/Graphics.h"

void EnsureGuiApp();

namespace {

constexpr TColor kMarker = RGB(1, 2, 3);

TBitmap Filled(int w, int h, TColor color, TPixelFormat format = pf32bit) {
  TBitmap b(w, h, format);
  b.Canvas().Brush().SetColor(color);
  b.Canvas().FillRect(Rect(0, 0, w, h));
  return b;
}

// Little-endian fields of hand-made files.
std::string Le32(uint32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(char(v >> (8 * i)));
  return out;
}
std::string Le16(uint16_t v) { return {char(v), char(v >> 8)}; }

// A hand-made BMP file with a 40-byte header; `fields` (bit-field masks) lie between the
// header and the pixel rows.
std::string BmpFile(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                    const std::string& fields, const std::string& rows) {
  const auto bits = static_cast<uint32_t>(14 + 40 + fields.size());
  std::string file = "BM" + Le32(bits + static_cast<uint32_t>(rows.size())) + Le32(0) + Le32(bits);
  file += Le32(40) + Le32(static_cast<uint32_t>(width)) + Le32(static_cast<uint32_t>(height));
  file += Le16(1) + Le16(bitCount) + Le32(compression) + Le32(static_cast<uint32_t>(rows.size()));
  for (int i = 0; i < 4; ++i) file += Le32(0);
  return file + fields + rows;
}

class BitmapTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_F(BitmapTest, ResizingKeepsWhatFitsAndFillsWhite) {
  TBitmap b = Filled(4, 3, clRed);
  b.Canvas().SetPixel(3, 2, clBlue);
  b.SetSize(6, 5);
  EXPECT_EQ(b.PixelColor(3, 2), clBlue);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(5, 4), clWhite);
  EXPECT_EQ(b.PixelColor(4, 0), clWhite);
  b.SetWidth(2);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.PixelColor(1, 2), clRed);

  b.SetSize(-5, 3);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.ScanLine(0), nullptr);
  EXPECT_EQ(b.PixelColor(0, 0), clNone);
  b.Canvas().FillRect(Rect(0, 0, 5, 5));  // drawing on an empty bitmap does nothing

  TBitmap wide;
  wide.SetWidth(10);  // a width alone keeps it empty but remembered
  EXPECT_TRUE(wide.Empty());
  wide.SetHeight(2);
  EXPECT_EQ(wide.PixelColor(9, 1), clWhite);
  EXPECT_THROW(wide.SetSize(100000, 100000), EOutOfResources);
  EXPECT_EQ(wide.Width(), 10);
}

TEST_F(BitmapTest, RowsFollowTheDeviceIndependentLayout) {
  TBitmap b24 = Filled(3, 2, RGB(10, 20, 30), pf24bit);
  const uint8_t* row = b24.ScanLine(1);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row[0], 30);  // blue, green, red
  EXPECT_EQ(row[1], 20);
  EXPECT_EQ(row[2], 10);
  EXPECT_EQ(b24.BytesPerLine(), 12);  // 9 bytes padded to 4
  EXPECT_EQ(b24.ScanLine(2), nullptr);
  EXPECT_EQ(b24.ScanLine(-1), nullptr);

  TBitmap b32 = Filled(1, 1, RGB(10, 20, 30), pf32bit);
  EXPECT_EQ(b32.ScanLine(0)[0], 30);
  EXPECT_EQ(b32.ScanLine(0)[2], 10);

  // Writing rows changes the pixels.
  b24.ScanLine(0)[3] = 255;
  b24.ScanLine(0)[4] = 0;
  b24.ScanLine(0)[5] = 0;
  EXPECT_EQ(b24.PixelColor(1, 0), clBlue);
}

TEST_F(BitmapTest, PaletteBitmapsKeepIndicesAndPalettes) {
  TBitmap b(5, 2, pf8bit);
  std::vector<TColor> palette(256, clBlack);
  palette[1] = clRed;
  palette[2] = clRed;  // a duplicate entry
  palette[3] = clLime;
  b.SetPalette(palette);
  EXPECT_EQ(b.Palette().size(), 256u);
  EXPECT_EQ(b.Palette()[3], clLime);
  uint8_t* row = b.ScanLine(0);
  row[0] = 2;
  row[1] = 3;
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(1, 0), clLime);

  // Drawing maps to the nearest entry and leaves untouched pixels on their index.
  b.Canvas().SetPixel(4, 1, RGB(250, 10, 0));
  EXPECT_EQ(b.ScanLine(1)[4], 1);
  EXPECT_EQ(b.ScanLine(0)[0], 2);
  EXPECT_EQ(b.Canvas().NearestColor(RGB(0, 240, 20)), clLime);

  // 4 bits: sixteen entries, one index per byte.
  TBitmap b4(3, 1, pf4bit);
  EXPECT_EQ(b4.Palette().size(), 16u);
  EXPECT_EQ(b4.PixelColor(0, 0), clWhite);
  b4.Canvas().SetPixel(1, 0, clRed);
  EXPECT_EQ(b4.ScanLine(0)[1], 9);  // red in the standard sixteen
  b4.SetPalette({clBlack, clBlue});
  EXPECT_EQ(b4.Palette().size(), 16u);
  EXPECT_EQ(b4.Palette()[1], clBlue);

  // Converting true colour to 8 bits takes the nearest colours of the standard palette.
  TBitmap t = Filled(2, 2, RGB(255, 0, 0));
  t.SetPixelFormat(pf8bit);
  EXPECT_EQ(t.PixelFormat(), pf8bit);
  EXPECT_EQ(t.PixelColor(1, 1), clRed);
  t.SetPixelFormat(pf32bit);
  EXPECT_EQ(t.PixelColor(1, 1), clRed);

  // Other formats have no palette.
  EXPECT_TRUE(t.Palette().empty());
  t.SetPalette({clRed});
  EXPECT_TRUE(t.Palette().empty());
}

TEST_F(BitmapTest, MonochromeBitsAndMasks) {
  TBitmap m(10, 1, pf1bit);
  EXPECT_TRUE(m.Monochrome());
  EXPECT_EQ(m.Palette(), (std::vector<TColor>{clBlack, clWhite}));
  m.Canvas().Brush().SetColor(clBlack);
  m.Canvas().FillRect(Rect(0, 0, 10, 1));
  m.Canvas().SetPixel(0, 0, clWhite);
  m.Canvas().SetPixel(9, 0, clWhite);
  EXPECT_EQ(m.ScanLine(0)[0], 0x80);  // leftmost pixel in the high bit
  EXPECT_EQ(m.ScanLine(0)[1] & 0xC0, 0x40);

  TBitmap picture = Filled(3, 2, clRed);
  picture.Canvas().SetPixel(1, 0, clBlue);
  const auto mask = picture.CreateMask(clRed);
  EXPECT_EQ(picture.PixelFormat(), pf32bit);
  EXPECT_EQ(mask->PixelFormat(), pf1bit);
  EXPECT_EQ(mask->PixelColor(0, 0), clWhite);
  EXPECT_EQ(mask->PixelColor(1, 0), clBlack);
  picture.SetMonochrome(true);
  EXPECT_TRUE(picture.Monochrome());
}

TEST_F(BitmapTest, TransparentColourDefaultsToTheBottomLeftPixel) {
  TBitmap b = Filled(3, 3, clLime);
  b.Canvas().SetPixel(0, 2, clFuchsia);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  b.SetTransparentColor(clLime);
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  EXPECT_EQ(b.TransparentColor(), clLime);
  b.SetTransparentColor(clDefault);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  EXPECT_EQ(TBitmap().TransparentColor(), clNone);
}

TEST_F(BitmapTest, DrawLeavesTheTransparentColourOut) {
  TBitmap target = Filled(10, 10, kMarker);
  TBitmap sprite = Filled(3, 3, clLime);
  sprite.Canvas().SetPixel(1, 1, clRed);
  target.Canvas().Draw(2, 2, sprite);
  EXPECT_EQ(target.PixelColor(2, 2), clLime);

  target = Filled(10, 10, kMarker);
  sprite.SetTransparent(true);  // bottom-left pixel: lime
  target.Canvas().Draw(2, 2, sprite);
  EXPECT_EQ(target.PixelColor(2, 2), kMarker);
  EXPECT_EQ(target.PixelColor(3, 3), clRed);
  EXPECT_EQ(target.PixelColor(4, 4), kMarker);

  // Stretched twice as large: each source pixel covers two by two.
  target = Filled(10, 10, kMarker);
  target.Canvas().StretchDraw(Rect(0, 0, 6, 6), sprite);
  EXPECT_EQ(target.PixelColor(2, 2), clRed);
  EXPECT_EQ(target.PixelColor(3, 3), clRed);
  EXPECT_EQ(target.PixelColor(1, 1), kMarker);
  EXPECT_EQ(target.PixelColor(4, 4), kMarker);
}

TEST_F(BitmapTest, CopyRectMirrorsAndCombines) {
  TBitmap source = Filled(4, 1, clBlack);
  source.Canvas().SetPixel(0, 0, clRed);
  source.Canvas().SetPixel(3, 0, clBlue);
  TBitmap target = Filled(8, 2, kMarker);
  target.Canvas().CopyRect(Rect(0, 0, 4, 1), source.Canvas(), Rect(0, 0, 4, 1));
  EXPECT_EQ(target.PixelColor(0, 0), clRed);
  EXPECT_EQ(target.PixelColor(3, 0), clBlue);
  EXPECT_EQ(target.PixelColor(4, 0), kMarker);
  // A negative width mirrors.
  target.Canvas().CopyRect(Rect(8, 1, 4, 2), source.Canvas(), Rect(0, 0, 4, 1));
  EXPECT_EQ(target.PixelColor(4, 1), clBlue);
  EXPECT_EQ(target.PixelColor(7, 1), clRed);
  // Copying within one canvas, as tiling does.
  target.Canvas().CopyRect(Rect(4, 0, 8, 1), target.Canvas(), Rect(0, 0, 4, 1));
  EXPECT_EQ(target.PixelColor(4, 0), clRed);
  EXPECT_EQ(target.PixelColor(7, 0), clBlue);
  // AND with the target.
  TBitmap white = Filled(2, 1, RGB(0xF0, 0x0F, 0xFF));
  target.Canvas().SetCopyMode(cmSrcAnd);
  target.Canvas().CopyRect(Rect(0, 1, 2, 2), white.Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(target.PixelColor(0, 1), RGB(0x01 & 0xF0, 0x02 & 0x0F, 0x03 & 0xFF));
  target.Canvas().SetCopyMode(cmBlackness);
  target.Canvas().CopyRect(Rect(0, 0, 1, 1), white.Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(target.PixelColor(0, 0), clBlack);
}

TEST_F(BitmapTest, BrushCopyShowsTheBrushWhereTheColourWas) {
  TBitmap picture = Filled(3, 1, clLime);
  picture.Canvas().SetPixel(1, 0, clRed);
  TBitmap target = Filled(6, 2, kMarker);
  target.Canvas().Brush().SetColor(clYellow);
  target.Canvas().BrushCopy(Rect(0, 0, 3, 1), picture, Rect(0, 0, 3, 1), clLime);
  EXPECT_EQ(target.PixelColor(0, 0), clYellow);
  EXPECT_EQ(target.PixelColor(1, 0), clRed);
  target.Canvas().Brush().SetStyle(bsClear);
  target.Canvas().BrushCopy(Rect(0, 1, 3, 2), picture, Rect(0, 0, 3, 1), clLime);
  EXPECT_EQ(target.PixelColor(0, 1), kMarker);
  EXPECT_EQ(target.PixelColor(1, 1), clRed);
  target.Canvas().BrushCopy(Rect(3, 1, 6, 2), picture, Rect(0, 0, 3, 1), clNone);
  EXPECT_EQ(target.PixelColor(3, 1), clLime);
}

TEST_F(BitmapTest, BmpStreamsRoundTripEveryDepth) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    TBitmap b(7, 3, format);
    b.Canvas().SetPixel(0, 0, clBlack);
    b.Canvas().SetPixel(6, 2, clBlack);
    if (format != pf1bit) {
      b.Canvas().SetPixel(3, 1, clRed);
      b.Canvas().SetPixel(1, 2, clBlue);
    }
    TMemoryStream stream;
    b.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap read;
    read.LoadFromStream(stream);
    EXPECT_EQ(read.PixelFormat(), format);
    EXPECT_EQ(stream.Position(), stream.Size());
    ASSERT_EQ(read.Width(), 7);
    ASSERT_EQ(read.Height(), 3);
    EXPECT_EQ(read.Palette(), b.Palette());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x)
        EXPECT_EQ(read.PixelColor(x, y), b.PixelColor(x, y)) << format << ":" << x << "," << y;
  }
}

TEST_F(BitmapTest, BmpReaderTakes16BitPixelsAsFiveFiveFiveOrByTheirMasks) {
  // Hand-made 2 x 1 16-bit files: plain (5-5-5) and with 5-6-5 bit fields after the header.
  TBitmap plain;
  TMemoryStream plainFile(BmpFile(2, 1, 16, 0, "", Le16(0x7C00) + Le16(0x001F)));
  plain.LoadFromStream(plainFile);
  EXPECT_EQ(plain.PixelFormat(), pf15bit);
  EXPECT_EQ(plain.PixelColor(0, 0), clRed);
  EXPECT_EQ(plain.PixelColor(1, 0), clBlue);
  TBitmap masked;
  TMemoryStream maskedFile(BmpFile(2, 1, 16, 3, Le32(0xF800) + Le32(0x07E0) + Le32(0x001F),
                                   Le16(0x07E0) + Le16(0xF800)));
  masked.LoadFromStream(maskedFile);
  EXPECT_EQ(masked.PixelFormat(), pf16bit);
  EXPECT_EQ(masked.PixelColor(0, 0), clLime);
  EXPECT_EQ(masked.PixelColor(1, 0), clRed);
}

TEST_F(BitmapTest, BmpReaderTakesTopDownRowsAndRejectsBadData) {
  // A hand-made 2 x 2 top-down 24-bit file: red, green / blue, white.
  const unsigned char rows[] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
  const std::string file =
      BmpFile(2, -2, 24, 0, "", std::string(reinterpret_cast<const char*>(rows), sizeof rows));
  TBitmap b;
  TMemoryStream good(file);
  b.LoadFromStream(good);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(1, 0), clLime);
  EXPECT_EQ(b.PixelColor(0, 1), clBlue);
  EXPECT_EQ(b.PixelColor(1, 1), clWhite);

  auto loadFails = [&](const std::string& bytes) {
    TBitmap keep = Filled(1, 1, clRed);
    TMemoryStream s(bytes);
    try {
      keep.LoadFromStream(s);
    } catch (const EInvalidGraphic&) {
      return keep.Width() == 1 && keep.PixelColor(0, 0) == clRed;
    } catch (const EReadError&) {
      return keep.Width() == 1 && keep.PixelColor(0, 0) == clRed;
    }
    return false;
  };
  EXPECT_TRUE(loadFails(""));
  EXPECT_TRUE(loadFails("GIF89a" + std::string(60, '\0')));
  EXPECT_TRUE(loadFails(file.substr(0, file.size() - 1)));  // pixels cut short
  std::string huge = file;
  huge[18] = '\xFF', huge[19] = '\xFF', huge[20] = '\xFF', huge[21] = '\x7F';  // width 2^31-1
  EXPECT_TRUE(loadFails(huge));
  std::string rle = file;
  rle[30] = 1;  // run-length coded
  EXPECT_TRUE(loadFails(rle));
  std::string depth = file;
  depth[28] = 7;
  EXPECT_TRUE(loadFails(depth));
}

// Records the largest read asked of it: a reader that trusts a declared size asks for it all.
class WatchedStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t Read(void* buffer, int64_t count) override {
    largest = std::max(largest, count);
    return TMemoryStream::Read(buffer, count);
  }
  int64_t largest = 0;
};

TEST_F(BitmapTest, BmpReaderChecksDeclaredSizesAgainstTheStreamFirst) {
  // 54 bytes declaring 8192 x 8192 at 32 bits: 256 MiB of pixels that are not there.
  const std::string header = BmpFile(8192, 8192, 32, 0, "", "");
  ASSERT_EQ(header.size(), 54u);
  // A palette and a gap before the pixels that the file does not hold either.
  std::string palette = BmpFile(4, 4, 8, 0, "", "");
  palette[46] = 0, palette[47] = 1;  // 256 colours used
  std::string gap = BmpFile(4, 4, 24, 0, "", std::string(48, '\0'));
  gap[10] = '\xF0', gap[11] = '\xFF', gap[12] = '\x0F';  // pixels at 1 MiB - 16
  for (const std::string& file : {header, palette, gap}) {
    TBitmap b = Filled(1, 1, clRed);
    WatchedStream stream(file);
    EXPECT_THROW(b.LoadFromStream(stream), EReadError);
    EXPECT_LE(stream.largest, static_cast<int64_t>(file.size()));
    EXPECT_EQ(b.PixelColor(0, 0), clRed);
  }
}

TEST_F(BitmapTest, BitmapsAreBoundedByAreaNotBySide) {
  TBitmap strip(65535, 1, pf8bit);
  EXPECT_EQ(strip.Width(), 65535);
  strip.Canvas().SetPixel(65534, 0, clBlack);
  EXPECT_EQ(strip.PixelColor(65534, 0), clBlack);
  TBitmap column;
  column.SetSize(1, 65535);
  EXPECT_EQ(column.Height(), 65535);
  try {
    column.SetSize(65535, 65535);
    ADD_FAILURE() << "made a 4 Gpixel bitmap";
  } catch (const EOutOfResources& e) {
    EXPECT_EQ(GbkToUtf8(e.Message()), GbkToUtf8("图片太大（65535 x 65535），系统资源不足"));
  }
  EXPECT_EQ(column.Height(), 65535);

  TMemoryStream saved;
  strip.SaveToStream(saved);
  saved.SetPosition(0);
  TBitmap read;
  read.LoadFromStream(saved);
  EXPECT_EQ(read.Width(), 65535);
  EXPECT_EQ(read.PixelColor(65534, 0), clBlack);
  EXPECT_EQ(read.PixelColor(0, 0), clWhite);
  // Past the area bound a file is refused before its pixels are read.
  TBitmap keep = Filled(1, 1, clRed);
  TMemoryStream tooLarge(BmpFile(65535, 65535, 1, 0, "", ""));
  EXPECT_THROW(keep.LoadFromStream(tooLarge), EInvalidGraphic);
}

TEST_F(BitmapTest, AssignCopiesPixelsAndSettings) {
  TBitmap a = Filled(2, 2, clRed, pf8bit);
  a.SetTransparent(true);
  a.SetTransparentColor(clBlue);
  TBitmap b;
  int changes = 0;
  b.OnChange = [&] { ++changes; };
  b.Assign(a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.PixelFormat(), pf8bit);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), clBlue);
  EXPECT_EQ(b.PixelColor(1, 1), clRed);
  b.Canvas().SetPixel(1, 1, clBlack);
  EXPECT_EQ(a.PixelColor(1, 1), clRed);  // independent copies
}

TEST_F(BitmapTest, ImageListDrawsNormallyAndGreyed) {
  TImageList list(4, 4);
  TBitmap strip = Filled(8, 4, clFuchsia);
  strip.Canvas().Brush().SetColor(clRed);
  strip.Canvas().FillRect(Rect(1, 1, 3, 3));
  strip.Canvas().Brush().SetColor(clBlue);
  strip.Canvas().FillRect(Rect(5, 1, 7, 3));
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 0);  // two images from one strip
  EXPECT_EQ(list.Count(), 2);

  TBitmap target = Filled(12, 6, kMarker);
  list.Draw(target.Canvas(), 0, 0, 0);
  list.Draw(target.Canvas(), 4, 0, 1);
  list.Draw(target.Canvas(), 8, 0, 0, false);
  list.Draw(target.Canvas(), 0, 0, 7);  // out of range: nothing
  list.Draw(target.Canvas(), 0, 0, -1);
  EXPECT_EQ(target.PixelColor(0, 0), kMarker);  // transparent
  EXPECT_EQ(target.PixelColor(1, 1), clRed);
  EXPECT_EQ(target.PixelColor(5, 1), clBlue);
  EXPECT_EQ(target.PixelColor(8, 0), kMarker);
  const TColor grey = target.PixelColor(9, 1);
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
  EXPECT_NE(grey, kMarker);

  // A mask bitmap: white marks transparent pixels.
  TBitmap mask = Filled(4, 4, clBlack, pf1bit);
  mask.Canvas().SetPixel(0, 0, clWhite);
  TBitmap solid = Filled(4, 4, clGreen);
  EXPECT_EQ(list.Add(solid, &mask), 2);
  target = Filled(12, 6, kMarker);
  list.Draw(target.Canvas(), 0, 0, 2);
  EXPECT_EQ(target.PixelColor(0, 0), kMarker);
  EXPECT_EQ(target.PixelColor(1, 0), clGreen);

  TBitmap copy;
  EXPECT_TRUE(list.GetBitmap(2, copy));
  EXPECT_EQ(copy.PixelColor(0, 0), ColorToRGB(clBtnFace));
  EXPECT_FALSE(list.GetBitmap(3, copy));
  EXPECT_EQ(list.Add(TBitmap()), -1);
  list.SetSize(8, 8);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
