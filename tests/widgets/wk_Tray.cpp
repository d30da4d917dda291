// The tray icon on a test platform without a notification area: its state, tip, animation
// stepped by hand, clicks and minimising to it and restoring from it.
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/GbkText.h"
#include "tests/support/GuiTest.h"
#include "widgets/WkTray.h"

namespace {

class TrayTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    tray = std::make_unique<TWkTrayIcon>(nullptr);
    tray->Loaded();
    for (const char* name : {"ld", "lu", "ldbl", "rd", "ru", "min", "restore"}) seen[name] = 0;
    tray->OnLButtonDown = Count("ld");
    tray->OnLButtonUp = Count("lu");
    tray->OnLButtonDblClick = Count("ldbl");
    tray->OnRButtonDown = Count("rd");
    tray->OnRButtonUp = Count("ru");
    tray->OnMinimizeApp = Count("min");
    tray->OnRestoreApp = Count("restore");
  }
  void TearDown() override {
    tray.reset();
    TTrayIcon::SetReportsDoubleClicksForTesting(-1);
    Application->SetTaskbarButtonVisible(true);
    GuiTest::TearDown();
  }
  TNotifyEvent Count(const std::string& name) {
    return [this, name](TComponent*) { ++seen[name]; };
  }
  std::unique_ptr<TWkTrayIcon> tray;
  std::map<std::string, int> seen;
};

void AddThreeIcons(TImageList& list) {
  for (TColor c : {clRed, clLime, clBlue}) {
    TBitmap b(16, 16, pf24bit);
    b.Canvas().Brush().SetColor(c);
    b.Canvas().FillRect(Rect(0, 0, 16, 16));
    list.Add(b);
  }
}

}  // namespace

TEST_F(TrayTest, WithoutANotificationAreaItKeepsItsStateAndCutsTheTip) {
  EXPECT_TRUE(tray->Enabled());
  EXPECT_TRUE(tray->InTray());
  std::string hint;
  for (int i = 0; i < 200; ++i) hint += "网";
  tray->SetHint(hint);
  EXPECT_EQ(CharCount(tray->ShownTip()), 127);
  EXPECT_EQ(tray->ShownTip().size(), 254u);  // whole characters only
  tray->SetHint("Ulo网络浏览工具");
  EXPECT_EQ(tray->ShownTip(), "Ulo网络浏览工具");
  tray->SetEnabled(false);
  EXPECT_FALSE(tray->InTray());
  tray->SetEnabled(true);
  tray->TaskbarCreated();  // the desktop's bar came back
  EXPECT_TRUE(tray->InTray());
}

TEST_F(TrayTest, AnimationCyclesThroughTheIconsOnEachTick) {
  TImageList icons(16, 16);
  AddThreeIcons(icons);
  tray->SetIcons(&icons);
  tray->SetInterval(250);
  tray->SetAnimate(true);
  EXPECT_EQ(tray->Timer()->Interval(), 250u);
  std::vector<int> shown;
  std::vector<TColor> colours;
  for (int i = 0; i < 4; ++i) {
    shown.push_back(tray->IconIndex());
    colours.push_back(tray->ShownIcon().PixelColor(8, 8));
    ASSERT_TRUE(FireTimer(tray->Timer()));
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(colours[1], ColorToRGB(clLime));
  tray->SetIconIndex(5);  // out of range: the program's icon
  EXPECT_EQ(tray->ShownIcon().Width(), Application->Icon().Width());
  tray->SetAnimate(false);
  EXPECT_FALSE(FireTimer(tray->Timer()));
}

TEST_F(TrayTest, ClicksRestoreAndMinimisingHidesTheTaskbarButton) {
  TTrayIcon::SetReportsDoubleClicksForTesting(1);
  // Without a menu a right click only reports itself.
  tray->Activated(TTrayActivation::ContextMenu);
  EXPECT_EQ(seen["rd"], 1);
  EXPECT_EQ(seen["ru"], 1);
  EXPECT_EQ(seen["restore"], 0);
  Application->Minimize();
  EXPECT_EQ(seen["min"], 1);
  EXPECT_FALSE(Application->TaskbarButtonVisible());
  tray->Activated(TTrayActivation::Click);  // a single click restores nothing here
  EXPECT_EQ(seen["restore"], 0);
  EXPECT_FALSE(Application->TaskbarButtonVisible());
  tray->Activated(TTrayActivation::DoubleClick);
  EXPECT_EQ(seen["ldbl"], 1);
  EXPECT_EQ(seen["restore"], 1);
  EXPECT_TRUE(Application->TaskbarButtonVisible());
  // Where the notification area reports no double clicks, the click restores.
  TTrayIcon::SetReportsDoubleClicksForTesting(0);
  Application->Minimize();
  tray->Activated(TTrayActivation::Click);
  EXPECT_EQ(seen["restore"], 2);
  EXPECT_EQ(seen["lu"], 2);
  // With a menu, the right button's release pops it up.
  TPopupMenu menu(nullptr);
  menu.SetName("TrayMenu");
  tray->SetPopupMenu(&menu);
  dialogs().AnswerPopup(nullptr);
  tray->Activated(TTrayActivation::ContextMenu);
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  EXPECT_EQ(dialogs().Shown()[0].Text, "TrayMenu");
  tray->SetPopupMenu(nullptr);
}

TEST_F(TrayTest, FreedIconGivesTheApplicationsEventsBack) {
  int before = 0;
  tray.reset();
  Application->OnMinimize = [&](TComponent*) { ++before; };
  {
    TWkTrayIcon second(nullptr);
    Application->Minimize();
    EXPECT_EQ(before, 0);
  }
  Application->Minimize();
  EXPECT_EQ(before, 1);
  Application->OnMinimize = nullptr;
}

// Several icons share the application's minimise and restore: each icon alive hears them,
// whichever order they are made and freed in, and the handlers from before the first icon
// come back when the last one goes.
TEST_F(TrayTest, IconsFreedInAnyOrderLeaveTheOthersHearingAndTheOldHandlersBack) {
  tray.reset();
  int before = 0, restoredBefore = 0;
  Application->OnMinimize = [&](TComponent*) { ++before; };
  Application->OnRestore = [&](TComponent*) { ++restoredBefore; };
  for (int count : {2, 3}) {
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i) order[i] = i;
    do {
      std::vector<std::unique_ptr<TWkTrayIcon>> icons;
      std::vector<int> minimised(count, 0), restored(count, 0);
      for (int i = 0; i < count; ++i) {
        icons.push_back(std::make_unique<TWkTrayIcon>(nullptr));
        icons.back()->Loaded();
        icons.back()->OnMinimizeApp = [&minimised, i](TComponent*) { ++minimised[i]; };
        icons.back()->OnRestoreApp = [&restored, i](TComponent*) { ++restored[i]; };
      }
      for (int step = 0; step < count; ++step) {
        std::vector<int> wantMin = minimised, wantRestored = restored;
        for (int i = 0; i < count; ++i)
          if (icons[i]) ++wantMin[i], ++wantRestored[i];
        Application->Minimize();
        Application->Restore();
        EXPECT_EQ(minimised, wantMin) << count << " icons, step " << step;
        EXPECT_EQ(restored, wantRestored) << count << " icons, step " << step;
        icons[order[step]].reset();
      }
      Application->Minimize();
      Application->Restore();
    } while (std::next_permutation(order.begin(), order.end()));
  }
  // Only the last minimise and restore of each round reached the handlers from before.
  EXPECT_EQ(before, 2 + 6);
  EXPECT_EQ(restoredBefore, 2 + 6);
  Application->OnMinimize = nullptr;
  Application->OnRestore = nullptr;
}
