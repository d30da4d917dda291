// BMP files and streams: uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or
// top-down. Every length read from the file is checked before it is trusted.
#include <QImage>
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

namespace {

constexpr const char* kInvalid = "Bitmap image is not valid";

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalid); }

uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

class Reader {
 public:
  explicit Reader(TStream& stream) : stream_(stream) {}
  // The declared size is checked against what the stream holds before anything is allocated,
  // so a short file cannot make the reader reserve a large block.
  std::string Take(uint64_t count) {
    if (count > (1ULL << 31)) Invalid();
    const int64_t remaining = stream_.Remaining();
    if (remaining < 0 || count > static_cast<uint64_t>(remaining))
      throw EReadError("Stream read error");
    std::string bytes(static_cast<size_t>(count), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
      const int64_t n =
          stream_.Read(bytes.data() + done, static_cast<int64_t>(bytes.size() - done));
      if (n <= 0) throw EReadError("Stream read error");
      done += static_cast<size_t>(n);
    }
    consumed_ += count;
    return bytes;
  }
  uint64_t Consumed() const { return consumed_; }

 private:
  TStream& stream_;
  uint64_t consumed_ = 0;
};

int MaskShift(uint32_t mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int MaskBits(uint32_t mask) {
  mask >>= MaskShift(mask);
  int bits = 0;
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
  return bits;
}

// Channel value of a bit-field pixel scaled to 0..255.
int Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int bits = MaskBits(mask);
  const uint32_t v = (pixel & mask) >> MaskShift(mask);
  if (bits >= 8) return static_cast<int>(v >> (bits - 8));
  const uint32_t max = (1u << bits) - 1;
  return static_cast<int>((v * 255 + max / 2) / max);
}

// What the file and info headers say, checked.
struct BmpHeader {
  uint32_t bitsOffset = 0;
  uint32_t headerSize = 0;
  bool core = false;  // the 12-byte header of old files
  int64_t width = 0, height = 0;
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = 0, colorsUsed = 0;
  std::string bytes;  // the info header as read
};

BmpHeader ReadHeader(Reader& in) {
  BmpHeader b;
  const std::string file = in.Take(14);
  const auto* f = reinterpret_cast<const uint8_t*>(file.data());
  if (f[0] != 'B' || f[1] != 'M') Invalid();
  b.bitsOffset = U32(f + 10);

  const std::string sizeBytes = in.Take(4);
  b.headerSize = U32(reinterpret_cast<const uint8_t*>(sizeBytes.data()));
  if (b.headerSize != 12 && (b.headerSize < 40 || b.headerSize > 1024)) Invalid();
  b.bytes = sizeBytes + in.Take(b.headerSize - 4);
  const auto* h = reinterpret_cast<const uint8_t*>(b.bytes.data());

  b.core = b.headerSize == 12;
  if (b.core) {
    b.width = U16(h + 4);
    b.height = static_cast<int16_t>(U16(h + 6));
    b.bitCount = U16(h + 10);
  } else {
    b.width = static_cast<int32_t>(U32(h + 4));
    b.height = static_cast<int32_t>(U32(h + 8));
    b.bitCount = U16(h + 14);
    b.compression = U32(h + 16);
    b.colorsUsed = U32(h + 32);
  }
  b.topDown = b.height < 0;
  b.height = std::abs(b.height);
  if (b.width <= 0 || b.height <= 0 || b.width * b.height > kMaxBitmapPixels) Invalid();
  const int bits = b.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Invalid();
  // 0: plain; 3: bit fields for 16 and 32 bits. Run-length coding is not read.
  if (b.compression != 0 && !(b.compression == 3 && (bits == 16 || bits == 32))) Invalid();
  return b;
}

// Red, green and blue masks of 16- and 32-bit pixels: the defaults, or the file's bit fields
// (inside a long header or after a short one).
std::array<uint32_t, 3> ReadMasks(Reader& in, const BmpHeader& b) {
  std::array<uint32_t, 3> masks = {0, 0, 0};
  if (b.bitCount == 16) {
    masks = {0x7C00, 0x03E0, 0x001F};
  } else if (b.bitCount == 32) {
    masks = {0xFF0000, 0x00FF00, 0x0000FF};
  }
  if (b.compression != 3) return masks;
  const std::string m = b.headerSize >= 52 ? b.bytes.substr(40, 12) : in.Take(12);
  for (int i = 0; i < 3; ++i) masks[i] = U32(reinterpret_cast<const uint8_t*>(m.data()) + 4 * i);
  return masks;
}

// The colour table of 1, 4 and 8 bits, padded with black to the full size.
QList<QRgb> ReadPalette(Reader& in, const BmpHeader& b) {
  QList<QRgb> table;
  if (b.bitCount > 8) return table;
  const uint32_t full = 1u << b.bitCount;
  const uint32_t count = b.colorsUsed == 0 || b.colorsUsed > full ? full : b.colorsUsed;
  const int entry = b.core ? 3 : 4;
  const std::string palette = in.Take(static_cast<uint64_t>(count) * entry);
  const auto* p = reinterpret_cast<const uint8_t*>(palette.data());
  for (uint32_t i = 0; i < count; ++i)
    table.push_back(qRgb(p[i * entry + 2], p[i * entry + 1], p[i * entry]));
  while (table.size() < static_cast<int>(full)) table.push_back(qRgb(0, 0, 0));
  return table;
}

TPixelFormat FormatOf(int bitCount, const std::array<uint32_t, 3>& masks) {
  return bitCount == 1    ? pf1bit
         : bitCount == 4  ? pf4bit
         : bitCount == 8  ? pf8bit
         : bitCount == 24 ? pf24bit
         : bitCount == 16 ? (masks[1] == 0x07E0 ? pf16bit : pf15bit)
                          : pf32bit;
}

// One file row into one image row; 16- and 32-bit pixels go through their masks into RGB32.
void DecodeRow(const uint8_t* row, uchar* out, int w, int bitCount,
               const std::array<uint32_t, 3>& masks) {
  switch (bitCount) {
    case 1:
      std::memcpy(out, row, static_cast<size_t>((w + 7) / 8));
      break;
    case 4:
      for (int x = 0; x < w; ++x) out[x] = (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
      break;
    case 8:
      std::memcpy(out, row, static_cast<size_t>(w));
      break;
    case 24:
      std::memcpy(out, row, static_cast<size_t>(w) * 3);
      break;
    default: {
      QRgb* target = reinterpret_cast<QRgb*>(out);
      for (int x = 0; x < w; ++x) {
        const uint32_t v = bitCount == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
        target[x] = qRgb(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2]));
      }
    }
  }
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  Reader in(stream);
  const BmpHeader b = ReadHeader(in);
  const std::array<uint32_t, 3> masks = ReadMasks(in, b);
  const QList<QRgb> table = ReadPalette(in, b);
  if (b.bitsOffset > in.Consumed() && b.bitsOffset - in.Consumed() < (1u << 20))
    in.Take(b.bitsOffset - in.Consumed());

  const int64_t stride = ((b.bitCount * b.width + 31) / 32) * 4;
  const std::string pixels = in.Take(static_cast<uint64_t>(stride * b.height));
  const auto* px = reinterpret_cast<const uint8_t*>(pixels.data());

  const TPixelFormat format = FormatOf(b.bitCount, masks);
  const int w = static_cast<int>(b.width);
  const int hgt = static_cast<int>(b.height);
  // 16-bit pixels are read as 32-bit ones and converted once all rows are in.
  QImage image(w, hgt, b.bitCount == 16 ? QImage::Format_RGB32 : QtFormat(format));
  if (image.isNull()) RaisePictureTooLarge(w, hgt);
  if (!table.isEmpty()) image.setColorTable(table);
  for (int y = 0; y < hgt; ++y)
    DecodeRow(px + stride * (b.topDown ? y : hgt - 1 - y), image.scanLine(y), w, b.bitCount, masks);
  if (b.bitCount == 16) image = image.convertToFormat(QtFormat(format));

  *image_ = image;
  width_ = w;
  height_ = hgt;
  ratio_ = 1.0;
  format_ = format;
  Changed();
}

namespace {

// Bits per pixel a format is written with: 15- and 16-bit pixels widen to 24.
int BmpBitCount(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
    case pf24bit:
      return 24;
    default:
      return 32;
  }
}

// File header, 40-byte info header and colour table.
void PutHeaders(std::string& out, int w, int h, int bitCount, uint32_t imageSize,
                const QList<QRgb>& table) {
  const int colors = static_cast<int>(table.size());
  const uint32_t offset = 14 + 40 + 4 * colors;
  out += "BM";
  Put32(out, offset + imageSize);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(bitCount));
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 3780);  // 96 pixels per inch
  Put32(out, 3780);
  Put32(out, static_cast<uint32_t>(colors));
  Put32(out, 0);
  for (QRgb c : table) {
    out.push_back(static_cast<char>(qBlue(c)));
    out.push_back(static_cast<char>(qGreen(c)));
    out.push_back(static_cast<char>(qRed(c)));
    out.push_back('\0');
  }
}

// One image row into one file row (zero-padded to `row`'s size).
void EncodeRow(const uchar* in, std::string& row, int w, int bitCount) {
  switch (bitCount) {
    case 1:
      std::memcpy(row.data(), in, static_cast<size_t>((w + 7) / 8));
      break;
    case 4:
      for (int x = 0; x < w; ++x)
        row[x / 2] = static_cast<char>(row[x / 2] | ((in[x] & 0x0F) << ((x & 1) ? 0 : 4)));
      break;
    case 8:
      std::memcpy(row.data(), in, static_cast<size_t>(w));
      break;
    case 24:
      std::memcpy(row.data(), in, static_cast<size_t>(w) * 3);
      break;
    default:
      for (int x = 0; x < w; ++x) {
        const QRgb c = reinterpret_cast<const QRgb*>(in)[x];
        row[4 * x] = static_cast<char>(qBlue(c));
        row[4 * x + 1] = static_cast<char>(qGreen(c));
        row[4 * x + 2] = static_cast<char>(qRed(c));
      }
  }
}

}  // namespace

void TBitmap::SaveToStream(TStream& stream) const {
  const int bitCount = BmpBitCount(format_);
  const QImage image = image_->isNull() ? QImage()
                       : bitCount == 24 ? image_->convertToFormat(QImage::Format_BGR888)
                       : bitCount == 32 ? image_->convertToFormat(QImage::Format_RGB32)
                                        : *image_;
  const int w = image.isNull() ? 0 : width_;
  const int h = image.isNull() ? 0 : height_;
  const int colors = bitCount <= 8 ? (1 << bitCount) : 0;
  const uint32_t stride = static_cast<uint32_t>(((bitCount * w + 31) / 32) * 4);
  const uint32_t imageSize = stride * static_cast<uint32_t>(h);

  std::string out;
  out.reserve(14 + 40 + 4 * colors + imageSize);
  PutHeaders(out, w, h, bitCount, imageSize,
             PaddedPalette(image.isNull() ? QList<QRgb>() : image.colorTable(), colors));
  for (int y = h - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    EncodeRow(image.constScanLine(y), row, w, bitCount);
    out += row;
  }
  if (stream.Write(out.data(), static_cast<int64_t>(out.size())) !=
      static_cast<int64_t>(out.size()))
    throw EWriteError("Stream write error");
}
