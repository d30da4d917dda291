// Busy work the user may call off: Esc and close boxes call it off and the windows closed close
// after it; the modal window the work was started from takes no input meanwhile; menu commands'
// shortcuts, input-method text and drops wait as keys do; the program's own closes call nothing
// off.
#include <QApplication>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/gui/BusyWork.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Threads.h"
#include "tests/support/GuiTest.h"

namespace {

using namespace std::chrono_literals;

// A window with a button that has a hint and a menu whose commands have shortcuts.
class ClickWindow : public TForm {
 public:
  explicit ClickWindow(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 300, 120);
    button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(8, 8, 75, 25);
    button->SetHint("保存");
    button->SetShowHint(true);
    button->OnClick = [this](TComponent*) { ++clicks; };
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(8, 40, 200, 24);
    edit->OnChange = [this](TComponent*) { ++changes; };
    menu = new TMainMenu(this);
    TMenuItem* file = NewMenuItem(this, menu->Items(), "File", "文件");
    NewMenuItem(this, file, "Save", "保存", [this](TComponent*) {
      ++saves;
    })->SetShortCut("Ctrl+S");
    NewMenuItem(this, file, "Stop", "停止", [this](TComponent*) { ++stops; })->SetShortCut("Esc");
    SetMenu(menu);
  }
  TButton* button;
  TEdit* edit;
  TMainMenu* menu;
  int clicks = 0;
  int changes = 0;
  int saves = 0;
  int stops = 0;
};

// Asks the GUI thread, from the work, until `done` says so; false when it never does (a
// watchdog that turns a hang into a failure, not a measure of time).
bool EventuallyOnGuiThread(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + 20s;
  bool result = false;
  while (!result && std::chrono::steady_clock::now() < until) {
    RunOnGuiThread([&] { result = done(); });
    if (!result) std::this_thread::sleep_for(10ms);
  }
  return result;
}

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

// A hint goes away with a close the toolkit makes, and a window the program closes closes: the
// user asked for neither, so neither calls the work off.
TEST_F(BusyWorkTest, AHintThatGoesAwayOrAWindowTheProgramClosesCallsNothingOff) {
  std::string hint;
  bool hintGone = false;
  EXPECT_FALSE(RunCancellableBusy([&](const TCancellation&) {
    RunOnGuiThread([&] {
      hint = UserRestMouseOn(form->button);
      UserMoveMouseOff(form->button);
    });
    hintGone = EventuallyOnGuiThread([] { return !HintShows(); });
  }));
  EXPECT_EQ(hint, "保存");
  EXPECT_TRUE(hintGone);
  EXPECT_TRUE(form->Visible());

  bool visibleAfterClose = true;
  EXPECT_FALSE(RunCancellableBusy([&](const TCancellation&) {
    RunOnGuiThread([&] {
      form->Widget()->window()->close();
      visibleAfterClose = form->Visible();
    });
  }));
  EXPECT_FALSE(visibleAfterClose);
  form->Show();
  RunBusy([&] { RunOnGuiThread([&] { form->Widget()->window()->close(); }); });
  EXPECT_FALSE(form->Visible());
}

// A menu command's shortcut goes to the command, not to a window, yet waits for the work as the
// window's keys do; Esc calls the work off even where a command has it as its shortcut.
TEST_F(BusyWorkTest, MenuShortcutsDoNotRunDuringTheWork) {
  QApplication::setActiveWindow(form->Widget()->window());
  UserKey(form.get(), 'S', ssCtrl);
  UserKey(form.get(), VK_ESCAPE);
  ASSERT_EQ(form->saves, 1);  // the shortcuts work outside busy work
  ASSERT_EQ(form->stops, 1);
  RunBusy([&] { RunOnGuiThread([&] { UserKey(form.get(), 'S', ssCtrl); }); });
  EXPECT_EQ(form->saves, 1);
  bool reported = false;
  EXPECT_TRUE(RunUntilCancelled(
      [&] {
        UserKey(form.get(), 'S', ssCtrl);
        UserKey(form.get(), VK_ESCAPE);
      },
      reported));
  EXPECT_TRUE(reported);
  EXPECT_EQ(form->saves, 1);
  EXPECT_EQ(form->stops, 1);
  UserSwitchAway();
}

// Text an input method commits and text dropped on a box carry the user's input as keys do:
// they wait for the work too. Afterwards the input method types into the box as before,
// nothing it composed meanwhile left in it.
TEST_F(BusyWorkTest, InputMethodTextAndDropsWaitForTheWorkAsKeysDo) {
  QApplication::setActiveWindow(form->Widget()->window());
  form->edit->SetFocus();
  UserCommitText("中文");
  UserDropText(form->edit, "42");
  ASSERT_EQ(form->edit->GetText(), "中文42");  // both reach the box outside busy work
  ASSERT_EQ(form->changes, 2);
  form->edit->SetText("");
  form->changes = 0;
  RunBusy([&] {
    RunOnGuiThread([&] {
      UserKey(form->edit, 'A');
      UserComposeText("zhong");
      UserCommitText("中文");
      UserDropText(form->edit, "42");
    });
  });
  EXPECT_EQ(form->edit->GetText(), "");
  EXPECT_EQ(form->changes, 0);
  UserComposeText("hao");
  EXPECT_EQ(form->edit->GetText(), "");  // a composition shows but is no text yet
  UserCommitText("好");
  EXPECT_EQ(form->edit->GetText(), "好");
  EXPECT_EQ(form->changes, 1);
  UserSwitchAway();
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
