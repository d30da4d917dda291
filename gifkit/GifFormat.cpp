#include "gifkit/GifFormat.h"

#include "platform/Exceptions.h"

bool LenientDecoding = true;

void CheckGifImageArea(std::uint64_t width, std::uint64_t height) {
  if (width * height > kMaxGifPixels) {
    throw EInvalidGraphicOperation("GIF image too large (" + std::to_string(width) + " x " +
                                   std::to_string(height) + ")");
  }
}

TGIFColorTable::TGIFColorTable(std::uint32_t count) : count_(std::min<std::uint32_t>(count, 256)) {
  if (count_ > 0) rgb_ = std::make_shared<std::uint8_t[]>(3 * count_);
}

std::uint8_t* TGIFColorTable::RgbForWriting() {
  if (rgb_ && rgb_.use_count() > 1) {
    auto own = std::make_shared_for_overwrite<std::uint8_t[]>(3 * count_);
    std::copy_n(rgb_.get(), 3 * count_, own.get());
    rgb_ = std::move(own);
  }
  return rgb_.get();
}

void TGIFColorTable::SetColor(std::uint32_t index, TGifColor color) {
  if (index >= count_) return;
  std::uint8_t* p = RgbForWriting() + 3 * index;
  p[0] = color & 0xFF;
  p[1] = (color >> 8) & 0xFF;
  p[2] = (color >> 16) & 0xFF;
}

int TGIFColorTable::IndexOf(TGifColor color) const {
  for (std::uint32_t i = 0; i < count_; ++i) {
    if (Color(i) == color) return static_cast<int>(i);
  }
  return -1;
}

int GifBitsForCount(std::uint32_t count) {
  int bits = 1;
  while (bits < 31 && (1u << bits) < count) ++bits;
  return bits;
}

std::uint32_t NextInterlacedRow(std::uint32_t row, std::uint32_t height) {
  // (start, step) of the four passes; the pass of a row follows from its remainder.
  static constexpr std::uint32_t kStart[4] = {0, 4, 2, 1};
  static constexpr std::uint32_t kStep[4] = {8, 8, 4, 2};
  int pass = row % 8 == 0 ? 0 : row % 8 == 4 ? 1 : row % 4 == 2 ? 2 : 3;
  std::uint64_t next = static_cast<std::uint64_t>(row) + kStep[pass];
  while (next >= height) {
    if (++pass == 4) return height;
    next = kStart[pass];
  }
  return static_cast<std::uint32_t>(next);
}

std::uint8_t ExtensionLabel(TExtensionType type) {
  static constexpr std::uint8_t kLabels[4] = {0xF9, 0x01, 0xFF, 0xFE};
  return kLabels[type & 3];
}

bool ExtensionTypeOfLabel(std::uint8_t label, TExtensionType& type) {
  for (TExtensionType t : {etGraphicControl, etPlainText, etApplication, etComment}) {
    if (ExtensionLabel(t) == label) {
      type = t;
      return true;
    }
  }
  return false;
}

int ExtensionFixedSize(TExtensionType type) {
  static constexpr int kSizes[4] = {6, 13, 12, 0};
  return kSizes[type & 3];
}

TExtension::TExtension(TExtensionType type) : ExtensionType(type), Fixed(ExtensionFixedSize(type)) {
  if (type == etGraphicControl) Fixed[0] = 4;
}

void TExtension::Assign(const TExtension& source) {
  ExtensionType = source.ExtensionType;
  Fixed = source.Fixed;
  Data.Assign(source.Data);
}
