// The web engine module: a Qt WebEngine view made inside the browser control on first use,
// whose page's signals go to the control through its host interface.
#include "platform/gui/WebEngineModule.h"

#include <QContextMenuEvent>
#include <QEventLoop>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

namespace zgui {
namespace {

static_assert(static_cast<int>(PageProcessEnd::Normal) == QWebEnginePage::NormalTerminationStatus &&
              static_cast<int>(PageProcessEnd::Abnormal) ==
                  QWebEnginePage::AbnormalTerminationStatus &&
              static_cast<int>(PageProcessEnd::Crashed) ==
                  QWebEnginePage::CrashedTerminationStatus &&
              static_cast<int>(PageProcessEnd::Killed) == QWebEnginePage::KilledTerminationStatus);

// The engine's own boxes for a page's alert, confirm and prompt speak English; the host shows
// the program's instead.
class AskingPage : public QWebEnginePage {
 public:
  AskingPage(WebEngineHost& host, QObject* parent) : QWebEnginePage(parent), host_(host) {}

 protected:
  void javaScriptAlert(const QUrl& origin, const QString& text) override {
    host_.Alert(origin, text);
  }
  bool javaScriptConfirm(const QUrl& origin, const QString& text) override {
    return host_.Confirm(origin, text);
  }
  bool javaScriptPrompt(const QUrl& origin, const QString& text, const QString& proposed,
                        QString* answer) override {
    QString given;
    if (!host_.Prompt(origin, text, proposed, given)) return false;
    if (answer) *answer = given;
    return true;
  }
  // The engine's own file dialog speaks the desktop's language and opens in the folder the
  // program was started from; the host's opens at home or where the user chose last.
  QStringList chooseFiles(FileSelectionMode mode, const QStringList&, const QStringList&) override {
    switch (mode) {
      case FileSelectOpen:
        return host_.ChooseFiles(false, false);
      case FileSelectOpenMultiple:
        return host_.ChooseFiles(true, false);
      case FileSelectUploadFolder:
        return host_.ChooseFiles(false, true);
      default:
        // A page that would write a file of the user's chooses none.
        return {};
    }
  }

 private:
  WebEngineHost& host_;
};

// The engine's context menu without its entries that save to a file (the page, a link, a
// picture), since the program takes no downloads from the engine, nor the one that shows the
// page's source, whose new tab's address the browser does not take for a web address: they
// would do nothing.
class PageView : public QWebEngineView {
 public:
  using QWebEngineView::QWebEngineView;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override {
    QMenu* menu = createStandardContextMenu();  // deletes itself once closed
    for (auto action : {QWebEnginePage::SavePage, QWebEnginePage::DownloadLinkToDisk,
                        QWebEnginePage::DownloadImageToDisk, QWebEnginePage::DownloadMediaToDisk,
                        QWebEnginePage::ViewSource})
      menu->removeAction(pageAction(action));
    menu->popup(event->globalPos());
  }
};

class EngineView : public WebEnginePage {
 public:
  explicit EngineView(WebEngineHost& host) : host_(host) {}
  ~EngineView() override {
    if (!view_) return;
    // A page that is torn down mid-load reports nothing more.
    view_->page()->disconnect();
    view_->disconnect();
    delete view_;
  }

  void Navigate(const QUrl& url) override { View()->setUrl(url); }
  void GoBack() override {
    if (view_) view_->back();
  }
  void GoForward() override {
    if (view_) view_->forward();
  }
  void Reload() override {
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
  QString Title() const override { return view_ ? view_->page()->title() : QString(); }
  QUrl Url() const override { return view_ ? view_->page()->url() : QUrl(); }

  QWebEnginePage* Page() { return View()->page(); }

 private:
  QWebEngineView* View() {
    if (view_) return view_;
    QWidget* host = host_.HostWidget();
    view_ = new PageView(host);
    view_->setPage(new AskingPage(host_, view_));  // the view's child: it goes with the view
    // Beside what the host may already show there (why no page showed before).
    auto* fill = qobject_cast<QBoxLayout*>(host->layout());
    if (!fill) {
      fill = new QVBoxLayout(host);
      fill->setContentsMargins(0, 0, 0, 0);
    }
    fill->addWidget(view_);
    QWebEnginePage* page = view_->page();
    QObject::connect(page, &QWebEnginePage::loadStarted, page, [this] {
      view_->show();  // again, after its process ended
      host_.LoadStarted();
    });
    QObject::connect(page, &QWebEnginePage::loadProgress, page,
                     [this](int progress) { host_.LoadProgress(progress); });
    QObject::connect(page, &QWebEnginePage::loadFinished, page,
                     [this](bool) { host_.LoadFinished(); });
    QObject::connect(page, &QWebEnginePage::urlChanged, page,
                     [this](const QUrl& url) { host_.UrlChanged(url); });
    QObject::connect(
        page, &QWebEnginePage::newWindowRequested, page,
        [this](QWebEngineNewWindowRequest& request) {
          // Every page this module gives out is one of these.
          if (auto* target = static_cast<EngineView*>(host_.NewWindow(request.requestedUrl())))
            request.openIn(target->Page());
        });
    QObject::connect(page, &QWebEnginePage::renderProcessTerminated, page,
                     [this](QWebEnginePage::RenderProcessTerminationStatus how, int code) {
                       // What is left of the page is blank: the host says why instead.
                       view_->hide();
                       host_.PageProcessEnded(static_cast<PageProcessEnd>(how), code);
                     });
    QObject::connect(view_, &QWebEngineView::printFinished, view_, [this] { printing_ = false; });
    return view_;
  }

  QPrinter* Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return printer_.get();
  }

  WebEngineHost& host_;
  QPointer<QWebEngineView> view_;
  std::unique_ptr<QPrinter> printer_;
  bool printing_ = false;
};

}  // namespace
}  // namespace zgui

extern "C" __attribute__((visibility("default"))) zgui::WebEnginePage* ZelkarWebEnginePage(
    zgui::WebEngineHost* host) {
  return new zgui::EngineView(*host);
}
