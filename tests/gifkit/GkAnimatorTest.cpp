// The GIF animator on a window: frame intervals, stepping, looping, frame index rules, what
// it paints, parking while hidden, and drawing from the timer's worker.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "GifTestCorpus.h"
#include "GifTestSupport.h"
#include "gifkit/GkAnimator.h"
#include "platform/Exceptions.h"
#include "platform/gui/Desktop.h"
#include "tests/support/GuiTest.h"

namespace {

const std::vector<std::uint32_t> kPalette = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000};

std::string Animation(const std::vector<int>& delays, int transparent = -1) {
  std::vector<AnimationFrame> frames;
  for (std::size_t i = 0; i < delays.size(); ++i) {
    AnimationFrame f = SolidFrame(0, 0, 4, 2, static_cast<std::uint8_t>(1 + i % 4), 0, transparent);
    if (transparent >= 0) f.Pixels[0] = static_cast<std::uint8_t>(transparent);
    f.DelayMs = delays[i];
    frames.push_back(f);
  }
  return MakeAnimation(4, 2, kPalette, frames);
}

class GkAnimatorTest : public WindowTest<TForm> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->SetBounds(0, 0, 200, 150);
    animator = new TGkGIFAnimator(form);
    animator->SetParent(form);
  }
  void Load(const std::string& bytes) {
    TGIFImage image;
    image.ReadGifBytes(bytes, true);
    image.FrameIndex = 0;
    animator->SetImage(&image);
  }
  // Runs the GUI thread's work until `done` holds; the limit only turns a hang into a failure.
  static bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      Application->ProcessMessages();
      CheckSynchronize();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  TGkGIFAnimator* animator = nullptr;
};

}  // namespace

TEST_F(GkAnimatorTest, DefaultsSizeAndTheKitCursors) {
  EXPECT_FALSE(animator->AsyncDrawing());
  EXPECT_FALSE(animator->Animate());
  EXPECT_TRUE(animator->AutoSize());
  EXPECT_TRUE(animator->Loop());
  EXPECT_TRUE(animator->Transparent());
  EXPECT_EQ(animator->Width(), 105);
  EXPECT_TRUE(CursorRegistered(crGkHand));
  EXPECT_TRUE(CursorRegistered(crGkDrag));
  Load(Animation({100, 100}));
  EXPECT_EQ(animator->Width(), 4);  // AutoSize takes the screen
  EXPECT_EQ(animator->Height(), 2);
  animator->SetAutoSize(false);
  animator->SetBounds(0, 0, 40, 20);
  Load(Animation({100, 100, 100}));
  EXPECT_EQ(animator->Width(), 40);
}

TEST_F(GkAnimatorTest, FrameIntervalsAreClampedAndOneFrameNeverTicks) {
  Load(Animation({0, 10, 65530, 300}));
  std::vector<std::uint32_t> intervals;
  for (int i = 0; i < 4; ++i) {
    animator->SetFrameIndex(i);
    intervals.push_back(animator->FrameInterval());
    EXPECT_EQ(animator->Timer().Interval(), intervals.back());
  }
  EXPECT_EQ(intervals, (std::vector<std::uint32_t>{50, 50, 10000, 300}));

  Load(Animation({100}));
  EXPECT_EQ(animator->FrameInterval(), 0u);
  animator->SetAnimate(true);
  animator->AnimatorTimerTick(nullptr);
  EXPECT_EQ(animator->FrameIndex(), 0);
  animator->SetAnimate(false);
}

TEST_F(GkAnimatorTest, FrameIndexTakesOnlyFramesThatExistAndTellsOfChanges) {
  int changed = 0;
  animator->OnFrameChanged = [&](TComponent*) { ++changed; };
  animator->SetFrameIndex(1);  // no frames yet: a stored index would have no effect
  EXPECT_EQ(animator->FrameIndex(), 0);
  Load(Animation({100, 100, 100}));
  EXPECT_EQ(animator->FrameIndex(), 0);
  animator->SetFrameIndex(3);
  animator->SetFrameIndex(-1);
  animator->SetFrameIndex(0);
  EXPECT_EQ(changed, 0);
  animator->SetFrameIndex(2);
  EXPECT_EQ(animator->FrameIndex(), 2);
  EXPECT_EQ(changed, 1);
}

TEST_F(GkAnimatorTest, TicksStepAndWrapAndWithoutLoopStopAtFrameZero) {
  Load(Animation({100, 100, 100}));
  form->Show();
  std::vector<std::string> events;
  animator->OnStart = [&](TComponent*) { events.push_back("start"); };
  animator->OnStop = [&](TComponent*) { events.push_back("stop"); };
  animator->OnFrameChanged = [&](TComponent*) {
    events.push_back(std::to_string(animator->FrameIndex()));
  };
  animator->SetAnimate(true);
  animator->AnimatorTimerTick(nullptr);
  animator->AnimatorTimerTick(nullptr);
  animator->AnimatorTimerTick(nullptr);
  EXPECT_TRUE(animator->Animate());
  animator->SetLoop(false);
  animator->AnimatorTimerTick(nullptr);
  animator->AnimatorTimerTick(nullptr);
  animator->AnimatorTimerTick(nullptr);
  EXPECT_FALSE(animator->Animate());
  EXPECT_FALSE(animator->Timer().Enabled());
  EXPECT_EQ(events, (std::vector<std::string>{"start", "1", "2", "0", "1", "2", "0", "stop"}));
}

TEST_F(GkAnimatorTest, PaintsTheComposedFrameStretchedCentredOrAtTheTopLeft) {
  Load(Animation({100, 100}));
  animator->SetAutoSize(false);
  animator->SetBounds(10, 10, 40, 20);
  form->SetColor(clBlue);
  TBitmap& whole = animator->PaintOffscreen();
  EXPECT_EQ(whole.PixelColor(1, 1), clWhite);
  EXPECT_EQ(whole.PixelColor(30, 15), clBlue);  // beyond the picture: the window behind
  animator->SetStretch(true);
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(30, 15), clWhite);
  animator->SetStretch(false);
  animator->SetCenter(true);
  TBitmap& centred = animator->PaintOffscreen();
  EXPECT_EQ(centred.PixelColor(18, 9), clWhite);
  EXPECT_EQ(centred.PixelColor(1, 1), clBlue);
}

TEST_F(GkAnimatorTest, TransparentPixelsShowWhatIsBehindOrTheEmptyScreenWhenTransparentIsOff) {
  Load(Animation({100, 100}, 0));
  animator->SetAutoSize(false);
  animator->SetBounds(0, 0, 4, 2);
  form->SetColor(clLime);
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(0, 0), clLime);
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(1, 0), clWhite);
  animator->SetTransparent(false);
  // The empty screen has the transparent entry's colour (black).
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(0, 0), clBlack);
}

TEST_F(GkAnimatorTest, TheTimerParksWhileTheWindowIsHiddenAndResumesWhenShown) {
  Load(Animation({100, 100}));
  animator->SetAnimate(true);
  EXPECT_FALSE(animator->Timer().Enabled());  // the window is not shown yet
  form->Show();
  EXPECT_TRUE(animator->Timer().Enabled());
  form->Hide();
  EXPECT_FALSE(animator->Timer().Enabled());
  EXPECT_TRUE(animator->Animate());
  form->Show();
  EXPECT_TRUE(animator->Timer().Enabled());
  animator->Hide();
  EXPECT_FALSE(animator->Timer().Enabled());
}

TEST_F(GkAnimatorTest, AsyncDrawingComposesOnTheWorkerAndRepaintsOnTheGuiThread) {
  Load(Animation({50, 50, 50}));
  auto sleep = std::make_shared<TSteppedTimerSleep>();
  animator->Timer().SetSleepForTesting(sleep);
  animator->SetAsyncDrawing(true);
  EXPECT_FALSE(animator->Timer().SyncEvent());
  const std::thread::id gui = std::this_thread::get_id();
  std::vector<bool> changedOnGui;
  animator->OnFrameChanged = [&](TComponent*) {
    changedOnGui.push_back(std::this_thread::get_id() == gui);
  };
  form->Show();
  animator->SetAnimate(true);
  for (int i = 1; i <= 4; ++i) {
    ASSERT_TRUE(sleep->WaitSleeping());
    sleep->Elapse();
    ASSERT_TRUE(PumpUntil([&] { return animator->FrameIndex() == i % 3; })) << i;
    ASSERT_TRUE(PumpUntil([&] { return changedOnGui.size() == static_cast<std::size_t>(i); }));
  }
  EXPECT_EQ(changedOnGui, std::vector<bool>(4, true));
  // The picture painted is the one the worker composed: frame 4 mod 3, red.
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(0, 0), static_cast<TColor>(kPalette[2]));
  animator->SetAnimate(false);
}

TEST_F(GkAnimatorTest, AComposedFrameHandedOutStaysWhileTheWorkerDrawsTheNext) {
  Load(Animation({50, 50, 50}));
  auto sleep = std::make_shared<TSteppedTimerSleep>();
  animator->Timer().SetSleepForTesting(sleep);
  animator->SetAsyncDrawing(true);
  form->Show();
  animator->SetAnimate(true);
  const TComposedFrame& first = animator->ComposeFrame(0);
  ASSERT_EQ(first.Index, 0);
  const std::vector<TArgb> pixels = first.Pixels;
  ASSERT_TRUE(sleep->WaitSleeping());
  sleep->Elapse();
  ASSERT_TRUE(PumpUntil([&] { return animator->Timer().Thread().Ticks() == 1; }));
  EXPECT_EQ(animator->FrameIndex(), 1);
  EXPECT_EQ(first.Index, 0);
  EXPECT_EQ(first.Pixels, pixels);
  EXPECT_EQ(animator->ComposeFrame(1).Pixels[0], ArgbOf(kPalette[2]));
  animator->SetAnimate(false);
}

// Freed while its worker is in the middle of a tick: the worker ends before the control's
// events and picture go, and nothing the tick handed over fires afterwards (the races show
// under ThreadSanitizer).
TEST_F(GkAnimatorTest, FreeingAnAnimatorWhileItsWorkerTicks) {
  form->Show();
  int changes = 0;
  for (int i = 0; i < 10; ++i) {
    auto* coin = new TGkGIFAnimator(form);
    coin->SetParent(form);
    TGIFImage image;
    image.ReadGifBytes(Animation({50, 50, 50}), true);
    image.FrameIndex = 0;
    coin->SetImage(&image);
    auto sleep = std::make_shared<TSteppedTimerSleep>();
    coin->Timer().SetSleepForTesting(sleep);
    coin->SetAsyncDrawing(true);
    coin->OnFrameChanged = [&](TComponent*) { ++changes; };
    coin->SetAnimate(true);
    ASSERT_TRUE(sleep->WaitSleeping());
    sleep->Elapse();
    // Freed as the tick starts, or once it is under way (waiting on nothing the tick does).
    if (i % 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    delete coin;
  }
  Application->ProcessMessages();
  CheckSynchronize();
  EXPECT_EQ(changes, 0);
}

TEST_F(GkAnimatorTest, ABrokenFrameShowsThePictureSoFarAndIsReportedOnce) {
  const bool lenient = LenientDecoding;
  LenientDecoding = false;
  const std::string bytes = GifHeader("89a", 2, 1, 1) +
                            FrameBlock(0, 0, 2, 1, PackCodes(2, WithWidths(2, {4, 1, 1, 5}))) +
                            FrameBlock(0, 0, 1, 1, PackCodes(2, WithWidths(2, {4, 7, 7, 5}))) + ";";
  TGIFImage image;
  image.ReadGifBytes(bytes, false);
  image.FrameIndex = 0;
  animator->SetImage(&image);
  dialogs().AnswerMessage();
  animator->SetFrameIndex(1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(animator->PaintOffscreen().PixelColor(0, 0), clWhite);
  Application->ProcessMessages();
  CheckSynchronize();
  Application->ProcessMessages();
  LenientDecoding = lenient;
  ASSERT_EQ(dialogs().Shown().size(), 1u);
}

TEST_F(GkAnimatorTest, AFrameLooksTheSameWhenSteppedToAndWhenChosen) {
  // Frame 1 covers the screen but fails to decode, so frame 0's white pixel stays, whether the
  // timer steps to frame 1 or it is set as the frame to show. Each loading tells the failure.
  dialogs().AnswerMessage();
  dialogs().AnswerMessage();
  Load(WholeScreenFrameWithoutCodes());
  animator->PaintOffscreen();
  animator->AnimatorTimerTick(nullptr);
  ASSERT_EQ(animator->FrameIndex(), 1);
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(0, 0), clWhite);
  Load(WholeScreenFrameWithoutCodes());
  animator->SetFrameIndex(1);
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(0, 0), clWhite);
  Application->ProcessMessages();
  CheckSynchronize();
  Application->ProcessMessages();
  EXPECT_EQ(dialogs().Shown().size(), 2u);
}

TEST_F(GkAnimatorTest, FramesMadeFromBitmapsAnimateWithTheirTransparentColourLeftOut) {
  TGIFImage image;
  TBitmap red(2, 2, pf24bit), blue(2, 2, pf24bit);
  red.Canvas().Brush().SetColor(clRed);
  red.Canvas().FillRect(Rect(0, 0, 2, 2));
  red.Canvas().SetPixel(1, 1, clLime);
  red.SetTransparentColor(clLime);
  red.SetTransparent(true);
  blue.Canvas().Brush().SetColor(clBlue);
  blue.Canvas().FillRect(Rect(0, 0, 2, 2));
  image.AddFrame(red);
  image.AddFrame(blue);
  image.FrameIndex = 0;
  animator->SetImage(&image);
  form->SetColor(clYellow);
  TBitmap& painted = animator->PaintOffscreen();
  EXPECT_EQ(painted.PixelColor(0, 0), clRed);
  EXPECT_EQ(painted.PixelColor(1, 1), clYellow);
  animator->SetFrameIndex(1);
  EXPECT_EQ(animator->PaintOffscreen().PixelColor(0, 0), clBlue);
}

// Three animators drawing on their workers while the GUI thread changes their properties and
// paints them. Short in the plain runs; ZELKAR_STRESS_SECONDS runs it longer (under
// ThreadSanitizer, by hand).
TEST_F(GkAnimatorTest, StressThreeAsyncAnimatorsWhileTheGuiThreadChangesThem) {
  const char* env = std::getenv("ZELKAR_STRESS_SECONDS");
  const double seconds = env ? std::atof(env) : 0.3;
  std::vector<TGkGIFAnimator*> coins = {animator, new TGkGIFAnimator(form),
                                        new TGkGIFAnimator(form)};
  const std::string bytes = Animation({10, 20, 30, 40, 50}, 0);
  int changed = 0;
  for (std::size_t i = 0; i < coins.size(); ++i) {
    coins[i]->SetParent(form);
    coins[i]->SetAutoSize(false);
    coins[i]->SetBounds(static_cast<int>(i) * 40, 0, 32, 32);
    TGIFImage image;
    image.ReadGifBytes(bytes, true);
    image.FrameIndex = 0;
    coins[i]->SetImage(&image);
    coins[i]->SetAsyncDrawing(true);
    coins[i]->OnFrameChanged = [&](TComponent*) { ++changed; };
    coins[i]->SetAnimate(true);
  }
  form->Show();
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (int step = 0; std::chrono::steady_clock::now() < end; ++step) {
    TGkGIFAnimator* coin = coins[step % 3];
    switch (step % 7) {
      case 0:
        coin->SetStretch(!coin->Stretch());
        break;
      case 1:
        coin->SetCenter(!coin->Center());
        break;
      case 2:
        coin->SetTransparent(!coin->Transparent());
        break;
      case 3:
        coin->SetFrameIndex(step % 5);
        break;
      case 4:
        coin->SetVisible(!coin->Visible());
        break;
      case 5: {
        TGIFImage image;
        image.ReadGifBytes(bytes, true);
        image.FrameIndex = 0;
        coin->SetImage(&image);
        break;
      }
      default:
        coin->PaintOffscreen();
        break;
    }
    Application->ProcessMessages();
    CheckSynchronize();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  for (TGkGIFAnimator* coin : coins) coin->SetVisible(true);
  ASSERT_TRUE(PumpUntil([&] { return changed > 3; }));
  delete coins[2];
  delete coins[1];
}
