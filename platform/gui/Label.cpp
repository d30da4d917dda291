// TLabel.
#include <QFontMetrics>
#include <QLabel>

#include "platform/gui/QtPeer.h"
#include "platform/gui/StdCtrls.h"

using namespace zgui;

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner) {
  auto* peer = new Peer<QLabel>(this);
  peer->setTextFormat(Qt::PlainText);
  peer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  AttachWidget(peer);
  SetBounds(0, 0, 0, 13);
  AdjustSize();
}

void TLabel::TextChanged() {
  auto* label = static_cast<QLabel*>(Widget());
  if (!label) return;
  // With a control to focus, the toolkit shows the accelerator and binds its key; without
  // one the mark is only dropped. A label that shows no accelerators shows '&' as it is.
  if (showAccel_ && focusControl_) {
    label->setBuddy(focusControl_->Widget());
    label->setText(ToQCaption(text_));
  } else {
    label->setBuddy(nullptr);
    QString shown = ToQ(showAccel_ ? StripAccelerator(text_) : text_);
    label->setText(shown);
  }
  AdjustSize();
}

void TLabel::SetFocusControl(TWinControl* control) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (control) control->FreeNotification(this);
  TextChanged();
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) {
    focusControl_ = nullptr;
    if (!IsDestroying()) TextChanged();
  }
}

void TLabel::ApplyFont() {
  TControl::ApplyFont();
  AdjustSize();
}

void TLabel::ColorChanged() {
  if (transparent_) {
    if (Widget()) Widget()->setAutoFillBackground(false);
    return;
  }
  TControl::ColorChanged();
}

void TLabel::AdjustSize() {
  if (!autoSize_ || !Widget()) return;
  sizePending_ = true;
  // Measuring the text is the dearest part of making a label, and a label is made with its
  // font and caption set one after the other: one not on screen measures once, when its size
  // is first read or it shows. An aligned one moves its neighbours, so it measures at once.
  if (Widget()->isVisible() || Align() != alNone) SettleSize();
}

void TLabel::SettleSize() {
  sizePending_ = false;
  auto* label = static_cast<QLabel*>(Widget());
  if (!autoSize_ || !label) return;
  // One not yet placed has no font on its widget yet (it takes its parent's when placed).
  const QFontMetrics metrics(label->parentWidget() ? label->font() : ToQFont(*Font()));
  const QString shown = ToQ(showAccel_ ? StripAccelerator(text_) : text_);
  if (wordWrap_) {
    const QRect r =
        metrics.boundingRect(QRect(0, 0, std::max(Width(), 1), 100000), Qt::TextWordWrap, shown);
    SetBounds(Left(), Top(), Width(), r.height());
    return;
  }
  int width = 0;
  const QStringList lines = shown.split('\n');
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  SetBounds(Left(), Top(), width, metrics.height() * static_cast<int>(lines.size()));
}

void TLabel::SetBounds(int left, int top, int width, int height) {
  // A size given outright replaces the one still to be measured, as it replaces a measured one.
  if (!movingOnly_) sizePending_ = false;
  TControl::SetBounds(left, top, width, height);
}

void TLabel::ShowingChanged() {
  SettlePendingSize();
  TControl::ShowingChanged();
}

void TLabel::SetAutoSize(bool value) {
  SettlePendingSize();  // a size put off belongs to the old setting
  autoSize_ = value;
  AdjustSize();
}

void TLabel::SetAlignment(TAlignment value) {
  alignment_ = value;
  SetLayout(layout_);
}

void TLabel::SetLayout(TTextLayout value) {
  layout_ = value;
  auto* label = static_cast<QLabel*>(Widget());
  if (!label) return;
  Qt::Alignment h = alignment_ == taCenter         ? Qt::AlignHCenter
                    : alignment_ == taRightJustify ? Qt::AlignRight
                                                   : Qt::AlignLeft;
  Qt::Alignment v = layout_ == tlCenter   ? Qt::AlignVCenter
                    : layout_ == tlBottom ? Qt::AlignBottom
                                          : Qt::AlignTop;
  label->setAlignment(h | v);
}

void TLabel::SetWordWrap(bool value) {
  SettlePendingSize();  // wrapping keeps the width the text had
  wordWrap_ = value;
  if (auto* label = static_cast<QLabel*>(Widget())) label->setWordWrap(value);
  AdjustSize();
}

void TLabel::SetTransparent(bool value) {
  transparent_ = value;
  ColorChanged();
}

void TLabel::SetShowAccelChar(bool value) {
  showAccel_ = value;
  TextChanged();
}
