// The embedded web-browser control: navigation, the page's title and address, printing, and
// the events of a page's life. Pages are shown by an engine behind the control, made by the
// installed factory; without one a blank engine stands in, which shows nothing and keeps the
// address it was last sent to. Tests install a recording engine (tests/support).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

class TWebBrowser;

class TWebBrowserEngine {
 public:
  virtual ~TWebBrowserEngine() = default;
  virtual void Navigate(const std::string& url) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void GoHome() = 0;
  virtual void GoSearch() = 0;
  virtual void Refresh() = 0;
  virtual void Stop() = 0;
  virtual void Print() = 0;
  virtual bool PrintPreviewEnabled() const = 0;
  virtual void PrintPreview() = 0;
  virtual void PageSetup() = 0;
  virtual std::string LocationName() const = 0;
  virtual std::string LocationURL() const = 0;
};

// Makes the engine of each new browser control; an empty function restores the default.
using TWebEngineFactory = std::function<std::unique_ptr<TWebBrowserEngine>(TWebBrowser&)>;
void SetWebEngineFactory(TWebEngineFactory factory);

class TWebBrowser : public TWinControl {
 public:
  explicit TWebBrowser(TComponent* AOwner);
  ~TWebBrowser() override;

  // Addresses and texts are GBK.
  void Navigate(const std::string& url);
  void GoBack();
  void GoForward();
  void GoHome();
  void GoSearch();
  void Refresh();
  void Stop();
  void Print();
  bool PrintPreviewEnabled() const;
  void PrintPreview();
  void PageSetup();
  std::string LocationName() const;
  std::string LocationURL() const;
  // A number that names this control for as long as it lives (the window handle it had).
  intptr_t Handle() const { return handle_; }
  TWebBrowserEngine& Engine() { return *engine_; }

  TNotifyEvent OnDownloadBegin;
  TNotifyEvent OnDownloadComplete;
  std::function<void(TComponent* Sender, int Progress, int ProgressMax)> OnProgressChange;
  // A page opens a window: the handler names the control to show it in (or cancels).
  std::function<void(TComponent* Sender, TWebBrowser*& Target, bool& Cancel)> OnNewWindow2;
  std::function<void(TComponent* Sender, const std::string& Url)> OnNavigateComplete2;

  // Engines report through these; each runs its handler inside the exception handler.
  void DoDownloadBegin();
  void DoDownloadComplete();
  void DoProgressChange(int progress, int progressMax);
  // Returns the control that is to show the new window, or nullptr when there is none.
  TWebBrowser* DoNewWindow(const std::string& url);
  void DoNavigateComplete(const std::string& url);

 private:
  std::unique_ptr<TWebBrowserEngine> engine_;
  intptr_t handle_;
};
