// Which events fire for the user and which for code.
#include <QComboBox>
#include <QLineEdit>
#include <QApplication>
#include <QKeyEvent>

#include "platform/gui/CustomControl.h"
#include "tests/support/GuiTest.h"

namespace {

class EventForm : public TForm {
 public:
  explicit EventForm(TComponent* owner) : TForm(owner) {
    SetClientSize(300, 200);
    edit = new TEdit(this);
    edit->SetName("Edit1");
    edit->SetParent(this);
    edit->SetBounds(8, 8, 120, 21);
    edit->OnChange = [this](TComponent*) { ++editChanges; };
    combo = new TComboBox(this);
    combo->SetName("ComboBox1");
    combo->SetParent(this);
    combo->SetBounds(8, 40, 120, 21);
    combo->SetItems({"1900", "1901", "1902"});
    combo->OnChange = [this](TComponent*) {
      ++comboChanges;
      comboTextAtChange = combo->Text();
    };
    combo->OnDblClick = [this](TComponent*) { ++comboDblClicks; };
    list = new TComboBox(this);
    list->SetName("ComboBox2");
    list->SetParent(this);
    list->SetStyle(csDropDownList);
    list->SetBounds(8, 70, 120, 21);
    list->SetItems({"a", "b", "c"});
    list->OnChange = [this](TComponent*) { ++listChanges; };
    check = new TCheckBox(this);
    check->SetName("CheckBox1");
    check->SetParent(this);
    check->SetBounds(8, 100, 120, 17);
    check->OnClick = [this](TComponent*) { clickStates.push_back(check->Checked()); };
    button = new TButton(this);
    button->SetName("Button1");
    button->SetParent(this);
    button->SetBounds(150, 8, 75, 25);
    button->SetCaption("排卦");
    button->OnClick = [this](TComponent* sender) {
      ++buttonClicks;
      lastSender = sender;
    };
    label = new TLabel(this);
    label->SetName("Label1");
    label->SetParent(this);
    label->SetBounds(150, 50, 40, 13);
    label->SetCaption("时间");
    label->OnClick = [this](TComponent*) { ++labelClicks; };
    label->OnDblClick = [this](TComponent*) { ++labelDblClicks; };
  }
  TEdit* edit;
  TComboBox* combo;
  TComboBox* list;
  TCheckBox* check;
  TButton* button;
  TLabel* label;
  int editChanges = 0, comboChanges = 0, listChanges = 0, buttonClicks = 0, labelClicks = 0,
      labelDblClicks = 0, comboDblClicks = 0;
  std::string comboTextAtChange;
  std::vector<bool> clickStates;
  TComponent* lastSender = nullptr;
};

class EventTest : public WindowTest<EventForm> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->Show();
  }
};

TEST_F(EventTest, EditChangeFollowsTheUserNotTheCode) {
  form->edit->SetText("2.00");
  EXPECT_EQ(form->edit->Text(), "2.00");
  EXPECT_EQ(form->edit->SelStart(), 0);  // a text set by the program shows from its start
  EXPECT_EQ(form->editChanges, 0);
  UserType(form->edit, "5");
  EXPECT_EQ(form->editChanges, 1);
  EXPECT_EQ(form->edit->Text(), "2.005");
  UserType(form->edit, "足球");
  EXPECT_EQ(form->editChanges, 3);
  EXPECT_EQ(form->edit->Text(), "2.005足球");
  UserKey(form->edit, VK_BACK);
  EXPECT_EQ(form->editChanges, 4);
  EXPECT_EQ(form->edit->Text(), "2.005足");
}

TEST_F(EventTest, ComboChangeFollowsTypingAndPicksButNotCode) {
  form->combo->SetText("1901");
  form->combo->SetItemIndex(2);
  form->combo->SetText("2024");
  EXPECT_EQ(form->comboChanges, 0);
  EXPECT_EQ(form->combo->Text(), "2024");
  EXPECT_EQ(form->combo->ItemIndex(), -1);
  form->combo->SetText("1901");
  EXPECT_EQ(form->combo->ItemIndex(), 1);

  UserPick(form->combo, 2);
  EXPECT_EQ(form->comboChanges, 1);
  EXPECT_EQ(form->comboTextAtChange, "1902");  // the text is the item's when the handler runs

  form->combo->SetText("");
  UserType(form->combo, "19");
  EXPECT_EQ(form->comboChanges, 3);
  EXPECT_EQ(form->combo->Text(), "19");

  form->list->SetItemIndex(1);
  EXPECT_EQ(form->list->Text(), "b");
  EXPECT_EQ(form->listChanges, 0);
  UserPick(form->list, 2);
  EXPECT_EQ(form->listChanges, 1);
  EXPECT_EQ(form->list->Text(), "c");
  form->list->SetText("zzz");  // not an item: nothing selected
  EXPECT_EQ(form->list->ItemIndex(), -1);
  EXPECT_EQ(form->listChanges, 1);
}

TEST_F(EventTest, OneTypedEditIsOneComboChangeEvenWhenAMessageTakesTheFocus) {
  // The handler refuses the text with a message box, which takes the focus from the combo.
  form->combo->OnChange = [this](TComponent*) {
    ++form->comboChanges;
    if (form->combo->Text() == "1902") {
      dialogs().AnswerMessage();
      Application->MessageBox("日期错误", "Qeva", MB_OK);
      form->button->SetFocus();
    }
  };
  form->combo->SetText("190");
  UserType(form->combo, "2");
  ProcessEvents();
  EXPECT_EQ(form->comboChanges, 1);
  EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"日期错误"}));
  // Enter on a typed item text confirms it; it is no second change either.
  form->combo->SetText("190");
  UserType(form->combo, "1");
  UserKey(form->combo, VK_RETURN);
  EXPECT_EQ(form->comboChanges, 2);
  // A later pick from the list is the user's again.
  UserPick(form->combo, 2);
  EXPECT_EQ(form->comboChanges, 3);
  EXPECT_EQ(dialogs().Messages().size(), 2u);
}

TEST_F(EventTest, ComboItemsKeepTheirTextAndSortWhenAsked) {
  form->combo->SetText("1901");
  form->combo->AddItem("1899");
  EXPECT_EQ(form->combo->Text(), "1901");
  EXPECT_EQ(form->combo->Items()[3], "1899");
  form->combo->SetSorted(true);
  EXPECT_EQ(form->combo->Items()[0], "1899");
  EXPECT_EQ(form->combo->Text(), "1901");
  EXPECT_EQ(form->combo->ItemIndex(), 2);
  form->combo->SetItemIndex(99);
  EXPECT_EQ(form->combo->ItemIndex(), -1);
  EXPECT_EQ(form->combo->Text(), "");
  form->combo->SetMaxLength(3);  // bytes, and never half a character
  UserType(form->combo, "排卦");
  EXPECT_EQ(form->combo->Text(), "排");
  form->combo->SetText("a排卦");
  EXPECT_EQ(form->combo->Text(), "a排");
}

TEST_F(EventTest, CheckBoxClickFiresOnEveryRealChangeByUserOrCode) {
  form->check->SetChecked(true);
  form->check->SetChecked(true);  // no change, no click
  form->check->SetChecked(false);
  UserClick(form->check);
  UserClick(form->check);
  EXPECT_EQ(form->clickStates, (std::vector<bool>{true, false, true, false}));
  EXPECT_FALSE(form->check->Checked());
}

TEST_F(EventTest, ButtonClickRunsAtOnceFromCodeAndOnceFromTheUser) {
  form->button->Click();
  EXPECT_EQ(form->buttonClicks, 1);
  EXPECT_EQ(form->lastSender, form->button);
  UserClick(form->button);
  EXPECT_EQ(form->buttonClicks, 2);
  form->button->SetEnabled(false);
  UserClick(form->button);
  EXPECT_EQ(form->buttonClicks, 2);
}

TEST_F(EventTest, LabelsAndCombosTakeClicksAndDoubleClicks) {
  UserClick(form->label);
  EXPECT_EQ(form->labelClicks, 1);
  UserDoubleClick(form->label);
  EXPECT_EQ(form->labelDblClicks, 1);
  UserDoubleClick(form->combo);
  EXPECT_EQ(form->comboDblClicks, 1);
}

TEST_F(EventTest, KeyPressFiltersAndReplacesTypedCharacters) {
  form->edit->OnKeyPress = [](TComponent*, char& key) {
    if (key >= '0' && key <= '9') key = 0;  // digits refused
    if (key == ',') key = '.';
  };
  UserType(form->edit, "a1,2b");
  EXPECT_EQ(form->edit->Text(), "a.b");
}

TEST_F(EventTest, DoubleByteCharactersReachKeyPressAsTwoBytes) {
  std::string bytes;
  form->edit->OnKeyPress = [&](TComponent*, char& key) {
    bytes += key;
    if (static_cast<unsigned char>(key) == 0xA3) key = 0;  // lead byte of full-width forms
  };
  UserType(form->edit, "中１2");
  EXPECT_EQ(form->edit->Text(), "中2");
  EXPECT_EQ(bytes, "中\xA3" "2");
}

TEST_F(EventTest, KeyDownCanConsumeAKey) {
  std::vector<uint16_t> keys;
  form->edit->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) {
    keys.push_back(key);
    if (key == 'X') key = 0;
  };
  UserType(form->edit, "axb");
  EXPECT_EQ(keys, (std::vector<uint16_t>{'A', 'X', 'B'}));
  EXPECT_EQ(form->edit->Text(), "ab");
}

TEST_F(EventTest, MaxLengthCountsBytesOfWholeCharacters) {
  form->edit->SetMaxLength(5);
  form->edit->SetText("排卦排卦");
  EXPECT_EQ(form->edit->Text(), "排卦");
  UserType(form->edit, "ab");
  EXPECT_EQ(form->edit->Text(), "排卦a");
}

TEST_F(EventTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->Default = true;
  int okClicks = 0, cancelClicks = 0;
  ok->OnClick = [&](TComponent*) { ++okClicks; };
  auto* cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->Cancel = true;
  cancel->OnClick = [&](TComponent*) { ++cancelClicks; };
  UserKey(form->edit, VK_RETURN);
  UserKey(form->edit, VK_ESCAPE);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(cancelClicks, 1);
}

}  // namespace

namespace {

TEST_F(EventTest, KeysReachTheFocusedControlOnlyAndEditableCombosFilterThemToo) {
  std::vector<std::string> seen;
  form->OnKeyDown = [&](TComponent*, uint16_t&, TShiftState) { seen.push_back("form"); };
  form->combo->OnKeyPress = [&](TComponent*, char& key) {
    seen.push_back("combo");
    if (key == 'x') key = 0;
  };
  form->edit->OnKeyDown = [&](TComponent*, uint16_t&, TShiftState) { seen.push_back("edit"); };
  UserKey(form->edit, VK_INSERT);  // left unhandled by the edit, it must not reach the form
  EXPECT_EQ(seen, (std::vector<std::string>{"edit"}));
  form->combo->SetText("");
  UserType(form->combo, "1x9");
  EXPECT_EQ(form->combo->Text(), "19");
  EXPECT_EQ(std::count(seen.begin(), seen.end(), "combo"), 3);
  form->KeyPreview = true;
  seen.clear();
  UserKey(form->edit, 'A');
  EXPECT_EQ(seen, (std::vector<std::string>{"form", "edit"}));

  // A key the combo's edit part leaves unhandled (Enter) is the combo's once, down and up.
  form->KeyPreview = false;
  seen.clear();
  form->combo->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) {
    seen.push_back("down " + std::to_string(key));
  };
  form->combo->OnKeyUp = [&](TComponent*, uint16_t& key, TShiftState) {
    seen.push_back("up " + std::to_string(key));
  };
  UserKey(form->combo, VK_RETURN);
  UserKey(form->combo, VK_RETURN);
  EXPECT_EQ(seen, (std::vector<std::string>{"down 13", "combo", "up 13", "down 13", "combo",
                                            "up 13"}));

  // Keys sent to the edit part itself take the keyboard's way through the box: once each.
  seen.clear();
  QLineEdit* line = qobject_cast<QComboBox*>(form->combo->Widget())->lineEdit();
  for (auto [key, text] : {std::pair{Qt::Key_Return, "\r"}, std::pair{Qt::Key_7, "7"}}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString::fromLatin1(text));
    QApplication::sendEvent(line, &press);
    QApplication::sendEvent(line, &release);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"down 13", "combo", "up 13", "down 55", "combo",
                                            "up 55"}));
  EXPECT_EQ(form->combo->Text(), "197");
}

}  // namespace

namespace {

class FocusWatcher : public TPanel {
 public:
  using TPanel::TPanel;
  std::vector<TControl*> focused;
  void WndProc(TMessage& message) override {
    if (message.Msg == CM_FOCUSCHANGED)
      focused.push_back(reinterpret_cast<TControl*>(message.LParam));
    TPanel::WndProc(message);
  }
};

TEST_F(EventTest, MovingTheFocusTellsEveryControlOfTheWindowAndFiresEnterAndExit) {
  auto* watcher = new FocusWatcher(form);
  watcher->SetParent(form);
  std::vector<std::string> log;
  form->edit->OnEnter = [&](TComponent*) { log.push_back("enter edit"); };
  form->edit->OnExit = [&](TComponent*) { log.push_back("exit edit"); };
  form->button->OnEnter = [&](TComponent*) { log.push_back("enter button"); };
  EXPECT_EQ(form->FocusedControl(), form->edit);  // the first tab stop, since the window showed
  form->edit->SetFocus();                         // no move, no news
  form->button->SetFocus();
  form->edit->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"exit edit", "enter button", "enter edit"}));
  EXPECT_EQ(watcher->focused, (std::vector<TControl*>{form->button, form->edit}));
  EXPECT_EQ(form->ActiveControl(), form->edit);
}

}  // namespace

namespace {

TEST_F(EventTest, ALabelsAcceleratorFocusesItsControl) {
  auto* name = new TLabel(form);
  name->SetParent(form);
  name->SetCaption("名称(&N)");
  const int plainWidth = name->Width();
  name->SetFocusControl(form->combo);
  EXPECT_EQ(name->Width(), plainWidth);  // the mark takes no room
  form->button->SetFocus();
  UserKey(form->edit, 'N', ssAlt);
  EXPECT_EQ(form->ActiveControl(), form->combo);
  delete form->combo;  // the label lets go of a control that is freed
  form->combo = nullptr;
  EXPECT_EQ(name->FocusControl(), nullptr);
}

}  // namespace

namespace {

TEST_F(EventTest, TabVisitsTheTabStopsInTabOrderSelfPaintedControlsToo) {
  auto* grid = new TCustomControl(form);
  grid->SetName("Grid");
  grid->SetParent(form);
  grid->SetBounds(150, 120, 60, 40);
  grid->SetTabStop(true);
  grid->SetTabOrder(1);  // right after the edit
  auto* plain = new TCustomControl(form);
  plain->SetName("Plain");
  plain->SetParent(form);
  plain->SetBounds(220, 120, 40, 40);  // no tab stop
  auto active = [this] {
    return form->ActiveControl() ? form->ActiveControl()->Name() : std::string("none");
  };

  UserKey(form->edit, VK_TAB);
  EXPECT_EQ(active(), "Grid");
  UserKey(grid, VK_TAB);
  EXPECT_EQ(active(), "ComboBox1");
  UserKey(form->combo, VK_TAB, ssShift);
  EXPECT_EQ(active(), "Grid");
  // From the last tab stop Tab goes round to the first, past the control that is none.
  UserKey(form->button, VK_TAB);
  EXPECT_EQ(active(), "Edit1");

  // Taking the tab stop away takes the control out of the round; code may still focus it.
  grid->SetTabStop(false);
  form->check->SetTabStop(false);
  UserKey(form->edit, VK_TAB);
  EXPECT_EQ(active(), "ComboBox1");
  UserKey(form->list, VK_TAB);
  EXPECT_EQ(active(), "Button1");
  grid->SetFocus();
  EXPECT_TRUE(grid->Focused());
  plain->SetFocus();
  EXPECT_TRUE(plain->Focused());
}

}  // namespace

namespace {

// Takes Ctrl+Tab as a dialog key and 'q' as its accelerator.
class DialogKeyPanel : public TPanel {
 public:
  using TPanel::TPanel;
  bool DialogKey(uint16_t key, TShiftState shift) override {
    if (key != VK_TAB || !(shift & ssCtrl)) return false;
    ++keys;
    return true;
  }
  bool DialogChar(char key) override {
    if (key != 'q') return false;
    ++chars;
    return true;
  }
  int keys = 0, chars = 0;
};

TEST_F(EventTest, UnconsumedKeysTravelUpAsDialogKeysAndAltCharactersAsAccelerators) {
  auto* outer = new DialogKeyPanel(form);
  outer->SetParent(form);
  outer->SetBounds(150, 150, 120, 40);
  auto* inner = new TEdit(form);
  inner->SetParent(outer);
  inner->SetBounds(4, 4, 80, 21);
  int innerKeys = 0;
  inner->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) {
    innerKeys += key != VK_CONTROL;  // the user presses Ctrl first
    if (key == VK_F1) key = 0;  // consumed keys go no further
  };
  UserKey(inner, VK_TAB, ssCtrl);
  EXPECT_EQ(outer->keys, 1);
  UserKey(inner, VK_F1);
  UserKey(form->edit, VK_TAB, ssCtrl);  // not inside the panel: not its key
  EXPECT_EQ(outer->keys, 1);
  EXPECT_EQ(innerKeys, 2);
  // Alt+Q from anywhere in the window is offered to every control until one takes it.
  UserKey(form->edit, 'Q', ssAlt);
  EXPECT_EQ(outer->chars, 1);
  UserKey(form->edit, 'W', ssAlt);
  EXPECT_EQ(outer->chars, 1);
}

}  // namespace

namespace {

class ChildWatcher : public TPanel {
 public:
  using TPanel::TPanel;
  void ChildChanged(TControl* child, TChildChange change) override {
    seen.push_back(child->Name() + (change == ccText ? " text" : " visible"));
  }
  std::vector<std::string> seen;
};

TEST_F(EventTest, AParentHearsOfItsChildrensCaptionAndVisibilityChanges) {
  auto* host = new ChildWatcher(form);
  host->SetParent(form);
  auto* child = new TLabel(form);
  child->SetName("Child");
  child->SetParent(host);
  child->SetCaption("a");
  child->SetCaption("a");  // no change, no word
  child->SetVisible(false);
  child->SetParent(form);
  child->SetCaption("b");  // no longer its child
  EXPECT_EQ(host->seen, (std::vector<std::string>{"Child text", "Child visible"}));
}

}  // namespace
