// The tool bar: rows in the order of its own list, its size, divider and button settings, the
// list itself, and the overflow button with its pop-up.
#include "widgets/WkToolbar.h"

#include <algorithm>

#include "platform/GbkText.h"
#include "platform/gui/Forms.h"
#include "widgets/WkGrafx.h"

// --- control list ----------------------------------------------------------------------------

int TWkToolbarControlList::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(items_[static_cast<size_t>(i)].Name, name)) return i;
  return -1;
}

int TWkToolbarControlList::IndexOfControl(const TControl* control) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)].Control == control) return i;
  return -1;
}

int TWkToolbarControlList::AddControl(TControl* control) {
  const int at = IndexOfControl(control);
  if (at >= 0) return at;
  items_.push_back(TWkToolbarControl{control, control->Name()});
  // A listed control that is freed leaves the list.
  control->FreeNotification(toolbar_);
  return Count() - 1;
}

int TWkToolbarControlList::FindOrAddName(const std::string& name) {
  const int at = IndexOfName(name);
  if (at >= 0) return at;
  items_.push_back(TWkToolbarControl{nullptr, name});
  return Count() - 1;
}

void TWkToolbarControlList::RemoveControl(const TControl* control) {
  const int at = IndexOfControl(control);
  if (at >= 0) items_.erase(items_.begin() + at);
}

void TWkToolbarControlList::RemoveName(const std::string& name) {
  const int at = IndexOfName(name);
  if (at >= 0) items_.erase(items_.begin() + at);
}

std::vector<std::string> TWkToolbarControlList::WriteNames() const {
  std::vector<std::string> names;
  for (const TWkToolbarControl& item : items_)
    names.push_back(item.Control != nullptr ? item.Control->Name() : item.Name);
  return names;
}

void TWkToolbarControlList::ReadNames(const std::vector<std::string>& names) {
  pending_ = std::make_unique<std::vector<std::string>>();
  for (const std::string& name : names) {
    pending_->push_back(name);
    FindOrAddName(name);
  }
}

void TWkToolbarControlList::Resolve(TComponent* owner) {
  const auto addChildren = [this] {
    for (int i = 0; i < toolbar_->ControlCount(); ++i)
      if (toolbar_->Controls(i) != static_cast<TControl*>(toolbar_->PopupButton()))
        AddControl(toolbar_->Controls(i));
  };
  if (!pending_) {
    addChildren();
    return;
  }
  const std::vector<std::string> names = *pending_;
  pending_.reset();
  items_.clear();
  bool changed = false;
  for (const std::string& name : names) {
    auto* control = owner != nullptr ? owner->Find<TControl>(name) : nullptr;
    if (control != nullptr && control->Parent() == toolbar_) {
      AddControl(control);
    } else {
      changed = true;
    }
  }
  if (changed) addChildren();
}

// --- tool bar --------------------------------------------------------------------------------

TWkToolbar::TWkToolbar(TComponent* AOwner)
    : TWkCustomPanel(AOwner),
      background_(std::make_unique<TBitmap>()),
      controlList_(std::make_unique<TWkToolbarControlList>(this)) {
  TWkCustomPanel::SetBorderInner(fsNone);
  TWkCustomPanel::SetBorderOuter(fsGroove);
  TWkCustomPanel::SetBorderSides(SideSet({sdTop}));
  SetBorderWidth(0);
  SetBounds(0, 0, 32, 32);
  FullRepaint = false;
  SetShowDockClientCaptions(false);
  TControl::SetAlign(alTop);
  imagesLink_.OnChange = [this] { Invalidate(); };
  imagesLink_.OnFree = [this] {
    images_ = nullptr;
    Invalidate();
  };
}

TWkToolbar::~TWkToolbar() {
  if (regIniFile_ != nullptr) regIniFile_->RemoveFreeNotification(this);
}

void TWkToolbar::Loaded() {
  TWkCustomPanel::Loaded();
  controlList_->Resolve(Owner());
  ArrangeControls();
  if (AutoStyle) ApplyStyle(Align());
}

void TWkToolbar::Notification(TComponent* component, TOperation operation) {
  TWkCustomPanel::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == regIniFile_) regIniFile_ = nullptr;
  if (component == popupButton_) popupButton_ = nullptr;
  // Compared by address: a control being freed is no longer whole enough to cast.
  for (int i = 0; i < controlList_->Count(); ++i) {
    const TControl* c = controlList_->Items(i).Control;
    if (c != nullptr && static_cast<const TComponent*>(c) == component) {
      controlList_->RemoveControl(c);
      if (!IsDestroying()) ArrangeControls();
      break;
    }
  }
}

void TWkToolbar::ApplyStyle(TAlign align) {
  TWkCustomPanel::SetBorderInner(fsNone);
  TWkCustomPanel::SetBorderOuter(showDivider_ ? fsGroove : fsNone);
  TSides sides = SideSet({sdTop});
  if (align == alLeft) sides = SideSet({sdLeft});
  if (align == alRight) sides = SideSet({sdRight});
  if (align == alBottom) sides = SideSet({sdBottom});
  TWkCustomPanel::SetBorderSides(sides);
  Invalidate();
}

void TWkToolbar::SetAlign(TAlign value) {
  if (AutoStyle) ApplyStyle(value);
  TControl::SetAlign(value);
  if (!autoResize_) return;
  if (value == alTop || value == alBottom || value == alNone || value == alClient)
    SetHeight(32);
  else
    SetWidth(32);
}

void TWkToolbar::SetBorderInner(TFrameStyleEx value) {
  if (value == BorderInner()) return;
  TWkCustomPanel::SetBorderInner(value);
  AutoStyle = false;
}
void TWkToolbar::SetBorderOuter(TFrameStyleEx value) {
  if (value == BorderOuter()) return;
  TWkCustomPanel::SetBorderOuter(value);
  AutoStyle = false;
}
void TWkToolbar::SetBorderSides(TSides value) {
  if (value == BorderSides()) return;
  TWkCustomPanel::SetBorderSides(value);
  AutoStyle = false;
}

void TWkToolbar::SetShowDivider(bool value) {
  showDivider_ = value;
  TWkCustomPanel::SetBorderOuter(value ? fsGroove : fsNone);
  Invalidate();
}

void TWkToolbar::BroadcastToChildren(unsigned msg) {
  TMessage message{msg, 0, 0, 0};
  Broadcast(message);
}

void TWkToolbar::SettingChanged(unsigned msg) {
  BroadcastToChildren(msg);
  if (!applyingTextOptions_) textOptions_ = ttoCustom;
}

void TWkToolbar::SetShowButtonCaptions(bool value) {
  showButtonCaptions_ = value;
  SettingChanged(CM_TOOLBARSHOWCAPTIONCHANGED);
  ArrangeControls();
}
void TWkToolbar::SetButtonLayout(TButtonLayout value) {
  buttonLayout_ = value;
  SettingChanged(CM_TOOLBARBUTTONLAYOUTCHANGED);
}
void TWkToolbar::SetButtonWidth(int value) {
  buttonWidth_ = value;
  SettingChanged(CM_TOOLBARBUTTONSIZECHANGED);
  ArrangeControls();
}
void TWkToolbar::SetButtonHeight(int value) {
  buttonHeight_ = value;
  SettingChanged(CM_TOOLBARBUTTONSIZECHANGED);
  ArrangeControls();
}

void TWkToolbar::SetVisualStyle(TWkVisualStyle value) {
  TWkCustomPanel::SetVisualStyle(value);
  BroadcastToChildren(CM_TOOLBARVISUALSTYLECHANGED);
}
void TWkToolbar::SetGradientColorStyle(TWkGradientColorStyle value) {
  TWkCustomPanel::SetGradientColorStyle(value);
  BroadcastToChildren(CM_TOOLBARVISUALSTYLECHANGED);
}

void TWkToolbar::ResizeButtons(int width, int height, bool showCaptions) {
  showButtonCaptions_ = showCaptions;
  buttonWidth_ = width;
  buttonHeight_ = height;
  for (int i = 0; i < ControlCount(); ++i) {
    if (auto* b = dynamic_cast<TWkToolButton*>(Controls(i))) {
      b->Perform(CM_TOOLBARSHOWCAPTIONCHANGED);
      b->Perform(CM_TOOLBARBUTTONSIZECHANGED);
      if (b->UseToolbarButtonLayout()) {
        b->SetLayout(!showCaptions || height < 31 ? blGlyphLeft : blGlyphTop);
        b->SetUseToolbarButtonLayout(true);
      }
    }
  }
  rowHeight_ = orientation_ == orVertical ? width : height;
  ArrangeControls();
}

void TWkToolbar::SetTextOptions(TWkToolbarTextOptions value) {
  if (value == textOptions_) return;
  textOptions_ = value;
  if (value == ttoCustom) return;
  const TWkFlagScope scope(applyingTextOptions_);
  const bool vertical = orientation_ == orVertical;
  switch (value) {
    case ttoNoTextLabels:
      SetButtonLayout(blGlyphLeft);
      ResizeButtons(25, 25, false);
      SetRowHeight(25);
      break;
    case ttoShowTextLabels:
      SetButtonLayout(blGlyphTop);
      ResizeButtons(60, 40, true);
      SetRowHeight(vertical ? 60 : 40);
      break;
    case ttoSelectiveTextOnRight:
      SetButtonLayout(blGlyphLeft);
      ResizeButtons(60, 25, true);
      SetRowHeight(vertical ? 60 : 25);
      break;
    default:
      break;
  }
}

void TWkToolbar::SetOrientation(TOrientation value) {
  orientation_ = value;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* spacer = dynamic_cast<TWkSpacer*>(Controls(i))) spacer->SetOrientation(value);
  ArrangeControls();
}

void TWkToolbar::SetMargin(int value) {
  margin_ = value;
  ArrangeControls();
}
void TWkToolbar::SetTopMargin(int value) {
  topMargin_ = value;
  ArrangeControls();
}
void TWkToolbar::SetRowHeight(int value) {
  rowHeight_ = value;
  ArrangeControls();
}
void TWkToolbar::SetWrapControls(bool value) {
  wrapControls_ = value;
  ArrangeControls();
}

void TWkToolbar::SetAutoResize(bool value) {
  CheckParentToolbar(value);
  if (!StoreChanged(autoResize_, value)) return;
  ArrangeControls();
}

void TWkToolbar::SetParent(TWinControl* parent) {
  TWkCustomPanel::SetParent(parent);
  CheckParentToolbar(autoResize_);
}

void TWkToolbar::SetImages(TImageList* value) {
  if (images_ != nullptr) images_->UnRegisterChanges(&imagesLink_);
  images_ = value;
  if (images_ != nullptr) images_->RegisterChanges(&imagesLink_);
  Invalidate();
}

void TWkToolbar::SetBackground(const TBitmap& value) {
  background_->Assign(value);
  Invalidate();
}

void TWkToolbar::SetRegIniFile(TWkRegIniFile* value) {
  if (regIniFile_ != nullptr) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (regIniFile_ != nullptr) regIniFile_->FreeNotification(this);
}

void TWkToolbar::SetVisible(bool value) {
  const bool changed = value != Visible();
  TWkCustomPanel::SetVisible(value);
  if (changed && OnVisibleChanged) OnVisibleChanged(this);
}

// --- layout ----------------------------------------------------------------------------------

void TWkToolbar::AlignControls(TControl* control, TRect& rect) {
  (void)control, (void)rect;
  if (arranging_) return;
  if (!IsLoading()) {
    for (int i = 0; i < ControlCount(); ++i)
      if (Controls(i) != static_cast<TControl*>(popupButton_))
        controlList_->AddControl(Controls(i));
  }
  ArrangeControls();
}

int TWkToolbar::ReachOf(const TControl* control) const {
  return VisualRect(*this, control->BoundsRect()).Right;
}

void TWkToolbar::BiDiModeChanged() {
  TWkCustomPanel::BiDiModeChanged();
  ArrangeControls();
}

void TWkToolbar::PositionControl(int index, int row, int& pos) {
  TControl* c = controlList_->Items(index).Control;
  if (c == nullptr || c->IsDestroying()) return;
  if (orientation_ == orHorizontal) {
    const int top = (row - 1) * currentRowHeight_ + topMargin_ + rowHeight_ / 2 - c->Height() / 2;
    c->SetBoundsRect(VisualRect(*this, Bounds(pos, top, c->Width(), c->Height())));
    pos += c->Width();
  } else {
    const int left = (row - 1) * currentRowHeight_ + margin_ + rowHeight_ / 2 - c->Width() / 2;
    c->SetBounds(left, pos, c->Width(), c->Height());
    pos += c->Height();
  }
}

void TWkToolbar::ArrangeControls() {
  if (arranging_ || IsDestroying()) return;
  const TWkFlagScope scope(arranging_);
  const bool horizontal = orientation_ == orHorizontal;
  int pos = margin_, widest = 0, row = 1, placed = 0;
  TControl* last = nullptr;
  currentRowHeight_ = GetRowHeight(1);
  for (int i = 0; i < controlList_->Count(); ++i) {
    TControl* c = controlList_->Items(i).Control;
    if (c == nullptr || !c->Visible()) continue;
    const int extent = horizontal ? c->Width() : c->Height();
    const int room = horizontal ? Width() : Height();
    // Only once something sits in the row can the next control start a new one.
    if (placed > 0 && wrapControls_ && room - margin_ < pos + extent) {
      pos = margin_;
      ++row;
      currentRowHeight_ = GetRowHeight(row);
    }
    PositionControl(i, row, pos);
    widest = MaxInt(widest, pos);
    ++placed;
    last = c;
  }
  // Overflow is judged on where this pass put the last control.
  ShowOverflow(!wrapControls_ && last != nullptr && Width() - margin_ < ReachOf(last));
  if (autoResize_) Resize(horizontal, row, widest);
  if (popupButton_ != nullptr) {
    popupButton_->SetBoundsRect(
        VisualRect(*this, Rect(Width() - kDropDownPartWidth, 0, Width(), Height())));
    popupButton_->SetVisible(overflowShown_);
    if (overflowShown_) popupButton_->BringToFront();
  }
  if (autoResize_) TellParent();
}

void TWkToolbar::Resize(bool horizontal, int row, int widest) {
  const TAlign align = Align();
  int width = Width(), height = Height();
  if (horizontal) {
    if ((align == alLeft || align == alRight) && widest > 0) width = margin_ + widest;
    if (align == alNone || align == alTop || align == alBottom)
      height = rowHeight_ * row + 2 * topMargin_;
  } else {
    if ((align == alNone || align == alTop || align == alBottom) && widest > 0)
      height = margin_ + widest;
    if (align == alLeft || align == alRight) width = rowHeight_ * row + 2 + topMargin_;
  }
  if (width != Width() || height != Height()) {
    Invalidate();
    SetBounds(Left(), Top(), width, height);
  }
}

void TWkToolbar::ControlListChange(TControl* control, bool inserting) {
  TWkCustomPanel::ControlListChange(control, inserting);
  if (IsLoading() || control == static_cast<TControl*>(popupButton_)) return;
  if (inserting)
    controlList_->AddControl(control);
  else
    controlList_->RemoveControl(control);
  ArrangeControls();
}

void TWkToolbar::Resize() {
  TWkCustomPanel::Resize();
  if (!IsLoading()) ArrangeControls();
}

void TWkToolbar::TellParent() {
  if (Parent() != nullptr && Parent()->Visible()) Parent()->Realign();
}

void TWkToolbar::ShowOverflow(bool wanted) {
  overflowWanted_ = wanted;
  const bool show = wanted && orientation_ == orHorizontal;
  if (show && popupButton_ == nullptr) {
    popupButton_ = new TWkToolbarPopupButton(this);
    popupButton_->FreeNotification(this);
    popupButton_->SetParent(this);
  }
  if (show != overflowShown_) {
    overflowShown_ = show;
    Invalidate();
  }
}

TPoint TWkToolbar::GetContentOffset() const {
  if (overflowShown_) return Point(15, 1);
  return TWkCustomPanel::GetContentOffset();
}

void TWkToolbar::Paint() {
  PaintPanel();
  if (!background_->Empty()) {
    TRect inner = GetControlRect();
    AdjustRectForBorders(inner, true);
    TCanvas& canvas = Canvas();
    const int saved = canvas.SaveState();
    canvas.IntersectClipRect(inner);
    const int bw = background_->Width(), bh = background_->Height();
    for (int y = inner.Top; y < inner.Bottom; y += bh)
      for (int x = inner.Left; x < inner.Right; x += bw) canvas.Draw(x, y, *background_);
    canvas.RestoreState(saved);
  }
  if (OnPaint) OnPaint(this);
}

// --- overflow button -------------------------------------------------------------------------

TWkToolbarPopupButton::TWkToolbarPopupButton(TWkToolbar* toolbar)
    : TCustomControl(toolbar), toolbar_(toolbar) {
  SetClickOnRelease(false);
  SetTabStop(false);
  SetBounds(0, 0, kDropDownPartWidth, toolbar->Height());
  SetColor(AdjustColor(toolbar->Color(), toolbar->FlatColorAdjustment()));
}

void TWkToolbarPopupButton::SetFrameColor(TColor value) {
  frameColor_ = value;
  Invalidate();
}

void TWkToolbarPopupButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  pressing_ = true;
  showDown_ = true;
  Invalidate();
  SetMouseCapture(true);
}

void TWkToolbarPopupButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!pressing_) return;
  const bool inside = PtInRect(GetClientRect(), Point(x, y));
  if (inside != showDown_) {
    showDown_ = inside;
    Invalidate();
  }
}

void TWkToolbarPopupButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  SetMouseCapture(false);
  pressing_ = false;
  if (showDown_) {
    showDown_ = false;
    ShowOverflowPopup();
    Invalidate();
  }
}

void TWkToolbarPopupButton::ShowOverflowPopup() {
  TForm* form = ParentForm();
  if (form == nullptr) return;
  TWkToolbar* owner = toolbar_;
  auto panel = std::make_unique<TWkPopupPanel>(nullptr);
  auto* bar = new TWkToolbar(panel.get());
  bar->SetBorderOuter(fsFlat);
  bar->SetBorderSides(AllSides);
  bar->SetAlign(alNone);
  bar->SetWidth(owner->ButtonWidth() * 3 + 8);
  bar->SetBackground(owner->Background());
  bar->SetBiDiMode(owner->BiDiMode());
  bar->SetButtonHeight(owner->ButtonHeight());
  bar->SetButtonLayout(owner->ButtonLayout());
  bar->SetButtonWidth(owner->ButtonWidth());
  bar->SetGradientColorStart(owner->GradientColorStart());
  bar->SetGradientColorStop(owner->GradientColorStop());
  bar->SetGradientColorStyle(owner->GradientColorStyle());
  bar->SetGradientDirection(owner->GradientDirection());
  bar->SetImages(owner->Images());
  bar->SetRowHeight(owner->RowHeight());
  bar->SetShowButtonCaptions(owner->ShowButtonCaptions());
  bar->SetShowHint(owner->ShowHint());
  bar->SetTextOptions(owner->TextOptions());
  bar->SetVisualStyle(owner->VisualStyle());
  bar->SetColor(owner->VisualStyle() == vsGradient ? TColor(clWindow) : owner->Color());
  bar->SetParent(panel.get());
  TWkToolbarControlList& list = owner->ToolbarControls();
  for (int i = 0; i < list.Count(); ++i) {
    auto* source = dynamic_cast<TWkToolButton*>(list.Items(i).Control);
    if (source == nullptr || !source->Visible()) continue;
    if (owner->ReachOf(source) <= owner->Width() - owner->Margin()) continue;
    auto* copy = new TWkPopupToolButton(panel.get(), this);
    copy->Assign(source);
    copy->OnClick = source->OnClick;
    copy->SetParent(bar);
    bar->ToolbarControls().AddControl(copy);
  }
  bar->ArrangeControls();
  TWkPopupPanel* raw = panel.get();
  bar->OnClick = [raw](TComponent*) { raw->ClosePopup(); };
  panel->Font()->SetName(Font()->Name());
  panel->Font()->SetColor(Font()->Color());
  panel->FontChanged();
  ClickedButton = nullptr;
  openPopup_ = raw;
  raw->Popup(this);
  openPopup_ = nullptr;
  TWkToolButton* chosen = ClickedButton;
  panel.reset();
  if (chosen != nullptr) chosen->Click();
}

void TWkToolbarPopupButton::Paint() {
  const TRect r = GetClientRect();
  DrawBackground(r, showDown_);
  DrawGlyph(r);
}

void TWkToolbarPopupButton::DrawBackground(const TRect& rect, bool down) {
  TCanvas& canvas = Canvas();
  const TRect inner = DrawBox(canvas, rect, frameColor_);
  if (toolbar_->VisualStyle() == vsGradient) {
    TColor start, stop;
    toolbar_->GetGradientColors(start, stop);
    PaintGradient(canvas, inner, toolbar_->GradientDirection(), down ? stop : start,
                  down ? start : stop);
    return;
  }
  canvas.Brush().SetColor(down ? DarkerColor(toolbar_->Color(), 20) : toolbar_->Color());
  canvas.FillRect(inner);
}

void TWkToolbarPopupButton::DrawGlyph(const TRect& rect) {
  TCanvas& canvas = Canvas();
  const int cx = (rect.Left + rect.Right) / 2;
  const int base = rect.Bottom - 4 + (showDown_ ? 1 : 0);
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetColor(clBlack);
  // A triangle pointing down under a short bar...
  canvas.Polygon({Point(cx - 2, base - 2), Point(cx + 2, base - 2), Point(cx, base)});
  canvas.FillRect(Rect(cx - 2, base - 4, cx + 3, base - 3));
  // ...and two chevrons above them pointing right: more lies beyond the edge.
  for (int k = 0; k < 2; ++k) {
    const int x = cx - 3 + k * 4, y = rect.Top + 4;
    for (int i = 0; i < 3; ++i) {
      canvas.SetPixel(x + i, y + i, clBlack);
      canvas.SetPixel(x + i, y + 4 - i, clBlack);
    }
  }
}
