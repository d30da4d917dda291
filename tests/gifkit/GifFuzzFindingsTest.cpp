// Inputs the reader's fuzz target found faults with, kept so that they stay mended. The faults
// were undefined behaviour that only the sanitizers show, so these tests matter most in the
// sanitizer run; they also check the pixels against giflib where giflib reads the file.
#include <gtest/gtest.h>

#include "GifTestCorpus.h"
#include "GifTestSupport.h"
#include "gifkit/GifStream.h"
#include "platform/Exceptions.h"

TEST(GifFuzzFindings, DecodeCleanlyAndMatchGiflib) {
  for (const NamedGif& f : FuzzFindingGifs()) {
    const ReferenceGif ref = DecodeWithGiflib(f.Bytes);
    TGIFImageCore image;
    image.ReadGifBytes(f.Bytes, false);
    if (ref.Ok) {
      ASSERT_EQ(image.Count(), static_cast<int>(ref.Frames.size())) << f.Name;
    }
    for (int i = 0; i < image.Count(); ++i) {
      TGIFIndexImage pixels;
      try {
        pixels = image.FrameAt(i)->DecodeIndices();
      } catch (const Exception& e) {
        EXPECT_FALSE(ref.Ok) << f.Name << ": " << e.Message();
        continue;
      }
      if (ref.Ok) {
        EXPECT_EQ(pixels.Pixels, ref.Frames[i].Pixels) << f.Name;
      }
    }
    TGIFImageCore again;
    again.ReadGifBytes(image.WriteGifBytes(), false);
    EXPECT_EQ(again.Count(), image.Count()) << f.Name;
  }
}
