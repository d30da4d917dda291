// The saved reading: its text, its bytes on disk and the proposed file name.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/Reading.h"

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class ReadingFiles : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("zelkar-reading-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

}  // namespace

TEST(Reading, TextFrame) {
  EXPECT_GBK_EQ(ReadingText("", "", "", ""), "　\r\n占卜:\r\n\r\n　\r\n");
  EXPECT_GBK_EQ(ReadingText("01　", "曼联　VS　切尔西", "a\r\nb", "推荐"),
                "　\r\n占卜:01　曼联　VS　切尔西\r\na\r\nb\r\n　\r\n推荐");
  EXPECT_GBK_EQ(MultiChartBlock(3, "", "甲　VS　乙", "chart", "rec"),
                "　\r\n卦3占卜:甲　VS　乙\r\nchart\r\n　\r\nrec\r\n　");
  EXPECT_GBK_EQ(MultiChartSummary(10.5, 7.25, 24.1, 23.000000000000004),
                "综合世应力量:10.5－7.25,体用力量:24.1－23");
}

TEST(Reading, ProposedFileNameKeepsCharactersWhole) {
  EXPECT_GBK_EQ(ProposedFileName("曼联　VS　切尔西"), "曼联　VS　切尔西");
  EXPECT_GBK_EQ(ProposedFileName("a/b\tc\r\n"), "a_b_c__");
  EXPECT_GBK_EQ(ProposedFileName("▅▅/弢"), "▅▅_弢");  // trail bytes 0x7C stay
  EXPECT_GBK_EQ(ProposedFileName(""), "");
}

// On disk the name is UTF-8 (three bytes for a Chinese character) and holds at most 255 bytes,
// ".txt" included: a long subject is cut at a character boundary to fit.
TEST(Reading, ProposedFileNameFitsTheFileSystem) {
  std::string lottery;
  for (int i = 0; i < 500; ++i) lottery += "彩";
  for (const std::string& subject : {lottery, "a" + lottery, "ab" + lottery, "x/" + lottery}) {
    const std::string name = ProposedFileName(subject);
    const size_t disk = GbkToUtf8(name).size();
    EXPECT_LE(disk + 4, 255u) << Readable(subject.substr(0, 4));
    EXPECT_GT(disk + 3 + 4, 255u) << "one more character would have fitted";
    // Whole characters only: half of one does not survive the way to UTF-8 and back.
    EXPECT_EQ(Utf8ToGbk(GbkToUtf8(name)), name);
    EXPECT_EQ(subject.compare(2, name.size() - 2, name, 2), 0);
  }
  EXPECT_GBK_EQ(ProposedFileName("x/" + lottery).substr(0, 4), "x_彩");
  // A character outside GBK takes four bytes in the subject and on disk, and is cut whole.
  std::string smiles;
  for (int i = 0; i < 100; ++i) smiles += "😀";
  EXPECT_EQ(ProposedFileName(smiles), smiles.substr(0, 62 * 4));
  EXPECT_EQ(CharCount(ProposedFileName(lottery)), 83);  // 249 bytes + ".txt"
  EXPECT_EQ(ProposedFileName(std::string(300, 'x')), std::string(251, 'x'));
  // A short name is left whole.
  EXPECT_GBK_EQ(ProposedFileName("彩票"), "彩票");
}

TEST_F(ReadingFiles, SavedAsGbkLinesEndedByCrLf) {
  // Paths are GBK texts to the program; on disk the name is UTF-8.
  const std::string name = folder_.string() + "/曼联.txt";
  const std::filesystem::path path = GbkToUtf8(name);
  SaveReading(name, "　\r\n占卜:曼联\nchart\r\n　\r\n推荐");
  EXPECT_EQ(ReadBytes(path), "　\r\n占卜:曼联\r\nchart\r\n　\r\n推荐\r\n");
  EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xA1\xA1");

  SaveReading(name, "short");  // replaces, never appends
  EXPECT_EQ(ReadBytes(path), "short\r\n");
}

TEST_F(ReadingFiles, FailedWriteLeavesTheOldFileWhole) {
  // A folder stands where the temporary file would go: the write fails before any rename.
  const auto path = folder_ / "old.txt";
  { std::ofstream(path, std::ios::binary) << "old reading\r\n"; }
  ASSERT_TRUE(std::filesystem::create_directory(TemporaryFileBeside(path.string())));
  EXPECT_THROW(SaveReading(path.string(), "new reading"), EStreamError);
  EXPECT_EQ(ReadBytes(path), "old reading\r\n");

  EXPECT_THROW(SaveReading((folder_ / "missing" / "a.txt").string(), "text"), EStreamError);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
}
