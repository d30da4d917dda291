// An update server and a program folder for tests of the online update: the test server serves
// a folder laid out as the real server is (download/bd/<name>, download/Voduravurazivizevo.exe
// and its .sig), a fresh key pair signs programs, and a program folder holds a stand-in for the
// running program. The logic tests and the window tests of the update share it.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/platform/core_TempFolder.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/TestSigningKey.h"
#include "tools/packtext/PackText.h"

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline unsigned FileMode(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Names in a folder, sorted, each followed by ';'.
inline std::string FolderListing(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string listing;
  for (const std::string& name : names) listing += name + ";";
  return listing;
}

class UpdateServerFixture {
 public:
  UpdateServerFixture() {
    std::filesystem::create_directories(served / "download/bd");
    WriteBytes(ProgramFile(), oldProgram);
  }

  // The served copy of a data file, and what it holds.
  void ServeData(const std::string& name, const std::string& bytes) {
    WriteBytes(served / ("download/bd/" + name), bytes);
  }
  // Each file as it reads where the program reads it: a book packed as the packer packs it, the
  // formula file twelve records of digits.
  static std::string DataBytes(const std::string& name) {
    if (name != "gs.dat") return PackText("新" + name + "\r\n");
    std::string formulas;
    for (int k = 1; k <= 12; ++k) formulas += "0" + std::to_string(10 + k) + "010203040506";
    return formulas + "\r\n";
  }
  // A new program as the maker publishes it: these bytes and their signature.
  void ServeProgram(const std::string& bytes, const std::string& signature) {
    WriteBytes(served / "download/Voduravurazivizevo.exe", bytes);
    WriteBytes(served / "download/Voduravurazivizevo.exe.sig", signature);
  }
  void ServeSignedProgram() { ServeProgram(newProgram, maker.Sign(newProgram)); }

  std::string ProgramFile() const { return program / programName; }
  std::string DataFile(const std::string& name) const { return program / ("bd/" + name); }

  TempFolder served;
  TempFolder program;
  std::string programName = "Qeva";
  TestHttpServer server{served.Path()};
  TestSigningKey maker;
  TestSigningKey stranger;
  const std::string oldProgram = "the program that runs now";
  // Any program of this machine will do as the new one.
  const std::string newProgram = ReadBytes("/bin/true");
};
