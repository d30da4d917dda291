#include <gtest/gtest.h>

#include "platform/gui/Themes.h"

TEST(ThemeServices, ReportThemesOffDrawNothingAndCanBeReplaced) {
  EXPECT_FALSE(ThemeServices().ThemesEnabled());
  TBitmap bitmap(4, 4);
  bitmap.Canvas().Brush().SetColor(clLime);
  bitmap.Canvas().FillRect(Rect(0, 0, 4, 4));
  ThemeServices().DrawElement(bitmap.Canvas(), TThemedElement::StatusPane, 0, Rect(0, 0, 4, 4));
  EXPECT_EQ(bitmap.PixelColor(1, 1), clLime);

  struct On : TThemeServices {
    bool ThemesEnabled() const override { return true; }
  };
  auto old = SetThemeServices(std::make_unique<On>());
  EXPECT_TRUE(ThemeServices().ThemesEnabled());
  SetThemeServices(nullptr);
  EXPECT_FALSE(ThemeServices().ThemesEnabled());
}
