// What plain controls show: pictures with their transparency, panels, status texts.
#include "platform/gui/ComCtrls.h"
#include "tests/support/GuiTest.h"

namespace {

class PaintingTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form = NewForm<TForm>(nullptr);
    form->SetClientSize(200, 120);
    form->SetColor(clBlue);
    form->Show();
  }
  void TearDown() override {
    delete form;
    GuiTest::TearDown();
  }
  TForm* form = nullptr;
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

}  // namespace
