// Tab captions: lines at each CR LF, and the accelerator of a line ('&' before the character,
// "&&" for a literal '&').
#pragma once

#include <string>
#include <vector>

std::vector<std::string> SplitTabCaptionLines(const std::string& caption);

// A caption line as drawn: the text before the accelerator, the accelerator character (empty
// when none) and the rest, with every "&&" already made one '&'.
struct TTabCaptionPieces {
  std::string Before;
  std::string Accel;
  std::string After;
};
TTabCaptionPieces SplitTabAccelerator(const std::string& line);
std::string StripTabAccelerator(const std::string& line);
// The accelerator character of a caption (lower-cased ASCII), 0 when it has none.
char TabAcceleratorChar(const std::string& caption);
