// The timer component: when its worker may tick and when it parks, ticks on the GUI thread
// or the worker, errors of the worker, and stopping while a tick waits for the GUI thread.
// The worker's sleep is stepped by the tests, never waited on the clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "gifkit/GkTimer.h"
#include "platform/Exceptions.h"
#include "platform/gui/Forms.h"
#include "tests/support/ExitWatch.h"
#include "tests/support/GuiTest.h"

namespace {

class GkTimerTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    timer = std::make_unique<TGkTimer>(nullptr);
    sleep = std::make_shared<TSteppedTimerSleep>();
    timer->SetSleepForTesting(sleep);
  }
  void TearDown() override {
    timer.reset();
    GuiTest::TearDown();
  }
  // Runs the GUI thread's work until `done` holds; the limit only turns a hang into a failure.
  static bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      Application->ProcessMessages();
      CheckSynchronize();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  bool Parks() {
    return PumpUntil([&] { return timer->Thread().Parked(); });
  }
  std::unique_ptr<TGkTimer> timer;
  std::shared_ptr<TSteppedTimerSleep> sleep;
  std::atomic<int> ticks{0};
  std::atomic<bool> onGui{false};
};

TEST_F(GkTimerTest, DefaultsAndTheWorkerParksWithoutIntervalEnabledOrHandler) {
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_TRUE(timer->SyncEvent());
  EXPECT_TRUE(timer->Threaded());
  EXPECT_EQ(timer->ThreadPriority(), tpNormal);
  EXPECT_FALSE(timer->OnTimer());
  // No handler: the worker never starts.
  EXPECT_TRUE(timer->Thread().Parked());

  timer->SetSyncEvent(false);
  timer->SetOnTimer([&](TComponent*) { ++ticks; });
  ASSERT_TRUE(sleep->WaitSleeping());
  EXPECT_EQ(sleep->LastSleep(), 1000u);

  timer->SetInterval(0);
  EXPECT_TRUE(Parks());
  timer->SetInterval(70);
  ASSERT_TRUE(sleep->WaitSleeping());
  timer->SetEnabled(false);
  EXPECT_TRUE(Parks());
  timer->SetEnabled(true);
  ASSERT_TRUE(sleep->WaitSleeping());
  timer->SetOnTimer(nullptr);
  EXPECT_TRUE(Parks());
  EXPECT_EQ(ticks, 0);
}

TEST_F(GkTimerTest, UnsynchronisedTicksRunOnTheWorkerAndNewIntervalsCountFromTheNextSleep) {
  timer->SetSyncEvent(false);
  timer->SetInterval(200);
  const std::thread::id gui = std::this_thread::get_id();
  timer->SetOnTimer([&](TComponent*) {
    onGui = std::this_thread::get_id() == gui;
    ++ticks;
  });
  ASSERT_TRUE(sleep->WaitSleeping());
  EXPECT_EQ(sleep->LastSleep(), 200u);
  // A new interval does not cut the sleep short; the next sleep takes it.
  timer->SetInterval(60);
  sleep->Elapse();
  ASSERT_TRUE(PumpUntil([&] { return ticks == 1; }));
  EXPECT_FALSE(onGui);
  ASSERT_TRUE(sleep->WaitSleeping());
  EXPECT_EQ(sleep->LastSleep(), 60u);
  sleep->Elapse();
  ASSERT_TRUE(PumpUntil([&] { return ticks == 2; }));
}

TEST_F(GkTimerTest, SynchronisedTicksRunOnTheGuiThread) {
  const std::thread::id gui = std::this_thread::get_id();
  timer->SetOnTimer([&](TComponent*) {
    onGui = std::this_thread::get_id() == gui;
    ++ticks;
  });
  ASSERT_TRUE(sleep->WaitSleeping());
  sleep->Elapse();
  ASSERT_TRUE(PumpUntil([&] { return ticks == 1; }));
  EXPECT_TRUE(onGui);
}

TEST_F(GkTimerTest, WindowTimerModeParksTheWorkerAndTicksOnTheGuiThread) {
  timer->SetInterval(30);
  timer->SetOnTimer([&](TComponent*) { ++ticks; });
  ASSERT_TRUE(sleep->WaitSleeping());
  timer->SetThreaded(false);
  EXPECT_TRUE(Parks());
  timer->Timer();  // a window timer's tick (timers are manual in tests)
  EXPECT_EQ(ticks, 1);
  timer->SetThreaded(true);
  ASSERT_TRUE(sleep->WaitSleeping());
  // Timer fires only while enabled.
  timer->SetEnabled(false);
  timer->Timer();
  EXPECT_EQ(ticks, 1);
}

TEST_F(GkTimerTest, WorkerErrorsReachTheDefaultHandlerOncePerRunOfTheSameError) {
  std::vector<std::string> seen;
  Application->OnException = [&](TComponent*, const std::exception& e) {
    seen.push_back(e.what());
  };
  std::atomic<int> fail{0};
  timer->SetSyncEvent(false);
  timer->SetOnTimer([&](TComponent*) {
    ++ticks;
    if (fail == 1) throw Exception("disk gone");
    if (fail == 2) throw EAbort("");
  });
  auto tick = [&] {
    const int before = ticks;
    EXPECT_TRUE(sleep->WaitSleeping());
    sleep->Elapse();
    EXPECT_TRUE(PumpUntil([&] { return ticks == before + 1; }));
  };
  fail = 1;
  tick();
  tick();
  tick();
  fail = 2;  // silent
  tick();
  fail = 0;
  tick();
  fail = 1;
  tick();
  PumpUntil([&] { return seen.size() >= 2; });
  Application->ProcessMessages();
  Application->OnException = nullptr;
  EXPECT_EQ(seen, (std::vector<std::string>{"disk gone", "disk gone"}));
}

TEST_F(GkTimerTest, FreeingWhileATickWaitsForTheGuiThreadNeitherDeadlocksNorTicks) {
  timer->SetOnTimer([&](TComponent*) { ++ticks; });
  ASSERT_TRUE(sleep->WaitSleeping());
  sleep->Elapse();
  // The worker now waits for the GUI thread, which does not run its queue but frees the timer.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  timer.reset();
  Application->ProcessMessages();
  CheckSynchronize();
  EXPECT_EQ(ticks, 0);
}

TEST_F(GkTimerTest, RunSynchronizedFromTheWorkerRunsOnTheGuiThreadAndDirectlyElsewhere) {
  const std::thread::id gui = std::this_thread::get_id();
  std::atomic<bool> ran{false};
  timer->RunSynchronized([&] { ran = std::this_thread::get_id() == gui; });
  EXPECT_TRUE(ran);
  ran = false;
  timer->SetSyncEvent(false);
  timer->SetOnTimer([&](TComponent*) {
    timer->RunSynchronized([&] { ran = std::this_thread::get_id() == gui; });
    ++ticks;
  });
  ASSERT_TRUE(sleep->WaitSleeping());
  sleep->Elapse();
  ASSERT_TRUE(PumpUntil([&] { return ticks == 1; }));
  EXPECT_TRUE(ran);
}

// The display going away or a library giving up calls exit with timers still ticking and a
// worker waiting for the GUI thread: the process ends all the same.
TEST_F(GkTimerTest, AnExitEndsTheProcessWithATimerTickingAndAWorkerWaitingForTheGuiThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        timer->SetSleepForTesting(nullptr);
        timer->SetInterval(1);
        timer->SetOnTimer([&](TComponent*) { ++ticks; });
        if (!PumpUntil([&] { return ticks >= 3; })) std::_Exit(2);
        std::atomic<bool> asking{false};
        std::thread([&] {
          asking = true;
          RunOnGuiThread([] {});
        }).detach();
        while (!asking) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Both the timer's worker and the other one wait for the GUI thread by now.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ExitWatched(7);
      },
      ::testing::ExitedWithCode(7), "");
}

TEST_F(GkTimerTest, AfterTheApplicationEndsTheWorkerOnlyWaitsToBeStopped) {
  timer->SetSyncEvent(false);
  timer->SetOnTimer([&](TComponent*) { ++ticks; });
  ASSERT_TRUE(sleep->WaitSleeping());
  Application->Terminate();
  sleep->Elapse();
  EXPECT_TRUE(Parks());
  EXPECT_EQ(ticks, 0);
  Application->ClearTerminated();
}

}  // namespace
