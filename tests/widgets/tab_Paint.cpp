// Painting the strip: the order of cards and tabs, pixels on a marker-filled picture at
// places worked out from the layout (fixed 60 x 20 tabs), coloured tabs, highlight bars, and
// the captions as drawn (recorded with fixed metrics).
#include <cstdlib>

#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;
using wktest::kMarker;
using wktest::Px;

namespace {

constexpr TColor kCard = RGB(200, 200, 200);

std::vector<std::string> PaintOrder(TWkCustomTabControl* tc) {
  std::vector<std::string> order;
  tc->OnPaintTabBackground = [&](TComponent*, TCanvas&, int index, const TRect&, bool&) {
    order.push_back("tab " + std::to_string(index));
  };
  tc->OnPaintCardBackground = [&](TComponent*, TCanvas&, int row, const TRect&, bool&) {
    order.push_back("card " + std::to_string(row));
  };
  tc->PaintOffscreen();
  tc->OnPaintTabBackground = nullptr;
  tc->OnPaintCardBackground = nullptr;
  return order;
}

// The records of one text, in drawing order.
std::vector<TTextRecord> Drawn(const TTextRecorder& r, const std::string& text) {
  return r.Find(text);
}

}  // namespace

class TabPaintTest : public TabTest {
 protected:
  void SetUp() override {
    TabTest::SetUp();
    savedHighColor_ = HighColorDisplay;
    HighColorDisplay = true;
    tc = Strip(3);
    tc->SetBackgroundColor(kMarker);
    tc->SetColor(kCard);
    tc->SetUseGradients(false);
    tc->SetHotTrack(false);
    tc->SetTabIndex(1);
    tc->UpdateLayout();
  }
  void TearDown() override {
    HighColorDisplay = savedHighColor_;
    TabTest::TearDown();
  }
  TBitmap& Picture() {
    recorder->Clear();
    return tc->PaintOffscreen();
  }
  TWkCustomTabControl* tc = nullptr;

 private:
  bool savedHighColor_ = true;
};

TEST_F(TabPaintTest, CardsAndTabsArePaintedBehindToFront) {
  // One row: the other tabs backward from before the first tab, the current tab, the card.
  EXPECT_EQ(PaintOrder(tc), (std::vector<std::string>{"tab 2", "tab 0", "tab 1", "card 0"}));
  // Three rows, current tab 7 in the row next to the card: each further card is drawn before
  // the row in front of it.
  auto* rows = Strip(9, 200, 150);
  rows->SetMultiLine(true);
  rows->SetTabIndex(7);
  rows->UpdateLayout();
  EXPECT_EQ(PaintOrder(rows),
            (std::vector<std::string>{"tab 5", "tab 4", "tab 3", "card 2", "tab 2", "tab 1",
                                      "tab 0", "card 1", "tab 8", "tab 6", "tab 7", "card 0"}));
}

TEST_F(TabPaintTest, PixelsOfTabsCardFrameAndShadow) {
  const TBitmap& b = Picture();
  const TColor frame = clBtnShadow;
  const TColor dark = BlendColors(clBlack, kMarker, 30), light = BlendColors(clBlack, kMarker, 15);
  EXPECT_TRUE(
      wktest::PixelsAre(b, {
                               {200, 10, kMarker},  // the strip beyond the tabs
                               {5, 15, clWindow},   // tab 0, unselected, flat
                               {56, 15, kCard},     // tab 1, current, in the control's colour
                               {0, 10, frame},      // tab 0's left side
                               {70, 0, frame},      // tab 1's top
                               {150, 20, frame},    // the card's side toward the tabs
                               {80, 20, kCard},     // ... open under the current tab
                               {30, 20, frame},     // ... closed under tab 0
                               {150, 60, kCard},    // the card
                               {0, 60, frame},      // its left side
                               {297, 60, frame},    // its right side, two pixels in from the edge
                               {150, 97, frame},    // its bottom
                               {298, 60, dark},     // the shadow: darker next to the frame
                               {299, 60, light},
                               {150, 98, dark},
                               {150, 99, light},
                               {299, 21, kMarker},  // above the shadow's start
                               {1, 99, kMarker},    // before it
                           }));
}

TEST_F(TabPaintTest, GradientsAndColouredTabs) {
  tc->SetUseGradients(true);
  // Row 0 is the outline: the ramp shows from row 1 (within one band of its start) to the
  // card, lighter outward.
  auto near = [](TColor got, TColor want) {
    want = ColorToRGB(want);
    return std::abs(GetRValue(got) - GetRValue(want)) <= 8 &&
           std::abs(GetGValue(got) - GetGValue(want)) <= 8 &&
           std::abs(GetBValue(got) - GetBValue(want)) <= 8;
  };
  TBitmap& plain = Picture();
  // Unselected top tabs run from the unselected colour at the outer edge to the shadow.
  EXPECT_TRUE(near(plain.PixelColor(5, 1), clWindow));
  EXPECT_TRUE(near(plain.PixelColor(5, 19), clBtnFace));
  EXPECT_GT(GetRValue(plain.PixelColor(5, 5)), GetRValue(plain.PixelColor(5, 15)));
  // A white coloured tab runs between white and the button face; another colour between
  // itself and its darker shade; the current tab is flat in its own colour.
  tc->SetUseColoredTabs(true);
  tc->Tabs().Items(0)->Color = clWhite;
  tc->Tabs().Items(1)->Color = RGB(250, 200, 100);
  tc->Tabs().Items(2)->Color = RGB(100, 150, 250);
  TBitmap& coloured = Picture();
  EXPECT_TRUE(near(coloured.PixelColor(5, 1), clWhite));
  EXPECT_TRUE(near(coloured.PixelColor(5, 19), clBtnFace));
  EXPECT_TRUE(near(coloured.PixelColor(120, 1), RGB(100, 150, 250)));
  EXPECT_TRUE(near(coloured.PixelColor(120, 19), DarkerColor(RGB(100, 150, 250), 30)));
  EXPECT_EQ(coloured.PixelColor(56, 15), RGB(250, 200, 100));
  EXPECT_EQ(coloured.PixelColor(150, 60), RGB(250, 200, 100));  // the card takes it too
}

TEST_F(TabPaintTest, HighlightBarsAreClippedToTheTabAndHotTextTakesTheColour) {
  tc->SetHotTrack(true);
  tc->MouseMove(0, 20, 10);  // tab 0 hot
  ASSERT_EQ(tc->HotTab(), 0);
  TBitmap& b = Picture();
  // The bar: the tab grown by one pixel, its outer 6 rows, inside the tab's shape only.
  EXPECT_EQ(b.PixelColor(70, 1), ColorToRGB(clHighlight));
  EXPECT_EQ(b.PixelColor(70, 4), ColorToRGB(clHighlight));
  EXPECT_EQ(b.PixelColor(58, 6), kCard);
  EXPECT_EQ(b.PixelColor(100, 3), kMarker);     // beyond tab 1's slant
  EXPECT_EQ(b.PixelColor(20, 2), 0x00149BF0u);  // the hot tab's bar
  // Complement colour type turns the hue.
  tc->SetHotTrackColorType(htctComplement);
  EXPECT_EQ(Picture().PixelColor(20, 2), ShiftedHueColor(0x00149BF0, 140));
  // Text style: no bars; the hot caption is drawn in the hot-track colour.
  tc->SetHotTrackColorType(htctActual);
  tc->SetHotTrackStyle(htsText);
  TBitmap& text = Picture();
  EXPECT_EQ(text.PixelColor(70, 1), kCard);
  const auto hot = Drawn(*recorder, "T0");
  ASSERT_EQ(hot.size(), 1u);
  EXPECT_EQ(hot[0].FontColor, 0x00149BF0u);
  EXPECT_EQ(Drawn(*recorder, "T1")[0].FontColor, clBtnText);
}

TEST_F(TabPaintTest, CaptionsAcceleratorsLinesAndDisabledText) {
  tc->SetTabHeight(0);  // room for two lines
  tc->Tabs().Items(0)->Caption = "&File";
  tc->Tabs().Items(1)->Caption = "AB\r\nCDEF";
  tc->Tabs().Items(2)->Caption = "R&&D";
  tc->Tabs().Items(2)->Enabled = false;
  tc->UpdateTabData();
  tc->UpdateLayout();
  Picture();
  // "&File": the accelerator letter underlined, the rest after it.
  const auto f = Drawn(*recorder, "F"), ile = Drawn(*recorder, "ile");
  ASSERT_EQ(f.size(), 1u);
  ASSERT_EQ(ile.size(), 1u);
  EXPECT_TRUE(f[0].FontStyle & fsUnderline);
  EXPECT_FALSE(ile[0].FontStyle & fsUnderline);
  EXPECT_EQ(ile[0].Rect.Left, f[0].Rect.Left + 6);
  // Two lines, each centred by itself, one line height apart.
  const auto ab = Drawn(*recorder, "AB"), cdef = Drawn(*recorder, "CDEF");
  ASSERT_EQ(ab.size(), 1u);
  ASSERT_EQ(cdef.size(), 1u);
  EXPECT_EQ(ab[0].Rect.Left - cdef[0].Rect.Left, 6);
  EXPECT_EQ(cdef[0].Rect.Top - ab[0].Rect.Top, 13);
  const TRect tab1 = tc->TabClientRect(1);
  EXPECT_GE(ab[0].Rect.Top, tab1.Top + 2);
  EXPECT_LE(cdef[0].Rect.Top + 13, tab1.Bottom);
  // "R&&D" disabled: one '&', nothing underlined, highlight one pixel down-right, then the
  // shadow on top.
  const auto rd = Drawn(*recorder, "R&D");
  ASSERT_EQ(rd.size(), 2u);
  EXPECT_EQ(rd[0].FontColor, clBtnHighlight);
  EXPECT_EQ(rd[1].FontColor, clBtnShadow);
  EXPECT_EQ(rd[0].Rect.Left, rd[1].Rect.Left + 1);
  EXPECT_EQ(rd[0].Rect.Top, rd[1].Rect.Top + 1);
  EXPECT_FALSE(rd[1].FontStyle & fsUnderline);
  // OnGetTextColor replaces a colour.
  tc->OnGetTextColor = [](TComponent*, int index, TWkTextStyle style, TColor& color,
                          bool& handled) {
    if (index == 2 && style == tsDisabledShadow) color = clRed;
    handled = true;
  };
  Picture();
  EXPECT_EQ(Drawn(*recorder, "R&D")[1].FontColor, clRed);
}

// A four-byte character is drawn whole: underlined as the accelerator, or beside it; "&&"
// before it draws one '&' and underlines nothing.
TEST_F(TabPaintTest, FourByteCharactersAreDrawnWholeAsTheAcceleratorAndBesideIt) {
  tc->Tabs().Items(0)->Caption = "Q&😀x";
  tc->Tabs().Items(1)->Caption = "&&😀";
  tc->Tabs().Items(2)->Caption = "😀&y";
  tc->UpdateTabData();
  tc->UpdateLayout();
  Picture();
  // Tab 2 is drawn before tab 0, the current tab 1 last.
  const auto q = Drawn(*recorder, "Q"), emoji = Drawn(*recorder, "😀"), x = Drawn(*recorder, "x");
  ASSERT_EQ(q.size(), 1u);
  ASSERT_EQ(emoji.size(), 2u);  // the start of tab 2 and the accelerator of tab 0
  ASSERT_EQ(x.size(), 1u);
  EXPECT_FALSE(q[0].FontStyle & fsUnderline);
  EXPECT_TRUE(emoji[1].FontStyle & fsUnderline);
  EXPECT_FALSE(x[0].FontStyle & fsUnderline);
  EXPECT_EQ(emoji[1].Rect.Left, q[0].Rect.Left + 6);
  EXPECT_EQ(x[0].Rect.Left, emoji[1].Rect.Left + 4 * 6);
  const auto amp = Drawn(*recorder, "&😀");
  ASSERT_EQ(amp.size(), 1u);
  EXPECT_FALSE(amp[0].FontStyle & fsUnderline);
  EXPECT_FALSE(emoji[0].FontStyle & fsUnderline);
  const auto y = Drawn(*recorder, "y");
  ASSERT_EQ(y.size(), 1u);
  EXPECT_TRUE(y[0].FontStyle & fsUnderline);
  EXPECT_EQ(y[0].Rect.Left, emoji[0].Rect.Left + 4 * 6);
  // Nothing else was drawn: no half of a character.
  for (const TTextRecord& r : recorder->Records())
    EXPECT_EQ(U8(r.Text).find("\xEF\xBF\xBD"), std::string::npos) << U8(r.Text);
}

TEST_F(TabPaintTest, VerticalCaptionsTurnTowardTheirSide) {
  tc->SetTextOrientation(orVertical);
  tc->SetTabHeight(0);
  tc->SetTabWidth(0);
  tc->UpdateLayout();
  Picture();
  EXPECT_EQ(Drawn(*recorder, "T1")[0].Orientation, 900);
  tc->SetTabOrientation(toRight);
  tc->UpdateLayout();
  Picture();
  EXPECT_EQ(Drawn(*recorder, "T1")[0].Orientation, 2700);
}
