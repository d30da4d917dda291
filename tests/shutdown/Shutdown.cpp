// The application object going while workers and timers still hand calls to the GUI thread:
// from the moment it starts to go, such a call is dropped, never run on the worker, and the
// worker goes on; a call still queued then is not run by an application made later. Each test
// makes and frees application objects of its own (no shared test main). Under
// ThreadSanitizer (scripts/test --tsan) these also show that nothing the application frees is
// touched by a worker.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gifkit/GkTimer.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Threads.h"

namespace {

using namespace std::chrono_literals;

// Turns a hang into a failure, never a measure of speed.
constexpr auto kWatchdog = 20s;

std::unique_ptr<TApplication> NewApplication() {
  static int argc = 1;
  static char name[] = "shutdown_tests";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return std::make_unique<TApplication>(argc, argv);
}

// Where the calls handed to the GUI thread ran: "gui" or "worker", in order.
class Seen {
 public:
  explicit Seen(std::thread::id gui) : gui_(gui) {}
  std::function<void()> Call(const std::string& name) {
    return [this, name] {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.push_back(name + (std::this_thread::get_id() == gui_ ? " on gui" : " on worker"));
    };
  }
  std::vector<std::string> Get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  std::thread::id gui_;
  mutable std::mutex mutex_;
  std::vector<std::string> seen_;
};

// Hands three calls to the GUI thread from a worker of its own: waited for, waited for with a
// cancel, posted. Reports whether the worker went on within the watchdog and whether the
// cancellable call said it ran.
struct Handover {
  bool wentOn = false;
  bool cancellableRan = true;
};

Handover HandOverFromAWorker(Seen& seen, const std::string& when) {
  auto state = std::make_shared<std::pair<std::mutex, std::condition_variable>>();
  auto ended = std::make_shared<bool>(false);
  auto ran = std::make_shared<bool>(true);
  std::thread worker([=, &seen] {
    RunOnGuiThread(seen.Call(when + ": waited for"));
    TSyncCancel cancel;
    const bool r = RunOnGuiThread(seen.Call(when + ": cancellable"), cancel);
    TThread::Queue(seen.Call(when + ": posted"));
    std::lock_guard<std::mutex> lock(state->first);
    *ran = r;
    *ended = true;
    state->second.notify_all();
  });
  Handover result;
  {
    std::unique_lock<std::mutex> lock(state->first);
    result.wentOn = state->second.wait_for(lock, kWatchdog, [&] { return *ended; });
    result.cancellableRan = *ran;
  }
  if (result.wentOn)
    worker.join();
  else
    worker.detach();  // still waiting for a GUI thread that will never look
  return result;
}

// A component of the application whose going has a worker hand calls over, as a window's
// worker does while its window goes with the application.
class GoesWithTheApplication : public TComponent {
 public:
  GoesWithTheApplication(TComponent* owner, Seen& seen, Handover& handover)
      : TComponent(owner), seen_(seen), handover_(handover) {}
  ~GoesWithTheApplication() override { handover_ = HandOverFromAWorker(seen_, "going"); }

 private:
  Seen& seen_;
  Handover& handover_;
};

bool Pump(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + kWatchdog;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Application->ProcessMessages();
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Before any application object exists, a call handed over on the main thread runs there at
// once, as on the GUI thread later, and the main thread counts as the GUI thread; one handed
// over from another thread is dropped and its caller goes on. In a process of its own, where no
// application was made before.
TEST(ShutdownTest, BeforeTheApplicationOpensACallOnTheMainThreadRunsAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        int ran = 0;
        RunOnGuiThread([&] { ++ran; });
        TSyncCancel cancel;
        const bool said = RunOnGuiThread([&] { ++ran; }, cancel);
        std::atomic<bool> onWorker{false};
        bool workerSaid = true;
        bool workerAsked = true;
        std::thread worker([&] {
          RunOnGuiThread([&] { onWorker = true; });
          TSyncCancel workerCancel;
          workerSaid = RunOnGuiThread([&] { onWorker = true; }, workerCancel);
          workerAsked = OnGuiThread();
        });
        worker.join();
        // One bit for each thing that went wrong.
        std::exit((ran == 2 ? 0 : 1) | (said ? 0 : 2) | (onWorker ? 4 : 0) | (workerSaid ? 8 : 0) |
                  (OnGuiThread() ? 0 : 16) | (workerAsked ? 32 : 0));
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(ShutdownTest, CallsHandedOverWhileTheApplicationGoesOrAfterAreDroppedNeverRunOnTheWorker) {
  auto application = NewApplication();
  Seen seen(std::this_thread::get_id());
  // Queued before the application goes, never served by its loop.
  std::thread([&] { TThread::Queue(seen.Call("queued before")); }).join();
  Handover going;
  new GoesWithTheApplication(application.get(), seen, going);
  application.reset();
  EXPECT_TRUE(going.wentOn) << "a worker waits for an application that is going";
  EXPECT_FALSE(going.cancellableRan);

  const Handover after = HandOverFromAWorker(seen, "after");
  EXPECT_TRUE(after.wentOn);
  EXPECT_FALSE(after.cancellableRan);
  EXPECT_EQ(seen.Get(), std::vector<std::string>{});
  EXPECT_TRUE(ApplicationEnding());

  // A new application serves the calls handed to it, on its own thread, and nothing left over
  // from the one before.
  application = NewApplication();
  EXPECT_FALSE(ApplicationEnding());
  std::atomic<bool> ended{false};
  std::thread worker([&] {
    TThread::Queue(seen.Call("posted"));
    RunOnGuiThread(seen.Call("waited for"));
    ended = true;
  });
  EXPECT_TRUE(Pump([&] { return ended.load(); }));
  worker.join();
  Application->ProcessMessages();
  EXPECT_EQ(seen.Get(), (std::vector<std::string>{"posted on gui", "waited for on gui"}));
  application.reset();
}

// A worker that hands a call to the GUI thread over and over, as a synchronised timer does,
// left running while the application object goes: it never runs a call itself, never touches
// what the application frees (shown under ThreadSanitizer), and is stopped afterwards.
class Repeater : public TThread {
 public:
  explicit Repeater(std::thread::id gui) : gui_(gui) {}
  ~Repeater() override { Stop(); }
  std::atomic<int> onGui{0};
  std::atomic<int> onWorker{0};
  std::atomic<bool> noticedTheEnd{false};

 protected:
  void Execute() override {
    while (!Terminated()) {
      Synchronize([this] { ++(std::this_thread::get_id() == gui_ ? onGui : onWorker); });
      if (ApplicationEnding()) noticedTheEnd = true;
      SleepFor(1);
    }
  }

 private:
  std::thread::id gui_;
};

TEST(ShutdownTest, AWorkerLeftRunningOutlivesTheApplicationWithoutRunningItsCalls) {
  auto application = NewApplication();
  Repeater repeater(std::this_thread::get_id());
  repeater.Resume();
  ASSERT_TRUE(Pump([&] { return repeater.onGui >= 3; }));
  application.reset();  // the worker keeps handing calls over meanwhile
  const auto end = std::chrono::steady_clock::now() + kWatchdog;
  while (!repeater.noticedTheEnd && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(repeater.noticedTheEnd);
  const int onGui = repeater.onGui;
  repeater.Stop();
  EXPECT_EQ(repeater.onWorker, 0);
  EXPECT_EQ(repeater.onGui, onGui);
}

// The same with the timer component: synchronised, left running, owned by nobody.
TEST(ShutdownTest, ASynchronisedTimerLeftRunningOutlivesTheApplicationWithoutTickingOnItsWorker) {
  auto application = NewApplication();
  const std::thread::id gui = std::this_thread::get_id();
  std::atomic<int> onGui{0};
  std::atomic<int> onWorker{0};
  auto timer = std::make_unique<TGkTimer>(nullptr);
  timer->SetInterval(1);
  timer->SetOnTimer([&](TComponent*) { ++(std::this_thread::get_id() == gui ? onGui : onWorker); });
  ASSERT_TRUE(timer->SyncEvent());
  ASSERT_TRUE(Pump([&] { return onGui >= 3; }));
  application.reset();  // its worker keeps asking for the GUI thread meanwhile
  // Once it sees the application gone, the worker parks until it is stopped.
  const auto end = std::chrono::steady_clock::now() + kWatchdog;
  while (!timer->Thread().Parked() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(timer->Thread().Parked());
  timer.reset();
  EXPECT_EQ(onWorker, 0);
}

}  // namespace
