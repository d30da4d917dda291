// The strength window: its controls, the strengths on showing, the ranking, the heading double
// clicks and the copy of every tick into the calculator.
#include "marksix/Unit5.h"

#include "marksix/ChartMoment.h"
#include "marksix/Placement.h"
#include "marksix/Unit4.h"
#include "marksix/logic/NumberRules.h"
#include "platform/Numbers.h"

TForm5* Form5 = nullptr;

namespace {

struct GroupLayout {
  AttributeKind Kind;
  int Heading;  // label numbers
  const char* HeadingCaption;
  std::vector<int> Boxes;
  std::vector<const char*> Captions;
  std::vector<int> Values;
  std::vector<int> CalculatorBoxes;
  int Strongest;
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

// In the order the ranking adds them up.
// clang-format off
const std::vector<GroupLayout>& Layouts() {
  static const std::vector<GroupLayout> layouts = {
      {AttributeKind::Animal, 1, "生肖地支力量", Run(1, 12),
       {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"}, Run(2, 13),
       Run(1, 12), 9, 0, 0},
      {AttributeKind::Element, 14, "五行力量", Run(13, 17), {"金", "木", "水", "火", "土"},
       Run(15, 19), Run(37, 41), 4, 2, 0},
      {AttributeKind::Colour, 20, "波色参考", Run(18, 20), {"红", "绿", "兰"}, Run(21, 23),
       Run(13, 15), 2, 2, 6},
      {AttributeKind::Tail, 84, "尾数力量", Run(79, 70),
       {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, Run(83, 74), Run(16, 25), 8, 1, 0},
      {AttributeKind::Head, 85, "头数力量", Run(80, 84), {"0", "1", "2", "3", "4"}, Run(86, 90),
       Run(26, 30), 4, 3, 0},
  };
  return layouts;
}
// clang-format on

constexpr int kColumnLeft = 8;
constexpr int kColumnStep = 108;
constexpr int kHeadingTop = 16;
constexpr int kRowStep = 17;

int RowTop(int row) { return kHeadingTop + kRowStep * row; }

}  // namespace

TForm5::TForm5(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form5");
  SetCaption("香港六合彩特码力量");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  SetClientSize(447, 375);

  GroupBox1 = PlaceControl<TGroupBox>(this, this, "GroupBox1", 4, 2, 439, RowTop(13) + 4);
  GroupBox1->SetCaption("力量列表");
  for (const GroupLayout& layout : Layouts()) {
    const int left = kColumnLeft + kColumnStep * layout.Column;
    Group group{layout.Kind, nullptr, {}, {}, layout.CalculatorBoxes, layout.Strongest};
    group.Heading = PlaceLabel(this, GroupBox1, "Label" + IntToStr(layout.Heading),
                               layout.HeadingCaption, left, RowTop(layout.Row) + 2);
    for (size_t i = 0; i < layout.Boxes.size(); ++i) {
      const int top = RowTop(layout.Row + 1 + static_cast<int>(i));
      TCheckBox* box = PlaceControl<TCheckBox>(
          this, GroupBox1, "CheckBox" + IntToStr(layout.Boxes[i]), left, top, 36, kRowStep);
      box->SetCaption(layout.Captions[i]);
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

// Pillars the main window has not computed leave every strength empty; the ranking then
// stops at the first empty value instead of dividing by a zero total.
void TForm5::FormShow(TComponent*) {
  PillarStrengths s;
  const bool known = ComputePillarStrengths(ChartFourPillarsText(), s);
  const double* values[] = {s.Animals.data(), s.Elements.data(), s.Colours.data(), s.Tails.data(),
                            s.Heads.data()};
  for (size_t g = 0; g < groups_.size(); ++g)
    for (size_t i = 0; i < groups_[g].Values.size(); ++i)
      groups_[g].Values[i]->SetCaption(known ? FloatToStr(values[g][i]) : "");
  Memo1->Clear();
}

void TForm5::Button1Click(TComponent*) {
  const int year = LunarYearOf(ChartLunarDateText());
  std::vector<AttributeGroup> attributes;
  for (const Group& group : groups_) {
    AttributeGroup a{group.Kind, {}, {}};
    for (size_t i = 0; i < group.Boxes.size(); ++i) {
      a.Captions.push_back(group.Boxes[i]->Caption());
      a.Values.push_back(StrToFloat(group.Values[i]->Caption()));
    }
    attributes.push_back(a);
  }
  const auto ranking = RankNumbers(year, attributes);
  std::string text;
  for (size_t r = 0; r < ranking.size(); ++r)
    text += (r ? "\r\n" : "") + RankingLine(static_cast<int>(r) + 1, ranking[r]);
  Memo1->SetText(text);
}

void TForm5::TickStrongest(const Group& group) {
  for (TCheckBox* box : group.Boxes) box->SetChecked(false);
  std::vector<double> values;
  for (TLabel* label : group.Values) values.push_back(StrToFloat(label->Caption()));
  const double threshold = TickThreshold(values, group.Strongest);
  for (size_t i = 0; i < values.size(); ++i)
    if (values[i] >= threshold) group.Boxes[i]->SetChecked(true);
}

void TForm5::Label1DblClick(TComponent*) { TickStrongest(groups_[0]); }
void TForm5::Label14DblClick(TComponent*) { TickStrongest(groups_[1]); }
void TForm5::Label20DblClick(TComponent*) { TickStrongest(groups_[2]); }
void TForm5::Label84DblClick(TComponent*) { TickStrongest(groups_[3]); }
void TForm5::Label85DblClick(TComponent*) { TickStrongest(groups_[4]); }

void TForm5::CheckBox1Click(TComponent* Sender) {
  for (const Group& group : groups_)
    for (size_t i = 0; i < group.Boxes.size(); ++i)
      if (group.Boxes[i] == Sender && Form4)
        if (TCheckBox* follower = Form4->FilterBox(group.CalculatorBoxes[i]))
          follower->SetChecked(group.Boxes[i]->Checked());
}

void TForm5::Button4Click(TComponent*) {
  for (int n : Run(1, 20)) Find<TCheckBox>("checkbox" + IntToStr(n))->SetChecked(false);
  for (int n : Run(70, 84)) Find<TCheckBox>("checkbox" + IntToStr(n))->SetChecked(false);
}

void TForm5::Button3Click(TComponent*) { Close(); }

void TForm5::N1Click(TComponent*) {
  Memo1->SelectAll();
  Memo1->CopyToClipboard();
}
