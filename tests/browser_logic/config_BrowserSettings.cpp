// The browser window's settings as it uses them: what the address box offers, the keys typed
// addresses get, and favourites found by the name they were listed under.
#include <gtest/gtest.h>

#include <filesystem>

#include "browser/logic/BrowserSettings.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "tests/platform/core_TempFolder.h"

namespace {

using Strings = std::vector<std::string>;

class BrowserSettingsTest : public ::testing::Test {
 protected:
  std::string FileName() const { return folder / "UloConfig.ini"; }
  std::string File() const { return ReadWholeFile(FileName()); }
  TempFolder folder;
  TBrowserSettings settings{folder.Path(), {"http://built/1", "http://built/2"}};
};

TEST_F(BrowserSettingsTest, TypedAddressesAreOfferedOnceAndNumberedFromWhatIsStored) {
  WriteFileAtomically(FileName(), "[URLlst]\r\nU3=http://old/\r\nU9=http://hand/\r\n");
  settings.Load();
  EXPECT_EQ(settings.Addresses(),
            (Strings{"http://built/1", "http://built/2", "http://old/", "http://hand/"}));
  EXPECT_TRUE(settings.Offers("http://built/2"));
  EXPECT_TRUE(settings.Offers("http://hand/"));
  EXPECT_FALSE(settings.Offers("HTTP://HAND/"));

  EXPECT_FALSE(settings.AddTyped("http://built/1"));
  EXPECT_FALSE(settings.AddTyped("http://old/"));
  // Two built-in and two stored: U5; the next one U6.
  EXPECT_TRUE(settings.AddTyped("http://new/"));
  EXPECT_TRUE(settings.AddTyped("HTTP://HAND/"));
  EXPECT_EQ(File(),
            "[URLlst]\r\nU3=http://old/\r\nU9=http://hand/\r\nU5=http://new/\r\n"
            "U6=HTTP://HAND/\r\n");
  EXPECT_EQ(settings.History().back(), "HTTP://HAND/");

  TBrowserSettings again(folder.Path(), {"http://built/1", "http://built/2"});
  again.Load();
  EXPECT_EQ(again.History(), settings.History());
}

TEST_F(BrowserSettingsTest, EveryListedFavouriteOpensTheAddressStoredUnderIt) {
  // Names the file spells its own way: an escaped "=", a quoted blank, a name with a blank
  // around it that the dialog would trim.
  WriteFileAtomically(FileName(),
                      "[URL]\r\n\\==http://equals/\r\n\" \"=http://blank/\r\n"
                      "\" x \"=http://spaced/\r\n新浪=http://sina/\r\n");
  settings.Load();
  ASSERT_EQ(settings.Favourites().size(), 4u);
  EXPECT_EQ(settings.Favourites()[0], "=");
  EXPECT_EQ(settings.FavouriteAddress(0), "http://equals/");
  EXPECT_EQ(settings.FavouriteAddress(1), "http://blank/");
  EXPECT_EQ(settings.FavouriteAddress(2), "http://spaced/");
  EXPECT_EQ(settings.FavouriteAddress(3), "http://sina/");
  EXPECT_EQ(settings.FavouriteAddress(4), "");
  EXPECT_EQ(settings.FavouriteAddress(-1), "");

  // One added through the dialog is listed as stored, and a name given again keeps the last
  // address for every item of it.
  EXPECT_EQ(settings.AddFavourite("a=b", "http://one/"), 4);
  EXPECT_EQ(settings.AddFavourite("a=b", "http://two/"), 5);
  EXPECT_EQ(settings.Favourites()[4], "a＝b");
  EXPECT_EQ(settings.FavouriteAddress(4), "http://two/");
  EXPECT_EQ(settings.FavouriteAddress(5), "http://two/");
  // Still read from the file when chosen: a hand edit in between counts.
  WriteFileAtomically(FileName(), "[URL]\r\n\\==http://edited/\r\n");
  EXPECT_EQ(settings.FavouriteAddress(0), "http://edited/");
  EXPECT_EQ(settings.FavouriteAddress(3), "");
}

TEST_F(BrowserSettingsTest, AFileThatCannotBeWrittenOffersTheTypedAddressButListsNoFavourite) {
  std::filesystem::create_directory(FileName());
  EXPECT_THROW(settings.AddTyped("http://typed/"), EFCreateError);
  EXPECT_TRUE(settings.Offers("http://typed/"));
  EXPECT_THROW(settings.AddFavourite("n", "http://fav/"), EFCreateError);
  EXPECT_TRUE(settings.Favourites().empty());
}

}  // namespace
