// What the workbench window shows, as plain data: the chosen moment and its calendar labels,
// the six lines and their moving marks, subject and odds, and what the last cast left. The
// window copies this into its controls in one place and reads user input back in one place;
// the casting commands, the chart and the judgements work on this, never on a caption.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "calendar/engine/LunarEngine.h"
#include "workbench/logic/CalendarLabels.h"
#include "workbench/logic/Casting.h"
#include "workbench/logic/Chart.h"
#include "workbench/logic/StrengthModels.h"

// One line of the hexagram. Another window may hand a line any caption; one that is neither
// line's counts as yang in a cast, turns yin on a toggle and keeps its text on screen.
struct LineState {
  enum class Kind : std::uint8_t { Yang, Yin, Other };
  Kind kind = Kind::Yang;
  std::string otherCaption;  // shown for Kind::Other
  bool moving = false;

  bool IsYang() const { return kind != Kind::Yin; }
  bool IsPlain() const { return kind != Kind::Other; }
  std::string Caption() const;
  // The line a caption stands for.
  static LineState FromCaption(const std::string& caption, bool moving);
};

// The moment as the five date boxes hold it: year, month, day, hour, minute, as typed.
using MomentTexts = std::array<std::string, 5>;

// The trigram judgement after a cast and the totals of the eight-chart command.
struct JudgementResults {
  std::array<double, 2> TrigramRatios{};
  double ShiStrengthSum = 0;
  double YingStrengthSum = 0;
  std::array<double, 2> TrigramRatioSums{};
};

// y + lunar month + lunar day + h, the base every date-bound cast adds its own numbers to.
struct CastBasis {
  int Year = 0;  // branch number of the year pillar
  int Month = 0;
  int Day = 0;
  int Hour = 0;  // branch number of the hour pillar
  int Sum() const { return Year + Month + Day + Hour; }
};

class WorkbenchModel {
 public:
  explicit WorkbenchModel(const TLunarEngine& engine) : engine_(engine) {}

  // --- moment and calendar labels
  MomentTexts Moment;
  const CalendarLabels& Labels() const { return labels_; }
  // Recomputes the labels for Moment. False, changing nothing, for a year below 1900 (still
  // being typed); a moment the calendar cannot take raises and changes nothing.
  bool UpdateLabels();
  // The labels were computed for the moment now in the date boxes.
  bool LabelsCurrent() const { return labelsMoment_ && *labelsMoment_ == Moment; }
  // Every command that uses the moment asks first: raises the date error, naming the moment,
  // when the labels are not those of Moment (a date the calendar refused, or one before 1900).
  void RequireCurrentLabels() const;
  // That date error, for a command that finds the moment outside what the calendar covers.
  [[noreturn]] void RaiseMomentOutOfCalendar() const;
  CastBasis Basis() const;

  // --- lines, top line first (index 0 is line 6)
  std::array<LineState, 6> Lines;
  void ToggleLine(int index);
  void SetLines(const CastLines& lines);
  // Each trigram of plain lines becomes its counterpart; one holding another caption stays.
  void ExchangeTrigrams();

  // --- subject, sequence, odds and the texts of chart and result
  std::string Subject;
  std::string Sequence;
  std::string ShiOdds = "2.00";
  std::string YingOdds = "2.00";
  std::string ChartText;
  std::string ResultText;
  std::string MultiChartText;  // the eight-chart command's accumulated charts

  // --- the last cast: empty or zero before the first one
  ChartFields Cast;
  JudgementResults Judgement;

  // Casts the lines at the current moment: chart text, chart fields and the recommendation as
  // the result line. Raises before anything changes (odds, a moment without current labels).
  void CastChart(StrengthModel model);
  // Weighs the trigrams of the lines against the pillars and appends the ratios to the result.
  void JudgeTrigrams();
  // What the strength models read besides the pillars.
  StrengthChart CurrentStrengthChart() const;
  double Strength(const std::string& branch, int mode) const;

 private:
  const TLunarEngine& engine_;
  CalendarLabels labels_;
  std::optional<MomentTexts> labelsMoment_;
};
