// Settings files (.ini) of GBK text: [section] headers and key=value lines. Keys and sections
// match ignoring ASCII case. Values may hold '='; a line break inside a value is stored
// escaped, so a value always reads back as it was written. Keys and section names read back
// exactly as well, even with '=', ']', line breaks or surrounding blanks (favourite names and
// page titles become keys). Lookups are indexed, so reading a file costs time in proportion to
// its size. Nothing is ever written over a file that was not read: the constructor raises
// EReadError for a file above kMaxIniFileBytes (or one that fails while read) and EFOpenError
// for a file that is there but cannot be opened.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Classes.h"

class TIniFile {
 public:
  static constexpr int64_t kMaxIniFileBytes = 64LL << 20;

  // Reads the file if it exists. A missing file, or a folder in its place (which no write
  // can replace), gives an empty set; any other file that cannot be read raises, as above.
  explicit TIniFile(std::string path);
  ~TIniFile();  // writes pending changes (UpdateFile), never throws
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  void ReadSection(const std::string& section, TStringList& keys) const;
  void ReadSections(TStringList& sections) const;
  void ReadSectionValues(const std::string& section, TStringList& lines) const;
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);

  // Writes the file atomically if anything changed; raises EFCreateError on failure.
  void UpdateFile();

 private:
  // Keys in the order written, and an index from the case-folded key to its place.
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
    std::unordered_map<std::string, size_t> index;
    const std::string* Value(const std::string& key) const;
    // Adds the key unless an equal one is there; returns its value.
    std::string& Insert(const std::string& key, bool& added);
    void Reindex();
  };
  Section* Find(const std::string& section);
  const Section* Find(const std::string& section) const;
  Section& FindOrAdd(const std::string& section);
  void Parse(const std::string& bytes);

  std::string path_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;
  bool dirty_ = false;
};
