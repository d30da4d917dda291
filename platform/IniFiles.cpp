// Settings files. The whole file is held in memory and written back in one atomic step.
//
// Keys and values are stored so that they read back exactly, whatever the user typed into them
// (favourite names and page titles become keys): a backslash, CR and LF are escaped as "\\",
// "\r" and "\n", a '=' in a key as "\=", and a text with blanks or a quote at either end (or a
// key starting with '[' or ';') is written inside double quotes. Reading trims each side of the
// first unescaped '=' and drops one pair of surrounding quotes. Escapes only ever apply to
// single-byte characters: a GBK trail byte may be 0x5C.
#include "platform/IniFiles.h"

#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

namespace {

std::string Encode(const std::string& text, bool isKey) {
  std::string out;
  for (const std::string& ch : SplitChars(text)) {
    if (ch == "\\")
      out += "\\\\";
    else if (ch == "\r")
      out += "\\r";
    else if (ch == "\n")
      out += "\\n";
    else if (isKey && ch == "=")
      out += "\\=";
    else
      out += ch;
  }
  auto blankOrQuote = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '"'; };
  bool quote = !out.empty() && (blankOrQuote(out.front()) || blankOrQuote(out.back()));
  if (isKey && !out.empty() && (out.front() == '[' || out.front() == ';')) quote = true;
  return quote ? "\"" + out + "\"" : out;
}

std::string Decode(const std::string& stored) {
  std::string text = Trim(stored);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    text = text.substr(1, text.size() - 2);
  std::string out;
  std::vector<std::string> chars = SplitChars(text);
  for (size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] == "\\" && i + 1 < chars.size()) {
      const std::string& next = chars[i + 1];
      if (next == "\\" || next == "=" || next == "r" || next == "n") {
        out += next == "r" ? "\r" : next == "n" ? "\n" : next;
        ++i;
        continue;
      }
    }
    out += chars[i];
  }
  return out;
}

// Byte offset of the first '=' that is not escaped, or npos.
size_t FindSeparator(const std::string& line) {
  for (size_t at = 0; at < line.size();) {
    if (line[at] == '=') return at;
    size_t length = static_cast<size_t>(GbkCharLength(line, at));
    if (line[at] == '\\' && at + 1 < line.size())
      length += static_cast<size_t>(GbkCharLength(line, at + 1));
    at += length;
  }
  return std::string::npos;
}

}  // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
  std::string bytes;
  try {
    bytes = ReadWholeFile(path_);
  } catch (const EStreamError&) {
    return;
  }
  TStringList lines;
  lines.SetText(bytes);
  Section* current = nullptr;
  for (const std::string& raw : lines.Items()) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      std::string name =
          Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      current = Find(name);
      if (!current) {
        sections_.push_back(Section{name, {}});
        current = &sections_.back();
      }
      continue;
    }
    size_t eq = FindSeparator(line);
    if (!current || eq == std::string::npos) continue;
    std::string key = Decode(line.substr(0, eq));
    // The first of two equal keys wins, as it does when looking one up.
    bool seen = false;
    for (const auto& kv : current->values) seen = seen || SameText(kv.first, key);
    if (!seen) current->values.emplace_back(key, Decode(line.substr(eq + 1)));
  }
}

TIniFile::~TIniFile() {
  try {
    UpdateFile();
  } catch (...) {
  }
}

TIniFile::Section* TIniFile::Find(const std::string& section) {
  for (Section& s : sections_)
    if (SameText(s.name, section)) return &s;
  return nullptr;
}

const TIniFile::Section* TIniFile::Find(const std::string& section) const {
  for (const Section& s : sections_)
    if (SameText(s.name, section)) return &s;
  return nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
  if (const Section* s = Find(section))
    for (const auto& kv : s->values)
      if (SameText(kv.first, key)) return kv.second;
  return fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  return StrToIntDef(ReadString(section, key, ""), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  Section* s = Find(section);
  if (!s) {
    sections_.push_back(Section{section, {}});
    s = &sections_.back();
  }
  for (auto& kv : s->values) {
    if (SameText(kv.first, key)) {
      if (kv.second != value) {
        kv.second = value;
        dirty_ = true;
      }
      return;
    }
  }
  s->values.emplace_back(key, value);
  dirty_ = true;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::ReadSection(const std::string& section, TStringList& keys) const {
  keys.Clear();
  if (const Section* s = Find(section))
    for (const auto& kv : s->values) keys.Add(kv.first);
}

void TIniFile::ReadSections(TStringList& sections) const {
  sections.Clear();
  for (const Section& s : sections_) sections.Add(s.name);
}

void TIniFile::ReadSectionValues(const std::string& section, TStringList& lines) const {
  lines.Clear();
  if (const Section* s = Find(section))
    for (const auto& kv : s->values) lines.Add(kv.first + "=" + kv.second);
}

bool TIniFile::SectionExists(const std::string& section) const { return Find(section) != nullptr; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  if (const Section* s = Find(section))
    for (const auto& kv : s->values)
      if (SameText(kv.first, key)) return true;
  return false;
}

void TIniFile::EraseSection(const std::string& section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (SameText(it->name, section)) {
      sections_.erase(it);
      dirty_ = true;
      return;
    }
  }
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  Section* s = Find(section);
  if (!s) return;
  for (auto it = s->values.begin(); it != s->values.end(); ++it) {
    if (SameText(it->first, key)) {
      s->values.erase(it);
      dirty_ = true;
      return;
    }
  }
}

void TIniFile::UpdateFile() {
  if (!dirty_) return;
  std::string text;
  for (const Section& s : sections_) {
    text += "[" + s.name + "]\r\n";
    for (const auto& kv : s.values)
      text += Encode(kv.first, true) + "=" + Encode(kv.second, false) + "\r\n";
  }
  try {
    WriteFileAtomically(path_, text);
  } catch (const EStreamError&) {
    throw EFCreateError("Cannot create file \"" + path_ + "\"");
  }
  dirty_ = false;
}
