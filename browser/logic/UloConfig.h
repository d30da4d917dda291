// The browser's settings file UloConfig.ini beside the program: the addresses typed into the
// address box (section URLlst), the favourites (URL: name = address) and the tabs open when the
// window went (AUTOURL: title = address). Every call opens the file, reads or writes it and
// closes it again; a missing file reads as empty. Writers raise EFCreateError when the file
// cannot be written; what was there stays whole.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TUloConfig {
 public:
  // The file in the given folder (the program's).
  explicit TUloConfig(const std::string& folder);
  const std::string& FileName() const { return path_; }

  // Typed addresses, in file order.
  std::vector<std::string> History() const;
  // Stores a typed address under "U" + the first free number from itemCount + 1 (the address
  // box's item count) and returns the key.
  std::string StoreHistory(const std::string& address, int itemCount);

  // Favourite names, in file order.
  std::vector<std::string> FavouriteNames() const;
  // The address stored under the name as the dialog stores it; "" when there is none.
  std::string FavouriteAddress(const std::string& name) const;
  // The address stored under exactly this key (a name as FavouriteNames lists it); "" when
  // there is none.
  std::string AddressUnder(const std::string& key) const;
  // Stores name = address (a name stored before gets the new address) and returns the name as
  // stored, which is also the caption of its menu item.
  std::string AddFavourite(const std::string& name, const std::string& address);

  // Replaces AUTOURL by the tabs given (title, address), in order; with none the section stays,
  // empty.
  void WriteOpenTabs(const std::vector<std::pair<std::string, std::string>>& tabs);

 private:
  std::string path_;
};
