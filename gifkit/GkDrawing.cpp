#include "gifkit/GkDrawing.h"

#include <cstring>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Dialogs.h"

namespace {

void PutWord(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutDWord(std::string& s, std::uint32_t v) {
  PutWord(s, v & 0xFFFF);
  PutWord(s, v >> 16);
}

// The 8-bit BMP of mapped pixels: file header, 40-byte information header stating the
// colours in use, a 256-entry colour table and bottom-up rows padded to 4 bytes.
std::string MappedBmp(const TColorMapResult& mapped, std::uint32_t width, std::uint32_t height) {
  const std::uint32_t stride = (width + 3) / 4 * 4;
  const std::uint32_t offset = 14 + 40 + 256 * 4;
  const std::uint64_t imageSize = static_cast<std::uint64_t>(stride) * height;
  std::string bmp = "BM";
  PutDWord(bmp, static_cast<std::uint32_t>(offset + imageSize));
  PutDWord(bmp, 0);
  PutDWord(bmp, offset);
  PutDWord(bmp, 40);
  PutDWord(bmp, width);
  PutDWord(bmp, height);
  PutWord(bmp, 1);
  PutWord(bmp, 8);
  PutDWord(bmp, 0);
  PutDWord(bmp, static_cast<std::uint32_t>(imageSize));
  PutDWord(bmp, 0);
  PutDWord(bmp, 0);
  PutDWord(bmp, static_cast<std::uint32_t>(mapped.ColorsUsed));
  PutDWord(bmp, 0);
  for (TGifColor c : mapped.Palette) {
    bmp.push_back(static_cast<char>((c >> 16) & 0xFF));
    bmp.push_back(static_cast<char>((c >> 8) & 0xFF));
    bmp.push_back(static_cast<char>(c & 0xFF));
    bmp.push_back('\0');
  }
  std::string row(stride, '\0');
  for (std::uint32_t y = height; y-- > 0;) {
    std::memcpy(row.data(), mapped.Indices.data() + static_cast<std::size_t>(y) * width, width);
    bmp += row;
  }
  return bmp;
}

}  // namespace

void ShowNotImplemented() {
  MessageDlg("Function not yet implemented", mtInformation, mbOK);
  Abort();
}

std::unique_ptr<TMemoryStream> ConvertBitmapPixelFormat(TBitmap& bitmap, TPixelFormat target,
                                                        TMappingMethod method) {
  if (bitmap.Empty()) throw EInvalidGraphic("Bitmap image is not valid");
  auto out = std::make_unique<TMemoryStream>();
  if (target == bitmap.PixelFormat() && method != mmGrayscale) {
    bitmap.SaveToStream(*out);
  } else if (target == pf1bit || target == pf4bit) {
    TBitmap copy(bitmap);
    copy.SetPixelFormat(target);
    copy.SaveToStream(*out);
  } else if (target == pf8bit || target == pf24bit) {
    TBitmap rgb(bitmap);
    rgb.SetPixelFormat(pf24bit);
    if (rgb.PixelFormat() != pf24bit) ShowNotImplemented();
    if (target == pf24bit) {
      rgb.SaveToStream(*out);
    } else {
      const std::uint32_t w = rgb.Width(), h = rgb.Height();
      // The bitmap's rows are one top-down block, BytesPerLine apart: the mapping reads them
      // where they are.
      const TColorMapResult mapped =
          MapTrueColorPixels(std::as_const(rgb).ScanLine(0), w, h,
                             static_cast<std::size_t>(rgb.BytesPerLine()), method);
      const std::string bmp = MappedBmp(mapped, w, h);
      out->Write(bmp.data(), static_cast<std::int64_t>(bmp.size()));
    }
  } else {
    ShowNotImplemented();
  }
  out->SetPosition(0);
  return out;
}

void DrawBitmapTransparent(TCanvas& canvas, int left, int top, TBitmap& bitmap,
                           TColor transparentColor, TRect source, int width, int height) {
  if (width < 1) width = bitmap.Width();
  if (height < 1) height = bitmap.Height();
  if (source.Width() < 1 || source.Height() < 1)
    source = Rect(0, 0, bitmap.Width(), bitmap.Height());
  const TRect dest = Bounds(left, top, width, height);
  if (transparentColor == clNone) {
    canvas.CopyRect(dest, bitmap.Canvas(), source);
    return;
  }
  if (bitmap.Monochrome()) {
    transparentColor = clWhite;
  } else if (transparentColor == clDefault) {
    transparentColor = bitmap.PixelColor(0, bitmap.Height() - 1);
  }
  bitmap.Canvas().Lock();
  canvas.BrushCopy(dest, bitmap, source, ColorToRGB(transparentColor & ~clPaletteRelative));
  bitmap.Canvas().Unlock();
}

void DrawParentImage(TControl* control, TCanvas& canvas) {
  TWinControl* parent = control ? control->Parent() : nullptr;
  if (!parent) return;
  const int state = canvas.SaveState();
  canvas.MoveOrigin(-control->Left(), -control->Top());
  canvas.IntersectClipRect(parent->GetClientRect());
  PaintControlTo(parent, canvas);
  const TRect bounds = control->BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* sibling = parent->Controls(i);
    if (sibling == control) break;
    // Windowed siblings show themselves on screen; only windowless ones are part of the
    // picture behind.
    if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible()) continue;
    TRect overlap;
    if (!IntersectRect(overlap, bounds, sibling->BoundsRect())) continue;
    const int inner = canvas.SaveState();
    canvas.MoveOrigin(sibling->Left(), sibling->Top());
    PaintControlTo(sibling, canvas);
    canvas.RestoreState(inner);
  }
  canvas.RestoreState(state);
}
