// libFuzzer target for the GIF reader: any bytes are read leniently and strictly, every frame
// is decoded, and what reads is written and read again. Only the kit's own exceptions may
// come out; sanitizers catch the rest.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gifkit/GifStream.h"
#include "platform/Exceptions.h"

namespace {

void Exercise(const std::string& bytes, bool lenient) {
  LenientDecoding = lenient;
  TGIFImageCore image;
  try {
    image.ReadGifBytes(bytes, false);
  } catch (const Exception&) {
  }
  for (int i = 0; i < image.Count(); ++i) {
    try {
      image.FrameAt(i)->DecodeIndices();
    } catch (const Exception&) {
    }
  }
  if (image.Count() == 0) return;
  try {
    const std::string written = image.WriteGifBytes();
    TGIFImageCore again;
    again.ReadGifBytes(written, false);
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Exercise(bytes, true);
  Exercise(bytes, false);
  return 0;
}
