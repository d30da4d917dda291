// Exits the process as a library giving up or the display going away does, and shows whether
// that exit ended it: a process that hangs in its exit (a worker and the exit waiting for each
// other) is ended by a watchdog with code 3 instead. The watchdog only turns a hang into a
// failure; it measures nothing.
#pragma once

#include <chrono>
#include <cstdlib>
#include <thread>

inline constexpr std::chrono::seconds kExitWatchdog{20};

[[noreturn]] inline void ExitWatched(int code) {
  std::thread([] {
    std::this_thread::sleep_for(kExitWatchdog);
    std::_Exit(3);
  }).detach();
  std::exit(code);
}
