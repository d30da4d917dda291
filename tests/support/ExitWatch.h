// Exits the process as a library giving up or the display going away does, and shows whether
// that exit ended it promptly: a process still exiting after a second ends with code 3 instead.
#pragma once

#include <chrono>
#include <cstdlib>
#include <thread>

#if defined(__SANITIZE_THREAD__)
// ThreadSanitizer pauses a second at every exit by design, to catch the exit's own races.
inline constexpr std::chrono::milliseconds kExitAllowance{2000};
#else
inline constexpr std::chrono::milliseconds kExitAllowance{1000};
#endif

[[noreturn]] inline void ExitWatched(int code) {
  std::thread([] {
    std::this_thread::sleep_for(kExitAllowance);
    std::_Exit(3);
  }).detach();
  std::exit(code);
}
