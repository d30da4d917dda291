// BMP files and streams: uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or
// top-down. Every length read from the file is checked before it is trusted.
#include <QImage>
#include <algorithm>
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

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  Reader in(stream);
  const std::string file = in.Take(14);
  const auto* f = reinterpret_cast<const uint8_t*>(file.data());
  if (f[0] != 'B' || f[1] != 'M') Invalid();
  const uint32_t bitsOffset = U32(f + 10);

  const std::string sizeBytes = in.Take(4);
  const uint32_t headerSize = U32(reinterpret_cast<const uint8_t*>(sizeBytes.data()));
  if (headerSize != 12 && (headerSize < 40 || headerSize > 1024)) Invalid();
  const std::string header = sizeBytes + in.Take(headerSize - 4);
  const auto* h = reinterpret_cast<const uint8_t*>(header.data());

  int64_t width, height;
  int bitCount;
  uint32_t compression = 0, colorsUsed = 0;
  const bool core = headerSize == 12;
  if (core) {
    width = U16(h + 4);
    height = static_cast<int16_t>(U16(h + 6));
    bitCount = U16(h + 10);
  } else {
    width = static_cast<int32_t>(U32(h + 4));
    height = static_cast<int32_t>(U32(h + 8));
    bitCount = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  height = std::abs(height);
  if (width <= 0 || height <= 0 || width * height > kMaxBitmapPixels) Invalid();
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    Invalid();
  // 0: plain; 3: bit fields for 16 and 32 bits. Run-length coding is not read.
  if (compression != 0 && !(compression == 3 && (bitCount == 16 || bitCount == 32))) Invalid();

  uint32_t masks[3] = {0, 0, 0};
  if (bitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (bitCount == 32) {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
  if (compression == 3) {
    if (headerSize >= 52) {
      for (int i = 0; i < 3; ++i) masks[i] = U32(h + 40 + 4 * i);
    } else {
      const std::string m = in.Take(12);
      for (int i = 0; i < 3; ++i)
        masks[i] = U32(reinterpret_cast<const uint8_t*>(m.data()) + 4 * i);
    }
  }

  QList<QRgb> table;
  if (bitCount <= 8) {
    const uint32_t full = 1u << bitCount;
    const uint32_t count = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    const int entry = core ? 3 : 4;
    const std::string palette = in.Take(static_cast<uint64_t>(count) * entry);
    const auto* p = reinterpret_cast<const uint8_t*>(palette.data());
    for (uint32_t i = 0; i < count; ++i)
      table.push_back(qRgb(p[i * entry + 2], p[i * entry + 1], p[i * entry]));
    while (table.size() < static_cast<int>(full)) table.push_back(qRgb(0, 0, 0));
  }
  if (bitsOffset > in.Consumed() && bitsOffset - in.Consumed() < (1u << 20))
    in.Take(bitsOffset - in.Consumed());

  const int64_t stride = ((bitCount * width + 31) / 32) * 4;
  const std::string pixels = in.Take(static_cast<uint64_t>(stride * height));
  const auto* px = reinterpret_cast<const uint8_t*>(pixels.data());

  const TPixelFormat format = bitCount == 1    ? pf1bit
                              : bitCount == 4  ? pf4bit
                              : bitCount == 8  ? pf8bit
                              : bitCount == 24 ? pf24bit
                              : bitCount == 16 ? (masks[1] == 0x07E0 ? pf16bit : pf15bit)
                                               : pf32bit;
  const int w = static_cast<int>(width);
  const int hgt = static_cast<int>(height);
  // 16-bit pixels are read as 32-bit ones and converted once all rows are in.
  QImage image(w, hgt, bitCount == 16 ? QImage::Format_RGB32 : QtFormat(format));
  if (image.isNull()) RaisePictureTooLarge(w, hgt);
  if (!table.isEmpty()) image.setColorTable(table);

  for (int y = 0; y < hgt; ++y) {
    const uint8_t* row = px + stride * (topDown ? y : hgt - 1 - y);
    uchar* out = image.scanLine(y);
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
  if (bitCount == 16) image = image.convertToFormat(QtFormat(format));

  *image_ = image;
  width_ = w;
  height_ = hgt;
  format_ = format;
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) const {
  int bitCount;
  switch (format_) {
    case pf1bit:
      bitCount = 1;
      break;
    case pf4bit:
      bitCount = 4;
      break;
    case pf8bit:
      bitCount = 8;
      break;
    case pf15bit:
    case pf16bit:
    case pf24bit:
      bitCount = 24;
      break;
    default:
      bitCount = 32;
      break;
  }
  const int w = width_;
  const int h = image_->isNull() ? 0 : height_;
  const QImage image = image_->isNull() ? QImage()
                       : bitCount == 24 ? image_->convertToFormat(QImage::Format_BGR888)
                       : bitCount == 32 ? image_->convertToFormat(QImage::Format_RGB32)
                                        : *image_;
  const int colors = bitCount <= 8 ? (1 << bitCount) : 0;
  const uint32_t stride =
      static_cast<uint32_t>(((bitCount * (image.isNull() ? 0 : w) + 31) / 32) * 4);
  const uint32_t imageSize = stride * static_cast<uint32_t>(h);
  const uint32_t offset = 14 + 40 + 4 * colors;

  std::string out;
  out.reserve(offset + imageSize);
  out += "BM";
  Put32(out, offset + imageSize);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.isNull() ? 0 : w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(bitCount));
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 3780);  // 96 pixels per inch
  Put32(out, 3780);
  Put32(out, static_cast<uint32_t>(colors));
  Put32(out, 0);
  const QList<QRgb> table =
      PaddedPalette(image.isNull() ? QList<QRgb>() : image.colorTable(), colors);
  for (int i = 0; i < colors; ++i) {
    out.push_back(static_cast<char>(qBlue(table[i])));
    out.push_back(static_cast<char>(qGreen(table[i])));
    out.push_back(static_cast<char>(qRed(table[i])));
    out.push_back('\0');
  }
  for (int y = h - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    const uchar* in = image.constScanLine(y);
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
    out += row;
  }
  if (stream.Write(out.data(), static_cast<int64_t>(out.size())) !=
      static_cast<int64_t>(out.size()))
    throw EWriteError("Stream write error");
}
