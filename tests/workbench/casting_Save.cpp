// Saving the reading: the proposed name follows the subject, Cancel writes nothing, a failed
// write leaves the old file whole.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Files.h"
#include "platform/gui/Clipbrd.h"
#include "tests/workbench/main_Fixture.h"

namespace {

class SaveReadingTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    folder = std::filesystem::temp_directory_path() /
             ("zelkar-save-" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    MainWindowTest::TearDown();
  }
  static std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  std::filesystem::path folder;
};

TEST_F(SaveReadingTest, ProposedNameFollowsTheSubject) {
  UserType(form->Edit1, "皇马/巴萨");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, "皇马_巴萨");
  dialogs().CancelSave();
  Run("保存");
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  EXPECT_EQ(dialogs().Shown()[0].kind, ShownDialog::Save);
  EXPECT_GBK_EQ(dialogs().Shown()[0].Text, "皇马_巴萨");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// A 500-character lottery name would make a file name of 1,500 bytes on disk, which no save
// dialog takes: the proposal is cut to the file system's 255 bytes with ".txt", and the whole
// subject stays in the reading.
TEST_F(SaveReadingTest, ALongSubjectProposesANameTheFileSystemTakes) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  std::string name;
  for (int i = 0; i < 500; ++i) name += "彩";
  RunWithInput("彩票数理", name);
  EXPECT_GBK_EQ(form->Edit1->GetText(), name);
  EXPECT_EQ(form->SaveTextFileDialog1->FileName, name.substr(0, 2 * 83));  // 249 + 4 bytes
  dialogs().Reset();
  dialogs().CancelSave();
  Run("保存");
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  EXPECT_EQ(dialogs().Shown()[0].Text, name.substr(0, 2 * 83));
}

// The commands write Edit1 from code, where no change event fires, so each must renew the
// proposed name itself; the clock cast leaves the subject and the name alone.
TEST_F(SaveReadingTest, CommandsThatWriteTheSubjectProposeItAsTheName) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  Run("时间起卦");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, "时间卦：");
  RunWithInput("报数起卦", "12");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, "报数起卦(12)时间卦：");
  Run("电脑摇卦");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, "报数起卦(12)时间卦：");
  RunWithInput("彩票数理", "六合彩");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, "六合彩");
  RunWithInput("一球多卦", "曼联 切尔西/B");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "曼联　VS　切尔西/B");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, "曼联　VS　切尔西_B");
}

TEST_F(SaveReadingTest, WritesTheReadingAsGbkLinesWithCrLf) {
  form->ComboBox7->SetText("03　");
  form->Edit1->SetText("皇马　VS　巴萨");
  form->RichEdit1->SetText("公历:2012年2月4日\r\n乾为天　乾宫　六神");
  form->Edit2->SetText("推荐:大单");
  const std::filesystem::path path = folder / "reading.txt";
  dialogs().AnswerSave(path.string());
  Run("保存");
  EXPECT_EQ(Bytes(path),
            "　\r\n占卜:03　皇马　VS　巴萨\r\n公历:2012年2月4日\r\n乾为天　乾宫　六神\r\n　\r\n"
            "推荐:大单\r\n");

  // The default extension is added to a bare name.
  dialogs().AnswerSave((folder / "bare").string());
  Run("保存");
  EXPECT_TRUE(std::filesystem::exists(folder / "bare.txt"));
}

// The file holds what the copy command puts on the clipboard, plus the final line break. (The
// cast's own copy was taken before the match words replaced the chart's, so copy again.)
TEST_F(SaveReadingTest, SavedFileMatchesTheCopiedReading) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  RunWithInput("足球数理", "曼联 切尔西");
  Run("复制");
  const std::string copied = Clipboard()->AsText();
  ASSERT_NE(copied.find("曼联"), std::string::npos);
  const std::filesystem::path path = folder / "match.txt";
  dialogs().AnswerSave(path.string());
  Run("保存");
  EXPECT_GBK_EQ(Bytes(path), copied + "\r\n");
}

TEST_F(SaveReadingTest, FailedWriteShowsAMessageAndKeepsTheOldFile) {
  form->Edit1->SetText("新");
  // A folder stands where the temporary file would go, so the write fails before any rename.
  const std::filesystem::path path = folder / "old.txt";
  std::ofstream(path, std::ios::binary) << "old\r\n";
  const std::filesystem::path blocker = TemporaryFileBeside(path.string());
  ASSERT_TRUE(std::filesystem::create_directory(blocker));
  dialogs().AnswerSave(path.string());
  dialogs().AnswerMessage();
  Run("保存");
  EXPECT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_EQ(Bytes(path), "old\r\n");
  std::filesystem::remove(blocker);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

// A name of the full 255 bytes, as the proposal may be, still saves: the temporary file beside
// it has a short name of its own.
TEST_F(SaveReadingTest, ANameOfTheFullLengthSaves) {
  form->Edit1->SetText("新");
  const std::filesystem::path path = folder / (std::string(251, 'x') + ".txt");
  dialogs().AnswerSave(path.string());
  Run("保存");
  EXPECT_TRUE(dialogs().Messages().empty());
  EXPECT_NE(Bytes(path).find("\r\n"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

}  // namespace
