// Writes the coin pictures of the coin-casting window into the folder given:
//   gen_coin_gifs workbench/coins
// coin_spin.gif (a whole turn) and coin_still.gif (the face), both our own drawings.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/coins/CoinArt.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const TCoinArt coin;
  if (!WriteFile(folder + "/coin_spin.gif", SpinningCoinGif(coin)) ||
      !WriteFile(folder + "/coin_still.gif", StillCoinGif(coin))) {
    std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
