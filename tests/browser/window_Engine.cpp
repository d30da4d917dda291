// The browser window on the real web engine against pages served on loopback: titles reach the
// tabs, pop-ups become tabs, and a picture of three loaded tabs with the favourites menu open.
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "tests/browser/BrowserFixture.h"
#include "tests/support/TestHttpServer.h"

namespace {

std::string Html(const std::string& utf8Title, const std::string& body = "") {
  return TestHttpServer::Page(utf8Title, body, "font-size:28px;background:#e0f0ff");
}

class BrowserEngineTest : public BrowserTest {
 protected:
  bool UseRecordingEngines() const override { return false; }
  void TearDown() override {
    BrowserTest::TearDown();  // the pages go before the server
    server.reset();
  }
  // Waits until no tab says it is still waiting.
  bool AllLoaded() {
    return WaitUntil([&] {
      for (int i = 1; i < form->PCT->PageCount(); ++i)
        if (form->PCT->Pages(i)->Caption() == "请稍候...") return false;
      return true;
    });
  }
  std::unique_ptr<TestHttpServer> server = std::make_unique<TestHttpServer>();
};

TEST_F(BrowserEngineTest, ThreePagesLoadIntoTabsWithTheirTitles) {
  const std::vector<std::string> titles = {"赛果一览", "六爻排盘", "梅花易数"};
  for (size_t i = 0; i < titles.size(); ++i) {
    const std::string path = "/p" + std::to_string(i) + ".html";
    server->AnswerBody(path, Html(GbkToUtf8(titles[i]), "<h1>" + GbkToUtf8(titles[i]) + "</h1>"));
    form->NewTab(server->Url(path));
  }
  ASSERT_TRUE(AllLoaded());
  ASSERT_EQ(form->PCT->PageCount(), 4);
  for (size_t i = 0; i < titles.size(); ++i)
    EXPECT_GBK_EQ(form->PCT->Pages(static_cast<int>(i) + 1)->Caption(), titles[i]);
  EXPECT_EQ(form->RCbbURL->GetText(), server->Url("/p2.html"));
  EXPECT_EQ(form->pb->Position(), 100);
  EXPECT_GBK_EQ(form->Ptxt->Caption(), "完成");

  // Back on the first tab, the tool bar works on it.
  form->PCT->SetActivePage(form->PCT->Pages(1));
  form->PCTChange(form->PCT);
  EXPECT_EQ(form->RCbbURL->GetText(), server->Url("/p0.html"));
  UserClick(form->btn4);
  EXPECT_TRUE(WaitUntil([&] { return server->RequestCount("/p0.html") == 2; }));

  ASSERT_TRUE(WaitUntil([&] { return form->Ptxt->Caption() == "完成"; }));
  // The page shows in its tab: its background fills the middle of the browser.
  TTabs* shown = Active();
  ASSERT_TRUE(WaitUntil([&] {
    const auto picture = GrabControl(shown->Browser);
    return picture->Canvas().Pixel(shown->Browser->Width() / 2, shown->Browser->Height() / 2) ==
           RGB(0xe0, 0xf0, 0xff);
  })) << "the page was never drawn";
  WaitUntil([] { return false; }, 300);  // its text follows the background

  form->AddFavourite("赛果一览", server->Url("/p0.html"));
  form->AddFavourite("易学网站收藏", "https://ctext.org/zh");
  ProcessEvents();
  const std::string shot =
      SaveScreenshotWithMenu(form, form->pm, form->btn7, "browser_three_tabs_favourites");
  EXPECT_FALSE(shot.empty());
}

TEST_F(BrowserEngineTest, EveryWindowAPageOpensBecomesOneTab) {
  server->AnswerBody("/c.html", Html("C"));
  server->AnswerBody("/d.html", Html("D"));
  server->AnswerBody("/e.html", Html("E"));
  server->AnswerBody("/pop.html", Html("P", TestHttpServer::kOpensThreeWindows));
  form->NewTab(server->Url("/pop.html"));
  ASSERT_TRUE(WaitUntil([&] { return form->PCT->PageCount() >= 5; }))
      << form->PCT->PageCount() << " page(s)";
  ASSERT_TRUE(AllLoaded());
  WaitUntil([] { return false; }, 300);  // a second tab for one window would be here by now
  EXPECT_EQ(form->PCT->PageCount(), 5);
  std::vector<std::string> captions;
  for (int i = 1; i < form->PCT->PageCount(); ++i)
    captions.push_back(form->PCT->Pages(i)->Caption());
  std::sort(captions.begin() + 1, captions.end());
  EXPECT_EQ(captions, (std::vector<std::string>{"P", "C", "D", "E"}));
  EXPECT_EQ(form->HiddenPageCount(), 0);
  EXPECT_EQ(server->RequestCount("/c.html"), 1);
  EXPECT_EQ(server->RequestCount("/d.html"), 1);
}

TEST_F(BrowserEngineTest, WithoutItsEngineModuleEachTabSaysSoAndTheWindowGoesOn) {
  struct Restore {
    ~Restore() { SetWebEngineModuleForTesting(""); }
  } restore;
  SetWebEngineModuleForTesting(folder / "gone/libzelkar_webengine.so");
  server->AnswerBody("/p.html", Html("P"));
  form->NewTab(server->Url("/p.html"));
  Enter(server->Url("/p.html"));
  ASSERT_TRUE(AllLoaded());
  ASSERT_EQ(form->PCT->PageCount(), 3);  // the address typed opens a tab of its own
  EXPECT_GBK_EQ(form->PCT->Pages(1)->Caption(), "网页引擎未能载入");
  EXPECT_GBK_EQ(form->PCT->Pages(2)->Caption(), "网页引擎未能载入");
  EXPECT_GBK_EQ(form->Ptxt->Caption(), "完成");
  EXPECT_EQ(form->RCbbURL->GetText(), server->Url("/p.html"));
  EXPECT_EQ(server->RequestCount("/p.html"), 0);
  UserClick(form->btn4);  // the tool bar's commands do nothing on it
  ProcessEvents();
  EXPECT_FALSE(SaveScreenshot(form, "browser_engine_missing").empty());
}

TEST_F(BrowserEngineTest, WithoutTheEnginesHelperProgramEachTabSaysSoAndTheWindowGoesOn) {
  // A partial install: the helper the engine runs pages in is missing. The engine would end
  // the whole program as it starts.
  const char* was = std::getenv("QTWEBENGINEPROCESS_PATH");
  struct Restore {
    std::optional<std::string> value;
    ~Restore() {
      if (value)
        setenv("QTWEBENGINEPROCESS_PATH", value->c_str(), 1);
      else
        unsetenv("QTWEBENGINEPROCESS_PATH");
      SetWebEngineModuleForTesting("");
    }
  } restore{was ? std::optional<std::string>(was) : std::nullopt};
  setenv("QTWEBENGINEPROCESS_PATH", "/nonexistent/QtWebEngineProcess", 1);
  SetWebEngineModuleForTesting("");  // the next page loads the engine anew
  server->AnswerBody("/p.html", Html("P"));
  form->NewTab(server->Url("/p.html"));
  Enter(server->Url("/p.html"));
  ASSERT_TRUE(AllLoaded());
  ASSERT_EQ(form->PCT->PageCount(), 3);
  EXPECT_GBK_EQ(form->PCT->Pages(1)->Caption(), "网页引擎未能载入");
  EXPECT_GBK_EQ(form->PCT->Pages(2)->Caption(), "网页引擎未能载入");
  EXPECT_GBK_EQ(form->Ptxt->Caption(), "完成");
  EXPECT_EQ(server->RequestCount("/p.html"), 0);
  // The window still answers.
  form->SiteActions.at(1)->Execute();
  ProcessEvents();
  EXPECT_EQ(form->PCT->PageCount(), 4);
  EXPECT_FALSE(SaveScreenshot(form, "browser_engine_helper_missing").empty());
}

TEST_F(BrowserEngineTest, AsRootWithTheEnginesSandboxStillOnEachTabSaysSoAndTheWindowGoesOn) {
  if (geteuid() != 0 && getuid() != 0) GTEST_SKIP() << "only root is refused the sandbox";
  // The start turned the sandbox off; here someone turned it on again before the first page.
  const char* was = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
  struct Restore {
    std::string value;
    ~Restore() {
      setenv("QTWEBENGINE_DISABLE_SANDBOX", value.c_str(), 1);
      SetWebEngineModuleForTesting("");
    }
  } restore{was ? was : "1"};
  unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
  SetWebEngineModuleForTesting("");  // the next page loads the module anew
  server->AnswerBody("/p.html", Html("P"));
  Enter(server->Url("/p.html"));
  ASSERT_TRUE(AllLoaded());
  ASSERT_EQ(form->PCT->PageCount(), 2);
  EXPECT_GBK_EQ(form->PCT->Pages(1)->Caption(), "网页引擎未能载入");
  EXPECT_GBK_EQ(form->Ptxt->Caption(), "完成");
  EXPECT_EQ(server->RequestCount("/p.html"), 0);
  // The window still answers.
  UserClick(form->btn4);
  form->SiteActions.at(1)->Execute();
  ProcessEvents();
  EXPECT_EQ(form->PCT->PageCount(), 3);
  EXPECT_FALSE(SaveScreenshot(form, "browser_engine_root_sandbox").empty());
}

}  // namespace
