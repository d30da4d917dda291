// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/zelkar-core-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "";
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries in the folder, sorted, as the file system spells them.
  std::string Listing() const {
    std::string names;
    std::vector<std::string> all;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      all.push_back(entry.path().filename().string());
    std::sort(all.begin(), all.end());
    for (const auto& n : all) names += n + ";";
    return names;
  }

 private:
  std::string path_;
};
