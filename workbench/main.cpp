// The workbench window: its controls, its command panel and the handlers that belong to the
// window itself (start-up values, line toggles, copying the reading).
#include "workbench/main.h"

#include <vector>

#include "platform/DateTime.h"
#include "platform/Numbers.h"
#include "platform/gui/Placement.h"
#include "workbench/logic/Chart.h"
#include "workbench/logic/Reading.h"

TForm2* Form2 = nullptr;

namespace {

// Captions of Action1 .. Action56, by number. Actions without a command of their own keep
// their name as caption.
const char* const kActionCaptions[56] = {
    "Action1",  "Action2",   "复制",      "时间起卦",  "报数起卦",  "电脑摇卦",  "足球数理",
    "彩票数理", "时间转换",  "在线升级",  "足彩数理",  "六合计算",  "六合计算",  "数字计算",
    "铜钱摇卦", "易经",      "系辞",      "序卦",      "取用神",    "何知章",    "火珠林",
    "易隐1",    "青崖增删1", "青崖曾删2", "青崖增删3", "青崖增删4", "青崖增删5", "新派六爻",
    "六爻条例", "六爻祥真1", "六爻祥真2", "祥真修订",  "六爻基础",  "Action34",  "六爻实例",
    "六爻卦技", "六爻入门",  "六爻风水",  "六爻卦相",  "林远答疑1", "林远答疑2", "十二技法",
    "卜筮讲座", "易隐2",     "易隐3",     "林远答疑3", "申明事项",  "黄金策1",   "黄金策2",
    "黄金策3",  "球赛",      "转雷山卦",  "梅花断卦",  "退出系统",  "一球多卦",  "保存"};

// The command panel, category by category, by action number.
const int kCastingPanel[] = {4, 5, 6, 7, 55, 15, 8, 52, 9, 13, 14, 3, 56};
const int kBooksPanel[] = {16, 17, 18, 19, 20, 21, 22, 44, 45, 23, 24, 25, 26, 27, 28, 29, 30,
                           31, 32, 33, 35, 36, 37, 38, 39, 40, 41, 46, 42, 43, 48, 49, 50};
const int kSystemPanel[] = {10, 47, 54};

// Layout: the command panel on the left, the work area beside it.
constexpr int kPanelWidth = 124;
constexpr int kLeft = kPanelWidth + 8;  // left edge of the work area
constexpr int kRight = 613;             // right edge of the work area
constexpr int kRowDate = 8;
constexpr int kRowCalendar = 38;
constexpr int kRowNayin = 58;
constexpr int kRowSubject = 80;
constexpr int kRowLines = 112;
constexpr int kLineStep = 28;
constexpr int kLineWidth = 96;
constexpr int kChartLeft = kLeft + 136;
constexpr int kRowResult = 352;
constexpr int kStatusHeight = 20;

void AddNumbers(TComboBox* box, int from, int to) {
  std::vector<std::string> items;
  for (int n = from; n <= to; ++n) items.push_back(IntToStr(n));
  box->SetItems(items);
}

}  // namespace

TForm2::TForm2(TComponent* AOwner, const TLunarEngine& engine) : TForm(AOwner), model_(engine) {
  SetName("Form2");
  SetCaption("Zelkar六爻排盘系统4.5");
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(poDesktopCenter);
  SetClientSize(621, 430);

  CreateDateRow();
  CreateCalendarLabels();
  CreateSubjectRow();
  CreateLines();
  CreateOddsAndChart();
  CreateCommands();
  CreateCommandPanel();
  CreateStatusBar();
  OnCreate = Handler(this, &TForm2::FormCreate);
}

// Date and time row: each box followed by its unit.
void TForm2::CreateDateRow() {
  Label1 = PlaceLabel(this, this, "Label1", "时间", kLeft, kRowDate + 4);
  ComboBox1 = PlaceControl<TComboBox>(this, this, "ComboBox1", kLeft + 30, kRowDate, 66, 22);
  Label2 = PlaceLabel(this, this, "Label2", "年", kLeft + 99, kRowDate + 4);
  TComboBox** boxes[] = {&ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5};
  TLabel** units[] = {&Label3, &Label4, &Label5, &Label6};
  const char* unitCaptions[] = {"月", "日", "时", "分"};
  for (int i = 0; i < 4; ++i) {
    const int x = kLeft + 115 + i * 69;
    *boxes[i] =
        PlaceControl<TComboBox>(this, this, "ComboBox" + IntToStr(i + 2), x, kRowDate, 50, 22);
    *units[i] =
        PlaceLabel(this, this, "Label" + IntToStr(i + 3), unitCaptions[i], x + 53, kRowDate + 4);
  }
  for (TComboBox* box : DateBoxes()) box->DropDownCount = 16;
}

// Calendar labels, written on activation.
void TForm2::CreateCalendarLabels() {
  Label9 = PlaceLabel(this, this, "Label9", "", kLeft, kRowCalendar);
  Label7 = PlaceLabel(this, this, "Label7", "", kLeft + 120, kRowCalendar);
  Label11 = PlaceLabel(this, this, "Label11", "", kLeft + 290, kRowCalendar);
  Label17 = PlaceLabel(this, this, "Label17", "", kLeft, kRowNayin);
}

// Subject of the reading, its sequence number and the place of the match.
void TForm2::CreateSubjectRow() {
  Label8 = PlaceLabel(this, this, "Label8", "占卜", kLeft, kRowSubject + 4);
  Edit1 = PlaceControl<TEdit>(this, this, "Edit1", kLeft + 30, kRowSubject, 196, 22);
  Label13 = PlaceLabel(this, this, "Label13", "次序", kLeft + 234, kRowSubject + 4);
  ComboBox7 = PlaceControl<TComboBox>(this, this, "ComboBox7", kLeft + 264, kRowSubject, 56, 22);
  std::vector<std::string> items;
  for (int n = 1; n <= 14; ++n) items.push_back(IntToStrPadded(n, 2) + "　");
  ComboBox7->SetItems(items);
  ComboBox7->DropDownCount = 14;
  Label12 = PlaceLabel(this, this, "Label12", "地点", kLeft + 328, kRowSubject + 4);
  ComboBox6 = PlaceControl<TComboBox>(this, this, "ComboBox6", kLeft + 358, kRowSubject,
                                      kRight - kLeft - 358, 22);
  ComboBox6->DropDownCount = 16;
  ComboBox6->SetDropDownWidth(260);
}

// The six lines, top line first, each with its moving-line box, and the two cast buttons.
void TForm2::CreateLines() {
  TButton** lines[] = {&Button3, &Button4, &Button5, &Button6, &Button7, &Button8};
  TCheckBox** moving[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5, &CheckBox6};
  void (TForm2::*const clicks[])(TComponent*) = {&TForm2::Button3Click, &TForm2::Button4Click,
                                                 &TForm2::Button5Click, &TForm2::Button6Click,
                                                 &TForm2::Button7Click, &TForm2::Button8Click};
  for (int i = 0; i < 6; ++i) {
    const int y = kRowLines + i * kLineStep;
    *lines[i] =
        PlaceControl<TButton>(this, this, "Button" + IntToStr(i + 3), kLeft, y, kLineWidth, 24);
    *moving[i] = PlaceControl<TCheckBox>(this, this, "CheckBox" + IntToStr(i + 1),
                                         kLeft + kLineWidth + 8, y + 3, 20, 18);
    (*lines[i])->SetCaption(model_.Lines[i].Caption());
    (*lines[i])->OnClick = Handler(this, clicks[i]);
    // A tick, by the user or by another window, is a change of the model's moving mark.
    TCheckBox* box = *moving[i];
    box->OnClick = [this, i, box](TComponent*) { model_.Lines[i].moving = box->Checked(); };
  }

  constexpr int kRowCast = kRowLines + 6 * kLineStep + 4;
  Button1 = PlaceControl<TButton>(this, this, "Button1", kLeft, kRowCast, 60, 26);
  Button1->SetCaption("排卦");
  Button2 = PlaceControl<TButton>(this, this, "Button2", kLeft + 64, kRowCast, 64, 26);
  Button2->SetCaption("结构预测");
}

// Odds of the two sides, the chart and the result line.
void TForm2::CreateOddsAndChart() {
  constexpr int kRowOdds = kRowLines + 6 * kLineStep + 38;
  Label14 = PlaceLabel(this, this, "Label14", "赔率盘口：", kLeft, kRowOdds);
  Label15 = PlaceLabel(this, this, "Label15", "世:", kLeft, kRowOdds + 24);
  Edit3 = PlaceControl<TEdit>(this, this, "Edit3", kLeft + 20, kRowOdds + 20, 42, 22);
  Edit3->SetText(model_.ShiOdds);
  Label16 = PlaceLabel(this, this, "Label16", "应:", kLeft + 68, kRowOdds + 24);
  Edit4 = PlaceControl<TEdit>(this, this, "Edit4", kLeft + 88, kRowOdds + 20, 42, 22);
  Edit4->SetText(model_.YingOdds);

  RichEdit1 = PlaceControl<TRichEdit>(this, this, "RichEdit1", kChartLeft, kRowLines,
                                      kRight - kChartLeft, kRowResult - kRowLines - 8);
  RichEdit1->SetWordWrap(false);
  RichEdit1->SetScrollBars(ssBoth);
  // The chart's columns are double-byte characters, ∥ ※ ○ → among them: a Song face that draws
  // every one of them full width lines them up.
  RichEdit1->Font()->SetName("AR PL UMing CN");
  RichEdit1->FontChanged();
  Edit2 = PlaceControl<TEdit>(this, this, "Edit2", kChartLeft, kRowResult, kRight - kChartLeft, 22);
  Edit2->SetText("请输入简体汉字、字母、数字组合");
  Button9 = PlaceControl<TButton>(this, this, "Button9", kChartLeft, kRowResult + 28, 60, 24);
  Button9->SetCaption("统计");
  Label10 = PlaceLabel(this, this, "Label10", "笔画：", kChartLeft + 68, kRowResult + 32);
  RichEdit2 = PlaceControl<TRichEdit>(this, this, "RichEdit2", kRight - 9, kRowResult + 36, 9, 9);
  RichEdit2->PlainText = true;
  RichEdit2->SetWordWrap(false);
  RichEdit3 = PlaceControl<TRichEdit>(this, this, "RichEdit3", kChartLeft, kRowLines, 100, 40);
  RichEdit3->SetVisible(false);
}

// The action list and the handlers bound to actions, buttons and boxes.
void TForm2::CreateCommands() {
  ActionList1 = new TActionList(this);
  ActionList1->SetName("ActionList1");
  for (int i = 0; i < 56; ++i)
    *ActionFields()[i] =
        NewAction(this, ActionList1, "Action" + IntToStr(i + 1), kActionCaptions[i]);
  Action3->OnExecute = Handler(this, &TForm2::Action3Execute);
  // Calendar labels: OnActivate, ComboBox1 .. ComboBox5 OnChange and Action1 run Action1Execute.
  Action1->OnExecute = Handler(this, &TForm2::Action1Execute);
  OnActivate = Action1->OnExecute;
  for (TComboBox* box : DateBoxes()) box->OnChange = Action1->OnExecute;
  // Chart cast: Button1 runs Action2 (factor model), Button2 the cosine model.
  Action2->OnExecute = Handler(this, &TForm2::Action2Execute);
  Button1->OnClick = Action2->OnExecute;
  Button2->OnClick = Handler(this, &TForm2::Button2Click);
  // Casting methods, trigram judgement (run by every cast), eight charts and saving.
  Action4->OnExecute = Handler(this, &TForm2::Action4Execute);
  Action5->OnExecute = Handler(this, &TForm2::Action5Execute);
  Action6->OnExecute = Handler(this, &TForm2::Action6Execute);
  Action7->OnExecute = Handler(this, &TForm2::Action7Execute);
  Action8->OnExecute = Handler(this, &TForm2::Action8Execute);
  Action15->OnExecute = Handler(this, &TForm2::Action15Execute);
  Action52->OnExecute = Handler(this, &TForm2::Action52Execute);
  Action53->OnExecute = Handler(this, &TForm2::Action53Execute);
  Action55->OnExecute = Handler(this, &TForm2::Action55Execute);
  Action56->OnExecute = Handler(this, &TForm2::Action56Execute);
  Action12->OnExecute = Handler(this, &TForm2::Action12Execute);
  Action13->OnExecute = Handler(this, &TForm2::Action13Execute);
  Button9->OnClick = Handler(this, &TForm2::Button9Click);
  Action10->OnExecute = Handler(this, &TForm2::Action10Execute);
  OnlineUpdateSetup = BuiltInUpdateSetup();
  Edit1->OnChange = Handler(this, &TForm2::Edit1Change);
  ConnectBookCommands();
  ConnectSmallCommands();
}

void TForm2::CreateCommandPanel() {
  CategoryButtons1 = PlaceControl<TCategoryButtons>(this, this, "CategoryButtons1", 0, 0,
                                                    kPanelWidth, 430 - kStatusHeight);
  const auto actions = ActionFields();
  auto fill = [&](const std::string& caption, bool collapsed, const auto& numbers) {
    TButtonCategory* category = CategoryButtons1->AddCategory(caption, collapsed);
    for (int n : numbers) category->Add(*actions[n - 1]);
  };
  fill("六爻排卦", false, kCastingPanel);
  fill("葵花宝典", true, kBooksPanel);
  // The results button runs Action51 under a caption of its own.
  CategoryButtons1->AddCategory("赛果查看", false)->Add(Action51)->SetCaption("及时赛果");
  fill("系统", true, kSystemPanel);
}

// The save dialog and the status bar.
void TForm2::CreateStatusBar() {
  SaveTextFileDialog1 = new TSaveTextFileDialog(this);
  SaveTextFileDialog1->SetName("SaveTextFileDialog1");
  SaveTextFileDialog1->DefaultExt = "txt";

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetName("StatusBar1");
  StatusBar1->SetParent(this);
  StatusBar1->SetHeight(kStatusHeight);
  StatusBar1->AddPanel(kRight, "欢迎使用Zelkar六爻排盘系统");
}

std::array<TComboBox*, 5> TForm2::DateBoxes() const {
  return {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5};
}

std::array<TAction**, 56> TForm2::ActionFields() {
  return {&Action1,  &Action2,  &Action3,  &Action4,  &Action5,  &Action6,  &Action7,  &Action8,
          &Action9,  &Action10, &Action11, &Action12, &Action13, &Action14, &Action15, &Action16,
          &Action17, &Action18, &Action19, &Action20, &Action21, &Action22, &Action23, &Action24,
          &Action25, &Action26, &Action27, &Action28, &Action29, &Action30, &Action31, &Action32,
          &Action33, &Action34, &Action35, &Action36, &Action37, &Action38, &Action39, &Action40,
          &Action41, &Action42, &Action43, &Action44, &Action45, &Action46, &Action47, &Action48,
          &Action49, &Action50, &Action51, &Action52, &Action53, &Action54, &Action55, &Action56};
}

void TForm2::FormCreate(TComponent*) {
  ShowNow();
  AddNumbers(ComboBox1, 1900, 2100);
  AddNumbers(ComboBox2, 1, 12);
  AddNumbers(ComboBox3, 1, 31);
  AddNumbers(ComboBox4, 0, 23);
  AddNumbers(ComboBox5, 0, 59);
}

// ----- the model and the controls -----

void TForm2::ReadInput() {
  const auto boxes = DateBoxes();
  for (int i = 0; i < 5; ++i) model_.Moment[i] = boxes[i]->GetText();
  model_.Subject = Edit1->GetText();
  model_.Sequence = ComboBox7->GetText();
  model_.ShiOdds = Edit3->GetText();
  model_.YingOdds = Edit4->GetText();
  model_.ChartText = RichEdit1->GetText();
  model_.ResultText = Edit2->GetText();
}

void TForm2::ShowLabels() {
  const CalendarLabels& labels = model_.Labels();
  Label7->SetCaption(labels.FourPillarsText);
  Label9->SetCaption(labels.LunarDateText);
  Label11->SetCaption(labels.XunVoidText);
  SetCaption(labels.Caption);
  Label17->SetCaption(labels.NayinText);
}

void TForm2::ShowMoment() {
  const auto boxes = DateBoxes();
  for (int i = 0; i < 5; ++i) boxes[i]->SetText(model_.Moment[i]);
}

void TForm2::ShowLines() {
  const auto buttons = LineButtons(*this);
  const auto boxes = MovingBoxes(*this);
  // Captions first, then the boxes, as a caster sets them.
  for (int i = 0; i < 6; ++i) buttons[i]->SetCaption(model_.Lines[i].Caption());
  for (int i = 0; i < 6; ++i) boxes[i]->SetChecked(model_.Lines[i].moving);
}

// Keeps the save dialog's proposed name equal to the subject: setting a text from code fires
// no change event.
void TForm2::ShowSubject() {
  Edit1->SetText(model_.Subject);
  Edit1Change(Edit1);
}

void TForm2::ShowChart() {
  RichEdit1->SetText(model_.ChartText);
  Edit2->SetText(model_.ResultText);
}

void TForm2::SetLineCaption(int index, const std::string& caption) {
  model_.Lines[index] = LineState::FromCaption(caption, model_.Lines[index].moving);
  LineButtons(*this)[index]->SetCaption(model_.Lines[index].Caption());
}

void TForm2::ToggleLine(int index) {
  model_.ToggleLine(index);
  LineButtons(*this)[index]->SetCaption(model_.Lines[index].Caption());
}

void TForm2::Button3Click(TComponent*) { ToggleLine(0); }
void TForm2::Button4Click(TComponent*) { ToggleLine(1); }
void TForm2::Button5Click(TComponent*) { ToggleLine(2); }
void TForm2::Button6Click(TComponent*) { ToggleLine(3); }
void TForm2::Button7Click(TComponent*) { ToggleLine(4); }
void TForm2::Button8Click(TComponent*) { ToggleLine(5); }

// The reading goes through RichEdit2 so that it stays there until the next copy.
void TForm2::Action3Execute(TComponent*) {
  ReadInput();
  RichEdit2->SetText(
      ReadingText(model_.Sequence, model_.Subject, model_.ChartText, model_.ResultText));
  RichEdit2->SelectAll();
  RichEdit2->CopyToClipboard();
}
