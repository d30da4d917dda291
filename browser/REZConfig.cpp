// The address box, the favourites menu and the settings file of the browser window.
#include <algorithm>

#include "browser/AddFrm.h"
#include "browser/REZFrm.h"
#include "browser/logic/BrowserRules.h"
#include "browser/logic/UloConfig.h"
#include "platform/Exceptions.h"
#include "platform/GbkText.h"
#include "platform/gui/Dialogs.h"
#include "widgets/WkTabText.h"

void TMainForm::TellConfigFailure(const Exception& failure) {
  if (configFailureTold_) return;
  configFailureTold_ = true;
  // A file that could not be read (too big, not to be opened) is never written over.
  const bool unread =
      dynamic_cast<const EReadError*>(&failure) || dynamic_cast<const EFOpenError*>(&failure);
  ShowMessage(unread ? failure.Message() + "。\n设置文件保持原样，历史地址和收藏本次不会保存。"
                     : "设置文件无法写入:" + settings_->Config().FileName() +
                           "\n历史地址和收藏本次不会保存。");
}

void TMainForm::WriteConfig(const std::function<void()>& write) {
  try {
    write();
  } catch (const Exception& e) {
    TellConfigFailure(e);
  }
}

void TMainForm::LoadConfig() {
  try {
    settings_->Load();
  } catch (const Exception& e) {
    TellConfigFailure(e);
    return;
  }
  for (const std::string& address : settings_->History()) RCbbURL->AddItem(address);
  for (const std::string& name : settings_->Favourites()) AddFavouriteMenuItem(name);
}

void TMainForm::AddFavouriteMenuItem(const std::string& Name) {
  TMenuItem* item = new TMenuItem(this);
  // A name is text, often a page's title: an '&' in it is shown, not taken as an accelerator.
  item->SetCaption(CharReplaceAll(Name, "&", "&&"));
  item->OnClick = Handler(this, &TMainForm::ClickPop);
  pm->Items()->Add(item);
  favouriteItems_.push_back(item);
}

void TMainForm::AddFavourite(const std::string& Name, const std::string& URL) {
  // Without the file, no item: the next start would not list it.
  WriteConfig([&] {
    const int index = settings_->AddFavourite(Name, URL);
    AddFavouriteMenuItem(settings_->Favourites()[static_cast<size_t>(index)]);
  });
}

void TMainForm::ClickPop(TComponent* Sender) {
  // Found by its place among the favourites, never by its caption.
  const auto found = std::find(favouriteItems_.begin(), favouriteItems_.end(), Sender);
  if (found == favouriteItems_.end()) return;
  NewTab(settings_->FavouriteAddress(static_cast<int>(found - favouriteItems_.begin())));
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
  // Compared byte for byte: the same address in another case is stored again. A file that
  // cannot be written still leaves the address offered for this run.
  bool added = true;
  WriteConfig([&] { added = settings_->AddTyped(text); });
  if (added) RCbbURL->AddItem(text);
}

void TMainForm::N1Click(TComponent*) {
  const std::string address = RCbbURL->GetText();
  if (address.empty() || !AddURLForm) return;
  AddURLForm->REDTURL->SetText(address);
  // The caption as the tab shows it: a page title's '&' is doubled there.
  AddURLForm->REDTName->SetText(
      PCT->ActivePage() ? StripTabAccelerator(PCT->ActivePage()->Caption()) : "");
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
