// The clipboard: GBK text, and formats registered by name carrying bytes.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <map>
#include <memory>
#include <mutex>

#include "platform/gui/Clipbrd.h"
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

void Put(unsigned format, const QByteArray& bytes, const QString* text) {
  QClipboard* clipboard = System();
  if (!clipboard) return;
  const QString mime = MimeOf(format);
  if (mime.isEmpty()) return;
  auto& pending = Pending();
  if (pending) {
    if (text)
      pending->setText(*text);
    else
      pending->setData(mime, bytes);
    return;
  }
  auto* data = new QMimeData();
  if (text)
    data->setText(*text);
  else
    data->setData(mime, bytes);
  clipboard->setMimeData(data);
}

}  // namespace

std::string TClipboard::AsText() const {
  QClipboard* clipboard = System();
  return clipboard ? FromQ(clipboard->text()) : std::string();
}

void TClipboard::SetAsText(const std::string& text) {
  const QString q = ToQ(text);
  Put(CF_TEXT, QByteArray(), &q);
}

bool TClipboard::HasFormat(unsigned format) const {
  QClipboard* clipboard = System();
  if (!clipboard || !clipboard->mimeData()) return false;
  if (format == CF_TEXT) return clipboard->mimeData()->hasText();
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
  Put(format, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), nullptr);
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
