// The process-wide blink timer shared by every blinking control.
#include "widgets/WkBlink.h"

#include <algorithm>

TWkBlinkingControlsList* BlinkingControls = nullptr;

TWkBlinkingControlsList::TWkBlinkingControlsList() : timer_(std::make_unique<TTimer>(nullptr)) {
  timer_->SetInterval(500);
  timer_->OnTimer = [this](TComponent*) { Tick(); };
  timer_->SetEnabled(true);
}

TWkBlinkingControlsList::~TWkBlinkingControlsList() = default;

void TWkBlinkingControlsList::Add(IWkBlinkingControl* control) { controls_.push_back(control); }

void TWkBlinkingControlsList::Remove(IWkBlinkingControl* control) {
  const auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it != controls_.end()) controls_.erase(it);
}

void TWkBlinkingControlsList::Tick() {
  state_ = !state_;
  // A changed interval takes effect here, at the next toggle.
  timer_->SetInterval(state_ ? intervalOn_ : intervalOff_);
  const std::vector<IWkBlinkingControl*> snapshot = controls_;
  for (IWkBlinkingControl* control : snapshot) {
    if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) continue;
    if (control->IsBlinking()) control->SetBlinkState(state_);
  }
}

void JoinBlinkingControls(IWkBlinkingControl* control) {
  if (BlinkingControls == nullptr) BlinkingControls = new TWkBlinkingControlsList();
  BlinkingControls->Add(control);
}

void LeaveBlinkingControls(IWkBlinkingControl* control) {
  if (BlinkingControls == nullptr) return;
  BlinkingControls->Remove(control);
  if (BlinkingControls->GetCount() == 0) {
    delete BlinkingControls;
    BlinkingControls = nullptr;
  }
}
