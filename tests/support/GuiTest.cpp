// The window-test fixture.
#include "tests/support/GuiTest.h"

void GuiTest::SetUp() {
  WatchPaintWarnings();
  paintWarningsBefore_ = PaintWarningCount();
  Dialogs().Reset();
  SetDialogDriver(&Dialogs());
  TTimer::SetManualForTesting(true);
  if (Application) {
    Application->FollowToolkitActivation = false;
    Application->ClearTerminated();
    Application->OnException = nullptr;
  }
  Clipboard()->Clear();
}

void GuiTest::TearDown() {
  ProcessEvents();
  if (Dialogs().PendingAnswers() > 0)
    ADD_FAILURE() << Dialogs().PendingAnswers() << " scripted dialog answer(s) left unused";
  Dialogs().Reset();
  if (Application) Application->ClearTerminated();
  if (const int warnings = PaintWarningCount() - paintWarningsBefore_; warnings > 0)
    ADD_FAILURE() << warnings
                  << " painting warning(s) from the toolkit, the last: " << LastPaintWarning();
}
