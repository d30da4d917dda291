// The main of window test programs: the application on the offscreen platform, dialogs
// answered from scripts.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/gui/QtPeer.h"
#include "tests/support/GuiTest.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The web engine under the offscreen platform: no graphics card. Its sandbox is the
  // program's own affair (refused to root, which the application start sees to).
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-gpu-compositing", 0);
  // Its pages drawn without GL, so that pictures of a window show them.
  setenv("QT_QUICK_BACKEND", "software", 0);
  TApplication app(argc, argv);
  app.Title = "Qeva";
  SetDialogDriver(&Dialogs());
  TTimer::SetManualForTesting(true);
  app.FollowToolkitActivation = false;
  // The offscreen platform has no window stack and activates nothing by itself: the window
  // raised is made the active one directly, so focus moves as on a display.
  zgui::SetWindowRaiser([](QWidget* w) { QApplication::setActiveWindow(w); });
  const int result = RUN_ALL_TESTS();
  SetDialogDriver(nullptr);
  return result;
}
