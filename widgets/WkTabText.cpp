#include "widgets/WkTabText.h"

#include <cctype>

#include "platform/GbkText.h"

std::vector<std::string> SplitTabCaptionLines(const std::string& caption) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t at = caption.find("\r\n", start);
    if (at == std::string::npos) break;
    lines.push_back(caption.substr(start, at - start));
    start = at + 2;
  }
  lines.push_back(caption.substr(start));
  return lines;
}

TTabCaptionPieces SplitTabAccelerator(const std::string& line) {
  TTabCaptionPieces pieces;
  std::string* out = &pieces.Before;
  for (size_t i = 0; i < line.size();) {
    // A character of two or four bytes goes whole, the accelerator too: never half of one.
    const size_t width = static_cast<size_t>(GbkCharLength(line, i));
    if (width > 1 || line[i] != '&') {
      out->append(line, i, width);
      i += width;
    } else if (i + 1 < line.size() && line[i + 1] == '&') {
      *out += '&';
      i += 2;
    } else if (out == &pieces.Before && i + 1 < line.size()) {
      const size_t accel = static_cast<size_t>(GbkCharLength(line, i + 1));
      pieces.Accel = line.substr(i + 1, accel);
      i += 1 + accel;
      out = &pieces.After;
    } else {
      ++i;  // a second accelerator mark, or one at the end, is not drawn
    }
  }
  return pieces;
}

std::string StripTabAccelerator(const std::string& line) {
  const TTabCaptionPieces p = SplitTabAccelerator(line);
  return p.Before + p.Accel + p.After;
}

char TabAcceleratorChar(const std::string& caption) {
  for (const std::string& line : SplitTabCaptionLines(caption)) {
    const TTabCaptionPieces p = SplitTabAccelerator(line);
    if (p.Accel.size() == 1)
      return static_cast<char>(std::tolower(static_cast<unsigned char>(p.Accel[0])));
  }
  return 0;
}
