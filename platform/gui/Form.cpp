// TForm: the top-level window, its frame model, showing, modal showing and closing.
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/StdCtrls.h"

using namespace zgui;

namespace {

constexpr int kCaptionHeight = 19;
constexpr int kToolCaptionHeight = 15;
constexpr int kMenuHeight = 20;

// The top-level window of a form: it holds the menu bar and the client area and reports
// closing, geometry and activation to the form. Input is the client area's business.
class FormWindow : public Peer<QWidget> {
 public:
  explicit FormWindow(TForm* form) : Peer<QWidget>(form, nullptr, Qt::Window) {
    ForwardInput = false;
    setAttribute(Qt::WA_QuitOnClose, false);
  }

 protected:
  TForm* Form() const { return static_cast<TForm*>(Control()); }

  void closeEvent(QCloseEvent* e) override {
    // The form decides: it hides itself or ends the program.
    e->ignore();
    if (TForm* f = Form()) RunHandler(f, [f] { f->PeerCloseRequested(); });
  }
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    Report();
  }
  void moveEvent(QMoveEvent* e) override {
    QWidget::moveEvent(e);
    Report();
  }
  void changeEvent(QEvent* e) override {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || !Application || Application->StateChanging())
      return;
    TForm* f = Form();
    if (!f || f != Application->MainForm()) return;
    const bool minimized = windowState() & Qt::WindowMinimized;
    const bool was = static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized;
    if (minimized && !was && Application->OnMinimize)
      RunHandler(Application, [] { Application->OnMinimize(Application); });
    if (!minimized && was && Application->OnRestore)
      RunHandler(Application, [] { Application->OnRestore(Application); });
  }
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WindowActivate && Application &&
        Application->FollowToolkitActivation) {
      TForm* f = Form();
      // Stale activations (a window already hidden, or one under a modal window) are ignored.
      if (f && f->Visible() && isVisible() && !QApplication::activeModalWidget())
        RunHandler(f, [f] { Application->SetActiveForm(f); });
      else if (f && f->Visible() && QApplication::activeModalWidget() == this)
        RunHandler(f, [f] { Application->SetActiveForm(f); });
    }
    return Peer<QWidget>::event(e);
  }

 private:
  void Report() {
    TForm* f = Form();
    if (!f || (windowState() & Qt::WindowMinimized)) return;
    // pos() is what move() set: the frame's place once the frame is known.
    const QPoint at = pos();
    RunHandler(f, [&] { f->PeerGeometryChanged(at.x(), at.y(), width(), height()); });
  }
};

// Sends a dialog message to every control under `parent`, depth first, until one acts.
bool SendDialogMessage(TWinControl* parent, unsigned msg, intptr_t wparam, intptr_t lparam) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    TMessage message{msg, wparam, lparam, 0};
    RunHandler(c, [&] { c->WndProc(message); });
    if (message.Result != 0) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && Live(w))
      if (SendDialogMessage(w, msg, wparam, lparam)) return true;
  }
  return false;
}

// The client area: Enter and Escape that the focused control left unhandled become dialog
// keys, and characters nobody took (Alt with a letter among them) dialog characters, which the
// window's buttons and other accelerator owners answer.
class ClientArea : public Peer<QWidget> {
 public:
  ClientArea(TForm* form, QWidget* parent) : Peer<QWidget>(form, parent) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    TForm* f = static_cast<TForm*>(Control());
    if (f && !hasFocus()) {
      const TShiftState shift = ShiftFromQt(e->modifiers(), Qt::NoButton);
      if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) {
        const intptr_t vk = e->key() == Qt::Key_Escape ? VK_ESCAPE : VK_RETURN;
        if (SendDialogMessage(f, CM_DIALOGKEY, vk, shift)) {
          e->accept();
          return;
        }
      } else if (const char ch = AcceleratorChar(e); ch != 0) {
        if (SendDialogMessage(f, CM_DIALOGCHAR, static_cast<unsigned char>(ch), shift)) {
          e->accept();
          return;
        }
      }
    }
    Peer<QWidget>::keyPressEvent(e);
  }

 private:
  // The letter or digit of Alt+key, or the printable character typed without Ctrl.
  static char AcceleratorChar(const QKeyEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) return 0;
    if (e->modifiers() & Qt::AltModifier) {
      const uint16_t vk = VirtualKeyFromQt(e->key());
      return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') ? static_cast<char>(vk) : 0;
    }
    const QString text = e->text();
    if (text.size() != 1 || text.at(0).unicode() <= 0x20 || text.at(0).unicode() >= 0x7F) return 0;
    return static_cast<char>(text.at(0).unicode());
  }
};

WindowRaiser& Raiser() {
  static WindowRaiser raiser;
  return raiser;
}

void RaiseWindow(QWidget* w) {
  if (Raiser()) {
    Raiser()(w);
    return;
  }
  w->raise();
  w->activateWindow();
}

void LoadTree(TComponent* c) {
  for (int i = 0; i < c->ComponentCount(); ++i) LoadTree(c->Components(i));
  if (c->IsLoading()) c->Loaded();
}

}  // namespace

void zgui::SetWindowRaiser(WindowRaiser raiser) { Raiser() = std::move(raiser); }

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetLoadingState();
  TControl::SetVisible(false);
  auto* window = new FormWindow(this);
  AttachWidget(window);
  ApplyFont();  // a form has no parent to take its font from
  client_ = new ClientArea(this, window);
  client_->show();
  SetColor(clBtnFace);
  SetBounds(0, 0, 320 + FrameWidth(), 240 + FrameHeight());
  if (Application) Application->RegisterForm(this);
}

TForm::~TForm() {
  Destroying();
  if (modalLoop_) modalLoop_->quit();
  if (Application) Application->FormDestroying(this);
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = nullptr;
}

void TForm::AfterConstruction() {
  LoadTree(this);
  Realign();
  RunHandler(this, [this] { DoCreate(); });
}

void TForm::BeforeDestruction() {
  if (OnDestroy) RunHandler(this, [this] { OnDestroy(this); });
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

// --- frame geometry --------------------------------------------------------------------------

int TForm::FrameWidth() const {
  switch (borderStyle_) {
    case bsNone:
      return 0;
    case bsSizeable:
    case bsSizeToolWin:
      return 8;
    default:
      return 6;
  }
}

int TForm::CaptionAndBorders() const {
  switch (borderStyle_) {
    case bsNone:
      return 0;
    case bsToolWindow:
    case bsSizeToolWin:
      return kToolCaptionHeight + FrameWidth();
    default:
      return kCaptionHeight + FrameWidth();
  }
}

int TForm::MenuHeight() const { return menuBar_ ? kMenuHeight : 0; }

int TForm::FrameHeight() const { return CaptionAndBorders() + MenuHeight(); }

TRect TForm::GetClientRect() const {
  return Rect(0, 0, std::max(Width() - FrameWidth(), 0), std::max(Height() - FrameHeight(), 0));
}

void TForm::SetClientSize(int width, int height) {
  SetBounds(Left(), Top(), std::max(width, 0) + FrameWidth(), std::max(height, 0) + FrameHeight());
}

void TForm::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, FrameWidth());
  height = std::max(height, FrameHeight());
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (QWidget* w = Widget()) {
    w->move(left_, top_);
    const QSize size(width_ - FrameWidth(), height_ - CaptionAndBorders());
    if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin || borderStyle_ == bsNone) {
      w->setMinimumSize(0, 0);
      w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      w->resize(size);
    } else {
      w->setFixedSize(size);
    }
  }
  LayoutFrame();
  if (resized) {
    Realign();
    Resize();
  }
}

void TForm::PeerGeometryChanged(int screenX, int screenY, int windowWidth, int windowHeight) {
  const int width = windowWidth + FrameWidth();
  const int height = windowHeight + CaptionAndBorders();
  if (screenX == left_ && screenY == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  left_ = screenX;
  top_ = screenY;
  width_ = width;
  height_ = height;
  LayoutFrame();
  if (resized) {
    Realign();
    Resize();
  }
}

void TForm::LayoutFrame() {
  QWidget* w = Widget();
  if (!w || !client_) return;
  const int ww = std::max(width_ - FrameWidth(), 0);
  const int wh = std::max(height_ - CaptionAndBorders(), 0);
  if (menuBar_) menuBar_->setGeometry(0, 0, ww, MenuHeight());
  client_->setGeometry(0, MenuHeight(), ww, std::max(wh - MenuHeight(), 0));
}

void TForm::UpdatePeer() {
  ApplyFont();
  ColorChanged();
  TextChanged();
  UpdateChildPeers();
}

void TForm::ApplyWindowFlags() {
  QWidget* w = Widget();
  if (!w) return;
  Qt::WindowFlags flags = Qt::Window;
  switch (borderStyle_) {
    case bsNone:
      flags |= Qt::FramelessWindowHint;
      break;
    case bsDialog:
      flags = Qt::Dialog;
      break;
    case bsToolWindow:
    case bsSizeToolWin:
      flags = Qt::Tool;
      break;
    default:
      break;
  }
  if (borderStyle_ != bsNone) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderIcons_ & biSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((borderIcons_ & biMinimize) && borderStyle_ != bsDialog)
      flags |= Qt::WindowMinimizeButtonHint;
    if ((borderIcons_ & biMaximize) && borderStyle_ == bsSizeable)
      flags |= Qt::WindowMaximizeButtonHint;
  }
  if (formStyle_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  const bool shown = w->isVisible();
  w->setWindowFlags(flags);
  if (shown) w->show();
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_) return;
  const TRect client = GetClientRect();
  borderStyle_ = value;
  ApplyWindowFlags();
  SetClientSize(client.Width(), client.Height());
}

void TForm::SetBorderIcons(TBorderIcons value) {
  borderIcons_ = value;
  ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle value) {
  formStyle_ = value;
  ApplyWindowFlags();
}

void TForm::SetAlphaBlend(bool value) {
  alphaBlend_ = value;
  if (Widget()) Widget()->setWindowOpacity(value ? alphaValue_ / 255.0 : 1.0);
}

void TForm::SetAlphaBlendValue(int value) {
  alphaValue_ = std::clamp(value, 0, 255);
  SetAlphaBlend(alphaBlend_);
}

bool TForm::StartSizeDrag() {
  QWidget* w = Widget();
  if (w == nullptr || !w->isVisible() || w->windowHandle() == nullptr) return false;
  return w->windowHandle()->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
}

TWindowState TForm::WindowState() const {
  if (QWidget* w = Widget(); w && w->isVisible()) {
    if (w->windowState() & Qt::WindowMinimized) return wsMinimized;
    if (w->windowState() & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
  }
  return windowState_;
}

void TForm::SetWindowState(TWindowState value) {
  windowState_ = value;
  QWidget* w = Widget();
  if (!w || !w->isVisible()) return;
  switch (value) {
    case wsMinimized:
      w->showMinimized();
      break;
    case wsMaximized:
      w->showMaximized();
      break;
    default:
      w->showNormal();
      break;
  }
}

// --- showing ---------------------------------------------------------------------------------

void TForm::CenterOnScreen() {
  const TScreenInfo screen = ScreenInfo();
  const TRect& area = screen.WorkArea;
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
            Width(), Height());
}

void TForm::PlaceWindow() {
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
      CenterOnScreen();
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TForm* over = dynamic_cast<TForm*>(Owner());
      if (!over && Application) over = Application->MainForm();
      if (over && over != this && over->Visible()) {
        SetBounds(over->Left() + (over->Width() - Width()) / 2,
                  over->Top() + (over->Height() - Height()) / 2, Width(), Height());
      } else {
        CenterOnScreen();
      }
      break;
    }
    default:
      break;
  }
  KeepInsideWorkArea();
}

void TForm::KeepInsideWorkArea() {
  // Centring alone puts a window taller than the work area (a scaled desktop) with its title
  // bar above the screen, where it can be neither seen nor moved.
  const TRect area = ScreenInfo().WorkArea;
  if (area.Width() <= 0 || area.Height() <= 0) return;
  const int width = std::min(Width(), area.Width());
  const int height = std::min(Height(), area.Height());
  const int left = std::clamp(Left(), area.Left, area.Right - width);
  const int top = std::clamp(Top(), area.Top, area.Bottom - height);
  if (left != Left() || top != Top() || width != Width() || height != Height())
    SetBounds(left, top, width, height);
}

void TForm::SetVisible(bool value) {
  QWidget* w = Widget();
  if (value) {
    if (Visible() && w->isVisible()) return;
    TControl::SetVisible(true);
    PlaceWindow();
    try {
      // A new window hears of its size when it first shows, as the desktop tells it: the size
      // it was made with ran no handler yet, and a window manager may not resize it.
      if (!sizeToldOnShow_) {
        sizeToldOnShow_ = true;
        Resize();
      }
      DoShow();
    } catch (...) {
      TControl::SetVisible(false);  // a window whose showing failed is not showing
      throw;
    }
    if (!Visible()) return;  // OnShow hid it again
    if (windowState_ == wsMaximized)
      w->showMaximized();
    else if (windowState_ == wsMinimized)
      w->showMinimized();
    else
      w->show();
    RaiseWindow(w);
    if (Application) {
      if (Application->ActiveForm() != this) previousActive_ = Application->ActiveForm();
      Application->SetActiveForm(this);
    }
    // The focus goes to the active control, or to the first tab stop.
    TWinControl* target = activeControl_;
    if (!target || !target->CanFocus()) {
      target = nullptr;
      for (TWinControl* c : TabList())
        if (c->CanFocus()) {
          target = c;
          break;
        }
    }
    if (target && target->Widget()) {
      activeControl_ = target;
      target->Widget()->setFocus(Qt::OtherFocusReason);
    }
  } else {
    if (!Visible()) return;
    TControl::SetVisible(false);
    DoHide();
    w->hide();
    if (Application && Application->ActiveForm() == this) {
      // The window under it becomes active again.
      TForm* next = previousActive_;
      if (!next || !next->Visible() || next->IsDestroying()) {
        next = Application->MainForm();
        if (next && (next == this || !next->Visible())) next = nullptr;
      }
      if (next && next->Widget()) RaiseWindow(next->Widget());
      Application->SetActiveForm(next);
    }
  }
}

void TForm::Show() {
  if (Visible() && Widget()->isVisible()) {
    RaiseWindow(Widget());
    if (Application) Application->SetActiveForm(this);
    return;
  }
  SetVisible(true);
}

bool TForm::Active() const { return Application && Application->ActiveForm() == this; }

void TForm::Activate() {
  if (activeControl_ && activeControl_->CanFocus() && activeControl_->Widget() &&
      Widget()->isVisible())
    activeControl_->Widget()->setFocus(Qt::OtherFocusReason);
  if (OnActivate) OnActivate(this);
}

void TForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

TWinControl* TForm::ActiveControl() const { return activeControl_; }

void TForm::SetActiveControl(TWinControl* control) {
  if (control == this) control = nullptr;
  activeControl_ = control;
  if (control && control->Widget() && control->Widget()->isVisible() &&
      !control->Widget()->hasFocus() && control->CanFocus())
    control->Widget()->setFocus(Qt::OtherFocusReason);
}

void TForm::SelectNext(bool forward) {
  const std::vector<TWinControl*> list = TabList();
  if (list.empty()) return;
  auto it = std::find(list.begin(), list.end(), activeControl_);
  const int n = static_cast<int>(list.size());
  int index = it == list.end() ? (forward ? -1 : n) : static_cast<int>(it - list.begin());
  for (int step = 0; step < n; ++step) {
    index = (index + (forward ? 1 : -1) + n) % n;
    if (list[index]->CanFocus()) {
      SetActiveControl(list[index]);
      return;
    }
  }
}

// --- modal showing and closing ----------------------------------------------------------------

TModalResult TForm::ShowModal() {
  if (Visible() || modalLevel_ > 0) throw EInvalidOperation("Cannot make a visible window modal");
  TForm* opener = Application ? Application->ActiveForm() : nullptr;
  modalResult_ = mrNone;
  ++modalLevel_;
  Widget()->setWindowModality(Qt::ApplicationModal);
  try {
    Show();
    previousActive_ = opener;
    for (;;) {
      if (modalResult_ == mrNone && Visible()) DialogDriver().WaitModal(*this);
      if (modalResult_ == mrNone) modalResult_ = mrCancel;
      if ((Application && Application->Terminated()) || !Visible()) break;
      if (CloseModalQuery()) break;
    }
  } catch (...) {
    EndModal();
    throw;
  }
  EndModal();
  return modalResult_;
}

bool TForm::CloseModalQuery() {
  if (!CloseQuery()) {
    modalResult_ = mrNone;
    return false;
  }
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) {
    modalResult_ = mrNone;
    return false;
  }
  return true;
}

void TForm::EndModal() {
  --modalLevel_;
  // Hiding makes the window under it active again, which fires its OnActivate.
  SetVisible(false);
  Widget()->setWindowModality(Qt::NonModal);
}

void TForm::RunModalLoop() {
  QEventLoop loop;
  modalLoop_ = &loop;
  while (modalResult_ == mrNone && Visible() && !IsDestroying() &&
         !(Application && Application->Terminated()))
    loop.exec();
  modalLoop_ = nullptr;
}

void TForm::SetModalResult(TModalResult value) {
  modalResult_ = value;
  if (value != mrNone && modalLoop_) modalLoop_->quit();
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modalLevel_ > 0) {
    SetModalResult(mrCancel);
    return;
  }
  if (closing_ || !CloseQuery()) return;
  closing_ = true;
  TCloseAction action = caHide;
  try {
    DoClose(action);
  } catch (...) {
    closing_ = false;
    throw;
  }
  closing_ = false;
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree: {
      Hide();
      // Freed once the handler that closed it has returned, unless it is gone by then. The
      // link dies with this window, so another window created at the same address is never
      // taken for it.
      if (Application) {
        Application->QueueCall([link = PeerOf(Widget())->Link()] {
          if (TControl* self = Linked(link)) delete self;
        });
      }
      break;
    }
    default:
      Hide();
      break;
  }
}

void TForm::PeerCloseRequested() { Close(); }

// --- menu --------------------------------------------------------------------------------------

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  const TRect client = GetClientRect();
  if (menu_) {
    menu_->RemoveFreeNotification(this);
    menu_->OnChange = nullptr;
  }
  menu_ = menu;
  if (menu_) {
    menu_->FreeNotification(this);
    menu_->OnChange = [this] { MenuChanged(); };
  }
  MenuChanged();
  SetClientSize(client.Width(), client.Height());
}

void TForm::MenuChanged() {
  const TRect client = GetClientRect();
  const bool had = menuBar_ != nullptr;
  if (!menu_) {
    delete menuBar_;
    menuBar_ = nullptr;
  } else {
    if (!menuBar_) {
      menuBar_ = new QMenuBar(Widget());
      menuBar_->show();
    }
    auto* bar = static_cast<QMenuBar*>(menuBar_);
    bar->clear();
    TMenuItem* root = menu_->Items();
    for (int i = 0; i < root->Count(); ++i) bar->addAction(root->Items(i)->NativeAction());
  }
  if (had != (menuBar_ != nullptr))
    SetClientSize(client.Width(), client.Height());
  else
    LayoutFrame();
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == menu_) {
    menu_ = nullptr;
    if (!IsDestroying()) MenuChanged();
  }
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == focusedControl_) focusedControl_ = nullptr;
  if (component == previousActive_) previousActive_ = nullptr;
}

void TForm::TextChanged() {
  if (Widget()) Widget()->setWindowTitle(ToQ(text_));
}
