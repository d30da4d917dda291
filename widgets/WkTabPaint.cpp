// Painting the tab strip: background, cards, tabs with fills, images, captions, highlight bars
// and outlines, into the control's off-screen picture; and placing and painting the strip
// buttons.
#include <algorithm>

#include "platform/gui/Graphics.h"
#include "widgets/WkGrafx.h"
#include "widgets/WkTabButtons.h"
#include "widgets/WkTabControl.h"
#include "widgets/WkTabText.h"

namespace {

// Outlines and card frames are recorded as commands and then played onto the canvas, so
// that one frame colour serves all of them and shadows darken what lies under them.
class TOutline {
 public:
  explicit TOutline(TColor frame) : frame_(frame) {}
  void MoveTo(TPoint p) { cmds_.push_back({Op::Move, p, 0}); }
  void LineTo(TPoint p) { cmds_.push_back({Op::Line, p, 0}); }
  // Darkens the pixels from the current point to p (a row or a column), end excluded.
  void ShadowTo(TPoint p, int weight) { cmds_.push_back({Op::Shadow, p, weight}); }
  void Play(TCanvas& canvas) const {
    canvas.Pen().SetColor(frame_);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    TPoint at{};
    for (const Cmd& c : cmds_) {
      switch (c.op) {
        case Op::Move:
          canvas.MoveTo(c.p.X, c.p.Y);
          break;
        case Op::Line:
          canvas.MoveTo(at.X, at.Y);
          canvas.LineTo(c.p.X, c.p.Y);
          break;
        case Op::Shadow: {
          const int dx = c.p.X > at.X ? 1 : c.p.X < at.X ? -1 : 0;
          const int dy = c.p.Y > at.Y ? 1 : c.p.Y < at.Y ? -1 : 0;
          for (TPoint q = at; q != c.p; q.X += dx, q.Y += dy) {
            const TColor under = canvas.Pixel(q.X, q.Y);
            if (under != clNone)
              canvas.SetPixel(q.X, q.Y,
                              BlendColors(clBlack, under, static_cast<std::uint8_t>(c.weight)));
          }
          break;
        }
      }
      at = c.p;
    }
  }

 private:
  enum class Op { Move, Line, Shadow };
  struct Cmd {
    Op op;
    TPoint p;
    int weight;
  };
  TColor frame_;
  std::vector<Cmd> cmds_;
};

}  // namespace

// --- strip buttons: creation and placement

void TWkCustomTabControl::EnsureStripButtons() {
  if (showCloseButton_ && !closeButton_) {
    closeButton_ = new TWkTabCloseButton(this);
    closeButton_->OnClose = [this](TComponent*) { CloseCurrentTab(); };
  }
  if (showMenuButton_ && !menuButton_) menuButton_ = new TWkTabMenuButton(this);
  if (scrollerNeeded_ && !scroller_) {
    scroller_ = new TWkTabScroller(this);
    // Up/right runs toward the strip's end on top, left and bottom tabs in standard sequence
    // and on right tabs in reverse sequence.
    auto upRightForward = [this] {
      return (tabOrientation_ != toRight) == (tabSequence_ == tsStandard);
    };
    scroller_->OnUpRightClick = [this, upRightForward](TComponent*) {
      upRightForward() ? ScrollForward() : ScrollBackward();
    };
    scroller_->OnDownLeftClick = [this, upRightForward](TComponent*) {
      upRightForward() ? ScrollBackward() : ScrollForward();
    };
  }
  UpdateButtonColors();
}

void TWkCustomTabControl::UpdateButtonColors() {
  const TColor frame = AdjustColor(flatColor_, flatColorAdjustment_);
  if (scroller_) scroller_->SetFrameColor(frame);
  if (closeButton_) closeButton_->SetFrameColor(frame);
  if (menuButton_) menuButton_->SetFrameColor(frame);
}

void TWkCustomTabControl::PlaceStripButtons() {
  EnsureStripButtons();
  const int b = buttonSize_;
  const TRect a = TabArea();
  const int m = margin_;
  const bool std = tabSequence_ == tsStandard;
  const bool vertical = tabOrientation_ == toLeft || tabOrientation_ == toRight;
  const bool haveTabs = VisibleCount() > 0;
  // Along the strip: an item `len` long, `d` further in from the strip's end.
  auto along = [&](int len, int d) {
    switch (tabOrientation_) {
      case toTop:
        return std ? a.Right - len + (showShadow_ ? -1 : 1) - m - d : a.Left + m + d;
      case toBottom:
        return std ? a.Right - len + 1 - m - d : a.Left + m + d;
      case toLeft:
        return std ? a.Top + m + d : a.Bottom - len + 1 - m - d;
      case toRight:
        return std ? a.Bottom - len + 1 - m - d : a.Top + m + d;
    }
    return 0;
  };
  auto across = [&] {
    switch (tabOrientation_) {
      case toTop:
        return a.Bottom - b - 2;
      case toBottom:
        return a.Top + 2;
      case toLeft:
        return a.Right - b - 2;
      case toRight:
        return a.Left + 2;
    }
    return 0;
  };
  auto place = [&](TControl* c, int len, int d) {
    const int p = along(len, d), q = across();
    if (vertical)
      c->SetBounds(q, p, b, len);
    else
      c->SetBounds(p, q, len, b);
  };
  if (closeButton_) {
    closeButton_->SetVisible(showCloseButton_ && haveTabs);
    place(closeButton_, b, 0);
  }
  if (menuButton_) {
    menuButton_->SetVisible(showMenuButton_ && haveTabs);
    place(menuButton_, b, showCloseButton_ ? b + 2 : 0);
  }
  if (scroller_) {
    scroller_->SetOrientation(vertical ? orVertical : orHorizontal);
    place(scroller_, 2 * b - 1, StripButtonsSpace());
    if (!scrollerNeeded_)
      scroller_->SetBounds(-(scroller_->Width() + 1), -(scroller_->Height() + 1),
                           scroller_->Width(), scroller_->Height());
    scroller_->Invalidate();
  }
}

// --- the strip

namespace {

struct TabColours {
  TColor current, unselected, shadow;
};

}  // namespace

class TWkTabPainter {
 public:
  TWkTabPainter(TWkCustomTabControl& tc, TCanvas& canvas) : tc_(tc), c_(canvas) {}

  void PaintAll();

 private:
  TColor FrameColor() const { return AdjustColor(tc_.flatColor_, tc_.flatColorAdjustment_); }
  TColor HotColor() const {
    return tc_.hotTrackColorType_ == htctActual ? tc_.hotTrackColor_
                                                : ShiftedHueColor(tc_.hotTrackColor_, 140);
  }
  TabColours ColoursOf(int index) const;
  void PaintCard(int row);
  void PaintTab(int index);
  void PaintBar(int index, const TRect& rect);
  void PaintContent(int index, const TRect& content);
  void PaintCaption(int index, const TRect& rect);
  void TextLine(const std::string& line, int x, int y, TColor color, int escapement);
  TRect ContentRect(int index) const;

  TWkCustomTabControl& tc_;
  TCanvas& c_;
};

TabColours TWkTabPainter::ColoursOf(int index) const {
  if (!tc_.useColoredTabs_)
    return {tc_.Color(), tc_.tabColors_.Unselected(), tc_.tabColors_.Shadow()};
  const TColor own = tc_.tabs_.Items(index)->Color;
  const TColor shadow = ColorToRGB(own) == clWhite ? clBtnFace : DarkerColor(ColorToRGB(own), 30);
  return {own, own, shadow};
}

TRect TWkTabPainter::ContentRect(int index) const {
  const TRect r = tc_.TabStripRect(index);
  const int H = r.Bottom - r.Top;
  const int C = tc_.cutCornerSize_;
  const bool vertical = tc_.tabOrientation_ == toLeft || tc_.tabOrientation_ == toRight;
  const bool textAlong = vertical == (tc_.textOrientation_ == orVertical);
  // Insets along the strip (start, end) and across it (outer, inner), in strip coordinates.
  int s = 3, e = 3, outer = 4, inner = 2;
  switch (tc_.tabStyle_) {
    case tsSingleSlant:
      e = H + 3;
      break;
    case tsBackSlant:
      s = H + 3;
      break;
    case tsDoubleSlant:
      s = e = H - 1;
      break;
    case tsCutCorner:
      if (textAlong) {
        s = 4;
        e = C + 4;
        inner = 3;
      } else {
        s = e = 5;
        outer = C + 4;
        inner = 3;
      }
      break;
    case tsRoundCorners:
      if (textAlong) {
        s = e = 8;
      } else {
        outer = 9;
        inner = 7;
      }
      break;
  }
  TRect strip = Rect(r.Left + s, r.Top + outer, r.Right - e, r.Bottom - inner);
  if (strip.Right < strip.Left) strip.Right = strip.Left;
  if (strip.Bottom < strip.Top) strip.Bottom = strip.Top;
  return tc_.StripRectToClient(strip);
}

void TWkTabPainter::PaintCard(int row) {
  TRect r = tc_.CalcPageRect(row);
  if (IsRectEmpty(r)) return;
  if (tc_.showCard_) {
    r.Right += 1;
    r.Bottom += 1;
  }
  // With a shadow the card stops two pixels short: the shadow darkens what lies behind.
  const bool hasShadow = tc_.showCardFrame_ && tc_.showShadow_ && tc_.tabOrientation_ == toTop &&
                         tc_.tabSequence_ == tsStandard;
  TRect f = r;
  if (hasShadow) {
    f.Right -= 2;
    f.Bottom -= 2;
  }
  if (!tc_.DoPaintCardBackground(c_, row, f)) {
    TColor fill = tc_.Color();
    if (tc_.useColoredTabs_ && tc_.tabIndex_ >= 0 && tc_.tabIndex_ < tc_.tabs_.Count())
      fill = tc_.tabs_.Items(tc_.tabIndex_)->Color;
    c_.Brush().SetStyle(bsSolid);
    c_.Brush().SetColor(fill);
    c_.FillRect(f);
  }
  if (!tc_.showCardFrame_) return;
  const bool shadow = hasShadow;
  const int L = f.Left, T = f.Top, R = f.Right - 1, B = f.Bottom - 1;
  TOutline o(FrameColor());
  // The side that faces the tabs; row 0 leaves the base of the current tab open.
  int gapFrom = 1, gapTo = 0;
  if (row == 0 && tc_.tabIndex_ >= 0 && tc_.tabIndex_ < tc_.tabs_.Count() &&
      tc_.tabs_.Items(tc_.tabIndex_)->Visible && tc_.TabWhollyShown(tc_.tabIndex_)) {
    const TRect t = tc_.TabClientRect(tc_.tabIndex_);
    const bool vertical = tc_.tabOrientation_ == toLeft || tc_.tabOrientation_ == toRight;
    gapFrom = (vertical ? t.Top : t.Left) + 1;
    gapTo = (vertical ? t.Bottom : t.Right) - 1;
  }
  auto side = [&](TPoint from, TPoint to, bool tabSide) {
    if (!tabSide || gapFrom > gapTo) {
      o.MoveTo(from);
      o.LineTo(to);
      return;
    }
    const bool horizontal = from.Y == to.Y;
    const int a = horizontal ? from.X : from.Y, z = horizontal ? to.X : to.Y;
    auto at = [&](int v) { return horizontal ? Point(v, from.Y) : Point(from.X, v); };
    if (gapFrom > a) {
      o.MoveTo(from);
      o.LineTo(at(std::min(gapFrom, z)));
    }
    if (gapTo + 1 < z) {
      o.MoveTo(at(std::max(gapTo + 1, a)));
      o.LineTo(to);
    }
  };
  const TWkTabOrientation side0 = tc_.tabOrientation_;
  const bool full = tc_.showFullFrame_;
  if (full || side0 == toTop) side(Point(L, T), Point(R + 1, T), side0 == toTop);
  if (full || side0 == toBottom) side(Point(L, B), Point(R + 1, B), side0 == toBottom);
  if (full || side0 == toLeft) side(Point(L, T), Point(L, B + 1), side0 == toLeft);
  if (full || side0 == toRight) side(Point(R, T), Point(R, B + 1), side0 == toRight);
  if (shadow) {
    // Two shades on the right and at the bottom: darker next to the frame.
    o.MoveTo(Point(R + 1, T + 2));
    o.ShadowTo(Point(R + 1, B + 1), 30);
    o.MoveTo(Point(R + 2, T + 3));
    o.ShadowTo(Point(R + 2, B + 2), 15);
    o.MoveTo(Point(L + 2, B + 1));
    o.ShadowTo(Point(R + 2, B + 1), 30);
    o.MoveTo(Point(L + 3, B + 2));
    o.ShadowTo(Point(R + 3, B + 2), 15);
  }
  o.Play(c_);
}

void TWkTabPainter::PaintBar(int index, const TRect& rect) {
  const bool current = index == tc_.tabIndex_;
  const bool hot = index == tc_.hotTab_;
  if (!tc_.hotTrack_ || tc_.hotTrackStyle_ != htsTab || (!current && !hot)) return;
  TRect bar = rect;
  InflateRect(bar, 1, 1);
  switch (tc_.tabOrientation_) {
    case toTop:
      bar.Bottom = bar.Top + 6;
      break;
    case toLeft:
      bar.Right = bar.Left + 6;
      break;
    case toBottom:
      bar.Top = bar.Bottom - 4;
      break;
    case toRight:
      bar.Left = bar.Right - 4;
      break;
  }
  c_.Brush().SetStyle(bsSolid);
  c_.Brush().SetColor(current ? tc_.tabColors_.HighlightBar() : HotColor());
  c_.FillRect(bar);
}

void TWkTabPainter::TextLine(const std::string& line, int x, int y, TColor color, int escapement) {
  const TTabCaptionPieces p = SplitTabAccelerator(line);
  c_.Font().SetColor(color);
  const TFontStyles base = c_.Font().Style();
  int advance = 0;
  auto piece = [&](const std::string& text, bool underline) {
    if (text.empty()) return;
    c_.Font().SetStyle(underline ? base | fsUnderline : base);
    if (escapement == 900)
      c_.TextOut(x, y - advance, text);
    else if (escapement == 2700)
      c_.TextOut(x, y + advance, text);
    else
      c_.TextOut(x + advance, y, text);
    advance += c_.TextWidth(text);
  };
  piece(p.Before, false);
  piece(p.Accel, true);
  piece(p.After, false);
  c_.Font().SetStyle(base);
}

void TWkTabPainter::PaintCaption(int index, const TRect& rect) {
  const TWkTabData* t = tc_.tabs_.Items(index);
  if (t->Caption.empty()) return;
  c_.SetFont(tc_.tabFont_);
  if (tc_.boldCurrentTab_ && index == tc_.tabIndex_) c_.Font().SetStyle(c_.Font().Style() | fsBold);
  const bool vertical = tc_.textOrientation_ == orVertical;
  const int escapement = !vertical ? 0 : tc_.tabOrientation_ == toRight ? 2700 : 900;
  if (vertical) c_.Font().Assign(CreateRotatedFont(c_.Font(), escapement));
  c_.Brush().SetStyle(bsClear);

  const std::vector<std::string> lines = SplitTabCaptionLines(t->Caption);
  std::vector<TSize> sizes;
  int block = 0;
  for (const std::string& l : lines) {
    sizes.push_back(TSize{c_.TextWidth(StripTabAccelerator(l)), c_.TextHeight(l)});
    block += sizes.back().cy;
  }
  auto align = [](int from, int to, int size, int how) {  // 0 start, 1 centre, 2 end
    return how == 0 ? from : how == 2 ? to - size : from + (to - from - size) / 2;
  };
  const int hAlign = tc_.textAlignment_ == haLeft ? 0 : tc_.textAlignment_ == haRight ? 2 : 1;
  const int vAlign = tc_.textAlignmentVertical_ == vaTop      ? 0
                     : tc_.textAlignmentVertical_ == vaBottom ? 2
                                                              : 1;

  // Colours: selected, unselected, hot text; disabled tabs in two shades.
  std::vector<std::pair<TColor, TPoint>> passes;
  if (!t->Enabled) {
    passes.push_back(
        {tc_.DoGetTextColor(index, tsDisabledHighlight, tc_.textColors_.DisabledHighlight()),
         Point(1, 1)});
    passes.push_back({tc_.DoGetTextColor(index, tsDisabledShadow, tc_.textColors_.DisabledShadow()),
                      Point(0, 0)});
  } else if (index == tc_.hotTab_ && tc_.hotTrackStyle_ == htsText && tc_.hotTrack_) {
    passes.push_back({tc_.DoGetTextColor(index, tsHotTrack, HotColor()), Point(0, 0)});
  } else if (index == tc_.tabIndex_) {
    passes.push_back(
        {tc_.DoGetTextColor(index, tsSelected, tc_.textColors_.Selected()), Point(0, 0)});
  } else {
    passes.push_back(
        {tc_.DoGetTextColor(index, tsUnselected, tc_.textColors_.Unselected()), Point(0, 0)});
  }
  for (const auto& [color, off] : passes) {
    int run = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      const TSize s = sizes[i];
      int x, y;
      if (!vertical) {
        x = align(rect.Left, rect.Right, s.cx, hAlign);
        y = align(rect.Top, rect.Bottom, block, vAlign) + run;
      } else if (escapement == 900) {
        // Reads upward: lines stand side by side from the left.
        x = align(rect.Left, rect.Right, block, hAlign) + run;
        y = rect.Bottom - align(rect.Top, rect.Bottom, s.cx, 2 - vAlign) + rect.Top;
      } else {
        x = rect.Right - (align(rect.Left, rect.Right, block, 2 - hAlign) - rect.Left) - run;
        y = align(rect.Top, rect.Bottom, s.cx, vAlign);
      }
      TextLine(lines[i], x + off.X, y + off.Y, color, escapement);
      run += s.cy;
    }
  }
  c_.Brush().SetStyle(bsSolid);
}

void TWkTabPainter::PaintContent(int index, const TRect& content) {
  const TWkTabData* t = tc_.tabs_.Items(index);
  TRect text = content;
  const int imageIndex = t->ShownImageIndex();
  if (tc_.images_ && t->ImageIndex >= 0) {
    const int iw = tc_.images_->Width(), ih = tc_.images_->Height(), m = tc_.imageMargin_;
    auto alignH = [&](int from, int to) {
      return tc_.imageAlignment_ == haLeft    ? from
             : tc_.imageAlignment_ == haRight ? to - iw
                                              : from + (to - from - iw) / 2;
    };
    auto alignV = [&](int from, int to) {
      return tc_.imageAlignmentVertical_ == vaTop      ? from
             : tc_.imageAlignmentVertical_ == vaBottom ? to - ih
                                                       : from + (to - from - ih) / 2;
    };
    TPoint at;
    switch (tc_.imagePosition_) {
      case ipLeft:
        at = Point(content.Left, alignV(content.Top, content.Bottom));
        text.Left += iw + m;
        break;
      case ipRight:
        at = Point(content.Right - iw, alignV(content.Top, content.Bottom));
        text.Right -= iw + m;
        break;
      case ipTop:
        at = Point(alignH(content.Left, content.Right), content.Top);
        text.Top += ih + m;
        break;
      case ipBottom:
        at = Point(alignH(content.Left, content.Right), content.Bottom - ih);
        text.Bottom -= ih + m;
        break;
      case ipBack:
      case ipStretch:
        at = Point(alignH(content.Left, content.Right), alignV(content.Top, content.Bottom));
        break;
    }
    tc_.images_->Draw(c_, at.X, at.Y, imageIndex, t->Enabled || t->DisabledIndex >= 0);
  }
  PaintCaption(index, text);
}

void TWkTabPainter::PaintTab(int index) {
  const TRect rect = tc_.TabClientRect(index);
  TRect clip = c_.ClipRect(), meet;
  if (!IntersectRect(meet, rect, clip)) return;
  const TRegion* region = tc_.TabRegion(index);
  if (!region) return;
  const TRegion shape = *region;  // the cache may evict it while we draw
  const int saved = c_.SaveState();
  if (saved < 0) throw EWkTabControlError(SWkSaveDCError);
  TRegion clipTo = shape;
  clipTo.Combine(TRegion(clip), rcAnd);
  c_.SelectClipRegion(&clipTo);
  if (!tc_.DoPaintTabBackground(c_, index, rect)) {
    const TabColours colours = ColoursOf(index);
    c_.Brush().SetStyle(bsSolid);
    if (index == tc_.tabIndex_) {
      c_.Brush().SetColor(colours.current);
      c_.FillRect(rect);
    } else if (tc_.useGradients_ && HighColorDisplay) {
      const bool outerFirst = tc_.tabOrientation_ == toTop || tc_.tabOrientation_ == toLeft;
      const TGradientDirection dir = tc_.tabOrientation_ == toTop || tc_.tabOrientation_ == toBottom
                                         ? gdHorizontalEnd
                                         : gdVerticalEnd;
      PaintGradient(c_, rect, dir, outerFirst ? colours.unselected : colours.shadow,
                    outerFirst ? colours.shadow : colours.unselected, 1);
    } else {
      c_.Brush().SetColor(colours.unselected);
      c_.FillRect(rect);
    }
  }
  PaintBar(index, rect);
  const TRect content = ContentRect(index);
  PaintContent(index, content);
  c_.RestoreState(saved);

  // The outline along the shape, its base left to the card.
  const std::vector<TPoint> pts = tc_.TabShape(index);
  TOutline o(FrameColor());
  o.MoveTo(pts.front());
  for (size_t i = 1; i < pts.size(); ++i) o.LineTo(pts[i]);
  o.Play(c_);
  c_.SetPixel(pts.back().X, pts.back().Y, FrameColor());

  if (index == tc_.tabIndex_ && tc_.showFocusRect_ && tc_.Focused()) {
    TRect f = content;
    const bool vertical = tc_.tabOrientation_ == toLeft || tc_.tabOrientation_ == toRight;
    if (vertical) {
      f.Top -= 1;
      f.Bottom += 1;
    } else {
      f.Left -= 1;
      f.Right += 1;
      f.Bottom += 1;
    }
    c_.Brush().SetColor(clWhite);
    c_.Font().SetColor(clBlack);
    c_.DrawFocusRect(f);
  }
}

void TWkTabPainter::PaintAll() {
  TWkCustomTabControl& tc = tc_;
  const TRect client = Rect(0, 0, tc.Width(), tc.Height());
  if (!tc.DoPaintBackground(c_, client)) {
    if (tc.transparent_) {
      DrawParentImageCanvas(&tc, c_, false);
    } else {
      c_.Brush().SetStyle(bsSolid);
      c_.Brush().SetColor(tc.BackgroundColor());
      c_.FillRect(client);
    }
  }
  // The strip buttons were placed by the layout; a paint only draws.
  const int n = tc.tabs_.Count();
  int row0 = -1;
  for (int i = 0; i < n && row0 < 0; ++i)
    if (tc.tabs_.Items(i)->Visible && tc.tabs_.Items(i)->Row == 0) row0 = i;
  auto drawable = [&](int i) {
    return tc.tabs_.Items(i)->Visible && i >= tc.firstTab_ && tc.firstTab_ >= 0 &&
           tc.TabWhollyShown(i);
  };
  int level = tc.rowCount_ - 1;
  if (row0 >= 0) {
    for (int k = 1; k <= n; ++k) {
      const int i = ((row0 - k) % n + n) % n;
      if (i == tc.tabIndex_ || !drawable(i)) continue;
      const int row = tc.tabs_.Items(i)->Row;
      if (row < level && level > 0) {
        PaintCard(level);
        level = row;
      }
      PaintTab(i);
    }
  }
  if (level == 1) PaintCard(1);
  if (tc.tabIndex_ >= 0 && tc.tabIndex_ < n && drawable(tc.tabIndex_)) PaintTab(tc.tabIndex_);
  PaintCard(0);
  if (!IsRectEmpty(tc.dropIndicator_)) tc.DrawDragMarker(c_, tc.dropIndicator_);
}

void TWkCustomTabControl::Paint() {
  // Normally the posted call has laid the tabs out already; this is the fallback.
  if (layoutDirty_) LayoutTabs();
  TWkTabPainter(*this, Canvas()).PaintAll();
}

void TWkCustomTabControl::DrawDragMarker(TCanvas& canvas, const TRect& rect) {
  // Two black triangles whose tips meet at the marked edge, pointing toward the card.
  const int w = rect.Width(), h = rect.Height();
  const TPoint o = rect.TopLeft();
  std::vector<std::vector<TPoint>> shapes;
  switch (tabOrientation_) {
    case toTop:
      shapes = {{{0, 0}, {w / 2, 0}, {w / 2, h}}, {{w / 2, 0}, {w, 0}, {w / 2, h}}};
      break;
    case toBottom:
      shapes = {{{0, h}, {w / 2, h}, {w / 2, 0}}, {{w / 2, h}, {w, h}, {w / 2, 0}}};
      break;
    case toLeft:
      shapes = {{{0, 0}, {0, h / 2}, {w, h / 2}}, {{0, h / 2}, {0, h}, {w, h / 2}}};
      break;
    case toRight:
      shapes = {{{w, 0}, {w, h / 2}, {0, h / 2}}, {{w, h / 2}, {w, h}, {0, h / 2}}};
      break;
  }
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clBlack);
  canvas.Pen().SetColor(clBlack);
  for (auto& s : shapes) {
    for (TPoint& p : s) p = Point(p.X + o.X, p.Y + o.Y);
    canvas.Polygon(s);
  }
}

TColor TWkCustomTabControl::BackgroundColor() const {
  return parentBackgroundColor_ && Parent() ? Parent()->Color() : backgroundColor_;
}

// --- strip buttons' faces

void TWkTabScroller::Paint() {
  TWkCustomTabControl& tc = *tabControl_;
  const bool horizontal = Orientation() == orHorizontal;
  const bool upRightForward = (tc.TabOrientation() != toRight) == (tc.TabSequence() == tsStandard);
  const bool atStart = tc.FirstTab() <= 0;
  int last = -1;
  for (int i = tc.TabCount() - 1; i >= 0 && last < 0; --i)
    if (tc.Tabs().Items(i)->Visible) last = i;
  const bool atEnd = last < 0 || tc.TabWhollyShown(last);
  for (int half = 0; half < 2; ++half) {
    const TRect r = HalfRect(half);
    const bool forward = (half == 1) == upRightForward;
    const bool enabled = forward ? !atEnd : !atStart;
    const bool down = pressed_ && pressedHalf_ == half;
    DrawTabFrame(Canvas(), r, tc, FrameColor(), down);
    const int dir = horizontal ? (half == 1 ? 3 : 2) : (half == 1 ? 0 : 1);
    DrawArrow(Canvas(), r, dir, vsClassic, enabled, down);
  }
}

void TWkTabCloseButton::Paint() {
  const TRect r = GetClientRect();
  DrawTabFrame(Canvas(), r, *tabControl_, FrameColor(), pressed_);
  DrawCloseGlyph(Canvas(), r, vsClassic, tabControl_->TabIndex() != -1, pressed_);
}

void TWkTabMenuButton::Paint() {
  const TRect r = GetClientRect();
  DrawTabFrame(Canvas(), r, *tabControl_, FrameColor(), pressed_);
  int dir = 1;
  switch (tabControl_->TabOrientation()) {
    case toTop:
      dir = 1;
      break;
    case toBottom:
      dir = 0;
      break;
    case toLeft:
      dir = 3;
      break;
    case toRight:
      dir = 2;
      break;
  }
  DrawArrow(Canvas(), r, dir, vsClassic, true, pressed_);
}
