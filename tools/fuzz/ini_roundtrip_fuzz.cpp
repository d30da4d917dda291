// libFuzzer target for settings files. The bytes are read as a settings file, and also split at
// NUL bytes into section, key and value triples that are written. Whatever was read or written
// must read back the same after the file is saved: sections, keys in order, and values.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "platform/IniFiles.h"

namespace {

std::string Scratch() {
  // In memory where there is a RAM-backed folder: every save syncs the file.
  static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  static const std::string path = folder + "/zelkar-ini-fuzz-" + std::to_string(::getpid()) + ".ini";
  return path;
}

using Content = std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>;

Content Snapshot(const TIniFile& ini) {
  Content content;
  TStringList sections, keys;
  ini.ReadSections(sections);
  for (const std::string& section : sections.Items()) {
    ini.ReadSection(section, keys);
    std::vector<std::pair<std::string, std::string>> values;
    for (const std::string& key : keys.Items())
      values.emplace_back(key, ini.ReadString(section, key, "\x01missing"));
    content.emplace_back(section, std::move(values));
  }
  return content;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  WriteFileAtomically(Scratch(), bytes);
  Content expected;
  {
    TIniFile ini(Scratch());
    // Triples written on top of what was read; the last write of a key wins.
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t nul; (nul = bytes.find('\0', start)) != std::string::npos; start = nul + 1)
      parts.push_back(bytes.substr(start, nul - start));
    parts.push_back(bytes.substr(start));
    for (size_t i = 0; i + 2 < parts.size(); i += 3) {
      ini.WriteString(parts[i], parts[i + 1], parts[i + 2]);
      if (ini.ReadString(parts[i], parts[i + 1], "\x01missing") != parts[i + 2]) std::abort();
    }
    ini.WriteString("\x02", "\x02", "dirty");  // always something to save
    expected = Snapshot(ini);
    ini.UpdateFile();
  }
  TIniFile again(Scratch());
  if (Snapshot(again) != expected) std::abort();
  return 0;
}
