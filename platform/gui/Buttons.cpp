// Push buttons, check boxes, radio buttons and group boxes.
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include "platform/gui/ActnList.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/StdCtrls.h"

using namespace zgui;

namespace {
// The whole control area takes the click, not only the box and its text.
template <class W>
class TogglePeer : public Peer<W> {
 public:
  using Peer<W>::Peer;

 protected:
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// The peer of a check box or radio button. Only the user's toggles come from it, to the
// control's PeerToggled; code goes through the control's setters.
template <class W, class T>
W* NewTogglePeer(T* control) {
  auto* peer = new TogglePeer<W>(control);
  peer->GenericClick = false;
  RelayToControl(peer, &W::clicked, &T::PeerToggled);
  return peer;
}
}  // namespace

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  auto* peer = new Peer<QPushButton>(this);
  peer->GenericClick = false;
  AttachWidget(peer);
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
  RelayToControl(peer, &QPushButton::clicked, &TControl::Click);
}

void TButton::Click() {
  if (ModalResult != 0) {
    if (TForm* form = ParentForm()) form->SetModalResult(ModalResult);
  }
  TWinControl::Click();
}

bool PushButtonTakes(const TWinControl* button, const TMessage& message, bool active, bool cancel) {
  if (!button->CanFocus()) return false;
  if (message.Msg == CM_DIALOGKEY) {
    if ((message.LParam & (ssShift | ssCtrl | ssAlt)) != 0) return false;
    return (message.WParam == VK_RETURN && active) || (message.WParam == VK_ESCAPE && cancel);
  }
  return message.Msg == CM_DIALOGCHAR &&
         IsAccel(static_cast<char>(message.WParam), button->Caption());
}

void TButton::WndProc(TMessage& message) {
  if (message.Msg == CM_FOCUSCHANGED) {
    auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
    focusedButton_ = focused != nullptr && focused->IsPushButton();
    focused_ = focused == this;
  }
  // Default is read now: a window may make a button its default after the focus last moved.
  const bool active = focusedButton_ ? focused_ : Default;
  if ((message.Msg == CM_DIALOGKEY || message.Msg == CM_DIALOGCHAR) &&
      PushButtonTakes(this, message, active, Cancel)) {
    Click();
    message.Result = 1;
  }
  TWinControl::WndProc(message);
}

void TButton::TextChanged() {
  if (auto* b = static_cast<QPushButton*>(Widget())) b->setText(ToQCaption(text_));
}

// ---------------------------------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), glyph_(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() = default;

void TBitBtn::GlyphChanged() {
  auto* b = static_cast<QPushButton*>(Widget());
  if (!b) return;
  if (glyph_->Empty()) {
    b->setIcon(QIcon());
    return;
  }
  // The bottom-left pixel's colour is the picture's background, as glyphs were drawn.
  const QImage image = KeyedImage(*glyph_);
  b->setIcon(QIcon(QPixmap::fromImage(image)));
  b->setIconSize(image.size());
}

// ---------------------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  AttachWidget(NewTogglePeer<QCheckBox>(this));
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == cbGrayed && !AllowGrayed) value = cbUnchecked;
  if (auto* b = static_cast<QCheckBox*>(Widget())) {
    const Qt::CheckState q = value == cbChecked  ? Qt::Checked
                             : value == cbGrayed ? Qt::PartiallyChecked
                                                 : Qt::Unchecked;
    if (b->checkState() != q) {
      b->setTristate(AllowGrayed);
      b->setCheckState(q);
    }
  }
  if (value == state_) return;
  state_ = value;
  // The state changed, by the user or by code: that is a click.
  if (!IsLoading()) Click();
}

void TCheckBox::PeerToggled(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }

void TCheckBox::TextChanged() {
  if (auto* b = static_cast<QCheckBox*>(Widget())) b->setText(ToQCaption(text_));
}

void TCheckBox::ActionChange(TBasicAction* sender) {
  TWinControl::ActionChange(sender);
  if (auto* action = dynamic_cast<TAction*>(sender)) {
    // Following the action is no click of the box.
    state_ = action->Checked() ? cbChecked : cbUnchecked;
    if (auto* b = static_cast<QCheckBox*>(Widget()))
      b->setCheckState(action->Checked() ? Qt::Checked : Qt::Unchecked);
  }
}

// ---------------------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
  AttachWidget(NewTogglePeer<QRadioButton>(this));
  SetTabStop(true);
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool value) {
  if (auto* b = static_cast<QRadioButton*>(Widget()); b && b->isChecked() != value) {
    // Unchecking one by code must not check another; the toolkit's exclusivity is ours here.
    b->setAutoExclusive(false);
    b->setChecked(value);
    b->setAutoExclusive(true);
  }
  if (value == checked_) return;
  checked_ = value;
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  if (!IsLoading()) Click();
}

void TRadioButton::PeerToggled(bool checked) {
  if (checked) SetChecked(true);
}

void TRadioButton::TextChanged() {
  if (auto* b = static_cast<QRadioButton*>(Widget())) b->setText(ToQCaption(text_));
}

// ---------------------------------------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
  AttachWidget(new Peer<QGroupBox>(this));
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::AdjustClientRect(TRect& rect) const {
  TWinControl::AdjustClientRect(rect);
  // Room for the caption line and the frame.
  rect.Top += 14;
  InflateRect(rect, -2, -2);
}

void TGroupBox::TextChanged() {
  if (auto* b = static_cast<QGroupBox*>(Widget())) b->setTitle(ToQCaption(text_));
}
