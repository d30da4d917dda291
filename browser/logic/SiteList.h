// The browser's built-in sites: one table drives the site menus and the coloured buttons under
// the address box. Texts are GBK.
#pragma once

#include <string>
#include <vector>

struct TSiteEntry {
  int Action;           // the browser window's Action<n>
  const char* Menu;     // "赛果网站" or "易学网站/<submenu>"; "" when no menu shows it
  const char* Caption;  // the site's name
  const char* Address;
  int ButtonSlot;  // WkToolButton<n> (1 to 10) shows it; 0: no button
};

// The 72 entries in menu order.
const std::vector<TSiteEntry>& SiteEntries();
// Topic submenus of 易学网站 that hold no entry, in menu order; they follow the submenus with
// entries and precede the menu's own entries.
const std::vector<std::string>& EmptySiteSubmenus();
// The entry of an action number, or nullptr.
const TSiteEntry* FindSiteEntry(int action);

// A node of the site menus: a submenu (Entry is null) or an entry.
struct TSiteMenu {
  std::string Caption;
  const TSiteEntry* Entry = nullptr;
  std::vector<TSiteMenu> Items;
};
// The top menus 赛果网站 and 易学网站 with everything under them, in order.
std::vector<TSiteMenu> SiteMenus();

// The addresses the address box offers before any typed one.
const std::vector<std::string>& BuiltInAddresses();

// The pages of the 主页 and 搜索 buttons: the build's setting when it names one, else a public
// Chinese portal and a public search site.
std::string HomePageAddress(const std::string& built);
std::string SearchPageAddress(const std::string& built);
