// The casting commands of the main window (time, number, clock, stroke counts, eight charts for
// one match, trigram exchange), the trigram judgement that follows every cast, and saving the
// reading. The rules live in the logic; these handlers read the window, set the lines and boxes,
// click the cast button and write the results back.
#include <array>

#include "calendar/DatePicker.h"
#include "platform/DateTime.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/Casting.h"
#include "workbench/logic/Chart.h"
#include "workbench/logic/NumerologyWords.h"
#include "workbench/logic/Reading.h"
#include "workbench/logic/StrokeTable.h"
#include "workbench/logic/TrigramJudgement.h"
#include "workbench/main.h"

namespace {

// y + lunar month + lunar day + h, the base every date-bound cast adds its own numbers to.
struct CastBasis {
  int Year = 0;  // branch number of the year pillar (the lunar year if the label holds none)
  int Month = 0;
  int Day = 0;
  int Hour = 0;  // branch number of the hour pillar
  int Sum() const { return Year + Month + Day + Hour; }
};

// The lunar date is that of the date boxes themselves; from 23:00 the pillars label already
// shows the next day, so its hour branch and the lunar day may belong to different days.
CastBasis ReadCastBasis(TForm2& f) {
  const TDate date = EncodeDate(StrToInt(f.ComboBox1->GetText()), StrToInt(f.ComboBox2->GetText()),
                                StrToInt(f.ComboBox3->GetText()));
  const TLunarDate lunar = CalendarEngine().SolarToLunar(date);
  const std::string pillars = f.Label7->Caption();
  CastBasis basis;
  basis.Month = lunar.Month;
  basis.Day = lunar.Day;
  basis.Year = PillarBranchNumber(pillars, 3, lunar.Year);
  basis.Hour = PillarBranchNumber(pillars, 21, 0);
  return basis;
}

// Writes the lines, then the boxes, and casts.
void SetLinesAndCast(TForm2& f, const CastLines& lines) {
  const auto buttons = LineButtons(f);
  const auto boxes = MovingBoxes(f);
  for (int i = 0; i < 6; ++i)
    buttons[i]->SetCaption(lines.Yang[i] ? YangLineCaption : YinLineCaption);
  for (int i = 0; i < 6; ++i) boxes[i]->SetChecked(lines.Moving[i]);
  f.Button1->Click();
}

void SetSubject(TForm2& f, const std::string& subject) {
  f.Edit1->SetText(subject);
  f.Edit1Change(f.Edit1);
}

// Asks for a match and splits it into the two team names; false after telling the user that
// the text has no separator.
bool AskMatch(std::string& name1, std::string& name2) {
  const std::string text = Trim(InputBox("简体汉字字母数字", "请输入对阵(对阵之间保持空格)", ""));
  if (SplitMatch(text, name1, name2)) return true;
  ShowMessage("对阵无空格!");
  return false;
}

// A match asked for: the two names, their stroke counts and the date base of the casts.
struct AskedMatch {
  std::string Name1, Name2;
  int Strokes1 = 0, Strokes2 = 0;
  int Base = 0;
};

// Asks for the match and makes it the subject; false (after telling the user) when the text
// has no separator.
bool AskMatchToCast(TForm2& f, AskedMatch& match) {
  if (!AskMatch(match.Name1, match.Name2)) return false;
  SetSubject(f, match.Name1 + "　VS　" + match.Name2);
  match.Strokes1 = f.StrokeCount(match.Name1);
  match.Strokes2 = f.StrokeCount(match.Name2);
  match.Base = ReadCastBasis(f).Sum();
  return true;
}

// Weighs the moving and the changed line on the pillars alone and picks the size and parity
// words they call for.
WordRule MovingLineWords(TForm2& f) {
  f.MovingStrength = f.LineStrength(f.MovingBranch, f.PillarBranches, 4, 1.0);
  f.ChangedStrength = f.LineStrength(f.ChangedBranch, f.PillarBranches, 4, 1.0);
  return ApplyWordRule(f.MovingStrength, f.ChangedStrength, f.BranchElementStrengths[0],
                       f.MovingMark);
}

// Replaces the cast's recommendation by the match words: the moving line's size and parity,
// the two sides' strengths and, for football, the goal times.
void RewriteMatchRecommendation(TForm2& f, const std::string& name1, const std::string& name2,
                                double& a, double& b) {
  a = RoundTo(
      f.LineStrength(f.ShiBranch, f.PillarBranches, f.ShiMoving ? 5 : 6, 1.0) * f.ShiOddsFactor,
      -2);
  b = RoundTo(
      f.LineStrength(f.YingBranch, f.PillarBranches, f.YingMoving ? 5 : 6, 1.0) * f.YingOddsFactor,
      -2);
  const WordRule words = MovingLineWords(f);
  f.RecommendationText =
      MatchRecommendation(f.RecommendationText, words, name1, name2, a, b, f.GoalTimeText);
}

// Chart k of a match: the cast, the match words in place of the chart's, the trigram judgement
// after them. a and b: the two sides' strengths.
void CastMatchChart(TForm2& f, const AskedMatch& match, int k, double& a, double& b) {
  SetLinesAndCast(f, MatchCast(match.Strokes1, match.Strokes2, match.Base, k));
  RewriteMatchRecommendation(f, match.Name1, match.Name2, a, b);
  f.Edit2->SetText(f.RecommendationText);
  f.Action53->Execute();
}

// A yin caption is yin; any other caption counts as yang, as the cast counts it.
bool IsYang(const std::string& caption) { return caption != YinLineCaption; }

}  // namespace

// ----- casting by time, number and clock -----

void TForm2::Action4Execute(TComponent*) {
  SetSubject(*this, "时间卦：");
  const CastBasis basis = ReadCastBasis(*this);
  SetLinesAndCast(*this, TimeCast(basis.Year, basis.Month, basis.Day, basis.Hour));
}

void TForm2::Action5Execute(TComponent*) {
  const std::string digits = InputBox("报数起卦", "请输数字(至少两位)：", "");
  const DigitSums sums = NumberDigitSums(digits);
  const int hour = PillarBranchNumber(Label7->Caption(), 21, 0);
  SetLinesAndCast(*this, NumberCast(sums, hour));
  SetSubject(*this, "报数起卦(" + digits + ")" + Edit1->GetText());
}

void TForm2::Action6Execute(TComponent*) {
  int hour, minute, second, millisecond;
  DecodeTime(Time(), hour, minute, second, millisecond);
  SetLinesAndCast(*this, ClockCast(hour, minute, second, millisecond, ClockRandom));
}

// ----- stroke-count casts -----

int TForm2::StrokeCount(const std::string& Text) { return ::StrokeCount(Text); }

void TForm2::Action7Execute(TComponent*) {
  AskedMatch match;
  if (!AskMatchToCast(*this, match)) return;
  double a, b;
  CastMatchChart(*this, match, 0, a, b);
}

void TForm2::Action8Execute(TComponent*) {
  const std::string name = InputBox("彩票数理卦", "请输入彩票名称(简体汉字)", "");
  SetSubject(*this, name);
  const int strokes = StrokeCount(name);
  const int quarter =
      LotteryQuarter(StrToInt(ComboBox4->GetText()), StrToInt(ComboBox5->GetText()));
  const CastBasis basis = ReadCastBasis(*this);
  SetLinesAndCast(*this, LotteryCast(strokes, basis.Sum(), quarter));

  // Element sums over the branches the chart's moving side shows.
  auto strength = [&](const char* branch) {
    return CharContains(LineBranchText, branch) ? LineStrength(branch, PillarBranches, 4, 1.0)
                                                : 0.0;
  };
  const double water = strength("亥") + strength("子");
  const double wood = strength("寅") + strength("卯");
  const double fire = strength("巳") + strength("午");

  const WordRule words = MovingLineWords(*this);
  RecommendationText = LotteryRecommendation(RecommendationText, words, name, water, wood, fire);
  Edit2->SetText(RecommendationText);
}

void TForm2::Button9Click(TComponent*) {
  Label10->SetCaption("共" + IntToStr(StrokeCount(Edit2->GetText())) + "笔");
}

// ----- trigram judgement, multi-chart cast and saving -----

void TForm2::Action53Execute(TComponent*) {
  PillarBranches = PillarBranchesOf(Label7->Caption());
  const auto buttons = LineButtons(*this);
  // A checked box flips its line: a yin caption turns yang, any other caption yin.
  bool yang[6], changed[6];
  for (int i = 0; i < 6; ++i) {
    const auto* box = Find<TCheckBox>("checkbox" + IntToStr(i + 1));
    yang[i] = IsYang(buttons[i]->Caption());
    changed[i] = yang[i] != (box && box->Checked());
  }
  const int upper = TrigramNumber(yang[0], yang[1], yang[2]);
  const int lower = TrigramNumber(yang[3], yang[4], yang[5]);
  const int changedUpper = TrigramNumber(changed[0], changed[1], changed[2]);
  const int changedLower = TrigramNumber(changed[3], changed[4], changed[5]);
  const TrigramRatioPair ratios =
      JudgeTrigrams(upper, lower, changedUpper, changedLower, PillarBranches);
  TrigramRatios = {ratios.R0, ratios.R1};
  Edit2->SetText(Edit2->GetText() + TrigramRatioText(ratios));
}

void TForm2::Action52Execute(TComponent*) {
  const auto buttons = LineButtons(*this);
  for (int first : {0, 3}) {
    bool plain = true;
    bool yang[3];
    for (int i = 0; i < 3; ++i) {
      const std::string caption = buttons[first + i]->Caption();
      plain = plain && (caption == YangLineCaption || caption == YinLineCaption);
      yang[i] = caption == YangLineCaption;
    }
    if (!plain) continue;  // a trigram of foreign captions stays as it is
    const auto exchanged = TrigramLines(ExchangedTrigram(TrigramNumber(yang[0], yang[1], yang[2])));
    for (int i = 0; i < 3; ++i)
      buttons[first + i]->SetCaption(exchanged[i] ? YangLineCaption : YinLineCaption);
  }
  Button1->Click();
}

void TForm2::Action55Execute(TComponent*) {
  RichEdit3->SetText("");
  RichEdit1->SetText("");
  RichEdit2->SetText("");
  ShiStrengthSum = 0;
  YingStrengthSum = 0;
  TrigramRatios = {0, 0};
  TrigramRatioSums = {0, 0};

  AskedMatch match;
  if (!AskMatchToCast(*this, match)) return;
  for (int k = 0; k < 8; ++k) {
    double a, b;
    CastMatchChart(*this, match, k, a, b);
    ShiStrengthSum += a;
    YingStrengthSum += b;
    TrigramRatioSums[0] += TrigramRatios[0];
    TrigramRatioSums[1] += TrigramRatios[1];
    RichEdit3->SetText(RichEdit3->GetText() +
                       MultiChartBlock(k + 1, ComboBox7->GetText(), Edit1->GetText(),
                                       RichEdit1->GetText(), Edit2->GetText()));
  }
  RecommendationText =
      MultiChartSummary(ShiStrengthSum, YingStrengthSum, TrigramRatioSums[0], TrigramRatioSums[1]);
  Edit2->SetText(RecommendationText);
  RichEdit1->SetText(RichEdit3->GetText());
}

// Cancel writes nothing; a failed write raises before the old file is touched.
void TForm2::Action56Execute(TComponent*) {
  if (!SaveTextFileDialog1->Execute()) return;
  SaveReading(SaveTextFileDialog1->FileName, ReadingText(ComboBox7->GetText(), Edit1->GetText(),
                                                         RichEdit1->GetText(), Edit2->GetText()));
}

void TForm2::Edit1Change(TComponent*) {
  SaveTextFileDialog1->FileName = ProposedFileName(Edit1->GetText());
}
