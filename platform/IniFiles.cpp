// Settings files. The whole file is held in memory and written back in one atomic step.
//
// Keys, values and section names are stored so that they read back exactly, whatever the user
// typed into them (favourite names and page titles become keys): a backslash, CR and LF are
// escaped as "\\", "\r" and "\n", a '=' in a key as "\=", a ']' in a section name as "\]", and a
// GBK lead byte that starts no whole character (two bytes, or GB18030's four) as "\xHH" (left
// bare, it would pair with the backslash of a following escape). A text with blanks or a quote at
// either end (or a key starting with '[' or ';') is written inside double quotes. Reading trims
// each side of the first unescaped '=' and drops one pair of surrounding quotes. Escapes only ever
// apply to single-byte characters: a GBK trail byte may be 0x5C. Files written before four-byte
// characters were kept whole hold them as escaped lead bytes and digits, which read back alike.
#include "platform/IniFiles.h"

#include <string_view>

#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

namespace {

enum class Part { Key, Value, Section };

// Length of the character at `at`: 2 or 4 only for a whole character, so a lone lead byte
// stands apart and is escaped.
size_t CharLength(std::string_view text, size_t at) {
  return static_cast<size_t>(GbkCharLength(text, at));
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Encode(const std::string& text, Part part) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() + 2);
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharLength(text, at);
    const char c = text[at];
    const auto byte = static_cast<unsigned char>(c);
    if (length > 1) {
      out.append(text, at, length);
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if ((part == Part::Key && c == '=') || (part == Part::Section && c == ']')) {
      out += '\\';
      out += c;
    } else if (IsGbkLeadByte(byte)) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
    at += length;
  }
  auto blankOrQuote = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '"'; };
  bool quote = !out.empty() && (blankOrQuote(out.front()) || blankOrQuote(out.back()));
  if (part == Part::Key && !out.empty() && (out.front() == '[' || out.front() == ';')) quote = true;
  return quote ? "\"" + out + "\"" : out;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimView(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Decode(std::string_view stored) {
  std::string_view text = TrimView(stored);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    text = text.substr(1, text.size() - 2);
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharLength(text, at);
    if (length == 1 && text[at] == '\\' && at + 1 < text.size()) {
      const char next = text[at + 1];
      if (next == '\\' || next == '=' || next == ']') {
        out += next;
        at += 2;
        continue;
      }
      if (next == 'r' || next == 'n') {
        out += next == 'r' ? '\r' : '\n';
        at += 2;
        continue;
      }
      if (next == 'x' && at + 3 < text.size()) {
        const int high = HexValue(text[at + 2]), low = HexValue(text[at + 3]);
        if (high >= 0 && low >= 0 && IsGbkLeadByte(static_cast<unsigned char>(high * 16 + low))) {
          out += static_cast<char>(high * 16 + low);
          at += 4;
          continue;
        }
      }
    }
    out.append(text.substr(at, length));
    at += length;
  }
  return out;
}

// Byte offset of the first `stop` byte that is not escaped, or npos.
size_t FindUnescaped(std::string_view line, char stop, size_t from = 0) {
  for (size_t at = from; at < line.size();) {
    if (line[at] == stop) return at;
    size_t length = CharLength(line, at);
    if (line[at] == '\\' && at + 1 < line.size()) length += CharLength(line, at + 1);
    at += length;
  }
  return std::string::npos;
}

}  // namespace

// ---- Section ----

const std::string* TIniFile::Section::Value(const std::string& key) const {
  auto it = index.find(LowerCase(key));
  return it == index.end() ? nullptr : &values[it->second].second;
}

std::string& TIniFile::Section::Insert(const std::string& key, bool& added) {
  auto [it, inserted] = index.emplace(LowerCase(key), values.size());
  added = inserted;
  if (inserted) values.emplace_back(key, std::string());
  return values[it->second].second;
}

void TIniFile::Section::Reindex() {
  index.clear();
  for (size_t i = 0; i < values.size(); ++i) index.emplace(LowerCase(values[i].first), i);
}

// ---- TIniFile ----

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
  std::string bytes;
  try {
    bytes = ReadWholeFile(path_, kMaxIniFileBytes);
  } catch (const EFOpenError&) {
    // Read as empty, a file there that cannot be opened would be written over by the next
    // change.
    if (FileExists(path_)) throw;
    return;
  }
  Parse(bytes);
}

void TIniFile::Parse(const std::string& bytes) {
  const std::string_view all(bytes);
  Section* current = nullptr;
  // CR and LF are below every GBK trail byte, so splitting on bytes is safe.
  for (size_t start = 0; start < all.size();) {
    size_t end = all.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view line = TrimView(all.substr(start, end - start));
    start = end + 1;
    if (end < all.size() && all[end] == '\r' && start < all.size() && all[start] == '\n') ++start;

    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = FindUnescaped(line, ']', 1);
      current = &FindOrAdd(Decode(line.substr(1, close == std::string::npos ? close : close - 1)));
      continue;
    }
    const size_t eq = FindUnescaped(line, '=');
    if (!current || eq == std::string::npos) continue;
    // The first of two equal keys wins, as it does when looking one up.
    bool added;
    std::string& value = current->Insert(Decode(line.substr(0, eq)), added);
    if (added) value = Decode(line.substr(eq + 1));
  }
}

TIniFile::~TIniFile() {
  try {
    UpdateFile();
  } catch (...) {
  }
}

TIniFile::Section* TIniFile::Find(const std::string& section) {
  auto it = sectionIndex_.find(LowerCase(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const TIniFile::Section* TIniFile::Find(const std::string& section) const {
  auto it = sectionIndex_.find(LowerCase(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TIniFile::Section& TIniFile::FindOrAdd(const std::string& section) {
  auto [it, added] = sectionIndex_.emplace(LowerCase(section), sections_.size());
  if (added) sections_.push_back(Section{section, {}, {}});
  return sections_[it->second];
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
  const Section* s = Find(section);
  const std::string* value = s ? s->Value(key) : nullptr;
  return value ? *value : fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  return StrToIntDef(ReadString(section, key, ""), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  bool added;
  std::string& stored = FindOrAdd(section).Insert(key, added);
  if (added || stored != value) {
    stored = value;
    dirty_ = true;
  }
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
  const Section* s = Find(section);
  return s && s->Value(key);
}

void TIniFile::EraseSection(const std::string& section) {
  auto it = sectionIndex_.find(LowerCase(section));
  if (it == sectionIndex_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
  sectionIndex_.clear();
  for (size_t i = 0; i < sections_.size(); ++i)
    sectionIndex_.emplace(LowerCase(sections_[i].name), i);
  dirty_ = true;
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  Section* s = Find(section);
  if (!s) return;
  auto it = s->index.find(LowerCase(key));
  if (it == s->index.end()) return;
  s->values.erase(s->values.begin() + static_cast<std::ptrdiff_t>(it->second));
  s->Reindex();
  dirty_ = true;
}

void TIniFile::UpdateFile() {
  if (!dirty_) return;
  std::string text;
  for (const Section& s : sections_) {
    text += "[" + Encode(s.name, Part::Section) + "]\r\n";
    for (const auto& kv : s.values)
      text += Encode(kv.first, Part::Key) + "=" + Encode(kv.second, Part::Value) + "\r\n";
  }
  try {
    WriteFileAtomically(path_, text);
  } catch (const EStreamError&) {
    RaiseCannotCreate(path_);
  }
  dirty_ = false;
}
