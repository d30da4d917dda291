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

// A colour table: Count red-green-blue triples (at most 256), held only as large as it is and
// not at all when it is empty. Copies share the entries until one of them is changed, so a
// frame without a table of its own refers to the global one instead of carrying a copy.
class TGIFColorTable {
 public:
  TGIFColorTable() = default;
  // `count` black entries; at most 256 are kept.
  explicit TGIFColorTable(std::uint32_t count);

  std::uint32_t Count() const { return count_; }
  // Black past Count, as an entry the file left out shows.
  TGifColor Color(std::uint32_t index) const {
    if (index >= count_) return 0;
    const std::uint8_t* p = rgb_.get() + 3 * index;
    return p[0] | (p[1] << 8) | (p[2] << 16);
  }
  // Ignored past Count.
  void SetColor(std::uint32_t index, TGifColor color);
  // The 3 x Count bytes as a file holds them; null for an empty table.
  const std::uint8_t* Rgb() const { return rgb_.get(); }
  // The same for filling in: entries of its own first when they are shared.
  std::uint8_t* RgbForWriting();
  // First entry equal to the colour, -1 when none is.
  int IndexOf(TGifColor color) const;
  void Clear() { *this = TGIFColorTable(); }
  // Whether both hold the same entries without a copy.
  bool SharesEntriesWith(const TGIFColorTable& other) const {
    return rgb_ != nullptr && rgb_ == other.rgb_;
  }

 private:
  std::shared_ptr<std::uint8_t[]> rgb_;
  std::uint32_t count_ = 0;
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

// The fixed bytes of an extension after its label (13 at most): held in place, as few as a
// type has.
class TExtensionBytes {
 public:
  static constexpr std::size_t kMost = 13;
  explicit TExtensionBytes(std::size_t size = 0) : size_(static_cast<std::uint8_t>(size)) {}
  std::size_t size() const { return size_; }
  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }
  std::uint8_t& operator[](std::size_t i) { return bytes_[i]; }
  std::uint8_t operator[](std::size_t i) const { return bytes_[i]; }

 private:
  std::array<std::uint8_t, kMost> bytes_{};
  std::uint8_t size_ = 0;
};

// One extension block: its fixed bytes as they stand after the label, and its data sub-blocks,
// one string each.
class TExtension {
 public:
  explicit TExtension(TExtensionType type = etGraphicControl);
  virtual ~TExtension() = default;

  TExtensionType ExtensionType = etGraphicControl;
  TExtensionBytes Fixed;
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

// A frame's encoded raster: the range of the file it was read from, which stays shared with the
// other frames of that file instead of being copied, or bytes encoded here.
class TGifEncodedData {
 public:
  std::string_view View() const {
    return source_ ? std::string_view(source_->data() + offset_, size_) : std::string_view();
  }
  const std::uint8_t* Bytes() const { return reinterpret_cast<const std::uint8_t*>(View().data()); }
  std::size_t size() const { return size_; }
  bool empty() const { return size() == 0; }
  char operator[](std::size_t i) const { return View()[i]; }
  // Refers to `size` bytes of `source` from `offset` on.
  void Share(std::shared_ptr<const std::string> source, std::size_t offset, std::size_t size) {
    source_ = std::move(source);
    offset_ = offset;
    size_ = size;
  }
  // Takes the bytes as its own.
  void Take(std::string bytes) {
    const std::size_t size = bytes.size();
    Share(std::make_shared<const std::string>(std::move(bytes)), 0, size);
  }
  friend bool operator==(const TGifEncodedData& a, const TGifEncodedData& b) {
    return a.View() == b.View();
  }
  friend bool operator==(const TGifEncodedData& a, std::string_view b) { return a.View() == b; }

 private:
  std::shared_ptr<const std::string> source_;
  std::size_t offset_ = 0;
  std::size_t size_ = 0;
};

// Shared frame data: the encoded raster exactly as it stands in the file after the image
// descriptor and local colour table (code size byte, sub-blocks, zero terminator), and the
// frame's colour table: its local one, or the global one it shares.
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
