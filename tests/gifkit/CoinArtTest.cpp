// Our coin drawings: the files kept in the tree are what the generator draws now, and the
// spinning coin's width follows its turn.
#include <gtest/gtest.h>

#include <cmath>

#include "GifTestSupport.h"
#include "gifkit/GifCompose.h"
#include "tools/coins/CoinArt.h"

TEST(CoinArt, TheKeptPicturesAreTheGeneratorsOwn) {
  const TCoinArt coin;
  const std::string dir = std::string(ZELKAR_SOURCE_DIR) + "/workbench/coins/";
  EXPECT_TRUE(ReadFileBytes(dir + "coin_spin.gif") == SpinningCoinGif(coin))
      << "run gen_coin_gifs workbench/coins";
  EXPECT_TRUE(ReadFileBytes(dir + "coin_still.gif") == StillCoinGif(coin));
}

TEST(CoinArt, TheSpinningCoinNarrowsWithItsTurnAndShowsFaceAndBack) {
  TCoinArt art;
  art.Size = 200;  // the size of a larger animation, as the generator allows
  art.Frames = 8;
  TGIFImageCore image;
  image.ReadGifBytes(SpinningCoinGif(art), false);
  image.FrameIndex = 0;
  ASSERT_EQ(image.Count(), 8);
  EXPECT_EQ(image.ScreenWidth, 200);
  TGifComposer composer;
  std::vector<int> widths;
  for (int n = 0; n < 8; ++n) {
    EXPECT_EQ(image.FrameAt(n)->Delay(), art.DelayMs);
    const TComposedFrame& f = composer.Compose(image, n, 0);
    int left = f.Width, right = -1;
    const int y = f.Height / 2 + 40;  // below the hole
    for (int x = 0; x < f.Width; ++x) {
      if (f.Pixels[y * f.Width + x] >> 24) left = std::min(left, x), right = std::max(right, x);
    }
    widths.push_back(right - left + 1);
    // The square hole is see-through in every frame that shows a side.
    if (std::abs(std::cos(2 * 3.14159265 * n / 8)) > 0.5) {
      EXPECT_EQ(f.Pixels[(f.Height / 2) * f.Width + f.Width / 2] >> 24, 0u) << n;
    }
  }
  for (int n = 0; n < 8; ++n) {
    const double expected = 182 * std::max(std::abs(std::cos(2 * 3.14159265 * n / 8)), 0.08);
    EXPECT_NEAR(widths[n], expected, 6) << n;
  }
  // Face at frame 0 and back at frame 4 differ.
  TGifComposer a, b;
  EXPECT_NE(a.Compose(image, 0, 0).Pixels, b.Compose(image, 4, 0).Pixels);
}
