#include "gifkit/GkTimer.h"

#include <chrono>
#include <condition_variable>
#include <thread>

#include "platform/Exceptions.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

struct TTimerThread::State {
  std::mutex mutex;
  std::condition_variable wake;
  TGkTimer* owner = nullptr;  // null once the timer is being freed
  // The timer's properties as the worker reads them.
  bool enabled = true;
  std::uint32_t interval = 1000;
  bool sync = true;
  bool threaded = true;
  TNotifyEvent handler;
  std::shared_ptr<TTimerSleep> sleep;
  // The worker's own state.
  std::thread thread;
  std::thread::id workerId;
  bool started = false;
  bool stop = false;
  bool parked = true;
  bool inGuiCall = false;  // the GUI thread runs a call handed over by the worker
  std::uint64_t ticks = 0;
  std::string lastError;
  TSyncCancel cancel;

  bool Ready() const { return threaded && enabled && interval > 0 && handler && owner; }
};

namespace {

std::string MessageOf(const std::exception& e) {
  const auto* ours = dynamic_cast<const Exception*>(&e);
  return ours ? ours->Message() : std::string(e.what());
}

// An error of an unsynchronised tick goes to the GUI thread's default handler, once for a run
// of the same error.
void ReportWorkerError(TTimerThread::State& s, std::unique_lock<std::mutex>& lock,
                       const std::string& message) {
  if (message == s.lastError) return;
  s.lastError = message;
  lock.unlock();
  TThread::Queue([message] {
    if (Application) Application->HandleException(Application, Exception(message));
  });
  lock.lock();
}

void RunWorker(const std::shared_ptr<TTimerThread::State>& shared) {
  TTimerThread::State& s = *shared;
  std::unique_lock<std::mutex> lock(s.mutex);
  while (!s.stop) {
    if (!s.Ready() || ApplicationEnding()) {
      s.parked = true;
      s.wake.notify_all();
      if (ApplicationEnding()) {
        // The program is ending: wait to be stopped, doing nothing.
        s.wake.wait(lock, [&] { return s.stop; });
        break;
      }
      s.wake.wait(lock, [&] { return s.stop || s.Ready(); });
      s.parked = false;
      continue;
    }
    const auto woken = [&] { return s.stop || !s.Ready(); };
    bool elapsed;
    if (std::shared_ptr<TTimerSleep> sleep = s.sleep) {
      elapsed = sleep->Sleep(lock, s.wake, s.interval, woken);
    } else {
      elapsed = !s.wake.wait_for(lock, std::chrono::milliseconds(s.interval), woken);
    }
    if (!elapsed || woken() || ApplicationEnding()) continue;
    TGkTimer* owner = s.owner;
    if (s.sync) {
      lock.unlock();
      RunOnGuiThread(
          [&s] {
            TGkTimer* current;
            {
              std::lock_guard<std::mutex> guard(s.mutex);
              current = s.owner;
              s.inGuiCall = true;
            }
            struct Leave {
              TTimerThread::State& s;
              ~Leave() {
                std::lock_guard<std::mutex> guard(s.mutex);
                s.inGuiCall = false;
              }
            } leave{s};
            if (current) current->Timer();
          },
          s.cancel);
      lock.lock();
    } else {
      // The timer is freed only after this worker is joined, so the owner lives through the
      // tick.
      lock.unlock();
      std::string error;
      try {
        owner->Timer();
      } catch (const EAbort&) {
      } catch (const std::exception& e) {
        error = MessageOf(e);
      } catch (...) {
        error = "Unknown exception";
      }
      lock.lock();
      if (error.empty())
        s.lastError.clear();
      else
        ReportWorkerError(s, lock, error);
    }
    ++s.ticks;
    s.wake.notify_all();
  }
  s.parked = true;
  s.wake.notify_all();
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TTimerThread::TTimerThread(TGkTimer* owner) : state_(std::make_shared<State>()) {
  state_->owner = owner;
}

TTimerThread::~TTimerThread() { Stop(); }

bool TTimerThread::Parked() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->parked;
}

std::uint64_t TTimerThread::Ticks() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->ticks;
}

void TTimerThread::Start() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->started || state_->stop) return;
  state_->started = true;
  state_->parked = false;
  state_->thread = std::thread([shared = state_] { RunWorker(shared); });
  state_->workerId = state_->thread.get_id();
}

bool TTimerThread::OnWorker() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->started && state_->workerId == std::this_thread::get_id();
}

void TTimerThread::Stop() {
  bool detach;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stop = true;
    state_->owner = nullptr;
    if (!state_->thread.joinable()) return;
    // Freed by its own tick, or from the GUI call it waits for: it cannot be joined, and it
    // ends by itself, holding only the shared state.
    detach = state_->workerId == std::this_thread::get_id() || state_->inGuiCall;
  }
  state_->wake.notify_all();
  state_->cancel.Cancel();
  if (detach)
    state_->thread.detach();
  else
    state_->thread.join();
}

// ---------------------------------------------------------------------------------------------

TGkTimer::TGkTimer(TComponent* AOwner)
    : TComponent(AOwner), thread_(std::make_unique<TTimerThread>(this)) {}

TGkTimer::~TGkTimer() {
  thread_->Stop();
  windowTimer_.reset();
}

bool TGkTimer::Enabled() const {
  std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
  return thread_->Shared()->enabled;
}

std::uint32_t TGkTimer::Interval() const {
  std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
  return thread_->Shared()->interval;
}

bool TGkTimer::SyncEvent() const {
  std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
  return thread_->Shared()->sync;
}

TNotifyEvent TGkTimer::OnTimer() const {
  std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
  return thread_->Shared()->handler;
}

void TGkTimer::SetEnabled(bool value) {
  {
    std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
    if (thread_->Shared()->enabled == value) return;
    thread_->Shared()->enabled = value;
  }
  UpdateTimer();
}

void TGkTimer::SetInterval(std::uint32_t milliseconds) {
  {
    std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
    if (thread_->Shared()->interval == milliseconds) return;
    thread_->Shared()->interval = milliseconds;
  }
  UpdateTimer();
}

void TGkTimer::SetSyncEvent(bool value) {
  std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
  thread_->Shared()->sync = value;
}

void TGkTimer::SetThreaded(bool value) {
  if (threaded_ == value) return;
  threaded_ = value;
  {
    std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
    thread_->Shared()->threaded = value;
  }
  UpdateTimer();
}

void TGkTimer::SetThreadPriority(TThreadPriority value) {
  // Stored for the callers; every worker runs at normal priority.
  priority_ = value;
  if (threaded_) UpdateTimer();
}

void TGkTimer::SetOnTimer(TNotifyEvent handler) {
  bool changed;
  {
    std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
    changed = static_cast<bool>(thread_->Shared()->handler) != static_cast<bool>(handler);
    thread_->Shared()->handler = std::move(handler);
  }
  if (changed) UpdateTimer();
}

void TGkTimer::SetSleepForTesting(std::shared_ptr<TTimerSleep> sleep) {
  {
    std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
    thread_->Shared()->sleep = std::move(sleep);
  }
  thread_->Shared()->wake.notify_all();
}

bool TGkTimer::CanTick() const {
  const TTimerThread::State& s = *thread_->Shared();
  return s.enabled && s.interval > 0 && s.handler && s.owner;
}

void TGkTimer::UpdateTimer() {
  bool run;
  std::uint32_t interval;
  {
    std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
    run = CanTick();
    interval = thread_->Shared()->interval;
  }
  // The worker reads the new values at its next wait; waking it lets a disabled or freed
  // timer stop at once (a new interval alone does not end the current sleep).
  thread_->Shared()->wake.notify_all();
  if (threaded_) {
    if (windowTimer_) windowTimer_.reset();
    if (run) thread_->Start();
    return;
  }
  if (!windowTimer_) {
    windowTimer_ = std::make_unique<TTimer>(nullptr);
    windowTimer_->OnTimer = [this](TComponent*) { Timer(); };
  }
  windowTimer_->SetEnabled(false);
  if (run) {
    windowTimer_->SetInterval(interval);
    windowTimer_->SetEnabled(true);
  }
}

void TGkTimer::Timer() {
  // The component's destroying state is the GUI thread's; the worker knows by the owner link.
  if (!thread_->OnWorker() && IsDestroying()) return;
  TNotifyEvent handler;
  {
    std::lock_guard<std::mutex> lock(thread_->Shared()->mutex);
    if (!thread_->Shared()->enabled || !thread_->Shared()->owner) return;
    handler = thread_->Shared()->handler;
  }
  if (handler) handler(this);
}

void TGkTimer::RunSynchronized(const std::function<void()>& method) {
  if (!thread_->OnWorker()) {
    method();
    return;
  }
  TTimerThread::State& s = *thread_->Shared();
  RunOnGuiThread(
      [&] {
        {
          std::lock_guard<std::mutex> guard(s.mutex);
          s.inGuiCall = true;
        }
        struct Leave {
          TTimerThread::State& s;
          ~Leave() {
            std::lock_guard<std::mutex> guard(s.mutex);
            s.inGuiCall = false;
          }
        } leave{s};
        method();
      },
      s.cancel);
}

// ---------------------------------------------------------------------------------------------

bool TSteppedTimerSleep::Sleep(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                               std::uint32_t milliseconds, const std::function<bool()>& woken) {
  {
    std::lock_guard<std::mutex> self(self_);
    lock_ = lock.mutex();
    wake_ = &wake;
    sleeping_ = true;
    last_ = milliseconds;
  }
  changed_.notify_all();
  wake.wait(lock, [&] { return woken() || grants_ > 0; });
  {
    std::lock_guard<std::mutex> self(self_);
    sleeping_ = false;
  }
  if (woken()) return false;
  --grants_;
  return true;
}

void TSteppedTimerSleep::Elapse() {
  std::mutex* lock;
  std::condition_variable* wake;
  {
    std::lock_guard<std::mutex> self(self_);
    lock = lock_;
    wake = wake_;
  }
  if (!lock) {
    ++grants_;
    return;
  }
  {
    std::lock_guard<std::mutex> guard(*lock);
    ++grants_;
  }
  wake->notify_all();
}

bool TSteppedTimerSleep::WaitSleeping() {
  std::unique_lock<std::mutex> self(self_);
  return changed_.wait_for(self, std::chrono::seconds(1), [&] { return sleeping_; });
}

std::uint32_t TSteppedTimerSleep::LastSleep() const {
  std::lock_guard<std::mutex> self(self_);
  return last_;
}
