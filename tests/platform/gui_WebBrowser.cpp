// The web-browser control over its recording engine.
#include "platform/gui/WebBrowser.h"
#include "tests/support/GuiTest.h"

namespace {

class WebBrowserTest : public WindowTest<> {
 protected:
  TRecordingWebEngine& Recorder(TWebBrowser* b) {
    return dynamic_cast<TRecordingWebEngine&>(b->Engine());
  }
};

TEST_F(WebBrowserTest, CommandsReachTheEngineAndEachControlHasItsOwnHandle) {
  auto* browser = new TWebBrowser(form);
  browser->SetParent(form);
  auto* other = new TWebBrowser(form);
  EXPECT_NE(browser->Handle(), other->Handle());
  browser->Navigate("http://www.zelkar.net/");
  browser->GoBack();
  browser->Refresh();
  EXPECT_EQ(Recorder(browser).calls,
            (std::vector<std::string>{"Navigate http://www.zelkar.net/", "GoBack", "Refresh"}));
  EXPECT_EQ(browser->LocationURL(), "http://www.zelkar.net/");
  EXPECT_FALSE(browser->PrintPreviewEnabled());
}

TEST_F(WebBrowserTest, ANewWindowOpensInTheControlTheHandlerNamesUnlessCancelled) {
  auto* browser = new TWebBrowser(form);
  TWebBrowser* tab = nullptr;
  browser->OnNewWindow2 = [&](TComponent*, TWebBrowser*& target, bool& cancel) {
    if (tab) {
      cancel = true;
      return;
    }
    tab = new TWebBrowser(form);
    target = tab;
  };
  EXPECT_EQ(browser->DoNewWindow("http://a/"), tab);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->LocationURL(), "http://a/");
  EXPECT_EQ(browser->DoNewWindow("http://b/"), nullptr);
  EXPECT_EQ(tab->LocationURL(), "http://a/");

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
}

}  // namespace
