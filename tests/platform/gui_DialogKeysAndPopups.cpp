// Dialog keys and accelerators, controls that raise their own clicks, image-list change links,
// local pop-up loops and the tray's double-click report.
#include "platform/gui/CustomControl.h"
#include "platform/gui/PopupWindow.h"
#include "platform/gui/TrayIcon.h"
#include "tests/support/GuiTest.h"

namespace {

class KeyForm : public TForm {
 public:
  explicit KeyForm(TComponent* owner) : TForm(owner) {
    SetClientSize(300, 200);
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(8, 8, 120, 21);
    ok = NewButton(8, 40, "OK");
    ok->Default = true;
    go = NewButton(100, 40, "&Go");
  }
  TButton* NewButton(int x, int y, const std::string& caption) {
    auto* b = new TButton(this);
    b->SetParent(this);
    b->SetBounds(x, y, 80, 25);
    b->SetCaption(caption);
    b->OnClick = [this, b](TComponent*) { clicked.push_back(b->Caption()); };
    return b;
  }
  TEdit* edit;
  TButton* ok;
  TButton* go;
  std::vector<std::string> clicked;
};

class KeyTest : public WindowTest<KeyForm> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->Show();
    ProcessEvents();
  }
};

// Takes the dialog key before any button can.
class KeyCatcher : public TPanel {
 public:
  using TPanel::TPanel;
  int caught = 0;
  void WndProc(TMessage& message) override {
    if (message.Msg == CM_DIALOGKEY && message.WParam == VK_RETURN) {
      ++caught;
      message.Result = 1;
    }
    TPanel::WndProc(message);
  }
};

class Pad : public TCustomControl {
 public:
  explicit Pad(TComponent* owner, bool clickOnRelease) : TCustomControl(owner) {
    SetClickOnRelease(clickOnRelease);
  }
};

}  // namespace

TEST_F(KeyTest, EnterGoesToTheFocusedButtonOrTheDefaultAndAcceleratorsPressTheirButton) {
  EXPECT_TRUE(IsAccel('g', "&Go"));
  EXPECT_TRUE(IsAccel('C', "A&&B&c"));
  EXPECT_FALSE(IsAccel('s', "&&Save"));
  EXPECT_FALSE(IsAccel('x', ""));
  UserKey(form->edit, VK_RETURN);
  UserKey(form->go, VK_RETURN);  // a focused button takes Enter itself
  // A letter typed on a control that takes no text presses the button it marks.
  UserKey(form->ok, 'G');
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"OK", "&Go", "&Go"}));
  // The first control that acts ends the broadcast.
  auto* catcher = new KeyCatcher(form);
  catcher->SetParent(form);
  catcher->SendToBack();
  form->clicked.clear();
  UserKey(form->edit, VK_RETURN);
  EXPECT_EQ(catcher->caught, 1);
  EXPECT_TRUE(form->clicked.empty());
}

TEST_F(KeyTest, ControlsThatRaiseTheirOwnClicksGetNoneFromARelease) {
  int plain = 0, own = 0;
  auto* a = new Pad(form, true);
  auto* b = new Pad(form, false);
  for (auto* p : {a, b}) {
    p->SetParent(form);
    p->SetBounds(8, 100 + (p == b ? 40 : 0), 40, 30);
  }
  a->OnClick = [&](TComponent*) { ++plain; };
  b->OnClick = [&](TComponent*) { ++own; };
  UserClick(a);
  UserClick(b);
  EXPECT_EQ(plain, 1);
  EXPECT_EQ(own, 0);
}

TEST(ChangeLinks, ListsTellTheirLinksOfChangesAndOfBeingFreed) {
  TChangeLink link, other;
  int changes = 0, frees = 0;
  link.OnChange = [&] { ++changes; };
  link.OnFree = [&] { ++frees; };
  TImageList kept(4, 4);
  {
    TImageList list(4, 4);
    list.RegisterChanges(&link);
    list.RegisterChanges(&other);
    TBitmap b(4, 4, pf24bit);
    list.Add(b);
    EXPECT_EQ(changes, 1);
    list.Clear();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(link.Sender(), &list);
  }
  EXPECT_EQ(frees, 1);
  EXPECT_EQ(link.Sender(), nullptr);
  // A link joins one list at a time, and a freed link leaves its list.
  kept.RegisterChanges(&link);
  {
    TChangeLink brief;
    kept.RegisterChanges(&brief);
  }
  TBitmap b(4, 4, pf24bit);
  kept.Add(b);
  EXPECT_EQ(changes, 3);
}

namespace {

class PopupLoopTest : public KeyTest {
 protected:
  void SetUp() override {
    KeyTest::SetUp();
    popup = std::make_unique<TPanel>(nullptr);
    popup->SetBounds(50, 50, 80, 60);
    inside = new TButton(popup.get());
    inside->SetParent(popup.get());
    inside->SetBounds(4, 4, 60, 24);
    inside->OnClick = [this](TComponent*) { ++insideClicks; };
    MakePopupWindow(popup.get(), TPopupStyle{});
    ShowPopupWindow(popup.get(), true);
  }
  void TearDown() override {
    popup.reset();
    KeyTest::TearDown();
  }
  std::unique_ptr<TPanel> popup;
  TButton* inside = nullptr;
  int insideClicks = 0;
};

}  // namespace

TEST_F(PopupLoopTest, KeysGoToTheLoopPressesInsideWorkAndAnOutsidePressIsSwallowed) {
  std::vector<uint16_t> keys;
  Application->QueueCall([&] {
    EXPECT_TRUE(PopupLoopRunning(popup.get()));
    UserKey(form->edit, 'A');
    UserClick(inside);
    UserClick(form->ok);
  });
  const TPopupLoopEnd end =
      RunPopupLoop(popup.get(), [&](uint16_t key, TShiftState) { keys.push_back(key); });
  EXPECT_EQ(end, TPopupLoopEnd::OutsidePress);
  EXPECT_EQ(keys, (std::vector<uint16_t>{'A'}));
  EXPECT_EQ(form->edit->Text(), "");  // the key never reached the edit
  EXPECT_EQ(insideClicks, 1);
  EXPECT_TRUE(form->clicked.empty());  // nor the press the button
  EXPECT_FALSE(PopupLoopRunning(popup.get()));

  Application->QueueCall([&] { EndPopupLoop(popup.get()); });
  EXPECT_EQ(RunPopupLoop(popup.get(), {}), TPopupLoopEnd::Ended);
  Application->QueueCall([] { Application->Terminate(); });
  EXPECT_EQ(RunPopupLoop(popup.get(), {}), TPopupLoopEnd::Terminated);
  Application->ClearTerminated();
}

TEST(TrayReport, DoubleClickReportCanBeFixedForTests) {
  TTrayIcon::SetReportsDoubleClicksForTesting(0);
  EXPECT_FALSE(TTrayIcon::ReportsDoubleClicks());
  TTrayIcon::SetReportsDoubleClicksForTesting(1);
  EXPECT_TRUE(TTrayIcon::ReportsDoubleClicks());
  TTrayIcon::SetReportsDoubleClicksForTesting(-1);
  // Off X11 (the test platform) no status-notifier host reports double clicks.
  EXPECT_FALSE(TTrayIcon::ReportsDoubleClicks());
}
