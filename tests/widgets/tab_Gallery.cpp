// A picture of a page control in every tab style and on every side, with a hot tab, a
// disabled tab, coloured tabs and the strip buttons, saved for looking at.
#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;

TEST_F(TabTest, GalleryOfStylesAndSides) {
  recorder.reset();  // real fonts for the picture
  form->SetClientSize(4 * 230 + 10, 5 * 130 + 10);
  const TWkTabStyle styles[] = {tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners, tsBackSlant};
  const TWkTabOrientation sides[] = {toTop, toLeft, toBottom, toRight};
  int k = 0;
  for (int s = 0; s < 5; ++s) {
    for (int o = 0; o < 4; ++o, ++k) {
      auto* pc = new TWkPageControl(form);
      pc->SetParent(form);
      pc->SetBounds(5 + o * 230, 5 + s * 130, 220, 120);
      pc->SetTabStyle(styles[s]);
      pc->SetTabOrientation(sides[o]);
      if (o % 2 == 1) pc->SetTextOrientation(orVertical);
      const char* names[] = {"&File", "Edit", "View", "Tools", "Help", "Window"};
      for (int i = 0; i < 6; ++i) {
        auto* sheet = new TWkTabSheet(form);
        sheet->SetCaption(names[i]);
        sheet->SetPageControl(pc);
        if (i == 2) sheet->SetTabEnabled(false);
        if (s == 2 && i == 1) sheet->SetColor(RGB(200, 230, 255));
      }
      pc->SetShowCloseButton(k % 3 != 2);
      pc->SetShowMenuButton(k % 2 == 0);
      pc->SetActivePageIndex(1);
      pc->UpdateLayout();
      // Hover over the fourth tab when it shows.
      const TRect hot = pc->TabClientRect(3);
      if (pc->TabWhollyShown(3)) pc->MouseMove(0, (hot.Left + hot.Right) / 2, (hot.Top + hot.Bottom) / 2);
    }
  }
  form->Show();
  ProcessEvents();
  const std::string path = SaveScreenshot(form, "tab_gallery");
  EXPECT_FALSE(path.empty());
}
