// The settings file: typed addresses, favourites, the open tabs, files of the old program and a
// file that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "browser/logic/UloConfig.h"
#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "tests/platform/core_TempFolder.h"

namespace {

using Strings = std::vector<std::string>;

class UloConfigTest : public ::testing::Test {
 protected:
  std::string File() const { return ReadWholeFile(config.FileName()); }
  TempFolder folder;
  TUloConfig config{folder.Path()};
};

TEST_F(UloConfigTest, LivesBesideTheProgramAndReadsEmptyWhenMissing) {
  EXPECT_EQ(config.FileName(), folder / "UloConfig.ini");
  EXPECT_EQ(TUloConfig(folder.Path() + "/").FileName(), folder / "UloConfig.ini");
  EXPECT_TRUE(config.History().empty());
  EXPECT_TRUE(config.FavouriteNames().empty());
  EXPECT_EQ(config.FavouriteAddress("x"), "");
  EXPECT_FALSE(FileExists(config.FileName()));
}

TEST_F(UloConfigTest, TypedAddressesTakeTheNextFreeNumberFromTheItemCount) {
  // Eleven built-in items and no history: U12.
  EXPECT_EQ(config.StoreHistory("http://a/", 11), "U12");
  EXPECT_EQ(config.StoreHistory("http://b/", 12), "U13");
  // A hand-edited file already holds U15: counting from 14 skips it.
  WriteFileAtomically(config.FileName(), File() + "U15=http://hand/\r\n");
  EXPECT_EQ(config.StoreHistory("http://c/", 13), "U14");
  EXPECT_EQ(config.StoreHistory("http://d/", 14), "U16");
  // A count lower than the keys in the file overwrites nothing either.
  EXPECT_EQ(config.StoreHistory("http://e/", 11), "U17");
  EXPECT_EQ(config.History(), (Strings{"http://a/", "http://b/", "http://hand/", "http://c/",
                                       "http://d/", "http://e/"}));
  EXPECT_EQ(config.StoreHistory("http://f/\r\nU1=x", 17), "U18");
  EXPECT_EQ(config.History().back(), "http://f/U1=x");
}

TEST_F(UloConfigTest, FavouritesKeepTheLastAddressOfANameAndUnsafeNamesStaySafe) {
  EXPECT_EQ(config.AddFavourite("足球", "http://a/"), "足球");
  EXPECT_EQ(config.AddFavourite("足球", "http://b/"), "足球");
  EXPECT_EQ(config.FavouriteAddress("足球"), "http://b/");
  EXPECT_EQ(config.FavouriteNames(), (Strings{"足球"}));

  EXPECT_EQ(config.AddFavourite("a=b", "http://eq/"), "a＝b");
  EXPECT_EQ(config.AddFavourite("[URLlst]\r\nU12", "http://x/\r\n[URL]"), "URLlst]  U12");
  EXPECT_EQ(config.AddFavourite(";  note ", "http://n/"), "note");
  EXPECT_EQ(config.FavouriteNames(), (Strings{"足球", "a＝b", "URLlst]  U12", "note"}));
  // The item's caption is the stored key; a lookup by the name as typed finds it too.
  EXPECT_EQ(config.FavouriteAddress("a＝b"), "http://eq/");
  EXPECT_EQ(config.FavouriteAddress("a=b"), "http://eq/");
  EXPECT_EQ(config.FavouriteAddress("URLlst]  U12"), "http://x/[URL]");
  EXPECT_TRUE(config.History().empty());  // nothing leaked into another section
  // Every line of the file is a section or a plain key=value line.
  TStringList lines;
  lines.SetText(File());
  for (const std::string& line : lines.Items())
    EXPECT_TRUE(line.front() == '[' || line.find('=') != std::string::npos) << GbkToUtf8(line);
}

TEST_F(UloConfigTest, OpenTabsReplaceTheLastOnesAndNoTabsLeaveAnEmptySection) {
  config.AddFavourite("f", "http://f/");
  config.WriteOpenTabs({{"页一", "http://a/"}, {"B=b", "http://b/"}});
  EXPECT_EQ(File(), "[URL]\r\nf=http://f/\r\n[AUTOURL]\r\n页一=http://a/\r\nB＝b=http://b/\r\n");
  config.WriteOpenTabs({});
  EXPECT_EQ(File(), "[URL]\r\nf=http://f/\r\n[AUTOURL]\r\n");
  TUloConfig fresh(folder / "sub");
  std::filesystem::create_directory(folder / "sub");
  fresh.WriteOpenTabs({});
  EXPECT_EQ(ReadWholeFile(fresh.FileName()), "[AUTOURL]\r\n");
}

TEST_F(UloConfigTest, AFileOfTheOldProgramReadsRight) {
  // GBK, CR LF, sections and keys in any case, a key written twice, blanks around '='.
  WriteFileAtomically(
      config.FileName(),
      "[urllst]\r\nU12=http://www.a.com\r\nu13 = http://b.cn/页\r\nU12=http://dup/\r\n"
      "\r\n[Url]\r\n新浪=http://www.sina.com.cn\r\nZelkar=http://z/\r\n"
      "[AUTOURL]\r\n旧页=http://old/\r\n");
  EXPECT_EQ(config.History(), (Strings{"http://www.a.com", "http://b.cn/页"}));
  EXPECT_EQ(config.FavouriteNames(), (Strings{"新浪", "Zelkar"}));
  EXPECT_EQ(config.FavouriteAddress("zelkar"), "http://z/");
  EXPECT_EQ(config.StoreHistory("http://c/", 13), "U14");
  config.WriteOpenTabs({});
  EXPECT_EQ(config.FavouriteAddress("新浪"), "http://www.sina.com.cn");
  EXPECT_EQ(File().find("旧页"), std::string::npos);
}

TEST_F(UloConfigTest, AFileThatCannotBeWrittenRaisesAndKeepsWhatWasThere) {
  // A folder in the file's place: reading finds nothing, writing fails.
  std::filesystem::create_directory(config.FileName());
  EXPECT_TRUE(config.History().empty());
  EXPECT_THROW(config.StoreHistory("http://a/", 11), EFCreateError);
  EXPECT_THROW(config.AddFavourite("a", "http://a/"), EFCreateError);
  EXPECT_THROW(config.WriteOpenTabs({}), EFCreateError);
  EXPECT_TRUE(std::filesystem::is_directory(config.FileName()));
}

}  // namespace
