// The browser's settings file.
#include "browser/logic/UloConfig.h"

#include "browser/logic/BrowserRules.h"
#include "platform/Classes.h"
#include "platform/IniFiles.h"
#include "platform/Numbers.h"

namespace {
const char* const kHistory = "URLlst";
const char* const kFavourites = "URL";
const char* const kOpenTabs = "AUTOURL";

std::vector<std::string> Keys(const TIniFile& ini, const std::string& section) {
  TStringList keys;
  ini.ReadSection(section, keys);
  return keys.Items();
}
}  // namespace

TUloConfig::TUloConfig(const std::string& folder)
    : path_(folder.empty() || folder.back() == '/' ? folder + "UloConfig.ini"
                                                   : folder + "/UloConfig.ini") {}

std::vector<std::string> TUloConfig::History() const {
  const TIniFile ini(path_);
  std::vector<std::string> values;
  for (const std::string& key : Keys(ini, kHistory))
    values.push_back(ini.ReadString(kHistory, key, ""));
  return values;
}

std::string TUloConfig::StoreHistory(const std::string& address, int itemCount) {
  TIniFile ini(path_);
  // The count of items is only where numbering starts: a key taken (a file edited by hand, an
  // older run with more items) is never overwritten.
  int number = itemCount + 1;
  while (ini.ValueExists(kHistory, "U" + IntToStr(number))) ++number;
  const std::string key = "U" + IntToStr(number);
  ini.WriteString(kHistory, key, SettingsValue(address));
  ini.UpdateFile();
  return key;
}

std::vector<std::string> TUloConfig::FavouriteNames() const {
  return Keys(TIniFile(path_), kFavourites);
}

std::string TUloConfig::FavouriteAddress(const std::string& name) const {
  return AddressUnder(SettingsKey(name));
}

std::string TUloConfig::AddressUnder(const std::string& key) const {
  return TIniFile(path_).ReadString(kFavourites, key, "");
}

std::string TUloConfig::AddFavourite(const std::string& name, const std::string& address) {
  TIniFile ini(path_);
  const std::string key = SettingsKey(name);
  ini.WriteString(kFavourites, key, SettingsValue(address));
  ini.UpdateFile();
  return key;
}

void TUloConfig::WriteOpenTabs(const std::vector<std::pair<std::string, std::string>>& tabs) {
  TIniFile ini(path_);
  ini.EraseSection(kOpenTabs);
  // An empty section is still written: it says the window closed with no tab open.
  ini.WriteString(kOpenTabs, " ", "");
  ini.DeleteKey(kOpenTabs, " ");
  for (const auto& [title, address] : tabs)
    ini.WriteString(kOpenTabs, SettingsKey(title), SettingsValue(address));
  ini.UpdateFile();
}
