// The coin-casting window as a user meets it: opened from the panel over the workbench, six
// throws each writing its line, the sixth casting the chart before the window closes, and
// closing early.
#include "platform/gui/Desktop.h"
#include "tests/workbench/main_Fixture.h"
#include "workbench/CoinForm.h"

namespace {

class CoinWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form2 = form.get();
    coins.reset(NewForm<TForm6>(Application));
    Form6 = coins.get();
    coins->Milliseconds = [this] { return milliseconds; };
  }
  void TearDown() override {
    coins.reset();
    Form6 = nullptr;
    Form2 = nullptr;
    MainWindowTest::TearDown();
  }
  // One throw: start, then stop at the given milliseconds.
  void Throw(int ms) {
    UserClick(coins->Button2);
    milliseconds = ms;
    UserClick(coins->Button1);
  }
  bool Spinning() {
    return coins->GkGIFAnimator1->Visible() && coins->GkGIFAnimator2->Visible() &&
           coins->GkGIFAnimator3->Visible() && !coins->GkGIFAnimator4->Visible() &&
           !coins->GkGIFAnimator7->Visible() && !coins->GkGIFAnimator5->Visible();
  }
  bool Still() {
    return !coins->GkGIFAnimator1->Visible() && !coins->GkGIFAnimator2->Visible() &&
           !coins->GkGIFAnimator3->Visible() && coins->GkGIFAnimator4->Visible() &&
           coins->GkGIFAnimator7->Visible() && coins->GkGIFAnimator5->Visible();
  }
  std::unique_ptr<TForm6> coins;
  int milliseconds = 0;
};

}  // namespace

TEST_F(CoinWindow, TheWindowAndItsCoinsAsBuilt) {
  EXPECT_GBK_EQ(coins->Caption(), "铜钱摇卦");
  EXPECT_EQ(coins->ClientWidth(), 259);
  EXPECT_EQ(coins->ClientHeight(), 153);
  EXPECT_GBK_EQ(coins->GroupBox12->Caption(), "六爻通天地:心,意,钱,宇宙合一.");
  EXPECT_EQ(coins->GkGIFAnimator1->FrameIndex(), 1);
  EXPECT_EQ(coins->GkGIFAnimator2->FrameIndex(), 3);
  EXPECT_EQ(coins->GkGIFAnimator3->FrameIndex(), 0);
  for (TGkGIFAnimator* spin :
       {coins->GkGIFAnimator1, coins->GkGIFAnimator2, coins->GkGIFAnimator3}) {
    EXPECT_TRUE(spin->Animate() && spin->AsyncDrawing() && spin->Stretch() && spin->Center());
    EXPECT_FALSE(spin->AutoSize());
    EXPECT_GT(spin->Image().Count(), 2);
  }
  for (TGkGIFAnimator* still :
       {coins->GkGIFAnimator4, coins->GkGIFAnimator7, coins->GkGIFAnimator5}) {
    EXPECT_FALSE(still->Animate());
    EXPECT_TRUE(still->Stretch());
    EXPECT_EQ(still->Image().Count(), 1);
  }
  // Same three places for both sets.
  EXPECT_EQ(coins->GkGIFAnimator1->BoundsRect(), coins->GkGIFAnimator4->BoundsRect());
  EXPECT_EQ(coins->GkGIFAnimator2->BoundsRect(), coins->GkGIFAnimator7->BoundsRect());
  EXPECT_EQ(coins->GkGIFAnimator3->BoundsRect(), coins->GkGIFAnimator5->BoundsRect());
  EXPECT_EQ(coins->Button1->BoundsRect(), coins->Button2->BoundsRect());
  EXPECT_FALSE(coins->Button1->Visible());
}

TEST_F(CoinWindow, SixThrowsWriteTheLinesBottomUpAndTheLastCastsBeforeClosing) {
  SetLines("000000", "111111");
  std::string chartWhenCast;
  bool openWhenCast = false;
  const auto cast = coins->Cast;
  coins->Cast = [&] {
    cast();
    chartWhenCast = form->RichEdit1->GetText();
    openWhenCast = coins->Visible();
  };
  dialogs().AnswerModal([&](TForm&) {
    EXPECT_TRUE(Still());
    EXPECT_GBK_EQ(coins->Button2->Caption(), "第一次");
    UserClick(coins->Button2);
    EXPECT_TRUE(Spinning());
    EXPECT_FALSE(coins->Button2->Visible());
    EXPECT_TRUE(coins->Button1->Visible());
    SaveScreenshot(coins.get(), "coins-spinning");
    milliseconds = 4;  // throw 1, r 4: moving yang
    UserClick(coins->Button1);
    EXPECT_TRUE(Still());
    EXPECT_GBK_EQ(coins->Button2->Caption(), "第二次");
    EXPECT_EQ(LineCode(), "000001");
    EXPECT_EQ(MovingCode(), "111111");
    Throw(0);  // throw 2, r 0: yang
    Throw(2);  // throw 3, r 2: moving yang
    Throw(5);  // throw 4, r 5: moving yin
    Throw(3);  // throw 5, r 3: yin
    EXPECT_GBK_EQ(coins->Button2->Caption(), "第六次");
    Throw(997);  // throw 6, r 1: yang
  });
  Run("铜钱摇卦");
  EXPECT_EQ(LineCode(), "100111");
  EXPECT_EQ(MovingCode(), "001101");
  EXPECT_FALSE(coins->Visible());
  EXPECT_TRUE(openWhenCast);
  EXPECT_FALSE(chartWhenCast.empty());
  EXPECT_EQ(chartWhenCast, form->RichEdit1->GetText());
  EXPECT_GBK_EQ(coins->Button2->Caption(), "第六次");
  SaveScreenshot(form.get(), "coins-after-sixth-throw");
}

TEST_F(CoinWindow, ClosingEarlyKeepsTheThrownLinesCastsNothingAndStartsAgain) {
  SetLines("111111");
  const std::string chart = form->RichEdit1->GetText();
  int casts = 0;
  coins->Cast = [&] { ++casts; };
  dialogs().AnswerModal([&](TForm&) {
    Throw(2);                   // throw 1, r 2: yin
    Throw(1);                   // throw 2, r 1: yin
    UserClick(coins->Button2);  // spinning when closed
    UserCloseWindow(coins.get());
  });
  Run("铜钱摇卦");
  EXPECT_EQ(LineCode(), "111100");
  EXPECT_EQ(casts, 0);
  EXPECT_EQ(form->RichEdit1->GetText(), chart);
  // Hidden, the spinning coins' timers rest.
  EXPECT_FALSE(coins->GkGIFAnimator1->Timer().Enabled());

  dialogs().AnswerModal([&](TForm&) {
    EXPECT_GBK_EQ(coins->Button2->Caption(), "第一次");
    EXPECT_TRUE(Still());
    // The stop button is still the one showing; it records the first throw.
    EXPECT_TRUE(coins->Button1->Visible());
    EXPECT_FALSE(coins->Button2->Visible());
    milliseconds = 0;  // throw 1, r 0: moving yin
    UserClick(coins->Button1);
    EXPECT_GBK_EQ(coins->Button2->Caption(), "第二次");
  });
  Run("铜钱摇卦");
  EXPECT_EQ(LineCode(), "111100");
  EXPECT_EQ(MovingCode(), "000001");
}

TEST_F(CoinWindow, OpensCentredOverTheWorkbenchFiftyLeftAndThirteenUp) {
  form->SetBounds(100, 80, form->Width(), form->Height());
  dialogs().AnswerModal([&](TForm&) {
    EXPECT_EQ(coins->Left(), 100 + (form->Width() - coins->Width()) / 2 - 50);
    EXPECT_EQ(coins->Top(), 80 + (form->Height() - coins->Height()) / 2 - 13);
    EXPECT_TRUE(coins->GkGIFAnimator1->Timer().Enabled() == false);  // still coins show
    UserClick(coins->Button2);
    // Spinning on screen: the timers run, on the kit's worker threads.
    EXPECT_TRUE(coins->GkGIFAnimator1->Timer().Enabled());
    EXPECT_FALSE(coins->GkGIFAnimator1->Timer().SyncEvent());
  });
  Run("铜钱摇卦");
}

TEST_F(CoinWindow, ACastTheWorkbenchRefusesIsToldAndTheWindowStillCloses) {
  const std::string chart = form->RichEdit1->GetText();
  form->ComboBox1->SetText("x");  // the year box no longer holds a year
  dialogs().AnswerModal([&](TForm&) {
    for (int ms : {0, 1, 2, 3, 4, 5}) Throw(ms);
  });
  dialogs().AnswerMessage();
  dialogs().AnswerMessage();  // the workbench, active again, tells of its year box once more
  Run("铜钱摇卦");
  ASSERT_EQ(dialogs().Messages().size(), 2u);
  EXPECT_NE(dialogs().Messages()[0].find("日期或时间无效"), std::string::npos)
      << U8(dialogs().Messages()[0]);
  EXPECT_FALSE(coins->Visible());
  EXPECT_EQ(form->RichEdit1->GetText(), chart);
  // The six lines are in the workbench: throws 1..6 at r 0..5.
  EXPECT_EQ(LineCode(), "001100");
}
