// A calendar control of the date-picker's size on a window of its own, with a fixed clock,
// and the geometry the control's layout gives that size (369 x 313: cells of 52 x 39, the
// lunar box 21 wide, the festival strip 10 high).
#pragma once

#include <memory>

#include "calendar/CalendarHint.h"
#include "calendar/LssCalendar.h"
#include "platform/Clock.h"
#include "tests/calendar/CalendarTestSupport.h"
#include "tests/support/GuiTest.h"

namespace calgui {

constexpr int kWidth = 369, kHeight = 313;
constexpr int kCellW = 52, kCellH = 39;
constexpr int kDayTop = 2 * kCellH;
constexpr int kLunarW = 21, kFtvH = 10;

inline TRect CellRect(int index) {
  return Bounds(index % 7 * kCellW, kDayTop + index / 7 * kCellH, kCellW, kCellH);
}
// Boxes of a cell in the default styles (lunar on the right, festivals at the bottom).
inline TRect DayBox(int index) {
  const TRect c = CellRect(index);
  return Rect(c.Left, c.Top, c.Right - kLunarW, c.Bottom - kFtvH);
}
inline TRect LunarBox(int index) {
  const TRect c = CellRect(index);
  return Rect(c.Right - kLunarW, c.Top, c.Right, c.Bottom - kFtvH);
}
inline TRect FtvBox(int index) {
  const TRect c = CellRect(index);
  return Rect(c.Left, c.Bottom - kFtvH, c.Right, c.Bottom);
}
inline TPoint Centre(const TRect& r) {
  return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

class CalendarTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    clock_ = std::make_unique<ScopedTestClock>(At(2012, 2, 15, 9, 30));
    form_.reset(NewForm<TForm>(nullptr));
    form_->SetClientSize(400, 340);
    cal = new TLssCalendar(form_.get());
    cal->SetParent(form_.get());
    cal->SetBounds(0, 0, kWidth, kHeight);
    cal->OnChange = [this](TComponent*) { ++changes; };
  }
  void TearDown() override {
    form_.reset();
    clock_.reset();
    GuiTest::TearDown();
  }
  TForm* form() { return form_.get(); }
  // A left click as the control receives it.
  void ClickAt(TPoint p) {
    cal->MouseDown(mbLeft, ssLeft, p.X, p.Y);
    cal->MouseUp(mbLeft, 0, p.X, p.Y);
  }

  TLssCalendar* cal = nullptr;
  int changes = 0;

 private:
  std::unique_ptr<ScopedTestClock> clock_;
  std::unique_ptr<TForm> form_;
};

}  // namespace calgui
