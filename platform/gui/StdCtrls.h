// Standard controls: buttons, labels, edits, combo boxes, check and radio buttons, group
// boxes, memo and rich-edit boxes, list boxes.
//
// Change events fire on what the user does: typing in an edit or combo box, picking a combo
// item. Setting Text or ItemIndex from code fires nothing, so a window can set several
// controls and then recompute once. A check box is different: its OnClick fires whenever its
// state really changes, by the user or by code.
#pragma once

#include <memory>
#include <string>

#include "platform/Cancellation.h"
#include "platform/Classes.h"
#include "platform/gui/Controls.h"

class TForm;
class TMemoText;

// A push button. Click() runs the handler (or the linked action) at once; a button with a
// ModalResult also sets its form's modal result, which closes a modal form.
class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  void Click() override;
  int ModalResult = 0;
  // Enter and Escape on the form press the default and the cancel button; Enter presses a
  // focused push button instead of the default one.
  bool Default = false;
  bool Cancel = false;
  bool IsPushButton() const override { return true; }
  void WndProc(TMessage& message) override;

 protected:
  void TextChanged() override;

 private:
  bool focusedButton_ = false;  // a push button has the focus: this one, or another
  bool focused_ = false;
};

// Push buttons of every kind answer dialog messages alike: whether the button takes the dialog
// key or character (Enter while it acts as the default, Escape when it is the cancel button,
// its caption's accelerator); the caller then clicks it and sets the message's Result.
bool PushButtonTakes(const TWinControl* button, const TMessage& message, bool active, bool cancel);

// A push button that may also show a picture beside its caption.
class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  // The picture; after drawing on it call GlyphChanged().
  TBitmap& Glyph() { return *glyph_; }
  void GlyphChanged();

 private:
  std::unique_ptr<TBitmap> glyph_;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// A text on the form; clickable. '&' shows an accelerator unless ShowAccelChar is off.
class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* AOwner);
  // Sizes the label to its text when the caption or font changes (on by default).
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return showAccel_; }
  void SetShowAccelChar(bool value);
  // The control that Alt with the accelerator letter focuses.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);

 protected:
  void TextChanged() override;
  void ApplyFont() override;
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  void ShowingChanged() override;
  void SettleSize() override;

 public:
  void SetBounds(int left, int top, int width, int height) override;

 private:
  void AdjustSize();
  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccel_ = true;
  TWinControl* focusControl_ = nullptr;
};

enum TCharCase { ecNormal, ecUpperCase, ecLowerCase };

// One-line text box. OnChange fires when the user changes the text; OnKeyPress filters typed
// characters. MaxLength limits the text in bytes (0: no limit).
class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* AOwner);
  std::string GetText() const override;
  void SetText(const std::string& value) override;
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  bool ReadOnly() const;
  void SetReadOnly(bool value);
  // Masks the text with this character (0: plain).
  void SetPasswordChar(char value);
  TCharCase CharCase = ecNormal;
  // Left, right or centred text.
  void SetAlignment(TAlignment value);
  // Replaces the toolkit's own frame by a plain border of this many pixels round the text,
  // for a control that draws its frame there itself; 0 brings the toolkit's frame back.
  void SetBorderInset(int pixels);
  void SelectAll();
  // Selection in bytes of the text.
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int value);
  void SetSelLength(int value);
  std::string SelText() const;
  void Clear() { SetText(""); }
  void CopyToClipboard();

  TNotifyEvent OnChange;
  // Fires OnChange; the peer calls it on user edits.
  virtual void Change();
  bool KeyPress(char& key) override;

 private:
  int maxLength_ = 0;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Combo box, editable (csDropDown) or a fixed list (csDropDownList). Items is the list; change
// it with the item methods so the box follows. OnChange fires when the user types or picks
// an item; ItemIndex and Text set by code fire nothing.
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);

  // The items; after changing them directly, call ItemsChanged(). AddItem and friends do it.
  TStringList& Items() { return items_; }
  const TStringList& Items() const { return items_; }
  void ItemsChanged();
  int AddItem(const std::string& item);
  void SetItems(const std::vector<std::string>& items);
  void ClearItems();
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);

  int ItemIndex() const;
  // -1 clears the selection (and the text of a list box); an index out of range does too.
  void SetItemIndex(int value);
  std::string GetText() const override;
  // Editable: shows the text (selecting a matching item); list style: selects the item whose
  // text equals it, or nothing.
  void SetText(const std::string& value) override;
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  int DropDownCount = 8;
  // Width of the open list in pixels (0: the control's width).
  void SetDropDownWidth(int value);
  bool DroppedDown() const;
  void SetDroppedDown(bool value);
  void SelectAll();
  // Selection in the edit part, in bytes of the text (0 without an edit part).
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int value);
  void SetSelLength(int value);
  std::string SelText() const;
  // Makes the edit part read-only (editable styles).
  void SetEditReadOnly(bool value);
  // Asked before the list opens (by a click, F4 or Alt+Down); false keeps it closed.
  virtual bool AllowDropDown() { return true; }
  // The first item shown in the open list.
  int TopIndex() const;
  void SetTopIndex(int value);

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  virtual void Change();
  virtual void Select();

  // Internal: the peer reports user actions.
  void PeerUserEdited(const std::string& text);
  void PeerUserPicked(int index);

 private:
  void RebuildPeer();
  TStringList items_;
  TComboBoxStyle style_ = csDropDown;
  bool sorted_ = false;
  int maxLength_ = 0;
  bool updating_ = false;
  // A typed text already reported by OnChange: the toolkit's own activation of the matching
  // item (on Enter or when the focus leaves) is the same edit and must not report it again.
  bool typedReported_ = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// Check box. OnClick fires whenever Checked really changes, by a click or by code.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool AllowGrayed = false;
  TAlignment Alignment = taRightJustify;
  void ActionChange(TBasicAction* sender) override;
  // Internal: the peer reports a user toggle.
  void PeerToggled(bool checked);

 protected:
  void TextChanged() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
};

// Radio button: checking one unchecks its siblings; OnClick fires when it becomes checked.
class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  void PeerToggled(bool checked);

 protected:
  void TextChanged() override;

 private:
  bool checked_ = false;
};

// Framed box with a caption; a container for other controls.
class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* AOwner);
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void TextChanged() override;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Multi-line text box. Lines reads and writes the lines (each set replaces the text); Text
// joins the lines with CR LF between them.
class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* AOwner);
  std::string GetText() const override;
  void SetText(const std::string& value) override;
  // Puts a text made ready out of sight in place at once (on the GUI thread), its start in
  // view; `text` is empty afterwards.
  void SetText(TMemoText& text);

  // A copy of the lines, and a replacement of them.
  TStringList Lines() const;
  void SetLines(const TStringList& lines);
  int LineCount() const;
  std::string Line(int index) const;
  // Appends a line after the last; a break that ends the text ends the last line, it does not
  // start an empty one.
  void AddLine(const std::string& line);
  void Clear() { SetText(""); }

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  int MaxLength = 0;
  // Plain text only (the rich-edit box shows no formatting of its own).
  bool PlainText = true;

  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int value);
  void SetSelLength(int value);
  std::string SelText() const;
  // Copies the selection to the clipboard as text (nothing when empty).
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  TNotifyEvent OnChange;
  virtual void Change();

  // Internal: the peer reports a change of its text.
  void PeerTextChanged();

 private:
  bool readOnly_ = false;
  bool settingText_ = false;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = ssNone;
};

class TRichEdit : public TMemo {
 public:
  explicit TRichEdit(TComponent* AOwner) : TMemo(AOwner) {}
};

// A memo's next text, made ready by long work while the windows keep painting and put in place
// at once by TMemo::SetText, so a long text neither freezes the program nor shows half there.
// A text of very many lines keeps several lines to a paragraph of the toolkit, which costs it
// far less time and memory per line; it reads back, edits and copies line for line as the
// same text set as a string does.
class TMemoText {
 public:
  TMemoText();   // on the GUI thread
  ~TMemoText();  // on the GUI thread; a text not put in place goes
  TMemoText(const TMemoText&) = delete;
  TMemoText& operator=(const TMemoText&) = delete;

  // Takes `gbk` (each line ended by CR LF, CR or LF), from the work of RunBusy or
  // RunCancellableBusy (or from the GUI thread): it is converted piece by piece on the calling
  // thread, each piece added on the GUI thread. False once `cancel` is cancelled, the text
  // then incomplete (its memo is to drop it).
  bool Fill(const std::string& gbk, const TCancellation& cancel);

 private:
  friend class TMemo;
  struct Document;
  std::unique_ptr<Document> document_;
};

// A list of texts, one selectable.
class TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* AOwner);
  TStringList& Items() { return items_; }
  const TStringList& Items() const { return items_; }
  void ItemsChanged();
  int AddItem(const std::string& item);
  void ClearItems();
  int ItemIndex() const;
  void SetItemIndex(int value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  int Count() const { return items_.Count(); }
  void PeerUserPicked(int index);

 private:
  TStringList items_;
  bool sorted_ = false;
  bool updating_ = false;
};
