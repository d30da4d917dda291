// TApplication: the toolkit's start and end, the message loop, the default exception handler
// and calls posted into the GUI thread.
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QThread>
#include <QTranslator>
#include <algorithm>

#include "platform/gui/Dialogs.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/Threads.h"
#include "platform/gui/WebEngineView.h"

using namespace zgui;

TApplication* Application = nullptr;

struct TApplication::Impl {
  std::unique_ptr<QApplication> ownedApp;  // none when the toolkit ran before us
  QEventLoop* runLoop = nullptr;           // the loop Run is in, if any
  std::unique_ptr<QTranslator> translator;
};

namespace {

// The program speaks Chinese whatever the desktop's language, so Qt's own dialogs (save dialog,
// OK/Cancel) take Qt's Chinese catalogue: Qt 6's own, or else Qt 5's, whose format and dialog
// texts are mostly the same.
std::unique_ptr<QTranslator> LoadQtChinese() {
  // The toolkit's own texts that follow the locale (file types in the save dialog, dates
  // written through QLocale) read Chinese too.
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  auto translator = std::make_unique<QTranslator>();
  const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                             QStringLiteral("/usr/share/qt6/translations"),
                             QStringLiteral("/usr/share/qt5/translations")};
  for (const QString& folder : folders) {
    if (translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
      QCoreApplication::installTranslator(translator.get());
      return translator;
    }
  }
  return nullptr;
}

// The environment the web engine reads when it starts is set here, once, before any worker
// thread runs: changing the environment while other threads may read it is not safe, and the
// engine is loaded only with the first page.
void PrepareWebEngineEnvironment() {
  // Root is refused the engine's sandbox, and the engine ends the process over it: run it
  // without, as a container or a root session needs.
  if (RunsAsRoot() && !SandboxOff()) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  // The engine's own pages (errors, dialogs) and the language it asks sites for follow its
  // interface language, which it takes from the system's locale unless told. The program
  // speaks Chinese, so the engine does too, unless the user's own engine flags name a language.
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  if (flags.contains("--lang=")) return;
  if (!flags.isEmpty()) flags += ' ';
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + "--lang=zh-CN");
}

// Every menu bar asks the style for the icon of its overflow button when it is made, and the
// style reads that picture through the image reader, which loads every image format plugin to
// find its format: a start paid for a button that shows only when a window is too narrow for
// its menus. The icon is read when it is first drawn.
class DeferredIcon : public QIconEngine {
 public:
  DeferredIcon(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Real().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().pixmap(size, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Real().availableSizes(mode, state);
  }
  QIconEngine* clone() const override { return new DeferredIcon(style_, which_); }

 private:
  const QIcon& Real() {
    if (!read_ && style_) real_ = style_->standardIcon(which_);
    read_ = true;
    return real_;
  }
  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  QIcon real_;
  bool read_ = false;
};

class DeferredIconStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
      return QIcon(new DeferredIcon(baseStyle(), which));
    return QProxyStyle::standardIcon(which, option, widget);
  }
};

}  // namespace

TApplication::TApplication(int& argc, char** argv)
    : TComponent(nullptr), impl_(std::make_unique<Impl>()) {
  // No Qt::AA_ShareOpenGLContexts: it would load the OpenGL driver into every start. The web
  // engine makes the shared context when it is loaded (WebEngineView.cpp).
  PrepareWebEngineEnvironment();
  if (!QApplication::instance()) {
    impl_->ownedApp = std::make_unique<QApplication>(argc, argv);
    QApplication::setStyle(new DeferredIconStyle);
  }
  QApplication::setQuitOnLastWindowClosed(false);
  impl_->translator = LoadQtChinese();
  OpenGuiCalls();
  Application = this;
  Title = FromQ(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

TApplication::~TApplication() {
  // First of all: from here on a worker's call to the GUI thread is dropped, and a worker
  // waiting for one goes on, so the windows' timers and workers stop without waiting for a
  // loop that has ended.
  CloseGuiCalls();
  // Windows go while the toolkit still runs.
  DestroyComponents();
  if (Application == this) Application = nullptr;
  if (impl_->translator) QCoreApplication::removeTranslator(impl_->translator.get());
  impl_->translator.reset();
  impl_->ownedApp.reset();
}

void TApplication::RegisterForm(TForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TApplication::FormCreated(TForm* form) {
  if (!mainForm_ && form) mainForm_ = form;
}

void TApplication::FormDestroying(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
  if (activeForm_ == form) activeForm_ = nullptr;
  for (TForm* f : forms_)
    if (f->previousActive_ == form) f->previousActive_ = nullptr;
}

void TApplication::SetActiveForm(TForm* form) {
  if (form == activeForm_) return;
  TForm* old = activeForm_;
  activeForm_ = form;
  if (old && !old->IsDestroying()) old->Deactivate();
  if (form && !form->IsDestroying() && activeForm_ == form) form->Activate();
}

void TApplication::Run() {
  if (!mainForm_) return;
  Guard(mainForm_, [this] {
    if (mainForm_) mainForm_->Show();
  });
  QEventLoop loop;
  impl_->runLoop = &loop;
  if (!terminated_) loop.exec();
  impl_->runLoop = nullptr;
}

void TApplication::Terminate() {
  terminated_ = true;
  SetApplicationTerminated(true);
  if (impl_->runLoop) impl_->runLoop->quit();
  for (TForm* f : forms_)
    if (f->modalLoop_) static_cast<QEventLoop*>(f->modalLoop_)->quit();
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool TApplication::Guard(TComponent* sender, const std::function<void()>& action) noexcept {
  try {
    action();
    return true;
  } catch (const EAbort&) {
    return false;
  } catch (const std::exception& e) {
    try {
      HandleException(sender, e);
    } catch (...) {
      // A failing handler of a failure has nobody left to tell.
    }
    return false;
  } catch (...) {
    try {
      HandleException(sender, Exception("未知错误"));
    } catch (...) {
    }
    return false;
  }
}

void TApplication::HandleException(TComponent* sender, const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  if (OnException) {
    OnException(sender, e);
    return;
  }
  ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
  // The layer's own exceptions carry texts meant for the user; anything else gets a Chinese
  // sentence around the library's (English) text.
  const auto* ours = dynamic_cast<const Exception*>(&e);
  const std::string message = ours ? ours->Message()
                              : dynamic_cast<const std::bad_alloc*>(&e)
                                  ? std::string("内存不足，操作没有完成")
                                  : "程序内部错误：" + std::string(e.what());
  MessageBox(message, Title, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  TMessageBoxRequest request;
  request.Text = text;
  request.Caption = caption.empty() ? Title : caption;
  request.Flags = flags;
  return DialogDriver().MessageBox(request);
}

void TApplication::QueueCall(std::function<void()> call) { PostGuiCall(std::move(call)); }

void TApplication::ClearTerminated() {
  terminated_ = false;
  SetApplicationTerminated(false);
}

void TApplication::SyncCall(const std::function<void()>& call) { RunOnGuiThread(call); }

bool TApplication::InGuiThread() const {
  return QCoreApplication::instance() &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

void TApplication::Minimize() {
  if (mainForm_ && mainForm_->Widget() && mainForm_->Visible() && !IsIconic()) {
    // The window's own state report must not fire the event a second time.
    stateChanging_ = true;
    mainForm_->Widget()->showMinimized();
    stateChanging_ = false;
  }
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (mainForm_ && mainForm_->Widget() && mainForm_->Visible()) {
    stateChanging_ = true;
    if (taskbarButton_) mainForm_->Widget()->showNormal();
    stateChanging_ = false;
    mainForm_->Widget()->activateWindow();
  }
  if (OnRestore) OnRestore(this);
}

const TBitmap& TApplication::Icon() const {
  static const TBitmap none;
  return icon_ ? *icon_ : none;
}

void TApplication::SetIcon(const TBitmap& icon) {
  if (!icon_) icon_ = std::make_unique<TBitmap>();
  icon_->Assign(icon);
}

bool TApplication::IsIconic() const {
  return mainForm_ && mainForm_->Widget() && mainForm_->Widget()->isMinimized();
}

void TApplication::SetTaskbarButtonVisible(bool value) {
  if (taskbarButton_ == value) return;
  taskbarButton_ = value;
  if (!mainForm_ || !mainForm_->Widget() || !mainForm_->Visible()) return;
  if (value)
    mainForm_->Widget()->show();
  else
    mainForm_->Widget()->hide();
}

void TApplication::BringToFront() {
  if (!mainForm_ || !mainForm_->Widget() || !mainForm_->Visible()) return;
  QWidget* w = mainForm_->Widget();
  w->raise();
  if (QGuiApplication::platformName() == QLatin1String("offscreen"))
    QApplication::setActiveWindow(w);
  else
    w->activateWindow();
}

std::string TApplication::ExeName() const { return FromQ(QCoreApplication::applicationFilePath()); }

TScreenInfo ScreenInfo() {
  TScreenInfo info;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) {
    info.Width = 1024;
    info.Height = 768;
    info.WorkArea = Rect(0, 0, 1024, 768);
    return info;
  }
  const QRect all = screen->geometry();
  const QRect work = screen->availableGeometry();
  info.Width = all.width();
  info.Height = all.height();
  info.WorkArea = Bounds(work.x(), work.y(), work.width(), work.height());
  return info;
}
