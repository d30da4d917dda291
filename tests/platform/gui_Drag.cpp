// The drag of controls: threshold, enter/move/leave on the targets under the pointer, the
// drop on a target that accepted, the end the source hears, and controls freed mid-drag.
#include "platform/gui/Desktop.h"
#include "tests/support/GuiTest.h"

namespace {

struct DragLog {
  std::vector<std::string> events;
};

class DragForm : public TForm {
 public:
  DragForm(TComponent* owner, DragLog* log) : TForm(owner), log_(log) {
    SetClientSize(300, 200);
    source = MakePanel("Source", 10, 10);
    target = MakePanel("Target", 150, 10);
    refuser = MakePanel("Refuser", 150, 110);
    inner = new TPanel(this);
    inner->SetName("Inner");
    inner->SetParent(target);
    inner->SetBounds(50, 50, 20, 20);
    for (TControl* c : {static_cast<TControl*>(target), static_cast<TControl*>(inner)}) {
      c->OnDragOver = [this](TComponent* s, TControl* src, int x, int y, TDragState st,
                             bool& accept) {
        const char* names[] = {"enter", "leave", "move"};
        log_->events.push_back(static_cast<TControl*>(s)->Name() + " " + names[st] + " " +
                               std::to_string(x) + "," + std::to_string(y));
        accept = src == source;
      };
      c->OnDragDrop = [this](TComponent* s, TControl*, int x, int y) {
        log_->events.push_back(static_cast<TControl*>(s)->Name() + " drop " + std::to_string(x) +
                               "," + std::to_string(y));
      };
    }
    refuser->OnDragOver = [this](TComponent*, TControl*, int, int, TDragState st, bool& accept) {
      log_->events.push_back(st == dsDragLeave ? "refuser leave" : "refuser over");
      accept = false;
    };
    source->OnEndDrag = [this](TComponent*, TControl* t, int x, int y) {
      log_->events.push_back("end " + (t ? t->Name() : std::string("none")) + " " +
                             std::to_string(x) + "," + std::to_string(y));
    };
  }
  TPanel* MakePanel(const std::string& name, int x, int y) {
    auto* p = new TPanel(this);
    p->SetName(name);
    p->SetParent(this);
    p->SetBounds(x, y, 100, 80);
    return p;
  }
  // A pointer position of `to`, in `source`'s client coordinates.
  TPoint In(TControl* to, int x, int y) {
    return source->ScreenToClient(to->ClientToScreen(Point(x, y)));
  }
  TPanel* source;
  TPanel* target;
  TPanel* refuser;
  TPanel* inner;

 private:
  DragLog* log_;
};

class DragTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form = new DragForm(nullptr, &log);
    form->AfterConstruction();
  }
  void TearDown() override {
    delete form;
    GuiTest::TearDown();
  }
  void Move(TPoint p) { form->source->MouseMove(ssLeft, p.X, p.Y); }
  void Release(TPoint p) { form->source->MouseUp(mbLeft, 0, p.X, p.Y); }
  DragLog log;
  DragForm* form = nullptr;
};

}  // namespace

TEST_F(DragTest, ThresholdThenEnterMoveAndDropOnTheAcceptingTarget) {
  form->source->MouseDown(mbLeft, ssLeft, 20, 20);
  form->source->BeginDrag(false, 5);
  EXPECT_TRUE(form->source->Dragging());
  Move(Point(23, 22));  // within the threshold: nothing yet
  EXPECT_TRUE(log.events.empty());
  Move(form->In(form->target, 5, 6));
  Move(form->In(form->target, 7, 8));
  Release(form->In(form->target, 9, 10));
  EXPECT_FALSE(form->source->Dragging());
  EXPECT_EQ(log.events, (std::vector<std::string>{"Target enter 5,6", "Target move 7,8",
                                                  "Target drop 9,10", "end Target 9,10"}));
}

TEST_F(DragTest, TargetsChangeUnderThePointerAndARefusedDropEndsOnNothing) {
  form->source->MouseDown(mbLeft, ssLeft, 20, 20);
  form->source->BeginDrag(true);
  Move(form->In(form->target, 5, 5));
  Move(form->In(form->inner, 1, 2));  // the child lies over its parent
  Move(form->In(form->refuser, 3, 3));
  Release(form->In(form->refuser, 3, 3));
  // A leave names the point where the pointer went, in the left target's coordinates.
  auto at = [&](TControl* from, TControl* to, int x, int y) {
    const TPoint p = from->ScreenToClient(to->ClientToScreen(Point(x, y)));
    return std::to_string(p.X) + "," + std::to_string(p.Y);
  };
  EXPECT_EQ(log.events,
            (std::vector<std::string>{
                "Target enter 5,5", "Target leave " + at(form->target, form->inner, 1, 2),
                "Inner enter 1,2", "Inner leave " + at(form->inner, form->refuser, 3, 3),
                "refuser over", "refuser leave", "end none 0,0"}));
}

TEST_F(DragTest, EndDragAndAReleaseWithoutAButtonEndWithoutADrop) {
  form->source->MouseDown(mbLeft, ssLeft, 20, 20);
  form->source->BeginDrag(true);
  Move(form->In(form->target, 5, 5));
  form->source->EndDrag(false);
  EXPECT_FALSE(form->source->Dragging());
  EXPECT_EQ(log.events.back(), "end none 0,0");
  log.events.clear();
  // A move without a button ends the drag too (the release went elsewhere).
  form->source->BeginDrag(true);
  form->source->MouseMove(0, 30, 30);
  EXPECT_FALSE(form->source->Dragging());
  // An ordinary move is the control's own again.
  int moves = 0;
  form->source->OnMouseMove = [&](TComponent*, TShiftState, int, int) { ++moves; };
  form->source->MouseMove(ssLeft, 40, 40);
  EXPECT_EQ(moves, 1);
}

TEST_F(DragTest, ATargetFreedDuringTheDragIsForgottenAndOnlyOneDragRuns) {
  form->source->MouseDown(mbLeft, ssLeft, 20, 20);
  form->source->BeginDrag(true);
  Move(form->In(form->inner, 1, 1));
  delete form->inner;
  form->inner = nullptr;
  form->refuser->BeginDrag(true);  // a second drag is refused while one runs
  EXPECT_FALSE(form->refuser->Dragging());
  Release(form->In(form->target, 60, 60));
  EXPECT_EQ(log.events.back(), "end none 0,0");
  EXPECT_FALSE(form->source->Dragging());
}
