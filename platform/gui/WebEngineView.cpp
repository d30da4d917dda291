// The web engine behind the browser control: a Qt WebEngine view made inside the control on
// first use, whose page's signals become the control's events.
#include "platform/gui/WebEngineView.h"

#include <QEventLoop>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/gui/QtPeer.h"

namespace zgui {
namespace {

std::string Address(const QUrl& url) {
  return url.isEmpty() ? std::string() : FromQ(url.toString(QUrl::FullyEncoded));
}

class WebEngineView : public TWebBrowserEngine {
 public:
  explicit WebEngineView(TWebBrowser& owner) : owner_(owner) {}
  ~WebEngineView() override {
    if (!view_) return;
    // A page that is torn down mid-load reports nothing more.
    view_->page()->disconnect();
    view_->disconnect();
    delete view_;
  }

  void Navigate(const std::string& url) override {
    // A bare host ("www.example.com") is completed as a user's typing would be.
    View()->setUrl(url.empty() ? QUrl("about:blank") : QUrl::fromUserInput(ToQ(url)));
  }
  void GoBack() override {
    if (view_) view_->back();
  }
  void GoForward() override {
    if (view_) view_->forward();
  }
  void Refresh() override {
    if (view_) view_->reload();
  }
  void Stop() override {
    if (view_) view_->stop();
  }
  void Print() override {
    if (!view_ || printing_) return;
    printing_ = true;  // the view prints one job at a time; the printer lives on until done
    view_->print(Printer());
  }
  bool PrintPreviewEnabled() const override { return view_ && !printing_; }
  void PrintPreview() override {
    if (!PrintPreviewEnabled()) return;
    QPrintPreviewDialog dialog(Printer(), view_);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, view_, [this](QPrinter* p) {
      QEventLoop wait;
      QObject::connect(view_, &QWebEngineView::printFinished, &wait, &QEventLoop::quit);
      printing_ = true;
      view_->print(p);
      wait.exec();
    });
    dialog.exec();
  }
  void PageSetup() override {
    QPageSetupDialog dialog(Printer(), view_);
    dialog.exec();
  }
  std::string LocationName() const override {
    return view_ ? FromQ(view_->page()->title()) : std::string();
  }
  std::string LocationURL() const override {
    return view_ ? Address(view_->page()->url()) : std::string();
  }

  QWebEnginePage* Page() { return View()->page(); }

 private:
  QWebEngineView* View() {
    if (view_) return view_;
    QWidget* host = owner_.Widget();
    view_ = new QWebEngineView(host);
    auto* fill = new QVBoxLayout(host);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(view_);
    QWebEnginePage* page = view_->page();
    QObject::connect(page, &QWebEnginePage::loadStarted, page,
                     [this] { owner_.DoDownloadBegin(); });
    QObject::connect(page, &QWebEnginePage::loadProgress, page,
                     [this](int progress) { owner_.DoProgressChange(progress, 100); });
    QObject::connect(page, &QWebEnginePage::loadFinished, page,
                     [this](bool) { owner_.DoDownloadComplete(); });
    QObject::connect(page, &QWebEnginePage::urlChanged, page,
                     [this](const QUrl& url) { owner_.DoNavigateComplete(Address(url)); });
    QObject::connect(page, &QWebEnginePage::newWindowRequested, page,
                     [this](QWebEngineNewWindowRequest& request) { NewWindow(request); });
    QObject::connect(view_, &QWebEngineView::printFinished, view_, [this] { printing_ = false; });
    return view_;
  }

  void NewWindow(QWebEngineNewWindowRequest& request) {
    const QUrl url = request.requestedUrl();
    // A window opened without an address asks for a blank page ("about:blank", which the
    // engine may mark "#blocked"): the page has not said where it goes yet.
    const std::string address = url.scheme() == "about" ? std::string() : Address(url);
    TWebBrowser* target = owner_.DoNewWindow(address);
    if (!target) return;  // refused: the page's window.open gets no window
    if (auto* engine = dynamic_cast<WebEngineView*>(&target->Engine()))
      request.openIn(engine->Page());
    else if (!address.empty())
      target->Navigate(address);
  }

  QPrinter* Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return printer_.get();
  }

  TWebBrowser& owner_;
  QPointer<QWebEngineView> view_;
  std::unique_ptr<QPrinter> printer_;
  bool printing_ = false;
};

}  // namespace

std::unique_ptr<TWebBrowserEngine> MakeWebEngineView(TWebBrowser& browser) {
  return std::make_unique<WebEngineView>(browser);
}

}  // namespace zgui
