#include "workbench/Calculator.h"

#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/logic/WinDrawLoss.h"
#include "workbench/main.h"

TForm3* Form3 = nullptr;

namespace {

// Labels without a role of their own are numbered after the three that have one.
class Builder {
 public:
  explicit Builder(TForm3* form) : form_(form) {}

  TLabel* Label(const std::string& caption, int left, int top, const char* name = nullptr) {
    TLabel* label = new TLabel(form_);
    if (name) {
      label->SetName(name);
    } else {
      if (next_ == 12) next_ = 15;
      label->SetName("Label" + IntToStr(next_++));
    }
    label->SetParent(form_);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top + 4);
    return label;
  }
  TEdit* Edit(int number, const std::string& text, int left, int top, int width) {
    TEdit* edit = new TEdit(form_);
    edit->SetName("Edit" + IntToStr(number));
    edit->SetParent(form_);
    edit->SetBounds(left, top, width, 22);
    edit->SetText(text);
    return edit;
  }
  TButton* Button(int number, const std::string& caption, int left, int top, int width,
                  int height) {
    TButton* button = new TButton(form_);
    button->SetName("Button" + IntToStr(number));
    button->SetParent(form_);
    button->SetBounds(left, top, width, height);
    button->SetCaption(caption);
    return button;
  }

 private:
  TForm3* form_;
  int next_ = 1;
};

std::string Rounded(double value) { return FloatToStr(RoundTo(value, -2)); }

constexpr int kMatchMinutes = 90;

}  // namespace

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form3");
  SetCaption("计算胜平负");
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 353, 330);

  Builder b(this);
  // Two segments of a match, each with its minutes; "综合" mixes them into the chart's pair.
  struct Segment {
    const char* caption;
    const char* name;
    TLabel** label;
    TEdit** edits[3];  // home, away, minutes
    int numbers[3];
    const char* minutes;
  };
  const Segment segments[] = {
      {"段一:", "Label13", &Label13, {&Edit12, &Edit13, &Edit16}, {12, 13, 16}, "90"},
      {"段二:", "Label14", &Label14, {&Edit14, &Edit15, &Edit17}, {14, 15, 17}, "0"}};
  for (int i = 0; i < 2; ++i) {
    const Segment& s = segments[i];
    const int y = 8 + i * 28;
    *s.label = b.Label(s.caption, 8, y, s.name);
    b.Label("主力", 44, y);
    *s.edits[0] = b.Edit(s.numbers[0], "1", 72, y, 40);
    b.Label("客力", 118, y);
    *s.edits[1] = b.Edit(s.numbers[1], "1", 146, y, 40);
    b.Label("时长", 192, y);
    *s.edits[2] = b.Edit(s.numbers[2], s.minutes, 220, y, 36);
  }
  Button3 = b.Button(3, "综合", 266, 8, 70, 50);

  b.Label("胜指数", 8, 68);
  Edit1 = b.Edit(1, "2", 50, 68, 50);
  b.Label("平指数", 112, 68);
  Edit2 = b.Edit(2, "3", 154, 68, 50);
  b.Label("负指数", 216, 68);
  Edit3 = b.Edit(3, "2", 258, 68, 50);

  // The chart's pair, then the five handicap lines: home strength, away strength.
  const char* rows[] = {"卦相:主力",        "平盘:主力",         "主让0.5球盘:主力",
                        "客让0.5球盘:主力", "主让0.25球盘:主力", "客让0.25球盘:主力"};
  const int homeEdits[] = {4, 6, 8, 10, 18, 20};
  TEdit** fields[6][2] = {{&Edit4, &Edit5},   {&Edit6, &Edit7},   {&Edit8, &Edit9},
                          {&Edit10, &Edit11}, {&Edit18, &Edit19}, {&Edit20, &Edit21}};
  for (int i = 0; i < 6; ++i) {
    const int y = 100 + i * 26;
    b.Label(rows[i], 8, y);
    *fields[i][0] = b.Edit(homeEdits[i], "1", 130, y, 60);
    b.Label("客力", 200, y);
    *fields[i][1] = b.Edit(homeEdits[i] + 1, "1", 230, y, 60);
  }

  Label12 = b.Label("推荐:", 8, 264, "Label12");
  Button1 = b.Button(1, "计算", 150, 260, 70, 26);
  Button2 = b.Button(2, "退出", 230, 260, 70, 26);

  OnShow = Handler(this, &TForm3::FormShow);
  Button1->OnClick = Handler(this, &TForm3::Button1Click);
  Button2->OnClick = Handler(this, &TForm3::Button2Click);
  Button3->OnClick = Handler(this, &TForm3::Button3Click);
  Label13->OnDblClick = Handler(this, &TForm3::Label13DblClick);
  Label14->OnDblClick = Handler(this, &TForm3::Label14DblClick);
  Edit16->OnChange = Handler(this, &TForm3::Edit16Change);
}

// Every showing takes the strengths of the main window's last cast; the other edits keep what
// the user left in them.
void TForm3::FormShow(TComponent*) {
  Edit4->SetText(FloatToStr(Form2->ShiStrength));
  Edit5->SetText(FloatToStr(Form2->YingStrength));
}

// All inputs are read and all ten values computed before anything is written, so a bad input
// or an impossible division leaves the window as it was.
void TForm3::Button1Click(TComponent*) {
  const double o1 = StrToFloat(Edit1->GetText());
  const double o2 = StrToFloat(Edit2->GetText());
  const double o3 = StrToFloat(Edit3->GetText());
  const double home = StrToFloat(Edit4->GetText());
  const double away = StrToFloat(Edit5->GetText());
  const HandicapStrengths s = ComputeHandicaps(o1, o2, o3, home, away);
  TEdit* const homeEdits[5] = {Edit6, Edit8, Edit10, Edit18, Edit20};
  TEdit* const awayEdits[5] = {Edit7, Edit9, Edit11, Edit19, Edit21};
  for (int i = 0; i < 5; ++i) {
    homeEdits[i]->SetText(Rounded(s.Home[i]));
    awayEdits[i]->SetText(Rounded(s.Away[i]));
  }
  Label12->SetCaption(HandicapVerdict(s));
}

void TForm3::Button2Click(TComponent*) { Close(); }

void TForm3::Button3Click(TComponent*) {
  const double h1 = StrToFloat(Edit12->GetText());
  const double a1 = StrToFloat(Edit13->GetText());
  const double t1 = StrToFloat(Edit16->GetText());
  const double h2 = StrToFloat(Edit14->GetText());
  const double a2 = StrToFloat(Edit15->GetText());
  const double t2 = StrToFloat(Edit17->GetText());
  const auto mixed = MixSegments(h1, a1, t1, h2, a2, t2);
  Edit4->SetText(Rounded(mixed[0]));
  Edit5->SetText(Rounded(mixed[1]));
}

void TForm3::Label13DblClick(TComponent*) {
  Edit12->SetText(Edit4->GetText());
  Edit13->SetText(Edit5->GetText());
}

void TForm3::Label14DblClick(TComponent*) {
  Edit14->SetText(Edit4->GetText());
  Edit15->SetText(Edit5->GetText());
}

// The minutes are read as a whole number at every keystroke and segment two shows the rest of
// the 90. While the box is empty (being typed anew) segment two keeps its minutes; a text that
// is no whole number, or one whose rest is beyond a whole number, is refused without touching
// them.
void TForm3::Edit16Change(TComponent*) {
  const std::string text = Edit16->GetText();
  int minutes = 0;
  const TNumberText read = CheckStrToInt(text, minutes);
  if (read == TNumberText::Blank) return;
  if (read != TNumberText::Number) StrToInt(text);  // raises the message that fits the text
  const int64_t rest = int64_t{kMatchMinutes} - minutes;
  if (rest > INT32_MAX) throw EConvertError("时长「" + text + "」超出范围");
  Edit17->SetText(IntToStr(rest));
}
