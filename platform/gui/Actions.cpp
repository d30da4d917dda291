// Actions, action lists and the links that keep their clients in step.
#include <algorithm>

#include "platform/gui/ActnList.h"

TActionLink::TActionLink(std::function<void(TBasicAction*)> onChange)
    : onChange_(std::move(onChange)) {}

TActionLink::~TActionLink() {
  if (action_) {
    auto& links = action_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
}

void TActionLink::SetAction(TBasicAction* action) {
  if (action == action_) return;
  if (action_) {
    auto& links = action_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  action_ = action;
  if (action_) action_->links_.push_back(this);
  Changed();
}

bool TActionLink::Execute() { return action_ && action_->Execute(); }

void TActionLink::Assign(std::unique_ptr<TActionLink>& link, TBasicAction* action,
                         const std::function<void(TBasicAction*)>& onChange) {
  if (!action) {
    link.reset();
    return;
  }
  if (!link) link = std::make_unique<TActionLink>(onChange);
  link->SetAction(action);
}

void TActionLink::Changed() {
  if (onChange_) onChange_(action_);
}

void TActionLink::Detach() {
  action_ = nullptr;
  Changed();
}

// ---------------------------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  // Clients let go; each is told once with no action.
  const std::vector<TActionLink*> links = std::move(links_);
  links_.clear();
  for (TActionLink* link : links) link->Detach();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::Change() {
  const std::vector<TActionLink*> links = links_;
  for (TActionLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Changed();
}

// ---------------------------------------------------------------------------------------------

TAction::TAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TAction::~TAction() { SetActionList(nullptr); }

bool TAction::Execute() {
  Update();
  if (!enabled_) return false;
  if (actionList_ && actionList_->OnExecute) {
    bool handled = false;
    actionList_->OnExecute(this, handled);
    if (handled) return true;
  }
  return TBasicAction::Execute();
}

void TAction::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Change();
}

void TAction::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  Change();
}

void TAction::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Change();
}

void TAction::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Change();
}

void TAction::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Change();
}

void TAction::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Change();
}

void TAction::SetShortCut(const std::string& value) {
  if (value == shortCut_) return;
  shortCut_ = value;
  Change();
}

void TAction::SetActionList(TActionList* list) {
  if (list == actionList_) return;
  if (actionList_) {
    auto& actions = actionList_->actions_;
    actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
  }
  actionList_ = list;
  if (list) list->actions_.push_back(this);
}

int TAction::Index() const {
  if (!actionList_) return -1;
  const auto& actions = actionList_->actions_;
  auto it = std::find(actions.begin(), actions.end(), this);
  return it == actions.end() ? -1 : static_cast<int>(it - actions.begin());
}

// ---------------------------------------------------------------------------------------------

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  // The actions may outlive the list (they have their own owner); they only leave it.
  const std::vector<TAction*> actions = actions_;
  for (TAction* a : actions) a->actionList_ = nullptr;
  actions_.clear();
}

TAction* TActionList::Actions(int index) const {
  if (index < 0 || index >= ActionCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return actions_[static_cast<size_t>(index)];
}

TAction* NewAction(TComponent* owner, TActionList* list, const std::string& name,
                   const std::string& caption, TNotifyEvent onExecute) {
  auto* action = new TAction(owner);
  action->SetName(name);
  action->SetCaption(caption);
  action->SetActionList(list);
  action->OnExecute = std::move(onExecute);
  return action;
}
