// Composed frames against ImageMagick's -coalesce: every animated GIF of the installed
// packages, animations made with ImageMagick, and our own with every disposal, transparency
// and offsets. Wherever ImageMagick's frame is opaque ours holds the same colour; where it is
// see-through ours shows the empty screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
  std::string Make(const std::string& name, const std::string& args) {
    const std::string out = dir + "/" + name;
    EXPECT_EQ(std::system(("convert " + args + " '" + out + "' 2>/dev/null").c_str()), 0) << args;
    return out;
  }
  std::string dir;
};

}  // namespace

TEST_F(GifCoalesce, AnimatedGifsOfTheInstalledPackages) {
  int animated = 0;
  for (const char* root : {"/usr/share", "/usr/lib"}) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(
             root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (ec || it->path().extension() != ".gif" || !it->is_regular_file(ec)) continue;
      TGIFImageCore image;
      try {
        image.ReadGifBytes(ReadFileBytes(it->path().string()), false);
      } catch (const std::exception&) {
        continue;
      }
      if (image.Count() < 2) continue;
      ++animated;
      ExpectSameAsCoalesce(it->path().string(), dir);
    }
  }
  RecordProperty("animated", animated);
  if (animated == 0) GTEST_SKIP() << "no animated GIF installed";
}

TEST_F(GifCoalesce, AnimationsMadeByImageMagick) {
  for (const std::string& file :
       {Make("dispose-bg.gif",
             "-size 80x60 -seed 4 plasma:fractal -size 80x60 gradient:red-blue -size 80x60 xc:none "
             "-fill green -draw 'circle 40,30 40,10' -set delay 7 -dispose Background"),
        Make(
            "dispose-prev.gif",
            "-size 60x50 -seed 3 plasma: -dispose Previous \\( -size 20x20 xc:red -repage +5+7 \\) "
            "\\( -size 20x20 xc:blue -repage +30+20 \\) -dispose None "
            "\\( -size 10x10 xc:yellow -repage +45+35 \\)"),
        Make("optimized.gif",
             "-size 64x64 -seed 9 plasma: -size 64x64 xc:none -fill blue -draw 'rectangle 10,10 "
             "30,30' -size 64x64 xc:none -fill red -draw 'circle 40,40 40,50' -set delay 12 "
             "-layers Optimize"),
        Make("transparent.gif",
             "-size 40x40 xc:none -fill orange -draw 'circle 20,20 20,5' -size 40x40 xc:none "
             "-fill purple -draw 'rectangle 5,5 25,25' -dispose Background")}) {
    ExpectSameAsCoalesce(file, dir);
  }
}

TEST_F(GifCoalesce, OurOwnAnimationsWithEveryDisposalAndOffsets) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF, 0x0000FF,
                                              0x00FF00, 0xFF0000, 0x0000FF};
  AnimationFrame ring = SolidFrame(2, 2, 4, 4, 3, 0, 0);
  ring.Pixels[5] = ring.Pixels[6] = 0;
  AnimationFrame small = SolidFrame(2, 2, 3, 3, 0, 1, 0);
  small.Pixels[4] = 3;
  const std::vector<std::vector<AnimationFrame>> animations = {
      {SolidFrame(0, 0, 10, 8, 1, 1), SolidFrame(1, 1, 3, 3, 2, 2), ring,
       SolidFrame(5, 0, 5, 5, 4, 3), SolidFrame(0, 4, 4, 4, 2, 1, 1), SolidFrame(7, 5, 3, 3, 3, 0)},
      // A whole-screen frame restoring the picture before it, then a small see-through one.
      {SolidFrame(0, 0, 8, 8, 4, 1), SolidFrame(0, 0, 8, 8, 2, 3), small},
      // Transparent throughout, clearing and restoring.
      {SolidFrame(0, 0, 6, 6, 2, 2, 0), SolidFrame(1, 1, 3, 3, 4, 3, 0),
       SolidFrame(2, 2, 4, 4, 3, 1, 1)}};
  int k = 0;
  for (const auto& frames : animations) {
    const std::string path = dir + "/ours-" + std::to_string(k++) + ".gif";
    int width = 0, height = 0;
    for (const AnimationFrame& f : frames) {
      width = std::max(width, f.Left + f.Width);
      height = std::max(height, f.Top + f.Height);
    }
    WriteFileBytes(path, MakeAnimation(width, height, palette, frames));
    ExpectSameAsCoalesce(path, dir);
  }
}
