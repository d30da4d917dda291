// Status bar and panes: auto-style, proportional widths, the grip, simple mode, pane frames,
// captions, blinking and the shared polling timer (stepped by hand).
#include <cmath>
#include <string>

#include "platform/Clock.h"
#include "platform/gui/Desktop.h"
#include "tests/support/GuiTest.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkStatus.h"

using namespace wktest;

namespace {

// Counts the sizing drags the grip would start.
class ProbeBar : public TWkStatusBar {
 public:
  using TWkStatusBar::TWkStatusBar;
  int drags = 0;

 protected:
  void BeginSizeDrag(TForm*) override { ++drags; }
};

class StatusTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetClientSize(400, 100);
    bar = new ProbeBar(form);
    bar->SetParent(form);
  }
  void TearDown() override {
    WindowTest::TearDown();
    SetKeyStateProviderForTesting({});
    ProcessEvents();  // lists freed after a tick go with the queued calls
  }
  TWkStatusPane* AddPane(int width) {
    auto* pane = new TWkStatusPane(form);
    pane->SetParent(bar);
    pane->SetWidth(width);
    pane->SetLeft(1000);
    pane->SetAlign(alLeft);
    return pane;
  }
  ProbeBar* bar = nullptr;
};

}  // namespace

TEST_F(StatusTest, BarStartsBorderlessAtTheBottomAndKeepsHandSetBordersAfterLoading) {
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->Height(), 19);
  EXPECT_EQ(bar->BoundsRect(), Rect(0, 81, 400, 100));
  EXPECT_EQ(bar->BorderOuter(), fsNone);
  EXPECT_TRUE(bar->AutoStyle());
  // The classic bar's client area reaches past its left, right and bottom edges.
  EXPECT_EQ(bar->GetClientRect(), Rect(-1, 1, 401, 20));
  bar->SetSimpleStatus(true);
  EXPECT_EQ(bar->GetClientRect(), Rect(0, 2, 400, 20));

  struct Window : TForm {
    explicit Window(TComponent* owner) : TForm(owner) {
      auto_ = new TWkStatusBar(this);
      auto_->SetParent(this);
      auto_->SetHeight(30);  // re-applied on loading
      hand = new TWkStatusBar(this);
      hand->SetParent(this);
      hand->SetBorderOuter(fsRaised);
    }
    TWkStatusBar* auto_;
    TWkStatusBar* hand;
  };
  std::unique_ptr<Window> w(NewForm<Window>(nullptr));
  EXPECT_EQ(w->auto_->Height(), 19);
  EXPECT_FALSE(w->hand->AutoStyle());
  EXPECT_EQ(w->hand->BorderOuter(), fsRaised);
}

TEST_F(StatusTest, PanesScaleInProportionAndNeverByANothingWideBar) {
  bar->SetAlign(alNone);
  bar->SetBounds(0, 0, 400, 19);
  bar->SetAutoScalePanes(true);
  TWkStatusPane* a = AddPane(100);
  TWkStatusPane* b = AddPane(300);
  bar->SetWidth(500);
  EXPECT_EQ(a->Width(), 125);
  EXPECT_EQ(b->Width(), 375);
  bar->SetWidth(0);  // a minimised window
  EXPECT_EQ(a->Width(), 0);
  bar->SetWidth(500);  // no proportions to keep from a width of 0
  EXPECT_EQ(a->Width(), 0);
  EXPECT_EQ(b->Width(), 0);
  bar->SetAutoScalePanes(false);
  a->SetWidth(50);
  bar->SetWidth(600);
  EXPECT_EQ(a->Width(), 50);
}

// What the screen shows of the bar: every device column painted. The suite runs this once more
// at 150%, where a pane's edge falls inside a device pixel.
TEST_F(StatusTest, EveryDeviceColumnOfTheBarIsPaintedOnScreen) {
  for (const int width : {1250, 640, 401}) {
    SCOPED_TRACE(width);
    form->SetClientSize(width, 100);
    TWkStatusPane* pane = AddPane(300);
    form->Show();
    ProcessEvents();
    const auto shown = GrabScreen(form);
    ASSERT_FALSE(shown->Empty());
    const double ratio = static_cast<double>(shown->Width()) / form->ClientWidth();
    // The rows inside the bar, clear of its top and bottom edge.
    const int top = static_cast<int>(std::ceil((bar->Top() + 2) * ratio));
    const int bottom = static_cast<int>((bar->Top() + bar->Height() - 2) * ratio);
    ASSERT_LT(top, bottom);
    std::string black;
    for (int x = 0; x < shown->Width(); ++x) {
      int dark = 0;
      for (int y = top; y < bottom; ++y) dark += shown->PixelColor(x, y) == clBlack ? 1 : 0;
      if (dark == bottom - top) black += " " + std::to_string(x);
    }
    EXPECT_EQ(black, "") << "black device columns at ratio " << ratio << ", form "
                         << form->ClientWidth() << " wide";
    delete pane;
  }
}

TEST_F(StatusTest, SimpleStatusHidesEveryPaneAndShowsThemAllAgain) {
  TTextRecorder rec(6, 12);
  TWkStatusPane* a = AddPane(100);
  TWkStatusPane* hidden = AddPane(100);
  hidden->SetVisible(false);
  bar->SetSimpleCaption("就绪");
  bar->SetSimpleStatus(true);
  EXPECT_FALSE(a->Visible());
  bar->PaintOffscreen();
  const auto shown = rec.Find("就绪");
  ASSERT_EQ(shown.size(), 1u);
  // R = (0, 2, 400, 19) less the frame: text at R.Left + 2, centred by the height of "Pp".
  EXPECT_EQ(shown[0].Lines.at(0).X, 3);
  EXPECT_EQ(shown[0].Lines.at(0).Y, 3 + (15 - 12) / 2);
  bar->SetSimpleStatus(false);
  EXPECT_TRUE(a->Visible());
  EXPECT_TRUE(hidden->Visible());
}

TEST_F(StatusTest, GripIsDrawnOnTheBarsOwnClientRectangleOnlyOnSizeableWindows) {
  bar->SetColor(kMarker);
  TBitmap& pic = bar->PaintOffscreen();
  // Client rectangle (-1, 1, 401, 20) less 1 at the bottom: R = 400, B = 19; light squares
  // from (396, 7), shadow squares one pixel up and left.
  EXPECT_TRUE(PixelsAre(pic, {{397, 8, clBtnHighlight},
                              {396, 7, clBtnShadow},
                              {395, 6, clBtnShadow},
                              {389, 16, clBtnHighlight},
                              {387, 14, clBtnShadow},
                              {399, 18, kMarker},
                              {394, 6, kMarker}}));
  bar->MouseDown(mbLeft, ssLeft, 395, 10);
  EXPECT_EQ(bar->drags, 1);
  bar->MouseDown(mbLeft, ssLeft, 380, 10);  // left of the 13-pixel hit area
  EXPECT_EQ(bar->drags, 1);

  form->SetBorderStyle(bsSingle);
  EXPECT_EQ(bar->PaintOffscreen().PixelColor(397, 8), kMarker);
  bar->MouseDown(mbLeft, ssLeft, 395, 10);
  EXPECT_EQ(bar->drags, 1);
  form->SetBorderStyle(bsSizeable);
  form->SetWindowState(wsMaximized);
  EXPECT_FALSE(bar->SizeGripVisible());
  form->SetWindowState(wsNormal);
  bar->SetShowSizeGrip(false);
  EXPECT_FALSE(bar->SizeGripVisible());
}

TEST_F(StatusTest, PaneFramesLeaveTheirCornersOpenAndCaptionsFollowTheFrameStyle) {
  TWkStatusPane* pane = AddPane(100);
  form->SetColor(kMarker);
  bar->SetColor(kMarker);
  EXPECT_EQ(pane->GetCaptionRect(), Rect(2, 2, 98, 17));
  const TColor fc = AdjustColor(clBtnShadow, 30);
  EXPECT_TRUE(PixelsAre(pane->PaintOffscreen(), {{1, 1, kMarker},
                                                 {1, 2, fc},
                                                 {2, 1, fc},
                                                 {98, 16, fc},
                                                 {97, 17, fc},
                                                 {98, 17, kMarker},
                                                 {0, 5, kMarker}}));
  pane->SetFrameStyle(fsLowered);
  EXPECT_EQ(pane->GetCaptionRect(), Rect(3, 3, 97, 16));
  EXPECT_TRUE(PixelsAre(pane->PaintOffscreen(), {{1, 1, clBtnShadow}, {2, 2, cl3DDkShadow}}));
  pane->SetFrameStyle(fsNone);
  pane->SetBorderWidth(0);
  EXPECT_EQ(pane->GetCaptionRect(), Rect(0, 0, 100, 19));
  pane->SetTransparent(false);
  pane->SetFillColor(clYellow);
  EXPECT_FALSE(pane->ParentFillColor());
  EXPECT_EQ(pane->PaintOffscreen().PixelColor(0, 0), clYellow);

  bar->SetVisualStyle(vsGradient);  // only a separator, none at the bar's left end
  pane->SetTransparent(true);
  pane->SetBorderWidth(1);
  TColor s, e, frame;
  GetGradientBarColors(gcsSystem, s, e, frame);
  TWkStatusPane* second = AddPane(50);
  EXPECT_EQ(second->Left(), 99);
  EXPECT_TRUE(
      PixelsAre(second->PaintOffscreen(), {{1, 1, frame}, {1, 17, frame}, {2, 1, kMarker}}));
  EXPECT_TRUE(PixelsAre(pane->PaintOffscreen(), {{1, 1, kMarker}}));
}

TEST_F(StatusTest, CaptionsAutoSizeAlignAndEmbossWhenDisabled) {
  TTextRecorder rec(6, 12);
  TWkStatusPane* pane = AddPane(100);
  pane->SetAutoSize(true);
  EXPECT_EQ(pane->Width(), 40);  // DefaultWidth without a caption
  pane->SetCaption("abc");
  EXPECT_EQ(pane->Width(), 2 + 18 + 2 + 6);
  pane->SetAutoSize(false);
  pane->SetWidth(100);
  pane->PaintOffscreen();
  auto found = rec.Find("abc");
  ASSERT_FALSE(found.empty());
  // Caption rectangle (2, 2, 98, 17): x = 2 + 2 + 1, y = 2 + (15 - 12) / 2.
  EXPECT_EQ(found.back().Lines.at(0).X, 5);
  EXPECT_EQ(found.back().Lines.at(0).Y, 3);
  pane->SetAlignment(taRightJustify);
  rec.Clear();
  pane->PaintOffscreen();
  EXPECT_EQ(rec.Find("abc").back().Lines.at(0).X, 98 - 2 - 1 - 18);
  pane->SetEnabled(false);
  rec.Clear();
  pane->PaintOffscreen();
  found = rec.Find("abc");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].FontColor, clBtnHighlight);
  EXPECT_EQ(found[0].Lines.at(0).X, found[1].Lines.at(0).X + 1);
  EXPECT_EQ(found[1].FontColor, clBtnShadow);

  EXPECT_FALSE(pane->ShowApplicationHint("hint"));
  pane->SetAutoHint(true);
  EXPECT_TRUE(pane->ShowApplicationHint("保存文件"));
  EXPECT_EQ(pane->Caption(), "保存文件");
}

TEST_F(StatusTest, BlinkingAlternatesTheTextColourWithTheSharedTimer) {
  TWkStatusPane* pane = AddPane(100);
  TWkStatusPane* quiet = AddPane(100);
  ASSERT_NE(BlinkingControls, nullptr);
  pane->SetBlinkColor(clRed);
  pane->SetBlinking(true);
  pane->SetBlinkIntervalOn(800);
  EXPECT_EQ(quiet->BlinkIntervalOn(), 800);  // one list for all
  FireTimer(BlinkingControls->Timer());      // off phase
  EXPECT_EQ(pane->CurrentTextColor(), pane->Font()->Color());
  FireTimer(BlinkingControls->Timer());  // on phase
  EXPECT_EQ(pane->CurrentTextColor(), clRed);
  EXPECT_EQ(quiet->CurrentTextColor(), quiet->Font()->Color());
  pane->SetBlinking(false);  // back to normal at once
  EXPECT_EQ(pane->CurrentTextColor(), pane->Font()->Color());
  delete pane;
  delete quiet;
  EXPECT_EQ(BlinkingControls, nullptr);
}

TEST_F(StatusTest, ClockAndKeyPanesShareOnePollingTimer) {
  ScopedTestClock clock(EncodeDateTime(2026, 12, 7, 9, 5, 3, 0));
  auto* clockPane = new TWkClockStatus(form);
  clockPane->SetParent(bar);
  auto* keys = new TWkKeyStatus(form);
  keys->SetParent(bar);
  ASSERT_NE(PollingList, nullptr);
  EXPECT_EQ(clockPane->Width(), 150);
  EXPECT_EQ(keys->Width(), 45);
  EXPECT_EQ(keys->Alignment(), taCenter);
  clockPane->SetInterval(1000);
  EXPECT_EQ(keys->GetInterval(), 1000u);
  EXPECT_EQ(PollingList->Timer()->Interval(), 1000u);
  keys->SetActive(false);
  EXPECT_FALSE(clockPane->GetActive());
  keys->SetActive(true);

  FireTimer(PollingList->Timer());
  EXPECT_EQ(clockPane->Caption(), "2026-12-7 9:05:03");
  clockPane->SetFormat("hh:nn");
  EXPECT_EQ(clockPane->Caption(), "09:05");
  clockPane->OnGetDateTime = [](TComponent*, TDateTime& t) { t += 1.0 / 24; };
  int ticks = 0;
  keys->OnTimerExpired = [&](TComponent*) { ++ticks; };
  keys->SetVisible(false);  // an invisible pane is not updated
  FireTimer(PollingList->Timer());
  EXPECT_EQ(clockPane->Caption(), "10:05");
  EXPECT_EQ(ticks, 0);
  keys->SetVisible(true);
  FireTimer(PollingList->Timer());
  EXPECT_EQ(ticks, 1);
}

TEST_F(StatusTest, AClockWhoseTextStaysTheSameIsNotRepainted) {
  struct CountingClock : TWkClockStatus {
    using TWkClockStatus::TWkClockStatus;
    int changes = 0;
    void TextChanged() override {
      ++changes;
      TWkClockStatus::TextChanged();
    }
  };
  TDateTime now = EncodeDateTime(2026, 12, 7, 9, 5, 3, 0);
  ScopedTestClock clock([&] { return now; });
  auto* c = new CountingClock(form);
  c->SetParent(bar);
  FireTimer(PollingList->Timer());
  const int after = c->changes;
  EXPECT_GE(after, 1);
  now += 0.2 / 86400;  // still the same second
  FireTimer(PollingList->Timer());
  EXPECT_EQ(c->changes, after);
  now += 1.0 / 86400;
  FireTimer(PollingList->Timer());
  EXPECT_EQ(c->changes, after + 1);
}

TEST_F(StatusTest, KeyPanesShowLockKeysAndTheInsertMode) {
  TTextRecorder rec(6, 12);
  bool caps = false, insert = false;
  SetKeyStateProviderForTesting([&](uint16_t vk) -> int16_t {
    return (vk == VK_CAPITAL && caps) || (vk == VK_INSERT && insert) ? 1 : 0;
  });
  auto* key = new TWkKeyStatus(form);
  key->SetParent(bar);
  key->PaintOffscreen();
  EXPECT_TRUE(rec.Find("CAPS").empty());  // blank while off
  caps = true;
  FireTimer(PollingList->Timer());
  EXPECT_FALSE(key->KeyIsOff());
  key->PaintOffscreen();
  ASSERT_EQ(rec.Find("CAPS").size(), 1u);
  EXPECT_EQ(rec.Find("CAPS")[0].FontColor, key->Font()->Color());
  caps = false;
  key->SetKeyOffAppearance(koaDimmed);
  FireTimer(PollingList->Timer());
  rec.Clear();
  key->PaintOffscreen();
  ASSERT_EQ(rec.Find("CAPS").size(), 1u);
  EXPECT_EQ(rec.Find("CAPS")[0].FontColor, clGrayText);
  key->KeyStrings().Set(0, "大写");
  rec.Clear();
  key->PaintOffscreen();
  EXPECT_EQ(rec.Find("大写").size(), 1u);

  key->SetKey(tkInsert);
  key->SetInsertState(isInsert);  // remembers the Insert toggle as it is now (off)
  rec.Clear();
  key->PaintOffscreen();
  EXPECT_EQ(rec.Find("Insert").size(), 1u);
  insert = true;
  FireTimer(PollingList->Timer());
  EXPECT_EQ(key->ShownInsertState(), isOverwrite);
  key->SetInsertState(isInsert);  // the toggle as it is now counts as insert again
  EXPECT_EQ(key->ShownInsertState(), isInsert);
}

TEST_F(StatusTest, APaneFreedByATickHandlerIsSkippedAndTheLastOneFreesTheListAfterTheWalk) {
  auto* a = new TWkClockStatus(form);
  auto* b = new TWkKeyStatus(form);
  auto* c = new TWkKeyStatus(form);
  int cTicks = 0;
  c->OnTimerExpired = [&](TComponent*) { ++cTicks; };
  a->OnTimerExpired = [&](TComponent*) { delete b; };
  FireTimer(PollingList->Timer());
  EXPECT_EQ(cTicks, 1);
  a->OnTimerExpired = [&](TComponent*) {
    delete c;
    delete a;
  };
  TWkPollingList* list = PollingList;
  FireTimer(list->Timer());
  EXPECT_EQ(PollingList, nullptr);
  ProcessEvents();  // the emptied list goes once the tick is over
  auto* again = new TWkClockStatus(form);
  EXPECT_NE(PollingList, nullptr);
  delete again;
  EXPECT_EQ(PollingList, nullptr);
}

TEST_F(StatusTest, FrameControllerSetsThePanesFrameAndFill) {
  TWkStatusPane* pane = AddPane(100);
  auto* controller = new TWkFrameController(form);
  controller->SetFrameStyle(fsStatus);
  controller->SetFrameColor(clRed);
  controller->SetColor(clAqua);
  pane->SetFrameController(controller);
  EXPECT_EQ(pane->FrameStyle(), fsStatus);
  EXPECT_EQ(pane->FlatColor(), clRed);
  EXPECT_EQ(pane->FlatColorAdjustment(), 0);
  EXPECT_EQ(pane->FillColor(), clAqua);
  EXPECT_FALSE(pane->ParentFillColor());
}

TEST_F(StatusTest, AClockUnderTheGripGivesUpTwelvePixelsAndPassesPressesToTheBar) {
  auto* c = new TWkClockStatus(form);
  c->SetParent(bar);
  c->SetAlign(alRight);
  EXPECT_TRUE(c->OverlapsSizeGrip());
  EXPECT_EQ(c->GetCaptionRect().Right, 150 - 2 - 12);
  c->MouseDown(mbLeft, ssLeft, c->Width() - 3, 5);
  EXPECT_EQ(bar->drags, 1);
  c->MouseDown(mbLeft, ssLeft, 10, 5);
  EXPECT_EQ(bar->drags, 1);
}
