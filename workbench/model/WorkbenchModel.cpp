#include "workbench/model/WorkbenchModel.h"

#include "platform/Exceptions.h"
#include "workbench/logic/TrigramJudgement.h"

std::string LineState::Caption() const {
  switch (kind) {
    case Kind::Yang:
      return YangLineCaption;
    case Kind::Yin:
      return YinLineCaption;
    case Kind::Other:
      break;
  }
  return otherCaption;
}

LineState LineState::FromCaption(const std::string& caption, bool moving) {
  LineState line;
  line.moving = moving;
  if (caption == YinLineCaption) {
    line.kind = Kind::Yin;
  } else if (caption != YangLineCaption) {
    line.kind = Kind::Other;
    line.otherCaption = caption;
  }
  return line;
}

bool WorkbenchModel::UpdateLabels() {
  CalendarLabels labels;
  if (!ComputeCalendarLabels(Moment[0], Moment[1], Moment[2], Moment[3], Moment[4], labels,
                             engine_))
    return false;
  labels_ = labels;
  labelsMoment_ = Moment;
  return true;
}

void WorkbenchModel::RequireCurrentLabels() const {
  if (!LabelsCurrent()) RaiseMomentOutOfCalendar();
}

void WorkbenchModel::RaiseMomentOutOfCalendar() const {
  const MomentTexts& m = Moment;
  throw EConvertError("日期或时间无效，或不在1900-2100年之间：「" + m[0] + "年" + m[1] + "月" +
                      m[2] + "日" + m[3] + "时" + m[4] + "分」，请先改正日期和时间");
}

CastBasis WorkbenchModel::Basis() const {
  RequireCurrentLabels();
  CastBasis basis;
  basis.Year = labels_.PillarBranch(0);
  basis.Month = labels_.Lunar.Month;
  basis.Day = labels_.Lunar.Day;
  basis.Hour = labels_.PillarBranch(3);
  return basis;
}

// A yin line turns yang; any other, also a caption another window left, turns yin.
void WorkbenchModel::ToggleLine(int index) {
  LineState& line = Lines[index];
  line.kind = line.kind == LineState::Kind::Yin ? LineState::Kind::Yang : LineState::Kind::Yin;
  line.otherCaption.clear();
}

void WorkbenchModel::SetLines(const CastLines& lines) {
  for (int i = 0; i < 6; ++i) {
    Lines[i] = LineState{};
    Lines[i].kind = lines.Yang[i] ? LineState::Kind::Yang : LineState::Kind::Yin;
    Lines[i].moving = lines.Moving[i];
  }
}

void WorkbenchModel::ExchangeTrigrams() {
  for (int first : {0, 3}) {
    const LineState* trigram = &Lines[first];
    if (!trigram[0].IsPlain() || !trigram[1].IsPlain() || !trigram[2].IsPlain()) continue;
    const auto exchanged = TrigramLines(ExchangedTrigram(
        TrigramNumber(trigram[0].IsYang(), trigram[1].IsYang(), trigram[2].IsYang())));
    for (int i = 0; i < 3; ++i)
      Lines[first + i].kind = exchanged[i] ? LineState::Kind::Yang : LineState::Kind::Yin;
  }
}

void WorkbenchModel::CastChart(StrengthModel model) {
  RequireCurrentLabels();
  ChartInput in;
  for (int i = 0; i < 6; ++i) {
    in.Yang[i] = Lines[i].IsYang();
    in.Moving[i] = Lines[i].moving;
  }
  in.ShiOdds = ShiOdds;
  in.YingOdds = YingOdds;
  in.FourPillarsText = labels_.FourPillarsText;
  in.LunarDateText = labels_.LunarDateText;
  in.XunVoidText = labels_.XunVoidText;
  in.DateTexts = Moment;
  ChartCast cast = ::CastChart(in, model);
  // The chart text as built, every line ended by CR LF, the last one too: the copy and the
  // save put the reading's next line after that break.
  ChartText = std::move(cast.Text);
  Cast = std::move(cast.Fields);
  ResultText = Cast.RecommendationText;
}

void WorkbenchModel::JudgeTrigrams() {
  RequireCurrentLabels();
  Cast.PillarBranches = labels_.PillarBranches();
  // A moving line flips: the changed hexagram's trigrams.
  bool yang[6], changed[6];
  for (int i = 0; i < 6; ++i) {
    yang[i] = Lines[i].IsYang();
    changed[i] = yang[i] != Lines[i].moving;
  }
  const TrigramRatioPair ratios = ::JudgeTrigrams(
      TrigramNumber(yang[0], yang[1], yang[2]), TrigramNumber(yang[3], yang[4], yang[5]),
      TrigramNumber(changed[0], changed[1], changed[2]),
      TrigramNumber(changed[3], changed[4], changed[5]), Cast.PillarBranches);
  Judgement.TrigramRatios = {ratios.R0, ratios.R1};
  ResultText += TrigramRatioText(ratios);
}

StrengthChart WorkbenchModel::CurrentStrengthChart() const {
  return {Cast.MovingBranch, Cast.ChangedBranch, labels_.XunVoidText};
}

double WorkbenchModel::Strength(const std::string& branch, int mode) const {
  return LineStrength(branch, Cast.PillarBranches, mode, 1.0, CurrentStrengthChart());
}
