// A request to stop long work: made on one thread (the user's close or Esc on the GUI thread)
// and seen by the work on another, which ends as soon as it notices.
#pragma once

#include <atomic>

class TCancellation {
 public:
  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }

 private:
  std::atomic<bool> cancelled_{false};
};
