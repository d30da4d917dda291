// The system clipboard: text, a bitmap, and custom formats registered by name that carry bytes.
#pragma once

#include <string>

class TBitmap;

constexpr unsigned CF_TEXT = 1;
constexpr unsigned CF_BITMAP = 2;

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
  // The bitmap format (CF_BITMAP). Other programs see it as an image; what comes back from
  // them loads as a 32-bit bitmap. An empty bitmap adds no image.
  void Assign(const TBitmap& bitmap);
  // False, leaving the bitmap as it is, when the clipboard holds no image.
  bool AssignTo(TBitmap& bitmap) const;
  void Clear();
  // Between Open and Close, SetAsText/SetData/Assign add formats to one clipboard entry;
  // outside, each call replaces the whole clipboard.
  void Open();
  void Close();

 private:
  int openCount_ = 0;
};

TClipboard* Clipboard();
// The same as TClipboard::RegisterFormat of the one clipboard.
unsigned RegisterClipboardFormat(const std::string& name);
