// TStatusBar (painted panels) and TProgressBar.
#include <QFontMetrics>
#include <QProgressBar>
#include <QWidget>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {

class StatusPeer : public Peer<QWidget> {
 public:
  explicit StatusPeer(TStatusBar* bar) : Peer<QWidget>(bar) {}
};

}  // namespace

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) {
  auto* peer = new StatusPeer(this);
  AttachWidget(peer);
  SetColor(clBtnFace);
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

int TStatusBar::AddPanel(int width, const std::string& text) {
  panels_.push_back(Panel{width, text});
  Invalidate();
  return static_cast<int>(panels_.size()) - 1;
}

void TStatusBar::ClearPanels() {
  panels_.clear();
  Invalidate();
}

static void CheckPanel(int index, size_t count) {
  if (index < 0 || static_cast<size_t>(index) >= count)
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::string TStatusBar::PanelText(int index) const {
  CheckPanel(index, panels_.size());
  return panels_[static_cast<size_t>(index)].Text;
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  CheckPanel(index, panels_.size());
  panels_[static_cast<size_t>(index)].Text = text;
  Invalidate();
}

int TStatusBar::PanelWidth(int index) const {
  CheckPanel(index, panels_.size());
  return panels_[static_cast<size_t>(index)].Width;
}

void TStatusBar::SetPanelWidth(int index, int width) {
  CheckPanel(index, panels_.size());
  panels_[static_cast<size_t>(index)].Width = std::max(width, 0);
  Invalidate();
}

void TStatusBar::SetSimplePanel(bool value) {
  simplePanel_ = value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& value) {
  simpleText_ = value;
  Invalidate();
}

void TStatusBar::SetSizeGrip(bool value) {
  sizeGrip_ = value;
  Invalidate();
}

void TStatusBar::ApplyFont() {
  TWinControl::ApplyFont();
  Invalidate();
}

bool TStatusBar::PaintPeer(QPainter* painter) {
  painter->fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
  painter->setFont(Widget()->font());
  const QColor shadow = ToQColor(clBtnShadow);
  const QColor light = ToQColor(clBtnHighlight);
  WidgetLines lines(*painter, Width(), Height());
  auto drawPanel = [&](QRect r, const std::string& text) {
    lines.Frame(r, shadow, light);
    painter->setPen(ToQColor(Font()->Color()));
    const QRect inner = r.adjusted(3, 1, -2, -1);
    const QFontMetrics metrics(painter->font());
    painter->drawText(inner, Qt::AlignLeft | Qt::AlignVCenter,
                      metrics.elidedText(ToQ(text), Qt::ElideRight, inner.width()));
  };
  const int top = 2;
  const int height = std::max(Height() - 2, 1);
  if (simplePanel_ || panels_.empty()) {
    drawPanel(QRect(0, top, Width(), height), simplePanel_ ? simpleText_ : std::string());
    return true;
  }
  int x = 0;
  for (size_t i = 0; i < panels_.size(); ++i) {
    const bool last = i + 1 == panels_.size();
    const int w = last ? std::max(Width() - x, 0) : panels_[i].Width;
    drawPanel(QRect(x, top, std::max(w - 2, 1), height), panels_[i].Text);
    x += w;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  auto* peer = new Peer<QProgressBar>(this);
  peer->setTextVisible(false);
  AttachWidget(peer);
  SetBounds(0, 0, 150, 16);
  Apply();
}

void TProgressBar::Apply() {
  auto* bar = static_cast<QProgressBar*>(Widget());
  bar->setRange(min_, std::max(min_, max_));
  bar->setValue(position_);
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
  orientation_ = value;
  static_cast<QProgressBar*>(Widget())->setOrientation(value == pbVertical ? Qt::Vertical
                                                                           : Qt::Horizontal);
}

void TProgressBar::SetMin(int value) {
  min_ = value;
  if (max_ < min_) max_ = min_;
  position_ = std::clamp(position_, min_, max_);
  Apply();
}

void TProgressBar::SetMax(int value) {
  max_ = value;
  if (min_ > max_) min_ = max_;
  position_ = std::clamp(position_, min_, max_);
  Apply();
}

void TProgressBar::SetPosition(int value) {
  position_ = std::clamp(value, min_, max_);
  Apply();
}
