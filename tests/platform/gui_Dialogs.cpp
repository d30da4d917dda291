// Dialog functions over the driver, and the scripted driver itself.
#include <gtest/gtest-spi.h>
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "platform/Exceptions.h"
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
  EXPECT_TRUE(buttons->button(QDialogButtonBox::Save)
                  ->text()
                  .startsWith(QString::fromStdString(U8("保存"))))
      << buttons->button(QDialogButtonBox::Save)->text().toStdString();
  EXPECT_EQ(save.labelText(QFileDialog::FileType).toStdString(), U8("文件类型："));
}

// The real save dialog for text files: text files are its first filter, it opens at home (then
// where the user saved last), not in the folder the program was started from, and its dates
// read in Chinese whatever the desktop's language.
TEST_F(DialogTest, TheSaveDialogForTextsOpensAtHomeWithTextFilesFirstAndChineseDates) {
  const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("zelkar-save-home-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home / "readings");
  std::ofstream(home / "old.txt") << "x";
  const QByteArray oldHome = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(home.string()));
  SetDialogDriver(nullptr);
  struct Seen {
    QStringList filters;
    QString directory;
    QString date;
    QString size;
  };
  // Looks at the dialog once it is up, then saves `name` in `folder`.
  auto answer = [&](Seen& seen, const std::filesystem::path& chosen, const char* screenshot) {
    QTimer::singleShot(0, [&seen, chosen, screenshot] {
      auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen.filters = box->nameFilters();
      seen.directory = box->directory().absolutePath();
      auto* view = box->findChild<QTreeView*>();
      QAbstractItemModel* list = view ? view->model() : nullptr;
      for (int wait = 0; list && wait < 300 && seen.date.isEmpty(); ++wait) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < list->rowCount(root); ++row)
          if (list->index(row, 0, root).data().toString() == "old.txt")
            seen.date = list->index(row, 3, root).data().toString(),
            seen.size = list->index(row, 1, root).data().toString();
      }
      if (screenshot) box->grab().save(QString::fromStdString(testing::TempDir()) + screenshot);
      // Typed into the name box, as a user may type a whole path.
      auto* name = box->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      name->setText(QString::fromStdString(chosen.string()));
      QMetaObject::invokeMethod(box, "accept");
    });
  };
  TSaveTextFileDialog dialog(nullptr);
  dialog.DefaultExt = "txt";
  dialog.FileName = "足球";
  Seen first, second;
  answer(first, home / "readings" / "match", "save_dialog.png");
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, (home / "readings" / "match.txt").string());
  dialog.FileName = "篮球";
  answer(second, home / "readings" / "again", nullptr);
  EXPECT_TRUE(dialog.Execute());
  SetDialogDriver(&dialogs());
  qputenv("HOME", oldHome);

  ASSERT_GE(first.filters.size(), 2);
  EXPECT_EQ(first.filters[0].toStdString(), U8("文本文件 (*.txt)"));
  EXPECT_EQ(first.directory.toStdString(), home.string());
  EXPECT_EQ(second.directory.toStdString(), (home / "readings").string());
  const QDateTime modified =
      QFileInfo(QString::fromStdString((home / "old.txt").string())).lastModified();
  EXPECT_EQ(first.date.toStdString(), QLocale(QLocale::Chinese, QLocale::China)
                                          .toString(modified, QLocale::ShortFormat)
                                          .toStdString());
  EXPECT_EQ(first.size.toStdString(), U8("1 字节"));
  std::filesystem::remove_all(home);
}

// A page may send any text and name itself with a long host: the real boxes stay inside the
// work area, with their buttons on screen and the end of a cut text marked, and are wide enough
// for their title.
TEST_F(DialogTest, BoxesStayInsideTheWorkAreaAndShowTheirTitleWhole) {
  SetDialogDriver(nullptr);
  struct Seen {
    QRect frame, area, button;
    QString text;
    int titleWidth = 0;
  };
  // Looks at the box once it is up, then presses its OK.
  auto look = [](Seen& seen) {
    QTimer::singleShot(0, [&seen] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      seen.frame = box->frameGeometry();
      seen.area = box->screen()->availableGeometry();
      seen.titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(box->windowTitle());
      for (auto* button : box->findChildren<QPushButton*>())
        if (button->text() == QString::fromStdString(U8("确定")))
          seen.button = QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
      if (auto* message = qobject_cast<QMessageBox*>(box)) {
        seen.text = message->text();
        message->grab().save(QString::fromStdString(testing::TempDir()) + "long_message.png");
        message->button(QMessageBox::Ok)->click();
      } else if (auto* input = qobject_cast<QInputDialog*>(box)) {
        seen.text = input->labelText();
        input->accept();
      }
    });
  };
  const std::string site = "来自网页「1234567890.example-results-and-odds.com:8741」的消息";
  std::string longText;
  for (int i = 0; i < 5000; ++i) longText += static_cast<char>('a' + i % 26);
  Seen message, shortMessage, input;
  look(message);
  DialogDriver().MessageBox({longText, site, MB_OK | MB_ICONINFORMATION});
  look(shortMessage);
  DialogDriver().MessageBox({"1", site, MB_OK});
  look(input);
  std::string value;
  DialogDriver().InputQuery(site, "第一行\n" + longText, value);
  SetDialogDriver(&dialogs());

  for (const Seen* seen : {&message, &shortMessage, &input}) {
    SCOPED_TRACE(seen == &message ? "long message" : seen == &input ? "input" : "short message");
    EXPECT_TRUE(seen->area.contains(seen->frame))
        << seen->frame.width() << "x" << seen->frame.height() << " at " << seen->frame.x() << ","
        << seen->frame.y() << " in a work area " << seen->area.width() << "x"
        << seen->area.height();
    EXPECT_TRUE(seen->area.contains(seen->button));
    // The title, and room for the frame's icon and buttons beside it.
    EXPECT_GE(seen->frame.width(), seen->titleWidth + 100);
  }
  // The text is cut where the box ends, and says so.
  const QString marker = QString::fromStdString(U8("……(以下还有 "));
  ASSERT_TRUE(message.text.contains(marker)) << message.text.right(40).toStdString();
  const int left = message.text.mid(message.text.indexOf(marker) + marker.size())
                       .section(QLatin1Char(' '), 0, 0)
                       .toInt();
  // Broken into lines where it wraps; what is shown and what is left add up.
  const QString shown = message.text.left(message.text.indexOf(marker)).remove(QLatin1Char('\n'));
  EXPECT_EQ(shown.size() + left, 5000);
  EXPECT_TRUE(QString::fromStdString(longText).startsWith(shown));
  EXPECT_EQ(shortMessage.text, "1");
  EXPECT_TRUE(input.text.startsWith(QString::fromStdString(U8("第一行\n"))));
  EXPECT_TRUE(input.text.contains(marker));
}

// A conversion error quotes what was typed, which may hold a character outside GBK in its four
// GB18030 bytes: the real message box shows that character, not its bytes or a stand-in.
TEST_F(DialogTest, TheMessageBoxShowsACharacterOutsideGbk) {
  SetDialogDriver(nullptr);
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text();
    box->grab().save(QString::fromStdString(testing::TempDir()) + "message_emoji.png");
    QMetaObject::invokeMethod(box, "accept");
  });
  Application->ShowException(EConvertError("「1😀」不是有效的整数"));
  SetDialogDriver(&dialogs());
  EXPECT_EQ(shown.toStdString(), U8("「1😀」不是有效的整数"));
  EXPECT_TRUE(shown.contains(QString::fromUcs4(U"\U0001F600"))) << shown.toStdString();
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
