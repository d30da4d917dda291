// GBK text helpers. Every search walks character boundaries from the start of the text, because
// a trail byte may look like an ASCII character ('|', '\\', letters) and must never match one.
#include "platform/GbkText.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

namespace {

bool IsGbkTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Byte offset (zero-based) of the first character boundary at or after `from`.
size_t BoundaryAtOrAfter(const std::string& text, size_t from) {
  size_t at = 0;
  while (at < from && at < text.size()) at += static_cast<size_t>(GbkCharLength(text, at));
  return at;
}

size_t FindFrom(const std::string& needle, const std::string& text, size_t at) {
  if (needle.empty()) return std::string::npos;
  at = BoundaryAtOrAfter(text, at);
  while (at + needle.size() <= text.size()) {
    if (text.compare(at, needle.size(), needle) == 0) return at;
    at += static_cast<size_t>(GbkCharLength(text, at));
  }
  return std::string::npos;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Applies `map` to single-byte characters only; wider characters pass whole, so a trail
// byte that happens to be a letter keeps its value.
template <typename Map>
std::string MapSingleBytes(const std::string& text, Map map) {
  std::string out = text;
  for (size_t at = 0; at < out.size();) {
    int length = GbkCharLength(out, at);
    if (length == 1) out[at] = map(out[at]);
    at += static_cast<size_t>(length);
  }
  return out;
}

}  // namespace

bool IsGb18030FourByteAt(std::string_view text, size_t at) {
  auto digit = [&](size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  auto lead = [&](size_t i) { return IsGbkLeadByte(static_cast<unsigned char>(text[i])); };
  return at + 3 < text.size() && lead(at) && digit(at + 1) && lead(at + 2) && digit(at + 3);
}

int GbkCharLength(std::string_view text, size_t at) {
  if (IsGb18030FourByteAt(text, at)) return 4;
  if (at + 1 < text.size() && IsGbkLeadByte(static_cast<unsigned char>(text[at])) &&
      IsGbkTrailByte(static_cast<unsigned char>(text[at + 1])))
    return 2;
  return 1;
}

int CharCount(const std::string& text) {
  int count = 0;
  for (size_t at = 0; at < text.size(); at += static_cast<size_t>(GbkCharLength(text, at))) ++count;
  return count;
}

int BytePosOf(const std::string& needle, const std::string& text) {
  return BytePosOfFrom(needle, text, 1);
}

int BytePosOfFrom(const std::string& needle, const std::string& text, int from) {
  size_t start = from < 1 ? 0 : static_cast<size_t>(from - 1);
  size_t found = FindFrom(needle, text, start);
  return found == std::string::npos ? 0 : static_cast<int>(found) + 1;
}

bool CharContains(const std::string& text, const std::string& needle) {
  return BytePosOf(needle, text) != 0;
}

int BytePos(char ch, const std::string& text) { return BytePosOf(std::string(1, ch), text); }

std::string LeftChars(const std::string& text, int count) {
  size_t at = 0;
  for (int i = 0; i < count && at < text.size(); ++i)
    at += static_cast<size_t>(GbkCharLength(text, at));
  return text.substr(0, at);
}

std::string RightChars(const std::string& text, int count) {
  if (count <= 0) return std::string();
  int total = CharCount(text);
  if (count >= total) return text;
  size_t at = 0;
  for (int i = 0; i < total - count; ++i) at += static_cast<size_t>(GbkCharLength(text, at));
  return text.substr(at);
}

std::string ByteCopy(const std::string& text, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || static_cast<size_t>(index) > text.size()) return std::string();
  return text.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

std::vector<std::string> SplitChars(const std::string& text) {
  std::vector<std::string> chars;
  for (size_t at = 0; at < text.size();) {
    size_t length = static_cast<size_t>(GbkCharLength(text, at));
    chars.push_back(text.substr(at, length));
    at += length;
  }
  return chars;
}

std::string CharReplaceAll(const std::string& text, const std::string& from,
                           const std::string& to) {
  if (from.empty()) return text;
  std::string out;
  size_t at = 0;
  for (;;) {
    size_t found = FindFrom(from, text, at);
    if (found == std::string::npos) break;
    out.append(text, at, found - at);
    out += to;
    at = found + from.size();
  }
  out.append(text, at, std::string::npos);
  return out;
}

std::string OnOneLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const auto length = static_cast<size_t>(GbkCharLength(text, at));
    const auto byte = static_cast<unsigned char>(text[at]);
    if (length == 1 && (byte < 0x20 || byte == 0x7F)) {
      out += ' ';
      if (byte == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    } else {
      out.append(text, at, length);
    }
    at += length;
  }
  return out;
}

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

std::string UpperCase(const std::string& text) { return MapSingleBytes(text, AsciiUpper); }
std::string LowerCase(const std::string& text) { return MapSingleBytes(text, AsciiLower); }

// Compared in place: component lookups by name call this for every sibling.
bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t at = 0; at < a.size();) {
    const int length = GbkCharLength(a, at);
    // Where one text holds a wider character than the other, the bytes differ.
    if (length != GbkCharLength(b, at)) return false;
    const auto bytes = static_cast<size_t>(length);
    if (length == 1 ? AsciiLower(a[at]) != AsciiLower(b[at])
                    : a.compare(at, bytes, b, at, bytes) != 0)
      return false;
    at += static_cast<size_t>(length);
  }
  return true;
}

namespace {

// One conversion descriptor per thread and direction: iconv_t keeps shift state and must not be
// shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // With `failedAt`, the first sequence that does not convert stops the run: its offset in the
  // input is stored there and the result is empty.
  std::string Run(const std::string& input, const std::string& replacement,
                  std::size_t* failedAt = nullptr) {
    std::string out;
    if (input.empty()) return out;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      if (failedAt) *failedAt = 0;
      return failedAt ? std::string() : input;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[1024];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (rc == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (failedAt) {
          *failedAt = input.size() - inLeft;
          return std::string();
        }
        // Invalid or cut-off sequence: replace one byte and carry on.
        out += replacement;
        ++in;
        --inLeft;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return out;
  }

 private:
  iconv_t cd_;
};

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string GbkToUtf8(const std::string& gbk) {
  if (IsAscii(gbk)) return gbk;
  thread_local Converter converter("UTF-8", "GB18030");
  return converter.Run(gbk, "\xEF\xBF\xBD");
}

std::string Utf8ToGbk(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  thread_local Converter converter("GB18030", "UTF-8");
  return converter.Run(utf8, "?");
}

namespace {

// GB18030 to UTF-16 through the converter GbkToUtf8 uses, one step at a time.
class Utf16Converter {
 public:
  Utf16Converter() : cd_(iconv_open("UTF-16LE", "GB18030")) {}
  ~Utf16Converter() {
    if (Usable()) iconv_close(cd_);
  }
  Utf16Converter(const Utf16Converter&) = delete;
  Utf16Converter& operator=(const Utf16Converter&) = delete;
  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts what it can of `bytes` from `at` into at most four UTF-16 units of `out`; returns
  // how many bytes it took (0: the bytes at `at` are no character, or one cut off).
  size_t Step(std::string_view bytes, size_t at, std::u16string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data() + at);
    size_t inLeft = bytes.size() - at;
    char buffer[8];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
    for (char* unit = buffer; unit + 1 < outPtr; unit += 2)
      out += static_cast<char16_t>(static_cast<unsigned char>(unit[0]) |
                                   static_cast<unsigned char>(unit[1]) << 8);
    return bytes.size() - at - inLeft;
  }

 private:
  iconv_t cd_;
};

constexpr unsigned kTrails = 0xFF - 0x40;  // trail bytes 0x40..0xFE

// Every two-byte code (lead 0x81..0xFE, trail 0x40..0xFE) as the converter reads it alone; 0
// where it reads no character of one UTF-16 unit there.
const std::array<char16_t, 126 * kTrails>& DoubleByteTable() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<char16_t, 126 * kTrails>>();
    t->fill(0);
    Utf16Converter converter;
    std::u16string unit;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        unit.clear();
        if (converter.Usable() && converter.Step(std::string_view(pair, 2), 0, unit) == 2 &&
            unit.size() == 1)
          (*t)[(lead - 0x81) * kTrails + (trail - 0x40)] = unit[0];
      }
    return t;
  }();
  return *table;
}

}  // namespace

// GB18030 carries no state from one character to the next, so a character reads the same alone
// and within a text: where the table has a code, the converter would have read it so too.
// Everything else (four-byte characters, bytes that are no character) goes to the converter,
// and a byte it cannot read becomes U+FFFD, as in GbkToUtf8.
void AppendGbkAsUtf16(std::string_view gbk, std::u16string& out) {
  const auto& table = DoubleByteTable();
  thread_local Utf16Converter converter;
  out.reserve(out.size() + gbk.size());
  for (size_t at = 0; at < gbk.size();) {
    const auto c = static_cast<unsigned char>(gbk[at]);
    if (c < 0x80) {
      out += static_cast<char16_t>(c);
      ++at;
      continue;
    }
    if (c >= 0x81 && c <= 0xFE && at + 1 < gbk.size()) {
      const auto trail = static_cast<unsigned char>(gbk[at + 1]);
      const char16_t unit =
          trail >= 0x40 && trail <= 0xFE ? table[(c - 0x81) * kTrails + (trail - 0x40)] : 0;
      if (unit) {
        out += unit;
        at += 2;
        continue;
      }
    }
    const size_t taken = converter.Usable() ? converter.Step(gbk, at, out) : 0;
    if (taken == 0) {
      out += u'\uFFFD';
      ++at;
    }
    at += taken;
  }
}

bool IsUtf8(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(text[i]);
    int more;
    std::uint32_t code;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (n - i <= static_cast<std::size_t>(more)) return false;
    for (int k = 1; k <= more; ++k) {
      const auto t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      code = code << 6 | (t & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((more == 2 && code < 0x800) || (more == 3 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += more + 1;
  }
  return true;
}

bool Utf8ToGbkExactly(const std::string& utf8, std::string& gbk, std::size_t& failedAt) {
  thread_local Converter converter("GBK", "UTF-8");
  std::size_t failed = std::string::npos;
  gbk = converter.Run(utf8, "", &failed);
  failedAt = failed;
  return failed == std::string::npos;
}
