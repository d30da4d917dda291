// The web engine behind the browser control. The engine's module, loaded on the first page,
// makes the pages; this side turns the control's GBK addresses into the module's Qt ones and
// the pages' reports into the control's events. A control whose module cannot be loaded shows
// why in place of its page.
#include "platform/gui/WebEngineView.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QOpenGLContext>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>

#include "platform/Libraries.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/WebEngineHelper.h"
#include "platform/gui/WebEngineModule.h"

// Qt's own, exported but left out of its public headers: sets the context that every OpenGL
// context made afterwards shares with.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace zgui {
namespace {

const char kModuleName[] = "libzelkar_webengine.so";

std::string& ModuleForTesting() {
  static std::string path;
  return path;
}

struct Module {
  bool tried = false;
  WebEngineEntry entry = nullptr;
  QString error;  // why it could not be loaded (shown to the user)
};

Module& Loaded() {
  static Module module;
  return module;
}

// The engine draws through OpenGL contexts shared with the windows'. Qt makes the shared
// context at its start only when told to (Qt::AA_ShareOpenGLContexts), which would load the
// OpenGL driver into every run of the program; it is made here, before the engine's library
// starts (which looks for it then), instead.
void ShareOpenGLContexts() {
  if (QOpenGLContext::globalShareContext()) return;
  auto* context = new QOpenGLContext(QCoreApplication::instance());
  context->setFormat(QSurfaceFormat::defaultFormat());
  context->create();  // without OpenGL the engine draws in software
  QObject::connect(context, &QObject::destroyed, [] { qt_gl_set_global_share_context(nullptr); });
  qt_gl_set_global_share_context(context);
}

// The engine's own texts (the question before a page is left, its menus) in the program's
// language; kept for the run, as the engine is.
void EngineSpeaksChinese() {
  static bool done = false;  // a test may load the module anew
  if (done) return;
  done = true;
  auto* translator = new QTranslator(QCoreApplication::instance());
  const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                             QStringLiteral("/usr/share/qt6/translations")};
  for (const QString& folder : folders) {
    if (translator->load(QStringLiteral("qtwebengine_zh_CN"), folder)) {
      QCoreApplication::installTranslator(translator);
      return;
    }
  }
  delete translator;
}

// The module beside the program file, else where the build put it; a test names one file.
QString FindModule() {
  QStringList places;
  if (!ModuleForTesting().empty()) {
    places << QFile::decodeName(ModuleForTesting().c_str());
  } else {
    places << QCoreApplication::applicationDirPath() + "/" + kModuleName
           << QFile::decodeName(ZELKAR_WEBENGINE_MODULE);
  }
  for (const QString& place : places)
    if (QFileInfo(place).isFile()) return place;
  return QString();
}

const Module& Load() {
  Module& module = Loaded();
  // The helper's trial below lets the GUI thread run; a page asked for meanwhile is told to
  // try again.
  static bool loading = false;
  if (loading) {
    static Module waiting;
    waiting.error = ToQ("网页引擎正在启动，网页暂时无法显示。请稍后再试。");
    return waiting;
  }
  if (module.tried) return module;
  struct Loading {
    Loading() { loading = true; }
    ~Loading() { loading = false; }
  } during;
  module.tried = true;
  const QString path = FindModule();
  if (path.isEmpty()) {
    const QString folder = ModuleForTesting().empty()
                               ? QCoreApplication::applicationDirPath()
                               : QFileInfo(QFile::decodeName(ModuleForTesting().c_str())).path();
    module.error = ToQ("找不到网页引擎「%1」，网页无法显示。它应在程序所在的文件夹「%2」中。")
                       .arg(QString::fromLatin1(kModuleName), folder);
    return module;
  }
  module.error = HelperProblem();
  if (!module.error.isEmpty()) return module;
  if (RunsAsRoot()) {
    if (!SandboxOff()) {
      module.error =
          ToQ("网页引擎不能以管理员(root)身份在它的沙箱中运行，网页无法显示。"
              "请以普通用户身份运行本程序。");
      return module;
    }
    static bool said = false;  // once a run, however often a test loads the module anew
    if (!said) {
      said = true;
      std::fputs(
          ToQ("网页引擎的沙箱已关闭：本程序以管理员(root)身份运行。\n").toLocal8Bit().constData(),
          stderr);
    }
  }
  ShareOpenGLContexts();
  EngineSpeaksChinese();
  // Loaded once for the whole run: its pages may live until the program ends.
  TLibrary library(QFile::encodeName(path).toStdString());
  if (!library.Find(module.entry, kWebEngineEntry))
    module.error = ToQ("网页引擎「%1」无法载入，网页无法显示：%2")
                       .arg(path, QString::fromLocal8Bit(library.Error().c_str()));
  return module;
}

std::string Address(const QUrl& url) {
  return url.isEmpty() ? std::string() : FromQ(url.toString(QUrl::FullyEncoded));
}

class WebEngineView : public TWebBrowserEngine, private WebEngineHost {
 public:
  explicit WebEngineView(TWebBrowser& owner) : owner_(owner) {}
  ~WebEngineView() override { page_.reset(); }  // before the control's widget

  void Navigate(const std::string& url) override {
    if (WebEnginePage* page = Page()) {
      // A bare host ("www.example.com") is completed as a user's typing would be.
      page->Navigate(url.empty() ? QUrl("about:blank") : QUrl::fromUserInput(ToQ(url)));
      return;
    }
    // The place the page was to be shown tells why, and the control reports the try as a
    // load that ended, as a page that failed would.
    failedUrl_ = url;
    QTimer::singleShot(0, owner_.Widget(), [&owner = owner_] {
      owner.DoDownloadBegin();
      owner.DoDownloadComplete();
    });
  }
  void GoBack() override {
    if (page_) page_->GoBack();
  }
  void GoForward() override {
    if (page_) page_->GoForward();
  }
  void Refresh() override {
    if (page_) page_->Reload();
  }
  void Stop() override {
    if (page_) page_->Stop();
  }
  void Print() override {
    if (page_) page_->Print();
  }
  bool PrintPreviewEnabled() const override { return page_ && page_->PrintPreviewEnabled(); }
  void PrintPreview() override {
    if (page_) page_->PrintPreview();
  }
  void PageSetup() override {
    if (WebEnginePage* page = Page()) page->PageSetup();
  }
  std::string LocationName() const override {
    if (ended_) return "网页无法显示";
    if (page_) return FromQ(page_->Title());
    return failed_ ? "网页引擎未能载入" : "";
  }
  std::string LocationURL() const override { return page_ ? Address(page_->Url()) : failedUrl_; }

 private:
  // The control's page, made on first need; nullptr (and the reason shown) without the module.
  WebEnginePage* Page() {
    if (page_) return page_.get();
    const Module& module = Load();
    if (module.entry) {
      if (notice_) notice_->hide();  // told to wait while the engine started
      failed_ = false;
      page_.reset(module.entry(this));
    } else if (!notice_) {
      failed_ = true;
      ShowInstead(module.error);
    }
    return page_.get();
  }

  // Says why in place of the page (the page, when there is one, has been hidden).
  void ShowInstead(const QString& why) {
    if (!notice_) {
      QWidget* host = owner_.Widget();
      notice_ = new QLabel(host);
      notice_->setWordWrap(true);
      notice_->setAlignment(Qt::AlignCenter);
      notice_->setMargin(16);
      // The page's layout, once it has one: the two take turns filling the control.
      auto* fill = qobject_cast<QBoxLayout*>(host->layout());
      if (!fill) {
        fill = new QVBoxLayout(host);
        fill->setContentsMargins(0, 0, 0, 0);
      }
      fill->addWidget(notice_);
    }
    notice_->setText(why);
    notice_->show();
  }

  QWidget* HostWidget() override { return owner_.Widget(); }
  void LoadStarted() override {
    if (ended_ && notice_) notice_->hide();  // the page shows again
    ended_ = false;
    owner_.DoDownloadBegin();
  }
  void LoadProgress(int percent) override { owner_.DoProgressChange(percent, 100); }
  void LoadFinished() override { owner_.DoDownloadComplete(); }
  void UrlChanged(const QUrl& url) override { owner_.DoNavigateComplete(Address(url)); }
  void PageProcessEnded(PageProcessEnd how, int exitCode) override {
    QString why;
    switch (how) {
      case PageProcessEnd::Crashed:
        why = ToQ("显示这个网页的辅助程序崩溃了，网页无法显示。");
        break;
      case PageProcessEnd::Killed:
        why = ToQ("显示这个网页的辅助程序被终止了，网页无法显示。");
        break;
      default:
        why = ToQ("显示这个网页的辅助程序意外结束了(退出码 %1)，网页无法显示。").arg(exitCode);
        break;
    }
    ended_ = true;
    ShowInstead(why + ToQ("请按「刷新」再试。"));
    // The load, if one was under way, has ended with it; the tab's caption says so.
    owner_.DoDownloadComplete();
  }
  WebEnginePage* NewWindow(const QUrl& url) override {
    // A window opened without an address asks for a blank page ("about:blank", which the
    // engine may mark "#blocked"): the page has not said where it goes yet.
    const std::string address = url.scheme() == "about" ? std::string() : Address(url);
    TWebBrowser* target = owner_.DoNewWindow(address);
    if (!target) return nullptr;  // refused: the page's window.open gets no window
    if (auto* engine = dynamic_cast<WebEngineView*>(&target->Engine())) return engine->Page();
    if (!address.empty()) target->Navigate(address);
    return nullptr;
  }

  // A page's questions in the program's own message and input boxes, which speak Chinese. The
  // page's text is shown as it is, never read as markup.
  static std::string AskedBy(const QUrl& origin) {
    const QString site = origin.host().isEmpty() ? origin.toString() : origin.authority();
    if (site.isEmpty()) return "来自网页的消息";  // a page of no site (a data: address)
    return FromQ(ToQ("来自网页「%1」的消息").arg(site));
  }
  void Alert(const QUrl& origin, const QString& text) override {
    DialogDriver().MessageBox({FromQ(text), AskedBy(origin), MB_OK | MB_ICONINFORMATION});
  }
  bool Confirm(const QUrl& origin, const QString& text) override {
    return DialogDriver().MessageBox(
               {FromQ(text), AskedBy(origin), MB_OKCANCEL | MB_ICONQUESTION}) == IDOK;
  }
  bool Prompt(const QUrl& origin, const QString& text, const QString& proposed,
              QString& answer) override {
    std::string value = FromQ(proposed);
    if (!DialogDriver().InputQuery(AskedBy(origin), FromQ(text), value)) return false;
    answer = ToQ(value);
    return true;
  }

  QStringList ChooseFiles(bool several, bool folder) override {
    TOpenDialog dialog(nullptr);
    dialog.Title = folder ? "选择要上传的文件夹" : "选择要上传的文件";
    dialog.AllowMultiSelect = several;
    dialog.SelectFolder = folder;
    QStringList chosen;
    if (dialog.Execute())
      for (const std::string& file : dialog.Files) chosen << ToQ(file);
    return chosen;
  }

  TWebBrowser& owner_;
  std::unique_ptr<WebEnginePage> page_;
  QPointer<QLabel> notice_;  // why no page shows, when none does
  bool failed_ = false;      // the engine could not be loaded
  bool ended_ = false;       // the page's process ended, and no load started since
  std::string failedUrl_;
};

}  // namespace

std::unique_ptr<TWebBrowserEngine> MakeWebEngineView(TWebBrowser& browser) {
  return std::make_unique<WebEngineView>(browser);
}

bool RunsAsRoot() { return geteuid() == 0 || getuid() == 0; }

bool SandboxOff() {
  return qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") ||
         qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--no-sandbox");
}

}  // namespace zgui

void SetWebEngineModuleForTesting(const std::string& path) {
  zgui::ModuleForTesting() = path;
  zgui::Loaded() = zgui::Module();
}
