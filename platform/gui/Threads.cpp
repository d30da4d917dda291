// Worker threads on std::thread; calls into the GUI thread through one queue the GUI thread
// drains, so a worker waiting for the GUI thread never deadlocks a GUI thread waiting for it.
#include "platform/gui/Threads.h"

#include <chrono>
#include <deque>
#include <exception>

#include "platform/gui/Forms.h"
#include "platform/gui/QtPeer.h"

namespace {

struct SyncRequest {
  std::function<void()> call;
  bool done = false;
  bool started = false;
  TSyncCancel* cancel = nullptr;
};

struct SyncQueue {
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<SyncRequest*> pending;
};

// Never destroyed: a worker may still wait on it while the process exits (a library's exit, the
// display going away), and destroying a condition variable waits for its waiters.
SyncQueue& SyncQueueInstance() {
  static SyncQueue* queue = new SyncQueue;
  return *queue;
}

bool OnGuiThread() { return !Application || Application->InGuiThread(); }

}  // namespace

bool CheckSynchronize() {
  SyncQueue& q = SyncQueueInstance();
  bool ran = false;
  for (;;) {
    SyncRequest* request = nullptr;
    {
      std::lock_guard<std::mutex> lock(q.mutex);
      if (q.pending.empty()) break;
      request = q.pending.front();
      q.pending.pop_front();
      request->started = true;
    }
    zgui::RunHandler(Application, request->call);
    {
      std::lock_guard<std::mutex> lock(q.mutex);
      request->done = true;
    }
    q.cv.notify_all();
    ran = true;
  }
  return ran;
}

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
  if (!call) return;
  if (OnGuiThread()) {
    zgui::RunHandler(Application, call);
    return;
  }
  SyncQueue& q = SyncQueueInstance();
  SyncRequest request{call, false};
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    q.pending.push_back(&request);
  }
  if (Application) Application->QueueCall([] { CheckSynchronize(); });
  std::unique_lock<std::mutex> lock(q.mutex);
  q.cv.wait(lock, [&request] { return request.done; });
}

void TSyncCancel::Cancel() {
  SyncQueue& q = SyncQueueInstance();
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    cancelled_ = true;
  }
  q.cv.notify_all();
}

void TSyncCancel::Reset() {
  std::lock_guard<std::mutex> lock(SyncQueueInstance().mutex);
  cancelled_ = false;
}

bool TSyncCancel::Cancelled() const {
  std::lock_guard<std::mutex> lock(SyncQueueInstance().mutex);
  return cancelled_;
}

bool RunOnGuiThread(const std::function<void()>& call, TSyncCancel& cancel) {
  if (!call) return true;
  if (OnGuiThread()) {
    if (cancel.Cancelled()) return false;
    RunOnGuiThread(call);
    return true;
  }
  SyncQueue& q = SyncQueueInstance();
  SyncRequest request{call, false, false, &cancel};
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    if (cancel.cancelled_) return false;
    q.pending.push_back(&request);
  }
  if (Application) Application->QueueCall([] { CheckSynchronize(); });
  std::unique_lock<std::mutex> lock(q.mutex);
  q.cv.wait(lock, [&] { return request.done || (cancel.cancelled_ && !request.started); });
  if (request.done) return true;
  for (auto it = q.pending.begin(); it != q.pending.end(); ++it) {
    if (*it == &request) {
      q.pending.erase(it);
      break;
    }
  }
  return false;
}

void TThread::Queue(std::function<void()> call) {
  if (Application) Application->QueueCall(std::move(call));
}

uint32_t SleepEx(uint32_t milliseconds, bool alertable) {
  (void)alertable;
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  return 0;
}

void Sleep(uint32_t milliseconds) { SleepEx(milliseconds, false); }
