// The picture base, the BMP picture and the extension registry.
#include "platform/gui/Picture.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/Classes.h"
#include "platform/Exceptions.h"

TGraphic::~TGraphic() = default;

void TGraphic::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Changed();
}

void TGraphic::LoadFromFile(const std::string& path) {
  TFileStream stream(path, fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& path) {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(path);
}

void TBitmapGraphic::Draw(TCanvas& canvas, const TRect& rect) {
  if (!bitmap_.Empty()) canvas.StretchDraw(rect, bitmap_);
}

void TBitmapGraphic::SetTransparent(bool on) {
  if (on == bitmap_.Transparent()) return;
  bitmap_.SetTransparent(on);
  Changed();
}

void TBitmapGraphic::LoadFromStream(TStream& stream) {
  bitmap_.LoadFromStream(stream);
  Changed();
}

namespace {

struct Kind {
  std::string Description;
  TGraphicFactory Create;
};

struct Registry {
  std::mutex mutex;
  std::map<std::string, Kind> kinds;
  Registry() {
    kinds["bmp"] = {"Bitmaps", [] { return std::make_unique<TBitmapGraphic>(); }};
  }
};

Registry& Kinds() {
  static Registry registry;
  return registry;
}

std::string Normalized(std::string extension) {
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; });
  return extension;
}

std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return Normalized(path.substr(dot + 1));
}

}  // namespace

void RegisterFileFormat(const std::string& extension, const std::string& description,
                        TGraphicFactory create) {
  Registry& r = Kinds();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.kinds[Normalized(extension)] = {description, std::move(create)};
}

void UnregisterFileFormat(const std::string& extension) {
  Registry& r = Kinds();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.kinds.erase(Normalized(extension));
}

std::vector<TGraphicFileFormat> GraphicFileFormats() {
  Registry& r = Kinds();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::vector<TGraphicFileFormat> formats;
  for (const auto& [extension, kind] : r.kinds) formats.push_back({extension, kind.Description});
  return formats;
}

std::unique_ptr<TGraphic> NewGraphicForFile(const std::string& path) {
  TGraphicFactory create;
  {
    Registry& r = Kinds();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.kinds.find(ExtensionOf(path));
    if (it == r.kinds.end()) return nullptr;
    create = it->second.Create;
  }
  return create();
}

std::unique_ptr<TGraphic> LoadGraphicFromFile(const std::string& path) {
  std::unique_ptr<TGraphic> graphic = NewGraphicForFile(path);
  if (!graphic)
    throw EInvalidGraphic("无法识别图片文件「" + path + "」的扩展名（." + ExtensionOf(path) + "）");
  graphic->LoadFromFile(path);
  return graphic;
}
