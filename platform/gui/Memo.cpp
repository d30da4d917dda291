// TMemo and TRichEdit: multi-line plain text with CR LF line breaks on the system's side.
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TextPositions.h"

using namespace zgui;

namespace {
QPlainTextEdit* EditOf(const TMemo* memo) { return static_cast<QPlainTextEdit*>(memo->Widget()); }
}  // namespace

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner) {
  auto* peer = new Peer<QPlainTextEdit>(this);
  peer->GenericClick = false;
  AttachWidget(peer);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 185, 89);
  SetWordWrap(true);
  SetScrollBars(ssNone);
  RelayToControl(peer, &QPlainTextEdit::textChanged, &TMemo::PeerTextChanged);
}

std::string TMemo::GetText() const { return FromToolkitLines(EditOf(this)->toPlainText()); }

void TMemo::SetText(const std::string& value) {
  settingText_ = true;
  EditOf(this)->setPlainText(ToToolkitLines(value));
  settingText_ = false;
}

void TMemo::PeerTextChanged() {
  if (!settingText_) Change();
}

void TMemo::Change() {
  if (OnChange) OnChange(this);
}

TStringList TMemo::Lines() const {
  TStringList lines;
  lines.SetText(GetText());
  return lines;
}

void TMemo::SetLines(const TStringList& lines) {
  std::string text = lines.Text();
  // The list ends every line with CR LF; the box holds no break after the last one.
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
    text.resize(text.size() - 2);
  SetText(text);
}

int TMemo::LineCount() const {
  const QString text = EditOf(this)->toPlainText();
  if (text.isEmpty()) return 0;
  return static_cast<int>(text.count('\n')) + (text.endsWith('\n') ? 0 : 1);
}

std::string TMemo::Line(int index) const {
  const QStringList lines = EditOf(this)->toPlainText().split('\n');
  if (index < 0 || index >= LineCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FromQ(lines.at(index));
}

// The text is a list of lines in which a final break only ends the last line: the new line
// follows that break, or a break of its own. A box whose lines all end in a break keeps it
// so; an empty last line needs its break to be a line at all.
void TMemo::AddLine(const std::string& line) {
  std::string text = GetText();
  const bool endsInBreak = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
  if (!text.empty() && !endsInBreak) text += "\r\n";
  text += line;
  if (endsInBreak || line.empty()) text += "\r\n";
  SetText(text);
}

void TMemo::SetReadOnly(bool value) {
  readOnly_ = value;
  EditOf(this)->setReadOnly(value);
}

void TMemo::SetWordWrap(bool value) {
  wordWrap_ = value;
  EditOf(this)->setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle value) {
  scrollBars_ = value;
  QPlainTextEdit* edit = EditOf(this);
  const bool h = value == ssHorizontal || value == ssBoth;
  const bool v = value == ssVertical || value == ssBoth;
  edit->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TMemo::SelectAll() { EditOf(this)->selectAll(); }

int TMemo::SelStart() const {
  const QTextCursor cursor = EditOf(this)->textCursor();
  const std::string before =
      FromToolkitLines(EditOf(this)->toPlainText().left(cursor.selectionStart()));
  return static_cast<int>(before.size());
}

int TMemo::SelLength() const { return static_cast<int>(SelText().size()); }

void TMemo::SetSelStart(int value) {
  QPlainTextEdit* edit = EditOf(this);
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(IndexAfterBytes(edit->toPlainText(), 0, value));
  edit->setTextCursor(cursor);
}

void TMemo::SetSelLength(int value) {
  QPlainTextEdit* edit = EditOf(this);
  QTextCursor cursor = edit->textCursor();
  const int start = cursor.selectionStart();
  cursor.setPosition(start);
  cursor.setPosition(IndexAfterBytes(edit->toPlainText(), start, value), QTextCursor::KeepAnchor);
  edit->setTextCursor(cursor);
}

std::string TMemo::SelText() const {
  return FromToolkitLines(EditOf(this)->textCursor().selectedText());
}

void TMemo::CopyToClipboard() {
  const std::string text = SelText();
  if (!text.empty()) Clipboard()->SetAsText(text);
}

void TMemo::CutToClipboard() {
  CopyToClipboard();
  EditOf(this)->textCursor().removeSelectedText();
}

void TMemo::PasteFromClipboard() {
  const std::string text = Clipboard()->AsText();
  EditOf(this)->textCursor().insertText(ToToolkitLines(text));
}
