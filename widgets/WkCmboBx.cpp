// The kit's combo box: colours by state, flat frame and button, incremental search in the list
// style and completion of typed text in the editable style.
#include "widgets/WkCmboBx.h"

#include <algorithm>

#include "platform/GbkText.h"
#include "platform/gui/Desktop.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"
#include "widgets/WkGlyphs.h"

namespace {

// The text without its last character (both bytes of a double-byte one).
std::string WithoutLastChar(const std::string& text) {
  size_t at = 0, last = 0;
  while (at < text.size()) {
    last = at;
    at += static_cast<size_t>(std::max(GbkCharLength(text, at), 1));
  }
  return text.substr(0, last);
}

// Byte offset of the character that ends at `end`.
size_t StartOfCharBefore(const std::string& text, size_t end) {
  size_t at = 0, last = 0;
  while (at < end && at < text.size()) {
    last = at;
    at += static_cast<size_t>(std::max(GbkCharLength(text, at), 1));
  }
  return last;
}

}  // namespace

TWkCustomComboBox::TWkCustomComboBox(TComponent* AOwner)
    : TComboBox(AOwner), searchTimer_(std::make_unique<TTimer>(nullptr)) {
  colors_.Normal = Color();
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(WkSearchTimeout);
  searchTimer_->OnTimer = [this](TComponent*) { SearchTimerFired(); };
}

TWkCustomComboBox::~TWkCustomComboBox() { UnlinkFrameController(this); }

void TWkCustomComboBox::Notification(TComponent* component, TOperation operation) {
  TComboBox::Notification(component, operation);
  if (operation == TOperation::opRemove) FrameControllerRemoved(component);
}

void TWkCustomComboBox::Loaded() {
  TComboBox::Loaded();
  UpdateColors();
  UpdateFrame(false, false);
}

// --- lookups -------------------------------------------------------------------------------

int TWkCustomComboBox::FindItem(const std::string& text) const {
  const std::string wanted = LowerCase(text);
  for (int i = 0; i < Items().Count(); ++i) {
    const std::string item = LowerCase(Items()[i]);
    if (item.size() >= wanted.size() && item.compare(0, wanted.size(), wanted) == 0) return i;
  }
  return -1;
}

int TWkCustomComboBox::IndexOfItem(const std::string& text) const { return Items().IndexOf(text); }

void TWkCustomComboBox::SetTextSilently(const std::string& text) {
  if (text == Text()) return;
  const bool complete = AutoComplete;
  AutoComplete = false;
  SetText(text);
  AutoComplete = complete;
}

void TWkCustomComboBox::InvalidKeyBeep() {
  if (BeepOnInvalidKey) MessageBeep();
}

bool TWkCustomComboBox::UseThemedFrame() const {
  return framingPreference_ == fpXPThemes && ThemeServices().ThemesEnabled();
}

// --- colours and frame ---------------------------------------------------------------------

void TWkCustomComboBox::UpdateColors() {
  if (IsLoading() || updatingColors_) return;
  updatingColors_ = true;
  SetColor(colors_.For(Enabled(), hasFocus_, readOnly_));
  updatingColors_ = false;
}

void TWkCustomComboBox::ColorChanged() {
  TComboBox::ColorChanged();
  if (updatingColors_) return;
  colors_.TakeOutsideColor(Color());
  Invalidate();
}

void TWkCustomComboBox::UpdateFrame(bool forHot, bool state) {
  if (forHot)
    mouseOver_ = state;
  else
    hasFocus_ = state;
  if ((flatButtons_ || frameHotTrack_) && !DroppedDown()) Invalidate();
  UpdateColors();
}

template <class T>
void TWkCustomComboBox::StoreFrame(T& field, T value) {
  if (field == value) return;
  field = value;
  Invalidate();
}

void TWkCustomComboBox::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (!ListStyle()) SetEditReadOnly(value);
  UpdateColors();
  Invalidate();
}

void TWkCustomComboBox::SetDropDownWidth(int value) {
  dropDownWidth_ = std::max(value, 0);
  TComboBox::SetDropDownWidth(dropDownWidth_);
}

void TWkCustomComboBox::SetFlatButtons(bool value) { StoreFrame(flatButtons_, value); }
void TWkCustomComboBox::SetFlatButtonColor(TColor value) { StoreFrame(flatButtonColor_, value); }
void TWkCustomComboBox::SetDisabledColor(TColor value) {
  colors_.Disabled = value;
  if (!Enabled()) UpdateColors();
}
void TWkCustomComboBox::SetReadOnlyColor(TColor value) {
  colors_.ReadOnly = value;
  if (readOnly_) UpdateColors();
}
void TWkCustomComboBox::SetReadOnlyColorOnFocus(bool value) {
  colors_.ReadOnlyOnFocus = value;
  UpdateColors();
}
void TWkCustomComboBox::SetFocusColor(TColor value) {
  colors_.Focus = value;
  if (hasFocus_) UpdateColors();
}
void TWkCustomComboBox::SetFrameColor(TColor value) { StoreFrame(frameColor_, value); }
void TWkCustomComboBox::SetFrameHotColor(TColor value) { StoreFrame(frameHotColor_, value); }
void TWkCustomComboBox::SetFrameHotTrack(bool value) { StoreFrame(frameHotTrack_, value); }
void TWkCustomComboBox::SetFrameHotStyle(TFrameStyle value) { StoreFrame(frameHotStyle_, value); }
void TWkCustomComboBox::SetFrameSides(TSides value) { StoreFrame(frameSides_, value); }
void TWkCustomComboBox::SetFrameStyle(TFrameStyle value) { StoreFrame(frameStyle_, value); }
void TWkCustomComboBox::SetFrameVisible(bool value) { StoreFrame(frameVisible_, value); }
void TWkCustomComboBox::SetFramingPreference(TFramingPreference value) {
  StoreFrame(framingPreference_, value);
}

bool TWkCustomComboBox::ApplyFrameSetting(TWkFrameControllerProperty property,
                                          const TWkFrameController& c) {
  if (property == fcpFlatButtonColor) {
    SetFlatButtonColor(c.FlatButtonColor());
    return true;
  }
  if (property == fcpFlatButtons) {
    SetFlatButtons(c.FlatButtons());
    return true;
  }
  return ApplyFramedSetting(*this, property, c);
}

bool TWkCustomComboBox::PaintsOverPeer() const {
  return !UseThemedFrame() && (frameVisible_ || flatButtons_ || readOnly_);
}

void TWkCustomComboBox::PaintOverPeer(QPainter* painter) {
  TCanvas canvas;
  canvas.BindPainter(painter, Width(), Height());
  PaintFrame(canvas);
  canvas.Unbind();
}

void TWkCustomComboBox::PaintFrame(TCanvas& canvas) {
  const int w = Width(), h = Height(), b = 2;
  const TRect button = Rect(w - b - ScrollBarWidth(), b, w - b, h - b);
  if (frameVisible_) DrawSidesWidth(canvas, Rect(0, 0, w, h), Color(), AllSides, 2, Color());
  if (readOnly_) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(button);
  } else if (flatButtons_) {
    const bool open = DroppedDown();
    if (hasFocus_ || mouseOver_) {
      TRect inner;
      if (flatButtonColor_ == clBtnFace)
        inner = open ? DrawSides(canvas, button, clBtnShadow, AllSides, clBtnHighlight)
                     : DrawSides(canvas, button, clBtnHighlight, AllSides, clBtnShadow);
      else
        inner = DrawColorFrame(canvas, button, flatButtonColor_, open ? fsStatus : fsPopup);
      canvas.Brush().SetColor(flatButtonColor_);
      canvas.FillRect(inner);
      DrawDropDownArrow(canvas, inner, vsClassic, Enabled(), open);
    } else {
      canvas.Brush().SetColor(Color());
      canvas.FillRect(button);
      DrawDropDownArrow(canvas, button, vsClassic, Enabled(), false);
    }
  }
  if (frameVisible_) {
    // The frame of the framed edit, without its ring (drawn above, under the button).
    const bool hot = FrameHot();
    DrawEditFrame(canvas, w, h, true, frameSides_, hot ? frameHotColor_ : frameColor_, Color(),
                  hot ? frameHotStyle_ : frameStyle_);
  }
}

// --- state changes -------------------------------------------------------------------------

void TWkCustomComboBox::SetEnabled(bool value) {
  if (value == Enabled()) return;
  TComboBox::SetEnabled(value);
  UpdateColors();
  Invalidate();
}

void TWkCustomComboBox::MouseEnter() {
  TComboBox::MouseEnter();
  UpdateFrame(true, true);
}

void TWkCustomComboBox::MouseLeave() {
  TComboBox::MouseLeave();
  UpdateFrame(true, false);
}

void TWkCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (readOnly_) return;  // clicks change nothing; the list stays shut (AllowDropDown)
  TComboBox::MouseDown(button, shift, x, y);
}

void TWkCustomComboBox::DoEnter() {
  UpdateFrame(false, true);
  TComboBox::DoEnter();
}

void TWkCustomComboBox::DoExit() {
  searchText_.clear();
  UpdateFrame(false, false);
  if (Style() == csDropDown && OnNotInList) {
    const std::string text = Text();
    if (!text.empty() && IndexOfItem(text) < 0) OnNotInList(this);
  }
  TComboBox::DoExit();
}

bool TWkCustomComboBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  if (TComboBox::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  if (readOnly_ || wheelDelta == 0) return true;
  if (DroppedDown()) {
    const int lines = WheelScrollLines() * (wheelDelta > 0 ? -1 : 1);
    SetTopIndex(std::max(TopIndex() + lines, 0));
    return true;
  }
  const int count = Items().Count();
  if (count == 0) return true;
  const int current = ItemIndex();
  // Down stops at the last item, up at the first.
  const int next = wheelDelta < 0 ? std::min(current + 1, count - 1) : std::max(current - 1, 0);
  if (next != current) {
    SetItemIndex(next);
    Click();
    Change();
  }
  return true;
}

void TWkCustomComboBox::SearchTimerFired() {
  if (typing_) return;
  searchTimer_->SetEnabled(false);
  searchText_.clear();
}

void TWkCustomComboBox::KeyPressEvent(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

// --- keys ----------------------------------------------------------------------------------

bool TWkCustomComboBox::KeyDown(uint16_t& key, TShiftState shift) {
  if (readOnly_ && RefusedWhileReadOnly(key, shift)) {
    key = 0;
    return true;
  }
  if (key == VK_ESCAPE && DroppedDown() && OnSelEndCancel) OnSelEndCancel(this);
  if (TabOnEnter && key == VK_RETURN && !DroppedDown()) {
    key = 0;
    if (TForm* form = ParentForm()) form->SelectNext(true);
    return true;
  }
  if (AutoDropDown) DropDownForKey(key);
  if (ListStyle()) {
    ListSearchKey(key);
  } else if (AutoComplete && !AutoCompleteKey(key, shift)) {
    key = 0;
    return true;
  }
  return TComboBox::KeyDown(key, shift);
}

bool TWkCustomComboBox::RefusedWhileReadOnly(uint16_t key, TShiftState shift) const {
  // Nothing opens the list or moves the selection; Alt+F4 still closes the window.
  const bool alt = (shift & ssAlt) != 0;
  const bool altF4 = alt && key == VK_F4;
  const bool moves = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT ||
                     key == VK_HOME || key == VK_END || key == VK_DELETE;
  return !altF4 && (alt || key == VK_F4 || moves || ListStyle());
}

void TWkCustomComboBox::DropDownForKey(uint16_t key) {
  if (key == VK_TAB && DroppedDown())
    SetDroppedDown(false);
  else if (key != VK_BACK && key != VK_TAB && key != VK_ESCAPE && !DroppedDown())
    SetDroppedDown(true);
}

void TWkCustomComboBox::ListSearchKey(uint16_t key) {
  // Moving through the list starts the incremental search afresh.
  switch (key) {
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      searchText_.clear();
      break;
    default:
      break;
  }
}

bool TWkCustomComboBox::AutoCompleteKey(uint16_t key, TShiftState shift) {
  switch (key) {
    case VK_ESCAPE:
      searchText_.clear();
      if (!DroppedDown()) return false;
      break;
    case VK_RETURN:
      // The typed search is kept only for the change of an Enter that closes the list: set
      // with the list closed, the flag would wait for the next typed text and replace it
      // with the item of the old search.
      if (DroppedDown()) {
        if (OnSelEndOk) OnSelEndOk(this);
        closedWithEnter_ = true;
      }
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      searchText_.clear();
      keyedChange_ = true;
      break;
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
      searchText_ = Text();
      break;
    case VK_DELETE:
      if (!AllowEdit && SelLength() < static_cast<int>(Text().size())) return false;
      break;
    default:
      break;
  }
  const bool ctrl = (shift & ssCtrl) != 0;
  const bool cutOrPaste =
      (ctrl && (key == 'X' || key == 'V')) || ((shift & ssShift) != 0 && key == VK_INSERT);
  return !(cutOrPaste && !AllowEdit);
}

bool TWkCustomComboBox::KeyPress(char& key) {
  if (readOnly_) {
    if (key == 3) return TComboBox::KeyPress(key);  // Ctrl+C copies
    key = 0;
    return true;
  }
  if (ListStyle()) return SearchKeyPress(key);
  if (AutoComplete) return CompleteKeyPress(key);
  return TComboBox::KeyPress(key);
}

void TWkCustomComboBox::SelectMatch(const std::string& searchText, char& key) {
  const int found = FindItem(searchText);
  if (found < 0) {
    InvalidKeyBeep();
    return;
  }
  SetItemIndex(found);
  searchText_ = searchText;
  Click();
  Change();
  KeyPressEvent(key);
}

bool TWkCustomComboBox::WholeCharacter(char key, std::string& typed) {
  const std::string bytes = pendingLead_ + key;
  // A lead byte waits for its trail; lead and digit begin GB18030's four-byte form, which
  // waits for its last two bytes.
  const bool lead = IsGbkLeadByte(static_cast<unsigned char>(key));
  const bool digit = key >= '0' && key <= '9';
  const size_t n = pendingLead_.size();
  if ((n == 0 && lead) || (n == 1 && digit) || (n == 2 && lead)) {
    pendingLead_ = bytes;
    return false;
  }
  typed = bytes;
  pendingLead_.clear();
  return true;
}

bool TWkCustomComboBox::SearchKeyPress(char& key) {
  const auto c = static_cast<unsigned char>(key);
  if (c >= 32) {
    std::string typed;
    if (!WholeCharacter(key, typed)) return false;
    typing_ = true;
    SelectMatch(searchText_ + typed, key);
    searchTimer_->SetEnabled(false);
    searchTimer_->SetEnabled(true);
    typing_ = false;
    key = 0;
    return true;
  }
  if (c == 8) {
    if (searchText_.empty()) {
      InvalidKeyBeep();
      SelectMatch("", key);
    } else {
      const std::string shorter = WithoutLastChar(searchText_);
      if (shorter.empty()) {
        // An empty list has no first item to go back to.
        if (Items().Count() > 0) {
          SetItemIndex(0);
          Click();
          Change();
        }
        searchText_.clear();
        KeyPressEvent(key);
      } else {
        SelectMatch(shorter, key);
      }
    }
    key = 0;
    return true;
  }
  return TComboBox::KeyPress(key);
}

bool TWkCustomComboBox::AutoCompleteSearch(const std::string& searchText, char& key) {
  const int before = ItemIndex();
  const int found = FindItem(searchText);
  if (found < 0 || searchText.empty()) return false;
  const std::string item = Items()[found];
  ownChange_ = true;
  if (KeepSearchCase) {
    SetText(searchText + item.substr(searchText.size()));
  } else {
    SetItemIndex(-1);
    SetItemIndex(found);
  }
  Click();
  Change();
  ownChange_ = false;
  (void)key;
  SetSelStart(static_cast<int>(searchText.size()));
  SetSelLength(static_cast<int>(item.size() - searchText.size()));
  if (ItemIndex() != before && OnMatch) OnMatch(this);
  return true;
}

bool TWkCustomComboBox::CompleteKeyPress(char& key) {
  const auto c = static_cast<unsigned char>(key);
  if (c == 8) return CompleteBackspace(key) || TComboBox::KeyPress(key);
  if (c < 32) return TComboBox::KeyPress(key);
  KeyPressEvent(key);  // the handler may cancel or change the character
  if (key == 0) return true;
  std::string typed;
  if (!WholeCharacter(key, typed)) return false;
  const std::string text = Text();
  const int start = SelStart(), length = SelLength();
  if (MaxLength() > 0 && length == 0 &&
      static_cast<int>(text.size() + typed.size()) > MaxLength()) {
    InvalidKeyBeep();
    key = 0;
    return true;
  }
  const std::string copy = text.substr(0, start) + typed + text.substr(start + length);
  if (AutoCompleteSearch(copy, key)) {
    key = 0;
    return true;
  }
  if (!AllowEdit) {
    InvalidKeyBeep();
    key = 0;
    return true;
  }
  return false;  // typed over the selection by the edit part
}

bool TWkCustomComboBox::CompleteBackspace(char& key) {
  const std::string text = Text();
  if (text.empty()) {
    InvalidKeyBeep();
    key = 0;
    return true;
  }
  const size_t start = static_cast<size_t>(SelStart()), length = static_cast<size_t>(SelLength());
  std::string copy;
  size_t caret;
  if (start + length < text.size()) {
    if (!AllowEdit) {
      InvalidKeyBeep();
      key = 0;
      return true;
    }
    if (length > 0) {
      copy = text.substr(0, start) + text.substr(start + length);
      caret = start;
    } else {
      caret = StartOfCharBefore(text, start);
      copy = text.substr(0, caret) + text.substr(start);
    }
  } else {
    // At the end: the typed part loses its last character, so completion moves back.
    copy = WithoutLastChar(text.substr(0, start));
    caret = copy.size();
  }
  ownChange_ = true;
  SetItemIndex(-1);
  SetText(copy);
  SetSelStart(static_cast<int>(caret));
  Change();
  if (copy.empty()) {
    searchText_.clear();
    Click();
    Change();
    KeyPressEvent(key);
  }
  ownChange_ = false;
  if (!copy.empty() && caret == copy.size()) AutoCompleteSearch(copy, key);
  key = 0;
  return true;
}

void TWkCustomComboBox::Select() {
  const bool own = ownChange_;
  ownChange_ = true;
  TComboBox::Select();
  ownChange_ = own;
}

void TWkCustomComboBox::Change() {
  const bool own = ownChange_ || keyedChange_;
  keyedChange_ = false;
  if (Style() == csDropDown && AutoComplete && !own && !readOnly_ && !DroppedDown()) {
    std::string search = Text();
    if (closedWithEnter_) {
      closedWithEnter_ = false;
      search = searchText_;
    } else {
      searchText_ = search;
    }
    const int found = search.empty() ? -1 : FindItem(search);
    if (found >= 0) {
      ownChange_ = true;
      SetItemIndex(found);
      ownChange_ = false;
      SetSelStart(static_cast<int>(search.size()));
      SetSelLength(static_cast<int>(Items()[found].size() - search.size()));
    }
  }
  TComboBox::Change();
}

// --- values --------------------------------------------------------------------------------

void TWkComboBox::SetValues(const TStringList& values) {
  values_ = values;
  valuesChanged_ = true;
  SetValue(value_);
}

std::string TWkComboBox::GetItemValue(int index) const {
  if (index < 0) return std::string();
  if (index < values_.Count() && !values_[index].empty()) return values_[index];
  if (index < Items().Count()) return Items()[index];
  return std::string();
}

std::string TWkComboBox::GetValue() const {
  int index;
  if (Style() == csDropDown || Style() == csSimple)
    index = Text().empty() ? -1 : Items().IndexOf(Text());
  else
    index = ItemIndex();
  if (index >= 0 && index < values_.Count() && !values_[index].empty()) return values_[index];
  return Text();
}

void TWkComboBox::SetValue(const std::string& value) {
  if (value == value_ && !valuesChanged_) return;
  valuesChanged_ = false;
  int found = -1;
  for (int i = 0; i < Items().Count() && found < 0; ++i)
    if (GetItemValue(i) == value) found = i;
  SetItemIndex(found);
  value_ = value;
}

void TWkComboBox::TakeValueOfSelection() {
  if (ItemIndex() >= 0) value_ = GetItemValue(ItemIndex());
}

void TWkComboBox::Change() {
  TWkCustomComboBox::Change();
  TakeValueOfSelection();
}

void TWkComboBox::Click() {
  TWkCustomComboBox::Click();
  TakeValueOfSelection();
}
