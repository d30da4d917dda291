// Festivals and day marks of the calendar grid: solar (by Gregorian month and day), lunar (by
// lunar month and day) and week (by weekday of month) entries, each with its colour.
#pragma once

#include <array>
#include <string>

#include "calendar/engine/FestivalStrings.h"
#include "calendar/engine/LunarEngine.h"
#include "platform/DateTime.h"

class TLssCalendar;

// Keys are four ASCII digits: solar "mmdd"; lunar month and day ("MM00" is the eve of month MM,
// the last day of the month before it); week month, W, D with D = 0 (Sunday) .. 6, W = 1..5 the
// occurrence from the start of the month, W = 5 also the last and W = 6 the second-to-last.
// Festival entries read "key=names"; mark entries are the bare key.
class TFestivalList {
 public:
  // Filled with the built-in festivals; the marks start empty.
  explicit TFestivalList(TLssCalendar* owner = nullptr);

  // Copies all six lists of `source`; no festival list (nullptr) is ignored.
  void Assign(const TFestivalList* source);

  TFestivalStrings& SolarFestivals() { return festivals_[0]; }
  TFestivalStrings& LunarFestivals() { return festivals_[1]; }
  TFestivalStrings& WeekFestivals() { return festivals_[2]; }
  TFestivalStrings& SolarMarks() { return marks_[0]; }
  TFestivalStrings& LunarMarks() { return marks_[1]; }
  TFestivalStrings& WeekMarks() { return marks_[2]; }
  const TFestivalStrings& SolarFestivals() const { return festivals_[0]; }
  const TFestivalStrings& LunarFestivals() const { return festivals_[1]; }
  const TFestivalStrings& WeekFestivals() const { return festivals_[2]; }
  const TFestivalStrings& SolarMarks() const { return marks_[0]; }
  const TFestivalStrings& LunarMarks() const { return marks_[1]; }
  const TFestivalStrings& WeekMarks() const { return marks_[2]; }
  // index 0 solar, 1 lunar, 2 week; copies the contents. Other indices change nothing.
  void SetFestivals(int index, const TFestivalStrings& value);
  void SetMarks(int index, const TFestivalStrings& value);

  // kind 0 solar, 1 lunar, 2 week. A festival with the same key replaces the earlier one.
  // False (and nothing added) for another kind, an empty key or an empty name.
  bool AddFestival(int kind, const std::string& key, TColor colour, const std::string& name);

  // Names of the day's festival of that kind, and its colour; empty and NoFestivalColor when
  // there is none. Dates are whole days.
  std::string GetSolarFestival(TDate date, TColor& colour) const;
  std::string GetLunarFestival(const TLunarDate& date, TColor& colour) const;
  std::string GetWeekFestival(TDate date, TColor& colour) const;

  // Mark colour of the day, NoFestivalColor when unmarked.
  TColor GetSolarMark(TDate date) const;
  TColor GetLunarMark(const TLunarDate& date) const;
  TColor GetWeekMark(TDate date) const;

  // 1 for the last seven days of the month, 2 for the seven before, and so on.
  static int WeekOfMonthFromEnd(TDate date);

  TLssCalendar* Owner() const { return owner_; }

 private:
  TLssCalendar* owner_;
  std::array<TFestivalStrings, 3> festivals_;
  std::array<TFestivalStrings, 3> marks_;
};

// What the calendar control shows under a day: the eve, lunar, solar and week festivals joined
// by blanks, and the colour of the first kind that matched (NoFestivalColor when none).
std::string GetFestivalText(const TFestivalList& list, TDate date, TColor& colour);
std::string GetFestivalText(const TFestivalList& list, TDate date);

// The day's lunar mark, else its solar mark, else its week mark (NoFestivalColor when none).
TColor GetMarkColor(const TFestivalList& list, TDate date);
