// A request to stop long work: made on one thread (the user's close or Esc on the GUI thread)
// and seen by the work on another, which ends as soon as it notices. Work that sleeps in a
// call of its own (a transfer waiting for the network) hangs a stop callback on Token() to be
// woken the moment the request is made.
#pragma once

#include <stop_token>

class TCancellation {
 public:
  TCancellation() = default;
  // A copy would share the request: one object is handed around by reference instead.
  TCancellation(const TCancellation&) = delete;
  TCancellation& operator=(const TCancellation&) = delete;

  void Cancel() { source_.request_stop(); }
  bool Cancelled() const { return source_.stop_requested(); }
  std::stop_token Token() const { return source_.get_token(); }

 private:
  std::stop_source source_;
};
