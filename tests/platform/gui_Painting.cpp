// What plain controls show: pictures with their transparency, panels, status texts, and
// text boxes and lists in their colour.
#include "platform/gui/CategoryButtons.h"
#include "platform/gui/ComCtrls.h"
#include "tests/support/GuiTest.h"

namespace {

class PaintingTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(200, 120);
    form->SetColor(clBlue);
    form->Show();
  }
};

TEST_F(PaintingTest, AnImageLeavesItsTransparentColourOutAndStretchesWhenAsked) {
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(10, 10, 40, 40);
  TBitmap& picture = image->Picture();
  picture.SetSize(20, 20);
  picture.SetPixelFormat(pf24bit);
  picture.Canvas().Brush().SetColor(clLime);  // the bottom-left colour: the background
  picture.Canvas().FillRect(Rect(0, 0, 20, 20));
  picture.Canvas().Brush().SetColor(clRed);
  picture.Canvas().FillRect(Rect(5, 5, 15, 15));
  image->SetTransparent(true);
  image->PictureChanged();
  auto shot = GrabControl(form);
  EXPECT_EQ(shot->PixelColor(10 + 10, 10 + 10), clRed);
  EXPECT_EQ(shot->PixelColor(10 + 1, 10 + 1), clBlue);    // the window shows through
  EXPECT_EQ(shot->PixelColor(10 + 30, 10 + 30), clBlue);  // beyond the picture

  image->SetStretch(true);  // 20 x 20 over 40 x 40: the red square doubles
  image->SetTransparent(false);
  shot = GrabControl(form);
  EXPECT_EQ(shot->PixelColor(10 + 28, 10 + 28), clRed);
  EXPECT_EQ(shot->PixelColor(10 + 2, 10 + 2), clLime);
}

TEST_F(PaintingTest, PanelsFillTheirColourInsideTheBevel) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 100, 50);
  panel->SetColor(clYellow);
  auto shot = GrabControl(form);
  EXPECT_EQ(shot->PixelColor(50, 25), clYellow);
  EXPECT_EQ(shot->PixelColor(0, 0), ColorToRGB(clBtnHighlight));  // raised: light above
  EXPECT_EQ(shot->PixelColor(99, 49), ColorToRGB(clBtnShadow));   // and dark below
  EXPECT_EQ(shot->PixelColor(150, 100), clBlue);
}

TEST_F(PaintingTest, StatusBarKeepsPanelTextsAndSitsAtTheBottom) {
  auto* bar = new TStatusBar(form);
  bar->SetParent(form);
  EXPECT_EQ(bar->Top(), form->ClientHeight() - bar->Height());
  EXPECT_EQ(bar->Width(), form->ClientWidth());
  bar->AddPanel(50, "就绪");
  bar->AddPanel(50);
  bar->SetPanelText(1, "第二");
  EXPECT_EQ(bar->PanelText(0), "就绪");
  EXPECT_EQ(bar->PanelText(1), "第二");
  EXPECT_THROW(bar->SetPanelText(2, "x"), EListError);
  SaveScreenshot(form, "platform_status_bar");
}

TEST_F(PaintingTest, TextBoxesAndListsShowTheirColourInsideTheFrameAndPaintWithoutWarnings) {
  auto* memo = new TRichEdit(form);
  memo->SetParent(form);
  memo->SetBounds(0, 0, 60, 60);
  memo->SetColor(clYellow);
  memo->SetText("乾为天");
  auto* list = new TListBox(form);
  list->SetParent(form);
  list->SetBounds(70, 0, 60, 60);
  list->SetColor(clLime);
  list->AddItem("坤为地");
  auto* panel = new TCategoryButtons(form);
  panel->SetParent(form);
  panel->SetBounds(140, 0, 60, 120);
  panel->SetColor(clRed);
  panel->AddCategory("系统");
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(0, 80, 120, 30);
  edit->SetColor(clAqua);
  const int warningsBefore = PaintWarningCount();
  auto shot = GrabControl(form);
  ProcessEvents();
  EXPECT_EQ(PaintWarningCount(), warningsBefore) << LastPaintWarning();
  // Each shows its own colour well inside its frame, below its first line.
  EXPECT_EQ(shot->PixelColor(30, 50), clYellow);
  EXPECT_EQ(shot->PixelColor(100, 50), clLime);
  EXPECT_EQ(shot->PixelColor(170, 100), clRed);
  EXPECT_EQ(shot->PixelColor(110, 95), clAqua);
}

}  // namespace

// A window starts in the button-face colour, which is also the value the colour field starts
// with: it must still reach the screen, and the panel on it that follows it shows it too.
TEST(WindowColours, AWindowAndAChildSetToTheColourTheyStartWithShowIt) {
  std::unique_ptr<TForm> window(NewForm<TForm>(nullptr));
  window->SetClientSize(120, 80);
  auto* panel = new TPanel(window.get());
  panel->SetParent(window.get());
  panel->SetBounds(0, 0, 60, 40);
  panel->SetBevelOuter(bvNone);
  window->Show();
  ProcessEvents();
  auto shot = GrabControl(window.get());
  EXPECT_EQ(shot->PixelColor(100, 70), ColorToRGB(clBtnFace));
  EXPECT_EQ(shot->PixelColor(30, 20), ColorToRGB(clBtnFace));
}
