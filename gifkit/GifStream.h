// GIF87a and GIF89a streams: the frame and image models with their reading and writing, apart
// from bitmaps. The picture classes TGIFFrame and TGIFImage build on these and add the decoded
// bitmaps; tests and tools use them directly with palette indices.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gifkit/GifFormat.h"

class TStream;
class TGIFImageCore;

// A bounds-checked cursor over the bytes of a GIF stream. Short reads raise the platform's
// stream read error.
class TGifReader {
 public:
  explicit TGifReader(std::shared_ptr<const std::string> bytes)
      : data_(reinterpret_cast<const std::uint8_t*>(bytes->data())),
        size_(bytes->size()),
        bytes_(std::move(bytes)) {}
  // The bytes read, for keeping parts of them without a copy.
  const std::shared_ptr<const std::string>& Bytes() const { return bytes_; }
  std::size_t Remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }
  std::size_t Position() const { return pos_; }
  const std::uint8_t* Here() const { return data_ + pos_; }
  std::uint8_t Byte();
  void Read(void* buffer, std::size_t count);
  void Skip(std::size_t count);

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::shared_ptr<const std::string> bytes_;
  std::size_t pos_ = 0;
};

// One image of the stream without its bitmap.
class TGIFFrameCore {
 public:
  explicit TGIFFrameCore(TGIFImageCore* owner);
  virtual ~TGIFFrameCore();
  TGIFFrameCore(const TGIFFrameCore&) = delete;
  TGIFFrameCore& operator=(const TGIFFrameCore&) = delete;

  TGIFImageCore* OwnerImage() const { return owner_; }

  std::shared_ptr<TGIFItem> Item;
  std::vector<std::unique_ptr<TExtension>> Extensions;
  int Left = 0;
  int Top = 0;
  bool Interlaced = false;
  bool Corrupt = false;
  bool Grayscale = false;
  bool HasLocalColorTable = false;
  std::uint8_t Disposal = 0;

  // The transparent colour and the table index it came from; the index decides on writing
  // as long as it still holds that colour, so equal colours in one table stay apart.
  TGifColor TransparentColor() const { return transparent_; }
  int TransparentIndex() const { return transparentIndex_; }
  void SetTransparentColor(TGifColor color);
  void SetTransparent(TGifColor color, int index);

  // Milliseconds, saturated at 65535. The file's hundredths are written back unchanged unless
  // the delay is set to another value.
  std::uint16_t Delay() const { return delay_; }
  void SetDelay(std::uint16_t milliseconds);

  bool HasEncodedData() const { return Item && !Item->Data.empty(); }
  // Strings of the last comment extension, which is created when there is none.
  TStringList& CommentLines();

  // Image descriptor, local colour table and encoded data at the reader's position.
  void LoadFromReader(TGifReader& reader);
  // The palette indices and palette of the frame.
  TGIFIndexImage DecodeIndices(const TGifProgress& progress = {});
  // The frame's size, depth and palette, without pixels; a wrong colour depth or a picture too
  // large raise here, before anything is allocated for the pixels.
  TGIFIndexImage DecodedLayout() const;
  // Whether the encoded data may fill the frame's pixels: when they cannot, most of the
  // picture stays 0 and is best left to zeroed memory; when they may, every pixel is written.
  bool DataMayFill() const;
  // Decodes the palette indices straight into `target`, rows `stride` bytes apart (stride at
  // least the width); DecodedLayout first. With `targetZeroed` the target holds zeros and only
  // what the data reach is written. Returns the pixels reached, in stream order.
  std::uint64_t DecodeIndicesInto(std::uint8_t* target, std::size_t stride,
                                  const TGifProgress& progress = {}, bool targetZeroed = false);
  // New encoded data from palette indices (Depth 1, 4 or 8, palette of up to 2^Depth colours).
  void EncodeIndices(const TGIFIndexImage& image, const TGifProgress& progress = {});
  // Brings the graphic control extension in line with Delay, TransparentColor and Disposal.
  void UpdateGraphicControl();
  void WriteTo(std::string& out) const;
  // True when the frame has no pixels but the logical screen is not empty in the direction
  // it has none: it is then written as one transparent pixel at its place.
  bool WrittenAsSeeThroughPixel() const;

  // Encodes the frame's picture when it has no encoded data; without one this fails.
  virtual void EncodePicture();

 protected:
  // Takes the fields of another frame that describe its image (not its owner or bitmap).
  void AssignCore(const TGIFFrameCore& source);

 private:
  // The extensions; with `transparentIndex` 0 or more the graphic control extension (made
  // when there is none) makes that index transparent.
  void WriteExtensions(std::string& out, int transparentIndex) const;
  void WriteSeeThroughPixel(std::string& out) const;

  TGIFImageCore* owner_;
  TGifColor transparent_ = kGifNoColor;
  int transparentIndex_ = -1;
  std::uint16_t delay_ = 0;
  bool delayChanged_ = false;
};

// A GIF image without bitmaps: shared image data, frames and the loop settings.
class TGIFImageCore {
 public:
  TGIFImageCore();
  virtual ~TGIFImageCore();
  TGIFImageCore(const TGIFImageCore&) = delete;
  TGIFImageCore& operator=(const TGIFImageCore&) = delete;

  std::shared_ptr<TGIFData> Data;
  TGIFVersion Version = TGIFVersion::gvNone;
  int FrameIndex = -1;
  std::uint16_t ScreenWidth = 0;
  std::uint16_t ScreenHeight = 0;
  bool Looping = false;
  std::uint16_t RepeatCount = 1;
  bool PaletteModified = false;

  // Like the transparent colour: the index read decides on writing while it holds the colour.
  TGifColor BackgroundColor() const { return background_; }
  void SetBackgroundColor(TGifColor color);

  int Count() const { return static_cast<int>(frames_.size()); }
  TGIFFrameCore* FrameAt(int index) const { return frames_.at(index).get(); }
  // A new frame of this image's kind appended at the end.
  TGIFFrameCore& AppendFrame();
  void DeleteFrame(int index);
  void ClearFrames();
  // Grows the logical screen to cover a frame of the size at (left, top); it never shrinks
  // and saturates at 65535. A frame of no area leaves it as it is.
  void CoverFrame(int left, int top, int width, int height);

  // Starts a new empty image (new shared data, no frames).
  void NewImage();
  // Reads count bytes of GIF stream from the source; forced decoding decodes the current frame.
  void ReadGifStream(std::int64_t count, TStream& source, bool forcedDecoding);
  void ReadGifBytes(const std::string& bytes, bool forcedDecoding);
  // The same without a copy: the frames keep referring to `bytes`.
  void ReadGifBytes(std::shared_ptr<const std::string> bytes, bool forcedDecoding);
  // Writes the stream, with a 32-bit count of the bytes first when sizePrefix is set.
  void WriteGifStream(TStream& target, bool sizePrefix);
  std::string WriteGifBytes();

  // Colour the writer compares table entries with (system colours resolved by the picture
  // layer).
  virtual TGifColor ResolveColor(TGifColor color) const { return color; }
  // Reports decoding and encoding progress.
  virtual void Progress(TGifProgressStage, int, const std::string&) {}
  TGifProgress ProgressCallback();

 protected:
  // Shares the source's image data and takes its version, background and loop settings.
  void CopyImageFields(const TGIFImageCore& source);
  virtual std::unique_ptr<TGIFFrameCore> NewFrame();
  virtual void DecodeCurrentFrame() {}
  virtual void ImageChanged() {}
  std::vector<std::unique_ptr<TGIFFrameCore>>& Frames() { return frames_; }

 private:
  void ReadExtension(TGifReader& reader, std::vector<std::unique_ptr<TExtension>>& collected);
  std::vector<std::unique_ptr<TGIFFrameCore>> frames_;
  TGifColor background_ = kGifNoColor;
  int backgroundIndex_ = -1;
  friend class TGIFFrameCore;
};
