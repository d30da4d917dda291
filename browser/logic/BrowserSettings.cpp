// The browser window's settings as it uses them.
#include "browser/logic/BrowserSettings.h"

#include <algorithm>

TBrowserSettings::TBrowserSettings(const std::string& folder,
                                   std::vector<std::string> builtInAddresses)
    : config_(folder), builtIns_(std::move(builtInAddresses)) {}

void TBrowserSettings::Load() {
  history_ = config_.History();
  favourites_ = config_.FavouriteNames();
}

std::vector<std::string> TBrowserSettings::Addresses() const {
  std::vector<std::string> all = builtIns_;
  all.insert(all.end(), history_.begin(), history_.end());
  return all;
}

bool TBrowserSettings::Offers(const std::string& address) const {
  return std::find(builtIns_.begin(), builtIns_.end(), address) != builtIns_.end() ||
         std::find(history_.begin(), history_.end(), address) != history_.end();
}

bool TBrowserSettings::AddTyped(const std::string& address) {
  if (Offers(address)) return false;
  // Numbered after everything offered before it, as the list it joins counts them.
  const int offered = static_cast<int>(builtIns_.size() + history_.size());
  history_.push_back(address);
  config_.StoreHistory(address, offered);
  return true;
}

int TBrowserSettings::AddFavourite(const std::string& name, const std::string& address) {
  favourites_.push_back(config_.AddFavourite(name, address));
  return static_cast<int>(favourites_.size()) - 1;
}

std::string TBrowserSettings::FavouriteAddress(int index) const {
  if (index < 0 || index >= static_cast<int>(favourites_.size())) return "";
  return config_.AddressUnder(favourites_[static_cast<size_t>(index)]);
}
