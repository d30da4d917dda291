#include "gifkit/GkGIF.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gifkit/AnimatedCursor.h"
#include "gifkit/GkDrawing.h"
#include "platform/Exceptions.h"
#include "platform/ZeroedMemory.h"
#include "platform/gui/Clipbrd.h"

unsigned CF_GIF() {
  static const unsigned format = RegisterClipboardFormat("GIF Image");
  return format;
}

namespace {

// Any program linking the GIF picture opens ".gif" files with it.
struct GifFileFormat {
  GifFileFormat() {
    RegisterFileFormat("gif", "CompuServe GIF Image", [] { return std::make_unique<TGIFImage>(); });
  }
  ~GifFileFormat() { UnregisterFileFormat("gif"); }
} gifFileFormat;

}  // namespace

// ---------------------------------------------------------------------------------------------

TGIFFrame::TGIFFrame(TGIFImage* owner) : TGIFFrameCore(owner) {}

TGIFFrame::~TGIFFrame() { ReleaseArea(); }

TGIFImage* TGIFFrame::Owner() const { return static_cast<TGIFImage*>(OwnerImage()); }

TBitmap* TGIFFrame::Bitmap() {
  if (!bitmap_ && HasEncodedData()) {
    TGIFIndexImage image = DecodedLayout();
    const TPixelFormat format = image.Depth == 1 ? pf1bit : image.Depth == 4 ? pf4bit : pf8bit;
    const std::uint64_t area = std::uint64_t{image.Width} * image.Height;
    Owner()->MakeRoomFor(area, this);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    // Zeroed memory: what the data do not reach is never touched.
    bitmap->SetSizeZeroed(static_cast<int>(image.Width), static_cast<int>(image.Height));
    bitmap->SetPalette(image.Palette);
    const TGifProgress progress = Owner()->ProgressCallback();
    if (image.Depth != 1) {
      // One index a byte, as the bitmap's rows hold them (one block, BytesPerLine apart).
      DecodeIndicesInto(bitmap->ScanLine(0), static_cast<std::size_t>(bitmap->BytesPerLine()),
                        progress, true);
    } else if (area > 0) {
      // Indices a byte each first, zeroed by the system; only the rows the data reach are
      // packed into bits.
      std::unique_ptr<std::uint8_t, decltype(&FreeBlock)> indices(
          static_cast<std::uint8_t*>(AllocateZeroed(area)), &FreeBlock);
      if (!indices) throw EOutOfMemory("Out of memory");
      const std::uint64_t reached = DecodeIndicesInto(indices.get(), image.Width, progress, true);
      const std::uint64_t rows =
          std::min<std::uint64_t>((reached + image.Width - 1) / image.Width, image.Height);
      std::uint32_t y = 0;
      for (std::uint64_t i = 0; i < rows; ++i) {
        const std::uint8_t* src = indices.get() + static_cast<std::size_t>(y) * image.Width;
        std::uint8_t* row = bitmap->ScanLine(static_cast<int>(y));
        for (std::uint32_t x = 0; x < image.Width; ++x) {
          if (src[x]) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        y = Interlaced ? NextInterlacedRow(y, image.Height) : y + 1;
      }
    }
    bitmap_ = std::move(bitmap);
    decodedArea_ = area;
    Owner()->heldArea_ += area;
  }
  return bitmap_.get();
}

void TGIFFrame::DropDecodedBitmap() {
  if (!bitmap_ || decodedArea_ == 0 || !HasEncodedData()) return;
  bitmap_.reset();
  Owner()->heldArea_ -= decodedArea_;
  decodedArea_ = 0;
}

void TGIFFrame::ReleaseArea() {
  if (decodedArea_ == 0) return;
  if (Owner()) Owner()->heldArea_ -= decodedArea_;
  decodedArea_ = 0;
}

int TGIFFrame::Width() {
  if (bitmap_) return bitmap_->Width();
  return HasEncodedData() ? Item->Width : 0;
}

int TGIFFrame::Height() {
  if (bitmap_) return bitmap_->Height();
  return HasEncodedData() ? Item->Height : 0;
}

void TGIFFrame::Draw(TCanvas& canvas, const TRect& rect, bool transparent) {
  TBitmap* bitmap = Bitmap();
  if (!bitmap || bitmap->Empty()) return;
  const TColor color = transparent ? TransparentColor() : clNone;
  DrawBitmapTransparent(canvas, rect.Left, rect.Top, *bitmap, color, TRect(), rect.Width(),
                        rect.Height());
}

void TGIFFrame::Assign(const TGIFFrame* source) {
  if (source == this) return;
  if (!source) {
    ReleaseArea();
    Item = std::make_shared<TGIFItem>();
    bitmap_.reset();
    return;
  }
  AssignCore(*source);
  ReleaseArea();
  if (source->OwnerImage() == OwnerImage()) {
    HasLocalColorTable = source->HasLocalColorTable;
  } else {
    // Another image's global table is not ours: the frame carries its own.
    HasLocalColorTable = source->HasLocalColorTable || Item->ColorTable.Count() > 0;
  }
  if (source->bitmap_) bitmap_ = std::make_unique<TBitmap>(*source->bitmap_);
  Extensions.clear();
  for (const auto& ext : source->Extensions) {
    Extensions.push_back(std::make_unique<TExtension>(ext->ExtensionType));
    Extensions.back()->Assign(*ext);
  }
  Owner()->CoverFrame(Left, Top, Width(), Height());
}

void TGIFFrame::Assign(const TGIFImage& source) {
  if (const TGIFFrame* frame = source.CurrentFrame()) Assign(frame);
}

void TGIFFrame::Assign(const TBitmap& source) {
  ReleaseArea();
  Item = std::make_shared<TGIFItem>();
  Interlaced = false;
  Corrupt = false;
  HasLocalColorTable = false;
  Extensions.clear();
  SetTransparentColor(kGifNoColor);
  if (source.Empty()) {
    bitmap_.reset();
    return;
  }
  bitmap_ = std::make_unique<TBitmap>(source);
  if (source.Transparent()) SetTransparentColor(ColorToRGB(source.TransparentColor()));
  Owner()->CoverFrame(Left, Top, source.Width(), source.Height());
}

void TGIFFrame::Assign(TGraphic& source) {
  if (auto* gif = dynamic_cast<TGIFImage*>(&source)) {
    Assign(*gif);
    return;
  }
  if (auto* bmp = dynamic_cast<TBitmapGraphic*>(&source)) {
    Assign(bmp->Bitmap());
    return;
  }
  // Any other picture: drawn onto a bitmap on the canvas's brush, whose colour is what its
  // see-through parts show.
  TBitmap picture;
  if (!source.Empty()) {
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(source.Width(), source.Height());
    const TColor ground = picture.Canvas().NearestColor(picture.Canvas().Brush().Color());
    picture.Canvas().FillRect(Rect(0, 0, picture.Width(), picture.Height()));
    source.Draw(picture.Canvas(), Rect(0, 0, picture.Width(), picture.Height()));
    if (source.Transparent()) {
      picture.SetTransparentColor(ground);
      picture.SetTransparent(true);
    }
  }
  Assign(picture);
}

void TGIFFrame::AssignTo(TBitmap& target) {
  TBitmap* bitmap = Bitmap();
  if (bitmap) {
    target.Assign(*bitmap);
  } else {
    target.Assign(TBitmap());
  }
  if (TransparentColor() != kGifNoColor && !target.Empty()) {
    target.SetTransparentColor(target.Canvas().NearestColor(TransparentColor()));
    target.SetTransparent(true);
  }
}

void TGIFFrame::EncodePicture() {
  if (!bitmap_ || bitmap_->Empty()) throw EInvalidGraphicOperation("No GIF Data to write");
  TBitmap* source = bitmap_.get();
  std::unique_ptr<TBitmap> reduced;
  TPixelFormat format = source->PixelFormat();
  if (format != pf1bit && format != pf4bit && format != pf8bit) {
    const TMappingMethod method = Grayscale ? mmGrayscale : DefaultMappingMethod;
    if (method == mmGrayscale) Grayscale = true;
    auto bmp = ConvertBitmapPixelFormat(*source, pf8bit, method);
    reduced = std::make_unique<TBitmap>();
    reduced->LoadFromStream(*bmp);
    source = reduced.get();
    format = source->PixelFormat();
  }
  TGIFIndexImage image;
  image.Depth = format == pf1bit ? 1 : format == pf4bit ? 4 : format == pf8bit ? 8 : 0;
  if (image.Depth == 0) throw EInvalidGraphicOperation("GIF image encoding error");
  image.Width = static_cast<std::uint32_t>(source->Width());
  image.Height = static_cast<std::uint32_t>(source->Height());
  for (TColor c : source->Palette()) image.Palette.push_back(ColorToRGB(c));
  image.Palette.resize(1u << image.Depth, 0);
  image.Pixels.resize(static_cast<std::size_t>(image.Width) * image.Height);
  for (std::uint32_t y = 0; y < image.Height; ++y) {
    const std::uint8_t* row = source->ScanLine(static_cast<int>(y));
    std::uint8_t* out = image.Pixels.data() + static_cast<std::size_t>(y) * image.Width;
    if (image.Depth == 1) {
      for (std::uint32_t x = 0; x < image.Width; ++x) out[x] = (row[x / 8] >> (7 - x % 8)) & 1;
    } else {
      std::memcpy(out, row, image.Width);
    }
  }
  EncodeIndices(image, Owner()->ProgressCallback());
}

// ---------------------------------------------------------------------------------------------

TGIFImage::TGIFImage() { SetTransparent(true); }

void TGIFImage::MakeRoomFor(std::uint64_t area, const TGIFFrame* keep) {
  // Decoded bitmaps are a cache of the encoded data: past the budget the others go, to be
  // decoded again when they are used.
  for (int i = 0; i < Count() && heldArea_ + area > kMaxHeldGifPixels; ++i) {
    TGIFFrame& frame = Frames(i);
    if (&frame != keep) frame.DropDecodedBitmap();
  }
}

// The frames go first, while they can still tell the image what they held.
TGIFImage::~TGIFImage() { ClearFrames(); }

std::unique_ptr<TGIFFrameCore> TGIFImage::NewFrame() { return std::make_unique<TGIFFrame>(this); }

TGIFFrame* TGIFImage::CurrentFrame() const {
  if (Count() == 0) return nullptr;
  return &Frames(FrameIndex < 0 || FrameIndex >= Count() ? 0 : FrameIndex);
}

void TGIFImage::DecodeCurrentFrame() {
  if (TGIFFrame* frame = CurrentFrame()) frame->Bitmap();
}

TBitmap* TGIFImage::Bitmap() {
  if (Count() == 0) {
    AppendFrame();
    FrameIndex = 0;
  }
  TGIFFrame* frame = CurrentFrame();
  if (!frame->Bitmap()) frame->bitmap_ = std::make_unique<TBitmap>();
  return frame->Bitmap();
}

int TGIFImage::Width() {
  if (Empty() || FrameIndex < 0 || FrameIndex >= Count()) return 0;
  return Frames(FrameIndex).Width();
}

int TGIFImage::Height() {
  if (Empty() || FrameIndex < 0 || FrameIndex >= Count()) return 0;
  return Frames(FrameIndex).Height();
}

std::vector<TColor> TGIFImage::Palette() {
  if (Count() == 0) return {};
  TBitmap* bitmap = CurrentFrame()->Bitmap();
  return bitmap ? bitmap->Palette() : std::vector<TColor>();
}

bool TGIFImage::Empty() {
  TGIFFrame* frame = CurrentFrame();
  if (!frame) return true;
  if (frame->HasBitmap()) return false;
  return !frame->HasEncodedData();
}

bool TGIFImage::Transparent() {
  if (!TransparentFlag()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (Frames(i).TransparentColor() != kGifNoColor) return true;
  }
  return false;
}

void TGIFImage::SetWidth(int) {
  throw EInvalidGraphicOperation("Cannot change the Size of a GIF image");
}

void TGIFImage::SetHeight(int) {
  throw EInvalidGraphicOperation("Cannot change the Size of a GIF image");
}

void TGIFImage::LoadFromStream(TStream& stream) {
  ReadGifStream(stream.Size() - stream.Position(), stream, true);
}

void TGIFImage::SaveToStream(TStream& stream) { WriteGifStream(stream, false); }

void TGIFImage::ReadData(TStream& stream) {
  const std::uint32_t count = stream.ReadDWordLE();
  ReadGifStream(count, stream, true);
}

void TGIFImage::WriteData(TStream& stream) { WriteGifStream(stream, true); }

int TGIFImage::AddFrame(const TBitmap& bitmap) {
  TGIFFrame& frame = static_cast<TGIFFrame&>(AppendFrame());
  frame.Assign(bitmap);
  FrameIndex = Count() - 1;
  if (Version == TGIFVersion::gvNone) Version = TGIFVersion::gv87a;
  if (Count() > 1) Version = TGIFVersion::gv89a;
  return FrameIndex;
}

void TGIFImage::Assign(const TGIFImage* source) {
  if (source == this) return;
  if (!source) {
    NewImage();
    Changed();
    return;
  }
  ClearFrames();
  CopyImageFields(*source);
  for (int i = 0; i < source->Count(); ++i) {
    TGIFFrame& frame = static_cast<TGIFFrame&>(AppendFrame());
    frame.Assign(&source->Frames(i));
    frame.HasLocalColorTable = source->Frames(i).HasLocalColorTable;
  }
  ScreenWidth = source->ScreenWidth;
  ScreenHeight = source->ScreenHeight;
  FrameIndex = source->FrameIndex;
  Changed();
}

void TGIFImage::Assign(const TGIFFrame& source) {
  const std::shared_ptr<TGIFData> from = source.OwnerImage()->Data;
  NewImage();
  Data->AspectRatio = from->AspectRatio;
  Data->BitsPerPixel = from->BitsPerPixel;
  Data->ColorResolution = from->ColorResolution;
  Data->ColorTable = from->ColorTable;
  TGIFFrame& frame = static_cast<TGIFFrame&>(AppendFrame());
  frame.Assign(&source);
  frame.HasLocalColorTable = source.HasLocalColorTable;
  FrameIndex = 0;
  Version = TGIFVersion::gv87a;
  Changed();
}

void TGIFImage::Assign(const TBitmap& source) {
  NewImage();
  AddFrame(source);
  Changed();
}

void TGIFImage::Assign(const TAnimatedCursor& source) {
  NewImage();
  SetBackgroundColor(clWindow);
  for (const TAnimatedCursorIcon& icon : source.Icons) {
    const std::uint64_t milliseconds = std::uint64_t{icon.Rate} * 100 / 6;
    Frames(AddFrame(icon.Icon))
        .SetDelay(static_cast<std::uint16_t>(std::min<std::uint64_t>(milliseconds, 65535)));
  }
  // The animation starts at its first icon, as an image read from a file does.
  if (Count() > 0) FrameIndex = 0;
  Changed();
}

void TGIFImage::AssignTo(TBitmap& target) {
  if (TGIFFrame* frame = CurrentFrame()) {
    frame->AssignTo(target);
  } else {
    target.Assign(TBitmap());
  }
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& rect) {
  if (FrameIndex >= 0 && FrameIndex < Count())
    Frames(FrameIndex).Draw(canvas, rect, TransparentFlag());
}

void TGIFImage::SaveToClipboardFormat(TClipboard& clipboard) {
  if (Count() == 0) return;
  // Everything is made before the clipboard is touched, so a failure places nothing. The
  // bitmap carries frame 0's transparent colour.
  TBitmap copied;
  if (Frames(0).Bitmap()) Frames(0).AssignTo(copied);
  const TBitmap* bitmap = copied.Empty() ? nullptr : &copied;
  bool encoded = true;
  for (int i = 0; i < Count() && encoded; ++i) encoded = Frames(i).HasEncodedData();
  TMemoryStream stream;
  if (encoded) WriteGifStream(stream, true);  // copying never encodes
  clipboard.Open();
  if (bitmap) clipboard.Assign(*bitmap);
  if (encoded) clipboard.SetData(CF_GIF(), stream.Bytes());
  clipboard.Close();
}

void TGIFImage::LoadFromClipboardFormat(TClipboard& clipboard) {
  TBitmap bitmap;
  const bool hasBitmap = clipboard.AssignTo(bitmap) && !bitmap.Empty();
  if (!clipboard.HasFormat(CF_GIF())) {
    if (!hasBitmap) throw EInvalidGraphic("Unsupported clipboard format");
    Assign(bitmap);
    return;
  }
  // Read into a separate image first: bad data leave this one as it was.
  TMemoryStream stream(clipboard.GetData(CF_GIF()));
  const std::uint32_t count = stream.ReadDWordLE();
  TGIFImage pasted;
  pasted.ReadGifStream(count, stream, false);
  if (pasted.Count() > 0) {
    pasted.FrameIndex = 0;
    if (hasBitmap) pasted.Frames(0).bitmap_ = std::make_unique<TBitmap>(bitmap);
  }
  Assign(&pasted);
}
