// The command panel: categories that collapse and expand, each a column of buttons. A button
// bound to an action shows the action's caption (and follows its changes), unless it was given
// a caption of its own, and runs the action when clicked.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

class TCategoryButtons;
class TButtonCategory;

class TButtonItem {
 public:
  // The caption shown: the item's own when it has one, else the bound action's. Setting an
  // empty caption shows the action's again.
  std::string Caption() const;
  void SetCaption(const std::string& value);
  std::string Hint() const;
  void SetHint(const std::string& value) { hint_ = value; }
  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  int ImageIndex = -1;
  intptr_t Data = 0;
  TNotifyEvent OnClick;
  TButtonCategory* Category() const { return category_; }
  int Index() const;
  // Whether the item shows (an invisible action hides it).
  bool Visible() const;
  bool Enabled() const;

  // What a click does: the action (when enabled), else OnClick; exceptions go to the caller.
  void Click();

  TButtonItem(TButtonCategory* category);
  ~TButtonItem();

 private:
  friend class TButtonCategory;
  void ActionChange(TBasicAction* action);
  TButtonCategory* category_;
  std::string caption_;
  std::string hint_;
  std::unique_ptr<TActionLink> link_;
};

class TButtonCategory {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool Collapsed() const { return collapsed_; }
  void SetCollapsed(bool value);
  TColor Color = clNone;
  int Count() const { return static_cast<int>(items_.size()); }
  TButtonItem* Items(int index) const;
  // Adds a button; with an action, it shows the action's caption.
  TButtonItem* Add(TBasicAction* action = nullptr);
  void Delete(int index);
  TCategoryButtons* Panel() const { return panel_; }
  int Index() const;

  TButtonCategory(TCategoryButtons* panel, const std::string& caption);
  ~TButtonCategory();

 private:
  friend class TButtonItem;
  friend class TCategoryButtons;
  TCategoryButtons* panel_;
  std::string caption_;
  bool collapsed_ = false;
  std::vector<std::unique_ptr<TButtonItem>> items_;
};

class TCategoryButtons : public TWinControl {
 public:
  explicit TCategoryButtons(TComponent* AOwner);
  ~TCategoryButtons() override;

  int CategoryCount() const { return static_cast<int>(categories_.size()); }
  TButtonCategory* Categories(int index) const;
  TButtonCategory* AddCategory(const std::string& caption, bool collapsed = false);
  void DeleteCategory(int index);
  // Category with that caption, or nullptr.
  TButtonCategory* FindCategory(const std::string& caption) const;
  // First item showing that caption (in any category), or nullptr.
  TButtonItem* FindItem(const std::string& caption) const;

  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int value);
  TImageList* Images = nullptr;

  // Fired after a click has run the item's command.
  std::function<void(TComponent* Sender, TButtonItem* Item)> OnButtonClicked;
  std::function<void(TComponent* Sender, TButtonCategory* Category)> OnCategoryCollapse;

  // A click on a button as the user makes it (runs inside the exception handler).
  void ClickItem(TButtonItem* item);
  // A click on a category header: toggles its Collapsed state.
  void ClickCategory(TButtonCategory* category);

  // Internal: rebuilds the native column after a structural change.
  void Rebuild();
  void ItemChanged(TButtonItem* item);
  void CategoryChanged(TButtonCategory* category);

 protected:
  void ApplyFont() override;
  void ColorChanged() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::vector<std::unique_ptr<TButtonCategory>> categories_;
  int buttonHeight_ = 24;
};
