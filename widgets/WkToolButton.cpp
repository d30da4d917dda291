// The tool button: presses, drop-down menu, groups, the bar's settings, and its three looks.
#include "platform/Clock.h"
#include "platform/gui/ActnList.h"
#include "widgets/WkGrafx.h"
#include "widgets/WkToolbar.h"

namespace {
constexpr unsigned kCaptionFlags = DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS;
// A press this soon after the menu closed is the press that closed it.
constexpr uint32_t kReopenGuardMs = 100;
// Room round the widest item caption of a pop-up menu.
constexpr int kMenuCaptionExtra = 56;
}  // namespace

TWkToolButton::TWkToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetClickOnRelease(false);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetBoundsKeepingSize(0, 0, 25, 25);
  imagesLink_.OnChange = [this] {
    SetImages(images_);
    Invalidate();
  };
  imagesLink_.OnFree = [this] {
    images_ = nullptr;
    Invalidate();
  };
}

TWkToolButton::~TWkToolButton() {
  if (dropDownMenu_ != nullptr) dropDownMenu_->RemoveFreeNotification(this);
}

TWkToolbar* TWkToolButton::ParentToolbar() const { return dynamic_cast<TWkToolbar*>(Parent()); }

TImageList* TWkToolButton::ImageSource() const {
  if (images_ != nullptr) return images_;
  TWkToolbar* bar = ParentToolbar();
  return bar != nullptr ? bar->Images() : nullptr;
}

// --- settings --------------------------------------------------------------------------------

void TWkToolButton::SetFlat(bool value) {
  if (StoreLook(flat_, value)) Repaint();
}

void TWkToolButton::SetImages(TImageList* value) {
  if (images_ != value) {
    if (images_ != nullptr) images_->UnRegisterChanges(&imagesLink_);
    images_ = value;
    if (images_ != nullptr) images_->RegisterChanges(&imagesLink_);
  }
  if (images_ != nullptr && (Width() < images_->Width() || Height() < images_->Height()))
    SetBoundsKeepingSize(Left(), Top(), MaxInt(Width(), images_->Width()),
                         MaxInt(Height(), images_->Height()));
  Invalidate();
}

void TWkToolButton::SetLayout(TButtonLayout value) {
  useLayout_ = false;
  StoreLook(layout_, value);
}

void TWkToolButton::SetShowCaption(bool value) {
  useCaption_ = false;
  StoreLook(showCaption_, value);
}

void TWkToolButton::SetVisualStyle(TWkVisualStyle value) {
  useStyle_ = false;
  StoreLook(visualStyle_, value);
}

void TWkToolButton::SetDropDownMenu(TPopupMenu* value) {
  if (dropDownMenu_ == value) return;
  if (dropDownMenu_ != nullptr) dropDownMenu_->RemoveFreeNotification(this);
  dropDownMenu_ = value;
  if (dropDownMenu_ != nullptr) dropDownMenu_->FreeNotification(this);
  Invalidate();
}

void TWkToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == dropDownMenu_) dropDownMenu_ = nullptr;
}

void TWkToolButton::SetToolStyle(TWkToolStyle value) {
  if (value == toolStyle_) return;
  toolStyle_ = value;
  groupIndex_ = 0;
  if (!IsLoading()) {
    const int w = Width() + (value == tsDropDown ? kDropDownPartWidth : -kDropDownPartWidth);
    SetBoundsKeepingSize(Left(), Top(), w, Height());
  }
  Invalidate();
}

void TWkToolButton::SetUseToolbarButtonLayout(bool value) {
  if (StoreChanged(useLayout_, value) && Parent() != nullptr && !IsLoading())
    Perform(CM_TOOLBARBUTTONLAYOUTCHANGED);
}
void TWkToolButton::SetUseToolbarButtonSize(bool value) {
  if (StoreChanged(useSize_, value) && Parent() != nullptr && !IsLoading())
    Perform(CM_TOOLBARBUTTONSIZECHANGED);
}
void TWkToolButton::SetUseToolbarShowCaption(bool value) {
  if (StoreChanged(useCaption_, value) && Parent() != nullptr && !IsLoading())
    Perform(CM_TOOLBARSHOWCAPTIONCHANGED);
}
void TWkToolButton::SetUseToolbarVisualStyle(bool value) {
  if (StoreChanged(useStyle_, value) && Parent() != nullptr && !IsLoading())
    Perform(CM_TOOLBARVISUALSTYLECHANGED);
}

void TWkToolButton::SetBoundsKeepingSize(int left, int top, int width, int height) {
  const TWkFlagScope scope(sizing_);
  SetBounds(left, top, width, height);
}

void TWkToolButton::SetBounds(int left, int top, int width, int height) {
  const bool resized = width != Width() || height != Height();
  // A size of its own stops the button following the bar's button size.
  if (!sizing_ && !IsLoading() && resized) useSize_ = false;
  TGraphicControl::SetBounds(left, top, width, height);
  // The bar's rows depend on every button's size.
  if (resized && !IsLoading())
    if (TWkToolbar* bar = ParentToolbar()) bar->ArrangeControls();
}

void TWkToolButton::SetParent(TWinControl* parent) {
  TGraphicControl::SetParent(parent);
  if (IsLoading()) return;
  SyncWithToolbar();
}

void TWkToolButton::Loaded() {
  TGraphicControl::Loaded();
  SyncWithToolbar();
}

void TWkToolButton::TextChanged() {
  SyncWithToolbar();
  Invalidate();
}

void TWkToolButton::SyncWithToolbar() {
  Perform(CM_TOOLBARSHOWCAPTIONCHANGED);
  Perform(CM_TOOLBARBUTTONLAYOUTCHANGED);
  Perform(CM_TOOLBARBUTTONSIZECHANGED);
  Perform(CM_TOOLBARVISUALSTYLECHANGED);
}

void TWkToolButton::SetSizeFromToolbar() {
  TWkToolbar* bar = ParentToolbar();
  int w = bar->ButtonWidth();
  if (showCaption_) {
    TCanvas& canvas = Canvas();
    canvas.SetFont(*Font());
    const int tw = canvas.TextWidth(StripAccelChars(Caption()));
    if (layout_ == blGlyphLeft || layout_ == blGlyphRight)
      w = MaxInt(w, GetImageSize().cx + tw + 12);
    else
      w = MaxInt(w, tw + 8);
  }
  if (toolStyle_ == tsDropDown) w += kDropDownPartWidth;
  SetBoundsKeepingSize(Left(), Top(), w, bar->ButtonHeight());
}

void TWkToolButton::WndProc(TMessage& message) {
  TWkToolbar* bar = ParentToolbar();
  switch (message.Msg) {
    case CM_TOOLBARSHOWCAPTIONCHANGED:
      if (useCaption_ && bar != nullptr) {
        SetShowCaption(bar->ShowButtonCaptions());
        useCaption_ = true;
      }
      break;
    case CM_TOOLBARBUTTONLAYOUTCHANGED:
      if (useLayout_ && bar != nullptr) {
        SetLayout(bar->ButtonLayout());
        useLayout_ = true;
      }
      break;
    case CM_TOOLBARBUTTONSIZECHANGED:
      if (useSize_ && bar != nullptr) {
        SetSizeFromToolbar();
        useSize_ = true;
      }
      break;
    case CM_TOOLBARVISUALSTYLECHANGED:
      if (useStyle_ && bar != nullptr) {
        SetVisualStyle(bar->VisualStyle());
        SetGradientColorStyle(bar->GradientColorStyle());
        useStyle_ = true;
      }
      break;
    case CM_BUTTONPRESSED: {
      auto* sender = reinterpret_cast<TWkToolButton*>(message.LParam);
      if (message.WParam == groupIndex_ && sender != nullptr && sender != this) {
        if (sender->down_ && down_) {
          down_ = false;
          state_ = 0;
          Invalidate();
        }
        allowAllUp_ = sender->allowAllUp_;
      }
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<char>(message.WParam), Caption()) && Enabled() && Visible() &&
          Parent() != nullptr && Parent()->Showing()) {
        if (toolStyle_ == tsButton || OnClick || Action() != nullptr)
          Click();
        else
          ShowDropDownMenu();
        message.Result = 1;
      }
      break;
    default:
      break;
  }
  TGraphicControl::WndProc(message);
}

// --- groups and actions -----------------------------------------------------------------------

void TWkToolButton::UpdateExclusive() {
  if (groupIndex_ == 0 || Parent() == nullptr) return;
  TMessage message{CM_BUTTONPRESSED, groupIndex_, reinterpret_cast<intptr_t>(this), 0};
  Parent()->Broadcast(message);
}

void TWkToolButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = value;
  if (value) {
    if (state_ == 0) Invalidate();
    state_ = 3;
  } else {
    state_ = 0;
    Repaint();
  }
  if (value) UpdateExclusive();
}

void TWkToolButton::SetGroupIndex(int value) {
  groupIndex_ = toolStyle_ == tsDropDown ? 0 : value;
  UpdateExclusive();
}

void TWkToolButton::SetAllowAllUp(bool value) {
  allowAllUp_ = value;
  UpdateExclusive();
}

void TWkToolButton::ActionChange(TBasicAction* sender) {
  TGraphicControl::ActionChange(sender);
  if (auto* action = dynamic_cast<TAction*>(sender)) {
    if (action->Checked() != down_) SetDown(action->Checked());
    if (action->ImageIndex() != -1) SetImageIndex(action->ImageIndex());
  }
}

void TWkToolButton::AssignTo(TBasicAction* target) const {
  if (auto* action = dynamic_cast<TAction*>(target)) {
    action->SetChecked(down_);
    action->SetImageIndex(imageIndex_);
  }
}

// --- presses ---------------------------------------------------------------------------------

bool TWkToolButton::DropsFromAnywhere() const {
  return toolStyle_ == tsDropDown && !OnClick && Action() == nullptr;
}

void TWkToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (toolStyle_ == tsButton) {
    if (button == mbLeft && Enabled()) {
      if (!down_ || state_ == 3) state_ = 2;
      Invalidate();
      dragging_ = true;
    }
    return;
  }
  if (dropDownMenu_ != nullptr && button == mbLeft && (OnDropDownPart(x) || DropsFromAnywhere())) {
    if (dropDownTime_ != 0 && GetTickCount() - dropDownTime_ < kReopenGuardMs) {
      pressArmed_ = true;
      dropDownTime_ = 0;
      SetMouseCapture(false);
    } else {
      state_ = 4;
      Repaint();
      ShowDropDownMenu();
      pressArmed_ = false;
      dropDownTime_ = GetTickCount();
      if (dropDownTime_ == 0) dropDownTime_ = 1;
    }
    MouseUp(button, shift, x, y);
    return;
  }
  if (pressArmed_) {
    if (button == mbLeft && Enabled()) {
      if (!down_) state_ = 2;
      Invalidate();
      dragging_ = true;
    }
  } else {
    pressArmed_ = true;
  }
}

void TWkToolButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (dragging_) {
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    const std::uint8_t state = down_ ? 3 : inside ? 2 : 0;
    if (state != state_) {
      state_ = state;
      Invalidate();
    }
  } else if (!mouseInControl_) {
    UpdateTracking(x, y);
  }
}

void TWkToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
  if (dragging_) {
    dragging_ = false;
    bool click = inside;
    if (groupIndex_ == 0) {
      state_ = 0;
      mouseInControl_ = false;
      if (inside) Repaint();
    } else if (inside) {
      const bool was = down_;
      SetDown(!down_);
      if (down_ == was) click = false;
      if (down_) {
        state_ = 3;
        Repaint();
      }
    } else {
      state_ = down_ ? 3 : 0;
      Repaint();
    }
    if (click) Click();
    UpdateTracking(x, y);
  }
  if (toolStyle_ == tsDropDown) {
    if (!inside) pressArmed_ = true;
    state_ = 0;
    Repaint();
    UpdateTracking(x, y);
  }
}

void TWkToolButton::Click() {
  if (toolStyle_ == tsDropDown && !pressArmed_) return;
  TGraphicControl::Click();
}

void TWkToolButton::UpdateTracking(int x, int y) {
  if (!FlatLook() || !Enabled()) return;
  const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
  if (inside && !mouseInControl_)
    MouseEnter();
  else if (!inside && mouseInControl_)
    MouseLeave();
}

void TWkToolButton::MouseEnter() {
  mouseInControl_ = true;
  TGraphicControl::MouseEnter();
  if (FlatLook()) Repaint();
}

void TWkToolButton::MouseLeave() {
  if (!droppingDown_) mouseInControl_ = false;
  TGraphicControl::MouseLeave();
  if (FlatLook()) Repaint();
}

TRect TWkToolButton::DropDownPartRect() const {
  return VisualRect(*this, Rect(Width() - kDropDownPartWidth, 0, Width(), Height()));
}

bool TWkToolButton::OnDropDownPart(int x) const {
  const TRect part = DropDownPartRect();
  return x >= part.Left && x < part.Right;
}

void TWkToolButton::ShowDropDownMenu() {
  if (dropDownMenu_ == nullptr) return;
  const TWkFlagScope scope(droppingDown_);
  if (OnDropDown) OnDropDown(dropDownMenu_);
  // The menu's own width: its widest caption in the menu font plus room for marks and keys.
  TBitmap measure(1, 1);
  int widest = 0;
  for (int i = 0; i < dropDownMenu_->Items()->Count(); ++i)
    widest = MaxInt(widest, measure.Canvas().TextWidth(
                                StripAccelChars(dropDownMenu_->Items()->Items(i)->Caption())));
  const int menuWidth = widest + kMenuCaptionExtra;
  // It starts under the button's left edge, or right to left ends under its right edge; one
  // that would leave the work area there lines up with the button's other edge instead.
  const TRect under = VisualRect(*this, Rect(0, Height(), menuWidth, Height() + 1));
  const TRect flipped =
      VisualRect(*this, Rect(Width() - menuWidth, Height(), Width(), Height() + 1));
  TPoint at = ClientToScreen(Point(under.Left, under.Top));
  const TRect work = GetMonitorWorkArea(at);
  if (at.X < work.Left || at.X + menuWidth > work.Right) at.X += flipped.Left - under.Left;
  dropDownMenu_->PopupComponent = this;
  dropDownMenu_->Popup(at.X, at.Y);
  if (groupIndex_ != 0 && !down_) Click();
}

// --- painting --------------------------------------------------------------------------------

TSize TWkToolButton::GetImageSize() const {
  TImageList* list = ImageSource();
  if (imageIndex_ == -1 || list == nullptr) return TSize{0, 0};
  return TSize{list->Width(), list->Height()};
}

bool TWkToolButton::PressedDisplay() const {
  return state_ == 2 || state_ == 3 || (state_ == 4 && !OnClick && Action() == nullptr);
}

void TWkToolButton::CalcLayout(TRect& imageRect, TRect& textRect) {
  TRect r = GetClientRect();
  if (toolStyle_ == tsDropDown)
    r = VisualRect(*this, Rect(0, 0, ClientWidth() - kDropDownPartWidth, ClientHeight()));
  InflateRect(r, -2, -2);
  const TSize image = GetImageSize();
  const std::string caption = Caption();
  int s;
  if (!showCaption_ || caption.empty()) {
    imageRect = CenterRect(r, image.cx, image.cy);
    textRect = Rect(0, 0, 0, 0);
    s = imageRect.Left - 4;
  } else {
    TCanvas& canvas = Canvas();
    canvas.SetFont(*Font());
    const bool across = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    TRect measure = r;
    if (across)
      measure.Right -= image.cx;
    else
      measure.Bottom -= image.cy;
    canvas.DrawText(caption, measure, kCaptionFlags | DT_CALCRECT);
    const int tw = measure.Width(), th = measure.Height();
    const int midY = r.Top + (r.Height() - image.cy) / 2, textY = r.Top + (r.Height() - th) / 2;
    if (across) {
      const int start = r.Left + (r.Width() - (image.cx + 4 + tw)) / 2;
      if (layout_ == blGlyphLeft) {
        imageRect = Rect(start, midY, start + image.cx, midY + image.cy);
        textRect = Rect(start + image.cx + 4, textY, start + image.cx + 4 + tw, textY + th);
        s = image.cx > 0 ? imageRect.Left - 4 : imageRect.Left;
      } else {
        textRect = Rect(start, textY, start + tw, textY + th);
        imageRect = Rect(start + tw + 4, midY, start + tw + 4 + image.cx, midY + image.cy);
        s = textRect.Left - 4;
      }
    } else {
      const int top = r.Top + (r.Height() - (image.cy + 4 + th)) / 2;
      const int il = r.Left + (r.Width() - image.cx) / 2, tl = r.Left + (r.Width() - tw) / 2;
      if (layout_ == blGlyphTop) {
        imageRect = Rect(il, top, il + image.cx, top + image.cy);
        textRect = Rect(tl, top + image.cy + 4, tl + tw, top + image.cy + 4 + th);
      } else {
        textRect = Rect(tl, top, tl + tw, top + th);
        imageRect = Rect(il, top + th + 4, il + image.cx, top + th + 4 + image.cy);
      }
      s = MinInt(il, tl) - 4;
    }
  }
  if (alignment_ == taLeftJustify) {
    OffsetRect(imageRect, -s, 0);
    OffsetRect(textRect, -s, 0);
  } else if (alignment_ == taRightJustify) {
    OffsetRect(imageRect, s, 0);
    OffsetRect(textRect, s, 0);
  }
  if (PressedDisplay() && visualStyle_ != vsGradient) {
    OffsetRect(imageRect, 1, 1);
    OffsetRect(textRect, 1, 1);
  }
}

void TWkToolButton::GetSelection(TColor& frame, TColor& start, TColor& stop) const {
  if (gradientColorStyle_ == gcsCustom) {
    frame = selectionFrameColor_;
    start = selectionColorStart_;
    stop = selectionColorStop_;
  } else {
    GetSelectionColors(gradientColorStyle_, frame, start, stop);
  }
}

TRect TWkToolButton::DrawButtonFace(TRect r) {
  TCanvas& canvas = Canvas();
  const bool hot = mouseInControl_ && state_ != 1;
  if (!FlatLook()) return DrawFrame(canvas, r, state_ == 2 || state_ == 3 ? fsLowered : fsButtonUp);
  if (!(state_ == 2 || state_ == 3 || hot)) return r;
  if (visualStyle_ != vsGradient)
    return DrawFrame(canvas, r, state_ == 2 || state_ == 3 ? fsStatus : fsPopup);
  TColor frame, a, b;
  GetSelection(frame, a, b);
  r = DrawBox(canvas, r, frame);
  TColor from = a, to = b;
  if (state_ == 2 || state_ == 4) {
    from = b;
    to = a;
  } else if (state_ == 3) {
    // Hot and sticky down: the ramp turns over while the mouse button is held.
    if (mouseInControl_) {
      from = dragging_ ? b : a;
      to = dragging_ ? a : b;
    } else {
      from = DarkerColor(b, 40);
      to = a;
    }
  }
  PaintGradient(canvas, r, gdHorizontalEnd, from, to);
  return r;
}

void TWkToolButton::DrawDropDownPart() {
  TCanvas& canvas = Canvas();
  const bool anywhere = DropsFromAnywhere();
  const int w = ClientWidth(), h = ClientHeight();
  const TRect part = DropDownPartRect();
  const TRect p = anywhere ? GetClientRect() : part;
  if (state_ == 4) {
    if (visualStyle_ == vsGradient) {
      TColor frame, a, b;
      GetSelection(frame, a, b);
      // Widened by one toward the button.
      const TRect box = anywhere ? p : VisualRect(*this, Rect(w - kDropDownPartWidth - 1, 0, w, h));
      const TRect inner = DrawBox(canvas, box, frame);
      PaintGradient(canvas, inner, gdHorizontalEnd, b, a);
    } else {
      DrawFrame(canvas, p, fsStatus);
    }
  } else if (!anywhere && Enabled() &&
             ((FlatLook() && mouseInControl_) || !FlatLook() ||
              (state_ == 2 && visualStyle_ != vsGradient))) {
    // The separator's two columns straddle the part's inner edge, the shadow in the left one
    // and the light in the right one on either side, as light falls from the top left.
    const TRect straddle =
        VisualRect(*this, Rect(w - kDropDownPartWidth - 1, 0, w - kDropDownPartWidth + 1, h));
    const int x = straddle.Left + 1;
    if (visualStyle_ == vsGradient) {
      TColor frame, a, b;
      GetSelection(frame, a, b);
      canvas.Pen().SetColor(frame);
      canvas.MoveTo(x - 1, 0);
      canvas.LineTo(x - 1, Height());
    } else {
      if (state_ != 2) {
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.MoveTo(x, 1);
        canvas.LineTo(x, Height() - 1);
      }
      canvas.Pen().SetColor(clBtnShadow);
      canvas.MoveTo(x - 1, 1);
      canvas.LineTo(x - 1, Height() - 1);
    }
  }
  // The arrow's point sits 6 columns into the part from its left edge at either end.
  int ax = part.Left + 6, ay = h / 2 + 2;
  if ((state_ == 2 || state_ == 4) && visualStyle_ != vsGradient) ++ax, ++ay;
  const TColor ink = Enabled() ? clWindowText : clBtnShadow;
  canvas.Pen().SetColor(ink);
  canvas.Brush().SetColor(ink);
  canvas.Polygon({Point(ax, ay), Point(ax - 2, ay - 2), Point(ax + 2, ay - 2)});
}

void TWkToolButton::DrawImage(const TRect& rect) {
  TImageList* list = ImageSource();
  if (list == nullptr) return;
  int index = imageIndex_;
  bool colour = Enabled();
  if (disabledIndex_ == -1) {
    if (hotIndex_ != -1 && mouseInControl_ && Enabled()) index = hotIndex_;
  } else {
    colour = true;
    if (!Enabled())
      index = disabledIndex_;
    else if (hotIndex_ != -1 && mouseInControl_)
      index = hotIndex_;
  }
  if (PressedDisplay() && downIndex_ != -1) {
    index = downIndex_;
    colour = true;
  }
  list->Draw(Canvas(), rect.Left, rect.Top, index, colour);
}

void TWkToolButton::DrawCaption(const TRect& rect) {
  if (!showCaption_) return;
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(bsClear);
  canvas.SetFont(*Font());
  if (!Enabled())
    canvas.Font().SetColor(clBtnShadow);
  else if (state_ == 2 && visualStyle_ != vsGradient)
    canvas.Font().SetColor(clHighlightText);
  TRect r = rect;
  canvas.DrawText(Caption(), r, kCaptionFlags);
  canvas.Brush().SetStyle(bsSolid);
}

void TWkToolButton::Paint() {
  if (!Enabled()) {
    state_ = 1;
    dragging_ = false;
  } else if (state_ == 1) {
    state_ = down_ && groupIndex_ != 0 ? 3 : 0;
  }
  TCanvas& canvas = Canvas();
  // A windowless button shows what its parent painted behind it (a gradient bar, say).
  if (transparent_) DrawParentImageCanvas(this, canvas, false);
  TRect r = DrawButtonFace(GetClientRect());
  if (!transparent_) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
  }
  if ((visualStyle_ == vsClassic || visualStyle_ == vsWinXP) && state_ == 3 &&
      !(flat_ && mouseInControl_)) {
    // x + y even takes the lighter colour.
    const TColor light = transparent_ ? TColor(clBtnHighlight) : LighterColor(Color(), 20);
    const TColor dark = transparent_ ? TColor(clBtnFace) : Color();
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) pattern.Canvas().SetPixel(x, y, (x + y) % 2 == 0 ? light : dark);
    canvas.Brush().SetBitmap(&pattern);
    canvas.FillRect(r);
    canvas.Brush().SetBitmap(nullptr);
  }
  if (toolStyle_ == tsDropDown) DrawDropDownPart();
  TRect image, text;
  CalcLayout(image, text);
  DrawImage(image);
  DrawCaption(text);
}

// --- overflow copies -------------------------------------------------------------------------

TWkPopupToolButton::TWkPopupToolButton(TComponent* AOwner, TWkToolbarPopupButton* popupButton)
    : TWkToolButton(AOwner), popupButton_(popupButton) {}

void TWkPopupToolButton::Assign(TWkToolButton* s) {
  source_ = s;
  SetAlignment(s->Alignment());
  SetAllowAllUp(s->AllowAllUp());
  SetBiDiMode(s->BiDiMode());
  SetCaption(s->Caption());
  SetColor(s->Color());
  SetDisabledIndex(s->DisabledIndex());
  SetDownIndex(s->DownIndex());
  SetDropDownMenu(s->DropDownMenu());
  SetEnabled(s->Enabled());
  SetFlat(s->Flat());
  SetFont(*s->Font());
  SetGradientColorStyle(s->GradientColorStyle());
  SetToolStyle(s->ToolStyle());
  SetGroupIndex(s->GroupIndex());
  SetDown(s->Down());
  SetHint(s->Hint());
  SetHotIndex(s->HotIndex());
  SetImageIndex(s->ImageIndex());
  SetImages(s->ImageSource());
  SetLayout(s->Layout());
  SetParentFont(s->ParentFont());
  SetParentBiDiMode(s->ParentBiDiMode());
  SetShowHint(s->ShowHint());
  SetSelectionColorStart(s->SelectionColorStart());
  SetSelectionColorStop(s->SelectionColorStop());
  SetSelectionFrameColor(s->SelectionFrameColor());
  SetShowCaption(s->ShowCaption());
  Tag = s->Tag;
  SetTransparent(s->Transparent());
  SetUseToolbarButtonLayout(s->UseToolbarButtonLayout());
  SetUseToolbarShowCaption(s->UseToolbarShowCaption());
  SetUseToolbarVisualStyle(s->UseToolbarVisualStyle());
  SetVisible(s->Visible());
  SetVisualStyle(s->VisualStyle());
  SetBounds(Left(), Top(), s->Width(), s->Height());
  SetUseToolbarButtonSize(s->UseToolbarButtonSize());
}

void TWkPopupToolButton::Click() {
  popupButton_->ClickedButton = source_;
  if (Parent() != nullptr) Parent()->Click();
}
