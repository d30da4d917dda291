// A timer component that ticks from a worker thread of its own (the default) or from a window
// timer on the GUI thread. The worker never is suspended at an arbitrary point: it waits on a
// condition until it may tick, and every property change is written under its lock and wakes
// it. Turning it off or freeing it wakes it at once; a new interval counts from its next sleep.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/Threads.h"

class TTimer;
class TGkTimer;

// How the worker sleeps between ticks. The real one sleeps on the clock; tests give the worker
// one that sleeps until they let the time pass.
class TTimerSleep {
 public:
  virtual ~TTimerSleep() = default;
  // Sleeps `milliseconds` under `lock` on `wake`, returning early (false) once `woken` holds.
  // True when the time passed.
  virtual bool Sleep(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                     std::uint32_t milliseconds, const std::function<bool()>& woken) = 0;
};

// The worker thread of a TGkTimer. It holds the timer's state it needs, so a worker still
// finishing a tick never reads a freed timer.
class TTimerThread {
 public:
  struct State;
  explicit TTimerThread(TGkTimer* owner);
  ~TTimerThread();
  TTimerThread(const TTimerThread&) = delete;
  TTimerThread& operator=(const TTimerThread&) = delete;

  // Whether the worker is waiting until it may tick (a thread not started counts as waiting).
  bool Parked() const;
  // Ticks run so far by the worker (tests wait on it).
  std::uint64_t Ticks() const;
  std::shared_ptr<State> Shared() const { return state_; }
  void Start();
  // Stops the worker, calls off a hand-off to the GUI thread and joins it.
  void Stop();
  bool OnWorker() const;

 private:
  std::shared_ptr<State> state_;
};

class TGkTimer : public TComponent {
 public:
  explicit TGkTimer(TComponent* AOwner);
  ~TGkTimer() override;

  bool Enabled() const;
  void SetEnabled(bool value);
  std::uint32_t Interval() const;
  // From any thread; a change made while the worker sleeps counts from its next sleep.
  void SetInterval(std::uint32_t milliseconds);
  bool SyncEvent() const;
  void SetSyncEvent(bool value);
  bool Threaded() const { return threaded_; }
  void SetThreaded(bool value);
  TThreadPriority ThreadPriority() const { return priority_; }
  void SetThreadPriority(TThreadPriority value);
  TNotifyEvent OnTimer() const;
  void SetOnTimer(TNotifyEvent handler);

  // One tick: OnTimer when enabled, not being freed, and a handler is set. Tests tick by it.
  virtual void Timer();
  // Runs `method` on the GUI thread and waits for it when called from a running worker;
  // otherwise calls it at once. A hand-off the timer's end calls off is dropped.
  void RunSynchronized(const std::function<void()>& method);

  // The worker, for tests and for the animator's checks of where it runs.
  TTimerThread& Thread() { return *thread_; }
  // Replaces how the worker sleeps (tests); nullptr restores the clock.
  void SetSleepForTesting(std::shared_ptr<TTimerSleep> sleep);

 private:
  // Brings the worker or the window timer in line with the properties.
  void UpdateTimer();
  bool CanTick() const;  // under the state's lock
  std::unique_ptr<TTimerThread> thread_;
  std::unique_ptr<TTimer> windowTimer_;
  bool threaded_ = true;
  TThreadPriority priority_ = tpNormal;
};

// A sleep the test steps: Sleep waits until Elapse lets one period pass (or the worker is
// woken), so tests tick the worker without waiting on the clock.
class TSteppedTimerSleep : public TTimerSleep {
 public:
  bool Sleep(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
             std::uint32_t milliseconds, const std::function<bool()>& woken) override;
  // Ends the worker's next (or current) sleep as if its time had passed.
  void Elapse();
  // Waits up to a second until the worker sleeps; false when it does not.
  bool WaitSleeping();
  // The length of the last sleep begun.
  std::uint32_t LastSleep() const;

 private:
  std::mutex* lock_ = nullptr;
  std::condition_variable* wake_ = nullptr;
  mutable std::mutex self_;
  std::condition_variable changed_;
  std::atomic<int> grants_{0};
  bool sleeping_ = false;
  std::uint32_t last_ = 0;
};
