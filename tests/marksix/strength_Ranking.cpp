// The strength window: strengths on showing, the ranking, heading double clicks and the ticks
// that reach the calculator.
#include "tests/marksix/MarkSixFixture.h"

namespace {

class StrengthWindow : public MarkSixTest {};

TEST_F(StrengthWindow, Screenshot) {
  PickMoment(2008, 6, 1);
  Form5->Show();
  UserClick(Form5->Button1);
  ProcessEvents();
  SaveScreenshot(Form5, "form5_ranking");
}

}  // namespace
