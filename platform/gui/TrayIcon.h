// An icon in the desktop's notification area with a tip, whose clicks the program hears.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Graphics.h"

enum class TTrayActivation { Click, DoubleClick, MiddleClick, ContextMenu };

class TTrayIcon {
 public:
  TTrayIcon();
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Whether the desktop has a notification area; without one the icon is kept but not shown.
  static bool Available();
  // Whether the notification area reports double clicks. Hosts that speak the desktop's
  // status-notifier protocol report only single activations; there a caller that waits for a
  // double click should take a click instead. Tests may fix the answer (unset: ask the desktop).
  static bool ReportsDoubleClicks();
  static void SetReportsDoubleClicksForTesting(int answer);  // 1 yes, 0 no, -1 ask

  // The picture; pixels of the bitmap's transparent colour are left out.
  void SetIcon(const TBitmap& icon);
  void SetTip(const std::string& tip);  // GBK
  const std::string& Tip() const { return tip_; }
  void Show();
  void Hide();
  bool Visible() const { return visible_; }

  // The user acted on the icon, at a screen position; runs inside the exception handler.
  std::function<void(TTrayActivation reason, TPoint screenPos)> OnActivated;
  // What the notification area does when the user acts on the icon (tests call it too).
  void Activate(TTrayActivation reason, TPoint screenPos);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string tip_;
  bool visible_ = false;
};
