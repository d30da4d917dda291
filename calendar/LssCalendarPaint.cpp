// Painting of the calendar control: title row with arrows, weekday names, the day area with
// its background month number, border and grid, and the 42 day cells.
#include "calendar/CalendarRules.h"
#include "calendar/LssCalendar.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

namespace {

constexpr unsigned kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const char* const kArrowGlyphs[] = {"《", "〈", "〉", "》"};

}  // namespace

void TLssCalendar::Paint() {
  EnsureLayout();
  PaintTitle();
  PaintWeekRow();
  PaintDayArea();
  for (int k = 0; k < 42; ++k) PaintCell(k);
}

void TLssCalendar::PaintTitle() {
  if (IsRectEmpty(titleRect_)) return;
  TCanvas& canvas = Canvas();
  TLssCalColors& c = *calColors_;
  canvas.Brush().SetColor(c.TitleBackColor());
  canvas.FillRect(titleRect_);
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().Assign(*c.TitleTextFont());
  std::string text;
  if (chineseEar_) {
    TGanZhiIndex gz;
    engine_.GetGanZhiIndex(date_, gz);
    text = GanZhiYearMonthText(gz);
  } else if (enWeekName_) {
    text = GetEnMonthName(month_, 1) + " " + IntToStr(year_);
  } else {
    text = FormatDateTime("yyyy年m月", date_);
  }
  TRect r = titleRect_;
  canvas.DrawText(text, r, kCentred);
  if (!showArrow_) return;
  canvas.Font().SetSize(c.TitleTextFont()->Size() * 3 / 5);
  canvas.Font().SetColor(c.ArrowColor());
  for (int i = 0; i < ArrowCount; ++i) {
    TRect box = arrowRects_[i];
    canvas.DrawText(kArrowGlyphs[i], box, kCentred);
  }
}

void TLssCalendar::PaintWeekRow() {
  TCanvas& canvas = Canvas();
  TLssCalColors& c = *calColors_;
  canvas.Brush().SetColor(c.WeekBackColor());
  canvas.FillRect(weekRect_);
  canvas.Brush().SetStyle(bsClear);
  const TFont& font = *c.WeekTextFont();
  canvas.Font().Assign(font);
  for (int col = 0; col < 7; ++col) {
    const int weekday = useIso8601_ ? (col + 1) % 7 : col;
    canvas.Font().SetColor(weekday == 0   ? c.SundayColor()
                           : weekday == 6 ? c.SaturdayColor()
                                          : font.Color());
    const std::string name =
        enWeekName_ ? GetEnDayName(weekday, 0) : engine_.GetChineseWeekName(weekday);
    TRect r = Rect(col * cellWidth_, weekRect_.Top, (col + 1) * cellWidth_, weekRect_.Bottom);
    canvas.DrawText(name, r, kCentred);
  }
  if (!showGrid_) {
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(font.Color());
    canvas.MoveTo(weekRect_.Left, weekRect_.Bottom - 1);
    canvas.LineTo(weekRect_.Right, weekRect_.Bottom - 1);
  }
}

void TLssCalendar::PaintDayArea() {
  TCanvas& canvas = Canvas();
  TLssCalColors& c = *calColors_;
  canvas.Brush().SetColor(c.DayBackColor());
  canvas.FillRect(dayRect_);
  if (showBackImage_ && backImage_ && !backImage_->Picture().Empty())
    canvas.StretchDraw(dayRect_, backImage_->Picture());
  if (showBackMonth_) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(*c.BackMonthTextFont());
    TRect r = dayRect_;
    canvas.DrawText(IntToStr(month_), r, kCentred);
  }
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  if (showBorder_) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(c.BorderColor());
    canvas.Rectangle(GetClientRect());
  }
  if (showGrid_) {
    // DrawGrid: column lines from the weekday row down, row lines across the day area.
    canvas.Pen().SetColor(c.GridColor());
    const int bottom = GetClientRect().Bottom;
    for (int col = 1; col <= 6; ++col) {
      canvas.MoveTo(col * cellWidth_, weekRect_.Top);
      canvas.LineTo(col * cellWidth_, bottom);
    }
    for (int row = 0; row <= 5; ++row) {
      canvas.MoveTo(0, dayRect_.Top + row * cellHeight_);
      canvas.LineTo(GetClientRect().Right, dayRect_.Top + row * cellHeight_);
    }
  }
}

void TLssCalendar::PaintCell(int index) {
  TCanvas& canvas = Canvas();
  TLssCalColors& c = *calColors_;
  const TDate day = firstDate_ + index;
  const TRect cell = CellRect(index);
  int y = 0, m = 0, d = 0;
  DecodeDate(day, y, m, d);
  const bool trailing = m != month_;
  const int weekday = useIso8601_ ? (index % 7 + 1) % 7 : index % 7;

  TColor textColor = weekday == 0   ? c.SundayColor()
                     : weekday == 6 ? c.SaturdayColor()
                                    : c.DayTextFont()->Color();
  if (trailing) textColor = c.TrailingTextColor();
  if (const TColor mark = GetMarkColor(day); mark != NoFestivalColor) {
    canvas.Brush().SetColor(mark);
    canvas.FillRect(cell);
  }
  if (day == date_) {
    canvas.Brush().SetColor(c.HightlightBackColor());
    canvas.FillRect(cell);
    textColor = c.HightlightTextColor();
    selectedRect_ = cell;
    TRect focus = cell;
    InflateRect(focus, -2, -2);
    canvas.DrawFocusRect(focus);
  }
  canvas.Brush().SetStyle(bsClear);
  if (day == ::Date()) {
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(clRed);
    canvas.Rectangle(cell);
  }

  canvas.Font().Assign(*c.DayTextFont());
  canvas.Font().SetColor(textColor);
  TRect numberBox = dayBox_;
  OffsetRect(numberBox, cell.Left, cell.Top);
  canvas.DrawText(IntToStr(d), numberBox, kCentred);

  TRect lunarBox = lunarBox_;
  OffsetRect(lunarBox, cell.Left, cell.Top);
  TRect ftvBox = ftvBox_;
  OffsetRect(ftvBox, cell.Left, cell.Top);
  if (!IsRectEmpty(ftvBox_) && lunarCalStyle_ == ftvCalStyle_) {
    // One box for both: a festival takes the place of the lunar text.
    if (!DrawFestivalText(day, ftvBox, trailing)) DrawLunarText(day, lunarBox, trailing);
  } else {
    if (!IsRectEmpty(lunarBox_)) DrawLunarText(day, lunarBox, trailing);
    if (!IsRectEmpty(ftvBox_)) DrawFestivalText(day, ftvBox, trailing);
  }
}

void TLssCalendar::DrawLunarText(TDate day, const TRect& box, bool trailing) {
  int y = 0, m = 0, d = 0;
  DecodeDate(day, y, m, d);
  // The engine knows nothing of days outside its years.
  if (y < 1900 || y > 2100) return;
  TLssCalColors& c = *calColors_;
  TColor colour = c.LunarTermColor();
  std::string text = engine_.GetSolarTermName(day);
  if (text.empty()) {
    colour = c.LunarTextFont()->Color();
    if (chineseEar_) {
      TGanZhiIndex gz;
      engine_.GetGanZhiIndex(day, gz);
      text = engine_.GetCyclicalName(gz.Day);
    } else {
      const TLunarDate lunar = engine_.SolarToLunar(day);
      text = lunar.Day == 1 ? engine_.GetLunarMonthName(lunar.Month, lunar.IsLeap)
                            : engine_.GetLunarDayName(lunar.Day);
    }
  }
  if (trailing) colour = c.TrailingTextColor();
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(*c.LunarTextFont());
  canvas.Font().SetColor(colour);
  DrawBoxText(text, box, lunarCalStyle_);
}

bool TLssCalendar::DrawFestivalText(TDate day, const TRect& box, bool trailing) {
  TColor colour = NoFestivalColor;
  std::string text = GetFestivalText(day, colour);
  if (text.empty()) return false;
  text = CutFestivalText(text, festivalBytes_);
  TLssCalColors& c = *calColors_;
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(*c.FtvTextFont());
  canvas.Font().SetColor(trailing ? c.TrailingTextColor() : colour);
  DrawBoxText(text, box, ftvCalStyle_);
  return true;
}

void TLssCalendar::DrawBoxText(const std::string& text, const TRect& box, TLssCalStyle style) {
  if (text.empty()) return;
  TCanvas& canvas = Canvas();
  if (style == csRight && showVertical_) {
    // Top-down, one character a line, at most three.
    const std::vector<std::string> chars = SplitChars(text);
    const int lineHeight = canvas.TextHeight(text);
    const int top = box.Top + box.Height() / 3 - lineHeight;
    for (size_t i = 0; i < chars.size() && i < 3; ++i)
      canvas.TextOut(box.Left + 2, top + static_cast<int>(i) * lineHeight, chars[i]);
    return;
  }
  TRect r = box;
  const unsigned align = style == csRight ? DT_VCENTER : DT_CENTER;
  canvas.DrawText(text, r, align | DT_SINGLELINE | DT_NOPREFIX);
}
