// Composed frames against ImageMagick's -coalesce: every animated GIF of the installed
// packages, animations made with ImageMagick, and our own with every disposal, transparency
// and offsets. Wherever ImageMagick's frame is opaque ours holds the same colour; where it is
// see-through ours shows the empty screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "GifTestCorpus.h"
#include "GifTestSupport.h"
#include "gifkit/GifCompose.h"
#include "gifkit/GifStream.h"

namespace fs = std::filesystem;

namespace {

constexpr TGifColor kFill = 0x123456;

// The coalesced frames as RGBA bytes, one file per frame.
std::vector<std::string> Coalesced(const std::string& gif, const std::string& dir, int count) {
  const std::string pattern = dir + "/frame-%d.rgba";
  const std::string command =
      "convert '" + gif + "' -coalesce +adjoin -depth 8 'rgba:" + pattern + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return {};
  std::vector<std::string> frames;
  for (int i = 0; i < count; ++i)
    frames.push_back(ReadFileBytes(dir + "/frame-" + std::to_string(i) + ".rgba"));
  return frames;
}

void ExpectSameAsCoalesce(const std::string& path, const std::string& dir) {
  const std::string bytes = ReadFileBytes(path);
  TGIFImageCore image;
  ASSERT_NO_THROW(image.ReadGifBytes(bytes, false)) << path;
  image.FrameIndex = 0;
  const std::vector<std::string> expected = Coalesced(path, dir, image.Count());
  ASSERT_EQ(static_cast<int>(expected.size()), image.Count()) << path;
  TGifComposer composer;
  const TArgb fill = ArgbOf(kFill);
  for (int n = 0; n < image.Count(); ++n) {
    const TComposedFrame& ours = composer.Compose(image, n, kFill);
    const std::string& theirs = expected[n];
    ASSERT_EQ(theirs.size(), ours.Pixels.size() * 4) << path << " frame " << n;
    int differing = 0;
    for (std::size_t i = 0; i < ours.Pixels.size() && differing < 5; ++i) {
      const auto* p = reinterpret_cast<const std::uint8_t*>(theirs.data()) + 4 * i;
      const TArgb mine = ours.Pixels[i];
      if (p[3] == 255) {
        const TArgb want = 0xFF000000u | (p[0] << 16) | (p[1] << 8) | p[2];
        // Where no frame has drawn, ImageMagick may show the file's background colour.
        const bool background = (mine == ours.Fill || mine == fill) &&
                                image.BackgroundColor() != kGifNoColor &&
                                want == ArgbOf(image.BackgroundColor());
        if (mine != want && !background) {
          ADD_FAILURE() << path << " frame " << n << " pixel " << i % ours.Width << ","
                        << i / ours.Width << ": " << std::hex << mine << " != " << want;
          ++differing;
        }
      } else if (mine != ours.Fill && mine != fill) {
        ADD_FAILURE() << path << " frame " << n << " pixel " << i % ours.Width << ","
                      << i / ours.Width << " should be empty: " << std::hex << mine;
        ++differing;
      }
    }
  }
}

class GifCoalesce : public ::testing::Test {
 protected:
  void SetUp() override { dir = MakeTempDir(); }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::string dir;
};

}  // namespace

TEST_F(GifCoalesce, AnimatedGifsOfTheInstalledPackages) {
  int animated = 0;
  for (const std::string& path : InstalledGifFiles()) {
    TGIFImageCore image;
    try {
      image.ReadGifBytes(ReadFileBytes(path), false);
    } catch (const std::exception&) {
      continue;
    }
    if (image.Count() < 2) continue;
    ++animated;
    ExpectSameAsCoalesce(path, dir);
  }
  RecordProperty("animated", animated);
  if (animated == 0) GTEST_SKIP() << "no animated GIF installed";
}

TEST_F(GifCoalesce, AnimationsMadeByImageMagick) {
  GeneratedGifs generated;
  for (const std::string& file : generated.Files()) ExpectSameAsCoalesce(file, dir);
}

TEST_F(GifCoalesce, OurOwnAnimationsWithEveryDisposalAndOffsets) {
  for (const NamedGif& made : HandMadeAnimations()) {
    const std::string path = dir + "/" + made.Name + ".gif";
    WriteFileBytes(path, made.Bytes);
    ExpectSameAsCoalesce(path, dir);
  }
}
