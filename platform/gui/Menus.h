// Main and pop-up menus. Items may be bound to a handler or to an action (whose caption,
// enabled, visible and checked state they show); '&' marks an accelerator, "-" is a separator.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

class QAction;
class QMenu;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool RadioItem = false;
  bool AutoCheck = false;
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  // Key combination in the toolkit's notation, e.g. "Ctrl+S"; empty for none.
  void SetShortCut(const std::string& value);
  bool IsLine() const { return caption_ == "-"; }
  // The item's picture: an index into its menu's Images, -1 for none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  // Sub-items; an item with sub-items opens a sub-menu.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return parent_; }
  // Appends (or inserts at index) an item, which stays owned by its own owner.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  // Index among the parent's items (-1 without parent).
  int MenuIndex() const;

  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);

  TNotifyEvent OnClick;
  // Runs the linked action or OnClick; exceptions go to the caller.
  virtual void Click();

  // Internal: the native entry of the item.
  QAction* NativeAction() const { return qaction_.get(); }
  QMenu* NativeSubMenu();

 private:
  void ActionChange(TBasicAction* action);
  void UpdateNative();
  // Shows the item's picture from its menu's images, and those of its sub-items.
  void UpdateImages();
  std::string caption_;
  std::string hint_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  int imageIndex_ = -1;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::unique_ptr<QAction> qaction_;
  std::unique_ptr<QMenu> submenu_;  // while the item has items
  std::unique_ptr<TActionLink> actionLink_;
  friend class TMenu;
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  // The invisible root whose sub-items are the menu's items.
  TMenuItem* Items() const { return root_; }
  // Finds an item by caption along the tree (accelerator marks ignored), or nullptr.
  TMenuItem* FindItemByCaption(const std::string& caption) const;
  // Told when items are added or removed (the window showing the menu rebuilds its bar).
  std::function<void()> OnChange;
  void Changed();
  // The pictures the items show by their ImageIndex; the items follow the list's changes,
  // and a list that is freed is forgotten.
  TImageList* Images() const { return imagesLink_.Sender(); }
  void SetImages(TImageList* value);

 private:
  TMenuItem* root_;
  TChangeLink imagesLink_;
};

// The menu bar of the window that sets it as its Menu.
class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* AOwner);
};

// A menu opened by Popup at screen coordinates, or by a right click on a control whose
// PopupMenu it is.
class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  // Opens the menu and returns when it closes (a chosen item has run by then).
  void Popup(int x, int y);
  TNotifyEvent OnPopup;
  // The control that was right-clicked to open it.
  TControl* PopupComponent = nullptr;
};

// Helper for building menus in code: a new item owned by `owner`, added to `parent`.
TMenuItem* NewMenuItem(TComponent* owner, TMenuItem* parent, const std::string& name,
                       const std::string& caption, TNotifyEvent onClick = {});
