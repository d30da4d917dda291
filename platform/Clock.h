// The system clock, replaceable by tests.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/DateTime.h"

// Local wall-clock time with milliseconds.
TDateTime ClockNow();
// Milliseconds since an arbitrary start, monotonic.
uint32_t GetTickCount();

// Tests replace the clock; an empty function restores the real one.
void SetClockForTesting(std::function<TDateTime()> clock);

// Holds a replaced clock for the lifetime of the object.
class ScopedTestClock {
public:
  explicit ScopedTestClock(TDateTime fixed) { SetClockForTesting([fixed] { return fixed; }); }
  explicit ScopedTestClock(std::function<TDateTime()> clock) { SetClockForTesting(std::move(clock)); }
  ~ScopedTestClock() { SetClockForTesting({}); }
  ScopedTestClock(const ScopedTestClock&) = delete;
  ScopedTestClock& operator=(const ScopedTestClock&) = delete;
};
