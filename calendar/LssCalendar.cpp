// The calendar control's state: properties, the selected day, layout, mouse, keys and hint.
// Painting is in LssCalendarPaint.cpp.
#include "calendar/LssCalendar.h"

#include <algorithm>
#include <cmath>

#include "calendar/CalendarHint.h"
#include "calendar/CalendarRules.h"
#include "platform/Numbers.h"

namespace {

// The nearest integer, halves to even, as the layout has always rounded box sizes.
int RoundBox(double value) { return static_cast<int>(std::nearbyint(value)); }

const char* const kArrowHints[] = {"上一年", "上一月", "下一月", "下一年"};
const int kArrowMonths[] = {-12, -1, 1, 12};

}  // namespace

TLssCalendar::TLssCalendar(TComponent* AOwner) : TLssCalendar(AOwner, ownEngine_) {}

TLssCalendar::TLssCalendar(TComponent* AOwner, const TLunarEngine& engine)
    : TCustomControl(AOwner),
      engine_(engine),
      calColors_(std::make_unique<TLssCalColors>(this)),
      ftvList_(std::make_unique<TFestivalList>(this)) {
  date_ = ::Date();
  DecodeDate(date_, year_, month_, day_);
  CalcFirstDate();
  TFont font(*Font());
  font.SetName("宋体");
  font.SetCharset(GB2312_CHARSET);
  SetFont(font);
  SetTabStop(true);
  SetShowHint(true);
  SetColor(calColors_->DayBackColor());
  hint_ = new TCalendarHint(this);
  SetBounds(Left(), Top(), 300, 210);
  UpdateLayout();
}

TLssCalendar::~TLssCalendar() {
  if (backImage_) backImage_->RemoveFreeNotification(this);
}

// --- engine and festivals -------------------------------------------------------------------

std::string TLssCalendar::GetFestivalText(TDate date, TColor& colour) const {
  return ::GetFestivalText(*ftvList_, date, colour);
}

std::string TLssCalendar::GetFestivalText(TDate date) const {
  return ::GetFestivalText(*ftvList_, date);
}

TColor TLssCalendar::GetMarkColor(TDate date) const { return ::GetMarkColor(*ftvList_, date); }

int TLssCalendar::WeekOfYear(TDate date) const { return CalendarWeekOfYear(date, useIso8601_); }

std::string TLssCalendar::GetEnDayName(int index, int kind) const {
  return EnglishDayName(index, kind);
}

std::string TLssCalendar::GetEnMonthName(int month, int kind) const {
  return EnglishMonthName(month, kind);
}

// --- properties -----------------------------------------------------------------------------

void TLssCalendar::SetFtvList(const TFestivalList* value) {
  ftvList_->Assign(value);
  Invalidate();
}

void TLssCalendar::SetLunarCalStyle(TLssCalStyle value) {
  if (value == lunarCalStyle_) return;
  lunarCalStyle_ = value;
  UpdateLayout();
  Invalidate();
}

void TLssCalendar::SetFtvCalStyle(TLssCalStyle value) {
  if (value == ftvCalStyle_) return;
  ftvCalStyle_ = value;
  UpdateLayout();
  Invalidate();
}

void TLssCalendar::SetAutoFontSize(bool value) {
  if (value == autoFontSize_) return;
  autoFontSize_ = value;
  UpdateLayout();
  Invalidate();
}

void TLssCalendar::SetVerticalScale(double value) {
  if (std::fabs(value) < 0.001 || value == verticalScale_) return;
  verticalScale_ = value;
  UpdateLayout();
  Invalidate();
}

void TLssCalendar::SetHorizonScale(double value) {
  if (std::fabs(value) < 0.001 || value == horizonScale_) return;
  horizonScale_ = value;
  UpdateLayout();
  Invalidate();
}

void TLssCalendar::SetUseISO8601(bool value) {
  if (value == useIso8601_) return;
  useIso8601_ = value;
  CalcFirstDate();
  Invalidate();
}

void TLssCalendar::SetBackImage(TImage* value) {
  if (value == backImage_) return;
  if (backImage_) backImage_->RemoveFreeNotification(this);
  backImage_ = value;
  if (backImage_) backImage_->FreeNotification(this);
  Invalidate();
}

void TLssCalendar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == backImage_) backImage_ = nullptr;
}

#define ZELKAR_REPAINT_SETTER(Name, field)   \
  void TLssCalendar::Set##Name(bool value) { \
    if (value == (field)) return;            \
    (field) = value;                         \
    Invalidate();                            \
  }
ZELKAR_REPAINT_SETTER(ShowVertical, showVertical_)
ZELKAR_REPAINT_SETTER(ChineseEar, chineseEar_)
ZELKAR_REPAINT_SETTER(ShowBackMonth, showBackMonth_)
ZELKAR_REPAINT_SETTER(ShowBackImage, showBackImage_)
ZELKAR_REPAINT_SETTER(ShowArrow, showArrow_)
ZELKAR_REPAINT_SETTER(ShowBorder, showBorder_)
ZELKAR_REPAINT_SETTER(ShowGrid, showGrid_)
ZELKAR_REPAINT_SETTER(EnWeekName, enWeekName_)
#undef ZELKAR_REPAINT_SETTER

// --- the selected day -----------------------------------------------------------------------

void TLssCalendar::SetDate(TDate value) {
  int y = 0, m = 0, d = 0;
  DecodeDate(value, y, m, d);
  if (y < 1900 || y > 2100) return;
  const TDate day = DateOf(value);
  if (day == date_) return;
  const TDate oldFirst = firstDate_;
  const TRect oldSelected = selectedRect_;
  date_ = day;
  year_ = y, month_ = m, day_ = d;
  CalcFirstDate();
  Change();
  // Only what changed is repainted.
  if (firstDate_ != oldFirst) {
    InvalidateRect(dayRect_);
    InvalidateRect(titleRect_);
  } else if (userPick_) {
    InvalidateRect(oldSelected);
    InvalidateRect(CellRect(static_cast<int>(date_ - firstDate_)));
  } else if (chineseEar_) {
    InvalidateRect(titleRect_);
  }
}

void TLssCalendar::CalcFirstDate() {
  const TDate first = ::FirstShownDate(year_, month_, useIso8601_);
  // A hint over a cell names the day that cell held: once the grid shifts under a still
  // pointer it would name the wrong day, so it goes until the pointer moves again.
  if (first != firstDate_ && hint_ != nullptr && hintCell_ >= 0) HideHint();
  firstDate_ = first;
}

void TLssCalendar::Change() {
  if (OnChange) OnChange(this);
}

// --- layout ---------------------------------------------------------------------------------

void TLssCalendar::Resize() {
  UpdateLayout();
  TCustomControl::Resize();
}

int TLssCalendar::AutoFitFontSize(TFont& font, const std::string& sample, int width, int height) {
  const std::string key = font.Name() + '\n' + std::to_string(font.Style()) + '\n' + sample + '\n' +
                          std::to_string(width) + 'x' + std::to_string(height);
  if (auto known = fittedSizes_.find(key); known != fittedSizes_.end()) {
    font.SetSize(known->second);
    return known->second;
  }
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(font);
  auto fits = [&](int size) {
    canvas.Font().SetSize(size);
    return canvas.TextWidth(sample) <= width && canvas.TextHeight(sample) <= height;
  };
  // The size before the first from 5 up that does not fit (1000 when all do). Text grows with
  // its size, so instead of trying every size from 5 (each one a font to load) the search
  // starts at a size scaled from one measurement and walks to the same boundary.
  constexpr int kProbe = 40;
  canvas.Font().SetSize(kProbe);
  const long long w = canvas.TextWidth(sample), h = canvas.TextHeight(sample);
  long long guess = 1000;
  if (w > 0) guess = std::min<long long>(guess, kProbe * static_cast<long long>(width) / w);
  if (h > 0) guess = std::min<long long>(guess, kProbe * static_cast<long long>(height) / h);
  int size = static_cast<int>(std::clamp<long long>(guess, 5, 1000));
  int fitted;
  if (fits(size)) {
    while (size < 1000 && fits(size + 1)) ++size;
    fitted = size;
  } else {
    // Down to the first size that fits; 4 when not even 5 does.
    while (size > 5 && !fits(size - 1)) --size;
    fitted = size - 1;
  }
  if (fittedSizes_.size() >= 256) fittedSizes_.clear();  // a user resizing at length
  fittedSizes_.emplace(key, fitted);
  font.SetSize(fitted);
  return fitted;
}

void TLssCalendar::EnsureLayout() const {
  // Never made const: every calendar is a control made with new.
  if (layoutStale_) const_cast<TLssCalendar*>(this)->Layout();
}

void TLssCalendar::Layout() {
  layoutStale_ = false;
  const TRect client = GetClientRect();
  const int W = client.Width() / 7;
  const int H = client.Height() / 8;
  cellWidth_ = W;
  cellHeight_ = H;
  titleRect_ = Rect(0, 0, client.Width(), H);
  weekRect_ = Rect(0, H, client.Width(), 2 * H);
  dayRect_ = Rect(0, 2 * H, client.Width(), client.Height());

  const int lw = RoundBox(W / horizonScale_);
  const int lh = RoundBox(H / verticalScale_);
  auto box = [&](TLssCalStyle style, TLssCalStyle other) {
    switch (style) {
      case csBottom:
        return Rect(0, H - lh, W, H);
      case csRight:
        return Rect(W - lw, 0, W, other == csBottom ? H - lh : H);
      default:
        return TRect{};
    }
  };
  lunarBox_ = box(lunarCalStyle_, ftvCalStyle_);
  ftvBox_ = box(ftvCalStyle_, lunarCalStyle_);
  const bool anyRight = lunarCalStyle_ == csRight || ftvCalStyle_ == csRight;
  const bool anyBottom = lunarCalStyle_ == csBottom || ftvCalStyle_ == csBottom;
  dayBox_ = Rect(0, 0, anyRight ? W - lw : W, anyBottom ? H - lh : H);

  TLssCalColors& c = *calColors_;
  if (autoFontSize_) {
    AutoFitFontSize(*c.BackMonthTextFont(), "9", dayRect_.Width(),
                    static_cast<int>(dayRect_.Height() * 0.9));
    AutoFitFontSize(*c.TitleTextFont(), FormatDateTime("yyyy年mm月", layoutDate_),
                    titleRect_.Width(), static_cast<int>(titleRect_.Height() * 0.8));
    AutoFitFontSize(*c.WeekTextFont(), FormatDateTime("ddd", layoutDate_),
                    static_cast<int>(W * 0.9), H);
    AutoFitFontSize(*c.DayTextFont(), FormatDateTime("dd", layoutDate_), dayBox_.Width(),
                    dayBox_.Height());
    if (lunarCalStyle_ == csRight && layoutVertical_)
      AutoFitFontSize(*c.LunarTextFont(), "九", lunarBox_.Width(), lunarBox_.Height() / 3);
    else
      AutoFitFontSize(*c.LunarTextFont(), "九九九", lunarBox_.Width(), lunarBox_.Height());
    if (ftvCalStyle_ != csRight)
      AutoFitFontSize(*c.FtvTextFont(), "九九九九九九", ftvBox_.Width(), ftvBox_.Height());
    else if (layoutVertical_)
      AutoFitFontSize(*c.FtvTextFont(), "九", ftvBox_.Width(), ftvBox_.Height() / 3);
    else
      AutoFitFontSize(*c.FtvTextFont(), "九九九", ftvBox_.Width(), ftvBox_.Height());
  }

  TCanvas& canvas = Canvas();
  if (!IsRectEmpty(ftvBox_) && !(ftvCalStyle_ == csRight && layoutVertical_)) {
    canvas.Font().Assign(*c.FtvTextFont());
    std::string sample = "九九九";
    // Bounded so that a font that measures nothing cannot keep the loop going.
    do {
      sample += "九";
    } while (canvas.TextWidth(sample) <= ftvBox_.Width() &&
             canvas.TextHeight(sample) <= ftvBox_.Height() && sample.size() < 512);
    festivalBytes_ = static_cast<int>(sample.size()) - 2;
  }

  // The arrows' boxes are kept even while they are hidden, so showing them needs no layout.
  canvas.Font().Assign(*c.TitleTextFont());
  canvas.Font().SetSize(c.TitleTextFont()->Size() * 3 / 5);
  const TSize extent = canvas.TextExtent("《");
  const int top = titleRect_.Top + (titleRect_.Height() - extent.cy) / 2;
  arrowRects_[PrevYear] = Bounds(titleRect_.Left + 5, top, extent.cx, extent.cy);
  arrowRects_[PrevMonth] = Bounds(arrowRects_[PrevYear].Right + 1, top, extent.cx, extent.cy);
  arrowRects_[NextYear] =
      Rect(titleRect_.Right - 5 - extent.cx, top, titleRect_.Right - 5, top + extent.cy);
  arrowRects_[NextMonth] = Rect(arrowRects_[NextYear].Left - 1 - extent.cx, top,
                                arrowRects_[NextYear].Left - 1, top + extent.cy);
}

TRect TLssCalendar::CellRect(int index) const {
  EnsureLayout();
  const int col = index % 7;
  const int row = index / 7;
  return Bounds(col * cellWidth_, dayRect_.Top + row * cellHeight_, cellWidth_, cellHeight_);
}

int TLssCalendar::CellAt(int x, int y) const {
  EnsureLayout();
  // Cells of no size (a control squeezed to nothing) have no cell under any point.
  if (cellWidth_ <= 0 || cellHeight_ <= 0) return -1;
  if (!PtInRect(dayRect_, Point(x, y))) return -1;
  const int col = x / cellWidth_;
  const int row = (y - dayRect_.Top) / cellHeight_;
  // The few pixels right of and below the grid belong to no cell.
  if (col > 6 || row > 5) return -1;
  return col + 7 * row;
}

int TLssCalendar::ArrowAt(int x, int y) const {
  if (!showArrow_) return -1;
  EnsureLayout();
  for (int i = 0; i < ArrowCount; ++i)
    if (PtInRect(arrowRects_[i], Point(x, y))) return i;
  return -1;
}

// --- mouse and keys -------------------------------------------------------------------------

void TLssCalendar::SelectDateAt(int x, int y) {
  const int cell = CellAt(x, y);
  if (cell < 0) return;
  const TDate day = firstDate_ + cell;
  if (day == date_) return;
  userPick_ = true;
  SetDate(day);
}

void TLssCalendar::StepArrow(int arrow) { SetDate(IncMonth(date_, kArrowMonths[arrow])); }

void TLssCalendar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && !Focused() && CanFocus()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  EnsureLayout();
  if (PtInRect(dayRect_, Point(x, y))) {
    SelectDateAt(x, y);
  } else if (const int arrow = ArrowAt(x, y); arrow >= 0) {
    StepArrow(arrow);
  }
}

void TLssCalendar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if ((shift & ssLeft) != 0) SelectDateAt(x, y);
  if (ShowHint()) UpdateHint(x, y);
}

void TLssCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button == mbLeft) userPick_ = false;
}

void TLssCalendar::MouseLeave() {
  HideHint();
  TCustomControl::MouseLeave();
}

bool TLssCalendar::KeyDown(uint16_t& key, TShiftState shift) {
  if (TCustomControl::KeyDown(key, shift)) return true;
  TDate target = date_;
  switch (key) {
    case VK_PRIOR:
      target = IncMonth(date_, -1);
      break;
    case VK_NEXT:
      target = IncMonth(date_, 1);
      break;
    case VK_HOME:
      target = EncodeDate(year_, month_, 1);
      break;
    case VK_END:
      target = EncodeDate(year_, month_, DaysInMonth(year_, month_));
      break;
    case VK_LEFT:
      target = date_ - 1;
      break;
    case VK_RIGHT:
      target = date_ + 1;
      break;
    case VK_UP:
      target = date_ - 7;
      break;
    case VK_DOWN:
      target = date_ + 7;
      break;
    case VK_RETURN:
      userPick_ = true;
      Click();
      return true;
    default:
      return false;
  }
  userPick_ = true;
  SetDate(target);
  return true;
}

// --- hint -----------------------------------------------------------------------------------

std::string TLssCalendar::DayHintText(TDate day) const {
  std::string text = "公元= " + FormatDateTime("yyyy年m月d日 dddd", day) + "  第" +
                     IntToStr(WeekOfYear(day)) + "周";
  // Days outside the engine's range have no lunar date and, before 1900, no stem-branch.
  const TLunarDate lunar = engine_.SolarToLunar(day);
  if (lunar.Year != 0)
    text += "\n农历= " + engine_.GetChineseYearText(lunar.Year) +
            engine_.GetLunarMonthName(lunar.Month, lunar.IsLeap) +
            engine_.GetLunarDayName(lunar.Day);
  int y = 0, m = 0, d = 0;
  DecodeDate(day, y, m, d);
  if (y >= 1900) {
    TGanZhiIndex gz;
    engine_.GetGanZhiIndex(day, gz);
    text += "\n干支= " + GanZhiYearMonthText(gz) + engine_.GetCyclicalName(gz.Day) + "日";
  }
  const std::string festivals = GetFestivalText(day);
  if (!festivals.empty()) text += "\n节日= " + festivals;
  return text;
}

void TLssCalendar::UpdateHint(int x, int y) {
  const TPoint cursor = ClientToScreen(Point(x, y));
  if (const int cell = CellAt(x, y); cell >= 0) {
    if (cell != hintCell_) {
      hintCell_ = cell;
      hint_->SetCaption(DayHintText(firstDate_ + cell));
      hint_->PlaceAtCursor(cursor);
    }
  } else if (const int arrow = ArrowAt(x, y); arrow >= 0) {
    hintCell_ = -1;
    hint_->SetCaption(kArrowHints[arrow]);
    hint_->PlaceAtCursor(cursor);
  } else {
    HideHint();
    return;
  }
  if (!hint_->Visible() && hint_->Width() > 0 && hint_->Height() > 0) hint_->Show();
}

void TLssCalendar::HideHint() {
  hintCell_ = -1;
  hint_->Hide();
}
