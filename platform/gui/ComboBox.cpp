// TComboBox and TListBox: item lists whose change events follow the user only.
#include <QAbstractItemView>
#include <algorithm>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "platform/GbkText.h"
#include "platform/gui/LineSelection.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TextPositions.h"

using namespace zgui;

namespace {

class ComboPeer : public Peer<QComboBox> {
 public:
  explicit ComboPeer(TComboBox* box) : Peer<QComboBox>(box) { GenericClick = false; }
  void showPopup() override {
    auto* box = static_cast<TComboBox*>(Control());
    if (box && !box->AllowDropDown()) return;
    if (box && box->OnDropDown) RunHandler(box, [box] { box->OnDropDown(box); });
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (auto* box = static_cast<TComboBox*>(Control()); box && box->OnCloseUp)
      RunHandler(box, [box] { box->OnCloseUp(box); });
  }

 protected:
  // An editable box's keys arrive here: from the keyboard, because its edit part hands the
  // focus to the box, or from EditRelay when they were sent to the edit part. The control sees
  // each key once; the toolkit's box then hands it to the edit part directly.
  void keyPressEvent(QKeyEvent* e) override {
    TControl* c = Input();
    if (!lineEdit() || !c) {
      Peer<QComboBox>::keyPressEvent(e);
      return;
    }
    ForwardKeyPress(c, e, [this](QKeyEvent* ev) { QComboBox::keyPressEvent(ev); });
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    TControl* c = Input();
    if (!lineEdit() || !c) {
      Peer<QComboBox>::keyReleaseEvent(e);
      return;
    }
    if (!ForwardKeyRelease(c, e)) QComboBox::keyReleaseEvent(e);
  }
};

// The edit part of an editable combo box takes the double clicks meant for the box, and hands
// keys sent to it to the box, so that they take the keyboard's way.
class EditRelay : public QObject {
 public:
  explicit EditRelay(ComboPeer* peer) : QObject(peer), peer_(peer), link_(peer->Link()) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    TControl* c = Linked(link_);
    if (!c) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick) {
      RunHandler(c, [c] { c->DblClick(); });
    } else if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
      // A key the box leaves unhandled has gone on to its parents already.
      QApplication::sendEvent(peer_, event);
      event->accept();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  ComboPeer* peer_;
  ControlLink link_;
};

QComboBox* BoxOf(const TComboBox* box) { return static_cast<QComboBox*>(box->Widget()); }

}  // namespace

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  auto* peer = new ComboPeer(this);
  AttachWidget(peer);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
  // A pick from the list (mouse or keys) is the user's.
  RelayToControl(peer, &QComboBox::activated, &TComboBox::PeerUserPicked);
  SetStyle(csDropDown);
}

TComboBox::~TComboBox() = default;

void TComboBox::SetStyle(TComboBoxStyle value) {
  style_ = value;
  QComboBox* box = BoxOf(this);
  const bool editable = value == csDropDown || value == csSimple;
  if (box->isEditable() == editable && (!editable || box->lineEdit())) return;
  const std::string text = GetText();
  box->setEditable(editable);
  if (editable) {
    QLineEdit* line = box->lineEdit();
    line->installEventFilter(new EditRelay(static_cast<ComboPeer*>(box)));
    auto* peer = static_cast<ComboPeer*>(box);
    QObject::connect(line, &QLineEdit::textEdited, peer, [link = peer->Link()](const QString& t) {
      if (auto* c = static_cast<TComboBox*>(Linked(link)))
        RunHandler(c, [c, t] { c->PeerUserEdited(FromQ(t)); });
    });
    // Connected after the toolkit's own handler, which may activate the typed item first.
    QObject::connect(line, &QLineEdit::editingFinished, peer, [link = peer->Link()] {
      if (auto* c = static_cast<TComboBox*>(Linked(link))) c->typedReported_ = false;
    });
    // The toolkit would add typed texts to the list on Enter; the list is the program's.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
  }
  SetText(text);
}

void TComboBox::RebuildPeer() {
  QComboBox* box = BoxOf(this);
  const std::string text = GetText();
  const int index = box->currentIndex();
  updating_ = true;
  box->blockSignals(true);
  box->clear();
  QStringList list;
  for (const std::string& item : items_.Items()) list << ToQ(item);
  box->addItems(list);
  box->blockSignals(false);
  updating_ = false;
  if (box->isEditable()) {
    const int match = items_.IndexOf(text);
    box->setCurrentIndex(match >= 0 ? match : -1);
    box->setEditText(ToQ(text));
  } else {
    box->setCurrentIndex(index < box->count() ? index : -1);
  }
}

void TComboBox::ItemsChanged() {
  if (sorted_) items_.Sort();
  RebuildPeer();
}

int TComboBox::AddItem(const std::string& item) {
  const int index = items_.Add(item);
  ItemsChanged();
  return index;
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  items_.Clear();
  for (const auto& s : items) items_.Add(s);
  ItemsChanged();
}

void TComboBox::ClearItems() {
  items_.Clear();
  RebuildPeer();
}

void TComboBox::SetSorted(bool value) {
  sorted_ = value;
  items_.Sorted = value;
  if (value) ItemsChanged();
}

int TComboBox::ItemIndex() const {
  QComboBox* box = BoxOf(this);
  const int index = box->currentIndex();
  // An edited text that no longer matches its item selects nothing.
  if (index >= 0 && box->isEditable() && box->currentText() != box->itemText(index)) return -1;
  return index;
}

void TComboBox::SetItemIndex(int value) {
  QComboBox* box = BoxOf(this);
  if (value < 0 || value >= box->count()) value = -1;
  box->setCurrentIndex(value);
  if (value < 0 && box->isEditable()) box->setEditText(QString());
  if (value >= 0 && box->isEditable()) box->setEditText(box->itemText(value));
}

std::string TComboBox::GetText() const {
  QComboBox* box = BoxOf(this);
  if (!box) return std::string();
  return FromQ(box->currentText());
}

void TComboBox::SetText(const std::string& value) {
  QComboBox* box = BoxOf(this);
  const int match = items_.IndexOf(value);
  if (box->isEditable()) {
    box->setCurrentIndex(match);
    QString text = ToQ(value);
    if (maxLength_ > 0) text = LeftBytes(text, maxLength_);
    box->setEditText(text);
  } else {
    box->setCurrentIndex(match);
  }
}

void TComboBox::SetMaxLength(int value) {
  maxLength_ = std::max(value, 0);
  if (maxLength_ > 0) SetText(GetText());
}

void TComboBox::SetDropDownWidth(int value) {
  BoxOf(this)->view()->setMinimumWidth(std::max(value, 0));
}

bool TComboBox::DroppedDown() const {
  return BoxOf(this)->view() && BoxOf(this)->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool value) {
  if (value)
    BoxOf(this)->showPopup();
  else
    BoxOf(this)->hidePopup();
}

void TComboBox::SelectAll() {
  if (QLineEdit* line = BoxOf(this)->lineEdit()) line->selectAll();
}

int TComboBox::SelStart() const { return LineSelStart(BoxOf(this)->lineEdit()); }
int TComboBox::SelLength() const { return LineSelLength(BoxOf(this)->lineEdit()); }
void TComboBox::SetSelStart(int value) { SetLineSelStart(BoxOf(this)->lineEdit(), value); }
void TComboBox::SetSelLength(int value) { SetLineSelLength(BoxOf(this)->lineEdit(), value); }
std::string TComboBox::SelText() const { return LineSelText(BoxOf(this)->lineEdit()); }

void TComboBox::SetEditReadOnly(bool value) {
  if (QLineEdit* line = BoxOf(this)->lineEdit()) line->setReadOnly(value);
}

int TComboBox::TopIndex() const {
  QAbstractItemView* view = BoxOf(this)->view();
  if (!view || !view->model() || view->model()->rowCount() == 0) return 0;
  const QModelIndex top = view->indexAt(QPoint(1, 1));
  return top.isValid() ? top.row() : 0;
}

void TComboBox::SetTopIndex(int value) {
  QAbstractItemView* view = BoxOf(this)->view();
  if (!view || !view->model()) return;
  const int rows = view->model()->rowCount();
  if (rows == 0) return;
  value = std::clamp(value, 0, rows - 1);
  view->scrollTo(view->model()->index(value, 0), QAbstractItemView::PositionAtTop);
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TComboBox::PeerUserEdited(const std::string& text) {
  if (updating_) return;
  QLineEdit* line = BoxOf(this)->lineEdit();
  if (maxLength_ > 0 && line && static_cast<int>(text.size()) > maxLength_) {
    // The limit counts bytes, as the texts are kept.
    const int cursor = line->cursorPosition();
    line->setText(LeftBytes(line->text(), maxLength_));
    line->setCursorPosition(std::min<int>(cursor, static_cast<int>(line->text().size())));
  }
  typedReported_ = true;
  Change();
}

void TComboBox::PeerUserPicked(int index) {
  if (updating_ || index < 0) return;
  QComboBox* box = BoxOf(this);
  if (typedReported_ && box->lineEdit() && box->itemText(index) == box->lineEdit()->text()) {
    typedReported_ = false;
    return;
  }
  typedReported_ = false;
  if (box->isEditable()) box->setEditText(box->itemText(index));
  Click();
  Select();
}

// ---------------------------------------------------------------------------------------------

namespace {
QListWidget* ListOf(const TListBox* list) { return static_cast<QListWidget*>(list->Widget()); }
}  // namespace

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner) {
  auto* peer = new Peer<QListWidget>(this);
  peer->GenericClick = false;
  AttachWidget(peer);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
  RelayToControl(peer, &QListWidget::currentRowChanged, &TListBox::PeerUserPicked);
}

void TListBox::ItemsChanged() {
  if (sorted_) items_.Sort();
  QListWidget* list = ListOf(this);
  const int row = list->currentRow();
  updating_ = true;
  list->clear();
  for (const std::string& item : items_.Items()) list->addItem(ToQ(item));
  list->setCurrentRow(row < list->count() ? row : -1);
  updating_ = false;
}

int TListBox::AddItem(const std::string& item) {
  const int index = items_.Add(item);
  ItemsChanged();
  return index;
}

void TListBox::ClearItems() {
  items_.Clear();
  ItemsChanged();
}

int TListBox::ItemIndex() const { return ListOf(this)->currentRow(); }

void TListBox::SetItemIndex(int value) {
  updating_ = true;
  ListOf(this)->setCurrentRow(value >= 0 && value < items_.Count() ? value : -1);
  updating_ = false;
}

void TListBox::SetSorted(bool value) {
  sorted_ = value;
  items_.Sorted = value;
  if (value) ItemsChanged();
}

void TListBox::PeerUserPicked(int index) {
  if (updating_ || index < 0) return;
  Click();
}
