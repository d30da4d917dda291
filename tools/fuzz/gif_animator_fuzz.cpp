// libFuzzer target for the GIF animator's composition: whatever frames any bytes give (read
// leniently and strictly), the animator shows each one stepped to from the frame before it as
// it shows it composed afresh, as when the picture is loaded with that frame current. A
// difference aborts. Reading may fail with the kit's own exceptions; composing throws nothing,
// and sanitizers catch the rest.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gifkit/GkAnimator.h"
#include "platform/Exceptions.h"
#include "platform/gui/Forms.h"

namespace {

// Composing costs the screen's area for each frame, and composing every frame afresh the
// square of their number: larger screens are left out and only the first frames compared, so
// that an input costs little and the fuzzer tries many.
constexpr std::uint64_t kMaxScreenPixels = 1u << 20;
constexpr int kMaxFrames = 64;

TGkGIFAnimator* stepper = nullptr;
TGkGIFAnimator* fresh = nullptr;

bool Same(const TComposedFrame& a, const TComposedFrame& b) {
  return a.Index == b.Index && a.Width == b.Width && a.Height == b.Height && a.Fill == b.Fill &&
         a.Pixels == b.Pixels;
}

void Exercise(const std::string& bytes, bool lenient) {
  LenientDecoding = lenient;
  TGIFImage image;
  try {
    image.ReadGifBytes(bytes, false);
  } catch (const Exception&) {
    // The frames read before the fault stay and are shown.
  }
  if (image.Count() == 0 ||
      std::uint64_t{image.ScreenWidth} * image.ScreenHeight > kMaxScreenPixels)
    return;
  image.FrameIndex = 0;
  stepper->SetImage(&image);
  const int frames = image.Count() < kMaxFrames ? image.Count() : kMaxFrames;
  for (int n = 0; n < frames; ++n) {
    const TComposedFrame stepped = stepper->ComposeFrame(n);
    fresh->SetImage(&image);  // drops the kept picture
    if (!Same(stepped, fresh->ComposeFrame(n))) {
      std::fprintf(stderr, "frame %d (%s): stepped and afresh differ\n", n,
                   lenient ? "lenient" : "strict");
      std::abort();
    }
  }
  // The failures the animator told reach the application's handler now instead of piling up.
  Application->ProcessMessages();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int appArgc = 1;
  static TApplication app(appArgc, *argv);
  app.OnException = [](TComponent*, const std::exception&) {};
  stepper = new TGkGIFAnimator(&app);
  fresh = new TGkGIFAnimator(&app);
  (void)argc;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Exercise(bytes, true);
  Exercise(bytes, false);
  return 0;
}
