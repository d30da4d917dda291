// TEdit: a one-line text box whose change event follows the user only.
#include <QLineEdit>

#include "platform/GbkText.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/LineSelection.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TextPositions.h"

using namespace zgui;

namespace {
QLineEdit* LineOf(const TEdit* edit) { return static_cast<QLineEdit*>(edit->Widget()); }
}  // namespace

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  auto* peer = new Peer<QLineEdit>(this);
  peer->GenericClick = true;
  AttachWidget(peer);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
  // textEdited comes from the user's typing, pasting and deleting, never from setText.
  QObject::connect(
      peer, &QLineEdit::textEdited, peer, [peer, link = peer->Link()](const QString& text) {
        auto* edit = static_cast<TEdit*>(Linked(link));  // the peer lives while its control does
        if (!edit) return;
        if (edit->MaxLength() > 0 &&
            ByteOffsetOf(text, static_cast<int>(text.size())) > edit->MaxLength()) {
          const int cursor = peer->cursorPosition();
          peer->setText(LeftBytes(text, edit->MaxLength()));
          peer->setCursorPosition(std::min<int>(cursor, static_cast<int>(peer->text().size())));
        }
        RunHandler(edit, [edit] { edit->Change(); });
      });
}

std::string TEdit::GetText() const {
  const QLineEdit* line = LineOf(this);
  return line ? FromQ(line->text()) : std::string();
}

void TEdit::SetText(const std::string& value) {
  text_ = value;
  if (QLineEdit* line = LineOf(this)) {
    QString q = ToQ(value);
    if (maxLength_ > 0) q = LeftBytes(q, maxLength_);
    if (line->text() != q) {
      line->setText(q);
      line->setCursorPosition(0);  // text set by the program shows from its start
    }
  }
}

void TEdit::SetMaxLength(int value) {
  maxLength_ = std::max(value, 0);
  if (QLineEdit* line = LineOf(this); line && maxLength_ > 0) {
    const QString cut = LeftBytes(line->text(), maxLength_);
    if (cut != line->text()) line->setText(cut);
  }
}

bool TEdit::ReadOnly() const { return LineOf(this) && LineOf(this)->isReadOnly(); }
void TEdit::SetReadOnly(bool value) {
  if (QLineEdit* line = LineOf(this)) line->setReadOnly(value);
}

void TEdit::SetPasswordChar(char value) {
  if (QLineEdit* line = LineOf(this))
    line->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
}

void TEdit::SelectAll() {
  if (QLineEdit* line = LineOf(this)) line->selectAll();
}

int TEdit::SelStart() const { return LineSelStart(LineOf(this)); }
int TEdit::SelLength() const { return LineSelLength(LineOf(this)); }
void TEdit::SetSelStart(int value) { SetLineSelStart(LineOf(this), value); }
void TEdit::SetSelLength(int value) { SetLineSelLength(LineOf(this), value); }
std::string TEdit::SelText() const { return LineSelText(LineOf(this)); }

void TEdit::SetAlignment(TAlignment value) {
  if (QLineEdit* line = LineOf(this)) {
    const Qt::Alignment h = value == taRightJustify ? Qt::AlignRight
                            : value == taCenter     ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
    line->setAlignment(h | Qt::AlignVCenter);
  }
}

void TEdit::SetBorderInset(int pixels) {
  if (QLineEdit* line = LineOf(this)) {
    pixels = std::max(pixels, 0);
    line->setFrame(pixels == 0);
    line->setTextMargins(pixels, pixels, pixels, pixels);
    line->update();
  }
}

void TEdit::CopyToClipboard() {
  const std::string text = SelText();
  if (!text.empty()) Clipboard()->SetAsText(text);
}

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

bool TEdit::KeyPress(char& key) {
  if (CharCase == ecUpperCase && key >= 'a' && key <= 'z') key = static_cast<char>(key - 32);
  if (CharCase == ecLowerCase && key >= 'A' && key <= 'Z') key = static_cast<char>(key + 32);
  return TWinControl::KeyPress(key);
}

// ---------------------------------------------------------------------------------------------

namespace zgui {

int LineSelStart(const QLineEdit* line) {
  if (!line) return 0;
  const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
  return ByteOffsetOf(line->text(), start);
}

int LineSelLength(const QLineEdit* line) {
  if (!line || !line->hasSelectedText()) return 0;
  return static_cast<int>(FromQ(line->selectedText()).size());
}

void SetLineSelStart(QLineEdit* line, int value) {
  if (!line) return;
  line->deselect();
  line->setCursorPosition(IndexOfByteOffset(line->text(), value));
}

void SetLineSelLength(QLineEdit* line, int value) {
  if (!line) return;
  const QString text = line->text();
  const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
  const int startByte = ByteOffsetOf(text, start);
  const int end = IndexOfByteOffset(text, startByte + std::max(value, 0));
  line->setSelection(start, end - start);
}

std::string LineSelText(const QLineEdit* line) {
  return line ? FromQ(line->selectedText()) : std::string();
}

}  // namespace zgui
