// A picture of a page control in every tab style and on every side, with a hot tab, a
// disabled tab, coloured tabs and the strip buttons, saved for looking at.
#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;

TEST_F(TabTest, GalleryOfStylesAndSides) {
  recorder.reset();  // real fonts for the picture
  form->SetClientSize(4 * 310 + 10, 5 * 180 + 10);
  const TWkTabStyle styles[] = {tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners,
                                tsBackSlant};
  const TWkTabOrientation sides[] = {toTop, toLeft, toBottom, toRight};
  int k = 0;
  for (int s = 0; s < 5; ++s) {
    for (int o = 0; o < 4; ++o, ++k) {
      auto* pc = new TWkPageControl(form);
      pc->SetParent(form);
      pc->SetBounds(5 + o * 310, 5 + s * 180, 300, 170);
      pc->SetTabStyle(styles[s]);
      pc->SetTabOrientation(sides[o]);
      if (o % 2 == 1) pc->SetTextOrientation(orVertical);
      const char* names[] = {"&File", "Edit", "View", "Tools", "Help", "Window"};
      for (int i = 0; i < 6; ++i) {
        auto* sheet = new TWkTabSheet(form);
        sheet->SetCaption(names[i]);
        sheet->SetPageControl(pc);
        if (i == 2) sheet->SetTabEnabled(false);
        // Coloured tabs on the cut-corner and back-slant rows.
        if (s == 2 || s == 4)
          sheet->SetColor(i % 3 == 0   ? RGB(200, 230, 255)
                          : i % 3 == 1 ? RGB(255, 225, 190)
                                       : clWhite);
      }
      pc->SetShowCloseButton(k % 3 != 2);
      pc->SetShowMenuButton(k % 2 == 0);
      pc->SetActivePageIndex(1);
      pc->UpdateLayout();
      // The pointer over the first tab.
      const TRect hot = pc->TabClientRect(0);
      pc->MouseMove(0, (hot.Left + hot.Right) / 2, (hot.Top + hot.Bottom) / 2);
      EXPECT_EQ(pc->HotTab(), 0);
    }
  }
  form->Show();
  ProcessEvents();
  const std::string path = SaveScreenshot(form, "tab_gallery");
  EXPECT_FALSE(path.empty());
}

TEST_F(TabTest, GalleryOfRowsAndSequences) {
  recorder.reset();
  form->SetClientSize(3 * 310 + 10, 200);
  auto make = [&](int column, bool multiLine, TWkTabSequence sequence, TWkTabOrientation side) {
    auto* pc = new TWkPageControl(form);
    pc->SetParent(form);
    pc->SetBounds(5 + column * 310, 5, 300, 190);
    pc->SetMultiLine(multiLine);
    pc->SetTabSequence(sequence);
    pc->SetTabOrientation(side);
    pc->SetShowMenuButton(true);
    for (int i = 0; i < 9; ++i) {
      auto* sheet = new TWkTabSheet(form);
      sheet->SetCaption("Page " + std::to_string(i));
      sheet->SetPageControl(pc);
    }
    pc->SetActivePageIndex(4);
    pc->UpdateLayout();
    return pc;
  };
  EXPECT_GT(make(0, true, tsStandard, toTop)->RowCount(), 1);
  EXPECT_TRUE(make(1, false, tsReverse, toTop)->ScrollerNeeded());
  EXPECT_GT(make(2, true, tsReverse, toBottom)->RowCount(), 1);
  ProcessEvents();
  EXPECT_FALSE(SaveScreenshot(form, "tab_gallery_rows").empty());
}
