// The clipboard: GBK text, a bitmap, and formats registered by name carrying bytes.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {

constexpr unsigned kFirstCustomFormat = 0xC000;

struct Registry {
  std::mutex mutex;
  std::map<unsigned, std::string> names;
};

Registry& Formats() {
  static Registry registry;
  return registry;
}

QString MimeOf(unsigned format) {
  if (format == CF_TEXT) return QStringLiteral("text/plain");
  Registry& r = Formats();
  std::lock_guard<std::mutex> lock(r.mutex);
  const auto it = r.names.find(format);
  if (it == r.names.end()) return QString();
  return QStringLiteral("application/x-zelkar-format;name=\"") + ToQ(it->second) + "\"";
}

QClipboard* System() {
  return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

// The entry being put together between Open and Close.
std::unique_ptr<QMimeData>& Pending() {
  static std::unique_ptr<QMimeData> pending;
  return pending;
}

// Adds to the entry being put together, or replaces the clipboard by an entry of its own.
void Put(const std::function<void(QMimeData&)>& fill) {
  QClipboard* clipboard = System();
  if (!clipboard) return;
  if (auto& pending = Pending()) {
    fill(*pending);
    return;
  }
  auto* data = new QMimeData();
  fill(*data);
  clipboard->setMimeData(data);
}

}  // namespace

std::string TClipboard::AsText() const {
  QClipboard* clipboard = System();
  return clipboard ? FromQ(clipboard->text()) : std::string();
}

void TClipboard::SetAsText(const std::string& text) {
  const QString q = ToQ(text);
  Put([&](QMimeData& data) { data.setText(q); });
}

bool TClipboard::HasFormat(unsigned format) const {
  QClipboard* clipboard = System();
  if (!clipboard || !clipboard->mimeData()) return false;
  if (format == CF_TEXT) return clipboard->mimeData()->hasText();
  if (format == CF_BITMAP) return clipboard->mimeData()->hasImage();
  const QString mime = MimeOf(format);
  return !mime.isEmpty() && clipboard->mimeData()->hasFormat(mime);
}

unsigned TClipboard::RegisterFormat(const std::string& name) {
  Registry& r = Formats();
  std::lock_guard<std::mutex> lock(r.mutex);
  for (const auto& [id, n] : r.names)
    if (n == name) return id;
  const unsigned id = kFirstCustomFormat + static_cast<unsigned>(r.names.size());
  r.names[id] = name;
  return id;
}

std::string TClipboard::FormatName(unsigned format) const {
  Registry& r = Formats();
  std::lock_guard<std::mutex> lock(r.mutex);
  const auto it = r.names.find(format);
  return it == r.names.end() ? std::string() : it->second;
}

std::string TClipboard::GetData(unsigned format) const {
  if (format == CF_TEXT) return AsText();
  QClipboard* clipboard = System();
  const QString mime = MimeOf(format);
  if (!clipboard || mime.isEmpty() || !clipboard->mimeData()) return std::string();
  const QByteArray bytes = clipboard->mimeData()->data(mime);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void TClipboard::SetData(unsigned format, const std::string& bytes) {
  if (format == CF_TEXT) {
    SetAsText(bytes);
    return;
  }
  const QString mime = MimeOf(format);
  if (mime.isEmpty()) return;
  const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  Put([&](QMimeData& entry) { entry.setData(mime, data); });
}

void TClipboard::Assign(const TBitmap& bitmap) {
  QImage image = bitmap.Empty() ? QImage() : bitmap.Image();
  if (!image.isNull() && bitmap.Transparent() && bitmap.TransparentColor() != clNone) {
    // The transparent colour travels as see-through pixels that keep their colour.
    image = image.convertToFormat(QImage::Format_ARGB32);
    const TColor key = ColorToRGB(bitmap.TransparentColor());
    const QRgb rgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if ((row[x] & 0xFFFFFF) == rgb) row[x] = rgb;
    }
  }
  Put([&](QMimeData& entry) {
    if (!image.isNull()) entry.setImageData(image);
  });
}

bool TClipboard::AssignTo(TBitmap& bitmap) const {
  QClipboard* clipboard = System();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data || !data->hasImage()) return false;
  QImage image = qvariant_cast<QImage>(data->imageData());
  if (image.isNull()) return false;
  // See-through pixels come back as a transparent colour: the colour of the first of them.
  std::optional<QRgb> key;
  if (image.hasAlphaChannel()) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        if (qAlpha(row[x]) >= 128) continue;
        if (!key) key = row[x] & 0xFFFFFF;
        row[x] = 0xFF000000u | *key;
      }
    }
    image = image.convertToFormat(QImage::Format_RGB32);
  }
  bitmap.SetImage(image);
  if (key) {
    bitmap.SetTransparentColor(
        static_cast<TColor>(qRed(*key) | (qGreen(*key) << 8) | (qBlue(*key) << 16)));
    bitmap.SetTransparent(true);
  }
  return true;
}

void TClipboard::Clear() {
  if (auto& pending = Pending()) {
    pending = std::make_unique<QMimeData>();
    return;
  }
  if (QClipboard* clipboard = System()) clipboard->clear();
}

void TClipboard::Open() {
  if (openCount_++ == 0) Pending() = std::make_unique<QMimeData>();
}

void TClipboard::Close() {
  if (openCount_ == 0) return;
  if (--openCount_ > 0) return;
  std::unique_ptr<QMimeData> data = std::move(Pending());
  if (QClipboard* clipboard = System(); clipboard && data) clipboard->setMimeData(data.release());
}

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

unsigned RegisterClipboardFormat(const std::string& name) {
  return Clipboard()->RegisterFormat(name);
}
