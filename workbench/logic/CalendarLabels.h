// The calendar texts of the main window for a chosen moment: four pillars, lunar date, empty
// branches, nayin names and the window caption with the day's auspicious hours. Chart, strength
// models, casting methods and the Mark Six windows read them back at fixed byte positions.
#pragma once

#include <array>
#include <string>

#include "calendar/engine/LunarEngine.h"

struct CalendarLabels {
  // Sexagenary indices of the year, month, day and hour pillar, as the texts name them.
  std::array<int, 4> PillarIndex{};
  // The lunar date of the chosen day (not of the pillars' day, which turns at 23:00).
  TLunarDate Lunar;
  // Year, month, day and hour pillar joined by "　": stems at bytes 1, 7, 13, 19, branches at
  // 3, 9, 15, 21 (22 bytes).
  std::string FourPillarsText;
  // "农历:" + lunar year + "-" + month + "-" + day; the year at bytes 6 to 9.
  std::string LunarDateText;
  // "(日空:" + the day's two empty branches + ",时空:" + the hour's two + ")": 21 bytes.
  std::string XunVoidText;
  // "五行纳音(年:" .. ",月:" .. ",日:" .. ",时:" .. ")".
  std::string NayinText;
  // "Zelkar六爻预测系统9.8.2" + the auspicious hours of the day stem.
  std::string Caption;

  // Branch number 1 (子) .. 12 (亥) of pillar k (0 year .. 3 hour).
  int PillarBranch(int k) const;
  // Year, month, day and hour branch: 8 bytes.
  std::string PillarBranches() const;
};

// The date error of the date boxes: a moment the calendar cannot take (a day the month lacks,
// an hour outside 0 .. 23, a minute outside 0 .. 59, a year after 2100). Raises EConvertError
// with "日期或时间无效：" and the reason, which names the text that failed.
[[noreturn]] void RaiseMomentError(const std::string& reason);
// The hour and minute of the date boxes, checked before any arithmetic uses them: a text that
// is no number raises the conversion error, a number outside the range (however many digits it
// has) the date error "...超出范围...".
int MomentHour(const std::string& text);
int MomentMinute(const std::string& text);

// The labels for the texts of the year, month, day, hour and minute boxes. Returns false, and
// leaves `labels` alone, for a year below 1900 (the calendar has no pillars there, and the
// user may still be typing) and for an empty box (emptied to be typed anew). A text that is
// not a whole number raises EConvertError (a minute that is no number only on the day of a
// month-opening term, where it is read), and so do a day the month does not have, a year after
// 2100 and an hour or minute out of range, also one with more digits than any integer.
bool ComputeCalendarLabels(const std::string& year, const std::string& month,
                           const std::string& day, const std::string& hour,
                           const std::string& minute, CalendarLabels& labels,
                           const TLunarEngine& engine = TLunarEngine());

// Sets `result` to the nayin name (6 bytes) of a stem-branch pair (4 bytes); leaves it as it
// was for any other text.
void NayinOf(const std::string& pair, std::string& result);

// "(本日吉时:...)" for a day stem; empty for any other text.
std::string AuspiciousHoursText(const std::string& dayStem);

// "(日空:戌亥" .. for the decade that holds `pillar`, and ",时空:戌亥)" ..; empty when no decade
// holds it.
std::string XunVoidDayPart(const std::string& pillar);
std::string XunVoidHourPart(const std::string& pillar);
