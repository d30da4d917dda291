// The time conversion of the main window: the combo boxes hold a time of the standard meridian
// 120° east, and a place's longitude turns it into that place's local mean time, four minutes of
// time per degree. The shift is whole hours plus whole minutes and is applied to a count of
// minutes, so no floating-point day value ever rounds a minute away.
#pragma once

#include <array>
#include <string>

// The items of the place box in their fixed order.
extern const std::array<const char*, 314> LongitudePlaces;

// A moment as the five date and time boxes hold it.
struct ClockMoment {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
  bool operator==(const ClockMoment&) const = default;
};

// Minutes to add for a place text: its code is the six bytes before the last one ("116e25" in
// "中国北京(116e25)"), degrees, 'e' or 'w', minutes. A text shorter than seven bytes or with
// neither 'e' nor 'w' there gives 0; digits that do not convert raise EConvertError.
int LocalMeanTimeShift(const std::string& place);

// The moment at the place. An impossible date or time raises EConvertError; so does a place
// code with bad digits. The result may fall on another day, month or year.
ClockMoment LocalMeanTime(const ClockMoment& standard, const std::string& place);
