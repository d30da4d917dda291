#include "platform/Clock.h"

#include <time.h>

#include <mutex>

namespace {

std::mutex& ClockMutex() {
  static std::mutex m;
  return m;
}

std::function<TDateTime()>& ReplacedClock() {
  static std::function<TDateTime()> clock;
  return clock;
}

TDateTime SystemNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  int ms = static_cast<int>(ts.tv_nsec / 1000000);
  // A leap second shows as second 60; keep it inside the minute.
  int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, second, ms);
}

}  // namespace

TDateTime ClockNow() {
  std::function<TDateTime()> clock;
  {
    std::lock_guard<std::mutex> lock(ClockMutex());
    clock = ReplacedClock();
  }
  return clock ? clock() : SystemNow();
}

uint32_t GetTickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms =
      static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
  return static_cast<uint32_t>(ms);
}

void SetClockForTesting(std::function<TDateTime()> clock) {
  std::lock_guard<std::mutex> lock(ClockMutex());
  ReplacedClock() = std::move(clock);
}
