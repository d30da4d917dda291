// The site menus built from the site table.
#include "browser/logic/SiteList.h"

#include <algorithm>

namespace {

TSiteMenu& Submenu(std::vector<TSiteMenu>& items, const std::string& caption) {
  auto found = std::find_if(items.begin(), items.end(),
                            [&](const TSiteMenu& m) { return !m.Entry && m.Caption == caption; });
  if (found != items.end()) return *found;
  items.push_back(TSiteMenu{caption, nullptr, {}});
  return items.back();
}

}  // namespace

const TSiteEntry* FindSiteEntry(int action) {
  for (const TSiteEntry& e : SiteEntries())
    if (e.Action == action) return &e;
  return nullptr;
}

std::vector<TSiteMenu> SiteMenus() {
  std::vector<TSiteMenu> menus;
  const std::string divination = "易学网站";
  bool emptyPlaced = false;
  for (const TSiteEntry& e : SiteEntries()) {
    const std::string path = e.Menu;
    if (path.empty()) continue;
    const size_t slash = path.find('/');
    TSiteMenu& top = Submenu(menus, path.substr(0, slash));
    if (slash != std::string::npos) {
      Submenu(top.Items, path.substr(slash + 1)).Items.push_back(TSiteMenu{e.Caption, &e, {}});
      continue;
    }
    if (top.Caption == divination && !emptyPlaced) {
      for (const std::string& name : EmptySiteSubmenus())
        top.Items.push_back(TSiteMenu{name, nullptr, {}});
      emptyPlaced = true;
    }
    top.Items.push_back(TSiteMenu{e.Caption, &e, {}});
  }
  return menus;
}
