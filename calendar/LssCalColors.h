// Colours and fonts of the month-grid calendar, kept apart from its paint code.
#pragma once

#include <array>

#include "platform/gui/Graphics.h"

class TLssCalendar;

class TLssCalColors {
 public:
  explicit TLssCalColors(TLssCalendar* owner);
  TLssCalColors(const TLssCalColors&) = delete;
  TLssCalColors& operator=(const TLssCalColors&) = delete;

  // Copies the colours and the title, day and back-month fonts; the weekday-row background,
  // the arrow colour and the other fonts stay. nullptr is ignored.
  void Assign(const TLssCalColors* source);

  // index 0 .. 11 in the order of the named accessors below; other indices are ignored.
  TColor Colors(int index) const;
  void SetColor(int index, TColor value);
  // index 0 .. 5; the setter copies the font.
  TFont* Fonts(int index);
  const TFont* Fonts(int index) const;
  void SetFont(int index, const TFont& value);

  TColor TitleBackColor() const { return colors_[0]; }
  TColor WeekBackColor() const { return colors_[1]; }
  TColor DayBackColor() const { return colors_[2]; }
  TColor TrailingTextColor() const { return colors_[3]; }
  TColor LunarTermColor() const { return colors_[4]; }
  TColor SundayColor() const { return colors_[5]; }
  TColor SaturdayColor() const { return colors_[6]; }
  TColor HightlightBackColor() const { return colors_[7]; }
  TColor HightlightTextColor() const { return colors_[8]; }
  TColor BorderColor() const { return colors_[9]; }
  TColor GridColor() const { return colors_[10]; }
  TColor ArrowColor() const { return colors_[11]; }
  void SetTitleBackColor(TColor v) { SetColor(0, v); }
  void SetWeekBackColor(TColor v) { SetColor(1, v); }
  void SetDayBackColor(TColor v) { SetColor(2, v); }
  void SetTrailingTextColor(TColor v) { SetColor(3, v); }
  void SetLunarTermColor(TColor v) { SetColor(4, v); }
  void SetSundayColor(TColor v) { SetColor(5, v); }
  void SetSaturdayColor(TColor v) { SetColor(6, v); }
  void SetHightlightBackColor(TColor v) { SetColor(7, v); }
  void SetHightlightTextColor(TColor v) { SetColor(8, v); }
  void SetBorderColor(TColor v) { SetColor(9, v); }
  void SetGridColor(TColor v) { SetColor(10, v); }
  void SetArrowColor(TColor v) { SetColor(11, v); }

  TFont* TitleTextFont() { return &fonts_[0]; }
  TFont* WeekTextFont() { return &fonts_[1]; }
  TFont* DayTextFont() { return &fonts_[2]; }
  TFont* LunarTextFont() { return &fonts_[3]; }
  TFont* FtvTextFont() { return &fonts_[4]; }
  TFont* BackMonthTextFont() { return &fonts_[5]; }
  void SetTitleTextFont(const TFont& f) { SetFont(0, f); }
  void SetWeekTextFont(const TFont& f) { SetFont(1, f); }
  void SetDayTextFont(const TFont& f) { SetFont(2, f); }
  void SetLunarTextFont(const TFont& f) { SetFont(3, f); }
  void SetFtvTextFont(const TFont& f) { SetFont(4, f); }
  void SetBackMonthTextFont(const TFont& f) { SetFont(5, f); }

  TLssCalendar* Owner() const { return owner_; }

 private:
  void ColorsChanged();
  void FontsChanged();

  TLssCalendar* owner_;
  std::array<TColor, 12> colors_;
  std::array<TFont, 6> fonts_;
};
