#include "workbench/logic/CalendarLabels.h"

#include <array>
#include <limits>
#include <optional>

#include "calendar/engine/LunarEngine.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/StrengthModels.h"

namespace {

struct Decade {
  const char* pairs;
  const char* dayPart;
  const char* hourPart;
};

// The six decades of the cycle with the two branches each leaves empty.
const Decade kXunVoidTable[6] = {
    {"甲子乙丑丙寅丁卯戊辰己巳庚午辛未壬申癸酉", "(日空:戌亥", ",时空:戌亥)"},
    {"甲戌乙亥丙子丁丑戊寅己卯庚辰辛巳壬午癸未", "(日空:申酉", ",时空:申酉)"},
    {"甲申乙酉丙戌丁亥戊子己丑庚寅辛卯壬辰癸巳", "(日空:午未", ",时空:午未)"},
    {"甲午乙未丙申丁酉戊戌己亥庚子辛丑壬寅癸卯", "(日空:辰巳", ",时空:辰巳)"},
    {"甲辰乙巳丙午丁未戊申己酉庚戌辛亥壬子癸丑", "(日空:寅卯", ",时空:寅卯)"},
    {"甲寅乙卯丙辰丁巳戊午己未庚申辛酉壬戌癸亥", "(日空:子丑", ",时空:子丑)"},
};

// The decade that holds `pillar`, or nullptr.
const Decade* DecadeOf(const std::string& pillar) {
  for (const Decade& decade : kXunVoidTable)
    if (CharContains(decade.pairs, pillar)) return &decade;
  return nullptr;
}

struct NayinGroup {
  const char* first;
  const char* second;
  const char* name;
};

const NayinGroup kNayinTable[30] = {
    {"甲子", "乙丑", "海中金"}, {"丙寅", "丁卯", "炉中火"}, {"戊辰", "己巳", "大林木"},
    {"庚午", "辛未", "路傍土"}, {"壬申", "癸酉", "剑锋金"}, {"甲戌", "乙亥", "山头火"},
    {"丙子", "丁丑", "涧下水"}, {"戊寅", "己卯", "城头土"}, {"庚辰", "辛巳", "白蜡金"},
    {"壬午", "癸未", "杨柳木"}, {"甲申", "乙酉", "泉中水"}, {"丙戌", "丁亥", "屋上土"},
    {"戊子", "己丑", "霹雳火"}, {"庚寅", "辛卯", "松柏木"}, {"壬辰", "癸巳", "长流水"},
    {"甲午", "乙未", "沙中金"}, {"丙申", "丁酉", "山下火"}, {"戊戌", "己亥", "平地木"},
    {"庚子", "辛丑", "壁上土"}, {"壬寅", "癸卯", "金箔金"}, {"甲辰", "乙巳", "覆灯火"},
    {"丙午", "丁未", "天河水"}, {"戊申", "己酉", "大驿土"}, {"庚戌", "辛亥", "钗钏金"},
    {"壬子", "癸丑", "桑柘木"}, {"甲寅", "乙卯", "大溪水"}, {"丙辰", "丁巳", "沙中土"},
    {"戊午", "己未", "天上火"}, {"庚申", "辛酉", "石榴木"}, {"壬戌", "癸亥", "大海水"},
};

struct AuspiciousRow {
  const char* stems;
  const char* hours;
};

const AuspiciousRow kAuspiciousHours[5] = {
    {"甲己", "(本日吉时:子、丑、午、未、酉、戌)"}, {"乙庚", "(本日吉时:子、巳、午、申、酉)"},
    {"丙辛", "(本日吉时:丑、寅、巳、辰、戌、亥)"}, {"丁壬", "(本日吉时:丑、寅、未、申、戌、亥)"},
    {"戊癸", "(本日吉时:寅、卯、巳、午、亥)"},
};

const char* const kCaptionTitle = "Zelkar六爻预测系统9.8.2";

int FloorDiv(int a, int b) { return (a - FloorMod(a, b)) / b; }

// The last year the lunar tables hold.
constexpr int kLastYear = 2100;

// A date box as a number. Digits beyond the integers are a number too, only far outside every
// range the calendar takes: they read as the largest (or smallest) integer, so that the range
// checks name the text. Anything else raises the conversion error.
int BoxNumber(const std::string& text) {
  int value = 0;
  switch (CheckStrToInt(text, value)) {
    case TNumberText::Number:
      return value;
    case TNumberText::OutOfRange:
      return BytePos('-', text) != 0 ? std::numeric_limits<int>::min()
                                     : std::numeric_limits<int>::max();
    default:
      return StrToInt(text);
  }
}

[[noreturn]] void RaiseOutOfRange(const std::string& what, const std::string& text, int low,
                                  int high) {
  RaiseMomentError(what + "「" + text + "」超出范围，须在" + IntToStr(low) + "-" + IntToStr(high) +
                   "之间");
}

int InRange(const std::string& what, const std::string& text, int low, int high) {
  const int value = BoxNumber(text);
  if (value < low || value > high) RaiseOutOfRange(what, text, low, high);
  return value;
}

bool IsBlankBox(const std::string& text) {
  int ignored;
  return CheckStrToInt(text, ignored) == TNumberText::Blank;
}

// The month-opening term on the chosen day whose minute the chosen time is not after: before
// it the month pillar is still the old one. The minute is read only on such a day.
bool BeforeTermOnItsDay(const std::array<TDateTime, 12>& terms, int Y, int M, int D, int H,
                        const std::string& minute) {
  std::optional<int> N;
  for (TDateTime term : terms) {
    int ty, tm, td, th, tn, ts, tms;
    DecodeDateTime(term, ty, tm, td, th, tn, ts, tms);
    if (ty == Y && tm == M && td == D) {
      if (!N) N = MomentMinute(minute);
      if (H * 60 + *N <= th * 60 + tn) return true;
    }
  }
  return false;
}

// At 23:xx the pillars belong to the next day; on the eve of a term day the month is still
// the old one.
bool TermOnPillarDay(const std::array<TDateTime, 12>& terms, TDate pillarDate) {
  int py, pm, pd;
  DecodeDate(pillarDate, py, pm, pd);
  for (TDateTime term : terms) {
    int ty, tm, td;
    DecodeDate(term, ty, tm, td);
    if (ty == py && tm == pm && td == pd) return true;
  }
  return false;
}

}  // namespace

void RaiseMomentError(const std::string& reason) {
  throw EConvertError("日期或时间无效：" + reason);
}

int MomentHour(const std::string& text) { return InRange("时", text, 0, 23); }

int MomentMinute(const std::string& text) { return InRange("分", text, 0, 59); }

int CalendarLabels::PillarBranch(int k) const { return FloorMod(PillarIndex[k], 12) + 1; }

std::string CalendarLabels::PillarBranches() const {
  std::string branches;
  for (int k = 0; k < 4; ++k) branches += BranchName(PillarBranch(k));
  return branches;
}

void NayinOf(const std::string& pair, std::string& result) {
  for (const NayinGroup& group : kNayinTable)
    if (pair == group.first || pair == group.second) result = group.name;
}

std::string AuspiciousHoursText(const std::string& dayStem) {
  if (dayStem.size() != 2) return "";
  for (const AuspiciousRow& row : kAuspiciousHours)
    if (CharContains(row.stems, dayStem)) return row.hours;
  return "";
}

std::string XunVoidDayPart(const std::string& pillar) {
  const Decade* decade = DecadeOf(pillar);
  return decade ? decade->dayPart : "";
}

std::string XunVoidHourPart(const std::string& pillar) {
  const Decade* decade = DecadeOf(pillar);
  return decade ? decade->hourPart : "";
}

bool ComputeCalendarLabels(const std::string& year, const std::string& month,
                           const std::string& day, const std::string& hour,
                           const std::string& minute, CalendarLabels& labels,
                           const TLunarEngine& engine) {
  // A box emptied to type it anew holds no moment yet: the labels wait, as for a short year.
  for (const std::string* box : {&year, &month, &day, &hour, &minute})
    if (IsBlankBox(*box)) return false;
  const int Y = BoxNumber(year);
  // Before 1900 the calendar has no pillars; leave the labels as they are while the user is
  // still typing the year.
  if (Y < 1900) return false;
  if (Y > kLastYear) RaiseOutOfRange("年份", year, 1900, kLastYear);

  const int M = BoxNumber(month);
  const int D = BoxNumber(day);
  TDateTime encoded;
  if (!TryEncodeDate(Y, M, D, encoded))
    RaiseMomentError("「" + year + "年" + month + "月" + day + "日」不是有效的日期");
  const TDate date = encoded;
  const int H = MomentHour(hour);
  // The minute is read only on a term's day, but a number out of range is wrong on any day.
  int N;
  if (CheckStrToInt(minute, N) != TNumberText::Invalid) MomentMinute(minute);

  std::array<TDateTime, 12> terms;
  for (int i = 0; i < 12; ++i) terms[i] = engine.GetSolarTermDate(Y, 2 * i);

  // The day, and with it the pillars, turns at 23:00.
  const TDate pillarDate = H == 23 ? date + 1 : date;
  TGanZhiIndex index;
  engine.GetGanZhiIndex(pillarDate, index);
  const int days = static_cast<int>(date - EncodeDate(1900, 1, 1));
  // 1 January 1900 is a 甲 day, so index 0 is its 子 hour; 23:00 already counts as the next 子.
  const int hourIndex = (days * 24 + H + 1) / 2;

  // The engine turns the month at the start of the term's day; the pillars turn it at the
  // term's minute.
  const bool beforeTerm = BeforeTermOnItsDay(terms, Y, M, D, H, minute) ||
                          (H == 23 && TermOnPillarDay(terms, pillarDate));
  const int monthIndex = beforeTerm ? index.Month - 1 : index.Month;
  // The year turns together with the month, at the minute of 立春: it is the year whose 寅
  // month (index 14 in 1900) is the latest one not after this month.
  const int yearIndex = FloorDiv(monthIndex - 2, 12) + 35;

  labels.PillarIndex = {yearIndex, monthIndex, index.Day, hourIndex};
  labels.Lunar = engine.SolarToLunar(date);
  const std::string yearPillar = engine.GetCyclicalName(yearIndex);
  const std::string monthPillar = engine.GetCyclicalName(monthIndex);
  const std::string dayPillar = engine.GetCyclicalName(index.Day);
  const std::string hourPillar = engine.GetCyclicalName(hourIndex);

  labels.FourPillarsText = yearPillar + "　" + monthPillar + "　" + dayPillar + "　" + hourPillar;
  labels.LunarDateText = "农历:" + IntToStr(labels.Lunar.Year) + "-" +
                         IntToStr(labels.Lunar.Month) + "-" + IntToStr(labels.Lunar.Day);
  labels.XunVoidText = XunVoidDayPart(dayPillar) + XunVoidHourPart(hourPillar);
  labels.Caption = kCaptionTitle + AuspiciousHoursText(ByteCopy(dayPillar, 1, 2));
  std::string nayin[4];
  NayinOf(yearPillar, nayin[0]);
  NayinOf(monthPillar, nayin[1]);
  NayinOf(dayPillar, nayin[2]);
  NayinOf(hourPillar, nayin[3]);
  labels.NayinText =
      "五行纳音(年:" + nayin[0] + ",月:" + nayin[1] + ",日:" + nayin[2] + ",时:" + nayin[3] + ")";
  return true;
}
