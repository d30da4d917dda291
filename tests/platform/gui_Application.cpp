// The default exception handler, posted calls, the main window's place in the application and
// the style's icons read when first drawn.
#include <QApplication>
#include <QIcon>
#include <QProxyStyle>
#include <cstdlib>
#include <thread>

#include "platform/Clock.h"
#include "platform/Numbers.h"
#include "platform/gui/Menus.h"
#include "tests/platform/core_LoadedLibraries.h"
#include "tests/support/GuiTest.h"

namespace {

class HandlerTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    button = new TButton(form);
    button->SetParent(form);
    form->Show();
  }
  TButton* button = nullptr;
};

TEST_F(HandlerTest, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
  int runs = 0;
  button->OnClick = [&](TComponent*) {
    ++runs;
    if (runs == 1) StrToInt("x");
    if (runs == 2) throw std::runtime_error("plain failure");
    if (runs == 3) Abort();
  };
  dialogs().AnswerMessage();
  dialogs().AnswerMessage();
  UserClick(button);
  UserClick(button);
  UserClick(button);  // EAbort: silent
  UserClick(button);  // still working
  EXPECT_EQ(runs, 4);
  EXPECT_EQ(dialogs().Messages(),
            (std::vector<std::string>{"「x」不是有效的整数", "程序内部错误：plain failure"}));
  EXPECT_EQ(dialogs().Shown()[0].Caption, Application->Title);
  EXPECT_EQ(dialogs().Shown()[0].Flags & 0xF0, MB_ICONSTOP);
}

TEST_F(HandlerTest, ClickFromCodePassesTheExceptionToTheCallingHandler) {
  auto* outer = new TButton(form);
  outer->SetParent(form);
  bool afterInner = false;
  button->OnClick = [](TComponent*) { throw Exception("日期错误"); };
  outer->OnClick = [&](TComponent*) {
    button->Click();
    afterInner = true;
  };
  dialogs().AnswerMessage();
  UserClick(outer);
  EXPECT_FALSE(afterInner);
  EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"日期错误"}));
}

TEST_F(HandlerTest, OnExceptionReplacesTheMessageBox) {
  std::string seen;
  Application->OnException = [&](TComponent* sender, const std::exception& e) {
    seen = e.what();
    EXPECT_EQ(sender, button);
  };
  button->OnClick = [](TComponent*) { throw Exception("boom"); };
  UserClick(button);
  EXPECT_EQ(seen, "boom");
  EXPECT_TRUE(dialogs().Shown().empty());
}

TEST_F(HandlerTest, TimerTicksAndPostedCallsRunInsideTheHandler) {
  auto* timer = new TTimer(form);
  timer->SetInterval(500);
  int ticks = 0;
  timer->OnTimer = [&](TComponent*) {
    if (++ticks == 1) throw Exception("tick failed");
  };
  dialogs().AnswerMessage();
  EXPECT_TRUE(FireTimer(timer));
  EXPECT_TRUE(FireTimer(timer));
  EXPECT_EQ(ticks, 2);
  timer->SetEnabled(false);
  EXPECT_FALSE(FireTimer(timer));
  EXPECT_EQ(ticks, 2);

  int posted = 0;
  Application->QueueCall([&] { ++posted; });
  Application->QueueCall([&] { throw Exception("posted failed"); });
  dialogs().AnswerMessage();
  EXPECT_EQ(posted, 0);
  ProcessEvents();
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(dialogs().Messages().back(), "posted failed");
}

TEST_F(HandlerTest, SyncCallFromAWorkerRunsOnTheGuiThread) {
  std::thread::id ranOn;
  bool inGui = false;
  std::thread worker([&] {
    Application->SyncCall([&] {
      ranOn = std::this_thread::get_id();
      inGui = Application->InGuiThread();
    });
  });
  // The GUI thread keeps its loop turning until the worker's call has run.
  while (ranOn == std::thread::id()) ProcessEvents();
  worker.join();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_TRUE(inGui);
}

TEST(RealTimerTest, ChangingTheIntervalWhileRunningKeepsTicking) {
  TTimer::SetManualForTesting(false);
  {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TComponent*) { ++ticks; };
    timer.SetInterval(100000);
    timer.SetInterval(5);
    const uint32_t start = GetTickCount();
    while (ticks < 2 && GetTickCount() - start < 5000) ProcessEvents();
    EXPECT_GE(ticks, 2);
  }
  TTimer::SetManualForTesting(true);
}

// Where the application keeps the new window (a window's global instance in the program).
class AppForm;
AppForm** g_reference = nullptr;

class AppForm : public TForm {
 public:
  explicit AppForm(TComponent* owner) : TForm(owner) {
    OnCreate = [this](TComponent*) { createdWhenSet = g_reference && *g_reference == this; };
  }
  bool createdWhenSet = false;
};

TEST_F(HandlerTest, CreateFormMakesTheFirstWindowTheMainWindow) {
  TForm* keep = Application->MainForm();
  AppForm* first = nullptr;
  TForm* second = nullptr;
  g_reference = &first;
  Application->CreateForm(first);
  g_reference = nullptr;
  Application->CreateForm(second);
  EXPECT_TRUE(first->createdWhenSet);  // OnCreate can already reach the window through it
  if (!keep) {
    EXPECT_EQ(Application->MainForm(), first);
  }
  EXPECT_NE(Application->MainForm(), second);
  EXPECT_EQ(first->Owner(), Application);
  delete second;
  delete first;
  EXPECT_EQ(Application->MainForm(), keep);
}

}  // namespace

namespace {

class StartForm : public TForm {
 public:
  explicit StartForm(TComponent* owner) : TForm(owner) {
    OnActivate = [this](TComponent*) {
      ++activations;
      // Closing from inside the loop ends it, as the exit command does.
      Application->QueueCall([this] { Close(); });
    };
  }
  int activations = 0;
};

TEST_F(HandlerTest, RunShowsTheMainWindowAndEndsWhenItCloses) {
  TForm* keep = Application->MainForm();
  if (keep) GTEST_SKIP() << "a main window exists already";
  StartForm* start = nullptr;
  Application->CreateForm(start);
  ASSERT_EQ(Application->MainForm(), start);
  Application->Run();
  EXPECT_EQ(start->activations, 1);
  EXPECT_TRUE(Application->Terminated());
  delete start;
  Application->ClearTerminated();
}

TEST_F(HandlerTest, AMenuBarReadsItsOverflowIconOnlyWhenItIsDrawn) {
  // A fresh run of this program: no earlier test has read a picture.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        auto* menu = new TMainMenu(form);
        NewMenuItem(form, menu->Items(), "N1", "文件");
        form->SetMenu(menu);
        ProcessEvents();
        std::_Exit(LibraryMapped("imageformats") ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
  // The icon drawn is the style's own.
  auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr);
  for (auto which :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    const QImage drawn = style->standardIcon(which).pixmap(16, 16).toImage();
    EXPECT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn, style->baseStyle()->standardIcon(which).pixmap(16, 16).toImage());
  }
}

}  // namespace
