// Reading and writing GIF streams: extensions, loops, delays, comments, junk, truncation,
// missing colour tables and the limits on hostile sizes.
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "gifkit/GifStream.h"
#include "platform/Exceptions.h"

namespace {

// 2 x 2 picture of code size 2: pixels 1, 2, 3, 0.
const std::string kPixels = PackCodes(2, WithWidths(2, {4, 1, 2, 3, 0, 5}));

std::string Frame2x2(int left = 0, int top = 0) { return FrameBlock(left, top, 2, 2, kPixels); }

std::string Netscape(const char* id, int count) {
  std::string out = std::string("!\xFF\x0B") + id + "\x03\x01";
  out.push_back(static_cast<char>(count & 0xFF));
  out.push_back(static_cast<char>(count >> 8));
  out.push_back('\0');
  return out;
}

std::string Comment(const std::vector<std::string>& lines) {
  std::string out = "!\xFE";
  for (const auto& l : lines) {
    out.push_back(static_cast<char>(l.size()));
    out += l;
  }
  out.push_back('\0');
  return out;
}

std::string ReadError(const std::string& bytes) {
  TGIFImageCore image;
  try {
    image.ReadGifBytes(bytes, false);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "no error";
}

// Restores the module-wide switch after a test changes it.
struct LenientScope {
  bool saved = LenientDecoding;
  explicit LenientScope(bool on) { LenientDecoding = on; }
  ~LenientScope() { LenientDecoding = saved; }
};

}  // namespace

TEST(GifRead, LoopExtensions) {
  for (const char* id : {"NETSCAPE2.0", "ANIMEXTS1.0"}) {
    TGIFImageCore image;
    image.ReadGifBytes(GifHeader("89a", 2, 2, 2) + Netscape(id, 65535) + Frame2x2() + ";", false);
    EXPECT_TRUE(image.Looping) << id;
    EXPECT_EQ(image.RepeatCount, 30000) << id;
    image.ReadGifBytes(GifHeader("89a", 2, 2, 2) + Netscape(id, 7) + Frame2x2() + ";", false);
    EXPECT_EQ(image.RepeatCount, 7) << id;
  }
  TGIFImageCore other;
  other.ReadGifBytes(GifHeader("89a", 2, 2, 2) + Netscape("XMP DataXMP", 5) + Frame2x2() + ";",
                     false);
  EXPECT_FALSE(other.Looping);
  EXPECT_EQ(other.RepeatCount, 1);
  ASSERT_EQ(other.Count(), 1);
  EXPECT_TRUE(other.FrameAt(0)->Extensions.empty());
}

TEST(GifRead, ScreenAndFrameGeometry) {
  TGIFImageCore image;
  image.ReadGifBytes(GifHeader("87a", 5, 4, 2) + FrameBlock(1, 2, 0, 0, kPixels) + ";", false);
  EXPECT_EQ(image.Version, TGIFVersion::gv87a);
  EXPECT_EQ(image.ScreenWidth, 5);
  EXPECT_EQ(image.ScreenHeight, 4);
  EXPECT_EQ(image.FrameIndex, 0);
  const TGIFFrameCore& frame = *image.FrameAt(0);
  EXPECT_EQ(frame.Item->Width, 5);
  EXPECT_EQ(frame.Item->Height, 4);
  EXPECT_EQ(frame.Left, 1);
  EXPECT_EQ(frame.Top, 2);
  EXPECT_EQ(image.BackgroundColor(), 0x000000u);
  EXPECT_EQ(frame.Item->ColorTable.Count(), 4u);
  EXPECT_EQ(frame.Item->ColorTable.Color(3), 0xFFFFFFu);
  EXPECT_FALSE(frame.HasLocalColorTable);
}

TEST(GifRead, DelaysSaturateAndAreWrittenBackUnlessChanged) {
  auto read = [](int hundredths) {
    auto image = std::make_unique<TGIFImageCore>();
    image->ReadGifBytes(
        GifHeader("89a", 2, 2, 2) + GraphicControl(0, hundredths, 0) + Frame2x2() + ";", false);
    return image;
  };
  EXPECT_EQ(read(6553)->FrameAt(0)->Delay(), 65530);
  EXPECT_EQ(read(7000)->FrameAt(0)->Delay(), 65535);
  EXPECT_EQ(read(65535)->FrameAt(0)->Delay(), 65535);

  auto image = read(7000);
  TGIFImageCore again;
  again.ReadGifBytes(image->WriteGifBytes(), false);
  ASSERT_EQ(again.FrameAt(0)->Extensions.size(), 1u);
  EXPECT_EQ(again.FrameAt(0)->Extensions[0]->DelayHundredths(), 7000);

  image->FrameAt(0)->SetDelay(65535);  // the same value: nothing changes
  again.ReadGifBytes(image->WriteGifBytes(), false);
  EXPECT_EQ(again.FrameAt(0)->Extensions[0]->DelayHundredths(), 7000);
  image->FrameAt(0)->SetDelay(1234);
  again.ReadGifBytes(image->WriteGifBytes(), false);
  EXPECT_EQ(again.FrameAt(0)->Extensions[0]->DelayHundredths(), 123);
  EXPECT_EQ(again.FrameAt(0)->Delay(), 1230);

  // Several graphic control extensions: the longest delay, the last disposal.
  TGIFImageCore two;
  two.ReadGifBytes(GifHeader("89a", 2, 2, 2) + GraphicControl(0x04, 50, 0) +
                       GraphicControl(0x08, 20, 0) + Frame2x2() + ";",
                   false);
  EXPECT_EQ(two.FrameAt(0)->Delay(), 500);
  EXPECT_EQ(two.FrameAt(0)->Disposal, 2);
}

TEST(GifRead, JunkZerosAndTrailers) {
  const std::string head = GifHeader("89a", 2, 2, 2);
  // Junk other than zeros after an image ends the reading quietly.
  TGIFImageCore image;
  image.ReadGifBytes(head + Frame2x2() + "xyz" + Frame2x2() + ";", false);
  EXPECT_EQ(image.Count(), 1);
  // Zero bytes between images are skipped.
  image.ReadGifBytes(head + Frame2x2() + std::string(5, '\0') + Frame2x2() + ";", false);
  EXPECT_EQ(image.Count(), 2);
  // Without a trailer the data end the stream.
  image.ReadGifBytes(head + Frame2x2() + Frame2x2(), false);
  EXPECT_EQ(image.Count(), 2);
  // Junk after an extension is an error; so are unknown versions and extension labels.
  EXPECT_EQ(ReadError(head + GraphicControl(0, 0, 0) + "x" + Frame2x2()), "Stream read error");
  EXPECT_EQ(ReadError("GIF88a" + head.substr(6)), "Unknown GIF version");
  EXPECT_EQ(ReadError("PNG89a" + head.substr(6)), "Unknown GIF version");
  EXPECT_EQ(ReadError(head + "!\x42\x01x" + Frame2x2()), "Unrecognized extension block: 42");
  // Fixed blocks cut short fail before anything is taken from them.
  EXPECT_EQ(ReadError(head + "!\xF9\x04\x01"), "Stream read error");
  EXPECT_EQ(ReadError(head.substr(0, 20)), "Stream read error");
  EXPECT_EQ(ReadError(head + std::string(",\0\0\0\0\x02", 6)), "Stream read error");
  EXPECT_EQ(ReadError(head + FrameBlock(0, 0, 2, 2, "", 0x87, std::string(100, 'c'))),
            "Stream read error");
}

TEST(GifRead, PlainTextExtensionDropsWhatCameBefore) {
  std::string plain = "!\x01\x0C" + std::string(12, '\1') + "\x02hi" + std::string(1, '\0');
  TGIFImageCore image;
  image.ReadGifBytes(GifHeader("89a", 2, 2, 2) + GraphicControl(1, 10, 2) + plain +
                         Comment({"kept"}) + Frame2x2() + ";",
                     false);
  ASSERT_EQ(image.Count(), 1);
  const TGIFFrameCore& frame = *image.FrameAt(0);
  ASSERT_EQ(frame.Extensions.size(), 1u);
  EXPECT_EQ(frame.Extensions[0]->ExtensionType, etComment);
  EXPECT_EQ(frame.TransparentColor(), kGifNoColor);
  EXPECT_EQ(frame.Delay(), 0);
}

TEST(GifRead, CommentsBeforeTheTrailerBecomeTheImageComment) {
  TGIFImageCore image;
  image.ReadGifBytes(GifHeader("89a", 2, 2, 2) + Frame2x2() + Comment({"first", "line 2"}) +
                         Comment({"second"}) + ";",
                     false);
  EXPECT_EQ(image.Data->Comment.Items(),
            (std::vector<std::string>{"first", "line 2", "\r\n\r\n", "second"}));
  // Written at the end as one comment, and read back the same.
  TGIFImageCore again;
  const std::string bytes = image.WriteGifBytes();
  again.ReadGifBytes(bytes, false);
  EXPECT_EQ(again.Data->Comment.Items(), image.Data->Comment.Items());
  EXPECT_EQ(again.WriteGifBytes(), bytes);
}

TEST(GifRead, TruncatedLastFrameIsKeptLenientlyAndFailsStrictly) {
  std::string big = PackCodes(2, WithWidths(2, {4, 1, 2, 3, 0, 1, 2, 3, 0, 5}));
  const std::string file = GifHeader("89a", 4, 2, 2) + FrameBlock(0, 0, 4, 2, big) +
                           FrameBlock(0, 0, 4, 2, big).substr(0, 14);
  {
    LenientScope lenient(true);
    TGIFImageCore image;
    image.ReadGifBytes(file, false);
    ASSERT_EQ(image.Count(), 2);
    EXPECT_FALSE(image.FrameAt(0)->Corrupt);
    EXPECT_TRUE(image.FrameAt(1)->Corrupt);
    // The partial sub-block is not kept: the data hold the code size byte only.
    EXPECT_EQ(image.FrameAt(1)->Item->Data, std::string(1, '\2'));
    try {
      image.FrameAt(1)->DecodeIndices();
      ADD_FAILURE() << "decoded a frame without its codes";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Stream read error");
    }
    // Written back with its terminator, so the stream that follows stays readable.
    const std::string written = image.WriteGifBytes();
    EXPECT_EQ(written.substr(written.size() - 3), std::string("\x02\x00;", 3));
    TGIFImageCore again;
    again.ReadGifBytes(written, false);
    ASSERT_EQ(again.Count(), 2);
    EXPECT_EQ(again.FrameAt(1)->Item->Data, std::string("\x02\x00", 2));
    EXPECT_FALSE(again.FrameAt(1)->Corrupt);
  }
  {
    LenientScope strict(false);
    TGIFImageCore image;
    EXPECT_THROW(image.ReadGifBytes(file, false), EInvalidGraphicOperation);
    EXPECT_EQ(image.Count(), 1);  // frames read before the failure stay
  }
}

TEST(GifRead, NoColourTableAtAll) {
  // Pixels of a 3-bit code size, no global or local table.
  const std::string data = PackCodes(3, WithWidths(3, {8, 7, 5, 3, 1, 9}));
  const std::string file = GifHeader("87a", 2, 2, 0) + FrameBlock(0, 0, 2, 2, data) + ";";
  TGIFImageCore image;
  image.ReadGifBytes(file, false);
  ASSERT_EQ(image.Count(), 1);
  TGIFFrameCore& frame = *image.FrameAt(0);
  EXPECT_EQ(frame.Item->BitsPerPixel, 3);
  const TGIFIndexImage pixels = frame.DecodeIndices();
  EXPECT_EQ(pixels.Pixels, (std::vector<std::uint8_t>{7, 5, 3, 1}));
  EXPECT_EQ(pixels.Depth, 4);
  EXPECT_EQ(pixels.Palette[7], 0u);
  EXPECT_EQ(pixels.Palette[8], 0x808080u);
  const ReferenceGif ref = DecodeWithGiflib(file);
  ASSERT_TRUE(ref.Ok) << ref.Error;
  EXPECT_EQ(ref.Frames[0].Pixels, pixels.Pixels);
  // Written back without a table, byte for byte.
  EXPECT_EQ(image.WriteGifBytes(), file);
}

TEST(GifRead, ColourTablesAreHeldAsLargeAsTheyAreAndTheGlobalOneIsShared) {
  const std::string local("\x10\x20\x30\x40\x50\x60", 6);  // two entries
  const std::string file =
      GifHeader("89a", 2, 2, 2) + Frame2x2() + FrameBlock(0, 0, 2, 2, kPixels, 0x80, local) + ";";
  TGIFImageCore image;
  image.ReadGifBytes(file, false);
  ASSERT_EQ(image.Count(), 2);
  const TGIFColorTable& global = image.Data->ColorTable;
  // Without a table of its own a frame refers to the global one; with one it has its size.
  const TGIFColorTable& shared = image.FrameAt(0)->Item->ColorTable;
  EXPECT_TRUE(shared.SharesEntriesWith(global));
  EXPECT_EQ(shared.Count(), 4u);
  EXPECT_EQ(shared.Color(3), 0xFFFFFFu);
  const TGIFColorTable& own = image.FrameAt(1)->Item->ColorTable;
  EXPECT_FALSE(own.SharesEntriesWith(global));
  EXPECT_EQ(own.Count(), 2u);
  EXPECT_EQ(own.Color(1), 0x605040u);
  EXPECT_EQ(own.Color(2), 0u);  // past the table: black, as the decoder shows it
  EXPECT_EQ(image.FrameAt(1)->DecodedLayout().Palette[1], 0x605040u);

  // Changing one copy leaves the other as it was.
  TGIFColorTable changed = shared;
  changed.SetColor(3, 0x123456);
  changed.SetColor(4, 0x654321);  // past Count: nothing
  EXPECT_EQ(changed.Count(), 4u);
  EXPECT_EQ(changed.Color(3), 0x123456u);
  EXPECT_EQ(global.Color(3), 0xFFFFFFu);
  EXPECT_FALSE(changed.SharesEntriesWith(global));
  image.Data->ColorTable.SetColor(0, 0x0000FF);
  EXPECT_EQ(image.FrameAt(0)->Item->ColorTable.Color(0), 0x000000u);
  image.Data->ColorTable.SetColor(0, 0x000000);
  EXPECT_EQ(image.WriteGifBytes(), file);
  EXPECT_EQ(TGIFColorTable(300).Count(), 256u);
  EXPECT_EQ(TGIFColorTable().Rgb(), nullptr);
}

TEST(GifRead, SizeChecksComeBeforeAllocation) {
  // A stream shorter than the count given is a read error of the source.
  TMemoryStream source(GifHeader("87a", 2, 2, 2) + Frame2x2() + ";");
  TGIFImageCore image;
  EXPECT_THROW(image.ReadGifStream(1ll << 40, source, false), EReadError);
  source.SetPosition(0);
  image.ReadGifStream(source.Size(), source, false);
  EXPECT_EQ(image.Count(), 1);

  // A frame beyond the area cap reads (its codes are kept) but refuses to decode.
  TGIFImageCore huge;
  huge.ReadGifBytes(
      GifHeader("87a", 65535, 65535, 2) + FrameBlock(0, 0, 65535, 65535, kPixels) + ";", false);
  try {
    huge.FrameAt(0)->DecodeIndices();
    ADD_FAILURE() << "decoded 4 Gpixel";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "GIF image too large (65535 x 65535)");
  }
  // A 65535 x 1 strip is fine.
  const TGifIndices strip(65535, 3);
  std::string data;
  TGIFImageCore wide;
  TGIFFrameCore& frame = wide.AppendFrame();
  frame.EncodeIndices(TGIFIndexImage{65535, 1, 4, {0, 0xFF, 0xFF00, 0xFF0000}, strip});
  TGIFImageCore back;
  back.ReadGifBytes(wide.WriteGifBytes(), false);
  EXPECT_EQ(back.FrameAt(0)->DecodeIndices().Pixels, strip);
}

TEST(GifWrite, ReproducesFramesAndAddsOnlyWhatIsNeeded) {
  const std::string file = GifHeader("89a", 4, 4, 2) + Netscape("NETSCAPE2.0", 3) +
                           GraphicControl(0x09, 25, 3) + Frame2x2(0, 0) + Frame2x2(2, 2) + ";";
  TGIFImageCore image;
  image.ReadGifBytes(file, false);
  ASSERT_EQ(image.Count(), 2);
  EXPECT_EQ(image.FrameAt(0)->TransparentColor(), 0xFFFFFFu);
  EXPECT_EQ(image.FrameAt(0)->Disposal, 2);
  // Two frames and a loop: the same bytes come back.
  EXPECT_EQ(image.WriteGifBytes(), file);

  // A loop is written only with two frames or more; a frame with no delay, transparency or
  // disposal gets no graphic control extension.
  image.DeleteFrame(0);
  const std::string one = image.WriteGifBytes();
  EXPECT_EQ(one.find("NETSCAPE"), std::string::npos);
  EXPECT_EQ(one.find("!\xF9"), std::string::npos);
  EXPECT_EQ(one, GifHeader("89a", 4, 4, 2) + Frame2x2(2, 2) + ";");
  // The logical screen covers the frames but never shrinks below its stored size.
  image.FrameAt(0)->Left = 9;
  TGIFImageCore back;
  back.ReadGifBytes(image.WriteGifBytes(), false);
  EXPECT_EQ(back.ScreenWidth, 11);
  EXPECT_EQ(back.ScreenHeight, 4);

  TGIFImageCore none;
  try {
    none.WriteGifBytes();
    ADD_FAILURE();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "No GIF Data to write");
  }
}

TEST(GifRead, FramesReadFromASharedBufferReferToItAndOutliveTheCaller) {
  const std::string file = GifHeader("89a", 4, 4, 2) + Frame2x2(0, 0) + Frame2x2(2, 2) + ";";
  auto shared = std::make_shared<const std::string>(file);
  const std::string* buffer = shared.get();
  TGIFImageCore image;
  image.ReadGifBytes(shared, false);
  ASSERT_EQ(image.Count(), 2);
  // The encoded data stand where they were read, not in a copy.
  const auto* first = reinterpret_cast<const std::uint8_t*>(buffer->data());
  const std::uint8_t* data = image.FrameAt(1)->Item->Data.Bytes();
  EXPECT_GE(data, first);
  EXPECT_LT(data, first + buffer->size());
  EXPECT_EQ(image.FrameAt(1)->Item->Data, kPixels);

  // The caller letting go leaves the frames whole.
  shared.reset();
  EXPECT_EQ(image.FrameAt(0)->DecodeIndices().Pixels, (std::vector<std::uint8_t>{1, 2, 3, 0}));
  EXPECT_EQ(image.WriteGifBytes(), file);

  // A frame encoded anew holds its own bytes; the other still reads from the file.
  image.FrameAt(0)->EncodeIndices(
      TGIFIndexImage{2, 2, 4, std::vector<TGifColor>(16, 0), {3, 3, 3, 3}});
  EXPECT_EQ(image.FrameAt(0)->DecodeIndices().Pixels, (std::vector<std::uint8_t>{3, 3, 3, 3}));
  EXPECT_EQ(image.FrameAt(1)->DecodeIndices().Pixels, (std::vector<std::uint8_t>{1, 2, 3, 0}));
}

TEST(GifWrite, TransparentIndexSurvivesEqualColours) {
  // Entries 1 and 3 are both white; the frame's transparency is entry 3.
  std::string local("\0\0\0\xFF\xFF\xFF\x80\x80\x80\xFF\xFF\xFF", 12);
  const std::string file = GifHeader("89a", 2, 2, 0) + GraphicControl(0x01, 0, 3) +
                           FrameBlock(0, 0, 2, 2, kPixels, 0x81, local) + ";";
  TGIFImageCore image;
  image.ReadGifBytes(file, false);
  EXPECT_EQ(image.FrameAt(0)->TransparentColor(), 0xFFFFFFu);
  EXPECT_EQ(image.FrameAt(0)->TransparentIndex(), 3);
  EXPECT_EQ(image.WriteGifBytes(), file);
  // A colour set anew takes the first entry that has it.
  image.FrameAt(0)->SetTransparentColor(0x808080);
  image.FrameAt(0)->SetTransparentColor(0xFFFFFF);
  TGIFImageCore back;
  back.ReadGifBytes(image.WriteGifBytes(), false);
  EXPECT_EQ(back.FrameAt(0)->TransparentIndex(), 1);
  // No such colour: the transparency bit is cleared.
  image.FrameAt(0)->SetTransparentColor(0x123456);
  back.ReadGifBytes(image.WriteGifBytes(), false);
  EXPECT_EQ(back.FrameAt(0)->TransparentColor(), kGifNoColor);
}

TEST(GifWrite, CommentsAreCutTo255BytesAndEmptyOnesDropped) {
  TGIFImageCore image;
  image.ReadGifBytes(GifHeader("87a", 2, 2, 2) + Frame2x2() + ";", false);
  image.Data->Comment.Add(std::string(300, 'a'));
  image.Data->Comment.Add("");
  image.Data->Comment.Add("b");
  image.FrameAt(0)->CommentLines();  // an empty frame comment is not written
  const std::string bytes = image.WriteGifBytes();
  EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
  TGIFImageCore back;
  back.ReadGifBytes(bytes, false);
  EXPECT_EQ(back.Data->Comment.Items(), (std::vector<std::string>{std::string(255, 'a'), "b"}));
  EXPECT_TRUE(back.FrameAt(0)->Extensions.empty());
}
