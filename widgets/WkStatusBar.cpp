// The status bar: size grip, simple mode and proportional pane widths.
#include <cmath>

#include "platform/gui/Forms.h"
#include "widgets/WkGrafx.h"
#include "widgets/WkStatus.h"

TWkStatusBar::TWkStatusBar(TComponent* AOwner) : TWkCustomPanel(AOwner) {
  SetAlign(alBottom);
  TWkCustomPanel::SetBorderInner(fsNone);
  TWkCustomPanel::SetBorderOuter(fsNone);
  TWkCustomPanel::SetBorderSides(AllSides);
  SetHeight(19);
  SetBorderWidth(0);
}

void TWkStatusBar::ApplyAutoStyle() {
  TWkCustomPanel::SetBorderInner(fsNone);
  TWkCustomPanel::SetBorderOuter(fsNone);
  TWkCustomPanel::SetBorderSides(AllSides);
  SetHeight(19);
  SetBorderWidth(0);
}

void TWkStatusBar::Loaded() {
  TWkCustomPanel::Loaded();
  if (autoStyle_) ApplyAutoStyle();
}

// Setting a border by hand turns the automatic bar look off.
void TWkStatusBar::SetBorderInner(TFrameStyleEx value) {
  if (value == BorderInner()) return;
  TWkCustomPanel::SetBorderInner(value);
  autoStyle_ = false;
}
void TWkStatusBar::SetBorderOuter(TFrameStyleEx value) {
  if (value == BorderOuter()) return;
  TWkCustomPanel::SetBorderOuter(value);
  autoStyle_ = false;
}
void TWkStatusBar::SetBorderSides(TSides value) {
  if (value == BorderSides()) return;
  TWkCustomPanel::SetBorderSides(value);
  autoStyle_ = false;
}

void TWkStatusBar::SetShowSizeGrip(bool value) {
  showSizeGrip_ = value;
  Invalidate();
}

void TWkStatusBar::SetSimpleCaption(const std::string& value) {
  if (value == simpleCaption_) return;
  simpleCaption_ = value;
  Invalidate();
}

void TWkStatusBar::SetSimpleFrameStyle(TFrameStyle value) {
  if (value == simpleFrameStyle_) return;
  simpleFrameStyle_ = value;
  Invalidate();
}

void TWkStatusBar::SetSimpleStatus(bool value) {
  if (value == simpleStatus_) return;
  simpleStatus_ = value;
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(!value);
  EnableAlign();
  Realign();
  Invalidate();
}

void TWkStatusBar::GetGradientColors(TColor& startColor, TColor& stopColor) const {
  if (GradientColorStyle() == gcsCustom) {
    startColor = GradientColorStop();
    stopColor = GradientColorStart();
    return;
  }
  TColor frame;
  GetGradientBarColors(GradientColorStyle(), startColor, stopColor, frame);
}

TRect TWkStatusBar::GetClientRect() const {
  TRect r = TWkCustomPanel::GetClientRect();
  // The classic bar's client area reaches one pixel past its edges, as the platform's did.
  r.Bottom += 1;
  if (!simpleStatus_) {
    r.Top = 1;
    r.Left -= 1;
    r.Right += 1;
  } else {
    r.Top = 2;
  }
  return r;
}

bool TWkStatusBar::SizeGripVisible() const {
  if (!showSizeGrip_) return false;
  const TForm* form = ParentForm();
  return form != nullptr &&
         (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin) &&
         form->WindowState() != wsMaximized;
}

bool TWkStatusBar::InSizeGrip(TPoint p) const {
  return PtInRect(Rect(Width() - 13, 0, Width(), Height()), p);
}

bool TWkStatusBar::SizeGripPressed(TPoint p) {
  if (!InSizeGrip(p) || !SizeGripVisible()) return false;
  SetMouseCapture(false);
  BeginSizeDrag(ParentForm());
  return true;
}

void TWkStatusBar::BeginSizeDrag(TForm* form) { form->StartSizeDrag(); }

void TWkStatusBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && SizeGripPressed(Point(x, y))) return;
  TWkCustomPanel::MouseDown(button, shift, x, y);
}

void TWkStatusBar::MouseMove(TShiftState shift, int x, int y) {
  SetCursor(SizeGripVisible() && InSizeGrip(Point(x, y)) ? crSizeNWSE : crDefault);
  TWkCustomPanel::MouseMove(shift, x, y);
}

void TWkStatusBar::Resize() {
  TWkCustomPanel::Resize();
  int delta = 0;
  if (firstResize_) {
    firstResize_ = false;
  } else {
    delta = Width() - lastWidth_;
  }
  // A bar remembered at no width (a minimised window) has no proportions to keep.
  if (autoScalePanes_ && ControlCount() > 0 && delta != 0 && lastWidth_ > 0) {
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* child = Controls(i);
      const float ratio = static_cast<float>(child->Width()) / static_cast<float>(lastWidth_);
      const int grow = static_cast<int>(std::nearbyint(static_cast<double>(delta * ratio)));
      child->SetWidth(child->Width() + grow);
    }
    EnableAlign();
  }
  lastWidth_ = Width();
}

void TWkStatusBar::Paint() {
  TWkCustomPanel::Paint();
  TCanvas& canvas = Canvas();
  if (simpleStatus_) {
    TRect r = GetClientRect();
    r.Bottom -= 1;
    DrawSimpleFrame(r);
    InflateRect(r, -1, -1);
    if (!simpleCaption_.empty()) {
      canvas.SetFont(*Font());
      canvas.Brush().SetStyle(bsClear);
      const int y = r.Top + (r.Height() - canvas.TextHeight("Pp")) / 2;
      canvas.TextRect(r, r.Left + 2, y, simpleCaption_);
      canvas.Brush().SetStyle(bsSolid);
    }
  }
  if (SizeGripVisible()) {
    TRect r = GetClientRect();
    r.Bottom -= 1;
    DrawSizeGrip(r);
  }
}

void TWkStatusBar::DrawSimpleFrame(const TRect& r) {
  // Without themes the XP look falls back to the classic frame.
  if (VisualStyle() == vsGradient) return;
  TCanvas& canvas = Canvas();
  if (simpleFrameStyle_ != fsFlat) {
    DrawFrame(canvas, r, simpleFrameStyle_);
    return;
  }
  DrawCutCornerSides(canvas, r, AdjustColor(FlatColor(), FlatColorAdjustment()));
}

void TWkStatusBar::DrawSizeGrip(const TRect& rect) {
  TColor light = clBtnHighlight, dark = clBtnShadow;
  if (VisualStyle() == vsGradient) {
    TColor start;
    GetGradientBarColors(GradientColorStyle(), start, light, dark);
  }
  TCanvas& canvas = Canvas();
  const auto squares = [&canvas](int r, int b, TColor c) {
    canvas.Brush().SetColor(c);
    for (TPoint p : {Point(r - 4, b - 12), Point(r - 4, b - 8), Point(r - 4, b - 4),
                     Point(r - 8, b - 8), Point(r - 8, b - 4), Point(r - 12, b - 4)})
      canvas.FillRect(Bounds(p.X, p.Y, 2, 2));
  };
  squares(rect.Right - 1, rect.Bottom, light);
  squares(rect.Right - 2, rect.Bottom - 1, dark);
}
