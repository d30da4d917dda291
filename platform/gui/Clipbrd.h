// The system clipboard: text, and custom formats registered by name that carry bytes.
#pragma once

#include <string>

constexpr unsigned CF_TEXT = 1;

class TClipboard {
 public:
  // GBK text.
  std::string AsText() const;
  void SetAsText(const std::string& text);
  bool HasFormat(unsigned format) const;
  // Returns the number of a format with that name (the same number for the same name).
  unsigned RegisterFormat(const std::string& name);
  std::string FormatName(unsigned format) const;
  // Bytes of a format ("" when absent).
  std::string GetData(unsigned format) const;
  void SetData(unsigned format, const std::string& bytes);
  void Clear();
  // Between Open and Close, SetAsText/SetData add formats to one clipboard entry; outside,
  // each call replaces the whole clipboard.
  void Open();
  void Close();

 private:
  int openCount_ = 0;
};

TClipboard* Clipboard();
// The same as TClipboard::RegisterFormat of the one clipboard.
unsigned RegisterClipboardFormat(const std::string& name);
