#include "GifTestCorpus.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "GifTestSupport.h"

namespace fs = std::filesystem;

GeneratedGifs::GeneratedGifs() : dir_(MakeTempDir()) {
  Make("disposal.gif",
       "-size 80x60 -seed 4 plasma:fractal -size 80x60 gradient:red-blue "
       "-size 80x60 xc:none -fill green -draw 'circle 40,30 40,10' "
       "-set delay 7 -dispose Background -loop 3");
  Make("dispose-prev.gif",
       "-size 60x50 -seed 3 plasma: -dispose Previous \\( -size 20x20 xc:red -repage +5+7 \\) "
       "\\( -size 20x20 xc:blue -repage +30+20 \\) -dispose None "
       "\\( -size 10x10 xc:yellow -repage +45+35 \\)");
  Make("transparent.gif",
       "-size 40x40 xc:none -fill orange -draw 'circle 20,20 20,5' -size 40x40 xc:none "
       "-fill purple -draw 'rectangle 5,5 25,25' -dispose Background");
  Make("interlaced.gif", "-seed 5 -size 90x70 plasma: -interlace GIF");
  Make("optimized.gif",
       "-size 64x64 -seed 9 plasma: -size 64x64 xc:none -fill blue -draw 'rectangle 10,10 30,30' "
       "-size 64x64 xc:none -fill red -draw 'circle 40,40 40,50' -set delay 12 -layers Optimize");
  Make("interlaced-anim.gif",
       "-size 50x37 -seed 2 plasma: -size 50x37 gradient:yellow-black -delay 300 -interlace GIF "
       "-loop 0");
  Make("mono.gif", "-size 33x17 pattern:checkerboard pattern:gray50 -monochrome -delay 100");
  Make("sixteen.gif", "-size 200x100 -seed 7 plasma: -colors 16 -dispose Previous");
  Make("photo.gif", "-size 321x203 -seed 11 plasma:fractal -blur 0x2");
  Make("comment.gif", "-size 40x30 gradient:white-green -set comment 'made for the tests'");
  for (const char* name : {"disposal.gif", "optimized.gif", "interlaced-anim.gif"}) {
    const std::string in = dir_ + "/" + name;
    const std::string out = dir_ + "/gifbuild-" + name;
    const std::string command = "gifbuild -d '" + in + "' > '" + in + ".txt' && gifbuild '" + in +
                                ".txt' > '" + out + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
    files_.push_back(out);
  }
}

GeneratedGifs::~GeneratedGifs() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void GeneratedGifs::Make(const std::string& name, const std::string& args) {
  const std::string out = dir_ + "/" + name;
  const std::string command = "convert " + args + " '" + out + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  files_.push_back(out);
}

std::vector<std::string> InstalledGifFiles() {
  std::vector<std::string> files;
  for (const char* root : {"/usr/share", "/usr/lib"}) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(
             root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (ec || it->path().extension() != ".gif" || !it->is_regular_file(ec)) continue;
      files.push_back(it->path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<NamedGif> FuzzSeedGifs() {
  std::vector<NamedGif> seeds;
  const fs::path root = fs::path(ZELKAR_SOURCE_DIR) / "tools/fuzz/seeds";
  for (const auto& target : fs::directory_iterator(root)) {
    if (!target.is_directory() || target.path().filename().string().rfind("gif", 0) != 0) continue;
    for (const auto& seed : fs::directory_iterator(target.path()))
      if (seed.is_regular_file())
        seeds.push_back({seed.path().string(), ReadFileBytes(seed.path().string())});
  }
  std::sort(seeds.begin(), seeds.end(),
            [](const NamedGif& a, const NamedGif& b) { return a.Name < b.Name; });
  return seeds;
}

const std::vector<NamedGif>& FuzzFindingGifs() {
  static const std::vector<NamedGif> findings = {
      {"comment extension: empty fixed block copied through a null buffer",
       std::string(
           "\x47\x49\x46\x38\x39\x61\x14\x00\x16\x00\xa1\x00\x00\xff\xff\xff\xcc\xff\xff\x00\x00"
           "\x00\x00\x00\x00\x21\xfe\x4e\x54\x68\x69\x73\x20\x61\x72\x74\x20\x69\x73\x20\x69\x6e"
           "\x20\x74\x68\x65\x20\x70\x75\x62\x6c\x69\x63\x20\x64\x6f\x6d\x61\x69\x6e\x2e\x20\x4b"
           "\x65\x76\x69\x6e\x20\x48\x75\x67\x68\x65\x73\x2c\x20\x6b\x65\x76\x69\x6e\x68\x40\x65"
           "\x69\x74\x2e\x63\x6f\x6d\x2c\x20\x53\x65\x70\x74\x65\x6d\x62\x65\x72\x20\x31\x39\x39"
           "\x35\x00\x21\xf9\x04\x01\x00\x00\x01\x00\x2c\x00\x00\x00\x00\x14\x00\x16\x00\x00\x02"
           "\x13\x8c\x8f\xa9\xcb\xed\x0f\xa3\x9c\xb4\xda\x8b\xb3\xde\xbc\xfb\x0f\x86\x49\x01\x00"
           "\x3b",
           148)},
      {"string copy whose chunks overlapped their destination",
       std::string(
           "\x47\x49\x46\x38\x39\x61\x10\x00\x10\x00\xa2\xff\x00\x6b\x6b\x6b\xc0\xc0\xc0\xef\x5a"
           "\x5a\x6b\x10\x10\x4a\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x21\xf9\x04\x01\x00"
           "\x00\x01\x00\x2c\x00\x00\x00\x00\x10\x00\x10\x00\x00\x03\x36\x18\xba\xdc\x21\x30\x42"
           "\xe0\xc2\x90\xf0\xd2\x76\x71\xdf\x4b\x27\x89\xa0\x85\x41\x44\x4a\x30\x22\xa6\xb2\xa7"
           "\xb4\x86\x71\x34\xc0\xb5\x70\xd3\xf9\xae\xb4\x27\x9f\xa9\x87\xab\x09\x81\x1e\x06\x60"
           "\xc0\x6c\x3a\x67\x8a\x04\x00\x3b",
           113)},
      {"interlaced frame of width 0: rows copied through a null buffer",
       std::string(
           "\x47\x49\x46\x38\x39\x61\x00\x00\x00\x90\xa2\xff\x00\x6b\x6b\x6b\x00\x03\xc0\xef\x5a"
           "\x5a\x6b\x10\x10\x4a\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x21\xf9\x04\x01\x00"
           "\x00\x01\x00\x2c\x00\x47\x7e\x49\x00\x00\x00\x10\x93\x3b\x76\x9a\x85\xbe\xb8\x06\x9c"
           "\x2e\x92\xef\xb7\x13\xfa\x80\xdf\xbb\x27\x89\xa0\x85\x49\x44\x00\x00\x00\x00\x00\x00"
           "\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
           "\x00\x21\xf9\x04\x01\x00\x00\x01\x00\x2c\x00\x00\x00\x00\x00\x00\x61\x10\x4a\x00\x00"
           "\x00\x03\x00\x2c\x00\x00\x00\x00\x67\x00\x00\x00\x47\x49\x46\x3b",
           142)},
  };
  return findings;
}

const std::vector<std::uint32_t>& HandMadePalette() {
  static const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF, 0x0000FF,
                                                     0x00FF00, 0xFF0000, 0x0000FF};
  return palette;
}

std::string MixedAnimation() {
  AnimationFrame ring = SolidFrame(2, 2, 4, 4, 3, 0, 0);
  ring.Pixels[5] = ring.Pixels[6] = ring.Pixels[9] = ring.Pixels[10] = 0;  // a hole
  return MakeAnimation(10, 8, HandMadePalette(),
                       {SolidFrame(0, 0, 10, 8, 1, 1), SolidFrame(1, 1, 3, 3, 2, 2), ring,
                        SolidFrame(5, 0, 5, 5, 4, 3), SolidFrame(0, 4, 4, 4, 2, 6, 1),
                        SolidFrame(0, 0, 10, 8, 4, 3), SolidFrame(7, 5, 3, 3, 3, 0),
                        SolidFrame(0, 0, 10, 8, 2, 2, 0), SolidFrame(8, 6, 2, 2, 1, 1)});
}

std::vector<NamedGif> HandMadeAnimations() {
  AnimationFrame ring = SolidFrame(2, 2, 4, 4, 3, 0, 0);
  ring.Pixels[5] = ring.Pixels[6] = 0;
  AnimationFrame small = SolidFrame(2, 2, 3, 3, 0, 1, 0);
  small.Pixels[4] = 3;
  const std::vector<std::vector<AnimationFrame>> animations = {
      {SolidFrame(0, 0, 10, 8, 1, 1), SolidFrame(1, 1, 3, 3, 2, 2), ring,
       SolidFrame(5, 0, 5, 5, 4, 3), SolidFrame(0, 4, 4, 4, 2, 1, 1), SolidFrame(7, 5, 3, 3, 3, 0)},
      // A whole-screen frame restoring the picture before it, then a small see-through one.
      {SolidFrame(0, 0, 8, 8, 4, 1), SolidFrame(0, 0, 8, 8, 2, 3), small},
      // Transparent throughout, clearing and restoring.
      {SolidFrame(0, 0, 6, 6, 2, 2, 0), SolidFrame(1, 1, 3, 3, 4, 3, 0),
       SolidFrame(2, 2, 4, 4, 3, 1, 1)}};
  std::vector<NamedGif> out = {{"mixed", MixedAnimation()}};
  for (const auto& frames : animations) {
    int width = 0, height = 0;
    for (const AnimationFrame& f : frames) {
      width = std::max(width, f.Left + f.Width);
      height = std::max(height, f.Top + f.Height);
    }
    out.push_back({"hand-made " + std::to_string(out.size()),
                   MakeAnimation(width, height, HandMadePalette(), frames)});
  }
  return out;
}

std::string WholeScreenFrameWithoutCodes() {
  return GifHeader("89a", 1, 1, 1) +
         FrameBlock(0, 0, 1, 1, PackCodes(2, WithWidths(2, {4, 1, 5}))) +
         FrameBlock(0, 0, 1, 1, std::string("\x02\x00", 2)) + ";";
}

std::vector<NamedGif> FailingFrameGifs() {
  return {{"whole-screen frame without codes", WholeScreenFrameWithoutCodes()},
          // Codes 7 before the table defines them: corrupt, shown leniently, failing strictly.
          {"small frame with undefined codes",
           GifHeader("89a", 2, 1, 1) +
               FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 1, 1, 5}))) +
               FrameBlock(0, 0, 1, 1, PackCodes(2, WithWidths(2, {4, 7, 7, 5}))) + ";"},
          {"whole-screen frame with undefined codes",
           GifHeader("89a", 2, 1, 1) +
               FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 1, 1, 5}))) +
               FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 7, 7, 5}))) + ";"}};
}

std::vector<NamedGif> EveryTestGif() {
  std::vector<NamedGif> gifs = FuzzSeedGifs();
  for (const std::string& path : InstalledGifFiles()) gifs.push_back({path, ReadFileBytes(path)});
  {
    GeneratedGifs generated;
    for (const std::string& path : generated.Files()) gifs.push_back({path, ReadFileBytes(path)});
  }
  for (const NamedGif& finding : FuzzFindingGifs()) gifs.push_back(finding);
  for (NamedGif& made : HandMadeAnimations()) gifs.push_back(std::move(made));
  for (NamedGif& made : FailingFrameGifs()) gifs.push_back(std::move(made));
  return gifs;
}
