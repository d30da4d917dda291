// The reader of the reference books: one window reused for every book, shown modally by the
// book commands of the main window with the book's title on its frame.
#pragma once

#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TForm7 : public TForm {
 public:
  explicit TForm7(TComponent* AOwner);

  TGroupBox* GroupBox1;  // caption: the open book's title
  TRichEdit* RichEdit1;  // the text, read-only

  // The text of a book file (GBK). An empty file gives an empty text. A file that cannot be
  // read raises EFOpenError, a damaged one (or one whose length is not believable) EReadError,
  // both naming the file in Chinese.
  std::string LoadPackedText(const std::string& FileName);
  // Opens a book file in the reader under `Title`, as work the windows wait for with the busy
  // cursor up and painting: the book is decoded and its text made ready out of sight, then the
  // title and the whole text take their places at once. False when the user called it off
  // (Esc, a close box or the wait window's button), the reader as it was; raises as
  // LoadPackedText does, the reader as it was too.
  bool LoadBook(const std::string& FileName, const std::string& Title);

  // The frame and the text box follow the window's size; their positions stay.
  void FormResize(TComponent* Sender);
  // A closed reader holds no book text.
  void FormClose(TComponent* Sender, TCloseAction& Action);
};

extern TForm7* Form7;
