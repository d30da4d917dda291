// Colours, rectangles, fonts, pens, brushes, the canvas and bitmaps, as the windows and the kit
// controls draw with them. Coordinates follow the old pixel rules: a rectangle excludes its
// right and bottom edge, a line excludes its end point. No Qt type appears here; the canvas
// works on QPainter/QImage inside platform/gui.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QImage;
class QPainter;
class TStream;

// ---------------------------------------------------------------------------------------------
// Colours

// $00BBGGRR for an RGB colour, $FF0000nn for system colour nn, clNone for no colour.
using TColor = std::uint32_t;

constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
// "Take the default": for a bitmap's transparent colour it means its bottom-left pixel.
constexpr TColor clDefault = 0x20000000;
// Flag of a palette-relative colour; drawing treats it as the plain RGB value.
constexpr TColor clPaletteRelative = 0x02000000;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == clSystemColor; }
// System colours through one fixed table (the classic desktop scheme), so that painting is
// the same on every machine; other values keep their low 24 bits.
TColor ColorToRGB(TColor color);

// Bits per pixel of the display. Tests override it; 0 returns to the real value.
int DisplayColorDepth();
void OverrideDisplayColorDepth(int bitsPerPixel);

// ---------------------------------------------------------------------------------------------
// Points and rectangles

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are excluded.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) {
  return {left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
void InflateRect(TRect& rect, int dx, int dy);
void OffsetRect(TRect& rect, int dx, int dy);
bool PtInRect(const TRect& rect, TPoint point);
bool IsRectEmpty(const TRect& rect);
// Both return false and give an empty rectangle when the result is empty.
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);
bool UnionRect(TRect& result, const TRect& a, const TRect& b);

// ---------------------------------------------------------------------------------------------
// Fonts, pens, brushes

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits
using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset GB2312_CHARSET = 134;

// Size in points at 96 pixels per inch: Height = -Size * 96 / 72 (rounded); a positive
// Height is a cell height and gives a negative Size, as the old platform had it.
class TFont {
 public:
  TFont();
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);

  const std::string& Name() const { return name_; }  // GBK, e.g. "宋体"
  void SetName(const std::string& name);
  int Size() const;
  void SetSize(int points);
  int Height() const { return height_; }
  void SetHeight(int height);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);
  // Text rotation in tenths of a degree, counter-clockwise.
  int Orientation() const { return orientation_; }
  void SetOrientation(int tenths);

  // Copies every value; OnChange fires once when anything changed.
  void Assign(const TFont& other);
  bool SameAs(const TFont& other) const;

  std::function<void()> OnChange;

 private:
  void Changed();
  std::string name_;
  int height_;
  TColor color_;
  TFontStyles style_ = 0;
  TFontCharset charset_ = DEFAULT_CHARSET;
  int orientation_ = 0;
};

// The installed face that stands in for a font name of the old desktop ("宋体" and other
// Chinese faces, "Arial Black", "Times New Roman", "Arial", "Tahoma", "MS Sans Serif"...).
// Result in UTF-8; unknown names come back converted but otherwise unchanged.
std::string SubstituteFontFamily(const std::string& gbkName);
// Whether the substitution also makes the face bold ("Arial Black").
bool SubstituteFontForcesBold(const std::string& gbkName);

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// How the pen combines with what is there: copy, or the XOR/NOT raster modes.
enum TPenMode { pmCopy, pmNot, pmXor, pmNotXor };

class TPen {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);  // below 1 counts as 1
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  void Assign(const TPen& other);
  std::function<void()> OnChange;

 private:
  void Changed();
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

class TBitmap;

enum TBrushStyle { bsSolid, bsClear };

class TBrush {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);  // also makes a clear brush solid, as the old platform did
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  // A pattern (normally 8 x 8) tiled from the target's pixel (0, 0). Not owned; the caller
  // keeps it alive while it is set. nullptr removes it.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* bitmap);
  void Assign(const TBrush& other);
  std::function<void()> OnChange;

 private:
  void Changed();
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Regions (device coordinates)

enum TPolyFillMode { pfmAlternate, pfmWinding };
enum TRegionCombine { rcAnd, rcOr, rcXor, rcDiff, rcCopy };

class TRegion {
 public:
  TRegion();  // empty
  explicit TRegion(const TRect& rect);
  // Pixels whose centre lies inside the polygon, as a filled polygon covers them.
  TRegion(const std::vector<TPoint>& points, TPolyFillMode mode = pfmAlternate);
  TRegion(const TRegion& other);
  TRegion& operator=(const TRegion& other);
  ~TRegion();

  bool IsEmpty() const;
  bool Contains(int x, int y) const;
  bool Contains(TPoint p) const { return Contains(p.X, p.Y); }
  bool IntersectsRect(const TRect& rect) const;
  TRect BoundingBox() const;
  void Offset(int dx, int dy);
  // this := this <op> other (rcCopy: this := other).
  void Combine(const TRegion& other, TRegionCombine op);
  std::vector<TRect> Rects() const;

  struct Impl;
  const Impl& impl() const { return *d_; }

 private:
  std::unique_ptr<Impl> d_;
};

// ---------------------------------------------------------------------------------------------
// Text output seen from outside

// One text output of a canvas, in device coordinates of its target.
struct TTextLine {
  std::string Text;      // displayed bytes: accelerator prefixes removed, tabs kept
  int X = 0;             // left of the text cell
  int Y = 0;             // top of the text cell
  int Accelerator = -1;  // byte offset in Text of the underlined accelerator, -1 for none
};

enum class TTextCall { TextOut, TextRect, DrawText };

struct TTextRecord {
  TTextCall Call = TTextCall::TextOut;
  std::string Text;    // as passed
  TRect Rect;          // TextRect/DrawText rectangle; TextOut: the text's cell
  unsigned Flags = 0;  // DrawText flags
  std::vector<TTextLine> Lines;
  std::string FontName;  // as set (GBK)
  int FontSize = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = clBlack;  // as set, not resolved
  int Orientation = 0;
  bool Opaque = false;  // background filled with the brush
  TColor BrushColor = clWhite;
};

// Where every canvas of the process reports its text outputs (DrawText in calculate mode
// outputs nothing), and what it measures text by: the seam through which tests look at what is
// drawn instead of at pixels (tests/support/TextRecorder.h). The program installs none.
class TTextSink {
 public:
  virtual ~TTextSink() = default;
  // Called from any thread that draws.
  virtual void Add(TTextRecord record) = 0;
  // Pixels per byte and per line every canvas measures text by, so that layout does not
  // depend on the fonts of the machine; 0 x 0 to measure by the fonts.
  virtual TSize FixedMetrics() const = 0;
};
// Installs `sink` (nullptr: none) and returns the one it replaces.
TTextSink* SetTextSink(TTextSink* sink);

// ---------------------------------------------------------------------------------------------
// Canvas

// DrawText flags (the values of the old platform).
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;  // single line only
constexpr unsigned DT_BOTTOM = 0x0008;   // single line only
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;

// How Draw/StretchDraw/CopyRect combine the source with the target.
enum TCopyMode {
  cmSrcCopy,
  cmSrcAnd,
  cmSrcPaint,
  cmSrcInvert,
  cmNotSrcCopy,
  cmDstInvert,
  cmBlackness,
  cmWhiteness
};

class TCanvas {
 public:
  TCanvas();
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont& Font() { return font_; }
  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  void SetFont(const TFont& font) { font_.Assign(font); }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

  // Target. A canvas draws on a bitmap (TBitmap binds its own canvas) or on a painter that a
  // widget's paint handler opened; while unbound every operation does nothing.
  void BindPainter(QPainter* painter, int width, int height);
  void Unbind();
  bool HandleAllocated() const;
  // Size of the target in pixels (0 x 0 when unbound).
  TSize TargetSize() const;
  // Device pixels per pixel of the target (see TBitmap::SetDevicePixelRatio).
  double DevicePixelRatio() const;

  // Lines: the end point is not drawn.
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const std::vector<TPoint>& points);

  // Shapes: pen outline, brush fill; right and bottom edge excluded. With a clear pen the
  // fill is one pixel smaller on the right and bottom, as the old platform filled.
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void Polygon(const std::vector<TPoint>& points);

  // Brush fills (nothing with a clear brush): [Left, Right) x [Top, Bottom).
  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);       // one-pixel frame in the brush colour
  void FillRegion(const TRegion& region);  // region in logical coordinates
  // Dotted XOR frame; drawing it twice restores the pixels.
  void DrawFocusRect(const TRect& rect);

  TColor Pixel(int x, int y) const;  // clNone outside the target or without pixel access
  void SetPixel(int x, int y, TColor color);
  // The colour the target really stores for `color` (nearest palette entry on palette
  // bitmaps).
  TColor NearestColor(TColor color) const;

  // Bitmaps. A transparent bitmap leaves its transparent colour out.
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const TRect& dest, TBitmap& bitmap);
  // A part of another canvas's target copied with CopyMode; a negative destination width or
  // height mirrors.
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
  // Copies the part of the bitmap stretched to dest; pixels of `transparent` show the brush
  // instead, or what was there with a clear brush (clNone copies everything; clDefault takes
  // the bitmap's bottom-left pixel).
  void BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& sourceRect, TColor transparent);
  // A block of 0xAARRGGBB pixels (rows `width` apart) stretched to dest: blended by their
  // alpha, or with `blend` off drawn opaque whatever their alpha.
  void StretchDrawPixels(const TRect& dest, const std::uint32_t* argb, int width, int height,
                         bool blend);
  // For platform/gui code: blends an image with alpha at logical (x, y).
  void DrawQImage(int x, int y, const QImage& image);

  // Text. (x, y) is the top-left of the text cell. A solid brush fills the text background,
  // a clear brush leaves it.
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  TSize TextExtent(const std::string& text);
  void TextOut(int x, int y, const std::string& text);  // pen position moves to the end
  void TextRect(const TRect& rect, int x, int y, const std::string& text);  // clipped to rect
  // Returns the height of the text; DT_CALCRECT only measures, setting rect's Right and
  // Bottom. '&' underlines the next character and "&&" is one '&' unless DT_NOPREFIX.
  int DrawText(const std::string& text, TRect& rect, unsigned flags);

  // Clipping, in logical coordinates (converted with the current origin).
  void IntersectClipRect(const TRect& rect);
  void ExcludeClipRect(const TRect& rect);
  // Replaces the clip by the region (device coordinates); nullptr removes clipping.
  void SelectClipRegion(const TRegion* region);
  TRect ClipRect() const;  // clip box in logical coordinates

  // Origin: the device position of logical (0, 0).
  TPoint Origin() const { return origin_; }
  void SetOrigin(TPoint deviceOfZero) { origin_ = deviceOfZero; }
  void MoveOrigin(int dx, int dy) {
    origin_.X += dx;
    origin_.Y += dy;
  }
  // Logical (x, y) lands on device (0, 0); returns the previous window origin.
  TPoint SetWindowOrg(int x, int y);

  // Saves font, pen, brush, copy mode, clip, origin and pen position. RestoreState(-1)
  // restores the newest saved state, RestoreState(n) the state SaveState returned n for
  // (dropping newer ones). Returns false for an unknown id.
  int SaveState();
  bool RestoreState(int id);

  // Lock for drawing across threads (recursive).
  void Lock();
  void Unlock();
  bool TryLock();
  bool LockedByCurrentThread() const;

  struct Impl;

 protected:
  friend class TBitmap;
  void BindBitmap(TBitmap* bitmap);

 private:
  TFont font_;
  TPen pen_;
  TBrush brush_;
  TCopyMode copyMode_ = cmSrcCopy;
  TPoint penPos_;
  TPoint origin_;
  std::unique_ptr<Impl> d_;
  std::recursive_mutex lock_;
  std::atomic<std::thread::id> lockOwner_{};
  int lockDepth_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Bitmaps

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

// Most pixels a bitmap may hold, the same bound the GIF kit puts on a picture: bitmaps are bounded
// by area, so a 65535 x 1 strip is fine. Larger requests raise EOutOfResources.
constexpr long long kMaxBitmapPixels = 64LL * 1024 * 1024;

// Over a QImage. Rows are 32-bit aligned as in a device-independent bitmap, row 0 at the
// top; pf24bit rows hold blue, green, red; pf32bit rows blue, green, red, unused; pf1bit
// rows the leftmost pixel in the high bit; pf8bit and pf4bit rows one palette index per byte
// (a 4-bit bitmap keeps at most 16 palette entries).
class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pfDevice);
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  virtual ~TBitmap();

  int Width() const;
  int Height() const;
  void SetWidth(int width);
  void SetHeight(int height);
  // Keeps the pixels that still fit; new pixels are white. Negative sizes count as 0.
  void SetSize(int width, int height);
  // The same, holding exactly the device pixels given at a device pixel ratio above 1 (a
  // picture fitted to where a widget lands on the screen: width x ratio rounded either way).
  void SetSize(int width, int height, int deviceWidth, int deviceHeight);
  // A palette bitmap (1, 4 or 8 bits) of that size with every pixel index 0, on memory the
  // system hands out zeroed: pixels never written cost neither time nor memory. Other
  // formats size as SetSize does.
  void SetSizeZeroed(int width, int height);
  bool Empty() const;

  TPixelFormat PixelFormat() const { return format_; }
  // Converts the pixels; palette formats map each colour to its nearest palette entry
  // (a new palette bitmap gets the standard palette of its depth).
  void SetPixelFormat(TPixelFormat format);
  bool Monochrome() const { return format_ == pf1bit; }
  void SetMonochrome(bool mono);

  // Device pixels per pixel, 1 unless set. A bitmap painted for a scaled screen holds its
  // pixels at that ratio: Width and Height, the canvas and PixelColor stay in (logical) pixels,
  // text and fills are drawn at the device's resolution, and Draw copies the device pixels.
  // Setting it clears the picture. Values below 1 count as 1.
  double DevicePixelRatio() const { return ratio_; }
  void SetDevicePixelRatio(double ratio);

  // Raw row access; nullptr for a row outside the bitmap. Rows hold device pixels (more than
  // Width of them at a device pixel ratio above 1).
  std::uint8_t* ScanLine(int row);
  const std::uint8_t* ScanLine(int row) const;
  int BytesPerLine() const;

  // Palette of a 1, 4 or 8 bit bitmap (empty for the others).
  std::vector<TColor> Palette() const;
  // Ignored on the other formats; entries beyond the format's count are dropped. Pixel
  // indices are kept.
  void SetPalette(const std::vector<TColor>& colors);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on) { transparent_ = on; }
  // tmAuto: the bottom-left pixel (clNone for an empty bitmap); tmFixed: the colour set.
  TColor TransparentColor() const;
  // clDefault returns to tmAuto; anything else sets tmFixed.
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }

  // Turns the bitmap into its monochrome mask: white where the pixel is `color`, black
  // elsewhere.
  void Mask(TColor color);
  // A new monochrome mask of the same size, leaving this bitmap as it is.
  std::unique_ptr<TBitmap> CreateMask(TColor color) const;

  TCanvas& Canvas();
  void Assign(const TBitmap& other);

  // BMP files and streams (uncompressed 1, 4, 8, 24 and 32 bits; 16 and 15 bits are stored
  // as 24). Loading a stream reads one BMP from its position. Failures raise
  // EInvalidGraphic "Bitmap image is not valid" or the stream's error; the bitmap is
  // unchanged then.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  // Colour of a pixel (clNone outside).
  TColor PixelColor(int x, int y) const;

  // For platform/gui code: the pixels. Structural changes go through the methods above.
  QImage& Image();
  const QImage& Image() const;
  // Replaces the pixels (any QImage format; non-palette formats become pf32bit unless the
  // format has a matching depth).
  void SetImage(const QImage& image);

  std::function<void()> OnChange;

 private:
  friend class TCanvas;
  void Changed();
  std::unique_ptr<QImage> image_;  // null while the bitmap is empty
  int width_ = 0;
  int height_ = 0;
  double ratio_ = 1.0;
  TPixelFormat format_ = pfDevice;
  bool transparent_ = false;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
  // Made on first use: most bitmaps (a picture's decoded frames) are drawn, never drawn on.
  std::atomic<TCanvas*> canvas_{nullptr};
};

// The process-wide bitmap drawing lock: once enabled (the GIF kit's asynchronous animator
// does so), drawing a bitmap onto a canvas holds that bitmap's canvas lock for the copy, so
// a worker thread drawing into it never races the GUI thread. Cannot be disabled again.
void EnableBitmapDrawLock();
bool BitmapDrawLockEnabled();

// ---------------------------------------------------------------------------------------------
// Image lists

// Images of one size; each keeps its own transparency.
class TImageList;

// A user's registration with an image list: told when the list's images change and when the
// list is freed (after which the link is empty). Freeing the link unregisters it.
class TChangeLink {
 public:
  TChangeLink() = default;
  ~TChangeLink();
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  TImageList* Sender() const { return sender_; }
  std::function<void()> OnChange;
  std::function<void()> OnFree;

 private:
  friend class TImageList;
  TImageList* sender_ = nullptr;
};

class TImageList {
 public:
  TImageList(int width = 16, int height = 16);
  ~TImageList();
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;
  // A link joins one list at a time; registering it elsewhere leaves the old list.
  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size clears the list.
  void SetSize(int width, int height);
  int Count() const { return static_cast<int>(images_.size()); }

  // Adds the image (cut or padded to the list's size; a wider image adds one image per
  // Width columns). With a mask, white mask pixels are transparent. Returns the index of the
  // first image added, -1 when nothing was.
  int Add(const TBitmap& image, const TBitmap* mask = nullptr);
  // Same, leaving pixels of maskColor out (clDefault: the bottom-left pixel).
  int AddMasked(const TBitmap& image, TColor maskColor);
  void Delete(int index);
  void Clear();
  // Copies image `index` into bitmap (32-bit, transparent pixels in clBtnFace).
  bool GetBitmap(int index, TBitmap& bitmap) const;

  // Draws image `index` with its top-left at (x, y); a disabled image is drawn greyed.
  // Out-of-range indices draw nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
  // For platform/gui code: image `index` with its transparency, nullptr outside the list.
  const QImage* Image(int index) const;

  std::function<void()> OnChange;

 private:
  void Change();
  int width_;
  int height_;
  std::vector<TChangeLink*> links_;
  std::vector<std::shared_ptr<QImage>> images_;  // ARGB, alpha 0 where transparent
};
