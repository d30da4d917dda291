// Dialogs answered from the test's script.
#include "tests/support/GuiTest.h"

namespace {
const char* KindName(ShownDialog::Kind kind) {
  switch (kind) {
    case ShownDialog::MessageBox:
      return "message box";
    case ShownDialog::Input:
      return "input box";
    case ShownDialog::Save:
      return "save dialog";
    case ShownDialog::Open:
      return "open dialog";
    case ShownDialog::Modal:
      return "modal window";
    case ShownDialog::Popup:
      return "pop-up menu";
  }
  return "dialog";
}
}  // namespace

void ScriptedDialogs::AnswerMessage(int id) {
  answers_.push_back(Answer{ShownDialog::MessageBox, id, {}, {}, nullptr, {}});
}
void ScriptedDialogs::AnswerInput(const std::string& text) {
  answers_.push_back(Answer{ShownDialog::Input, IDOK, text, {}, nullptr, {}});
}
void ScriptedDialogs::CancelInput() {
  answers_.push_back(Answer{ShownDialog::Input, IDCANCEL, std::nullopt, {}, nullptr, {}});
}
void ScriptedDialogs::AnswerSave(const std::string& fileName) {
  answers_.push_back(Answer{ShownDialog::Save, IDOK, fileName, {}, nullptr, {}});
}
void ScriptedDialogs::CancelSave() {
  answers_.push_back(Answer{ShownDialog::Save, IDCANCEL, std::nullopt, {}, nullptr, {}});
}
void ScriptedDialogs::AnswerOpen(const std::vector<std::string>& files) {
  std::string joined;  // one path a line
  for (const std::string& file : files) joined += file + "\n";
  answers_.push_back(Answer{ShownDialog::Open, IDOK, joined, {}, nullptr, {}});
}
void ScriptedDialogs::CancelOpen() {
  answers_.push_back(Answer{ShownDialog::Open, IDCANCEL, std::nullopt, {}, nullptr, {}});
}
void ScriptedDialogs::AnswerModal(std::function<void(TForm&)> whileShown, TModalResult result) {
  answers_.push_back(Answer{ShownDialog::Modal, result, {}, std::move(whileShown), nullptr, {}});
}
void ScriptedDialogs::AnswerModal(TModalResult result) {
  answers_.push_back(Answer{ShownDialog::Modal, result, {}, {}, nullptr, {}});
}
void ScriptedDialogs::AnswerPopup(TMenuItem* item) {
  answers_.push_back(Answer{ShownDialog::Popup, 0, {}, {}, item, {}});
}

void ScriptedDialogs::AnswerPopupWith(std::function<TMenuItem*(TPopupMenu&)> choose) {
  answers_.push_back(Answer{ShownDialog::Popup, 0, {}, {}, nullptr, std::move(choose)});
}

std::vector<std::string> ScriptedDialogs::Messages() const {
  std::vector<std::string> out;
  for (const auto& s : shown_)
    if (s.kind == ShownDialog::MessageBox) out.push_back(s.Text);
  return out;
}

void ScriptedDialogs::Reset() {
  answers_.clear();
  shown_.clear();
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::Next(ShownDialog::Kind kind,
                                                             const ShownDialog& shown) {
  shown_.push_back(shown);
  if (answers_.empty()) {
    ADD_FAILURE() << "unscripted " << KindName(kind) << " \"" << U8(shown.Caption)
                  << "\": " << U8(shown.Text);
    return std::nullopt;
  }
  Answer answer = answers_.front();
  if (answer.kind != kind) {
    ADD_FAILURE() << "a " << KindName(kind) << " \"" << U8(shown.Caption) << "\" ("
                  << U8(shown.Text) << ") showed where the script expected a "
                  << KindName(answer.kind);
    return std::nullopt;
  }
  answers_.erase(answers_.begin());
  return answer;
}

int ScriptedDialogs::MessageBox(const TMessageBoxRequest& request) {
  const auto answer =
      Next(ShownDialog::MessageBox,
           ShownDialog{ShownDialog::MessageBox, request.Caption, request.Text, request.Flags});
  return answer ? answer->id : IDCANCEL;
}

bool ScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                 std::string& value) {
  const auto answer = Next(ShownDialog::Input, ShownDialog{ShownDialog::Input, caption, prompt, 0});
  if (!answer || !answer->text) return false;
  value = *answer->text;
  return true;
}

bool ScriptedDialogs::SaveDialog(TSaveDialog& dialog) {
  const auto answer =
      Next(ShownDialog::Save, ShownDialog{ShownDialog::Save, dialog.Title, dialog.FileName, 0});
  if (!answer || !answer->text) return false;
  dialog.FileName = *answer->text;
  return true;
}

bool ScriptedDialogs::OpenDialog(TOpenDialog& dialog) {
  const auto answer =
      Next(ShownDialog::Open, ShownDialog{ShownDialog::Open, dialog.Title, std::string(), 0});
  if (!answer || !answer->text) return false;
  dialog.Files.clear();
  for (size_t at = 0, end; (end = answer->text->find('\n', at)) != std::string::npos; at = end + 1)
    dialog.Files.push_back(answer->text->substr(at, end - at));
  return true;
}

void ScriptedDialogs::WaitModal(TForm& form) {
  const auto answer =
      Next(ShownDialog::Modal, ShownDialog{ShownDialog::Modal, form.Caption(), form.Name(), 0});
  if (answer && answer->action) answer->action(form);
  if (form.ModalResult() == mrNone && form.Visible())
    form.SetModalResult(answer ? answer->id : mrCancel);
}

TMenuItem* ScriptedDialogs::PopupMenu(TPopupMenu& menu, int x, int y) {
  const auto answer =
      Next(ShownDialog::Popup, ShownDialog{ShownDialog::Popup, "", menu.Name(), 0, x, y});
  if (answer && answer->choose) return answer->choose(menu);
  return answer ? answer->item : nullptr;
}

ScriptedDialogs& Dialogs() {
  static ScriptedDialogs dialogs;
  return dialogs;
}
