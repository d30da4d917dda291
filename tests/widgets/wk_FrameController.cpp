// The frame controller's pushes into linked controls, and the shared blink timer.
#include <map>

#include "platform/gui/CustomControl.h"
#include "tests/support/GuiTest.h"
#include "widgets/WkCommon.h"

namespace {

// A control with every controller setting, recording what was pushed, in order.
class FramedProbe : public TGraphicControl, public IWkFrameControllerClient {
 public:
  explicit FramedProbe(TComponent* owner) : TGraphicControl(owner) {}
  TWkFrameControllerNotifications FrameControllerNotifications() const override { return accepted; }
  bool ApplyFrameSetting(TWkFrameControllerProperty p, const TWkFrameController& c) override {
    if (p == fcpFlatButtons && !hasFlatButtons) return false;
    pushed.push_back(p);
    switch (p) {
      case fcpColor:
        color = c.Color();
        break;
      case fcpFrameStyle:
        frameStyle = c.FrameStyle();
        break;
      case fcpFrameSides:
        sides = c.FrameSides();
        break;
      default:
        break;
    }
    return true;
  }
  TWkFrameControllerNotifications accepted = AllFrameControllerNotifications;
  bool hasFlatButtons = true;
  std::vector<TWkFrameControllerProperty> pushed;
  TColor color = clNone;
  TFrameStyle frameStyle = fsNone;
  TSides sides = NoSides;
};

class CustomProbe : public TGraphicControl,
                    public IWkFrameControllerClient,
                    public IWkCustomFramingNotification {
 public:
  explicit CustomProbe(TComponent* owner) : TGraphicControl(owner) {}
  bool ApplyFrameSetting(TWkFrameControllerProperty, const TWkFrameController&) override {
    ++named;
    return true;
  }
  void CustomFramingChanged() override { ++custom; }
  int named = 0, custom = 0;
};

class FrameControllerTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    controller = new TWkFrameController(form);
    probe = new FramedProbe(form);
  }
  TWkFrameController* controller = nullptr;
  FramedProbe* probe = nullptr;
};

}  // namespace

TEST_F(FrameControllerTest, LinkingPushesEverythingOnceInTheFixedOrder) {
  controller->AddControl(probe);
  controller->AddControl(probe);  // already linked: nothing again
  const std::vector<TWkFrameControllerProperty> order = {
      fcpParentColor,          fcpColor,         fcpDisabledColor,   fcpReadOnlyColor,
      fcpReadOnlyColorOnFocus, fcpFocusColor,    fcpFlatButtonColor, fcpFlatButtons,
      fcpFrameColor,           fcpFrameHotColor, fcpFrameHotTrack,   fcpFrameHotStyle,
      fcpFrameSides,           fcpFrameStyle,    fcpFrameVisible,    fcpFramingPreference};
  EXPECT_EQ(probe->pushed, order);
  EXPECT_EQ(probe->color, clWindow);
  EXPECT_EQ(probe->frameStyle, fsFlat);
  EXPECT_EQ(controller->ControlCount(), 1);
  controller->RemoveControl(probe);
  EXPECT_FALSE(controller->HasControlList());
  controller->RemoveControl(probe);  // not linked: nothing happens
}

TEST_F(FrameControllerTest, ParentColourHoldsBackTheColourAndUnchangedValuesPushNothing) {
  controller->SetParentColor(true);
  controller->AddControl(probe);
  EXPECT_EQ(std::count(probe->pushed.begin(), probe->pushed.end(), fcpColor), 0);
  EXPECT_EQ(probe->pushed.front(), fcpParentColor);
  probe->pushed.clear();
  controller->SetColor(clWindow);  // the value it has: no push, ParentColor stays
  EXPECT_TRUE(probe->pushed.empty());
  EXPECT_TRUE(controller->ParentColor());
  controller->SetColor(clYellow);
  EXPECT_FALSE(controller->ParentColor());
  EXPECT_EQ(controller->FocusColor(), clYellow);  // it equalled the old colour
  EXPECT_EQ(probe->pushed, std::vector<TWkFrameControllerProperty>{fcpColor});
  controller->SetFocusColor(clRed);
  controller->SetColor(clLime);
  EXPECT_EQ(controller->FocusColor(), clRed);
  probe->pushed.clear();
  controller->SetParentColor(true);
  controller->SetParentColor(false);  // turning it off also pushes the colour
  EXPECT_EQ(probe->pushed,
            (std::vector<TWkFrameControllerProperty>{fcpParentColor, fcpParentColor, fcpColor}));
}

TEST_F(FrameControllerTest, RefusedAndMissingSettingsKeepTheControlsOwn) {
  probe->accepted = AllFrameControllerNotifications & ~(1u << fcpFrameStyle);
  probe->hasFlatButtons = false;
  controller->AddControl(probe);
  EXPECT_EQ(probe->frameStyle, fsNone);
  controller->SetFrameStyle(fsLowered);
  EXPECT_EQ(probe->frameStyle, fsNone);
  controller->SetFlatButtons(false);
  EXPECT_EQ(std::count(probe->pushed.begin(), probe->pushed.end(), fcpFlatButtons), 0);
  controller->SetFrameColor(clRed);
  EXPECT_EQ(probe->pushed.back(), fcpFrameColor);
}

TEST_F(FrameControllerTest, NestedUpdatesPushOnceAtTheOutermostEnd) {
  controller->AddControl(probe);
  probe->pushed.clear();
  controller->BeginUpdate();
  controller->BeginUpdate();
  controller->SetFrameStyle(fsRaised);
  controller->SetFrameSides(SideSet({sdTop}));
  controller->EndUpdate();
  EXPECT_TRUE(probe->pushed.empty());
  controller->EndUpdate();
  EXPECT_EQ(probe->pushed.size(), 16u);
  EXPECT_EQ(probe->frameStyle, fsRaised);
  probe->pushed.clear();
  controller->EndUpdate();  // unbalanced: never below zero, nothing pushed
  controller->SetFrameVisible(true);
  EXPECT_EQ(probe->pushed, std::vector<TWkFrameControllerProperty>{fcpFrameVisible});
}

TEST_F(FrameControllerTest, HotTrackShowsTheFrameAndResetsSidesOnlyOutsideLoading) {
  controller->SetFrameSides(SideSet({sdLeft}));
  controller->SetFrameHotTrack(true);
  EXPECT_TRUE(controller->FrameVisible());
  EXPECT_EQ(controller->FrameSides(), AllSides);

  // A window under construction: the controller is loading until Loaded.
  struct Building : TForm {
    explicit Building(TComponent* owner) : TForm(owner) {
      c = new TWkFrameController(this);
      p = new FramedProbe(this);
      c->AddControl(p);  // held back while loading
      c->SetFrameSides(SideSet({sdBottom}));
      c->SetFrameHotTrack(true);
    }
    TWkFrameController* c;
    FramedProbe* p;
  };
  std::unique_ptr<Building> w(NewForm<Building>(nullptr));
  EXPECT_EQ(w->c->FrameSides(), SideSet({sdBottom}));
  EXPECT_TRUE(w->c->FrameVisible());
  // Loaded pushed everything once.
  EXPECT_EQ(w->p->pushed.size(), 16u);
  EXPECT_EQ(w->p->sides, SideSet({sdBottom}));
}

TEST_F(FrameControllerTest, CustomFramingControlsPullTheirValuesThemselves) {
  auto* custom = new CustomProbe(form);
  controller->AddControl(custom);
  controller->SetFrameColor(clRed);
  EXPECT_EQ(custom->custom, 2);
  EXPECT_EQ(custom->named, 0);
  TWkFrameController other(nullptr);
  other.SetFrameStyle(fsBump);
  other.SetColor(clAqua);
  custom->custom = 0;
  controller->Assign(other);  // one grouped push
  EXPECT_EQ(custom->custom, 1);
  EXPECT_EQ(controller->FrameStyle(), fsBump);
  EXPECT_EQ(controller->Color(), clAqua);
  controller->RemoveControl(custom);
}

TEST_F(FrameControllerTest, RegIniFileReferenceIsClearedWhenItIsFreed) {
  auto* ini = new TWkRegIniFile(form);
  EXPECT_TRUE(ini->SettingsChanged());
  ini->SetPathType(ptRegistry);
  EXPECT_EQ(ini->PathType(), ptRegistry);
  controller->SetRegIniFile(ini);
  EXPECT_EQ(controller->RegIniFile(), ini);
  delete ini;
  EXPECT_EQ(controller->RegIniFile(), nullptr);
}

namespace {
struct Blinker : IWkBlinkingControl {
  bool IsBlinking() const override { return blinking; }
  void SetBlinkState(bool on) override {
    states.push_back(on);
    if (onSet) onSet();
  }
  bool blinking = true;
  std::vector<bool> states;
  std::function<void()> onSet;
};
}  // namespace

TEST(WkBlinking, SharedTimerAlternatesPhasesAndAsksEachControl) {
  TTimer::SetManualForTesting(true);
  Blinker a, b, quiet;
  quiet.blinking = false;
  JoinBlinkingControls(&a);
  JoinBlinkingControls(&b);
  JoinBlinkingControls(&quiet);
  ASSERT_NE(BlinkingControls, nullptr);
  BlinkingControls->SetIntervalOff(300);
  BlinkingControls->SetIntervalOn(700);
  EXPECT_EQ(BlinkingControls->Timer()->Interval(), 500u);  // takes effect at the next toggle
  BlinkingControls->Tick();
  EXPECT_FALSE(BlinkingControls->BlinkState());
  EXPECT_EQ(BlinkingControls->Timer()->Interval(), 300u);
  // b leaves during a's turn: the walk skips it.
  a.onSet = [&] { LeaveBlinkingControls(&b); };
  BlinkingControls->Tick();
  EXPECT_EQ(BlinkingControls->Timer()->Interval(), 700u);
  EXPECT_EQ(a.states, (std::vector<bool>{false, true}));
  EXPECT_EQ(b.states, std::vector<bool>{false});
  EXPECT_TRUE(quiet.states.empty());
  a.onSet = nullptr;

  Blinker stranger;
  BlinkingControls->Remove(&stranger);  // not listed: nothing changes
  EXPECT_EQ(BlinkingControls->GetCount(), 2);
  LeaveBlinkingControls(&a);
  LeaveBlinkingControls(&quiet);
  EXPECT_EQ(BlinkingControls, nullptr);
  LeaveBlinkingControls(&a);  // no list: nothing to do
  TTimer::SetManualForTesting(false);
}
