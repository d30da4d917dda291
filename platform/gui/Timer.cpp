// TTimer on the toolkit's timers.
#include <QTimer>
#include <atomic>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {
std::atomic<bool> g_manual{false};
}

struct TTimer::Impl {
  QTimer timer;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>()) {
  QObject::connect(&impl_->timer, &QTimer::timeout, &impl_->timer, [this] {
    if (IsDestroying()) return;
    RunHandler(this, [this] { Timer(); });
  });
}

TTimer::~TTimer() { impl_->timer.stop(); }

void TTimer::SetEnabled(bool value) {
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  UpdateTimer();
}

bool TTimer::Running() const { return enabled_ && interval_ > 0 && static_cast<bool>(OnTimer); }

void TTimer::UpdateTimer() {
  // A change always restarts the count, as a window timer set anew does.
  impl_->timer.stop();
  if (enabled_ && interval_ > 0 && !g_manual) {
    impl_->timer.setInterval(static_cast<int>(std::min<unsigned>(interval_, 0x7FFFFFFF)));
    impl_->timer.start();
  }
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::SetManualForTesting(bool manual) { g_manual = manual; }
bool TTimer::ManualForTesting() { return g_manual; }
