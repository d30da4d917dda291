// The notification-area icon where the desktop has none (the test platform).
#include "platform/gui/TrayIcon.h"
#include "tests/support/GuiTest.h"

namespace {

class TrayTest : public GuiTest {};

TEST_F(TrayTest, KeepsItsStateWithoutANotificationAreaAndReportsActivations) {
  TTrayIcon tray;
  TBitmap picture(16, 16, pf24bit);
  picture.Canvas().Brush().SetColor(clRed);
  picture.Canvas().FillRect(Rect(0, 0, 16, 16));
  tray.SetIcon(picture);
  tray.SetTip("球赛");
  tray.Show();
  EXPECT_TRUE(tray.Visible());
  EXPECT_EQ(tray.Tip(), "球赛");
  std::vector<TTrayActivation> seen;
  tray.OnActivated = [&](TTrayActivation reason, TPoint) {
    seen.push_back(reason);
    if (reason == TTrayActivation::ContextMenu) throw Exception("menu failed");
  };
  dialogs().AnswerMessage();
  tray.Activate(TTrayActivation::DoubleClick, Point(1, 1));
  tray.Activate(TTrayActivation::ContextMenu, Point(1, 1));
  EXPECT_EQ(seen, (std::vector<TTrayActivation>{TTrayActivation::DoubleClick,
                                                TTrayActivation::ContextMenu}));
  EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"menu failed"}));
  tray.Hide();
  EXPECT_FALSE(tray.Visible());
}

}  // namespace
