// The web-browser control and the blank engine it has without a factory.
#include "platform/gui/WebBrowser.h"

#include <QWidget>
#include <atomic>

#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {
TWebEngineFactory& Factory() {
  static TWebEngineFactory factory;
  return factory;
}
std::atomic<intptr_t> g_nextHandle{0x1000};

// Shows nothing; the page's address is the one it was last sent to, its title empty.
class BlankWebEngine : public TWebBrowserEngine {
 public:
  void Navigate(const std::string& target) override { url_ = target; }
  void GoBack() override {}
  void GoForward() override {}
  void GoHome() override {}
  void GoSearch() override {}
  void Refresh() override {}
  void Stop() override {}
  void Print() override {}
  bool PrintPreviewEnabled() const override { return false; }
  void PrintPreview() override {}
  void PageSetup() override {}
  std::string LocationName() const override { return ""; }
  std::string LocationURL() const override { return url_; }

 private:
  std::string url_;
};
}  // namespace

void SetWebEngineFactory(TWebEngineFactory factory) { Factory() = std::move(factory); }

TWebBrowser::TWebBrowser(TComponent* AOwner) : TWinControl(AOwner), handle_(g_nextHandle++) {
  AttachWidget(new Peer<QWidget>(this));
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 300, 150);
  if (Factory()) engine_ = Factory()(*this);
  if (!engine_) engine_ = std::make_unique<BlankWebEngine>();
}

TWebBrowser::~TWebBrowser() {
  Destroying();
  engine_.reset();  // an engine's pages go before the control's peer
}

void TWebBrowser::Navigate(const std::string& url) { engine_->Navigate(url); }
void TWebBrowser::GoBack() { engine_->GoBack(); }
void TWebBrowser::GoForward() { engine_->GoForward(); }
void TWebBrowser::GoHome() { engine_->GoHome(); }
void TWebBrowser::GoSearch() { engine_->GoSearch(); }
void TWebBrowser::Refresh() { engine_->Refresh(); }
void TWebBrowser::Stop() { engine_->Stop(); }
void TWebBrowser::Print() { engine_->Print(); }
bool TWebBrowser::PrintPreviewEnabled() const { return engine_->PrintPreviewEnabled(); }
void TWebBrowser::PrintPreview() { engine_->PrintPreview(); }
void TWebBrowser::PageSetup() { engine_->PageSetup(); }
std::string TWebBrowser::LocationName() const { return engine_->LocationName(); }
std::string TWebBrowser::LocationURL() const { return engine_->LocationURL(); }

void TWebBrowser::DoDownloadBegin() {
  if (OnDownloadBegin && !IsDestroying()) RunHandler(this, [this] { OnDownloadBegin(this); });
}

void TWebBrowser::DoDownloadComplete() {
  if (OnDownloadComplete && !IsDestroying()) RunHandler(this, [this] { OnDownloadComplete(this); });
}

void TWebBrowser::DoProgressChange(int progress, int progressMax) {
  if (OnProgressChange && !IsDestroying())
    RunHandler(this, [&] { OnProgressChange(this, progress, progressMax); });
}

TWebBrowser* TWebBrowser::DoNewWindow(const std::string& url) {
  if (!OnNewWindow2 || IsDestroying()) return nullptr;
  TWebBrowser* target = nullptr;
  bool cancel = false;
  bool raised = true;
  RunHandler(this, [&] {
    OnNewWindow2(this, target, cancel);
    raised = false;
  });
  if (raised || cancel || !target) return nullptr;
  if (!url.empty()) target->Navigate(url);
  return target;
}

void TWebBrowser::DoNavigateComplete(const std::string& url) {
  if (OnNavigateComplete2 && !IsDestroying())
    RunHandler(this, [&] { OnNavigateComplete2(this, url); });
}
