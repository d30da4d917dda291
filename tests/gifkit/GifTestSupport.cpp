#include "GifTestSupport.h"

#include <gif_lib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "gifkit/GifStream.h"

std::string PackCodes(int codeSize, const std::vector<std::pair<int, int>>& codesAndWidths,
                      bool terminate) {
  std::string bytes;
  std::uint64_t acc = 0;
  int bits = 0;
  for (auto [code, width] : codesAndWidths) {
    acc |= static_cast<std::uint64_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      bytes.push_back(static_cast<char>(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) bytes.push_back(static_cast<char>(acc & 0xFF));
  std::string out(1, static_cast<char>(codeSize));
  for (std::size_t at = 0; at < bytes.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, bytes.size() - at);
    out.push_back(static_cast<char>(n));
    out.append(bytes, at, n);
  }
  if (terminate) out.push_back('\0');
  return out;
}

static void Word(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

std::string GifHeader(const char* version, int width, int height, int bits) {
  std::string out = std::string("GIF") + version;
  Word(out, width);
  Word(out, height);
  if (bits == 0) {
    out += std::string("\0\0\0", 3);
    return out;
  }
  out.push_back(static_cast<char>(0x80 | ((bits - 1) << 4) | (bits - 1)));
  out.push_back('\0');
  out.push_back('\0');
  const int n = 1 << bits;
  for (int i = 0; i < n; ++i) {
    const int v = n == 1 ? 0 : i * 255 / (n - 1);
    out.append(3, static_cast<char>(v));
  }
  return out;
}

std::string FrameBlock(int left, int top, int width, int height, const std::string& encoded,
                       std::uint8_t packed, const std::string& localTable) {
  std::string out(1, ',');
  Word(out, left);
  Word(out, top);
  Word(out, width);
  Word(out, height);
  out.push_back(static_cast<char>(packed));
  out += localTable;
  out += encoded;
  return out;
}

std::string GraphicControl(std::uint8_t packed, int delayHundredths, int transparentIndex) {
  std::string out = "!\xF9\x04";
  out.push_back(static_cast<char>(packed));
  Word(out, delayHundredths);
  out.push_back(static_cast<char>(transparentIndex));
  out.push_back('\0');
  return out;
}

namespace {
std::string ErrorText(int code) {
  const char* text = GifErrorString(code);
  return text ? text : "giflib error " + std::to_string(code);
}
struct MemorySource {
  const std::string* bytes;
  std::size_t at;
};
int ReadMemory(GifFileType* gif, GifByteType* buffer, int count) {
  auto* src = static_cast<MemorySource*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(count, src->bytes->size() - src->at);
  std::memcpy(buffer, src->bytes->data() + src->at, n);
  src->at += n;
  return static_cast<int>(n);
}
std::vector<std::uint32_t> Colors(const ColorMapObject* map) {
  std::vector<std::uint32_t> colors;
  if (!map) return colors;
  for (int i = 0; i < map->ColorCount; ++i) {
    const GifColorType& c = map->Colors[i];
    colors.push_back(c.Red | (c.Green << 8) | (c.Blue << 16));
  }
  return colors;
}
}  // namespace

ReferenceGif DecodeWithGiflib(const std::string& bytes) {
  ReferenceGif result;
  MemorySource source{&bytes, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, ReadMemory, &error);
  if (!gif) {
    result.Error = ErrorText(error);
    return result;
  }
  if (DGifSlurp(gif) != GIF_OK) {
    result.Error = ErrorText(gif->Error);
    DGifCloseFile(gif, &error);
    return result;
  }
  result.ScreenWidth = gif->SWidth;
  result.ScreenHeight = gif->SHeight;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    ReferenceFrame frame;
    frame.Left = image.ImageDesc.Left;
    frame.Top = image.ImageDesc.Top;
    frame.Width = image.ImageDesc.Width;
    frame.Height = image.ImageDesc.Height;
    frame.Interlaced = image.ImageDesc.Interlace;
    frame.Pixels.assign(image.RasterBits,
                        image.RasterBits + static_cast<std::size_t>(frame.Width) * frame.Height);
    frame.Colors = Colors(image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap);
    GraphicsControlBlock gcb;
    if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
      frame.DelayHundredths = gcb.DelayTime;
      frame.TransparentIndex = gcb.TransparentColor;
      frame.Disposal = gcb.DisposalMode;
    }
    result.Frames.push_back(std::move(frame));
  }
  result.Ok = true;
  DGifCloseFile(gif, &error);
  return result;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string MakeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "gifkit-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

LzwWidthRule::LzwWidthRule(int codeSize)
    : codeSize_(codeSize), clear_(1 << codeSize), width_(codeSize + 1), freeCode_(clear_ + 2) {}

void LzwWidthRule::Take(int code) {
  if (code == clear_) {
    width_ = codeSize_ + 1;
    freeCode_ = clear_ + 2;
    previous_ = false;
    return;
  }
  if (code == clear_ + 1) return;
  if (previous_ && freeCode_ < 4096) {
    ++freeCode_;
    if (freeCode_ == (1 << width_) && width_ < 12) ++width_;
  }
  previous_ = true;
}

std::vector<std::pair<int, int>> WithWidths(int codeSize, const std::vector<int>& codes) {
  LzwWidthRule rule(codeSize);
  std::vector<std::pair<int, int>> out;
  for (int code : codes) {
    out.emplace_back(code, rule.Width());
    rule.Take(code);
  }
  return out;
}

std::string MakeAnimation(int width, int height, const std::vector<std::uint32_t>& palette,
                          const std::vector<AnimationFrame>& frames) {
  TGIFImageCore image;
  image.Version = TGIFVersion::gv89a;
  image.ScreenWidth = static_cast<std::uint16_t>(width);
  image.ScreenHeight = static_cast<std::uint16_t>(height);
  std::vector<std::uint32_t> colours = palette;
  colours.resize(256, 0);
  for (const AnimationFrame& spec : frames) {
    TGIFFrameCore& frame = image.AppendFrame();
    frame.EncodeIndices(TGIFIndexImage{static_cast<std::uint32_t>(spec.Width),
                                       static_cast<std::uint32_t>(spec.Height), 8, colours,
                                       TGifIndices(spec.Pixels.begin(), spec.Pixels.end())});
    frame.HasLocalColorTable = true;
    frame.Left = spec.Left;
    frame.Top = spec.Top;
    frame.Disposal = static_cast<std::uint8_t>(spec.Disposal);
    if (spec.Transparent >= 0) frame.SetTransparent(colours[spec.Transparent], spec.Transparent);
    frame.SetDelay(static_cast<std::uint16_t>(spec.DelayMs));
  }
  return image.WriteGifBytes();
}

AnimationFrame SolidFrame(int left, int top, int width, int height, std::uint8_t index,
                          int disposal, int transparent) {
  AnimationFrame frame{left, top, width, height, disposal, transparent, 100, {}};
  frame.Pixels.assign(static_cast<std::size_t>(width) * height, index);
  return frame;
}
