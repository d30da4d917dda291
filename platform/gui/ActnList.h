// Actions: named commands with a caption, hint, enabled/visible/checked state and an image
// index, shown by any number of clients (buttons, menu items, category panel buttons) that
// follow every change and run the action when clicked.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

class TActionList;

// A client's tie to an action. It tells the client on every change of the action and lets go
// by itself when the action is freed (the client is then told with Action() == nullptr).
class TActionLink {
 public:
  explicit TActionLink(std::function<void(TBasicAction*)> onChange);
  ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction* Action() const { return action_; }
  // Links to `action` (nullptr unlinks) and tells the client once.
  void SetAction(TBasicAction* action);
  // Runs the linked action; false when there is none or it did not run.
  bool Execute();

  // A client's way to take an action: links `link` (made on first use, telling `onChange`)
  // to `action`; nullptr drops the link without a word.
  static void Assign(std::unique_ptr<TActionLink>& link, TBasicAction* action,
                     const std::function<void(TBasicAction*)>& onChange);

 private:
  friend class TBasicAction;
  void Changed();
  void Detach();
  TBasicAction* action_ = nullptr;
  std::function<void(TBasicAction*)> onChange_;
};

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;

  // Runs OnExecute; returns true when a handler ran. Exceptions go to the caller.
  virtual bool Execute();
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  // Runs OnUpdate (clients call it before they show the action's state).
  virtual bool Update();

 protected:
  // Tells every client that the action changed.
  void Change();

 private:
  friend class TActionLink;
  std::vector<TActionLink*> links_;
};

// An action that belongs to an action list and carries the state its clients show.
class TAction : public TBasicAction {
 public:
  explicit TAction(TComponent* AOwner);
  ~TAction() override;

  // Does nothing (returns false) while disabled.
  bool Execute() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& value) { category_ = value; }
  // Key combination shown by menus, e.g. "Ctrl+C"; empty for none.
  const std::string& ShortCut() const { return shortCut_; }
  void SetShortCut(const std::string& value);

  TActionList* ActionList() const { return actionList_; }
  // Adds the action to a list (removing it from its previous one); nullptr removes it.
  void SetActionList(TActionList* list);
  int Index() const;

 private:
  std::string caption_;
  std::string hint_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  int imageIndex_ = -1;
  std::string category_;
  std::string shortCut_;
  TActionList* actionList_ = nullptr;
  friend class TActionList;
};

class TActionList : public TComponent {
 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;

  int ActionCount() const { return static_cast<int>(actions_.size()); }
  TAction* Actions(int index) const;
  // Runs before an action's own handler; set Handled to stop it.
  std::function<void(TBasicAction* Action, bool& Handled)> OnExecute;
  // Images that clients show by the actions' image indices (not owned).
  TImageList* Images = nullptr;

 private:
  friend class TAction;
  std::vector<TAction*> actions_;
};

// Creates an action owned by `owner`, named and in `list`, with a caption and a handler.
TAction* NewAction(TComponent* owner, TActionList* list, const std::string& name,
                   const std::string& caption, TNotifyEvent onExecute = {});
