#include "widgets/WkTabText.h"

#include <cctype>

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
  for (size_t i = 0; i < line.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(line[i]);
    if (ch >= 0x81 && i + 1 < line.size()) {  // a double-byte character stays whole
      *out += line.substr(i, 2);
      ++i;
      continue;
    }
    if (ch != '&') {
      *out += line[i];
      continue;
    }
    if (i + 1 < line.size() && line[i + 1] == '&') {
      *out += '&';
      ++i;
      continue;
    }
    if (out == &pieces.Before && i + 1 < line.size()) {
      const size_t width =
          static_cast<unsigned char>(line[i + 1]) >= 0x81 && i + 2 < line.size() ? 2 : 1;
      pieces.Accel = line.substr(i + 1, width);
      i += width;
      out = &pieces.After;
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
