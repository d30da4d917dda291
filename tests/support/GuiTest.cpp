// The window-test fixture.
#include "tests/support/GuiTest.h"

void GuiTest::SetUp() {
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
}
