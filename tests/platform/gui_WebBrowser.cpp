// The web-browser control over a recording engine: commands reach the engine, its reports
// reach the handlers.
#include "platform/gui/WebBrowser.h"
#include "tests/support/GuiTest.h"
#include "tests/support/RecordingWebEngine.h"

namespace {

class WebBrowserTest : public WindowTest<> {
 protected:
  TRecordingWebEngine& Recorder(TWebBrowser* b) { return RecordingWebEngines::Of(b); }
  RecordingWebEngines engines;
};

TEST_F(WebBrowserTest, CommandsReachTheEngineAndEachControlHasItsOwnHandle) {
  auto* browser = new TWebBrowser(form);
  browser->SetParent(form);
  auto* other = new TWebBrowser(form);
  EXPECT_NE(browser->Handle(), other->Handle());
  browser->Navigate("http://www.zelkar.net/");
  browser->GoBack();
  browser->Refresh();
  browser->SearchPage = "http://search/";
  browser->GoHome();
  browser->GoSearch();
  EXPECT_EQ(Recorder(browser).calls,
            (std::vector<std::string>{"Navigate http://www.zelkar.net/", "GoBack", "Refresh",
                                      "Navigate about:blank", "Navigate http://search/"}));
  EXPECT_EQ(browser->LocationURL(), "http://search/");
  EXPECT_FALSE(browser->PrintPreviewEnabled());
}

TEST_F(WebBrowserTest, ANewWindowGoesToTheControlTheHandlerNamesUnlessCancelled) {
  auto* browser = new TWebBrowser(form);
  TWebBrowser* tab = nullptr;
  std::vector<std::string> asked;
  browser->OnNewWindow2 = [&](TComponent*, const std::string& url, TWebBrowser*& target,
                              bool& cancel) {
    asked.push_back(url);
    if (tab) {
      target = tab;
      cancel = true;
      return;
    }
    tab = new TWebBrowser(form);
    target = tab;
  };
  EXPECT_EQ(browser->DoNewWindow("http://a/"), tab);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(browser->DoNewWindow(""), nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"http://a/", ""}));

  std::vector<std::string> events;
  browser->OnDownloadBegin = [&](TComponent*) { events.push_back("begin"); };
  browser->OnProgressChange = [&](TComponent*, int p, int max) {
    events.push_back(std::to_string(p) + "/" + std::to_string(max));
  };
  browser->OnNavigateComplete2 = [&](TComponent*, const std::string& url) {
    events.push_back(url);
    throw Exception("page handler failed");
  };
  dialogs().AnswerMessage();
  browser->DoDownloadBegin();
  browser->DoProgressChange(50, 100);
  browser->DoNavigateComplete("http://a/");
  browser->DoDownloadComplete();  // no handler: nothing happens
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "50/100", "http://a/"}));
  EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"page handler failed"}));

  browser->OnNewWindow2 = [&](TComponent*, const std::string&, TWebBrowser*&, bool&) {
    throw Exception("refused");
  };
  dialogs().AnswerMessage();
  EXPECT_EQ(browser->DoNewWindow("http://b/"), nullptr);
}

}  // namespace
