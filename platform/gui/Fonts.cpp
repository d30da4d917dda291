// Fonts: values with change notice, sizes at 96 pixels per inch, and the installed faces that
// stand in for the old desktop's font names.
#include <QFont>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "platform/GbkText.h"
#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

namespace {

constexpr int kPixelsPerInch = 96;
// Larger requests are drawn at this size; the callers that ask for more only measure.
constexpr int kMaxPixelSize = 4000;

// a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  const long long q = product >= 0 ? (product + half) / c : (product - half) / c;
  return static_cast<int>(std::clamp<long long>(q, -1000000000LL, 1000000000LL));
}

constexpr const char* kCjkFace = "WenQuanYi Micro Hei";

struct Substitute {
  const char* name;  // lower case
  const char* face;
  bool bold;
};

constexpr Substitute kSubstitutes[] = {
    {"simsun", kCjkFace, false},
    {"nsimsun", kCjkFace, false},
    {"simhei", kCjkFace, false},
    {"kaiti", kCjkFace, false},
    {"kaiti_gb2312", kCjkFace, false},
    {"fangsong", kCjkFace, false},
    {"fangsong_gb2312", kCjkFace, false},
    {"microsoft yahei", kCjkFace, false},
    {"mingliu", kCjkFace, false},
    {"pmingliu", kCjkFace, false},
    {"youyuan", kCjkFace, false},
    {"lisu", kCjkFace, false},
    {"arial black", "DejaVu Sans", true},
    {"times new roman", "Liberation Serif", false},
    {"times", "Liberation Serif", false},
    {"arial", "Liberation Sans", false},
    {"tahoma", "DejaVu Sans", false},
    {"ms sans serif", "DejaVu Sans", false},
    {"microsoft sans serif", "DejaVu Sans", false},
    {"ms shell dlg", "DejaVu Sans", false},
    {"ms shell dlg 2", "DejaVu Sans", false},
    {"verdana", "DejaVu Sans", false},
    {"segoe ui", "DejaVu Sans", false},
    {"system", "DejaVu Sans", false},
    {"courier new", "Liberation Mono", false},
    {"courier", "Liberation Mono", false},
    {"fixedsys", "Liberation Mono", false},
    {"lucida console", "Liberation Mono", false},
};

const Substitute* FindSubstitute(const std::string& gbkName) {
  const std::string lower = LowerCase(Trim(gbkName));
  for (const Substitute& s : kSubstitutes) {
    if (lower == s.name) return &s;
  }
  return nullptr;
}

bool HasNonAscii(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Em size per pixel of cell height, per face, measured once: a positive Height asks for the
// cell (ascent + descent), QFont wants the em size.
double EmPerCellPixel(const QFont& probe) {
  static std::mutex mutex;
  static std::unordered_map<std::string, double> cache;
  const std::string key =
      probe.family().toStdString() + (probe.bold() ? "/b" : "") + (probe.italic() ? "/i" : "");
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  QFont f(probe);
  f.setPixelSize(100);
  const double cell = QFontMetricsF(f).height();
  const double ratio = cell > 0 ? 100.0 / cell : 1.0;
  cache.emplace(key, ratio);
  return ratio;
}

}  // namespace

std::string SubstituteFontFamily(const std::string& gbkName) {
  if (Trim(gbkName).empty()) return "DejaVu Sans";
  if (HasNonAscii(gbkName)) return kCjkFace;
  if (const Substitute* s = FindSubstitute(gbkName)) return s->face;
  return GbkToUtf8(gbkName);
}

bool SubstituteFontForcesBold(const std::string& gbkName) {
  const Substitute* s = FindSubstitute(gbkName);
  return s != nullptr && s->bold;
}

QFont ToQFont(const TFont& font) {
  QFont q(QString::fromStdString(SubstituteFontFamily(font.Name())));
  q.setBold((font.Style() & fsBold) != 0 || SubstituteFontForcesBold(font.Name()));
  q.setItalic((font.Style() & fsItalic) != 0);
  q.setUnderline((font.Style() & fsUnderline) != 0);
  q.setStrikeOut((font.Style() & fsStrikeOut) != 0);
  int pixels;
  if (font.Height() < 0) {
    pixels = font.Height() == std::numeric_limits<int>::min() ? kMaxPixelSize : -font.Height();
  } else if (font.Height() > 0) {
    pixels = static_cast<int>(std::lround(font.Height() * EmPerCellPixel(q)));
  } else {
    pixels = MulDiv(8, kPixelsPerInch, 72);
  }
  q.setPixelSize(std::clamp(pixels, 1, kMaxPixelSize));
  return q;
}

// ---------------------------------------------------------------------------------------------

TFont::TFont()
    : name_("MS Sans Serif"), height_(-MulDiv(8, kPixelsPerInch, 72)), color_(clWindowText) {}

TFont::TFont(const TFont& other)
    : name_(other.name_),
      height_(other.height_),
      color_(other.color_),
      style_(other.style_),
      charset_(other.charset_),
      orientation_(other.orientation_) {}

TFont& TFont::operator=(const TFont& other) {
  Assign(other);
  return *this;
}

void TFont::Changed() {
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, kPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, kPixelsPerInch, 72)); }

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetCharset(TFontCharset charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetOrientation(int tenths) {
  if (tenths == orientation_) return;
  orientation_ = tenths;
  Changed();
}

bool TFont::SameAs(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && color_ == other.color_ &&
         style_ == other.style_ && charset_ == other.charset_ && orientation_ == other.orientation_;
}

void TFont::Assign(const TFont& other) {
  if (this == &other || SameAs(other)) return;
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  style_ = other.style_;
  charset_ = other.charset_;
  orientation_ = other.orientation_;
  Changed();
}
