#include "calendar/CalendarHint.h"

#include <algorithm>

#include "platform/GbkText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PopupWindow.h"

namespace {

// The lines of a text; a run of line breaks is one break.
std::vector<std::string> HintLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool inBreak = false;
  for (char ch : text) {
    if (ch == '\n' || ch == '\r') {
      if (!inBreak) lines.push_back(line);
      line.clear();
      inBreak = true;
      continue;
    }
    inBreak = false;
    line += ch;
  }
  if (!line.empty() || (!inBreak && !text.empty())) lines.push_back(line);
  return lines;
}

}  // namespace

TCalendarHint::TCalendarHint(TComponent* AOwner) : TCustomControl(AOwner) {
  MakePopupWindow(this, TPopupStyle{true, true});
  SetVisible(false);
  SetColor(clInfoBk);
  // The desktop's hint font: a Chinese face, since the hint's texts are Chinese.
  TFont& font = Canvas().Font();
  font.SetName("宋体");
  font.SetCharset(GB2312_CHARSET);
  font.SetSize(9);
  font.SetColor(clInfoText);
  Canvas().Brush().SetStyle(bsClear);
}

void TCalendarHint::SetVisible(bool value) {
  TCustomControl::SetVisible(value);
  ShowPopupWindow(this, Visible());
}

void TCalendarHint::SetAlpha(int value) {
  if (value < 0 || value > 255 || value == alpha_) return;
  alpha_ = value;
  SetWindowAlpha(this, value);
}

void TCalendarHint::TextChanged() { MeasureHintText(); }

void TCalendarHint::MeasureHintText() {
  const std::string text = Caption();
  const std::vector<std::string> lines = HintLines(text);
  const bool keyed = text.find('=') != std::string::npos;
  TCanvas& canvas = Canvas();
  keys_.Clear();
  values_.Clear();
  keyWidth_ = 0;
  int widest = 0;
  for (const std::string& line : lines) {
    const size_t at = keyed ? line.find('=') : std::string::npos;
    if (at == std::string::npos) {
      keys_.Add("");
      values_.Add(line);
    } else {
      keys_.Add(Trim(line.substr(0, at)) + ":");
      values_.Add(line.substr(at + 1));
    }
    keyWidth_ = std::max(keyWidth_, canvas.TextWidth(keys_[keys_.Count() - 1]));
    widest = std::max(widest, canvas.TextWidth(line));
  }
  const int width = lines.empty() ? 0 : widest + 10;
  const int height =
      lines.empty() ? 0 : canvas.TextHeight(text) * static_cast<int>(lines.size()) + 10;
  if (width > 0 && height > 0) {
    SetBounds(Left(), Top(), width, height);
    Show();
  } else {
    Hide();
  }
  Invalidate();
}

void TCalendarHint::Paint() {
  TCanvas& canvas = Canvas();
  // The thin window border; the text keeps its margins inside it.
  const TRect frame = Rect(0, 0, Width(), Height());
  canvas.Brush().SetColor(clWindowFrame);
  canvas.FrameRect(frame);
  canvas.Brush().SetStyle(bsClear);
  canvas.MoveOrigin(1, 1);
  const int lineHeight = canvas.TextHeight("H");
  const TColor textColor = canvas.Font().Color();
  for (int i = 0; i < keys_.Count(); ++i) {
    const int y = 5 + i * lineHeight;
    canvas.Font().SetColor(clRed);
    canvas.TextOut(5, y, keys_[i]);
    canvas.Font().SetColor(textColor);
    canvas.TextOut(5 + keyWidth_, y, values_[i]);
  }
}

void TCalendarHint::PlaceAtCursor(TPoint cursor) {
  const TScreenInfo screen = ScreenInfo();
  int x = cursor.X + 16;
  int y = cursor.Y + 16;
  if (x + Width() > screen.Width) x = screen.Width - Width();
  if (y + Height() > screen.Height) y = screen.Height - Height();
  SetBounds(x, y, Width(), Height());
}
