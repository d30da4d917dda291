// The page control and its sheets: selecting pages by tab, refusing, freeing and closing the
// active page, hidden tabs, page order, loading with a default page, Ctrl+Tab, colours and
// the sheets' own rules.
#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;

namespace {

struct PageEvents {
  std::vector<std::string> log;
  void Watch(TWkPageControl* pc) {
    pc->OnChanging = [this, pc](TComponent*, int index, bool& allow) {
      log.push_back("changing " + std::to_string(index) + " active " +
                    (pc->ActivePage() ? pc->ActivePage()->Caption() : "-"));
      if (refuse) allow = false;
    };
    pc->OnChange = [this, pc](TComponent*) {
      log.push_back("change " + (pc->ActivePage() ? pc->ActivePage()->Caption() : "-") +
                    (pc->ActivePage() && pc->ActivePage()->Visible() ? " shown" : ""));
    };
    pc->OnPageChange = [this](TComponent*) { log.push_back("page"); };
  }
  bool refuse = false;
};

}  // namespace

TEST_F(TabTest, ATabClickShowsItsPageBeforeTheChangeEvents) {
  TWkPageControl* pc = Pages({"A", "B", "C"});
  pc->SetActivePage(Sheet("A"));
  PageEvents e;
  e.Watch(pc);
  ClickTab(pc, 2);
  EXPECT_EQ(pc->ActivePage(), Sheet("C"));
  EXPECT_EQ(e.log, (std::vector<std::string>{"changing 2 active A", "change C shown", "page"}));
  EXPECT_TRUE(Sheet("C")->Visible());
  EXPECT_FALSE(Sheet("A")->Visible());
  // The page fills the display rectangle.
  EXPECT_EQ(Sheet("C")->BoundsRect(), pc->DisplayRect());
  // A refusal keeps both the page and the tab, and the refused page stays hidden.
  e.log.clear();
  e.refuse = true;
  ClickTab(pc, 0);
  pc->SetActivePage(Sheet("B"));
  EXPECT_EQ(pc->ActivePage(), Sheet("C"));
  EXPECT_EQ(pc->TabIndex(), 2);
  EXPECT_FALSE(Sheet("A")->Visible());
  EXPECT_FALSE(Sheet("B")->Visible());
  EXPECT_EQ(e.log, (std::vector<std::string>{"changing 0 active C", "changing 1 active C"}));
}

TEST_F(TabTest, FreeingTheActivePageLeavesNoneAndSelectNextStartsFromTheFirst) {
  TWkPageControl* pc = Pages({"A", "B", "C"});
  pc->SetActivePage(Sheet("B"));
  PageEvents e;
  e.Watch(pc);
  delete Sheet("B");
  EXPECT_EQ(e.log, (std::vector<std::string>{"page"}));
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->TabIndex(), -1);
  EXPECT_EQ(pc->PageCount(), 2);
  pc->SelectNextPage(true);
  EXPECT_EQ(pc->ActivePage(), Sheet("A"));
}

TEST_F(TabTest, ClosingTheActiveTabSelectsTheTabBefore) {
  TWkPageControl* pc = Pages({"A", "B", "C", "D", "E"});
  pc->OnClose = [](TComponent*, bool& allow) { allow = true; };
  pc->SetActivePage(Sheet("D"));  // tab 3
  pc->CloseCurrentTab();
  EXPECT_EQ(pc->PageCount(), 4);
  EXPECT_EQ(pc->TabIndex(), 2);
  EXPECT_EQ(pc->ActivePage(), Sheet("C"));
  pc->SetActivePage(Sheet("A"));  // tab 0
  pc->CloseCurrentTab();
  EXPECT_EQ(pc->TabIndex(), 0);
  EXPECT_EQ(pc->ActivePage(), Sheet("B"));
  // Through the close button, as the browser's users do.
  pc->SetShowCloseButton(true);
  pc->UpdateLayout();
  UserClick(pc->CloseButton());
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage(), Sheet("C"));
}

TEST_F(TabTest, AHiddenTabLeavesItsPageShownAndFocusGoesToThePage) {
  TWkPageControl* pc = Pages({"A", "B"});
  auto* edit = new TEdit(form);
  edit->SetParent(Sheet("B"));
  edit->SetBounds(5, 5, 80, 21);
  pc->SetActivePage(Sheet("B"));
  PageEvents e;
  e.Watch(pc);
  e.refuse = true;  // the strip follows the page without asking
  Sheet("B")->SetTabVisible(false);
  EXPECT_EQ(pc->TabIndex(), -1);
  EXPECT_EQ(pc->ActivePage(), Sheet("B"));
  EXPECT_TRUE(Sheet("B")->Visible());
  EXPECT_EQ(Sheet("B")->TabIndex(), -1);
  EXPECT_EQ(pc->TabCount(), 1);
  pc->SetFocus();
  ProcessEvents();
  EXPECT_TRUE(edit->Focused());
  // The tab comes back: the strip shows it again, still without OnChanging.
  Sheet("B")->SetTabVisible(true);
  EXPECT_EQ(pc->TabIndex(), 1);
  EXPECT_EQ(e.log, (std::vector<std::string>{"change B shown", "page"}));
}

TEST_F(TabTest, PageWalksWrapSkipTablessPagesButNotDisabledOnes) {
  TWkPageControl* pc = Pages({"A", "B", "C", "D"});
  Sheet("B")->SetTabEnabled(false);
  Sheet("D")->SetTabVisible(false);
  EXPECT_EQ(pc->FindNextPage(nullptr, true, true), Sheet("A"));
  EXPECT_EQ(pc->FindNextPage(nullptr, false, true), Sheet("C"));
  EXPECT_EQ(pc->FindNextPage(Sheet("A"), false, true), Sheet("C"));
  EXPECT_EQ(pc->FindNextPage(Sheet("A"), true, true), Sheet("B"));
  EXPECT_EQ(pc->FindNextPage(Sheet("C"), true, false), Sheet("D"));
  pc->SetActivePage(Sheet("A"));
  pc->SelectNextPage(false);
  EXPECT_EQ(pc->ActivePage(), Sheet("C"));
  EXPECT_EQ(pc->PageForTabIndex(2), Sheet("C"));
  EXPECT_EQ(pc->PageForTabIndex(3), nullptr);
  EXPECT_EQ(pc->PageForTabIndex(-1), nullptr);
  // The only tab-visible page finds itself.
  TWkPageControl* one = Pages({"X"});
  EXPECT_EQ(one->FindNextPage(Sheet("X"), true, true), Sheet("X"));
  EXPECT_EQ(Pages({})->FindNextPage(nullptr, true, true), nullptr);
}

TEST_F(TabTest, PageIndexMovesPagesAndRejectsBadValues) {
  TWkPageControl* pc = Pages({"A", "B", "C"});
  std::vector<std::pair<int, int>> orders;
  pc->OnTabOrderChange = [&](TComponent*, int from, int to) { orders.push_back({from, to}); };
  Sheet("A")->SetPageIndex(2);
  EXPECT_EQ(pc->Pages(0), Sheet("B"));
  EXPECT_EQ(pc->Pages(2), Sheet("A"));
  EXPECT_EQ(pc->Tabs().Items(2)->Caption, "A");
  Sheet("A")->SetPageIndex(2);  // told even when nothing moves
  EXPECT_EQ(orders, (std::vector<std::pair<int, int>>{{0, 2}, {2, 2}}));
  try {
    Sheet("B")->SetPageIndex(3);
    ADD_FAILURE() << "accepted";
  } catch (const EWkTabControlError& e) {
    EXPECT_STREQ(e.what(), "3 is an invalid PageIndex value. PageIndex must be between 0 and 2");
  }
  EXPECT_THROW(Sheet("B")->SetPageIndex(-1), EListError);
  EXPECT_EQ(pc->Pages(0), Sheet("B"));
  EXPECT_THROW(pc->Pages(3), EListError);
  EXPECT_THROW(Sheet("B")->SetVisible(true), EWkTabControlError);
  // Detached, a page has no index and moving it does nothing.
  Sheet("C")->SetPageControl(nullptr);
  EXPECT_EQ(Sheet("C")->PageIndex(), -1);
  EXPECT_EQ(Sheet("C")->TabIndex(), 0);
  EXPECT_NO_THROW(Sheet("C")->SetPageIndex(5));
  EXPECT_EQ(pc->PageCount(), 2);
  delete Sheet("C");
}

TEST_F(TabTest, CtrlTabWalksThePagesFromInsideAndTabAloneIsLeftToTheWindow) {
  TWkPageControl* pc = Pages({"A", "B", "C"});
  auto* edit = new TEdit(form);
  edit->SetParent(Sheet("A"));
  edit->SetBounds(5, 5, 80, 21);
  pc->SetActivePage(Sheet("A"));
  ProcessEvents();
  edit->SetFocus();
  UserKey(edit, VK_TAB, ssCtrl);
  EXPECT_EQ(pc->ActivePage(), Sheet("B"));
  UserKey(pc, VK_TAB, ssCtrl | ssShift);
  EXPECT_EQ(pc->ActivePage(), Sheet("A"));
  EXPECT_FALSE(pc->DialogKey(VK_TAB, 0));
  // Outside the control, Ctrl+Tab is not its business.
  auto* outside = new TEdit(form);
  outside->SetParent(form);
  outside->SetBounds(5, 200, 80, 21);
  outside->SetFocus();
  EXPECT_FALSE(pc->DialogKey(VK_TAB, ssCtrl));
}

TEST_F(TabTest, ASheetColourTurnsColouredTabsOnAndOffRestoresTheControlColour) {
  TWkPageControl* pc = Pages({"A", "B"});
  EXPECT_FALSE(pc->UseColoredTabs());
  Sheet("B")->SetColor(RGB(10, 20, 30));
  EXPECT_TRUE(pc->UseColoredTabs());
  EXPECT_EQ(pc->Tabs().Items(1)->Color, RGB(10, 20, 30));
  pc->SetUseColoredTabs(false);
  EXPECT_EQ(Sheet("B")->Color(), pc->Color());
  EXPECT_EQ(pc->Tabs().Items(1)->Color, pc->Color());
  // The card under the active page is filled in the page's colour.
  pc->SetActivePage(Sheet("A"));
  Sheet("A")->SetColor(RGB(40, 50, 60));
  pc->UpdateLayout();
  const TRect card = pc->CalcPageRect(0);
  EXPECT_EQ(pc->PaintOffscreen().PixelColor(card.Left + 3, card.Top + 3), RGB(40, 50, 60));
}

TEST_F(TabTest, ShowAndHideHandlersAndTheirExceptions) {
  TWkPageControl* pc = Pages({"A", "B"});
  std::vector<std::string> log;
  Sheet("A")->OnShow = [&](TComponent*) { log.push_back("show A"); };
  Sheet("A")->OnHide = [&](TComponent*) { log.push_back("hide A"); };
  Sheet("B")->OnShow = [&](TComponent*) { throw Exception("boom"); };
  std::string reported;
  Application->OnException = [&](TComponent*, const std::exception& e) { reported = e.what(); };
  pc->SetActivePage(Sheet("A"));
  EXPECT_NO_THROW(pc->SetActivePage(Sheet("B")));
  Application->OnException = nullptr;
  EXPECT_EQ(log, (std::vector<std::string>{"show A", "hide A"}));
  EXPECT_EQ(reported, "boom");
  EXPECT_EQ(pc->ActivePage(), Sheet("B"));
  pc->HideAllTabs();
  EXPECT_EQ(pc->TabCount(), 0);
  pc->ShowAllTabs();
  EXPECT_EQ(pc->TabCount(), 2);
  EXPECT_EQ(pc->TabIndex(), 1);
}

namespace {

// A window that builds its page control as a stored description would: the pages, a stored
// active page and a default one, then Loaded.
class LoadedWindow : public TForm {
 public:
  explicit LoadedWindow(TComponent* owner, std::vector<std::string>* log) : TForm(owner) {
    pc = new TWkPageControl(this);
    pc->SetParent(this);
    pc->SetBounds(0, 0, 300, 150);
    for (const char* c : {"A", "B", "C"}) {
      auto* s = new TWkTabSheet(this);
      s->SetCaption(c);
      s->SetPageControl(pc);
      sheets.push_back(s);
    }
    pc->SetActivePage(sheets[0]);
    pc->SetActivePageDefault(sheets[2]);
    pc->OnChanging = [log](TComponent*, int, bool&) { log->push_back("changing"); };
    pc->OnChange = [log](TComponent*) { log->push_back("change"); };
    pc->OnPageChange = [log](TComponent*) { log->push_back("page"); };
  }
  TWkPageControl* pc;
  std::vector<TWkTabSheet*> sheets;
};

}  // namespace

TEST_F(TabTest, LoadingShowsTheDefaultPageWithoutEvents) {
  std::vector<std::string> log;
  auto* w = new LoadedWindow(nullptr, &log);
  w->AfterConstruction();
  EXPECT_EQ(w->pc->ActivePage(), w->sheets[2]);
  EXPECT_EQ(w->pc->TabIndex(), 2);
  EXPECT_TRUE(w->sheets[2]->Visible());
  EXPECT_FALSE(w->sheets[0]->Visible());
  EXPECT_TRUE(log.empty());
  // Freeing the default page clears the reference.
  delete w->sheets[2];
  EXPECT_EQ(w->pc->ActivePageDefault(), nullptr);
  delete w;
}

TEST_F(TabTest, LoadingKeepsTheStoredActivePageWhenTheFirstTabIsDisabled) {
  std::vector<std::string> log;
  auto* w = new LoadedWindow(nullptr, &log);
  // Still loading: A's tab disabled, C the stored active page, no default page.
  w->sheets[0]->SetTabEnabled(false);
  w->pc->SetActivePageDefault(nullptr);
  w->pc->SetActivePage(w->sheets[2]);
  w->AfterConstruction();
  ProcessEvents();
  EXPECT_EQ(w->pc->ActivePage(), w->sheets[2]);
  EXPECT_EQ(w->pc->TabIndex(), 2);
  EXPECT_TRUE(w->sheets[2]->Visible());
  EXPECT_FALSE(w->sheets[1]->Visible());
  EXPECT_TRUE(log.empty());
  delete w;
}
