// Painting over a native control's own drawing, and byte selections of a combo box's edit part.
#include <QApplication>

#include "platform/gui/Desktop.h"
#include "tests/support/GuiTest.h"

namespace {

// An edit that draws a red border of its own over the toolkit's drawing.
class FramedEdit : public TEdit {
 public:
  using TEdit::TEdit;
  bool frame = true;
  int paints = 0;
  bool PaintsOverPeer() const override { return frame; }
  void PaintOverPeer(QPainter* painter) override {
    ++paints;
    TCanvas canvas;
    canvas.BindPainter(painter, Width(), Height());
    canvas.Brush().SetColor(clRed);
    canvas.FrameRect(Rect(0, 0, Width(), Height()));
    canvas.Unbind();
  }
};

}  // namespace

TEST(PaintOverPeer, DrawsAfterTheToolkitAndOnlyWhenAsked) {
  std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
  auto* edit = new FramedEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(5, 5, 80, 22);
  edit->SetBorderInset(2);
  edit->SetText("abc");
  form->Show();
  auto picture = GrabControl(edit);
  EXPECT_GT(edit->paints, 0);
  EXPECT_EQ(picture->PixelColor(0, 0), clRed);
  EXPECT_EQ(picture->PixelColor(79, 21), clRed);
  EXPECT_NE(picture->PixelColor(70, 10), clRed);  // inside the border: the edit itself
  edit->frame = false;
  edit->paints = 0;
  picture = GrabControl(edit);
  EXPECT_EQ(edit->paints, 0);
  EXPECT_NE(picture->PixelColor(0, 0), clRed);
  edit->SetAlignment(taRightJustify);  // the text moves to the right end
  edit->SetBorderInset(0);
  EXPECT_EQ(edit->Text(), "abc");
  MessageBeep();  // offscreen: no sound, no failure
}

// A character outside GBK counts its four GB18030 bytes, and a selection never ends inside it.
TEST(MemoSelection, CountsAFourByteCharacterWhole) {
  std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
  auto* memo = new TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetText("a😀b");
  memo->SetSelStart(5);
  memo->SetSelLength(1);
  EXPECT_EQ(memo->SelStart(), 5);
  EXPECT_EQ(memo->SelText(), "b");
  memo->SetSelStart(1);
  memo->SetSelLength(4);
  EXPECT_EQ(U8(memo->SelText()), U8("😀"));
  memo->SetSelLength(3);  // inside the character: it stays out
  EXPECT_EQ(memo->SelText(), "");
  memo->SetSelStart(3);  // the same with the start
  EXPECT_EQ(memo->SelStart(), 1);
}

TEST(ComboSelection, CountsBytesOfTheEditPartAndTheListCanScroll) {
  std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
  auto* combo = new TComboBox(form.get());
  combo->SetParent(form.get());
  combo->SetText("中文abc");
  combo->SetSelStart(2);
  combo->SetSelLength(3);
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 3);
  EXPECT_EQ(combo->SelText(), "文a");
  combo->SetSelStart(1);  // inside a character: rounded down to its start
  EXPECT_EQ(combo->SelStart(), 0);
  EXPECT_EQ(combo->SelLength(), 0);
  form->Show();
  combo->SetEditReadOnly(true);
  UserType(combo, "x");
  EXPECT_EQ(combo->Text(), "中文abc");

  auto* list = new TComboBox(form.get());
  list->SetParent(form.get());
  list->SetStyle(csDropDownList);
  EXPECT_EQ(list->SelStart(), 0);
  EXPECT_EQ(list->SelText(), "");
  EXPECT_EQ(list->TopIndex(), 0);
  for (int i = 0; i < 40; ++i) list->AddItem("item" + std::to_string(i));
  list->SetTopIndex(-5);
  EXPECT_EQ(list->TopIndex(), 0);

  // A box that refuses to open keeps its list closed.
  struct Shut : TComboBox {
    using TComboBox::TComboBox;
    bool AllowDropDown() override { return false; }
  };
  auto* shut = new Shut(form.get());
  shut->SetParent(form.get());
  shut->AddItem("a");
  int drops = 0;
  shut->OnDropDown = [&](TComponent*) { ++drops; };
  shut->SetDroppedDown(true);
  EXPECT_FALSE(shut->DroppedDown());
  EXPECT_EQ(drops, 0);
}
