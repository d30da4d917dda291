// The scroller, the close button and the tab menu in the strip: placement, press and release,
// auto-repeat, and what the menu lists.
#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;

namespace {

// The middle of one half of the scroller.
TPoint HalfCentre(TWkTabScroller* s, int half) {
  const TRect r = s->HalfRect(half);
  return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

}  // namespace

TEST_F(TabTest, OverflowingStripShowsTheScrollerAndScrollingStopsAtTheLastTab) {
  auto* tc = Strip(8);  // 8 tabs of 60, overlapping by 9, in a 297-pixel strip
  ASSERT_TRUE(tc->ScrollerNeeded());
  TWkTabScroller* s = tc->Scroller();
  ASSERT_NE(s, nullptr);
  const int b = tc->ButtonSize();
  EXPECT_EQ(b, 18);  // a fixed TabHeight of 20 makes it FixedDimension - 2
  // Top tabs, standard sequence, shadow on: at the strip's end, b + 2 from the card.
  const TRect a = tc->TabArea();
  EXPECT_EQ(s->BoundsRect(), Bounds(a.Right - (2 * b - 1) - 1, a.Bottom - b - 2, 2 * b - 1, b));
  EXPECT_EQ(tc->FirstTab(), 0);
  int steps = 0;
  while (!tc->TabWhollyShown(7) && steps < 20) {
    const TPoint p = HalfCentre(s, 1);
    s->MouseDown(mbLeft, ssLeft, p.X, p.Y);
    s->MouseUp(mbLeft, 0, p.X, p.Y);
    ++steps;
  }
  const int first = tc->FirstTab();
  EXPECT_GT(first, 0);
  EXPECT_TRUE(tc->TabWhollyShown(7));
  EXPECT_FALSE(tc->TabWhollyShown(first - 1));
  // Once the last tab shows, forward stops; backward returns one tab at a time.
  tc->ScrollForward();
  EXPECT_EQ(tc->FirstTab(), first);
  const TPoint back = HalfCentre(s, 0);
  s->MouseDown(mbLeft, ssLeft, back.X, back.Y);
  s->MouseUp(mbLeft, 0, back.X, back.Y);
  EXPECT_EQ(tc->FirstTab(), first - 1);
  // A hit on a tab scrolled out of view finds nothing; the first shown tab is hit.
  EXPECT_EQ(tc->TabAtPos(5, 10), tc->FirstTab());
}

TEST_F(TabTest, ScrollerRepeatsAfter400msThenEvery100msAndAReleaseOutsideClicksNothing) {
  auto* tc = Strip(8);
  TWkTabScroller* s = tc->Scroller();
  ASSERT_NE(s, nullptr);
  int forward = 0, backward = 0;
  s->OnUpRightClick = [&](TComponent*) { ++forward; };
  s->OnDownLeftClick = [&](TComponent*) { ++backward; };
  const TPoint right = HalfCentre(s, 1);
  s->MouseDown(mbLeft, ssLeft, right.X, right.Y);
  EXPECT_EQ(s->PressedHalf(), 1);
  ASSERT_NE(s->RepeatTimer(), nullptr);
  EXPECT_EQ(s->RepeatTimer()->Interval(), 400u);
  EXPECT_TRUE(FireTimer(s->RepeatTimer()));
  EXPECT_EQ(forward, 1);
  EXPECT_EQ(s->RepeatTimer()->Interval(), 100u);
  EXPECT_TRUE(FireTimer(s->RepeatTimer()));
  EXPECT_EQ(forward, 2);
  // Out of the pressed half: the look goes up and ticks click nothing.
  const TPoint left = HalfCentre(s, 0);
  s->MouseMove(ssLeft, left.X, left.Y);
  EXPECT_FALSE(s->Pressed());
  FireTimer(s->RepeatTimer());
  EXPECT_EQ(forward, 2);
  s->MouseUp(mbLeft, 0, left.X, left.Y);
  EXPECT_EQ(forward, 2);
  EXPECT_EQ(backward, 0);
  EXPECT_FALSE(s->RepeatTimer()->Enabled());
  // Back into the half before releasing: the release clicks.
  s->MouseDown(mbLeft, ssLeft, right.X, right.Y);
  s->MouseMove(ssLeft, -5, right.Y);
  s->MouseMove(ssLeft, right.X, right.Y);
  s->MouseUp(mbLeft, 0, right.X, right.Y);
  EXPECT_EQ(forward, 3);
}

TEST_F(TabTest, NoTabsNoButtonSpaceAndTheCloseButtonAsksOnClose) {
  auto* tc = Strip(0);
  tc->SetShowCloseButton(true);
  tc->SetShowMenuButton(true);
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabAtPos(10, 10), -1);
  EXPECT_EQ(tc->TabIndex(), -1);
  EXPECT_EQ(tc->FirstTab(), -1);
  EXPECT_FALSE(tc->CloseButton()->Visible());
  EXPECT_FALSE(tc->MenuButton()->Visible());

  auto* with = Strip(3);
  with->SetShowCloseButton(true);
  with->SetShowMenuButton(true);
  with->SetTabIndex(1);
  with->UpdateLayout();
  const int b = with->ButtonSize();
  const TRect a = with->TabArea();
  EXPECT_TRUE(with->CloseButton()->Visible());
  EXPECT_EQ(with->CloseButton()->BoundsRect(), Bounds(a.Right - b - 1, a.Bottom - b - 2, b, b));
  EXPECT_EQ(with->MenuButton()->Left(), a.Right - b - 1 - (b + 2));
  // Without a handler nothing closes; the handler sees AllowClose start False.
  int asked = 0;
  bool startedAs = true;
  with->OnClose = [&](TComponent*, bool& allow) {
    ++asked;
    startedAs = allow;
  };
  UserClick(with->CloseButton());
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(startedAs);
  EXPECT_EQ(with->TabCount(), 3);
}

TEST_F(TabTest, TabMenuListsOnlyVisibleTabsAndEachItemSelectsItsTab) {
  auto* tc = Strip(4);
  tc->Tabs().Items(1)->Visible = false;
  tc->Tabs().Items(3)->Enabled = false;
  tc->SetShowMenuButton(true);
  tc->SetTabIndex(2);
  tc->UpdateLayout();
  std::vector<std::string> captions;
  std::vector<intptr_t> tags;
  std::vector<bool> checked, enabled;
  dialogs().AnswerPopupWith([&](TPopupMenu& menu) -> TMenuItem* {
    for (int i = 0; i < menu.Items()->Count(); ++i) {
      TMenuItem* item = menu.Items()->Items(i);
      captions.push_back(item->Caption());
      tags.push_back(item->Tag);
      checked.push_back(item->Checked());
      enabled.push_back(item->Enabled());
    }
    return menu.Items()->Items(0);
  });
  UserClick(tc->MenuButton());
  EXPECT_EQ(captions, (std::vector<std::string>{"T0", "T2", "T3"}));
  EXPECT_EQ(tags, (std::vector<intptr_t>{0, 2, 3}));
  EXPECT_EQ(checked, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(enabled, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(tc->TabIndex(), 0);
  // Opened again, the menu is rebuilt, not appended to.
  size_t count = 0;
  dialogs().AnswerPopupWith([&](TPopupMenu& menu) -> TMenuItem* {
    count = static_cast<size_t>(menu.Items()->Count());
    return menu.Items()->Items(1);
  });
  tc->MenuButton()->ShowTabMenu();
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(tc->TabIndex(), 2);
}

TEST_F(TabTest, TabMenuItemsShowTheTabsImagesAndADisabledTabsOwn) {
  TImageList images(16, 16);
  TBitmap picture(48, 16, pf24bit);
  images.Add(picture);  // three images
  auto* tc = Strip(4);
  tc->SetImages(&images);
  tc->Tabs().Items(0)->ImageIndex = 0;
  tc->Tabs().Items(1)->ImageIndex = 1;
  tc->Tabs().Items(1)->DisabledIndex = 2;
  tc->Tabs().Items(1)->Enabled = false;
  tc->Tabs().Items(2)->ImageIndex = 1;  // disabled without an image of its own
  tc->Tabs().Items(2)->Enabled = false;
  tc->Tabs().Items(3)->DisabledIndex = 2;  // enabled: its ImageIndex, none
  tc->SetShowMenuButton(true);
  tc->UpdateTabData();
  tc->UpdateLayout();
  TImageList* given = nullptr;
  std::vector<int> indexes;
  dialogs().AnswerPopupWith([&](TPopupMenu& menu) -> TMenuItem* {
    given = menu.Images();
    for (int i = 0; i < menu.Items()->Count(); ++i)
      indexes.push_back(menu.Items()->Items(i)->ImageIndex());
    return nullptr;
  });
  UserClick(tc->MenuButton());
  EXPECT_EQ(given, &images);
  EXPECT_EQ(indexes, (std::vector<int>{0, 2, 1, -1}));
}

// The menu's items carry the tabs' captions as they are, accelerator marks included, so a
// four-byte character shows whole there as on the tab; the strip's picture is saved with the
// menu open to look at.
TEST_F(TabTest, TabMenuItemsShowFourByteCharactersWhole) {
  auto* tc = Strip(3);
  tc->SetTabWidth(0);
  tc->Tabs().Items(0)->Caption = "Q&😀x";
  tc->Tabs().Items(1)->Caption = "&&😀";
  tc->Tabs().Items(2)->Caption = "中&文";
  tc->SetShowMenuButton(true);
  tc->UpdateTabData();
  tc->UpdateLayout();
  std::vector<std::string> captions;
  dialogs().AnswerPopupWith([&](TPopupMenu& menu) -> TMenuItem* {
    for (int i = 0; i < menu.Items()->Count(); ++i)
      captions.push_back(U8(menu.Items()->Items(i)->Caption()));
    return menu.Items()->Items(1);
  });
  UserClick(tc->MenuButton());
  EXPECT_EQ(captions, (std::vector<std::string>{U8("Q&😀x"), U8("&&😀"), U8("中&文")}));
  EXPECT_EQ(tc->TabIndex(), 1);
  recorder.reset();  // the picture in the machine's own fonts
  tc->UpdateLayout();
  EXPECT_NE(
      SaveScreenshotWithMenu(tc, tc->MenuButton()->Menu(), tc->MenuButton(), "tab-menu-four-byte"),
      "");
}

TEST_F(TabTest, AFreedImageListIsForgottenAndAChangedOneMeasuredAgain) {
  auto images = std::make_unique<TImageList>(16, 16);
  auto* tc = Strip(2);
  tc->SetTabWidth(0);
  tc->Tabs().Items(0)->ImageIndex = 0;
  tc->UpdateTabData();
  tc->UpdateLayout();
  const TRect plain = tc->TabClientRect(0);
  tc->SetImages(images.get());
  tc->UpdateLayout();
  EXPECT_GT(tc->TabClientRect(0).Width(), plain.Width());
  images->Add(TBitmap(16, 16, pf24bit));  // a change of the list lays the tabs out again
  EXPECT_TRUE(tc->LayoutDirty());
  images.reset();
  EXPECT_EQ(tc->Images(), nullptr);
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabClientRect(0), plain);
  EXPECT_NO_THROW(tc->PaintOffscreen());
}
