#include "calendar/engine/FestivalList.h"

#include "calendar/engine/FestivalTables.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

namespace {

std::string TwoDigits(int value) { return IntToStrPadded(value, 2); }

// Entries read "kkkk=names": the names start at the sixth character.
std::string NamesOf(const std::string& entry) { return entry.size() > 5 ? entry.substr(5) : ""; }

bool Find(const TFestivalStrings& list, const std::string& key, std::string& names,
          TColor& colour) {
  int at = list.IndexOfName(key);
  if (at < 0) {
    names.clear();
    colour = NoFestivalColor;
    return false;
  }
  names = NamesOf(list.Strings(at));
  colour = list.Colors(at);
  return true;
}

TColor FindMark(const TFestivalStrings& list, const std::string& key) {
  int at = list.IndexOf(key);
  return at < 0 ? NoFestivalColor : list.Colors(at);
}

std::string SolarKey(TDate date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  return TwoDigits(month) + TwoDigits(day);
}

std::string LunarKey(const TLunarDate& date) { return TwoDigits(date.Month) + TwoDigits(date.Day); }

// Week keys of a day: counted from the start of the month, then from its end.
struct WeekKeys {
  std::string fromStart;
  std::string fromEnd;
};

WeekKeys WeekKeysOf(TDate date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  const std::string weekday = std::to_string(DayOfWeek(date) - 1);
  return {TwoDigits(month) + std::to_string((day - 1) / 7 + 1) + weekday,
          TwoDigits(month) + std::to_string(TFestivalList::WeekOfMonthFromEnd(date) + 4) + weekday};
}

void Join(std::string& text, const std::string& names) { text = Trim(text + " " + names); }

}  // namespace

TFestivalList::TFestivalList(TLssCalendar* owner) : owner_(owner) {
  auto load = [this](int kind, const auto& rows, TColor colour) {
    for (const char* row : rows) {
      const std::string text = row;
      AddFestival(kind, text.substr(0, 4), colour, Trim(text.substr(5)));
    }
  };
  load(0, BuiltInSolarFestivals, SolarFestivalColor);
  load(1, BuiltInLunarFestivals, LunarFestivalColor);
  load(2, BuiltInWeekFestivals, WeekFestivalColor);
}

void TFestivalList::Assign(const TFestivalList* source) {
  if (source == nullptr || source == this) return;
  festivals_ = source->festivals_;
  marks_ = source->marks_;
}

void TFestivalList::SetFestivals(int index, const TFestivalStrings& value) {
  if (index >= 0 && index < 3) festivals_[index].Assign(value);
}

void TFestivalList::SetMarks(int index, const TFestivalStrings& value) {
  if (index >= 0 && index < 3) marks_[index].Assign(value);
}

bool TFestivalList::AddFestival(int kind, const std::string& key, TColor colour,
                                const std::string& name) {
  if (kind < 0 || kind > 2 || key.empty() || name.empty()) return false;
  TFestivalStrings& list = festivals_[kind];
  const int existing = list.IndexOfName(key);
  if (existing >= 0) list.Delete(existing);
  list.Add(key + "=" + Trim(name), colour);
  return true;
}

std::string TFestivalList::GetSolarFestival(TDate date, TColor& colour) const {
  std::string names;
  Find(SolarFestivals(), SolarKey(date), names, colour);
  return names;
}

std::string TFestivalList::GetLunarFestival(const TLunarDate& date, TColor& colour) const {
  std::string names;
  Find(LunarFestivals(), LunarKey(date), names, colour);
  return names;
}

std::string TFestivalList::GetWeekFestival(TDate date, TColor& colour) const {
  const WeekKeys keys = WeekKeysOf(date);
  std::string names;
  // The rule counted from the end of the month wins when both match.
  if (!Find(WeekFestivals(), keys.fromEnd, names, colour)) {
    Find(WeekFestivals(), keys.fromStart, names, colour);
  }
  return names;
}

TColor TFestivalList::GetSolarMark(TDate date) const {
  return FindMark(SolarMarks(), SolarKey(date));
}

TColor TFestivalList::GetLunarMark(const TLunarDate& date) const {
  return FindMark(LunarMarks(), LunarKey(date));
}

TColor TFestivalList::GetWeekMark(TDate date) const {
  const WeekKeys keys = WeekKeysOf(date);
  TColor colour = FindMark(WeekMarks(), keys.fromEnd);
  return colour != NoFestivalColor ? colour : FindMark(WeekMarks(), keys.fromStart);
}

int TFestivalList::WeekOfMonthFromEnd(TDate date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  return (DaysInMonth(year, month) - day) / 7 + 1;
}

std::string GetFestivalText(const TFestivalList& list, TDate date, TColor& colour) {
  std::string text;
  colour = NoFestivalColor;
  const TLunarDate today = SolarToLunar(date);
  const TLunarDate tomorrow = SolarToLunar(date + 1);

  // A festival that matched but has no names and the colour -1 would change nothing, so a
  // lookup counts as a match when it yields either.
  auto add = [&](const std::string& names, TColor found) {
    if (names.empty() && found == NoFestivalColor) return;
    Join(text, names);
    if (colour == NoFestivalColor) colour = found;
  };
  TColor found;
  // The last day of a lunar month carries the eve of the next one (key MM00).
  if (tomorrow.Month != today.Month) {
    TLunarDate eve = tomorrow;
    eve.Day = 0;
    std::string names = list.GetLunarFestival(eve, found);
    add(names, found);
  }
  std::string names = list.GetLunarFestival(today, found);
  add(names, found);
  names = list.GetSolarFestival(date, found);
  add(names, found);
  names = list.GetWeekFestival(date, found);
  add(names, found);
  return text;
}

std::string GetFestivalText(const TFestivalList& list, TDate date) {
  TColor colour;
  return GetFestivalText(list, date, colour);
}

TColor GetMarkColor(const TFestivalList& list, TDate date) {
  TColor colour = list.GetLunarMark(SolarToLunar(date));
  if (colour != NoFestivalColor) return colour;
  colour = list.GetSolarMark(date);
  if (colour != NoFestivalColor) return colour;
  return list.GetWeekMark(date);
}
