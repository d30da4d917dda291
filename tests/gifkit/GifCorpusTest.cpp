// Real files against giflib: Debian's Apache icons and animations made here with ImageMagick
// and giflib's own tools decode to the same indices frame by frame; our encoder's output
// decodes to the same pixels in giflib; files we wrote come back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "GifTestCorpus.h"
#include "GifTestSupport.h"
#include "gifkit/GifStream.h"
#include "platform/Exceptions.h"

namespace fs = std::filesystem;

namespace {

const char* kIconDir = "/usr/share/apache2/icons";

std::vector<std::string> IconFiles() {
  std::vector<std::string> files;
  if (!fs::exists(kIconDir)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(kIconDir)) {
    if (entry.path().extension() == ".gif") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Compares every frame of the bytes as read by us with giflib's reading.
void ExpectSameAsGiflib(const std::string& bytes, const std::string& name) {
  const ReferenceGif ref = DecodeWithGiflib(bytes);
  ASSERT_TRUE(ref.Ok) << name << ": " << ref.Error;
  TGIFImageCore image;
  ASSERT_NO_THROW(image.ReadGifBytes(bytes, false)) << name;
  ASSERT_EQ(image.Count(), static_cast<int>(ref.Frames.size())) << name;
  for (int i = 0; i < image.Count(); ++i) {
    TGIFFrameCore& frame = *image.FrameAt(i);
    const ReferenceFrame& expected = ref.Frames[i];
    EXPECT_EQ(frame.Left, expected.Left) << name << " frame " << i;
    EXPECT_EQ(frame.Top, expected.Top) << name << " frame " << i;
    EXPECT_EQ(frame.Interlaced, expected.Interlaced) << name << " frame " << i;
    const TGIFIndexImage pixels = frame.DecodeIndices();
    EXPECT_FALSE(frame.Corrupt) << name << " frame " << i;
    EXPECT_EQ(static_cast<int>(pixels.Width), expected.Width) << name << " frame " << i;
    EXPECT_EQ(static_cast<int>(pixels.Height), expected.Height) << name << " frame " << i;
    EXPECT_TRUE(pixels.Pixels == expected.Pixels) << name << " frame " << i << " pixels differ";
    std::vector<std::uint32_t> colors;
    for (std::uint32_t c = 0; c < frame.Item->ColorTable.Count(); ++c) {
      colors.push_back(frame.Item->ColorTable.Color(c));
    }
    EXPECT_EQ(colors, expected.Colors) << name << " frame " << i;
    if (expected.TransparentIndex >= 0) {
      EXPECT_EQ(frame.TransparentIndex(), expected.TransparentIndex) << name << " frame " << i;
      EXPECT_EQ(frame.TransparentColor(), expected.Colors.at(expected.TransparentIndex)) << name;
    } else {
      EXPECT_EQ(frame.TransparentColor(), kGifNoColor) << name << " frame " << i;
    }
    if (expected.DelayHundredths >= 0) {
      EXPECT_EQ(frame.Delay(), std::min(65535, expected.DelayHundredths * 10)) << name;
      EXPECT_EQ(frame.Disposal, expected.Disposal) << name << " frame " << i;
    }
  }
}

// read -> write -> read -> write: the second writing equals the first, and the frames keep
// their encoded data byte for byte.
void ExpectStableRoundTrip(const std::string& bytes, const std::string& name) {
  TGIFImageCore first;
  first.ReadGifBytes(bytes, false);
  const std::string written = first.WriteGifBytes();
  TGIFImageCore second;
  second.ReadGifBytes(written, false);
  ASSERT_EQ(second.Count(), first.Count()) << name;
  for (int i = 0; i < first.Count(); ++i) {
    EXPECT_TRUE(first.FrameAt(i)->Item->Data == second.FrameAt(i)->Item->Data)
        << name << " frame " << i;
  }
  EXPECT_TRUE(second.WriteGifBytes() == written) << name << ": second writing differs";
  ExpectSameAsGiflib(written, name + " (written)");
}

// Every frame re-encoded by our encoder into a new image: giflib sees the same indices.
void ExpectOwnEncodingDecodesInGiflib(const std::string& bytes, const std::string& name) {
  TGIFImageCore source;
  source.ReadGifBytes(bytes, false);
  TGIFImageCore encoded;
  std::vector<TGifIndices> expected;
  for (int i = 0; i < source.Count(); ++i) {
    TGIFIndexImage pixels = source.FrameAt(i)->DecodeIndices();
    TGIFFrameCore& frame = encoded.AppendFrame();
    frame.Left = source.FrameAt(i)->Left;
    frame.Top = source.FrameAt(i)->Top;
    frame.SetDelay(source.FrameAt(i)->Delay());
    frame.EncodeIndices(pixels);
    expected.push_back(pixels.Pixels);
  }
  const std::string written = encoded.WriteGifBytes();
  const ReferenceGif ref = DecodeWithGiflib(written);
  ASSERT_TRUE(ref.Ok) << name << ": " << ref.Error;
  ASSERT_EQ(ref.Frames.size(), expected.size()) << name;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(ref.Frames[i].Pixels == expected[i]) << name << " frame " << i << " re-encoded";
  }
  ExpectStableRoundTrip(written, name + " (re-encoded)");
}

}  // namespace

TEST(GifCorpus, ApacheIconsMatchGiflib) {
  const auto files = IconFiles();
  ASSERT_GE(files.size(), 100u) << "apache2-data's icons are missing";
  for (const auto& path : files) {
    const std::string bytes = ReadFileBytes(path);
    ExpectSameAsGiflib(bytes, path);
    ExpectStableRoundTrip(bytes, path);
    ExpectOwnEncodingDecodesInGiflib(bytes, path);
  }
}

TEST(GifCorpus, GeneratedAnimationsMatchGiflib) {
  GeneratedGifs generated;
  int frames = 0;
  for (const auto& path : generated.Files()) {
    const std::string bytes = ReadFileBytes(path);
    ExpectSameAsGiflib(bytes, path);
    ExpectStableRoundTrip(bytes, path);
    ExpectOwnEncodingDecodesInGiflib(bytes, path);
    TGIFImageCore image;
    image.ReadGifBytes(bytes, false);
    frames += image.Count();
  }
  EXPECT_GE(frames, 20);
}
