// Window tests: a fixture whose dialogs answer from a script, whose timers tick only when
// fired, and helpers that act as a user would (clicks, typing, picks) through the real
// widgets. No toolkit header is needed to use it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/GbkText.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/CategoryButtons.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/RecordingWebEngine.h"
#include "tests/support/TextRecorder.h"

// What a scripted dialog showed.
struct ShownDialog {
  enum Kind { MessageBox, Input, Save, Open, Modal, Popup } kind = MessageBox;
  std::string Caption;  // GBK
  std::string Text;     // message or prompt (GBK); a modal window's caption
  unsigned Flags = 0;
  int X = 0, Y = 0;  // where a pop-up menu opened (screen)
};

// Answers dialogs from a queue. Every dialog takes the next answer; a dialog with no answer
// left (or of another kind) fails the running test, naming what was shown, and is cancelled.
class ScriptedDialogs : public TDialogDriver {
 public:
  // Message boxes: the button pressed (IDOK, IDYES ...).
  void AnswerMessage(int id = IDOK);
  // Input boxes: OK with this text, or Cancel.
  void AnswerInput(const std::string& text);
  void CancelInput();
  // Save dialogs: the file chosen (before the default extension), or Cancel.
  void AnswerSave(const std::string& fileName);
  void CancelSave();
  // Open dialogs: the files chosen, or Cancel.
  void AnswerOpen(const std::vector<std::string>& files);
  void CancelOpen();
  // Modal windows: what the user does while it shows (OnShow has run); when the window is
  // still open afterwards it is closed with `result` (mrCancel by default).
  void AnswerModal(std::function<void(TForm&)> whileShown, TModalResult result = mrCancel);
  void AnswerModal(TModalResult result);
  // Pop-up menus: the item chosen (nullptr: none).
  void AnswerPopup(TMenuItem* item);
  // Pop-up menus filled as they open: `choose` looks at the menu and picks (nullptr: none).
  void AnswerPopupWith(std::function<TMenuItem*(TPopupMenu&)> choose);

  const std::vector<ShownDialog>& Shown() const { return shown_; }
  // Texts of the message boxes shown, in order (GBK).
  std::vector<std::string> Messages() const;
  size_t PendingAnswers() const { return answers_.size(); }
  void Reset();

  int MessageBox(const TMessageBoxRequest& request) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  bool SaveDialog(TSaveDialog& dialog) override;
  bool OpenDialog(TOpenDialog& dialog) override;
  void WaitModal(TForm& form) override;
  TMenuItem* PopupMenu(TPopupMenu& menu, int x, int y) override;

 private:
  struct Answer {
    ShownDialog::Kind kind;
    int id = 0;
    std::optional<std::string> text;
    std::function<void(TForm&)> action;
    TMenuItem* item = nullptr;
    std::function<TMenuItem*(TPopupMenu&)> choose;
  };
  std::optional<Answer> Next(ShownDialog::Kind kind, const ShownDialog& shown);
  std::vector<Answer> answers_;
  std::vector<ShownDialog> shown_;
};

// The scripted dialogs installed for the whole test program.
ScriptedDialogs& Dialogs();

// Painting warnings of the toolkit (a painter begun on a widget that cannot take one) seen
// since the watch was installed, and the text of the last one.
void WatchPaintWarnings();
int PaintWarningCount();
std::string LastPaintWarning();

// Base fixture of window tests: fresh script, manual timers, no toolkit activation, an empty
// clipboard; fails a test that leaves scripted answers unused or makes the toolkit warn about
// painting.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ScriptedDialogs& dialogs() { return Dialogs(); }

 private:
  int paintWarningsBefore_ = 0;
};

// A window test around one window of type F, made as the application makes it before each
// test and freed after it, before the base fixture's checks.
template <class F = TForm>
class WindowTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form = NewForm<F>(nullptr);
  }
  void TearDown() override {
    delete form;
    GuiTest::TearDown();
  }
  F* form = nullptr;
};

// --- acting as the user ---------------------------------------------------------------------

// Left click in the middle of the control (buttons, labels, check boxes, panels).
void UserClick(TControl* control);
void UserDoubleClick(TControl* control);
// Focuses the control and types the text (GBK) key by key: over the selection when there is
// one, else at the end of the text.
void UserType(TWinControl* control, const std::string& text);
// Presses one key (VK_*) on the focused part of the control.
void UserKey(TWinControl* control, uint16_t key, TShiftState shift = 0);
// Presses the keypad's Enter, which the keyboard sends with its own key code.
void UserKeypadEnter(TWinControl* control);
// Picks an item from the open list of a combo box, as a mouse pick does.
void UserPick(TComboBox* combo, int index);
// Clicks the visible button of the panel that shows `caption`, or the header of the category
// of that caption; false (and a test failure) when no such button shows.
bool UserClickPanelButton(TCategoryButtons* panel, const std::string& caption);
bool UserClickCategory(TCategoryButtons* panel, const std::string& caption);
// Chooses a menu item as from its menu.
void UserChoose(TMenuItem* item);
// Clicks the window's close box: the window system asks the window to close (nothing happens
// to a window under a modal one).
void UserCloseWindow(TForm* form);
// Switches to another program: the application's windows lose the activation.
void UserSwitchAway();
// Types through the input method into whatever has the focus: a composition that shows but is
// not yet text, and text committed (GBK).
void UserComposeText(const std::string& composing);
void UserCommitText(const std::string& text);
// Drags text from another program onto the control and drops it there, if the control takes it.
void UserDropText(TControl* control, const std::string& text);
// Rests the mouse on the control until its hint shows; returns the hint shown (GBK), empty
// for none.
std::string UserRestMouseOn(TControl* control);
// Moves the mouse off the control: a hint that shows goes away a moment later.
void UserMoveMouseOff(TControl* control);
// Whether a hint shows now.
bool HintShows();

// The small window a busy wait that can be called off shows (RunCancellableBusy with a text).
bool BusyWaitWindowShows();
std::string BusyWaitWindowText();  // GBK
// Clicks its close box, presses Esc in it or clicks its button "取消".
void UserCloseBusyWaitWindow();
void UserEscBusyWaitWindow();
void UserClickBusyWaitCancel();
std::string SaveBusyWaitWindowScreenshot(const std::string& name);

// Runs one tick of the timer if it would tick now; returns whether it did.
bool FireTimer(TTimer* timer);
// Lets pending toolkit events run.
void ProcessEvents();
// Lets toolkit events run until `done` says so or `timeoutMs` passed; returns `done()`. For
// work outside the test's hands (a web page loading).
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000);

// What the control shows on screen now (children included), as a bitmap for pixel checks.
std::unique_ptr<TBitmap> GrabControl(TControl* control);

// What the screen shows of the window, in the screen's device pixels (the pixels the window
// system is given, not a fresh rendering): one bitmap pixel per device pixel.
std::unique_ptr<TBitmap> GrabScreen(TForm* form);

// Saves a picture of the control (a window with its frame contents) as PNG under the build
// folder's screenshots/ and returns the path. The picture holds the whole control, also
// where it reaches beyond its window.
std::string SaveScreenshot(TControl* control, const std::string& name);
// The same with the pop-up menu drawn open under the control `below`, as it drops from it;
// `menuPlace`, when given, receives where the menu landed, in the picture's pixels.
std::string SaveScreenshotWithMenu(TControl* control, TPopupMenu* menu, TControl* below,
                                   const std::string& name, TRect* menuPlace = nullptr);
// A saved picture read back pixel for pixel (device pixels, at a ratio of 1); empty when it
// cannot be read.
std::unique_ptr<TBitmap> LoadPicture(const std::string& path);
// Device pixels per pixel on the screen the tests run on.
double ScreenPixelRatio();

// GBK to UTF-8 for failure messages.
inline std::string U8(const std::string& gbk) { return GbkToUtf8(gbk); }
