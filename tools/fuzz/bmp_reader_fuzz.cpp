// libFuzzer target for the BMP reader: any bytes either load or raise one of the layer's
// exceptions; what loads is saved, loaded again and must show the same pixels. Work and memory
// must follow the size of the input (libFuzzer's time and memory limits catch the rest).
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/gui/Graphics.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int appArgc = 1;
  static QGuiApplication app(appArgc, *argv);
  (void)argc;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBitmap first;
  try {
    TMemoryStream in(std::string(reinterpret_cast<const char*>(data), size));
    first.LoadFromStream(in);
  } catch (const Exception&) {
    return 0;
  }
  TMemoryStream saved;
  first.SaveToStream(saved);
  saved.SetPosition(0);
  TBitmap second;
  second.LoadFromStream(saved);  // what we write must read; an exception here is a finding
  if (second.Width() != first.Width() || second.Height() != first.Height()) std::abort();
  for (int y = 0; y < first.Height(); ++y)
    for (int x = 0; x < first.Width(); ++x)
      if (first.PixelColor(x, y) != second.PixelColor(x, y)) std::abort();
  return 0;
}
