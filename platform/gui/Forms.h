// Windows and the application object: forms with modal and modeless showing, the message
// loop, the default exception handler every event handler runs inside, and calls posted into
// the GUI thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gui/Controls.h"

class QEventLoop;

class TMainMenu;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrClose = 11;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TComponent* Sender, bool& CanClose)>;

// A top-level window. Left/Top/Width/Height are the outer frame in screen coordinates;
// controls are placed in the client area (ClientWidth x ClientHeight, below the menu bar).
// A window class derives from TForm and builds its controls in its constructor; the
// application (or NewForm) then calls AfterConstruction, which runs Loaded on everything the
// constructor created and then OnCreate.
class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  void AfterConstruction();

  void Show();
  // Shows the window modally and returns its modal result once it is closed, either by a
  // button with a modal result, by setting ModalResult or by Close (mrCancel).
  TModalResult ShowModal();
  // Asks OnCloseQuery, then OnClose, then hides (or whatever the close action says). Closing
  // the main window ends the application.
  void Close();
  bool CloseQuery();
  bool Modal() const { return modalLevel_ > 0; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value);
  bool Active() const;

  void SetVisible(bool value) override;
  void SetBounds(int left, int top, int width, int height) override;
  TRect GetClientRect() const override;
  void SetClientSize(int width, int height) override;
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState value);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  // Translucent window: with AlphaBlend on, the window shows at AlphaBlendValue / 255.
  void SetAlphaBlend(bool value);
  void SetAlphaBlendValue(int value);
  bool AlphaBlend() const { return alphaBlend_; }
  int AlphaBlendValue() const { return alphaValue_; }

  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);
  // Moves the focus to the next (or previous) tab stop.
  void SelectNext(bool forward = true);
  // Key events of every control reach the form's own handlers first.
  bool KeyPreview = false;

  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);

  // Places the window at the centre of the screen's work area.
  void CenterOnScreen();
  // Starts the window system's sizing drag from the bottom-right corner, as a size grip does;
  // false where the window is not shown or the window system does not offer one.
  bool StartSizeDrag();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  QWidget* ClientWidget() const override { return client_; }

  // Called when the window becomes the application's active window: fires OnActivate (and
  // OnDeactivate of the window it replaces). Also run when a modal window over it closes.
  void Activate();
  void Deactivate();

  // Native frame: the parts of Width/Height outside the client area.
  int FrameWidth() const;   // left + right borders
  int FrameHeight() const;  // caption, menu bar and borders

  // Internal: the control that last took the focus inside this window (survives the window
  // losing and regaining the focus as a whole).
  TWinControl* FocusedControl() const { return focusedControl_; }
  void SetFocusedControl(TWinControl* control) { focusedControl_ = control; }

  // Internal: the peer window asks to close (close box); runs Close.
  void PeerCloseRequested();
  void PeerGeometryChanged(int screenX, int screenY, int windowWidth, int windowHeight);
  void MenuChanged();
  // Internal: the toolkit's modal loop; returns once ModalResult is set, the window is hidden
  // or the application terminates.
  void RunModalLoop();
  // Fires OnDestroy while the window is still whole (its owner is about to free it).
  void BeforeDestruction() override;

 protected:
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  void UpdatePeer() override;
  void TextChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Moves the window into the screen's work area, shrunk to it when larger, so that its title
  // bar shows (done whenever it is shown).
  void KeepInsideWorkArea();
  void ApplyWindowFlags();
  void PlaceWindow();
  void LayoutFrame();
  bool CloseModalQuery();
  void EndModal();
  int MenuHeight() const;
  int CaptionAndBorders() const;

  QWidget* client_ = nullptr;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TFormStyle formStyle_ = fsNormal;
  bool alphaBlend_ = false;
  int alphaValue_ = 255;
  TModalResult modalResult_ = mrNone;
  int modalLevel_ = 0;
  QEventLoop* modalLoop_ = nullptr;  // the loop ShowModal waits in, while it does
  bool closing_ = false;
  bool sizeToldOnShow_ = false;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TForm* previousActive_ = nullptr;
  QWidget* menuBar_ = nullptr;
  friend class TApplication;
};

// Creates a window as the application does: construct, then AfterConstruction.
template <class T, class... Args>
T* NewForm(TComponent* owner, Args&&... args) {
  T* form = new T(owner, std::forward<Args>(args)...);
  form->AfterConstruction();
  return form;
}

using TExceptionEvent = std::function<void(TComponent* Sender, const std::exception& E)>;

// The application object. One exists for the program's run (and for each GUI test program);
// the global `Application` points at it. It owns the windows created through CreateForm.
class TApplication : public TComponent {
 public:
  // Starts the toolkit (unless it runs already) and sets `Application`.
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  void Initialize() {}
  // Creates a window owned by the application (its constructor gets the owner, then `args`)
  // and sets `ref` before OnCreate runs; the first window created becomes the main window.
  template <class T, class... Args>
  void CreateForm(T*& ref, Args&&... args) {
    ref = new T(this, std::forward<Args>(args)...);
    FormCreated(ref);
    ref->AfterConstruction();
  }
  TForm* MainForm() const { return mainForm_; }
  // Shows the main window and runs the message loop until the main window closes or
  // Terminate is called.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every pending event, then returns.
  void ProcessMessages();

  // Runs `action` as an event handler: an Exception or std::exception it raises is shown by
  // HandleException (EAbort silently) and never leaves this call. Returns false when it raised.
  bool Guard(TComponent* sender, const std::function<void()>& action) noexcept;
  // The default handler: OnException when set, otherwise a message box with the message.
  void HandleException(TComponent* sender, const std::exception& e);
  void ShowException(const std::exception& e);
  TExceptionEvent OnException;

  // A message box titled `caption` (the application title when empty); flags as MB_*.
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

  // Posts `call` to run on the GUI thread when the loop next runs; safe from any thread.
  // Dropped once this object starts to go.
  void QueueCall(std::function<void()> call);
  // Runs `call` on the GUI thread and waits for it; from the GUI thread it runs at once.
  // An exception it raises is handled by the default handler there.
  void SyncCall(const std::function<void()>& call);
  bool InGuiThread() const;

  void Minimize();
  void Restore();
  // The main window is minimised.
  bool IsIconic() const;
  // Fired when the user (or Minimize/Restore) minimises or restores the main window; a tray
  // icon takes them over.
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  // The main window's entry in the desktop's task bar: hidden, the window leaves the screen
  // and the task bar but keeps its state (Visible stays as it was).
  void SetTaskbarButtonVisible(bool value);
  bool TaskbarButtonVisible() const { return taskbarButton_; }
  // Brings the main window to the front and gives it the activation.
  void BringToFront();
  // Internal: Minimize or Restore is changing the main window's state and fires the event
  // itself.
  bool StateChanging() const { return stateChanging_; }

  std::string Title;
  // The program's icon (empty until set); the tray shows it when given no other picture.
  const TBitmap& Icon() const;
  void SetIcon(const TBitmap& icon);
  std::string ExeName() const;
  // Whether the toolkit's window activation (the user switching windows) fires OnActivate;
  // tests turn it off so that only the program's own showing and closing do.
  bool FollowToolkitActivation = true;
  // Test fixtures start each test with a running application.
  void ClearTerminated();
  // The window that currently has the user's attention in the application, or nullptr.
  TForm* ActiveForm() const { return activeForm_; }

  // Internal bookkeeping of windows.
  void SetActiveForm(TForm* form);
  void RegisterForm(TForm* form);
  void FormDestroying(TForm* form);
  void FormCreated(TForm* form);
  const std::vector<TForm*>& Forms() const { return forms_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  TForm* mainForm_ = nullptr;
  TForm* activeForm_ = nullptr;
  std::vector<TForm*> forms_;
  std::atomic<bool> terminated_{false};  // workers ask ApplicationEnding instead
  bool taskbarButton_ = true;
  bool stateChanging_ = false;
  std::unique_ptr<TBitmap> icon_;
};

extern TApplication* Application;

// Screen metrics the windows place themselves by.
struct TScreenInfo {
  int Width = 0, Height = 0;
  TRect WorkArea;
};
TScreenInfo ScreenInfo();
