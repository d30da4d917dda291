// Tabs of the browser window: names, captions, the current tab's commands, switching and
// closing, the status bar and tray while pages load, and pop-ups.
#include <algorithm>

#include "browser/logic/SiteList.h"
#include "gifkit/GkAnimator.h"
#include "tests/browser/BrowserFixture.h"

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

using Calls = std::vector<std::string>;

TEST_F(BrowserTest, TheWindowOpensOnTheWelcomePageWithItsControls) {
  EXPECT_GBK_EQ(form->Caption(), "Zelkar专用浏览器2.2.1(双击页面标签可以关闭该页)");
  EXPECT_EQ(form->PCT->PageCount(), 1);
  EXPECT_EQ(form->PCT->ActivePage(), form->TabSheet1);
  EXPECT_GBK_EQ(form->TabSheet1->Caption(), "欢迎使用Zelkar易学浏览器");
  EXPECT_EQ(form->PCT->TabHeight(), 18);
  EXPECT_EQ(form->GkGIFAnimator1->Width(), 200);
  EXPECT_EQ(form->GkGIFAnimator1->Height(), 200);
  EXPECT_GT(form->GkGIFAnimator1->Image().Count(), 1);  // a turning coin
  EXPECT_TRUE(form->GkGIFAnimator1->Animate());
  // Centred across the window, also after a resize.
  form->SetWidth(900);
  ProcessEvents();
  for (TControl* c : {static_cast<TControl*>(form->lbl1), static_cast<TControl*>(form->img1),
                      static_cast<TControl*>(form->GkGIFAnimator1)})
    EXPECT_EQ(c->Left(), (900 - c->Width()) / 2) << c->Name();
  EXPECT_EQ(form->RCbbURL->Items().Count(), 11);
  EXPECT_EQ(form->FindComponent("Action10"), nullptr);
  EXPECT_EQ(form->FindComponent("Action42"), nullptr);
  EXPECT_EQ(form->FindComponent("Action75"), nullptr);
  EXPECT_EQ(form->FindComponent("Action76"), nullptr);
  EXPECT_EQ(form->pb->Orientation(), pbVertical);
  EXPECT_FALSE(SaveScreenshot(form, "browser_welcome").empty());
}

// Pixels of a grabbed control: how many are coloured (not a grey) inside r.
int ColouredPixels(TBitmap& picture, const TRect& r) {
  int coloured = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const TColor c = picture.Canvas().Pixel(x, y);
      const int red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
      if (std::max({red, green, blue}) - std::min({red, green, blue}) > 40) ++coloured;
    }
  return coloured;
}

TEST_F(BrowserTest, ToolButtonsShowPicturesOfTheirOwnGreyedWhenDisabledWithTheirWordsAsHints) {
  const std::vector<TWkToolButton*> buttons = {form->btn1, form->btn2, form->btn3, form->btn4,
                                               form->btn5, form->btn6, form->btn7, form->btn8};
  const std::vector<std::string> words = {"后退", "前进", "停止", "刷新",
                                          "主页", "搜索", "收藏", "打印"};
  std::vector<std::vector<TColor>> seen;
  for (size_t i = 0; i < buttons.size(); ++i) {
    TWkToolButton* b = buttons[i];
    EXPECT_GBK_EQ(b->Hint(), words[i]);
    EXPECT_TRUE(b->ShowHint());
    EXPECT_GBK_EQ(b->Caption(), words[i]);
    // Its picture is drawn, in colour, where the button puts its image.
    TRect image, text;
    b->CalcLayout(image, text);
    EXPECT_EQ(image.Width(), 16) << U8(words[i]);
    EXPECT_LE(image.Right, text.Left) << U8(words[i]);  // beside its word, not over it
    const auto up = GrabControl(b);
    EXPECT_GT(ColouredPixels(*up, image), 4) << U8(words[i]);
    std::vector<TColor> pixels;
    for (int y = image.Top; y < image.Bottom; ++y)
      for (int x = image.Left; x < image.Right; ++x) pixels.push_back(up->Canvas().Pixel(x, y));
    for (const auto& other : seen) EXPECT_NE(pixels, other) << U8(words[i]) << " twice";
    seen.push_back(pixels);
    // Disabled, the same picture greyed.
    b->SetEnabled(false);
    const auto disabled = GrabControl(b);
    b->SetEnabled(true);
    EXPECT_EQ(ColouredPixels(*disabled, image), 0) << U8(words[i]);
    int drawn = 0;
    for (int y = image.Top; y < image.Bottom; ++y)
      for (int x = image.Left; x < image.Right; ++x)
        if (disabled->Canvas().Pixel(x, y) != up->Canvas().Pixel(x, y)) ++drawn;
    EXPECT_GT(drawn, 10) << U8(words[i]);
  }
  // The bar's list: the eight pictures, then their disabled forms.
  ASSERT_NE(form->ilTools, nullptr);
  EXPECT_EQ(form->wktlbr1->Images(), form->ilTools);
  EXPECT_EQ(form->ilTools->Count(), 16);
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]->ImageIndex(), static_cast<int>(i));
    EXPECT_EQ(buttons[i]->DisabledIndex(), static_cast<int>(i) + 8);
  }
}

TEST_F(BrowserTest, TheTenSiteButtonsCaptionsFitTheirButtons) {
  for (TWkToolButton* b : form->WkToolButtons) {
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Width(), 58);
    EXPECT_EQ(b->Height(), 20);
    TBitmap measure;
    measure.Canvas().SetFont(*b->Font());
    // The button keeps two pixels of its face on either side of its caption.
    EXPECT_LE(measure.Canvas().TextWidth(b->Caption()), b->Width() - 6) << U8(b->Caption());
    EXPECT_LE(measure.Canvas().TextHeight(b->Caption()), b->Height() - 4) << U8(b->Caption());
  }
}

TEST_F(BrowserTest, TheWelcomeCoinIsDrawnWhenTheWindowFirstShows) {
  Free();  // made as at the program's start, where it stays hidden
  SetProgramFolderForTesting(folder.Path());
  form = NewForm<TMainForm>(nullptr);
  SetProgramFolderForTesting("");
  EXPECT_EQ(form->GkGIFAnimator1->Image().Count(), 0);
  EXPECT_TRUE(form->GkGIFAnimator1->Animate());
  // Centred as it opens, at the size it was made with: no window manager need resize it.
  std::vector<int> offCentre;
  const TNotifyEvent showCoin = form->OnShow;
  form->OnShow = [&](TComponent* sender) {
    for (TControl* c : {static_cast<TControl*>(form->lbl1), static_cast<TControl*>(form->img1),
                        static_cast<TControl*>(form->GkGIFAnimator1)})
      offCentre.push_back(c->Left() - (form->Width() - c->Width()) / 2);
    showCoin(sender);
  };
  form->Show();
  EXPECT_EQ(offCentre, (std::vector<int>{0, 0, 0}));
  ProcessEvents();
  const int frames = form->GkGIFAnimator1->Image().Count();
  EXPECT_GT(frames, 1);
  form->Hide();
  form->Show();
  EXPECT_EQ(form->GkGIFAnimator1->Image().Count(), frames);
}

TEST_F(BrowserTest, TabsAreNumberedInOrderAndNeverReuseANumber) {
  UserClick(form->WkToolButtons[0]);  // the first button runs Action2
  ASSERT_EQ(form->PCT->PageCount(), 2);
  TTabs* first = Active();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Name(), "REZTab1");
  EXPECT_EQ(first->TabName, "REZTab1");
  EXPECT_EQ(form->CurrentTab, first);
  EXPECT_GBK_EQ(first->Caption(), "请稍候...");
  EXPECT_EQ(Page(first).calls, (Calls{"Navigate " + std::string(FindSiteEntry(2)->Address)}));
  EXPECT_EQ(form->RCbbURL->GetText(), FindSiteEntry(2)->Address);

  // The same entry again opens a tab of its own.
  UserClick(form->WkToolButtons[0]);
  EXPECT_EQ(Active()->Name(), "REZTab2");
  form->PCTDblClick(form->PCT);
  EXPECT_EQ(form->PCT->PageCount(), 2);
  form->PCT->SetActivePage(first);
  form->PCTDblClick(form->PCT);
  EXPECT_EQ(form->PCT->PageCount(), 1);
  EXPECT_EQ(form->CurrentTab, nullptr);
  form->SiteActions.at(41)->Execute();
  EXPECT_EQ(Active()->Name(), "REZTab3");
  EXPECT_EQ(Page(Active()).url, FindSiteEntry(41)->Address);
}

TEST_F(BrowserTest, TitlesOfThirtyCharactersShowWholeLongerOnesAreCut) {
  form->NewTab("http://a/");
  TTabs* tab = Active();
  Finish(tab, Repeat("页", 30));
  EXPECT_GBK_EQ(tab->Caption(), Repeat("页", 30));
  EXPECT_GBK_EQ(form->Caption(), "Zelkar易学浏览器  " + Repeat("页", 30));
  Finish(tab, Repeat("页", 31));
  EXPECT_GBK_EQ(tab->Caption(), Repeat("页", 10) + "...");
}

// A page's title is text: its '&' shows on the tab and underlines nothing, a four-byte
// character shows whole; the window's caption and the favourite offered for it keep the title.
TEST_F(BrowserTest, TitlesShowTheirAmpersandsAndFourByteCharactersAsTheyAre) {
  form->NewTab("http://amp/");
  TTabs* amp = Active();
  Finish(amp, "&😀");
  form->NewTab("http://q/");
  TTabs* q = Active();
  Finish(q, "Q&😀x");
  form->NewTab("http://long/");
  Finish(Active(), "&" + Repeat("😀", 40));  // cut to ten characters, the '&' one of them
  EXPECT_GBK_EQ(form->Caption(), "Zelkar易学浏览器  &" + Repeat("😀", 40));
  EXPECT_NE(SaveScreenshot(form, "browser-tab-titles-four-byte"), "");
  {
    TTextRecorder recorder(6, 13);
    form->PCT->PaintOffscreen();
    std::vector<std::string> drawn;
    for (const TTextRecord& r : recorder.Records()) {
      EXPECT_FALSE(r.FontStyle & fsUnderline) << U8(r.Text);
      drawn.push_back(U8(r.Text));
    }
    for (const std::string& shown :
         std::vector<std::string>{"&😀", "Q&😀x", "&" + Repeat("😀", 9) + "..."})
      EXPECT_NE(std::find(drawn.begin(), drawn.end(), U8(shown)), drawn.end()) << U8(shown);
  }

  form->PCT->SetActivePage(amp);
  form->PCTChange(form->PCT);
  EXPECT_GBK_EQ(form->Caption(), "Zelkar易学浏览器  &😀");
  dialogs().AnswerModal([&](TForm&) { EXPECT_GBK_EQ(addForm->REDTName->GetText(), "&😀"); });
  UserChoose(form->N1);
}

TEST_F(BrowserTest, ToolButtonsCommandTheCurrentTabAndNothingOnceItIsClosed) {
  form->NewTab("http://a/");
  TTabs* tab = Active();
  for (TWkToolButton* b : {form->btn1, form->btn2, form->btn3, form->btn4, form->btn5, form->btn6})
    UserClick(b);
  EXPECT_EQ(Page(tab).calls,
            (Calls{"Navigate http://a/", "GoBack", "GoForward", "Stop", "Refresh",
                   "Navigate " + HomePageAddress(""), "Navigate " + SearchPageAddress("")}));
  std::string result;
  tab->DoCommand(8, result);
  EXPECT_EQ(result, std::to_string(tab->Browser->Handle()));
  tab->DoCommand(10, result);  // no preview offered: nothing
  Page(tab).previewEnabled = true;
  tab->DoCommand(10, result);
  tab->DoCommand(9, result);
  tab->DoCommand(11, result);
  EXPECT_EQ(Page(tab).calls.back(), "PageSetup");
  EXPECT_EQ(Page(tab).calls[Page(tab).calls.size() - 3], "PrintPreview");

  // Double clicks on the welcome page close nothing.
  form->PCT->SetActivePage(form->TabSheet1);
  form->PCTChange(form->PCT);
  EXPECT_EQ(form->RCbbURL->GetText(), "");
  form->PCTDblClick(form->PCT);
  EXPECT_EQ(form->PCT->PageCount(), 2);

  // Closing the last browser tab: the welcome page, an empty address box, idle buttons.
  form->PCT->SetActivePage(tab);
  form->PCTChange(form->PCT);
  EXPECT_EQ(form->RCbbURL->GetText(), SearchPageAddress(""));  // where search went
  UserDoubleClick(form->PCT);
  EXPECT_EQ(form->PCT->PageCount(), 1);
  EXPECT_EQ(form->PCT->ActivePage(), form->TabSheet1);
  EXPECT_EQ(form->RCbbURL->GetText(), "");
  EXPECT_EQ(form->CurrentTab, nullptr);
  UserClick(form->btn1);
  form->CurrentTabCommand(7);
  EXPECT_EQ(form->CmdResult, "");
}

TEST_F(BrowserTest, ABackgroundPageNeverTakesTheAddressBoxButKeepsItsCaptionUpToDate) {
  form->NewTab("http://front/");
  TTabs* front = Active();
  form->NewTab("http://back/");
  TTabs* back = Active();
  form->PCT->SetActivePage(front);
  form->PCTChange(form->PCT);
  EXPECT_EQ(form->CurrentTabName, "REZTab1");
  form->RCbbURL->SetText("");
  UserType(form->RCbbURL, "half typed");
  Finish(back, "B");
  EXPECT_EQ(form->RCbbURL->GetText(), "half typed");
  EXPECT_EQ(back->Caption(), "B");
  Finish(front, "F");
  EXPECT_EQ(form->RCbbURL->GetText(), "http://front/");
}

TEST_F(BrowserTest, LoadingShowsInTheStatusBarTheProgressBarAndTheTray) {
  form->NewTab("http://a/");
  TTabs* tab = Active();
  tab->Browser->DoDownloadBegin();
  EXPECT_GBK_EQ(form->Ptxt->Caption(), "连接中...");
  EXPECT_TRUE(form->WkTrayIcon1->Animate());
  tab->Browser->DoProgressChange(30, 200);
  EXPECT_EQ(form->pb->Max(), 200);
  EXPECT_EQ(form->pb->Position(), 30);
  tab->Browser->DoDownloadComplete();
  EXPECT_GBK_EQ(form->Ptxt->Caption(), "完成");
  EXPECT_FALSE(form->WkTrayIcon1->Animate());
}

TEST_F(BrowserTest, EachWebPopupOpensOneTabAndOthersNone) {
  form->NewTab("http://opener/");
  TTabs* opener = Active();
  // http and https in any case; the address is known, so no window of its own.
  EXPECT_EQ(opener->Browser->DoNewWindow("https://secure/"), nullptr);
  EXPECT_EQ(Active()->Name(), "REZTab2");
  EXPECT_EQ(Page(Active()).url, "https://secure/");
  EXPECT_EQ(opener->Browser->DoNewWindow("HTTP://LOUD/"), nullptr);
  EXPECT_EQ(Active()->Name(), "REZTab3");
  for (const char* refused : {"ftp://files/", "javascript:void(0)", "file:///etc/passwd"})
    EXPECT_EQ(opener->Browser->DoNewWindow(refused), nullptr) << refused;
  // One equal to the address box opens nothing.
  EXPECT_EQ(opener->Browser->DoNewWindow(form->RCbbURL->GetText()), nullptr);
  EXPECT_EQ(form->PCT->PageCount(), 4);

  // Without an address a hidden page takes the window until it names one, then goes.
  TWebBrowser* hidden = opener->Browser->DoNewWindow("");
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(hidden->Visible());
  EXPECT_EQ(form->HiddenPageCount(), 1);
  hidden->DoNavigateComplete("about:blank");
  EXPECT_EQ(form->PCT->PageCount(), 4);
  hidden->DoNavigateComplete("http://written/");
  EXPECT_EQ(Active()->Name(), "REZTab4");
  EXPECT_EQ(Page(Active()).url, "http://written/");
  EXPECT_EQ(RecordingWebEngines::Of(hidden).calls, (Calls{"Stop"}));
  ProcessEvents();
  EXPECT_EQ(form->HiddenPageCount(), 0);

  // One that never names a web address goes with its timer.
  ASSERT_NE(opener->Browser->DoNewWindow(""), nullptr);
  EXPECT_EQ(form->HiddenPageCount(), 1);
  EXPECT_TRUE(FireTimer(form->HiddenPageTimer(0)));
  EXPECT_EQ(form->HiddenPageCount(), 0);
  EXPECT_EQ(form->PCT->PageCount(), 5);
}

TEST_F(BrowserTest, EachBlankPopupGoesAtItsOwnDeadlineNotWhenTheNextOneOpens) {
  form->NewTab("http://opener/");
  TTabs* opener = Active();
  // A page that opens a blank window every few seconds.
  TWebBrowser* first = opener->Browser->DoNewWindow("");
  TWebBrowser* second = opener->Browser->DoNewWindow("");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(form->HiddenPageCount(), 2);
  TTimer* firstDeadline = form->HiddenPageTimer(0);
  TTimer* secondDeadline = form->HiddenPageTimer(1);
  ASSERT_NE(firstDeadline, secondDeadline);
  EXPECT_EQ(static_cast<int>(firstDeadline->Interval()), TMainForm::kHiddenPageLifeMs);
  EXPECT_TRUE(firstDeadline->Enabled());

  // The first one's time is up: it goes, the later one keeps its own time.
  EXPECT_TRUE(FireTimer(firstDeadline));
  ProcessEvents();
  ASSERT_EQ(form->HiddenPageCount(), 1);
  EXPECT_EQ(form->HiddenPageTimer(0), secondDeadline);
  EXPECT_TRUE(secondDeadline->Enabled());
  TWebBrowser* third = opener->Browser->DoNewWindow("");
  ASSERT_NE(third, nullptr);
  EXPECT_TRUE(FireTimer(secondDeadline));
  ProcessEvents();
  ASSERT_EQ(form->HiddenPageCount(), 1);

  // One that names its address first goes at once, its timer with it.
  third->DoNavigateComplete("http://late/");
  ProcessEvents();
  EXPECT_EQ(form->HiddenPageCount(), 0);
  EXPECT_EQ(Page(Active()).url, "http://late/");
}

}  // namespace
