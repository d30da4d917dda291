// Components and controls: the ownership tree, named lookup, geometry with the alignment engine,
// common properties, input events and control messages. Every control wraps one native widget
// that lives exactly as long as the control; the widget type never shows in this header.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/gui/Graphics.h"

class QWidget;  // the native peer; only platform/gui code touches it
class QPainter;

class TComponent;
class TControl;
class TWinControl;
class TForm;
class TBasicAction;
class TActionLink;
class TPopupMenu;
struct TPopupStyle;
void MakePopupWindow(TControl* control, const TPopupStyle& style);

// ---------------------------------------------------------------------------------------------
// Event signatures. Handlers are std::function, normally bound to a window's member function
// with Handler(this, &TForm2::Button1Click).

using TNotifyEvent = std::function<void(TComponent* Sender)>;

template <class T>
TNotifyEvent Handler(T* self, void (T::*method)(TComponent*)) {
  return [self, method](TComponent* sender) { (self->*method)(sender); };
}

using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent =
    std::function<void(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TComponent* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TComponent* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
// Key is a virtual-key code (VK_*); setting it to 0 consumes the key.
using TKeyEvent = std::function<void(TComponent* Sender, uint16_t& Key, TShiftState Shift)>;
// Key is the typed character (one byte, printable ASCII or a control character such as #8 or
// #13); setting it to 0 rejects it, changing it types the new character instead.
using TKeyPressEvent = std::function<void(TComponent* Sender, char& Key)>;

// Virtual-key codes; letters and digits are their upper-case ASCII codes.
constexpr uint16_t VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17,
                   VK_MENU = 18, VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32,
                   VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38,
                   VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112,
                   VK_F4 = 115, VK_F12 = 123, VK_NUMLOCK = 144, VK_SCROLL = 145;

// Control messages: our own numbers, sent to one control or broadcast to a parent's children.
constexpr unsigned CM_BASE = 0xB000;
// Sent to every control of a window when the focus moves to another of its controls;
// LParam is the control that has the focus now.
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
// Broadcast through a window's controls (all levels) when Enter or Escape was left unhandled
// by the focused control; WParam is the key, LParam the shift state. A control that acts on it
// sets Result to 1, which ends the broadcast.
constexpr unsigned CM_DIALOGKEY = CM_BASE + 8;
// The same for a character no control took (Alt with a letter, or a letter typed on a control
// that takes no text): WParam is the character; controls whose caption marks it as their
// accelerator act and set Result.
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 9;
struct TMessage {
  unsigned Msg = 0;
  intptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Dragging a control with the mouse: the target under the pointer is asked whether it
// accepts (enter, move, leave) and, when the button is released over a target that
// accepted, receives the drop; the source hears the end either way.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent = std::function<void(TComponent* Sender, TControl* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TComponent* Sender, TControl* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TComponent* Sender, TControl* Target, int X, int Y)>;

using TCursor = int;
// Whether `key` is the accelerator '&' marks in the caption (letters compared without case).
bool IsAccel(char key, const std::string& caption);

constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeAll = -22,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crHourGlass = -11,
                  crDrag = -12, crNo = -18, crHSplit = -14, crVSplit = -15, crHandPoint = -21,
                  crHandGrab = -30;  // a closed hand, as while dragging

// ---------------------------------------------------------------------------------------------

enum TComponentStateFlag : unsigned { csLoading = 1, csDestroying = 2 };
enum class TOperation { opInsert, opRemove };

// An owned, named object. An owner frees what it owns when it is freed; a component freed
// earlier leaves its owner's list. Names are unique among an owner's components, compared
// without regard to ASCII case.
class TComponent {
 public:
  explicit TComponent(TComponent* AOwner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Raises EComponentError when another component of the same owner has the name.
  virtual void SetName(const std::string& name);

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  // Owned component with that name (ASCII case ignored), or nullptr.
  TComponent* FindComponent(const std::string& name) const;
  template <class T>
  T* Find(const std::string& name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last created first.
  void DestroyComponents();

  // Asks to be told (Notification with opRemove) when `component` is freed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  unsigned ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  // Marks this component and everything it owns as being freed: from then on no event of
  // theirs reaches a handler.
  void Destroying();

  // Called once after a window built in code has set all its controls; clears the loading
  // state. Overrides call the base first.
  virtual void Loaded();
  // Called by the owner just before it frees this component, while it is still whole.
  virtual void BeforeDestruction() {}

  intptr_t Tag = 0;

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  void SetLoadingState() { state_ |= csLoading; }

 private:
  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  unsigned state_ = 0;
};

class EComponentError : public Exception {
  using Exception::Exception;
};

// ---------------------------------------------------------------------------------------------

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// Reading order and alignment for right-to-left languages: bdRightToLeft mirrors alignment
// and placement and reads right to left; the other two right-to-left modes only read so.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// A visible object inside a parent: geometry in the parent's client coordinates, common
// properties with change notices, input events and an optional linked action.
class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- tree
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form this control sits on (itself for a form), or nullptr.
  TForm* ParentForm() const;

  // --- geometry
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const {
    SettlePendingSize();
    return width_;
  }
  int Height() const {
    SettlePendingSize();
    return height_;
  }
  void SetLeft(int value) { PlaceAt(value, top_); }
  void SetTop(int value) { PlaceAt(left_, value); }
  void SetWidth(int value) { SetBounds(left_, top_, value, Height()); }
  void SetHeight(int value) { SetBounds(left_, top_, Width(), value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const;
  void SetBoundsRect(const TRect& rect);
  // Client area in the control's own coordinates (origin 0,0 unless a subclass insets it).
  virtual TRect GetClientRect() const;
  int ClientWidth() const;
  int ClientHeight() const;
  virtual void SetClientSize(int width, int height);
  TPoint ClientToScreen(const TPoint& point) const;
  TPoint ScreenToClient(const TPoint& point) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  // --- state and look
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to a shown window visible too.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  // Caption and Text are one value, as the platform had it; '&' marks an accelerator where
  // the control shows one ("&&" is a literal '&').
  std::string Caption() const { return GetText(); }
  std::string Text() const { return GetText(); }
  void SetCaption(const std::string& value) { SetText(value); }
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& value);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  // The font is the control's own object; after changing its fields call FontChanged()
  // (or assign a whole font with SetFont) so the control takes the new look.
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont& font);
  void FontChanged();
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  // A control follows its parent's mode until it is given its own. The mode changes what the
  // controls that draw themselves mirror; the toolkit's own widgets keep their layout.
  TBiDiMode BiDiMode() const { return bidiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  // Alignment and placement are mirrored (bdRightToLeft).
  bool UseRightToLeftAlignment() const { return bidiMode_ == bdRightToLeft; }
  // Text reads right to left (every mode but bdLeftToRight).
  bool UseRightToLeftReading() const { return bidiMode_ != bdLeftToRight; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // --- actions: a linked action's caption, hint, enabled, visible and checked state show on
  // the control, and a click executes the action.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);

  // --- painting
  void Invalidate();
  void InvalidateRect(const TRect& rect);
  void Repaint();
  void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // --- mouse capture (implicit while a button is held; explicit here)
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // --- dragging. BeginDrag(true) starts at once; otherwise the drag starts once the pointer
  // has moved `threshold` pixels (5 when negative) with the button held. The drag follows the
  // source's mouse moves and ends at its button release (a drop on a target that accepted)
  // or at EndDrag. Only one drag runs at a time.
  void BeginDrag(bool immediate, int threshold = -1);
  bool Dragging() const;
  // Ends the drag: with `drop`, on the current target if it accepted.
  void EndDrag(bool drop);
  // Target side: OnDragOver decides (no handler refuses); the drop runs OnDragDrop.
  virtual void DragOver(TControl* source, int x, int y, TDragState state, bool& accept);
  virtual void DragDrop(TControl* source, int x, int y);
  // Source side: the drag ended on `target` (nullptr when nothing took the drop).
  virtual void DoEndDrag(TControl* target, int x, int y);
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

  // --- control messages
  intptr_t Perform(unsigned msg, intptr_t wparam = 0, intptr_t lparam = 0);
  virtual void WndProc(TMessage& message);

  // --- events
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnResize;

  // Runs the click: the linked action when there is one (unless OnClick is set and differs),
  // otherwise OnClick. Exceptions go to the caller.
  virtual void Click();
  virtual void DblClick();

  // Platform internals: the native peer and the widget children are placed in.
  QWidget* Widget() const { return widget_; }
  virtual QWidget* ClientWidget() const { return widget_; }

  // Input entry points, called by the native peer; overridable by controls that handle input.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  // Paints the peer; returns false to let the toolkit draw it. Self-drawn controls override
  // it (the painter is the peer's, valid during the call only).
  virtual bool PaintPeer(QPainter* painter) {
    (void)painter;
    return false;
  }
  // Paints over what the toolkit drew for the peer (a frame of the control's own round a
  // native edit, say); asked only when PaintsOverPeer says so. The painter is valid during
  // the call only.
  virtual bool PaintsOverPeer() const { return false; }
  virtual void PaintOverPeer(QPainter* painter) { (void)painter; }
  virtual void Resize();
  // The control came on screen or left it: its own visibility or that of a parent or of its
  // window changed. Visible() may stay the same.
  virtual void ShowingChanged() {}
  // Called by the action link when the linked action changed or went away.
  virtual void ActionChange(TBasicAction* sender);

 protected:
  // Plain controls click when a left press is released over them; controls that raise their
  // clicks themselves turn that off.
  void SetClickOnRelease(bool value);
  // Takes ownership of the peer; called once by each concrete control's constructor.
  void AttachWidget(QWidget* widget);
  // The peer of the parent was re-created or the control moved: apply geometry, visibility,
  // enablement, colour and font to the peer.
  virtual void UpdatePeer();
  // Pushes text/caption to the peer; subclasses that show text override it.
  virtual void TextChanged() {}
  virtual void ColorChanged();
  virtual void ApplyFont();
  // The mode changed, set or taken from the parent: mirrored controls lay out or repaint.
  virtual void BiDiModeChanged() { Invalidate(); }
  void Notification(TComponent* component, TOperation operation) override;
  // Geometry without realigning the parent (used by the alignment engine).
  void SetBoundsQuiet(int left, int top, int width, int height);
  friend class TWinControl;
  friend void ::MakePopupWindow(TControl* control, const TPopupStyle& style);

  // A control that sizes itself to its content may put the measuring off until its size is
  // read or it shows (sizePending_); SettleSize then measures. A move keeps it put off.
  virtual void SettleSize() {}
  void SettlePendingSize() const {
    if (sizePending_) const_cast<TControl*>(this)->SettleSize();
  }
  bool sizePending_ = false;
  bool movingOnly_ = false;  // SetBounds runs for a move (PlaceAt)

  std::string text_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  void PlaceAt(int left, int top);
  void ParentColorChanged();
  void ParentFontChanged();
  void ParentBiDiModeChanged();
  void TakeBiDiMode(TBiDiMode value);
  void WatchFont();
  void CopyParentFont();

  TWinControl* parent_ = nullptr;
  QWidget* widget_ = nullptr;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
  TColor color_ = clBtnFace;
  bool parentColor_ = true;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  TBiDiMode bidiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  TCursor cursor_ = crDefault;
  TPopupMenu* popupMenu_ = nullptr;
  std::unique_ptr<TActionLink> actionLink_;
};

// A control that holds other controls, takes the keyboard focus and aligns its children.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  // Child (direct) with that name, ASCII case ignored, or nullptr.
  TControl* FindChildControl(const std::string& name) const;
  bool ContainsControl(const TControl* control) const;

  // --- focus
  bool Focused() const;
  virtual bool CanFocus() const;
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when it cannot.
  virtual void SetFocus();
  // A tab stop is reached by Tab; focusing by a click or by SetFocus does not depend on it.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  int TabOrder() const;
  void SetTabOrder(int value);
  // Children that take part in Tab traversal, in tab order.
  std::vector<TWinControl*> TabList() const;

  // --- alignment: top, bottom, left and right children are laid in that order along the
  // remaining client rectangle (each kind sorted by position), then client children fill the
  // rest; custom children are asked through CustomAlignPosition.
  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return alignLevel_ > 0; }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  virtual void AdjustClientRect(TRect& rect) const;
  virtual void AlignControls(TControl* control, TRect& rect);

  // Sends to every child; stops at the first that sets Result.
  void Broadcast(TMessage& message);

  void SetBounds(int left, int top, int width, int height) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Input entry points, called by the native peer. They return true when the key was
  // consumed (a handler set it to 0).
  virtual bool KeyDown(uint16_t& key, TShiftState shift);
  virtual bool KeyUp(uint16_t& key, TShiftState shift);
  virtual bool KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Keys nobody consumed travel as dialog keys from the focused control up through its
  // parents (Ctrl+Tab to a page control); Alt with a character is offered as an accelerator
  // to every control of the window in turn. True when taken.
  virtual bool DialogKey(uint16_t key, TShiftState shift) {
    (void)key, (void)shift;
    return false;
  }
  virtual bool DialogChar(char key) {
    (void)key;
    return false;
  }
  // A child's caption or visibility changed (a host that shows its children as tabs follows).
  enum TChildChange { ccText, ccVisible };
  virtual void ChildChanged(TControl* child, TChildChange change) { (void)child, (void)change; }
  // Arrow keys and Tab go to the control itself instead of moving the focus when this says so.
  virtual bool WantsArrows() const { return false; }
  // Push buttons: while one has the focus, Enter presses it instead of the default button.
  virtual bool IsPushButton() const { return false; }
  // Told after a control joined (inserting) or left this one's children; containers that
  // arrange their children themselves listen.
  virtual void ControlListChange(TControl* control, bool inserting) {
    (void)control, (void)inserting;
  }

 protected:
  virtual void CustomAlignPosition(TControl* control, int& left, int& top, int& width, int& height,
                                   const TRect& alignRect) {
    (void)control, (void)left, (void)top, (void)width, (void)height, (void)alignRect;
  }
  void UpdatePeer() override;
  void UpdateChildPeers();

 private:
  friend class TControl;
  void ApplyTabStop();
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  std::vector<TControl*> controls_;  // in creation (z) order
  std::vector<TWinControl*> tabOrder_;
  bool tabStop_ = false;
  int alignLevel_ = 0;
  bool alignPending_ = false;
  bool aligning_ = false;
  int borderWidth_ = 0;
};
