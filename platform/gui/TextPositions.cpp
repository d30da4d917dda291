// Byte positions and line breaks between the system's GBK texts and the toolkit's strings.
#include "platform/gui/TextPositions.h"

#include <algorithm>

#include "platform/GbkText.h"
#include "platform/gui/QtPeer.h"

namespace zgui {

int ByteOffsetOf(const QString& text, int index) {
  if (index <= 0) return 0;
  return static_cast<int>(FromQ(text.left(index)).size());
}

int IndexOfByteOffset(const QString& text, int offset) {
  if (offset <= 0) return 0;
  int bytes = 0;
  for (int i = 0; i < text.size();) {
    const int len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const int charBytes = static_cast<int>(FromQ(text.mid(i, len)).size());
    if (bytes + charBytes > offset) return i;
    bytes += charBytes;
    i += len;
  }
  return static_cast<int>(text.size());
}

QString LeftBytes(const QString& text, int maxBytes) {
  return text.left(IndexOfByteOffset(text, maxBytes));
}

int IndexAfterBytes(const QString& text, int from, int bytes) {
  int index = std::max(from, 0);
  int used = 0;
  while (index < text.size()) {
    // A character beyond the BMP is a surrogate pair, four bytes: never stop between its halves.
    const int units = text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    const int len =
        text.at(index) == '\n' ? 2 : static_cast<int>(FromQ(text.mid(index, units)).size());
    if (used + len > bytes) break;
    used += len;
    index += units;
  }
  return index;
}

namespace {

// Long texts (books) convert through the table GBK to UTF-16 makes once for them; a short one
// goes straight through the converter, so a program that shows only short texts never makes
// the table.
constexpr size_t kLongText = 64 * 1024;

// CR LF and lone CRs become '\n'.
QString WithToolkitBreaks(const char16_t* units, size_t count) {
  QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
  QChar* out = text.data();
  for (size_t i = 0; i < count; ++i) {
    if (units[i] == u'\r') {
      *out++ = u'\n';
      if (i + 1 < count && units[i + 1] == u'\n') ++i;
    } else {
      *out++ = QChar(units[i]);
    }
  }
  text.truncate(out - text.data());
  return text;
}

}  // namespace

QString ToToolkitLines(std::string_view gbk) {
  if (gbk.size() < kLongText) {
    const QString text = ToQ(std::string(gbk));
    return WithToolkitBreaks(reinterpret_cast<const char16_t*>(text.utf16()),
                             static_cast<size_t>(text.size()));
  }
  std::u16string wide;
  AppendGbkAsUtf16(gbk, wide);
  return WithToolkitBreaks(wide.data(), wide.size());
}

std::string FromToolkitLines(const QString& text) {
  QString copy = text;
  // Paragraph ends of a selection, and the breaks between lines a long text keeps in one
  // paragraph (TMemoText).
  copy.replace(QChar::ParagraphSeparator, QChar('\n'));
  copy.replace(QChar::LineSeparator, QChar('\n'));
  const std::string gbk = FromQ(copy);
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 16);
  for (char c : gbk) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace zgui
