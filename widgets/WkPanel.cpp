// The kit's bordered panel: borders, band, fill or gradient, grid and caption, and children
// aligned inside the borders.
#include "widgets/WkPanel.h"

#include "widgets/WkGrafx.h"

TWkCustomPanel::TWkCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
}

TWkCustomPanel::~TWkCustomPanel() { UnlinkFrameController(this); }

void TWkCustomPanel::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == TOperation::opRemove) FrameControllerRemoved(component);
}

void TWkCustomPanel::CustomFramingChanged() {
  const TWkFrameController* c = FrameController();
  if (c == nullptr) return;
  const TWkFrameControllerNotifications n = FrameControllerNotifications();
  if (Accepts(n, fcpFrameStyle)) borderOuter_ = c->FrameStyle();
  if (Accepts(n, fcpFrameSides)) borderSides_ = c->FrameSides();
  if (Accepts(n, fcpFrameColor)) {
    flatColor_ = c->FrameColor();
    flatColorAdjustment_ = 0;
  }
  if (Accepts(n, fcpColor)) {
    SetColor(c->Color());
    borderHighlight_ = LighterColor(c->Color(), 100);
    borderShadow_ = DarkerColor(c->Color(), 50);
  }
  if (Accepts(n, fcpParentColor)) SetParentColor(c->ParentColor());
  Realign();
  Invalidate();
}

// --- look setters ----------------------------------------------------------------------------

void TWkCustomPanel::SetAlignment(TAlignment value) { StoreLook(alignment_, value); }
void TWkCustomPanel::SetAlignmentVertical(TAlignmentVertical value) {
  StoreLook(alignmentVertical_, value);
}
void TWkCustomPanel::SetBorderInner(TFrameStyleEx value) { StoreLook(borderInner_, value, true); }
void TWkCustomPanel::SetBorderOuter(TFrameStyleEx value) { StoreLook(borderOuter_, value, true); }
void TWkCustomPanel::SetBorderSides(TSides value) { StoreLook(borderSides_, value, true); }
void TWkCustomPanel::SetBorderColor(TColor value) { StoreLook(borderColor_, value); }
void TWkCustomPanel::SetBorderHighlight(TColor value) { StoreLook(borderHighlight_, value); }
void TWkCustomPanel::SetBorderShadow(TColor value) { StoreLook(borderShadow_, value); }
void TWkCustomPanel::SetBevelWidth(int value) {
  StoreLook(bevelWidth_, value < 1 ? 1 : value, true);
}
void TWkCustomPanel::SetFlatColor(TColor value) { StoreLook(flatColor_, value); }
void TWkCustomPanel::SetFlatColorAdjustment(int value) { StoreLook(flatColorAdjustment_, value); }
void TWkCustomPanel::SetPaintClientArea(bool value) { StoreLook(paintClientArea_, value); }
void TWkCustomPanel::SetVisualStyle(TWkVisualStyle value) { StoreLook(visualStyle_, value); }
void TWkCustomPanel::SetGradientColorStyle(TWkGradientColorStyle value) {
  StoreLook(gradientColorStyle_, value);
}
void TWkCustomPanel::SetGradientColorStart(TColor value) {
  if (StoreLook(gradientColorStart_, value)) CheckTransparentChildren(this);
}
void TWkCustomPanel::SetGradientColorStop(TColor value) {
  if (StoreLook(gradientColorStop_, value)) CheckTransparentChildren(this);
}
void TWkCustomPanel::SetGradientDirection(TGradientDirection value) {
  if (StoreLook(gradientDirection_, value)) CheckTransparentChildren(this);
}
void TWkCustomPanel::SetGridColor(TColor value) { StoreLook(gridColor_, value); }
void TWkCustomPanel::SetGridStyle(TWkGridStyle value) { StoreLook(gridStyle_, value); }
void TWkCustomPanel::SetGridXSize(int value) { StoreLook(gridXSize_, value < 0 ? 0 : value); }
void TWkCustomPanel::SetGridYSize(int value) { StoreLook(gridYSize_, value < 0 ? 0 : value); }
void TWkCustomPanel::SetShowGrid(bool value) { StoreLook(showGrid_, value); }
void TWkCustomPanel::SetTextMargin(int value) { StoreLook(textMargin_, value); }
void TWkCustomPanel::SetTextMarginVertical(int value) { StoreLook(textMarginVertical_, value); }
void TWkCustomPanel::SetWordWrap(bool value) { StoreLook(wordWrap_, value); }

void TWkCustomPanel::SetTransparent(bool value) {
  if (!StoreLook(transparent_, value)) return;
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TWkCustomPanel::ApplyFont() {
  TCustomControl::ApplyFont();
  Invalidate();
}

// --- geometry ---------------------------------------------------------------------------------

namespace {
int BorderThickness(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case fsNone:
      return 0;
    case fsFlat:
      return 1;
    case fsStatus:
    case fsPopup:
      return bevelWidth;
    default:
      return 2;
  }
}
}  // namespace

void TWkCustomPanel::AdjustRectForBorders(TRect& rect, bool includeBorderWidth) const {
  if (includeBorderWidth) InflateRect(rect, -BorderWidth(), -BorderWidth());
  const int by =
      BorderThickness(borderOuter_, bevelWidth_) + BorderThickness(borderInner_, bevelWidth_);
  if (HasSide(borderSides_, sdLeft)) rect.Left += by;
  if (HasSide(borderSides_, sdTop)) rect.Top += by;
  if (HasSide(borderSides_, sdRight)) rect.Right -= by;
  if (HasSide(borderSides_, sdBottom)) rect.Bottom -= by;
}

void TWkCustomPanel::AlignControls(TControl* control, TRect& rect) {
  AdjustRectForBorders(rect, false);
  TCustomControl::AlignControls(control, rect);
}

void TWkCustomPanel::SetBounds(int left, int top, int width, int height) {
  // A panel docked to the bottom (right) keeps that edge when it grows.
  if (Align() == alBottom && height != Height()) top += Height() - height;
  if (Align() == alRight && width != Width()) left += Width() - width;
  const bool resized = width != Width() || height != Height();
  TCustomControl::SetBounds(left, top, width, height);
  if (resized && (FullRepaint || !Caption().empty())) Invalidate();
}

void TWkCustomPanel::SetEnabled(bool value) {
  if (value == Enabled()) return;
  TCustomControl::SetEnabled(value);
  Invalidate();
  if (!value) {
    enabledStates_.clear();
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* child = Controls(i);
      enabledStates_.emplace_back(child, child->Enabled() ? "1" : "0");
      child->SetEnabled(false);
    }
    return;
  }
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    bool enable = true;
    for (const auto& [control, state] : enabledStates_)
      if (control == child) enable = state == "1";
    if (enable) child->SetEnabled(true);
  }
  enabledStates_.clear();
}

// --- painting ---------------------------------------------------------------------------------

void TWkCustomPanel::GetGradientColors(TColor& startColor, TColor& stopColor) const {
  if (gradientColorStyle_ == gcsCustom) {
    startColor = gradientColorStart_;
    stopColor = gradientColorStop_;
  } else {
    GetGradientPanelColors(gradientColorStyle_, startColor, stopColor);
  }
}

void TWkCustomPanel::GetFlatColors(TColor& color, int& adjustment) const {
  if (visualStyle_ == vsGradient && gradientColorStyle_ != gcsCustom) {
    color = GetFlatFrameColor(gradientColorStyle_);
    adjustment = 0;
  } else {
    color = flatColor_;
    adjustment = flatColorAdjustment_;
  }
}

TWkBorderLook TWkCustomPanel::BorderLook() const {
  TWkBorderLook look;
  look.BorderOuter = borderOuter_;
  look.BorderInner = borderInner_;
  look.BorderWidth = BorderWidth();
  look.Sides = borderSides_;
  look.BevelWidth = bevelWidth_;
  look.BorderColor = borderColor_;
  look.BorderHighlight = borderHighlight_;
  look.BorderShadow = borderShadow_;
  GetFlatColors(look.FlatColor, look.FlatColorAdjustment);
  look.Color = Color();
  look.ParentColor = Parent() != nullptr ? Parent()->Color() : Color();
  look.Transparent = transparent_;
  return look;
}

void TWkCustomPanel::Paint() {
  PaintPanel();
  if (OnPaint) OnPaint(this);
}

void TWkCustomPanel::PaintPanel() {
  TCanvas& canvas = Canvas();
  if (transparent_ && paintClientArea_) DrawParentImageCanvas(this, canvas, false);
  const TRect inner = DrawInnerOuterBorders(canvas, GetControlRect(), BorderLook());
  if (!transparent_ && paintClientArea_) {
    if (visualStyle_ == vsGradient) {
      TColor start, stop;
      GetGradientColors(start, stop);
      PaintGradient(canvas, inner, gradientDirection_, start, stop);
    } else {
      canvas.Brush().SetColor(Color());
      canvas.FillRect(inner);
    }
  }
  if (showGrid_) DrawGrid(inner);
  canvas.Brush().SetStyle(bsClear);
  DrawCaption(inner);
  canvas.Brush().SetStyle(bsSolid);
}

void TWkCustomPanel::DrawCaption(TRect rect) {
  const std::string caption = Caption();
  if (caption.empty()) return;
  TCanvas& canvas = Canvas();
  canvas.SetFont(*Font());
  rect.Left += textMargin_;
  rect.Right -= textMargin_;
  rect.Top += textMarginVertical_;
  rect.Bottom -= textMarginVertical_;
  // The vertical-centre flag only acts on single lines, so a wrapped caption keeps the top
  // computed below even when it is taller than the panel.
  unsigned flags = DT_EXPANDTABS | DT_VCENTER | (wordWrap_ ? DT_WORDBREAK : 0u);
  flags |= alignment_ == taLeftJustify    ? DT_LEFT
           : alignment_ == taRightJustify ? DT_RIGHT
                                          : DT_CENTER;
  TRect measure = rect;
  const int h = canvas.DrawText(caption, measure, flags | DT_CALCRECT);
  switch (alignmentVertical_) {
    case avTop:
      if (rect.Top + h < rect.Bottom) rect.Bottom = rect.Top + h;
      break;
    case avCenter:
      rect.Top = (rect.Top + rect.Bottom - h) / 2;
      if (rect.Top + h < rect.Bottom) rect.Bottom = rect.Top + h;
      break;
    case avBottom:
      if (rect.Bottom - h - 1 > rect.Top) rect.Top = rect.Bottom - h - 1;
      break;
  }
  if (!Enabled()) {
    canvas.Font().SetColor(clBtnHighlight);
    TRect shifted = rect;
    OffsetRect(shifted, 1, 1);
    canvas.DrawText(caption, shifted, flags);
    canvas.Font().SetColor(clBtnShadow);
  }
  canvas.DrawText(caption, rect, flags);
}

void TWkCustomPanel::DrawGrid(const TRect& r) {
  TCanvas& canvas = Canvas();
  const int columns = gridXSize_ > 0 ? r.Width() / gridXSize_ : 0;
  const int rows = gridYSize_ > 0 ? r.Height() / gridYSize_ : 0;
  std::vector<int> xs, ys;
  for (int i = 1; i <= columns; ++i) xs.push_back(r.Left - 1 + i * gridXSize_);
  for (int j = 1; j <= rows; ++j) ys.push_back(r.Top - 1 + j * gridYSize_);
  if (gridStyle_ == gsDots) {
    for (int y : ys)
      for (int x : xs) canvas.SetPixel(x, y, gridColor_);
    return;
  }
  if (gridStyle_ == gsSolidLines) {
    canvas.Pen().SetColor(gridColor_);
    for (int x : xs) canvas.MoveTo(x, r.Top), canvas.LineTo(x, r.Bottom);
    for (int y : ys) canvas.MoveTo(r.Left, y), canvas.LineTo(r.Right, y);
    return;
  }
  for (int x : xs)
    for (int y = r.Top + 1; y < r.Bottom; y += 2) canvas.SetPixel(x, y, gridColor_);
  for (int y : ys)
    for (int x = r.Left + 1; x < r.Right; x += 2) canvas.SetPixel(x, y, gridColor_);
}
