// Inside platform/gui only: the boundary between the layer and the web engine module. Qt
// WebEngine lives in a module of its own, loaded on the first page, so that starting the
// program loads neither the engine nor the OpenGL driver it draws with. Only Qt types cross
// the boundary and each side calls the other through virtual functions alone: the module needs
// no symbol of the program.
#pragma once

#include <QStringList>

class QUrl;
class QWidget;

namespace zgui {

class WebEnginePage;

// How the process that showed a page ended (the engine's own order).
enum class PageProcessEnd { Normal, Abnormal, Crashed, Killed };

// The browser control as the module sees it.
class WebEngineHost {
 public:
  // The widget the page fills.
  virtual QWidget* HostWidget() = 0;
  virtual void LoadStarted() = 0;
  virtual void LoadProgress(int percent) = 0;
  virtual void LoadFinished() = 0;
  virtual void UrlChanged(const QUrl& url) = 0;
  // The process that showed the page ended: the module has hidden the page, which shows again
  // when a load starts (LoadStarted follows).
  virtual void PageProcessEnded(PageProcessEnd how, int exitCode) = 0;
  // A page opens a window at url: the page to load it in (the engine's window request goes
  // there), or nullptr when the window was refused or is shown some other way.
  virtual WebEnginePage* NewWindow(const QUrl& url) = 0;
  // A page's script asks the user (alert, confirm, prompt); origin names the site that asks.
  // Confirm and Prompt return whether the user accepted; Prompt then sets answer.
  virtual void Alert(const QUrl& origin, const QString& text) = 0;
  virtual bool Confirm(const QUrl& origin, const QString& text) = 0;
  virtual bool Prompt(const QUrl& origin, const QString& text, const QString& proposed,
                      QString& answer) = 0;
  // A page's file field asks for files to send: one, several or a folder. The paths chosen,
  // none when the user cancelled.
  virtual QStringList ChooseFiles(bool several, bool folder) = 0;

 protected:
  ~WebEngineHost() = default;
};

// One control's page, made by the module. The engine's view is made on first navigation; until
// then the commands that need a page do nothing.
class WebEnginePage {
 public:
  virtual ~WebEnginePage() = default;
  virtual void Navigate(const QUrl& url) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Reload() = 0;
  virtual void Stop() = 0;
  virtual void Print() = 0;
  virtual bool PrintPreviewEnabled() const = 0;
  virtual void PrintPreview() = 0;
  virtual void PageSetup() = 0;
  virtual QString Title() const = 0;
  virtual QUrl Url() const = 0;
};

// The module's one exported function: extern "C" WebEnginePage* <kWebEngineEntry>(WebEngineHost*).
using WebEngineEntry = WebEnginePage* (*)(WebEngineHost* host);
inline constexpr const char kWebEngineEntry[] = "ZelkarWebEnginePage";

}  // namespace zgui
