#include "workbench/logic/LocalMeanTime.h"

#include <cstdint>

#include "platform/DateTime.h"
#include "platform/Numbers.h"

namespace {

// Arc minutes become hours of 900 and the rest minutes of 15 each, both truncated toward zero
// as the integer division of the rule does, so a few arc minutes can drop out.
int ShiftOfArc(int arcMinutes) { return arcMinutes / 900 * 60 + arcMinutes % 900 * 60 / 900; }

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

int LocalMeanTimeShift(const std::string& place) {
  if (place.size() < 7) return 0;
  const size_t code = place.size() - 7;
  const char side = place[code + 3];
  if (side != 'e' && side != 'w') return 0;
  // The fields are cut by bytes from a text the user may have typed: an error quotes the whole
  // characters of the place text they touch.
  const int degrees = StrToIntOfBytes(place, code, 3);
  const int minutes = StrToIntOfBytes(place, code + 4, 2);
  if (side == 'w') return -ShiftOfArc(60 * degrees + 7200 + minutes);
  if (degrees <= 120) return -ShiftOfArc(7200 - (60 * degrees + minutes));
  return ShiftOfArc(60 * degrees + minutes - 7200);
}

ClockMoment LocalMeanTime(const ClockMoment& standard, const std::string& place) {
  // Both raise on an impossible date or time before anything else is looked at.
  const int64_t day = static_cast<int64_t>(EncodeDate(standard.Year, standard.Month, standard.Day));
  EncodeTime(standard.Hour, standard.Minute, 0, 0);
  const int64_t total =
      day * 1440 + standard.Hour * 60 + standard.Minute + LocalMeanTimeShift(place);
  const int64_t newDay = FloorDiv(total, 1440);
  const int64_t minuteOfDay = total - newDay * 1440;
  ClockMoment local;
  DecodeDate(static_cast<TDateTime>(newDay), local.Year, local.Month, local.Day);
  local.Hour = static_cast<int>(minuteOfDay / 60);
  local.Minute = static_cast<int>(minuteOfDay % 60);
  return local;
}
