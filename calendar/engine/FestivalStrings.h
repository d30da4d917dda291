// A sorted list of festival or mark entries, each carrying a colour. The platform's string list
// keeps no value beside a text, and the festival lookups need one per entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 32-bit colour, $00BBGGRR: the same type as the graphics layer's, declared here so that the
// engine needs nothing from the GUI part of the platform.
using TColor = std::uint32_t;

// What a festival or mark lookup answers when nothing matches (the colour -1).
constexpr TColor NoFestivalColor = static_cast<TColor>(-1);

class TFestivalStrings {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  // Index errors raise EListError "List index out of bounds (<i>)".
  const std::string& Strings(int index) const;
  TColor Colors(int index) const;

  // Kept in ascending order with ASCII case ignored; a text already present (case ignored) is
  // not added again. Returns the index of the text.
  int Add(const std::string& text, TColor colour = 0);
  void Delete(int index);
  void Clear() { entries_.clear(); }
  void Assign(const TFestivalStrings& source) { entries_ = source.entries_; }

  // -1 when absent; case ignored.
  int IndexOf(const std::string& text) const;
  // The part before the first '=' (the whole text when it has none), and the search by it.
  std::string Names(int index) const;
  int IndexOfName(const std::string& name) const;

 private:
  struct Entry {
    std::string text;
    TColor colour;
  };
  void CheckIndex(int index) const;
  std::vector<Entry> entries_;
};
