// Busy work the user may call off: Esc and close boxes call it off and the windows closed close
// after it; the modal window the work was started from takes no input meanwhile.
#include <QApplication>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/gui/BusyWork.h"
#include "platform/gui/Threads.h"
#include "tests/support/GuiTest.h"

namespace {

using namespace std::chrono_literals;

class ClickWindow : public TForm {
 public:
  explicit ClickWindow(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 300, 120);
    button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(8, 8, 75, 25);
    button->OnClick = [this](TComponent*) { ++clicks; };
  }
  TButton* button;
  int clicks = 0;
};

class BusyWorkTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form.reset(NewForm<ClickWindow>(nullptr));
    form->Show();
    ProcessEvents();
  }
  void TearDown() override {
    form.reset();
    GuiTest::TearDown();
  }
  // Runs work that waits for its cancellation (for ten seconds at most), with `act` done as the
  // user once it runs; returns whether the work saw the cancellation.
  bool RunUntilCancelled(const std::function<void()>& act, bool& reported) {
    std::atomic<bool> seen{false};
    reported = RunCancellableBusy([&](const TCancellation& cancel) {
      RunOnGuiThread(act);
      const auto until = std::chrono::steady_clock::now() + 10s;
      while (!cancel.Cancelled() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(5ms);
      seen = cancel.Cancelled();
    });
    return seen;
  }
  std::unique_ptr<ClickWindow> form;
};

TEST_F(BusyWorkTest, EscOrACloseBoxCallsTheWorkOffAndTheWindowClosesAfterIt) {
  bool reported = false;
  // Clicks still go nowhere; Esc calls the work off and the window stays.
  EXPECT_TRUE(RunUntilCancelled(
      [&] {
        UserClick(form->button);
        UserKey(form.get(), VK_ESCAPE);
      },
      reported));
  EXPECT_TRUE(reported);
  EXPECT_EQ(form->clicks, 0);
  EXPECT_TRUE(form->Visible());
  // The close box calls it off too; the window closes once the work has ended, not before.
  bool visibleAfterClose = false;
  EXPECT_TRUE(RunUntilCancelled(
      [&] {
        UserCloseWindow(form.get());
        visibleAfterClose = form->Visible();
      },
      reported));
  EXPECT_TRUE(visibleAfterClose);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(Busy());
  // Work left alone ends on its own and reports no cancellation.
  EXPECT_FALSE(RunCancellableBusy([](const TCancellation&) {}));
  // Work that cannot be called off keeps dropping the close box.
  form->Show();
  RunBusy([&] { RunOnGuiThread([&] { UserCloseWindow(form.get()); }); });
  EXPECT_TRUE(form->Visible());
}

// Work started from a modal window: that window's button takes no click and its close box and
// Esc call the work off, as any other window's do.
TEST_F(BusyWorkTest, TheModalWindowTheWorkStartedFromTakesNoInput) {
  form->Hide();
  form->Widget()->window()->setWindowModality(Qt::ApplicationModal);
  form->Show();
  ProcessEvents();
  ASSERT_EQ(QApplication::activeModalWidget(), form->Widget()->window());
  bool reported = false;
  EXPECT_TRUE(RunUntilCancelled(
      [&] {
        UserClick(form->button);
        UserKey(form.get(), VK_ESCAPE);
      },
      reported));
  EXPECT_EQ(form->clicks, 0);
  RunBusy([&] { RunOnGuiThread([&] { UserClick(form->button); }); });
  EXPECT_EQ(form->clicks, 0);
  UserClick(form->button);
  EXPECT_EQ(form->clicks, 1);
  form->Hide();
  form->Widget()->window()->setWindowModality(Qt::NonModal);
}

}  // namespace
