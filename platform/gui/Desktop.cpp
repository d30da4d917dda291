// Screens, cursor, metrics and key states.
#include "platform/gui/Desktop.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <QToolTip>
#include <atomic>
#include <map>
#include <mutex>

#include "platform/Libraries.h"
#include "platform/gui/Controls.h"
#include "platform/gui/QtPeer.h"

TRect MonitorWorkAreaAt(TPoint p) {
  QScreen* screen = QGuiApplication::screenAt(QPoint(p.X, p.Y));
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return Rect(0, 0, 1024, 768);
  const QRect r = screen->availableGeometry();
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

namespace {
bool g_cursorOverridden = false;
TPoint g_cursorOverride;
}  // namespace

TPoint CursorPos() {
  if (g_cursorOverridden) return g_cursorOverride;
  const QPoint p = QCursor::pos();
  return Point(p.x(), p.y());
}

void SetCursorPosForTesting(bool overridden, TPoint screenPoint) {
  g_cursorOverridden = overridden;
  g_cursorOverride = screenPoint;
}

void CancelHint() { QToolTip::hideText(); }

int ScrollBarWidth() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
    return app->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return 16;
}

int WheelScrollLines() {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return app->styleHints()->wheelScrollLines();
  return 3;
}

namespace {

std::mutex g_mutex;
std::map<int, QCursor>& CursorTable() {
  static std::map<int, QCursor> table;
  return table;
}
int g_screenCursor = crDefault;
std::function<int16_t(uint16_t)> g_provider;
// Lock states as seen from the presses in the program's windows.
std::atomic<bool> g_caps{false}, g_num{false}, g_scroll{false}, g_insert{false};

// The display's keyboard indicators (bit 0 Caps, 1 Num, 2 Scroll), where an X display is
// there to ask; -1 otherwise. Asked over the toolkit's own connection: a second one would cost
// the program's start a connection to the server. The library is loaded at run time, so
// nothing needs it to build.
int DisplayIndicators() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return -1;
  using GetIndicators = int (*)(void*, unsigned, unsigned*);
  static GetIndicators get = [] {
    GetIndicators found = nullptr;
    TLibrary("libX11.so.6").Find(found, "XkbGetIndicatorState");
    return found;
  }();
  if (!get) return -1;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  void* display = x11 ? x11->display() : nullptr;
  if (!display) return -1;
  unsigned state = 0;
  constexpr unsigned kUseCoreKeyboard = 0x0100;
  if (get(display, kUseCoreKeyboard, &state) != 0) return -1;
  return static_cast<int>(state);
}

}  // namespace

namespace zgui {
QCursor CursorFor(int id) {
  const auto it = CursorTable().find(id);
  if (it != CursorTable().end()) return it->second;
  switch (id) {
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    case crSizeNESW:
      return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
      return Qt::SizeVerCursor;
    case crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
      return Qt::SizeHorCursor;
    case crHourGlass:
      return Qt::WaitCursor;
    case crDrag:
      return Qt::DragMoveCursor;
    case crNo:
      return Qt::ForbiddenCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crHandGrab:
      return Qt::ClosedHandCursor;
    default:
      return Qt::ArrowCursor;
  }
}
}  // namespace zgui

void RegisterCursor(int id, const TBitmap& image, TPoint hotSpot) {
  if (image.Empty()) return;
  CursorTable()[id] = QCursor(QPixmap::fromImage(zgui::KeyedImage(image)), hotSpot.X, hotSpot.Y);
}

void RegisterCursorShape(int id, int shape) { CursorTable()[id] = zgui::CursorFor(shape); }

bool CursorRegistered(int id) { return CursorTable().count(id) != 0; }

void SetScreenCursor(int cursor) {
  if (cursor == g_screenCursor) return;
  if (g_screenCursor != crDefault) QApplication::restoreOverrideCursor();
  g_screenCursor = cursor;
  if (cursor != crDefault) QApplication::setOverrideCursor(zgui::CursorFor(cursor));
}

int ScreenCursor() { return g_screenCursor; }

void SetKeyStateProviderForTesting(std::function<int16_t(uint16_t)> provider) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_provider = std::move(provider);
}

void NoteLockKeyPressed(uint16_t vk) {
  switch (vk) {
    case VK_CAPITAL:
      g_caps = !g_caps;
      break;
    case VK_NUMLOCK:
      g_num = !g_num;
      break;
    case VK_SCROLL:
      g_scroll = !g_scroll;
      break;
    case VK_INSERT:
      g_insert = !g_insert;
      break;
    default:
      break;
  }
}

int16_t GetKeyState(uint16_t vk) {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_provider) return g_provider(vk);
  }
  constexpr int16_t kDown = static_cast<int16_t>(0x8000);
  if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) {
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    const bool down = (vk == VK_SHIFT && (mods & Qt::ShiftModifier)) ||
                      (vk == VK_CONTROL && (mods & Qt::ControlModifier)) ||
                      (vk == VK_MENU && (mods & Qt::AltModifier));
    return down ? kDown : 0;
  }
  if (vk == VK_INSERT) return g_insert ? 1 : 0;
  if (vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL) {
    const int indicators = DisplayIndicators();
    const int bit = vk == VK_CAPITAL ? 0 : vk == VK_NUMLOCK ? 1 : 2;
    if (indicators >= 0) return (indicators >> bit) & 1;
    const bool on = vk == VK_CAPITAL   ? g_caps.load()
                    : vk == VK_NUMLOCK ? g_num.load()
                                       : g_scroll.load();
    return on ? 1 : 0;
  }
  return 0;
}

bool KeyToggled(uint16_t vk) { return (GetKeyState(vk) & 1) != 0; }

void MessageBeep() { QApplication::beep(); }

bool DisplayKeyIndicator(uint16_t vk) {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_provider) return (g_provider(vk) & 1) != 0;
  }
  if (vk != VK_CAPITAL && vk != VK_NUMLOCK && vk != VK_SCROLL) return false;
  const int indicators = DisplayIndicators();
  const int bit = vk == VK_CAPITAL ? 0 : vk == VK_NUMLOCK ? 1 : 2;
  return indicators >= 0 && ((indicators >> bit) & 1) != 0;
}
