// Measuring and laying out the tabs, their shapes, the scroll offset and hit testing.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "widgets/WkTabControl.h"
#include "widgets/WkTabText.h"

namespace {

bool SideIsVertical(TWkTabOrientation o) { return o == toLeft || o == toRight; }

}  // namespace

int TWkCustomTabControl::RunOf(int value) const {
  switch (tabStyle_) {
    case tsSingleSlant:
    case tsBackSlant:
      return value / 2;
    case tsDoubleSlant:
      return value;
    default:
      return tabOverlap_;
  }
}

int TWkCustomTabControl::SideRun() const { return RunOf(fixedDimension_); }

int TWkCustomTabControl::VisibleCount() const {
  int n = 0;
  for (int i = 0; i < tabs_.Count(); ++i) n += tabs_.Items(i)->Visible;
  return n;
}

int TWkCustomTabControl::FirstVisible() const {
  for (int i = 0; i < tabs_.Count(); ++i)
    if (tabs_.Items(i)->Visible) return i;
  return -1;
}

int TWkCustomTabControl::LastVisible() const {
  for (int i = tabs_.Count() - 1; i >= 0; --i)
    if (tabs_.Items(i)->Visible) return i;
  return -1;
}

int TWkCustomTabControl::StripButtonsSpace() const {
  if (VisibleCount() == 0) return 0;
  return (int(showCloseButton_) + int(showMenuButton_)) * (buttonSize_ + 2);
}

int TWkCustomTabControl::RowsExtent() const {
  int e = fixedDimension_ + (fixedDimension_ - rowOverlap_) * (rowCount_ - 1);
  if (tabStyle_ == tsRoundCorners) e += 3;
  return e;
}

int TWkCustomTabControl::TabAreaExtent() const {
  if (showCard_) return RowsExtent();
  // Only a strip: its tabs stand at the far side of the whole control.
  int e = (SideIsVertical(tabOrientation_) ? Width() : Height()) - 1;
  if (tabStyle_ == tsRoundCorners && (tabOrientation_ == toBottom || tabOrientation_ == toRight))
    e -= 1;
  return e;
}

int TWkCustomTabControl::RowY(int row) const {
  return TabAreaExtent() - fixedDimension_ - row * (fixedDimension_ - rowOverlap_);
}

TRect TWkCustomTabControl::TabArea() const {
  const int w = Width() - 1, h = Height() - 1;
  const int e = TabAreaExtent();
  TRect a;
  a.Left = tabOrientation_ == toRight ? w - e : 0;
  a.Top = tabOrientation_ == toBottom ? h - e : 0;
  a.Right = tabOrientation_ == toLeft ? e : w;
  if (tabOrientation_ == toTop && showShadow_ && tabSequence_ == tsStandard) a.Right -= 2;
  a.Bottom = tabOrientation_ == toTop ? e : h;
  return a;
}

int TWkCustomTabControl::StripLength() const {
  const TRect a = TabArea();
  return SideIsVertical(tabOrientation_) ? a.Height() : a.Width();
}

int TWkCustomTabControl::ScrollOffset() const {
  if (firstTab_ < 0 || firstTab_ >= tabs_.Count()) return 0;
  const int m = margin_ + (tabStyle_ == tsRoundCorners ? 2 : 0);
  const TRect& r = tabs_.Items(firstTab_)->Rect;
  return tabSequence_ == tsStandard ? r.Left - m : m + r.Right;
}

TPoint TWkCustomTabControl::StripToClient(int x, int y) const {
  const TRect a = TabArea();
  const int s = ScrollOffset();
  const bool std = tabSequence_ == tsStandard;
  switch (tabOrientation_) {
    case toTop:
      return std ? Point(x - s + a.Left, y + a.Top) : Point(a.Right - (s - x), y + a.Top);
    case toLeft:
      return std ? Point(y + a.Left, a.Bottom - (x - s)) : Point(y + a.Left, (s - x) + a.Top);
    case toBottom:
      return std ? Point(x - s + a.Left, a.Bottom - y) : Point(a.Right - (s - x), a.Bottom - y);
    case toRight:
      return std ? Point(a.Right - y, x - s + a.Top) : Point(a.Right - y, a.Bottom - (s - x));
  }
  return Point(x, y);
}

TRect TWkCustomTabControl::StripRectToClient(const TRect& r) const {
  const TPoint p = StripToClient(r.Left, r.Top);
  const TPoint q = StripToClient(r.Right, r.Bottom);
  return NormalizeRect(Rect(p.X, p.Y, q.X, q.Y));
}

TRect TWkCustomTabControl::TabStripRect(int index) const {
  const TWkTabData* t = tabs_.Items(index);
  TRect r = t->Rect;
  const int shift = t->Row * rowIndent_;
  OffsetRect(r, tabSequence_ == tsStandard ? shift : -shift, 0);
  if (tabStyle_ == tsRoundCorners && index == tabIndex_) {
    r.Left -= 2;
    r.Right += 2;
    r.Top -= 2;
  }
  return r;
}

TRect TWkCustomTabControl::TabClientRect(int index) const {
  return StripRectToClient(TabStripRect(index));
}

std::vector<TPoint> TWkCustomTabControl::TabShape(int index) const {
  const TRect r = TabStripRect(index);
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom, H = B - T;
  const int C = cutCornerSize_;
  std::vector<TPoint> p;
  switch (tabStyle_) {
    case tsSingleSlant:
      if (softCorners_)
        p = {{L, B}, {L, T + 2}, {L + 2, T}, {R - H - 4, T}, {R - H + 2, T + 2}, {R, B}};
      else
        p = {{L, B}, {L, T + 2}, {L + 2, T}, {R - H, T}, {R, B}};
      break;
    case tsDoubleSlant:
      if (softCorners_)
        p = {{L, B},         {L + H - 2, T + 2}, {L + H + 4, T},
             {R - H - 4, T}, {R - H + 2, T + 2}, {R, B}};
      else
        p = {{L, B}, {L + H, T}, {R - H, T}, {R, B}};
      break;
    case tsCutCorner:
      p = {{L, B}, {L, T}, {R - C, T}, {R, T + C}, {R, B}};
      break;
    case tsRoundCorners:
      p = {{L, B}, {L, T + 2}, {L + 2, T}, {R - 2, T}, {R, T + 2}, {R, B}};
      break;
    case tsBackSlant:
      if (softCorners_)
        p = {{L, B}, {L + H - 2, T + 2}, {L + H + 4, T}, {R - 2, T}, {R, T + 2}, {R, B}};
      else
        p = {{L, B}, {L + H, T}, {R - 2, T}, {R, T + 2}, {R, B}};
      break;
  }
  for (TPoint& q : p) q = StripToClient(q.X, q.Y);
  return p;
}

const TRegion* TWkCustomTabControl::TabRegion(int index) {
  const TRect rect = TabClientRect(index);
  if (const TRegion* cached = regions_.IndexOfRect(rect)) return cached;
  const std::vector<TPoint> shape = TabShape(index);
  if (shape.size() < 3) return nullptr;
  regions_.Add(rect, TRegion(shape, pfmAlternate));
  return regions_.IndexOfRect(rect);
}

bool TWkCustomTabControl::WhollyShownWith(int index, int firstTab) const {
  if (index < 0 || index >= tabs_.Count() || !tabs_.Items(index)->Visible) return false;
  if (!scrollerNeeded_ || firstTab < 0) return true;
  const int m = margin_ + (tabStyle_ == tsRoundCorners ? 2 : 0);
  const TRect& first = tabs_.Items(firstTab)->Rect;
  const TRect& r = tabs_.Items(index)->Rect;
  const int window = StripLength() - 2 * buttonSize_ - 2 * margin_ - StripButtonsSpace();
  if (tabSequence_ == tsStandard) {
    const int s = first.Left - m;
    return s <= r.Left && r.Right - s <= window;
  }
  const int s = m + first.Right;
  return r.Right <= s && s - r.Left <= window;
}

bool TWkCustomTabControl::TabWhollyShown(int index) const {
  return WhollyShownWith(index, firstTab_);
}

int TWkCustomTabControl::TabAtPos(int x, int y) {
  if (tabs_.Count() == 0 || firstTab_ < 0 || firstTab_ >= tabs_.Count()) return -1;
  const TPoint pt = Point(x, y);
  auto hit = [&](int i) {
    if (!TabWhollyShown(i) || !PtInRect(TabClientRect(i), pt)) return false;
    const TRegion* region = TabRegion(i);
    return region && region->Contains(pt);
  };
  // The current tab is drawn over its neighbours, so it answers first.
  if (tabIndex_ >= 0 && tabIndex_ < tabs_.Count() && hit(tabIndex_)) return tabIndex_;
  const int n = tabs_.Count();
  for (int k = 0; k < n; ++k) {
    const int i = (firstTab_ + k) % n;
    if (i != tabIndex_ && hit(i)) return i;
  }
  return -1;
}

bool TWkCustomTabControl::InTabArea(int x, int y) const { return PtInRect(TabArea(), Point(x, y)); }

TSize TWkCustomTabControl::SampleSize(TFont& font) {
  TCanvas& c = measure_->Canvas();
  c.SetFont(font);
  const std::string sample = tabStyle_ == tsRoundCorners ? "AAA" : "A";
  TSize s{c.TextWidth(sample), c.TextHeight(sample)};
  if (textOrientation_ == orVertical) std::swap(s.cx, s.cy);
  return s;
}

TSize TWkCustomTabControl::ContentSize(int index, bool bold) {
  const TWkTabData* t = tabs_.Items(index);
  TSize image{0, 0};
  if (images_ && t->ImageIndex >= 0) image = TSize{images_->Width(), images_->Height()};
  TCanvas& c = measure_->Canvas();
  c.SetFont(tabFont_);
  if (bold) c.Font().SetStyle(c.Font().Style() | fsBold);
  // Each line of a multi-line caption is measured: the widest line and the sum of heights.
  TSize text{0, 0};
  if (!t->Caption.empty()) {
    for (const std::string& line : SplitTabCaptionLines(t->Caption)) {
      text.cx = std::max(text.cx, c.TextWidth(StripTabAccelerator(line)));
      text.cy += c.TextHeight(line);
    }
  }
  if (textOrientation_ == orVertical) std::swap(text.cx, text.cy);
  switch (imagePosition_) {
    case ipLeft:
    case ipRight:
      return TSize{imageMargin_ + image.cx + text.cx, std::max(image.cy, text.cy)};
    case ipTop:
    case ipBottom:
      return TSize{std::max(image.cx, text.cx), imageMargin_ + image.cy + text.cy};
    case ipBack:
      return TSize{std::max(image.cx, text.cx), std::max(image.cy, text.cy)};
    case ipStretch:
      return text;
  }
  return text;
}

void TWkCustomTabControl::PostLayout() {
  if (layoutPosted_ || !Application) return;
  layoutPosted_ = true;
  std::weak_ptr<bool> alive = alive_;
  Application->QueueCall([this, alive] {
    if (alive.expired()) return;
    layoutPosted_ = false;
    if (layoutDirty_ && !IsDestroying()) LayoutTabs();
  });
}

void TWkCustomTabControl::UpdateLayout() {
  if (layoutDirty_) LayoutTabs();
}

// What one layout works out before it writes the tabs' rectangles, per tab index.
struct TWkCustomTabControl::TTabPlan {
  int fixedAlong = 0;              // a fixed tab length along the strip, 0 = measured
  int maxCross = 0;                // the largest content size across the strip
  std::vector<int> along;          // content size along the strip
  std::vector<int> length;         // tab length along the strip
  std::vector<int> row, position;  // row and start along the strip
  int rows = 1;
  int available = 1;  // length a row offers
};

void TWkCustomTabControl::LayoutTabs() {
  if (inLayout_) return;
  inLayout_ = true;
  layoutDirty_ = false;
  TTabPlan plan;
  MeasureTabs(plan);
  CountAndPlaceRows(plan);
  SetTabRects(plan);
  StretchRows(plan);
  RunFromFarEnd();
  regions_.Clear();
  DecideScroller();
  ChooseFirstTab();
  KeepSelectableTab();
  RotateRows();
  if (scrollerNeeded_ && tabIndex_ >= 0 && tabIndex_ < tabs_.Count()) ScrollIntoView(tabIndex_);
  const TRect display = DisplayRect();
  inLayout_ = false;
  if (display != lastDisplayRect_) Realign();
  PlaceStripButtons();
}

void TWkCustomTabControl::MeasureTabs() {
  TTabPlan plan;
  MeasureTabs(plan);
}

int TWkCustomTabControl::TabLengthOf(int along, int cross) const {
  const bool textAlong = SideIsVertical(tabOrientation_) == (textOrientation_ == orVertical);
  switch (tabStyle_) {
    case tsSingleSlant:
    case tsBackSlant:
      return 2 * RunOf(cross + 6) + along + 2 + 4 + tabHeight_ / 2;
    case tsDoubleSlant:
      return 2 * RunOf(cross + 2) + along + 2 + 4 + tabHeight_;
    case tsCutCorner:
      return textAlong ? 2 * cutCornerSize_ + along + 8 : along + 10;
    case tsRoundCorners:
      return textAlong ? along + 16 : along + 6;
  }
  return along;
}

int TWkCustomTabControl::TabCrossOf(int cross) const {
  const bool textAlong = SideIsVertical(tabOrientation_) == (textOrientation_ == orVertical);
  switch (tabStyle_) {
    case tsCutCorner:
      return textAlong ? cross + 7 : cross + cutCornerSize_ + 7;
    case tsRoundCorners:
      return textAlong ? cross + 6 : cross + 16;
    default:
      return cross + 6;
  }
}

void TWkCustomTabControl::MeasureTabs(TTabPlan& plan) {
  const bool vertical = SideIsVertical(tabOrientation_);
  plan.fixedAlong = vertical ? tabHeight_ : tabWidth_;
  const int fixedCross = vertical ? tabWidth_ : tabHeight_;
  const size_t n = static_cast<size_t>(tabs_.Count());
  // Content sizes in strip roles, each raised to the sample unless the size is fixed.
  const TSize sample = SampleSize(tabFont_);
  const int sampleAlong = vertical ? sample.cy : sample.cx;
  const int sampleCross = vertical ? sample.cx : sample.cy;
  plan.along.assign(n, 0);
  plan.maxCross = sampleCross;
  for (size_t i = 0; i < n; ++i) {
    if (!tabs_.Items(static_cast<int>(i))->Visible) continue;
    const TSize s = ContentSize(static_cast<int>(i), boldCurrentTab_);
    int along = vertical ? s.cy : s.cx, cross = vertical ? s.cx : s.cy;
    if (plan.fixedAlong <= 0) along = std::max(along, sampleAlong);
    if (fixedCross <= 0) cross = std::max(cross, sampleCross);
    plan.along[i] = along;
    plan.maxCross = std::max(plan.maxCross, cross);
  }
  fixedDimension_ = fixedCross > 0 ? fixedCross : TabCrossOf(plan.maxCross);
  MeasureButtonSize();
}

void TWkCustomTabControl::MeasureLengths(TTabPlan& plan) const {
  // Every tab's slanted sides come from the largest content across, so they run alike.
  plan.length.resize(plan.along.size());
  for (size_t i = 0; i < plan.along.size(); ++i)
    plan.length[i] =
        plan.fixedAlong > 0 ? plan.fixedAlong : TabLengthOf(plan.along[i], plan.maxCross);
}

void TWkCustomTabControl::MeasureButtonSize() {
  TCanvas& c = measure_->Canvas();
  c.SetFont(tabFont_);
  const bool vertical = SideIsVertical(tabOrientation_);
  int b = c.TextHeight("A") + (textOrientation_ == orVertical ? 2 : 4);
  const bool fixedCase = (!vertical && textOrientation_ == orHorizontal && tabHeight_ > 0) ||
                         (vertical && textOrientation_ == orVertical && tabWidth_ > 0);
  b = fixedCase ? std::max(b, fixedDimension_ - 2) : std::min(b, fixedDimension_ - 2);
  buttonSize_ = std::max(b, 1);
}

bool TWkCustomTabControl::PlaceInRows(TTabPlan& plan, bool wrap) const {
  const int run = RunOf(fixedDimension_);
  const int less = tabStyle_ == tsRoundCorners ? 4 : 0;
  int r = 0, p = margin_, inRow = 0;
  for (int i = 0; i < tabs_.Count(); ++i) {
    if (!tabs_.Items(i)->Visible) continue;
    const size_t k = static_cast<size_t>(i);
    int& l = plan.length[k];
    l = std::max(1, std::min(l, plan.available - less));
    if (wrap && inRow > 0 && !(p + l < plan.available)) {
      ++r;
      p = margin_;
      inRow = 0;
      if (r >= plan.rows) return false;
    }
    plan.row[k] = r;
    plan.position[k] = p;
    // Neighbours overlap by the side run less one pixel.
    p = p + l - run + 1;
    ++inRow;
  }
  return true;
}

void TWkCustomTabControl::CountAndPlaceRows(TTabPlan& plan) {
  const size_t n = static_cast<size_t>(tabs_.Count());
  const int visible = VisibleCount();
  const int L = StripLength();
  plan.row.assign(n, 0);
  plan.position.assign(n, 0);
  plan.rows = 1;
  if (multiLine_) {
    // One more row whenever the tabs do not fit, each row shorter by the indent.
    for (;;) {
      plan.available = std::max(1, L - 2 * margin_ - (plan.rows - 1) * rowIndent_);
      MeasureLengths(plan);  // a shorter row may have cut them
      if (PlaceInRows(plan, true) || plan.rows >= std::max(1, visible)) break;
      ++plan.rows;
    }
  } else {
    // The strip buttons count once the button size is known.
    plan.available = std::max(1, L - 2 * margin_ - StripButtonsSpace() - 2 * buttonSize_ - 2);
    MeasureLengths(plan);
    PlaceInRows(plan, false);
  }
  rowCount_ = std::max(1, std::min(plan.rows, std::max(1, visible)));
}

void TWkCustomTabControl::SetTabRects(const TTabPlan& plan) {
  for (int i = 0; i < tabs_.Count(); ++i) {
    TWkTabData* t = tabs_.Items(i);
    const size_t k = static_cast<size_t>(i);
    t->Row = t->Visible ? plan.row[k] : 0;
    const int y = RowY(t->Row);
    const int start = plan.position[k];
    t->Rect = t->Visible ? Rect(start, y, start + plan.length[k], y + fixedDimension_) : TRect{};
  }
}

void TWkCustomTabControl::StretchRows(const TTabPlan& plan) {
  if (!multiLine_ || !alignTabs_ || plan.fixedAlong > 0) return;
  const int rowEnd = margin_ + plan.available;
  for (int r = 0; r < rowCount_; ++r) {
    std::vector<TWkTabData*> inRow;
    for (int i = 0; i < tabs_.Count(); ++i)
      if (tabs_.Items(i)->Visible && tabs_.Items(i)->Row == r) inRow.push_back(tabs_.Items(i));
    if (inRow.empty()) continue;
    const int free = rowEnd - inRow.back()->Rect.Right;
    if (free <= 0) continue;
    // The remainder goes a pixel each to the first tabs.
    const int each = free / static_cast<int>(inRow.size());
    int extra = free % static_cast<int>(inRow.size());
    int shift = 0;
    for (TWkTabData* t : inRow) {
      const int grow = each + (extra > 0 ? 1 : 0);
      if (extra > 0) --extra;
      t->Rect.Left += shift;
      t->Rect.Right += shift + grow;
      shift += grow;
    }
  }
}

void TWkCustomTabControl::RunFromFarEnd() {
  if (tabSequence_ != tsReverse) return;
  // Placed from the strip's start, a reversed strip runs toward negative x: each tab's span
  // is negated, then shifted right by the control's width (several rows), or by how far the
  // placement ended, the far edge of the last tab (one row). Tabs shorter than their slanted
  // sides end up beyond where they started, so that one is taken whatever its sign.
  int shift = Width();
  if (!multiLine_) {
    const int last = LastVisible();
    shift = last < 0 ? 0 : std::abs(tabs_.Items(last)->Rect.Right);
  }
  for (int i = 0; i < tabs_.Count(); ++i) {
    TWkTabData* t = tabs_.Items(i);
    if (!t->Visible) continue;
    const int left = shift - t->Rect.Right, right = shift - t->Rect.Left;
    t->Rect.Left = left;
    t->Rect.Right = right;
  }
}

void TWkCustomTabControl::DecideScroller() {
  scrollerNeeded_ = false;
  if (multiLine_ || VisibleCount() == 0) return;
  const int limit = StripLength() - 2 * margin_ - StripButtonsSpace();
  const int endTab = tabSequence_ == tsStandard ? LastVisible() : FirstVisible();
  scrollerNeeded_ = tabs_.Items(endTab)->Rect.Right > limit;
}

void TWkCustomTabControl::ChooseFirstTab() {
  const int n = tabs_.Count();
  if (VisibleCount() == 0) {
    firstTab_ = -1;
  } else if (scrollerNeeded_) {
    // Forward to a tab shown from where the strip stood; else back; else the first.
    const int previous = std::clamp(firstTab_, 0, n - 1);
    int f = previous;
    while (f < n && !WhollyShownWith(f, f)) ++f;
    if (f >= n) {
      f = previous - 1;
      while (f >= 0 && !WhollyShownWith(f, f)) --f;
      if (f < 0) f = FirstVisible();
    }
    firstTab_ = f;
  } else {
    firstTab_ = FirstVisible();
  }
}

void TWkCustomTabControl::KeepSelectableTab() {
  // -1 stays -1; a tab that can no longer be current hands over to the next selectable one,
  // or the one before.
  const int n = tabs_.Count();
  if (tabIndex_ < 0 || VisibleCount() == 0) return;
  const bool stillGood =
      tabIndex_ < n && tabs_.Items(tabIndex_)->Visible && tabs_.Items(tabIndex_)->Enabled;
  if (stillGood) return;
  int found = -1;
  for (int i = tabIndex_ < n ? tabIndex_ + 1 : n; i < n && found < 0; ++i)
    if (CanSelectTab(i)) found = i;
  for (int i = std::min(tabIndex_, n - 1); i >= 0 && found < 0; --i)
    if (i != tabIndex_ && CanSelectTab(i)) found = i;
  if (found >= 0 && found != tabIndex_) SetTabIndexEx(found, true);
}

void TWkCustomTabControl::RotateRows() {
  if (!multiLine_ || rowCount_ <= 1 || tabIndex_ < 0 || tabIndex_ >= tabs_.Count()) return;
  const int current = tabs_.Items(tabIndex_)->Row;
  if (current == 0) return;
  for (int i = 0; i < tabs_.Count(); ++i) {
    TWkTabData* t = tabs_.Items(i);
    if (!t->Visible) continue;
    t->Row = (t->Row + rowCount_ - current) % rowCount_;
    const int y = RowY(t->Row);
    t->Rect.Top = y;
    t->Rect.Bottom = y + fixedDimension_;
  }
  regions_.Clear();
}

void TWkCustomTabControl::ScrollIntoView(int index) {
  if (!scrollerNeeded_ || firstTab_ < 0) return;
  if (index < firstTab_) {
    firstTab_ = index;
    return;
  }
  const int n = tabs_.Count();
  while (!TabWhollyShown(index) && firstTab_ < index) {
    int next = firstTab_ + 1;
    while (next < n && !tabs_.Items(next)->Visible) ++next;
    if (next > index) break;
    firstTab_ = next;
  }
}

void TWkCustomTabControl::ScrollForward() {
  const int last = LastVisible();
  if (firstTab_ < 0 || last < 0 || firstTab_ >= last || TabWhollyShown(last)) return;
  for (int i = firstTab_ + 1; i < tabs_.Count(); ++i) {
    if (WhollyShownWith(i, i)) {
      firstTab_ = i;
      InvalidateTabShapes();
      return;
    }
  }
}

void TWkCustomTabControl::ScrollBackward() {
  const int first = FirstVisible();
  if (firstTab_ < 1 || first < 0 || TabWhollyShown(first)) return;
  for (int i = firstTab_ - 1; i >= 0; --i) {
    if (WhollyShownWith(i, i)) {
      firstTab_ = i;
      InvalidateTabShapes();
      return;
    }
  }
}

TRect TWkCustomTabControl::CalcPageRect(int row) const {
  if (!showCard_) return TRect{};
  TRect r = Rect(0, 0, Width() - 1, Height() - 1);
  const int e = RowsExtent() - row * (fixedDimension_ - rowOverlap_);
  const int start = row * rowIndent_;
  const int end = rowIndent_ * (rowCount_ - 1 - row);
  const bool std = tabSequence_ == tsStandard;
  switch (tabOrientation_) {
    case toTop:
    case toBottom:
      if (tabOrientation_ == toTop)
        r.Top += e;
      else
        r.Bottom -= e;
      r.Left += std ? start : end;
      r.Right -= std ? end : start;
      break;
    case toLeft:
      r.Left += e;
      // Left-side tabs run upward: the strip starts at the bottom.
      r.Bottom -= std ? start : end;
      r.Top += std ? end : start;
      break;
    case toRight:
      r.Right -= e;
      r.Top += std ? start : end;
      r.Bottom -= std ? end : start;
      break;
  }
  if (r.Right <= r.Left || r.Bottom <= r.Top) return TRect{};
  return r;
}

TRect TWkCustomTabControl::DisplayRect() const {
  if (!showCard_) return Rect(-2, -2, -1, -1);
  TRect r = Rect(0, 0, Width() - 1, Height() - 1);
  {
    const int e = RowsExtent();
    const int indent = rowIndent_ * (rowCount_ - 1);
    const bool std = tabSequence_ == tsStandard;
    switch (tabOrientation_) {
      case toTop:
        r.Top += e;
        (std ? r.Right : r.Left) += std ? -indent : indent;
        break;
      case toBottom:
        r.Bottom -= e;
        (std ? r.Right : r.Left) += std ? -indent : indent;
        break;
      case toLeft:
        r.Left += e;
        (std ? r.Top : r.Bottom) += std ? indent : -indent;
        break;
      case toRight:
        r.Right -= e;
        (std ? r.Bottom : r.Top) += std ? -indent : indent;
        break;
    }
  }
  if (!showCardFrame_) {
    r.Right += 1;
    r.Bottom += 1;
    if (!showFullFrame_) {
      if (tabOrientation_ == toLeft) r.Left -= 1;
      if (tabOrientation_ == toBottom) r.Bottom += 1;
      if (tabOrientation_ == toRight) r.Right += 1;
    }
  } else if (showFullFrame_) {
    r.Left += 1;
    r.Top += 1;
    if (tabOrientation_ == toTop && showShadow_ && tabSequence_ == tsStandard) {
      r.Right -= 2;
      r.Bottom -= 2;
    }
  } else {
    if (tabOrientation_ == toTop) r.Top += 1;
    r.Right += 1;
    r.Bottom += 1;
  }
  return r;
}
