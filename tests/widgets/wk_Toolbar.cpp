// Tool buttons, the tool bar and its overflow pop-up, and the popup panel: presses and
// drop-down menus, rows and sizes, the list order, and the pop-up's closing rules.
#include "platform/gui/Forms.h"
#include "tests/support/GuiTest.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkCommon.h"
#include "widgets/WkToolbar.h"

using namespace wktest;

namespace {

class ToolbarTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(400, 200);
    bar = new TWkToolbar(form);
    bar->SetParent(form);
    form->Show();
    ProcessEvents();
  }
  TWkToolButton* NewButton(const std::string& name, TWinControl* parent = nullptr) {
    auto* b = new TWkToolButton(form);
    b->SetName(name);
    b->SetParent(parent != nullptr ? parent : bar);
    b->OnClick = [this, b](TComponent*) { clicked.push_back(b->Name()); };
    return b;
  }
  TWkToolbar* bar = nullptr;
  std::vector<std::string> clicked;
};

}  // namespace

TEST_F(ToolbarTest, TheBrowsersBarIsThirtySixHighAndWrapsWhenNarrow) {
  for (int i = 0; i < 8; ++i) {
    TWkToolButton* b = NewButton("btn" + std::to_string(i + 1));
    b->SetUseToolbarButtonSize(false);
    b->SetBounds(0, 0, 36, 36);
  }
  EXPECT_EQ(bar->Height(), 25 + 2 * 2);  // the defaults
  bar->SetRowHeight(32);
  EXPECT_EQ(bar->Height(), 36);
  EXPECT_EQ(bar->Width(), 400);
  // Laid out from the margin, each button centred in its row.
  EXPECT_EQ(bar->ToolbarControls().Items(0).Control->BoundsRect(), Rect(4, 0, 40, 36));
  EXPECT_EQ(bar->ToolbarControls().Items(1).Control->Left(), 40);
  // Too narrow for eight: a second row, and the bar grows to it.
  form->SetClientSize(200, 200);
  EXPECT_EQ(bar->Height(), 2 * 32 + 2 * 2);
  EXPECT_EQ(bar->ToolbarControls().Items(5).Control->Top(), 32);
  EXPECT_EQ(bar->ToolbarControls().Items(5).Control->Left(), 4);
  // Without wrapping the overflow button shows at the right edge instead.
  bar->SetWrapControls(false);
  EXPECT_EQ(bar->Height(), 36);
  ASSERT_NE(bar->PopupButton(), nullptr);
  EXPECT_TRUE(bar->OverflowShown());
  EXPECT_EQ(bar->PopupButton()->BoundsRect(), Rect(186, 0, 200, 36));
  EXPECT_EQ(bar->GetContentOffset(), Point(15, 1));
  form->SetClientSize(400, 200);
  EXPECT_FALSE(bar->OverflowShown());
  // A row starts only after something was placed: with the first entry hidden, the second
  // stays in row one however wide it is.
  bar->SetWrapControls(true);
  TControl* first = bar->ToolbarControls().Items(0).Control;
  TControl* second = bar->ToolbarControls().Items(1).Control;
  first->SetVisible(false);
  second->SetWidth(500);
  EXPECT_EQ(second->Top(), 0);
  EXPECT_EQ(second->Left(), 4);
}

TEST_F(ToolbarTest, ListOrderRunTimeAdditionsAndSettingsThatSwitchStylesOff) {
  TWkToolButton* a = NewButton("a");
  TWkToolButton* b = NewButton("b");
  EXPECT_EQ(bar->ToolbarControls().WriteNames(), (std::vector<std::string>{"a", "b"}));
  EXPECT_GT(b->Left(), a->Left());
  TWkToolButton* c = NewButton("c");
  EXPECT_EQ(bar->ToolbarControls().IndexOfControl(c), 2);
  EXPECT_EQ(c->Left(), b->Left() + b->Width());
  // Stored order wins; names match without case; a control on another parent is dropped and
  // every child of the bar is listed after.
  auto* other = new TWkPanel(form);
  other->SetParent(form);
  TWkToolButton* stray = NewButton("stray", other);
  bar->ToolbarControls().ReadNames({"C", "stray", "A"});
  bar->ToolbarControls().Resolve(form);
  EXPECT_EQ(bar->ToolbarControls().WriteNames(), (std::vector<std::string>{"c", "a", "b"}));
  EXPECT_EQ(bar->ToolbarControls().IndexOfControl(stray), -1);
  bar->ArrangeControls();
  EXPECT_LT(c->Left(), a->Left());
  delete b;
  EXPECT_EQ(bar->ToolbarControls().Count(), 2);
  // The divider follows the alignment until a border is set by hand.
  bar->SetAlign(alLeft);
  EXPECT_EQ(bar->BorderSides(), SideSet({sdLeft}));
  bar->SetAlign(alTop);
  bar->SetBorderOuter(fsFlat);
  EXPECT_FALSE(bar->AutoStyle);
  bar->SetAlign(alBottom);
  EXPECT_EQ(bar->BorderSides(), SideSet({sdTop}));
  // Button sizes: the bar's until the button sets its own; setting one is a custom text option.
  bar->SetButtonWidth(30);
  EXPECT_EQ(bar->TextOptions(), ttoCustom);
  EXPECT_EQ(a->Width(), 30);
  a->SetWidth(40);
  EXPECT_FALSE(a->UseToolbarButtonSize());
  bar->SetButtonWidth(33);
  EXPECT_EQ(a->Width(), 40);
  EXPECT_EQ(c->Width(), 33);
  bar->SetTextOptions(ttoShowTextLabels);
  EXPECT_EQ(bar->ButtonLayout(), blGlyphTop);
  EXPECT_EQ(bar->RowHeight(), 40);
  EXPECT_EQ(c->Height(), 40);
  EXPECT_TRUE(c->ShowCaption());
}

TEST_F(ToolbarTest, DropDownButtonsDropTheirMenuAndNeverJoinGroups) {
  auto* menu = new TPopupMenu(form);
  menu->SetName("FavMenu");
  TMenuItem* item = NewMenuItem(form, menu->Items(), "Item1", "添加到收藏夹");
  TWkToolButton* fav = NewButton("fav");
  fav->OnClick = nullptr;
  fav->SetToolStyle(tsDropDown);
  fav->SetGroupIndex(3);
  EXPECT_EQ(fav->GroupIndex(), 0);
  fav->SetDropDownMenu(menu);
  // Without a click handler the menu drops wherever the button is pressed, under the button.
  dialogs().AnswerPopup(item);
  int chosen = 0;
  item->OnClick = [&](TComponent*) { ++chosen; };
  UserClick(fav);
  EXPECT_EQ(chosen, 1);
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  const TPoint under = fav->ClientToScreen(Point(0, fav->Height()));
  EXPECT_EQ(dialogs().Shown()[0].X, under.X);
  EXPECT_EQ(dialogs().Shown()[0].Y, under.Y);
  // A press right after the menu closed is the press that closed it: no second menu.
  fav->MouseDown(mbLeft, 0, 3, 3);
  EXPECT_EQ(dialogs().Shown().size(), 1u);
  fav->MouseUp(mbLeft, 0, 3, 3);
  // With a click handler only the right 14 pixels drop the menu; the rest clicks.
  int clicks = 0;
  fav->OnClick = [&](TComponent*) { ++clicks; };
  UserClick(fav);  // the middle is left of the drop-down part
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dialogs().Shown().size(), 1u);
  dialogs().AnswerPopup(nullptr);
  fav->MouseDown(mbLeft, 0, fav->Width() - 3, 3);
  EXPECT_EQ(dialogs().Shown().size(), 2u);
  EXPECT_EQ(clicks, 1);
  // Near the screen's right edge the menu moves left by its real width less the button's:
  // the widest caption (12 bytes of 6 pixels) and 56 for marks and keys.
  TTextRecorder fixed(6, 12);
  const TRect work = GetMonitorWorkArea(Point(0, 0));
  form->SetBounds(work.Right - form->Width(), 0, form->Width(), form->Height());
  bar->SetAlign(alRight);
  dialogs().AnswerPopup(nullptr);
  fav->ShowDropDownMenu();
  const TPoint corner = fav->ClientToScreen(Point(0, fav->Height()));
  ASSERT_EQ(dialogs().Shown().size(), 3u);
  EXPECT_EQ(dialogs().Shown()[2].X, corner.X - (12 * 6 + 56 - fav->Width()));
}

TEST_F(ToolbarTest, ImageAndCaptionAreLaidOutAsOneBlock) {
  TTextRecorder fixed(6, 12);
  TImageList images(16, 16);
  TBitmap pic(16, 16, pf24bit);
  images.Add(pic);
  TWkToolButton* b = NewButton("b");
  b->SetImages(&images);
  b->SetImageIndex(0);
  b->SetShowCaption(true);
  b->SetCaption("Go");
  b->SetBounds(b->Left(), b->Top(), 60, 25);
  // Inside (2, 2, 58, 23): 16 + 4 + 12 pixels centred from x = 14.
  TRect image, text;
  b->CalcLayout(image, text);
  EXPECT_EQ(image, Rect(14, 4, 30, 20));
  EXPECT_EQ(text.Left, 34);
  b->SetAlignment(taLeftJustify);
  b->CalcLayout(image, text);
  EXPECT_EQ(image.Left, 4);
  EXPECT_EQ(text.Left, 24);
  b->SetAlignment(taCenter);
  b->SetLayout(blGlyphTop);
  b->SetBounds(b->Left(), b->Top(), 60, 40);
  b->CalcLayout(image, text);
  // Block 16 + 4 + 12 high in (2, 2, 58, 38), each part centred across.
  EXPECT_EQ(image, Rect(22, 4, 38, 20));
  EXPECT_EQ(text.Top, 24);
  // A bar laid out in a column sizes its width: a row height, plus 2, plus the top margin.
  bar->SetOrientation(orVertical);
  bar->SetAlign(alLeft);
  EXPECT_EQ(bar->Width(), 25 + 2 + 2);
  EXPECT_EQ(b->Top(), bar->Margin());
}

TEST_F(ToolbarTest, GroupedToolButtonsGiveNoClickWhenDownDoesNotChange) {
  TWkToolButton* a = NewButton("a");
  TWkToolButton* b = NewButton("b");
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  UserClick(a);
  EXPECT_TRUE(a->Down());
  UserClick(a);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(clicked, (std::vector<std::string>{"a"}));
  UserClick(b);
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(b->ButtonState(), 3);
  // A sticky button in the classic styles shows the checker, x + y even the lighter colour.
  b->SetVisualStyle(vsClassic);
  b->MouseLeave();
  TBitmap& pic = b->PaintOffscreen();
  EXPECT_TRUE(PixelsAre(pic, {{2, 2, clBtnHighlight}, {3, 2, clBtnFace}}));
}

TEST_F(ToolbarTest, FacesByStyleAndTheGradientOfAHotStickyButton) {
  TWkToolButton* b = NewButton("b");
  b->SetTransparent(false);
  b->SetColor(clYellow);
  b->MouseLeave();
  // Not hot, not down: no frame, the colour fills it in every style.
  for (TWkVisualStyle style : {vsClassic, vsWinXP, vsGradient}) {
    b->SetVisualStyle(style);
    EXPECT_TRUE(PixelsAre(b->PaintOffscreen(), {{0, 0, clYellow}, {12, 12, clYellow}})) << style;
  }
  b->SetFlat(false);
  b->SetVisualStyle(vsClassic);
  EXPECT_TRUE(PixelsAre(b->PaintOffscreen(), {{0, 0, clBtnHighlight}, {5, 5, clYellow}}));
  // Sticky down, hot, gradient: the ramp runs from the stop colour while the mouse button is
  // held and from the start colour when it is up.
  b->SetFlat(true);
  b->SetVisualStyle(vsGradient);
  b->SetGradientColorStyle(gcsCustom);
  b->SetSelectionColorStart(RGB(255, 255, 255));
  b->SetSelectionColorStop(RGB(0, 0, 255));
  b->SetTransparent(true);
  b->SetGroupIndex(2);
  b->SetDown(true);
  b->MouseEnter();
  const TColor upTop = b->PaintOffscreen().PixelColor(12, 1);
  b->MouseDown(mbLeft, 0, 5, 5);
  const TColor downTop = b->PaintOffscreen().PixelColor(12, 1);
  EXPECT_GT(GetRValue(upTop), 200);   // near the start colour, white
  EXPECT_LT(GetRValue(downTop), 50);  // near the stop colour, blue
}

// Right to left the bar fills its rows from its right edge and shows its overflow button at
// its left end; what overflows is what reaches past the left edge.
TEST_F(ToolbarTest, RightToLeftTheRowsFillFromTheRightAndTheOverflowButtonIsAtTheLeft) {
  TWkToolButton* first = NewButton("first");
  TWkToolButton* second = NewButton("second");
  form->SetBiDiMode(bdRightToLeft);
  // A 25 x 25 button from the 4-pixel margin at the right of the 400-pixel bar.
  EXPECT_EQ(first->BoundsRect(), Rect(371, 2, 396, 27));
  EXPECT_EQ(second->BoundsRect(), Rect(346, 2, 371, 27));
  second->SetToolStyle(tsDropDown);
  EXPECT_EQ(second->BoundsRect(), Rect(332, 2, 371, 27));
  for (int i = 0; i < 14; ++i) NewButton("more" + std::to_string(i));
  bar->SetWrapControls(false);
  // 25 + 39 + 14 * 25 = 414 pixels from x = 396 leftwards reach 18 pixels past the left edge.
  ASSERT_TRUE(bar->OverflowShown());
  EXPECT_EQ(bar->PopupButton()->BoundsRect(), Rect(0, 0, 14, bar->Height()));
  EXPECT_EQ(bar->ToolbarControls().Items(15).Control->Left(), -18);
  // Left to right the same row reaches as far past the right edge.
  form->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(first->Left(), 4);
  ASSERT_TRUE(bar->OverflowShown());
  EXPECT_EQ(bar->PopupButton()->BoundsRect(), Rect(386, 0, 400, bar->Height()));
  EXPECT_EQ(bar->ToolbarControls().Items(15).Control->BoundsRect().Right, 418);
}

// The drop-down part is the button's last 14 columns, its first 14 right to left: a press
// drops the menu exactly where the part's separator, frame and arrow are painted, and the
// image is centred in the rest less 2 on each side.
TEST_F(ToolbarTest, ADropDownButtonsPartIsFourteenColumnsForPressAndPaintEitherWay) {
  TImageList images(16, 16);
  TBitmap pic(16, 16, pf24bit);
  images.Add(pic);
  TPopupMenu menu(nullptr);
  NewMenuItem(&menu, menu.Items(), "", "x");
  struct Side {
    const char* name;
    TBiDiMode mode;
    TRect part, image;
    int faceColumn, partColumn;  // either side of the part's inner edge
    int shadowX, lightX;         // the separator's columns
    int arrowX;                  // the arrow's point, 6 columns into the part
  };
  // A 25-pixel button with the 14-pixel part is 39 x 25. Left to right the part is columns
  // 25-38; the rest less 2 on each side is (2, 2, 23, 23), the 16-pixel image centred from
  // 2 + (21 - 16) / 2 = 4; the separator is at x = 39 - 14 = 25 (light), shadow at x - 1.
  // Right to left the part is columns 0-13, the rest less 2 is (16, 2, 37, 23), the image
  // from 18, the separator at x = 14 (light) and 13 (shadow). The arrow's point is at 25 + 6
  // = 31 or 0 + 6 = 6, 25 / 2 + 2 = 14 down.
  const Side sides[] = {
      {"left to right", bdLeftToRight, Rect(25, 0, 39, 25), Rect(4, 4, 20, 20), 24, 25, 24, 25, 31},
      {"right to left", bdRightToLeft, Rect(0, 0, 14, 25), Rect(18, 4, 34, 20), 14, 13, 13, 14, 6}};
  for (const Side& side : sides) {
    SCOPED_TRACE(side.name);
    TWkToolButton* b = NewButton(side.name);
    b->SetBiDiMode(side.mode);
    b->SetImages(&images);
    b->SetImageIndex(0);
    b->SetVisualStyle(vsClassic);
    b->SetTransparent(false);
    b->SetToolStyle(tsDropDown);
    b->SetDropDownMenu(&menu);
    ASSERT_EQ(b->Width(), 39);
    ASSERT_EQ(b->Height(), 25);
    EXPECT_EQ(b->DropDownPartRect(), side.part);
    TRect image, text;
    b->CalcLayout(image, text);
    EXPECT_EQ(image, side.image);
    // The face's column beside the part clicks; the part's own column drops the menu.
    clicked.clear();
    const size_t shown = dialogs().Shown().size();
    b->MouseDown(mbLeft, 0, side.faceColumn, 5);
    b->MouseUp(mbLeft, 0, side.faceColumn, 5);
    EXPECT_EQ(clicked, (std::vector<std::string>{side.name}));
    EXPECT_EQ(dialogs().Shown().size(), shown);
    // The part's row 12 while its menu is down, sampled as the menu is about to show.
    std::vector<TColor> dropped;
    b->OnDropDown = [&](TComponent*) {
      TBitmap& now = b->PaintOffscreen();
      for (int x = 0; x < 39; ++x) dropped.push_back(now.PixelColor(x, 12));
    };
    dialogs().AnswerPopup(nullptr);
    b->MouseDown(mbLeft, 0, side.partColumn, 5);
    ASSERT_EQ(dialogs().Shown().size(), shown + 1);
    EXPECT_EQ(clicked.size(), 1u);
    // A status frame round the part alone: shadow at its left, light at its right.
    ASSERT_EQ(dropped.size(), 39u);
    EXPECT_EQ(dropped[static_cast<size_t>(side.part.Left)], ColorToRGB(clBtnShadow));
    EXPECT_EQ(dropped[static_cast<size_t>(side.part.Right - 1)], ColorToRGB(clBtnHighlight));
    EXPECT_EQ(dropped[static_cast<size_t>(side.faceColumn)], ColorToRGB(b->Color()));
    // Hot: the separator, and the arrow in rows of 5, 3 and 1 ending in its point.
    b->MouseEnter();
    const int ax = side.arrowX;
    EXPECT_TRUE(PixelsAre(b->PaintOffscreen(), {{side.shadowX, 5, clBtnShadow},
                                                {side.lightX, 5, clBtnHighlight},
                                                {ax - 2, 12, clWindowText},
                                                {ax + 2, 12, clWindowText},
                                                {ax, 14, clWindowText},
                                                {ax - 3, 12, b->Color()},
                                                {ax + 3, 12, b->Color()},
                                                {ax - 1, 14, b->Color()},
                                                {ax + 1, 14, b->Color()}}));
  }
}

// Windowless transparent buttons and spacers let the bar's gradient show through them.
TEST_F(ToolbarTest, TransparentButtonsAndSpacersShowTheGradientOfTheirBar) {
  bar->SetVisualStyle(vsGradient);
  bar->SetGradientColorStyle(gcsCustom);
  bar->SetGradientColorStart(RGB(255, 255, 255));
  bar->SetGradientColorStop(RGB(0, 0, 255));
  TWkToolButton* b = NewButton("b");
  auto* spacer = new TWkSpacer(form);
  spacer->SetParent(bar);
  b->MouseLeave();
  TBitmap& back = bar->PaintOffscreen();
  // Rows near the top and the bottom of each: not one flat colour, and the bar's own pixels.
  const std::vector<Px> underButton = {
      {2, 2, back.PixelColor(b->Left() + 2, b->Top() + 2)},
      {2, b->Height() - 3, back.PixelColor(b->Left() + 2, b->Top() + b->Height() - 3)}};
  const std::vector<Px> underSpacer = {
      {1, 1, back.PixelColor(spacer->Left() + 1, spacer->Top() + 1)},
      {1, spacer->Height() - 2,
       back.PixelColor(spacer->Left() + 1, spacer->Top() + spacer->Height() - 2)}};
  ASSERT_NE(underButton[0].Color, underButton[1].Color);
  EXPECT_TRUE(PixelsAre(b->PaintOffscreen(), underButton));
  EXPECT_TRUE(PixelsAre(spacer->PaintOffscreen(), underSpacer));
  // A button that is not transparent fills its face with its colour.
  b->SetTransparent(false);
  b->SetColor(clYellow);
  EXPECT_TRUE(PixelsAre(b->PaintOffscreen(), {{2, 2, clYellow}}));
}

TEST_F(ToolbarTest, TheOverflowPopupOffersTheButtonsBeyondTheEdge) {
  bar->SetWrapControls(false);
  TImageList images(16, 16);
  TBitmap square(16, 16, pf24bit);
  square.Canvas().Brush().SetColor(clRed);
  square.Canvas().FillRect(Rect(0, 0, 16, 16));
  square.Canvas().Brush().SetColor(clBlue);
  square.Canvas().FillRect(Rect(4, 4, 12, 12));
  images.Add(square);
  bar->SetImages(&images);
  for (int i = 0; i < 20; ++i) NewButton("t" + std::to_string(i))->SetImageIndex(0);
  auto* spacer = new TWkSpacer(form);  // beyond the edge too, yet no button to offer
  spacer->SetParent(bar);
  EXPECT_EQ(bar->ToolbarControls().IndexOfControl(spacer), 20);
  ASSERT_TRUE(bar->OverflowShown());
  TWkToolbarPopupButton* more = bar->PopupButton();
  // Choosing a copy clicks the original.
  Application->QueueCall([&] {
    TWkPopupPanel* popup = more->OpenPopup();
    ASSERT_NE(popup, nullptr);
    TWkPopup* window = popup->PopupWindow();
    ASSERT_NE(window, nullptr);
    auto* inner = dynamic_cast<TWkToolbar*>(window->Controls(0));
    ASSERT_NE(inner, nullptr);
    EXPECT_FALSE(SaveScreenshot(window, "toolbar_overflow_popup").empty());
    // Only the buttons that end beyond the bar's width less its margin are offered.
    const int offered = inner->ToolbarControls().Count();
    int beyond = 0;
    for (int i = 0; i < 20; ++i) {
      auto* t = form->Find<TWkToolButton>("t" + std::to_string(i));
      if (t->Left() + t->Width() > bar->Width() - bar->Margin()) ++beyond;
    }
    EXPECT_EQ(offered, beyond);
    auto* last =
        dynamic_cast<TWkPopupToolButton*>(inner->ToolbarControls().Items(offered - 1).Control);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->SourceButton()->Name(), "t19");
    last->MouseDown(mbLeft, 0, 3, 3);
    last->MouseUp(mbLeft, 0, 3, 3);
  });
  UserClick(more);
  EXPECT_EQ(clicked, (std::vector<std::string>{"t19"}));
  // Closing it with Esc clicks nothing.
  Application->QueueCall([&] { UserKey(bar, VK_ESCAPE); });
  UserClick(more);
  EXPECT_EQ(clicked.size(), 1u);
}

// The pop-up's own frame (a light and a dark side, then its band) rings the bar inside it.
TEST_F(ToolbarTest, TheOverflowPopupsFrameRingsItsBar) {
  bar->SetWrapControls(false);
  for (int i = 0; i < 20; ++i) NewButton("t" + std::to_string(i));
  ASSERT_TRUE(bar->OverflowShown());
  TWkToolbarPopupButton* more = bar->PopupButton();
  TRect inner, window;
  std::unique_ptr<TBitmap> shot;
  Application->QueueCall([&] {
    TWkPopup* popup = more->OpenPopup()->PopupWindow();
    window = popup->BoundsRect();
    inner = popup->Controls(0)->BoundsRect();
    shot = GrabControl(popup);
    more->OpenPopup()->ClosePopup();
  });
  UserClick(more);
  ASSERT_TRUE(shot);
  const int w = window.Width(), h = window.Height();
  // One pixel of frame and two of band on each side.
  EXPECT_EQ(inner, Rect(3, 3, w - 3, h - 3));
  const TColor bandColour = clBtnFace;
  EXPECT_TRUE(PixelsAre(*shot, {{0, 0, clBtnHighlight},
                                {w - 2, 0, clBtnHighlight},
                                {0, h - 2, clBtnHighlight},
                                {w - 1, 0, clBtnShadow},
                                {0, h - 1, clBtnShadow},
                                {w - 1, h - 1, clBtnShadow},
                                {1, 1, bandColour},
                                {w - 3, h - 3, bandColour}}));
}

// --- popup panel --------------------------------------------------------------------------------

namespace {

class PopupTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(200, 120);
    anchor = new TButton(form);
    anchor->SetParent(form);
    anchor->SetBounds(100, 10, 60, 24);
    other = new TButton(form);
    other->SetParent(form);
    other->SetBounds(10, 80, 60, 24);
    other->OnClick = [this](TComponent*) { ++otherClicks; };
    panel = new TWkPopupPanel(form);
    auto* content = new TWkPanel(form);
    content->SetName("Content1");
    content->SetParent(panel);
    content->SetBounds(0, 0, 80, 50);
    form->Show();
    ProcessEvents();
  }
  TButton* anchor = nullptr;
  TButton* other = nullptr;
  TWkPopupPanel* panel = nullptr;
  int otherClicks = 0;
};

}  // namespace

TEST_F(PopupTest, OpensUnderItsControlAndClosesByCallEscOrAnOutsideClick) {
  TRect shownAt;
  bool second = true;
  int closes = 0;
  panel->OnClose = [&](TComponent*) { ++closes; };
  Application->QueueCall([&] {
    shownAt = panel->PopupWindow()->BoundsRect();
    second = panel->Popup(anchor);  // one at a time
    panel->ClosePopup();
  });
  EXPECT_TRUE(panel->Popup(anchor));
  EXPECT_FALSE(second);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(panel->PopupWindow(), nullptr);  // the window is gone, not hidden
  EXPECT_EQ(panel->ControlCount(), 1);       // the children came back
  const TPoint a = anchor->ClientToScreen(Point(0, 0));
  // Right-justified: it ends at the control's right edge, under it.
  EXPECT_EQ(shownAt.Right, a.X + anchor->Width());
  EXPECT_EQ(shownAt.Top, a.Y + anchor->Height());
  EXPECT_EQ(shownAt.Width(), panel->Width());

  Application->QueueCall([&] { UserKey(other, VK_ESCAPE); });
  EXPECT_FALSE(panel->Popup(anchor));
  EXPECT_EQ(otherClicks, 0);
  // A click on another control closes it and never reaches that control.
  Application->QueueCall([&] { UserClick(other); });
  EXPECT_FALSE(panel->Popup(anchor));
  EXPECT_EQ(otherClicks, 0);
  EXPECT_EQ(closes, 3);
  UserClick(other);
  EXPECT_EQ(otherClicks, 1);
  // Switching to another program closes it too, and its window is freed, not left hidden.
  Application->QueueCall([] { UserSwitchAway(); });
  EXPECT_FALSE(panel->Popup(anchor));
  EXPECT_EQ(panel->PopupWindow(), nullptr);
  EXPECT_EQ(closes, 4);
}

TEST_F(PopupTest, FreeingThePanelWhileItsPopupIsOpenClosesIt) {
  TWkPopupPanel* doomed = panel;
  Application->QueueCall([&] {
    delete doomed;
    panel = nullptr;
  });
  EXPECT_FALSE(doomed->Popup(anchor));
  // Its content came back from the pop-up window and went with the panel, once.
  EXPECT_EQ(form->FindComponent("Content1"), nullptr);
}

TEST_F(PopupTest, StaysOnTheWorkAreaNearItsRightAndBottomEdges) {
  const TRect work = GetMonitorWorkArea(Point(0, 0));
  form->SetBounds(work.Right - 150, work.Bottom - 100, 150, 100);
  anchor->SetBounds(0, 10, 60, 24);
  panel->SetAlignment(taLeftJustify);
  panel->Controls(0)->SetHeight(200);
  TRect shownAt;
  Application->QueueCall([&] {
    shownAt = panel->PopupWindow()->BoundsRect();
    panel->ClosePopup();
  });
  EXPECT_TRUE(panel->Popup(anchor));
  const TPoint a = anchor->ClientToScreen(Point(0, 0));
  EXPECT_LE(shownAt.Right, work.Right);
  EXPECT_GE(shownAt.Top, work.Top);  // moved up, yet on the work area
  EXPECT_LE(shownAt.Bottom, a.Y);
}
