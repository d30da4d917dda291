// Message boxes, input boxes and the save dialog through the replaceable driver; the toolkit
// driver shows the real ones.
#include "platform/gui/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>

#include "platform/gui/Menus.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {

QWidget* DialogParent() {
  if (Application && Application->ActiveForm() && Application->ActiveForm()->Widget() &&
      Application->ActiveForm()->Widget()->isVisible())
    return Application->ActiveForm()->Widget();
  return nullptr;
}

// The file dialog's list with sizes, folder types and modification dates in the program's
// locale: the toolkit writes them in the desktop's, whatever the program speaks.
class ChineseColumnsModel : public QIdentityProxyModel {
 public:
  // Made with the dialog, after the program's locale is set: the folders' type reads in it.
  explicit ChineseColumnsModel(QObject* parent)
      : QIdentityProxyModel(parent),
        folderType_(QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment()) {}
  QVariant data(const QModelIndex& index, int role) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
      case kSizeColumn:
        if (!files->isDir(source)) return QLocale().formattedDataSize(files->size(source));
        break;
      case kTypeColumn:
        if (files->isDir(source)) return folderType_;
        break;
      case kDateColumn: {
        const QDateTime modified = files->lastModified(source);
        if (modified.isValid()) return QLocale().toString(modified, QLocale::ShortFormat);
        break;
      }
    }
    return QIdentityProxyModel::data(index, role);
  }

 private:
  static constexpr int kSizeColumn = 1;
  static constexpr int kTypeColumn = 2;
  static constexpr int kDateColumn = 3;
  const QString folderType_;
};

class ToolkitDriver : public TDialogDriver {
 public:
  int MessageBox(const TMessageBoxRequest& request) override {
    QMessageBox box(DialogParent());
    box.setWindowTitle(ToQ(request.Caption));
    // Messages are plain text; one may quote what a user typed or a page sent, which is never
    // read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQ(request.Text));
    switch (request.Flags & 0xF0) {
      case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
      case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
      case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
      case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
      default:
        break;
    }
    struct Choice {
      QMessageBox::StandardButton button;
      int id;
    };
    std::vector<Choice> choices;
    switch (request.Flags & 0x0F) {
      case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_ABORTRETRYIGNORE:
        choices = {{QMessageBox::Abort, IDABORT},
                   {QMessageBox::Retry, IDRETRY},
                   {QMessageBox::Ignore, IDIGNORE}};
        break;
      case MB_YESNOCANCEL:
        choices = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
      case MB_RETRYCANCEL:
        choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      default:
        choices = {{QMessageBox::Ok, IDOK}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const auto& c : choices) buttons |= c.button;
    box.setStandardButtons(buttons);
    const size_t def = (request.Flags >> 8) & 0x0F;
    if (def < choices.size()) box.setDefaultButton(choices[def].button);
    const int answer = box.exec();
    for (const auto& c : choices)
      if (c.button == answer) return c.id;
    // Closed by the close box: what Escape would give.
    for (const auto& c : choices)
      if (c.id == IDCANCEL || c.id == IDNO) return c.id;
    return choices.front().id;
  }

  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override {
    QInputDialog box(DialogParent());
    box.setWindowTitle(ToQ(caption));
    box.setLabelText(ToQ(prompt));
    box.setTextValue(ToQ(value));
    // The prompt is plain text, as a message box's is.
    if (auto* label = box.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    if (box.exec() != QDialog::Accepted) return false;
    value = FromQ(box.textValue());
    return true;
  }

  bool SaveDialog(TSaveDialog& dialog) override {
    // "desc|pattern|desc|pattern" becomes "desc (pattern)" entries.
    QStringList filters;
    const QStringList parts = ToQ(dialog.Filter).split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
      QString pattern = parts[i + 1];
      pattern.replace(';', ' ');
      filters << parts[i] + " (" + pattern + ")";
    }
    QFileDialog box(DialogParent(), ToQ(dialog.Title));
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setOption(QFileDialog::DontConfirmOverwrite, !dialog.OverwritePrompt);
    // Sizes, types and dates read in the program's language, not the desktop's.
    box.setProxyModel(new ChineseColumnsModel(&box));
    if (!filters.isEmpty()) {
      box.setNameFilters(filters);
      if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
        box.selectNameFilter(filters.at(dialog.FilterIndex - 1));
    }
    // A proposed name without a folder opens where the user saved last, or at home, never in
    // the folder the program happened to be started from.
    QString initial = ToQ(dialog.FileName);
    if (!initial.contains('/')) {
      box.setDirectory(!dialog.InitialDir.empty()   ? ToQ(dialog.InitialDir)
                       : !lastSaveFolder_.isEmpty() ? lastSaveFolder_
                                                    : QDir::homePath());
    }
    box.selectFile(initial);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
    const QString chosen = box.selectedFiles().constFirst();
    if (chosen.isEmpty()) return false;
    lastSaveFolder_ = QFileInfo(chosen).absolutePath();
    dialog.FileName = FromQ(chosen);
    return true;
  }

  void WaitModal(TForm& form) override { form.RunModalLoop(); }

  TMenuItem* PopupMenu(TPopupMenu& menu, int x, int y) override {
    QMenu popup;
    TMenuItem* root = menu.Items();
    for (int i = 0; i < root->Count(); ++i) popup.addAction(root->Items(i)->NativeAction());
    // The chosen item's own trigger runs it.
    popup.exec(QPoint(x, y));
    return nullptr;
  }

 private:
  QString lastSaveFolder_;  // where the user saved last, for the next save
};

ToolkitDriver& Toolkit() {
  static ToolkitDriver driver;
  return driver;
}

TDialogDriver* g_driver = nullptr;

std::string ApplicationTitle() { return Application ? Application->Title : std::string(); }

}  // namespace

TDialogDriver& DialogDriver() { return g_driver ? *g_driver : Toolkit(); }
void SetDialogDriver(TDialogDriver* driver) { g_driver = driver; }

void ShowMessage(const std::string& message) {
  TMessageBoxRequest request;
  request.Text = message;
  request.Caption = ApplicationTitle();
  request.Flags = MB_OK;
  DialogDriver().MessageBox(request);
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext) {
  (void)helpContext;
  TMessageBoxRequest request;
  request.Text = message;
  request.Caption = ApplicationTitle();
  unsigned flags = MB_OK;
  if ((buttons & mbYes) && (buttons & mbNo))
    flags = (buttons & mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  else if ((buttons & mbAbort) && (buttons & mbRetry))
    flags = MB_ABORTRETRYIGNORE;
  else if ((buttons & mbRetry) && (buttons & mbCancel))
    flags = MB_RETRYCANCEL;
  else if ((buttons & mbOK) && (buttons & mbCancel))
    flags = MB_OKCANCEL;
  switch (type) {
    case mtWarning:
      flags |= MB_ICONWARNING;
      break;
    case mtError:
      flags |= MB_ICONERROR;
      break;
    case mtInformation:
      flags |= MB_ICONINFORMATION;
      break;
    case mtConfirmation:
      flags |= MB_ICONQUESTION;
      break;
    default:
      break;
  }
  request.Flags = flags;
  // The answers IDOK .. IDNO have the numbers of mrOk .. mrNo.
  return DialogDriver().MessageBox(request);
}

std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue) {
  std::string value = defaultValue;
  if (!DialogDriver().InputQuery(caption, prompt, value)) return std::string();
  return value;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  std::string edited = value;
  if (!DialogDriver().InputQuery(caption, prompt, edited)) return false;
  value = edited;
  return true;
}

std::string ApplyDefaultExt(const std::string& fileName, const std::string& defaultExt) {
  if (fileName.empty() || defaultExt.empty()) return fileName;
  const size_t slash = fileName.find_last_of('/');
  const size_t dot = fileName.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return fileName;
  const std::string ext = defaultExt[0] == '.' ? defaultExt.substr(1) : defaultExt;
  return fileName + "." + ext;
}

bool TSaveDialog::Execute() {
  if (!DialogDriver().SaveDialog(*this)) return false;
  FileName = ApplyDefaultExt(FileName, DefaultExt);
  return true;
}
