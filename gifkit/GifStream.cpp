#include "gifkit/GifStream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "gifkit/LzwDecoder.h"
#include "gifkit/LzwEncoder.h"
#include "platform/Exceptions.h"

namespace {

[[noreturn]] void ShortRead() { throw EReadError("Stream read error"); }
[[noreturn]] void BadStream() { throw EInvalidGraphicOperation("Stream read error"); }

std::uint16_t Word(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

void PutWord(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

// 2^bits entries: the table's, then black for those it does not have.
void PutTable(std::string& out, const TGIFColorTable& table, int bits) {
  const std::uint32_t entries = 1u << bits;
  const std::uint32_t held = std::min(entries, table.Count());
  if (held > 0) out.append(reinterpret_cast<const char*>(table.Rgb()), 3 * held);
  out.append(3 * (entries - held), '\0');
}

// Strings as sub-blocks of at most 255 bytes; empty strings have no sub-block.
void PutSubBlocks(std::string& out, const TStringList& strings) {
  for (const std::string& s : strings.Items()) {
    if (s.empty()) continue;
    const std::size_t n = std::min<std::size_t>(s.size(), 255);
    out.push_back(static_cast<char>(n));
    out.append(s, 0, n);
  }
  out.push_back('\0');
}

// The encoded data ended by a zero-length block: a frame cut short while reading leniently
// lacks it, and a reader must find it.
void AppendTerminated(std::string& out, std::string_view data) {
  std::size_t at = 1;
  while (at < data.size()) {
    const std::size_t n = static_cast<std::uint8_t>(data[at]);
    if (n == 0) {
      out += data;
      return;
    }
    at += 1 + n;
  }
  out += data.substr(0, std::min(at, data.size()));
  out.push_back('\0');
}

// The table index a colour is written with: the index it was read from while that entry
// still holds the colour (so equal colours in one table stay apart), else the first entry
// equal to it, -1 when none is.
int TableIndexFor(const TGIFColorTable& table, TGifColor resolved, int remembered) {
  const TGifColor color = resolved & 0xFFFFFF;
  if (remembered >= 0 && static_cast<std::uint32_t>(remembered) < table.Count() &&
      table.Color(remembered) == color) {
    return remembered;
  }
  return table.IndexOf(color);
}

bool IsLoopIdentifier(const TExtension& ext) {
  const std::size_t n = std::min<std::size_t>(ext.Fixed[0], 11);
  return std::memcmp(ext.Fixed.data() + 1, "NETSCAPE2.0", n) == 0 ||
         std::memcmp(ext.Fixed.data() + 1, "ANIMEXTS1.0", n) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::uint8_t TGifReader::Byte() {
  if (pos_ >= size_) ShortRead();
  return data_[pos_++];
}

void TGifReader::Read(void* buffer, std::size_t count) {
  if (count > Remaining()) ShortRead();
  if (count == 0) return;  // an empty block may have no buffer at all
  std::memcpy(buffer, data_ + pos_, count);
  pos_ += count;
}

void TGifReader::Skip(std::size_t count) { pos_ += std::min(count, Remaining()); }

// ---------------------------------------------------------------------------------------------

TGIFFrameCore::TGIFFrameCore(TGIFImageCore* owner)
    : Item(std::make_shared<TGIFItem>()), owner_(owner) {}

TGIFFrameCore::~TGIFFrameCore() = default;

void TGIFFrameCore::SetTransparentColor(TGifColor color) {
  if (color != transparent_) {
    transparent_ = color;
    transparentIndex_ = -1;
  }
}

void TGIFFrameCore::SetTransparent(TGifColor color, int index) {
  transparent_ = color;
  transparentIndex_ = color == kGifNoColor ? -1 : index;
}

void TGIFFrameCore::SetDelay(std::uint16_t milliseconds) {
  if (milliseconds != delay_) {
    delay_ = milliseconds;
    delayChanged_ = true;
  }
}

TStringList& TGIFFrameCore::CommentLines() {
  for (auto it = Extensions.rbegin(); it != Extensions.rend(); ++it) {
    if ((*it)->ExtensionType == etComment) return (*it)->Data;
  }
  Extensions.push_back(std::make_unique<TExtension>(etComment));
  return Extensions.back()->Data;
}

void TGIFFrameCore::AssignCore(const TGIFFrameCore& source) {
  Item = source.Item;
  Left = source.Left;
  Top = source.Top;
  Interlaced = source.Interlaced;
  Corrupt = source.Corrupt;
  Grayscale = source.Grayscale;
  Disposal = source.Disposal;
  transparent_ = source.transparent_;
  transparentIndex_ = source.transparentIndex_;
  delay_ = source.delay_;
  delayChanged_ = source.delayChanged_;
}

void TGIFFrameCore::LoadFromReader(TGifReader& reader) {
  std::uint8_t descriptor[9];
  reader.Read(descriptor, sizeof descriptor);
  const std::uint8_t packed = descriptor[8];
  auto item = std::make_shared<TGIFItem>();
  item->BitsPerPixel = Item->BitsPerPixel;
  Interlaced = (packed & 0x40) != 0;
  HasLocalColorTable = (packed & 0x80) != 0;
  if (HasLocalColorTable) {
    item->BitsPerPixel = (packed & 7) + 1;
    item->ColorTable = TGIFColorTable(1u << item->BitsPerPixel);
    reader.Read(item->ColorTable.RgbForWriting(), 3 * item->ColorTable.Count());
  }

  // Code size byte and sub-blocks up to the terminator; a sub-block running past the end of
  // the data is left out whole.
  const std::size_t start = reader.Position();
  std::size_t end = start;
  if (reader.AtEnd()) {
    Corrupt = true;
  } else {
    reader.Skip(1);
    end = reader.Position();
    while (!reader.AtEnd()) {
      const std::uint8_t n = reader.Byte();
      if (n == 0) {
        end = reader.Position();
        break;
      }
      if (n > reader.Remaining()) {
        Corrupt = true;
        reader.Skip(reader.Remaining());
        break;
      }
      reader.Skip(n);
      end = reader.Position();
    }
  }
  item->Data.Share(reader.Bytes(), start, end - start);
  if (Corrupt && !LenientDecoding) BadStream();

  std::uint16_t width = Word(descriptor + 4);
  std::uint16_t height = Word(descriptor + 6);
  item->Width = width == 0 ? owner_->ScreenWidth : width;
  item->Height = height == 0 ? owner_->ScreenHeight : height;
  item->Packed = packed;
  Left = Word(descriptor);
  Top = Word(descriptor + 2);
  if (!HasLocalColorTable) {
    item->ColorTable = owner_->Data->ColorTable;  // shared, not copied
    // Without any colour table the pixels are indices of a black table as wide as the codes.
    if (item->ColorTable.Count() == 0 && item->BitsPerPixel == 0 && !item->Data.empty()) {
      item->BitsPerPixel = std::clamp<int>(static_cast<std::uint8_t>(item->Data[0]), 1, 8);
    }
  }
  Item = std::move(item);

  std::uint32_t delay = 0;
  for (const auto& ext : Extensions) {
    if (ext->ExtensionType != etGraphicControl) continue;
    if (ext->Packed() & 1) {
      if (ext->TransparentIndex() < Item->ColorTable.Count()) {
        SetTransparent(Item->ColorTable.Color(ext->TransparentIndex()), ext->TransparentIndex());
      }
    } else {
      SetTransparent(kGifNoColor, -1);
    }
    delay = std::max(std::min<std::uint32_t>(ext->DelayHundredths() * 10u, 65535), delay);
    Disposal = (ext->Packed() & 0x1C) >> 2;
  }
  delay_ = static_cast<std::uint16_t>(delay);
  delayChanged_ = false;
}

TGIFIndexImage TGIFFrameCore::DecodedLayout() const {
  const int bits = Item->BitsPerPixel;
  if (bits < 1 || bits > 8) {
    throw EInvalidGraphicOperation("Wrong number of colors; must be a power of 2");
  }
  TGIFIndexImage image;
  image.Width = Item->Width;
  image.Height = Item->Height;
  image.Depth = bits == 1 ? 1 : bits <= 4 ? 4 : 8;
  image.Palette.assign(1u << image.Depth, 0x808080);
  for (std::uint32_t i = 0; i < (1u << bits); ++i) image.Palette[i] = Item->ColorTable.Color(i);
  CheckGifImageArea(image.Width, image.Height);
  return image;
}

std::uint64_t TGIFFrameCore::DecodeIndicesInto(std::uint8_t* target, std::size_t stride,
                                               const TGifProgress& progress, bool targetZeroed) {
  const std::uint8_t* data = Item->Data.Bytes();
  std::uint64_t reached = 0;
  if (DecodeLzwImage(data, Item->Data.size(), Item->Width, Item->Height, Item->BitsPerPixel,
                     Interlaced, LenientDecoding, progress, target, stride, targetZeroed,
                     &reached)) {
    Corrupt = true;
  }
  return reached;
}

bool TGIFFrameCore::DataMayFill() const {
  return LzwPixelBound(Item->Data.size()) >= std::uint64_t{Item->Width} * Item->Height;
}

TGIFIndexImage TGIFFrameCore::DecodeIndices(const TGifProgress& progress) {
  TGIFIndexImage image = DecodedLayout();
  const std::size_t area = static_cast<std::size_t>(image.Width) * image.Height;
  if (DataMayFill()) {
    // Every pixel is written (those the data leave out as 0): warm memory, not zeroed first.
    image.Pixels.SizeForOverwrite(area);
    DecodeIndicesInto(image.Pixels.data(), image.Width, progress, false);
  } else {
    // Zeroed memory: the pixels the data cannot reach cost nothing.
    image.Pixels.resize(area);
    DecodeIndicesInto(image.Pixels.data(), image.Width, progress, true);
  }
  return image;
}

void TGIFFrameCore::EncodeIndices(const TGIFIndexImage& image, const TGifProgress& progress) {
  if ((image.Depth != 1 && image.Depth != 4 && image.Depth != 8) || image.Width > 65535 ||
      image.Height > 65535 ||
      image.Pixels.size() < static_cast<std::size_t>(image.Width) * image.Height) {
    throw EInvalidGraphicOperation("GIF image encoding error");
  }
  auto item = std::make_shared<TGIFItem>();
  item->ColorTable = TGIFColorTable(1u << image.Depth);
  for (std::uint32_t i = 0; i < item->ColorTable.Count() && i < image.Palette.size(); ++i) {
    item->ColorTable.SetColor(i, image.Palette[i]);
  }
  Interlaced = false;
  std::string encoded;
  EncodeLzwImage(encoded, image.Width, image.Height, image.Depth, false, progress,
                 image.Pixels.data(), image.Width);
  item->Data.Take(std::move(encoded));
  item->BitsPerPixel = GifBitsForCount(item->ColorTable.Count());
  item->Width = static_cast<std::uint16_t>(image.Width);
  item->Height = static_cast<std::uint16_t>(image.Height);
  TGIFData& global = *owner_->Data;
  if (global.ColorTable.Count() == 0) {
    global.ColorTable = item->ColorTable;
    global.BitsPerPixel = item->BitsPerPixel;
    global.ColorResolution = item->BitsPerPixel;
    HasLocalColorTable = false;
  } else {
    HasLocalColorTable = true;
  }
  Item = std::move(item);
  transparentIndex_ = -1;
  owner_->CoverFrame(Left, Top, Item->Width, Item->Height);
}

void TGIFFrameCore::EncodePicture() { throw EInvalidGraphicOperation("No GIF Data to write"); }

void TGIFFrameCore::UpdateGraphicControl() {
  TExtension* control = nullptr;
  for (const auto& ext : Extensions) {
    if (ext->ExtensionType == etGraphicControl) control = ext.get();
  }
  bool created = false;
  if (!control && (delay_ > 0 || transparent_ != kGifNoColor || Disposal != 0)) {
    Extensions.push_back(std::make_unique<TExtension>(etGraphicControl));
    control = Extensions.back().get();
    created = true;
  }
  if (control) {
    auto& fixed = control->Fixed;
    if (created || delayChanged_) {
      fixed[2] = static_cast<std::uint8_t>((delay_ / 10) & 0xFF);
      fixed[3] = static_cast<std::uint8_t>((delay_ / 10) >> 8);
    }
    const int index = transparent_ == kGifNoColor
                          ? -1
                          : TableIndexFor(Item->ColorTable, owner_->ResolveColor(transparent_),
                                          transparentIndex_);
    if (index >= 0) {
      fixed[1] |= 1;
      fixed[4] = static_cast<std::uint8_t>(index);
    } else {
      fixed[1] &= ~1;
    }
    fixed[1] = static_cast<std::uint8_t>((fixed[1] & ~0x1C) | ((Disposal & 7) << 2));
  }
  std::erase_if(Extensions, [](const std::unique_ptr<TExtension>& ext) {
    return ext->ExtensionType == etComment && ext->Data.Count() == 0;
  });
  if (!Extensions.empty()) owner_->Version = TGIFVersion::gv89a;
}

bool TGIFFrameCore::WrittenAsSeeThroughPixel() const {
  return (Item->Width == 0 && owner_->ScreenWidth != 0) ||
         (Item->Height == 0 && owner_->ScreenHeight != 0);
}

void TGIFFrameCore::WriteTo(std::string& out) const {
  if (WrittenAsSeeThroughPixel()) {
    WriteSeeThroughPixel(out);
    return;
  }
  WriteExtensions(out, -1);
  out.push_back(',');
  PutWord(out, static_cast<std::uint32_t>(Left));
  PutWord(out, static_cast<std::uint32_t>(Top));
  PutWord(out, Item->Width);
  PutWord(out, Item->Height);
  const int bits = GifBitsForCount(Item->ColorTable.Count());
  std::uint8_t packed = HasLocalColorTable ? static_cast<std::uint8_t>(0x80 + (bits - 1)) : 0;
  if (Interlaced) packed |= 0x40;
  out.push_back(static_cast<char>(packed));
  if (HasLocalColorTable) PutTable(out, Item->ColorTable, bits);
  AppendTerminated(out, Item->Data.View());
}

void TGIFFrameCore::WriteExtensions(std::string& out, int transparentIndex) const {
  const auto put = [&out](TExtensionType type, const TExtensionBytes& fixed) {
    out.push_back('!');
    out.push_back(static_cast<char>(ExtensionLabel(type)));
    out.append(reinterpret_cast<const char*>(fixed.data()), fixed.size());
  };
  bool control = false;
  for (const auto& ext : Extensions) {
    if (ext->ExtensionType != etGraphicControl) {
      put(ext->ExtensionType, ext->Fixed);
      PutSubBlocks(out, ext->Data);
    } else if (transparentIndex < 0) {
      put(etGraphicControl, ext->Fixed);
    } else {
      TExtensionBytes fixed = ext->Fixed;
      fixed[1] |= 1;
      fixed[4] = static_cast<std::uint8_t>(transparentIndex);
      put(etGraphicControl, fixed);
      control = true;
    }
  }
  if (transparentIndex >= 0 && !control) {
    TExtension ext(etGraphicControl);
    ext.Fixed[1] = static_cast<std::uint8_t>(((Disposal & 7) << 2) | 1);
    ext.Fixed[4] = static_cast<std::uint8_t>(transparentIndex);
    put(etGraphicControl, ext.Fixed);
  }
}

// A size of 0 reads back as the logical screen's: a frame without pixels on a screen that
// is not empty that way would come back as a frame over the whole screen. It is written as
// one pixel at its place, in its own transparent colour (index 0 when it has none), with its
// delay and disposal; without any colour table it brings a black two-colour one.
void TGIFFrameCore::WriteSeeThroughPixel(std::string& out) const {
  int index = -1;
  for (const auto& ext : Extensions) {
    if (ext->ExtensionType == etGraphicControl && (ext->Packed() & 1)) {
      index = ext->TransparentIndex();
    }
  }
  const std::uint32_t colors = std::max<std::uint32_t>(Item->ColorTable.Count(), 2);
  if (index < 0 || static_cast<std::uint32_t>(index) >= colors) index = 0;
  WriteExtensions(out, index);
  out.push_back(',');
  PutWord(out, static_cast<std::uint32_t>(Left));
  PutWord(out, static_cast<std::uint32_t>(Top));
  PutWord(out, 1);
  PutWord(out, 1);
  const int bits = GifBitsForCount(colors);
  const bool local = HasLocalColorTable || Item->ColorTable.Count() == 0;
  out.push_back(local ? static_cast<char>(0x80 + (bits - 1)) : '\0');
  if (local) PutTable(out, Item->ColorTable, bits);
  const std::uint8_t pixel = static_cast<std::uint8_t>(index);
  EncodeLzwImage(out, 1, 1, bits == 1 ? 1 : bits <= 4 ? 4 : 8, false, {}, &pixel, 1);
}

// ---------------------------------------------------------------------------------------------

TGIFImageCore::TGIFImageCore() : Data(std::make_shared<TGIFData>()) {}

TGIFImageCore::~TGIFImageCore() = default;

void TGIFImageCore::SetBackgroundColor(TGifColor color) {
  if (color != background_) {
    background_ = color;
    backgroundIndex_ = -1;
  }
}

void TGIFImageCore::CopyImageFields(const TGIFImageCore& source) {
  Data = source.Data;
  Version = source.Version;
  background_ = source.background_;
  backgroundIndex_ = source.backgroundIndex_;
  RepeatCount = source.RepeatCount;
  Looping = source.Looping;
}

void TGIFImageCore::CoverFrame(int left, int top, int width, int height) {
  // A frame without pixels covers nothing; growing the screen for it would change what a
  // frame of size 0 (the screen's size) reads back as.
  if (width <= 0 || height <= 0) return;
  ScreenWidth =
      static_cast<std::uint16_t>(std::min(65535, std::max<int>(ScreenWidth, left + width)));
  ScreenHeight =
      static_cast<std::uint16_t>(std::min(65535, std::max<int>(ScreenHeight, top + height)));
}

std::unique_ptr<TGIFFrameCore> TGIFImageCore::NewFrame() {
  return std::make_unique<TGIFFrameCore>(this);
}

TGIFFrameCore& TGIFImageCore::AppendFrame() {
  frames_.push_back(NewFrame());
  return *frames_.back();
}

void TGIFImageCore::DeleteFrame(int index) { frames_.erase(frames_.begin() + index); }

void TGIFImageCore::ClearFrames() { frames_.clear(); }

void TGIFImageCore::NewImage() {
  Data = std::make_shared<TGIFData>();
  frames_.clear();
  FrameIndex = -1;
  background_ = kGifNoColor;
  backgroundIndex_ = -1;
  RepeatCount = 1;
  Looping = false;
  Version = TGIFVersion::gvNone;
  ScreenWidth = 0;
  ScreenHeight = 0;
}

TGifProgress TGIFImageCore::ProgressCallback() {
  return [this](TGifProgressStage stage, int percent, const std::string& message) {
    Progress(stage, percent, message);
  };
}

void TGIFImageCore::ReadGifStream(std::int64_t count, TStream& source, bool forcedDecoding) {
  if (count <= 0) {
    ReadGifBytes(std::string(), forcedDecoding);
    return;
  }
  if (count > source.Size() - source.Position()) ShortRead();
  auto bytes = std::make_shared<std::string>(static_cast<std::size_t>(count), '\0');
  source.ReadBuffer(bytes->data(), count);
  ReadGifBytes(std::shared_ptr<const std::string>(std::move(bytes)), forcedDecoding);
}

void TGIFImageCore::ReadExtension(TGifReader& reader,
                                  std::vector<std::unique_ptr<TExtension>>& collected) {
  const std::uint8_t label = reader.Byte();
  TExtensionType type;
  if (!ExtensionTypeOfLabel(label, type)) {
    char text[48];
    std::snprintf(text, sizeof text, "Unrecognized extension block: %.2x", label);
    throw EInvalidGraphicOperation(text);
  }
  auto ext = std::make_unique<TExtension>(type);
  reader.Read(ext->Fixed.data(), ext->Fixed.size());
  if (type == etGraphicControl) {
    collected.push_back(std::move(ext));
    return;
  }
  // Only a comment keeps its sub-blocks; the others are looked at as they pass, so that a
  // long run of tiny sub-blocks costs no string each.
  const bool loop = type == etApplication && IsLoopIdentifier(*ext);
  while (!reader.AtEnd()) {
    const std::size_t n = reader.Byte();
    if (n == 0) break;
    const std::size_t take = std::min(n, reader.Remaining());
    const std::uint8_t* block = reader.Here();
    if (type == etComment) {
      ext->Data.Add(std::string(reinterpret_cast<const char*>(block), take));
    } else if (loop && take >= 3 && block[0] == 1) {
      Looping = true;
      RepeatCount = std::min<std::uint16_t>(30000, Word(block + 1));
    }
    reader.Skip(take);
  }
  if (type == etComment) {
    collected.push_back(std::move(ext));
  } else if (type == etPlainText) {
    collected.clear();
  }
}

void TGIFImageCore::ReadGifBytes(const std::string& bytes, bool forcedDecoding) {
  ReadGifBytes(std::make_shared<const std::string>(bytes), forcedDecoding);
}

void TGIFImageCore::ReadGifBytes(std::shared_ptr<const std::string> bytes, bool forcedDecoding) {
  NewImage();
  if (!bytes->empty()) {
    TGifReader reader(std::move(bytes));
    char signature[6];
    reader.Read(signature, 6);
    if (std::memcmp(signature, "GIF", 3) != 0)
      throw EInvalidGraphicOperation("Unknown GIF version");
    if (std::memcmp(signature + 3, "87a", 3) == 0) {
      Version = TGIFVersion::gv87a;
    } else if (std::memcmp(signature + 3, "89a", 3) == 0) {
      Version = TGIFVersion::gv89a;
    } else {
      throw EInvalidGraphicOperation("Unknown GIF version");
    }
    std::uint8_t screen[7];
    reader.Read(screen, sizeof screen);
    ScreenWidth = Word(screen);
    ScreenHeight = Word(screen + 2);
    const std::uint8_t packed = screen[4];
    Data->BitsPerPixel = (packed & 7) + 1;
    Data->ColorResolution = ((packed & 0x70) >> 4) + 1;
    Data->AspectRatio = screen[6];
    if (packed & 0x80) {
      TGIFColorTable& table = Data->ColorTable;
      table = TGIFColorTable(1u << Data->BitsPerPixel);
      reader.Read(table.RgbForWriting(), 3 * table.Count());
      if (screen[5] < table.Count()) {
        background_ = table.Color(screen[5]);
        backgroundIndex_ = screen[5];
      }
    }

    std::vector<std::unique_ptr<TExtension>> collected;
    std::uint8_t marker = reader.AtEnd() ? ';' : reader.Byte();
    while (marker != 0 && marker != ';' && !reader.AtEnd()) {
      while (marker == '!') {
        ReadExtension(reader, collected);
        marker = reader.AtEnd() ? ';' : reader.Byte();
      }
      if (marker != ',') {
        if (Data->Comment.Count() == 0 && !collected.empty()) {
          for (const auto& ext : collected) {
            if (ext->ExtensionType != etComment) continue;
            if (Data->Comment.Count() > 0) Data->Comment.Add("\r\n\r\n");
            for (const std::string& line : ext->Data.Items()) Data->Comment.Add(line);
          }
          collected.clear();
          continue;
        }
        if (marker != 0 && marker != ';') BadStream();
        continue;
      }
      auto frame = NewFrame();
      if (Data->ColorTable.Count() > 0) frame->Item->BitsPerPixel = Data->BitsPerPixel;
      frame->Extensions = std::move(collected);
      collected.clear();
      frame->LoadFromReader(reader);
      frames_.push_back(std::move(frame));
      if (reader.AtEnd()) {
        marker = ';';
      } else {
        marker = reader.Byte();
        while (marker == 0 && !reader.AtEnd()) marker = reader.Byte();
        if (marker != '!' && marker != ',' && marker != ';') marker = 0;
      }
    }
  }
  if (!frames_.empty()) {
    FrameIndex = 0;
    if (forcedDecoding) DecodeCurrentFrame();
  }
  PaletteModified = true;
  ImageChanged();
}

void TGIFImageCore::WriteGifStream(TStream& target, bool sizePrefix) {
  const std::string bytes = WriteGifBytes();
  if (sizePrefix) target.WriteDWordLE(static_cast<std::uint32_t>(bytes.size()));
  target.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::string TGIFImageCore::WriteGifBytes() {
  if (frames_.empty()) throw EInvalidGraphicOperation("No GIF Data to write");
  for (const auto& frame : frames_) {
    if (!frame->HasEncodedData()) frame->EncodePicture();
  }
  for (const auto& frame : frames_) frame->UpdateGraphicControl();
  if (Data->Comment.Count() > 0) Version = TGIFVersion::gv89a;

  // The logical screen covers every frame and never shrinks below the size it has.
  for (const auto& frame : frames_) {
    CoverFrame(frame->Left, frame->Top, frame->Item->Width, frame->Item->Height);
  }

  // A frame written as a see-through pixel needs a graphic control extension.
  for (const auto& frame : frames_) {
    if (frame->WrittenAsSeeThroughPixel()) Version = TGIFVersion::gv89a;
  }

  std::string out = Version == TGIFVersion::gv89a ? "GIF89a" : "GIF87a";
  // Room for the whole stream at once (colour tables and extensions guessed generously), so
  // the frames' data are copied once.
  std::size_t expected = 1024;
  for (const auto& frame : frames_) expected += frame->Item->Data.size() + 1024;
  out.reserve(expected);
  PutWord(out, ScreenWidth);
  PutWord(out, ScreenHeight);
  const TGIFColorTable& table = Data->ColorTable;
  if (table.Count() > 0) {
    const int bits = GifBitsForCount(table.Count());
    const int pixelBits = std::clamp(Data->BitsPerPixel, 1, 8);
    out.push_back(static_cast<char>(0x80 + ((bits - 1) << 4) + (pixelBits - 1)));
    const int index =
        background_ == kGifNoColor
            ? 0
            : std::max(0, TableIndexFor(table, ResolveColor(background_), backgroundIndex_));
    out.push_back(static_cast<char>(index));
    out.push_back(static_cast<char>(Data->AspectRatio));
    PutTable(out, table, bits);
  } else {
    out.push_back('\0');
    out.push_back('\0');
    out.push_back(static_cast<char>(Data->AspectRatio));
  }
  if (Looping && frames_.size() > 1) {
    out += "!\xFF\x0BNETSCAPE2.0\x03\x01";
    PutWord(out, RepeatCount);
    out.push_back('\0');
  }
  for (const auto& frame : frames_) frame->WriteTo(out);
  if (Data->Comment.Count() > 0) {
    out += "!\xFE";
    PutSubBlocks(out, Data->Comment);
  }
  out.push_back(';');
  return out;
}
