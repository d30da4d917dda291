// The formula window: the file fetched on every showing, its captions, and the test of a draw.
#include "tests/marksix/MarkSixFixture.h"

namespace {

class FormulaWindow : public MarkSixTest {};

TEST_F(FormulaWindow, Screenshot) {
  PickMoment(2008, 6, 1);
  ServeFormulaFile("012010203040506013020304050607014030405060708015040506070809016050607080910017060708091011018070809101112019080910111213020091011121314021101112131415022111213141516023121314151617\r\n");
  Form8->Show();
  SaveScreenshot(Form8, "form8_open");
  for (auto [edit, text] : {std::pair{Form8->Edit1, "1"}, {Form8->Edit2, "2"}, {Form8->Edit3, "3"}, {Form8->Edit4, "4"}, {Form8->Edit5, "5"}, {Form8->Edit6, "6"}})
    UserType(edit, text);
  UserClick(Form8->BitBtn1);
  ProcessEvents();
  SaveScreenshot(Form8, "form8_test");
}

}  // namespace
