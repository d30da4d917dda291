// The address box, the favourites menu and the settings file of the browser window.
#include <algorithm>

#include "browser/AddFrm.h"
#include "browser/REZFrm.h"
#include "browser/logic/BrowserRules.h"
#include "browser/logic/UloConfig.h"
#include "platform/Exceptions.h"
#include "platform/gui/Dialogs.h"

void TMainForm::WriteConfig(const std::function<void()>& write) {
  try {
    write();
  } catch (const Exception&) {
    if (configFailureTold_) return;
    configFailureTold_ = true;
    ShowMessage("设置文件无法写入:" + TUloConfig(ConfigFolder).FileName() +
                "\n历史地址和收藏本次不会保存。");
  }
}

void TMainForm::LoadConfig() {
  const TUloConfig config(ConfigFolder);
  for (const std::string& address : config.History()) RCbbURL->AddItem(address);
  for (const std::string& name : config.FavouriteNames()) AddFavouriteMenuItem(name);
}

void TMainForm::AddFavouriteMenuItem(const std::string& Name) {
  TMenuItem* item = new TMenuItem(this);
  item->SetCaption(Name);
  item->OnClick = Handler(this, &TMainForm::ClickPop);
  pm->Items()->Add(item);
}

void TMainForm::AddFavourite(const std::string& Name, const std::string& URL) {
  std::string key;
  bool stored = false;
  WriteConfig([&] {
    key = TUloConfig(ConfigFolder).AddFavourite(Name, URL);
    stored = true;
  });
  // The item reads its address from the file when clicked: without the file, no item.
  if (stored) AddFavouriteMenuItem(key);
}

void TMainForm::ClickPop(TComponent* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  NewTab(TUloConfig(ConfigFolder).FavouriteAddress(item->Caption()));
}

void TMainForm::RCbbURLKeyDown(TComponent*, uint16_t& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  std::string text = RCbbURL->GetText();
  const std::string completed = CompleteAddress(text);
  if (completed != text) {
    text = completed;
    RCbbURL->SetText(text);
  }
  NewTab(text);
  // Compared byte for byte: the same address in another case is stored again.
  const auto& items = RCbbURL->Items().Items();
  if (std::find(items.begin(), items.end(), text) != items.end()) return;
  const int count = RCbbURL->Items().Count();
  WriteConfig([&] { TUloConfig(ConfigFolder).StoreHistory(text, count); });
  RCbbURL->AddItem(text);
}

void TMainForm::N1Click(TComponent*) {
  const std::string address = RCbbURL->GetText();
  if (address.empty() || !AddURLForm) return;
  AddURLForm->REDTURL->SetText(address);
  AddURLForm->REDTName->SetText(PCT->ActivePage() ? PCT->ActivePage()->Caption() : "");
  AddURLForm->ShowModal();
}

void TMainForm::FormDestroy(TComponent*) {
  std::vector<std::pair<std::string, std::string>> tabs;
  for (int i = 1; i < PCT->PageCount(); ++i) {
    CurrentTabName = PCT->Pages(i)->Name();
    CurrentTabCommand(6);
    const std::string title = CmdResult;
    CurrentTabCommand(7);
    tabs.emplace_back(title, CmdResult);
  }
  // The program is ending: a settings file that cannot be written must not stop it.
  try {
    TUloConfig(ConfigFolder).WriteOpenTabs(tabs);
  } catch (...) {
  }
}
