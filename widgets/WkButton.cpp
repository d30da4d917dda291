// The kit's push button: press and hot tracking, caption effects, the flat and classic faces,
// dialog keys, modal result and groups of sticky buttons.
#include "platform/gui/Themes.h"
#include "widgets/WkButtons.h"
#include "widgets/WkGrafx.h"

namespace {

void Line(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2) {
  canvas.Pen().SetColor(color);
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

// Tells every control of the window (all levels) which control has the focus now.
void SendFocusChanged(TWinControl* parent, TWinControl* focused) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    c->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(focused));
    if (auto* w = dynamic_cast<TWinControl*>(c)) SendFocusChanged(w, focused);
  }
}

}  // namespace

// --- base ------------------------------------------------------------------------------------

TWkCustomButton::TWkCustomButton(TComponent* AOwner) : TCustomControl(AOwner) {
  // Clicks come from the press logic, not from every release over the button.
  SetClickOnRelease(false);
  SetTabStop(true);
  SetBounds(0, 0, 115, 17);
}

bool TWkCustomButton::Themed() const { return themeAware_ && ThemeServices().ThemesEnabled(); }

void TWkCustomButton::ApplyFont() {
  TCustomControl::ApplyFont();
  Invalidate();
}

void TWkCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (CanFocus() && !Focused()) SetFocus();
  if (!Focused()) return;
  showDown_ = true;
  InvalidateButton();
  mouseCaptured_ = true;
}

void TWkCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!mouseCaptured_) return;
  const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
  if (inside == showDown_) return;
  showDown_ = inside;
  InvalidateButton();
}

void TWkCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!mouseCaptured_) return;
  mouseCaptured_ = false;
  showDown_ = false;
  if (PtInRect(GetClientRect(), Point(x, y))) PressButton();
  InvalidateButton();
}

void TWkCustomButton::MouseEnter() {
  mouseOver_ = true;
  TCustomControl::MouseEnter();
  if (hotTrack_ || Themed()) InvalidateRect(GetButtonRect());
}

void TWkCustomButton::MouseLeave() {
  mouseOver_ = false;
  TCustomControl::MouseLeave();
  if (hotTrack_ || Themed()) InvalidateRect(GetButtonRect());
}

void TWkCustomButton::DoEnter() {
  TCustomControl::DoEnter();
  RepaintButton();
}

void TWkCustomButton::DoExit() {
  TCustomControl::DoExit();
  RepaintButton();
}

void TWkCustomButton::SetEnabled(bool value) {
  if (value == Enabled()) return;
  // A button that goes disabled gives up the focus to the window.
  if (!value && Focused()) {
    if (TForm* form = ParentForm()) form->SetActiveControl(nullptr);
  }
  TCustomControl::SetEnabled(value);
  Invalidate();
}

void TWkCustomButton::DrawCaption(TCanvas& canvas, TRect rect, unsigned flags) {
  const std::string caption = Caption();
  canvas.Brush().SetStyle(bsClear);
  canvas.SetFont(*Font());
  TRect measure = rect;
  const int h = canvas.DrawText(
      caption, measure, DT_CALCRECT | DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS);
  switch (alignmentVertical_) {
    case avTop:
      rect.Bottom = rect.Top + h;
      break;
    case avCenter:
      rect.Top = (rect.Top + rect.Bottom - h) / 2;
      rect.Bottom = rect.Top + h;
      break;
    case avBottom:
      rect.Top = rect.Bottom - h - 1;
      break;
  }
  const auto drawAt = [&](TColor color, int dx, int dy) {
    canvas.Font().SetColor(color);
    TRect r = rect;
    OffsetRect(r, dx, dy);
    canvas.DrawText(caption, r, flags);
  };
  const bool right = (flags & DT_RIGHT) != 0;
  if (Enabled()) {
    if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
      const bool raised = textStyle_ == tsRaised;
      const TColor light = raised ? textHighlightColor_ : textShadowColor_;
      const TColor dark = raised ? textShadowColor_ : textHighlightColor_;
      if (!(lightTextStyle_ && raised)) drawAt(dark, 1, 1);
      if (!(lightTextStyle_ && !raised)) drawAt(light, -1, -1);
    } else if (textStyle_ == tsShadow) {
      drawAt(textShadowColor_, right ? 0 : textShadowDepth_, textShadowDepth_);
    }
    if (right) OffsetRect(rect, -textShadowDepth_, 0);
    drawAt(Font()->Color(), 0, 0);
  } else {
    drawAt(clBtnHighlight, 1, 1);
    drawAt(clBtnShadow, 0, 0);
  }
  canvas.Brush().SetStyle(bsSolid);
}

// --- push button -----------------------------------------------------------------------------

TWkButton::TWkButton(TComponent* AOwner) : TWkCustomButton(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetColor(clBtnFace);
  SetParentColor(false);
}

void TWkButton::Loaded() {
  TWkCustomButton::Loaded();
  active_ = default_;
}

void TWkButton::SetHotTrack(bool value) {
  TWkCustomButton::SetHotTrack(value);
  SetParentCorners(value);
  Invalidate();
}

void TWkButton::SetDefault(bool value) {
  default_ = value;
  TForm* form = ParentForm();
  if (form == nullptr) {
    active_ = value;
    Invalidate();
    return;
  }
  // Every button of the window decides afresh which one acts as the default now.
  SendFocusChanged(form, form->ActiveControl());
}

void TWkButton::Click() {
  if (modalResult_ != mrNone) {
    if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
  }
  TWkCustomButton::Click();
}

void TWkButton::PressButton() {
  if (groupIndex_ != 0)
    SetDown(!down_);
  else
    InvalidateButton();
  const TWkFlagScope scope(clicking_);
  Click();
}

bool TWkButton::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == VK_SPACE && (shift & ssAlt) == 0) {
    spaceDown_ = true;
    showDown_ = true;
    InvalidateButton();
  }
  return TWkCustomButton::KeyDown(key, shift);
}

bool TWkButton::KeyUp(uint16_t& key, TShiftState shift) {
  if (key == VK_SPACE) {
    showDown_ = false;
    if (spaceDown_) {
      spaceDown_ = false;
      PressButton();
    }
    InvalidateButton();
  }
  return TWkCustomButton::KeyUp(key, shift);
}

void TWkButton::DoExit() {
  TWkCustomButton::DoExit();
  spaceDown_ = false;
  showDown_ = false;
  InvalidateButton();
}

void TWkButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      if (PushButtonTakes(this, message, active_, cancel_)) {
        Click();
        message.Result = 1;
      }
      break;
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
      const bool active =
          focused != nullptr && focused->IsPushButton() ? focused == this : default_;
      if (active != active_) {
        active_ = active;
        Invalidate();
      }
      break;
    }
    case CM_WKBUTTONPRESSED: {
      auto* sender = reinterpret_cast<TWkButton*>(message.LParam);
      if (message.WParam == groupIndex_ && sender != this && sender != nullptr) {
        if (sender->down_ && down_) {
          down_ = false;
          Invalidate();
        }
        allowAllUp_ = sender->allowAllUp_;
      }
      break;
    }
    default:
      break;
  }
  TWkCustomButton::WndProc(message);
}

void TWkButton::UpdateExclusive() {
  if (groupIndex_ == 0 || Parent() == nullptr) return;
  TMessage message{CM_WKBUTTONPRESSED, groupIndex_, reinterpret_cast<intptr_t>(this), 0};
  Parent()->Broadcast(message);
}

void TWkButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_ && groupIndex_ != 0) return;
  down_ = value;
  Invalidate();
  if (down_) UpdateExclusive();
}

void TWkButton::SetGroupIndex(int value) {
  groupIndex_ = value;
  UpdateExclusive();
}

void TWkButton::SetAllowAllUp(bool value) {
  allowAllUp_ = value;
  UpdateExclusive();
}

void TWkButton::GetFaceTextRect(TRect& rect) {
  rect = GetClientRect();
  InflateRect(rect, -5, -5);
  if (HotTrack() || Themed()) return;
  if (Pressed()) OffsetRect(rect, 1, 1);
}

void TWkButton::DrawButtonContent() {
  unsigned flags = DT_EXPANDTABS | DT_WORDBREAK;
  const TAlignment alignment = VisualAlignment(*this, alignment_);
  flags |= alignment == taLeftJustify    ? DT_LEFT
           : alignment == taRightJustify ? DT_RIGHT
                                         : DT_CENTER;
  TRect r;
  GetFaceTextRect(r);
  DrawCaption(Canvas(), r, flags);
}

void TWkButton::DrawDownPattern(TBitmap& bitmap) const {
  bitmap.SetSize(8, 8);
  const TColor face = ColorToRGB(Color());
  const TColor dots = face == RGB(192, 192, 192) ? RGB(128, 128, 128) : RGB(192, 192, 192);
  // The lighter of the two colours sits where x + y is even.
  std::uint8_t h, s, lf, ld;
  ColorToHSL(face, h, s, lf);
  ColorToHSL(dots, h, s, ld);
  const TColor even = lf >= ld ? face : dots, odd = lf >= ld ? dots : face;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) bitmap.Canvas().SetPixel(x, y, (x + y) % 2 == 0 ? even : odd);
}

void TWkButton::FaceFill(TRect& r) {
  TCanvas& canvas = Canvas();
  Line(canvas, DarkerColor(Color(), 20), r.Left, r.Bottom - 2, r.Right, r.Bottom - 2);
  Line(canvas, DarkerColor(Color(), 30), r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  r.Bottom -= 2;
  if (HighColorDisplay) {
    PaintGradient(canvas, r, gdHorizontalEnd, LighterColor(Color(), 30), DarkerColor(Color(), 10));
  } else {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
  }
}

void TWkButton::PaintFlat(TRect r) {
  TCanvas& canvas = Canvas();
  if (!Enabled()) {
    InflateRect(r, -1, -1);
    const TColor frame =
        Color() == clBtnFace ? LighterColor(clBtnShadow, 30) : DarkerColor(Color(), 80);
    r = DrawCutCornerSides(canvas, r, frame);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    return;
  }
  const TColor p = Parent() != nullptr ? Parent()->Color() : TColor(clBtnFace);
  const TColor dark = DarkerColor(p, 20), light = LighterColor(p, 20);
  Line(canvas, dark, r.Left, r.Top + 2, r.Left, r.Bottom - 2);
  Line(canvas, dark, r.Left + 2, r.Top, r.Right - 2, r.Top);
  Line(canvas, light, r.Right - 1, r.Top + 2, r.Right - 1, r.Bottom - 2);
  Line(canvas, light, r.Left + 2, r.Bottom - 1, r.Right - 2, r.Bottom - 1);
  canvas.SetPixel(r.Left + 1, r.Top + 1, dark);
  canvas.SetPixel(r.Right - 2, r.Top + 1, dark);
  canvas.SetPixel(r.Left + 1, r.Bottom - 2, dark);
  canvas.SetPixel(r.Right - 2, r.Bottom - 2, light);
  InflateRect(r, -1, -1);
  r = DrawCutCornerSides(canvas, r, frameColor_);
  if (down_ || showDown_) {
    canvas.Brush().SetColor(DarkerColor(Color(), 10));
    canvas.FillRect(r);
  } else if (MouseOver()) {
    FaceFill(r);
    TColor a, b;
    if (HotTrackColorType() == htctComplement) {
      a = ShiftedHueColor(HotTrackColor(), 180);
      b = DarkerColor(a, 30);
    } else {
      b = HotTrackColor();
      a = BlendColors(clWhite, HotTrackColor(), 190);
    }
    PaintGradientBorder(canvas, r, gdHorizontalEnd, a, b);
  } else if (groupIndex_ == 0 && (active_ || Focused()) && !showDown_) {
    FaceFill(r);
    const TColor base = LighterColor(Color(), 30);
    const TColor h = SimilarColors(HighlightColor(), clBtnFace) ? DarkerColor(HighlightColor(), 30)
                                                                : HighlightColor();
    PaintGradientBorder(canvas, r, gdHorizontalEnd, BlendColors(h, base, 60),
                        BlendColors(h, base, 160));
  } else {
    FaceFill(r);
  }
}

void TWkButton::PaintClassic(TRect r) {
  TCanvas& canvas = Canvas();
  if (groupIndex_ == 0 && (((active_ || Focused()) && !showDown_) || clicking_))
    r = DrawSides(canvas, r, clWindowFrame, AllSides, clWindowFrame);
  const bool lowered = down_ || showDown_;
  if (Color() == clBtnFace) {
    r = groupIndex_ == 0 ? DrawButtonBevel(canvas, r, showDown_)
                         : DrawFrame(canvas, r, lowered ? fsLowered : fsButtonUp);
  } else if (groupIndex_ == 0) {
    r = DrawColorSides(canvas, r, Color(), AllSides, showDown_);
  } else {
    r = lowered ? DrawColorFrame(canvas, r, Color(), fsLowered)
                : DrawColorSides(canvas, r, Color(), AllSides, false);
  }
  canvas.Brush().SetColor(Color());
  canvas.FillRect(r);
}

void TWkButton::Paint() {
  TCanvas& canvas = Canvas();
  TRect f = GetClientRect();
  InflateRect(f, HotTrack() || Themed() ? -3 : -4, HotTrack() || Themed() ? -3 : -4);
  if (groupIndex_ != 0 && (down_ || showDown_)) OffsetRect(f, 1, 1);
  const TRect client = GetClientRect();
  if (ParentCorners() && Parent() != nullptr) DrawParentImageCanvas(this, canvas, false);
  if (HotTrack())
    PaintFlat(client);
  else
    PaintClassic(client);
  if (groupIndex_ != 0 && down_ && showDownPattern_) {
    // The face inside whatever frame the look drew: the checker keeps the frame.
    TRect inner = client;
    InflateRect(inner, -2, -2);
    TBitmap pattern;
    DrawDownPattern(pattern);
    canvas.Brush().SetBitmap(&pattern);
    canvas.FillRect(inner);
    canvas.Brush().SetBitmap(nullptr);
  }
  canvas.SetFont(*Font());
  canvas.Brush().SetColor(Color());
  DrawButtonContent();
  if (Focused() && showFocusRect_) DrawDottedBox(canvas, f);
}
