// Windows: modal results, activation, closing, frame and client geometry, alignment.
#include <QWidget>

#include "tests/support/GuiTest.h"

namespace {

class ToolForm : public TForm {
 public:
  explicit ToolForm(TComponent* owner) : TForm(owner) {
    SetCaption("计算胜平负");
    SetBorderStyle(bsDialog);
    SetClientSize(200, 100);
    ok = new TButton(this);
    ok->SetName("Button1");
    ok->SetParent(this);
    ok->SetCaption("计算");
    ok->ModalResult = mrOk;
    ok->OnClick = [this](TComponent*) { log.push_back("click"); };
    OnShow = [this](TComponent*) { log.push_back("show"); };
    OnClose = [this](TComponent*, TCloseAction& action) {
      log.push_back("close");
      if (refuseClose) action = caNone;
    };
    OnCloseQuery = [this](TComponent*, bool& canClose) { canClose = allowClose; };
  }
  TButton* ok;
  std::vector<std::string> log;
  bool refuseClose = false;
  bool allowClose = true;
};

class MainWindow : public TForm {
 public:
  explicit MainWindow(TComponent* owner) : TForm(owner) {
    SetCaption("Zelkar六爻排盘系统4.5");
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetPosition(poScreenCenter);
    SetClientSize(621, 430);
    OnActivate = [this](TComponent*) { ++activations; };
  }
  int activations = 0;
};

class FormTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    main = NewForm<MainWindow>(nullptr);
    tool = NewForm<ToolForm>(nullptr);
  }
  void TearDown() override {
    delete tool;
    delete main;
    GuiTest::TearDown();
  }
  MainWindow* main = nullptr;
  ToolForm* tool = nullptr;
};

TEST_F(FormTest, ModalResultComesFromTheButtonAndTheWindowUnderItIsActivatedAgain) {
  main->Show();
  EXPECT_EQ(main->activations, 1);
  dialogs().AnswerModal([&](TForm& shown) {
    EXPECT_EQ(&shown, tool);
    EXPECT_TRUE(tool->Visible());
    EXPECT_TRUE(tool->Active());
    UserClick(tool->ok);
  });
  EXPECT_EQ(tool->ShowModal(), mrOk);
  EXPECT_EQ(tool->log, (std::vector<std::string>{"show", "click", "close"}));
  EXPECT_FALSE(tool->Visible());
  EXPECT_TRUE(main->Active());
  EXPECT_EQ(main->activations, 2);
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  EXPECT_EQ(dialogs().Shown()[0].Caption, "计算胜平负");
}

TEST_F(FormTest, ClosingAModalWindowGivesCancelAndCloseHandlersMayRefuse) {
  main->Show();
  dialogs().AnswerModal([&](TForm&) { UserCloseWindow(tool); });
  EXPECT_EQ(tool->ShowModal(), mrCancel);

  // Refused twice (by the query, then by the close action), then let go.
  tool->allowClose = false;
  dialogs().AnswerModal([&](TForm&) {
    tool->ok->Click();
    EXPECT_EQ(tool->ModalResult(), mrOk);
  });
  dialogs().AnswerModal([&](TForm&) {
    EXPECT_TRUE(tool->Visible());
    tool->allowClose = true;
    tool->refuseClose = true;
    tool->Close();
  });
  dialogs().AnswerModal([&](TForm&) {
    tool->refuseClose = false;
    tool->SetModalResult(mrYes);
  });
  EXPECT_EQ(tool->ShowModal(), mrYes);
  EXPECT_EQ(dialogs().PendingAnswers(), 0u);
  // A modal window cannot be shown modally again while it shows.
  tool->Show();
  EXPECT_THROW(tool->ShowModal(), EInvalidOperation);
  tool->Hide();
}

TEST_F(FormTest, ShowingAgainRunsOnShowEachTime) {
  dialogs().AnswerModal(mrOk);
  dialogs().AnswerModal(mrOk);
  tool->ShowModal();
  tool->ShowModal();
  EXPECT_EQ(std::count(tool->log.begin(), tool->log.end(), "show"), 2);
}

TEST_F(FormTest, ClientSizeExcludesTheFrameAndCentringUsesTheWorkArea) {
  EXPECT_EQ(main->ClientWidth(), 621);
  EXPECT_EQ(main->ClientHeight(), 430);
  EXPECT_EQ(main->Width(), 621 + main->FrameWidth());
  EXPECT_EQ(main->Height(), 430 + main->FrameHeight());
  main->Show();
  const TRect area = ScreenInfo().WorkArea;
  EXPECT_EQ(main->Left(), area.Left + (area.Width() - main->Width()) / 2);
  EXPECT_EQ(main->Top(), area.Top + (area.Height() - main->Height()) / 2);
  // A menu bar takes client height, not window width.
  auto* menu = new TMainMenu(main);
  NewMenuItem(main, menu->Items(), "File1", "文件");
  main->SetMenu(menu);
  EXPECT_EQ(main->ClientWidth(), 621);
  EXPECT_EQ(main->ClientHeight(), 430);
  EXPECT_GT(main->FrameHeight(), main->FrameWidth());
  SaveScreenshot(main, "platform_main_window_frame");
}

TEST_F(FormTest, AWindowLargerThanTheWorkAreaOpensInsideItWithItsTitleBarShowing) {
  const TRect area = ScreenInfo().WorkArea;
  // Centred: a window taller and wider than the area (a scaled desktop) is shrunk to it.
  main->SetBounds(0, 0, area.Width() + 300, area.Height() + 200);
  main->Show();
  EXPECT_EQ(main->Left(), area.Left);
  EXPECT_EQ(main->Top(), area.Top);
  EXPECT_EQ(main->Width(), area.Width());
  EXPECT_EQ(main->Height(), area.Height());
  EXPECT_GT(main->ClientHeight(), 0);
  main->Hide();

  // Only as tall as it must be: one that fits across keeps its width, centred.
  main->SetBounds(0, 0, area.Width() / 2, area.Height() + 40);
  main->Show();
  EXPECT_EQ(main->Top(), area.Top);
  EXPECT_EQ(main->Height(), area.Height());
  EXPECT_EQ(main->Width(), area.Width() / 2);
  EXPECT_EQ(main->Left(), area.Left + (area.Width() - area.Width() / 2) / 2);
  main->Hide();

  // Placed where it was designed: above or left of the area it comes down and right, one past
  // the bottom-right corner comes back in; a window that fits keeps its size.
  tool->SetBounds(area.Left - 50, area.Top - 30, 240, 150);
  tool->Show();
  EXPECT_EQ(tool->Left(), area.Left);
  EXPECT_EQ(tool->Top(), area.Top);
  EXPECT_EQ(tool->Width(), 240);
  tool->Hide();
  tool->SetBounds(area.Right - 100, area.Bottom - 10, 240, 150);
  tool->Show();
  EXPECT_EQ(tool->Left(), area.Right - 240);
  EXPECT_EQ(tool->Top(), area.Bottom - 150);
  EXPECT_EQ(tool->Height(), 150);
}

TEST_F(FormTest, ResizingTheWindowRealignsAndFiresOnResize) {
  int resizes = 0;
  main->OnResize = [&](TComponent*) { ++resizes; };
  auto* client = new TPanel(main);
  client->SetParent(main);
  client->SetAlign(alClient);
  main->SetClientSize(300, 200);
  EXPECT_GE(resizes, 1);
  EXPECT_EQ(client->BoundsRect(), Rect(0, 0, 300, 200));
}

TEST_F(FormTest, AWindowHearsOfTheSizeItWasMadeWithWhenFirstShownBeforeOnShow) {
  // The handler came after the size, as in every window's constructor; no window manager
  // need resize the window for its layout to be made.
  tool->OnResize = [this](TComponent*) {
    tool->log.push_back("resize " + std::to_string(tool->Width()));
  };
  tool->Show();
  ASSERT_EQ(tool->log.size(), 2u);
  EXPECT_EQ(tool->log[0], "resize " + std::to_string(tool->Width()));
  EXPECT_EQ(tool->log[1], "show");
  tool->log.clear();
  tool->Hide();
  tool->Show();
  EXPECT_EQ(tool->log, (std::vector<std::string>{"show"}));
}

TEST_F(FormTest, ALabelOfAHiddenWindowHasItsTextsSizeWhenReadMovedOrShown) {
  auto make = [](TForm* form) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->Font()->SetHeight(-16);
    label->SetCaption("乾为天　乾宫");
    return label;
  };
  main->Show();
  const TLabel* onScreen = make(main);  // sized at once
  const int width = onScreen->Width(), height = onScreen->Height();
  ASSERT_GT(width, 0);

  const TLabel* read = make(tool);
  EXPECT_EQ(read->Width(), width);
  EXPECT_EQ(read->Height(), height);
  TLabel* moved = make(tool);
  moved->SetLeft(30);
  moved->SetTop(40);
  TLabel* seen = make(tool);
  seen->SetTop(70);
  // A size given outright wins over the text's, as it does on screen.
  TLabel* sized = make(tool);
  sized->SetBounds(5, 100, 20, 9);
  // Wrapping keeps the width the text had.
  TLabel* wrapped = make(tool);
  wrapped->SetWordWrap(true);
  tool->Show();
  // Shown with its size, before anything asked for it.
  EXPECT_EQ(seen->Widget()->geometry(), QRect(0, 70, width, height));
  EXPECT_EQ(moved->BoundsRect(), Bounds(30, 40, width, height));
  EXPECT_EQ(sized->BoundsRect(), Bounds(5, 100, 20, 9));
  EXPECT_EQ(wrapped->Width(), width);
  EXPECT_EQ(wrapped->Height(), height);
  // On screen a new caption sizes it at once.
  seen->SetCaption("乾");
  EXPECT_LT(seen->Widget()->width(), width);
}

TEST_F(FormTest, AlignmentStacksEdgesInOrderOfPositionAndFillsTheRest) {
  auto* host = new TPanel(main);
  host->SetParent(main);
  host->SetBevelOuter(bvNone);
  host->SetBounds(0, 0, 200, 100);
  auto make = [&](TAlign align, int l, int t, int w, int h) {
    auto* p = new TPanel(main);
    p->SetBounds(l, t, w, h);
    p->SetParent(host);
    p->SetAlign(align);
    return p;
  };
  // Built with alignment held, as a window description is read: the stacking follows the
  // positions, not the order of creation.
  host->DisableAlign();
  TPanel* bottom = make(alBottom, 0, 0, 10, 20);
  TPanel* top2 = make(alTop, 0, 50, 10, 10);
  TPanel* top1 = make(alTop, 0, 5, 10, 15);
  TPanel* left = make(alLeft, 0, 0, 30, 10);
  TPanel* right = make(alRight, 0, 0, 40, 10);
  TPanel* fill = make(alClient, 0, 0, 1, 1);
  TPanel* hidden = make(alTop, 0, 0, 10, 7);
  hidden->SetVisible(false);
  EXPECT_EQ(top1->BoundsRect(), Rect(0, 5, 10, 20));
  host->EnableAlign();
  EXPECT_EQ(top1->BoundsRect(), Rect(0, 0, 200, 15));
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 15, 200, 25));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 80, 200, 100));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 25, 30, 80));
  EXPECT_EQ(right->BoundsRect(), Rect(160, 25, 200, 80));
  EXPECT_EQ(fill->BoundsRect(), Rect(30, 25, 160, 80));

  host->SetBounds(0, 0, 300, 120);  // the parent grows: edges follow
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 100, 300, 120));
  EXPECT_EQ(fill->BoundsRect(), Rect(30, 25, 260, 100));
  top2->SetHeight(20);  // a child resizing itself realigns its siblings
  EXPECT_EQ(fill->BoundsRect(), Rect(30, 35, 260, 100));

  host->SetBorderWidth(5);
  EXPECT_EQ(top1->BoundsRect(), Rect(5, 5, 295, 20));
  host->DisableAlign();
  host->SetBounds(0, 0, 100, 100);
  EXPECT_EQ(top1->Width(), 290);  // held while disabled
  host->EnableAlign();
  EXPECT_EQ(top1->Width(), 90);
}

TEST_F(FormTest, ClosingTheMainWindowEndsTheApplication) {
  int argc = 0;
  (void)argc;
  Application->FormCreated(main);  // as CreateForm does for the first window
  main->Show();
  main->Close();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(main->Visible());  // the program ends; the window is not hidden first
  Application->ClearTerminated();
}

TEST_F(FormTest, HidingAModelessWindowActivatesTheOneItCoveredAndFocusFollows) {
  main->Show();
  auto* edit = new TEdit(tool);
  edit->SetParent(tool);
  tool->Show();
  EXPECT_TRUE(tool->Active());
  EXPECT_EQ(tool->ActiveControl(), tool->ok);  // the first tab stop takes the focus
  edit->SetFocus();
  EXPECT_EQ(tool->ActiveControl(), edit);
  EXPECT_EQ(main->activations, 1);
  tool->Close();
  EXPECT_FALSE(tool->Visible());
  EXPECT_TRUE(main->Active());
  EXPECT_EQ(main->activations, 2);
}

}  // namespace

namespace {

TEST_F(FormTest, AFailingOnShowLeavesTheWindowHiddenAndCanBeShownAgain) {
  bool fail = true;
  tool->OnShow = [&](TComponent*) {
    if (fail) throw Exception("cannot show");
  };
  EXPECT_THROW(tool->Show(), Exception);
  EXPECT_FALSE(tool->Visible());
  EXPECT_THROW(tool->ShowModal(), Exception);
  EXPECT_FALSE(tool->Visible());
  EXPECT_FALSE(tool->Modal());
  fail = false;
  dialogs().AnswerModal(mrOk);
  EXPECT_EQ(tool->ShowModal(), mrOk);
}

}  // namespace

namespace {

class FreedOnClose : public TForm {
 public:
  FreedOnClose(TComponent* owner, bool* freed) : TForm(owner), freed_(freed) {
    OnClose = [](TComponent*, TCloseAction& action) { action = caFree; };
  }
  ~FreedOnClose() override {
    if (freed_) *freed_ = true;
  }

 private:
  bool* freed_;
};

// "Free" on close frees the window once the handler has returned, and only that window: one
// freed meanwhile is not freed twice, and a window created since (the allocator may hand it the
// same address) is left alone.
TEST_F(FormTest, FreeOnCloseFreesThatWindowOnly) {
  bool freed = false;
  auto* form = NewForm<FreedOnClose>(Application, &freed);
  form->Show();
  form->Close();
  EXPECT_FALSE(freed);
  ProcessEvents();
  EXPECT_TRUE(freed);

  bool firstFreed = false, secondFreed = false;
  auto* first = NewForm<FreedOnClose>(Application, &firstFreed);
  first->Show();
  first->Close();
  delete first;  // before the queued free runs
  auto* second = NewForm<FreedOnClose>(Application, &secondFreed);
  ProcessEvents();
  EXPECT_TRUE(firstFreed);
  EXPECT_FALSE(secondFreed);
  delete second;
}

}  // namespace

namespace {
// Counts the mode changes it hears.
class ModeWatcher : public TPanel {
 public:
  using TPanel::TPanel;
  int changes = 0;

 protected:
  void BiDiModeChanged() override {
    TPanel::BiDiModeChanged();
    ++changes;
  }
};
}  // namespace

TEST_F(FormTest, RightToLeftModeFlowsDownToControlsThatFollowTheirParent) {
  auto* outer = new ModeWatcher(main);
  outer->SetParent(main);
  auto* inner = new ModeWatcher(main);
  inner->SetParent(outer);
  auto* own = new ModeWatcher(main);
  own->SetBiDiMode(bdRightToLeftReadingOnly);
  own->SetParent(outer);
  main->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(inner->BiDiMode(), bdRightToLeft);
  EXPECT_TRUE(inner->UseRightToLeftAlignment());
  EXPECT_EQ(inner->changes, 1);
  // A control with a mode of its own keeps it; reading-only mirrors no alignment.
  EXPECT_EQ(own->BiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_FALSE(own->ParentBiDiMode());
  EXPECT_FALSE(own->UseRightToLeftAlignment());
  EXPECT_TRUE(own->UseRightToLeftReading());
  // Following its parent again, it takes the parent's mode; so does a control placed later.
  own->SetParentBiDiMode(true);
  EXPECT_EQ(own->BiDiMode(), bdRightToLeft);
  auto* later = new ModeWatcher(main);
  later->SetParent(inner);
  EXPECT_EQ(later->BiDiMode(), bdRightToLeft);
  // Setting the same mode again tells no one.
  main->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(inner->changes, 1);
  main->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(later->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(inner->changes, 2);
}
