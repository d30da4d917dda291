// Push and glyph buttons on a shown window: bevel pixels, presses by mouse and keyboard, the
// dialog keys, groups, caption effects (recorded with fixed metrics) and picture layout.
#include <algorithm>

#include "platform/gui/ActnList.h"
#include "tests/support/GuiTest.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkButtons.h"

using namespace wktest;

namespace {

class ButtonTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(300, 200);
    edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 150, 100, 22);
    button = NewButton(10, 10, "&Save");
    form->Show();
    ProcessEvents();
  }
  TWkButton* NewButton(int x, int y, const std::string& caption) {
    auto* b = new TWkButton(form);
    b->SetParent(form);
    b->SetBounds(x, y, 75, 25);
    b->SetCaption(caption);
    b->OnClick = [this, b](TComponent*) { clicked.push_back(b); };
    return b;
  }
  int Clicks(TWkButton* b) const {
    return static_cast<int>(std::count(clicked.begin(), clicked.end(), b));
  }
  TEdit* edit = nullptr;
  TWkButton* button = nullptr;
  std::vector<TWkButton*> clicked;
};

std::vector<TTextRecord> Drawn(const TTextRecorder& rec, const std::string& text) {
  std::vector<TTextRecord> out;
  for (const TTextRecord& r : rec.Find(text))
    if (r.Call == TTextCall::DrawText) out.push_back(r);
  return out;
}

}  // namespace

TEST_F(ButtonTest, ClassicBevelOfAPlainAndOfAFocusedOrDefaultButton) {
  const int w = button->Width(), h = button->Height();
  EXPECT_TRUE(PixelsAre(button->PaintOffscreen(), {{0, 0, clBtnHighlight},
                                                   {w - 1, h - 1, cl3DDkShadow},
                                                   {1, 1, cl3DLight},
                                                   {w - 2, h - 2, clBtnShadow},
                                                   {w / 2, 3, clBtnFace}}));
  button->SetFocus();
  ProcessEvents();
  EXPECT_TRUE(button->Focused());
  EXPECT_TRUE(
      PixelsAre(button->PaintOffscreen(),
                {{0, 0, clWindowFrame}, {w - 1, h - 1, clWindowFrame}, {1, 1, clBtnHighlight}}));
  edit->SetFocus();
  ProcessEvents();
  EXPECT_TRUE(PixelsAre(button->PaintOffscreen(), {{0, 0, clBtnHighlight}}));
  button->SetDefault(true);
  EXPECT_TRUE(button->Active());
  EXPECT_TRUE(PixelsAre(button->PaintOffscreen(), {{0, 0, clWindowFrame}}));
}

TEST_F(ButtonTest, APressDraggedOffShowsUpAndReleasingOutsideDoesNotClick) {
  button->MouseDown(mbLeft, 0, 5, 5);
  EXPECT_TRUE(button->ShowDown());
  EXPECT_TRUE(button->Focused());
  button->MouseMove(ssLeft, 90, 5);
  EXPECT_FALSE(button->ShowDown());
  button->MouseMove(ssLeft, 10, 10);
  EXPECT_TRUE(button->ShowDown());
  button->MouseMove(ssLeft, 90, 5);
  button->MouseUp(mbLeft, 0, 90, 5);
  EXPECT_EQ(Clicks(button), 0);
  EXPECT_FALSE(button->MouseCaptured());
  // Any button's release ends a press the left button began; inside, it clicks.
  button->MouseDown(mbLeft, 0, 5, 5);
  button->MouseUp(mbRight, 0, 5, 5);
  EXPECT_EQ(Clicks(button), 1);
  UserClick(button);
  EXPECT_EQ(Clicks(button), 2);
  // The space bar presses it too.
  UserKey(button, VK_SPACE);
  EXPECT_EQ(Clicks(button), 3);
}

TEST_F(ButtonTest, EnterAndEscapeReachDefaultAndCancelUnlessAButtonHasTheFocus) {
  TWkButton* ok = NewButton(100, 10, "OK");
  TWkButton* cancel = NewButton(190, 10, "Cancel");
  ok->SetDefault(true);
  cancel->SetCancel(true);
  UserKey(edit, VK_RETURN);
  UserKey(edit, VK_ESCAPE);
  EXPECT_EQ(Clicks(ok), 1);
  EXPECT_EQ(Clicks(cancel), 1);
  UserKey(edit, VK_RETURN, ssShift);  // a held shift key is no dialog key
  EXPECT_EQ(Clicks(ok), 1);
  // A focused kit button takes Enter itself, and the default button shows as not default.
  UserKey(button, VK_RETURN);
  EXPECT_EQ(Clicks(button), 1);
  EXPECT_EQ(Clicks(ok), 1);
  EXPECT_FALSE(ok->Active());
  // So does a focused platform push button.
  auto* plain = new TButton(form);
  plain->SetParent(form);
  plain->SetBounds(150, 150, 60, 25);
  int plainClicks = 0;
  plain->OnClick = [&](TComponent*) { ++plainClicks; };
  UserKey(plain, VK_RETURN);
  EXPECT_EQ(plainClicks, 1);
  EXPECT_EQ(Clicks(ok), 1);
  // The accelerator of a caption presses its button from anywhere in the window.
  UserKey(edit, 'S', ssAlt);
  EXPECT_EQ(Clicks(button), 2);
  // A modal result reaches the window on click.
  ok->SetModalResult(mrOk);
  UserKey(edit, VK_RETURN);
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(ButtonTest, GroupsKeepOneButtonDownAndAllowAllUpSpreadsThroughTheGroup) {
  TWkButton* a = NewButton(100, 10, "A");
  TWkButton* b = NewButton(190, 10, "B");
  button->SetDown(true);
  EXPECT_FALSE(button->Down());  // outside a group a button is always up
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  UserClick(a);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->ButtonState(), 3);
  UserClick(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  // The down button cannot be clicked up, yet a push button still runs its click.
  UserClick(b);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(Clicks(b), 2);
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp());
  UserClick(b);
  EXPECT_FALSE(b->Down());
  // A down grouped button shows the checker: x + y even is the lighter colour.
  UserClick(a);
  EXPECT_TRUE(a->Down());
  // Inside the lowered frame: the face (lighter) and $C0C0C0 alternate.
  EXPECT_TRUE(PixelsAre(a->PaintOffscreen(),
                        {{0, 0, clBtnShadow}, {2, 2, clBtnFace}, {3, 2, RGB(192, 192, 192)}}));
  TBitmap pattern;
  a->SetColor(RGB(192, 192, 192));
  a->DrawDownPattern(pattern);
  EXPECT_EQ(pattern.PixelColor(0, 0), RGB(192, 192, 192));
  EXPECT_EQ(pattern.PixelColor(1, 0), RGB(128, 128, 128));
  a->SetColor(clWhite);
  a->DrawDownPattern(pattern);
  EXPECT_EQ(pattern.PixelColor(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(pattern.PixelColor(1, 0), RGB(192, 192, 192));
}

TEST_F(ButtonTest, CaptionEffectsAndPlacement) {
  TTextRecorder rec(6, 12);
  button->SetCaption("Go");
  button->SetTextStyle(tsRaised);
  button->SetLightTextStyle(true);
  button->PaintOffscreen();
  auto drawn = Drawn(rec, "Go");
  ASSERT_EQ(drawn.size(), 2u);  // only the light copy, then the caption
  EXPECT_EQ(drawn[0].FontColor, clBtnHighlight);
  EXPECT_EQ(drawn[1].Rect.Left - drawn[0].Rect.Left, 1);
  rec.Clear();
  button->SetTextStyle(tsRecessed);
  button->PaintOffscreen();
  drawn = Drawn(rec, "Go");
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].FontColor, clBtnHighlight);
  EXPECT_EQ(drawn[0].Rect.Left - drawn[1].Rect.Left, 1);
  // Disabled: embossed whatever the style.
  rec.Clear();
  button->SetEnabled(false);
  button->PaintOffscreen();
  drawn = Drawn(rec, "Go");
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].FontColor, clBtnHighlight);
  EXPECT_EQ(drawn[1].FontColor, clBtnShadow);
  EXPECT_EQ(drawn[0].Rect.Top - drawn[1].Rect.Top, 1);
  // A right-aligned caption sits the shadow depth left of the face's right edge.
  rec.Clear();
  button->SetEnabled(true);
  button->SetTextStyle(tsNormal);
  button->SetAlignment(taRightJustify);
  button->PaintOffscreen();
  drawn = Drawn(rec, "Go");
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].Rect.Right, button->Width() - 5 - button->TextShadowDepth());
  // Vertically centred in the 15 pixels inside the face.
  EXPECT_EQ(drawn[0].Rect.Top, (5 + 20 - 12) / 2);
  // Right to left the alignment is mirrored: a left-aligned caption goes right.
  rec.Clear();
  button->SetAlignment(taLeftJustify);
  button->SetBiDiMode(bdRightToLeft);
  button->PaintOffscreen();
  drawn = Drawn(rec, "Go");
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_NE(drawn[0].Flags & DT_RIGHT, 0u);
}

TEST_F(ButtonTest, TheFlatLookShowsItsRimFrameAndFace) {
  button->SetHotTrack(true);
  EXPECT_TRUE(button->ParentCorners());
  const int w = button->Width(), h = button->Height();
  TBitmap& pic = button->PaintOffscreen();
  EXPECT_TRUE(PixelsAre(pic, {{0, 5, DarkerColor(clBtnFace, 20)},
                              {w - 1, 5, LighterColor(clBtnFace, 20)},
                              {1, 5, cl3DDkShadow},
                              {3, h - 3, DarkerColor(clBtnFace, 30)},
                              {3, h - 4, DarkerColor(clBtnFace, 20)}}));
  button->MouseDown(mbLeft, 0, 5, 5);
  EXPECT_TRUE(PixelsAre(button->PaintOffscreen(), {{w / 2, 4, DarkerColor(clBtnFace, 10)}}));
  button->MouseUp(mbLeft, 0, 5, 5);
  button->SetEnabled(false);
  EXPECT_TRUE(PixelsAre(button->PaintOffscreen(),
                        {{1, 5, LighterColor(clBtnShadow, 30)}, {5, 5, clBtnFace}}));
}

// --- glyph button ------------------------------------------------------------------------------

namespace {

class BitBtnTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(300, 200);
    bit = new TWkBitBtn(form);
    bit->SetParent(form);
    bit->SetBounds(10, 10, 100, 40);
    form->Show();
  }
  static TBitmap Strip(int w, int h) {
    TBitmap b(w, h, pf24bit);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect(Rect(0, 0, w, h));
    return b;
  }
  TWkBitBtn* bit = nullptr;
};

}  // namespace

TEST_F(BitBtnTest, GlyphCellsKindsAndMargins) {
  bit->SetGlyph(Strip(64, 16));
  EXPECT_EQ(bit->NumGlyphs(), 4);
  bit->SetGlyph(Strip(80, 16));
  EXPECT_EQ(bit->NumGlyphs(), 1);
  bit->SetNumGlyphs(3);
  bit->SetGlyph(Strip(30, 16));
  EXPECT_EQ(bit->NumGlyphs(), 3);
  bit->SetKind(bkOK);
  EXPECT_EQ(bit->Caption(), "OK");
  EXPECT_EQ(bit->ModalResult(), mrOk);
  EXPECT_TRUE(bit->Default());
  EXPECT_EQ(bit->NumGlyphs(), 2);
  EXPECT_EQ(bit->Glyph().Width(), 32);
  EXPECT_EQ(bit->Kind(), bkOK);
  bit->SetModalResult(mrNone);
  EXPECT_EQ(bit->Kind(), bkCustom);
  bit->SetMargin(-2);
  EXPECT_EQ(bit->Margin(), 2);
  bit->SetMargin(-1);
  EXPECT_EQ(bit->Margin(), -1);
  // Every stock kind has its own picture, its background left out.
  for (int k = bkOK; k <= bkAll; ++k) {
    const TBitmap& g = GetKindGlyph(static_cast<TBitBtnKind>(k));
    EXPECT_EQ(g.Width(), 32) << k;
    EXPECT_TRUE(g.Transparent()) << k;
  }
}

TEST_F(BitBtnTest, PictureRectangleFollowsLayoutAndMargin) {
  bit->SetGlyph(Strip(16, 16));
  // Face text rectangle (5, 5, 95, 35); margin 2 from its left, centred vertically.
  EXPECT_EQ(bit->GetGlyphRect(), Rect(7, 12, 23, 28));
  bit->SetLayout(blGlyphRight);
  EXPECT_EQ(bit->GetGlyphRect(), Rect(77, 12, 93, 28));
  bit->SetLayout(blGlyphTop);
  EXPECT_EQ(bit->GetGlyphRect(), Rect(42, 7, 58, 23));
  bit->SetLayout(blGlyphBottom);
  EXPECT_EQ(bit->GetGlyphRect(), Rect(42, 17, 58, 33));
  // The picture is drawn there, its background left out.
  bit->SetLayout(blGlyphLeft);
  TBitmap glyph = Strip(16, 16);
  glyph.Canvas().Brush().SetColor(clLime);
  glyph.Canvas().FillRect(Rect(0, 8, 16, 16));  // bottom half: the transparent colour
  glyph.SetTransparent(true);
  bit->SetGlyph(glyph);
  EXPECT_TRUE(PixelsAre(bit->PaintOffscreen(), {{10, 14, clRed}, {10, 24, clBtnFace}}));
}

TEST_F(BitBtnTest, DisabledListImagesAreGreyedUnlessADisabledIndexIsGiven) {
  TImageList list(16, 16);
  TBitmap colours(32, 16, pf24bit);
  colours.Canvas().Brush().SetColor(clBlue);
  colours.Canvas().FillRect(Rect(0, 0, 16, 16));
  colours.Canvas().Brush().SetColor(clRed);
  colours.Canvas().FillRect(Rect(16, 0, 32, 16));
  list.Add(colours);
  bit->SetImages(&list);
  bit->SetImageIndex(0);
  const TRect g = bit->GetGlyphRect();
  EXPECT_TRUE(PixelsAre(bit->PaintOffscreen(), {{g.Left + 8, g.Top + 8, clBlue}}));
  bit->SetEnabled(false);
  EXPECT_NE(bit->PaintOffscreen().PixelColor(g.Left + 8, g.Top + 8), ColorToRGB(clBlue));
  bit->SetDisabledIndex(1);
  EXPECT_TRUE(PixelsAre(bit->PaintOffscreen(), {{g.Left + 8, g.Top + 8, clRed}}));
  // A list freed first leaves the button without one.
  bit->SetImages(nullptr);
  {
    TImageList shortLived(16, 16);
    bit->SetImages(&shortLived);
  }
  EXPECT_EQ(bit->Images(), nullptr);
}
