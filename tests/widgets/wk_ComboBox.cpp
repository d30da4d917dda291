// The kit's combo box: incremental search, completion, read-only filtering, the wheel,
// OnNotInList, values, colours and the frame and button it paints.
#include "platform/gui/Desktop.h"
#include "tests/support/GuiTest.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkCmboBx.h"

using namespace wktest;

namespace {

class ProbeCombo : public TWkComboBox {
 public:
  using TWkComboBox::TWkComboBox;
  int beeps = 0;
  void InvalidKeyBeep() override { ++beeps; }
};

class ComboTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(300, 120);
    combo = new ProbeCombo(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 160, 22);
    combo->OnChange = [this](TComponent*) { ++changes; };
    combo->OnMatch = [this](TComponent*) { ++matches; };
    other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(10, 50, 100, 22);
    form->Show();
  }
  void ListOf(std::vector<std::string> items, TComboBoxStyle style) {
    combo->SetStyle(style);
    combo->SetItems(items);
    combo->SetItemIndex(-1);
    combo->SetFocus();
    ProcessEvents();
  }
  ProbeCombo* combo = nullptr;
  TEdit* other = nullptr;
  int changes = 0, matches = 0;
};

const std::vector<std::string> kWords = {"apple", "abacus", "abdomen", "cherry"};
const std::vector<std::string> kSites = {"http://a.com", "http://abc.com", "http://b.org"};

}  // namespace

TEST_F(ComboTest, ListStyleSearchesIncrementallyUntilTheTimeout) {
  ListOf(kWords, csDropDownList);
  UserType(combo, "ab");
  EXPECT_EQ(combo->ItemIndex(), 1);  // the first item starting with "ab"
  EXPECT_EQ(combo->SearchText(), "ab");
  EXPECT_EQ(changes, 2);
  UserType(combo, "z");  // continues nothing: a beep, selection and search kept
  EXPECT_EQ(combo->beeps, 1);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->SearchText(), "ab");
  UserType(combo, "D");  // case does not matter
  EXPECT_EQ(combo->ItemIndex(), 2);
  // 1500 ms without keys: the next character starts a new search.
  EXPECT_EQ(combo->SearchTimer()->Interval(), 1500u);
  EXPECT_TRUE(FireTimer(combo->SearchTimer()));
  EXPECT_EQ(combo->SearchText(), "");
  EXPECT_FALSE(combo->SearchTimer()->Enabled());
  UserType(combo, "c");
  EXPECT_EQ(combo->ItemIndex(), 3);
  UserKey(combo, VK_BACK);  // the search text empties: back to the first item
  EXPECT_EQ(combo->ItemIndex(), 0);
  UserType(combo, "ab");
  UserKey(combo, VK_DOWN);  // navigation ends the search
  EXPECT_EQ(combo->SearchText(), "");
}

TEST_F(ComboTest, BackspaceOnAnEmptyListSelectsNothing) {
  ListOf(kWords, csDropDownList);
  UserType(combo, "c");
  EXPECT_EQ(combo->SearchText(), "c");
  combo->ClearItems();  // the list empties under a running search
  changes = 0;
  UserKey(combo, VK_BACK);  // the search text empties: no first item to go back to
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->SearchText(), "");
  EXPECT_EQ(changes, 0);
  UserType(combo, "a");
  EXPECT_EQ(combo->beeps, 1);
  UserKey(combo, VK_BACK);  // empty search: beep, and nothing to select
  EXPECT_EQ(combo->beeps, 3);
  EXPECT_EQ(changes, 0);
}

TEST_F(ComboTest, TypingCompletesTheFirstMatchAndSelectsTheCompletedTail) {
  ListOf(kSites, csDropDown);
  UserType(combo, "http://a");
  EXPECT_EQ(combo->Text(), "http://a.com");
  EXPECT_EQ(combo->SelText(), ".com");
  EXPECT_EQ(combo->ItemIndex(), 0);
  UserType(combo, "b");
  EXPECT_EQ(combo->Text(), "http://abc.com");
  EXPECT_EQ(combo->SelText(), "c.com");
  EXPECT_EQ(matches, 2);  // the item changed twice: none to 0, 0 to 1
  // A character that continues no item is typed as it is.
  UserType(combo, "x");
  EXPECT_EQ(combo->Text(), "http://abx");
  EXPECT_EQ(combo->beeps, 0);
  // Backspace at the end takes a character off the typed part and completes again.
  UserKey(combo, VK_BACK);
  EXPECT_EQ(combo->Text(), "http://abc.com");
  EXPECT_EQ(combo->SelText(), "c.com");
  UserKey(combo, VK_BACK);
  EXPECT_EQ(combo->Text(), "http://a.com");
  EXPECT_EQ(combo->SelText(), ".com");
}

TEST_F(ComboTest, WithoutAllowEditOnlyCompletingKeysAreTaken) {
  ListOf(kSites, csDropDown);
  combo->AllowEdit = false;
  UserType(combo, "http://b");
  EXPECT_EQ(combo->Text(), "http://b.org");
  UserType(combo, "z");
  EXPECT_EQ(combo->beeps, 1);
  EXPECT_EQ(combo->Text(), "http://b.org");
  UserKey(combo, 'V', ssCtrl);  // no pasting either
  EXPECT_EQ(combo->Text(), "http://b.org");
  combo->KeepSearchCase = true;
  combo->AllowEdit = true;
  combo->SetText("");
  UserType(combo, "HTTP://B");
  EXPECT_EQ(combo->Text(), "HTTP://B.org");  // the typed case stays
}

TEST_F(ComboTest, APickFromTheListIsKeptAsPicked) {
  ListOf({"abc", "ab"}, csDropDown);
  UserPick(combo, 1);  // "ab" also starts "abc", which comes first
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "ab");
  EXPECT_EQ(changes, 1);
}

TEST_F(ComboTest, ChineseTextFromAnInputMethodCompletesToo) {
  ListOf({"新浪体育", "新华网"}, csDropDown);
  UserType(combo, "新华");
  EXPECT_EQ(combo->Text(), "新华网");
  EXPECT_EQ(combo->SelText(), "网");
  // The search of the list style takes a double-byte character whole, never half of one.
  ListOf({"新浪体育", "新华网"}, csDropDownList);
  UserType(combo, "新华");
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->SearchText(), "新华");
  EXPECT_EQ(combo->beeps, 0);
  combo->SetStyle(csDropDown);
  combo->SetMaxLength(3);  // one byte left: a double-byte character does not fit
  combo->SetText("abc");
  combo->SetText("ab");
  UserType(combo, "中");
  EXPECT_EQ(combo->Text(), "ab");
  EXPECT_EQ(combo->beeps, 1);
}

// A character outside GBK reaches the search in its four bytes, the second and fourth ASCII
// digits: the search waits for all four and never takes one of them for a typed digit.
TEST_F(ComboTest, TheSearchTakesAFourByteCharacterWhole) {
  ListOf({"a9", "a😀b", "a6"}, csDropDownList);
  UserType(combo, "a");
  EXPECT_EQ(combo->ItemIndex(), 0);
  UserType(combo, "😀");
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->SearchText(), "a😀");
  EXPECT_EQ(combo->beeps, 0);
  UserType(combo, "𠀀");  // no item goes on so: refused whole, with one beep
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->SearchText(), "a😀");
  EXPECT_EQ(combo->beeps, 1);
}

TEST_F(ComboTest, ReadOnlyIgnoresTypingClicksAndTheWheelAndShowsItsColour) {
  ListOf(kWords, csDropDown);
  combo->SetItemIndex(1);
  combo->SetReadOnly(true);
  EXPECT_EQ(combo->Color(), clWindow);  // focused: the focus colour unless asked otherwise
  combo->SetReadOnlyColorOnFocus(true);
  EXPECT_EQ(combo->Color(), clInfoBk);
  other->SetFocus();
  ProcessEvents();
  combo->SetReadOnlyColorOnFocus(false);
  EXPECT_EQ(combo->Color(), clInfoBk);
  UserType(combo, "c");
  UserKey(combo, VK_DOWN);
  UserKey(combo, VK_F4);
  EXPECT_EQ(combo->Text(), "abacus");
  EXPECT_TRUE(combo->DoMouseWheel(0, -120, Point(5, 5)));
  EXPECT_EQ(combo->ItemIndex(), 1);
  UserClick(combo);
  combo->SetDroppedDown(true);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(changes, 0);
}

TEST_F(ComboTest, WheelMovesTheSelectionAndStopsAtBothEnds) {
  ListOf(kWords, csDropDownList);
  combo->DoMouseWheel(0, 120, Point(5, 5));  // up from nothing: the first item
  EXPECT_EQ(combo->ItemIndex(), 0);
  combo->DoMouseWheel(0, 120, Point(5, 5));
  EXPECT_EQ(combo->ItemIndex(), 0);
  for (int i = 0; i < 6; ++i) combo->DoMouseWheel(0, -120, Point(5, 5));
  EXPECT_EQ(combo->ItemIndex(), 3);  // the last item stays selected
  EXPECT_EQ(changes, 4);
}

TEST_F(ComboTest, LeavingWithATextThatIsNoItemFiresNotInList) {
  ListOf(kSites, csDropDown);
  int notInList = 0;
  combo->OnNotInList = [&](TComponent*) { ++notInList; };
  combo->SetText("http://new.net");
  other->SetFocus();
  ProcessEvents();
  EXPECT_EQ(notInList, 1);
  combo->SetFocus();
  combo->SetText("HTTP://B.ORG");  // an item, case aside
  other->SetFocus();
  combo->SetFocus();
  combo->SetText("");
  other->SetFocus();
  ProcessEvents();
  EXPECT_EQ(notInList, 1);
}

TEST_F(ComboTest, ValuesStandInForItemsAndSelectByExactValue) {
  ListOf({"one", "two", "three"}, csDropDownList);
  TStringList values;
  values.Add("1");
  values.Add("");
  combo->SetValues(values);
  EXPECT_EQ(combo->GetItemValue(0), "1");
  EXPECT_EQ(combo->GetItemValue(1), "two");  // empty value: the item
  EXPECT_EQ(combo->GetItemValue(2), "three");
  EXPECT_EQ(combo->GetItemValue(7), "");
  combo->SetValue("three");
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->SetValue("Three");  // values compare exactly
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->SetValue("1");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->GetValue(), "1");
  UserType(combo, "t");
  EXPECT_EQ(combo->GetValue(), "two");
}

TEST_F(ComboTest, FrameAndFlatButtonFollowFocusAndHover) {
  combo->SetFrameVisible(true);
  combo->SetFlatButtons(true);
  combo->SetFrameColor(clBlue);
  combo->SetFrameHotColor(clRed);
  combo->SetFrameHotTrack(true);
  other->SetFocus();
  ProcessEvents();
  const int sb = ScrollBarWidth();
  const TRect button = Rect(160 - 2 - sb, 2, 158, 20);
  MarkedPicture cold(160, 22);
  combo->PaintFrame(cold.canvas());
  EXPECT_TRUE(PixelsAre(
      cold.bitmap,
      {{0, 0, clBlue}, {1, 1, clWindow}, {button.Left, button.Top, clWindow}, {40, 8, kMarker}}));
  combo->MouseEnter();
  MarkedPicture hot(160, 22);
  combo->PaintFrame(hot.canvas());
  // Hot: bold frame in the hot colour; the button raised in highlight and shadow.
  EXPECT_TRUE(PixelsAre(hot.bitmap, {{0, 0, clRed},
                                     {1, 1, clRed},
                                     {button.Left, button.Top, clBtnHighlight},
                                     {button.Right - 1, button.Bottom - 1, clBtnShadow},
                                     {button.Left + 1, button.Top + 1, clBtnFace}}));
  combo->MouseLeave();
  combo->SetReadOnly(true);
  MarkedPicture ro(160, 22);
  combo->PaintFrame(ro.canvas());
  EXPECT_TRUE(PixelsAre(ro.bitmap, {{button.Left, button.Top, clInfoBk},
                                    {button.Right - 1, button.Bottom - 1, clInfoBk}}));
  auto shown = GrabControl(combo);  // the same frame over the toolkit's drawing
  EXPECT_EQ(shown->PixelColor(0, 0), clBlue);
}

TEST_F(ComboTest, ControllerPushesFlatButtonsAndColoursFollowFocus) {
  auto* controller = new TWkFrameController(form);
  controller->SetFocusColor(clYellow);
  combo->SetFrameController(controller);
  EXPECT_TRUE(combo->FlatButtons());  // the controller's default
  EXPECT_EQ(combo->FocusColor(), clYellow);
  combo->SetFocus();
  ProcessEvents();
  EXPECT_EQ(combo->Color(), clYellow);
  other->SetFocus();
  ProcessEvents();
  EXPECT_EQ(combo->Color(), clWindow);
  combo->SetEnabled(false);
  EXPECT_EQ(combo->Color(), clBtnFace);
}

TEST_F(ComboTest, EnterOnAClosedListLeavesTheNextTypingAlone) {
  ListOf(kSites, csDropDown);
  UserType(combo, "http://abc.com");
  UserKey(combo, VK_RETURN);
  combo->SelectAll();
  UserType(combo, "ftp");  // over the whole text, as a new address is typed
  EXPECT_EQ(combo->Text(), "ftp");
}

TEST_F(ComboTest, EnterMovesOnWithTabOnEnterAndMaxLengthStopsTyping) {
  ListOf(kSites, csDropDown);
  combo->TabOnEnter = true;
  UserKey(combo, VK_RETURN);
  ProcessEvents();
  EXPECT_TRUE(other->Focused());
  combo->SetFocus();
  ProcessEvents();
  combo->SetMaxLength(3);
  combo->SetText("");
  UserType(combo, "xyzw");
  EXPECT_EQ(combo->Text(), "xyz");
  EXPECT_EQ(combo->beeps, 1);
}
