// Small rules of the browser window.
#include "browser/logic/BrowserRules.h"

#include "platform/GbkText.h"

std::string TabCaption(const std::string& title) {
  const std::string shown = CharCount(title) < 31 ? title : LeftChars(title, 10) + "...";
  return CharReplaceAll(shown, "&", "&&");
}

std::string CompleteAddress(const std::string& typed) {
  if (typed.empty() || typed.find('.') != std::string::npos) return typed;
  return "http://www." + typed + ".com";
}

bool IsWebAddress(const std::string& address) {
  const std::string lower = LowerCase(address.substr(0, 8));
  return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
}

namespace {
std::string WithoutLineBreaks(const std::string& text, const std::string& instead) {
  std::string out;
  for (const char c : text) {
    if (c == '\r' || c == '\n')
      out += instead;
    else
      out += c;
  }
  return out;
}
}  // namespace

std::string SettingsKey(const std::string& text) {
  std::string key = Trim(CharReplaceAll(WithoutLineBreaks(text, " "), "=", "＝"));
  while (!key.empty() && (key.front() == '[' || key.front() == ';')) key = Trim(key.substr(1));
  return key;
}

std::string SettingsValue(const std::string& text) { return Trim(WithoutLineBreaks(text, "")); }
