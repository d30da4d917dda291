// Dragging tabs to new places (drop indicator, scrolling while dragging, the page that moves)
// and docking controls into a page control as pages of their own.
#include "tests/widgets/TabTestSupport.h"

using namespace tabtest;

class TabDragTest : public TabTest {
 protected:
  void SetUp() override {
    TabTest::SetUp();
    // A page without a tab first, then A, B, C with tabs 0, 1, 2.
    pc = Pages({"P", "A", "B", "C"});
    Sheet("P")->SetTabVisible(false);
    pc->SetAllowTabDragging(true);
    pc->SetActivePage(Sheet("C"));
    pc->UpdateLayout();
  }
  TPoint TabCentre(int tab) { return Centre(pc->TabClientRect(tab)); }
  void Press(TPoint p) { pc->MouseDown(mbLeft, ssLeft, p.X, p.Y); }
  void Move(TPoint p) { pc->MouseMove(ssLeft, p.X, p.Y); }
  void Release(TPoint p) { pc->MouseUp(mbLeft, 0, p.X, p.Y); }
  std::vector<std::string> Order() {
    std::vector<std::string> order;
    for (int i = 0; i < pc->PageCount(); ++i) order.push_back(pc->Pages(i)->Caption());
    return order;
  }
  TWkPageControl* pc = nullptr;
};

TEST_F(TabDragTest, DroppingTheCurrentTabOnAnotherMovesItsPageThere) {
  Press(TabCentre(2));
  Move(TabCentre(2));
  ASSERT_TRUE(pc->Dragging());
  EXPECT_EQ(pc->DropTarget(), -1);  // over the current tab nothing would move
  Move(TabCentre(0));
  EXPECT_EQ(pc->DropTarget(), 0);
  // Before the current tab: the marker stands across tab 0's starting edge (moved in by
  // half the side run), 16 along and 9 across, from 2 pixels above the tab.
  const TRect tab0 = pc->TabClientRect(0);
  EXPECT_EQ(pc->DropIndicatorRect(),
            Rect(tab0.Left + 5 - 8, tab0.Top - 2, tab0.Left + 5 + 8, tab0.Top + 7));
  Release(TabCentre(0));
  EXPECT_FALSE(pc->Dragging());
  EXPECT_TRUE(IsRectEmpty(pc->DropIndicatorRect()));
  // Tab 0 is page A at position 1: the page without a tab keeps its place.
  EXPECT_EQ(Order(), (std::vector<std::string>{"P", "C", "A", "B"}));
  EXPECT_EQ(pc->ActivePage(), Sheet("C"));
  EXPECT_EQ(pc->TabIndex(), 0);
}

TEST_F(TabDragTest, OnlyTheCurrentTabIsDraggedAfterARefusedClick) {
  pc->OnChanging = [](TComponent*, int, bool& allow) { allow = false; };
  Press(TabCentre(0));
  Move(TabCentre(1));
  EXPECT_FALSE(pc->Dragging());
  Release(TabCentre(1));
  EXPECT_EQ(Order(), (std::vector<std::string>{"P", "A", "B", "C"}));
}

TEST_F(TabDragTest, ScrollingWhileDraggingStopsWhenTheDragEndsWithoutADrop) {
  Press(TabCentre(2));
  Move(TabCentre(2));
  Move(Point(250, 10));  // the bare strip: no tab to drop on
  ASSERT_NE(pc->DragScrollTimer(), nullptr);
  EXPECT_TRUE(pc->DragScrollTimer()->Enabled());
  EXPECT_EQ(pc->DragScrollTimer()->Interval(), 400u);
  FireTimer(pc->DragScrollTimer());
  EXPECT_EQ(pc->DragScrollTimer()->Interval(), 300u);
  // Released over the window, which takes no drop: the timer still stops.
  Release(pc->ScreenToClient(form->ClientToScreen(Point(400, 300))));
  EXPECT_FALSE(pc->Dragging());
  EXPECT_FALSE(pc->DragScrollTimer()->Enabled());
  EXPECT_EQ(Order(), (std::vector<std::string>{"P", "A", "B", "C"}));
}

TEST_F(TabDragTest, AControlDroppedOnTheDockSiteGetsASheetAndADoubleClickUndocksIt) {
  pc->SetDockSite(true);
  auto* tool = new TPanel(form);
  tool->SetName("Tool");
  tool->SetCaption("tool");
  tool->SetParent(form);
  tool->SetBounds(320, 200, 80, 60);
  tool->MouseDown(mbLeft, ssLeft, 10, 10);
  tool->BeginDrag(true);
  const TPoint over = tool->ScreenToClient(pc->ClientToScreen(Point(150, 80)));
  tool->MouseMove(ssLeft, over.X, over.Y);
  tool->MouseUp(mbLeft, 0, over.X, over.Y);
  ASSERT_EQ(pc->PageCount(), 5);
  TWkTabSheet* host = pc->HostOf(tool);
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(tool->Parent(), host);
  EXPECT_EQ(tool->Align(), alClient);
  EXPECT_EQ(pc->ActivePage(), host);
  // Its caption (to the first line break) and visibility show on its tab.
  tool->SetCaption("Tools\r\nmore");
  EXPECT_EQ(host->Caption(), "Tools");
  tool->SetVisible(false);
  EXPECT_FALSE(host->TabVisible());
  tool->SetVisible(true);
  EXPECT_TRUE(host->TabVisible());
  pc->UpdateLayout();
  // A docked control is not taken twice.
  bool accept = true;
  pc->DragOver(tool, 10, 10, dsDragMove, accept);
  EXPECT_FALSE(accept);

  pc->UpdateLayout();  // as the posted layout does before the user gets there
  const TPoint tab = TabCentre(host->TabIndex());
  Press(tab);
  Release(tab);
  pc->DblClick();
  EXPECT_EQ(pc->PageCount(), 4);
  EXPECT_EQ(pc->HostOf(tool), nullptr);
  auto* floating = dynamic_cast<TForm*>(tool->Parent());
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->Visible());
  EXPECT_EQ(tool->Align(), alNone);
  EXPECT_NE(pc->ActivePage(), nullptr);
}
