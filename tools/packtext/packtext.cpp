// packtext: packs a GBK text file (CR LF line ends, as the reader shows it) into a book file.
//   packtext <text file> <book file>      e.g. packtext yj.txt build/release/app/bd/yj.dat
#include "tools/packtext/PackText.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: packtext <text file> <book file>\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "packtext: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string packed;
  try {
    packed = PackText(text.str());
  } catch (const std::exception& e) {
    std::cerr << "packtext: " << e.what() << "\n";
    return 1;
  }
  // Written beside the target first, so a failed write leaves an existing book whole.
  const std::string temporary = std::string(argv[2]) + ".tmp";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out.write(packed.data(), static_cast<std::streamsize>(packed.size()));
  out.close();
  if (!out || std::rename(temporary.c_str(), argv[2]) != 0) {
    std::remove(temporary.c_str());
    std::cerr << "packtext: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
