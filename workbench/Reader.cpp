#include "workbench/Reader.h"

#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/gui/BusyWork.h"
#include "workbench/logic/PackedText.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form7");
  SetCaption("易学葵花宝典");
  SetBorderStyle(bsSizeable);
  SetPosition(poDesigned);
  SetBounds(0, 0, 518, 439);

  GroupBox1 = new TGroupBox(this);
  GroupBox1->SetName("GroupBox1");
  GroupBox1->SetParent(this);
  GroupBox1->SetBounds(8, 0, 497, 401);
  GroupBox1->SetCaption("易学秘笈");

  RichEdit1 = new TRichEdit(this);
  RichEdit1->SetName("RichEdit1");
  RichEdit1->SetParent(GroupBox1);
  RichEdit1->SetBounds(8, 16, 481, 377);
  RichEdit1->SetReadOnly(true);
  RichEdit1->SetScrollBars(ssBoth);
  RichEdit1->SetWordWrap(true);
  RichEdit1->Font()->SetCharset(GB2312_CHARSET);
  RichEdit1->FontChanged();

  OnResize = Handler(this, &TForm7::FormResize);
  OnClose = [this](TComponent* sender, TCloseAction& action) { FormClose(sender, action); };
}

std::string TForm7::LoadPackedText(const std::string& FileName) {
  std::string bytes;
  try {
    bytes = ReadWholeFile(FileName);
  } catch (const EStreamError&) {
    throw EFOpenError("文件无法打开:" + FileName);
  }
  PackedText packed = DecodePackedText(bytes);
  if (packed.Error == PackedTextError::OutOfMemory)
    throw EOutOfMemory("内存不足,无法打开:" + FileName);
  if (packed.Error != PackedTextError::None) throw EReadError("文件已损坏:" + FileName);
  return std::move(packed.Text);
}

bool TForm7::LoadBook(const std::string& FileName, const std::string& Title) {
  TMemoText text;
  const bool calledOff = RunCancellableBusy(
      [&](const TCancellation& cancel) {
        // The decoded book goes as soon as its text is made ready.
        text.Fill(LoadPackedText(FileName), cancel);
      },
      "正在打开《" + Title + "》,请稍候......");
  if (calledOff) return false;
  GroupBox1->SetCaption(Title);
  RichEdit1->SetText(text);
  return true;
}

void TForm7::FormResize(TComponent*) {
  GroupBox1->SetBounds(GroupBox1->Left(), GroupBox1->Top(), Width() - 21, Height() - 38);
  RichEdit1->SetBounds(RichEdit1->Left(), RichEdit1->Top(), Width() - 37, Height() - 62);
}

void TForm7::FormClose(TComponent*, TCloseAction&) { RichEdit1->Clear(); }
