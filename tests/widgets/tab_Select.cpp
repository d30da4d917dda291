// Selecting tabs by code, mouse, keys and accelerators; overlapping tabs; hidden and
// disabled tabs; hot tracking and tab hints on the 60 ms timer.
#include "platform/gui/Desktop.h"
#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;

namespace {

struct Events {
  std::vector<std::string> log;
  void Watch(TWkCustomTabControl* tc, bool refuse = false) {
    tc->OnChanging = [this, refuse](TComponent*, int index, bool& allow) {
      log.push_back("changing " + std::to_string(index));
      if (refuse) allow = false;
    };
    tc->OnChange = [this](TComponent*) { log.push_back("change"); };
    tc->OnPageChange = [this](TComponent*) { log.push_back("page"); };
    tc->OnTabClick = [this](TComponent*) { log.push_back("click"); };
  }
};

}  // namespace

TEST_F(TabTest, SelectingByCodeAsksOnChangingAndOutOfRangeClearsWithoutEvents) {
  auto* tc = Strip(3);
  Events e;
  e.Watch(tc);
  tc->SetTabIndex(1);
  EXPECT_EQ(e.log, (std::vector<std::string>{"changing 1", "change", "page"}));
  e.log.clear();
  tc->SetTabIndex(1);  // the current one: nothing to ask, nothing changed
  EXPECT_TRUE(e.log.empty());
  tc->SetTabIndex(3);  // the count
  EXPECT_EQ(tc->TabIndex(), -1);
  EXPECT_TRUE(e.log.empty());
  tc->Tabs().Items(2)->Enabled = false;
  tc->SetTabIndex(2);
  EXPECT_EQ(tc->TabIndex(), -1);
  Events refuse;
  refuse.Watch(tc, true);
  tc->SetTabIndex(0);
  EXPECT_EQ(tc->TabIndex(), -1);
  EXPECT_EQ(refuse.log, (std::vector<std::string>{"changing 0"}));
}

TEST_F(TabTest, ClicksSelectAndAClickOnTheCurrentTabOnlyFocusesAndReports) {
  auto* tc = Strip(3);
  tc->SetTabIndex(0);
  Events e;
  e.Watch(tc);
  ClickTab(tc, 2);
  EXPECT_EQ(tc->TabIndex(), 2);
  EXPECT_EQ(e.log, (std::vector<std::string>{"changing 2", "change", "page", "click"}));
  e.log.clear();
  ClickTab(tc, 2);
  EXPECT_TRUE(tc->Focused());
  EXPECT_EQ(e.log, (std::vector<std::string>{"click"}));
  // A disabled tab and the empty strip take no click.
  e.log.clear();
  tc->Tabs().Items(1)->Enabled = false;
  Click(tc, Point(75, 10));  // tab 1 only
  Click(tc, Point(250, 10));
  EXPECT_TRUE(e.log.empty());
  EXPECT_EQ(tc->TabIndex(), 2);
}

TEST_F(TabTest, OverlappingTabsAreHitAsTheCurrentTab) {
  auto* tc = Strip(2);
  // (53, 18) lies under both tab 0's slant and tab 1's upright side.
  tc->SetTabIndex(0);
  EXPECT_EQ(tc->TabAtPos(53, 18), 0);
  tc->SetTabIndex(1);
  EXPECT_EQ(tc->TabAtPos(53, 18), 1);
  // Above tab 0's slant only tab 1 is there; in the bare strip nothing.
  tc->SetTabIndex(0);
  EXPECT_EQ(tc->TabAtPos(58, 2), 1);
  EXPECT_EQ(tc->TabAtPos(150, 10), -1);
  EXPECT_EQ(tc->TabAtPos(30, 40), -1);  // the card
}

TEST_F(TabTest, HidingTheCurrentTabMovesToTheNextSelectableOrElseThePrevious) {
  auto* tc = Strip(4);
  tc->SetTabIndex(1);
  Events e;
  e.Watch(tc);
  tc->Tabs().Items(2)->Enabled = false;
  tc->Tabs().Items(1)->Visible = false;
  tc->UpdateTabData();
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabIndex(), 3);  // 2 is disabled
  EXPECT_EQ(e.log, (std::vector<std::string>{"changing 3", "change", "page"}));
  tc->Tabs().Items(3)->Visible = false;
  tc->UpdateTabData();
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabIndex(), 0);  // none follows: the previous one
  // Without a current tab, a layout does not pick one.
  tc->SetTabIndex(-1);
  tc->UpdateTabData();
  tc->UpdateLayout();
  EXPECT_EQ(tc->TabIndex(), -1);
  // When OnChanging refuses every candidate, the index stays.
  auto* other = Strip(3);
  other->SetTabIndex(1);
  Events refuse;
  refuse.Watch(other, true);
  other->Tabs().Items(1)->Visible = false;
  other->UpdateTabData();
  other->UpdateLayout();
  EXPECT_EQ(other->TabIndex(), 1);
}

TEST_F(TabTest, ArrowsHomeAndEndFollowTheSideAndSequence) {
  auto* tc = Strip(4);
  tc->SetTabIndex(0);
  tc->Tabs().Items(2)->Enabled = false;
  Events e;
  e.Watch(tc);
  auto key = [&](uint16_t k) {
    uint16_t copy = k;
    tc->KeyDown(copy, 0);
    return tc->TabIndex();
  };
  EXPECT_EQ(key(VK_RIGHT), 1);
  EXPECT_EQ(key(VK_DOWN), 3);   // the disabled tab is passed over
  EXPECT_EQ(key(VK_RIGHT), 0);  // wraps
  EXPECT_EQ(key(VK_LEFT), 3);
  EXPECT_EQ(key(VK_HOME), 0);
  EXPECT_EQ(key(VK_END), 3);
  // The found tab is selected without a second OnChanging, and reported as a click.
  EXPECT_EQ(e.log[0], "changing 1");
  EXPECT_EQ(e.log[1], "change");
  EXPECT_EQ(e.log[3], "click");

  // Left-side tabs in standard sequence: Up means next, and Home and End swap.
  tc->SetTabOrientation(toLeft);
  tc->SetTabIndex(0);
  EXPECT_EQ(key(VK_UP), 1);
  EXPECT_EQ(key(VK_DOWN), 0);
  EXPECT_EQ(key(VK_HOME), 3);
  // Reverse sequence on top: Left means next.
  tc->SetTabOrientation(toTop);
  tc->SetTabSequence(tsReverse);
  tc->SetTabIndex(0);
  EXPECT_EQ(key(VK_LEFT), 1);
  // Through the keyboard as the user presses it.
  tc->SetTabSequence(tsStandard);
  tc->SetFocus();
  UserKey(tc, VK_RIGHT);
  EXPECT_EQ(tc->TabIndex(), 3);
}

TEST_F(TabTest, AnAcceleratorSelectsItsTab) {
  auto* tc = Strip(3);
  tc->Tabs().Items(1)->Caption = "&Edit";
  tc->Tabs().Items(2)->Caption = "R&&D";
  tc->UpdateTabData();
  tc->SetTabIndex(0);
  Events e;
  e.Watch(tc);
  EXPECT_TRUE(tc->DialogChar('E'));
  EXPECT_EQ(tc->TabIndex(), 1);
  EXPECT_EQ(e.log.back(), "click");
  EXPECT_FALSE(tc->DialogChar('d'));  // "&&" marks nothing
  // From the window: Alt+E reaches the control through the layer.
  tc->SetTabIndex(0);
  UserKey(tc, 'E', ssAlt);
  EXPECT_EQ(tc->TabIndex(), 1);
}

TEST_F(TabTest, HotTrackingAndTabHintsEndWithinOneTickOfLeaving) {
  auto* tc = Strip(3);
  tc->SetHint("strip");
  tc->SetTabHints(true);
  tc->Tabs().Items(1)->Hint = "second";
  tc->MouseMove(0, 75, 10);
  EXPECT_EQ(tc->HotTab(), 1);
  EXPECT_EQ(tc->Hint(), "second");
  EXPECT_TRUE(tc->HotTrackTimer()->Enabled());
  EXPECT_EQ(tc->HotTrackTimer()->Interval(), 60u);
  // Still over a tab at the tick: nothing ends.
  SetCursorPosForTesting(true, tc->ClientToScreen(Point(75, 10)));
  FireTimer(tc->HotTrackTimer());
  EXPECT_EQ(tc->HotTab(), 1);
  // The pointer left the strip: one tick restores the hint.
  SetCursorPosForTesting(true, tc->ClientToScreen(Point(150, 60)));
  FireTimer(tc->HotTrackTimer());
  SetCursorPosForTesting(false);
  EXPECT_EQ(tc->HotTab(), -1);
  EXPECT_EQ(tc->Hint(), "strip");
  EXPECT_FALSE(tc->HotTrackTimer()->Enabled());
  // Moving off the tabs but within the strip ends hot tracking without the hint coming back.
  tc->MouseMove(0, 75, 10);
  tc->MouseMove(0, 250, 10);
  EXPECT_EQ(tc->HotTab(), -1);
  EXPECT_EQ(tc->Hint(), "second");
  // Hot tracking and hints both off stop the timer.
  tc->MouseMove(0, 20, 10);
  tc->SetHotTrack(false);
  EXPECT_TRUE(tc->HotTrackTimer()->Enabled());
  tc->SetTabHints(false);
  EXPECT_FALSE(tc->HotTrackTimer()->Enabled());
}
