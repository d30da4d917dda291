// Small commands of the main window: the local mean time of a place, the time reset to now,
// the strength report, the calculators, the browser window, the disclaimer and leaving.
#include "browser/REZFrm.h"
#include "platform/DateTime.h"
#include "platform/Numbers.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Processes.h"
#include "workbench/Calculator.h"
#include "workbench/logic/CalendarLabels.h"
#include "workbench/logic/LocalMeanTime.h"
#include "workbench/logic/StrengthReport.h"
#include "workbench/main.h"

namespace {

const char* const kDisclaimer =
    "Zelkar六爻排盘系统由Zelkar项目自行编写,依据传统六爻术数排盘,所给卦象、力量与推荐"
    "仅供研究与娱乐参考,不构成任何投注建议。\n"
    "严禁将本软件用于任何形式的非法赌博;因使用本软件产生的一切后果由使用者自行承担。";

void StartDesktopCalculator() {
  const std::string calculator = FindCalculator();
  if (calculator.empty()) {
    ShowMessage(
        "没有找到桌面计算器:请安装 gnome-calculator、kcalc、mate-calc、galculator、"
        "qalculate-gtk 或 xcalc 中的一个。");
    return;
  }
  if (!StartProgram(calculator, {})) ShowMessage("计算器无法启动:" + calculator);
}

}  // namespace

void TForm2::ConnectSmallCommands() {
  ComboBox6->SetItems(std::vector<std::string>(LongitudePlaces.begin(), LongitudePlaces.end()));

  Action9->OnExecute = Handler(this, &TForm2::Action9Execute);
  Action11->OnExecute = Handler(this, &TForm2::Action11Execute);
  Action14->OnExecute = Handler(this, &TForm2::Action14Execute);
  Action47->OnExecute = Handler(this, &TForm2::Action47Execute);
  Action51->OnExecute = Handler(this, &TForm2::Action51Execute);
  Action54->OnExecute = Handler(this, &TForm2::Action54Execute);
  ComboBox6->OnDblClick = Handler(this, &TForm2::ComboBox6DblClick);
  Label1->OnClick = Handler(this, &TForm2::Label1Click);
  Label8->OnDblClick = Handler(this, &TForm2::Label8DblClick);
  Label14->OnDblClick = Handler(this, &TForm2::Label14DblClick);
}

// The boxes hold a time of the 120° east meridian; the place's longitude shifts it by whole
// minutes. Everything is read and converted before a box changes.
void TForm2::Action9Execute(TComponent*) {
  ReadInput();
  // Like every command that uses the moment: a box left empty, or a date the calendar
  // refused, is the date error naming the moment.
  model_.RequireCurrentLabels();
  const MomentTexts& m = model_.Moment;
  const ClockMoment local = LocalMeanTime(
      {StrToInt(m[0]), StrToInt(m[1]), StrToInt(m[2]), StrToInt(m[3]), StrToInt(m[4])},
      ComboBox6->GetText());
  // Near either end of the calendar's years the shift can leave them; the boxes then keep
  // the moment they had.
  if (local.Year < 1900 || local.Year > 2100)
    RaiseMomentError("时间转换后的日期「" + IntToStr(local.Year) + "年" + IntToStr(local.Month) +
                     "月" + IntToStr(local.Day) + "日」不在1900-2100年之间");
  model_.Moment = {IntToStr(local.Year), IntToStr(local.Month), IntToStr(local.Day),
                   IntToStr(local.Hour), IntToStr(local.Minute)};
  ShowMoment();
  Action1->Execute();
}

// A text without a place code: the conversion then leaves the time as it is.
void TForm2::ComboBox6DblClick(TComponent*) { ComboBox6->SetText("(e)"); }

void TForm2::ShowNow() {
  int year, month, day, hour, minute, second, ms;
  DecodeDateTime(Now(), year, month, day, hour, minute, second, ms);
  model_.Moment = {IntToStr(year), IntToStr(month), IntToStr(day), IntToStr(hour),
                   IntToStr(minute)};
  ShowMoment();
}

void TForm2::Label1Click(TComponent*) {
  ShowNow();
  Action1->Execute();
}

void TForm2::Label8DblClick(TComponent*) {
  ShowMessage(StrengthReportText(model_.Cast.BranchElementStrengths));
}

void TForm2::Action11Execute(TComponent*) { StartDesktopCalculator(); }
void TForm2::Action14Execute(TComponent*) { StartDesktopCalculator(); }

void TForm2::Label14DblClick(TComponent*) { Form3->ShowModal(); }

// The browser window goes its own way beside this one.
void TForm2::Action51Execute(TComponent*) {
  if (MainForm) MainForm->Show();
}

void TForm2::Action47Execute(TComponent*) { ShowMessage(kDisclaimer); }

void TForm2::Action54Execute(TComponent*) { Close(); }
