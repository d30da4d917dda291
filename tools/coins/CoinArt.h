// Our own drawings of a round coin with a square hole, as GIF streams made by the program's
// own GIF writer: a spinning coin (each frame squashed by |cos θ| of its turn, face and back
// taking turns) and the coin lying still. Any size, so larger animations come from here too.
#pragma once

#include <string>

struct TCoinArt {
  int Size = 48;     // the square screen, in pixels
  int Frames = 12;   // frames of one whole turn
  int DelayMs = 60;  // per frame
  bool Loop = true;
};

// A whole turn of the coin, frame 0 showing the face straight on.
std::string SpinningCoinGif(const TCoinArt& art);
// One frame: the face, still.
std::string StillCoinGif(const TCoinArt& art);
