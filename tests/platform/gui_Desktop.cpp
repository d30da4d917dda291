// Key states and screen metrics.
#include <memory>

#include "platform/gui/Desktop.h"
#include "tests/support/GuiTest.h"

namespace {

class DesktopTest : public GuiTest {
 protected:
  void TearDown() override {
    SetKeyStateProviderForTesting({});
    GuiTest::TearDown();
  }
};

TEST_F(DesktopTest, InsertTogglesWithThePressesTheProgramSeesAndTestsCanReplaceTheAnswers) {
  TForm* form = NewForm<TForm>(nullptr);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  form->Show();
  const bool before = KeyToggled(VK_INSERT);
  UserKey(edit, VK_INSERT);
  EXPECT_EQ(KeyToggled(VK_INSERT), !before);
  UserKey(edit, VK_INSERT);
  EXPECT_EQ(KeyToggled(VK_INSERT), before);
  delete form;

  SetKeyStateProviderForTesting([](uint16_t vk) -> int16_t {
    return vk == VK_NUMLOCK ? 1 : vk == VK_SHIFT ? static_cast<int16_t>(0x8000) : 0;
  });
  EXPECT_TRUE(KeyToggled(VK_NUMLOCK));
  EXPECT_FALSE(KeyToggled(VK_CAPITAL));
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
}

TEST_F(DesktopTest, IndicatorsComeOnlyFromADisplayThatTellsThem) {
  // Offscreen there is no display to ask: a lock key the program saw pressed still reads off.
  NoteLockKeyPressed(VK_CAPITAL);
  EXPECT_FALSE(DisplayKeyIndicator(VK_CAPITAL));
  NoteLockKeyPressed(VK_CAPITAL);
  EXPECT_FALSE(DisplayKeyIndicator(VK_INSERT));
  SetKeyStateProviderForTesting([](uint16_t vk) -> int16_t { return vk == VK_SCROLL ? 1 : 0; });
  EXPECT_TRUE(DisplayKeyIndicator(VK_SCROLL));
  EXPECT_FALSE(DisplayKeyIndicator(VK_NUMLOCK));
}

TEST_F(DesktopTest, SizeDragNeedsAShownWindowThatTheWindowSystemCanDrag) {
  std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
  EXPECT_FALSE(form->StartSizeDrag());  // not shown
  form->Show();
  EXPECT_FALSE(form->StartSizeDrag());  // the offscreen platform offers no sizing drag
}

TEST_F(DesktopTest, EveryPointHasAWorkArea) {
  const TRect area = MonitorWorkAreaAt(Point(-100000, -100000));
  EXPECT_GT(area.Width(), 0);
  EXPECT_GT(area.Height(), 0);
  EXPECT_EQ(MonitorWorkAreaAt(area.TopLeft()), area);
  EXPECT_GT(ScrollBarWidth(), 0);
  EXPECT_GT(WheelScrollLines(), 0);
}

}  // namespace
