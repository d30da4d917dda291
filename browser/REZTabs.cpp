// The browser's tabs: opening, commands to the current tab, the pages' events, pop-ups, and
// switching and closing tabs.
#include <algorithm>

#include "browser/REZFrm.h"
#include "browser/logic/BrowserRules.h"
#include "browser/logic/SiteList.h"
#include "platform/Numbers.h"

TTabs::TTabs(TMainForm* AOwner, int N, const std::string& URL)
    : TWkTabSheet(AOwner), TabName("REZTab" + IntToStr(N)) {
  SetName(TabName);
  SetCaption("请稍候...");
  Browser = new TWebBrowser(this);
  Browser->SetParent(this);
  Browser->SetAlign(alClient);
  Browser->HomePage = HomePageAddress(ZELKAR_BROWSER_HOME_PAGE);  // the build may name others
  Browser->SearchPage = SearchPageAddress(ZELKAR_BROWSER_SEARCH_PAGE);
  Browser->OnDownloadBegin = Handler(AOwner, &TMainForm::BrowserDownloadBegin);
  Browser->OnDownloadComplete = Handler(AOwner, &TMainForm::BrowserDownloadComplete);
  Browser->OnProgressChange = [AOwner](TComponent* sender, int progress, int progressMax) {
    AOwner->BrowserProgressChange(sender, progress, progressMax);
  };
  Browser->OnNewWindow2 = [AOwner](TComponent* sender, const std::string& url, TWebBrowser*& target,
                                   bool& cancel) {
    AOwner->BrowserNewWindow(sender, url, target, cancel);
  };
  Browser->Navigate(URL);
}

TTabs::~TTabs() {
  delete Browser;
  Browser = nullptr;
}

void TTabs::DoCommand(int Code, std::string& Result) {
  Result.clear();
  try {
    switch (Code) {
      case 0:
        Browser->GoBack();
        break;
      case 1:
        Browser->GoForward();
        break;
      case 2:
        Browser->GoHome();
        break;
      case 3:
        Browser->GoSearch();
        break;
      case 4:
        Browser->Refresh();
        break;
      case 5:
        Browser->Stop();
        break;
      case 6:
        Result = Browser->LocationName();
        break;
      case 7:
        Result = Browser->LocationURL();
        break;
      case 8:
        Result = IntToStr(Browser->Handle());
        break;
      case 9:
        Browser->Print();
        break;
      case 10:
        if (Browser->PrintPreviewEnabled()) Browser->PrintPreview();
        break;
      case 11:
        Browser->PageSetup();
        break;
      default:
        break;
    }
  } catch (...) {
    // A page that cannot do it now simply does not.
    Result.clear();
  }
}

void TMainForm::NewTab(const std::string& URL) {
  ++TabCounter;
  CurrentTab = new TTabs(this, TabCounter, URL);
  CurrentTab->SetPageControl(PCT);
  PCT->SetActivePage(CurrentTab);
  CurrentTab->Realign();  // the page has its size only now: the browser fills it
  // Commands and the address box follow the page the user sees.
  PCTChange(PCT);
}

void TMainForm::CurrentTabCommand(int Code) {
  CmdResult.clear();
  if (CurrentTabName.empty()) return;
  if (auto* tab = dynamic_cast<TTabs*>(FindComponent(CurrentTabName)))
    tab->DoCommand(Code, CmdResult);
}

namespace {
TTabs* TabOf(TComponent* sender) {
  return sender ? dynamic_cast<TTabs*>(sender->Owner()) : nullptr;
}
}  // namespace

void TMainForm::BrowserDownloadBegin(TComponent*) {
  WkTrayIcon1->SetAnimate(true);
  Ptxt->SetCaption("连接中...");
}

void TMainForm::BrowserDownloadComplete(TComponent* Sender) {
  WkTrayIcon1->SetAnimate(false);
  Ptxt->SetCaption("完成");
  TTabs* tab = TabOf(Sender);
  if (!tab) return;
  std::string title;
  tab->DoCommand(6, title);
  tab->SetCaption(TabCaption(title));
  // A page finishing behind the one shown leaves the address box to the user.
  if (PCT->ActivePage() != tab) return;
  std::string address;
  tab->DoCommand(7, address);
  RCbbURL->SetText(address);
  if (!title.empty()) SetCaption("Zelkar易学浏览器  " + title);
}

void TMainForm::BrowserProgressChange(TComponent*, int Progress, int ProgressMax) {
  pb->SetMax(ProgressMax);
  pb->SetPosition(Progress);
}

void TMainForm::OpenPopup(const std::string& URL) {
  if (IsWebAddress(URL) && URL != RCbbURL->GetText()) NewTab(URL);
}

void TMainForm::BrowserNewWindow(TComponent*, const std::string& URL, TWebBrowser*& Target,
                                 bool& Cancel) {
  if (!URL.empty()) {
    // The address is known: the pop-up becomes a tab and no window of its own.
    Cancel = true;
    OpenPopup(URL);
    return;
  }
  // The page has not said where the window goes: a hidden page takes it until it does.
  auto* page = new TWebBrowser(this);
  page->SetVisible(false);
  page->OnNavigateComplete2 = [this](TComponent* sender, const std::string& url) {
    HiddenNavigateComplete(sender, url);
  };
  // Its own deadline: a page opening a blank window every few seconds must not keep the
  // earlier ones alive.
  auto* deadline = new TTimer(this);
  deadline->SetInterval(kHiddenPageLifeMs);
  deadline->OnTimer = [this, page](TComponent*) { FreeHiddenPage(page); };
  hiddenPages_.push_back({page, deadline});
  deadline->SetEnabled(true);
  Target = page;
}

void TMainForm::HiddenNavigateComplete(TComponent* Sender, const std::string& URL) {
  auto* page = dynamic_cast<TWebBrowser*>(Sender);
  if (!page || !IsWebAddress(URL)) return;
  page->OnNavigateComplete2 = nullptr;  // its first web address only
  page->Stop();
  OpenPopup(URL);
  // Freed once its own event is over.
  Application->QueueCall([this, page, alive = std::weak_ptr<bool>(alive_)] {
    if (alive.lock()) FreeHiddenPage(page);
  });
}

void TMainForm::FreeHiddenPage(TWebBrowser* page) {
  auto found = std::find_if(hiddenPages_.begin(), hiddenPages_.end(),
                            [page](const HiddenPage& hidden) { return hidden.page == page; });
  if (found == hiddenPages_.end()) return;
  const HiddenPage hidden = *found;
  hiddenPages_.erase(found);
  delete page;
  // Its timer may be the one running this: it goes once the timer's event is over.
  hidden.deadline->SetEnabled(false);
  Application->QueueCall([deadline = hidden.deadline, alive = std::weak_ptr<bool>(alive_)] {
    if (alive.lock()) delete deadline;
  });
}

TTimer* TMainForm::HiddenPageTimer(int index) const {
  if (index < 0 || index >= HiddenPageCount()) return nullptr;
  return hiddenPages_[static_cast<size_t>(index)].deadline;
}

void TMainForm::PCTChange(TComponent*) {
  const int index = PCT->ActivePageIndex();
  if (index <= 0) {
    RCbbURL->SetText("");
    return;
  }
  CurrentTabName = PCT->Pages(index)->Name();
  CurrentTabCommand(6);
  if (!CmdResult.empty()) SetCaption("Zelkar易学浏览器  " + CmdResult);
  CurrentTabCommand(7);
  if (!CmdResult.empty()) RCbbURL->SetText(CmdResult);
}

void TMainForm::PCTDblClick(TComponent*) {
  if (PCT->ActivePageIndex() <= 0) return;  // the welcome page stays
  TWkTabSheet* page = PCT->ActivePage();
  if (page == CurrentTab) CurrentTab = nullptr;
  // The welcome page comes forward; commands keep naming the closed tab, so they do nothing
  // until the user picks a page.
  TNotifyEvent onChange = std::move(PCT->OnChange);
  PCT->OnChange = nullptr;
  delete page;
  PCT->SetActivePage(TabSheet1);
  PCT->OnChange = std::move(onChange);
  RCbbURL->SetText("");
}
