// The process-wide blink timer shared by every blinking control.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gui/ExtCtrls.h"

// A control that may blink: the shared timer asks it and sends it each phase.
class IWkBlinkingControl {
 public:
  virtual ~IWkBlinkingControl() = default;
  virtual bool IsBlinking() const = 0;
  virtual void SetBlinkState(bool on) = 0;
};

// One timer for every blinking control of the process, alternating on and off phases.
class TWkBlinkingControlsList {
 public:
  TWkBlinkingControlsList();
  virtual ~TWkBlinkingControlsList();
  void Add(IWkBlinkingControl* control);
  // A control that is not listed is left alone.
  void Remove(IWkBlinkingControl* control);
  virtual int GetCount() const { return static_cast<int>(controls_.size()); }
  bool BlinkState() const { return state_; }
  std::uint16_t IntervalOff() const { return intervalOff_; }
  void SetIntervalOff(std::uint16_t value) { intervalOff_ = value; }
  std::uint16_t IntervalOn() const { return intervalOn_; }
  void SetIntervalOn(std::uint16_t value) { intervalOn_ = value; }
  TTimer* Timer() const { return timer_.get(); }
  void Tick();

 private:
  bool state_ = true;
  std::uint16_t intervalOff_ = 500;
  std::uint16_t intervalOn_ = 500;
  std::unique_ptr<TTimer> timer_;
  std::vector<IWkBlinkingControl*> controls_;
};

// The process's list, created by the first control that blinks; nullptr while none exists.
extern TWkBlinkingControlsList* BlinkingControls;
// Registers the control, creating the list when missing.
void JoinBlinkingControls(IWkBlinkingControl* control);
// Unregisters it and frees the list when it became empty.
void LeaveBlinkingControls(IWkBlinkingControl* control);
