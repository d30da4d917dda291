// The small pieces the tab control is built from: one record per tab and their list, the
// colour sets of tabs and captions, the cache of tab-shape regions, the tab module's error
// class and a few rectangle helpers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/gui/Graphics.h"

class EWkTabControlError : public Exception {
  using Exception::Exception;
};

extern const char* const SWkCapacityError;
extern const char* const SWkRegionError;
extern const char* const SWkSaveDCError;
extern const char* const SWkPageIndexError;
extern const char* const SWkPageVisibleError;

// What a tab shows and where the layout put it.
class TWkTabData {
 public:
  std::string Caption;  // '&' before the accelerator character
  TColor Color = clBtnFace;
  int DisabledIndex = -1;
  bool Enabled = true;
  std::string Hint;
  int ImageIndex = -1;
  TRect Rect;  // laid out, in strip coordinates
  bool Visible = true;
  int Row = 0;

  // The picture the tab shows: its own disabled one when it is disabled and has one.
  int ShownImageIndex() const {
    return !Enabled && DisabledIndex >= 0 ? DisabledIndex : ImageIndex;
  }
  // Copies what the tab shows, not the layout.
  void Assign(const TWkTabData& source);
  virtual ~TWkTabData() = default;
};

// Anything that can describe a tab (a page of a page control) fills a record this way.
class TWkTabDataSource {
 public:
  virtual void AssignTo(TWkTabData& dest) const = 0;

 protected:
  ~TWkTabDataSource() = default;
};

class TWkTabDataList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // EListError outside 0 .. Count - 1.
  TWkTabData* Items(int index) const;
  // Frees the old record and keeps `data` (taken over).
  void SetItem(int index, TWkTabData* data);
  TWkTabData* Add();
  void Add(const TWkTabDataSource& source);
  void Clear();
  void Assign(const TWkTabDataList& source);

 private:
  std::vector<std::unique_ptr<TWkTabData>> items_;
};

// Colours of the tabs; every change tells the owner to repaint its tabs.
class TWkTabColors {
 public:
  explicit TWkTabColors(std::function<void()> changed = {}) : changed_(std::move(changed)) {}
  TColor HighlightBar() const { return highlightBar_; }
  void SetHighlightBar(TColor value) { Set(highlightBar_, value); }
  TColor Shadow() const { return shadow_; }
  void SetShadow(TColor value) { Set(shadow_, value); }
  TColor Unselected() const { return unselected_; }
  void SetUnselected(TColor value) { Set(unselected_, value); }
  void Assign(const TWkTabColors& other);

 private:
  void Set(TColor& field, TColor value);
  std::function<void()> changed_;
  TColor highlightBar_ = clHighlight;
  TColor shadow_ = clBtnFace;
  TColor unselected_ = clWindow;
};

class TWkTextColors {
 public:
  explicit TWkTextColors(std::function<void()> changed = {}) : changed_(std::move(changed)) {}
  TColor DisabledHighlight() const { return disabledHighlight_; }
  void SetDisabledHighlight(TColor value) { Set(disabledHighlight_, value); }
  TColor DisabledShadow() const { return disabledShadow_; }
  void SetDisabledShadow(TColor value) { Set(disabledShadow_, value); }
  TColor Selected() const { return selected_; }
  void SetSelected(TColor value) { Set(selected_, value); }
  TColor Unselected() const { return unselected_; }
  void SetUnselected(TColor value) { Set(unselected_, value); }
  void Assign(const TWkTextColors& other);

 private:
  void Set(TColor& field, TColor value);
  std::function<void()> changed_;
  TColor disabledHighlight_ = clBtnHighlight;
  TColor disabledShadow_ = clBtnShadow;
  TColor selected_ = clBtnText;
  TColor unselected_ = clBtnText;
};

// Tab shapes by their client rectangle, most recently used first. Regions are values, so an
// evicted or replaced one is simply gone; a pointer handed out stays valid until the next
// Add, Clear or capacity change.
class TWkTabRegionCache {
 public:
  // The region cached for exactly this rectangle, or nullptr.
  const TRegion* IndexOfRect(const TRect& rect);
  // Caches (or re-caches) the region at the front, then drops the least recently used
  // beyond Capacity.
  void Add(const TRect& rect, const TRegion& region);
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return capacity_; }
  // -1 keeps every region; 0 or below -1 raises EWkTabControlError.
  void SetCapacity(int value);

 private:
  struct Item {
    TRect Rect{-1, -1, -1, -1};
    TRegion Region;
  };
  void Trim();
  std::vector<Item> items_;
  int capacity_ = 1;
};

// Left <= Right and Top <= Bottom.
TRect NormalizeRect(const TRect& rect);
// Inside the normalised rectangle, right and bottom edges excluded.
bool PointInControlRect(const TRect& rect, TPoint point);
bool IsNullRect(const TRect& rect);
