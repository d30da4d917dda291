// Worker threads on std::thread; calls into the GUI thread through one queue the GUI thread
// drains, so a worker waiting for the GUI thread never deadlocks a GUI thread waiting for it.
#include "platform/gui/Threads.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <exception>

#include "platform/gui/Forms.h"
#include "platform/gui/QtPeer.h"

namespace {

// A call a worker waits for, on the worker's stack.
struct SyncRequest {
  const std::function<void()>& call;
  bool started = false;
  bool done = false;  // ran, or dropped because the application went
  bool ran = false;
};

// What waits for the GUI thread: a posted call the queue owns, or a call a worker waits for.
struct GuiCall {
  std::function<void()> posted;
  SyncRequest* request = nullptr;
};

bool RunGuiCalls(bool waitedForOnly);

const QEvent::Type kRing = static_cast<QEvent::Type>(QEvent::User + 0x5a1);

// Rung once for the calls that arrive while the GUI thread has not yet looked. The calls cross
// threads in the queue below, under a lock the thread checker sees; the ring travels through
// Qt's queue, whose locks it cannot see, so the ring's event is made on the GUI thread
// beforehand and a worker only hands it to Qt.
class Doorbell : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kRing) return QObject::event(e);
    RunGuiCalls(false);
    return true;
  }
};

struct GuiCalls {
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<GuiCall> pending;
  // While an application object takes calls; its GUI thread's, deleted there.
  Doorbell* doorbell = nullptr;
  QEvent* ring = nullptr;  // the next ring, made on the GUI thread; none while one is on its way
  bool rung = false;       // a ring is on its way and no call has been taken since
  std::thread::id gui;     // the thread the last application object was made on
  std::atomic<bool> gone{false};
  std::atomic<bool> terminated{false};
};

// Never destroyed: a worker may still wait on it while the process exits (a library's exit, the
// display going away), and destroying a condition variable waits for its waiters.
GuiCalls& Calls() {
  static GuiCalls* calls = new GuiCalls;
  return *calls;
}

void Ring(GuiCalls& q) {
  if (q.rung) return;
  q.rung = true;
  // Under the queue's lock: the doorbell is not deleted meanwhile.
  QCoreApplication::postEvent(q.doorbell, q.ring);
  q.ring = nullptr;
}

// On the GUI thread, under the queue's lock: a call is taken, so the next one rings again.
void Rearm(GuiCalls& q) {
  q.rung = false;
  if (!q.ring && q.doorbell) q.ring = new QEvent(kRing);
}

// Before any application object was made, the GUI thread is to be the program's main thread.
bool OnGuiThread(GuiCalls& q) {
  if (q.gui == std::thread::id()) return ::gettid() == ::getpid();
  return std::this_thread::get_id() == q.gui;
}

// Runs the waiting calls on the GUI thread in the order they came, or only those a worker waits
// for. A call that opens a loop of its own (a dialog) lets that loop serve the calls arriving
// meanwhile: the doorbell is rearmed before each call is taken, so the next call rings again.
// A ring runs only the calls that were waiting when it was answered: those arriving meanwhile
// have rung again, and a worker that posts faster than they run cannot keep the GUI thread
// from painting and taking input between rings.
bool RunGuiCalls(bool waitedForOnly) {
  GuiCalls& q = Calls();
  bool ran = false;
  std::size_t budget = 0;
  bool counted = false;
  for (;;) {
    GuiCall next;
    {
      std::lock_guard<std::mutex> lock(q.mutex);
      // The ring being answered is spent, also when the calls it rang for are gone already
      // (run while the GUI thread waited for a worker, or called off).
      if (!waitedForOnly) {
        Rearm(q);
        if (!counted) budget = q.pending.size();
        counted = true;
        if (budget == 0) break;
        --budget;
      }
      auto it = waitedForOnly ? std::find_if(q.pending.begin(), q.pending.end(),
                                             [](const GuiCall& c) { return c.request; })
                              : q.pending.begin();
      if (it == q.pending.end()) break;
      next = std::move(*it);
      q.pending.erase(it);
      if (next.request) next.request->started = true;
    }
    if (next.request) {
      zgui::RunHandler(Application, next.request->call);
      {
        std::lock_guard<std::mutex> lock(q.mutex);
        next.request->done = true;
        next.request->ran = true;
      }
      q.cv.notify_all();
    } else {
      zgui::RunHandler(Application, next.posted);
    }
    ran = true;
  }
  return ran;
}

enum class Handed { Ran, Dropped, Cancelled };

// Hands `call` to the GUI thread and waits until it has run, it was dropped, or `cancelled`
// (a TSyncCancel's flag, when given; read under the queue's lock) calls it off before it
// started.
Handed HandOver(const std::function<void()>& call, const bool* cancelled) {
  GuiCalls& q = Calls();
  std::unique_lock<std::mutex> lock(q.mutex);
  if (OnGuiThread(q)) {
    if (cancelled && *cancelled) return Handed::Cancelled;
    lock.unlock();
    zgui::RunHandler(Application, call);
    return Handed::Ran;
  }
  if (cancelled && *cancelled) return Handed::Cancelled;
  if (!q.doorbell) return Handed::Dropped;
  SyncRequest request{call};
  q.pending.push_back(GuiCall{{}, &request});
  Ring(q);
  q.cv.wait(lock, [&] { return request.done || (cancelled && *cancelled && !request.started); });
  if (request.done) return request.ran ? Handed::Ran : Handed::Dropped;
  q.pending.erase(std::find_if(q.pending.begin(), q.pending.end(),
                               [&](const GuiCall& c) { return c.request == &request; }));
  return Handed::Cancelled;
}

}  // namespace

namespace zgui {

void OpenGuiCalls() {
  GuiCalls& q = Calls();
  auto* doorbell = new Doorbell;
  Doorbell* old;
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    old = q.doorbell;
    q.doorbell = doorbell;
    Rearm(q);
    q.gui = std::this_thread::get_id();
    q.gone = false;
    q.terminated = false;
  }
  delete old;
}

void CloseGuiCalls() {
  GuiCalls& q = Calls();
  std::deque<GuiCall> dropped;
  Doorbell* doorbell;
  std::unique_ptr<QEvent> ring;
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    q.gone = true;
    doorbell = q.doorbell;
    q.doorbell = nullptr;
    ring.reset(q.ring);
    q.ring = nullptr;
    q.rung = false;
    dropped.swap(q.pending);
    for (GuiCall& c : dropped)
      if (c.request) c.request->done = true;
  }
  q.cv.notify_all();
  delete doorbell;  // with any ring still on its way
  // The posted calls dropped go here, on the GUI thread, outside the lock: what they hold may
  // do anything when it goes.
}

bool PostGuiCall(std::function<void()> call) {
  if (!call) return false;
  GuiCalls& q = Calls();
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    if (q.doorbell) {
      q.pending.push_back(GuiCall{std::move(call), nullptr});
      Ring(q);
      return true;
    }
  }
  return false;  // `call` goes on the caller's thread, as it would had it never been posted
}

void SetApplicationTerminated(bool terminated) { Calls().terminated = terminated; }

}  // namespace zgui

bool CheckSynchronize() { return RunGuiCalls(true); }

bool OnGuiThread() {
  GuiCalls& q = Calls();
  std::lock_guard<std::mutex> lock(q.mutex);
  return OnGuiThread(q);
}

bool ApplicationEnding() { return Calls().gone || Calls().terminated; }

TThread::TThread() = default;

TThread::~TThread() {
  if (!Started()) return;
  if (thread_.joinable()) {
    if (thread_.get_id() == std::this_thread::get_id())
      thread_.detach();  // freed by itself on terminate
    else
      Stop();
  }
}

bool TThread::Started() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return started_;
}

void TThread::Stop() {
  Terminate();
  WaitFor();
}

void TThread::Start() { Resume(); }

void TThread::Run() {
  {
    // Resume stores the std::thread after it has started; wait until it has.
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return id_ != std::thread::id(); });
  }
  if (!Terminated()) {
    try {
      Execute();
    } catch (...) {
      // A worker's failure ends the worker, not the program; the user still hears of it.
      zgui::ReportUncaught(std::current_exception());
    }
  }
  bool freeSelf;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    freeSelf = FreeOnTerminate;
    cv_.notify_all();
  }
  if (freeSelf) {
    thread_.detach();
    delete this;
  }
}

void TThread::Suspend() {
  std::lock_guard<std::mutex> lock(mutex_);
  suspended_ = true;
  cv_.notify_all();
}

void TThread::Resume() {
  bool start = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    suspended_ = false;
    start = !started_;
    started_ = true;
    cv_.notify_all();
  }
  if (start) {
    // Started here rather than in the constructor, so Execute never runs on a half-built
    // object.
    thread_ = std::thread([this] { Run(); });
    std::lock_guard<std::mutex> lock(mutex_);
    id_ = thread_.get_id();
    cv_.notify_all();
  }
}

bool TThread::Suspended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return suspended_;
}

void TThread::Terminate() {
  // Every signal here is sent under the lock: a worker freeing itself is not gone before it.
  std::lock_guard<std::mutex> lock(mutex_);
  terminated_ = true;
  cv_.notify_all();
}

bool TThread::Terminated() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return terminated_;
}

bool TThread::Finished() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return finished_;
}

std::thread::id TThread::ThreadId() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return id_;
}

void TThread::WaitFor() {
  if (!Started() || std::this_thread::get_id() == ThreadId()) return;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (cv_.wait_for(lock, std::chrono::milliseconds(5), [this] { return finished_; })) break;
    }
    if (OnGuiThread()) CheckSynchronize();
  }
  if (thread_.joinable()) thread_.join();
}

void TThread::WakeUp() {
  std::lock_guard<std::mutex> lock(mutex_);
  wake_ = true;
  cv_.notify_all();
}

bool TThread::SleepFor(uint32_t milliseconds) {
  // A wake that came before this sleep began is kept and ends it at once: clearing it here
  // would lose a WakeUp sent while the worker was between two sleeps.
  std::unique_lock<std::mutex> lock(mutex_);
  const bool interrupted = cv_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                        [this] { return wake_ || terminated_ || suspended_; });
  wake_ = false;
  return !interrupted;
}

void TThread::CheckSuspended() {
  std::unique_lock<std::mutex> lock(mutex_);
  cv_.wait(lock, [this] { return !suspended_ || terminated_; });
}

void TThread::Synchronize(const std::function<void()>& call) { RunOnGuiThread(call); }

void RunOnGuiThread(const std::function<void()>& call) {
  if (call) HandOver(call, nullptr);
}

void TSyncCancel::Cancel() {
  GuiCalls& q = Calls();
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    cancelled_ = true;
  }
  q.cv.notify_all();
}

void TSyncCancel::Reset() {
  std::lock_guard<std::mutex> lock(Calls().mutex);
  cancelled_ = false;
}

bool TSyncCancel::Cancelled() const {
  std::lock_guard<std::mutex> lock(Calls().mutex);
  return cancelled_;
}

bool RunOnGuiThread(const std::function<void()>& call, TSyncCancel& cancel) {
  if (!call) return true;
  return HandOver(call, &cancel.cancelled_) == Handed::Ran;
}

void TThread::Queue(std::function<void()> call) { zgui::PostGuiCall(std::move(call)); }

uint32_t SleepEx(uint32_t milliseconds, bool alertable) {
  (void)alertable;
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  return 0;
}

void Sleep(uint32_t milliseconds) { SleepEx(milliseconds, false); }
