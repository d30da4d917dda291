// Composing the frames of an animation: disposal methods, the start-frame walk, transparency
// by index, frames that fail to decode, and the kept picture giving the same result as
// composing afresh.
#include <gtest/gtest.h>

#include "GifTestCorpus.h"
#include "GifTestSupport.h"
#include "gifkit/GifCompose.h"
#include "gifkit/GifStream.h"

namespace {

const std::vector<std::uint32_t>& kPalette = HandMadePalette();
constexpr TGifColor kFill = 0x808080;

TArgb At(const TComposedFrame& f, int x, int y) { return f.Pixels[y * f.Width + x]; }

void Load(TGIFImageCore& image, const std::string& bytes) {
  image.ReadGifBytes(bytes, false);
  image.FrameIndex = 0;
}

class LenientDecodingAs {
 public:
  explicit LenientDecodingAs(bool value) : was_(LenientDecoding) { LenientDecoding = value; }
  ~LenientDecodingAs() { LenientDecoding = was_; }

 private:
  bool was_;
};

// Every frame composed from the kept picture of the frame before it equals the frame composed
// afresh; a composer that holds a later frame composes an earlier one afresh as well.
void ExpectSteppingEqualsAfresh(const NamedGif& gif) {
  for (bool lenient : {true, false}) {
    const LenientDecodingAs decoding(lenient);
    TGIFImageCore image;
    try {
      image.ReadGifBytes(gif.Bytes, false);
    } catch (const std::exception&) {
      // The frames read before the fault stay and are shown.
    }
    image.FrameIndex = 0;
    TGifComposer stepped;
    for (int n = 0; n < image.Count(); ++n) {
      const TComposedFrame& a = stepped.Compose(image, n, kFill);
      TGifComposer fresh;
      const TComposedFrame& b = fresh.Compose(image, n, kFill);
      ASSERT_EQ(a.Index, b.Index) << gif.Name << " frame " << n;
      ASSERT_EQ(a.Fill, b.Fill) << gif.Name << " frame " << n;
      ASSERT_TRUE(a.Pixels == b.Pixels)
          << gif.Name << " frame " << n << (lenient ? " (lenient)" : " (strict)")
          << ": stepped and afresh differ";
    }
    if (image.Count() > 1) {
      TGifComposer fresh;
      EXPECT_TRUE(stepped.Compose(image, 0, kFill).Pixels == fresh.Compose(image, 0, kFill).Pixels)
          << gif.Name;
    }
  }
}

}  // namespace

TEST(GifCompose, ComposingAfreshEqualsSteppingThroughEveryFrameOfEveryTestGif) {
  const std::vector<NamedGif> gifs = EveryTestGif();
  ASSERT_GE(gifs.size(), 100u);
  for (const NamedGif& gif : gifs) ExpectSteppingEqualsAfresh(gif);
}

TEST(GifCompose, AWholeScreenFrameThatFailsToDecodeIsNoStartingPoint) {
  // Composed afresh, frame 1 would hide frame 0 if it decoded; as it does not, frame 0's white
  // pixel shows, as it does when frame 1 is reached from frame 0.
  TGIFImageCore image;
  Load(image, WholeScreenFrameWithoutCodes());
  ASSERT_EQ(image.Count(), 2);
  std::vector<int> failed;
  TGifComposer c;
  c.OnFrameFailed = [&](int frame, const std::string&) { failed.push_back(frame); };
  EXPECT_EQ(At(c.Compose(image, 1, kFill), 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(failed, std::vector<int>{1});
}

TEST(GifCompose, DisposalsKeepClearRestoreAndUndefinedOnesKeep) {
  TGIFImageCore image;
  Load(image, MixedAnimation());
  TGifComposer c;
  // Frame 1 (red square, disposal 2) over the white screen.
  EXPECT_EQ(At(c.Compose(image, 1, kFill), 2, 2), ArgbOf(kPalette[2]));
  // Frame 2: frame 1's square cleared to the fill colour, the ring's hole shows it.
  const TComposedFrame& f2 = c.Compose(image, 2, kFill);
  EXPECT_EQ(At(f2, 1, 1), ArgbOf(kFill));
  EXPECT_EQ(At(f2, 3, 3), ArgbOf(kFill));
  EXPECT_EQ(At(f2, 2, 2), ArgbOf(kPalette[3]));
  EXPECT_EQ(At(f2, 7, 7), ArgbOf(kPalette[1]));
  // Frame 4 (disposal 3 before it): frame 3's blue square is gone again.
  const TComposedFrame& f4 = c.Compose(image, 4, kFill);
  EXPECT_EQ(At(f4, 8, 1), ArgbOf(kPalette[1]));
  // Frame 5 (a whole-screen frame with disposal 3) restores to frame 4's picture, whose
  // undefined disposal 6 keeps it like disposal 1.
  const TComposedFrame& f6 = c.Compose(image, 6, kFill);
  EXPECT_EQ(At(f6, 1, 5), ArgbOf(kPalette[2]));
  EXPECT_EQ(At(f6, 8, 6), ArgbOf(kPalette[3]));
  // Frame 7 covers the screen and clears it; frame 8 shows the fill around it.
  const TComposedFrame& f8 = c.Compose(image, 8, kFill);
  EXPECT_EQ(At(f8, 0, 0), ArgbOf(kFill));
  EXPECT_EQ(At(f8, 9, 7), ArgbOf(kPalette[1]));
}

TEST(GifCompose, AWholeScreenFrameRestoringThePreviousPictureDoesNotStopTheWalk) {
  // Frame 0 the whole picture, frame 1 an opaque whole-screen frame that restores, frame 2 a
  // small frame with a see-through edge: frame 0 must show around it, not the fill.
  AnimationFrame small = SolidFrame(2, 2, 3, 3, 0, 1, 0);
  small.Pixels[4] = 3;
  TGIFImageCore image;
  Load(image, MakeAnimation(8, 8, kPalette,
                            {SolidFrame(0, 0, 8, 8, 4, 1), SolidFrame(0, 0, 8, 8, 2, 3), small}));
  for (bool fresh : {true, false}) {
    TGifComposer c;
    if (!fresh) c.Compose(image, 1, kFill);
    const TComposedFrame& f = c.Compose(image, 2, kFill);
    EXPECT_EQ(At(f, 0, 0), ArgbOf(kPalette[4])) << fresh;
    EXPECT_EQ(At(f, 2, 2), ArgbOf(kPalette[4])) << fresh;
    EXPECT_EQ(At(f, 3, 3), ArgbOf(kPalette[3])) << fresh;
  }
}

TEST(GifCompose, TransparencyGoesByIndexAndTheFillFollowsTheCurrentFrame) {
  // Indices 2 and 5 are the same red; 5 is transparent, 2 stays opaque.
  AnimationFrame frame = SolidFrame(0, 0, 2, 1, 2, 0, 5);
  frame.Pixels[1] = 5;
  TGIFImageCore image;
  Load(image, MakeAnimation(3, 1, kPalette, {frame}));
  TGifComposer c;
  const TComposedFrame& f = c.Compose(image, 0, kFill);
  EXPECT_TRUE(f.Transparent());
  EXPECT_EQ(At(f, 0, 0), ArgbOf(kPalette[2]));
  EXPECT_EQ(At(f, 1, 0) >> 24, 0u);
  EXPECT_EQ(At(f, 2, 0) >> 24, 0u);  // outside the frame: the see-through fill

  TGIFImageCore opaque;
  Load(opaque, MakeAnimation(3, 1, kPalette, {SolidFrame(0, 0, 2, 1, 1)}));
  TGifComposer o;
  EXPECT_FALSE(o.Compose(opaque, 0, kFill).Transparent());
  EXPECT_EQ(At(o.Cached(), 2, 0), ArgbOf(kFill));
}

TEST(GifCompose, AFrameThatFailsToDecodeIsLeftOutAndToldOnce) {
  const std::string broken = PackCodes(2, WithWidths(2, {4, 7, 7, 5}));
  const std::string bytes = GifHeader("89a", 2, 1, 1) +
                            FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 1, 1, 5}))) +
                            FrameBlock(0, 0, 1, 1, broken) + ";";
  const bool lenient = LenientDecoding;
  LenientDecoding = false;  // a broken frame fails instead of showing what it has
  TGIFImageCore image;
  Load(image, bytes);
  ASSERT_EQ(image.Count(), 2);
  std::vector<int> failed;
  TGifComposer c;
  c.OnFrameFailed = [&](int frame, const std::string& message) {
    failed.push_back(frame);
    EXPECT_FALSE(message.empty());
  };
  for (int round = 0; round < 3; ++round) {
    c.Clear();
    const TComposedFrame& f = c.Compose(image, 1, kFill);
    EXPECT_EQ(At(f, 0, 0), 0xFFFFFFFFu);  // frame 0's white shows
    c.Compose(image, 0, kFill);
    c.Compose(image, 1, kFill);
  }
  LenientDecoding = lenient;
  // Cleared composers tell again; one composer tells once however often it composes.
  EXPECT_EQ(failed, (std::vector<int>{1, 1, 1}));
}

TEST(GifCompose, AScreenLargerThanAnyPictureComposesNothingAndIsToldOnce) {
  // 65535 x 65535 with one small frame: a 16 GB picture is not made.
  TGIFImageCore image;
  Load(image, GifHeader("89a", 65535, 65535, 1) +
                  FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 1, 1, 5}))) + ";");
  std::vector<int> told;
  TGifComposer c;
  c.OnFrameFailed = [&](int frame, const std::string& message) {
    told.push_back(frame);
    EXPECT_NE(message.find("too large"), std::string::npos) << message;
  };
  EXPECT_EQ(c.Compose(image, 0, kFill).Index, -1);
  EXPECT_TRUE(c.Compose(image, 0, kFill).Pixels.empty());
  EXPECT_EQ(told, std::vector<int>{-1});
}
