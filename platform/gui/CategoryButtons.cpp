// The command panel: a scrollable column of category headers and their buttons.
#include "platform/gui/CategoryButtons.h"

#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "platform/gui/ActnList.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

// ---------------------------------------------------------------------------------------------
// Items

TButtonItem::TButtonItem(TButtonCategory* category) : category_(category) {}

TButtonItem::~TButtonItem() = default;

std::string TButtonItem::Caption() const {
  if (caption_.empty())
    if (auto* action = dynamic_cast<TAction*>(Action())) return action->Caption();
  return caption_;
}

void TButtonItem::SetCaption(const std::string& value) {
  caption_ = value;
  if (category_ && category_->panel_) category_->panel_->ItemChanged(this);
}

std::string TButtonItem::Hint() const {
  if (auto* action = dynamic_cast<TAction*>(Action())) return action->Hint();
  return hint_;
}

TBasicAction* TButtonItem::Action() const { return link_ ? link_->Action() : nullptr; }

void TButtonItem::SetAction(TBasicAction* action) {
  if (!link_) link_ = std::make_unique<TActionLink>([this](TBasicAction* a) { ActionChange(a); });
  link_->SetAction(action);
}

void TButtonItem::ActionChange(TBasicAction* action) {
  (void)action;
  // Visibility changes the column; anything else only this button.
  if (category_ && category_->panel_) category_->panel_->Rebuild();
}

bool TButtonItem::Visible() const {
  auto* action = dynamic_cast<TAction*>(Action());
  return !action || action->Visible();
}

bool TButtonItem::Enabled() const {
  auto* action = dynamic_cast<TAction*>(Action());
  return !action || action->Enabled();
}

int TButtonItem::Index() const {
  if (!category_) return -1;
  const auto& items = category_->items_;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TButtonItem::Click() {
  if (TBasicAction* action = Action()) {
    action->Execute();
    return;
  }
  if (OnClick) OnClick(category_ ? static_cast<TComponent*>(category_->panel_) : nullptr);
}

// ---------------------------------------------------------------------------------------------
// Categories

TButtonCategory::TButtonCategory(TCategoryButtons* panel, const std::string& caption)
    : panel_(panel), caption_(caption) {}

TButtonCategory::~TButtonCategory() = default;

void TButtonCategory::SetCaption(const std::string& value) {
  caption_ = value;
  if (panel_) panel_->CategoryChanged(this);
}

void TButtonCategory::SetCollapsed(bool value) {
  if (value == collapsed_) return;
  collapsed_ = value;
  if (panel_) panel_->CategoryChanged(this);
}

TButtonItem* TButtonCategory::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)].get();
}

TButtonItem* TButtonCategory::Add(TBasicAction* action) {
  items_.push_back(std::make_unique<TButtonItem>(this));
  TButtonItem* item = items_.back().get();
  if (action) item->SetAction(action);
  if (panel_) panel_->Rebuild();
  return item;
}

void TButtonCategory::Delete(int index) {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  items_.erase(items_.begin() + index);
  if (panel_) panel_->Rebuild();
}

int TButtonCategory::Index() const {
  if (!panel_) return -1;
  for (int i = 0; i < panel_->CategoryCount(); ++i)
    if (panel_->Categories(i) == this) return i;
  return -1;
}

// ---------------------------------------------------------------------------------------------
// Panel

namespace {

class PanelPeer : public Peer<QScrollArea> {
 public:
  explicit PanelPeer(TCategoryButtons* panel) : Peer<QScrollArea>(panel) {
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    content = new QWidget();
    // One style sheet for every button of the column, set once: a sheet per button costs a
    // style resolution each time the column is built.
    content->setStyleSheet(
        "QPushButton { text-align: left; padding-left: 4px; border: none; }"
        "QPushButton:hover { background: palette(highlight); color: palette(highlighted-text); }");
    setWidget(content);
  }
  QWidget* content;

 protected:
  void showEvent(QShowEvent* e) override {
    QScrollArea::showEvent(e);
    if (auto* panel = static_cast<TCategoryButtons*>(Control())) panel->Rebuild();
  }
  void resizeEvent(QResizeEvent* e) override {
    QScrollArea::resizeEvent(e);
    if (auto* panel = static_cast<TCategoryButtons*>(Control())) panel->Rebuild();
  }
};

constexpr int kIndent = 10;

}  // namespace

struct TCategoryButtons::Impl {
  PanelPeer* peer = nullptr;
  std::vector<QPushButton*> buttons;  // the column as last laid out
  bool rebuilding = false;
};

TCategoryButtons::TCategoryButtons(TComponent* AOwner)
    : TWinControl(AOwner), impl_(std::make_unique<Impl>()) {
  impl_->peer = new PanelPeer(this);
  impl_->peer->GenericClick = false;
  AttachWidget(impl_->peer);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 140, 200);
}

TCategoryButtons::~TCategoryButtons() {
  Destroying();
  // The buttons' handlers point at items; they go before the items do.
  for (QPushButton* b : impl_->buttons) delete b;
  impl_->buttons.clear();
  categories_.clear();
}

TButtonCategory* TCategoryButtons::Categories(int index) const {
  if (index < 0 || index >= CategoryCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return categories_[static_cast<size_t>(index)].get();
}

TButtonCategory* TCategoryButtons::AddCategory(const std::string& caption, bool collapsed) {
  categories_.push_back(std::make_unique<TButtonCategory>(this, caption));
  TButtonCategory* category = categories_.back().get();
  category->collapsed_ = collapsed;
  Rebuild();
  return category;
}

void TCategoryButtons::DeleteCategory(int index) {
  if (index < 0 || index >= CategoryCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  categories_.erase(categories_.begin() + index);
  Rebuild();
}

TButtonCategory* TCategoryButtons::FindCategory(const std::string& caption) const {
  for (const auto& c : categories_)
    if (c->Caption() == caption) return c.get();
  return nullptr;
}

TButtonItem* TCategoryButtons::FindItem(const std::string& caption) const {
  for (const auto& c : categories_)
    for (const auto& item : c->items_)
      if (item->Caption() == caption) return item.get();
  return nullptr;
}

void TCategoryButtons::SetButtonHeight(int value) {
  buttonHeight_ = std::max(value, 8);
  Rebuild();
}

void TCategoryButtons::ClickItem(TButtonItem* item) {
  if (!item || !item->Enabled()) return;
  item->Click();
  if (OnButtonClicked) OnButtonClicked(this, item);
}

void TCategoryButtons::ClickCategory(TButtonCategory* category) {
  if (!category) return;
  category->SetCollapsed(!category->Collapsed());
  if (OnCategoryCollapse) OnCategoryCollapse(this, category);
}

void TCategoryButtons::ItemChanged(TButtonItem* item) {
  (void)item;
  Rebuild();
}

void TCategoryButtons::CategoryChanged(TButtonCategory* category) {
  (void)category;
  Rebuild();
}

void TCategoryButtons::ApplyFont() {
  TWinControl::ApplyFont();
  Rebuild();
}

void TCategoryButtons::ColorChanged() {
  TWinControl::ColorChanged();
  if (impl_ && impl_->peer) {
    QPalette pal = impl_->peer->content->palette();
    pal.setColor(QPalette::Window, ToQColor(Color()));
    impl_->peer->content->setPalette(pal);
    impl_->peer->content->setAutoFillBackground(true);
  }
}

void TCategoryButtons::Rebuild() {
  if (!impl_ || !impl_->peer || IsDestroying() || impl_->rebuilding) return;
  PanelPeer* peer = impl_->peer;
  // A hidden column is built when it is shown (showEvent), not once per item added before.
  if (!peer->isVisible()) return;
  impl_->rebuilding = true;
  // Old buttons may be running their own click right now: let them go later.
  for (QPushButton* b : impl_->buttons) {
    b->hide();
    b->disconnect();
    b->deleteLater();
  }
  impl_->buttons.clear();

  const int width = std::max(peer->viewport()->width(), 1);
  const QFont font = ToQFont(*Font());
  int y = 0;
  auto addButton = [&](const QString& text, int indent) {
    auto* b = new QPushButton(peer->content);
    b->setText(text);
    b->setFont(font);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(indent, y, width - indent, buttonHeight_);
    b->show();
    y += buttonHeight_;
    impl_->buttons.push_back(b);
    return b;
  };
  for (const auto& category : categories_) {
    TButtonCategory* cat = category.get();
    QPushButton* header = addButton(
        QString(QChar(cat->Collapsed() ? 0x25B6 : 0x25BC)) + ' ' + ToQCaption(cat->Caption()), 0);
    QFont bold = font;
    bold.setBold(true);
    header->setFont(bold);
    QObject::connect(header, &QPushButton::clicked, peer,
                     [this, cat] { RunHandler(this, [this, cat] { ClickCategory(cat); }); });
    if (cat->Collapsed()) continue;
    for (const auto& item : cat->items_) {
      TButtonItem* it = item.get();
      if (!it->Visible()) continue;
      QPushButton* b = addButton(ToQCaption(it->Caption()), kIndent);
      b->setEnabled(it->Enabled());
      b->setToolTip(ToQ(it->Hint()));
      QObject::connect(b, &QPushButton::clicked, peer,
                       [this, it] { RunHandler(this, [this, it] { ClickItem(it); }); });
    }
  }
  peer->content->setGeometry(0, 0, width, std::max(y, 1));
  impl_->rebuilding = false;
}
