// Building blocks of the GIF codec shared by the LZW coder, the stream reader and writer and
// the picture classes: colour tables, extensions, the shared image and frame data, progress
// reporting and the limits that keep hostile files from allocating without bound. Nothing here
// knows about bitmaps.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Classes.h"
#include "platform/ZeroedMemory.h"

// Colours as $00BBGGRR, the same values as the platform's TColor.
using TGifColor = std::uint32_t;
constexpr TGifColor kGifNoColor = 0x1FFFFFFF;  // the platform's clNone

// Lets corrupt data through instead of failing (frames stay, flagged Corrupt).
extern bool LenientDecoding;

// A picture larger than this is refused before its pixels are allocated. A 65535 x 1 strip is
// fine; 65535 x 65535 is not.
constexpr std::uint64_t kMaxGifPixels = 64ull * 1024 * 1024;
// Raises "GIF image too large (<w> x <h>)" beyond kMaxGifPixels.
void CheckGifImageArea(std::uint64_t width, std::uint64_t height);

enum class TGifProgressStage { psStarting, psRunning, psEnding };
// Stage, percentage done and, at an ending caused by an exception, its message.
using TGifProgress = std::function<void(TGifProgressStage, int, const std::string&)>;

enum class TGIFVersion : std::uint8_t { gvNone = 0, gv87a = 1, gv89a = 2 };

// A colour table: Count red-green-blue triples in use out of 256.
struct TGIFColorTable {
  std::uint32_t Count = 0;
  std::array<std::uint8_t, 768> Rgb{};

  TGifColor Color(std::uint32_t index) const {
    return Rgb[3 * index] | (Rgb[3 * index + 1] << 8) | (Rgb[3 * index + 2] << 16);
  }
  void SetColor(std::uint32_t index, TGifColor color) {
    Rgb[3 * index] = color & 0xFF;
    Rgb[3 * index + 1] = (color >> 8) & 0xFF;
    Rgb[3 * index + 2] = (color >> 16) & 0xFF;
  }
  // First entry equal to the colour, -1 when none is.
  int IndexOf(TGifColor color) const;
  void Clear() { *this = TGIFColorTable(); }
};

// The smallest number of bits from 1 up whose power of two reaches count.
int GifBitsForCount(std::uint32_t count);

// The row after `row` in the GIF interlace order (passes from rows 0 and 4 stepping 8, from
// row 2 stepping 4, from row 1 stepping 2); passes starting outside the picture are skipped,
// and after the last pass the result is `height` or more.
std::uint32_t NextInterlacedRow(std::uint32_t row, std::uint32_t height);

enum TExtensionType : std::uint8_t {
  etGraphicControl = 0,
  etPlainText = 1,
  etApplication = 2,
  etComment = 3
};

// The label byte of each extension type and the number of fixed bytes after the label.
std::uint8_t ExtensionLabel(TExtensionType type);
// The type whose label the byte is; false for a label of no type above.
bool ExtensionTypeOfLabel(std::uint8_t label, TExtensionType& type);
int ExtensionFixedSize(TExtensionType type);

// One extension block: its fixed bytes as they stand after the label, and its data sub-blocks,
// one string each.
class TExtension {
 public:
  explicit TExtension(TExtensionType type = etGraphicControl);
  virtual ~TExtension() = default;

  TExtensionType ExtensionType = etGraphicControl;
  std::vector<std::uint8_t> Fixed;
  TStringList Data;

  void Assign(const TExtension& source);

  // Graphic control fields (fixed bytes: size 4, packed, delay lo/hi, transparent index, 0).
  std::uint8_t Packed() const { return Fixed[1]; }
  std::uint16_t DelayHundredths() const { return Fixed[2] | (Fixed[3] << 8); }
  std::uint8_t TransparentIndex() const { return Fixed[4]; }
};

// Shared image data of one or more TGIFImage objects.
class TGIFData {
 public:
  std::uint8_t AspectRatio = 0;
  int BitsPerPixel = 0;
  int ColorResolution = 0;
  TGIFColorTable ColorTable;
  TStringList Comment;
};

// A frame's encoded raster: bytes of its own when encoded here, or the range of the file it was
// read from, which stays shared with the other frames of that file instead of being copied.
class TGifEncodedData {
 public:
  std::string_view View() const {
    return source_ ? std::string_view(*source_).substr(offset_, size_) : std::string_view(own_);
  }
  const std::uint8_t* Bytes() const { return reinterpret_cast<const std::uint8_t*>(View().data()); }
  std::size_t size() const { return source_ ? size_ : own_.size(); }
  bool empty() const { return size() == 0; }
  char operator[](std::size_t i) const { return View()[i]; }
  // Refers to `size` bytes of `source` from `offset` on.
  void Share(std::shared_ptr<const std::string> source, std::size_t offset, std::size_t size) {
    source_ = std::move(source);
    offset_ = offset;
    size_ = size;
    own_.clear();
  }
  // The bytes of its own, emptied, for writing new data into.
  std::string& Own() {
    source_.reset();
    own_.clear();
    return own_;
  }
  friend bool operator==(const TGifEncodedData& a, const TGifEncodedData& b) {
    return a.View() == b.View();
  }
  friend bool operator==(const TGifEncodedData& a, std::string_view b) { return a.View() == b; }

 private:
  std::shared_ptr<const std::string> source_;
  std::size_t offset_ = 0;
  std::size_t size_ = 0;
  std::string own_;
};

// Shared frame data: the encoded raster exactly as it stands in the file after the image
// descriptor and local colour table (code size byte, sub-blocks, zero terminator).
class TGIFItem {
 public:
  TGifEncodedData Data;
  std::uint16_t Width = 0;
  std::uint16_t Height = 0;
  std::uint8_t Packed = 0;
  int BitsPerPixel = 0;
  TGIFColorTable ColorTable;
};

// Palette indices, one a byte: a decoder writes only the pixels its data reach, and a picture
// larger than its data costs only the pages those touch.
using TGifIndices = TZeroedArray<std::uint8_t>;
inline bool operator==(const TGifIndices& a, const std::vector<std::uint8_t>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// A decoded frame: one palette index per byte, rows top-down without padding, and the palette
// of the bitmap it becomes (2, 16 or 256 entries by Depth).
struct TGIFIndexImage {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  int Depth = 8;  // 1, 4 or 8 bits per pixel
  std::vector<TGifColor> Palette;
  TGifIndices Pixels;
};
