// The GIF picture: TGIFImage with its frames TGIFFrame, on the stream model of GifStream.h.
// Frames keep their encoded data and decode into a bitmap on first use; frames built from a
// bitmap are encoded when the image is written. The image is the picture kind of ".gif" files.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gifkit/GifStream.h"
#include "platform/gui/Picture.h"

class TClipboard;
class TGIFImage;
struct TAnimatedCursor;

// The clipboard format "GIF Image", registered on first use.
unsigned CF_GIF();

class TGIFFrame : public TGIFFrameCore {
 public:
  explicit TGIFFrame(TGIFImage* owner);
  ~TGIFFrame() override;

  TGIFImage* Owner() const;
  // Decoded on first use; nullptr when the frame has neither bitmap nor encoded data. A
  // decoded bitmap may be dropped when another frame's is decoded and the image holds more
  // than kMaxHeldGifPixels: use the pointer before asking for another frame's bitmap.
  TBitmap* Bitmap();
  int Width();
  int Height();
  TPoint Origin() const { return {Left, Top}; }
  void SetOrigin(TPoint origin) { Left = origin.X, Top = origin.Y; }
  TStringList& Comment() { return CommentLines(); }

  // Draws the bitmap stretched into the rectangle, leaving its transparent colour out when
  // asked and when it has one.
  void Draw(TCanvas& canvas, const TRect& rect, bool transparent);

  void Assign(const TGIFFrame* source);
  void Assign(const TGIFImage& source);
  void Assign(const TBitmap& source);
  // From any picture: GIF images and bitmaps as above; another kind is drawn onto a bitmap,
  // and when it is transparent the canvas brush's colour it shows through becomes the
  // transparent colour. An empty picture leaves the frame without a bitmap.
  void Assign(TGraphic& source);
  // The frame's bitmap into the target; a transparent colour becomes the bitmap's.
  void AssignTo(TBitmap& target);

  void EncodePicture() override;

 private:
  friend class TGIFImage;
  bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
  // Frees a bitmap decoded from the encoded data (it can be decoded again).
  void DropDecodedBitmap();
  void ReleaseArea();
  std::unique_ptr<TBitmap> bitmap_;
  std::uint64_t decodedArea_ = 0;  // pixels of a bitmap decoded from the encoded data
};

// Pixels of decoded frame bitmaps one image keeps at most (besides the one being decoded).
constexpr std::uint64_t kMaxHeldGifPixels = 2 * kMaxGifPixels;

class TGIFImage : public TGIFImageCore, public TGraphic {
 public:
  TGIFImage();
  ~TGIFImage() override;

  TGIFFrame& Frames(int index) const { return static_cast<TGIFFrame&>(*FrameAt(index)); }
  // Frame FrameIndex (frame 0 when FrameIndex is out of range); nullptr without frames.
  TGIFFrame* CurrentFrame() const;
  TStringList& Comment() { return Data->Comment; }
  TColor BackgroundColor() const { return TGIFImageCore::BackgroundColor(); }

  // The current frame's bitmap (frame 0 when FrameIndex is out of range); an image without
  // frames gets one empty frame first.
  TBitmap* Bitmap();
  int Width() override;
  int Height() override;
  std::vector<TColor> Palette();
  bool Empty() override;
  // The picture's transparency flag (on for a new image), and a frame with a transparent
  // colour.
  bool Transparent() override;
  [[noreturn]] void SetWidth(int);
  [[noreturn]] void SetHeight(int);

  // From the stream's position to its end, decoding the first frame.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // A window description's value: a 32-bit count, then that many bytes of GIF stream.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);

  // Appends a frame made from the bitmap, makes it current and returns its index.
  int AddFrame(const TBitmap& bitmap);

  void Assign(const TGIFImage* source);
  void Assign(const TGIFFrame& source);
  void Assign(const TBitmap& source);
  // One frame per icon, shown for the icon's rate, on the window colour; frame 0 current.
  void Assign(const TAnimatedCursor& source);
  void AssignTo(TBitmap& target);
  void Draw(TCanvas& canvas, const TRect& rect) override;
  // True only for an image sharing the same image data.
  bool Equals(const TGIFImage& other) const { return Data == other.Data; }

  // Places frame 0's bitmap, and with it "GIF Image" data (the stream with its 32-bit size)
  // when every frame has encoded data; copying encodes nothing. Nothing without frames.
  // Loading takes "GIF Image" data without decoding, frame 0 showing the clipboard's bitmap
  // when there is one, or else the bitmap alone. Bad data or nothing usable on the clipboard
  // fail and leave the image as it was.
  void SaveToClipboardFormat(TClipboard& clipboard);
  void LoadFromClipboardFormat(TClipboard& clipboard);

  std::function<void(TGifProgressStage, int, const std::string&)> OnProgress;
  // Pixels of the frame bitmaps decoded from encoded data that the image holds now.
  std::uint64_t HeldDecodedPixels() const { return heldArea_; }

  TColor ResolveColor(TColor color) const override { return ColorToRGB(color); }
  void Progress(TGifProgressStage stage, int percent, const std::string& message) override {
    if (OnProgress) OnProgress(stage, percent, message);
  }
  using TGraphic::Changed;

 protected:
  friend class TGIFFrame;
  void MakeRoomFor(std::uint64_t area, const TGIFFrame* keep);
  std::uint64_t heldArea_ = 0;
  std::unique_ptr<TGIFFrameCore> NewFrame() override;
  void DecodeCurrentFrame() override;
  void ImageChanged() override { Changed(); }
};
