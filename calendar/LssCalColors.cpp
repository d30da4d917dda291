#include "calendar/LssCalColors.h"

#include "calendar/LssCalendar.h"

namespace {

TFont MakeFont(const char* name, TFontCharset charset, TColor color, int size, TFontStyles style) {
  TFont font;
  font.SetName(name);
  font.SetCharset(charset);
  font.SetColor(color);
  font.SetSize(size);
  font.SetStyle(style);
  return font;
}

}  // namespace

TLssCalColors::TLssCalColors(TLssCalendar* owner)
    : owner_(owner),
      colors_{clActiveCaption, clWindow, clWindow, clInactiveCaptionText,
              clNavy,          clRed,    clMaroon, clActiveCaption,
              clWhite,         clGray,   clSilver, clWhite},
      fonts_{MakeFont("Arial Black", GB2312_CHARSET, clWhite, 14, fsBold),
             MakeFont("宋体", GB2312_CHARSET, clActiveCaption, 12, 0),
             MakeFont("Arial Black", DEFAULT_CHARSET, clWindowText, 10, fsBold),
             MakeFont("宋体", GB2312_CHARSET, clWindowText, 8, 0),
             MakeFont("宋体", GB2312_CHARSET, clRed, 8, 0),
             MakeFont("Times New Roman", DEFAULT_CHARSET, clSilver, 240, fsBold | fsItalic)} {}

void TLssCalColors::Assign(const TLssCalColors* source) {
  if (!source || source == this) return;
  for (int i : {0, 2, 3, 4, 5, 6, 7, 8, 9, 10}) colors_[i] = source->colors_[i];
  for (int i : {0, 2, 5}) fonts_[i].Assign(source->fonts_[i]);
  ColorsChanged();
  FontsChanged();
}

TColor TLssCalColors::Colors(int index) const {
  return index >= 0 && index < 12 ? colors_[index] : clNone;
}

void TLssCalColors::SetColor(int index, TColor value) {
  if (index < 0 || index >= 12 || colors_[index] == value) return;
  colors_[index] = value;
  ColorsChanged();
}

TFont* TLssCalColors::Fonts(int index) {
  return index >= 0 && index < 6 ? &fonts_[index] : nullptr;
}

const TFont* TLssCalColors::Fonts(int index) const {
  return index >= 0 && index < 6 ? &fonts_[index] : nullptr;
}

void TLssCalColors::SetFont(int index, const TFont& value) {
  if (index < 0 || index >= 6 || fonts_[index].SameAs(value)) return;
  fonts_[index].Assign(value);
  FontsChanged();
}

void TLssCalColors::ColorsChanged() {
  if (!owner_ || !owner_->Widget()) return;
  owner_->SetColor(DayBackColor());
  owner_->Invalidate();
}

void TLssCalColors::FontsChanged() {
  if (!owner_ || !owner_->Widget()) return;
  owner_->SetFont(fonts_[2]);
  owner_->Invalidate();
}
