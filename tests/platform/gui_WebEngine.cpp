// The web-browser control over the real web engine (the module the layer loads with the first
// page), against pages served on loopback: pages, the boxes a page's script asks with, and a
// control whose module or engine helper cannot be loaded.
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/GbkText.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/WebBrowser.h"
#include "tests/platform/core_LoadedLibraries.h"
#include "tests/platform/core_TempFolder.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TestHttpServer.h"

namespace {

std::string Page(const std::string& title, const std::string& body = "") {
  return TestHttpServer::Page(title, body);
}

// The text a control shows in place of its page (UTF-8), or "" when it shows none.
std::string ShownInstead(TWebBrowser* b) {
  const auto* label = b->Widget()->findChild<QLabel*>();
  return label && label->isVisibleTo(b->Widget()) ? label->text().toStdString() : std::string();
}

// What standard error says once when the engine runs without its sandbox (UTF-8).
const std::string kSandboxOff = GbkToUtf8("网页引擎的沙箱已关闭：本程序以管理员(root)身份运行。");

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class WebEngineTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    server = std::make_unique<TestHttpServer>();
    server->AnswerBody("/a.html", Page("\xE9\xA1\xB5\xE4\xB8\x80"));  // "页一" as the page sends it
    server->AnswerBody("/b.html", Page("B"));
    browser = new TWebBrowser(form);
    browser->SetParent(form);
    browser->SetBounds(0, 0, 400, 300);
    browser->OnDownloadBegin = [this](TComponent*) { events.push_back("begin"); };
    browser->OnDownloadComplete = [this](TComponent*) {
      events.push_back("complete");
      ++completed;
    };
    browser->OnProgressChange = [this](TComponent*, int p, int max) {
      lastProgress = p;
      lastMax = max;
    };
    browser->OnNavigateComplete2 = [this](TComponent*, const std::string& url) {
      addresses.push_back(url);
    };
  }
  void TearDown() override {
    WindowTest::TearDown();  // the pages go before the server
    server.reset();
  }
  // Navigates and waits for the load to end.
  void Load(const std::function<void()>& go) {
    const int before = completed;
    go();
    ASSERT_TRUE(WaitUntil([&] { return completed > before; })) << "the page never finished";
  }

  std::unique_ptr<TestHttpServer> server;
  TWebBrowser* browser = nullptr;
  std::vector<std::string> events;
  std::vector<std::string> addresses;
  int completed = 0;
  int lastProgress = -1;
  int lastMax = -1;
};

TEST_F(WebEngineTest, APageLoadsWithItsTitleAddressAndFullProgress) {
  EXPECT_EQ(browser->LocationURL(), "");  // nothing loaded, no engine started
  EXPECT_EQ(browser->LocationName(), "");
  Load([&] { browser->Navigate(server->Url("/a.html")); });
  EXPECT_EQ(browser->LocationName(), "页一");
  EXPECT_EQ(browser->LocationURL(), server->Url("/a.html"));
  EXPECT_EQ(lastProgress, 100);
  EXPECT_EQ(lastMax, 100);
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front(), "begin");
  EXPECT_EQ(events.back(), "complete");
  EXPECT_EQ(addresses.back(), server->Url("/a.html"));

  Load([&] { browser->Refresh(); });
  EXPECT_EQ(server->RequestCount("/a.html"), 2);

  // The engine speaks the program's language, whatever the system's locale.
  server->AnswerBody("/lang.html",
                     "<html><body><script>document.title = navigator.language;</script>"
                     "</body></html>");
  Load([&] { browser->Navigate(server->Url("/lang.html")); });
  EXPECT_EQ(browser->LocationName(), "zh-CN");
}

TEST_F(WebEngineTest, BackAndForwardWalkTheHistoryAndStopEndsAStalledLoad) {
  Load([&] { browser->Navigate(server->Url("/a.html")); });
  Load([&] { browser->Navigate(server->Url("/b.html")); });
  EXPECT_EQ(browser->LocationName(), "B");
  Load([&] { browser->GoBack(); });
  EXPECT_EQ(browser->LocationURL(), server->Url("/a.html"));
  Load([&] { browser->GoForward(); });
  EXPECT_EQ(browser->LocationURL(), server->Url("/b.html"));

  server->AnswerStall("/slow.html");
  const int before = completed;
  browser->Navigate(server->Url("/slow.html"));
  ASSERT_TRUE(WaitUntil([&] { return server->RequestCount("/slow.html") > 0; }));
  EXPECT_EQ(completed, before);
  browser->Stop();
  EXPECT_TRUE(WaitUntil([&] { return completed > before; })) << "the stalled load never ended";
}

TEST_F(WebEngineTest, EachPopupAsksForOneWindowAndAnUnnamedOneLoadsInTheControlGiven) {
  server->AnswerBody("/c.html", Page("C"));
  server->AnswerBody("/d.html", Page("D"));
  server->AnswerBody("/e.html", Page("E"));
  server->AnswerBody("/pop.html", Page("P", TestHttpServer::kOpensThreeWindows));
  std::vector<std::string> asked;
  TWebBrowser* hidden = nullptr;
  std::vector<std::string> hiddenAddresses;
  browser->OnNewWindow2 = [&](TComponent*, const std::string& url, TWebBrowser*& target, bool&) {
    asked.push_back(url);
    if (!url.empty()) return;  // named: refused, the test only counts it
    hidden = new TWebBrowser(form);
    hidden->SetVisible(false);
    hidden->OnNavigateComplete2 = [&](TComponent*, const std::string& address) {
      hiddenAddresses.push_back(address);
    };
    target = hidden;
  };
  Load([&] { browser->Navigate(server->Url("/pop.html")); });
  ASSERT_TRUE(WaitUntil([&] {
    return asked.size() >= 3 && !hiddenAddresses.empty() &&
           hiddenAddresses.back() == server->Url("/e.html");
  })) << asked.size()
      << " window request(s), the last for '" << asked.back() << "'; the unnamed one went to "
      << (hidden ? hidden->LocationURL() : "none") << " after " << hiddenAddresses.size()
      << " address(es)";
  WaitUntil([] { return false; }, 300);  // a second request would come by now
  EXPECT_EQ(asked, (std::vector<std::string>{server->Url("/c.html"), server->Url("/d.html"), ""}));
  EXPECT_EQ(server->RequestCount("/c.html"), 0);  // refused windows load nothing
  EXPECT_EQ(server->RequestCount("/d.html"), 0);
  EXPECT_EQ(hidden->LocationURL(), server->Url("/e.html"));
}

TEST_F(WebEngineTest, TheEngineIsLoadedWithTheFirstPageAndNotBefore) {
  // A fresh run of this program, so that no earlier test has loaded the engine: the toolkit is
  // up and a window with a browser control shows, as after the program's start.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        form->Show();
        ProcessEvents();
        if (LibraryMapped("libQt6WebEngine") || LibraryMapped("libzelkar_webengine")) std::_Exit(1);
        // What the engine reads from the environment was set as the application started,
        // before any worker thread could read the environment while it changed.
        const char* flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags || std::string(flags).find("--lang=zh-CN") == std::string::npos) std::_Exit(4);
        if ((geteuid() == 0 || getuid() == 0) && !std::getenv("QTWEBENGINE_DISABLE_SANDBOX"))
          std::_Exit(5);
        Load([&] { browser->Navigate(server->Url("/a.html")); });
        if (browser->LocationName() != "页一") std::_Exit(2);
        if (!LibraryMapped("libQt6WebEngineCore") || !LibraryMapped("libzelkar_webengine"))
          std::_Exit(3);
        // Loaded anew, as a test may: the sandbox is not spoken of twice.
        SetWebEngineModuleForTesting("");
        auto* again = new TWebBrowser(form);
        again->SetParent(form);
        again->OnDownloadComplete = [this](TComponent*) { ++completed; };
        Load([&] { again->Navigate(server->Url("/b.html")); });
        if (again->LocationName() != "B") std::_Exit(6);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0),
      // As root the engine runs without its sandbox, and standard error says so once.
      ::testing::ResultOf([](const std::string& err) { return Occurrences(err, kSandboxOff); },
                          geteuid() == 0 || getuid() == 0 ? 1 : 0));
}

TEST_F(WebEngineTest, AMissingEngineHelperLoadsNothingAndIsExplainedInPlaceOfThePage) {
  // The engine would end the program when it starts and finds no helper to run pages in. A
  // fresh run, so that the engine is not already up.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("QTWEBENGINEPROCESS_PATH", "/nonexistent/QtWebEngineProcess", 1);
        form->Show();
        Load([&] { browser->Navigate(server->Url("/a.html")); });
        if (browser->LocationName() != "网页引擎未能载入") std::_Exit(2);
        if (ShownInstead(browser) !=
            GbkToUtf8("找不到网页引擎的辅助程序「/nonexistent/QtWebEngineProcess」"
                      "(环境变量 QTWEBENGINEPROCESS_PATH 所指)，网页无法显示。"))
          std::_Exit(3);
        if (server->RequestCount("/a.html") != 0) std::_Exit(4);
        if (LibraryMapped("libzelkar_webengine") || LibraryMapped("libQt6WebEngineCore"))
          std::_Exit(5);
        // A helper that is there but cannot be run is refused too.
        TempFolder folder;
        { std::ofstream(folder / "QtWebEngineProcess") << "#!/bin/sh\n"; }
        setenv("QTWEBENGINEPROCESS_PATH", (folder / "QtWebEngineProcess").c_str(), 1);
        SetWebEngineModuleForTesting("");
        auto* other = new TWebBrowser(form);
        other->SetParent(form);
        other->Navigate(server->Url("/a.html"));
        if (ShownInstead(other) != GbkToUtf8("网页引擎的辅助程序「" + folder.Path() +
                                             "/QtWebEngineProcess」不是可以运行的程序，"
                                             "网页无法显示。"))
          std::_Exit(6);
        if (LibraryMapped("libzelkar_webengine") || LibraryMapped("libQt6WebEngineCore"))
          std::_Exit(7);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0),
      // Nothing started: no word of the sandbox either.
      ::testing::Not(::testing::HasSubstr(kSandboxOff)));
}

// Writes an executable file.
void WriteProgram(const std::string& path, const std::string& content) {
  { std::ofstream(path, std::ios::binary) << content; }
  chmod(path.c_str(), 0755);
}

// The real helper program the engine runs its pages in.
std::string RealHelper() {
  return QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath).toStdString() +
         "/QtWebEngineProcess";
}

TEST_F(WebEngineTest, AHelperThatCannotStartIsExplainedInPlaceOfThePageAndTheProgramGoesOn) {
  // The engine would start such a helper only once it is up, and then end the program (as an
  // ordinary user) or leave every page blank (as root). A fresh run, so that the engine is not
  // already up.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TempFolder folder;
        form->Show();
        // Tries a page with the helper at `path`; what the control shows instead (GBK).
        auto tried = [&](const std::string& path) {
          setenv("QTWEBENGINEPROCESS_PATH", path.c_str(), 1);
          SetWebEngineModuleForTesting("");
          auto* b = new TWebBrowser(form);
          b->SetParent(form);
          b->Navigate(server->Url("/a.html"));
          if (b->LocationName() != "网页引擎未能载入") std::_Exit(2);
          return Utf8ToGbk(ShownInstead(b));
        };
        const std::string exits = folder / "exits/QtWebEngineProcess";
        std::filesystem::create_directories(folder / "exits");
        WriteProgram(exits, "#!/bin/sh\nexit 1\n");
        if (tried(exits) != "网页引擎的辅助程序「" + exits +
                                "」无法启动，网页无法显示：它一启动就退出了(退出码 1)。")
          std::_Exit(3);
        // The real helper, but a library it needs is gone: the loader's name for it is shown.
        const std::string lacking = folder / "lacking/QtWebEngineProcess";
        std::filesystem::create_directories(folder / "lacking");
        std::ifstream real(RealHelper(), std::ios::binary);
        std::string binary((std::istreambuf_iterator<char>(real)), {});
        const std::string library = "libQt6WebEngineCore.so.6";
        const size_t at = binary.find(library);
        if (at == std::string::npos) std::_Exit(4);
        binary.replace(at, library.size(), "libQt6WebEngineGone.so.6");
        WriteProgram(lacking, binary);
        if (tried(lacking) !=
            "网页引擎的辅助程序「" + lacking +
                "」无法启动，网页无法显示：它要用的共享库「libQt6WebEngineGone.so.6」"
                "找不到或无法载入。")
          std::_Exit(5);
        const std::string crashes = folder / "crashes/QtWebEngineProcess";
        std::filesystem::create_directories(folder / "crashes");
        WriteProgram(crashes, "#!/bin/sh\necho 'start failed' >&2\nkill -SEGV $$\n");
        if (tried(crashes) != "网页引擎的辅助程序「" + crashes +
                                  "」无法启动，网页无法显示：它一启动就崩溃了(信号 SIGSEGV)。"
                                  "它说：start failed")
          std::_Exit(6);
        if (server->RequestCount("/a.html") != 0) std::_Exit(7);
        if (LibraryMapped("libzelkar_webengine") || LibraryMapped("libQt6WebEngineCore"))
          std::_Exit(8);
        // The real helper passes its trial, and the page shows.
        setenv("QTWEBENGINEPROCESS_PATH", RealHelper().c_str(), 1);
        SetWebEngineModuleForTesting("");
        auto* good = new TWebBrowser(form);
        good->SetParent(form);
        good->OnDownloadComplete = [this](TComponent*) { ++completed; };
        Load([&] { good->Navigate(server->Url("/b.html")); });
        if (good->LocationName() != "B" || !ShownInstead(good).empty()) std::_Exit(9);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// The parent of a process, or 0 when it is gone.
pid_t ParentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(line.substr(close + 2));
  char state;
  pid_t parent = 0;
  rest >> state >> parent;
  return parent;
}

// The processes that show this program's pages: the engine forks each from a helper it
// started, so they are this program's grandchildren.
std::vector<pid_t> PageProcesses() {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = std::stoi(name);
    const pid_t parent = ParentOf(pid);
    if (parent > 1 && parent != getpid() && ParentOf(parent) == getpid()) found.push_back(pid);
  }
  return found;
}

TEST_F(WebEngineTest, APageWhoseProcessEndsSaysWhyAndShowsAgainOnRefresh) {
  Load([&] { browser->Navigate(server->Url("/a.html")); });
  ASSERT_EQ(ShownInstead(browser), "");
  const std::vector<pid_t> processes = PageProcesses();
  ASSERT_FALSE(processes.empty()) << "no process shows the page";
  const int before = completed;
  for (pid_t pid : processes) kill(pid, SIGKILL);
  ASSERT_TRUE(WaitUntil([&] { return !ShownInstead(browser).empty(); })) << "the tab stayed blank";
  EXPECT_EQ(ShownInstead(browser),
            GbkToUtf8("显示这个网页的辅助程序被终止了，网页无法显示。请按「刷新」再试。"));
  EXPECT_EQ(browser->LocationName(), "网页无法显示");
  EXPECT_GT(completed, before);  // the tab's caption is told
  EXPECT_FALSE(SaveScreenshot(form, "web_engine_page_process_ended").empty());

  Load([&] { browser->Refresh(); });
  EXPECT_TRUE(WaitUntil([&] { return ShownInstead(browser).empty(); }));
  EXPECT_EQ(browser->LocationName(), "页一");
}

TEST_F(WebEngineTest, AModuleThatCannotBeLoadedIsExplainedInChineseInPlaceOfThePage) {
  struct Restore {
    ~Restore() { SetWebEngineModuleForTesting(""); }
  } restore;
  TempFolder folder;
  SetWebEngineModuleForTesting(folder / "libzelkar_webengine.so");
  Load([&] { browser->Navigate(server->Url("/a.html")); });
  EXPECT_EQ(events,
            (std::vector<std::string>{"begin", "complete"}));  // the try ends, like a failed page
  EXPECT_EQ(server->RequestCount("/a.html"), 0);
  EXPECT_EQ(browser->LocationName(), "网页引擎未能载入");
  EXPECT_EQ(browser->LocationURL(), server->Url("/a.html"));
  EXPECT_EQ(ShownInstead(browser),
            GbkToUtf8("找不到网页引擎「libzelkar_webengine.so」，网页无法显示。"
                      "它应在程序所在的文件夹「" +
                      folder.Path() + "」中。"));
  // The commands that need a page do nothing; a second try changes nothing.
  browser->GoBack();
  browser->GoForward();
  browser->Refresh();
  browser->Stop();
  browser->Print();
  EXPECT_FALSE(browser->PrintPreviewEnabled());
  browser->PrintPreview();
  Load([&] { browser->Navigate(server->Url("/b.html")); });
  EXPECT_EQ(browser->LocationURL(), server->Url("/b.html"));
  EXPECT_EQ(browser->Widget()->findChildren<QLabel*>().size(), 1);
  EXPECT_FALSE(SaveScreenshot(form, "web_engine_missing").empty());

  // A file that is there but no module: the loader's own reason follows the Chinese one.
  { std::ofstream(folder / "libzelkar_webengine.so") << std::string(4096, 'x'); }
  SetWebEngineModuleForTesting(folder / "libzelkar_webengine.so");
  auto* broken = new TWebBrowser(form);
  broken->SetParent(form);
  broken->Navigate(server->Url("/a.html"));
  const std::string shown = ShownInstead(broken);
  const std::string reason =
      GbkToUtf8("网页引擎「" + folder.Path() + "/libzelkar_webengine.so」无法载入，网页无法显示：");
  EXPECT_EQ(shown.rfind(reason, 0), 0u) << shown;
  EXPECT_NE(shown.find("invalid ELF header"), std::string::npos) << shown;
  EXPECT_EQ(broken->LocationName(), "网页引擎未能载入");

  // With the module found again, a new control shows pages.
  SetWebEngineModuleForTesting("");
  auto* again = new TWebBrowser(form);
  again->SetParent(form);
  again->OnDownloadComplete = [this](TComponent*) { ++completed; };
  Load([&] { again->Navigate(server->Url("/a.html")); });
  EXPECT_EQ(again->LocationName(), "页一");
  EXPECT_EQ(ShownInstead(again), "");
}

// A box the toolkit showed for a page, as the user saw it (UTF-8).
struct SeenBox {
  std::string title;
  std::string text;
  std::vector<std::string> buttons;
  bool plain = false;  // its text shown as it is, not read as markup
};

TEST_F(WebEngineTest, APagesAlertConfirmAndPromptAskInTheProgramsChineseBoxes) {
  const std::string confirm = GbkToUtf8("删除这条记录？");
  const std::string prompt = GbkToUtf8("<b>姓名</b>");
  const std::string proposed = GbkToUtf8("默认");
  std::string script = "<script>window.onload = function () {";
  script += "var ok = confirm('" + confirm + "');";
  script += "var name = prompt('" + prompt + "', '" + proposed + "');";
  script += "alert('<i>' + name + '</i>');";
  script += "document.title = ok + '|' + name; };</script>";
  server->AnswerBody("/ask.html", Page("ask", script));
  // The real boxes, answered as a user would: OK, and a name typed into the prompt.
  SetDialogDriver(nullptr);
  struct Restore {
    ~Restore() { SetDialogDriver(&Dialogs()); }
  } restore;
  std::vector<SeenBox> seen;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget* shown = QApplication::activeModalWidget();
    if (!shown) return;
    SeenBox box{shown->windowTitle().toStdString(), {}, {}, false};
    for (const auto* button : shown->findChildren<QPushButton*>())
      if (button->isVisible()) box.buttons.push_back(button->text().toStdString());
    if (auto* message = qobject_cast<QMessageBox*>(shown)) {
      box.text = message->text().toStdString();
      box.plain = message->textFormat() == Qt::PlainText;
      if (box.buttons.size() == 1)  // the alert
        message->grab().save(QString::fromStdString(testing::TempDir()) + "web_engine_alert.png");
      for (QAbstractButton* button : message->buttons())
        if (message->buttonRole(button) == QMessageBox::AcceptRole) button->click();
    } else if (auto* input = qobject_cast<QInputDialog*>(shown)) {
      box.text = input->labelText().toStdString();
      const auto* label = input->findChild<QLabel*>();
      box.plain = label && label->textFormat() == Qt::PlainText;
      input->setTextValue(QString::fromStdString(GbkToUtf8("张三")));
      input->accept();
    } else {
      ADD_FAILURE() << "an unexpected window: " << box.title;
      shown->close();
    }
    seen.push_back(box);
  });
  user.start(50);
  Load([&] { browser->Navigate(server->Url("/ask.html")); });
  ASSERT_TRUE(WaitUntil([&] { return browser->LocationName() == "true|张三"; }))
      << GbkToUtf8(browser->LocationName()) << " after " << seen.size() << " box(es)";
  user.stop();

  // The box names the site that asks: the page's host and port.
  const std::string root = server->Url("/");  // http://host:port/
  const std::string title = GbkToUtf8("来自网页「" + root.substr(7, root.size() - 8) + "」的消息");
  ASSERT_EQ(seen.size(), 3u);
  for (const SeenBox& box : seen) {
    EXPECT_EQ(box.title, title);
    EXPECT_TRUE(box.plain) << box.text;
  }
  EXPECT_EQ(seen[0].text, confirm);
  EXPECT_EQ(seen[0].buttons, (std::vector<std::string>{GbkToUtf8("确定"), GbkToUtf8("取消")}));
  EXPECT_EQ(seen[1].text, prompt);
  EXPECT_EQ(seen[1].buttons, (std::vector<std::string>{GbkToUtf8("确定"), GbkToUtf8("取消")}));
  EXPECT_EQ(seen[2].text, GbkToUtf8("<i>张三</i>"));
  EXPECT_EQ(seen[2].buttons, (std::vector<std::string>{GbkToUtf8("确定")}));

  // The engine's own question before a page is left is asked in the program's language too.
  const char* leave =
      "Are you sure you want to leave this page? Changes that you made may not be saved.";
  EXPECT_NE(QCoreApplication::translate("QWebEnginePage", leave).toStdString(), leave);
}

// Clicks the page where the control shows it, as the user's mouse would.
void ClickPage(TWebBrowser* b, Qt::MouseButton button) {
  QWidget* host = b->Widget();
  const QPoint middle(host->width() / 2, host->height() / 2);
  QWidget* target = host->childAt(middle);
  ASSERT_NE(target, nullptr) << "the page shows nothing to click";
  const QPoint at = target->mapFrom(host, middle);
  const QPoint global = target->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
}

// A page whose whole face is a file field; its title becomes the names of the files chosen.
const char* const kFileField =
    "<input type=file id=f multiple style='position:fixed;left:0;top:0;width:100%;height:100%'>"
    "<script>document.getElementById('f').onchange = function () {"
    "var names = []; for (var i = 0; i < this.files.length; ++i) names.push(this.files[i].name);"
    "document.title = names.join(','); };</script>";

// The file dialog a page's file field opens: in the program's language, at home, then where
// the user chose last.
TEST_F(WebEngineTest, APagesFileFieldOpensTheProgramsChineseDialogAtHome) {
  TempFolder home;
  std::filesystem::create_directories(home / "photos");
  { std::ofstream(home / "old.txt") << "x"; }
  { std::ofstream(home / "photos/a.png") << "png"; }
  { std::ofstream(home / "photos/b.png") << "png"; }
  const QByteArray oldHome = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(home.Path()));
  SetDialogDriver(nullptr);
  struct Restore {
    QByteArray home;
    ~Restore() {
      SetDialogDriver(&Dialogs());
      qputenv("HOME", home);
    }
  } restore{oldHome};
  server->AnswerBody("/file.html", Page("file", kFileField));
  form->Show();
  Load([&] { browser->Navigate(server->Url("/file.html")); });

  struct Seen {
    QString title, directory, folderType, size, date;
  };
  std::vector<Seen> seen;
  // The user looks at the dialog, then types the files to send.
  auto choose = [&](const QString& typed, const char* screenshot) {
    auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!box) return false;
    Seen now{box->windowTitle(), box->directory().absolutePath(), {}, {}, {}};
    auto* view = box->findChild<QTreeView*>();
    QAbstractItemModel* list = view ? view->model() : nullptr;
    for (int wait = 0; list && wait < 300 && now.size.isEmpty(); ++wait) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      const QModelIndex root = view->rootIndex();
      for (int row = 0; row < list->rowCount(root); ++row) {
        const QString name = list->index(row, 0, root).data().toString();
        if (name == "photos") now.folderType = list->index(row, 2, root).data().toString();
        if (name == "old.txt") {
          now.size = list->index(row, 1, root).data().toString();
          now.date = list->index(row, 3, root).data().toString();
        }
      }
    }
    if (screenshot) box->grab().save(QString::fromStdString(testing::TempDir()) + screenshot);
    seen.push_back(now);
    box->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
    QMetaObject::invokeMethod(box, "accept");
    return true;
  };
  QTimer user;
  QString typed = QString::fromStdString("\"" + (home / "photos/a.png") + "\" \"" +
                                         (home / "photos/b.png") + "\"");
  const char* screenshot = "web_engine_file_chooser.png";
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (choose(typed, screenshot)) user.stop();
  });
  user.start(50);
  ClickPage(browser, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return browser->LocationName() == "a.png,b.png"; }))
      << browser->LocationName() << " after " << seen.size() << " dialog(s)";
  // Again, and once more after that folder is gone.
  auto again = [&](const std::string& file, const std::string& title) {
    typed = QString::fromStdString(file);
    screenshot = nullptr;
    user.start(50);
    ClickPage(browser, Qt::LeftButton);
    return WaitUntil([&] { return browser->LocationName() == title; });
  };
  ASSERT_TRUE(again(home / "photos/b.png", "b.png")) << browser->LocationName();
  std::filesystem::remove_all(home / "photos");
  ASSERT_TRUE(again(home / "old.txt", "old.txt")) << browser->LocationName();

  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].title.toStdString(), GbkToUtf8("选择要上传的文件"));
  EXPECT_EQ(seen[0].directory.toStdString(), home.Path());
  EXPECT_EQ(seen[1].directory.toStdString(), home / "photos");  // where the user chose last
  EXPECT_EQ(seen[2].directory.toStdString(), home.Path());
  EXPECT_EQ(seen[0].size.toStdString(), GbkToUtf8("1 字节"));
  EXPECT_NE(seen[0].folderType, "Folder");
  EXPECT_FALSE(seen[0].folderType.isEmpty());
  const QDateTime modified = QFileInfo(QString::fromStdString(home / "old.txt")).lastModified();
  EXPECT_EQ(seen[0].date.toStdString(), QLocale(QLocale::Chinese, QLocale::China)
                                            .toString(modified, QLocale::ShortFormat)
                                            .toStdString());
}

TEST_F(WebEngineTest, ThePagesMenuOffersNothingThatWouldDoNothing) {
  server->AnswerBody("/menu.html", Page("menu", "<p style='height:2000px'>text</p>"));
  form->Show();
  Load([&] { browser->Navigate(server->Url("/menu.html")); });
  QStringList offered;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (const QAction* action : menu->actions())
      if (!action->isSeparator()) offered << action->text();
    menu->close();
    user.stop();
  });
  user.start(50);
  ClickPage(browser, Qt::RightButton);
  ASSERT_TRUE(WaitUntil([&] { return !offered.isEmpty(); })) << "no menu opened";
  // The page's own commands stay; saving the page, which the program takes no download
  // for, and its source, which opens in no tab, are not offered.
  EXPECT_TRUE(offered.contains(QString::fromStdString(GbkToUtf8("后退"))))
      << offered.join('|').toStdString();
  EXPECT_FALSE(offered.contains(QString::fromStdString(GbkToUtf8("保存页面"))))
      << offered.join('|').toStdString();
  EXPECT_FALSE(offered.contains(QString::fromStdString(GbkToUtf8("查看页面源代码"))))
      << offered.join('|').toStdString();
}

TEST_F(WebEngineTest, APageToldNoByTheUserHearsNo) {
  server->AnswerBody("/no.html", Page("no",
                                      "<script>window.onload = function () {"
                                      "var ok = confirm('c'); var name = prompt('p', 'd');"
                                      "document.title = ok + '|' + name; };</script>"));
  dialogs().AnswerMessage(IDCANCEL);
  dialogs().CancelInput();
  Load([&] { browser->Navigate(server->Url("/no.html")); });
  ASSERT_TRUE(WaitUntil([&] { return browser->LocationName() == "false|null"; }))
      << browser->LocationName();
  ASSERT_EQ(dialogs().Shown().size(), 2u);
  EXPECT_EQ(dialogs().Shown()[0].kind, ShownDialog::MessageBox);
  EXPECT_EQ(dialogs().Shown()[0].Flags & 0x0F, MB_OKCANCEL);
  EXPECT_EQ(dialogs().Shown()[1].kind, ShownDialog::Input);
  EXPECT_EQ(dialogs().Shown()[1].Text, "p");
}

}  // namespace
