#include "calendar/engine/FestivalStrings.h"

#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/GbkText.h"

namespace {

// Ordering of the platform's sorted string list: ASCII case ignored, bytes compared unsigned.
int CompareText(const std::string& a, const std::string& b) {
  const std::string left = LowerCase(a), right = LowerCase(b);
  return left.compare(right) < 0 ? -1 : (left == right ? 0 : 1);
}

std::string NameOf(const std::string& text) { return text.substr(0, text.find('=')); }

}  // namespace

void TFestivalStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

const std::string& TFestivalStrings::Strings(int index) const {
  CheckIndex(index);
  return entries_[index].text;
}

TColor TFestivalStrings::Colors(int index) const {
  CheckIndex(index);
  return entries_[index].colour;
}

int TFestivalStrings::Add(const std::string& text, TColor colour) {
  auto at = std::lower_bound(entries_.begin(), entries_.end(), text,
                             [](const Entry& entry, const std::string& value) {
                               return CompareText(entry.text, value) < 0;
                             });
  if (at != entries_.end() && CompareText(at->text, text) == 0) {
    return static_cast<int>(at - entries_.begin());
  }
  at = entries_.insert(at, Entry{text, colour});
  return static_cast<int>(at - entries_.begin());
}

void TFestivalStrings::Delete(int index) {
  CheckIndex(index);
  entries_.erase(entries_.begin() + index);
}

int TFestivalStrings::IndexOf(const std::string& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(entries_[i].text, text)) return i;
  }
  return -1;
}

std::string TFestivalStrings::Names(int index) const { return NameOf(Strings(index)); }

int TFestivalStrings::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(NameOf(entries_[i].text), name)) return i;
  }
  return -1;
}
