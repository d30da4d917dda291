#include "workbench/CoinForm.h"

#include <map>
#include <memory>

#include "platform/DateTime.h"
#include "platform/gui/Resources.h"
#include "workbench/main.h"

TForm6* Form6 = nullptr;

namespace {

const char* const kThrowCaptions[6] = {"第一次", "第二次", "第三次", "第四次", "第五次", "第六次"};

constexpr int kCoinSize = 64;
constexpr int kCoinTop = 24;
constexpr int kCoinLefts[3] = {16, 90, 164};

}  // namespace

// Made by the resource compiler from coins/coins.qrc; calling it also keeps the pictures in
// the program when the linker takes the workbench from a library.
int qInitResources_coins();

namespace {

// The picture of a built-in GIF, read once.
const TGIFImage& CoinPicture(const char* path) {
  static const int registered = qInitResources_coins();
  (void)registered;
  static std::map<std::string, std::unique_ptr<TGIFImage>> pictures;
  auto& picture = pictures[path];
  if (!picture) {
    auto read = std::make_unique<TGIFImage>();
    read->ReadGifBytes(ResourceBytes(path), true);
    read->FrameIndex = 0;
    picture = std::move(read);
  }
  return *picture;
}

TGkGIFAnimator* Coin(TForm6* form, TWinControl* parent, const std::string& name, int place,
                     bool spinning, int startFrame) {
  auto* coin = new TGkGIFAnimator(form);
  coin->SetName(name);
  coin->SetParent(parent);
  coin->SetAutoSize(false);
  coin->SetBounds(kCoinLefts[place], kCoinTop, kCoinSize, kCoinSize);
  coin->SetStretch(true);
  coin->SetImage(&CoinPicture(spinning ? "coins/coin_spin.gif" : "coins/coin_still.gif"));
  if (spinning) {
    coin->SetCenter(true);
    coin->SetAsyncDrawing(true);
    // After the picture: before it there are no frames to start at.
    coin->SetFrameIndex(startFrame);
    coin->SetAnimate(true);
  }
  return coin;
}

int ClockMilliseconds() {
  int hour, minute, second, ms;
  DecodeTime(Now(), hour, minute, second, ms);
  return ms;
}

// Line n (1 at the bottom) of the workbench, written into its model and shown.
void WriteWorkbenchLine(int line, TCoinLineKind kind) {
  LineState& state = Form2->Model().Lines[6 - line];
  state = LineState{IsYangKind(kind) ? LineState::Kind::Yang : LineState::Kind::Yin, "",
                    IsMovingKind(kind)};
  Form2->ShowLines();
}

}  // namespace

TForm6::TForm6(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form6");
  SetCaption("铜钱摇卦");
  SetBorderStyle(bsDialog);
  SetClientSize(259, 153);

  GroupBox12 = new TGroupBox(this);
  GroupBox12->SetName("GroupBox12");
  GroupBox12->SetParent(this);
  GroupBox12->SetBounds(8, 4, 243, 108);
  GroupBox12->SetCaption("六爻通天地:心,意,钱,宇宙合一.");

  GkGIFAnimator1 = Coin(this, GroupBox12, "GkGIFAnimator1", 0, true, 1);
  GkGIFAnimator2 = Coin(this, GroupBox12, "GkGIFAnimator2", 1, true, 3);
  GkGIFAnimator3 = Coin(this, GroupBox12, "GkGIFAnimator3", 2, true, 0);
  GkGIFAnimator4 = Coin(this, GroupBox12, "GkGIFAnimator4", 0, false, 0);
  GkGIFAnimator7 = Coin(this, GroupBox12, "GkGIFAnimator7", 1, false, 0);
  GkGIFAnimator5 = Coin(this, GroupBox12, "GkGIFAnimator5", 2, false, 0);

  Button2 = new TButton(this);
  Button2->SetName("Button2");
  Button2->SetParent(this);
  Button2->SetBounds(92, 120, 75, 25);
  Button2->SetCaption(kThrowCaptions[0]);
  Button2->OnClick = Handler(this, &TForm6::Button2Click);
  Button1 = new TButton(this);
  Button1->SetName("Button1");
  Button1->SetParent(this);
  Button1->SetBounds(92, 120, 75, 25);
  Button1->SetCaption("确定");
  Button1->SetVisible(false);
  Button1->OnClick = Handler(this, &TForm6::Button1Click);

  OnShow = Handler(this, &TForm6::FormShow);
  WriteLine = WriteWorkbenchLine;
  Cast = [] { Form2->Action2Execute(Form2); };
  Milliseconds = ClockMilliseconds;
}

void TForm6::ShowSpinning(bool spinning) {
  for (TGkGIFAnimator* coin : {GkGIFAnimator1, GkGIFAnimator2, GkGIFAnimator3})
    coin->SetVisible(spinning);
  for (TGkGIFAnimator* coin : {GkGIFAnimator4, GkGIFAnimator7, GkGIFAnimator5})
    coin->SetVisible(!spinning);
}

void TForm6::FormShow(TComponent*) {
  // The buttons stay as the last run left them: closed while spinning, the stop button shows.
  ShowSpinning(false);
  throw_ = 1;
  Button2->SetCaption(kThrowCaptions[0]);
  Button1->SetCaption("确定");
}

void TForm6::Button2Click(TComponent*) {
  ShowSpinning(true);
  Button2->SetVisible(false);
  Button1->SetVisible(true);
}

void TForm6::Button1Click(TComponent*) {
  ShowSpinning(false);
  const int thrown = throw_;
  WriteLine(thrown, CoinThrowKind(thrown, Milliseconds()));
  if (thrown < 6) {
    ++throw_;
    Button2->SetCaption(kThrowCaptions[throw_ - 1]);
  } else {
    // The chart is in the workbench before the window goes. A cast the workbench refuses
    // (a moment it cannot take) is told there; the lines stay and the window still closes.
    Application->Guard(Form2, Cast);
  }
  Button1->SetVisible(false);
  Button2->SetVisible(true);
  if (thrown == 6) Close();
}
