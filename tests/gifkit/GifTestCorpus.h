// The GIFs the kit's tests read, gathered for checks that must hold for every one of them: the
// fuzz targets' seeds and findings, the installed files, animations made with ImageMagick and
// hand-made ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct NamedGif {
  std::string Name;
  std::string Bytes;
};

// Animations and stills made with ImageMagick, some of them re-assembled by giflib's gifbuild
// so that its encoder's output is covered too; in a temporary folder that goes with the object.
class GeneratedGifs {
 public:
  GeneratedGifs();
  ~GeneratedGifs();
  GeneratedGifs(const GeneratedGifs&) = delete;
  GeneratedGifs& operator=(const GeneratedGifs&) = delete;
  const std::vector<std::string>& Files() const { return files_; }

 private:
  void Make(const std::string& name, const std::string& args);
  std::string dir_;
  std::vector<std::string> files_;
};

// The GIF files installed under /usr/share and /usr/lib (Debian's Apache icons among them).
std::vector<std::string> InstalledGifFiles();

// The committed seeds of every GIF fuzz target.
std::vector<NamedGif> FuzzSeedGifs();

// Inputs the GIF fuzz targets found faults with, each named for its fault.
const std::vector<NamedGif>& FuzzFindingGifs();

// The hand-made animations' colours: black, white, red, green, blue, and a second red at 5.
const std::vector<std::uint32_t>& HandMadePalette();
// Every kind of step on a 10 x 8 screen: offsets, each disposal (and an undefined one),
// transparency, a frame partly off the screen.
std::string MixedAnimation();
// Animations written by our writer with every disposal, transparency and offsets, the mixed
// one among them.
std::vector<NamedGif> HandMadeAnimations();
// A 1 x 1 screen: frame 0 one white pixel, frame 1 over it with a code size and no codes,
// which fails to decode even leniently.
std::string WholeScreenFrameWithoutCodes();
// Hand-made files with a frame that fails to decode, the one above among them.
std::vector<NamedGif> FailingFrameGifs();

// All of the above, the files read in.
std::vector<NamedGif> EveryTestGif();
