// The GIF picture on bitmaps: decoding into the layer's bitmaps, frames made from bitmaps,
// assignment, drawing, window-description data and the "GIF Image" clipboard format.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "GifTestSupport.h"
#include "gifkit/AnimatedCursor.h"
#include "gifkit/GkDrawing.h"
#include "gifkit/GkGIF.h"
#include "platform/Exceptions.h"
#include "platform/GbkText.h"
#include "platform/gui/Clipbrd.h"
#include "tests/support/GuiTest.h"

namespace {

class GkGIFTest : public GuiTest {};

const char* kIcon = "/usr/share/apache2/icons/burst.gif";  // 89a, 4-bit table, transparent

TGifColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// A 24-bit bitmap with one colour per column band.
TBitmap Bands(int w, int h, const std::vector<TColor>& colours) {
  TBitmap bitmap(w, h, pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bitmap.Canvas().SetPixel(x, y, colours[x * colours.size() / w]);
  return bitmap;
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      ASSERT_EQ(a.PixelColor(x, y), b.PixelColor(x, y)) << x << "," << y;
}

// Two 2 x 1 frames over a 1-bit grey table: white-black, then black-white.
std::string TwoFrames() {
  return GifHeader("89a", 2, 1, 1) +
         FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 1, 0, 5}))) +
         FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 0, 1, 5}))) + ";";
}

std::string Sized(const std::string& stream, std::uint32_t size) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(size >> (8 * i));
  return out + stream;
}

}  // namespace

TEST_F(GkGIFTest, FramesDecodeIntoPaletteBitmapsWithGiflibsColours) {
  const std::string bytes = ReadFileBytes(kIcon);
  const ReferenceGif ref = DecodeWithGiflib(bytes);
  ASSERT_TRUE(ref.Ok);
  TGIFImage image;
  TMemoryStream stream(bytes);
  std::vector<TGifProgressStage> stages;
  image.OnProgress = [&](TGifProgressStage s, int, const std::string&) { stages.push_back(s); };
  int changes = 0;
  image.OnChange = [&] { ++changes; };
  image.LoadFromStream(stream);
  EXPECT_EQ(changes, 1);
  ASSERT_GE(stages.size(), 2u);  // the first frame was decoded while loading
  EXPECT_EQ(stages.front(), TGifProgressStage::psStarting);
  EXPECT_EQ(stages.back(), TGifProgressStage::psEnding);

  TBitmap* bitmap = image.Bitmap();
  ASSERT_NE(bitmap, nullptr);
  const ReferenceFrame& frame = ref.Frames[0];
  EXPECT_EQ(bitmap->Width(), frame.Width);
  EXPECT_EQ(bitmap->Height(), frame.Height);
  EXPECT_EQ(bitmap->PixelFormat(), frame.Colors.size() <= 2    ? pf1bit
                                   : frame.Colors.size() <= 16 ? pf4bit
                                                               : pf8bit);
  for (int y = 0; y < frame.Height; ++y)
    for (int x = 0; x < frame.Width; ++x) {
      ASSERT_EQ(bitmap->PixelColor(x, y), frame.Colors[frame.Pixels[y * frame.Width + x]])
          << x << "," << y;
    }
  EXPECT_EQ(image.Width(), frame.Width);
  EXPECT_FALSE(image.Empty());
  EXPECT_TRUE(image.Transparent());
  image.SetTransparent(false);
  EXPECT_FALSE(image.Transparent());
  EXPECT_EQ(image.Palette().size(), bitmap->Palette().size());
}

TEST_F(GkGIFTest, OneBitFramesBecomeMonochromeBitmaps) {
  const std::string data = PackCodes(2, WithWidths(2, {4, 1, 0, 0, 1, 5}));
  const std::string file = GifHeader("87a", 2, 2, 1) + FrameBlock(0, 0, 2, 2, data) + ";";
  TGIFImage image;
  TMemoryStream stream(file);
  image.LoadFromStream(stream);
  TBitmap* bitmap = image.Bitmap();
  EXPECT_EQ(bitmap->PixelFormat(), pf1bit);
  EXPECT_EQ(bitmap->PixelColor(0, 0), clWhite);
  EXPECT_EQ(bitmap->PixelColor(1, 0), clBlack);
  EXPECT_EQ(bitmap->PixelColor(1, 1), clWhite);
}

// A picture is bounded by its area, not its sides: strips 65535 pixels long load.
TEST_F(GkGIFTest, LongStripsLoadIntoBitmaps) {
  for (const auto& [w, h] : {std::pair{65535, 1}, std::pair{1, 65535}}) {
    TGIFImageCore core;
    core.ScreenWidth = static_cast<std::uint16_t>(w);
    core.ScreenHeight = static_cast<std::uint16_t>(h);
    TGIFIndexImage indices;
    indices.Width = static_cast<std::uint32_t>(w);
    indices.Height = static_cast<std::uint32_t>(h);
    indices.Depth = 1;
    indices.Palette = {0x000000, 0xFFFFFF};
    indices.Pixels.assign(static_cast<size_t>(w) * h, 1);
    indices.Pixels.back() = 0;
    core.AppendFrame().EncodeIndices(indices);
    TMemoryStream stream(core.WriteGifBytes());
    TGIFImage image;
    image.LoadFromStream(stream);
    TBitmap* bitmap = image.Bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), w);
    EXPECT_EQ(bitmap->Height(), h);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clWhite);
    EXPECT_EQ(bitmap->PixelColor(w - 1, h - 1), clBlack);
  }
}

// Frames of 4 and 8 bits decode straight into the bitmap's rows, which are padded to 32 bits:
// an odd width, interlaced or not, still lands every pixel where giflib puts it.
TEST_F(GkGIFTest, PaddedAndInterlacedRowsDecodeIntoTheBitmapAsGiflibReadsThem) {
  for (int bits : {4, 8}) {
    for (bool interlaced : {false, true}) {
      const int w = 5, h = 7;
      std::vector<int> codes{1 << bits};
      for (int i = 0; i < w * h; ++i) codes.push_back((i * 7 + 3) % (1 << bits));
      codes.push_back((1 << bits) + 1);
      const std::string file =
          GifHeader("87a", w, h, bits) +
          FrameBlock(0, 0, w, h, PackCodes(bits, WithWidths(bits, codes)), interlaced ? 0x40 : 0) +
          ";";
      const ReferenceGif ref = DecodeWithGiflib(file);
      ASSERT_TRUE(ref.Ok) << ref.Error;
      TGIFImage image;
      TMemoryStream stream(file);
      image.LoadFromStream(stream);
      TBitmap* bitmap = image.Bitmap();
      ASSERT_NE(bitmap, nullptr);
      EXPECT_EQ(bitmap->PixelFormat(), bits == 4 ? pf4bit : pf8bit);
      const ReferenceFrame& frame = ref.Frames[0];
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          ASSERT_EQ(bitmap->PixelColor(x, y), frame.Colors[frame.Pixels[y * w + x]])
              << bits << " bits, interlaced " << interlaced << ", " << x << "," << y;
        }
    }
  }
}

TEST_F(GkGIFTest, FramesFromBitmapsAreEncodedWhenWritten) {
  const std::vector<TColor> colours{clRed, clLime, clBlue, RGB(10, 20, 30), clWhite};
  TGIFImage image;
  EXPECT_EQ(image.AddFrame(Bands(50, 20, colours)), 0);
  EXPECT_EQ(image.Version, TGIFVersion::gv87a);
  TBitmap transparent = Bands(50, 20, {clYellow, clBlack});
  transparent.SetTransparent(true);
  transparent.SetTransparentColor(clYellow);
  EXPECT_EQ(image.AddFrame(transparent), 1);
  EXPECT_EQ(image.Version, TGIFVersion::gv89a);
  EXPECT_EQ(image.FrameIndex, 1);
  EXPECT_EQ(image.Frames(1).TransparentColor(), clYellow);
  image.Frames(1).SetDelay(250);

  // Copying to the clipboard encodes nothing, so an image never written places no GIF data.
  TClipboard& clipboard = *Clipboard();
  clipboard.Clear();
  image.SaveToClipboardFormat(clipboard);
  EXPECT_FALSE(clipboard.HasFormat(CF_GIF()));

  TMemoryStream out;
  image.SaveToStream(out);
  const ReferenceGif ref = DecodeWithGiflib(out.Bytes());
  ASSERT_TRUE(ref.Ok) << ref.Error;
  ASSERT_EQ(ref.Frames.size(), 2u);
  EXPECT_EQ(ref.ScreenWidth, 50);
  for (int x = 0; x < 50; ++x) {
    EXPECT_EQ(ref.Frames[0].Colors[ref.Frames[0].Pixels[x]], ColorToRGB(colours[x * 5 / 50])) << x;
  }
  EXPECT_EQ(ref.Frames[1].DelayHundredths, 25);
  ASSERT_GE(ref.Frames[1].TransparentIndex, 0);
  EXPECT_EQ(ref.Frames[1].Colors[ref.Frames[1].TransparentIndex], ColorToRGB(clYellow));

  // Written once, the frames have data: the clipboard gets the stream with its size, and
  // reading it back gives the same frames.
  image.SaveToClipboardFormat(clipboard);
  ASSERT_TRUE(clipboard.HasFormat(CF_GIF()));
  const std::string clip = clipboard.GetData(CF_GIF());
  ASSERT_GE(clip.size(), 4u);
  EXPECT_EQ(clip.substr(4), out.Bytes());
  TGIFImage pasted;
  pasted.LoadFromClipboardFormat(clipboard);
  EXPECT_EQ(pasted.Count(), 2);
  EXPECT_EQ(pasted.FrameIndex, 0);
  TMemoryStream again;
  pasted.SaveToStream(again);
  EXPECT_EQ(again.Bytes(), out.Bytes());
}

TEST_F(GkGIFTest, GrayscaleFramesAreReducedToGreyLevels) {
  TGIFImage image;
  image.AddFrame(Bands(30, 4, {RGB(200, 100, 50), RGB(0, 0, 255)}));
  image.Frames(0).Grayscale = true;
  TMemoryStream out;
  image.SaveToStream(out);
  const ReferenceGif ref = DecodeWithGiflib(out.Bytes());
  ASSERT_TRUE(ref.Ok);
  const int grey = (77 * 200 + 150 * 100 + 29 * 50) >> 8;
  EXPECT_EQ(ref.Frames[0].Colors[ref.Frames[0].Pixels[0]], Rgb(grey, grey, grey));
  EXPECT_EQ(ref.Frames[0].Colors[ref.Frames[0].Pixels[29]], Rgb(28, 28, 28));
  EXPECT_TRUE(image.Frames(0).Grayscale);
}

TEST_F(GkGIFTest, AssignmentSharesEncodedData) {
  TGIFImage source;
  source.LoadFromFile(kIcon);
  TGIFImage copy;
  copy.Assign(&source);
  EXPECT_TRUE(copy.Equals(source));
  EXPECT_EQ(copy.Count(), source.Count());
  TMemoryStream a, b;
  source.SaveToStream(a);
  copy.SaveToStream(b);
  EXPECT_EQ(a.Bytes(), b.Bytes());

  TGIFImage other;
  other.LoadFromFile(kIcon);
  EXPECT_FALSE(other.Equals(source));  // same bytes, separate data

  // From a frame: one frame, the owner's global table.
  TGIFImage single;
  single.Assign(source.Frames(0));
  EXPECT_EQ(single.Count(), 1);
  EXPECT_EQ(single.Version, TGIFVersion::gv87a);
  EXPECT_EQ(single.Data->ColorTable.Count(), source.Data->ColorTable.Count());
  single.Assign(static_cast<const TGIFImage*>(nullptr));
  EXPECT_EQ(single.Count(), 0);
  EXPECT_TRUE(single.Empty());
}

TEST_F(GkGIFTest, AssignToBitmapKeepsTheTransparentColour) {
  TGIFImage image;
  image.LoadFromFile(kIcon);
  const TColor transparent = image.Frames(0).TransparentColor();
  ASSERT_NE(transparent, clNone);
  TBitmap bitmap;
  image.AssignTo(bitmap);
  EXPECT_EQ(bitmap.Width(), image.Width());
  EXPECT_TRUE(bitmap.Transparent());
  EXPECT_EQ(bitmap.TransparentColor(), transparent);
  EXPECT_EQ(bitmap.PixelColor(3, 3), image.Bitmap()->PixelColor(3, 3));
}

TEST_F(GkGIFTest, EmptyImagesAndSizes) {
  TGIFImage image;
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(image.Width(), 0);
  EXPECT_TRUE(image.Palette().empty());
  // Bitmap of an image without frames makes one empty frame.
  TBitmap* bitmap = image.Bitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(image.Count(), 1);
  EXPECT_EQ(image.FrameIndex, 0);
  TMemoryStream out;
  try {
    image.SaveToStream(out);
    ADD_FAILURE();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "No GIF Data to write");
  }
  for (auto set : {&TGIFImage::SetWidth, &TGIFImage::SetHeight}) {
    try {
      (image.*set)(10);
      ADD_FAILURE();
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_EQ(e.Message(), "Cannot change the Size of a GIF image");
    }
  }
}

TEST_F(GkGIFTest, WindowDescriptionDataCarryTheirCount) {
  TGIFImage image;
  image.LoadFromFile(kIcon);
  TMemoryStream data;
  image.WriteData(data);
  TMemoryStream plain;
  image.SaveToStream(plain);
  const std::string file = plain.Bytes();
  ASSERT_EQ(data.Size(), static_cast<std::int64_t>(file.size() + 4));
  EXPECT_EQ(data.Bytes().substr(4), file);
  data.WriteBuffer("trailing", 8);  // what follows the value is not read
  data.SetPosition(0);
  TGIFImage back;
  back.ReadData(data);
  EXPECT_EQ(back.Count(), 1);
  EXPECT_EQ(data.Position(), static_cast<std::int64_t>(file.size() + 4));
  // A count beyond the stream fails as a stream read error, before anything is allocated.
  TMemoryStream bad(std::string("\xFF\xFF\xFF\x7F", 4) + "GIF89a");
  EXPECT_THROW(back.ReadData(bad), EReadError);
}

TEST_F(GkGIFTest, DrawingLeavesTransparentPixelsOut) {
  // 2 x 1 frame: pixel 0 is transparent (index 0), pixel 1 is white.
  const std::string data = PackCodes(2, WithWidths(2, {4, 0, 3, 5}));
  const std::string file =
      GifHeader("89a", 2, 1, 2) + GraphicControl(1, 0, 0) + FrameBlock(0, 0, 2, 1, data) + ";";
  TGIFImage image;
  TMemoryStream stream(file);
  image.LoadFromStream(stream);
  TBitmap target(4, 2, pf24bit);
  target.Canvas().Brush().SetColor(clRed);
  target.Canvas().FillRect(Rect(0, 0, 4, 2));
  image.Draw(target.Canvas(), Rect(0, 0, 4, 2));  // stretched twice
  EXPECT_EQ(target.PixelColor(0, 0), clRed);
  EXPECT_EQ(target.PixelColor(1, 1), clRed);
  EXPECT_EQ(target.PixelColor(2, 0), clWhite);
  EXPECT_EQ(target.PixelColor(3, 1), clWhite);
  image.SetTransparent(false);
  image.Draw(target.Canvas(), Rect(0, 0, 4, 2));
  EXPECT_EQ(target.PixelColor(0, 0), clBlack);
}

TEST_F(GkGIFTest, ConvertBitmapPixelFormat) {
  TBitmap palette(5, 3, pf8bit);
  palette.SetPalette({clRed, clLime, clBlue});
  for (int y = 0; y < 3; ++y) std::memset(palette.ScanLine(y), 0, 5);
  palette.ScanLine(1)[2] = 2;
  TMemoryStream plain;
  palette.SaveToStream(plain);
  // The same format with the histogram method: the bitmap as it is.
  auto same = ConvertBitmapPixelFormat(palette, pf8bit, mmHistogram);
  EXPECT_EQ(same->Bytes(), plain.Bytes());
  EXPECT_EQ(same->Position(), 0);
  // Grey levels convert even at the same depth.
  auto grey = ConvertBitmapPixelFormat(palette, pf8bit, mmGrayscale);
  TBitmap back;
  back.LoadFromStream(*grey);
  EXPECT_EQ(back.PixelFormat(), pf8bit);
  EXPECT_EQ(back.PixelColor(2, 1), RGB(28, 28, 28));
  EXPECT_EQ(back.PixelColor(0, 0), RGB(76, 76, 76));
  // Fixed palette: white is entry 223.
  TBitmap white = Bands(3, 2, {clWhite});
  auto fixed = ConvertBitmapPixelFormat(white, pf8bit, mmQuantize224);
  back.LoadFromStream(*fixed);
  EXPECT_EQ(back.ScanLine(0)[0], 223);
  EXPECT_EQ(back.PixelColor(0, 0), clWhite);
  // An empty bitmap is not valid; 16 bits are not implemented.
  TBitmap empty;
  EXPECT_THROW(ConvertBitmapPixelFormat(empty, pf8bit, mmHistogram), EInvalidGraphic);
  dialogs().AnswerMessage(IDOK);
  EXPECT_THROW(ConvertBitmapPixelFormat(white, pf16bit, mmHistogram), EAbort);
  EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"Function not yet implemented"}));
}

TEST_F(GkGIFTest, CopyingPlacesTheStreamOnlyWhenEveryFrameHasEncodedData) {
  TClipboard& clipboard = *Clipboard();
  // Frames all read from a file: frame 0's bitmap and the stream with its size, in one entry.
  TGIFImage image;
  image.LoadFromFile(kIcon);
  clipboard.SetAsText("before");
  image.SaveToClipboardFormat(clipboard);
  EXPECT_FALSE(clipboard.HasFormat(CF_TEXT));
  ASSERT_TRUE(clipboard.HasFormat(CF_BITMAP));
  ASSERT_TRUE(clipboard.HasFormat(CF_GIF()));
  TBitmap copied;
  ASSERT_TRUE(clipboard.AssignTo(copied));
  ExpectSamePixels(copied, *image.Frames(0).Bitmap());
  TMemoryStream data;
  image.WriteData(data);
  EXPECT_EQ(clipboard.GetData(CF_GIF()), data.Bytes());

  // Built from a bitmap and never written: only the bitmap, and still nothing encoded.
  TGIFImage built;
  built.Assign(Bands(6, 3, {clRed, clBlue}));
  built.SaveToClipboardFormat(clipboard);
  EXPECT_FALSE(clipboard.HasFormat(CF_GIF()));
  ASSERT_TRUE(clipboard.AssignTo(copied));
  EXPECT_EQ(copied.PixelColor(0, 0), clRed);
  EXPECT_EQ(copied.PixelColor(5, 2), clBlue);
  EXPECT_FALSE(built.Frames(0).HasEncodedData());

  // One frame without data is enough to keep the stream off the clipboard.
  image.AddFrame(Bands(4, 4, {clLime}));
  image.SaveToClipboardFormat(clipboard);
  EXPECT_TRUE(clipboard.HasFormat(CF_BITMAP));
  EXPECT_FALSE(clipboard.HasFormat(CF_GIF()));

  // Without frames nothing is placed.
  clipboard.SetAsText("kept");
  TGIFImage empty;
  empty.SaveToClipboardFormat(clipboard);
  EXPECT_EQ(clipboard.AsText(), "kept");
  EXPECT_FALSE(clipboard.HasFormat(CF_BITMAP));
}

TEST_F(GkGIFTest, PastingReadsTheStreamWithoutDecodingAndTakesTheClipboardBitmap) {
  TClipboard& clipboard = *Clipboard();
  TGIFImage image;
  std::vector<TGifProgressStage> stages;
  image.OnProgress = [&](TGifProgressStage s, int, const std::string&) { stages.push_back(s); };
  int changes = 0;
  image.OnChange = [&] { ++changes; };

  // The stream alone: frames read, none decoded until asked.
  clipboard.SetData(CF_GIF(), Sized(TwoFrames(), static_cast<std::uint32_t>(TwoFrames().size())));
  image.LoadFromClipboardFormat(clipboard);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(image.Count(), 2);
  EXPECT_EQ(image.FrameIndex, 0);
  EXPECT_TRUE(stages.empty());
  EXPECT_EQ(image.Bitmap()->PixelColor(0, 0), clWhite);
  EXPECT_FALSE(stages.empty());

  // With a bitmap in the same entry, frame 0 shows that bitmap; the others keep their data.
  const TBitmap shown = Bands(2, 1, {clRed, clBlue});
  clipboard.Open();
  clipboard.SetData(CF_GIF(), Sized(TwoFrames(), static_cast<std::uint32_t>(TwoFrames().size())));
  clipboard.Assign(shown);
  clipboard.Close();
  stages.clear();
  image.LoadFromClipboardFormat(clipboard);
  ExpectSamePixels(*image.Frames(0).Bitmap(), shown);
  EXPECT_TRUE(stages.empty());
  EXPECT_EQ(image.Frames(1).Bitmap()->PixelColor(0, 0), clBlack);
  TMemoryStream written;
  image.SaveToStream(written);  // frame 0 is written from its data, not re-encoded
  EXPECT_EQ(written.Bytes(), TwoFrames());

  // A bitmap alone becomes a one-frame image.
  clipboard.Assign(shown);
  image.LoadFromClipboardFormat(clipboard);
  ASSERT_EQ(image.Count(), 1);
  ExpectSamePixels(*image.Bitmap(), shown);
  EXPECT_FALSE(image.Frames(0).HasEncodedData());
}

TEST_F(GkGIFTest, BadClipboardDataFailAndLeaveTheImageAsItWas) {
  TClipboard& clipboard = *Clipboard();
  TGIFImage image;
  image.LoadFromFile(kIcon);
  TGIFImage before;
  before.Assign(&image);
  int changes = 0;
  image.OnChange = [&] { ++changes; };
  const std::string file = TwoFrames();
  const auto expectUnchanged = [&] {
    EXPECT_TRUE(image.Equals(before));
    EXPECT_EQ(image.Count(), 1);
    EXPECT_EQ(changes, 0);
  };

  const TBitmap shown = Bands(2, 1, {clRed});
  clipboard.Open();
  clipboard.SetData(CF_GIF(), Sized(file, static_cast<std::uint32_t>(file.size() + 1)));
  clipboard.Assign(shown);  // a usable bitmap does not stand in for bad stream data
  clipboard.Close();
  EXPECT_THROW(image.LoadFromClipboardFormat(clipboard), EReadError);
  expectUnchanged();

  clipboard.SetData(CF_GIF(), std::string("\x05\x00", 2));
  EXPECT_THROW(image.LoadFromClipboardFormat(clipboard), EReadError);
  expectUnchanged();

  std::string wrongVersion = file;
  wrongVersion[4] = '8';  // "GIF88a"
  clipboard.SetData(CF_GIF(), Sized(wrongVersion, static_cast<std::uint32_t>(file.size())));
  try {
    image.LoadFromClipboardFormat(clipboard);
    ADD_FAILURE();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "Unknown GIF version");
  }
  expectUnchanged();

  clipboard.SetAsText("no picture");
  EXPECT_THROW(image.LoadFromClipboardFormat(clipboard), EInvalidGraphic);
  expectUnchanged();
}

TEST_F(GkGIFTest, AnimatedCursorIconsBecomeFramesShownForTheirRates) {
  TAnimatedCursor cursor;
  TBitmap masked = Bands(4, 4, {clYellow, clNavy});
  masked.SetTransparent(true);
  masked.SetTransparentColor(clYellow);
  cursor.Icons.push_back({Bands(4, 4, {clRed}), 6});  // a tenth of a second
  cursor.Icons.push_back({masked, 10});
  cursor.Icons.push_back({Bands(4, 4, {clLime}), 0});
  cursor.Icons.push_back({Bands(4, 4, {clBlue}), 4000});  // beyond 16 bits of milliseconds

  TGIFImage image;
  image.LoadFromFile(kIcon);  // replaced entirely
  int changes = 0;
  image.OnChange = [&] { ++changes; };
  image.Assign(cursor);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(image.Count(), 4);
  EXPECT_EQ(image.FrameIndex, 0);
  EXPECT_EQ(image.BackgroundColor(), clWindow);
  EXPECT_EQ(image.Version, TGIFVersion::gv89a);
  EXPECT_EQ(image.Frames(0).Delay(), 100);
  EXPECT_EQ(image.Frames(1).Delay(), 166);
  EXPECT_EQ(image.Frames(2).Delay(), 0);
  EXPECT_EQ(image.Frames(3).Delay(), 65535);
  EXPECT_EQ(image.Frames(0).TransparentColor(), clNone);
  EXPECT_EQ(image.Frames(1).TransparentColor(), clYellow);
  EXPECT_EQ(image.Bitmap()->PixelColor(0, 0), clRed);

  TMemoryStream out;
  image.SaveToStream(out);
  const ReferenceGif ref = DecodeWithGiflib(out.Bytes());
  ASSERT_TRUE(ref.Ok) << ref.Error;
  ASSERT_EQ(ref.Frames.size(), 4u);
  EXPECT_EQ(ref.Frames[0].DelayHundredths, 10);
  EXPECT_EQ(ref.Frames[1].DelayHundredths, 16);
  EXPECT_EQ(ref.Frames[1].Colors[ref.Frames[1].TransparentIndex], ColorToRGB(clYellow));
  EXPECT_EQ(ref.Frames[2].DelayHundredths, -1);  // no delay, no control block
  EXPECT_EQ(ref.Frames[3].Colors[ref.Frames[3].Pixels[0]], ColorToRGB(clBlue));

  image.Assign(TAnimatedCursor());
  EXPECT_EQ(image.Count(), 0);
  EXPECT_TRUE(image.Empty());
}

TEST_F(GkGIFTest, PicturesOpenAsTheKindTheirExtensionNames) {
  const std::vector<TGraphicFileFormat> formats = GraphicFileFormats();
  const auto described = [&](const std::string& extension) {
    for (const auto& f : formats)
      if (f.Extension == extension) return f.Description;
    return std::string();
  };
  EXPECT_EQ(described("gif"), "CompuServe GIF Image");
  EXPECT_FALSE(described("bmp").empty());

  const std::string dir = MakeTempDir();
  const std::string original = ReadFileBytes(kIcon);
  WriteFileBytes(dir + "/burst.GIF", original);
  std::unique_ptr<TGraphic> graphic = LoadGraphicFromFile(dir + "/burst.GIF");
  auto* gif = dynamic_cast<TGIFImage*>(graphic.get());
  ASSERT_NE(gif, nullptr);
  TGIFImage direct;
  direct.LoadFromFile(kIcon);
  EXPECT_EQ(graphic->Width(), direct.Width());
  EXPECT_EQ(graphic->Height(), direct.Height());
  EXPECT_FALSE(graphic->Empty());

  // Drawn through the base, the GIF leaves its transparent colour out until told otherwise.
  const int w = graphic->Width(), h = graphic->Height();
  int x0 = -1, y0 = -1;
  for (int y = 0; y < h && x0 < 0; ++y)
    for (int x = 0; x < w && x0 < 0; ++x)
      if (gif->Bitmap()->PixelColor(x, y) == gif->Frames(0).TransparentColor()) x0 = x, y0 = y;
  ASSERT_GE(x0, 0);
  TBitmap target(w, h, pf24bit);
  target.Canvas().Brush().SetColor(RGB(1, 2, 3));
  target.Canvas().FillRect(Rect(0, 0, w, h));
  ASSERT_TRUE(graphic->Transparent());
  graphic->Draw(target.Canvas(), Rect(0, 0, w, h));
  EXPECT_EQ(target.PixelColor(x0, y0), RGB(1, 2, 3));
  int changes = 0;
  graphic->OnChange = [&] { ++changes; };
  graphic->SetTransparent(false);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(graphic->Transparent());
  graphic->Draw(target.Canvas(), Rect(0, 0, w, h));
  EXPECT_EQ(target.PixelColor(x0, y0), gif->Frames(0).TransparentColor());

  graphic->SaveToFile(dir + "/copy.gif");
  TMemoryStream written;
  direct.SaveToStream(written);
  EXPECT_EQ(ReadFileBytes(dir + "/copy.gif"), written.Bytes());

  // The layer's bitmaps.
  Bands(4, 2, {clRed, clBlue}).SaveToFile(dir + "/bands.bmp");
  graphic = LoadGraphicFromFile(dir + "/bands.bmp");
  ASSERT_NE(dynamic_cast<TBitmapGraphic*>(graphic.get()), nullptr);
  EXPECT_EQ(graphic->Width(), 4);
  TBitmap stretched(8, 2, pf24bit);
  graphic->Draw(stretched.Canvas(), Rect(0, 0, 8, 2));
  EXPECT_EQ(stretched.PixelColor(3, 1), clRed);
  EXPECT_EQ(stretched.PixelColor(4, 0), clBlue);

  // Extensions without regard to case or a leading dot; unknown ones fail clearly, and a
  // known one with bad contents fails as its kind does.
  RegisterFileFormat(".Dib", "Device-independent bitmaps",
                     [] { return std::make_unique<TBitmapGraphic>(); });
  EXPECT_NE(NewGraphicForFile("a.DIB"), nullptr);
  UnregisterFileFormat("dib");
  EXPECT_EQ(NewGraphicForFile("a.dib"), nullptr);
  EXPECT_EQ(NewGraphicForFile("dir.gif/none"), nullptr);
  try {
    LoadGraphicFromFile(dir + "/bands.png");
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(GbkToUtf8(e.Message()),
              GbkToUtf8("无法识别图片文件「" + dir + "/bands.png」的扩展名（.png）"));
  }
  WriteFileBytes(dir + "/junk.gif", "JFIF....");
  try {
    LoadGraphicFromFile(dir + "/junk.gif");
    ADD_FAILURE();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "Unknown GIF version");
  }
  std::filesystem::remove_all(dir);
}

namespace {

// A picture of another kind: a red square on a see-through ground.
class SquareGraphic : public TGraphic {
 public:
  void Draw(TCanvas& canvas, const TRect& rect) override {
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1));
  }
  int Width() override { return 4; }
  int Height() override { return 4; }
  bool Empty() override { return false; }
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) override {}
};

class EmptyGraphic : public SquareGraphic {
 public:
  bool Empty() override { return true; }
};

}  // namespace

TEST_F(GkGIFTest, AFrameTakesAnyPictureWithItsTransparency) {
  TGIFImage image;
  image.AddFrame(Bands(2, 2, {clBlue}));
  TGIFFrame& frame = image.Frames(0);

  SquareGraphic square;
  square.SetTransparent(true);
  frame.Assign(static_cast<TGraphic&>(square));
  ASSERT_NE(frame.Bitmap(), nullptr);
  EXPECT_EQ(frame.Bitmap()->PixelColor(2, 2), clRed);
  EXPECT_EQ(frame.TransparentColor(), static_cast<TGifColor>(clWhite));  // the brush behind
  square.SetTransparent(false);
  frame.Assign(static_cast<TGraphic&>(square));
  EXPECT_EQ(frame.TransparentColor(), kGifNoColor);

  TBitmapGraphic bitmap;
  bitmap.Bitmap().Assign(Bands(3, 1, {clLime, clBlack}));
  bitmap.Bitmap().SetTransparentColor(clBlack);
  bitmap.Bitmap().SetTransparent(true);
  frame.Assign(static_cast<TGraphic&>(bitmap));
  EXPECT_EQ(frame.Width(), 3);
  EXPECT_EQ(frame.TransparentColor(), static_cast<TGifColor>(clBlack));

  TGIFImage other;
  other.AddFrame(Bands(5, 1, {clYellow}));
  frame.Assign(static_cast<TGraphic&>(other));
  EXPECT_EQ(frame.Width(), 5);

  EmptyGraphic empty;
  frame.Assign(static_cast<TGraphic&>(empty));
  EXPECT_EQ(frame.Bitmap(), nullptr);
}

TEST_F(GkGIFTest, ABitmapsTransparencyGoesThroughTheClipboard) {
  TBitmap keyed = Bands(4, 1, {clLime, clRed});
  keyed.SetTransparentColor(clLime);
  keyed.SetTransparent(true);
  TGIFImage image;
  image.Assign(keyed);
  image.SaveToClipboardFormat(*Clipboard());
  TBitmap pasted;
  ASSERT_TRUE(Clipboard()->AssignTo(pasted));
  EXPECT_TRUE(pasted.Transparent());
  EXPECT_EQ(pasted.TransparentColor(), clLime);
  EXPECT_EQ(pasted.PixelColor(0, 0), clLime);
  EXPECT_EQ(pasted.PixelColor(3, 0), clRed);

  // A bitmap alone on the clipboard: the pasted frame keeps the transparent colour.
  Clipboard()->Assign(keyed);
  TGIFImage fromBitmap;
  fromBitmap.LoadFromClipboardFormat(*Clipboard());
  ASSERT_EQ(fromBitmap.Count(), 1);
  EXPECT_EQ(fromBitmap.Frames(0).TransparentColor(), static_cast<TGifColor>(clLime));

  // An opaque bitmap stays opaque.
  Clipboard()->Assign(Bands(2, 1, {clBlue}));
  TBitmap plain;
  ASSERT_TRUE(Clipboard()->AssignTo(plain));
  EXPECT_FALSE(plain.Transparent());
}
