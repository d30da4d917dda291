// Worker threads that can be parked and woken, stopped and joined, and that hand work to the
// GUI thread; critical sections; sleeping.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// A worker running Execute. It is created suspended: the first Resume (or Start) starts it,
// once the object is fully built. Suspending parks it at its next SleepFor or CheckSuspended
// (a sleeping worker parks at once); Resume lets it go on. Terminate asks it to stop; Execute
// polls Terminated. With FreeOnTerminate the object frees itself when Execute returns.
// Freeing a running worker terminates it, wakes it and waits for it. That wait happens in this
// class's destructor, after a subclass's own members are gone: a subclass whose Execute uses
// its members calls Stop first thing in its own destructor.
class TThread {
 public:
  TThread();
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void Start();
  void Suspend();
  void Resume();
  bool Suspended() const;
  void Terminate();
  bool Terminated() const;
  // Terminates the worker, wakes it and waits until Execute has returned (not on the worker
  // itself, which cannot wait for itself).
  void Stop();
  // Waits until Execute has returned; on the GUI thread, calls the worker hands over keep
  // running meanwhile.
  void WaitFor();
  bool Finished() const;
  bool FreeOnTerminate = false;
  int Priority = 0;  // accepted for the callers' sake; every worker runs at normal priority
  std::thread::id ThreadId() const;

  // Runs `call` on the GUI thread and waits for it (at once when already there), as
  // RunOnGuiThread does. An exception it raises goes to the application's handler there.
  void Synchronize(const std::function<void()>& call);
  // Runs `call` on the GUI thread later, without waiting; dropped while no application object
  // takes calls (before the first opens, and once it starts to go), on any thread.
  static void Queue(std::function<void()> call);

  // Wakes a SleepFor early (it returns false); sent while no sleep is under way, it ends the
  // next one at once.
  void WakeUp();

 protected:
  virtual void Execute() = 0;
  // Sleeps up to `milliseconds`; false when woken early by WakeUp, Suspend or Terminate.
  bool SleepFor(uint32_t milliseconds);
  // Parks here while suspended; returns at once otherwise.
  void CheckSuspended();

 private:
  void Run();
  bool Started() const;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::thread thread_;
  bool started_ = false;
  bool suspended_ = true;
  bool terminated_ = false;
  bool finished_ = false;
  bool wake_ = false;
  std::thread::id id_;
};

// Thread priorities as the callers name them; every worker runs at normal priority.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Lets the owner of a worker call off the worker's wait for the GUI thread (RunOnGuiThread
// with a cancel), so the GUI thread can stop and join that worker without deadlock.
class TSyncCancel {
 public:
  void Cancel();
  void Reset();
  bool Cancelled() const;

 private:
  friend bool RunOnGuiThread(const std::function<void()>& call, TSyncCancel& cancel);
  bool cancelled_ = false;  // guarded by the GUI thread's call queue's lock
};

// Runs `call` on the GUI thread and waits for it, from any thread (at once on the GUI thread).
// The GUI thread runs such calls from its loop and while it waits for a worker, so the two
// never wait for each other. An exception it raises goes to the application's handler.
// The GUI thread is the one the application object was made on; before the first is made, the
// program's main thread, where a call runs at once as well. A call from another thread while
// no application object takes calls is dropped and the caller goes on at once: before the
// first opens (there is no loop to run it yet), and from the moment it starts to go (it never
// runs there, and a worker the going application stops is not left waiting for a loop that
// has ended). A later application runs none of those.
void RunOnGuiThread(const std::function<void()>& call);
// The same, but the wait ends when `cancel` is cancelled: a call not yet started is then
// dropped (false); one already running is waited for. Once cancelled, nothing is handed over.
// False too when the call was dropped because the application object is going.
bool RunOnGuiThread(const std::function<void()>& call, TSyncCancel& cancel);

// Runs the calls workers wait for on the GUI thread (RunOnGuiThread); returns whether any ran.
// The message loop runs these and the posted ones in the order they came; WaitFor calls this
// on the GUI thread while it waits for a worker.
bool CheckSynchronize();

// Whether the program is ending: the application was told to terminate, or its object is
// going or gone. Any thread may ask at any time; the answer never touches that object.
bool ApplicationEnding();
// Whether the calling thread is the GUI thread, where RunOnGuiThread runs a call at once. Any
// thread may ask at any time, as above.
bool OnGuiThread();

// A recursive lock.
class TCriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }
  bool TryEnter() { return mutex_.try_lock(); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }

 private:
  std::recursive_mutex mutex_;
};

// Sleeps on the calling thread. Nothing here queues calls to a sleeping thread, so an
// alertable sleep is a plain one; returns 0.
uint32_t SleepEx(uint32_t milliseconds, bool alertable);
void Sleep(uint32_t milliseconds);
