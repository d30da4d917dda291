// Tab captions, typed addresses, pop-up addresses and settings keys.
#include <gtest/gtest.h>

#include "browser/logic/BrowserRules.h"
#include "platform/GbkText.h"

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(TabCaption, ThirtyCharactersShowWholeThirtyOneAreCutToTenAndDots) {
  EXPECT_EQ(TabCaption(Repeat("页", 30)), Repeat("页", 30));  // 60 bytes, 30 characters
  EXPECT_EQ(TabCaption(Repeat("页", 31)), Repeat("页", 10) + "...");
  EXPECT_EQ(TabCaption(Repeat("a", 30)), Repeat("a", 30));
  EXPECT_EQ(TabCaption(Repeat("a", 31)), Repeat("a", 10) + "...");
  // Mixed: the cut never splits a double-byte character.
  const std::string mixed = "a" + Repeat("中", 30);
  EXPECT_EQ(TabCaption(mixed), "a" + Repeat("中", 9) + "...");
  EXPECT_EQ(TabCaption(""), "");
}

TEST(CompleteAddress, ADotlessWordBecomesAComAddressAnythingWithADotStays) {
  EXPECT_EQ(CompleteAddress("zelkar"), "http://www.zelkar.com");
  EXPECT_EQ(CompleteAddress("足球"), "http://www.足球.com");
  EXPECT_EQ(CompleteAddress("zelkar.net"), "zelkar.net");
  EXPECT_EQ(CompleteAddress("http://a.b/"), "http://a.b/");
  EXPECT_EQ(CompleteAddress("x."), "x.");
  EXPECT_EQ(CompleteAddress(""), "");
  // A full-width stop is not a dot.
  EXPECT_EQ(CompleteAddress("a．b"), "http://www.a．b.com");
}

TEST(IsWebAddress, HttpAndHttpsInAnyCaseAtTheStartOnly) {
  for (const char* yes : {"http://a/", "https://a/", "HTTP://A/", "HtTpS://a", "http://"})
    EXPECT_TRUE(IsWebAddress(yes)) << yes;
  for (const char* no : {"", "about:blank", "ftp://a/", "javascript:alert(1)", " http://a/",
                         "file:///etc/passwd", "x http://a/", "https:/a", "data:text/html,http://"})
    EXPECT_FALSE(IsWebAddress(no)) << no;
}

TEST(SettingsKey, EqualsLineBreaksLeadingMarksAndBlanksCannotBreakTheFile) {
  EXPECT_EQ(SettingsKey("a=b"), "a＝b");
  EXPECT_EQ(SettingsKey("line\r\nbreak"), "line  break");
  EXPECT_EQ(SettingsKey("one\ntwo"), "one two");
  EXPECT_EQ(SettingsKey("[section]"), "section]");
  EXPECT_EQ(SettingsKey(";comment"), "comment");
  EXPECT_EQ(SettingsKey(" [ ;x "), "x");
  EXPECT_EQ(SettingsKey("  足球  "), "足球");
  EXPECT_EQ(SettingsKey("a[b;c"), "a[b;c");  // only a leading mark matters
  EXPECT_EQ(SettingsKey("\r\n"), "");
  EXPECT_EQ(SettingsValue("http://a/\r\nb"), "http://a/b");
  EXPECT_EQ(SettingsValue("http://a/?x=1"), "http://a/?x=1");
}

}  // namespace
