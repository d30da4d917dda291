// The framed edit: state colours, Enter as Tab, the hot frame and the frame controller.
#include "tests/support/GuiTest.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkEdit.h"

using namespace wktest;

namespace {

class EditTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(300, 120);
    edit = new TWkEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 22);
    next = new TWkEdit(form);
    next->SetParent(form);
    next->SetBounds(10, 40, 120, 22);
    form->Show();
  }
  void Focus(TWinControl* c) {
    c->SetFocus();
    ProcessEvents();
  }
  TWkEdit* edit = nullptr;
  TWkEdit* next = nullptr;
};

}  // namespace

TEST_F(EditTest, FocusReadOnlyAndDisabledEachShowTheirColour) {
  edit->SetFocusColor(clYellow);
  Focus(edit);
  EXPECT_EQ(edit->Color(), clYellow);
  Focus(next);
  EXPECT_EQ(edit->Color(), clWindow);
  edit->SetReadOnly(true);
  EXPECT_EQ(edit->Color(), clInfoBk);
  Focus(edit);
  EXPECT_EQ(edit->Color(), clYellow);  // the focus colour wins unless asked otherwise
  edit->SetReadOnlyColorOnFocus(true);
  EXPECT_EQ(edit->Color(), clInfoBk);
  Focus(next);
  edit->SetReadOnly(false);
  edit->SetDisabledColor(clSilver);
  edit->SetEnabled(false);
  EXPECT_EQ(edit->Color(), clSilver);
  edit->SetEnabled(true);
  EXPECT_EQ(edit->Color(), clWindow);
}

TEST_F(EditTest, AColourSetFromOutsideTakesTheFocusColourAlongWhenTheyWereEqual) {
  edit->SetColor(clAqua);
  EXPECT_EQ(edit->FocusColor(), clAqua);
  Focus(edit);
  EXPECT_EQ(edit->Color(), clAqua);
  Focus(next);
  edit->SetFocusColor(clYellow);
  edit->SetColor(clLime);
  EXPECT_EQ(edit->FocusColor(), clYellow);
  Focus(edit);
  EXPECT_EQ(edit->Color(), clYellow);
  Focus(next);
  EXPECT_EQ(edit->Color(), clLime);
}

TEST_F(EditTest, EnterMovesTheFocusOnWithTabOnEnterAndTypesNothing) {
  edit->TabOnEnter = true;
  UserType(edit, "ab");
  UserKey(edit, VK_RETURN);
  ProcessEvents();
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(edit->Text(), "ab");
  int changes = 0;
  next->OnChange = [&](TComponent*) { ++changes; };
  UserKey(next, VK_RETURN);  // without it Enter stays in the edit
  ProcessEvents();
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(changes, 0);
}

TEST_F(EditTest, HotTrackingShowsTheFrameAndDrawsTheHotStyleWhileHot) {
  Focus(next);
  edit->SetFrameSides(SideSet({sdTop}));
  edit->SetFrameHotColor(clRed);
  edit->SetFrameColor(clBlue);
  edit->SetFrameHotTrack(true);
  EXPECT_TRUE(edit->FrameVisible());
  EXPECT_EQ(edit->FrameSides(), AllSides);
  MarkedPicture cold(120, 22);
  edit->PaintFrame(cold.canvas());
  EXPECT_TRUE(PixelsAre(cold.bitmap,
                        {{0, 0, clBlue}, {119, 21, clBlue}, {1, 1, clWindow}, {2, 2, kMarker}}));
  edit->MouseEnter();
  EXPECT_TRUE(edit->FrameHot());
  MarkedPicture hot(120, 22);
  edit->PaintFrame(hot.canvas());
  EXPECT_TRUE(PixelsAre(hot.bitmap, {{0, 0, clRed}, {1, 1, clRed}, {2, 2, kMarker}}));
  edit->MouseLeave();
  EXPECT_FALSE(edit->FrameHot());
  Focus(edit);  // the focus lights it too
  EXPECT_TRUE(edit->FrameHot());
  // On screen the frame lies over the edit's own drawing.
  auto shown = GrabControl(edit);
  EXPECT_EQ(shown->PixelColor(0, 0), clRed);
  EXPECT_EQ(shown->PixelColor(119, 21), clRed);
  Focus(next);
  shown = GrabControl(edit);
  EXPECT_EQ(shown->PixelColor(0, 0), clBlue);
  EXPECT_EQ(shown->PixelColor(1, 1), ColorToRGB(clWindow));
}

TEST_F(EditTest, DisabledEditRepaintsItsFrameInTheDisabledColour) {
  edit->SetFrameVisible(true);
  edit->SetFrameStyle(fsLowered);
  edit->SetEnabled(false);
  auto shown = GrabControl(edit);
  // A lowered frame on a coloured edit takes its shades from the edit's colour.
  EXPECT_EQ(shown->PixelColor(0, 0), ColorToRGB(DarkerColor(clBtnFace, 50)));
  edit->SetEnabled(true);
  shown = GrabControl(edit);
  EXPECT_EQ(shown->PixelColor(0, 0), ColorToRGB(clBtnShadow));  // system frame on clWindow
}

TEST_F(EditTest, FrameControllerPushesOnlyTheAcceptedSettings) {
  auto* controller = new TWkFrameController(form);
  controller->SetFrameStyle(fsRaised);
  controller->SetFocusColor(clYellow);
  controller->SetFrameVisible(true);
  edit->SetFrameControllerNotifications(AllFrameControllerNotifications & ~(1u << fcpFrameStyle));
  edit->SetFrameController(controller);
  EXPECT_EQ(edit->FrameStyle(), fsFlat);
  EXPECT_EQ(edit->FocusColor(), clYellow);
  EXPECT_TRUE(edit->FrameVisible());
  controller->SetDisabledColor(clGray);
  EXPECT_EQ(edit->DisabledColor(), clGray);
  delete controller;
  EXPECT_EQ(edit->FrameController(), nullptr);
  edit->SetFrameController(nullptr);
}
