// Bitmaps from and to BMP files (kept apart so that only callers of files pull file support in).
#include "platform/Classes.h"
#include "platform/Files.h"
#include "platform/gui/Graphics.h"

void TBitmap::LoadFromFile(const std::string& path) {
  TMemoryStream stream(ReadWholeFile(path));
  LoadFromStream(stream);
}

void TBitmap::SaveToFile(const std::string& path) const {
  TMemoryStream stream;
  SaveToStream(stream);
  WriteFileAtomically(path, stream.Bytes());
}
