// The strength window: its controls, the strengths on showing, the ranking, the heading double
// clicks and the copy of every tick into the calculator.
#include "marksix/Unit5.h"

#include "marksix/Unit4.h"
#include "marksix/model/ChartYear.h"
#include "platform/Numbers.h"
#include "platform/gui/Placement.h"

TForm5* Form5 = nullptr;

namespace {

// Where a group of the model stands: its label numbers, box numbers and place.
struct GroupLayout {
  int Heading;  // label numbers
  const char* HeadingCaption;
  std::vector<int> Boxes;
  std::vector<int> Values;
  int Column;
  int Row;  // of the heading
};

// from, from +- 1, ... to.
std::vector<int> Run(int from, int to) {
  const int step = from <= to ? 1 : -1;
  std::vector<int> numbers;
  for (int n = from; n != to + step; n += step) numbers.push_back(n);
  return numbers;
}

// In the order of the model's groups.
const std::vector<GroupLayout>& Layouts() {
  static const std::vector<GroupLayout> layouts = {
      {1, "生肖地支力量", Run(1, 12), Run(2, 13), 0, 0},
      {14, "五行力量", Run(13, 17), Run(15, 19), 2, 0},
      {20, "波色参考", Run(18, 20), Run(21, 23), 2, 6},
      {84, "尾数力量", Run(79, 70), Run(83, 74), 1, 0},
      {85, "头数力量", Run(80, 84), Run(86, 90), 3, 0},
  };
  return layouts;
}

constexpr int kColumnLeft = 8;
constexpr int kColumnStep = 108;
constexpr int kHeadingTop = 16;
constexpr int kRowStep = 17;

int RowTop(int row) { return kHeadingTop + kRowStep * row; }

}  // namespace

TForm5::TForm5(TComponent* AOwner, const WorkbenchModel& chart) : TForm(AOwner), chart_(chart) {
  SetName("Form5");
  SetCaption("香港六合彩特码力量");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  SetClientSize(447, 375);

  GroupBox1 = PlaceControl<TGroupBox>(this, this, "GroupBox1", 4, 2, 439, RowTop(13) + 4);
  GroupBox1->SetCaption("力量列表");
  for (size_t g = 0; g < Layouts().size(); ++g) {
    const GroupLayout& layout = Layouts()[g];
    const StrengthGroup& members = model_.Groups[g];
    const int left = kColumnLeft + kColumnStep * layout.Column;
    Group group{nullptr, {}, {}};
    group.Heading = PlaceLabel(this, GroupBox1, "Label" + IntToStr(layout.Heading),
                               layout.HeadingCaption, left, RowTop(layout.Row) + 2);
    for (size_t i = 0; i < layout.Boxes.size(); ++i) {
      const int top = RowTop(layout.Row + 1 + static_cast<int>(i));
      TCheckBox* box = PlaceControl<TCheckBox>(
          this, GroupBox1, "CheckBox" + IntToStr(layout.Boxes[i]), left, top, 36, kRowStep);
      box->SetCaption(members.Members[i]);
      box->OnClick = Handler(this, &TForm5::CheckBox1Click);
      group.Boxes.push_back(box);
      group.Values.push_back(PlaceLabel(this, GroupBox1, "Label" + IntToStr(layout.Values[i]), "",
                                        left + 40, top + 2));
    }
    groups_.push_back(group);
  }
  Label1 = groups_[0].Heading;
  Label14 = groups_[1].Heading;
  Label20 = groups_[2].Heading;
  Label84 = groups_[3].Heading;
  Label85 = groups_[4].Heading;
  Label1->OnDblClick = Handler(this, &TForm5::Label1DblClick);
  Label14->OnDblClick = Handler(this, &TForm5::Label14DblClick);
  Label20->OnDblClick = Handler(this, &TForm5::Label20DblClick);
  Label84->OnDblClick = Handler(this, &TForm5::Label84DblClick);
  Label85->OnDblClick = Handler(this, &TForm5::Label85DblClick);
  Button4 = PlaceControl<TButton>(this, GroupBox1, "Button4", kColumnLeft + 3 * kColumnStep,
                                  RowTop(7), 92, 28);
  Button4->SetCaption("勾选清空");
  Button4->OnClick = Handler(this, &TForm5::Button4Click);

  const int rankTop = GroupBox1->Top() + GroupBox1->Height() + 4;
  GroupBox2 = PlaceControl<TGroupBox>(this, this, "GroupBox2", 4, rankTop, 439, 375 - 4 - rankTop);
  GroupBox2->SetCaption("号码力量");
  Memo1 = PlaceControl<TMemo>(this, GroupBox2, "Memo1", 8, 18, 318, GroupBox2->Height() - 26);
  Memo1->SetScrollBars(ssVertical);
  Memo1->SetWordWrap(false);
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName("PopupMenu1");
  N1 = NewMenuItem(this, PopupMenu1->Items(), "N1", "复制", Handler(this, &TForm5::N1Click));
  Memo1->SetPopupMenu(PopupMenu1);
  Button1 = PlaceControl<TButton>(this, GroupBox2, "Button1", 336, 24, 92, 28);
  Button1->SetCaption("号码力量");
  Button1->OnClick = Handler(this, &TForm5::Button1Click);
  Button3 = PlaceControl<TButton>(this, GroupBox2, "Button3", 336, 64, 92, 28);
  Button3->SetCaption("退出");
  Button3->OnClick = Handler(this, &TForm5::Button3Click);

  OnShow = Handler(this, &TForm5::FormShow);
}

// Pillars the main window has not computed leave every strength empty; the ranking and the
// heading double clicks then raise instead of dividing by a zero total.
void TForm5::FormShow(TComponent*) {
  model_.ComputeStrengths(chart_.Labels().FourPillarsText);
  model_.RankingText.clear();
  ShowStrengths();
  Memo1->Clear();
}

void TForm5::ShowStrengths() {
  for (size_t g = 0; g < groups_.size(); ++g)
    for (size_t i = 0; i < groups_[g].Values.size(); ++i)
      groups_[g].Values[i]->SetCaption(model_.Known ? FloatToStr(model_.Groups[g].Values[i]) : "");
}

// The ticks of the model into the boxes here, then the calculator's boxes, which follow them.
// Showing a tick the model already has changes nothing there, so it copies nothing.
void TForm5::ShowTicks() {
  for (size_t g = 0; g < groups_.size(); ++g)
    for (size_t i = 0; i < groups_[g].Boxes.size(); ++i)
      groups_[g].Boxes[i]->SetChecked(model_.Groups[g].Ticked[i]);
  if (Form4) Form4->ShowFilter();
}

void TForm5::Button1Click(TComponent*) {
  model_.Rank(ChartLunarYear(chart_));
  Memo1->SetText(model_.RankingText);
}

bool TForm5::SetTicked(size_t g, size_t i, bool ticked) {
  if (!model_.SetTicked(g, i, ticked)) return false;
  if (Form4) Form4->Model().Ticked[model_.Groups[g].CalculatorBoxes[i]] = ticked;
  return true;
}

// Every box of the group is unticked first, each change reaching the calculator, then the
// strong ones are ticked.
void TForm5::TickStrongest(size_t g) {
  const size_t count = model_.Groups[g].Members.size();
  for (size_t i = 0; i < count; ++i) SetTicked(g, i, false);
  ShowTicks();
  const std::vector<bool> strong = model_.StrongMembers(g);
  for (size_t i = 0; i < count; ++i)
    if (strong[i]) SetTicked(g, i, true);
  ShowTicks();
}

void TForm5::Label1DblClick(TComponent*) { TickStrongest(0); }
void TForm5::Label14DblClick(TComponent*) { TickStrongest(1); }
void TForm5::Label20DblClick(TComponent*) { TickStrongest(2); }
void TForm5::Label84DblClick(TComponent*) { TickStrongest(3); }
void TForm5::Label85DblClick(TComponent*) { TickStrongest(4); }

// The user's tick, or one this window shows, into the model; only a change goes on.
void TForm5::CheckBox1Click(TComponent* Sender) {
  for (size_t g = 0; g < groups_.size(); ++g)
    for (size_t i = 0; i < groups_[g].Boxes.size(); ++i)
      if (groups_[g].Boxes[i] == Sender && SetTicked(g, i, groups_[g].Boxes[i]->Checked()) && Form4)
        Form4->ShowFilter();
}

void TForm5::Button4Click(TComponent*) {
  for (size_t g = 0; g < groups_.size(); ++g)
    for (size_t i = 0; i < groups_[g].Boxes.size(); ++i) SetTicked(g, i, false);
  ShowTicks();
}

void TForm5::Button3Click(TComponent*) { Close(); }

void TForm5::N1Click(TComponent*) {
  Memo1->SelectAll();
  Memo1->CopyToClipboard();
}
