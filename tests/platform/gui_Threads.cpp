// Workers: parking and waking, stopping, calls into the GUI thread.
#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/Clock.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "platform/gui/BusyWork.h"
#include "platform/gui/Threads.h"
#include "tests/support/ExitWatch.h"
#include "tests/support/GuiTest.h"

namespace {

// Counts rounds, sleeping between them as a timer worker does.
class Ticker : public TThread {
 public:
  explicit Ticker(uint32_t interval) : interval_(interval) {}
  std::atomic<int> rounds{0};
  std::atomic<int> earlyWakes{0};
  std::atomic<bool>* freed = nullptr;
  ~Ticker() override {
    Stop();  // Execute counts into this class's members
    if (freed) *freed = true;
  }

 protected:
  void Execute() override {
    while (!Terminated()) {
      CheckSuspended();
      if (Terminated()) break;
      if (SleepFor(interval_))
        ++rounds;
      else
        ++earlyWakes;
    }
  }

 private:
  uint32_t interval_;
};

bool WaitUntil(const std::function<bool()>& done, uint32_t ms = 5000) {
  const uint32_t start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    ProcessEvents();
    Sleep(1);
  }
  return true;
}

class ThreadTest : public GuiTest {};

TEST_F(ThreadTest, AWorkerStartsOnResumeParksOnSuspendAndStopsWhenFreed) {
  auto ticker = std::make_unique<Ticker>(2);
  EXPECT_TRUE(ticker->Suspended());
  Sleep(20);
  EXPECT_EQ(ticker->rounds, 0);  // created suspended: nothing runs
  ticker->Resume();
  EXPECT_TRUE(WaitUntil([&] { return ticker->rounds >= 3; }));
  ticker->Suspend();
  Sleep(20);  // let it reach its parking place
  const int parked = ticker->rounds;
  Sleep(30);
  EXPECT_EQ(ticker->rounds, parked);
  ticker->Resume();
  EXPECT_TRUE(WaitUntil([&] { return ticker->rounds > parked; }));
  const uint32_t start = GetTickCount();
  ticker.reset();  // terminates a sleeping worker at once, not after its sleep
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(ThreadTest, WakeUpAndTerminateEndASleepEarly) {
  Ticker ticker(60000);
  ticker.Resume();
  Sleep(10);
  ticker.WakeUp();
  EXPECT_TRUE(WaitUntil([&] { return ticker.earlyWakes >= 1; }));
  EXPECT_EQ(ticker.rounds, 0);
  ticker.Terminate();
  ticker.WaitFor();
  EXPECT_TRUE(ticker.Finished());

  // A wake sent before the worker reaches its sleep is kept, not lost.
  Ticker late(60000);
  late.WakeUp();
  late.Resume();
  EXPECT_TRUE(WaitUntil([&] { return late.earlyWakes >= 1; }));
  EXPECT_EQ(late.rounds, 0);
}

class Syncer : public TThread {
 public:
  std::atomic<bool> onGui{false};
  int value = 0;

 protected:
  void Execute() override {
    Synchronize([this] {
      onGui = Application->InGuiThread();
      value = 42;
    });
    Synchronize([] { throw Exception("sync failed"); });
    value += 1;  // the worker goes on after a failed call
  }
};

TEST_F(ThreadTest, SynchronizeRunsOnTheGuiThreadEvenWhileItWaitsForTheWorker) {
  Syncer worker;
  dialogs().AnswerMessage();
  worker.Resume();
  worker.WaitFor();  // the GUI thread waits here; the worker's calls must still run
  EXPECT_TRUE(worker.onGui);
  EXPECT_EQ(worker.value, 43);
  EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"sync failed"}));
}

// Calls served while the GUI thread waits for a worker leave its loop able to serve the calls
// that come later, posted or waited for, in the order they came.
TEST_F(ThreadTest, CallsServedWhileTheGuiThreadWaitsLeaveTheLoopServingTheNextOnes) {
  for (int round = 0; round < 3; ++round) {
    Syncer worker;
    dialogs().AnswerMessage();
    worker.Resume();
    worker.WaitFor();
    ASSERT_EQ(worker.value, 43);
    ProcessEvents();  // the loop answers the rings of the calls already served
    std::vector<std::string> seen;
    std::atomic<bool> handedOver{false};
    std::thread other([&] {
      TThread::Queue([&] { seen.push_back("posted"); });
      RunOnGuiThread([&] { seen.push_back("waited for"); });
      handedOver = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return handedOver.load(); }));
    other.join();
    EXPECT_EQ(seen, (std::vector<std::string>{"posted", "waited for"}));
  }
}

// A call that posts the next one, as a worker posting faster than its calls run: each ring runs
// the calls that were waiting when it came, so the loop gets its turn between rings instead of
// serving the queue for as long as calls keep coming.
TEST_F(ThreadTest, CallsPostedWhileTheQueueRunsWaitForTheNextRing) {
  constexpr int kChain = 1000;
  int runs = 0;
  std::function<void()> next = [&] {
    if (++runs < kChain) Application->QueueCall(next);
  };
  Application->QueueCall(next);
  ProcessEvents();
  EXPECT_GE(runs, 1);
  EXPECT_LT(runs, kChain);
  EXPECT_TRUE(WaitUntil([&] { return runs == kChain; }, 20000));
}

// What a worker raises ends the worker and reaches the default handler on the GUI thread,
// like a failure of any handler; an abort stays silent.
class Failing : public TThread {
 public:
  explicit Failing(bool abort) : abort_(abort) {}

 protected:
  void Execute() override {
    if (abort_) Abort();
    throw Exception("worker failed");
  }

 private:
  bool abort_;
};

TEST_F(ThreadTest, AWorkersFailureReachesTheDefaultHandler) {
  for (bool abort : {false, true}) {
    Failing worker(abort);
    if (!abort) dialogs().AnswerMessage();
    worker.Resume();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
    ProcessEvents();
    EXPECT_EQ(dialogs().Messages(),
              abort ? std::vector<std::string>{} : std::vector<std::string>{"worker failed"});
    dialogs().Reset();
  }
}

// A window with a button and an edit, shown, to be clicked and typed at while work runs.
class BusyWindow : public TForm {
 public:
  explicit BusyWindow(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 300, 120);
    button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(8, 8, 75, 25);
    button->OnClick = [this](TComponent*) { ++clicks; };
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(8, 40, 120, 21);
  }
  TButton* button;
  TEdit* edit;
  int clicks = 0;
};

TEST_F(ThreadTest, BusyWorkRunsAwayFromTheGuiThreadWhichPaintsButTakesNoInput) {
  std::unique_ptr<BusyWindow> form(NewForm<BusyWindow>(nullptr));
  form->Show();
  ProcessEvents();
  const std::thread::id gui = std::this_thread::get_id();
  std::thread::id worker;
  std::vector<std::string> seen;
  dialogs().AnswerMessage();
  RunBusy([&] {
    worker = std::this_thread::get_id();
    RunOnGuiThread([&] {
      EXPECT_TRUE(Busy());
      UserClick(form->button);
      UserType(form->edit, "12");
      UserCloseWindow(form.get());
      seen.push_back(form->edit->Text());
      form->edit->SetText("by the work");
    });
    // A dialog the work asks for still takes its answer.
    RunOnGuiThread([&] { seen.push_back(IntToStr(Application->MessageBox("go on?", "", MB_OK))); });
  });
  EXPECT_NE(worker, gui);
  EXPECT_FALSE(Busy());
  EXPECT_EQ(form->clicks, 0);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(seen, (std::vector<std::string>{"", IntToStr(IDOK)}));
  EXPECT_EQ(form->edit->Text(), "by the work");
  // Input left over from the work never arrives later; new input does.
  ProcessEvents();
  EXPECT_EQ(form->clicks, 0);
  UserClick(form->button);
  EXPECT_EQ(form->clicks, 1);

  EXPECT_THROW(RunBusy([] { throw EConvertError("bad"); }), EConvertError);
  EXPECT_FALSE(Busy());
  UserClick(form->button);
  EXPECT_EQ(form->clicks, 2);
}

TEST_F(ThreadTest, AWorkerMayFreeItselfWhenDone) {
  std::atomic<bool> freed{false};
  auto* ticker = new Ticker(1);
  ticker->freed = &freed;
  ticker->FreeOnTerminate = true;
  ticker->Resume();
  ticker->Terminate();
  EXPECT_TRUE(WaitUntil([&] { return freed.load(); }));

  // A worker may end and free itself while the call that let it end is still returning: that
  // call never touches it afterwards (shown under ThreadSanitizer).
  class Quick : public TThread {
   public:
    explicit Quick(std::atomic<int>& freed) : freed_(freed) { FreeOnTerminate = true; }
    ~Quick() override { ++freed_; }

   protected:
    void Execute() override {
      while (!Terminated()) CheckSuspended();
    }

   private:
    std::atomic<int>& freed_;
  };
  std::atomic<int> quickFreed{0};
  const int rounds = 100;
  for (int i = 0; i < rounds; ++i) {
    auto* running = new Quick(quickFreed);
    running->Resume();
    running->Terminate();  // ends it
    auto* waiting = new Quick(quickFreed);
    waiting->Terminate();
    waiting->Resume();  // starts and ends it
  }
  EXPECT_TRUE(WaitUntil([&] { return quickFreed == 2 * rounds; }));
}

// A worker using its subclass's members is stopped by the subclass before they go.
class Collector : public TThread {
 public:
  explicit Collector(std::atomic<bool>& usedAfterGone) : usedAfterGone_(usedAfterGone) {}
  ~Collector() override { Stop(); }
  std::atomic<int> rounds{0};

 protected:
  void Execute() override {
    for (;;) {
      SleepFor(1);
      if (member_.gone) usedAfterGone_ = true;
      member_.values.push_back(++rounds);
      if (Terminated()) break;
    }
  }

 private:
  struct Member {
    std::vector<int> values;
    std::atomic<bool> gone{false};
    ~Member() { gone = true; }
  } member_;
  std::atomic<bool>& usedAfterGone_;
};

TEST_F(ThreadTest, FreeingARunningWorkerStopsItBeforeItsMembersGo) {
  std::atomic<bool> usedAfterGone{false};
  for (int i = 0; i < 20; ++i) {
    auto worker = std::make_unique<Collector>(usedAfterGone);
    worker->Resume();
    EXPECT_TRUE(WaitUntil([&] { return worker->rounds >= 2; }));
    worker.reset();
  }
  EXPECT_FALSE(usedAfterGone);
  // Stopping a worker that never started, or twice, returns at once; Execute never runs after.
  Collector idle(usedAfterGone);
  idle.Stop();
  idle.Stop();
  idle.Resume();
  idle.WaitFor();
  EXPECT_EQ(idle.rounds, 0);
}

// An exit from anywhere (a library giving up, the display going away) ends the process,
// whatever the workers are waiting for.
TEST_F(ThreadTest, AnExitEndsTheProcessWhileWorkersWaitForTheGuiThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::atomic<int> asking{0};
        class Asker : public TThread {
         public:
          explicit Asker(std::atomic<int>& asking) : asking_(asking) {}

         protected:
          void Execute() override {
            ++asking_;
            Synchronize([] {});
          }

         private:
          std::atomic<int>& asking_;
        };
        auto* worker = new Asker(asking);
        worker->Resume();
        std::thread plain([&] {
          ++asking;
          RunOnGuiThread([] {});
        });
        plain.detach();
        while (asking < 2) Sleep(1);
        Sleep(50);  // both wait for the GUI thread now, which never looks again
        ExitWatched(7);
      },
      ::testing::ExitedWithCode(7), "");
}

TEST_F(ThreadTest, CriticalSectionsAreRecursiveAndExclusive) {
  TCriticalSection section;
  section.Enter();
  EXPECT_TRUE(section.TryEnter());  // the same thread again
  section.Leave();
  std::atomic<bool> got{true};
  std::thread other([&] { got = section.TryEnter(); });
  other.join();
  EXPECT_FALSE(got);
  section.Leave();
}

}  // namespace
