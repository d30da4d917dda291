// The casting commands of the main window (time, number, clock, stroke counts, eight charts for
// one match, trigram exchange), the trigram judgement that follows every cast, and saving the
// reading. The rules live in the logic and the model; these handlers read the user's input into
// the model, set the lines, cast and show the results.
#include <array>

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

// A match asked for: the two names, their stroke counts and the date base of the casts.
struct AskedMatch {
  std::string Name1, Name2;
  int Strokes1 = 0, Strokes2 = 0;
  int Base = 0;
};

namespace {

// Asks for a match and splits it into the two team names; false after telling the user that
// the text has no separator.
bool AskMatch(std::string& name1, std::string& name2) {
  const std::string text = Trim(InputBox("简体汉字字母数字", "请输入对阵(对阵之间保持空格)", ""));
  if (SplitMatch(text, name1, name2)) return true;
  ShowMessage("对阵无空格!");
  return false;
}

// Weighs the moving and the changed line on the pillars alone and picks the size and parity
// words they call for.
WordRule MovingLineWords(WorkbenchModel& m) {
  m.Cast.MovingStrength = m.Strength(m.Cast.MovingBranch, 4);
  m.Cast.ChangedStrength = m.Strength(m.Cast.ChangedBranch, 4);
  return ApplyWordRule(m.Cast.MovingStrength, m.Cast.ChangedStrength,
                       m.Cast.BranchElementStrengths[0], m.Cast.MovingMark);
}

// Replaces the cast's recommendation by the match words: the moving line's size and parity,
// the two sides' strengths and, for football, the goal times.
void RewriteMatchRecommendation(WorkbenchModel& m, const AskedMatch& match, double& a, double& b) {
  ChartFields& f = m.Cast;
  a = RoundTo(m.Strength(f.ShiBranch, f.ShiMoving ? 5 : 6) * f.ShiOddsFactor, -2);
  b = RoundTo(m.Strength(f.YingBranch, f.YingMoving ? 5 : 6) * f.YingOddsFactor, -2);
  const WordRule words = MovingLineWords(m);
  f.RecommendationText = MatchRecommendation(f.RecommendationText, words, match.Name1, match.Name2,
                                             a, b, f.GoalTimeText);
  m.ResultText = f.RecommendationText;
}

}  // namespace

// Writes the lines, then the boxes, and casts as the cast button does.
void TForm2::SetLinesAndCast(const CastLines& lines) {
  model_.SetLines(lines);
  ShowLines();
  Action2Execute(this);
}

void TForm2::SetSubject(const std::string& subject) {
  model_.Subject = subject;
  ShowSubject();
}

// Asks for the match and makes it the subject; false (after telling the user) when the text
// has no separator.
bool TForm2::AskMatchToCast(AskedMatch& match) {
  if (!AskMatch(match.Name1, match.Name2)) return false;
  SetSubject(match.Name1 + "　VS　" + match.Name2);
  match.Strokes1 = StrokeCount(match.Name1);
  match.Strokes2 = StrokeCount(match.Name2);
  match.Base = model_.Basis().Sum();
  return true;
}

// Chart k of a match: the cast, the match words in place of the chart's, the trigram judgement
// after them. a and b: the two sides' strengths.
void TForm2::CastMatchChart(const AskedMatch& match, int k, double& a, double& b) {
  SetLinesAndCast(MatchCast(match.Strokes1, match.Strokes2, match.Base, k));
  RewriteMatchRecommendation(model_, match, a, b);
  Edit2->SetText(model_.ResultText);
  Action53Execute(this);
}

// ----- casting by time, number and clock -----

void TForm2::Action4Execute(TComponent*) {
  ReadInput();
  SetSubject("时间卦：");
  const CastBasis basis = model_.Basis();
  SetLinesAndCast(TimeCast(basis.Year, basis.Month, basis.Day, basis.Hour));
}

void TForm2::Action5Execute(TComponent*) {
  ReadInput();
  const std::string digits = InputBox("报数起卦", "请输数字(至少两位)：", "");
  const DigitSums sums = NumberDigitSums(digits);
  SetLinesAndCast(NumberCast(sums, model_.Basis().Hour));
  SetSubject("报数起卦(" + digits + ")" + model_.Subject);
}

void TForm2::Action6Execute(TComponent*) {
  ReadInput();
  // Refused before the draws, which would move the generator on.
  model_.RequireCurrentLabels();
  int hour, minute, second, millisecond;
  DecodeTime(Time(), hour, minute, second, millisecond);
  SetLinesAndCast(ClockCast(hour, minute, second, millisecond, ClockRandom));
}

// ----- stroke-count casts -----

void TForm2::Action7Execute(TComponent*) {
  ReadInput();
  AskedMatch match;
  if (!AskMatchToCast(match)) return;
  double a, b;
  CastMatchChart(match, 0, a, b);
}

void TForm2::Action8Execute(TComponent*) {
  ReadInput();
  const std::string name = InputBox("彩票数理卦", "请输入彩票名称(简体汉字)", "");
  SetSubject(name);
  const int strokes = StrokeCount(name);
  const CastBasis basis = model_.Basis();
  const int quarter = LotteryQuarter(MomentHour(model_.Moment[3]), MomentMinute(model_.Moment[4]));
  SetLinesAndCast(LotteryCast(strokes, basis.Sum(), quarter));

  // Element sums over the branches the chart's moving side shows.
  ChartFields& f = model_.Cast;
  auto strength = [&](const char* branch) {
    return CharContains(f.LineBranchText, branch) ? model_.Strength(branch, 4) : 0.0;
  };
  const double water = strength("亥") + strength("子");
  const double wood = strength("寅") + strength("卯");
  const double fire = strength("巳") + strength("午");

  const WordRule words = MovingLineWords(model_);
  f.RecommendationText =
      LotteryRecommendation(f.RecommendationText, words, name, water, wood, fire);
  model_.ResultText = f.RecommendationText;
  Edit2->SetText(model_.ResultText);
}

void TForm2::Button9Click(TComponent*) {
  ReadInput();
  Label10->SetCaption("共" + IntToStr(StrokeCount(model_.ResultText)) + "笔");
}

// ----- trigram judgement, multi-chart cast and saving -----

void TForm2::Action53Execute(TComponent*) {
  ReadInput();
  model_.JudgeTrigrams();
  Edit2->SetText(model_.ResultText);
}

void TForm2::Action52Execute(TComponent*) {
  ReadInput();
  // Refused before the lines change.
  model_.RequireCurrentLabels();
  model_.ExchangeTrigrams();
  ShowLines();
  Action2Execute(this);
}

void TForm2::Action55Execute(TComponent*) {
  ReadInput();
  JudgementResults& totals = model_.Judgement;
  model_.MultiChartText.clear();
  RichEdit3->SetText("");
  RichEdit1->SetText("");
  RichEdit2->SetText("");
  totals = JudgementResults{};

  AskedMatch match;
  if (!AskMatchToCast(match)) return;
  for (int k = 0; k < 8; ++k) {
    double a, b;
    CastMatchChart(match, k, a, b);
    totals.ShiStrengthSum += a;
    totals.YingStrengthSum += b;
    totals.TrigramRatioSums[0] += totals.TrigramRatios[0];
    totals.TrigramRatioSums[1] += totals.TrigramRatios[1];
    model_.MultiChartText += MultiChartBlock(k + 1, model_.Sequence, model_.Subject,
                                             model_.ChartText, model_.ResultText);
    RichEdit3->SetText(model_.MultiChartText);
  }
  model_.Cast.RecommendationText =
      MultiChartSummary(totals.ShiStrengthSum, totals.YingStrengthSum, totals.TrigramRatioSums[0],
                        totals.TrigramRatioSums[1]);
  model_.ResultText = model_.Cast.RecommendationText;
  model_.ChartText = model_.MultiChartText;
  ShowChart();
}

// Cancel writes nothing; a failed write raises before the old file is touched.
void TForm2::Action56Execute(TComponent*) {
  ReadInput();
  if (!SaveTextFileDialog1->Execute()) return;
  SaveReading(SaveTextFileDialog1->FileName,
              ReadingText(model_.Sequence, model_.Subject, model_.ChartText, model_.ResultText));
}

void TForm2::Edit1Change(TComponent*) {
  SaveTextFileDialog1->FileName = ProposedFileName(Edit1->GetText());
}
