#include "widgets/WkTabData.h"

#include <algorithm>

const char* const SWkCapacityError = "Capacity must be -1 (to cache all regions) or > 0";
const char* const SWkRegionError = "Error creating region";
const char* const SWkSaveDCError = "Error saving device context";
const char* const SWkPageIndexError =
    "%d is an invalid PageIndex value. PageIndex must be between 0 and %d";
const char* const SWkPageVisibleError = "You cannot change the Visible property of a page";

void TWkTabData::Assign(const TWkTabData& source) {
  Caption = source.Caption;
  Color = source.Color;
  ImageIndex = source.ImageIndex;
  DisabledIndex = source.DisabledIndex;
  Enabled = source.Enabled;
  Visible = source.Visible;
  Hint = source.Hint;
}

TWkTabData* TWkTabDataList::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)].get();
}

void TWkTabDataList::SetItem(int index, TWkTabData* data) {
  std::unique_ptr<TWkTabData> owned(data);
  Items(index);  // range check before anything changes
  items_[static_cast<size_t>(index)] = std::move(owned);
}

TWkTabData* TWkTabDataList::Add() {
  items_.push_back(std::make_unique<TWkTabData>());
  return items_.back().get();
}

void TWkTabDataList::Add(const TWkTabDataSource& source) { source.AssignTo(*Add()); }

void TWkTabDataList::Clear() { items_.clear(); }

void TWkTabDataList::Assign(const TWkTabDataList& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source.items_) Add()->Assign(*item);
}

void TWkTabColors::Set(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  if (changed_) changed_();
}

void TWkTabColors::Assign(const TWkTabColors& other) {
  highlightBar_ = other.highlightBar_;
  shadow_ = other.shadow_;
  unselected_ = other.unselected_;
  if (changed_) changed_();
}

void TWkTextColors::Set(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  if (changed_) changed_();
}

void TWkTextColors::Assign(const TWkTextColors& other) {
  disabledHighlight_ = other.disabledHighlight_;
  disabledShadow_ = other.disabledShadow_;
  selected_ = other.selected_;
  unselected_ = other.unselected_;
  if (changed_) changed_();
}

const TRegion* TWkTabRegionCache::IndexOfRect(const TRect& rect) {
  for (const Item& item : items_)
    if (item.Rect == rect) return &item.Region;
  return nullptr;
}

void TWkTabRegionCache::Add(const TRect& rect, const TRegion& region) {
  auto found = std::find_if(items_.begin(), items_.end(),
                            [&](const Item& item) { return item.Rect == rect; });
  if (found != items_.end()) {
    // The caller made a new region for this rectangle: keep that one, at the front.
    found->Region = region;
    std::rotate(items_.begin(), found, found + 1);
  } else {
    items_.insert(items_.begin(), Item{rect, region});
  }
  Trim();
}

void TWkTabRegionCache::SetCapacity(int value) {
  if (value == 0 || value < -1) throw EWkTabControlError(SWkCapacityError);
  if (value == capacity_) return;
  capacity_ = value;
  Trim();
}

void TWkTabRegionCache::Trim() {
  if (capacity_ == -1) return;
  while (Count() > capacity_) items_.pop_back();
}

TRect NormalizeRect(const TRect& r) {
  return Rect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
              std::max(r.Top, r.Bottom));
}

bool PointInControlRect(const TRect& rect, TPoint point) {
  return PtInRect(NormalizeRect(rect), point);
}

bool IsNullRect(const TRect& r) {
  return r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Bottom == 0;
}
