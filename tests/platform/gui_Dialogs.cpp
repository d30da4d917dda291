// Dialog functions over the driver, and the scripted driver itself.
#include <gtest/gtest-spi.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

#include "tests/support/GuiTest.h"

namespace {

class DialogTest : public GuiTest {};

TEST_F(DialogTest, InputBoxGivesTheTextOnOkAndEmptyOnCancel) {
  dialogs().AnswerInput("123");
  dialogs().CancelInput();
  EXPECT_EQ(InputBox("报数起卦", "请输数字(至少两位)：", ""), "123");
  EXPECT_EQ(InputBox("报数起卦", "请输数字(至少两位)：", "default"), "");
  ASSERT_EQ(dialogs().Shown().size(), 2u);
  EXPECT_EQ(dialogs().Shown()[0].Caption, "报数起卦");
  EXPECT_EQ(dialogs().Shown()[0].Text, "请输数字(至少两位)：");

  std::string value = "keep";
  dialogs().CancelInput();
  EXPECT_FALSE(InputQuery("c", "p", value));
  EXPECT_EQ(value, "keep");
  dialogs().AnswerInput("new");
  EXPECT_TRUE(InputQuery("c", "p", value));
  EXPECT_EQ(value, "new");
}

TEST_F(DialogTest, MessageBoxesReturnTheButtonPressed) {
  dialogs().AnswerMessage(IDNO);
  EXPECT_EQ(Application->MessageBox("继续?", "升级", MB_YESNO | MB_ICONQUESTION), IDNO);
  dialogs().AnswerMessage(IDYES);
  EXPECT_EQ(MessageDlg("覆盖?", mtConfirmation, mbYesNoCancel), mrYes);
  EXPECT_EQ(dialogs().Shown()[1].Flags & 0x0F, MB_YESNOCANCEL);
  EXPECT_EQ(dialogs().Shown()[1].Flags & 0xF0, MB_ICONQUESTION);
  dialogs().AnswerMessage();
  ShowMessage("对阵无空格!");
  EXPECT_EQ(dialogs().Messages().back(), "对阵无空格!");
  EXPECT_EQ(dialogs().Shown().back().Caption, Application->Title);
}

TEST_F(DialogTest, SaveDialogAddsTheDefaultExtensionOnlyWhenTheNameHasNone) {
  TSaveTextFileDialog dialog(nullptr);
  dialog.DefaultExt = "txt";
  dialog.FileName = "足球";
  dialogs().AnswerSave("/tmp/reading");
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "/tmp/reading.txt");
  EXPECT_EQ(dialogs().Shown()[0].Text, "足球");  // the proposed name was shown
  dialogs().AnswerSave("/tmp/dir.d/reading.log");
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "/tmp/dir.d/reading.log");
  dialogs().CancelSave();
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "/tmp/dir.d/reading.log");
  EXPECT_EQ(ApplyDefaultExt("/tmp/dir.d/reading", "txt"), "/tmp/dir.d/reading.txt");
  EXPECT_EQ(ApplyDefaultExt("", "txt"), "");
}

TEST_F(DialogTest, TheToolkitsOwnDialogsSpeakChinese) {
  QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(box.button(QDialogButtonBox::Ok)->text().toStdString(), U8("确定"));
  EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().toStdString(), U8("取消"));
  QFileDialog save;
  save.setOption(QFileDialog::DontUseNativeDialog);
  save.setAcceptMode(QFileDialog::AcceptSave);
  auto* buttons = save.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  EXPECT_TRUE(buttons->button(QDialogButtonBox::Save)->text().startsWith(QString::fromStdString(U8("保存"))))
      << buttons->button(QDialogButtonBox::Save)->text().toStdString();
  EXPECT_EQ(save.labelText(QFileDialog::FileType).toStdString(), U8("文件类型："));
}

TEST_F(DialogTest, AnUnscriptedOrUnexpectedDialogFailsTheTestNamingIt) {
  EXPECT_NONFATAL_FAILURE(ShowMessage("升级失败"), "unscripted message box");
  EXPECT_NONFATAL_FAILURE(
      { EXPECT_EQ(InputBox("彩票数理卦", "请输入彩票名称(简体汉字)", ""), ""); },
      "unscripted input box");
  dialogs().AnswerInput("x");
  EXPECT_NONFATAL_FAILURE(ShowMessage("m"), "where the script expected a input box");
  dialogs().Reset();
  // Left-over answers fail the test at its end; this one is used here.
  dialogs().AnswerMessage();
  ShowMessage("used");
}

}  // namespace
