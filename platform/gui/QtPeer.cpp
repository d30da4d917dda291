// Conversions at the toolkit boundary and the input forwarding shared by all peers.
#include "platform/gui/QtPeer.h"

#include <cstdio>

#include "platform/Exceptions.h"
#include "platform/GbkText.h"
#include "platform/gui/Desktop.h"
#include "platform/gui/Menus.h"

QFont ToQFont(const TFont& font);  // the canvas's font mapping, shared so text looks the same

namespace zgui {

QString ToQ(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }
std::string FromQ(const QString& text) { return Utf8ToGbk(text.toStdString()); }

QString ToQCaption(const std::string& gbk) {
  QString text = ToQ(gbk);
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text.at(i) != u'&') continue;
    if (text.at(i + 1).isHighSurrogate())
      text.remove(i, 1);
    else
      ++i;  // "&&", or the accelerator character
  }
  return text;
}

std::string StripAccelerator(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    // Keep both bytes of a double-byte character together: its trail byte may be '&'-like.
    const int len = GbkCharLength(caption, i);
    out.append(caption, i, len);
    i += len - 1;
  }
  return out;
}

QColor ToQColor(TColor color) {
  const TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QFont ToQFont(const TFont& font) { return ::ToQFont(font); }

QImage KeyedImage(const TBitmap& bitmap) {
  QImage image = bitmap.Image().convertToFormat(QImage::Format_ARGB32);
  const TColor key = ColorToRGB(bitmap.TransparentColor());
  if (key == clNone) return image;
  const QRgb rgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((row[x] & 0xFFFFFF) == rgb) row[x] = 0;
  }
  return image;
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

TMouseButton ButtonFromQt(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return mbRight;
    case Qt::MiddleButton:
      return mbMiddle;
    default:
      return mbLeft;
  }
}

namespace {
struct KeyPair {
  int qt;
  uint16_t vk;
};
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},        {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},   {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},       {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
};
}  // namespace

uint16_t VirtualKeyFromQt(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint16_t>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint16_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
    return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
  for (const auto& k : kKeys)
    if (k.qt == key) return k.vk;
  return 0;
}

int QtKeyFromVirtualKey(uint16_t vk) {
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + (vk - VK_F1);
  for (const auto& k : kKeys)
    if (k.vk == vk) return k.qt;
  return 0;
}

void RunHandler(TComponent* sender, const std::function<void()>& action) noexcept {
  if (Application) {
    Application->Guard(sender, action);
    return;
  }
  try {
    action();
  } catch (...) {
    // Without an application there is no window to show it in; the toolkit must not see it.
    ReportUncaught(std::current_exception());
  }
}

void ReportUncaught(const std::exception_ptr& error) {
  // Workers come here: the queue, not the application object, says whether one takes calls.
  if (PostGuiCall([error] { std::rethrow_exception(error); })) return;
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  } catch (...) {
    std::fputs("Unknown exception\n", stderr);
  }
}

PeerBase* PeerOf(QWidget* widget) { return dynamic_cast<PeerBase*>(widget); }

namespace {
// The character a key event types, when it is one byte (printable ASCII or a control
// character); 0 otherwise.
char TypedChar(const QKeyEvent* event) {
  const QString text = event->text();
  if (text.size() != 1) return 0;
  const char16_t ch = text.at(0).unicode();
  if (ch == 0 || ch >= 0x80) return 0;
  return static_cast<char>(ch);
}

// One character typed beyond ASCII: a single UTF-16 unit, or a surrogate pair.
bool IsOneWideCharacter(const QString& text) {
  if (text.size() == 1) return text.at(0).unicode() >= 0x80 && !text.at(0).isSurrogate();
  return text.size() == 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate();
}

TForm* PreviewForm(TControl* control) {
  TForm* form = control->ParentForm();
  if (form && form != control && form->KeyPreview && Live(form)) return form;
  return nullptr;
}
}  // namespace

void BroadcastFocusChanged(TWinControl* parent, TWinControl* focused) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    TMessage message{CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(focused), 0};
    c->WndProc(message);
    if (auto* w = dynamic_cast<TWinControl*>(c)) BroadcastFocusChanged(w, focused);
  }
}

namespace {

bool OfferDialogChar(TWinControl* parent, char ch) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!child || !child->Visible()) continue;
    bool taken = false;
    RunHandler(child, [&] { taken = child->DialogChar(ch); });
    if (taken || OfferDialogChar(child, ch)) return true;
  }
  return false;
}

}  // namespace

bool OfferDialogKey(TWinControl* focused, uint16_t key, TShiftState shift) {
  for (TWinControl* c = focused; c; c = c->Parent()) {
    bool taken = false;
    RunHandler(c, [&] { taken = c->DialogKey(key, shift); });
    if (taken) return true;
  }
  if ((shift & ssAlt) && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
    if (TForm* form = focused->ParentForm())
      return OfferDialogChar(form,
                             static_cast<char>(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key));
  }
  return false;
}

bool ForwardKeyPress(TControl* control, QKeyEvent* event,
                     const std::function<void(QKeyEvent*)>& passOn) {
  auto* win = dynamic_cast<TWinControl*>(control);
  uint16_t vk = VirtualKeyFromQt(event->key());
  const TShiftState shift = ShiftFromQt(event->modifiers(), QApplication::mouseButtons());
  if (!event->isAutoRepeat()) NoteLockKeyPressed(vk);
  bool consumed = false;
  if (win && vk != 0) {
    if (TForm* form = PreviewForm(control)) {
      RunHandler(form, [&] { consumed = form->KeyDown(vk, shift); });
    }
    if (!consumed && Live(win)) RunHandler(win, [&] { consumed = win->KeyDown(vk, shift); });
  }
  if (!consumed && win && vk != 0 && Live(win)) consumed = OfferDialogKey(win, vk, shift);
  if (consumed || !Live(control)) {
    event->accept();
    return true;
  }
  char ch = TypedChar(event);
  // A double-byte character reaches the handlers byte by byte, as the old desktop typed it;
  // refusing either byte refuses the character. A character beyond the BMP (an emoji, two
  // UTF-16 units) comes the same way in its four bytes, so a filter that keeps digits refuses
  // it by its lead byte.
  if (win && ch == 0 && IsOneWideCharacter(event->text())) {
    for (char byte : FromQ(event->text())) {
      if (TForm* form = PreviewForm(control)) RunHandler(form, [&] { form->KeyPress(byte); });
      if (byte != 0 && Live(win)) RunHandler(win, [&] { win->KeyPress(byte); });
      if (byte == 0 || !Live(control)) {
        event->accept();
        return true;
      }
    }
  }
  if (win && ch != 0) {
    const char original = ch;
    if (TForm* form = PreviewForm(control)) RunHandler(form, [&] { form->KeyPress(ch); });
    if (ch != 0 && Live(win)) RunHandler(win, [&] { win->KeyPress(ch); });
    if (ch == 0 || !Live(control)) {
      event->accept();
      return true;
    }
    if (ch != original) {
      // The handler typed another character: hand the widget that one instead.
      int key = event->key();
      if (ch >= 'a' && ch <= 'z')
        key = Qt::Key_A + (ch - 'a');
      else if (ch >= 'A' && ch <= 'Z')
        key = Qt::Key_A + (ch - 'A');
      else if (ch >= '0' && ch <= '9')
        key = Qt::Key_0 + (ch - '0');
      else if (ch >= 0x20)
        key = static_cast<unsigned char>(ch);
      QKeyEvent replaced(event->type(), key, event->modifiers(), QString(QChar(ch)));
      passOn(&replaced);
      event->setAccepted(replaced.isAccepted());
      return false;
    }
  }
  passOn(event);
  return false;
}

bool ForwardKeyRelease(TControl* control, QKeyEvent* event) {
  auto* win = dynamic_cast<TWinControl*>(control);
  uint16_t vk = VirtualKeyFromQt(event->key());
  if (!win || vk == 0) return false;
  const TShiftState shift = ShiftFromQt(event->modifiers(), QApplication::mouseButtons());
  bool consumed = false;
  if (TForm* form = PreviewForm(control))
    RunHandler(form, [&] { consumed = form->KeyUp(vk, shift); });
  if (!consumed && Live(win)) RunHandler(win, [&] { consumed = win->KeyUp(vk, shift); });
  if (consumed) event->accept();
  return consumed;
}

void ForwardFocus(TControl* control, bool in, Qt::FocusReason reason) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win) return;
  TForm* form = win->ParentForm();
  if (form == win) form = nullptr;
  if (in) {
    // Entering is a change of the window's focused control; the window regaining the focus
    // as a whole gives it back to the same control without a new entry.
    if (form && form->FocusedControl() == win) return;
    if (form) {
      form->SetFocusedControl(win);
      form->SetActiveControl(win);
      RunHandler(form, [&] { BroadcastFocusChanged(form, win); });
    }
    if (Live(win)) RunHandler(win, [&] { win->DoEnter(); });
  } else {
    // Focus leaving with the whole window is no move between controls.
    if (reason == Qt::ActiveWindowFocusReason) return;
    RunHandler(win, [&] { win->DoExit(); });
  }
}

bool OpenPopupMenu(TControl* control, QPoint globalPos) {
  for (TControl* c = control; c; c = c->Parent()) {
    if (TPopupMenu* menu = c->PopupMenu()) {
      menu->PopupComponent = c;
      RunHandler(menu, [&] { menu->Popup(globalPos.x(), globalPos.y()); });
      return true;
    }
  }
  return false;
}

}  // namespace zgui
