// Status panes: the text pane with blinking and hints, the shared polling timer, the clock and
// the lock-key pane.
#include <algorithm>

#include "platform/gui/Desktop.h"
#include "platform/gui/Forms.h"
#include "widgets/WkStatus.h"

TWkCustomStatusPane::TWkCustomStatusPane(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 100, 20);
  normalColor_ = currentColor_ = Font()->Color();
  JoinBlinkingControls(this);
}

TWkCustomStatusPane::~TWkCustomStatusPane() {
  LeaveBlinkingControls(this);
  UnlinkFrameController(this);
}

void TWkCustomStatusPane::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove) FrameControllerRemoved(component);
}

void TWkCustomStatusPane::CustomFramingChanged() {
  const TWkFrameController* c = FrameController();
  if (c == nullptr) return;
  if (Accepts(FrameControllerNotifications(), fcpFrameStyle)) frameStyle_ = c->FrameStyle();
  if (Accepts(FrameControllerNotifications(), fcpFrameColor)) {
    flatColor_ = c->FrameColor();
    flatColorAdjustment_ = 0;
  }
  if (Accepts(FrameControllerNotifications(), fcpColor)) SetFillColor(c->Color());
  if (Accepts(FrameControllerNotifications(), fcpParentColor)) SetParentColor(c->ParentColor());
  Invalidate();
}

void TWkCustomStatusPane::Loaded() {
  TGraphicControl::Loaded();
  if (!ParentColor()) SetTransparent(false);
  normalColor_ = currentColor_ = Font()->Color();
  AdjustWidth();
}

// --- settings -----------------------------------------------------------------------------

namespace {
template <class T>
bool Store(TControl* control, T& field, T value) {
  if (field == value) return false;
  field = value;
  control->Invalidate();
  return true;
}
}  // namespace

void TWkCustomStatusPane::SetAlignment(TAlignment value) { Store(this, alignment_, value); }
void TWkCustomStatusPane::SetBlinkColor(TColor value) {
  if (Store(this, blinkColor_, value) && blinking_ && blinkOn_) currentColor_ = value;
}
void TWkCustomStatusPane::SetBorderWidth(int value) { Store(this, borderWidth_, value); }
void TWkCustomStatusPane::SetFlatColor(TColor value) { Store(this, flatColor_, value); }
void TWkCustomStatusPane::SetFlatColorAdjustment(int value) {
  Store(this, flatColorAdjustment_, value);
}
void TWkCustomStatusPane::SetFrameStyle(TFrameStyle value) { Store(this, frameStyle_, value); }
void TWkCustomStatusPane::SetTransparent(bool value) { Store(this, transparent_, value); }

void TWkCustomStatusPane::SetAutoSize(bool value) {
  if (Store(this, autoSize_, value)) AdjustWidth();
}
void TWkCustomStatusPane::SetCaptionOffset(int value) {
  if (Store(this, captionOffset_, value)) AdjustWidth();
}
void TWkCustomStatusPane::SetDefaultWidth(int value) {
  if (Store(this, defaultWidth_, value)) AdjustWidth();
}

void TWkCustomStatusPane::SetFillColor(TColor value) {
  fillColor_ = value;
  parentFillColor_ = false;
  Invalidate();
}

void TWkCustomStatusPane::SetParentFillColor(bool value) {
  if (value == parentFillColor_) return;
  if (!value) fillColor_ = Color();
  parentFillColor_ = value;
  Invalidate();
}

void TWkCustomStatusPane::SetBlinking(bool value) {
  if (value == blinking_) return;
  blinking_ = value;
  if (!value) {
    blinkOn_ = false;
    currentColor_ = normalColor_;
  }
  Invalidate();
}

std::uint16_t TWkCustomStatusPane::BlinkIntervalOff() const {
  return BlinkingControls != nullptr ? BlinkingControls->IntervalOff() : 500;
}
void TWkCustomStatusPane::SetBlinkIntervalOff(std::uint16_t value) {
  if (BlinkingControls != nullptr) BlinkingControls->SetIntervalOff(value);
}
std::uint16_t TWkCustomStatusPane::BlinkIntervalOn() const {
  return BlinkingControls != nullptr ? BlinkingControls->IntervalOn() : 500;
}
void TWkCustomStatusPane::SetBlinkIntervalOn(std::uint16_t value) {
  if (BlinkingControls != nullptr) BlinkingControls->SetIntervalOn(value);
}

void TWkCustomStatusPane::SetBlinkState(bool on) {
  blinkOn_ = on;
  currentColor_ = on ? blinkColor_ : normalColor_;
  Invalidate();
}

bool TWkCustomStatusPane::ShowApplicationHint(const std::string& hint) {
  if (!autoHint_) return false;
  SetCaption(hint);
  return true;
}

void TWkCustomStatusPane::TextChanged() {
  Invalidate();
  AdjustWidth();
}

void TWkCustomStatusPane::ApplyFont() {
  TGraphicControl::ApplyFont();
  normalColor_ = Font()->Color();
  if (!(blinking_ && blinkOn_)) currentColor_ = normalColor_;
  Invalidate();
  AdjustWidth();
}

void TWkCustomStatusPane::ColorChanged() {
  TGraphicControl::ColorChanged();
  Invalidate();
}

// --- geometry -------------------------------------------------------------------------------

int TWkCustomStatusPane::GetAutoWidth() {
  const std::string caption = Caption();
  if (caption.empty()) return defaultWidth_;
  TBitmap probe(1, 1);
  probe.Canvas().SetFont(*Font());
  return 2 * borderWidth_ + probe.Canvas().TextWidth(caption) + captionOffset_ + 6;
}

void TWkCustomStatusPane::AdjustWidth() {
  if (autoSize_ && !IsLoading()) SetWidth(GetAutoWidth());
}

TRect TWkCustomStatusPane::GetCaptionRect() {
  int by = borderWidth_;
  switch (frameStyle_) {
    case fsNone:
      break;
    case fsFlat:
    case fsStatus:
    case fsPopup:
      by += 1;
      break;
    default:
      by += 2;
      break;
  }
  TRect r = GetClientRect();
  InflateRect(r, -by, -by);
  return r;
}

bool TWkCustomStatusPane::OverlapsSizeGrip() const {
  const auto* bar = dynamic_cast<const TWkStatusBar*>(Parent());
  return bar != nullptr && bar->SizeGripVisible() && Left() + Width() > bar->Width() - 12;
}

void TWkCustomStatusPane::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  // The grip keeps sizing the window through a pane that lies under it.
  auto* bar = dynamic_cast<TWkStatusBar*>(Parent());
  if (button == mbLeft && bar != nullptr && OverlapsSizeGrip()) {
    const TPoint p = Point(x + Left(), y + Top());
    if (p.X >= bar->Width() - 12 && bar->SizeGripPressed(p)) return;
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

// --- painting -------------------------------------------------------------------------------

void TWkCustomStatusPane::Paint() {
  DrawFrame(GetClientRect());
  DrawCaption(GetCaptionRect());
}

void TWkCustomStatusPane::DrawFrame(TRect r) {
  TCanvas& canvas = Canvas();
  if (!transparent_) {
    canvas.Brush().SetColor(FillColor());
    canvas.FillRect(r);
  }
  InflateRect(r, -borderWidth_, -borderWidth_);
  const auto* bar = dynamic_cast<const TWkStatusBar*>(Parent());
  if (bar != nullptr && bar->VisualStyle() == vsGradient) {
    // On a gradient bar only a separator in the bar scheme's frame colour, and none at the
    // bar's left end.
    if (Left() <= bar->GetClientRect().Left) return;
    TColor start, stop, frame;
    GetGradientBarColors(bar->GradientColorStyle(), start, stop, frame);
    canvas.Pen().SetColor(frame);
    canvas.MoveTo(r.Left, r.Top);
    canvas.LineTo(r.Left, r.Bottom);
    return;
  }
  if (frameStyle_ == fsFlat) {
    DrawCutCornerSides(canvas, r, AdjustColor(flatColor_, flatColorAdjustment_));
    return;
  }
  ::DrawFrame(canvas, r, frameStyle_);
}

void TWkCustomStatusPane::DrawCaption(const TRect& r) {
  const std::string text = PaintedCaption();
  if (text.empty()) return;
  TCanvas& canvas = Canvas();
  canvas.SetFont(*Font());
  canvas.Font().SetColor(PaintedTextColor());
  const int y = r.Top + (r.Height() - canvas.TextHeight("Pp")) / 2;
  const int width = canvas.TextWidth(text);
  int x = r.Left + captionOffset_ + 1;
  if (alignment_ == taRightJustify) x = r.Right - captionOffset_ - 1 - width;
  if (alignment_ == taCenter) x = r.Left + (r.Width() - width) / 2;
  if (transparent_) {
    canvas.Brush().SetStyle(bsClear);
  } else {
    canvas.Brush().SetColor(FillColor());
  }
  if (!Enabled()) {
    canvas.Font().SetColor(clBtnHighlight);
    canvas.TextRect(r, x + 1, y + 1, text);
    canvas.Font().SetColor(clBtnShadow);
    canvas.Brush().SetStyle(bsClear);
  }
  canvas.TextRect(r, x, y, text);
  canvas.Brush().SetStyle(bsSolid);
}

// --- polling --------------------------------------------------------------------------------

TWkPollingList* PollingList = nullptr;

TWkPollingList::TWkPollingList() : timer_(std::make_unique<TTimer>(nullptr)) {
  timer_->SetInterval(500);
  timer_->OnTimer = [this](TComponent*) { Tick(); };
  timer_->SetEnabled(true);
}

TWkPollingList::~TWkPollingList() = default;

void TWkPollingList::Add(TWkPollingStatus* pane) { panes_.push_back(pane); }

void TWkPollingList::Remove(TWkPollingStatus* pane) {
  const auto it = std::find(panes_.begin(), panes_.end(), pane);
  if (it != panes_.end()) panes_.erase(it);
}

bool TWkPollingList::GetActive() const { return timer_->Enabled(); }
void TWkPollingList::SetActive(bool value) { timer_->SetEnabled(value); }
unsigned TWkPollingList::GetInterval() const { return timer_->Interval(); }
void TWkPollingList::SetInterval(unsigned value) { timer_->SetInterval(value); }

namespace {
// Frees a list that became empty. Inside its own tick the list and its timer are still running,
// so they are freed once the tick is over.
void ReleasePollingList(TWkPollingList* list) {
  if (PollingList == list) PollingList = nullptr;
  if (!list->Walking()) delete list;
}
}  // namespace

void TWkPollingList::Tick() {
  // A handler may free panes (even every one): walk a copy and skip the ones gone meanwhile.
  const std::vector<TWkPollingStatus*> snapshot = panes_;
  walking_ = true;
  try {
    for (TWkPollingStatus* pane : snapshot) {
      if (std::find(panes_.begin(), panes_.end(), pane) == panes_.end()) continue;
      if (pane->Visible()) pane->TimerExpired();
    }
  } catch (...) {
    walking_ = false;
    throw;
  }
  walking_ = false;
  if (panes_.empty() && PollingList != this && Application != nullptr)
    Application->QueueCall([this] { delete this; });
}

TWkPollingStatus::TWkPollingStatus(TComponent* AOwner) : TWkCustomStatusPane(AOwner) {
  if (PollingList == nullptr) PollingList = new TWkPollingList();
  PollingList->Add(this);
}

TWkPollingStatus::~TWkPollingStatus() {
  TWkPollingList* list = PollingList;
  if (list == nullptr) return;
  list->Remove(this);
  if (list->GetCount() == 0) ReleasePollingList(list);
}

bool TWkPollingStatus::GetActive() const {
  return PollingList != nullptr && PollingList->GetActive();
}
void TWkPollingStatus::SetActive(bool value) {
  if (PollingList != nullptr) PollingList->SetActive(value);
}
unsigned TWkPollingStatus::GetInterval() const {
  return PollingList != nullptr ? PollingList->GetInterval() : 0;
}
void TWkPollingStatus::SetInterval(unsigned value) {
  if (PollingList != nullptr) PollingList->SetInterval(value);
}

void TWkPollingStatus::TimerExpired() {
  if (OnTimerExpired) OnTimerExpired(this);
}

// --- clock ----------------------------------------------------------------------------------

TWkClockStatus::TWkClockStatus(TComponent* AOwner) : TWkPollingStatus(AOwner) { SetWidth(150); }

void TWkClockStatus::Loaded() {
  TWkPollingStatus::Loaded();
  UpdateTime();
}

void TWkClockStatus::SetFormat(const std::string& value) {
  if (value == format_) return;
  format_ = value;
  UpdateTime();
}

void TWkClockStatus::UpdateTime() {
  TDateTime t = Now();
  if (OnGetDateTime) OnGetDateTime(this, t);
  const std::string text = FormatDateTime(format_.empty() ? "yyyy-m-d h:nn:ss" : format_, t);
  if (hasText_ && text == lastText_) return;
  hasText_ = true;
  lastText_ = text;
  SetCaption(text);
}

TRect TWkClockStatus::GetCaptionRect() {
  TRect r = TWkPollingStatus::GetCaptionRect();
  if (OverlapsSizeGrip()) r.Right -= 12;
  return r;
}

void TWkClockStatus::TimerExpired() {
  UpdateTime();
  TWkPollingStatus::TimerExpired();
}

// --- lock keys ------------------------------------------------------------------------------

void TWkKeyStrings::Set(int index, const std::string& value) {
  if (texts_.at(index) == value) return;
  texts_[index] = value;
  if (owner_ != nullptr) owner_->Invalidate();
}

void TWkKeyStrings::Assign(const TWkKeyStrings& other) {
  for (int i = 0; i < 5; ++i) Set(i, other.texts_[i]);
}

namespace {
uint16_t VirtualKey(TWkToggleKey key) {
  switch (key) {
    case tkCapsLock:
      return VK_CAPITAL;
    case tkNumLock:
      return VK_NUMLOCK;
    case tkScrollLock:
      return VK_SCROLL;
    default:
      return VK_INSERT;
  }
}
}  // namespace

TWkKeyStatus::TWkKeyStatus(TComponent* AOwner) : TWkPollingStatus(AOwner) {
  SetAlignment(taCenter);
  SetWidth(45);
  insertToggleAtSet_ = KeyToggled(VK_INSERT);
  Poll();
}

void TWkKeyStatus::Loaded() {
  TWkPollingStatus::Loaded();
  Poll();
}

void TWkKeyStatus::SetKey(TWkToggleKey value) {
  if (value == key_) return;
  key_ = value;
  Poll();
  Invalidate();
}

void TWkKeyStatus::SetKeyOffAppearance(TWkKeyOffAppearance value) {
  if (value == keyOffAppearance_) return;
  keyOffAppearance_ = value;
  Invalidate();
}

void TWkKeyStatus::SetInsertState(TWkInsertState value) {
  insertState_ = value;
  insertToggleAtSet_ = KeyToggled(VK_INSERT);
  Poll();
  Invalidate();
}

void TWkKeyStatus::Poll() {
  if (key_ == tkInsert) {
    const bool same = KeyToggled(VK_INSERT) == insertToggleAtSet_;
    const TWkInsertState shown =
        same ? insertState_ : (insertState_ == isInsert ? isOverwrite : isInsert);
    if (shown != shownInsert_) {
      shownInsert_ = shown;
      Invalidate();
    }
    return;
  }
  const bool off = !DisplayKeyIndicator(VirtualKey(key_));
  if (off != keyIsOff_) {
    keyIsOff_ = off;
    Invalidate();
  }
}

void TWkKeyStatus::TimerExpired() {
  Poll();
  TWkPollingStatus::TimerExpired();
}

std::string TWkKeyStatus::PaintedCaption() const {
  switch (key_) {
    case tkInsert:
      return shownInsert_ == isInsert ? keyStrings_.Insert() : keyStrings_.Overwrite();
    default: {
      const std::string& text = keyStrings_.Get(static_cast<int>(key_));
      if (keyOffAppearance_ == koaBlank && keyIsOff_) return "";
      return text;
    }
  }
}

TColor TWkKeyStatus::PaintedTextColor() const {
  if (key_ != tkInsert && keyOffAppearance_ == koaDimmed && keyIsOff_) return clGrayText;
  return TWkPollingStatus::PaintedTextColor();
}
