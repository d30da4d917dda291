// Laying out the strip: tab sizes and overlaps per style, rows and their rotation, the sides
// and sequences, the card and display rectangles, collapsed controls, and a layout that runs
// from a posted call rather than inside painting or hit testing.
#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;

TEST_F(TabTest, GeometryOfASingleRowOnTop) {
  auto* tc = Strip(3);
  EXPECT_EQ(tc->FixedDimension(), 20);
  EXPECT_EQ(tc->RowCount(), 1);
  // The client rectangle is (0, 0, 299, 99); the shadow keeps two pixels on the right.
  EXPECT_EQ(tc->TabArea(), Rect(0, 0, 297, 20));
  // Single slant: neighbours overlap by FixedDimension div 2 - 1.
  EXPECT_EQ(tc->TabClientRect(0), Rect(0, 0, 60, 20));
  EXPECT_EQ(tc->TabClientRect(1), Rect(51, 0, 111, 20));
  EXPECT_EQ(tc->TabClientRect(2), Rect(102, 0, 162, 20));
  EXPECT_EQ(tc->TabShape(1), (std::vector<TPoint>{{51, 20}, {51, 2}, {53, 0}, {91, 0}, {111, 20}}));
  // The card is the client rectangle less one pixel, below the rows; the children get it
  // less the frame and the shadow.
  EXPECT_EQ(tc->CalcPageRect(0), Rect(0, 20, 299, 99));
  EXPECT_EQ(tc->DisplayRect(), Rect(1, 21, 297, 97));
  auto* child = new TPanel(form);
  child->SetParent(tc);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(1, 21, 297, 97));
  // Frame options move the display rectangle.
  tc->SetShowShadow(false);
  tc->UpdateLayout();
  EXPECT_EQ(tc->DisplayRect(), Rect(1, 21, 299, 99));
  EXPECT_EQ(child->BoundsRect(), Rect(1, 21, 299, 99));
  tc->SetShowCardFrame(false);
  EXPECT_EQ(tc->DisplayRect(), Rect(0, 20, 300, 100));
  tc->SetShowCard(false);
  EXPECT_EQ(tc->DisplayRect(), Rect(-2, -2, -1, -1));
  EXPECT_TRUE(IsRectEmpty(tc->CalcPageRect(0)));
}

TEST_F(TabTest, OverlapOfNeighboursPerStyle) {
  struct Case {
    TWkTabStyle style;
    int secondLeft;  // tab 0 spans 0..60
  };
  // Double slant overlaps by FixedDimension - 1; cut and round corners with the default
  // TabOverlap of -1 stand 2 pixels apart.
  for (const Case c : {Case{tsSingleSlant, 51}, Case{tsBackSlant, 51}, Case{tsDoubleSlant, 41},
                       Case{tsCutCorner, 62}, Case{tsRoundCorners, 62}}) {
    auto* tc = Strip(2);
    tc->SetTabStyle(c.style);
    tc->UpdateLayout();
    EXPECT_EQ(tc->Tabs().Items(1)->Rect.Left - tc->Tabs().Items(0)->Rect.Left, c.secondLeft)
        << c.style;
    delete tc;
  }
}

TEST_F(TabTest, MeasuredSizesFollowTheStyleFormulas) {
  // Captions of 4 bytes: 24 x 13 with the fixed metrics; the sample "A" is 6 x 13.
  auto measure = [&](TWkTabStyle style, TOrientation text, int tabHeight) {
    auto* tc = new TWkCustomTabControl(form);
    tc->SetParent(form);
    tc->SetBounds(0, 0, 400, 100);
    tc->SetTabStyle(style);
    tc->SetTextOrientation(text);
    tc->SetTabHeight(tabHeight);
    tc->Tabs().Add()->Caption = "Abcd";
    tc->Tabs().Add()->Caption = "&&";  // one '&': 6 wide, raised to the sample
    tc->UpdateTabData();
    tc->UpdateLayout();
    const TRect r0 = tc->Tabs().Items(0)->Rect, r1 = tc->Tabs().Items(1)->Rect;
    const std::vector<int> got{r0.Width(), r1.Width(), tc->FixedDimension()};
    delete tc;
    return got;
  };
  // content 26 x 13 (ImageMargin 2 counts before the text): single slant 2*(19/2) + 26 + 6.
  EXPECT_EQ(measure(tsSingleSlant, orHorizontal, 0), (std::vector<int>{50, 32, 19}));
  // TabHeight adds half of itself to the slanted length (18 adds 9) and replaces the cross
  // size; the slant still comes from the content.
  EXPECT_EQ(measure(tsSingleSlant, orHorizontal, 18), (std::vector<int>{59, 41, 18}));
  EXPECT_EQ(measure(tsDoubleSlant, orHorizontal, 0), (std::vector<int>{62, 44, 19}));
  EXPECT_EQ(measure(tsCutCorner, orHorizontal, 0), (std::vector<int>{46, 28, 20}));
  // Round corners measure at least the sample "AAA" (18 wide).
  EXPECT_EQ(measure(tsRoundCorners, orHorizontal, 0), (std::vector<int>{42, 34, 19}));
  // Vertical text on top tabs: the caption is 2 + 13 along and 24 across the strip.
  EXPECT_EQ(measure(tsRoundCorners, orVertical, 0), (std::vector<int>{21, 21, 40}));
  EXPECT_EQ(measure(tsCutCorner, orVertical, 0), (std::vector<int>{25, 25, 37}));
}

TEST_F(TabTest, ThreeRowsRotateSoThatTheCurrentRowTouchesTheCard) {
  auto* tc = Strip(9, 200, 150);
  tc->SetMultiLine(true);
  tc->UpdateLayout();
  ASSERT_EQ(tc->RowCount(), 3);
  std::vector<int> rows;
  for (int i = 0; i < 9; ++i) rows.push_back(tc->Tabs().Items(i)->Row);
  EXPECT_EQ(rows, (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2}));
  tc->SetTabIndex(7);
  rows.clear();
  for (int i = 0; i < 9; ++i) rows.push_back(tc->Tabs().Items(i)->Row);
  // Same cyclic order: the row of tab 7 first, then the one that followed it.
  EXPECT_EQ(rows, (std::vector<int>{1, 1, 1, 2, 2, 2, 0, 0, 0}));
  // Rows extent 20 + 15 + 15: row 0 lies next to the card, each further row 15 out and
  // indented by 5.
  EXPECT_EQ(tc->TabClientRect(7), Rect(51, 30, 111, 50));
  EXPECT_EQ(tc->TabClientRect(0), Rect(5, 15, 65, 35));
  EXPECT_EQ(tc->TabClientRect(3), Rect(10, 0, 70, 20));
  // A fresh layout keeps the current tab's row next to the card.
  tc->UpdateTabData();
  tc->UpdateLayout();
  EXPECT_EQ(tc->Tabs().Items(7)->Row, 0);
  // Cards: row 0 under the rows, the further cards staggered toward the strip's start.
  EXPECT_EQ(tc->CalcPageRect(0), Rect(0, 50, 189, 149));
  EXPECT_EQ(tc->CalcPageRect(2), Rect(10, 20, 199, 149));
}

TEST_F(TabTest, AlignedRowsShareTheirFreeLength) {
  auto* tc = Strip(5, 200, 150);
  tc->SetTabWidth(0);  // stretching needs measured lengths
  tc->SetMultiLine(true);
  tc->SetAlignTabs(true);
  tc->UpdateLayout();
  ASSERT_GE(tc->RowCount(), 2);
  // Every row ends at the same place: the available length less the indent of the rows.
  const int rows = tc->RowCount();
  const int end = (200 - 1 - 2) - 5 * (rows - 1);
  for (int r = 0; r < rows; ++r) {
    int last = -1;
    for (int i = 0; i < 5; ++i)
      if (tc->Tabs().Items(i)->Row == r) last = i;
    ASSERT_GE(last, 0);
    EXPECT_EQ(tc->Tabs().Items(last)->Rect.Right, end) << "row " << r;
  }
}

TEST_F(TabTest, SidesAndSequencesPlaceTheFirstTab) {
  auto* tc = Strip(3);
  tc->SetTabSequence(tsReverse);
  tc->UpdateLayout();
  // Reverse: the first tab at the far end, the others toward the start.
  EXPECT_EQ(tc->TabClientRect(0).Right, tc->TabArea().Right);
  EXPECT_LT(tc->TabClientRect(1).Left, tc->TabClientRect(0).Left);

  tc->SetTabSequence(tsStandard);
  tc->SetTabOrientation(toLeft);
  tc->SetTabWidth(24);   // across the strip on the left and right
  tc->SetTabHeight(50);  // along it
  tc->UpdateLayout();
  EXPECT_EQ(tc->FixedDimension(), 24);
  // Left-side tabs run upward from the bottom.
  EXPECT_EQ(tc->TabClientRect(0), Rect(0, 49, 24, 99));
  EXPECT_LT(tc->TabClientRect(1).Top, tc->TabClientRect(0).Top);
  EXPECT_EQ(tc->DisplayRect(), Rect(25, 1, 299, 99));

  tc->SetTabOrientation(toRight);
  tc->UpdateLayout();
  // Right-side tabs run downward from the top.
  EXPECT_EQ(tc->TabClientRect(0), Rect(275, 0, 299, 50));
  tc->SetTabOrientation(toBottom);
  tc->SetTabWidth(60);
  tc->SetTabHeight(20);
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabClientRect(0), Rect(0, 79, 60, 99));
  EXPECT_EQ(tc->TabShape(0).front(), Point(0, 79));  // the base touches the card
}

TEST_F(TabTest, CollapsedControlClampsItsLengthsAndRows) {
  auto* tc = Strip(5, 70, 100);
  tc->SetMultiLine(true);
  tc->UpdateLayout();
  EXPECT_EQ(tc->RowCount(), 5);  // one tab a row, never more rows than tabs
  tc->SetWidth(0);               // nothing left of the strip: still a layout, and an end to it
  tc->UpdateLayout();
  EXPECT_GE(tc->RowCount(), 1);
  EXPECT_LE(tc->RowCount(), 5);
  tc->SetMultiLine(false);
  tc->UpdateLayout();
  EXPECT_EQ(tc->RowCount(), 1);
  EXPECT_GE(tc->FirstTab(), 0);
  tc->SetWidth(1);
  tc->UpdateLayout();
  EXPECT_NO_THROW(tc->PaintOffscreen());
}

TEST_F(TabTest, LayoutRunsFromAPostedCallNotInsideHitTesting) {
  auto* tc = Strip(2);
  EXPECT_FALSE(tc->LayoutDirty());
  tc->Tabs().Add()->Caption = "T2";
  tc->UpdateTabData();
  EXPECT_TRUE(tc->LayoutDirty());
  // Hit testing uses the layout that exists: the new tab is not there yet.
  EXPECT_EQ(tc->TabAtPos(130, 10), -1);
  EXPECT_TRUE(tc->LayoutDirty());
  ProcessEvents();
  EXPECT_FALSE(tc->LayoutDirty());
  EXPECT_EQ(tc->TabAtPos(130, 10), 2);
  // A paint with a dirty layout lays out first.
  tc->SetMargin(10);
  tc->PaintOffscreen();
  EXPECT_FALSE(tc->LayoutDirty());
  EXPECT_EQ(tc->TabClientRect(0).Left, 10);
  // A stored FixedDimension holds until the next layout measures it again.
  tc->SetFixedDimension(33);
  EXPECT_EQ(tc->FixedDimension(), 33);
  tc->UpdateTabData();
  tc->UpdateLayout();
  EXPECT_EQ(tc->FixedDimension(), 20);
  // Sized by its parent's alignment, the control lays out again too.
  auto* host = new TPanel(form);
  host->SetParent(form);
  host->SetBounds(0, 150, 300, 120);
  tc->SetParent(host);
  tc->SetAlign(alClient);
  tc->UpdateLayout();
  host->SetWidth(200);
  EXPECT_TRUE(tc->LayoutDirty());
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabArea().Right, tc->Width() - 1 - 2);
}

TEST_F(TabTest, ShadowAndFullFrameAreCoupled) {
  auto* tc = Strip(1);
  tc->SetShowFullFrame(false);
  EXPECT_FALSE(tc->ShowShadow());
  tc->SetShowShadow(true);
  EXPECT_TRUE(tc->ShowFullFrame());
  // Negative sizes are ignored; a bad region capacity too.
  tc->SetTabWidth(-4);
  tc->SetMargin(-1);
  tc->SetCutCornerSize(-2);
  tc->SetRegionCacheCapacity(0);
  EXPECT_EQ(tc->TabWidth(), 60);
  EXPECT_EQ(tc->Margin(), 0);
  EXPECT_EQ(tc->CutCornerSize(), 6);
  EXPECT_EQ(tc->RegionCacheCapacity(), 1);
  tc->SetRegionCacheCapacity(-1);
  EXPECT_EQ(tc->RegionCacheCapacity(), -1);
}

TEST_F(TabTest, AHugeCaptionIsCutToTheStripAndEmptyCaptionsMeasureTheSample) {
  auto* tc = Strip(0);
  tc->SetTabWidth(0);
  tc->SetTabHeight(0);
  tc->Tabs().Add()->Caption = std::string(20000, 'W');
  tc->Tabs().Add()->Caption = "";
  tc->SetMultiLine(true);
  tc->UpdateTabData();
  tc->UpdateLayout();
  // Alone in its row, no longer than the row.
  EXPECT_EQ(tc->RowCount(), 2);
  EXPECT_LE(tc->Tabs().Items(0)->Rect.Width(), tc->StripLength());
  // An empty caption: 2 (image margin) raised to the sample's 6, plus the single slant's sides.
  EXPECT_EQ(tc->Tabs().Items(1)->Rect.Width(), 2 * (19 / 2) + 6 + 6);
  EXPECT_NO_THROW(tc->PaintOffscreen());
}

TEST_F(TabTest, WithoutTheCardTheRowsLieBesideTheStripButtonsAtTheFarEdge) {
  auto* tc = Strip(3);
  tc->SetShowMenuButton(true);
  tc->SetShowCard(false);
  tc->UpdateLayout();
  // The tab area is the whole height less 1; row 0 lies FixedDimension inside its far edge.
  EXPECT_EQ(tc->TabArea(), Rect(0, 0, 297, 99));
  EXPECT_EQ(tc->TabClientRect(0), Rect(0, 79, 60, 99));
  EXPECT_EQ(tc->MenuButton()->BoundsRect(), Rect(278, 79, 296, 97));
  EXPECT_EQ(tc->TabAtPos(30, 10), -1);
  EXPECT_EQ(tc->TabAtPos(30, 90), 0);
  // Left-side tabs take the whole width: their base on the right edge.
  tc->SetTabOrientation(toLeft);
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabClientRect(0), Rect(239, 79, 299, 99));
}

TEST_F(TabTest, ACollapsedReversedStripReportsItsTabsHiddenAndShowsTheScroller) {
  // Tabs clamped to a pixel, shorter than their slanted sides: shifted by the absolute end of
  // the placement they stand beyond the strip, none wholly shown.
  auto* tc = Strip(3, 35, 14);
  tc->SetTabHeight(18);
  tc->SetTabStyle(tsDoubleSlant);
  tc->SetTabSequence(tsReverse);
  tc->SetShowMenuButton(true);
  tc->UpdateLayout();
  EXPECT_EQ(tc->ButtonSize(), 17);
  ASSERT_TRUE(tc->ScrollerNeeded());
  ASSERT_NE(tc->Scroller(), nullptr);
  EXPECT_EQ(tc->Scroller()->BoundsRect(), Rect(19, -1, 52, 16));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(tc->TabWhollyShown(i)) << i;
  for (int x = 0; x < 35; ++x) EXPECT_EQ(tc->TabAtPos(x, 10), -1) << x;
  EXPECT_NO_THROW(tc->PaintOffscreen());
}
