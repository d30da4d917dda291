// TMemo and TRichEdit: multi-line plain text with CR LF line breaks on the system's side.
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/QtPeer.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TextPositions.h"
#include "platform/gui/Threads.h"

using namespace zgui;

namespace {

QPlainTextEdit* EditOf(const TMemo* memo) { return static_cast<QPlainTextEdit*>(memo->Widget()); }

// The toolkit keeps some hundred bytes and a layout for every paragraph, and walks them all on
// every resize: past this many lines, lines share paragraphs, joined by line separators.
constexpr size_t kMaxParagraphs = 65536;
// A long text is converted and added in pieces of about this many bytes, so the GUI thread
// paints and takes Esc in between and no copy of the whole text is made on the way.
constexpr size_t kPieceBytes = 1 << 20;

// Whether a line ends at `i`, as ToToolkitLines counts them: CR LF (at its LF), a lone CR, a
// lone LF. CR and LF are never part of a GBK character.
bool EndsLine(const std::string& text, size_t i) {
  return text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
}

size_t LineBreaks(const std::string& text) {
  size_t breaks = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (EndsLine(text, i)) ++breaks;
  return breaks;
}

// Where a piece that starts at `from` ends: after the line break that follows kPieceBytes,
// never between the CR and LF of one.
size_t PieceEnd(const std::string& text, size_t from) {
  if (text.size() - from <= kPieceBytes) return text.size();
  for (size_t i = from + kPieceBytes; i < text.size(); ++i)
    if (EndsLine(text, i)) return i + 1;
  return text.size();
}

}  // namespace

struct TMemoText::Document {
  QTextDocument* text = nullptr;  // owned until a memo takes it
};

TMemoText::TMemoText() : document_(std::make_unique<Document>()) {
  auto* text = new QTextDocument;
  // Loading is not an edit to undo; the memo records edits again once the text is in place.
  text->setUndoRedoEnabled(false);
  text->setDocumentLayout(new QPlainTextDocumentLayout(text));
  document_->text = text;
}

TMemoText::~TMemoText() { delete document_->text; }

bool TMemoText::Fill(const std::string& gbk, const TCancellation& cancel) {
  QTextDocument* document = document_->text;
  if (!document) return false;
  const size_t linesPerParagraph = LineBreaks(gbk) / kMaxParagraphs + 1;
  size_t line = 0;
  for (size_t at = 0; at < gbk.size();) {
    if (cancel.Cancelled()) return false;
    const size_t end = PieceEnd(gbk, at);
    QString piece = ToToolkitLines(std::string_view(gbk).substr(at, end - at));
    if (linesPerParagraph > 1) {
      QChar* c = piece.data();
      for (QChar* stop = c + piece.size(); c != stop; ++c)
        if (*c == u'\n' && ++line % linesPerParagraph != 0) *c = QChar::LineSeparator;
    }
    bool added = false;  // not when the application is going
    RunOnGuiThread([&] {
      QTextCursor cursor(document);
      cursor.movePosition(QTextCursor::End);
      cursor.insertText(piece);
      added = true;
    });
    if (!added) return false;
    at = end;
  }
  return !cancel.Cancelled();
}

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

void TMemo::SetText(TMemoText& text) {
  QTextDocument* document = std::exchange(text.document_->text, nullptr);
  if (!document) {
    Clear();
    return;
  }
  QPlainTextEdit* edit = EditOf(this);
  QTextDocument* old = edit->document();
  document->setDefaultFont(old->defaultFont());
  document->setDocumentMargin(old->documentMargin());
  document->setUndoRedoEnabled(old->isUndoRedoEnabled());
  document->setParent(edit);
  // The box's first document belongs to the box and goes with the change; one put in place
  // before is ours to delete.
  const bool ours = old->parent() == edit;
  settingText_ = true;
  edit->setDocument(document);
  settingText_ = false;
  if (ours) delete old;
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
