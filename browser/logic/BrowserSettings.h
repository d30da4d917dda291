// What the browser window keeps between runs, as the window uses it: the addresses the address
// box offers (built-in ones, then typed ones) and the favourites in the order listed. Each
// favourite is found by the name it was listed under, which is its key in the settings file as
// read, so a name the file spells its own way (a hand-edited "=" or a quoted blank) opens the
// address stored under it. Typed addresses get keys numbered from what is stored, not from
// what some list happens to show. Texts are GBK.
#pragma once

#include <string>
#include <vector>

#include "browser/logic/UloConfig.h"

class TBrowserSettings {
 public:
  TBrowserSettings(const std::string& folder, std::vector<std::string> builtInAddresses);
  const TUloConfig& Config() const { return config_; }

  // Reads the typed addresses and the favourite names from the file.
  void Load();

  // Built-in addresses, then typed ones, in that order.
  std::vector<std::string> Addresses() const;
  const std::vector<std::string>& History() const { return history_; }
  // Whether the address is offered already (compared byte for byte).
  bool Offers(const std::string& address) const;
  // Offers a typed address from now on and stores it under the next free key. False when it
  // was offered already (nothing stored). Raises EFCreateError when the file cannot be
  // written; the address is offered for this run all the same.
  bool AddTyped(const std::string& address);

  // Favourite names in menu order.
  const std::vector<std::string>& Favourites() const { return favourites_; }
  // Stores name = address and lists the name as stored; returns its index. Raises
  // EFCreateError (and lists nothing) when the file cannot be written.
  int AddFavourite(const std::string& name, const std::string& address);
  // The address stored under favourite `index` now; "" when there is none.
  std::string FavouriteAddress(int index) const;

 private:
  TUloConfig config_;
  std::vector<std::string> builtIns_;
  std::vector<std::string> history_;
  std::vector<std::string> favourites_;
};
