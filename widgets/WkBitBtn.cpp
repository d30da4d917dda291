// The glyph button: a picture (glyph cells, a stock kind or a list image) placed beside the
// push button's caption, and the stock pictures, drawn here with the canvas.
#include <array>

#include "platform/gui/ActnList.h"
#include "widgets/WkButtons.h"
#include "widgets/WkGrafx.h"

namespace {

struct KindRow {
  const char* caption;
  TModalResult result;
  bool isDefault;
  bool isCancel;
};

constexpr std::array<KindRow, 11> kKinds = {{{"", mrNone, false, false},
                                             {"OK", mrOk, true, false},
                                             {"Cancel", mrCancel, false, true},
                                             {"&Help", mrNone, false, false},
                                             {"&Yes", mrYes, true, false},
                                             {"&No", mrNo, false, true},
                                             {"&Close", mrNone, false, false},
                                             {"Abort", mrAbort, false, false},
                                             {"&Retry", mrRetry, false, false},
                                             {"&Ignore", mrIgnore, false, false},
                                             {"&All", mrAll, false, false}}};

// The glyphs' background: the bottom-left pixel, left out when drawn.
constexpr TColor kGlyphBack = RGB(0, 128, 128);

void Stroke(TCanvas& c, TColor color, std::initializer_list<TPoint> points, int width = 2) {
  c.Pen().SetColor(color);
  c.Pen().SetWidth(width);
  const TPoint* prev = nullptr;
  for (const TPoint& p : points) {
    if (prev) {
      c.MoveTo(prev->X, prev->Y);
      c.LineTo(p.X, p.Y);
    }
    prev = &p;
  }
  c.Pen().SetWidth(1);
}

// One 16 x 16 cell of a kind at x0, in the given ink (colours are the normal ones; the
// disabled cell passes grey for all of them).
void DrawKind(TCanvas& c, TBitBtnKind kind, int x0, bool disabled) {
  const auto ink = [disabled](TColor color) {
    return disabled ? TColor(RGB(128, 128, 128)) : color;
  };
  const auto P = [x0](int x, int y) { return Point(x0 + x, y); };
  const TColor green = ink(RGB(0, 128, 0)), red = ink(RGB(192, 0, 0)), blue = ink(RGB(0, 0, 160));
  c.Brush().SetStyle(bsSolid);
  switch (kind) {
    case bkOK:
      Stroke(c, green, {P(3, 8), P(6, 11), P(12, 4)});
      break;
    case bkYes:
      Stroke(c, green, {P(2, 8), P(6, 12), P(13, 3)}, 3);
      break;
    case bkAll:
      Stroke(c, green, {P(1, 8), P(4, 11), P(9, 5)});
      Stroke(c, green, {P(6, 9), P(8, 11), P(14, 4)});
      break;
    case bkCancel:
      Stroke(c, red, {P(4, 4), P(12, 12)});
      Stroke(c, red, {P(12, 4), P(4, 12)});
      break;
    case bkNo:
      c.Pen().SetColor(red);
      c.Pen().SetWidth(2);
      c.Brush().SetStyle(bsClear);
      c.Ellipse(x0 + 3, 3, x0 + 14, 14);
      c.Brush().SetStyle(bsSolid);
      Stroke(c, red, {P(5, 11), P(12, 5)});
      break;
    case bkAbort:
      c.Pen().SetColor(red);
      c.Brush().SetColor(red);
      c.Ellipse(x0 + 2, 2, x0 + 15, 15);
      Stroke(c, ink(RGB(255, 255, 255)), {P(6, 6), P(11, 11)});
      Stroke(c, ink(RGB(255, 255, 255)), {P(11, 6), P(6, 11)});
      break;
    case bkHelp:
      Stroke(c, blue, {P(5, 5), P(7, 3), P(10, 3), P(11, 5), P(8, 8), P(8, 10)});
      c.Brush().SetColor(blue);
      c.FillRect(Rect(x0 + 7, 12, x0 + 10, 15));
      break;
    case bkClose:
      c.Brush().SetColor(ink(RGB(128, 64, 0)));
      c.FillRect(Rect(x0 + 4, 2, x0 + 12, 15));
      c.Brush().SetColor(ink(RGB(255, 255, 0)));
      c.FillRect(Rect(x0 + 9, 8, x0 + 11, 10));
      break;
    case bkRetry:
      Stroke(c, green,
             {P(12, 5), P(9, 3), P(6, 3), P(3, 6), P(3, 10), P(6, 13), P(10, 13), P(12, 11)});
      c.Pen().SetColor(green);
      c.Brush().SetColor(green);
      c.Polygon({P(10, 2), P(14, 6), P(10, 7)});
      break;
    case bkIgnore:
      Stroke(c, blue, {P(2, 12), P(6, 4), P(9, 10), P(14, 3)});
      break;
    case bkCustom:
      break;
  }
}

}  // namespace

const TBitmap& GetKindGlyph(TBitBtnKind kind) {
  static std::array<std::unique_ptr<TBitmap>, 11> cache;
  std::unique_ptr<TBitmap>& slot = cache[kind];
  if (!slot) {
    slot = std::make_unique<TBitmap>();
    if (kind != bkCustom) {
      slot->SetPixelFormat(pf24bit);
      slot->SetSize(32, 16);
      TCanvas& c = slot->Canvas();
      c.Brush().SetColor(kGlyphBack);
      c.FillRect(Rect(0, 0, 32, 16));
      DrawKind(c, kind, 0, false);
      DrawKind(c, kind, 16, true);
      slot->SetTransparent(true);
    }
  }
  return *slot;
}

std::string KindCaption(TBitBtnKind kind) { return kKinds[kind].caption; }

TWkBitBtn::TWkBitBtn(TComponent* AOwner) : TWkButton(AOwner), glyph_(std::make_unique<TBitmap>()) {
  imagesLink_.OnChange = [this] { Invalidate(); };
  imagesLink_.OnFree = [this] {
    images_ = nullptr;
    Invalidate();
  };
}

TWkBitBtn::~TWkBitBtn() = default;

void TWkBitBtn::SetGlyph(const TBitmap& value) {
  glyph_->Assign(value);
  glyphModified_ = true;
  const int w = glyph_->Width(), h = glyph_->Height();
  if (h > 0 && w % h == 0) {
    const int cells = w / h;
    numGlyphs_ = cells >= 1 && cells <= 4 ? cells : 1;
  }
  Invalidate();
}

TBitBtnKind TWkBitBtn::Kind() {
  if (kind_ != bkCustom) {
    const KindRow& row = kKinds[kind_];
    if (Default() != row.isDefault || Cancel() != row.isCancel || ModalResult() != row.result ||
        glyphModified_)
      kind_ = bkCustom;
  }
  return kind_;
}

void TWkBitBtn::SetKind(TBitBtnKind value) {
  if (value == kind_) return;
  if (value != bkCustom) {
    const KindRow& row = kKinds[value];
    SetDefault(row.isDefault);
    SetCancel(row.isCancel);
    if (!(IsLoading() && !Caption().empty())) SetCaption(row.caption);
    SetModalResult(row.result);
    glyph_->Assign(GetKindGlyph(value));
    numGlyphs_ = 2;
    glyphModified_ = false;
  }
  kind_ = value;
  Invalidate();
}

void TWkBitBtn::SetMargin(int value) {
  if (value < -1) return;
  StoreLook(margin_, value);
}

void TWkBitBtn::SetNumGlyphs(int value) {
  if (value < 1 || value > 4) return;
  StoreLook(numGlyphs_, value);
}

void TWkBitBtn::SetImages(TImageList* value) {
  if (images_ == value) return;
  if (images_ != nullptr) images_->UnRegisterChanges(&imagesLink_);
  images_ = value;
  if (images_ != nullptr) images_->RegisterChanges(&imagesLink_);
  Invalidate();
}

void TWkBitBtn::ActionChange(TBasicAction* sender) {
  TWkButton::ActionChange(sender);
  if (auto* action = dynamic_cast<TAction*>(sender); action && action->ImageIndex() != -1)
    SetImageIndex(action->ImageIndex());
}

bool TWkBitBtn::HasPicture() const {
  return (images_ != nullptr && imageIndex_ != -1) || !glyph_->Empty();
}

TSize TWkBitBtn::GetGlyphSize() const {
  if (images_ != nullptr && imageIndex_ != -1) return TSize{images_->Width(), images_->Height()};
  if (glyph_->Empty()) return TSize{0, 0};
  return TSize{glyph_->Width() / numGlyphs_, glyph_->Height()};
}

int TWkBitBtn::CaptionHeight() {
  TCanvas& canvas = Canvas();
  canvas.SetFont(*Font());
  TRect r = GetClientRect();
  InflateRect(r, -5, -5);
  return canvas.DrawText(Caption(), r,
                         DT_CALCRECT | DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS);
}

void TWkBitBtn::GetFaceTextRect(TRect& rect) {
  TWkButton::GetFaceTextRect(rect);
  if (!HasPicture()) return;
  const TSize g = GetGlyphSize();
  if (margin_ >= 0) {
    switch (layout_) {
      case blGlyphLeft:
        rect.Left += margin_ + g.cx + spacing_;
        break;
      case blGlyphRight:
        rect.Right -= margin_ + g.cx + spacing_;
        break;
      case blGlyphTop:
        rect.Top += margin_ + g.cy + spacing_;
        break;
      case blGlyphBottom:
        rect.Bottom -= margin_ + g.cy + spacing_;
        break;
    }
    return;
  }
  const int h = CaptionHeight();
  const int o = (Height() - (g.cy + h + spacing_)) / 2;
  switch (layout_) {
    case blGlyphLeft:
      rect.Left += -1 + g.cx + spacing_;
      break;
    case blGlyphRight:
      rect.Right -= -1 + g.cx + spacing_;
      break;
    case blGlyphTop:
      rect.Top += o + g.cy;
      rect.Bottom = rect.Top + h;
      break;
    case blGlyphBottom:
      rect.Top += o;
      rect.Bottom = rect.Top + h;
      break;
  }
}

TRect TWkBitBtn::GetGlyphRect() {
  TRect r;
  TWkButton::GetFaceTextRect(r);
  const bool themed = Themed();
  if (showDown_) OffsetRect(r, -1, themed ? 0 : -1);
  const TSize g = GetGlyphSize();
  if (margin_ >= 0) {
    switch (layout_) {
      case blGlyphLeft:
        r.Left += margin_;
        break;
      case blGlyphRight:
        r.Left = r.Right - margin_ - g.cx;
        break;
      case blGlyphTop:
        r.Top += margin_;
        break;
      case blGlyphBottom:
        r.Top = r.Bottom - margin_ - g.cy;
        break;
    }
  } else {
    const int h = CaptionHeight();
    const int o = (Height() - (g.cy + h + spacing_)) / 2;
    if (layout_ == blGlyphRight) r.Left = r.Right - g.cx;
    if (layout_ == blGlyphTop) r.Top = o;
    if (layout_ == blGlyphBottom) r.Top += h + o;
  }
  if (layout_ == blGlyphLeft || layout_ == blGlyphRight)
    r.Top += (r.Bottom - r.Top - g.cy + 1) / 2;
  else
    r.Left += (r.Right - r.Left - g.cx + 1) / 2;
  r.Right = r.Left + g.cx;
  r.Bottom = r.Top + g.cy;
  if (showDown_) OffsetRect(r, themed ? 2 : 1, themed ? 0 : 1);
  return r;
}

void TWkBitBtn::DrawButtonContent() {
  TWkButton::DrawButtonContent();
  const TRect r = GetGlyphRect();
  if (Kind() == bkCustom && images_ != nullptr && imageIndex_ != -1)
    DrawImage(r);
  else if (!glyph_->Empty())
    DrawGlyph(r);
}

void TWkBitBtn::DrawImage(const TRect& rect) {
  if (disabledIndex_ == -1)
    images_->Draw(Canvas(), rect.Left, rect.Top, imageIndex_, Enabled());
  else
    images_->Draw(Canvas(), rect.Left, rect.Top, Enabled() ? imageIndex_ : disabledIndex_, true);
}

void TWkBitBtn::DrawGlyph(const TRect& rect) {
  int cell = 1;
  if (numGlyphs_ == 4 && ButtonState() == 3)
    cell = 3;
  else if (numGlyphs_ >= 3 && showDown_)
    cell = 2;
  else if (numGlyphs_ == 1 || Enabled())
    cell = 0;
  const int w = glyph_->Width() / numGlyphs_, h = glyph_->Height();
  TransparentStretchDraw(Canvas(), rect, *glyph_, Rect(cell * w, 0, cell * w + w, h),
                         glyph_->TransparentColor());
}
