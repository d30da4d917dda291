#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "core_TempFolder.h"
#include "core_Unprivileged.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "platform/IniFiles.h"

namespace {

std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

std::vector<std::string> Lines(const TStringList& list) { return list.Items(); }

TEST(IniFile, KeysAndValuesReadBackExactly) {
  // Keys come from favourite names and page titles, values from typed addresses.
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"U12", "http://a.com/?x=1&y=2"},
      {"a=b", "=starts with equals"},
      {"[not a section]", "line one\r\nline two"},
      {";not a comment", "lf\nonly and lone\rcr"},
      {" padded key ", "  padded value  "},
      {"\"quoted\"", "\"quoted\""},
      {"\"", "\""},
      {"back\\slash", "C:\\new\\table\\"},
      {"乗▅", "乗\\▅|"},  // trail bytes 0x5C and 0x7C
      {"新浪体育 - 比分=直播", "中文值"},
      {"", "empty key"},
      {"empty value", ""},
      {"tab\t", "\tx\t"},
  };
  TempFolder dir;
  const std::string path = dir / "UloConfig.ini";
  {
    TIniFile ini(path);
    for (const auto& [key, value] : entries) ini.WriteString("URL", key, value);
  }
  TIniFile ini(path);
  TStringList keys;
  ini.ReadSection("URL", keys);
  ASSERT_EQ(keys.Count(), static_cast<int>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto& [key, value] = entries[i];
    EXPECT_EQ(U(keys[static_cast<int>(i)]), U(key));
    EXPECT_EQ(U(ini.ReadString("URL", key, "<missing>")), U(value)) << "key " << U(key);
  }
  // One line per entry: nothing the user typed can add or split lines.
  TStringList file;
  file.LoadFromFile(path);
  EXPECT_EQ(file.Count(), 1 + static_cast<int>(entries.size()));
}

TEST(IniFile, LoneLeadBytesAndSectionNamesReadBackExactly) {
  // A GBK lead byte with no trail byte after it must not pair with the backslash of an escape.
  const std::vector<std::string> texts = {"\xF2\n",      "\x81=k",       "\x81",  "a\x81\\",
                                          "\xFE\r\xFE]", "\x81\x81\x40", "\\x81", "\\xZZ",
                                          "] x [",       " padded ",     "\"",    "line\r\nbreak",
                                          "乗▅",         "\x81\"",       ";",     "["};
  TempFolder dir;
  const std::string path = dir / "lone.ini";
  {
    TIniFile ini(path);
    for (const std::string& t : texts) {
      ini.WriteString(t, t, t);
      ini.WriteString("S", t, t);
    }
  }
  TIniFile ini(path);
  TStringList sections, keys;
  ini.ReadSections(sections);
  ini.ReadSection("S", keys);
  std::vector<std::string> expectedSections = texts;
  expectedSections.push_back("S");
  std::vector<std::string> readSections = sections.Items();
  std::sort(expectedSections.begin(), expectedSections.end());
  std::sort(readSections.begin(), readSections.end());
  EXPECT_EQ(readSections, expectedSections);
  EXPECT_EQ(Lines(keys), texts);
  for (const std::string& t : texts) {
    EXPECT_EQ(ini.ReadString(t, t, "<missing>"), t);
    EXPECT_EQ(ini.ReadString("S", t, "<missing>"), t);
  }
  // A hand-written "\x" that is no lone lead byte stays as it stands.
  WriteFileAtomically(path, "[A]\nk=\\x41\\x\\xF\n");
  EXPECT_EQ(TIniFile(path).ReadString("A", "k", ""), "\\x41\\x\\xF");
}

// A four-byte character (GB18030: an emoji, a rare character) is stored as it is, so that
// another reader of the file sees it; the escaped form older files hold reads back the same.
TEST(IniFile, FourByteCharactersAreStoredWhole) {
  TempFolder dir;
  const std::string path = dir / "emoji.ini";
  {
    TIniFile ini(path);
    ini.WriteString("页😀", "Q&😀x", "😀=\\😀");
  }
  EXPECT_EQ(U(ReadWholeFile(path)), U("[页😀]\r\nQ&😀x=😀=\\\\😀\r\n"));
  EXPECT_EQ(U(TIniFile(path).ReadString("页😀", "Q&😀x", "")), U("😀=\\😀"));
  WriteFileAtomically(path, "[S]\r\nk\\x949\\xFC6=\\x949\\xFC6\r\n");
  EXPECT_EQ(U(TIniFile(path).ReadString("S", "k😀", "")), U("😀"));
}

TEST(IniFile, ManyKeysAndALongLine) {
  TempFolder dir;
  const std::string path = dir / "many.ini";
  std::string text = "[S]\r\n";
  for (int i = 0; i < 50000; ++i)
    text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  text += "KEY7=duplicate, ignored\r\nlong=" + std::string(1 << 20, 'v') + "\r\n";
  WriteFileAtomically(path, text);
  TIniFile ini(path);
  TStringList keys;
  ini.ReadSection("s", keys);
  EXPECT_EQ(keys.Count(), 50001);
  EXPECT_EQ(ini.ReadString("S", "key7", ""), "7");
  EXPECT_EQ(ini.ReadString("S", "KEY49999", ""), "49999");
  EXPECT_EQ(ini.ReadString("S", "long", "").size(), 1u << 20);
  ini.DeleteKey("S", "key0");
  ini.WriteString("S", "key0", "again");
  ini.ReadSection("S", keys);
  EXPECT_EQ(keys[keys.Count() - 1], "key0");
  EXPECT_EQ(ini.ReadString("S", "Key1", ""), "1");
}

TEST(IniFile, AnOverLargeFileIsAClearError) {
  TempFolder dir;
  const std::string path = dir / "huge.ini";
  {
    std::string line = "[S]\nk=" + std::string(TIniFile::kMaxIniFileBytes, 'x');
    WriteFileAtomically(path, line);
  }
  try {
    TIniFile ini(path);
    ADD_FAILURE() << "read a file above the limit";
  } catch (const EReadError& e) {
    EXPECT_EQ(GbkToUtf8(e.Message()),
              GbkToUtf8("文件「" + path + "」太大（超过 64 MB），没有读取"));
  }
}

// A file that was not read is never written over: one too big to read, and one that is there
// but may not be opened (as an ordinary user; the folder lets that user write).
TEST(IniFile, AFileThatWasNotReadIsNeverRewritten) {
  TempFolder dir;
  const std::string huge = dir / "huge.ini";
  const std::string text = "[S]\nk=" + std::string(TIniFile::kMaxIniFileBytes, 'x');
  WriteFileAtomically(huge, text);
  const std::string locked = dir / "locked.ini";
  WriteFileAtomically(locked, "[URL]\r\nkept=http://kept/\r\n");
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
  auto change = [](const std::string& path) {
    TIniFile ini(path);
    ini.WriteString("URL", "new", "http://new/");
    ini.UpdateFile();
  };
  EXPECT_THROW(change(huge), EReadError);
  // Returns normally only when refused as it should be.
  EXPECT_TRUE(RunUnprivileged([&] {
    try {
      change(locked);
    } catch (const EFOpenError& e) {
      if (e.Message() == "无法打开文件「" + locked + "」") return;
    }
    throw Exception("not refused");
  }));
  // The same user may write a file of its own there: the refusal above is the file's.
  EXPECT_TRUE(RunUnprivileged([&] { change(dir / "own.ini"); }));
  ::chmod(dir.Path().c_str(), 0700);
  ::chmod(locked.c_str(), 0600);
  EXPECT_EQ(ReadWholeFile(locked), "[URL]\r\nkept=http://kept/\r\n");
  EXPECT_EQ(std::filesystem::file_size(huge), text.size());
  EXPECT_EQ(dir.Listing(), "huge.ini;locked.ini;own.ini;");
}

TEST(IniFile, CaseInsensitiveLookupAndOneValuePerKey) {
  TempFolder dir;
  TIniFile ini(dir / "a.ini");
  ini.WriteString("URL", "Sina", "http://1");
  ini.WriteString("url", "SINA", "http://2");  // same section, same key
  EXPECT_EQ(ini.ReadString("Url", "sina", ""), "http://2");
  TStringList sections, keys;
  ini.ReadSections(sections);
  ini.ReadSection("URL", keys);
  EXPECT_EQ(Lines(sections), (std::vector<std::string>{"URL"}));
  EXPECT_EQ(Lines(keys), (std::vector<std::string>{"Sina"}));
  EXPECT_TRUE(ini.ValueExists("URL", "sina"));
  EXPECT_FALSE(ini.ValueExists("URL", "sohu"));
  EXPECT_FALSE(ini.ValueExists("none", "sina"));
  EXPECT_EQ(ini.ReadString("none", "sina", "fallback"), "fallback");
}

TEST(IniFile, ReadsAHandWrittenFile) {
  TempFolder dir;
  const std::string path = dir / "hand.ini";
  WriteFileAtomically(path,
                      "orphan=ignored\n"
                      "[URLlst]\r\n"
                      "  U12 =  http://x.com  \r\n"
                      "; a comment\r\n"
                      "no equals sign\r\n"
                      "U13=C:\\temp\\x\r"
                      "U12=second is ignored\n"
                      "[ urllst ]\n"
                      "U14=\"quoted\"\n"
                      "[AUTOURL]\n");
  TIniFile ini(path);
  TStringList keys;
  ini.ReadSection("URLlst", keys);
  EXPECT_EQ(Lines(keys), (std::vector<std::string>{"U12", "U13", "U14"}));
  EXPECT_EQ(ini.ReadString("URLlst", "U12", ""), "http://x.com");
  EXPECT_EQ(ini.ReadString("URLlst", "U13", ""), "C:\\temp\\x");  // unknown escapes stay
  EXPECT_EQ(ini.ReadString("URLlst", "U14", ""), "quoted");
  EXPECT_TRUE(ini.SectionExists("autourl"));
  EXPECT_FALSE(ini.ValueExists("", "orphan"));
  TStringList values;
  ini.ReadSectionValues("urllst", values);
  EXPECT_EQ(values[0], "U12=http://x.com");
}

TEST(IniFile, NumbersAndFlags) {
  TempFolder dir;
  TIniFile ini(dir / "n.ini");
  ini.WriteInteger("S", "count", -12);
  ini.WriteBool("S", "on", true);
  ini.WriteString("S", "hex", "$10");
  ini.WriteString("S", "bad", "12a");
  EXPECT_EQ(ini.ReadString("S", "count", ""), "-12");
  EXPECT_EQ(ini.ReadInteger("S", "count", 0), -12);
  EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool("S", "on", false));
  EXPECT_TRUE(ini.ReadBool("S", "count", false));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
  ini.WriteBool("S", "on", false);
  EXPECT_FALSE(ini.ReadBool("S", "on", true));
}

TEST(IniFile, EraseAndDelete) {
  TempFolder dir;
  const std::string path = dir / "e.ini";
  {
    TIniFile ini(path);
    ini.WriteString("AUTOURL", "title", "http://t");
    ini.WriteString("URL", "a", "1");
    ini.WriteString("URL", "b", "2");
    ini.DeleteKey("URL", "A");
    ini.EraseSection("autourl");
    ini.DeleteKey("none", "a");
    ini.EraseSection("none");
  }
  TIniFile ini(path);
  EXPECT_FALSE(ini.SectionExists("AUTOURL"));
  EXPECT_FALSE(ini.ValueExists("URL", "a"));
  EXPECT_EQ(ini.ReadString("URL", "b", ""), "2");
  EXPECT_EQ(ReadWholeFile(path), "[URL]\r\nb=2\r\n");
}

TEST(IniFile, WritesOnlyWhenChanged) {
  TempFolder dir;
  const std::string path = dir / "w.ini";
  {
    TIniFile ini(path);  // missing file: an empty set, and nothing to write
    EXPECT_FALSE(ini.SectionExists("URL"));
    EXPECT_EQ(ini.ReadString("URL", "a", "x"), "x");
  }
  EXPECT_FALSE(FileExists(path));
  {
    TIniFile ini(path);
    ini.WriteString("URL", "a", "1");
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(path), "[URL]\r\na=1\r\n");
    WriteFileAtomically(path, "changed behind its back");
    ini.WriteString("URL", "a", "1");  // same value: no change, no write
  }
  EXPECT_EQ(ReadWholeFile(path), "changed behind its back");
  EXPECT_EQ(dir.Listing(), "w.ini;");
}

TEST(IniFile, WriteFailures) {
  TempFolder dir;
  const std::string path = dir / "none/x.ini";
  {
    TIniFile ini(path);
    ini.WriteString("URL", "a", "1");
    try {
      ini.UpdateFile();
      ADD_FAILURE() << "wrote into a missing folder";
    } catch (const EFCreateError& e) {
      EXPECT_EQ(e.Message(), "无法创建文件「" + path + "」");
    }
    // The destructor tries again and must not throw.
  }
  ASSERT_TRUE(CreateDir(dir / "folder.ini"));
  {
    TIniFile ini(dir / "folder.ini");  // unreadable: an empty set
    EXPECT_FALSE(ini.SectionExists("URL"));
    ini.WriteString("URL", "a", "1");
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
  }
  EXPECT_TRUE(DirectoryExists(dir / "folder.ini"));
  EXPECT_EQ(dir.Listing(), "folder.ini;");
}

}  // namespace
