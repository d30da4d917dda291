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

  // The frame and the text box follow the window's size; their positions stay.
  void FormResize(TComponent* Sender);
  // A closed reader holds no book text.
  void FormClose(TComponent* Sender, TCloseAction& Action);
};

extern TForm7* Form7;
