// The kit's combo box: a flat custom frame and drop-down button over the platform's combo box,
// focus, read-only and disabled colours, hot tracking, incremental search in the list style
// and completion of typed text against the items in the editable style.
#pragma once

#include <memory>
#include <string>

#include "platform/Classes.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "widgets/WkColors.h"
#include "widgets/WkFrameController.h"
#include "widgets/WkFrames.h"
#include "widgets/WkHelpers.h"

// How long typed characters of an incremental search stay together.
constexpr unsigned WkSearchTimeout = 1500;

class TWkCustomComboBox : public TComboBox, public TWkFrameControllerLink {
 public:
  explicit TWkCustomComboBox(TComponent* AOwner);
  ~TWkCustomComboBox() override;

  bool AllowEdit = true;
  bool AutoComplete = true;
  bool AutoDropDown = false;
  bool BeepOnInvalidKey = true;
  bool KeepSearchCase = false;
  bool TabOnEnter = false;
  bool ReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool value);
  int DropDownWidth() const { return dropDownWidth_; }
  virtual void SetDropDownWidth(int value);
  bool FlatButtons() const { return flatButtons_; }
  virtual void SetFlatButtons(bool value);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  virtual void SetFlatButtonColor(TColor value);
  TColor DisabledColor() const { return colors_.Disabled; }
  virtual void SetDisabledColor(TColor value);
  TColor ReadOnlyColor() const { return colors_.ReadOnly; }
  virtual void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return colors_.ReadOnlyOnFocus; }
  virtual void SetReadOnlyColorOnFocus(bool value);
  TColor FocusColor() const { return colors_.Focus; }
  virtual void SetFocusColor(TColor value);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  virtual void SetFrameHotTrack(bool value);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value);
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value);
  bool FrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference value);
  virtual void SetFrameController(TWkFrameController* value) { LinkFrameController(this, value); }

  // Events the kit adds.
  TNotifyEvent OnMatch;      // completion selected a different item
  TNotifyEvent OnNotInList;  // focus left an editable box whose text is no item
  TNotifyEvent OnSelEndOk;   // the list closed with a choice (Enter)
  TNotifyEvent OnSelEndCancel;

  // The first item starting with the text (ASCII case ignored), -1 when none.
  virtual int FindItem(const std::string& text) const;
  // The item equal to the text (ASCII case ignored), -1 when none.
  virtual int IndexOfItem(const std::string& text) const;
  // Sets the text without completing it.
  virtual void SetTextSilently(const std::string& text);
  virtual void InvalidKeyBeep();
  virtual bool UseThemedFrame() const;
  const std::string& SearchText() const { return searchText_; }
  TTimer* SearchTimer() const { return searchTimer_.get(); }
  bool FrameHot() const { return frameHotTrack_ && (hasFocus_ || mouseOver_); }
  // Draws the kit's frame and button for the current state over (0, 0, Width, Height).
  void PaintFrame(TCanvas& canvas);

  bool ApplyFrameSetting(TWkFrameControllerProperty property,
                         const TWkFrameController& source) override;
  void Loaded() override;
  void SetEnabled(bool value) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  void DoEnter() override;
  void DoExit() override;
  bool KeyDown(uint16_t& key, TShiftState shift) override;
  bool KeyPress(char& key) override;
  void Change() override;
  // A pick from the list is no typing: it is not completed again.
  void Select() override;
  bool AllowDropDown() override { return !readOnly_; }
  bool PaintsOverPeer() const override;
  void PaintOverPeer(QPainter* painter) override;

 protected:
  virtual void UpdateColors();
  virtual void UpdateFrame(bool forHot, bool state);
  virtual void SelectMatch(const std::string& searchText, char& key);
  virtual bool AutoCompleteSearch(const std::string& searchText, char& key);
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Fires OnKeyPress only.
  void KeyPressEvent(char& key);

 private:
  // Steps of KeyDown. A read-only box refuses keys that would open or move the list; the
  // auto-complete step returns false for a key it consumes.
  bool RefusedWhileReadOnly(uint16_t key, TShiftState shift) const;
  void DropDownForKey(uint16_t key);
  void ListSearchKey(uint16_t key);
  bool AutoCompleteKey(uint16_t key, TShiftState shift);
  bool ListStyle() const {
    return Style() == csDropDownList || Style() == csOwnerDrawFixed ||
           Style() == csOwnerDrawVariable;
  }
  bool SearchKeyPress(char& key);
  // Joins the bytes of a double-byte character: false while only its first byte came (the
  // byte then goes on to the platform, which sends the second); true with the whole
  // character in `typed`.
  bool WholeCharacter(char key, std::string& typed);
  bool CompleteKeyPress(char& key);
  bool CompleteBackspace(char& key);
  void SearchTimerFired();
  template <class T>
  void StoreFrame(T& field, T value);

  bool readOnly_ = false;
  int dropDownWidth_ = 0;
  bool flatButtons_ = false;
  TColor flatButtonColor_ = clBtnFace;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = AllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;

  std::string searchText_;
  TWkStateColors colors_;
  bool updatingColors_ = false;
  bool hasFocus_ = false;
  bool mouseOver_ = false;
  bool typing_ = false;
  bool ownChange_ = false;
  bool keyedChange_ = false;
  bool closedWithEnter_ = false;
  std::string pendingLead_;  // the first bytes of a wider character being typed
  std::unique_ptr<TTimer> searchTimer_;
};

// Publishes the combo box and adds values parallel to the items.
class TWkComboBox : public TWkCustomComboBox {
 public:
  explicit TWkComboBox(TComponent* AOwner) : TWkCustomComboBox(AOwner) {}
  const TStringList& Values() const { return values_; }
  // Copies the list; the box then selects again by its current value.
  void SetValues(const TStringList& values);
  std::string GetItemValue(int index) const;
  std::string GetValue() const;
  void SetValue(const std::string& value);
  void Change() override;
  void Click() override;

 private:
  void TakeValueOfSelection();
  TStringList values_;
  std::string value_;
  bool valuesChanged_ = false;
};
