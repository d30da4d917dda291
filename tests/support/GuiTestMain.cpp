// The main of window test programs: the application on the offscreen platform, dialogs
// answered from scripts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/GuiTest.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The web engine under the offscreen platform and as root: no sandbox, no graphics card.
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu --disable-gpu-compositing", 0);
  // Its pages drawn without GL, so that pictures of a window show them.
  setenv("QT_QUICK_BACKEND", "software", 0);
  TApplication app(argc, argv);
  app.Title = "Qeva";
  SetDialogDriver(&Dialogs());
  TTimer::SetManualForTesting(true);
  app.FollowToolkitActivation = false;
  const int result = RUN_ALL_TESTS();
  SetDialogDriver(nullptr);
  return result;
}
