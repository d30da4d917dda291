// Small helpers of the kit: rectangles, fonts, accelerator texts, monitors, transparency.
#include "widgets/WkHelpers.h"

#include "platform/gui/Desktop.h"

TRect CenterRect(const TRect& rect, int width, int height) {
  return Bounds((rect.Left + rect.Right - width) / 2, (rect.Top + rect.Bottom - height) / 2, width,
                height);
}

TRect VisualRect(const TControl& control, const TRect& logical) {
  if (!control.UseRightToLeftAlignment()) return logical;
  const TRect client = control.GetClientRect();
  const int across = client.Left + client.Right;
  return Rect(across - logical.Right, logical.Top, across - logical.Left, logical.Bottom);
}

TAlignment VisualAlignment(const TControl& control, TAlignment alignment) {
  if (!control.UseRightToLeftAlignment() || alignment == taCenter) return alignment;
  return alignment == taLeftJustify ? taRightJustify : taLeftJustify;
}

TFont CreateRotatedFont(const TFont& font, int angle) {
  TFont rotated(font);
  rotated.SetOrientation(angle);
  return rotated;
}

bool IsTrueTypeFont(const TFont& font) {
  (void)font;
  return true;
}

std::string StripAccelChars(const std::string& text) {
  // Byte-wise is safe in GBK: 0x26 is never the trail byte of a double-byte character.
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

TRect GetMonitorWorkArea(TPoint screenPoint) { return MonitorWorkAreaAt(screenPoint); }

int MonitorWorkAreaWidth(TControl* control) {
  TPoint centre;
  if (control != nullptr)
    centre = control->ClientToScreen(Point(control->Width() / 2, control->Height() / 2));
  return GetMonitorWorkArea(centre).Width();
}

void CheckTransparentChildren(TWinControl* parent) {
  if (parent == nullptr) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    const auto* t = dynamic_cast<const IWkTransparentControl*>(child);
    if (t != nullptr && t->IsTransparent()) child->Invalidate();
  }
}
