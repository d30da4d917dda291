// Panel, group box and spacer: client rectangles, border pixels, caption placement (through
// the recording canvas with fixed metrics: 6 pixels a byte, 12 a line) and child states.
#include "tests/support/GuiTest.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkPanel.h"

using namespace wktest;

namespace {

class PanelTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(300, 200);
    panel = new TWkPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 40);
    child = new TWkPanel(form);
    child->SetParent(panel);
    child->SetAlign(alClient);
  }
  TBitmap& Picture() { return panel->PaintOffscreen(); }
  TWkPanel* panel = nullptr;
  TWkPanel* child = nullptr;
};

// The DrawText records of real text (not measuring) in paint order.
std::vector<TTextRecord> Drawn(const TTextRecorder& rec) {
  std::vector<TTextRecord> out;
  for (const TTextRecord& r : rec.Records())
    if (r.Call == TTextCall::DrawText) out.push_back(r);
  return out;
}

}  // namespace

TEST_F(PanelTest, ChildrenSitInsideTheBordersOfTheBorderedSides) {
  EXPECT_EQ(child->BoundsRect(), Rect(2, 2, 98, 38));  // raised outer border, 2 pixels
  panel->SetBorderOuter(fsNone);
  EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 100, 40));  // flush without borders or band
  panel->SetBorderOuter(fsPopup);
  panel->SetBevelWidth(3);
  EXPECT_EQ(child->BoundsRect(), Rect(3, 3, 97, 37));
  panel->SetBorderSides(SideSet({sdLeft, sdBottom}));
  panel->SetBorderInner(fsFlat);
  panel->SetBorderWidth(2);  // the band goes round on every side
  EXPECT_EQ(child->BoundsRect(), Rect(6, 2, 98, 34));
  TRect r = Rect(0, 0, 100, 40);
  panel->AdjustRectForBorders(r, true);
  EXPECT_EQ(r, Rect(6, 2, 98, 34));
}

TEST_F(PanelTest, BordersBandAndFillPaintInOrder) {
  child->SetVisible(false);
  panel->SetColor(kMarker);
  panel->SetBorderInner(fsLowered);
  panel->SetBorderWidth(1);
  panel->SetBorderColor(clYellow);
  TBitmap& pic = Picture();
  EXPECT_TRUE(PixelsAre(pic, {{0, 0, cl3DLight},
                              {99, 39, cl3DDkShadow},
                              {1, 1, clBtnHighlight},
                              {98, 38, clBtnShadow},
                              {2, 2, clYellow},
                              {3, 3, clBtnShadow},
                              {4, 4, cl3DDkShadow},
                              {95, 35, cl3DLight},
                              {5, 5, kMarker}}));
  panel->SetBorderOuter(fsFlat);  // flat colour lightened by the default 30
  EXPECT_TRUE(PixelsAre(Picture(), {{0, 0, LighterColor(clBtnShadow, 30)}, {1, 1, clYellow}}));
  panel->SetVisualStyle(vsGradient);  // the flat colour now comes from the gradient scheme
  panel->SetGradientColorStyle(gcsCustom);
  panel->SetGradientColorStart(clBlack);
  panel->SetGradientColorStop(clRed);
  TBitmap& g = Picture();
  EXPECT_EQ(g.PixelColor(0, 0), ColorToRGB(LighterColor(clBtnShadow, 30)));
  EXPECT_EQ(g.PixelColor(50, 35), clRed);  // the inner rectangle's last row: the stop colour
  EXPECT_NE(g.PixelColor(50, 4), clRed);
  panel->SetGradientColorStyle(gcsSystem);
  EXPECT_EQ(Picture().PixelColor(0, 0), ColorToRGB(GetFlatFrameColor(gcsSystem)));
}

TEST_F(PanelTest, CaptionIsPlacedByTheVerticalAlignmentAndMargins) {
  TTextRecorder rec(6, 12);
  child->SetVisible(false);
  panel->SetBorderOuter(fsNone);
  panel->SetCaption("Abc");
  Picture();
  auto drawn = Drawn(rec);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].Rect, Rect(0, 14, 100, 26));
  EXPECT_EQ(drawn[0].Flags & (DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS),
            DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
  EXPECT_EQ(drawn[0].Lines.at(0).X, 41);  // centred: (100 - 18) / 2

  rec.Clear();
  panel->SetAlignmentVertical(avBottom);
  panel->SetAlignment(taRightJustify);
  panel->SetTextMargin(5);
  panel->SetTextMarginVertical(2);
  Picture();
  drawn = Drawn(rec);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].Rect, Rect(5, 25, 95, 38));  // top = 38 - 12 - 1
  EXPECT_EQ(drawn[0].Lines.at(0).X, 95 - 18);

  rec.Clear();
  panel->SetAlignmentVertical(avTop);
  panel->SetEnabled(false);  // embossed: highlight one pixel down-right, then shadow
  Picture();
  drawn = Drawn(rec);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Rect, Rect(6, 3, 96, 15));
  EXPECT_EQ(drawn[0].FontColor, clBtnHighlight);
  EXPECT_EQ(drawn[1].Rect, Rect(5, 2, 95, 14));
  EXPECT_EQ(drawn[1].FontColor, clBtnShadow);
}

TEST_F(PanelTest, AWrappedCaptionTallerThanThePanelKeepsItsComputedTop) {
  TTextRecorder rec(6, 12);
  child->SetVisible(false);
  panel->SetBorderOuter(fsNone);
  panel->SetBounds(10, 10, 60, 20);
  panel->SetCaption("one two three four five");  // 3 lines of 12 in 60 pixels
  Picture();
  const auto drawn = Drawn(rec);
  ASSERT_EQ(drawn.size(), 1u);
  // (0 + 20 - 36) / 2 truncates to -8; the bottom stays the panel's.
  EXPECT_EQ(drawn[0].Rect, Rect(0, -8, 60, 20));
  ASSERT_GE(drawn[0].Lines.size(), 2u);
  EXPECT_EQ(drawn[0].Lines[0].Y, -8);  // not re-centred by the text drawing
}

TEST_F(PanelTest, GridDotsAndLinesSitOnePixelBeforeEachMultiple) {
  child->SetVisible(false);
  panel->SetBorderOuter(fsNone);
  panel->SetColor(kMarker);
  panel->SetShowGrid(true);
  panel->SetGridColor(clRed);
  EXPECT_TRUE(
      PixelsAre(Picture(), {{7, 7, clRed}, {15, 7, clRed}, {8, 7, kMarker}, {7, 8, kMarker}}));
  panel->SetGridXSize(0);  // no columns: no dots at all
  TBitmap& none = Picture();
  int red = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) red += none.PixelColor(x, y) == clRed;
  EXPECT_EQ(red, 0);
  panel->SetGridStyle(gsSolidLines);  // horizontal lines remain
  EXPECT_TRUE(PixelsAre(Picture(), {{0, 7, clRed}, {99, 15, clRed}, {0, 8, kMarker}}));
  panel->SetGridXSize(10);
  panel->SetGridStyle(gsDottedLines);
  EXPECT_TRUE(
      PixelsAre(Picture(), {{9, 1, clRed}, {9, 2, kMarker}, {1, 7, clRed}, {2, 7, kMarker}}));
}

TEST_F(PanelTest, DisablingRemembersChildStatesAndEnablingRestoresThem) {
  auto* off = new TWkPanel(form);
  off->SetParent(panel);
  off->SetEnabled(false);
  panel->SetEnabled(false);
  EXPECT_FALSE(child->Enabled());
  ASSERT_EQ(panel->EnabledStates().size(), 2u);
  auto* late = new TWkPanel(form);  // no record: enabled again
  late->SetParent(panel);
  late->SetEnabled(false);
  panel->SetEnabled(true);
  EXPECT_TRUE(child->Enabled());
  EXPECT_FALSE(off->Enabled());
  EXPECT_TRUE(late->Enabled());
  EXPECT_TRUE(panel->EnabledStates().empty());
}

TEST_F(PanelTest, BottomAlignedPanelKeepsItsBottomEdgeAndTransparentShowsTheParent) {
  TWkPanel loose(nullptr);
  loose.SetBounds(0, 100, 50, 30);
  loose.SetAlign(alBottom);
  loose.SetHeight(40);
  EXPECT_EQ(loose.Top(), 90);
  loose.SetAlign(alRight);
  loose.SetWidth(70);
  EXPECT_EQ(loose.Left(), -20);

  panel->SetBorderOuter(fsNone);
  panel->SetColor(clYellow);
  child->SetAlign(alNone);
  child->SetBounds(10, 10, 20, 20);
  child->SetBorderOuter(fsNone);
  child->SetColor(clBlue);
  child->SetTransparent(true);
  EXPECT_EQ(child->PaintOffscreen().PixelColor(5, 5), clYellow);
  child->SetTransparent(false);
  EXPECT_EQ(child->PaintOffscreen().PixelColor(5, 5), clBlue);
}

TEST_F(PanelTest, FrameControllerSetsBordersFlatColourAndColours) {
  auto* controller = new TWkFrameController(form);
  controller->SetFrameStyle(fsGroove);
  controller->SetFrameColor(clRed);
  controller->SetFrameSides(SideSet({sdTop}));
  panel->SetFrameControllerNotifications(AllFrameControllerNotifications & ~(1u << fcpFrameSides));
  panel->SetFrameController(controller);
  EXPECT_EQ(panel->BorderOuter(), fsGroove);
  EXPECT_EQ(panel->BorderSides(), AllSides);
  EXPECT_EQ(panel->FlatColor(), clRed);
  EXPECT_EQ(panel->FlatColorAdjustment(), 0);
  controller->SetColor(clAqua);
  EXPECT_EQ(panel->Color(), clAqua);
  EXPECT_EQ(panel->BorderHighlight(), LighterColor(clAqua, 100));
  EXPECT_EQ(panel->BorderShadow(), DarkerColor(clAqua, 50));
  delete controller;
  EXPECT_EQ(panel->FrameController(), nullptr);
}

// --- group box -------------------------------------------------------------------------------

class GroupBoxTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    rec = std::make_unique<TTextRecorder>(6, 12);
    box = new TWkGroupBox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 120, 60);
    child = new TWkPanel(form);
    child->SetParent(box);
    child->SetAlign(alClient);
  }
  void TearDown() override {
    WindowTest::TearDown();
    rec.reset();
  }
  std::unique_ptr<TTextRecorder> rec;
  TWkGroupBox* box = nullptr;
  TWkPanel* child = nullptr;
};

TEST_F(GroupBoxTest, ClientAreaLeavesRoomForTheCaptionByStyle) {
  EXPECT_EQ(box->Height(), 60);
  box->SetGroupStyle(gsStandard);  // 12 for the caption band, then 2 on every side
  EXPECT_EQ(child->BoundsRect(), Rect(2, 14, 118, 58));
  box->SetGroupStyle(gsFlat);
  EXPECT_EQ(child->BoundsRect(), Rect(1, 13, 119, 59));
  box->SetBorderWidth(6);  // h = 12 / 2 - 1 = 5 is below the band: only 5 more
  EXPECT_EQ(child->BoundsRect(), Rect(7, 12, 113, 53));
  box->SetBorderWidth(0);
  box->SetGroupStyle(gsCustom);  // no caption: the top does not move
  EXPECT_EQ(child->BoundsRect(), Rect(2, 2, 118, 58));
  box->SetCaption("添加");
  box->Realign();
  EXPECT_EQ(child->BoundsRect(), Rect(2, 14, 118, 58));
  box->SetGroupStyle(gsTopLine);
  EXPECT_EQ(child->Top(), 12);
  box->SetGroupStyle(gsBanner);
  EXPECT_EQ(child->Top(), 20);
  box->SetGroupStyle(gsUnderline);
  EXPECT_EQ(child->Top(), 16);
}

TEST_F(GroupBoxTest, FlatAndStandardFramesRunThroughTheCaptionsMiddle) {
  child->SetVisible(false);
  box->SetColor(kMarker);
  box->SetCaption("&Ab");  // the accelerator mark takes no room: caption box 8..20
  box->PaintOffscreen();
  EXPECT_EQ(box->CaptionRect(), Rect(8, 0, 20, 12));
  const auto texts = rec->Find("&Ab");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().Rect, Rect(8, 0, 20, 12));
  EXPECT_NE(texts.back().Flags & DT_SINGLELINE, 0u);
  box->SetCaption("&  ");  // blanks: the caption box shows no glyph pixels
  const TColor fc = AdjustColor(clBtnShadow, 30);
  TBitmap& flat = box->PaintOffscreen();
  // F = (0, 5, 120, 60): cut corners, pixel inside each corner.
  EXPECT_TRUE(PixelsAre(flat, {{0, 7, fc},
                               {0, 6, kMarker},
                               {1, 6, fc},
                               {2, 5, fc},
                               {25, 5, fc},
                               {119, 7, fc},
                               {118, 58, fc},
                               {60, 59, fc},
                               {10, 5, kMarker}}));

  box->SetGroupStyle(gsStandard);  // groove, with the caption box filled over it
  TBitmap& groove = box->PaintOffscreen();
  EXPECT_TRUE(PixelsAre(groove, {{0, 5, clBtnShadow},
                                 {1, 6, clBtnHighlight},
                                 {7, 5, clBtnShadow},
                                 {9, 5, kMarker},
                                 {119, 59, clBtnHighlight}}));
  box->SetBorderOuter(fsFlat);
  EXPECT_TRUE(PixelsAre(box->PaintOffscreen(), {{0, 5, fc}, {119, 59, fc}, {1, 6, kMarker}}));
}

TEST_F(GroupBoxTest, BannerUnderlineAndTopLineStyles) {
  child->SetVisible(false);
  box->SetColor(kMarker);
  box->SetCaption("Ab");
  box->SetGroupStyle(gsUnderline);  // caption box (0, 0, 120, 14): line under it
  const TColor fc = AdjustColor(clBtnShadow, 30);
  EXPECT_TRUE(PixelsAre(box->PaintOffscreen(), {{0, 14, fc}, {119, 14, fc}, {0, 15, kMarker}}));
  box->SetGroupStyle(gsTopLine);
  box->SetBorderOuter(fsFlatBold);
  EXPECT_TRUE(PixelsAre(box->PaintOffscreen(),
                        {{20, 5, fc}, {117, 6, fc}, {118, 5, kMarker}, {20, 7, kMarker}}));
  box->SetGroupStyle(gsBanner);  // (0, 0, 120, 18) framed with cut corners, gradient inside
  box->SetGradientColorStyle(gcsCustom);
  box->SetGradientColorStart(clWhite);
  box->SetGradientColorStop(clNavy);
  TBitmap& banner = box->PaintOffscreen();
  EXPECT_TRUE(PixelsAre(banner, {{0, 0, kMarker}, {1, 0, fc}, {0, 1, fc}, {60, 16, clNavy}}));
  const auto texts = rec->Find("Ab");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().Rect, Rect(4, 1, 116, 17));
}

// Right to left, taken from the window, the caption box is the mirror image of its left-to-
// right box across the 120-pixel box, and the caption keeps to the frame's end: its
// alignment is mirrored too. Reading right to left without mirrored alignment changes
// neither.
TEST_F(GroupBoxTest, RightToLeftMirrorsTheCaptionBoxAndItsAlignment) {
  child->SetVisible(false);
  box->SetColor(kMarker);
  box->SetCaption("&Ab");  // 12 wide, 12 high
  form->SetBiDiMode(bdRightToLeft);
  EXPECT_TRUE(box->UseRightToLeftAlignment());
  // (8, 0, 20, 12) mirrored: from 120 - 20 = 100 to 120 - 8 = 112.
  box->PaintOffscreen();
  EXPECT_EQ(box->CaptionRect(), Rect(100, 0, 112, 12));
  auto texts = rec->Find("&Ab");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().Rect, Rect(100, 0, 112, 12));
  box->SetCaption("&  ");  // blanks: the frame shows where the caption box is not
  const TColor fc = AdjustColor(clBtnShadow, 30);
  EXPECT_TRUE(PixelsAre(box->PaintOffscreen(), {{10, 5, fc}, {105, 5, kMarker}}));
  // The top line's (0, 0, 16, 12), 4 left for a gap after the caption, mirrored: (104, 0,
  // 120, 12), the caption at its right end with the gap before it.
  box->SetCaption("&Ab");
  box->SetGroupStyle(gsTopLine);
  EXPECT_EQ(box->CaptionRect(), Rect(104, 0, 120, 12));
  rec->Clear();
  box->PaintOffscreen();
  texts = rec->Find("&Ab");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().Rect, Rect(104, 0, 120, 12));
  EXPECT_NE(texts.back().Flags & DT_RIGHT, 0u);
  // A banner's caption goes to the right end of its full-width box.
  box->SetGroupStyle(gsBanner);
  rec->Clear();
  box->PaintOffscreen();
  texts = rec->Find("&Ab");
  ASSERT_FALSE(texts.empty());
  EXPECT_NE(texts.back().Flags & DT_RIGHT, 0u);
  box->SetBiDiMode(bdRightToLeftReadingOnly);
  rec->Clear();
  box->PaintOffscreen();
  texts = rec->Find("&Ab");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().Flags & DT_RIGHT, 0u);
  box->SetGroupStyle(gsTopLine);
  EXPECT_EQ(box->CaptionRect(), Rect(0, 0, 16, 12));
}

TEST(WkSpacer, OrientationSwapsTheSizeAndTheGrooveFollowsTheLongSide) {
  TWkSpacer spacer(nullptr);
  EXPECT_EQ(spacer.Width(), 8);
  EXPECT_EQ(spacer.Height(), 25);
  spacer.SetGrooved(true);
  EXPECT_TRUE(PixelsAre(spacer.PaintOffscreen(),
                        {{3, 1, clBtnShadow}, {4, 24, clBtnHighlight}, {3, 0, clBtnFace}}));
  spacer.SetOrientation(orVertical);
  EXPECT_EQ(spacer.Width(), 25);
  EXPECT_EQ(spacer.Height(), 8);
  EXPECT_TRUE(PixelsAre(spacer.PaintOffscreen(),
                        {{1, 3, clBtnShadow}, {24, 4, clBtnHighlight}, {0, 3, clBtnFace}}));
  spacer.SetGrooved(false);
  EXPECT_TRUE(PixelsAre(spacer.PaintOffscreen(), {{1, 3, clBtnFace}}));
}
