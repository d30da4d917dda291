// The captioned group box in six styles, and the tool bar spacer.
#include "widgets/WkGrafx.h"
#include "widgets/WkPanel.h"

TWkCustomGroupBox::TWkCustomGroupBox(TComponent* AOwner) : TWkCustomPanel(AOwner) {
  SetBorderOuter(fsNone);
  SetBorderInner(fsNone);
  SetAlignment(taLeftJustify);
  SetAlignmentVertical(avTop);
  SetHeight(105);
}

void TWkCustomGroupBox::SetGroupStyle(TWkGroupBoxStyle value) {
  StoreLook(groupStyle_, value, true);
}

void TWkCustomGroupBox::CustomFramingChanged() {
  if (groupStyle_ == gsCustom) TWkCustomPanel::CustomFramingChanged();
}

void TWkCustomGroupBox::ApplyFont() {
  TWkCustomPanel::ApplyFont();
  Realign();  // the caption band follows the font
}

int TWkCustomGroupBox::TextHeightOf(const std::string& sample) const {
  TBitmap probe(1, 1);
  probe.Canvas().SetFont(*Font());
  return probe.Canvas().TextHeight(sample);
}

void TWkCustomGroupBox::AdjustClientRect(TRect& rect) const {
  TWkCustomPanel::AdjustClientRect(rect);
  const int h = TextHeightOf("Yy");
  switch (groupStyle_) {
    case gsStandard:
    case gsFlat: {
      const int half = h / 2 - 1;
      rect.Top += half < BorderWidth() ? half : h - BorderWidth();
      const int by = groupStyle_ == gsStandard ? 2 : 1;
      InflateRect(rect, -by, -by);
      break;
    }
    case gsCustom:
      if (!Caption().empty()) rect.Top += h;
      InflateRect(rect, -2, -2);
      break;
    case gsTopLine:
      rect.Top += h;
      break;
    case gsBanner:
      rect.Top += h + 8;
      break;
    case gsUnderline:
      rect.Top += h + 4;
      break;
  }
}

TRect TWkCustomGroupBox::CaptionRect() {
  const std::string caption = Caption();
  if (caption.empty() || groupStyle_ == gsCustom) return TRect{};
  TCanvas& canvas = Canvas();
  canvas.SetFont(*Font());
  const int h = canvas.TextHeight("Pp");
  const int tw = canvas.TextWidth(StripAccelChars(caption));
  switch (groupStyle_) {
    case gsStandard:
    case gsFlat:
      return VisualRect(*this, Rect(8, 0, 8 + tw, h));
    case gsTopLine:
      return VisualRect(*this, Rect(0, 0, tw + 4, h));
    case gsBanner:
      return Rect(0, 0, Width(), h + 6);
    case gsUnderline:
      return Rect(0, 0, Width(), h + 2);
    default:
      return TRect{};
  }
}

namespace {
void Line(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}
}  // namespace

void TWkCustomGroupBox::Paint() {
  if (groupStyle_ == gsCustom) {
    TWkCustomPanel::Paint();
    return;
  }
  TCanvas& canvas = Canvas();
  canvas.SetFont(*Font());
  const int h = canvas.TextHeight("Pp");
  const TRect c = CaptionRect();
  const bool hasCaption = !Caption().empty();
  const int saved = canvas.SaveState();
  PaintBackground(c, hasCaption);
  const TRect f = Rect(0, h / 2 - 1, Width(), Height());
  const TColor fc = AdjustColor(FlatColor(), FlatColorAdjustment());
  canvas.Pen().SetColor(fc);
  switch (groupStyle_) {
    case gsStandard:
      PaintStandardFrame(f, fc);
      break;
    case gsTopLine:
      PaintTopLine(f);
      break;
    case gsFlat:
      DrawRoundedSides(canvas, f, fc, AllSides);
      break;
    case gsBanner:
      PaintBanner(c, fc);
      break;
    case gsUnderline:
      Line(canvas, c.Left, c.Bottom, c.Right, c.Bottom);
      break;
    default:
      break;
  }
  canvas.RestoreState(saved);
  if (hasCaption) PaintCaption(c);
  if (OnPaint) OnPaint(this);
}

void TWkCustomGroupBox::PaintBackground(const TRect& caption, bool hasCaption) {
  TCanvas& canvas = Canvas();
  if (Transparent()) {
    if (PaintClientArea()) DrawParentImageCanvas(this, canvas, false);
    // The frame must not run through the caption the parent shows behind it.
    if (hasCaption && groupStyle_ != gsBanner) canvas.ExcludeClipRect(caption);
  } else {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(Rect(0, 0, Width(), Height()));
  }
}

void TWkCustomGroupBox::PaintStandardFrame(const TRect& f, TColor fc) {
  TCanvas& canvas = Canvas();
  if (BorderOuter() == fsNone)
    DrawFrameSides(canvas, f, fsGroove, AllSides);
  else if (BorderOuter() == fsFlat)
    DrawBox(canvas, f, fc);
  else if (BorderOuter() == fsFlatBold)
    DrawSidesWidth(canvas, f, fc, AllSides, 2, fc);
  else
    DrawFrameSides(canvas, f, BorderOuter(), AllSides);
}

void TWkCustomGroupBox::PaintTopLine(const TRect& f) {
  TCanvas& canvas = Canvas();
  if (BorderOuter() == fsNone) {
    DrawFrameSides(canvas, f, fsGroove, SideSet({sdTop}));
  } else if (BorderOuter() == fsFlat || BorderOuter() == fsFlatBold) {
    Line(canvas, f.Left + 2, f.Top, f.Right - 2, f.Top);
    if (BorderOuter() == fsFlatBold) Line(canvas, f.Left + 2, f.Top + 1, f.Right - 2, f.Top + 1);
  } else {
    DrawFrameSides(canvas, f, BorderOuter(), SideSet({sdTop}));
  }
}

void TWkCustomGroupBox::PaintBanner(const TRect& c, TColor fc) {
  TCanvas& canvas = Canvas();
  TColor frame = fc, start = GradientColorStart(), stop = GradientColorStop();
  if (GradientColorStyle() != gcsCustom) {
    TColor barStart, barStop;
    GetGradientBarColors(GradientColorStyle(), barStart, barStop, frame);
    start = barStop;
    stop = barStart;
  }
  PaintGradient(canvas, DrawCutCornerSides(canvas, c, frame), gdHorizontalEnd, start, stop);
}

void TWkCustomGroupBox::PaintCaption(TRect c) {
  TCanvas& canvas = Canvas();
  if (!Transparent() && groupStyle_ != gsBanner) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(c);
  }
  if (groupStyle_ == gsBanner) c = Rect(c.Left + 4, c.Top + 1, c.Right - 4, c.Bottom - 1);
  canvas.Brush().SetStyle(bsClear);
  const TAlignment alignment = VisualAlignment(*this, Alignment());
  const unsigned align = alignment == taLeftJustify    ? DT_LEFT
                         : alignment == taRightJustify ? DT_RIGHT
                                                       : DT_CENTER;
  const std::string caption = Caption();
  canvas.Font().SetColor(Font()->Color());
  if (!Enabled()) {
    canvas.Font().SetColor(clBtnHighlight);
    TRect shifted = c;
    OffsetRect(shifted, 1, 1);
    canvas.DrawText(caption, shifted, DT_SINGLELINE | align);
    canvas.Font().SetColor(clBtnShadow);
  }
  canvas.DrawText(caption, c, DT_SINGLELINE | align);
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------------------------

TWkSpacer::TWkSpacer(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 8, 25); }

void TWkSpacer::SetGrooved(bool value) {
  if (value == grooved_) return;
  grooved_ = value;
  Invalidate();
}

void TWkSpacer::SetOrientation(TOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TWkSpacer::Paint() {
  TCanvas& canvas = Canvas();
  // A windowless gap: what its parent painted shows through it.
  DrawParentImageCanvas(this, canvas, false);
  if (!grooved_) return;
  const int w = Width(), h = Height();
  if (w <= h) {
    const int x = w / 2 - 1;
    canvas.Pen().SetColor(clBtnShadow);
    Line(canvas, x, 1, x, h);
    canvas.Pen().SetColor(clBtnHighlight);
    Line(canvas, x + 1, 1, x + 1, h);
  } else {
    const int y = h / 2 - 1;
    canvas.Pen().SetColor(clBtnShadow);
    Line(canvas, 1, y, w, y);
    canvas.Pen().SetColor(clBtnHighlight);
    Line(canvas, 1, y + 1, w, y + 1);
  }
}
