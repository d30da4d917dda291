// Clipboard texts, bitmaps and custom formats, and the memo's text as the readings use it.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "tests/support/GuiTest.h"

namespace {

class ClipboardTest : public GuiTest {};

TEST_F(ClipboardTest, TextAndNamedFormatsKeepTheirBytes) {
  Clipboard()->SetAsText("　\r\n占卜:01　足球");
  EXPECT_EQ(Clipboard()->AsText(), "　\r\n占卜:01　足球");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));

  const unsigned gif = RegisterClipboardFormat("GIF Image");
  EXPECT_EQ(RegisterClipboardFormat("GIF Image"), gif);
  EXPECT_NE(RegisterClipboardFormat("Icon"), gif);
  EXPECT_EQ(Clipboard()->FormatName(gif), "GIF Image");
  const std::string bytes("GIF89a\0\x01\xff", 9);
  Clipboard()->SetData(gif, bytes);
  EXPECT_EQ(Clipboard()->GetData(gif), bytes);
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));  // a set outside Open/Close replaces all

  Clipboard()->Open();
  Clipboard()->SetAsText("text");
  Clipboard()->SetData(gif, bytes);
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->AsText(), "text");
  EXPECT_EQ(Clipboard()->GetData(gif), bytes);
  EXPECT_EQ(Clipboard()->GetData(0xDEAD), "");
}

TEST_F(ClipboardTest, BitmapsKeepTheirPixelsAndShareAnEntryWithNamedFormats) {
  TBitmap colours(3, 2, pf24bit);
  colours.Canvas().SetPixel(0, 0, clRed);
  colours.Canvas().SetPixel(2, 1, RGB(10, 20, 30));
  Clipboard()->SetAsText("text");
  Clipboard()->Assign(colours);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));  // outside Open/Close it replaces all
  TBitmap back;
  ASSERT_TRUE(Clipboard()->AssignTo(back));
  ASSERT_EQ(back.Width(), 3);
  ASSERT_EQ(back.Height(), 2);
  EXPECT_EQ(back.PixelColor(0, 0), clRed);
  EXPECT_EQ(back.PixelColor(2, 1), RGB(10, 20, 30));
  EXPECT_EQ(back.PixelColor(1, 0), colours.PixelColor(1, 0));

  // A palette bitmap with a named format in one entry.
  TBitmap indexed(2, 1, pf8bit);
  indexed.SetPalette({clBlue, clYellow});
  indexed.ScanLine(0)[0] = 1;
  indexed.ScanLine(0)[1] = 0;
  const unsigned gif = RegisterClipboardFormat("GIF Image");
  Clipboard()->Open();
  Clipboard()->SetData(gif, "GIF89a");
  Clipboard()->Assign(indexed);
  EXPECT_EQ(Clipboard()->GetData(gif), "");  // nothing is placed before Close
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->GetData(gif), "GIF89a");
  ASSERT_TRUE(Clipboard()->AssignTo(back));
  EXPECT_EQ(back.Width(), 2);
  EXPECT_EQ(back.PixelColor(0, 0), clYellow);
  EXPECT_EQ(back.PixelColor(1, 0), clBlue);

  // Without an image the target stays as it was; an empty bitmap adds none.
  Clipboard()->SetAsText("text");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard()->AssignTo(back));
  EXPECT_EQ(back.PixelColor(0, 0), clYellow);
  Clipboard()->Assign(TBitmap());
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard()->AssignTo(back));

  // Another program's image with alpha loads as a 32-bit bitmap of its colours.
  QImage outside(2, 2, QImage::Format_ARGB32);
  outside.fill(qRgba(0, 128, 255, 255));
  QGuiApplication::clipboard()->setImage(outside);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  ASSERT_TRUE(Clipboard()->AssignTo(back));
  EXPECT_EQ(back.PixelFormat(), pf32bit);
  EXPECT_EQ(back.PixelColor(1, 1), RGB(0, 128, 255));
}

class MemoTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    memo = new TRichEdit(form);
    memo->SetParent(form);
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    form->Show();
  }
  TMemo* memo = nullptr;
};

TEST_F(MemoTest, TextJoinsLinesWithCrLfAndCopyPutsTheSelectionOnTheClipboard) {
  int changes = 0;
  memo->OnChange = [&](TComponent*) { ++changes; };
  const std::string reading = "　\r\n占卜:01　\r\n\r\n　\r\n";
  memo->SetText(reading);
  EXPECT_EQ(memo->Text(), reading);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(memo->LineCount(), 4);
  EXPECT_EQ(memo->Line(1), "占卜:01　");
  EXPECT_THROW(memo->Line(4), EListError);
  memo->SetText("a\nb\rc");
  EXPECT_EQ(memo->Text(), "a\r\nb\r\nc");
  TStringList lines = memo->Lines();
  EXPECT_EQ(lines.Count(), 3);
  lines.Add("乾为天");
  memo->SetLines(lines);
  EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\n乾为天");

  memo->SelectAll();
  EXPECT_EQ(memo->SelLength(), static_cast<int>(memo->Text().size()));
  memo->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "a\r\nb\r\nc\r\n乾为天");

  memo->SetSelStart(6);  // after "a CR LF b CR LF"
  memo->SetSelLength(5);
  EXPECT_EQ(memo->SelText(), "c\r\n乾");
  UserType(memo, "x");
  EXPECT_EQ(changes, 1);
}

}  // namespace
