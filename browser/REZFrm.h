// The browser window: every page in a tab of its own, a tool bar for the current tab, the
// address box with its history, favourites kept in UloConfig.ini, the built-in sites, a status
// bar with a progress bar and clock, a tray icon that turns while a page loads, and the same
// online update as the workbench with its progress in the caption.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browser/logic/BrowserSettings.h"
#include "platform/Exceptions.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/WebBrowser.h"
#include "widgets/WkCmboBx.h"
#include "widgets/WkPageControl.h"
#include "widgets/WkPanel.h"
#include "widgets/WkStatus.h"
#include "widgets/WkToolbar.h"
#include "widgets/WkTray.h"

class TGkGIFAnimator;
class TMainForm;

// A page of the browser: one web-browser control that fills it.
class TTabs : public TWkTabSheet {
 public:
  TTabs(TMainForm* AOwner, int N, const std::string& URL);
  ~TTabs() override;
  // Runs tab command Code (0 back, 1 forward, 2 home, 3 search, 4 refresh, 5 stop, 6 title,
  // 7 address, 8 handle, 9 print, 10 print preview, 11 page set-up); what the browser raises
  // is swallowed.
  void DoCommand(int Code, std::string& Result);

  TWebBrowser* Browser = nullptr;
  std::string TabName;
};

class TMainForm : public TForm {
 public:
  explicit TMainForm(TComponent* AOwner);
  ~TMainForm() override;

  TWkPanel* RP1;
  TWkToolbar* wktlbr1;
  TWkToolButton *btn1, *btn2, *btn3, *btn4, *btn5, *btn6, *btn7, *btn8;
  TWkSpacer *wkspcr1, *wkspcr2;
  // The tool bar's pictures: btn1 to btn8 in order, then their disabled forms.
  TImageList* ilTools;
  TWkComboBox* RCbbURL;
  std::array<TWkToolButton*, 10> WkToolButtons{};  // WkToolButton1 to WkToolButton10
  TWkPageControl* PCT;
  TWkTabSheet* TabSheet1;
  TWkPanel* pnl1;
  TImage* img1;
  TGkGIFAnimator* GkGIFAnimator1;
  TLabel* lbl1;
  TWkStatusBar* RSB;
  TWkStatusPane* Ptxt;
  TWkKeyStatus* RKS;
  TProgressBar* pb;
  TWkClockStatus* RClockS;
  TWkTrayIcon* WkTrayIcon1;
  TImageList* il;
  TMainMenu* MainMenu1;
  TPopupMenu* pm;
  TPopupMenu* pmPrt;
  TMenuItem *N1, *N2, *N109;
  TActionList* ActionList1;
  TAction* Action77;
  TAction* Action78;
  // The site actions by number (Action1 to Action74 less 10 and 42).
  std::map<int, TAction*> SiteActions;

  // The tab last created (nullptr once it is closed); commands go to CurrentTabName.
  TTabs* CurrentTab = nullptr;
  int TabCounter = 0;
  std::string CurrentTabName;
  std::string CmdResult;

  void NewTab(const std::string& URL);
  void CurrentTabCommand(int Code);
  // The favourites menu gets an item of that caption for the favourite listed last.
  void AddFavouriteMenuItem(const std::string& Name);
  // Stores a favourite from the dialog and gives it its menu item.
  void AddFavourite(const std::string& Name, const std::string& URL);
  void LoadConfig();
  // Where UloConfig.ini lives (the program's folder); tests point it elsewhere.
  std::string ConfigFolder;

  void btn1Click(TComponent* Sender);
  void btn2Click(TComponent* Sender);
  void btn3Click(TComponent* Sender);
  void btn4Click(TComponent* Sender);
  void btn5Click(TComponent* Sender);
  void btn6Click(TComponent* Sender);
  void PCTChange(TComponent* Sender);
  void PCTDblClick(TComponent* Sender);
  void FormCreate(TComponent* Sender);
  void FormResize(TComponent* Sender);
  void FormDestroy(TComponent* Sender);
  void RCbbURLKeyDown(TComponent* Sender, uint16_t& Key, TShiftState Shift);
  void N1Click(TComponent* Sender);
  void ClickPop(TComponent* Sender);
  void Action77Execute(TComponent* Sender);
  void Action78Execute(TComponent* Sender);
  void N109Click(TComponent* Sender);

  // Browser events of the tabs (the tab is the sender's owner).
  void BrowserDownloadBegin(TComponent* Sender);
  void BrowserDownloadComplete(TComponent* Sender);
  void BrowserProgressChange(TComponent* Sender, int Progress, int ProgressMax);
  void BrowserNewWindow(TComponent* Sender, const std::string& URL, TWebBrowser*& Target,
                        bool& Cancel);
  // A hidden page that took a window opened without an address got one.
  void HiddenNavigateComplete(TComponent* Sender, const std::string& URL);
  // A hidden page that never got a web address (a window a script wrote into) goes this long
  // after it was opened.
  static constexpr int kHiddenPageLifeMs = 10000;
  int HiddenPageCount() const { return static_cast<int>(hiddenPages_.size()); }
  // The timer that frees hidden page `index` (in the order they were opened), or nullptr.
  TTimer* HiddenPageTimer(int index) const;

 private:
  void BuildToolbar();
  void BuildWelcomePage();
  // The welcome page's turning coin is drawn when the window first shows: the window is made at
  // start but mostly never shown, and drawing the coin's frames is the slowest part of making it.
  void ShowWelcomeCoin(TComponent* Sender);
  void BuildStatusBar();
  void BuildMenus();
  // Runs a write of the settings file; the first failure of a run is told, later ones not.
  void WriteConfig(const std::function<void()>& write);
  // Tells the user, once a run, why the settings file goes unsaved.
  void TellConfigFailure(const Exception& failure);
  void FreeHiddenPage(TWebBrowser* page);
  void OpenPopup(const std::string& URL);
  bool configFailureTold_ = false;
  std::unique_ptr<TBrowserSettings> settings_;
  // The favourites' menu items, in the order of the settings' favourites.
  std::vector<TMenuItem*> favouriteItems_;
  std::unique_ptr<TImageList> ilFrames_;
  std::unique_ptr<TImageList> ilToolsOwned_;
  // Calls queued for later see whether the window still lives.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  struct HiddenPage {
    TWebBrowser* page;
    TTimer* deadline;
  };
  std::vector<HiddenPage> hiddenPages_;
};

extern TMainForm* MainForm;
