// The browser window's controls, as its window description gives them, and its small handlers.
#include "browser/REZFrm.h"

#include "browser/ToolbarArt.h"
#include "browser/logic/SiteList.h"
#include "gifkit/GkAnimator.h"
#include "platform/Files.h"
#include "platform/Numbers.h"
#include "platform/gui/Placement.h"
#include "tools/coins/CoinArt.h"

TMainForm* MainForm = nullptr;

namespace {

// Faces of the ten site buttons ($00BBGGRR).
constexpr std::array<TColor, 10> kButtonFaces = {0x00C0FFC0, 0x00FFE0C0, 0x00C0E0FF, 0x00E0C0FF,
                                                 0x00C0FFFF, 0x00FFC0E0, 0x00D0D0FF, 0x00FFFFC0,
                                                 0x00C0F0E0, 0x00E0E0E0};

// The tray's turning frames: a dot going round a ring.
void DrawTrayFrames(TImageList& list) {
  for (int frame = 0; frame < 4; ++frame) {
    TBitmap bitmap;
    bitmap.SetSize(16, 16);
    TCanvas& c = bitmap.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, 16, 16));
    c.Pen().SetColor(0x00804000);
    c.Brush().SetColor(0x00FFC080);
    c.Ellipse(1, 1, 15, 15);
    static const int dx[4] = {6, 10, 6, 2}, dy[4] = {2, 6, 10, 6};
    c.Brush().SetColor(0x000000C0);
    c.Ellipse(dx[frame], dy[frame], dx[frame] + 5, dy[frame] + 5);
    list.AddMasked(bitmap, clWhite);
  }
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("MainForm");
  ConfigFolder = ProgramFolder();
  settings_ = std::make_unique<TBrowserSettings>(ConfigFolder, BuiltInAddresses());
  SetCaption("Zelkar专用浏览器2.2.1(双击页面标签可以关闭该页)");
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 778, 755);
  Font()->SetName("宋体");
  Font()->SetHeight(-12);

  ActionList1 = NewNamed<TActionList>(this, "ActionList1");
  BuildToolbar();
  BuildWelcomePage();
  BuildStatusBar();
  BuildMenus();

  OnCreate = Handler(this, &TMainForm::FormCreate);
  OnResize = Handler(this, &TMainForm::FormResize);
  OnDestroy = Handler(this, &TMainForm::FormDestroy);
}

TMainForm::~TMainForm() {
  // The tabs' pages go before the controls that their events reach.
  Destroying();
  alive_.reset();
  delete WkTrayIcon1;  // before the frames it shows
  WkTrayIcon1 = nullptr;
  for (const HiddenPage& hidden : hiddenPages_) delete hidden.page;
  hiddenPages_.clear();
  while (PCT->PageCount() > 1) delete PCT->Pages(PCT->PageCount() - 1);
  CurrentTab = nullptr;
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::BuildToolbar() {
  RP1 = PlaceControl<TWkPanel>(this, this, "RP1");
  RP1->SetAlign(alTop);
  RP1->SetHeight(77);
  RP1->SetColor(clWhite);

  wktlbr1 = PlaceControl<TWkToolbar>(this, RP1, "wktlbr1");
  wktlbr1->SetAlign(alTop);
  wktlbr1->SetHeight(36);
  wktlbr1->SetBorderSides(SideSet({sdTop}));
  wktlbr1->SetBorderOuter(fsGroove);
  wktlbr1->SetShowButtonCaptions(true);
  ilToolsOwned_ = std::make_unique<TImageList>(16, 16);
  ilTools = ilToolsOwned_.get();
  DrawToolbarPictures(*ilTools);
  wktlbr1->SetImages(ilTools);
  int left = 0;
  int picture = 0;
  auto button = [&](const std::string& name, const std::string& hint) {
    auto* b = PlaceControl<TWkToolButton>(this, wktlbr1, name);
    b->SetLeft(left);
    b->SetHint(hint);
    b->SetShowHint(true);
    b->SetCaption(hint);
    b->SetImageIndex(picture);
    b->SetDisabledIndex(DisabledPicture(static_cast<TToolbarPicture>(picture)));
    ++picture;
    left += 48;
    return b;
  };
  auto spacer = [&](const std::string& name) {
    auto* s = PlaceControl<TWkSpacer>(this, wktlbr1, name);
    s->SetLeft(left);
    s->SetWidth(8);
    left += 8;
    return s;
  };
  btn1 = button("btn1", "后退");
  btn2 = button("btn2", "前进");
  wkspcr1 = spacer("wkspcr1");
  btn3 = button("btn3", "停止");
  btn4 = button("btn4", "刷新");
  btn5 = button("btn5", "主页");
  wkspcr2 = spacer("wkspcr2");
  btn6 = button("btn6", "搜索");
  btn7 = button("btn7", "收藏");
  btn8 = button("btn8", "打印");
  btn1->OnClick = Handler(this, &TMainForm::btn1Click);
  btn2->OnClick = Handler(this, &TMainForm::btn2Click);
  btn3->OnClick = Handler(this, &TMainForm::btn3Click);
  btn4->OnClick = Handler(this, &TMainForm::btn4Click);
  btn5->OnClick = Handler(this, &TMainForm::btn5Click);
  btn6->OnClick = Handler(this, &TMainForm::btn6Click);

  RCbbURL = PlaceControl<TWkComboBox>(this, RP1, "RCbbURL");
  RCbbURL->SetTop(36);
  RCbbURL->SetAlign(alTop);  // under the tool bar, across the window
  RCbbURL->SetHeight(20);
  RCbbURL->SetSorted(true);
  RCbbURL->SetItems(BuiltInAddresses());
  RCbbURL->OnKeyDown = [this](TComponent* sender, uint16_t& key, TShiftState shift) {
    RCbbURLKeyDown(sender, key, shift);
  };

  for (const TSiteEntry& entry : SiteEntries()) {
    const std::string address = entry.Address;
    auto* action = NewAction(this, ActionList1, "Action" + IntToStr(entry.Action), entry.Caption,
                             [this, address](TComponent*) { NewTab(address); });
    SiteActions[entry.Action] = action;
    if (entry.ButtonSlot == 0) continue;
    const int slot = entry.ButtonSlot;
    auto* b = PlaceControl<TWkToolButton>(this, RP1, "WkToolButton" + IntToStr(slot));
    b->SetBounds(2 + (slot - 1) * 60, 56, 58, 20);
    b->SetShowCaption(true);
    b->SetTransparent(false);
    b->SetColor(kButtonFaces[slot - 1]);
    b->SetAction(action);
    WkToolButtons[slot - 1] = b;
  }
}

void TMainForm::BuildWelcomePage() {
  PCT = PlaceControl<TWkPageControl>(this, this, "PCT");
  PCT->SetAlign(alClient);
  PCT->SetTabHeight(18);
  PCT->OnChange = Handler(this, &TMainForm::PCTChange);
  PCT->OnDblClick = Handler(this, &TMainForm::PCTDblClick);

  TabSheet1 = NewNamed<TWkTabSheet>(this, "TabSheet1");
  TabSheet1->SetPageControl(PCT);
  TabSheet1->SetCaption("欢迎使用Zelkar易学浏览器");
  pnl1 = PlaceControl<TWkPanel>(this, TabSheet1, "pnl1");
  pnl1->SetAlign(alClient);
  pnl1->SetColor(clWhite);

  img1 = PlaceControl<TImage>(this, pnl1, "img1");
  img1->SetBounds(0, 40, 200, 20);
  GkGIFAnimator1 = PlaceControl<TGkGIFAnimator>(this, pnl1, "GkGIFAnimator1");
  GkGIFAnimator1->SetAutoSize(false);
  GkGIFAnimator1->SetStretch(true);
  GkGIFAnimator1->SetBounds(0, 80, 200, 200);
  GkGIFAnimator1->SetAnimate(true);
  OnShow = Handler(this, &TMainForm::ShowWelcomeCoin);
  lbl1 = PlaceControl<TLabel>(this, pnl1, "lbl1");
  lbl1->SetAutoSize(true);
  lbl1->Font()->SetName("隶书");
  lbl1->Font()->SetHeight(-35);
  lbl1->Font()->SetColor(clBlue);
  lbl1->SetAlignment(taCenter);
  lbl1->SetCaption("欢迎使用Zelkar易学浏览器");
  lbl1->SetTop(320);
  PCT->SetActivePage(TabSheet1);
}

void TMainForm::ShowWelcomeCoin(TComponent*) {
  if (GkGIFAnimator1->Image().Count() > 0) return;
  // Our own drawing of a turning coin.
  TCoinArt art;
  art.Size = 200;
  art.Frames = 12;
  art.DelayMs = 90;
  TGIFImage picture;
  picture.ReadGifBytes(SpinningCoinGif(art), true);
  GkGIFAnimator1->SetImage(&picture);
}

void TMainForm::BuildStatusBar() {
  RSB = PlaceControl<TWkStatusBar>(this, this, "RSB");
  RSB->SetAlign(alBottom);
  RSB->SetHeight(19);
  Ptxt = PlaceControl<TWkStatusPane>(this, RSB, "Ptxt");
  Ptxt->SetAlign(alLeft);
  Ptxt->SetWidth(121);
  RKS = PlaceControl<TWkKeyStatus>(this, RSB, "RKS");
  RKS->SetAlign(alLeft);
  RKS->SetLeft(121);
  RKS->SetWidth(352);
  RKS->SetAlignment(taCenter);
  RClockS = PlaceControl<TWkClockStatus>(this, RSB, "RClockS");
  RClockS->SetAlign(alRight);
  pb = PlaceControl<TProgressBar>(this, RSB, "pb");
  pb->SetAlign(alClient);
  pb->SetOrientation(pbVertical);

  ilFrames_ = std::make_unique<TImageList>(16, 16);
  il = ilFrames_.get();
  DrawTrayFrames(*il);
  WkTrayIcon1 = NewNamed<TWkTrayIcon>(this, "WkTrayIcon1");
  WkTrayIcon1->SetHint("Ulo网络浏览工具");
  WkTrayIcon1->SetIcons(il);
}

void TMainForm::BuildMenus() {
  MainMenu1 = NewNamed<TMainMenu>(this, "MainMenu1");
  int serial = 0;
  std::function<void(TMenuItem*, const TSiteMenu&)> add = [&](TMenuItem* parent,
                                                              const TSiteMenu& node) {
    TMenuItem* item = NewMenuItem(this, parent, "SiteMenu" + IntToStr(++serial), node.Caption);
    if (node.Entry) item->SetAction(SiteActions.at(node.Entry->Action));
    for (const TSiteMenu& child : node.Items) add(item, child);
  };
  for (const TSiteMenu& menu : SiteMenus()) add(MainMenu1->Items(), menu);
  TMenuItem* system = NewMenuItem(this, MainMenu1->Items(), "SystemMenu", "系统");
  Action78 = NewAction(this, ActionList1, "Action78", "申明事项",
                       Handler(this, &TMainForm::Action78Execute));
  Action77 =
      NewAction(this, ActionList1, "Action77", "升级", Handler(this, &TMainForm::Action77Execute));
  NewMenuItem(this, system, "N107", "")->SetAction(Action78);
  NewMenuItem(this, system, "N108", "")->SetAction(Action77);
  N109 = NewMenuItem(this, system, "N109", "退出", Handler(this, &TMainForm::N109Click));
  SetMenu(MainMenu1);

  pm = NewNamed<TPopupMenu>(this, "pm");
  N1 = NewMenuItem(this, pm->Items(), "N1", "添加到收藏夹", Handler(this, &TMainForm::N1Click));
  N2 = NewMenuItem(this, pm->Items(), "N2", "管理收藏夹");
  NewMenuItem(this, pm->Items(), "N3", "-");
  RCbbURL->SetPopupMenu(pm);
  btn7->SetToolStyle(tsDropDown);
  btn7->SetDropDownMenu(pm);

  pmPrt = NewNamed<TPopupMenu>(this, "pmPrt");
  NewMenuItem(this, pmPrt->Items(), "N4", "预览");
  NewMenuItem(this, pmPrt->Items(), "N5", "打印设置");
  NewMenuItem(this, pmPrt->Items(), "N6", "打印");
  btn8->SetToolStyle(tsDropDown);
  btn8->SetDropDownMenu(pmPrt);
}

void TMainForm::FormCreate(TComponent*) {
  LoadConfig();
  TabCounter = 0;
}

void TMainForm::FormResize(TComponent*) {
  for (TControl* c : {static_cast<TControl*>(lbl1), static_cast<TControl*>(img1),
                      static_cast<TControl*>(GkGIFAnimator1)})
    c->SetLeft((Width() - c->Width()) / 2);
}

void TMainForm::btn1Click(TComponent*) { CurrentTabCommand(0); }
void TMainForm::btn2Click(TComponent*) { CurrentTabCommand(1); }
void TMainForm::btn3Click(TComponent*) { CurrentTabCommand(5); }
void TMainForm::btn4Click(TComponent*) { CurrentTabCommand(4); }
void TMainForm::btn5Click(TComponent*) { CurrentTabCommand(2); }
void TMainForm::btn6Click(TComponent*) { CurrentTabCommand(3); }
