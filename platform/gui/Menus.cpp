// Menu items, main menus and pop-up menus on the toolkit's actions and menus.
#include "platform/gui/Menus.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <algorithm>

#include "platform/gui/ActnList.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

TMenuItem::TMenuItem(TComponent* AOwner)
    : TComponent(AOwner), qaction_(std::make_unique<QAction>()) {
  QObject::connect(qaction_.get(), &QAction::triggered, qaction_.get(), [this] {
    if (IsDestroying()) return;
    RunHandler(this, [this] { Click(); });
  });
}

TMenuItem::~TMenuItem() {
  Destroying();
  actionLink_.reset();
  if (parent_) parent_->Remove(this);
  for (TMenuItem* child : items_) child->parent_ = nullptr;
  items_.clear();
  submenu_.reset();
  qaction_.reset();
}

namespace {
TMenu* MenuOf(TMenuItem* item) {
  while (item->Parent()) item = item->Parent();
  return dynamic_cast<TMenu*>(item->Owner());
}
}  // namespace

void TMenuItem::UpdateNative() {
  // A line shows no text: the toolkit's style would print the "-" beside it.
  qaction_->setText(IsLine() ? QString() : ToQCaption(caption_));
  qaction_->setSeparator(IsLine());
  qaction_->setEnabled(enabled_);
  qaction_->setVisible(visible_);
  qaction_->setCheckable(checked_ || AutoCheck || RadioItem);
  qaction_->setChecked(checked_);
  if (!items_.empty()) {
    if (!submenu_) submenu_ = std::make_unique<QMenu>();
    submenu_->clear();
    for (TMenuItem* child : items_) submenu_->addAction(child->qaction_.get());
    qaction_->setMenu(submenu_.get());
  } else if (submenu_) {
    qaction_->setMenu(nullptr);
    submenu_.reset();
  }
}

void TMenuItem::UpdateImages() {
  TMenu* menu = MenuOf(this);
  TImageList* images = menu ? menu->Images() : nullptr;
  const QImage* picture = images ? images->Image(imageIndex_) : nullptr;
  // A disabled item's picture is greyed by the toolkit, as its caption is.
  if (picture)
    qaction_->setIcon(QIcon(QPixmap::fromImage(*picture)));
  else if (!qaction_->icon().isNull())
    qaction_->setIcon(QIcon());
  for (TMenuItem* child : items_) child->UpdateImages();
}

void TMenuItem::SetImageIndex(int value) {
  imageIndex_ = value;
  UpdateImages();
}

QMenu* TMenuItem::NativeSubMenu() {
  UpdateNative();
  return submenu_.get();
}

void TMenuItem::SetCaption(const std::string& value) {
  caption_ = value;
  UpdateNative();
}
void TMenuItem::SetEnabled(bool value) {
  enabled_ = value;
  UpdateNative();
}
void TMenuItem::SetVisible(bool value) {
  visible_ = value;
  UpdateNative();
}
void TMenuItem::SetChecked(bool value) {
  checked_ = value;
  if (value && RadioItem && parent_) {
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->RadioItem && sibling->checked_) sibling->SetChecked(false);
  }
  UpdateNative();
}
void TMenuItem::SetShortCut(const std::string& value) {
  qaction_->setShortcut(QKeySequence(ToQ(value)));
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  item->UpdateImages();  // its menu, and with it its pictures, may have changed
  if (submenu_) {
    // The sub-menu holds the items' actions in order: the new one goes in its place, instead
    // of the whole menu being built again for every item a window adds.
    QAction* before = index + 1 < Count() ? items_[index + 1]->qaction_.get() : nullptr;
    submenu_->insertAction(before, item->qaction_.get());
  } else {
    UpdateNative();
  }
  if (TMenu* menu = MenuOf(this); menu && !parent_) menu->Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (IsDestroying()) return;
  UpdateNative();
  if (TMenu* menu = MenuOf(this); menu && !parent_) menu->Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

TBasicAction* TMenuItem::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* action) {
  TActionLink::Assign(actionLink_, action, [this](TBasicAction* a) { ActionChange(a); });
}

void TMenuItem::ActionChange(TBasicAction* sender) {
  auto* action = dynamic_cast<TAction*>(sender);
  if (!action || IsDestroying()) return;
  caption_ = action->Caption();
  hint_ = action->Hint();
  enabled_ = action->Enabled();
  visible_ = action->Visible();
  checked_ = action->Checked();
  imageIndex_ = action->ImageIndex();
  UpdateImages();
  if (!action->ShortCut().empty()) qaction_->setShortcut(QKeySequence(ToQ(action->ShortCut())));
  UpdateNative();
}

void TMenuItem::Click() {
  if (AutoCheck) SetChecked(!checked_);
  if (OnClick) {
    OnClick(this);
  } else if (actionLink_ && actionLink_->Action()) {
    actionLink_->Execute();
  }
}

// ---------------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), root_(new TMenuItem(this)) {
  imagesLink_.OnChange = [this] { root_->UpdateImages(); };
  imagesLink_.OnFree = [this] { root_->UpdateImages(); };
}

void TMenu::SetImages(TImageList* value) {
  if (value == Images()) return;
  if (value)
    value->RegisterChanges(&imagesLink_);
  else if (Images())
    Images()->UnRegisterChanges(&imagesLink_);
  root_->UpdateImages();
}

TMenu::~TMenu() {
  OnChange = nullptr;
  imagesLink_.OnChange = nullptr;
  imagesLink_.OnFree = nullptr;
  Destroying();
}

void TMenu::Changed() {
  if (OnChange && !IsDestroying()) OnChange();
}

namespace {
TMenuItem* FindCaption(TMenuItem* item, const std::string& caption) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    if (StripAccelerator(child->Caption()) == StripAccelerator(caption)) return child;
    if (TMenuItem* inner = FindCaption(child, caption)) return inner;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItemByCaption(const std::string& caption) const {
  return FindCaption(root_, caption);
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  if (TMenuItem* chosen = DialogDriver().PopupMenu(*this, x, y)) chosen->Click();
}

TMenuItem* NewMenuItem(TComponent* owner, TMenuItem* parent, const std::string& name,
                       const std::string& caption, TNotifyEvent onClick) {
  auto* item = new TMenuItem(owner);
  item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  if (parent) parent->Add(item);
  return item;
}
