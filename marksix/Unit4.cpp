// The calculator window: its controls, the filter, clearing and copying, and the menu of day
// tables and the two other number windows.
#include "marksix/Unit4.h"

#include "marksix/Unit5.h"
#include "marksix/Unit8.h"
#include "marksix/logic/DayTables.h"
#include "marksix/logic/NumberFilter.h"
#include "marksix/model/ChartYear.h"
#include "platform/Numbers.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Placement.h"

TForm4* Form4 = nullptr;

namespace {

// Where each group's boxes stand: a row of the group box holds one part of a group (or two
// short groups side by side); the label stands before the part that holds the first box.
struct RowPart {
  int Group;  // index into NumberGroups()
  int Row;
  int Left;   // of the label
  int First;  // first box of the part, as an index into the group's boxes
  int Count;
};
constexpr int kRight = 146;  // left edge of the second group on a shared row
constexpr RowPart kRows[] = {
    {0, 0, 6, 0, 6},      {0, 1, 6, 6, 6},   {1, 2, 6, 0, 3},   {6, 2, kRight, 0, 2},
    {2, 3, 6, 0, 5},      {2, 4, 6, 5, 5},   {3, 5, 6, 0, 5},   {4, 6, 6, 0, 2},
    {5, 6, kRight, 0, 2}, {7, 7, 6, 0, 5},   {8, 8, 6, 0, 7},   {9, 9, 6, 0, 7},
    {9, 10, 6, 7, 6},     {10, 11, 6, 0, 5}, {10, 12, 6, 5, 5}, {11, 13, 6, 0, 7},
};
constexpr int kRowTop = 18;
constexpr int kRowStep = 18;
constexpr int kLabelWidth = 36;
constexpr int kRowCount = 14;

// Room for the tick mark and the caption: one digit, two digits or one Chinese character.
int BoxWidth(const std::string& caption) {
  if (caption.size() == 1) return 30;
  return static_cast<unsigned char>(caption[0]) < 0x80 ? 36 : 32;
}

}  // namespace

TForm4::TForm4(TComponent* AOwner, const WorkbenchModel& chart, TAction& timeCast)
    : TForm(AOwner), chart_(chart), timeCast_(timeCast) {
  SetName("Form4");
  SetCaption("六合计算器(支持1972-2132年六合属性)");
  SetBorderStyle(bsToolWindow);
  SetPosition(poScreenCenter);
  SetClientSize(270, 427);

  MainMenu1 = new TMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  N2 = NewMenuItem(this, MainMenu1->Items(), "N2", "六合秘笈大全");
  N3 = NewMenuItem(this, N2, "N3", "生肖秘笈", Handler(this, &TForm4::N3Click));
  N4 = NewMenuItem(this, N2, "N4", "尾数秘笈", Handler(this, &TForm4::N4Click));
  N5 = NewMenuItem(this, N2, "N5", "五行秘笈", Handler(this, &TForm4::N5Click));
  N6 = NewMenuItem(this, N2, "N6", "综合力量", Handler(this, &TForm4::N6Click));
  N9 = NewMenuItem(this, N2, "N9", "公式秘笈", Handler(this, &TForm4::N9Click));
  SetMenu(MainMenu1);

  const int boxHeight = kRowTop + kRowCount * kRowStep + 4;
  GroupBox1 = PlaceControl<TGroupBox>(this, this, "GroupBox1", 4, 2, 262, boxHeight);
  GroupBox1->SetCaption("请勾选");
  const auto& groups = NumberGroups();
  for (const RowPart& part : kRows) {
    const NumberGroup& group = groups[part.Group];
    const int top = kRowTop + part.Row * kRowStep;
    if (part.First == 0) {
      TLabel* label = PlaceLabel(this, GroupBox1, "Label" + IntToStr(part.Group + 1), group.Label,
                                 part.Left, top + 2);
      if (part.Group == 0) Label1 = label;
    }
    int left = part.Left + kLabelWidth;
    for (int i = 0; i < part.Count; ++i) {
      const size_t index = part.First + i;
      const std::string caption = group.Captions[index];
      TCheckBox* box =
          PlaceControl<TCheckBox>(this, GroupBox1, "CheckBox" + IntToStr(group.Boxes[index]), left,
                                  top, BoxWidth(caption) - 2, kRowStep);
      box->SetCaption(caption);
      // The user's tick goes into the model at once: the strength window writes it too.
      const int number = group.Boxes[index];
      box->OnClick = [this, number, box](TComponent*) { model_.Ticked[number] = box->Checked(); };
      boxes_[number] = box;
      left += BoxWidth(caption);
    }
  }
  Label1->OnDblClick = Handler(this, &TForm4::Label1DblClick);

  const int resultTop = 2 + boxHeight + 4;
  const int buttonTop = 427 - 30;
  RichEdit1 = PlaceControl<TRichEdit>(this, this, "RichEdit1", 4, resultTop, 262,
                                      buttonTop - 4 - resultTop);
  RichEdit1->SetScrollBars(ssVertical);
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName("PopupMenu1");
  N1 = NewMenuItem(this, PopupMenu1->Items(), "N1", "复制", Handler(this, &TForm4::N1Click));
  RichEdit1->SetPopupMenu(PopupMenu1);

  Button1 = PlaceControl<TButton>(this, this, "Button1", 4, buttonTop, 84, 26);
  Button1->SetCaption("计算");
  Button1->OnClick = Handler(this, &TForm4::Button1Click);
  Button2 = PlaceControl<TButton>(this, this, "Button2", 93, buttonTop, 84, 26);
  Button2->SetCaption("清空");
  Button2->OnClick = Handler(this, &TForm4::Button2Click);
  Button3 = PlaceControl<TButton>(this, this, "Button3", 182, buttonTop, 84, 26);
  Button3->SetCaption("复制");
  Button3->OnClick = Handler(this, &TForm4::Button3Click);
}

TCheckBox* TForm4::FilterBox(int number) const {
  return number >= 1 && number < static_cast<int>(boxes_.size()) ? boxes_[number] : nullptr;
}

void TForm4::ShowFilter() {
  for (int n = 1; n <= 78; ++n) boxes_[n]->SetChecked(model_.Ticked[n]);
}

void TForm4::Button1Click(TComponent*) {
  model_.Calculate(ChartLunarYear(chart_));
  RichEdit1->SetText(model_.ResultText);
}

void TForm4::Button2Click(TComponent*) {
  model_.Clear();
  ShowFilter();
  RichEdit1->SetText(model_.ResultText);
}

void TForm4::Button3Click(TComponent*) {
  RichEdit1->SelectAll();
  RichEdit1->CopyToClipboard();
}

void TForm4::N1Click(TComponent* Sender) { Button3Click(Sender); }

void TForm4::Label1DblClick(TComponent*) {
  timeCast_.Execute();
  Form5->ShowModal();
}

void TForm4::N3Click(TComponent*) { ShowMessage(ZodiacKillDayTable()); }
void TForm4::N4Click(TComponent*) { ShowMessage(TailKillDayTable()); }
void TForm4::N5Click(TComponent*) { ShowMessage(ElementKillDayTable()); }
void TForm4::N6Click(TComponent*) { Form5->ShowModal(); }
void TForm4::N9Click(TComponent*) { Form8->ShowModal(); }
