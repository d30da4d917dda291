// Message boxes, input boxes and the save dialog through the replaceable driver; the toolkit
// driver shows the real ones.
#include "platform/gui/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <algorithm>

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

// Where a dialog may lie: the work area of the screen it shows on.
QRect WorkArea(QWidget* parent) {
  QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// Room a window's frame takes beside its title: its icon and buttons.
constexpr int kTitleFrameAllowance = 120;

// The width a dialog needs for its title to show whole (a title may name a site), within the
// work area.
int TitleWidth(const QString& title, const QRect& area) {
  const int text = std::max(
      QFontMetrics(QApplication::font()).horizontalAdvance(title),
      QFontMetrics(QFontDatabase::systemFont(QFontDatabase::TitleFont)).horizontalAdvance(title));
  return std::min(text + kTitleFrameAllowance, area.width() * 9 / 10);
}

// Makes a dialog at least as wide as its title needs: through its layout, which sets the
// dialog's size as it shows.
void WidenForTitle(QWidget& dialog, const QRect& area) {
  QLayout* layout = dialog.layout();
  if (!layout) return;
  auto* room = new QSpacerItem(TitleWidth(dialog.windowTitle(), area), 0);
  if (auto* grid = qobject_cast<QGridLayout*>(layout))
    grid->addItem(room, grid->rowCount(), 0, 1, grid->columnCount());
  else
    layout->addItem(room);
}

// The width a dialog's text wraps at, at its narrowest, and the lines of it that fit the work
// area with the dialog's buttons and frame.
int TextWidth(const QRect& area) { return std::min(area.width() / 2, 500); }
int TextLines(const QRect& area, const QFont& font) {
  return std::max(3, area.height() * 2 / 3 / std::max(1, QFontMetrics(font).lineSpacing()));
}

// `text` as it fits in `lines` lines of at most `width` pixels, broken into those lines where
// it wraps (a word longer than a line is broken too, so no line is wider): when longer, its
// first lines and a last one saying how much was left out.
QString FitLines(const QString& text, const QFont& font, int width, int lines) {
  // What could never fit is not laid out: the time spent follows what is shown.
  QString shown = text.left(qsizetype(lines) * (width + 1));
  if (shown.size() < text.size() && shown.back().isHighSurrogate()) shown.chop(1);
  shown.replace(QLatin1Char('\n'), QChar::LineSeparator);  // as a label breaks them
  QTextLayout layout(shown, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList laid;
  bool wrapped = false;
  qsizetype cut = -1;  // where the lines that fit end, when not all do
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    if (laid.size() == lines) {
      cut = layout.lineAt(lines - 1).textStart();  // that line says what is left out instead
      break;
    }
    QString part = shown.mid(line.textStart(), line.textLength());
    if (part.endsWith(QChar::LineSeparator))
      part.chop(1);
    else if (line.textStart() + line.textLength() < shown.size())
      wrapped = true;
    while (!part.isEmpty() && part.back().isSpace()) part.chop(1);
    laid << part;
  }
  layout.endLayout();
  if (cut < 0 && shown.size() < text.size()) cut = layout.lineAt(laid.size() - 1).textStart();
  if (cut < 0) return wrapped ? laid.join(QLatin1Char('\n')) : text;
  laid =
      laid.mid(0, std::max<qsizetype>(0, layout.lineCount() > lines ? lines - 1 : laid.size() - 1));
  const qsizetype left = QStringView(text).mid(cut).toUcs4().size();
  laid << ToQ("……(以下还有 %1 个字未显示)").arg(left);
  return laid.join(QLatin1Char('\n'));
}

// Shows `text` in a dialog's label, fitted to the work area: the label is kept as wide as its
// widest line, so that the dialog wraps none of the lines again.
void ShowFitted(QLabel& label, const QString& text, const QRect& area) {
  const QFont font = label.font();
  const QString fitted = FitLines(text, font, TextWidth(area), TextLines(area, font));
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const QString& line : fitted.split(QLatin1Char('\n')))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  label.setText(fitted);
  // A few pixels more than measured: the label lays out as the measure does, give or take.
  label.setMinimumWidth(std::min(widest, TextWidth(area)) + 4);
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
    // Within the work area, a long text cut; wide enough for its title.
    const QRect area = WorkArea(box.parentWidget());
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
      ShowFitted(*label, label->text(), area);
    WidenForTitle(box, area);
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
    // The prompt is plain text, as a message box's is; a long one is cut to the work area,
    // and the box is wide enough for its title.
    const QRect area = WorkArea(box.parentWidget());
    if (auto* label = box.findChild<QLabel*>()) {
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      ShowFitted(*label, label->text(), area);
      label->setMaximumWidth(label->minimumWidth());
    }
    box.sizeHint();  // the box makes its layout when first measured
    WidenForTitle(box, area);
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
    SpeakChinese(box);
    if (!filters.isEmpty()) {
      box.setNameFilters(filters);
      if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
        box.selectNameFilter(filters.at(dialog.FilterIndex - 1));
    }
    // A proposed name without a folder opens where the user saved last, or at home, never in
    // the folder the program happened to be started from.
    QString initial = ToQ(dialog.FileName);
    if (!initial.contains('/')) {
      box.setDirectory(!dialog.InitialDir.empty() ? ToQ(dialog.InitialDir) : StartFolder());
    }
    box.selectFile(initial);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
    const QString chosen = box.selectedFiles().constFirst();
    if (chosen.isEmpty()) return false;
    lastFolder_ = QFileInfo(chosen).absolutePath();
    dialog.FileName = FromQ(chosen);
    return true;
  }

  bool OpenDialog(TOpenDialog& dialog) override {
    QFileDialog box(DialogParent(), ToQ(dialog.Title));
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode(dialog.SelectFolder       ? QFileDialog::Directory
                    : dialog.AllowMultiSelect ? QFileDialog::ExistingFiles
                                              : QFileDialog::ExistingFile);
    SpeakChinese(box);
    box.setDirectory(StartFolder());
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
    dialog.Files.clear();
    for (const QString& chosen : box.selectedFiles()) dialog.Files.push_back(FromQ(chosen));
    const QFileInfo first(box.selectedFiles().constFirst());
    lastFolder_ = dialog.SelectFolder ? first.absoluteFilePath() : first.absolutePath();
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
  // Sizes, types and dates read in the program's language, not the desktop's.
  static void SpeakChinese(QFileDialog& box) { box.setProxyModel(new ChineseColumnsModel(&box)); }
  // Where the user chose a file last, else (or when it is gone) home.
  QString StartFolder() const {
    return !lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir() ? lastFolder_
                                                                    : QDir::homePath();
  }

  QString lastFolder_;  // where the user opened or saved last, for the next file dialog
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

bool TOpenDialog::Execute() { return DialogDriver().OpenDialog(*this); }

bool TSaveDialog::Execute() {
  if (!DialogDriver().SaveDialog(*this)) return false;
  FileName = ApplyDefaultExt(FileName, DefaultExt);
  return true;
}
