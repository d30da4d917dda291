// The embedded web-browser control: navigation, the page's title and address, printing, and
// the events of a page's life. Pages are shown by a web engine behind the control (Qt WebEngine,
// in a module of its own); the page is made on first use, so a control that never navigates
// costs no engine, and a program that shows no page never loads it. Tests of
// window logic give the control another engine through SetWebEngineFactory.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Controls.h"

class TWebBrowser;

class TWebBrowserEngine {
 public:
  virtual ~TWebBrowserEngine() = default;
  virtual void Navigate(const std::string& url) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Refresh() = 0;
  virtual void Stop() = 0;
  virtual void Print() = 0;
  virtual bool PrintPreviewEnabled() const = 0;
  virtual void PrintPreview() = 0;
  virtual void PageSetup() = 0;
  virtual std::string LocationName() const = 0;
  virtual std::string LocationURL() const = 0;
};

// Makes the engine of each new browser control; an empty function restores the web engine.
using TWebEngineFactory = std::function<std::unique_ptr<TWebBrowserEngine>(TWebBrowser&)>;
void SetWebEngineFactory(TWebEngineFactory factory);
// The web engine is a module loaded with the first page, from beside the program file or, in
// a build tree, from where the build put it. Tests name another file ("" restores the search);
// the next page loads from there.
void SetWebEngineModuleForTesting(const std::string& path);

class TWebBrowser : public TWinControl {
 public:
  explicit TWebBrowser(TComponent* AOwner);
  ~TWebBrowser() override;

  // Addresses and texts are GBK.
  void Navigate(const std::string& url);
  void GoBack();
  void GoForward();
  // Navigate to HomePage and SearchPage.
  void GoHome();
  void GoSearch();
  void Refresh();
  void Stop();
  // Prints the page on the default printer with the default options.
  void Print();
  bool PrintPreviewEnabled() const;
  void PrintPreview();
  void PageSetup();
  std::string LocationName() const;
  std::string LocationURL() const;
  // A number that names this control for as long as it lives (the window handle it had).
  intptr_t Handle() const { return handle_; }
  TWebBrowserEngine& Engine() { return *engine_; }

  std::string HomePage = "about:blank";
  std::string SearchPage = "about:blank";

  TNotifyEvent OnDownloadBegin;
  TNotifyEvent OnDownloadComplete;
  std::function<void(TComponent* Sender, int Progress, int ProgressMax)> OnProgressChange;
  // A page opens a window at Url (empty when the page did not say where yet): the handler
  // names the control to show it in, or leaves Target empty (or sets Cancel) to refuse it.
  std::function<void(TComponent* Sender, const std::string& Url, TWebBrowser*& Target,
                     bool& Cancel)>
      OnNewWindow2;
  // The page's address changed (a navigation was committed).
  std::function<void(TComponent* Sender, const std::string& Url)> OnNavigateComplete2;

  // Engines report through these; each runs its handler inside the exception handler.
  void DoDownloadBegin();
  void DoDownloadComplete();
  void DoProgressChange(int progress, int progressMax);
  // The control that is to show the new window (its engine then takes the window over), or
  // nullptr when the handler refused it.
  TWebBrowser* DoNewWindow(const std::string& url);
  void DoNavigateComplete(const std::string& url);

 private:
  std::unique_ptr<TWebBrowserEngine> engine_;
  intptr_t handle_;
};
