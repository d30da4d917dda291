// Text on the canvas: measuring, TextOut, TextRect and DrawText with alignment, word break,
// tab expansion and '&' accelerators. Texts are GBK; they meet Qt as UTF-8.
#include <QFontMetrics>
#include <algorithm>
#include <optional>

#include "platform/GbkText.h"
#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

namespace {

QString ToQString(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

// Metrics of one font, or the text sink's fixed metrics while a test asks for them.
class Metrics {
 public:
  explicit Metrics(const TFont& font) : font_(ToQFont(font)), fixed_(FixedTextMetrics()) {
    if (fixed_.cx <= 0) qt_.emplace(font_);
  }
  const QFont& Font() const { return font_; }
  int Width(const std::string& gbk) const {
    if (!qt_) return static_cast<int>(gbk.size()) * fixed_.cx;
    return qt_->horizontalAdvance(ToQString(gbk));
  }
  int Height() const { return qt_ ? qt_->height() : fixed_.cy; }
  int Ascent() const { return qt_ ? qt_->ascent() : fixed_.cy * 4 / 5; }
  int AverageCharWidth() const { return qt_ ? std::max(1, qt_->averageCharWidth()) : fixed_.cx; }
  int UnderlinePos() const { return qt_ ? qt_->underlinePos() : 1; }
  int LineWidth() const { return qt_ ? std::max(1, qt_->lineWidth()) : 1; }

 private:
  QFont font_;
  TSize fixed_;
  std::optional<QFontMetrics> qt_;
};

struct Glyph {
  std::string bytes;
  bool underline = false;
  bool IsSpace() const { return bytes == " "; }
  bool IsTab() const { return bytes == "\t"; }
  bool IsWide() const { return bytes.size() > 1; }
};
using Glyphs = std::vector<Glyph>;

// Splits into characters; with prefixes on, "&x" underlines x and "&&" is one '&'.
Glyphs ToGlyphs(const std::string& text, bool prefixes) {
  Glyphs glyphs;
  bool underlineNext = false;
  for (size_t at = 0; at < text.size();) {
    const int length = std::max(1, GbkCharLength(text, at));
    std::string ch = text.substr(at, static_cast<size_t>(length));
    at += static_cast<size_t>(length);
    if (prefixes && ch == "&" && !underlineNext) {
      if (at < text.size() && text[at] == '&') {
        glyphs.push_back(Glyph{"&", false});
        ++at;
      } else if (at < text.size()) {
        underlineNext = true;
      } else {
        glyphs.push_back(Glyph{"&", false});  // a lone '&' at the end stays visible
      }
      continue;
    }
    glyphs.push_back(Glyph{std::move(ch), underlineNext});
    underlineNext = false;
  }
  return glyphs;
}

std::string Join(const Glyphs& glyphs, size_t from = 0, size_t to = std::string::npos) {
  std::string s;
  to = std::min(to, glyphs.size());
  for (size_t i = from; i < to; ++i) s += glyphs[i].bytes;
  return s;
}

// Lays a line out: its width, and the x offset of every glyph (plus the end) when drawing
// needs them (an underlined accelerator or an expanded tab). Tabs jump to the next stop of
// eight average characters.
struct Placement {
  int width = 0;
  std::vector<int> x;  // empty when the line is drawn in one piece
};

Placement Place(const Glyphs& line, const Metrics& m, bool expandTabs) {
  Placement placement;
  const bool pieces = std::any_of(line.begin(), line.end(), [&](const Glyph& g) {
    return g.underline || (expandTabs && g.IsTab());
  });
  if (!pieces) {
    placement.width = m.Width(Join(line));
    return placement;
  }
  placement.x.reserve(line.size() + 1);
  const int tabWidth = 8 * m.AverageCharWidth();
  int segmentStart = 0;  // x where the current tab-free stretch begins
  size_t segmentFirst = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const int x = segmentStart + m.Width(Join(line, segmentFirst, i));
    placement.x.push_back(x);
    if (expandTabs && line[i].IsTab()) {
      segmentStart = (x / tabWidth + 1) * tabWidth;
      segmentFirst = i + 1;
    }
  }
  placement.x.push_back(segmentStart + m.Width(Join(line, segmentFirst, line.size())));
  placement.width = placement.x.back();
  return placement;
}

// Width only: one measurement per tab-free stretch.
int LineWidth(const Glyphs& line, const Metrics& m, bool expandTabs) {
  if (!expandTabs) return m.Width(Join(line));
  const int tabWidth = 8 * m.AverageCharWidth();
  int x = 0;
  size_t first = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (!line[i].IsTab()) continue;
    x += m.Width(Join(line, first, i));
    x = (x / tabWidth + 1) * tabWidth;
    first = i + 1;
  }
  return x + m.Width(Join(line, first, line.size()));
}

void TrimTrailingSpaces(Glyphs& line) {
  while (!line.empty() && line.back().IsSpace()) line.pop_back();
}

// Greedy word wrap: a line breaks after blanks and around Chinese characters; a word wider
// than the line stays whole.
std::vector<Glyphs> Wrap(const Glyphs& paragraph, const Metrics& m, int maxWidth, bool expandTabs) {
  std::vector<Glyphs> units;
  Glyphs unit;
  bool trailing = false;
  for (const Glyph& g : paragraph) {
    if (g.IsSpace()) {
      unit.push_back(g);
      trailing = true;
      continue;
    }
    if (!unit.empty() && (trailing || g.IsWide() || unit.back().IsWide())) {
      units.push_back(std::move(unit));
      unit.clear();
      trailing = false;
    }
    unit.push_back(g);
  }
  if (!unit.empty()) units.push_back(std::move(unit));

  std::vector<Glyphs> lines;
  Glyphs line;
  for (Glyphs& u : units) {
    if (!line.empty()) {
      Glyphs candidate = line;
      candidate.insert(candidate.end(), u.begin(), u.end());
      TrimTrailingSpaces(candidate);
      if (LineWidth(candidate, m, expandTabs) > maxWidth) {
        TrimTrailingSpaces(line);
        lines.push_back(std::move(line));
        line.clear();
      }
    }
    line.insert(line.end(), u.begin(), u.end());
  }
  TrimTrailingSpaces(line);
  lines.push_back(std::move(line));
  return lines;
}

std::vector<Glyphs> SplitParagraphs(const Glyphs& glyphs) {
  std::vector<Glyphs> paragraphs(1);
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const std::string& b = glyphs[i].bytes;
    if (b == "\r" || b == "\n") {
      if (b == "\r" && i + 1 < glyphs.size() && glyphs[i + 1].bytes == "\n") ++i;
      paragraphs.emplace_back();
      continue;
    }
    paragraphs.back().push_back(glyphs[i]);
  }
  return paragraphs;
}

// Moves the painter's origin to the target pixel (x, y), in the target's logical pixels from
// there: text on a scaled target is drawn at the device's resolution, not enlarged.
void TranslateToLogical(QPainter& p, const DeviceGrid& grid, int x, int y) {
  if (!grid.Scaled()) {
    p.translate(x, y);
    return;
  }
  p.translate(grid.X(x), grid.Y(y));
  p.scale(grid.Ratio(), grid.Ratio());
}

// Draws one laid-out line with its top-left at (x, y), optionally rotated about that point.
void PaintLine(QPainter& p, const DeviceGrid& grid, const Glyphs& line, const Placement& placement,
               const Metrics& m, int x, int y, const QColor& color, int orientation,
               bool expandTabs) {
  p.save();
  TranslateToLogical(p, grid, x, y);
  if (orientation != 0) p.rotate(-orientation / 10.0);
  p.setFont(m.Font());
  p.setPen(color);
  if (placement.x.empty()) {
    p.drawText(QPoint(0, m.Ascent()), ToQString(Join(line)));
    p.restore();
    return;
  }
  // Each tab-free stretch in one call, so kerning and shaping stay intact.
  size_t first = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    const bool end = i == line.size();
    if (!end && !(expandTabs && line[i].IsTab())) continue;
    if (i > first)
      p.drawText(QPoint(placement.x[first], m.Ascent()), ToQString(Join(line, first, i)));
    first = i + 1;
  }
  for (size_t i = 0; i < line.size(); ++i) {
    if (!line[i].underline) continue;
    const int left = placement.x[i];
    const int width = placement.x[i + 1] - left;
    if (grid.Scaled()) {
      // As thick as the lines of the grid.
      p.fillRect(QRectF(left, m.Ascent() + m.UnderlinePos(), width,
                        m.LineWidth() * grid.Line() / grid.Ratio()),
                 color);
      continue;
    }
    p.fillRect(QRect(left, m.Ascent() + m.UnderlinePos(), width, m.LineWidth()), color);
  }
  p.restore();
}

TTextLine ToRecordLine(const Glyphs& line, int x, int y) {
  TTextLine record;
  record.X = x;
  record.Y = y;
  for (const Glyph& g : line) {
    if (g.underline && record.Accelerator < 0)
      record.Accelerator = static_cast<int>(record.Text.size());
    record.Text += g.bytes;
  }
  return record;
}

TTextRecord NewRecord(TTextCall call, const std::string& text, const TFont& font,
                      const TBrush& brush) {
  TTextRecord r;
  r.Call = call;
  r.Text = text;
  r.FontName = font.Name();
  r.FontSize = font.Size();
  r.FontStyle = font.Style();
  r.FontColor = font.Color();
  r.Orientation = font.Orientation();
  r.Opaque = brush.Style() != bsClear;
  r.BrushColor = brush.Color();
  return r;
}

}  // namespace

int TCanvas::TextWidth(const std::string& text) { return Metrics(font_).Width(text); }

int TCanvas::TextHeight(const std::string& text) {
  (void)text;
  return Metrics(font_).Height();
}

TSize TCanvas::TextExtent(const std::string& text) {
  const Metrics m(font_);
  return TSize{m.Width(text), m.Height()};
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const Metrics m(font_);
  const Glyphs line = ToGlyphs(text, false);
  const Placement placement = Place(line, m, false);
  const int width = placement.width;
  const int dx = x + origin_.X;
  const int dy = y + origin_.Y;
  penPos_ = TPoint{x + width, y};
  if (TextSinkActive()) {
    TTextRecord r = NewRecord(TTextCall::TextOut, text, font_, brush_);
    r.Rect = Bounds(dx, dy, width, m.Height());
    r.Lines.push_back(ToRecordLine(line, dx, dy));
    RecordTextOutput(std::move(r));
  }
  if (text.empty()) return;
  CanvasPaint p(*d_);
  if (!p) return;
  if (brush_.Style() != bsClear) {
    const QColor background = QColor::fromRgb(ToQRgb(brush_.Color()));
    if (font_.Orientation() == 0) {
      p->fillRect(p.grid().Fill(QRect(dx, dy, width, m.Height())), background);
    } else {
      p->save();
      TranslateToLogical(p.painter(), p.grid(), dx, dy);
      p->rotate(-font_.Orientation() / 10.0);
      p->fillRect(QRect(0, 0, width, m.Height()), background);
      p->restore();
    }
  }
  PaintLine(p.painter(), p.grid(), line, placement, m, dx, dy,
            QColor::fromRgb(ToQRgb(font_.Color())), font_.Orientation(), false);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
  const Metrics m(font_);
  const Glyphs line = ToGlyphs(text, false);
  const Placement placement = Place(line, m, false);
  const QRect box(rect.Left + origin_.X, rect.Top + origin_.Y, rect.Width(), rect.Height());
  const int dx = x + origin_.X;
  const int dy = y + origin_.Y;
  if (TextSinkActive()) {
    TTextRecord r = NewRecord(TTextCall::TextRect, text, font_, brush_);
    r.Rect = Bounds(box.x(), box.y(), rect.Width(), rect.Height());
    r.Lines.push_back(ToRecordLine(line, dx, dy));
    RecordTextOutput(std::move(r));
  }
  if (IsRectEmpty(rect)) return;
  CanvasPaint p(*d_);
  if (!p) return;
  const QRect pixels = p.grid().Fill(box);
  p->setClipRect(pixels, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  if (brush_.Style() != bsClear) p->fillRect(pixels, QColor::fromRgb(ToQRgb(brush_.Color())));
  PaintLine(p.painter(), p.grid(), line, placement, m, dx, dy,
            QColor::fromRgb(ToQRgb(font_.Color())), font_.Orientation(), false);
}

namespace {

// The lines DrawText draws: one line without its breaks, or the paragraphs, each wrapped at
// the rectangle's width under DT_WORDBREAK.
std::vector<Glyphs> BreakLines(const Glyphs& glyphs, unsigned flags, const Metrics& m, int width) {
  std::vector<Glyphs> lines;
  if (flags & DT_SINGLELINE) {
    Glyphs line;
    for (const Glyph& g : glyphs) {
      if (g.bytes != "\r" && g.bytes != "\n") line.push_back(g);
    }
    lines.push_back(std::move(line));
    return lines;
  }
  for (const Glyphs& paragraph : SplitParagraphs(glyphs)) {
    if (flags & DT_WORDBREAK) {
      for (Glyphs& l : Wrap(paragraph, m, width, (flags & DT_EXPANDTABS) != 0))
        lines.push_back(std::move(l));
    } else {
      lines.push_back(paragraph);
    }
  }
  return lines;
}

// Device position of each line: aligned left, centred or right in the rectangle, stacked
// down from `top`.
std::vector<TPoint> LineStarts(const std::vector<Placement>& placements, const TRect& rect, int top,
                               int lineHeight, unsigned flags, TPoint origin) {
  std::vector<TPoint> starts;
  for (size_t i = 0; i < placements.size(); ++i) {
    const int width = placements[i].width;
    int left = rect.Left;
    if (flags & DT_CENTER)
      left = rect.Left + (rect.Width() - width) / 2;
    else if (flags & DT_RIGHT)
      left = rect.Right - width;
    starts.push_back(TPoint{left + origin.X, top + static_cast<int>(i) * lineHeight + origin.Y});
  }
  return starts;
}

}  // namespace

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags) {
  const Metrics m(font_);
  const bool singleLine = (flags & DT_SINGLELINE) != 0;
  const bool expandTabs = (flags & DT_EXPANDTABS) != 0;
  const Glyphs glyphs = ToGlyphs(text, (flags & DT_NOPREFIX) == 0);
  if (glyphs.empty()) {
    if (flags & DT_CALCRECT) {
      rect.Right = rect.Left;
      rect.Bottom = rect.Top;
    }
    return 0;
  }

  const std::vector<Glyphs> lines = BreakLines(glyphs, flags, m, rect.Width());

  const int lineHeight = m.Height();
  std::vector<Placement> placements;
  int widest = 0;
  for (const Glyphs& line : lines) {
    placements.push_back(Place(line, m, expandTabs));
    widest = std::max(widest, placements.back().width);
  }
  const int textHeight = lineHeight * static_cast<int>(lines.size());

  if (flags & DT_CALCRECT) {
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + textHeight;
    return textHeight;
  }

  // Vertical placement applies to a single line only.
  int top = rect.Top;
  int result = textHeight;
  if (singleLine && (flags & DT_VCENTER)) {
    top = rect.Top + (rect.Height() - lineHeight) / 2;
    result = top - rect.Top + lineHeight;
  } else if (singleLine && (flags & DT_BOTTOM)) {
    top = rect.Bottom - lineHeight;
    result = top - rect.Top + lineHeight;
  }

  const std::vector<TPoint> starts = LineStarts(placements, rect, top, lineHeight, flags, origin_);

  if (TextSinkActive()) {
    TTextRecord r = NewRecord(TTextCall::DrawText, text, font_, brush_);
    r.Rect = rect;
    OffsetRect(r.Rect, origin_.X, origin_.Y);
    r.Flags = flags;
    for (size_t i = 0; i < lines.size(); ++i)
      r.Lines.push_back(ToRecordLine(lines[i], starts[i].X, starts[i].Y));
    RecordTextOutput(std::move(r));
  }

  CanvasPaint p(*d_);
  if (!p) return result;
  if (!(flags & DT_NOCLIP)) {
    const QRect box(rect.Left + origin_.X, rect.Top + origin_.Y, rect.Width(), rect.Height());
    p->setClipRect(p.grid().Fill(box), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  const QColor color = QColor::fromRgb(ToQRgb(font_.Color()));
  for (size_t i = 0; i < lines.size(); ++i) {
    if (brush_.Style() != bsClear)
      p->fillRect(p.grid().Fill(QRect(starts[i].X, starts[i].Y, placements[i].width, lineHeight)),
                  QColor::fromRgb(ToQRgb(brush_.Color())));
    PaintLine(p.painter(), p.grid(), lines[i], placements[i], m, starts[i].X, starts[i].Y, color, 0,
              expandTabs);
  }
  return result;
}
