// Message boxes, input boxes and the save dialog. Every dialog goes through one replaceable
// driver, so that tests answer dialogs from a script instead of showing them.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Forms.h"

class TMenuItem;
class TPopupMenu;

// Message box flags and answers (the values of the old desktop).
constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                   MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10,
                   MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
                   MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                         mbIgnore = 64, mbAll = 128, mbNoToAll = 256, mbYesToAll = 512;
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo, mbYesNoCancel = mbYes | mbNo | mbCancel,
                         mbOKCancel = mbOK | mbCancel;

// A message box with the application's title.
void ShowMessage(const std::string& message);
// A message box with an icon of the type and the buttons; returns the modal result of the
// button pressed (mrYes, mrCancel ...).
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext = 0);
// A box with a prompt and a one-line edit holding `defaultValue`. OK gives the edited text,
// Cancel gives an empty text.
std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue);
// Same box; returns true with `value` edited on OK, false leaving `value` as it was on Cancel.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

// The file save dialog. Filter is "description|pattern|description|pattern..." ("Text
// files (*.txt)|*.txt"); FileName is proposed and, after OK, the chosen path, with
// DefaultExt appended when the chosen name has no extension.
class TSaveDialog : public TComponent {
 public:
  explicit TSaveDialog(TComponent* AOwner) : TComponent(AOwner) {}
  std::string FileName;
  std::string DefaultExt;
  std::string Filter;
  int FilterIndex = 1;
  std::string InitialDir;
  std::string Title;
  // Asks before overwriting an existing file.
  bool OverwritePrompt = true;
  // Shows the dialog; true when the user chose a file.
  virtual bool Execute();
};
// A save dialog for text files: text files first, then every file.
class TSaveTextFileDialog : public TSaveDialog {
 public:
  explicit TSaveTextFileDialog(TComponent* AOwner) : TSaveDialog(AOwner) {
    Filter = "文本文件|*.txt|所有文件|*";
  }
};

// The file open dialog: one existing file, several, or a folder. It opens where the user
// chose a file last (opening or saving), else at home, never in the folder the program
// happened to be started from.
class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}
  std::string Title;
  bool AllowMultiSelect = false;
  bool SelectFolder = false;  // a folder, not files
  // After OK: the chosen paths (one unless AllowMultiSelect).
  std::vector<std::string> Files;
  // Shows the dialog; true when the user chose.
  virtual bool Execute();
};

// A message box as the dialogs ask for it.
struct TMessageBoxRequest {
  std::string Text;
  std::string Caption;
  unsigned Flags = MB_OK;  // MB_* buttons, icon and default button
};

// What shows the dialogs. The toolkit driver shows real dialogs; tests install a scripted
// one. ShowModal runs the window's part of a modal showing (OnShow has fired, the window is
// visible) and WaitModal returns when the window's ModalResult is set.
class TDialogDriver {
 public:
  virtual ~TDialogDriver() = default;
  // Returns IDOK, IDCANCEL, IDYES ...
  virtual int MessageBox(const TMessageBoxRequest& request) = 0;
  virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                          std::string& value) = 0;
  // Sets dialog.FileName (as chosen, before the default extension is added) on true.
  virtual bool SaveDialog(TSaveDialog& dialog) = 0;
  // Sets dialog.Files on true.
  virtual bool OpenDialog(TOpenDialog& dialog) = 0;
  // Runs until form.ModalResult() is set (or the application terminates).
  virtual void WaitModal(TForm& form) = 0;
  // Opens a pop-up menu at a screen position and returns the item to run, or nullptr when
  // none was chosen or the menu ran it itself.
  virtual TMenuItem* PopupMenu(TPopupMenu& menu, int x, int y) = 0;
};

// The driver in use (never null); SetDialogDriver(nullptr) restores the toolkit driver. The
// caller keeps ownership.
TDialogDriver& DialogDriver();
void SetDialogDriver(TDialogDriver* driver);

// Whether a chosen file name lacks an extension, for DefaultExt.
std::string ApplyDefaultExt(const std::string& fileName, const std::string& defaultExt);
