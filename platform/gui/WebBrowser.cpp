// The web-browser control: the commands go to its engine, the engine's reports come back as
// the control's events.
#include "platform/gui/WebBrowser.h"

#include <QWidget>
#include <atomic>

#include "platform/gui/QtPeer.h"
#include "platform/gui/WebEngineView.h"

using namespace zgui;

namespace {
TWebEngineFactory& Factory() {
  static TWebEngineFactory factory;
  return factory;
}
std::atomic<intptr_t> g_nextHandle{0x1000};
}  // namespace

void SetWebEngineFactory(TWebEngineFactory factory) { Factory() = std::move(factory); }

TWebBrowser::TWebBrowser(TComponent* AOwner) : TWinControl(AOwner), handle_(g_nextHandle++) {
  AttachWidget(new Peer<QWidget>(this));
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 300, 150);
  if (Factory()) engine_ = Factory()(*this);
  if (!engine_) engine_ = MakeWebEngineView(*this);
}

TWebBrowser::~TWebBrowser() {
  Destroying();
  engine_.reset();  // an engine's pages go before the control's peer
}

void TWebBrowser::Navigate(const std::string& url) { engine_->Navigate(url); }
void TWebBrowser::GoBack() { engine_->GoBack(); }
void TWebBrowser::GoForward() { engine_->GoForward(); }
void TWebBrowser::GoHome() { engine_->Navigate(HomePage); }
void TWebBrowser::GoSearch() { engine_->Navigate(SearchPage); }
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
    OnNewWindow2(this, url, target, cancel);
    raised = false;
  });
  if (raised || cancel || !target || target->IsDestroying()) return nullptr;
  return target;
}

void TWebBrowser::DoNavigateComplete(const std::string& url) {
  if (OnNavigateComplete2 && !IsDestroying())
    RunHandler(this, [&] { OnNavigateComplete2(this, url); });
}
