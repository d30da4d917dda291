// Pictures of any kind behind one interface, and the file extensions that pick the kind:
// the layer registers "bmp", picture kits register their own at start-up.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

class TStream;

class TGraphic {
 public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;
  virtual ~TGraphic();

  // Stretched into the rectangle.
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual bool Empty() = 0;
  // Whether parts of the picture are left out when drawn; kinds refine the flag.
  virtual bool Transparent() { return transparent_; }
  virtual void SetTransparent(bool on);
  bool TransparentFlag() const { return transparent_; }

  // Loading reads from the stream's position.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual void LoadFromFile(const std::string& path);
  // Written beside the file and renamed into place, so a failure keeps the old file.
  virtual void SaveToFile(const std::string& path);

  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }

 private:
  bool transparent_ = false;
};

// A BMP picture: the layer's bitmap as a TGraphic.
class TBitmapGraphic : public TGraphic {
 public:
  TBitmap& Bitmap() { return bitmap_; }
  void Draw(TCanvas& canvas, const TRect& rect) override;
  int Width() override { return bitmap_.Width(); }
  int Height() override { return bitmap_.Height(); }
  bool Empty() override { return bitmap_.Empty(); }
  bool Transparent() override { return bitmap_.Transparent(); }
  void SetTransparent(bool on) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override { bitmap_.SaveToStream(stream); }

 private:
  TBitmap bitmap_;
};

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

struct TGraphicFileFormat {
  std::string Extension;  // lower case, without the dot
  std::string Description;
};

// Extensions compare without regard to case and may be given with a leading dot; registering
// an extension again replaces its kind.
void RegisterFileFormat(const std::string& extension, const std::string& description,
                        TGraphicFactory create);
void UnregisterFileFormat(const std::string& extension);
std::vector<TGraphicFileFormat> GraphicFileFormats();
// A new empty picture of the kind registered for the file's extension; nullptr for none.
std::unique_ptr<TGraphic> NewGraphicForFile(const std::string& path);
// The file loaded into a picture of its kind. An unregistered extension fails with
// EInvalidGraphic "无法识别图片文件「<path>」的扩展名（.ext）".
std::unique_ptr<TGraphic> LoadGraphicFromFile(const std::string& path);
